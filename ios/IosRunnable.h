// The body of a thread: IosThread runs the run() of its target.
//
// Thread safety: run() executes on the thread that runs it; the implementer
// guards whatever it shares.
#ifndef VANTOR_IOS_IOSRUNNABLE_H_
#define VANTOR_IOS_IOSRUNNABLE_H_

class IosRunnable {
 public:
  virtual void run() = 0;

 protected:
  // Runnables are not deleted through this interface.
  ~IosRunnable() = default;
};

#endif  // VANTOR_IOS_IOSRUNNABLE_H_
