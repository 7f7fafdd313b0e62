#include <mutex>

#include "ios/Exception.h"
#include "ios/IosReadiness.h"
#include "ios/SocketSystem.h"

// WSAPoll takes the whole list on every call, so the list lives here, and a
// wait polls a copy of it made when the wait begins.
struct IosReadiness::State {
  std::mutex lock;
  // Entry 0 is the wake-up channel; streams[i] belongs to entries[i].
  std::vector<pollfd> entries;
  std::vector<IosSystemStream*> streams;

  int find(int descriptor) {
    for (size_t i = 1; i < entries.size(); ++i) {
      if (entries[i].fd == static_cast<SOCKET>(descriptor)) return static_cast<int>(i);
    }
    return -1;
  }
};

namespace {

short interestOf(bool writable) {
  // WSAPoll refuses the request flags POLLPRI, POLLHUP and POLLERR; a peer's
  // end and errors are reported without asking.
  return static_cast<short>(POLLIN | (writable ? POLLOUT : 0));
}

}  // namespace

IosReadiness::IosReadiness(int wakeDescriptor) : state_(new State) {
  state_->entries.push_back(sockets::entryFor(wakeDescriptor, POLLIN));
  state_->streams.push_back(nullptr);
}

IosReadiness::~IosReadiness() = default;

void IosReadiness::watch(IosSystemStream* stream, int descriptor, bool writable) {
  std::lock_guard<std::mutex> guard(state_->lock);
  if (state_->find(descriptor) >= 0) return;
  state_->entries.push_back(sockets::entryFor(descriptor, interestOf(writable)));
  state_->streams.push_back(stream);
}

void IosReadiness::change(IosSystemStream* stream, int descriptor, bool writable) {
  std::lock_guard<std::mutex> guard(state_->lock);
  const int at = state_->find(descriptor);
  if (at < 0) return;
  state_->entries[static_cast<size_t>(at)].events = interestOf(writable);
  state_->streams[static_cast<size_t>(at)] = stream;
}

void IosReadiness::forget(int descriptor) {
  std::lock_guard<std::mutex> guard(state_->lock);
  const int at = state_->find(descriptor);
  if (at < 0) return;
  state_->entries.erase(state_->entries.begin() + at);
  state_->streams.erase(state_->streams.begin() + at);
}

bool IosReadiness::wait(int timeoutMilliseconds, std::vector<Event>& ready) {
  std::vector<pollfd> entries;
  std::vector<IosSystemStream*> streams;
  {
    std::lock_guard<std::mutex> guard(state_->lock);
    entries = state_->entries;
    streams = state_->streams;
  }
  int count;
  do {
    count = sockets::poll(entries.data(), entries.size(), timeoutMilliseconds);
  } while (count < 0 && sockets::interrupted(sockets::lastError()));
  ready.clear();
  if (count < 0) return false;
  for (size_t i = 0; i < entries.size() && count > 0; ++i) {
    const short what = entries[i].revents;
    if (what == 0) continue;
    --count;
    // A socket closed under the wait (POLLNVAL) is reported readable: its
    // reader then finds it ended, rather than the wait spinning on it.
    ready.push_back(
        {streams[i], (what & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0, (what & POLLOUT) != 0});
  }
  return true;
}

bool IosReadiness::changesReachWaitInProgress() {
  return false;
}
