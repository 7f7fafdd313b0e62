#include "ios/IosThread.h"

#include "ios/Exception.h"

IosThread::IosThread()
    : selfRun_(true),
      target_(nullptr),
      running_(false),
      deleteOnExit_(false),
      thread_(),
      joinable_(false) {}

IosThread::IosThread(IosRunnable* target)
    : selfRun_(false),
      target_(target),
      running_(false),
      deleteOnExit_(false),
      thread_(),
      joinable_(false) {}

IosThread::~IosThread() {
  if (!joinable_) return;
  if (pthread_equal(thread_, pthread_self())) {
    // A self-deleting thread that nobody detached: it releases itself.
    pthread_detach(thread_);
  } else if (!running_) {
    // The body has ended (or the thread was cancelled): wait for its last
    // steps, which still touch this object.
    pthread_join(thread_, nullptr);
  } else {
    pthread_detach(thread_);
  }
}

void IosThread::cleanup(void* self) {
  IosThread* thread = static_cast<IosThread*>(self);
  // Once running is false an owner may destroy a thread it does not delete
  // itself, so nothing of the object is read after the exchange.
  const bool deleteItself = thread->deleteOnExit_;
  // Reading the flag orders this thread after a cancel() that cleared it, so
  // the delete below cannot overtake the canceller's last touch.
  thread->running_.exchange(false);
  if (deleteItself) delete thread;
}

void* IosThread::body(void* self) {
  IosThread* thread = static_cast<IosThread*>(self);
  // The handler runs on a normal return exactly as on cancellation.
  pthread_cleanup_push(cleanup, thread);
  if (thread->selfRun_) {
    thread->run();
  } else {
    thread->target_->run();
  }
  pthread_cleanup_pop(1);
  return nullptr;
}

void IosThread::launch(bool detached) {
  if (running_) throw new Exception("Thread already running...");
  // A previous run that ended without a join is released before the handle
  // is reused.
  if (joinable_) pthread_join(thread_, nullptr);
  running_ = true;
  joinable_ = !detached;
  if (!detached) {
    if (pthread_create(&thread_, nullptr, body, this) != 0) notCreated();
    return;
  }
  // The new thread may finish and delete this object at once: with
  // deleteOnExit nothing of the object is touched once the thread exists.
  const bool keepHandle = !deleteOnExit_;
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_t handle;
  const int created = pthread_create(keepHandle ? &thread_ : &handle, &attributes, body, this);
  pthread_attr_destroy(&attributes);
  if (created != 0) notCreated();
}

void IosThread::notCreated() {
  // No thread exists: the object stays the caller's, even with deleteOnExit.
  running_ = false;
  joinable_ = false;
  throw new Exception("Thread creation error...");
}

void IosThread::start() {
  launch(false);
}

void IosThread::startDetached() {
  launch(true);
}

void IosThread::cancel() {
  if (!running_) throw new Exception("Thread was not running...");
  // A self-deleting thread may free this object as soon as it is cancelled,
  // so the flag is cleared and the handle read before the request. Nobody
  // can join a cancelled thread (join() finds it not running), so a
  // self-deleting one releases itself as it ends, and any other is released
  // by the destructor.
  pthread_t handle = thread_;
  running_ = false;
  pthread_cancel(handle);
}

void IosThread::detach() {
  if (!running_) throw new Exception("Thread was not running...");
  if (!joinable_) return;
  joinable_ = false;
  pthread_detach(thread_);
}

void IosThread::join() {
  if (!running_) {
    if (joinable_) {
      joinable_ = false;
      pthread_join(thread_, nullptr);
    }
    throw new Exception("Thread was not running...");
  }
  // A detached thread cannot be waited for.
  if (!joinable_) return;
  joinable_ = false;
  pthread_join(thread_, nullptr);
}
