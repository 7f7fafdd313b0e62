// A re-entrant lock: the thread that holds it may take it again without
// waiting, and must release it as many times as it took it. The lobby uses
// it so that a notification can call back into the lobby on the thread that
// is already inside a lobby operation.
//
// Unlike IosLock it has an owner: only the holding thread may unlock it.
//
// Thread safety: safe to use from any thread under that rule; not copyable.
#ifndef VANTOR_IOS_IOSRECURSIVELOCK_H_
#define VANTOR_IOS_IOSRECURSIVELOCK_H_

#include <pthread.h>

#include "ios/Exception.h"

class IosRecursiveLock {
 public:
  IosRecursiveLock();   // throws Exception("IosRecursiveLock creation error...")
  ~IosRecursiveLock();  // reports a failure on standard error (never throws)
  IosRecursiveLock(const IosRecursiveLock&) = delete;
  IosRecursiveLock& operator=(const IosRecursiveLock&) = delete;

  void lock();  // throws Exception("Lock error...")
  // Takes it only when free or already held by the caller; never waits.
  bool tryLock();
  void unlock();  // throws Exception("Unlock error...") when the caller does not hold it

 private:
  pthread_mutex_t mutex_;
};

// Holds an IosRecursiveLock for the life of a scope.
class IosRecursiveLockGuard {
 public:
  explicit IosRecursiveLockGuard(IosRecursiveLock& lock) : lock_(lock) { lock_.lock(); }
  // A destructor that threw would end the process: a failed unlock is
  // reported on standard error and the scope ends normally.
  ~IosRecursiveLockGuard() {
    try {
      lock_.unlock();
    } catch (Exception* e) {
      e->print();
      delete e;
    }
  }
  IosRecursiveLockGuard(const IosRecursiveLockGuard&) = delete;
  IosRecursiveLockGuard& operator=(const IosRecursiveLockGuard&) = delete;

 private:
  IosRecursiveLock& lock_;
};

#endif  // VANTOR_IOS_IOSRECURSIVELOCK_H_
