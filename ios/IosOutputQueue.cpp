#include "ios/IosOutputQueue.h"

IosOutputQueue::IosOutputQueue(size_t limit) : limit_(limit), handedOut_(0), overflowed_(false) {}

bool IosOutputQueue::append(const char* data, size_t n) {
  bool announce;
  bool accepted;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (overflowed_) return false;
    const size_t before = queued_.size() + handedOut_;
    accepted = before + n <= limit_;
    if (accepted) {
      queued_.append(data, n);
    } else {
      overflowed_ = true;
    }
    // While bytes wait, the sender comes back for the rest by itself.
    announce = !accepted || (before == 0 && n > 0);
  }
  if (announce && waiting_) waiting_();
  return accepted;
}

bool IosOutputQueue::overflowed() {
  std::lock_guard<std::mutex> guard(lock_);
  return overflowed_;
}

size_t IosOutputQueue::waiting() {
  std::lock_guard<std::mutex> guard(lock_);
  return queued_.size() + handedOut_;
}

bool IosOutputQueue::take(std::string& out) {
  std::lock_guard<std::mutex> guard(lock_);
  if (overflowed_) return false;
  handedOut_ += queued_.size();
  if (out.empty()) {
    out.swap(queued_);
  } else {
    out.append(queued_);
  }
  queued_.clear();
  return true;
}

void IosOutputQueue::sent(size_t n) {
  std::lock_guard<std::mutex> guard(lock_);
  handedOut_ -= n < handedOut_ ? n : handedOut_;
}
