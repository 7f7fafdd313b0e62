// The plain lock, which any thread may release, and the re-entrant one.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "ios/IosLock.h"
#include "ios/IosRecursiveLock.h"
#include "ios/Platform.h"
#include "tests/ios/TestSupport.h"

namespace {

// Another thread that takes the lock and releases it at once.
template <typename Lock>
struct Contender {
  explicit Contender(Lock& lock)
      : thread([this, &lock] {
          lock.lock();
          entered = true;
          lock.unlock();
        }) {}
  ~Contender() {
    if (thread.joinable()) thread.join();
  }
  // Whether it got in within a time long enough for it to have taken a free lock.
  bool enteredAfterGrace() {
    platform::sleepMilliseconds(50);
    return entered;
  }
  bool enters() {
    thread.join();
    return entered;
  }
  std::atomic<bool> entered{false};
  std::thread thread;
};

}  // namespace

TEST(IosLock, KeepsOtherThreadsOutWhileItsGuardHoldsIt) {
  IosLock lock;
  auto guard = std::make_unique<IosLockGuard>(lock);
  Contender<IosLock> other(lock);
  EXPECT_FALSE(other.enteredAfterGrace());
  guard.reset();
  EXPECT_TRUE(other.enters());
}

TEST(IosLock, CanBeReleasedByAnotherThread) {
  IosLock handOver;
  int handedValue = 0;  // written by one thread before it releases, read by the other
  handOver.lock();
  std::thread finisher([&] {
    handedValue = 42;
    handOver.unlock();
  });
  handOver.lock();  // waits until the other thread hands the lock back
  EXPECT_EQ(handedValue, 42);
  handOver.unlock();
  finisher.join();
}

TEST(IosLock, RefusesAnUnlockWhenFreeAndStaysExclusiveAfterwards) {
  IosLock lock;
  EXPECT_EQ(thrownMessage([&] { lock.unlock(); }), "Unlock error...");
  lock.lock();
  lock.unlock();
  EXPECT_EQ(thrownMessage([&] { lock.unlock(); }), "Unlock error...");
  lock.lock();
  Contender<IosLock> other(lock);
  EXPECT_FALSE(other.enteredAfterGrace());
  lock.unlock();
  EXPECT_TRUE(other.enters());
}

TEST(IosRecursiveLock, LetsItsHolderTakeItAgainAndOthersInOnlyWhenEveryTakingIsReleased) {
  IosRecursiveLock lock;
  lock.lock();
  lock.lock();
  { IosRecursiveLockGuard guard(lock); }
  Contender<IosRecursiveLock> other(lock);
  lock.unlock();
  EXPECT_FALSE(other.enteredAfterGrace());
  lock.unlock();
  EXPECT_TRUE(other.enters());
}

// ThreadSanitizer reports the misuse itself before the lock can refuse it.
#ifndef __SANITIZE_THREAD__
TEST(IosRecursiveLock, RefusesAnUnlockByAThreadThatDoesNotHoldIt) {
  IosRecursiveLock lock;
  lock.lock();
  std::string message;
  std::thread([&] { message = thrownMessage([&] { lock.unlock(); }); }).join();
  EXPECT_EQ(message, "Unlock error...");
  lock.unlock();
  EXPECT_EQ(thrownMessage([&] { lock.unlock(); }), "Unlock error...");
}
#endif
