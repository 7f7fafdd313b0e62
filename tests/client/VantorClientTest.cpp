// A client without a connection: the request frames it writes to a
// recording stream, byte for byte, and how it parses server messages into
// events. What reaches a listener, and the texts it gets, is tested through
// the pump against a scripted server.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "client/VantorClient.h"
#include "client/VantorClientDidGetMessageEvent.h"
#include "client/VantorClientGameEvent.h"
#include "client/VantorPlayerInfoEvent.h"
#include "client/VantorRefuseSpectateEvent.h"
#include "client/VantorUpdateGameListEvent.h"
#include "client/VantorUpdateListEvent.h"
#include "tests/client/ClientTestSupport.h"

namespace {

class Client : public ::testing::Test {
 protected:
  ~Client() override {
    client_.reset();
    for (VantorClientGame* game : handedOver_) delete game;
  }

  void handle(const Msg& m) {
    client_->handleMessage(m.payload().data(), static_cast<int>(m.payload().size()));
  }

  // The next event as its class, owned by the test; when it is of another
  // type, the test fails at once. A game-started event hands its game over to
  // the test as it would to the front end.
  template <typename Event>
  std::unique_ptr<Event> next(int type) {
    std::unique_ptr<VantorClientEvent> e(client_->nextEvent());
    if (e && e->type() == kClientGameEvent) {
      auto* g = static_cast<VantorClientGameEvent*>(e.get());
      if (g->getKind() == kGameStarted) handedOver_.push_back(g->getGame());
    }
    if (!e || e->type() != type) {
      throw std::runtime_error("expected an event of type " + std::to_string(type));
    }
    return std::unique_ptr<Event>(static_cast<Event*>(e.release()));
  }
  int nextGameKind() { return next<VantorClientGameEvent>(kClientGameEvent)->getKind(); }

  // S7 and the first S8 of a game; the game-started event is taken.
  VantorClientGame* startGame(int id) {
    handle(Msg(7).i32(id));
    handle(Msg(8).i32(id).raw(initialCells()));
    EXPECT_EQ(nextGameKind(), kGameStarted);
    sent_.writes.clear();
    return client_->findGame(id);
  }

  RecordingStream sent_;
  std::unique_ptr<VantorClient> client_{new VantorClient(&sent_)};
  std::vector<VantorClientGame*> handedOver_;
};

}  // namespace

// The requests that the pump's tests do not read byte for byte, and texts
// cut so that each request fits in one frame.
TEST_F(Client, SendsEachRequestAsOneWriteOfOneFrameWithItsExactLayout) {
  VantorGameOptions blackWithoutSpectators;
  blackWithoutSpectators.setColourChoice(1);
  blackWithoutSpectators.setSpectatorsAllowed(false);
  const std::string huge(70000, 'x');
  const std::string part = huge.substr(0, 21845);
  const struct {
    std::function<void()> request;
    Msg expected;
  } cases[] = {
      {[&] { client_->setNick(nullptr); }, Msg(1).str("")},
      {[&] { client_->askGame("Pee[Bot]", blackWithoutSpectators); },
       Msg(4).i8(1).i8(0).str("Pee[Bot]")},
      {[&] { client_->acceptGame(258); }, Msg(5).i32(258)},
      {[&] { client_->sendMessage("hello", "Bob"); }, Msg(6).str("Bob").str("hello")},
      {[&] { client_->refuseGame(-1); }, Msg(10).i32(-1)},
      {[&] { client_->spectate(2); }, Msg(20).i32(2)},
      {[&] { client_->abortGame(2); }, Msg(24).i32(2)},
      {[&] { client_->getPlayerInfo("Pee[Bot]"); }, Msg(25).str("Pee[Bot]")},
      {[&] { client_->setNick(huge.c_str()); }, Msg(1).str(huge.substr(0, 65531))},
      {[&] { client_->getPlayerInfo(huge.c_str()); }, Msg(25).str(huge.substr(0, 65531))},
      {[&] { client_->askGame(huge.c_str(), VantorGameOptions()); },
       Msg(4).i8(0).i8(1).str(huge.substr(0, 65529))},
      {[&] { client_->sendMessage(huge.c_str(), huge.c_str()); }, Msg(6).str(part).str(part)},
  };
  for (const auto& c : cases) {
    sent_.writes.clear();
    c.request();
    EXPECT_EQ(sent_.writes, std::vector<std::string>{c.expected.frame()}) << &c - cases;
  }
  sent_.writes.clear();
  client_->getBoard(nullptr);
  EXPECT_TRUE(sent_.writes.empty());
}

