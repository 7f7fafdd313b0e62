// Reading frames from a real socket: the opening requests, frames that arrive
// together or in pieces, long frames, and the redirect to another server.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "client/GameClient.h"
#include "tests/client/ClientTestSupport.h"

namespace {

const std::string kOpening[] = {Msg(26).i8(2).i8(0).payload(), Msg(17).payload(), Msg(3).payload(),
                                Msg(19).payload()};

class ClientStream : public ::testing::Test {
 protected:
  void SetUp() override {
    client_.reset(new vgl::GameClient(0, &listener_, "127.0.0.1", server_.port()));
    server_.accept();
  }

  void expectOpening(ScriptedServer& server) {
    for (const std::string& request : kOpening) EXPECT_EQ(server.readFrame(), request);
  }
  bool pumpUntilCalls(size_t n) {
    return pumpUntil([&] { client_->update(); }, [&] { return listener_.calls.size() >= n; });
  }

  ScriptedServer server_;
  RecordingListener listener_;
  std::unique_ptr<vgl::GameClient> client_;
};

}  // namespace

TEST_F(ClientStream, NewConnectionSendsVersionWhoAmIPlayersAndGamesInOrder) {
  expectOpening(server_);
  EXPECT_TRUE(server_.silentFor(50));
}

TEST_F(ClientStream, PumpReturnsAtOnceWhenNothingHasArrived) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 10; ++i) client_->update();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_TRUE(listener_.calls.empty());
}

TEST_F(ClientStream, TwoFramesInOneSegmentAreParsedInOnePump) {
  server_.send(Msg(3).str("A").str("B").frame() + Msg(10).str("Bob").frame());
  // The first pump that delivers anything delivers both.
  ASSERT_TRUE(pumpUntilCalls(1));
  EXPECT_EQ(listener_.calls,
            (std::vector<std::string>{"playerListChanged(0)", "gameRefused(0):Bob"}));
}

TEST_F(ClientStream, FrameSplitAcrossPumpsIsCompletedLater) {
  std::string frame = Msg(3).str("Alice").str("Bob").frame();
  server_.send(frame.substr(0, 1));
  for (int i = 0; i < 3; ++i) {
    sleepMs(10);
    client_->update();
  }
  server_.send(frame.substr(1, 6));
  for (int i = 0; i < 3; ++i) {
    sleepMs(10);
    client_->update();
  }
  EXPECT_TRUE(listener_.calls.empty());
  server_.send(frame.substr(7));
  ASSERT_TRUE(pumpUntilCalls(1));
  EXPECT_EQ(client_->getPlayerNames(), (std::vector<std::string>{"Alice", "Bob"}));
}

TEST_F(ClientStream, A3000BytePlayerListIsReadWhole) {
  Msg list(3);
  std::vector<std::string> names;
  for (int i = 0; i < 100; ++i) {
    names.push_back(std::string(25, static_cast<char>('a' + i % 26)) + std::to_string(1000 + i));
    list.str(names.back());
  }
  ASSERT_EQ(list.payload().size(), 3001u);
  server_.send(list);
  ASSERT_TRUE(pumpUntilCalls(1));
  EXPECT_EQ(client_->getPlayerNames(), names);
}

TEST_F(ClientStream, ALargestFrameIsReadWhole) {
  Msg list(3);
  list.str(std::string(65533, 'q'));
  ASSERT_EQ(list.payload().size(), 65535u);
  server_.send(list.frame() + Msg(17).str("Me").frame());
  ASSERT_TRUE(pumpUntilCalls(2));
  ASSERT_EQ(client_->getPlayerNames().size(), 1u);
  EXPECT_EQ(client_->getPlayerNames()[0].size(), 65533u);
  EXPECT_EQ(client_->getNick(), L"Me");
}

TEST_F(ClientStream, EmptyFrameIsSkipped) {
  server_.send(std::string(2, '\0') + Msg(17).str("Me").frame());
  ASSERT_TRUE(pumpUntil([&] { client_->update(); }, [&] { return !client_->getNick().empty(); }));
}

TEST_F(ClientStream, RedirectReconnectsToTheNamedAddressAndPort) {
  expectOpening(server_);
  ScriptedServer second;
  int port = second.port();
  // What the first server sends after the redirect is no longer read.
  server_.send(Msg(27).i8(127).i8(0).i8(0).i8(1).i8(port & 0xFF).i8(port >> 8).frame() +
               Msg(3).str("Old").frame());
  ASSERT_TRUE(pumpUntil([&] { client_->update(); }, [&] { return !server_.silentFor(0); }));
  second.accept();
  expectOpening(second);
  second.send(Msg(3).str("New").frame());
  ASSERT_TRUE(pumpUntilCalls(1));
  EXPECT_EQ(client_->getPlayerNames(), std::vector<std::string>{"New"});
  EXPECT_TRUE(client_->isConnected());
}
