#include "server/VantorRequestReader.h"

#include <cstring>

#include "server/VantorProtocol.h"

VantorRequestReader::VantorRequestReader(const char* payload, int length)
    : payload_(payload), length_(length), position_(length > 0 ? 1 : 0) {}

bool VantorRequestReader::readInt8(int8_t& out) {
  if (length_ - position_ < 1) return false;
  out = static_cast<int8_t>(payload_[position_++]);
  return true;
}

bool VantorRequestReader::readU8(uint8_t& out) {
  if (length_ - position_ < 1) return false;
  out = static_cast<uint8_t>(payload_[position_++]);
  return true;
}

bool VantorRequestReader::readInt32(int32_t& out) {
  if (length_ - position_ < 4) return false;
  out = decodeInt(payload_ + position_);
  position_ += 4;
  return true;
}

bool VantorRequestReader::readString(std::string& out) {
  const int left = length_ - position_;
  if (left < 1) return false;
  const void* end = std::memchr(payload_ + position_, '\0', static_cast<size_t>(left));
  if (end == nullptr) return false;
  const int size = static_cast<int>(static_cast<const char*>(end) - (payload_ + position_));
  out.assign(payload_ + position_, static_cast<size_t>(size));
  position_ += size + 1;
  return true;
}