TEST_F(Client, AnswersNewsOnlyWithItsRequestsAndDropsBadMessagesWithoutAnEvent) {
  VantorClientGame* game = startGame(0);
  const struct {
    Msg message;
    std::vector<std::string> requests;
  } cases[] = {
      {Msg(9), {Msg(3).frame(), Msg(19).frame()}},
      {Msg(23), {Msg(19).frame()}},
      {Msg(26), {Msg(26).i8(2).i8(0).frame()}},
      {Msg(7).i32(3), {Msg(8).i32(3).frame()}},
      {Msg(7).i32(3), {}},  // a repeated announcement keeps the one copy
      {Msg(14).i32(0), {}},
      {Msg(13).i32(0).i8(3), {}},  // a byte short of its fields
      // About games this client does not know.
      {Msg(8).i32(9).raw(initialCells()), {}},
      {Msg(12).i32(5).i8(1).i8(1), {}},
      {Msg(13).i32(5).i8(3).i8(5), {}},
      {Msg(15).i32(5).str("x"), {}},
      {Msg(16).i32(5), {}},
  };
  for (const auto& c : cases) {
    sent_.writes.clear();
    handle(c.message);
    EXPECT_EQ(sent_.writes, c.requests) << "message " << int(c.message.payload()[0]);
    EXPECT_EQ(client_->nextEvent(), nullptr);
  }
  client_->handleMessage("", 0);
  EXPECT_EQ(client_->nextEvent(), nullptr);
  EXPECT_FALSE(client_->findGame(3)->isStarted());
  EXPECT_EQ(game->getTurn(), kBlack);
  EXPECT_FALSE(game->isOutOfSync());
}

// Strings and list entries cut short end with the payload.
TEST_F(Client, TurnsMessagesIntoTheirEventsWithTextsCutToTheirFieldsOrToThePayload) {
  const std::string longText(2000, 'n');
  handle(Msg(3).str("A").raw("Bob"));
  handle(Msg(19).i32(1).str("A").str("B").raw("\x02\x00"));
  handle(Msg(6).i8(1).str("Administrator").raw("no end"));
  handle(Msg(6).i8(0).str(longText).str(longText));
  handle(Msg(22).i32(4));
  handle(Msg(25).str("Pee[Bot]").str("Plays at depth 1"));
  auto players = next<VantorUpdateListEvent>(kUpdateListEvent);
  ASSERT_EQ(players->count(), 2);
  EXPECT_STREQ(players->getName(0), "A");
  EXPECT_STREQ(players->getName(1), "Bob");
  auto games = next<VantorUpdateGameListEvent>(kUpdateGameListEvent);
  ASSERT_EQ(games->count(), 1);
  EXPECT_STREQ(games->get(0)->getSecondName(), "B");
  auto shortChat = next<VantorClientDidGetMessageEvent>(kDidGetMessageEvent);
  EXPECT_EQ(shortChat->getBroadcast(), 1);
  EXPECT_STREQ(shortChat->getSender(), "Administrator");
  EXPECT_STREQ(shortChat->getText(), "no end");
  auto chat = next<VantorClientDidGetMessageEvent>(kDidGetMessageEvent);
  EXPECT_EQ(chat->getBroadcast(), 0);
  EXPECT_EQ(chat->getSender(), longText.substr(0, 255));
  EXPECT_EQ(chat->getText(), longText);
  EXPECT_EQ(next<VantorRefuseSpectateEvent>(kRefuseSpectateEvent)->getGameId(), 4);
  auto info = next<VantorPlayerInfoEvent>(kPlayerInfoEvent);
  EXPECT_STREQ(info->getName(), "Pee[Bot]");
  EXPECT_STREQ(info->getDescription(), "Plays at depth 1");
}

