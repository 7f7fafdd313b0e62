#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "ios/Exception.h"
#include "ios/IosReadiness.h"

namespace {

uint32_t interestOf(bool writable) {
  return EPOLLIN | (writable ? EPOLLOUT : 0u);
}

}  // namespace

struct IosReadiness::State {
  int pollDescriptor;
};

IosReadiness::IosReadiness(int wakeDescriptor) : state_(new State{epoll_create1(EPOLL_CLOEXEC)}) {
  if (state_->pollDescriptor < 0) throw new Exception("IosSystemStreamSelect error");
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.ptr = nullptr;
  epoll_ctl(state_->pollDescriptor, EPOLL_CTL_ADD, wakeDescriptor, &event);
}

IosReadiness::~IosReadiness() {
  close(state_->pollDescriptor);
}

void IosReadiness::watch(IosSystemStream* stream, int descriptor, bool writable) {
  epoll_event event{};
  event.events = interestOf(writable);
  event.data.ptr = stream;
  // Fails, and so keeps the first, for a descriptor already watched.
  epoll_ctl(state_->pollDescriptor, EPOLL_CTL_ADD, descriptor, &event);
}

void IosReadiness::change(IosSystemStream* stream, int descriptor, bool writable) {
  epoll_event event{};
  event.events = interestOf(writable);
  event.data.ptr = stream;
  epoll_ctl(state_->pollDescriptor, EPOLL_CTL_MOD, descriptor, &event);
}

void IosReadiness::forget(int descriptor) {
  epoll_ctl(state_->pollDescriptor, EPOLL_CTL_DEL, descriptor, nullptr);
}

bool IosReadiness::wait(int timeoutMilliseconds, std::vector<Event>& ready) {
  epoll_event events[128];
  int count;
  do {
    count = epoll_wait(state_->pollDescriptor, events, 128, timeoutMilliseconds);
  } while (count < 0 && errno == EINTR);
  ready.clear();
  if (count < 0) return false;
  for (int i = 0; i < count; ++i) {
    const uint32_t what = events[i].events;
    ready.push_back({static_cast<IosSystemStream*>(events[i].data.ptr),
                     (what & (EPOLLIN | EPOLLHUP | EPOLLERR | EPOLLRDHUP)) != 0,
                     (what & EPOLLOUT) != 0});
  }
  return true;
}

bool IosReadiness::changesReachWaitInProgress() {
  return true;
}
