#include "server/VantorEncodedOutputStream.h"

#include <cstring>
#include <vector>

#include "ios/Exception.h"
#include "server/VantorProtocol.h"

VantorEncodedOutputStream::VantorEncodedOutputStream(IosOutputStream* underlying)
    : underlying_(underlying) {}

void VantorEncodedOutputStream::write(const char* buf, int n) {
  if (n < 0 || n > kMaxFramePayload) {
    throw new Exception("VantorEncodedOutputStream: payload too long");
  }
  // Most messages are a few bytes: framed on the stack, without the heap.
  char small[256];
  std::vector<char> large;
  char* frame = small;
  if (n + kFrameHeaderBytes > static_cast<int>(sizeof(small))) {
    large.resize(static_cast<size_t>(n) + kFrameHeaderBytes);
    frame = large.data();
  }
  frame[0] = static_cast<char>(n & 0xFF);
  frame[1] = static_cast<char>((n >> 8) & 0xFF);
  if (n > 0) std::memcpy(frame + kFrameHeaderBytes, buf, static_cast<size_t>(n));
  std::lock_guard<std::mutex> guard(lock_);
  underlying_->write(frame, n + kFrameHeaderBytes);
}
