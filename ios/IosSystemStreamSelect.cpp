#include "ios/IosSystemStreamSelect.h"

#include "ios/Exception.h"
#include "ios/IosReadiness.h"
#include "ios/IosSystemStream.h"
#include "ios/IosWakeUp.h"

IosSystemStreamSelect::IosSystemStreamSelect()
    : streams_(new IosVector()), registrations_(0), waiting_(false) {
  try {
    wake_ = IosWakeUp::create();
    readiness_.reset(new IosReadiness(wake_->descriptor()));
  } catch (Exception* e) {
    delete e;
    delete streams_;
    throw new Exception("IosSystemStreamSelect error");
  }
}

IosSystemStreamSelect::~IosSystemStreamSelect() {
  delete streams_;
}

void IosSystemStreamSelect::changed() {
  // Called under the lock. A wait that does not see changes made during it
  // must start again to see this one.
  if (!IosReadiness::changesReachWaitInProgress() && waiting_.load()) wake_->notify();
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
  readiness_->watch(stream, entry.descriptor, false);
  changed();
}

void IosSystemStreamSelect::remove(IosSystemStream* stream) {
  std::lock_guard<std::mutex> guard(lock_);
  auto found = registered_.find(stream);
  if (found == registered_.end()) return;
  streams_->remove(stream);
  readiness_->forget(found->second.descriptor);
  changed();
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
  readiness_->change(stream, found->second.descriptor, writable);
  changed();
}

void IosSystemStreamSelect::select(int timeoutMilliseconds) {
  waiter_ = std::this_thread::get_id();
  std::vector<IosReadiness::Event> events;
  waiting_ = true;
  const bool waited = readiness_->wait(timeoutMilliseconds, events);
  waiting_ = false;
  std::lock_guard<std::mutex> guard(lock_);
  readable_.clear();
  writable_.clear();
  if (!waited) throw new Exception("IosSystemStreamSelect error");
  for (const IosReadiness::Event& event : events) {
    if (event.stream == nullptr) {
      wake_->drain();
      continue;
    }
    // A stream removed during the wait is not reported (and not touched:
    // it may be gone).
    if (registered_.count(event.stream) == 0) continue;
    if (event.readable) readable_.push_back(event.stream);
    if (event.writable) writable_.push_back(event.stream);
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
