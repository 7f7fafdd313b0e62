// Parsing of server messages by a client without a connection, whose
// requests go to a recording stream.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "client/VantorAskGameEvent.h"
#include "client/VantorClient.h"
#include "client/VantorClientDidGetMessageEvent.h"
#include "client/VantorClientGameEvent.h"
#include "client/VantorNonAckNickEvent.h"
#include "client/VantorPlayerInfoEvent.h"
#include "client/VantorRefuseGameEvent.h"
#include "client/VantorRefuseSpectateEvent.h"
#include "client/VantorUpdateGameListEvent.h"
#include "client/VantorUpdateListEvent.h"
#include "client/VantorWhoAmIEvent.h"
#include "tests/client/ClientTestSupport.h"

namespace {

class ClientParsing : public ::testing::Test {
 protected:
  ~ClientParsing() override {
    client_.reset();
    for (VantorClientGame* game : handedOver_) delete game;
  }

  void handle(const Msg& m) { handle(m.payload()); }
  void handle(const std::string& payload) {
    client_->handleMessage(payload.data(), static_cast<int>(payload.size()));
  }

  // The next event, owned by the test; a game-started event hands its game
  // over to the test as it would to the front end.
  std::unique_ptr<VantorClientEvent> next() {
    std::unique_ptr<VantorClientEvent> e(client_->nextEvent());
    if (e && e->type() == kClientGameEvent) {
      auto* g = static_cast<VantorClientGameEvent*>(e.get());
      if (g->getKind() == kGameStarted) handedOver_.push_back(g->getGame());
    }
    return e;
  }
  int nextGameKind() {
    auto e = next();
    if (!e || e->type() != kClientGameEvent) return -1;
    return static_cast<VantorClientGameEvent*>(e.get())->getKind();
  }

  // Plays S7 and the first S8 of a game and drops the game-started event.
  VantorClientGame* startGame(int id) {
    handle(Msg(7).i32(id));
    handle(Msg(8).i32(id).raw(initialCells()));
    EXPECT_EQ(nextGameKind(), kGameStarted);
    sent_.frames.clear();
    return client_->findGame(id);
  }

  RecordingStream sent_;
  std::unique_ptr<VantorClient> client_{new VantorClient(&sent_)};
  std::vector<VantorClientGame*> handedOver_;
};

std::string c8(int id) {
  return Msg(8).i32(id).payload();
}

}  // namespace

TEST_F(ClientParsing, PlayerListHoldsEveryNameInOrder) {
  handle(Msg(3).str("A").str("B"));
  auto e = next();
  ASSERT_EQ(e->type(), kUpdateListEvent);
  auto* list = static_cast<VantorUpdateListEvent*>(e.get());
  ASSERT_EQ(list->count(), 2);
  EXPECT_STREQ(list->getName(0), "A");
  EXPECT_STREQ(list->getName(1), "B");
  EXPECT_EQ(next(), nullptr);
}

TEST_F(ClientParsing, UnterminatedStringEndsWithThePayload) {
  handle(Msg(3).str("A").raw("Bob"));
  auto e = next();
  auto* list = static_cast<VantorUpdateListEvent*>(e.get());
  ASSERT_EQ(list->count(), 2);
  EXPECT_STREQ(list->getName(1), "Bob");
}

TEST_F(ClientParsing, InvitationReadsColourAtOffsetFiveAndNickAtSeven) {
  handle(Msg(4).i32(12).i8(1).i8(1).str("Alice"));
  auto e = next();
  ASSERT_EQ(e->type(), kAskGameEvent);
  auto* ask = static_cast<VantorAskGameEvent*>(e.get());
  EXPECT_EQ(ask->getGameId(), 12);
  EXPECT_EQ(ask->getColour(), 1);
  EXPECT_STREQ(ask->getName(), "Alice");
}

