// The pump of vgl::GameClient against a scripted server: what reaches the
// listener, in which order, and what happens when the connection is lost.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "client/GameClient.h"
#include "client/VantorClientGame.h"
#include "ios/Exception.h"
#include "tests/client/ClientTestSupport.h"

namespace {

class GameClientPump : public ::testing::Test {
 protected:
  void SetUp() override {
    client_.reset(new vgl::GameClient(1, &listener_, "127.0.0.1", server_.port()));
    server_.accept();
    for (int i = 0; i < 4; ++i) server_.readFrame();
  }

  bool pumpUntilCalls(size_t n) {
    return pumpUntil([&] { client_->update(); }, [&] { return listener_.calls.size() >= n; });
  }
  // Sends the message and pumps until the listener has heard n calls in all.
  void deliver(const Msg& m, size_t n) {
    server_.send(m);
    ASSERT_TRUE(pumpUntilCalls(n)) << "after message " << int(m.payload()[0]);
  }
  // Pumps until the client has sent a request and returns it.
  std::string pumpForRequest() {
    pumpUntil([&] { client_->update(); }, [&] { return !server_.silentFor(0); });
    return server_.readFrame();
  }
  // Starts game id and returns the client's copy.
  VantorClientGame* startGame(int id) {
    server_.send(Msg(7).i32(id));
    EXPECT_EQ(pumpForRequest(), Msg(8).i32(id).payload());
    deliver(Msg(8).i32(id).raw(initialCells()), listener_.calls.size() + 1);
    EXPECT_EQ(listener_.calls.back(), "gameStarted(1)");
    return listener_.games.back();
  }

  ScriptedServer server_;
  RecordingListener listener_;
  std::unique_ptr<vgl::GameClient> client_;
};

// Destroys its connection when told that it was lost, as a front end that
// goes back to its main menu would.
class DestroyingListener : public RecordingListener {
 public:
  void connectionLost(int colour) override {
    RecordingListener::connectionLost(colour);
    delete client;
    client = nullptr;
  }
  vgl::GameClient* client = nullptr;
};

}  // namespace

TEST_F(GameClientPump, ClientReadyFollowsNickAndPlayerListOnce) {
  deliver(Msg(3).str("Player8").str("Pee[Bot]"), 1);
  EXPECT_EQ(listener_.count("clientReady(1)"), 0);
  deliver(Msg(17).str("Player8"), 2);
  EXPECT_EQ(listener_.calls, (std::vector<std::string>{"playerListChanged(1)", "clientReady(1)"}));
  deliver(Msg(3).str("Player8"), 3);
  server_.send(Msg(17).str("Again"));
  pumpUntil([&] { client_->update(); }, [&] { return client_->getNick() == L"Again"; });
  EXPECT_EQ(listener_.count("clientReady(1)"), 1);
  EXPECT_TRUE(client_->isReady());
}

TEST_F(GameClientPump, ClientReadyAlsoWhenTheNickComesFirst) {
  server_.send(Msg(17).str("Me"));
  pumpUntil([&] { client_->update(); }, [&] { return !client_->getNick().empty(); });
  EXPECT_TRUE(listener_.calls.empty());
  deliver(Msg(3).str("Me"), 2);
  EXPECT_EQ(listener_.calls.back(), "clientReady(1)");
}

TEST_F(GameClientPump, EmptyPlayerListDoesNotMakeTheConnectionReady) {
  deliver(Msg(3), 1);
  server_.send(Msg(17).str("Me"));
  pumpUntil([&] { client_->update(); }, [&] { return !client_->getNick().empty(); });
  EXPECT_FALSE(client_->isReady());
}

TEST_F(GameClientPump, NickIsWidenedByteByByte) {
  server_.send(Msg(17).str("\xE9t\xE9"));
  pumpUntil([&] { client_->update(); }, [&] { return !client_->getNick().empty(); });
  EXPECT_EQ(client_->getNick(), std::wstring(L"\u00e9t\u00e9"));
}

TEST_F(GameClientPump, GameListIsKeptAndTellsWhoIsPlaying) {
  deliver(Msg(19).i32(0).str("Pee[Bot]").str("Player8"), 1);
  EXPECT_EQ(listener_.calls[0], "gameListChanged(1)");
  ASSERT_EQ(client_->getGameList().size(), 1u);
  EXPECT_EQ(client_->getGameList()[0].gameId, 0);
  EXPECT_TRUE(client_->isPlaying("Pee[Bot]"));
  EXPECT_TRUE(client_->isPlaying("Player8"));
  EXPECT_FALSE(client_->isPlaying("Chicken[Bot]"));
  deliver(Msg(19), 2);
  EXPECT_FALSE(client_->isPlaying("Pee[Bot]"));
}

TEST_F(GameClientPump, InvitationRefusalAndNickRefusalReachTheListener) {
  deliver(Msg(4).i32(6).i8(1).i8(1).str("Alice"), 1);
  EXPECT_EQ(listener_.lastInviter, "Alice");
  EXPECT_EQ(listener_.lastGameId, 6);
  EXPECT_EQ(listener_.lastBlackFlag, 1);
  deliver(Msg(10).str("Bob"), 2);
  deliver(Msg(18).str("Taken"), 3);
  EXPECT_EQ(listener_.calls, (std::vector<std::string>{"gameProposed(1)", "gameRefused(1):Bob",
                                                       "nickRefused(1):Taken"}));
}

TEST_F(GameClientPump, FirstBoardStartsTheGameAndLaterOnesChangeIt) {
  VantorClientGame* game = startGame(4);
  EXPECT_EQ(game->getId(), 4);
  std::string cells = initialCells();
  cells[0] = -1;
  deliver(Msg(8).i32(4).raw(cells), 2);
  EXPECT_EQ(listener_.calls.back(), "gameChanged(1)");
  EXPECT_EQ(game->getCell(1, 1), kBlack);
}

