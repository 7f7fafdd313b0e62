#include "ios/IosWakeUp.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "ios/Exception.h"

namespace {

thread_local int deferDepth = 0;
thread_local std::vector<std::shared_ptr<IosWakeUp>> deferred;

}  // namespace

std::shared_ptr<IosWakeUp> IosWakeUp::create() {
  int descriptor = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (descriptor < 0) throw new Exception("IosWakeUp creation error");
  return std::shared_ptr<IosWakeUp>(new IosWakeUp(descriptor));
}

IosWakeUp::~IosWakeUp() {
  close(descriptor_);
}

void IosWakeUp::notify() {
  if (deferDepth == 0) {
    signal();
    return;
  }
  for (const auto& waiting : deferred) {
    if (waiting.get() == this) return;
  }
  deferred.push_back(shared_from_this());
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

IosWakeUp::DeferScope::DeferScope() {
  ++deferDepth;
}

IosWakeUp::DeferScope::~DeferScope() {
  if (--deferDepth > 0 || deferred.empty()) return;
  std::vector<std::shared_ptr<IosWakeUp>> due;
  due.swap(deferred);
  for (const auto& waiting : due) waiting->signal();
}
