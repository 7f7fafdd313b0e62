// A wait set: the streams registered in it, and a blocking wait until at
// least one of them is readable.
//
// At most kMaxDescriptors distinct descriptors are watched, the first ones in
// registration order; a stream beyond them stays registered but unwatched.
// Besides the streams, the wait watches a wake-up channel of its own:
// wakeUp() makes a blocked (or the next) select() return at once, with or
// without ready streams, which is how another thread stops a server.
//
// Thread safety: every operation may be called from any thread. select()
// waits without holding the set's lock; readyStreams() reports only streams
// that are still registered, so a stream removed during the wait is never
// reported.
#ifndef VANTOR_IOS_IOSSYSTEMSTREAMSELECT_H_
#define VANTOR_IOS_IOSSYSTEMSTREAMSELECT_H_

#include "ios/IosLock.h"
#include "ios/IosVector.h"

class IosSystemStream;

class IosSystemStreamSelect {
 public:
  static constexpr int kMaxDescriptors = 64;

  // Throws "IosSystemStreamSelect error" when the wake-up channel cannot be made.
  IosSystemStreamSelect();
  // Deletes the list, not the streams.
  ~IosSystemStreamSelect();
  IosSystemStreamSelect(const IosSystemStreamSelect&) = delete;
  IosSystemStreamSelect& operator=(const IosSystemStreamSelect&) = delete;

  // Appends; the same stream may be added twice.
  void add(IosSystemStream* stream);
  // Removes every occurrence; an absent stream is no error.
  void remove(IosSystemStream* stream);
  bool contains(IosSystemStream* stream);
  // A new vector (the caller's) with the registered streams, in order.
  IosVector* streams();

  // Waits without a time-out until a watched stream is readable or wakeUp()
  // is called. Throws "IosSystemStreamSelect error" when the wait fails or a
  // watched descriptor is not open.
  void select();
  // A new vector (the caller's) with every registered stream that the last
  // select() found readable, in registration order, each once.
  IosVector* readyStreams();

  void wakeUp();

 private:
  IosLock lock_;
  IosVector* streams_;
  IosVector* ready_;
  int wakeDescriptor_;
};

#endif  // VANTOR_IOS_IOSSYSTEMSTREAMSELECT_H_
