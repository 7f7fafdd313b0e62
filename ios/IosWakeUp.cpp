#include "ios/IosWakeUp.h"

#ifndef _WIN32
#include <sys/eventfd.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <vector>

#include "ios/Exception.h"
#include "ios/SocketSystem.h"

namespace {

thread_local int deferDepth = 0;
// Made by the first notification held back, deleted by the outermost scope:
// a thread_local with a destructor can be destroyed after its storage is
// freed when a MinGW thread ends.
thread_local std::vector<std::shared_ptr<IosWakeUp>>* deferred = nullptr;

}  // namespace

#ifdef _WIN32

// WSAPoll waits on sockets alone, so the channel is a connected pair of
// loopback sockets: a byte sent on one makes the other readable.
std::shared_ptr<IosWakeUp> IosWakeUp::create() {
  int ends[2];
  if (!sockets::connectedPair(ends)) throw new Exception("IosWakeUp creation error");
  const int receiver = ends[0], sender = ends[1];
  sockets::setNonBlocking(receiver, true);
  sockets::setNonBlocking(sender, true);
  sockets::configureConnection(sender);
  return std::shared_ptr<IosWakeUp>(new IosWakeUp(receiver, sender));
}

IosWakeUp::~IosWakeUp() {
  sockets::close(sender_);
  sockets::close(descriptor_);
}

void IosWakeUp::signal() {
  const char one = 1;
  // A full buffer means that wake-ups are pending already.
  sockets::send(sender_, &one, 1);
}

void IosWakeUp::drain() {
  char bytes[256];
  while (sockets::receive(descriptor_, bytes, sizeof(bytes)) > 0) {
  }
}

#else

std::shared_ptr<IosWakeUp> IosWakeUp::create() {
  int descriptor = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (descriptor < 0) throw new Exception("IosWakeUp creation error");
  return std::shared_ptr<IosWakeUp>(new IosWakeUp(descriptor, descriptor));
}

IosWakeUp::~IosWakeUp() {
  close(descriptor_);
}

void IosWakeUp::signal() {
  uint64_t one = 1;
  ssize_t written = write(descriptor_, &one, sizeof(one));
  (void)written;  // a full counter means a wake-up is already pending
}

void IosWakeUp::drain() {
  uint64_t count;
  while (read(descriptor_, &count, sizeof(count)) > 0) {
  }
}

#endif

void IosWakeUp::notify() {
  if (deferDepth == 0) {
    signal();
    return;
  }
  if (deferred == nullptr) deferred = new std::vector<std::shared_ptr<IosWakeUp>>();
  for (const auto& waiting : *deferred) {
    if (waiting.get() == this) return;
  }
  deferred->push_back(shared_from_this());
}

IosWakeUp::DeferScope::DeferScope() {
  ++deferDepth;
}

IosWakeUp::DeferScope::~DeferScope() {
  if (--deferDepth > 0 || deferred == nullptr) return;
  std::unique_ptr<std::vector<std::shared_ptr<IosWakeUp>>> due(deferred);
  deferred = nullptr;
  for (const auto& waiting : *due) waiting->signal();
}