TEST_F(ClientParsing, MessagesTooShortForTheirFieldsAreDropped) {
  handle(Msg(4).i32(12));
  handle(Msg(8).i32(0).raw("short"));
  handle(Msg(13).i32(0).i8(3));
  handle(Msg(27).i8(127).i8(0));
  handle(Msg(12).i8(1));
  handle(std::string());
  EXPECT_EQ(next(), nullptr);
  EXPECT_TRUE(sent_.frames.empty());
}

TEST_F(ClientParsing, ChatMessageCarriesFlagSenderAndText) {
  handle(Msg(6).i8(0).str("Administrator").str("Cannot determine your client version."));
  auto e = next();
  ASSERT_EQ(e->type(), kDidGetMessageEvent);
  auto* m = static_cast<VantorClientDidGetMessageEvent*>(e.get());
  EXPECT_EQ(m->getBroadcast(), 0);
  EXPECT_STREQ(m->getSender(), "Administrator");
  EXPECT_STREQ(m->getText(), "Cannot determine your client version.");
}

TEST_F(ClientParsing, GameStartedAsksForTheBoardAndRaisesNothingYet) {
  handle(Msg(7).i32(3));
  EXPECT_EQ(next(), nullptr);
  ASSERT_NE(client_->findGame(3), nullptr);
  ASSERT_EQ(sent_.frames.size(), 1u);
  EXPECT_EQ(sent_.frames[0], c8(3));
}

TEST_F(ClientParsing, RepeatedGameStartedKeepsOneCopy) {
  handle(Msg(7).i32(3));
  VantorClientGame* game = client_->findGame(3);
  handle(Msg(7).i32(3));
  EXPECT_EQ(client_->findGame(3), game);
  EXPECT_EQ(sent_.frames.size(), 1u);
}

TEST_F(ClientParsing, FirstBoardStartsTheGameAndLaterBoardsChangeIt) {
  handle(Msg(7).i32(3));
  std::string cells = initialCells();
  handle(Msg(8).i32(3).raw(cells));
  auto e = next();
  ASSERT_EQ(e->type(), kClientGameEvent);
  auto* started = static_cast<VantorClientGameEvent*>(e.get());
  EXPECT_EQ(started->getKind(), kGameStarted);
  ASSERT_EQ(started->getGame(), client_->findGame(3));
  EXPECT_TRUE(started->getGame()->isStarted());
  cells[0] = 1;
  handle(Msg(8).i32(3).raw(cells));
  EXPECT_EQ(nextGameKind(), kGameChanged);
  EXPECT_EQ(client_->findGame(3)->getCell(1, 1), kWhite);
}

TEST_F(ClientParsing, MoveBeforeTheFirstBoardIsHeardAfterTheGameStarts) {
  handle(Msg(7).i32(3));
  handle(Msg(13).i32(3).i8(3).i8(5));
  EXPECT_EQ(next(), nullptr);
  handle(Msg(8).i32(3).raw(initialCells()));
  EXPECT_EQ(nextGameKind(), kGameStarted);
  EXPECT_EQ(nextGameKind(), kGameChanged);
  EXPECT_EQ(client_->findGame(3)->getTurn(), kWhite);
}

TEST_F(ClientParsing, BoardOfAnUnknownGameIsIgnored) {
  handle(Msg(8).i32(9).raw(initialCells()));
  EXPECT_EQ(next(), nullptr);
}

TEST_F(ClientParsing, MovePlayedIsReplayedOnTheCopy) {
  VantorClientGame* game = startGame(0);
  handle(Msg(13).i32(0).i8(3).i8(5));
  EXPECT_EQ(nextGameKind(), kGameChanged);
  EXPECT_EQ(game->getCell(4, 5), kBlack);
  EXPECT_EQ(game->getTurn(), kWhite);
  EXPECT_TRUE(sent_.frames.empty());
}

TEST_F(ClientParsing, RejectedReplayAsksForTheBoardWithoutAnEvent) {
  VantorClientGame* game = startGame(0);
  handle(Msg(13).i32(0).i8(1).i8(1));
  EXPECT_EQ(next(), nullptr);
  EXPECT_TRUE(game->isOutOfSync());
  ASSERT_EQ(sent_.frames.size(), 1u);
  EXPECT_EQ(sent_.frames[0], c8(0));
}

