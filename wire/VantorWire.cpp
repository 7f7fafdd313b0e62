#include "wire/VantorWire.h"

void encodeInt(char* destination, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  destination[0] = static_cast<char>(bits & 0xFF);
  destination[1] = static_cast<char>((bits >> 8) & 0xFF);
  destination[2] = static_cast<char>((bits >> 16) & 0xFF);
  destination[3] = static_cast<char>((bits >> 24) & 0xFF);
}

int32_t decodeInt(const char* source) {
  const uint32_t bits = static_cast<uint32_t>(static_cast<uint8_t>(source[0])) |
                        static_cast<uint32_t>(static_cast<uint8_t>(source[1])) << 8 |
                        static_cast<uint32_t>(static_cast<uint8_t>(source[2])) << 16 |
                        static_cast<uint32_t>(static_cast<uint8_t>(source[3])) << 24;
  return static_cast<int32_t>(bits);
}

void appendFrame(std::string& out, const char* payload, int length) {
  out.push_back(static_cast<char>(length & 0xFF));
  out.push_back(static_cast<char>((length >> 8) & 0xFF));
  out.append(payload, static_cast<size_t>(length));
}
