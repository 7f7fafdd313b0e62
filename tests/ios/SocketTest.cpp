// Connected and listening sockets on the loopback interface.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ios/ServerSocket.h"
#include "ios/Socket.h"
#include "ios/TaggedSocketFactory.h"
#include "tests/ios/TestSupport.h"

namespace {

// A client socket and the server side of the same connection.
struct Connection {
  explicit Connection(ServerSocket& listener, const char* host = "127.0.0.1")
      : client(new Socket(host, listener.getPort())), server(listener.accept()) {}
  std::unique_ptr<Socket> client;
  std::unique_ptr<Socket> server;
};

}  // namespace

TEST(Socket, ConnectsByNameOnlyWhereItListensAndBindsOnlyAFreePortInRange) {
  ServerSocket localOnly(true, 0), everywhere(false, 0);
  TaggedSocketFactory factory;
  EXPECT_EQ(localOnly.acceptPending(&factory), nullptr);  // nobody waiting: no wait either
  Connection byName(localOnly, "localhost");
  Connection elsewhere(everywhere, "127.0.0.2");
  EXPECT_NE(byName.server, nullptr);
  EXPECT_NE(elsewhere.server, nullptr);
  EXPECT_EQ(thrownMessage([&] { Socket s("127.0.0.2", localOnly.getPort()); }),
            "IosSocket: Socket connection failed");
  EXPECT_EQ(thrownMessage([] { Socket s("no-such-host.invalid", 4567); }),
            "IosSocket: gethostbyname error");
  for (int port : {localOnly.getPort(), 65536, -1}) {
    EXPECT_EQ(thrownMessage([&] { ServerSocket s(true, port); }), "Socket binding error") << port;
  }
}

TEST(Socket, ReadsABufferThatArrivesInPiecesCountsPendingBytesAndReportsTheEnd) {
  ServerSocket listener(true, 0);
  Connection c(listener);
  EXPECT_FALSE(c.server->streamReadyToRead());
  EXPECT_EQ(c.server->getInputStream()->available(), 0);
  c.client->write("abcd", 4);
  ASSERT_TRUE(eventually([&] { return c.server->getInputStream()->available() == 4; }));
  EXPECT_TRUE(c.server->streamReadyToRead());
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    c.client->write("\x00he", 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    c.client->getOutputStream()->write("llo", 3);
  });
  char got[10];
  c.server->getInputStream()->read(got, 10);
  writer.join();
  EXPECT_EQ(std::string(got, 10), std::string("abcd\x00hello", 10));
  // Transfers of zero bytes return at once.
  c.server->read(got, 0);
  c.server->write(got, 0);
  c.server->getInputStream()->read(got, 0);
  c.server->getOutputStream()->write(got, 0);
  EXPECT_FALSE(c.client->streamReadyToRead());

  // shutdown() ends the connection both ways; the objects stay usable, and a
  // write that can no longer go throws instead of killing the process.
  c.server->shutdown();
  for (Socket* s : {c.client.get(), c.server.get()}) {
    ASSERT_TRUE(eventually([&] { return s->streamReadyToRead(); }));
    EXPECT_EQ(s->getInputStream()->available(), 0);
  }
  EXPECT_EQ(thrownMessage([&] { c.client->read(got, 1); }), "IosSocket: Socket disconnected");
  EXPECT_EQ(thrownMessage([&] { c.server->write("x", 1); }), "IosSocket: Socket send error");
}

// A bound per send call would never be reached while the peer reads a
// little now and then; the bound holds for the whole write.
TEST(Socket, AWriteToAPeerThatReadsOnlyATrickleGivesUpAfterTheSendBound) {
  ServerSocket listener(true, 0);
  Connection c(listener);
  std::atomic<bool> done{false};
  std::thread reader([&] {
    char byte;
    while (!done) {
      if (c.client->getInputStream()->available() > 0) c.client->read(&byte, 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  // Far more than the socket buffers hold: the write cannot finish.
  std::vector<char> block(64 << 20, 'x');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(thrownMessage([&] { c.server->write(block.data(), static_cast<int>(block.size())); }),
            "IosSocket: Socket send error");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(Socket::kSendTimeoutMilliseconds - 100));
  EXPECT_LT(elapsed, std::chrono::milliseconds(Socket::kSendTimeoutMilliseconds + 2000));
  done = true;
  reader.join();
}