TEST_F(ClientParsing, MoveOffTheBoardIsRejectedByTheCopy) {
  VantorClientGame* game = startGame(0);
  handle(Msg(13).i32(0).i8(200).i8(250));
  EXPECT_EQ(next(), nullptr);
  EXPECT_TRUE(game->isOutOfSync());
}

TEST_F(ClientParsing, PassWhileOutOfSyncWaitsForTheNextBoard) {
  VantorClientGame* game = startGame(0);
  handle(Msg(13).i32(0).i8(1).i8(1));
  handle(Msg(15).i32(0).str("Pee[Bot]"));
  EXPECT_EQ(next(), nullptr);
  EXPECT_EQ(game->getTurn(), kBlack);
  handle(Msg(8).i32(0).raw(initialCells()));
  EXPECT_EQ(nextGameKind(), kGameChanged);
  auto e = next();
  ASSERT_TRUE(e);
  auto* pass = static_cast<VantorClientGameEvent*>(e.get());
  EXPECT_EQ(pass->getKind(), kPlayerPassed);
  EXPECT_STREQ(pass->getName(), "Pee[Bot]");
  EXPECT_EQ(game->getTurn(), kWhite);
  EXPECT_FALSE(game->isOutOfSync());
}

TEST_F(ClientParsing, PassInStepSwitchesTheSideAtOnce) {
  VantorClientGame* game = startGame(0);
  handle(Msg(15).i32(0).str("Player8"));
  auto e = next();
  ASSERT_TRUE(e);
  EXPECT_EQ(static_cast<VantorClientGameEvent*>(e.get())->getKind(), kPlayerPassed);
  EXPECT_STREQ(static_cast<VantorClientGameEvent*>(e.get())->getName(), "Player8");
  EXPECT_EQ(game->getTurn(), kWhite);
}

TEST_F(ClientParsing, InvalidMoveAndGameOverConcernKnownGamesOnly) {
  startGame(0);
  handle(Msg(12).i32(0).i8(1).i8(1));
  handle(Msg(16).i32(0));
  handle(Msg(12).i32(5).i8(1).i8(1));
  handle(Msg(16).i32(5));
  handle(Msg(13).i32(5).i8(3).i8(5));
  handle(Msg(15).i32(5).str("x"));
  EXPECT_EQ(nextGameKind(), kMoveRejected);
  EXPECT_EQ(nextGameKind(), kGameOver);
  EXPECT_EQ(next(), nullptr);
  EXPECT_TRUE(sent_.frames.empty());
}

TEST_F(ClientParsing, GameClosedRaisesAnEventEvenForAnUnknownGameAndAsksForTheList) {
  VantorClientGame* game = startGame(0);
  handle(Msg(24).i32(0));
  handle(Msg(24).i32(8));
  auto known = next();
  auto unknown = next();
  EXPECT_EQ(static_cast<VantorClientGameEvent*>(known.get())->getGame(), game);
  EXPECT_EQ(static_cast<VantorClientGameEvent*>(known.get())->getKind(), kGameClosed);
  EXPECT_EQ(static_cast<VantorClientGameEvent*>(unknown.get())->getGame(), nullptr);
  ASSERT_EQ(sent_.frames.size(), 2u);
  EXPECT_EQ(sent_.frames[0], Msg(19).payload());
}

TEST_F(ClientParsing, WhoAmIKeepsTheNickCutTo1022Characters) {
  std::string longNick(1500, 'z');
  handle(Msg(17).str(longNick));
  EXPECT_EQ(std::string(client_->getNickName()), longNick.substr(0, 1022));
  auto e = next();
  ASSERT_EQ(e->type(), kWhoAmIEvent);
  EXPECT_EQ(std::string(static_cast<VantorWhoAmIEvent*>(e.get())->getNick()).size(), 1022u);
}

