#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <thread>

#include "ios/IosThread.h"
#include "ios/Platform.h"
#include "tests/ios/TestSupport.h"

namespace {

// A thread body that holds until the test releases it, at cancellation
// points, so that a cancelled thread stops inside it. It waits by sleeping,
// or, when spinning, by yielding: ThreadSanitizer loses track of the
// synchronisation of a thread cancelled inside a blocking call such as sleep.
class HeldBody {
 public:
  void hold() {
    entered = true;
    while (!released) {
      if (spinning) {
        pthread_testcancel();
        std::this_thread::yield();
      } else {
        platform::sleepMilliseconds(1);
      }
    }
    ++completed;
  }
  bool spinning = false;
  std::atomic<bool> entered{false};
  std::atomic<bool> released{false};
  std::atomic<int> completed{0};
};

class HeldRunnable final : public IosRunnable {
 public:
  void run() override {
    runner = std::this_thread::get_id();
    body.hold();
  }
  HeldBody body;
  std::thread::id runner;
};

// Marks its flag when it goes out of scope, also while a cancelled thread
// unwinds.
class ScopeMark {
 public:
  explicit ScopeMark(std::atomic<bool>& left) : left_(left) {}
  ~ScopeMark() { left_ = true; }

 private:
  std::atomic<bool>& left_;
};

// What a self-deleting thread leaves behind for the test to look at.
struct Probe {
  HeldBody body;
  std::atomic<bool> leftRun{false};
  std::atomic<int> deletions{0};
  std::atomic<bool> deletedAfterRunCompleted{false};
};

class ProbedThread final : public IosThread {
 public:
  explicit ProbedThread(Probe& probe) : probe_(probe) {}
  ProbedThread(Probe& probe, IosRunnable* target) : IosThread(target), probe_(probe) {}
  ~ProbedThread() override {
    probe_.deletedAfterRunCompleted = probe_.body.completed.load() == 1;
    ++probe_.deletions;
  }
  void run() override {
    ScopeMark mark(probe_.leftRun);
    probe_.body.hold();
  }

 private:
  Probe& probe_;
};

class Target final : public IosRunnable {
 public:
  void run() override { ++runs; }
  std::atomic<int> runs{0};
};

}  // namespace

TEST(IosThread, RunsTheTargetOnANewThread) {
  HeldRunnable target;
  IosThread thread(&target);
  thread.start();
  target.body.released = true;
  awaitEnd(thread);
  EXPECT_EQ(target.body.completed, 1);
  EXPECT_NE(target.runner, std::this_thread::get_id());
}

TEST(IosThread, RunsItsOwnRunWhenSubclassed) {
  Probe probe;
  ProbedThread thread(probe);
  probe.body.released = true;
  thread.start();
  awaitEnd(thread);
  EXPECT_EQ(probe.body.completed, 1);
  EXPECT_TRUE(probe.leftRun);
}

TEST(IosThread, IsRunningFromStartUntilTheBodyEnds) {
  HeldRunnable target;
  IosThread thread(&target);
  EXPECT_FALSE(thread.isRunning());
  thread.start();
  EXPECT_TRUE(thread.isRunning());
  ASSERT_TRUE(eventually([&] { return target.body.entered.load(); }));
  EXPECT_TRUE(thread.isRunning());
  target.body.released = true;
  awaitEnd(thread);
  EXPECT_FALSE(thread.isRunning());
}

TEST(IosThread, JoinWaitsForTheBodyToEnd) {
  HeldRunnable target;
  IosThread thread(&target);
  thread.start();
  std::thread releaser([&] {
    platform::sleepMilliseconds(100);
    target.body.released = true;
  });
  thread.join();
  EXPECT_EQ(target.body.completed, 1);
  EXPECT_FALSE(thread.isRunning());
  releaser.join();
}

TEST(IosThread, StartingTwiceWhileRunningThrows) {
  HeldRunnable target;
  IosThread thread(&target);
  thread.start();
  EXPECT_EQ(thrownMessage([&] { thread.start(); }), "Thread already running...");
  target.body.released = true;
  awaitEnd(thread);
  EXPECT_EQ(target.body.completed, 1);
}

TEST(IosThread, JoiningAfterTheBodyHasReturnedThrows) {
  Target target;
  IosThread thread(&target);
  thread.start();
  ASSERT_TRUE(eventually([&] { return !thread.isRunning(); }));
  EXPECT_EQ(thrownMessage([&] { thread.join(); }), "Thread was not running...");
  EXPECT_EQ(target.runs, 1);
}

