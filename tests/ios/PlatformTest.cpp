#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "ios/Platform.h"
#include "tests/ios/EnvironmentGuard.h"

namespace {

using Clock = std::chrono::steady_clock;

long millisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Restores the working directory when the test leaves.
class WorkingDirectoryGuard {
 public:
  WorkingDirectoryGuard() : saved_(std::filesystem::current_path()) {}
  ~WorkingDirectoryGuard() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_;
};

}  // namespace

TEST(Platform, TickCountNeverRunsBackwards) {
  uint32_t previous = platform::tickCount();
  for (int i = 0; i < 100000; ++i) {
    uint32_t now = platform::tickCount();
    ASSERT_LT(static_cast<uint32_t>(now - previous), 0x80000000u);
    previous = now;
  }
}

TEST(Platform, TickCountAdvancesWithTime) {
  const uint32_t before = platform::tickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_GE(static_cast<uint32_t>(platform::tickCount() - before), 100u);
}

TEST(Platform, SleepLastsAtLeastTheTimeAsked) {
  for (unsigned milliseconds : {1u, 30u, 1010u}) {
    const Clock::time_point start = Clock::now();
    platform::sleepMilliseconds(milliseconds);
    EXPECT_GE(millisecondsSince(start), static_cast<long>(milliseconds));
  }
}

TEST(Platform, ExecutableDirectoryIsTheFolderOfTheRunningProgram) {
  const std::string directory = platform::executableDirectory();
  EXPECT_EQ(directory, std::filesystem::canonical(VANTOR_TEST_BINARY_DIR).string());
  EXPECT_NE(directory.back(), '/');
}

TEST(Platform, ChangeDirectoryMovesTheWorkingDirectory) {
  WorkingDirectoryGuard restore;
  const std::string directory = platform::executableDirectory();
  ASSERT_TRUE(platform::changeDirectory("/"));
  ASSERT_TRUE(platform::changeDirectory(directory));
  EXPECT_EQ(std::filesystem::current_path().string(), directory);
  EXPECT_FALSE(platform::changeDirectory(directory + "/no such folder"));
  EXPECT_EQ(std::filesystem::current_path().string(), directory);
}

TEST(Platform, BackTraceRespectsTheRoomGiven) {
  void* frames[3] = {nullptr, nullptr, nullptr};
  const int captured = platform::captureBackTrace(frames, 3);
  EXPECT_GE(captured, 1);
  EXPECT_LE(captured, 3);
  for (int i = 0; i < captured; ++i) EXPECT_NE(frames[i], nullptr);
}

TEST(Platform, DisplayIsAvailableOnlyWhenOneIsNamed) {
  EnvironmentGuard display("DISPLAY");
  display.remove();
  EXPECT_FALSE(platform::displayAvailable());
  display.set("");
  EXPECT_FALSE(platform::displayAvailable());
  display.set(":99");
  EXPECT_TRUE(platform::displayAvailable());
}

TEST(Platform, DialogWithoutADisplayReturnsAtOnce) {
  EnvironmentGuard display("DISPLAY");
  display.remove();
  const Clock::time_point start = Clock::now();
  platform::showModalDialog("nobody will see this");
  EXPECT_LT(millisecondsSince(start), 1000);
}
