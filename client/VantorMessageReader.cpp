#include "client/VantorMessageReader.h"

#include <algorithm>
#include <cstring>

#include "wire/VantorWire.h"

VantorMessageReader::VantorMessageReader(const char* payload, int length)
    : payload_(payload), length_(std::max(length, 0)), offset_(1) {}

int32_t VantorMessageReader::readInt() {
  const int32_t value = decodeInt(payload_ + offset_);
  offset_ += 4;
  return value;
}

int VantorMessageReader::readInt8() {
  return static_cast<int8_t>(payload_[offset_++]);
}

int VantorMessageReader::readU8() {
  return static_cast<unsigned char>(payload_[offset_++]);
}

const char* VantorMessageReader::readBytes(int n) {
  const char* p = payload_ + offset_;
  offset_ += n;
  return p;
}

std::string VantorMessageReader::readString() {
  if (atEnd()) return std::string();
  const char* start = payload_ + offset_;
  const void* end = std::memchr(start, 0, length_ - offset_);
  size_t n = end != nullptr ? static_cast<const char*>(end) - start : length_ - offset_;
  offset_ += static_cast<int>(n) + 1;
  return std::string(start, n);
}

void VantorMessageReader::skip(int n) {
  offset_ += n;
}
