// Helpers for the foundation tests: the message of the Exception* an action
// throws (the test owns and deletes it, as every catcher does), waiting with a
// deadline for something another thread does, and waiting for a thread's end.
#ifndef VANTOR_TESTS_IOS_TESTSUPPORT_H_
#define VANTOR_TESTS_IOS_TESTSUPPORT_H_

#include <chrono>
#include <string>
#include <thread>

#include "ios/Exception.h"
#include "ios/IosThread.h"

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

// Waits until the thread has ended. A thread whose body has already returned
// is no longer running and join() throws for it; that is no failure here.
inline void awaitEnd(IosThread& thread) {
  try {
    thread.join();
  } catch (Exception* exception) {
    delete exception;
  }
}

#endif  // VANTOR_TESTS_IOS_TESTSUPPORT_H_
