// Connected and listening sockets on the loopback interface.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ios/Exception.h"
#include "ios/ServerSocket.h"
#include "ios/Socket.h"
#include "ios/TaggedSocket.h"
#include "ios/TaggedSocketFactory.h"
#include "tests/ios/TestSupport.h"

namespace {

// A client socket and the server side of the same connection.
struct Connection {
  std::unique_ptr<Socket> client;
  std::unique_ptr<Socket> server;
};

Connection connectThrough(ServerSocket& listener, const char* host = "127.0.0.1") {
  Connection c;
  c.client.reset(new Socket(host, listener.getPort()));
  c.server.reset(listener.accept());
  return c;
}

}  // namespace

TEST(ServerSocket, OnPortZeroTellsThePortTheSystemChose) {
  ServerSocket listener(true, 0);
  EXPECT_GT(listener.getPort(), 0);
  Connection c = connectThrough(listener);
  EXPECT_NE(c.server, nullptr);
}

TEST(Socket, ConnectsByHostName) {
  ServerSocket listener(true, 0);
  Connection c = connectThrough(listener, "localhost");
  c.client->write("hi", 2);
  char got[2];
  c.server->read(got, 2);
  EXPECT_EQ(std::string(got, 2), "hi");
}

TEST(ServerSocket, LocalOnlyRefusesOtherLocalAddresses) {
  ServerSocket localOnly(true, 0);
  EXPECT_EQ(thrownMessage([&] { Socket s("127.0.0.2", localOnly.getPort()); }),
            "IosSocket: Socket connection failed");

  ServerSocket everywhere(false, 0);
  Socket s("127.0.0.2", everywhere.getPort());
  std::unique_ptr<Socket> accepted(everywhere.accept());
  EXPECT_NE(accepted, nullptr);
}

TEST(ServerSocket, RefusesATakenPortAndOneOutOfRange) {
  ServerSocket first(true, 0);
  EXPECT_EQ(thrownMessage([&] { ServerSocket second(true, first.getPort()); }),
            "Socket binding error");
  EXPECT_EQ(thrownMessage([] { ServerSocket s(true, 65536); }), "Socket binding error");
  EXPECT_EQ(thrownMessage([] { ServerSocket s(true, -1); }), "Socket binding error");
}

TEST(ServerSocket, PrintsWhenItCloses) {
  testing::internal::CaptureStderr();
  { ServerSocket listener(true, 0); }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Server Socket closed\n");
}

TEST(ServerSocket, AcceptPendingDoesNotWaitWhenNobodyConnects) {
  ServerSocket listener(true, 0);
  TaggedSocketFactory factory;
  EXPECT_EQ(listener.acceptPending(&factory), nullptr);
}

TEST(ServerSocket, AcceptUsesTheFactoryItIsGiven) {
  ServerSocket listener(true, 0);
  Socket client("127.0.0.1", listener.getPort());
  TaggedSocketFactory factory;
  std::unique_ptr<Socket> accepted(listener.accept(&factory));
  TaggedSocket* tagged = dynamic_cast<TaggedSocket*>(accepted.get());
  ASSERT_NE(tagged, nullptr);
  EXPECT_EQ(tagged->kind(), TagsForSystemStream::kConnection);
}

TEST(Socket, FailsToResolveAnUnknownHost) {
  EXPECT_EQ(thrownMessage([] { Socket s("no-such-host.invalid", 4567); }),
            "IosSocket: gethostbyname error");
}

TEST(Socket, FailsToConnectWhereNobodyListens) {
  int port;
  {
    ServerSocket listener(true, 0);
    port = listener.getPort();
  }
  EXPECT_EQ(thrownMessage([&] { Socket s("127.0.0.1", port); }),
            "IosSocket: Socket connection failed");
}

