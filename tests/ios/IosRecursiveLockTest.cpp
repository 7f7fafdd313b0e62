#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "ios/Exception.h"
#include "ios/IosRecursiveLock.h"

TEST(IosRecursiveLock, LetsItsHolderTakeItAgainWithoutWaiting) {
  IosRecursiveLock lock;
  lock.lock();
  lock.lock();
  { IosRecursiveLockGuard guard(lock); }
  lock.unlock();
  lock.unlock();
}

TEST(IosRecursiveLock, KeepsOtherThreadsOutUntilEveryTakingIsReleased) {
  IosRecursiveLock lock;
  std::atomic<bool> entered{false};
  lock.lock();
  lock.lock();
  std::thread other([&] {
    IosRecursiveLockGuard guard(lock);
    entered = true;
  });
  lock.unlock();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(entered.load());
  lock.unlock();
  other.join();
  EXPECT_TRUE(entered.load());
}

// ThreadSanitizer reports the misuse itself before the lock can refuse it.
#ifndef __SANITIZE_THREAD__
TEST(IosRecursiveLock, RefusesAnUnlockByAThreadThatDoesNotHoldIt) {
  IosRecursiveLock lock;
  lock.lock();
  std::string message;
  std::thread other([&] {
    try {
      lock.unlock();
    } catch (Exception* e) {
      message = e->getMessage();
      delete e;
    }
  });
  other.join();
  EXPECT_EQ(message, "Unlock error...");
  lock.unlock();
  try {
    lock.unlock();
    ADD_FAILURE() << "unlocked a free lock";
  } catch (Exception* e) {
    EXPECT_STREQ(e->getMessage(), "Unlock error...");
    delete e;
  }
}
#endif

TEST(IosRecursiveLock, IsReleasedByItsGuardWhenAnExceptionLeavesTheScope) {
  IosRecursiveLock lock;
  try {
    IosRecursiveLockGuard guard(lock);
    throw new Exception("leaving");
  } catch (Exception* e) {
    delete e;
  }
  std::atomic<bool> entered{false};
  std::thread other([&] {
    IosRecursiveLockGuard guard(lock);
    entered = true;
  });
  other.join();
  EXPECT_TRUE(entered.load());
}
