// The embedded server: finding a port, its status record, the lines it
// writes, stopping with a game under way, and giving up.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ios/Exception.h"
#include "ios/ServerSocket.h"
#include "server/VantorEmbeddedServer.h"
#include "tests/ios/TestSupport.h"
#include "tests/server/ProtocolClient.h"

TEST(VantorEmbeddedServer, MovesToTheNextPortWhenTheFirstIsTakenAndSaysSo) {
  ServerSocket taken(true, 0);
  const int first = taken.getPort();
  char status[1024] = {0};
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  int port;
  std::unique_ptr<ProtocolClient> client;
  {
    VantorEmbeddedServer server(status, true, first);
    server.start();
    ASSERT_TRUE(eventually([&] { return server.getPort() != 0; }));
    port = server.getPort();
    ASSERT_GT(port, first);
    // A game against a computer player is under way when it goes, which
    // ends every connection.
    client = ProtocolClient::join(port, "first");
    client->send(msg(4, bytes({1, 1}) + cstr("Pee[Bot]")));
    client->nextOf(7);
  }
  EXPECT_TRUE(client->closedByServer());
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string switching = "Exception trown while running embedded server, switching to port ";
  EXPECT_EQ(out.rfind(switching + std::to_string(first + 1) + "\n", 0), 0u) << out;
  EXPECT_NE(out.find("server launched on port " + std::to_string(port) + "\n"), std::string::npos)
      << out;
  EXPECT_NE(err.find("Exception thrown: Socket binding error\n"), std::string::npos);
  EXPECT_EQ(status[0], 1);
  EXPECT_STREQ(status + 1, "Error occured in embedded server.");

  // On a first port that serves, the status stays as it was.
  status[0] = 0;
  VantorEmbeddedServer free(status, true, 0);
  free.start();
  ASSERT_TRUE(eventually([&] { return free.getPort() != 0; }));
  EXPECT_EQ(status[0], 0);
}

TEST(VantorEmbeddedServer, GivesUpAfterTheLastPort) {
  std::unique_ptr<ServerSocket> last;
  try {
    last.reset(new ServerSocket(true, VantorEmbeddedServer::kLastPort));
  } catch (Exception* e) {
    delete e;
    GTEST_SKIP() << "port 65535 is in use here";
  }
  char status[1024] = {0};
  testing::internal::CaptureStderr();
  VantorEmbeddedServer server(status, true, VantorEmbeddedServer::kLastPort);
  server.start();
  EXPECT_TRUE(eventually([&] { return server.gaveUp(); }));
  EXPECT_EQ(server.getPort(), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Embedded server stopped: no port from 65535 to 65535 could be used\n"),
            std::string::npos)
      << err;
  EXPECT_EQ(status[0], 1);
}
