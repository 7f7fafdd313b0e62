#include "ios/IosSystemStream.h"

#include <cerrno>
#include <cstdio>

#include "ios/Exception.h"
#include "ios/SocketSystem.h"

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
  pollfd entry = sockets::entryFor(getDescriptor(), POLLIN);
  int result;
  do {
    result = sockets::poll(&entry, 1, 0);
  } while (result < 0 && sockets::interrupted(sockets::lastError()));
  if (result < 0 || (result > 0 && (entry.revents & POLLNVAL) != 0)) {
    std::printf("SELECT ERROR %d\n", result < 0 ? sockets::lastError() : EBADF);
    throw new Exception("IosSystemStream streamReadyToRead error");
  }
  return result > 0 && (entry.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}
