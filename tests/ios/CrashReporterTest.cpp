// The fatal cases run in death-test child processes: each installs the
// handlers, hides the display so that no dialog opens, and then fails.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ios/CrashReporter.h"
#include "tests/ios/EnvironmentGuard.h"

using testing::AllOf;
using testing::ContainsRegex;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::StartsWith;

namespace {

void writeThroughNull() {
  volatile int* volatile target = nullptr;
  *target = 11;
}

void prepareToFail() {
  unsetenv("DISPLAY");
  installCrashHandlers();
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

int stackLines(const std::string& stack) {
  int count = 0;
  for (const std::string& line : linesOf(stack)) count += line.rfind("> 0x", 0) == 0;
  return count;
}

__attribute__((noinline)) std::string stackFromDepth(int depth) {
  if (depth == 0) return captureCallStack();
  std::string stack = stackFromDepth(depth - 1);
  asm volatile("" ::: "memory");  // keeps the recursion a real call chain
  return stack;
}

}  // namespace

TEST(CallStack, ListsOneAddressPerLineAfterItsHeading) {
  const std::string stack = captureCallStack();
  const std::vector<std::string> lines = linesOf(stack);
  ASSERT_GE(lines.size(), 2u) << stack;
  EXPECT_EQ(lines[0], "Call stack:");
  for (size_t i = 1; i < lines.size(); ++i) {
    EXPECT_THAT(lines[i], testing::MatchesRegex("> 0x[0-9a-f]+")) << stack;
  }
}

TEST(CallStack, DeeperThanSixtyFramesShowsTheSixtyInnermost) {
  const std::string deep = stackFromDepth(100);
  EXPECT_EQ(stackLines(deep), 60) << deep;
  const std::vector<std::string> deepLines = linesOf(deep);
  const std::vector<std::string> shallowLines = linesOf(stackFromDepth(0));
  // The innermost frames are the capture itself and the recursion's bottom.
  EXPECT_EQ(deepLines[1], shallowLines[1]);
}

TEST(CrashMessage, WrapsTheTextInTheBugReportRequest) {
  const std::vector<std::string> lines = linesOf(crashMessageText("Caught signal 11\n\nstack"));
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "WOOPS! :-(");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "Caught signal 11");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "stack");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "Please report the bug.");
  EXPECT_THAT(lines[7], StartsWith("  - To the dedicated forum thread: "));
  EXPECT_GT(lines[7].size(), std::string("  - To the dedicated forum thread: ").size());
  EXPECT_THAT(lines[8], StartsWith("  - By email: "));
  EXPECT_THAT(lines[8], HasSubstr("@"));
  EXPECT_EQ(lines[9], "");
  EXPECT_EQ(lines[10], "We will fix this as quickly as possible. Thanks for your help!");
}

TEST(CrashMessage, WithoutADisplayGoesToStandardErrorAndReturns) {
  EnvironmentGuard display("DISPLAY");
  display.remove();
  testing::internal::CaptureStderr();
  showCrashMessage("Fatal error: boom\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), crashMessageText("Fatal error: boom\n"));
}

TEST(CrashHandlerDeathTest, NullPointerWriteReportsSignalElevenWithAStackAndAborts) {
  EXPECT_EXIT(
      {
        prepareToFail();
        writeThroughNull();
      },
      testing::KilledBySignal(SIGABRT),
      AllOf(StartsWith("WOOPS! :-(\n\n"), HasSubstr("Caught signal 11\n\nCall stack:\n"),
            ContainsRegex("\n> 0x[0-9a-f]+\n"), HasSubstr("Please report the bug.")));
}

TEST(CrashHandlerDeathTest, NullPointerWriteOnAnotherThreadIsReportedToo) {
  EXPECT_EXIT(
      {
        prepareToFail();
        std::thread worker(writeThroughNull);
        worker.join();
      },
      testing::KilledBySignal(SIGABRT),
      AllOf(StartsWith("WOOPS! :-(\n\n"), HasSubstr("Caught signal 11\n\nCall stack:\n"),
            ContainsRegex("\n> 0x[0-9a-f]+\n")));
}

TEST(CrashHandlerDeathTest, FloatingPointAndIllegalInstructionSignalsAreReportedAsCrashes) {
  EXPECT_EXIT(
      {
        prepareToFail();
        std::raise(SIGFPE);
      },
      testing::KilledBySignal(SIGABRT), HasSubstr("Caught signal 8\n\nCall stack:\n"));
  EXPECT_EXIT(
      {
        prepareToFail();
        std::raise(SIGILL);
      },
      testing::KilledBySignal(SIGABRT), HasSubstr("Caught signal 4\n\nCall stack:\n"));
}

TEST(CrashHandlerDeathTest, InterruptEndsTheProcessWithCode255AndNoMessage) {
  EXPECT_EXIT(
      {
        prepareToFail();
        std::raise(SIGINT);
      },
      testing::ExitedWithCode(255), IsEmpty());
}

TEST(CrashHandlerDeathTest, TerminationRequestEndsTheProcessWithCode255AndNoMessage) {
  EXPECT_EXIT(
      {
        prepareToFail();
        std::raise(SIGTERM);
      },
      testing::ExitedWithCode(255), IsEmpty());
}
