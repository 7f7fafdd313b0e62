// The base of the window test fixtures: one private X server for a whole
// suite, the vantor clients a test starts on it, and the pictures and input
// through which the test sees and drives their windows. Each input helper
// pauses after its event, so that the window has drawn its answer before
// the test goes on. Pictures and logs are named after the test.
//
// Thread safety: the test's own thread only.
#ifndef VANTOR_TESTS_APP_WINDOWTEST_H_
#define VANTOR_TESTS_APP_WINDOWTEST_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/OpenGLClient/Picture.h"
#include "tests/app/ChildProcess.h"
#include "tests/app/XSession.h"

// One running client: the process, its window and its server child.
struct RunningClient {
  std::unique_ptr<ChildProcess> process;
  unsigned long window = 0;
  int serverPid = -1;
  int port = 0;  // its server's, read from the launch line
  Picture menu;  // the main menu as first shown
};

class WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  // Skips the test when no X server could be had.
  void SetUp() override;

  // artifacts/<test name><which>.log
  std::string logPath(const std::string& which) const;
  // Starts vantor at the screen's top left corner, or where the options
  // place it, with the options (withDisplay false: without DISPLAY in its
  // environment), logging to logPath(which), and waits for its window
  // (with except, one other than that one), for its server child's launch
  // line and for its main menu, with the pointer off every button.
  // executable: the build's own unless another copy (an installed one) is named.
  ::testing::AssertionResult start(RunningClient& client, const std::vector<std::string>& options,
                                   const std::string& which, unsigned long except = 0,
                                   bool withDisplay = true,
                                   const std::string& executable = VANTOR_EXE);

  Picture capture(const RunningClient& client);
  // Also written to artifacts/<test name>-<what>.png.
  Picture keep(const RunningClient& client, const std::string& what);
  void click(const RunningClient& client, int x, int y);
  // By xdotool key name ("Escape", "Return"), to the window with the focus.
  void key(const std::string& name);
  // Over the window's right edge, where no button is.
  void pointAway(const RunningClient& client, int y = 200);

  static XSession* session_;
  std::string name_;
};

#endif  // VANTOR_TESTS_APP_WINDOWTEST_H_
