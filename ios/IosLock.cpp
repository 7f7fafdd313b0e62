#include "ios/IosLock.h"

#include <cerrno>
#include <cstdio>

#include "ios/Exception.h"

IosLock::IosLock() : held_(false) {
  if (sem_init(&semaphore_, 0, 1) != 0) throw new Exception("IosLock creation error...");
}

IosLock::~IosLock() {
  // A destructor must not throw; the failure is reported the way a caught
  // Exception would be.
  if (sem_destroy(&semaphore_) != 0) {
    std::fprintf(stderr, "Exception thrown: %s\n", "IosLock destruction error...");
  }
}

void IosLock::lock() {
  int result;
  do {
    result = sem_wait(&semaphore_);
  } while (result != 0 && errno == EINTR);
  if (result != 0) throw new Exception("Lock error...");
  held_.store(true);
}

bool IosLock::tryLock() {
  int result;
  do {
    result = sem_trywait(&semaphore_);
  } while (result != 0 && errno == EINTR);
  if (result != 0) return false;
  held_.store(true);
  return true;
}

void IosLock::unlock() {
  bool held = true;
  if (!held_.compare_exchange_strong(held, false) || sem_post(&semaphore_) != 0) {
    throw new Exception("Unlock error...");
  }
}
