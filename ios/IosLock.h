// The system's lock.
//
// It has no owner: unlock() may come from a thread other than the one that
// called lock(). The computer players rely on this to hand a game from the
// notifying thread to a thinking thread. POSIX leaves unlocking a mutex from
// another thread undefined, so the lock is a semaphore whose count never
// exceeds one. It is not recursive: a thread that locks it twice waits until
// another thread unlocks it.
//
// Thread safety: safe to use from any thread; not copyable.
#ifndef VANTOR_IOS_IOSLOCK_H_
#define VANTOR_IOS_IOSLOCK_H_

#include <semaphore.h>

class IosLock {
 public:
  IosLock();   // throws Exception("IosLock creation error...")
  ~IosLock();  // reports "IosLock destruction error..." on standard error (never throws)
  IosLock(const IosLock&) = delete;
  IosLock& operator=(const IosLock&) = delete;

  void lock();    // throws Exception("Lock error...")
  // Throws Exception("Unlock error...") when the lock is not held, so the
  // count can never rise above one.
  void unlock();

 private:
  sem_t semaphore_;
};

// Holds an IosLock for the life of a scope.
class IosLockGuard {
 public:
  explicit IosLockGuard(IosLock& lock) : lock_(lock) { lock_.lock(); }
  ~IosLockGuard() { lock_.unlock(); }
  IosLockGuard(const IosLockGuard&) = delete;
  IosLockGuard& operator=(const IosLockGuard&) = delete;

 private:
  IosLock& lock_;
};

#endif  // VANTOR_IOS_IOSLOCK_H_
