#include "wire/VantorFrameSplitter.h"

#include <cstdint>

#include "wire/VantorWire.h"

VantorFrameSplitter::VantorFrameSplitter(int maxPayload)
    : maxPayload_(maxPayload), start_(0), tooLong_(false), announced_(0) {}

void VantorFrameSplitter::feed(const char* data, int length) {
  if (length <= 0 || tooLong_) return;
  // What was handed out is dropped only here, so a payload stays valid until
  // the caller feeds again; the move keeps the buffer from creeping forward.
  if (start_ > 0) {
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
  }
  bytes_.insert(bytes_.end(), data, data + length);
}

VantorFrameSplitter::Result VantorFrameSplitter::next(const char** payload, int* length) {
  if (tooLong_) {
    *length = announced_;
    return kTooLong;
  }
  const size_t held = bytes_.size() - start_;
  if (held < static_cast<size_t>(kFrameHeaderBytes)) {
    if (held == 0) clear();
    return kNeedMore;
  }
  const char* at = bytes_.data() + start_;
  const int announced = static_cast<uint8_t>(at[0]) | static_cast<uint8_t>(at[1]) << 8;
  if (announced > maxPayload_) {
    tooLong_ = true;
    announced_ = announced;
    bytes_.clear();
    start_ = 0;
    *length = announced;
    return kTooLong;
  }
  if (held < static_cast<size_t>(kFrameHeaderBytes + announced)) return kNeedMore;
  *payload = at + kFrameHeaderBytes;
  *length = announced;
  start_ += static_cast<size_t>(kFrameHeaderBytes + announced);
  return kFrame;
}

void VantorFrameSplitter::clear() {
  bytes_.clear();
  start_ = 0;
  tooLong_ = false;
  announced_ = 0;
}