TEST_F(ClientParsing, RefusalsAndInformationBecomeTheirEvents) {
  handle(Msg(10).str("Bob"));
  handle(Msg(18).str(std::string(2000, 't')));
  handle(Msg(22).i32(4));
  handle(Msg(25).str("Pee[Bot]").str("Plays at depth 1"));
  auto refused = next();
  EXPECT_STREQ(static_cast<VantorRefuseGameEvent*>(refused.get())->getName(), "Bob");
  auto nonAck = next();
  EXPECT_EQ(std::string(static_cast<VantorNonAckNickEvent*>(nonAck.get())->getText()).size(),
            1023u);
  auto spectate = next();
  EXPECT_EQ(static_cast<VantorRefuseSpectateEvent*>(spectate.get())->getGameId(), 4);
  auto info = next();
  EXPECT_STREQ(static_cast<VantorPlayerInfoEvent*>(info.get())->getName(), "Pee[Bot]");
  EXPECT_STREQ(static_cast<VantorPlayerInfoEvent*>(info.get())->getDescription(),
               "Plays at depth 1");
}

TEST_F(ClientParsing, GameListNamesTheKnownGamesBlackFirst) {
  VantorClientGame* game = startGame(2);
  handle(Msg(19).i32(1).str("A").str("B").i32(2).str("Pee[Bot]").str("Player8"));
  auto e = next();
  ASSERT_EQ(e->type(), kUpdateGameListEvent);
  auto* list = static_cast<VantorUpdateGameListEvent*>(e.get());
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->get(0)->getGameId(), 1);
  EXPECT_STREQ(list->get(1)->getFirstName(), "Pee[Bot]");
  EXPECT_STREQ(list->get(1)->getSecondName(), "Player8");
  EXPECT_STREQ(game->getPlayerName(-1), "Pee[Bot]");
  EXPECT_STREQ(game->getPlayerName(1), "Player8");
}

TEST_F(ClientParsing, GameListEndsAtAnEntryCutShort) {
  handle(Msg(19).i32(1).str("A").str("B").raw("\x02\x00"));
  auto e = next();
  EXPECT_EQ(static_cast<VantorUpdateGameListEvent*>(e.get())->count(), 1);
}

TEST_F(ClientParsing, ListChangesAndVersionRequestAreAnsweredWithRequests) {
  handle(Msg(9));
  handle(Msg(23));
  handle(Msg(26));
  EXPECT_EQ(next(), nullptr);
  ASSERT_EQ(sent_.frames.size(), 4u);
  EXPECT_EQ(sent_.frames[0], Msg(3).payload());
  EXPECT_EQ(sent_.frames[1], Msg(19).payload());
  EXPECT_EQ(sent_.frames[2], Msg(19).payload());
  EXPECT_EQ(sent_.frames[3], Msg(26).i8(2).i8(0).payload());
}

TEST_F(ClientParsing, YourTurnChangesNothing) {
  VantorClientGame* game = startGame(0);
  handle(Msg(14).i32(0));
  EXPECT_EQ(next(), nullptr);
  EXPECT_TRUE(sent_.frames.empty());
  EXPECT_EQ(game->getTurn(), kBlack);
}

TEST_F(ClientParsing, AGameDeletedByItsOwnerIsForgotten) {
  VantorClientGame* game = startGame(0);
  handedOver_.clear();
  delete game;
  EXPECT_EQ(client_->findGame(0), nullptr);
  handle(Msg(13).i32(0).i8(3).i8(5));
  handle(Msg(19).i32(0).str("A").str("B"));
  handle(Msg(24).i32(0));
  next();
  auto closed = next();
  EXPECT_EQ(static_cast<VantorClientGameEvent*>(closed.get())->getGame(), nullptr);
}

TEST_F(ClientParsing, AGameOutlivesItsConnection) {
  VantorClientGame* game = startGame(0);
  client_.reset();
  EXPECT_TRUE(game->replayMove(3, 5));
}
