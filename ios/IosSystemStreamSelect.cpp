#include "ios/IosSystemStreamSelect.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "ios/Exception.h"
#include "ios/IosSystemStream.h"

namespace {

bool holds(const IosVector* vector, void* element) {
  for (int i = 0; i < vector->size(); ++i) {
    if (vector->get(i) == element) return true;
  }
  return false;
}

}  // namespace

IosSystemStreamSelect::IosSystemStreamSelect()
    : streams_(new IosVector()),
      ready_(new IosVector()),
      wakeDescriptor_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (wakeDescriptor_ < 0) {
    delete streams_;
    delete ready_;
    throw new Exception("IosSystemStreamSelect error");
  }
}

IosSystemStreamSelect::~IosSystemStreamSelect() {
  close(wakeDescriptor_);
  delete ready_;
  delete streams_;
}

void IosSystemStreamSelect::add(IosSystemStream* stream) {
  IosLockGuard guard(lock_);
  streams_->add(stream);
}

void IosSystemStreamSelect::remove(IosSystemStream* stream) {
  IosLockGuard guard(lock_);
  streams_->remove(stream);
  ready_->remove(stream);
}

bool IosSystemStreamSelect::contains(IosSystemStream* stream) {
  IosLockGuard guard(lock_);
  return holds(streams_, stream);
}

IosVector* IosSystemStreamSelect::streams() {
  IosLockGuard guard(lock_);
  IosVector* copy = new IosVector(streams_->size());
  for (int i = 0; i < streams_->size(); ++i) copy->add(streams_->get(i));
  return copy;
}

void IosSystemStreamSelect::select() {
  // The set is copied under the lock and waited on without it, so that other
  // threads can register, remove and wake meanwhile.
  struct Registered {
    IosSystemStream* stream;
    int descriptor;
  };
  std::vector<pollfd> watched;
  std::vector<Registered> registered;
  {
    IosLockGuard guard(lock_);
    ready_->clear();
    watched.push_back(pollfd{wakeDescriptor_, POLLIN, 0});
    for (int i = 0; i < streams_->size(); ++i) {
      IosSystemStream* stream = static_cast<IosSystemStream*>(streams_->get(i));
      int descriptor = stream->getDescriptor();
      bool present = false;
      for (const pollfd& entry : watched) present = present || entry.fd == descriptor;
      registered.push_back(Registered{stream, descriptor});
      if (!present && static_cast<int>(watched.size()) <= kMaxDescriptors) {
        watched.push_back(pollfd{descriptor, POLLIN, 0});
      }
    }
  }
  int result;
  do {
    result = poll(watched.data(), watched.size(), -1);
  } while (result < 0 && errno == EINTR);
  if (result < 0) throw new Exception("IosSystemStreamSelect error");

  if (watched[0].revents != 0) {
    uint64_t count;
    while (read(wakeDescriptor_, &count, sizeof(count)) > 0) {
    }
  }
  IosLockGuard guard(lock_);
  for (size_t i = 1; i < watched.size(); ++i) {
    if (watched[i].revents == 0) continue;
    for (const Registered& entry : registered) {
      // A stream removed during the wait is not reported (and not touched:
      // it may be gone).
      if (entry.descriptor != watched[i].fd || !holds(streams_, entry.stream)) continue;
      if ((watched[i].revents & POLLNVAL) != 0) {
        ready_->clear();
        throw new Exception("IosSystemStreamSelect error");
      }
      if (!holds(ready_, entry.stream)) ready_->add(entry.stream);
    }
  }
}

IosVector* IosSystemStreamSelect::readyStreams() {
  IosLockGuard guard(lock_);
  IosVector* ready = new IosVector();
  for (int i = 0; i < streams_->size(); ++i) {
    void* stream = streams_->get(i);
    if (holds(ready_, stream) && !holds(ready, stream)) ready->add(stream);
  }
  return ready;
}

void IosSystemStreamSelect::wakeUp() {
  uint64_t one = 1;
  ssize_t written = write(wakeDescriptor_, &one, sizeof(one));
  (void)written;  // a full counter means a wake-up is already pending
}
