#include "ios/IosThread.h"

#include "ios/Exception.h"

IosThread::IosThread()
    : selfRun_(true), target_(nullptr), running_(false), deleteOnExit_(false), thread_() {}

IosThread::IosThread(IosRunnable* target)
    : selfRun_(false), target_(target), running_(false), deleteOnExit_(false), thread_() {}

IosThread::~IosThread() = default;

void IosThread::cleanup(void* self) {
  IosThread* thread = static_cast<IosThread*>(self);
  thread->running_ = false;
  if (thread->deleteOnExit_) delete thread;
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
  running_ = true;
  if (!detached) {
    pthread_create(&thread_, nullptr, body, this);
    return;
  }
  // The new thread may finish and delete this object at once: nothing of
  // the object is touched once the thread exists.
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_t handle;
  pthread_create(&handle, &attributes, body, this);
  pthread_attr_destroy(&attributes);
}

void IosThread::start() { launch(false); }

void IosThread::startDetached() { launch(true); }

void IosThread::cancel() {
  if (!running_) throw new Exception("Thread was not running...");
  // A self-deleting thread may free this object as soon as it is cancelled,
  // so the flag is cleared and the handle read before the request.
  pthread_t handle = thread_;
  running_ = false;
  pthread_cancel(handle);
}

void IosThread::detach() {
  if (!running_) throw new Exception("Thread was not running...");
  pthread_detach(thread_);
}

void IosThread::join() {
  if (!running_) throw new Exception("Thread was not running...");
  pthread_join(thread_, nullptr);
}
