#include "OpenGLClient/ChatHistory.h"

namespace vgl {

namespace {

std::wstring withoutControls(std::wstring text) {
  for (wchar_t& c : text) {
    if (c < 32 || c == 127) c = L' ';
  }
  return text;
}

bool isBlank(const std::wstring& text) {
  return text.find_first_not_of(L' ') == std::wstring::npos;
}

}  // namespace

void ChatHistory::add(Entry entry) {
  entry.sender = withoutControls(entry.sender);
  entry.text = withoutControls(entry.text);
  entry.addressee = withoutControls(entry.addressee);
  entries_.push_back(std::move(entry));
  while (entries_.size() > kLimit) entries_.pop_front();
}

void ChatHistory::addReceived(const std::wstring& sender, const std::wstring& text,
                              bool isPrivate) {
  add({sender, text, isPrivate, L""});
}

void ChatHistory::addSent(const std::wstring& sender, const std::wstring& addressee,
                          const std::wstring& text) {
  add({sender, text, true, addressee});
}

std::wstring ChatHistory::lineOf(const Entry& entry) {
  std::wstring mark;
  if (entry.isPrivate) {
    mark = entry.addressee.empty() ? L"[priv\xe9] " : L"[priv\xe9 \xe0 " + entry.addressee + L"] ";
  }
  return mark + entry.sender + L": " + entry.text;
}

std::vector<std::wstring> ChatHistory::wrapText(const std::wstring& text, float width,
                                                const WidthOf& widthOf) {
  std::vector<std::wstring> lines;
  std::wstring line;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L' ', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring word = text.substr(start, end - start);
    start = end + 1;
    if (word.empty()) continue;
    std::wstring joined = line.empty() ? word : line + L' ' + word;
    if (widthOf(joined) <= width) {
      line = joined;
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line.clear();
    // A word too wide for a line of its own is cut, at least a character
    // a line.
    for (wchar_t c : word) {
      if (!line.empty() && widthOf(line + c) > width) {
        lines.push_back(line);
        line.clear();
      }
      line += c;
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

std::vector<ChatHistory::Line> ChatHistory::wrap(float width, const WidthOf& widthOf) const {
  std::vector<Line> lines;
  for (const Entry& entry : entries_) {
    for (std::wstring& text : wrapText(lineOf(entry), width, widthOf)) {
      lines.push_back({std::move(text), entry.isPrivate});
    }
  }
  return lines;
}

bool ChatHistory::parse(const std::wstring& input, Outgoing* out) {
  out->addressee.clear();
  out->text = input;
  if (!input.empty() && input[0] == L'@') {
    const size_t blank = input.find(L' ');
    if (blank == std::wstring::npos || blank == 1) return false;
    out->addressee = input.substr(1, blank - 1);
    out->text = input.substr(blank + 1);
  }
  return !isBlank(out->text);
}

}  // namespace vgl
