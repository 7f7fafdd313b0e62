// The one thread on which a computer player does all its work, so that no
// thread is made per turn or per message. It runs two kinds of jobs: work
// (a search) as soon as it is free, in the order posted, and timed actions
// (a move after its pause, a chat reply) when their deadline on the monotonic
// clock comes, earliest first. A due action goes before waiting work, and
// work runs while actions wait, so several games interleave on one thread.
//
// When the thread cannot be made, jobs stay queued and every later post or
// schedule tries again, so nothing handed over is lost.
//
// Thread safety: post and schedule may be called from any thread, the
// worker's own included; they hold the queue's lock only to add the job and
// then notify, so a caller that holds other locks is never kept waiting on
// a job. start and stop are the owner's; after stop nothing more is run.
#ifndef VANTOR_BOTS_VANTORBOTWORKER_H_
#define VANTOR_BOTS_VANTORBOTWORKER_H_

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "ios/IosRunnable.h"
#include "ios/IosThread.h"

class VantorBotWorker : public IosRunnable {
 public:
  using Clock = std::chrono::steady_clock;
  using Job = std::function<void()>;

  VantorBotWorker();
  // Stops the worker.
  ~VantorBotWorker();
  VantorBotWorker(const VantorBotWorker&) = delete;
  VantorBotWorker& operator=(const VantorBotWorker&) = delete;

  // Starts the thread unless it runs already or the worker stopped; true
  // when it runs. A failure is printed and the jobs wait for the next try.
  bool start();
  void post(Job work);
  void schedule(Clock::time_point due, Job action);
  // Drops every queued job, ends a wait at once and joins the thread (a job
  // already running is finished first). Idempotent.
  void stop();

  // The thread's body.
  void run() override;

 private:
  // Starts the thread when it does not run, so no queued job is stranded.
  void ensureRunning();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> work_;
  // Equal deadlines keep the order in which they were scheduled.
  std::multimap<Clock::time_point, Job> actions_;
  bool stopping_;

  // Serialises starting and stopping the thread.
  std::mutex control_;
  std::atomic<bool> running_;
  IosThread thread_;
};

#endif  // VANTOR_BOTS_VANTORBOTWORKER_H_
