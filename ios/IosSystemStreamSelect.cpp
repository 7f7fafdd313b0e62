#include "ios/IosSystemStreamSelect.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>

#include "ios/Exception.h"
#include "ios/IosSystemStream.h"
#include "ios/IosWakeUp.h"

namespace {

uint32_t interestOf(bool writable) {
  return EPOLLIN | (writable ? EPOLLOUT : 0u);
}

}  // namespace

IosSystemStreamSelect::IosSystemStreamSelect()
    : streams_(new IosVector()), registrations_(0), pollDescriptor_(epoll_create1(EPOLL_CLOEXEC)) {
  try {
    if (pollDescriptor_ < 0) throw new Exception("IosSystemStreamSelect error");
    wake_ = IosWakeUp::create();
  } catch (Exception* e) {
    delete e;
    if (pollDescriptor_ >= 0) close(pollDescriptor_);
    delete streams_;
    throw new Exception("IosSystemStreamSelect error");
  }
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.ptr = nullptr;
  epoll_ctl(pollDescriptor_, EPOLL_CTL_ADD, wake_->descriptor(), &event);
}

IosSystemStreamSelect::~IosSystemStreamSelect() {
  close(pollDescriptor_);
  delete streams_;
}

void IosSystemStreamSelect::watch(IosSystemStream* stream, const Registration& entry,
                                  int operation) {
  epoll_event event{};
  event.events = interestOf(entry.writable);
  event.data.ptr = stream;
  // A descriptor already watched for another stream stays with that one.
  epoll_ctl(pollDescriptor_, operation, entry.descriptor, &event);
}

void IosSystemStreamSelect::add(IosSystemStream* stream) {
  std::lock_guard<std::mutex> guard(lock_);
  streams_->add(stream);
  auto found = registered_.find(stream);
  if (found != registered_.end()) {
    ++found->second.occurrences;
    return;
  }
  Registration entry{1, stream->getDescriptor(), false, false, registrations_++};
  registered_.emplace(stream, entry);
  watch(stream, entry, EPOLL_CTL_ADD);
}

void IosSystemStreamSelect::remove(IosSystemStream* stream) {
  std::lock_guard<std::mutex> guard(lock_);
  auto found = registered_.find(stream);
  if (found == registered_.end()) return;
  streams_->remove(stream);
  epoll_ctl(pollDescriptor_, EPOLL_CTL_DEL, found->second.descriptor, nullptr);
  if (found->second.flushRequested) {
    for (auto it = flushRequests_.begin(); it != flushRequests_.end(); ++it) {
      if (*it == stream) {
        flushRequests_.erase(it);
        break;
      }
    }
  }
  registered_.erase(found);
  for (std::vector<IosSystemStream*>* list : {&readable_, &writable_}) {
    for (auto it = list->begin(); it != list->end(); ++it) {
      if (*it == stream) {
        list->erase(it);
        break;
      }
    }
  }
}

bool IosSystemStreamSelect::contains(IosSystemStream* stream) {
  std::lock_guard<std::mutex> guard(lock_);
  return registered_.count(stream) != 0;
}

IosVector* IosSystemStreamSelect::streams() {
  std::lock_guard<std::mutex> guard(lock_);
  IosVector* copy = new IosVector(streams_->size());
  for (int i = 0; i < streams_->size(); ++i) copy->add(streams_->get(i));
  return copy;
}

void IosSystemStreamSelect::setWriteInterest(IosSystemStream* stream, bool writable) {
  std::lock_guard<std::mutex> guard(lock_);
  auto found = registered_.find(stream);
  if (found == registered_.end() || found->second.writable == writable) return;
  found->second.writable = writable;
  watch(stream, found->second, EPOLL_CTL_MOD);
}

void IosSystemStreamSelect::select(int timeoutMilliseconds) {
  waiter_ = std::this_thread::get_id();
  epoll_event events[128];
  int count;
  do {
    count = epoll_wait(pollDescriptor_, events, 128, timeoutMilliseconds);
  } while (count < 0 && errno == EINTR);
  std::lock_guard<std::mutex> guard(lock_);
  readable_.clear();
  writable_.clear();
  if (count < 0) throw new Exception("IosSystemStreamSelect error");
  for (int i = 0; i < count; ++i) {
    auto* stream = static_cast<IosSystemStream*>(events[i].data.ptr);
    if (stream == nullptr) {
      wake_->drain();
      continue;
    }
    // A stream removed during the wait is not reported (and not touched:
    // it may be gone).
    if (registered_.count(stream) == 0) continue;
    if ((events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR | EPOLLRDHUP)) != 0) {
      readable_.push_back(stream);
    }
    if ((events[i].events & EPOLLOUT) != 0) writable_.push_back(stream);
  }
  // Each descriptor is reported once per wait; only the order is left to set.
  sortByRegistration(readable_);
  sortByRegistration(writable_);
}

void IosSystemStreamSelect::sortByRegistration(std::vector<IosSystemStream*>& streams) {
  // Insertion sort: the lists are short, and usually in order already.
  for (size_t i = 1; i < streams.size(); ++i) {
    IosSystemStream* stream = streams[i];
    const uint64_t order = registered_[stream].order;
    size_t j = i;
    for (; j > 0 && registered_[streams[j - 1]].order > order; --j) streams[j] = streams[j - 1];
    streams[j] = stream;
  }
}

IosVector* IosSystemStreamSelect::listed(const std::vector<IosSystemStream*>& which) {
  std::lock_guard<std::mutex> guard(lock_);
  IosVector* out = new IosVector(static_cast<int>(which.size()));
  for (IosSystemStream* stream : which) out->add(stream);
  return out;
}

IosVector* IosSystemStreamSelect::readyStreams() {
  return listed(readable_);
}

IosVector* IosSystemStreamSelect::writableStreams() {
  return listed(writable_);
}

void IosSystemStreamSelect::wakeUp() {
  wake_->notify();
}

void IosSystemStreamSelect::requestFlush(IosSystemStream* stream) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    auto found = registered_.find(stream);
    if (found == registered_.end() || found->second.flushRequested) return;
    found->second.flushRequested = true;
    flushRequests_.push_back(stream);
  }
  if (waiter_.load() != std::this_thread::get_id()) wake_->notify();
}

std::vector<IosSystemStream*> IosSystemStreamSelect::takeFlushRequests() {
  std::lock_guard<std::mutex> guard(lock_);
  std::vector<IosSystemStream*> requests;
  requests.swap(flushRequests_);
  for (IosSystemStream* stream : requests) registered_[stream].flushRequested = false;
  return requests;
}
