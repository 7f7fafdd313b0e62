// The system's lock.
//
// It has no owner: unlock() may come from a thread other than the one that
// called lock(). The computer players rely on this to hand a game from the
// notifying thread to a thinking thread. POSIX leaves unlocking a mutex from
// another thread undefined, so the lock is a semaphore whose count never
// exceeds one. It is not recursive: a thread that locks it twice waits until
// another thread unlocks it.
//
// An unlock first turns the held flag from true to false in one atomic step
// and only then posts, so of two racing unlocks exactly one posts and the
// other is refused: the count never reaches two.
//
// Thread safety: safe to use from any thread; not copyable.
#ifndef VANTOR_IOS_IOSLOCK_H_
#define VANTOR_IOS_IOSLOCK_H_

#include <semaphore.h>

#include <atomic>

#include "ios/Exception.h"

class IosLock {
 public:
  IosLock();   // throws Exception("IosLock creation error...")
  ~IosLock();  // reports "IosLock destruction error..." on standard error (never throws)
  IosLock(const IosLock&) = delete;
  IosLock& operator=(const IosLock&) = delete;

  void lock();  // throws Exception("Lock error...")
  // Takes the lock only if it is free at once; true when it did.
  bool tryLock();
  // Throws Exception("Unlock error...") when the lock is not held, so the
  // count can never rise above one.
  void unlock();

 private:
  sem_t semaphore_;
  // True from the moment a lock() or tryLock() has taken the semaphore until
  // the unlock that releases it; only the unlock that clears it may post.
  std::atomic<bool> held_;
};

// Holds an IosLock for the life of a scope.
class IosLockGuard {
 public:
  explicit IosLockGuard(IosLock& lock) : lock_(lock) { lock_.lock(); }
  // A destructor that threw would end the process: a failed unlock is
  // reported on standard error and the scope ends normally.
  ~IosLockGuard() {
    try {
      lock_.unlock();
    } catch (Exception* e) {
      e->print();
      delete e;
    }
  }
  IosLockGuard(const IosLockGuard&) = delete;
  IosLockGuard& operator=(const IosLockGuard&) = delete;

 private:
  IosLock& lock_;
};

#endif  // VANTOR_IOS_IOSLOCK_H_
