#include "tests/app/FixedPortWindowTest.h"

#include "tests/app/WindowTestSupport.h"

std::string FixedPortWindowTest::networkWhy_;

void FixedPortWindowTest::SetUpTestSuite() {
  // A process enters a namespace once; later suites find it there already.
  static const std::string why = enterPrivateNetwork();
  networkWhy_ = why;
  WindowTest::SetUpTestSuite();
}

void FixedPortWindowTest::SetUp() {
  WindowTest::SetUp();
  if (IsSkipped()) return;
  // A server child of an earlier test may take a moment to go.
  waitUntil([] { return !listening(kPort); }, 5000);
  if (listening(kPort)) {
    GTEST_SKIP() << "another program listens on port " << kPort
                 << ", where the client looks for its local server";
  }
  ASSERT_TRUE(launch(app_, {}, ""));
  ASSERT_TRUE(waitUntil([] { return listening(kPort); }, 10000)) << app_.process->log();
  ASSERT_TRUE(awaitMainMenu(app_));
}
