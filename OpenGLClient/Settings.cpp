#include "OpenGLClient/Settings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace vgl {

std::string Settings::defaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // A relative XDG_CONFIG_HOME is invalid and must be ignored.
  if (config != nullptr && config[0] == '/') return std::string(config) + "/vantor/settings";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config/vantor/settings";
  return std::string();
}

void Settings::load(std::ostream& errors) {
  hints_ = true;
  if (path_.empty()) return;
  std::error_code ignored;
  if (!std::filesystem::exists(path_, ignored)) return;
  std::ifstream in(path_);
  if (!in || std::filesystem::is_directory(path_, ignored)) {
    errors << "vantor: cannot read " << path_ << ", using the default settings\n";
    return;
  }
  bool hints = true;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      errors << "vantor: " << path_ << " is corrupt, using the default settings\n";
      return;
    }
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    // Keys a later version may add are skipped, so its file still loads.
    if (key != "hints") continue;
    if (value != "0" && value != "1") {
      errors << "vantor: " << path_ << " is corrupt, using the default settings\n";
      return;
    }
    hints = value == "1";
  }
  hints_ = hints;
}

bool Settings::save(std::ostream& errors) const {
  if (path_.empty()) {
    errors << "vantor: no HOME nor XDG_CONFIG_HOME, the settings are not kept\n";
    return false;
  }
  const std::filesystem::path path(path_);
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::string temporary = path_ + ".XXXXXX";
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    errors << "vantor: cannot write " << path_ << ": " << std::strerror(errno) << "\n";
    return false;
  }
  const std::string text = std::string("hints=") + (hints_ ? "1" : "0") + "\n";
  const bool written =
      write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && fsync(fd) == 0;
  const int saved = errno;
  const bool closed = close(fd) == 0;
  if (!written || !closed || std::rename(name.data(), path_.c_str()) != 0) {
    errors << "vantor: cannot write " << path_ << ": " << std::strerror(written ? errno : saved)
           << "\n";
    unlink(name.data());
    return false;
  }
  return true;
}

}  // namespace vgl
