// Helpers for the foundation tests: the message of the Exception* an action
// throws (the test owns and deletes it, as every catcher does), waiting with a
// deadline for something another thread does, a spell in which no thread
// can be made, the environment changed the same way on every system, and a
// connected pair of sockets.
#ifndef VANTOR_TESTS_IOS_TESTSUPPORT_H_
#define VANTOR_TESTS_IOS_TESTSUPPORT_H_

#include <pthread.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "ios/Exception.h"
#include "ios/SocketSystem.h"

template <typename Action>
std::string thrownMessage(Action action) {
  try {
    action();
  } catch (Exception* exception) {
    std::string message = exception->getMessage();
    delete exception;
    return message;
  }
  return "(nothing thrown)";
}

// True as soon as condition holds; false when it still fails after 10 s.
template <typename Condition>
bool eventually(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// While it lives, every new thread asks for a stack no system can give, so
// thread creation fails; the previous default comes back afterwards.
// Windows threads have no process-wide default attributes: there it does
// nothing, and the Windows build leaves out the tests that use it.
#ifdef _WIN32
class NoNewThreads {
 public:
  NoNewThreads() {}
  ~NoNewThreads() {}
};
#else
class NoNewThreads {
 public:
  NoNewThreads() {
    pthread_getattr_default_np(&previous_);
    pthread_attr_t huge;
    pthread_attr_init(&huge);
    pthread_attr_setstacksize(&huge, static_cast<size_t>(1) << 46);
    pthread_setattr_default_np(&huge);
    pthread_attr_destroy(&huge);
  }
  ~NoNewThreads() {
    pthread_setattr_default_np(&previous_);
    pthread_attr_destroy(&previous_);
  }

 private:
  pthread_attr_t previous_;
};
#endif

// Sets name to value, or removes it when value is null (Windows has neither
// setenv nor unsetenv; an empty value removes it there).
inline void setEnvironment(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value != nullptr ? value : "");
#else
  value != nullptr ? setenv(name, value, 1) : unsetenv(name);
#endif
}

#endif  // VANTOR_TESTS_IOS_TESTSUPPORT_H_
