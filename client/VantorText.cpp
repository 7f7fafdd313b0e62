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
