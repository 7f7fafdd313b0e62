// Opening a connection in the background: the owner's poll never waits,
// and every attempt ends connected, refused, timed out, or given up, on
// loopback addresses only. A refused connection is in the pump's tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "client/ConnectionAttempt.h"
#include "ios/Socket.h"
#include "tests/client/ClientTestSupport.h"
#include "tests/client/FullListener.h"

namespace {

// Polls until the attempt is no longer pending; counts the polls.
ConnectionAttempt::Status settle(ConnectionAttempt& attempt, int* polls = nullptr) {
  int n = 0;
  pumpUntil([&] { ++n; }, [&] { return attempt.poll() != ConnectionAttempt::kPending; });
  if (polls != nullptr) *polls = n;
  return attempt.poll();
}

TEST(ConnectionAttempt, EndsConnectedRefusedOrTimedOutOrIsGivenUpWithoutWaitingForItsHelper) {
  ScriptedServer server;
  FullListener silent;
  ASSERT_TRUE(silent.ready()) << silent.why();
  struct Case {
    const char* what;
    std::string host;
    int port;
    int timeoutMs;
    ConnectionAttempt::Status status;
    std::string failure;
  };
  const Case cases[] = {
      {"by name", "localhost", server.port(), 10000, ConnectionAttempt::kConnected, ""},
      {"a port out of range", "127.0.0.1", 70000, 10000, ConnectionAttempt::kFailed,
       "IosSocket: Socket connection failed"},
      {"a server that never answers", "127.0.0.1", silent.port(), 300, ConnectionAttempt::kFailed,
       "IosSocket: Socket connection timed out"},
  };
  for (const Case& c : cases) {
    ConnectionAttempt attempt(c.host, c.port, c.timeoutMs);
    int polls = 0;
    EXPECT_EQ(settle(attempt, &polls), c.status) << c.what;
    EXPECT_EQ(attempt.failure(), c.failure) << c.what;
    if (c.status == ConnectionAttempt::kConnected) {
      server.accept();
      const int descriptor = attempt.takeDescriptor();
      ASSERT_GE(descriptor, 0) << c.what;
      EXPECT_EQ(attempt.takeDescriptor(), -1) << "handed over once";
      Socket socket(descriptor);
      socket.write("\x01\x00\x11", 3);
      EXPECT_EQ(server.readFrame(), std::string(1, '\x11')) << c.what;
    } else {
      EXPECT_EQ(attempt.takeDescriptor(), -1) << c.what;
    }
    if (c.timeoutMs < 1000) {
      EXPECT_GT(polls, 1) << "the owner polled while it waited";
    }
  }
  for (int i = 0; i < 20; ++i) {
    auto attempt = std::make_unique<ConnectionAttempt>("127.0.0.1", silent.port());
    EXPECT_EQ(attempt->poll(), ConnectionAttempt::kPending);
    attempt.reset();
  }
  // A connected descriptor that nobody takes is closed with the attempt.
  {
    ConnectionAttempt attempt("127.0.0.1", server.port());
    ASSERT_EQ(settle(attempt), ConnectionAttempt::kConnected);
    server.accept();
  }
  EXPECT_TRUE(server.closedByPeer());
}

}  // namespace
