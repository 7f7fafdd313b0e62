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
  // Two ready connections, A and B, each knowing the other.
  void connectTwo() {
    a_.reset(new Player(0, server_));
    ASSERT_TRUE(a_->hears("clientReady(0)"));
    b_.reset(new Player(1, server_));
    ASSERT_TRUE(b_->hears("clientReady(1)"));
    std::string bNick = b_->nick();
    const std::vector<std::string>& names = a_->client->getPlayerNames();
    ASSERT_TRUE(pumpUntil([&] { a_->client->update(); },
                          [&] { return std::count(names.begin(), names.end(), bNick) == 1; }));
  }

  // Compares the copy with the server's board under the lobby's lock.
  void expectBoardsEqual(const VantorClientGame& copy) {
    server_.lobby()->lock();
    VantorServerGame* game = server_.lobby()->findGameById(copy.getId());
    ASSERT_NE(game, nullptr);
    for (int y = 1; y <= 8; ++y) {
      for (int x = 1; x <= 8; ++x)
        EXPECT_EQ(copy.getCell(x, y), game->getCell(x, y)) << x << "," << y;
    }
    EXPECT_EQ(copy.getTurn(), game->getTurn());
    server_.lobby()->unlock();
  }

  RealServer server_;
  std::unique_ptr<Player> a_;
  std::unique_ptr<Player> b_;
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

TEST_F(GameClientServer, InvitationCarriesTheBlackFlagForBothColourChoices) {
  connectTwo();
  // A as black: the invited player does not play black.
  a_->client->invite(b_->nick().c_str(), -1);
  ASSERT_TRUE(b_->hears("gameProposed(1)"));
  EXPECT_EQ(b_->listener.lastInviter, a_->nick());
  EXPECT_EQ(b_->listener.lastBlackFlag, 0);
  int first = b_->listener.lastGameId;
  ASSERT_TRUE(
      pumpUntil([&] { a_->client->update(); }, [&] { return a_->client->isPlaying(b_->nick()); }));
  EXPECT_EQ(a_->client->getGameList().back().firstName, a_->nick());

  a_->client->invite(b_->nick().c_str(), 1);
  ASSERT_TRUE(b_->hears("gameProposed(1)", 2));
  EXPECT_EQ(b_->listener.lastBlackFlag, 1);
  EXPECT_NE(b_->listener.lastGameId, first);
  ASSERT_TRUE(pumpUntil([&] { a_->client->update(); },
                        [&] { return a_->client->getGameList().size() == 2; }));
  EXPECT_EQ(a_->client->getGameList().back().firstName, b_->nick());
}

TEST_F(GameClientServer, RefusalIsHeardByTheInviter) {
  connectTwo();
  a_->client->invite(b_->nick().c_str(), -1);
  ASSERT_TRUE(b_->hears("gameProposed(1)"));
  b_->client->refuseGame(b_->listener.lastGameId);
  ASSERT_TRUE(a_->hears("gameRefused(0):" + b_->nick()));
  ASSERT_TRUE(
      pumpUntil([&] { a_->client->update(); }, [&] { return a_->client->getGameList().empty(); }));
}

TEST_F(GameClientServer, AcceptStartsTheGameAndAbortClosesItForBoth) {
  connectTwo();
  a_->client->invite(b_->nick().c_str(), 1);
  ASSERT_TRUE(b_->hears("gameProposed(1)"));
  b_->client->acceptGame(b_->listener.lastGameId);
  ASSERT_TRUE(a_->hears("gameStarted(0)"));
  ASSERT_TRUE(b_->hears("gameStarted(1)"));
  VantorClientGame* game = a_->listener.games[0];
  EXPECT_EQ(game->getId(), b_->listener.lastGameId);
  expectBoardsEqual(*game);
  ASSERT_TRUE(pumpUntil([&] { a_->client->update(); },
                        [&] { return std::string(game->getPlayerName(-1)) == b_->nick(); }));
  EXPECT_EQ(std::string(game->getPlayerName(1)), a_->nick());

  a_->client->abortGame(game->getId());
  ASSERT_TRUE(a_->hears("gameAbandoned(0)"));
  ASSERT_TRUE(b_->hears("gameAbandoned(1)"));
  // The closed game's follow-up list request brings the empty list.
  for (Player* p : {a_.get(), b_.get()}) {
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
  const auto& calls = p.listener.calls;
  auto started = std::find(calls.begin(), calls.end(), "gameStarted(1)");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "gameStarted(1)"), 1);
  EXPECT_GE(std::count(calls.begin(), calls.end(), "playerPassed(1)"), 1);
  EXPECT_EQ(calls.back(), "gameEnded(1)");
  for (auto c = started + 1; c + 1 != calls.end(); ++c) {
    if (*c != "gameChanged(1)" && *c != "playerPassed(1)") {
      EXPECT_TRUE(*c == "gameListChanged(1)" || *c == "playerListChanged(1)") << *c;
    }
  }
  EXPECT_EQ(game->count(kBlack) + game->count(kWhite), 4 + moves);
}
