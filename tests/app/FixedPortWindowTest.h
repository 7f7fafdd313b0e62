// The fixture of the window tests with one client started as a player
// starts it, whose local server listens on the fixed port 4567 (where the
// client looks for it). The tests run in a network namespace of their own,
// so that the port is always theirs; where no namespace can be made they
// run one at a time on the machine's network, and are skipped when another
// program already listens there. The input and picture helpers act on that
// one client.
//
// Thread safety: the test's own thread only.
#ifndef VANTOR_TESTS_APP_FIXEDPORTWINDOWTEST_H_
#define VANTOR_TESTS_APP_FIXEDPORTWINDOWTEST_H_

#include <string>

#include "tests/app/WindowTest.h"

class FixedPortWindowTest : public WindowTest {
 protected:
  static constexpr int kPort = 4567;

  // Enters the namespace first, so that the X server and every program
  // started after it are in it.
  static void SetUpTestSuite();
  static bool privateNetwork() { return networkWhy_.empty(); }
  static const std::string& networkWhy() { return networkWhy_; }

  // Starts the client and waits for its server and its main menu.
  void SetUp() override;

  Picture capture() { return WindowTest::capture(app_); }
  Picture keep(const std::string& what) { return WindowTest::keep(app_, what); }
  void click(int x, int y) { WindowTest::click(app_, x, y); }
  void pointAway(int y = 200) { WindowTest::pointAway(app_, y); }

  RunningClient app_;

 private:
  static std::string networkWhy_;
};

#endif  // VANTOR_TESTS_APP_FIXEDPORTWINDOWTEST_H_
