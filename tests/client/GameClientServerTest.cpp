// vgl::GameClient against the real game server of this project, run in the
// test process on a free port of 127.0.0.1 with the computer players'
// pauses shortened.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>

#include "bots/VantorServerBot.h"
#include "client/GameClient.h"
#include "client/VantorClientGame.h"
#include "ios/Exception.h"
#include "ios/IosSelectServer.h"
#include "server/VantorServer.h"
#include "server/VantorServerFactory.h"
#include "server/VantorServerGame.h"
#include "tests/client/ClientTestSupport.h"

namespace {

class RealServer {
 public:
  RealServer()
      : factory_(new VantorServerFactory()), select_(new IosSelectServer(true, 0, factory_.get())) {
    for (VantorServerBot* bot : factory_->getBots()) bot->setPausesForTesting(5, 5);
    thread_ = std::thread([this] {
      try {
        select_->run();
      } catch (Exception* e) {
        e->print();
        delete e;
      }
    });
  }
  ~RealServer() {
    select_->stop();
    thread_.join();
    select_.reset();
    factory_.reset();
  }

  int port() { return select_->getFirstPort(); }
  VantorServer* lobby() { return factory_->getServer(); }

 private:
  std::unique_ptr<VantorServerFactory> factory_;
  std::unique_ptr<IosSelectServer> select_;
  std::thread thread_;
};

// One connection and the listener that hears it.
struct Player {
  Player(int colour, RealServer& server)
      : client(new vgl::GameClient(colour, &listener, "127.0.0.1", server.port())) {}
  // Waits until the listener has heard call count times.
  bool hears(const std::string& call, int count = 1) {
    return pumpUntil([&] { client->update(); }, [&] { return listener.count(call) >= count; });
  }
  std::string nick() const {
    return std::string(client->getNick().begin(), client->getNick().end());
  }

  RecordingListener listener;
  std::unique_ptr<vgl::GameClient> client;
};

class GameClientServer : public ::testing::Test {
 protected:
  // Compares the copy's side to move and cells with the server's, read under the lobby's lock.
  void expectBoardsEqual(const VantorClientGame& copy) {
    server_.lobby()->lock();
    const VantorServerGame* game = server_.lobby()->findGameById(copy.getId());
    std::vector<int> mine = {copy.getTurn()}, servers = {game ? game->getTurn() : 0};
    for (int i = 0; i < 64; ++i) {
      mine.push_back(copy.getCell(i % 8 + 1, i / 8 + 1));
      servers.push_back(game ? game->getCell(i % 8 + 1, i / 8 + 1) : 9);
    }
    server_.lobby()->unlock();
    EXPECT_EQ(mine, servers);
  }

  RealServer server_;
};

}  // namespace

TEST_F(GameClientServer, OpeningMakesTheConnectionReadyOnceWithItsNameAndTheLists) {
  Player p(-1, server_);
  ASSERT_TRUE(p.hears("clientReady(-1)"));
  ASSERT_TRUE(p.hears("gameListChanged(-1)"));
  EXPECT_EQ(p.client->getNick(), L"Player8");
  const auto& names = p.client->getPlayerNames();
  ASSERT_EQ(names.size(), 8u);
  EXPECT_EQ(names[0], "Pee[Bot]");
  EXPECT_EQ(names[7], "Player8");
  EXPECT_TRUE(p.client->getGameList().empty());
  p.client->setNick("Renamed");
  ASSERT_TRUE(
      pumpUntil([&] { p.client->update(); }, [&] { return p.client->getNick() == L"Renamed"; }));
  EXPECT_EQ(p.listener.count("clientReady(-1)"), 1);
}

