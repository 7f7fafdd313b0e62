#include "app/LaunchedPortReader.h"

#include <cctype>

namespace {

const std::string kLaunchLine = "server launched on port ";
// A line longer than any the server writes is not a launch line; keeping
// only this much bounds the memory a stray writer can take.
constexpr size_t kLongestLine = 256;

}  // namespace

int LaunchedPortReader::portOfLine(const std::string& line) {
  std::string text = line;
  if (!text.empty() && text.back() == '\r') text.pop_back();
  if (text.compare(0, kLaunchLine.size(), kLaunchLine) != 0) return 0;
  const std::string digits = text.substr(kLaunchLine.size());
  if (digits.empty() || digits.size() > 5) return 0;
  int port = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    port = port * 10 + (c - '0');
  }
  return port >= 1 && port <= 65535 ? port : 0;
}

bool LaunchedPortReader::take(const char* data, size_t length) {
  for (size_t i = 0; i < length && port_ == 0; ++i) {
    if (data[i] != '\n') {
      if (line_.size() <= kLongestLine) line_.push_back(data[i]);
      continue;
    }
    port_ = portOfLine(line_);
    line_.clear();
  }
  return port_ != 0;
}
