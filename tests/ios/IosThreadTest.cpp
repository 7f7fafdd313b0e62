#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ios/IosThread.h"
#include "ios/Platform.h"
#include "tests/ios/TestSupport.h"

namespace {

// A body that holds until the test releases it, at a cancellation point, so
// that a cancelled thread stops inside it. It spins rather than sleeps:
// ThreadSanitizer loses track of the synchronisation of a thread cancelled
// inside a blocking call such as sleep.
struct Target final : public IosRunnable {
  void run() override {
    entered = true;
    while (!released) {
      pthread_testcancel();
      std::this_thread::yield();
    }
    ++completed;
  }
  std::atomic<bool> entered{false}, released{false};
  std::atomic<int> completed{0};
};

// What a thread running its own run() leaves behind for the test to look at.
struct Probe {
  Target body;
  std::atomic<bool> leftRun{false}, deletedAfterRunCompleted{false};
  std::atomic<int> deletions{0};
};

class ProbedThread final : public IosThread {
 public:
  explicit ProbedThread(Probe& probe) : probe_(probe) {}
  ~ProbedThread() override {
    probe_.deletedAfterRunCompleted = probe_.body.completed.load() == 1;
    ++probe_.deletions;
  }
  void run() override {
    // Marks the exit from run() also while a cancelled thread unwinds.
    struct Mark {
      std::atomic<bool>& left;
      ~Mark() { left = true; }
    } mark{probe_.leftRun};
    probe_.body.run();
  }

 private:
  Probe& probe_;
};

}  // namespace

TEST(IosThread, RefusesCallsWhenNotRunningAndThrowsWhenNoThreadCanBeMadeButStartsLaterAndAgain) {
  Target ownedTarget, detachedTarget;
  ownedTarget.released = detachedTarget.released = true;
  IosThread owned(&ownedTarget);
  IosThread* detached = new IosThread(&detachedTarget);
  detached->setDeleteOnExit(true);
  {
    NoNewThreads refusal;
    EXPECT_EQ(thrownMessage([&] { owned.start(); }), "Thread creation error...");
    EXPECT_EQ(thrownMessage([&] { detached->startDetached(); }), "Thread creation error...");
  }
  EXPECT_FALSE(owned.isRunning());
  EXPECT_FALSE(detached->isRunning());
  for (void (IosThread::*call)() : {&IosThread::cancel, &IosThread::detach, &IosThread::join}) {
    EXPECT_EQ(thrownMessage([&] { (owned.*call)(); }), "Thread was not running...");
  }
  // The failed self-deleting thread is still the caller's to start or delete.
  detached->startDetached();
  for (int run = 1; run <= 2; ++run) {  // the second time though never joined
    owned.start();
    ASSERT_TRUE(eventually([&] { return !owned.isRunning(); }));
  }
  EXPECT_EQ(thrownMessage([&] { owned.join(); }), "Thread was not running...");
  EXPECT_EQ(ownedTarget.completed, 2);
  EXPECT_TRUE(eventually([&] { return detachedTarget.completed == 1; }));
}

TEST(IosThread, RunsItsBodyOnANewThreadJoinedOrDetachedAndIsRunningUntilTheBodyEnds) {
  Target joinedTarget, detachedTarget, startedDetachedTarget;
  IosThread joined(&joinedTarget), detached(&detachedTarget),
      startedDetached(&startedDetachedTarget);
  EXPECT_FALSE(joined.isRunning());
  joined.start();
  detached.start();
  detached.detach();
  startedDetached.startDetached();
  for (IosThread* thread : {&joined, &detached, &startedDetached}) {
    EXPECT_TRUE(thread->isRunning());
    EXPECT_EQ(thrownMessage([&] { thread->start(); }), "Thread already running...");
    EXPECT_EQ(thrownMessage([&] { thread->startDetached(); }), "Thread already running...");
  }
  ASSERT_TRUE(eventually([&] { return joinedTarget.entered.load(); }));
  EXPECT_TRUE(joined.isRunning());
  std::thread releaser([&] {
    platform::sleepMilliseconds(100);
    joinedTarget.released = detachedTarget.released = startedDetachedTarget.released = true;
  });
  joined.join();  // waits for the body
  releaser.join();
  EXPECT_EQ(joinedTarget.completed, 1);
  EXPECT_FALSE(joined.isRunning());
  EXPECT_TRUE(eventually([&] { return !detached.isRunning() && !startedDetached.isRunning(); }));
  EXPECT_EQ(detachedTarget.completed + startedDetachedTarget.completed, 2);
}

// A cancelled thread unwinds out of run(); a self-deleting one, cancelled or
// done, deletes its object once it has left run().
TEST(IosThread, LeavesRunWhenCancelledOrDoneAndASelfDeletingOneThenDeletesItsObject) {
  const struct {
    bool cancel, deleteOnExit, detached;
  } cases[] = {
      {true, false, false}, {true, true, false}, {false, true, false}, {false, true, true}};
  for (const auto& c : cases) {
    Probe probe;
    ProbedThread* thread = new ProbedThread(probe);
    thread->setDeleteOnExit(c.deleteOnExit);
    c.detached ? thread->startDetached() : thread->start();
    ASSERT_TRUE(eventually([&] { return probe.body.entered.load(); }));
    if (c.cancel) {
      thread->cancel();
    } else {
      probe.body.released = true;  // the thread's own from here on
    }
    if (!c.deleteOnExit) {
      EXPECT_FALSE(thread->isRunning());
      EXPECT_EQ(thrownMessage([&] { thread->join(); }), "Thread was not running...");
      ASSERT_TRUE(eventually([&] { return probe.leftRun.load(); }));
      delete thread;
    }
    ASSERT_TRUE(eventually([&] { return probe.deletions.load() == 1; }));
    EXPECT_TRUE(probe.leftRun);
    EXPECT_EQ(probe.body.completed, c.cancel ? 0 : 1);
    EXPECT_EQ(probe.deletedAfterRunCompleted, !c.cancel);
  }
}