TEST_F(GameClientServer, InvitationsCarryTheBlackFlagAndAreRefusedAcceptedAndAborted) {
  Player a(0, server_), b(1, server_);
  ASSERT_TRUE(a.hears("clientReady(0)"));
  ASSERT_TRUE(b.hears("clientReady(1)"));
  ASSERT_TRUE(pumpUntil([&] { a.client->update(); },
                        [&] { return a.client->getPlayerNames().size() == 9; }));
  // A plays black first: the invited player does not play black.
  a.client->invite(b.nick().c_str(), -1);
  ASSERT_TRUE(b.hears("gameProposed(1)"));
  EXPECT_EQ(b.listener.lastInviter, a.nick());
  EXPECT_EQ(b.listener.lastBlackFlag, 0);
  const int refused = b.listener.lastGameId;
  a.client->invite(b.nick().c_str(), 1);
  ASSERT_TRUE(b.hears("gameProposed(1)", 2));
  EXPECT_EQ(b.listener.lastBlackFlag, 1);
  const int accepted = b.listener.lastGameId;
  EXPECT_NE(accepted, refused);
  ASSERT_TRUE(
      pumpUntil([&] { a.client->update(); }, [&] { return a.client->getGameList().size() == 2; }));
  EXPECT_EQ(a.client->getGameList()[0].firstName, a.nick());
  EXPECT_EQ(a.client->getGameList()[1].firstName, b.nick());

  b.client->refuseGame(refused);
  ASSERT_TRUE(a.hears("gameRefused(0):" + b.nick()));
  b.client->acceptGame(accepted);
  ASSERT_TRUE(a.hears("gameStarted(0)"));
  ASSERT_TRUE(b.hears("gameStarted(1)"));
  VantorClientGame* game = a.listener.games[0];
  EXPECT_EQ(game->getId(), accepted);
  expectBoardsEqual(*game);
  ASSERT_TRUE(pumpUntil([&] { a.client->update(); },
                        [&] {
                          return a.client->getGameList().size() == 1 &&
                                 std::string(game->getPlayerName(-1)) == b.nick();
                        }));
  EXPECT_EQ(std::string(game->getPlayerName(1)), a.nick());

  a.client->abortGame(accepted);
  ASSERT_TRUE(a.hears("gameAbandoned(0)"));
  ASSERT_TRUE(b.hears("gameAbandoned(1)"));
  // The closed game's follow-up list request brings the empty list.
  for (Player* p : {&a, &b}) {
    ASSERT_TRUE(
        pumpUntil([&] { p->client->update(); }, [&] { return p->client->getGameList().empty(); }));
  }
}

// The person plays white against Pee[Bot], always taking the first legal
// move in row order: a game of 44 moves with a pass in it.
TEST_F(GameClientServer, WholeGameAgainstPeeIsReplayedOnTheCopy) {
  Player p(1, server_);
  ASSERT_TRUE(p.hears("clientReady(1)"));
  p.client->invite("Pee[Bot]", 1);
  ASSERT_TRUE(p.hears("gameStarted(1)"));
  VantorClientGame* game = p.listener.games[0];

  size_t seen = 0;
  bool moveOutstanding = false;
  int moves = 0;
  while (!p.listener.count("gameEnded(1)") && moves < 80) {
    ASSERT_TRUE(
        pumpUntil([&] { p.client->update(); }, [&] { return p.listener.calls.size() > seen; }));
    for (; seen < p.listener.calls.size(); ++seen) {
      if (p.listener.calls[seen] == "gameChanged(1)") {
        ++moves;
        moveOutstanding = false;
      }
    }
    if (moveOutstanding || game->getTurn() != kWhite || game->checkPass() != 0) continue;
    // The server waits for this player: its board cannot change meanwhile.
    expectBoardsEqual(*game);
    int best = -1;
    for (int i = 0; i < 64 && best < 0; ++i) {
      if (game->canPlay(i % 8 + 1, i / 8 + 1)) best = i;
    }
    ASSERT_GE(best, 0);
    p.client->playAt(game->getId(), best / 8, best % 8);
    moveOutstanding = true;
  }
  ASSERT_EQ(p.listener.count("gameEnded(1)"), 1);
  expectBoardsEqual(*game);
  EXPECT_EQ(game->checkPass(), 2);
  EXPECT_EQ(game->count(kBlack) + game->count(kWhite), 4 + moves);
  // From the start on, only moves, passes and list news until the end.
  std::vector<std::string> gameCalls;
  for (const std::string& call : p.listener.calls) {
    if (call.find("List") == std::string::npos && (call != "clientReady(1)")) {
      gameCalls.push_back(call);
    }
  }
  EXPECT_EQ(gameCalls.front(), "gameStarted(1)");
  EXPECT_EQ(gameCalls.back(), "gameEnded(1)");
  const int passes = std::count(gameCalls.begin(), gameCalls.end(), "playerPassed(1)");
  EXPECT_GE(passes, 1);
  EXPECT_EQ(static_cast<int>(gameCalls.size()), 2 + moves + passes);
}
