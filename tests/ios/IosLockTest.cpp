// The plain lock, which any thread may release, and the re-entrant one.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "ios/IosLock.h"
#include "ios/IosRecursiveLock.h"
#include "tests/ios/TestSupport.h"

namespace {

// Whether another thread, trying without waiting, gets the lock (and then
// gives it back).
template <typename Lock>
bool takenByAnotherThread(Lock& lock) {
  bool took = false;
  std::thread([&] {
    took = lock.tryLock();
    if (took) lock.unlock();
  }).join();
  return took;
}

// A guard whose lock is released under its feet reports the failed unlock
// and leaves the lock free.
template <typename Lock, typename Guard>
void expectGuardReportsAFailedUnlock() {
  Lock lock;
  testing::internal::CaptureStderr();
  {
    Guard guard(lock);
    lock.unlock();
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Exception thrown: Unlock error...\n");
  EXPECT_TRUE(takenByAnotherThread(lock));
}

}  // namespace

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

// Both threads are released together many times over; whichever order they
// reach the lock in, one unlock releases it and the other, an unlock of a
// free lock, is refused, so afterwards the lock can be taken once and only
// once without waiting.
TEST(IosLock, LetsOnlyOneOfTwoRacingUnlocksReleaseIt) {
  for (int round = 0; round < 1000; ++round) {
    IosLock lock;
    lock.lock();
    std::atomic<bool> go{false};
    std::atomic<int> refused{0};
    auto unlocker = [&] {
      while (!go.load()) std::this_thread::yield();
      const std::string message = thrownMessage([&] { lock.unlock(); });
      if (message == "Unlock error...") ++refused;
    };
    std::thread first(unlocker);
    std::thread second(unlocker);
    go = true;
    first.join();
    second.join();
    ASSERT_EQ(refused.load(), 1) << "round " << round;
    ASSERT_TRUE(lock.tryLock()) << "round " << round;
    ASSERT_FALSE(lock.tryLock()) << "round " << round;
    lock.unlock();
  }
}

TEST(IosRecursiveLock, LetsItsHolderTakeItAgainAndOthersInOnlyWhenEveryTakingIsReleased) {
  IosRecursiveLock lock;
  lock.lock();
  lock.lock();
  { IosRecursiveLockGuard guard(lock); }
  lock.unlock();
  EXPECT_FALSE(takenByAnotherThread(lock));
  lock.unlock();
  EXPECT_TRUE(takenByAnotherThread(lock));
}

TEST(LockGuards, ReportAFailedUnlockOnStandardErrorInsteadOfThrowing) {
  expectGuardReportsAFailedUnlock<IosLock, IosLockGuard>();
  // ThreadSanitizer reports this misuse of the re-entrant lock itself.
#ifndef __SANITIZE_THREAD__
  expectGuardReportsAFailedUnlock<IosRecursiveLock, IosRecursiveLockGuard>();
#endif
}

// ThreadSanitizer reports this misuse itself before the lock can refuse it.
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
