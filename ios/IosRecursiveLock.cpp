#include "ios/IosRecursiveLock.h"

#include <cerrno>
#include <cstdio>

#include "ios/Exception.h"

IosRecursiveLock::IosRecursiveLock() {
  pthread_mutexattr_t attributes;
  if (pthread_mutexattr_init(&attributes) != 0) {
    throw new Exception("IosRecursiveLock creation error...");
  }
  int result = pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  if (result == 0) result = pthread_mutex_init(&mutex_, &attributes);
  pthread_mutexattr_destroy(&attributes);
  if (result != 0) throw new Exception("IosRecursiveLock creation error...");
}

IosRecursiveLock::~IosRecursiveLock() {
  if (pthread_mutex_destroy(&mutex_) != 0) {
    std::fprintf(stderr, "Exception thrown: %s\n", "IosRecursiveLock destruction error...");
  }
}

void IosRecursiveLock::lock() {
  if (pthread_mutex_lock(&mutex_) != 0) throw new Exception("Lock error...");
}

bool IosRecursiveLock::tryLock() {
  const int result = pthread_mutex_trylock(&mutex_);
  if (result == EBUSY) return false;
  if (result != 0) throw new Exception("Lock error...");
  return true;
}

void IosRecursiveLock::unlock() {
  // A recursive mutex refuses an unlock by a thread that does not hold it.
  if (pthread_mutex_unlock(&mutex_) != 0) throw new Exception("Unlock error...");
}