TEST(Socket, ReadsABufferThatArrivesInSeveralPieces) {
  ServerSocket listener(true, 0);
  Connection c = connectThrough(listener);
  std::thread writer([&] {
    c.client->write("\x05", 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    c.client->write("\x00he", 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    c.client->getOutputStream()->write("llo", 3);
  });
  char got[7];
  c.server->getInputStream()->read(got, 7);
  writer.join();
  EXPECT_EQ(std::string(got, 7), std::string("\x05\x00hello", 7));
}

TEST(Socket, AvailableCountsThePendingBytes) {
  ServerSocket listener(true, 0);
  Connection c = connectThrough(listener);
  EXPECT_FALSE(c.server->streamReadyToRead());
  EXPECT_EQ(c.server->getInputStream()->available(), 0);
  c.client->write("abcd", 4);
  ASSERT_TRUE(eventually([&] { return c.server->getInputStream()->available() == 4; }));
  EXPECT_TRUE(c.server->streamReadyToRead());
}

TEST(Socket, AfterThePeerClosesIsReadableWithNothingPendingAndReadingThrows) {
  ServerSocket listener(true, 0);
  Connection c = connectThrough(listener);
  c.client.reset();
  ASSERT_TRUE(eventually([&] { return c.server->streamReadyToRead(); }));
  EXPECT_EQ(c.server->getInputStream()->available(), 0);
  char byte;
  EXPECT_EQ(thrownMessage([&] { c.server->read(&byte, 1); }), "IosSocket: Socket disconnected");
}

TEST(Socket, TransfersOfZeroBytesReturnAtOnce) {
  ServerSocket listener(true, 0);
  Connection c = connectThrough(listener);
  char byte = 0;
  c.server->read(&byte, 0);
  c.server->write(&byte, 0);
  c.server->getInputStream()->read(&byte, 0);
  c.server->getOutputStream()->write(&byte, 0);
  EXPECT_FALSE(c.client->streamReadyToRead());
}

TEST(Socket, WritingToAPeerThatHasGoneThrowsInsteadOfKillingTheProcess) {
  ServerSocket listener(true, 0);
  Connection c = connectThrough(listener);
  c.client.reset();
  std::vector<char> block(4096, 'x');
  std::string message;
  for (int i = 0; i < 1000 && message.empty(); ++i) {
    try {
      c.server->write(block.data(), static_cast<int>(block.size()));
    } catch (Exception* e) {
      message = e->getMessage();
      delete e;
    }
  }
  EXPECT_TRUE(message == "IosSocket: Socket send error" ||
              message == "IosSocket: Socket disconnected")
      << message;
}

TEST(Socket, AWriteToAPeerThatStopsReadingGivesUpAfterTheSendBound) {
  ServerSocket listener(true, 0);
  Connection c = connectThrough(listener);
  // Far more than the socket buffers hold: the write cannot finish.
  std::vector<char> block(64 << 20, 'x');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(thrownMessage([&] { c.server->write(block.data(), static_cast<int>(block.size())); }),
            "IosSocket: Socket send error");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(Socket::kSendTimeoutMilliseconds - 100));
  EXPECT_LT(elapsed, std::chrono::milliseconds(Socket::kSendTimeoutMilliseconds + 2000));
}

TEST(Socket, AWriteToAPeerThatReadsATrickleKeepsTheSameBound) {
  ServerSocket listener(true, 0);
  Connection c = connectThrough(listener);
  std::atomic<bool> done{false};
  std::thread trickle([&] {
    char byte;
    while (!done) {
      if (c.client->getInputStream()->available() > 0) c.client->read(&byte, 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  std::vector<char> block(64 << 20, 'x');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(thrownMessage([&] { c.server->write(block.data(), static_cast<int>(block.size())); }),
            "IosSocket: Socket send error");
  EXPECT_LT(std::chrono::steady_clock::now() - start,
            std::chrono::milliseconds(Socket::kSendTimeoutMilliseconds + 2000));
  done = true;
  trickle.join();
}

TEST(Socket, ShutdownEndsTheConnectionButKeepsTheSocketUsable) {
  ServerSocket listener(true, 0);
  Connection c = connectThrough(listener);
  c.server->shutdown();
  ASSERT_TRUE(eventually([&] { return c.client->streamReadyToRead(); }));
  EXPECT_EQ(c.client->getInputStream()->available(), 0);
  ASSERT_TRUE(eventually([&] { return c.server->streamReadyToRead(); }));
  EXPECT_EQ(c.server->getInputStream()->available(), 0);
}

TEST(Socket, TellsItsLocalPort) {
  ServerSocket listener(true, 0);
  Connection c = connectThrough(listener);
  EXPECT_EQ(c.server->getLocalPort(), listener.getPort());
  EXPECT_NE(c.client->getLocalPort(), 0);
}
