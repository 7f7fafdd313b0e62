// A POSIX thread that runs either its own run() or the run() of a target.
//
// States: not running, and running from start() until the body ends or the
// thread is cancelled. With deleteOnExit set, the thread deletes its own
// object (through the virtual destructor) when the body ends, also when it is
// cancelled inside run(); nobody may touch such an object after start, so it
// is started with startDetached() rather than start() followed by detach(),
// which could reach an object that has already deleted itself.
//
// A thread that was started and never joined or detached is released by
// join() (also when it throws because the body has already ended) and by the
// destructor, so no ended thread is left behind unreaped. join() on a thread
// whose body has returned throws; a caller that may race with the end of the
// body catches that exception.
//
// Thread safety: start, cancel, detach and join are called by the owner's
// thread; the running flag is also written by the thread itself, atomically.
#ifndef VANTOR_IOS_IOSTHREAD_H_
#define VANTOR_IOS_IOSTHREAD_H_

#include <pthread.h>

#include <atomic>

#include "ios/IosRunnable.h"

class IosThread {
 public:
  IosThread();                              // runs this object's own run()
  explicit IosThread(IosRunnable* target);  // runs target->run(); target not owned
  // Neither stops nor waits for a running thread; reaps one that has ended
  // or was cancelled.
  virtual ~IosThread();
  virtual void run() {}

  // Both throw Exception("Thread already running...") or, when the system
  // cannot make another thread, Exception("Thread creation error...").
  void start();
  // start() on a detached thread; the object is then the thread's (the
  // caller's still when this throws).
  void startDetached();
  void cancel();  // throws Exception("Thread was not running...")
  void detach();  // throws Exception("Thread was not running...")
  void join();    // throws Exception("Thread was not running...")

  bool isRunning() const { return running_.load(); }
  void setDeleteOnExit(bool deleteOnExit) { deleteOnExit_ = deleteOnExit; }

 private:
  static void* body(void* self);
  static void cleanup(void* self);
  void launch(bool detached);
  [[noreturn]] void notCreated();

  bool selfRun_;
  IosRunnable* target_;
  std::atomic<bool> running_;
  bool deleteOnExit_;
  pthread_t thread_;
  // A started thread that has been neither joined nor detached.
  bool joinable_;
};

#endif  // VANTOR_IOS_IOSTHREAD_H_
