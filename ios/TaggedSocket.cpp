#include "ios/TaggedSocket.h"

#include <algorithm>
#include <cstring>

#include "ios/Exception.h"
#include "ios/IosSystemStreamSelect.h"
#include "ios/Platform.h"
#include "ios/SocketSystem.h"

TaggedSocket::TaggedSocket(int descriptor)
    : Socket(descriptor),
      TagsForSystemStream(TagsForSystemStream::kConnection),
      bufferedInput_(this),
      queuedOutput_(this),
      inputStart_(0),
      inputEnd_(0),
      sendingStart_(0),
      deadline_(0),
      endAfterSending_(false) {}

TaggedSocket::~TaggedSocket() {
  if (getSelect() != nullptr) getSelect()->remove(this);
}

void TaggedSocket::endAfterSending() {
  endAfterSending_ = true;
  deadline_ = platform::monotonicMilliseconds() + kEndGraceMilliseconds;
}

TaggedSocket::Transfer TaggedSocket::receive(int maxBytes) {
  // Read bytes are dropped only here, between two rounds of the handler.
  if (inputStart_ > 0) {
    std::memmove(input_.data(), input_.data() + inputStart_, inputEnd_ - inputStart_);
    inputEnd_ -= inputStart_;
    inputStart_ = 0;
  }
  const size_t kChunk = 16384;
  int total = 0;
  while (total < maxBytes) {
    const size_t want = std::min(kChunk, static_cast<size_t>(maxBytes - total));
    if (input_.size() < inputEnd_ + want) input_.resize(inputEnd_ + want);
    const long got = sockets::receive(getDescriptor(), input_.data() + inputEnd_, want);
    if (got > 0) {
      inputEnd_ += static_cast<size_t>(got);
      total += static_cast<int>(got);
      // A short read has emptied the socket; asking again would only say so.
      if (static_cast<size_t>(got) < want) break;
      continue;
    }
    if (got == 0) return total > 0 ? kMoved : kEnded;
    const int error = sockets::lastError();
    if (sockets::interrupted(error)) continue;
    if (sockets::wouldBlock(error)) return total > 0 ? kMoved : kBlocked;
    return total > 0 ? kMoved : kFailed;
  }
  return kMoved;
}

TaggedSocket::Transfer TaggedSocket::flush() {
  for (;;) {
    if (sendingStart_ == sending_.size()) {
      sending_.clear();
      sendingStart_ = 0;
    }
    if (!output_.take(sending_)) return kOverflowed;
    if (sending_.empty()) return kMoved;
    const size_t left = sending_.size() - sendingStart_;
    const long sent = sockets::send(getDescriptor(), sending_.data() + sendingStart_, left);
    if (sent < 0) {
      const int error = sockets::lastError();
      if (sockets::interrupted(error)) continue;
      if (sockets::wouldBlock(error)) return kBlocked;
      return kFailed;
    }
    sendingStart_ += static_cast<size_t>(sent);
    output_.sent(static_cast<size_t>(sent));
    if (static_cast<size_t>(sent) < left) return kBlocked;
  }
}

int TaggedSocket::BufferedInput::available() {
  return static_cast<int>(owner_->inputEnd_ - owner_->inputStart_);
}

void TaggedSocket::BufferedInput::read(char* buf, int n) {
  if (n <= 0) return;
  if (n > available()) throw new Exception("IosSocket: Socket disconnected");
  std::memcpy(buf, owner_->input_.data() + owner_->inputStart_, static_cast<size_t>(n));
  owner_->inputStart_ += static_cast<size_t>(n);
}

void TaggedSocket::QueuedOutput::write(const char* buf, int n) {
  if (n <= 0) return;
  if (!owner_->output_.append(buf, static_cast<size_t>(n))) {
    throw new Exception("IosSocket: output queue full");
  }
}
