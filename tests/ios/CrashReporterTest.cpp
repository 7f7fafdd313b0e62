// The fatal cases run in death-test child processes: each installs the
// handlers, hides the display so that no dialog opens, and then fails. The
// report's wording is checked there, in the form the user sees it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>
#include <thread>

#include "ios/CrashReporter.h"

using testing::AllOf;
using testing::ContainsRegex;
using testing::HasSubstr;

namespace {

// Left to the signal: a sanitizer build would stop at the null store itself.
__attribute__((no_sanitize("undefined"))) void writeThroughNull() {
  volatile int* volatile target = nullptr;
  *target = 11;
}

__attribute__((noinline)) std::string stackFromDepth(int depth) {
  if (depth == 0) return captureCallStack();
  std::string stack = stackFromDepth(depth - 1);
  asm volatile("" ::: "memory");  // keeps the recursion a real call chain
  return stack;
}

}  // namespace

TEST(CallStack, ListsOneAddressPerLineAfterItsHeadingAtMostTheSixtyInnermost) {
  const std::string shallow = stackFromDepth(0), deep = stackFromDepth(100);
  EXPECT_THAT(shallow, testing::MatchesRegex("Call stack:\n(> 0x[0-9a-f]+\n)+"));
  EXPECT_THAT(deep, testing::MatchesRegex("Call stack:\n(> 0x[0-9a-f]+\n){60}"));
  // The innermost frames are the capture itself and the recursion's bottom.
  const size_t innermostEnd = shallow.find('\n', shallow.find('>')) + 1;
  EXPECT_EQ(deep.substr(0, innermostEnd), shallow.substr(0, innermostEnd));
}

TEST(CrashHandlerDeathTest, FatalSignalsReportTheSignalAndACallStackAndAbort) {
  const struct {
    int signal;
    std::function<void()> fail;
  } cases[] = {{11, writeThroughNull},
               {11, [] { std::thread(writeThroughNull).join(); }},
               {8, [] { std::raise(SIGFPE); }},
               {4, [] { std::raise(SIGILL); }}};
  for (const auto& c : cases) {
    const std::string caught = "Caught signal " + std::to_string(c.signal) + "\n\nCall stack:\n";
    EXPECT_EXIT(
        {
          unsetenv("DISPLAY");
          installCrashHandlers();
          c.fail();
        },
        testing::KilledBySignal(SIGABRT),
        // A sanitizer build reports the null write or the division first.
        AllOf(ContainsRegex("^([^\n]*runtime error[^\n]*\n)*WOOPS! :-\\(\n\n"), HasSubstr(caught),
              ContainsRegex("\n> 0x[0-9a-f]+\n"), HasSubstr("Please report the bug.")));
  }
}

TEST(CrashHandlerDeathTest, InterruptAndTerminationEndTheProcessWithCode255AndNoMessage) {
  for (int signal : {SIGINT, SIGTERM}) {
    EXPECT_EXIT(
        {
          unsetenv("DISPLAY");
          installCrashHandlers();
          std::raise(signal);
        },
        testing::ExitedWithCode(255), testing::IsEmpty());
  }
}