TEST_F(GameClientPump, MovesPassesAndTheEndReachTheListenerInOrder) {
  VantorClientGame* game = startGame(0);
  server_.send(Msg(13).i32(0).i8(3).i8(5).frame() + Msg(12).i32(0).i8(1).i8(1).frame() +
               Msg(15).i32(0).str("Player8").frame() + Msg(16).i32(0).frame());
  ASSERT_TRUE(pumpUntilCalls(5));
  EXPECT_EQ(listener_.calls,
            (std::vector<std::string>{"gameStarted(1)", "gameChanged(1)", "moveRejected(1)",
                                      "playerPassed(1)", "gameEnded(1)"}));
  EXPECT_EQ(game->getCell(4, 5), kBlack);
  EXPECT_EQ(game->getTurn(), kBlack);
}

TEST_F(GameClientPump, RejectedReplayAsksForTheBoardAndThePassWaitsForIt) {
  VantorClientGame* game = startGame(0);
  server_.send(Msg(13).i32(0).i8(8).i8(8));
  EXPECT_EQ(pumpForRequest(), Msg(8).i32(0).payload());
  server_.send(Msg(15).i32(0).str("Pee[Bot]"));
  for (int i = 0; i < 5; ++i) {
    sleepMs(10);
    client_->update();
  }
  EXPECT_EQ(listener_.calls.size(), 1u);
  std::string cells = initialCells();
  cells[63] = 1;
  deliver(Msg(8).i32(0).raw(cells), 3);
  EXPECT_EQ(listener_.calls,
            (std::vector<std::string>{"gameStarted(1)", "gameChanged(1)", "playerPassed(1)"}));
  EXPECT_EQ(game->getCell(8, 8), kWhite);
  EXPECT_EQ(game->getTurn(), kWhite);
}

TEST_F(GameClientPump, ClosedGameIsAbandonedAndTheListIsAskedFor) {
  startGame(2);
  deliver(Msg(24).i32(2), 2);
  EXPECT_EQ(listener_.calls.back(), "gameAbandoned(1)");
  EXPECT_EQ(server_.readFrame(), Msg(19).payload());
  server_.send(Msg(24).i32(77));
  EXPECT_EQ(pumpForRequest(), Msg(19).payload());
  client_->update();
  EXPECT_EQ(listener_.calls.size(), 2u);
}

TEST_F(GameClientPump, InviteAndPlayAtTranslateForTheServer) {
  client_->invite("Pee[Bot]", -1);
  EXPECT_EQ(server_.readFrame(), Msg(4).i8(0).i8(1).str("Pee[Bot]").payload());
  client_->invite("Pee[Bot]", 1);
  EXPECT_EQ(server_.readFrame(), Msg(4).i8(1).i8(1).str("Pee[Bot]").payload());
  client_->playAt(5, 2, 7);
  EXPECT_EQ(server_.readFrame(), Msg(11).i32(5).i8(8).i8(3).payload());
}

TEST_F(GameClientPump, LostConnectionIsReportedOnceAndThePumpFallsSilent) {
  server_.send(Msg(3).str("A").frame() + Msg(17).str("A").frame());
  server_.closeConnection();
  testing::internal::CaptureStderr();
  pumpUntil([&] { client_->update(); }, [&] { return client_->isLost(); });
  for (int i = 0; i < 5; ++i) client_->update();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(listener_.calls, (std::vector<std::string>{"playerListChanged(1)", "clientReady(1)",
                                                       "connectionLost(1)"}));
  size_t first = err.find("Unexpected error: IosSocket: Socket disconnected\n");
  ASSERT_NE(first, std::string::npos) << err;
  EXPECT_EQ(err.find("Unexpected error", first + 1), std::string::npos);
  EXPECT_FALSE(client_->isConnected());
  client_->acceptGame(1);
  client_->update();
  EXPECT_EQ(listener_.count("connectionLost(1)"), 1);
}

TEST_F(GameClientPump, RequestsOnAClosedConnectionNeverThrow) {
  server_.closeConnection();
  testing::internal::CaptureStderr();
  for (int i = 0; i < 20; ++i) client_->playMove(0, 3, 5);
  pumpUntil([&] { client_->update(); }, [&] { return client_->isLost(); });
  client_->update();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(listener_.count("connectionLost(1)"), 1);
  size_t first = err.find("Unexpected error: ");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(err.find("Unexpected error", first + 1), std::string::npos);
}

TEST(GameClientLoss, ListenerMayDestroyTheConnectionWhenToldOfTheLoss) {
  ScriptedServer server;
  DestroyingListener listener;
  listener.client = new vgl::GameClient(0, &listener, "127.0.0.1", server.port());
  server.accept();
  for (int i = 0; i < 4; ++i) server.readFrame();
  server.closeConnection();
  testing::internal::CaptureStderr();
  pumpUntil([&] { listener.client->update(); }, [&] { return listener.client == nullptr; });
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(listener.client, nullptr);
  EXPECT_EQ(listener.count("connectionLost(0)"), 1);
}

TEST(GameClientConnect, UnreachableServerThrowsFromTheConstructor) {
  int port;
  {
    ScriptedServer closed;
    port = closed.port();
  }
  RecordingListener listener;
  try {
    vgl::GameClient client(0, &listener, "127.0.0.1", port);
    FAIL() << "connected to a closed port";
  } catch (Exception* e) {
    EXPECT_STREQ(e->getMessage(), "IosSocket: Socket connection failed");
    delete e;
  }
}
