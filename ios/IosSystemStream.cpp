#include "ios/IosSystemStream.h"

#include <poll.h>

#include <cerrno>
#include <cstdio>

#include "ios/Exception.h"

IosSystemStream::IosSystemStream(int descriptor) : descriptor_(descriptor) {}

int IosSystemStream::getDescriptor() {
  return descriptor_;
}

void IosSystemStream::setDescriptor(int descriptor) {
  descriptor_ = descriptor;
}

bool IosSystemStream::streamReadyToRead() {
  // poll() rather than select(): select() cannot take a descriptor at or
  // above FD_SETSIZE.
  pollfd entry{getDescriptor(), POLLIN, 0};
  int result;
  do {
    result = poll(&entry, 1, 0);
  } while (result < 0 && errno == EINTR);
  if (result < 0 || (result > 0 && (entry.revents & POLLNVAL) != 0)) {
    std::printf("SELECT ERROR %d\n", result < 0 ? errno : EBADF);
    throw new Exception("IosSystemStream streamReadyToRead error");
  }
  return result > 0 && (entry.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}