TEST(IosThread, CancelDetachAndJoinOfAThreadNeverStartedThrow) {
  Target target;
  IosThread thread(&target);
  EXPECT_EQ(thrownMessage([&] { thread.cancel(); }), "Thread was not running...");
  EXPECT_EQ(thrownMessage([&] { thread.detach(); }), "Thread was not running...");
  EXPECT_EQ(thrownMessage([&] { thread.join(); }), "Thread was not running...");
  EXPECT_EQ(target.runs, 0);
}

TEST(IosThread, CanBeStartedAgainOnceItHasEnded) {
  Target target;
  IosThread thread(&target);
  thread.start();
  awaitEnd(thread);
  thread.start();
  ASSERT_TRUE(eventually([&] { return !thread.isRunning(); }));
  thread.start();
  awaitEnd(thread);
  EXPECT_EQ(target.runs, 3);
}

TEST(IosThread, DetachedThreadKeepsRunningToTheEnd) {
  HeldRunnable target;
  IosThread thread(&target);
  thread.start();
  thread.detach();
  EXPECT_TRUE(thread.isRunning());
  target.body.released = true;
  EXPECT_TRUE(eventually([&] { return !thread.isRunning(); }));
  EXPECT_EQ(target.body.completed, 1);
}

TEST(IosThread, StartedDetachedRunsToTheEnd) {
  HeldRunnable target;
  IosThread thread(&target);
  thread.startDetached();
  EXPECT_TRUE(thread.isRunning());
  EXPECT_EQ(thrownMessage([&] { thread.startDetached(); }), "Thread already running...");
  target.body.released = true;
  EXPECT_TRUE(eventually([&] { return !thread.isRunning(); }));
  EXPECT_EQ(target.body.completed, 1);
}

TEST(IosThread, CancelStopsAThreadInsideRun) {
  Probe probe;
  ProbedThread* thread = new ProbedThread(probe);
  thread->start();
  ASSERT_TRUE(eventually([&] { return probe.body.entered.load(); }));
  thread->cancel();
  EXPECT_FALSE(thread->isRunning());
  EXPECT_TRUE(eventually([&] { return probe.leftRun.load(); }));
  EXPECT_EQ(thrownMessage([&] { thread->join(); }), "Thread was not running...");
  delete thread;
  EXPECT_EQ(probe.body.completed, 0);
}

TEST(SelfDeletingThread, DeletesItsObjectAfterRunReturns) {
  Probe probe;
  ProbedThread* thread = new ProbedThread(probe);
  thread->setDeleteOnExit(true);
  thread->start();
  thread = nullptr;  // the thread's own from here on
  probe.body.released = true;
  ASSERT_TRUE(eventually([&] { return probe.deletions.load() == 1; }));
  EXPECT_TRUE(probe.deletedAfterRunCompleted);
}

TEST(SelfDeletingThread, StartedDetachedDeletesItsObjectAfterRunReturns) {
  Probe probe;
  ProbedThread* thread = new ProbedThread(probe);
  thread->setDeleteOnExit(true);
  probe.body.released = true;
  thread->startDetached();
  thread = nullptr;
  ASSERT_TRUE(eventually([&] { return probe.deletions.load() == 1; }));
  EXPECT_TRUE(probe.deletedAfterRunCompleted);
}

TEST(SelfDeletingThread, DeletesItsObjectWhenCancelledInsideRun) {
  Probe probe;
  probe.body.spinning = true;
  ProbedThread* thread = new ProbedThread(probe);
  thread->setDeleteOnExit(true);
  thread->start();
  ASSERT_TRUE(eventually([&] { return probe.body.entered.load(); }));
  thread->cancel();
  thread = nullptr;
  ASSERT_TRUE(eventually([&] { return probe.deletions.load() == 1; }));
  EXPECT_TRUE(probe.leftRun);
  EXPECT_FALSE(probe.deletedAfterRunCompleted);
}

TEST(SelfDeletingThread, DeletesItselfButNeverItsTarget) {
  Probe probe;
  probe.body.released = true;
  Target target;
  ProbedThread* thread = new ProbedThread(probe, &target);
  thread->setDeleteOnExit(true);
  thread->startDetached();
  ASSERT_TRUE(eventually([&] { return probe.deletions.load() == 1; }));
  EXPECT_EQ(target.runs, 1);
  EXPECT_FALSE(probe.leftRun);  // the target ran, not the thread's own run()
}
