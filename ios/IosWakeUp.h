// A wake-up channel for a waiting thread: notify() makes the wait that
// watches descriptor() return, whether it is blocked now or starts later.
//
// Notifying is a system call, and a thread that holds a lock others need
// should make none: inside a DeferScope, notify() only records the channel,
// and the outermost scope delivers every recorded notification when it ends,
// after the locks taken inside it have been released. Channels are shared,
// so a recorded notification stays harmless when its waiter has gone.
//
// Thread safety: notify() and drain() may be called from any thread; a
// DeferScope belongs to the thread that made it.
#ifndef VANTOR_IOS_IOSWAKEUP_H_
#define VANTOR_IOS_IOSWAKEUP_H_

#include <memory>

class IosWakeUp : public std::enable_shared_from_this<IosWakeUp> {
 public:
  // Throws Exception("IosWakeUp creation error") when no channel can be made.
  static std::shared_ptr<IosWakeUp> create();
  ~IosWakeUp();
  IosWakeUp(const IosWakeUp&) = delete;
  IosWakeUp& operator=(const IosWakeUp&) = delete;

  void notify();
  // The descriptor to watch for readability.
  int descriptor() const { return descriptor_; }
  // Consumes every notification so far.
  void drain();

  // Holds back this thread's notifications until the outermost scope ends.
  class DeferScope {
   public:
    DeferScope();
    ~DeferScope();
    DeferScope(const DeferScope&) = delete;
    DeferScope& operator=(const DeferScope&) = delete;
  };

 private:
  IosWakeUp(int descriptor, int sender) : descriptor_(descriptor), sender_(sender) {}
  void signal();

  // The end that is watched, and the end written to; the same descriptor on
  // Linux (an eventfd), a connected socket pair on Windows.
  int descriptor_;
  int sender_;
};

#endif  // VANTOR_IOS_IOSWAKEUP_H_
