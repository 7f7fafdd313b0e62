#include "tests/app/WindowTest.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/app/WindowTestSupport.h"

XSession* WindowTest::session_ = nullptr;

void WindowTest::SetUpTestSuite() {
  std::filesystem::create_directories(kArtifacts);
  // The clients keep their settings here, never in the home of the user
  // running the tests.
  setenv("XDG_CONFIG_HOME", std::filesystem::absolute(kArtifacts + "/config").c_str(), 1);
  session_ = new XSession();
}

void WindowTest::TearDownTestSuite() {
  delete session_;
  session_ = nullptr;
}

void WindowTest::SetUp() {
  // Where CI runs, a missing Xvfb or xdotool is a failure, not a reason to skip.
  const char* ci = std::getenv("CI");
  const bool onCi = ci != nullptr && std::string(ci) == "true";
  if (!session_->started() && onCi) FAIL() << session_->why();
  if (!session_->started()) GTEST_SKIP() << session_->why();
  name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

std::string WindowTest::logPath(const std::string& which) const {
  return kArtifacts + "/" + name_ + which + ".log";
}

::testing::AssertionResult WindowTest::start(RunningClient& client,
                                             const std::vector<std::string>& options,
                                             const std::string& which, unsigned long except,
                                             bool withDisplay, const std::string& executable) {
  std::vector<std::string> command{executable, "-geometry", "+0+0"};  // wholly on the screen
  command.insert(command.end(), options.begin(), options.end());
  client.process = std::make_unique<ChildProcess>(command, logPath(which), withDisplay);
  client.window = session_->findWindow("Vantor", 20000, except);
  const std::string launched = "server launched on port ";
  if (client.window == 0 || !client.process->waitForLog(launched, 10000)) {
    return ::testing::AssertionFailure() << "no window or no launch line\n"
                                         << client.process->log();
  }
  const std::string log = client.process->log();
  client.port = std::atoi(log.c_str() + log.find(launched) + launched.size());
  client.serverPid = client.process->childPid();
  session_->moveTo(client.window, 300, 200);  // away from every button, so nothing is hovered
  if (!waitUntil([&] { return capture(client).difference(Picture(), 0, 0, 319, 479) > 5; },
                 10000)) {
    return ::testing::AssertionFailure() << "the window stays black";
  }
  // The main menu does not move once drawn: two pictures alike make it.
  client.menu = capture(client);
  if (!waitUntil(
          [&] {
            const Picture before = client.menu;
            sleepMs(100);
            client.menu = capture(client);
            return client.menu.difference(before, 0, 0, 319, 479) < 0.01;
          },
          5000)) {
    return ::testing::AssertionFailure() << "the main menu does not settle";
  }
  return ::testing::AssertionSuccess();
}

Picture WindowTest::capture(const RunningClient& client) {
  return session_->capture(client.window);
}

Picture WindowTest::keep(const RunningClient& client, const std::string& what) {
  const Picture shot = capture(client);
  shot.writePng(kArtifacts + "/" + name_ + "-" + what + ".png");
  return shot;
}

void WindowTest::click(const RunningClient& client, int x, int y) {
  ASSERT_TRUE(session_->click(client.window, x, y));
  sleepMs(250);
}

void WindowTest::key(const std::string& name) {
  ASSERT_TRUE(session_->xdotool({"key", name}));
  sleepMs(250);
}

void WindowTest::pointAway(const RunningClient& client, int y) {
  session_->moveTo(client.window, 300, y);
  sleepMs(300);
}
