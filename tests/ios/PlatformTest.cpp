#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "ios/Platform.h"
#include "tests/ios/TestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

long millisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace

TEST(Platform, TickCountRunsForwardAndSleepsLastAtLeastTheTimeAsked) {
  uint32_t previous = platform::tickCount();
  for (int i = 0; i < 100000; ++i) {
    const uint32_t now = platform::tickCount();
    ASSERT_LT(static_cast<uint32_t>(now - previous), 0x80000000u);
    previous = now;
  }
  for (unsigned milliseconds : {1u, 30u, 1010u}) {
    const Clock::time_point start = Clock::now();
    const uint32_t tickBefore = platform::tickCount();
    platform::sleepMilliseconds(milliseconds);
    EXPECT_GE(millisecondsSince(start), static_cast<long>(milliseconds));
    EXPECT_GE(static_cast<uint32_t>(platform::tickCount() - tickBefore), milliseconds);
  }
}

TEST(Platform, ExecutableDirectoryIsTheProgramsFolderAndCanBeMadeCurrent) {
  const std::filesystem::path saved = std::filesystem::current_path();
  const std::string directory = platform::executableDirectory();
  EXPECT_EQ(directory, std::filesystem::canonical(VANTOR_TEST_BINARY_DIR).string());
  ASSERT_TRUE(platform::changeDirectory("/"));
  ASSERT_TRUE(platform::changeDirectory(directory));
  EXPECT_EQ(std::filesystem::current_path().string(), directory);
  EXPECT_FALSE(platform::changeDirectory(directory + "/no such folder"));
  EXPECT_EQ(std::filesystem::current_path().string(), directory);
  std::filesystem::current_path(saved);
}

TEST(Platform, WithoutANamedDisplayTheDialogReturnsAtOnce) {
  EnvironmentGuard display("DISPLAY");
  setenv("DISPLAY", ":99", 1);
  EXPECT_TRUE(platform::displayAvailable());
  setenv("DISPLAY", "", 1);
  EXPECT_FALSE(platform::displayAvailable());
  unsetenv("DISPLAY");
  EXPECT_FALSE(platform::displayAvailable());
  const Clock::time_point start = Clock::now();
  platform::showModalDialog("nobody will see this");
  EXPECT_LT(millisecondsSince(start), 1000);
}
