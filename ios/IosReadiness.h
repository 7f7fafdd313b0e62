// The system's readiness wait behind IosSystemStreamSelect, one file per
// platform like the wait set's other system calls: epoll on Linux
// (IosReadinessEpoll.cpp), WSAPoll on Windows (IosReadinessWsaPoll.cpp). It
// watches descriptors for their streams and a wake-up channel, and reports
// which became ready; which streams are still registered, and in what order
// they are reported, is the wait set's business.
//
// Thread safety: watch(), change() and forget() are called under the wait
// set's lock, wait() by the waiting thread without it; the two may overlap.
#ifndef VANTOR_IOS_IOSREADINESS_H_
#define VANTOR_IOS_IOSREADINESS_H_

#include <memory>
#include <vector>

class IosSystemStream;

class IosReadiness {
 public:
  struct Event {
    // Null for the wake-up channel.
    IosSystemStream* stream;
    bool readable;
    bool writable;
  };

  // Watches wakeDescriptor for readability from the start. Throws
  // Exception("IosSystemStreamSelect error") when no wait can be made.
  explicit IosReadiness(int wakeDescriptor);
  ~IosReadiness();
  IosReadiness(const IosReadiness&) = delete;
  IosReadiness& operator=(const IosReadiness&) = delete;

  // A descriptor already watched for another stream stays with that one.
  void watch(IosSystemStream* stream, int descriptor, bool writable);
  void change(IosSystemStream* stream, int descriptor, bool writable);
  void forget(int descriptor);

  // Waits up to timeoutMilliseconds (negative: no limit) and lists what is
  // ready, each descriptor once; false when the wait failed.
  bool wait(int timeoutMilliseconds, std::vector<Event>& ready);

  // Whether a change made during a wait takes effect in that wait; when not,
  // the wait set wakes the waiter so that it waits again with the change.
  static bool changesReachWaitInProgress();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

#endif  // VANTOR_IOS_IOSREADINESS_H_
