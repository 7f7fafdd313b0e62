// The embedded server: finding a port, its status record, the computer
// players it starts with, and stopping.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "ios/Exception.h"
#include "ios/ServerSocket.h"
#include "server/VantorEmbeddedServer.h"
#include "tests/server/ProtocolClient.h"

namespace {

// Waits until the server listens; its port, or 0.
int listeningPort(VantorEmbeddedServer& server) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (server.getPort() == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return server.getPort();
}

}  // namespace

TEST(VantorEmbeddedServer, MovesToTheNextPortWhenTheFirstIsTakenAndSaysSo) {
  ServerSocket taken(true, 0);
  const int first = taken.getPort();
  char status[1024] = {0};
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  int port;
  {
    VantorEmbeddedServer server(status, true, first);
    server.start();
    port = listeningPort(server);
    ASSERT_GT(port, first);
    ProtocolClient client(port);
    EXPECT_EQ(client.next(), std::string(1, '\x1a'));
  }
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(out.rfind("Exception trown while running embedded server, switching to port " +
                          std::to_string(first + 1) + "\n",
                      0),
            0u)
      << out;
  EXPECT_NE(out.find("server launched on port " + std::to_string(port) + "\n"), std::string::npos)
      << out;
  EXPECT_NE(err.find("Exception thrown: Socket binding error\n"), std::string::npos);
  EXPECT_EQ(status[0], 1);
  EXPECT_STREQ(status + 1, "Error occured in embedded server.");
}

TEST(VantorEmbeddedServer, LeavesTheStatusAloneWhenTheFirstPortServes) {
  char status[1024] = {0};
  VantorEmbeddedServer server(status, true, 0);
  server.start();
  ASSERT_NE(listeningPort(server), 0);
  EXPECT_EQ(status[0], 0);
}

TEST(VantorEmbeddedServer, StartsWithTheSevenComputerPlayers) {
  VantorEmbeddedServer server(nullptr, true, 0);
  server.start();
  const int port = listeningPort(server);
  ASSERT_NE(port, 0);
  auto client = ProtocolClient::join(port, "first");
  client->send(request::playerList());
  EXPECT_EQ(stringsFrom(client->nextOf(3), 1),
            (std::vector<std::string>{"Pee[Bot]", "Chicken[Bot]", "Baby[Bot]", "Britney[Bot]",
                                      "Desdemonia[Bot]", "Cassio[Bot]", "William[Bot]", "first"}));
}

TEST(VantorEmbeddedServer, EndsItsConnectionsWhenDestroyed) {
  std::unique_ptr<VantorEmbeddedServer> server(new VantorEmbeddedServer(nullptr, true, 0));
  server->start();
  const int port = listeningPort(*server);
  ASSERT_NE(port, 0);
  auto client = ProtocolClient::join(port, "alice");
  // A game against a computer player is running while the server goes.
  client->send(request::askGame(1, true, "Pee[Bot]"));
  client->nextOf(7);
  server.reset();
  EXPECT_TRUE(client->closedByServer());
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
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!server.gaveUp() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_TRUE(server.gaveUp());
  EXPECT_EQ(server.getPort(), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Embedded server stopped: no port from 65535 to 65535 could be used\n"),
            std::string::npos)
      << err;
  EXPECT_EQ(status[0], 1);
}