// Game 3 starts after its news; game 5 is closed first and goes with its news.
TEST_F(Client, HoldsNewsOfAGameUntilItsFirstBoardAndDropsItWithTheGameClosedBefore) {
  for (int id : {3, 5}) {
    handle(Msg(7).i32(id));
    handle(Msg(13).i32(id).i8(3).i8(5));
    handle(Msg(15).i32(id).str("Pee[Bot]"));
  }
  handle(Msg(12).i32(5).i8(1).i8(1));
  sent_.writes.clear();
  handle(Msg(24).i32(5));
  EXPECT_EQ(sent_.writes, std::vector<std::string>{Msg(19).frame()});
  EXPECT_EQ(client_->findGame(5), nullptr);
  EXPECT_EQ(client_->nextEvent(), nullptr);
  handle(Msg(8).i32(5).raw(initialCells()));
  handle(Msg(8).i32(3).raw(initialCells()));
  EXPECT_EQ(nextGameKind(), kGameStarted);
  EXPECT_EQ(nextGameKind(), kGameChanged);
  auto pass = next<VantorClientGameEvent>(kClientGameEvent);
  EXPECT_EQ(pass->getKind(), kPlayerPassed);
  EXPECT_STREQ(pass->getName(), "Pee[Bot]");
  EXPECT_EQ(client_->nextEvent(), nullptr);
  EXPECT_EQ(client_->findGame(3)->getTurn(), kBlack);  // the move and the pass were both applied
}

// A move the copy cannot replay (illegal, taken, off the board) puts it out
// of step: the board is asked for again, and the latest pass waits for it.
// Under the sanitizers' leak check this also shows that the pass replaced,
// and the one a deleted game still holds, are freed.
TEST_F(Client, AsksForTheBoardWhenAReplayFailsAndHoldsAPassUntilItComes) {
  VantorClientGame* game = startGame(0);
  handle(Msg(13).i32(0).i8(3).i8(5));
  EXPECT_EQ(nextGameKind(), kGameChanged);
  const int refused[][2] = {{8, 8}, {4, 5}, {0, 5}, {9, 5}, {5, 9}, {200, 255}};
  for (const auto& xy : refused) {
    sent_.writes.clear();
    handle(Msg(13).i32(0).i8(xy[0]).i8(xy[1]));
    EXPECT_EQ(sent_.writes, std::vector<std::string>{Msg(8).i32(0).frame()}) << xy[0] << xy[1];
  }
  EXPECT_EQ(game->count(kBlack), 4);
  EXPECT_EQ(game->getTurn(), kWhite);
  handle(Msg(15).i32(0).str("first"));
  handle(Msg(15).i32(0).str("Pee[Bot]"));
  EXPECT_EQ(client_->nextEvent(), nullptr);
  std::string cells(64, 5);  // any byte but -1 and 1 is an empty cell
  cells[10] = -1;
  cells[63] = 1;
  for (int board = 0; board < 2; ++board) handle(Msg(8).i32(0).raw(cells));
  EXPECT_EQ(nextGameKind(), kGameChanged);
  EXPECT_STREQ(next<VantorClientGameEvent>(kClientGameEvent)->getName(), "Pee[Bot]");
  EXPECT_EQ(nextGameKind(), kGameChanged) << "the pass is told once";
  EXPECT_EQ(client_->nextEvent(), nullptr);
  EXPECT_EQ(game->getCell(3, 2), kBlack);  // x varies fastest
  EXPECT_EQ(game->getCell(8, 8), kWhite);
  EXPECT_EQ(game->count(kBlack) + game->count(kWhite), 2);
  EXPECT_EQ(game->getTurn(), kBlack);  // the board kept white to move, then white passed
  EXPECT_FALSE(game->isOutOfSync());
  handle(Msg(13).i32(0).i8(8).i8(8));
  handle(Msg(15).i32(0).str("kept"));
  EXPECT_TRUE(game->isOutOfSync());
}

TEST_F(Client, NamesItsGamesFromTheListAndForgetsOnesDeletedByTheirOwner) {
  VantorClientGame* kept = startGame(0);
  VantorClientGame* deleted = startGame(1);
  handedOver_.pop_back();
  delete deleted;
  EXPECT_EQ(client_->findGame(1), nullptr);
  handle(Msg(13).i32(1).i8(3).i8(5));
  handle(Msg(19).i32(1).str("A").str("B").i32(0).str("Black").str(std::string(300, 'w')));
  EXPECT_STREQ(kept->getPlayerName(-1), "Black");
  EXPECT_EQ(std::string(kept->getPlayerName(1)), std::string(255, 'w'));
  handle(Msg(24).i32(1));
  EXPECT_TRUE(next<VantorUpdateGameListEvent>(kUpdateGameListEvent));
  auto closed = next<VantorClientGameEvent>(kClientGameEvent);
  EXPECT_EQ(closed->getKind(), kGameClosed);
  EXPECT_EQ(closed->getGame(), nullptr);
  client_.reset();
  EXPECT_TRUE(kept->replayMove(3, 5));
}
