#include "ios/IosLock.h"

#include <cerrno>
#include <cstdio>

#include "ios/Exception.h"

IosLock::IosLock() {
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
}

void IosLock::unlock() {
  int value = 0;
  if (sem_getvalue(&semaphore_, &value) != 0 || value > 0 || sem_post(&semaphore_) != 0) {
    throw new Exception("Unlock error...");
  }
}
