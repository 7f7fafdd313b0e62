#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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

TEST(Platform, ResourcesAreFoundBesideTheExecutableFirstThenInItsShareFolder) {
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("vantor-resources-" + std::to_string(getpid()));
  std::filesystem::remove_all(root);
  const std::filesystem::path bin = root / "bin";
  const std::filesystem::path share = root / "share" / "vantor";
  std::filesystem::create_directories(bin);
  // Neither: the executable's folder, as before.
  EXPECT_EQ(platform::resourceDirectory(bin.string()), bin.string());
  // Installed: the share folder beside bin/.
  std::filesystem::create_directories(share / "PNG");
  const std::string installed = platform::resourceDirectory(bin.string());
  EXPECT_EQ(std::filesystem::canonical(installed), std::filesystem::canonical(share));
  // A build folder with its own pictures wins over an installed copy.
  std::filesystem::create_directories(bin / "PNG");
  EXPECT_EQ(platform::resourceDirectory(bin.string()), bin.string());
  // A file named PNG is not the pictures' folder.
  std::filesystem::remove_all(bin / "PNG");
  std::filesystem::remove_all(share / "PNG");
  { std::ofstream(share / "PNG") << "not a folder"; }
  EXPECT_EQ(platform::resourceDirectory(bin.string()), bin.string());
  std::filesystem::remove_all(root);
}

// Without one the crash reporter's dialog returns at once: CrashReporterTest.
TEST(Platform, ADisplayIsAvailableOnlyWhenOneIsNamed) {
  const char* before = std::getenv("DISPLAY");
  const std::string saved = before != nullptr ? before : "";
  setEnvironment("DISPLAY", ":99");
  EXPECT_TRUE(platform::displayAvailable());
  setEnvironment("DISPLAY", "");
  EXPECT_FALSE(platform::displayAvailable());
  setEnvironment("DISPLAY", nullptr);
  EXPECT_FALSE(platform::displayAvailable());
  setEnvironment("DISPLAY", before != nullptr ? saved.c_str() : nullptr);
}

// In the copy (marked by its environment) this test only waits to be killed.
// Its arguments and environment reach the copy, what it writes comes through
// the pipe, a read of a silent copy ends at its time limit, and the copy's end
// ends the stream.
TEST(Platform, ReadingASilentCopyEndsAtTheTimeLimitAndItsEndEndsTheStream) {
  if (std::getenv("VANTOR_SILENT_COPY") != nullptr) {
    platform::sleepMilliseconds(60000);
    return;
  }
  int output = -1;
  const int pid = platform::spawnSelf(
      {"ios_tests", "--gtest_filter=Platform.ReadingASilentCopyEndsAtTheTimeLimit*"},
      {"VANTOR_SILENT_COPY=1"}, &output);
  ASSERT_GT(pid, 0);
  ASSERT_GE(output, 0);
  // The copy's test runner announces the test (and flushes) before it waits.
  std::string text;
  char buffer[256];
  while (text.find("[ RUN      ] Platform.ReadingASilentCopy") == std::string::npos ||
         text.back() != '\n') {
    const long got = platform::readWithin(output, buffer, sizeof(buffer), 10000);
    ASSERT_GT(got, 0) << text;
    text.append(buffer, static_cast<size_t>(got));
  }
  EXPECT_EQ(platform::readWithin(output, buffer, sizeof(buffer), 50), -1);
  platform::killChild(pid);
  EXPECT_EQ(platform::readWithin(output, buffer, sizeof(buffer), 10000), 0);
  platform::closeDescriptor(output);
}
