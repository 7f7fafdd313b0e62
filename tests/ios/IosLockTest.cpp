#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <utility>
#include <vector>

#include "ios/IosLock.h"
#include "ios/IosThread.h"
#include "ios/Platform.h"
#include "tests/ios/TestSupport.h"

namespace {

class Task final : public IosRunnable {
 public:
  explicit Task(std::function<void()> body) : body_(std::move(body)) {}
  void run() override { body_(); }

 private:
  std::function<void()> body_;
};

// Long enough for a thread that could take the lock to have taken it.
constexpr unsigned kGraceMilliseconds = 50;

}  // namespace

TEST(IosLock, KeepsASecondThreadOutWhileHeld) {
  IosLock lock;
  std::atomic<bool> acquired{false};
  Task taker([&] {
    lock.lock();
    acquired = true;
    lock.unlock();
  });
  lock.lock();
  IosThread thread(&taker);
  thread.start();
  platform::sleepMilliseconds(kGraceMilliseconds);
  EXPECT_FALSE(acquired);
  lock.unlock();
  awaitEnd(thread);
  EXPECT_TRUE(acquired);
}

TEST(IosLock, CanBeReleasedByAnotherThread) {
  IosLock handOver;
  int handedValue = 0;  // written under the lock by one thread, read by the other
  Task finisher([&] {
    handedValue = 42;
    handOver.unlock();
  });
  handOver.lock();
  IosThread thread(&finisher);
  thread.start();
  handOver.lock();  // waits until the other thread hands the lock back
  EXPECT_EQ(handedValue, 42);
  handOver.unlock();
  awaitEnd(thread);
}

TEST(IosLock, UnlockOfAFreeLockThrowsAndLeavesItUsable) {
  IosLock lock;
  EXPECT_EQ(thrownMessage([&] { lock.unlock(); }), "Unlock error...");
  lock.lock();
  lock.unlock();
}

TEST(IosLock, SecondUnlockThrowsSoTheLockStaysExclusive) {
  IosLock lock;
  lock.lock();
  lock.unlock();
  EXPECT_EQ(thrownMessage([&] { lock.unlock(); }), "Unlock error...");

  std::atomic<int> holders{0};
  Task taker([&] {
    lock.lock();
    ++holders;
    lock.unlock();
  });
  lock.lock();
  ++holders;
  IosThread thread(&taker);
  thread.start();
  platform::sleepMilliseconds(kGraceMilliseconds);
  EXPECT_EQ(holders, 1);
  lock.unlock();
  awaitEnd(thread);
  EXPECT_EQ(holders, 2);
}

TEST(IosLock, SerialisesUpdatesFromSeveralThreads) {
  IosLock lock;
  long counter = 0;  // guarded by lock only
  Task adder([&] {
    for (int i = 0; i < 20000; ++i) {
      lock.lock();
      ++counter;
      lock.unlock();
    }
  });
  std::vector<IosThread*> threads;
  for (int i = 0; i < 4; ++i) threads.push_back(new IosThread(&adder));
  for (IosThread* thread : threads) thread->start();
  for (IosThread* thread : threads) {
    awaitEnd(*thread);
    delete thread;
  }
  EXPECT_EQ(counter, 80000);
}

TEST(IosLockGuard, HoldsTheLockForItsScope) {
  IosLock lock;
  std::atomic<bool> acquired{false};
  Task taker([&] {
    lock.lock();
    acquired = true;
    lock.unlock();
  });
  IosThread thread(&taker);
  {
    IosLockGuard guard(lock);
    thread.start();
    platform::sleepMilliseconds(kGraceMilliseconds);
    EXPECT_FALSE(acquired);
  }
  awaitEnd(thread);
  EXPECT_TRUE(acquired);
  EXPECT_EQ(thrownMessage([&] { lock.unlock(); }), "Unlock error...");
}
