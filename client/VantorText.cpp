#include "client/VantorText.h"

#include <cstdlib>
#include <cstring>
#include <new>

void copyToField(char* field, size_t size, const char* text) {
  if (size == 0) return;
  size_t n = 0;
  if (text != nullptr) {
    while (n + 1 < size && text[n] != '\0') ++n;
    std::memcpy(field, text, n);
  }
  field[n] = '\0';
}

char* copyToHeap(const char* text) {
  if (text == nullptr) return nullptr;
  size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy == nullptr) throw std::bad_alloc();
  std::memcpy(copy, text, n);
  return copy;
}

std::wstring widenText(const char* text) {
  return text != nullptr ? widenText(std::string(text)) : std::wstring();
}

std::wstring widenText(const std::string& text) {
  std::wstring out;
  out.reserve(text.size());
  for (char c : text) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

std::string narrowText(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out.push_back(static_cast<char>(c & 0xFF));
  return out;
}
