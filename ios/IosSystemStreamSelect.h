// A wait set: the streams registered in it, and a wait until at least one of
// them is readable, or writable for those registered with write interest.
//
// Besides the streams, the wait watches a wake-up channel of its own:
// wakeUp() (or a notification on wakeChannel()) makes a blocked (or the
// next) select() return at once, with or without ready streams, which is how
// other threads hand work to the thread that waits.
//
// Thread safety: every operation may be called from any thread. select()
// waits without holding the set's lock; the ready lists report only streams
// that are still registered, so a stream removed during the wait is never
// reported.
#ifndef VANTOR_IOS_IOSSYSTEMSTREAMSELECT_H_
#define VANTOR_IOS_IOSSYSTEMSTREAMSELECT_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "ios/IosVector.h"

class IosReadiness;
class IosSystemStream;
class IosWakeUp;

class IosSystemStreamSelect {
 public:
  // Throws "IosSystemStreamSelect error" when the wait cannot be set up.
  IosSystemStreamSelect();
  // Deletes the list, not the streams.
  ~IosSystemStreamSelect();
  IosSystemStreamSelect(const IosSystemStreamSelect&) = delete;
  IosSystemStreamSelect& operator=(const IosSystemStreamSelect&) = delete;

  // Appends; the same stream may be added twice (and is watched once).
  void add(IosSystemStream* stream);
  // Removes every occurrence; an absent stream is no error.
  void remove(IosSystemStream* stream);
  bool contains(IosSystemStream* stream);
  // A new vector (the caller's) with the registered streams, in order.
  IosVector* streams();
  // Whether the wait also reports the stream as writable.
  void setWriteInterest(IosSystemStream* stream, bool writable);

  // Waits until a watched stream is ready, wakeUp() is called, or
  // timeoutMilliseconds have passed (negative: no limit). Throws
  // "IosSystemStreamSelect error" when the wait fails.
  void select(int timeoutMilliseconds = -1);
  // New vectors (the caller's) with every registered stream that the last
  // select() found readable (data, a connection to accept, or the peer's
  // end), or writable, in registration order, each once.
  IosVector* readyStreams();
  IosVector* writableStreams();
  // The same lists without copies, valid until the next select(); for the
  // thread that waits.
  const std::vector<IosSystemStream*>& readable() const { return readable_; }
  const std::vector<IosSystemStream*>& writable() const { return writable_; }

  void wakeUp();

  // Asks the waiting thread to send what waits on stream: the stream is
  // listed for takeFlushRequests() and, from any other thread, the wait is
  // woken (deferred inside an IosWakeUp::DeferScope). A stream that is not
  // registered is ignored, so a request can never outlive its stream.
  void requestFlush(IosSystemStream* stream);
  // The streams asked for since the last call, in the order asked, each once.
  std::vector<IosSystemStream*> takeFlushRequests();

 private:
  struct Registration {
    int occurrences;
    int descriptor;
    bool writable;
    bool flushRequested;
    // When it was registered, for reporting in registration order.
    uint64_t order;
  };

  IosVector* listed(const std::vector<IosSystemStream*>& which);
  void sortByRegistration(std::vector<IosSystemStream*>& streams);
  void changed();

  // A plain mutex: taken many times a round, released by its taker.
  std::mutex lock_;
  IosVector* streams_;
  std::unordered_map<IosSystemStream*, Registration> registered_;
  uint64_t registrations_;
  std::vector<IosSystemStream*> readable_;
  std::vector<IosSystemStream*> writable_;
  std::vector<IosSystemStream*> flushRequests_;
  std::shared_ptr<IosWakeUp> wake_;
  std::unique_ptr<IosReadiness> readiness_;
  // Whether the waiting thread is inside the system's wait now.
  std::atomic<bool> waiting_;
  // The thread that waits, which needs no wake-up for its own requests.
  std::atomic<std::thread::id> waiter_;
};

#endif  // VANTOR_IOS_IOSSYSTEMSTREAMSELECT_H_
