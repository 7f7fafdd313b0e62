// The bytes waiting to be sent on one connection of the select server.
// Any thread appends whole messages; only the server's thread takes them and
// sends them, when the socket can take them, so a writer never waits for a
// slow reader and messages never interleave.
//
// The queue is bounded: an append that would take the bytes waiting (queued
// and handed to the sender but not yet sent) past the limit is refused, the
// queue is marked overflowed and refuses everything after it; the server
// then closes that connection alone.
//
// Thread safety: append() from any thread, under the queue's own lock. The
// callback that announces waiting bytes runs on the appending thread, after
// that lock is released, when the queue goes from nothing waiting to
// something waiting and when it overflows. take() and sent() belong to the
// server's thread.
#ifndef VANTOR_IOS_IOSOUTPUTQUEUE_H_
#define VANTOR_IOS_IOSOUTPUTQUEUE_H_

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>

class IosOutputQueue {
 public:
  static constexpr size_t kDefaultLimit = 1 << 20;

  explicit IosOutputQueue(size_t limit = kDefaultLimit);
  IosOutputQueue(const IosOutputQueue&) = delete;
  IosOutputQueue& operator=(const IosOutputQueue&) = delete;

  // Set before any other thread can append.
  void setWaitingCallback(std::function<void()> callback) { waiting_ = std::move(callback); }

  // All n bytes, or none: false when the queue has overflowed or this append
  // makes it overflow.
  bool append(const char* data, size_t n);
  bool overflowed();
  // Bytes waiting, queued or in the sender's hands.
  size_t waiting();

  // Moves the queued bytes to the end of out; the sender then owns them
  // until it reports them sent. False, moving nothing, once overflowed.
  bool take(std::string& out);
  void sent(size_t n);

 private:
  const size_t limit_;
  // A plain mutex: taken many times a round, released by its taker.
  std::mutex lock_;
  std::string queued_;
  size_t handedOut_;
  bool overflowed_;
  std::function<void()> waiting_;
};

#endif  // VANTOR_IOS_IOSOUTPUTQUEUE_H_
