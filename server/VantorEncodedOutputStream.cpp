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
  std::vector<char> frame(static_cast<size_t>(n) + 2);
  frame[0] = static_cast<char>(n & 0xFF);
  frame[1] = static_cast<char>((n >> 8) & 0xFF);
  if (n > 0) std::memcpy(frame.data() + 2, buf, static_cast<size_t>(n));
  IosLockGuard guard(lock_);
  underlying_->write(frame.data(), n + 2);
}
