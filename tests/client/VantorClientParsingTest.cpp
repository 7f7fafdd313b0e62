// Parsing of server messages by a client without a connection, whose
// requests go to a recording stream. What reaches a listener is tested
// through the pump against a scripted server.
#include <gtest/gtest.h>

#include <memory>
#include <string>

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

  void handle(const Msg& m) { client_->handleMessage(m.payload().data(), m.payload().size()); }

  // The next event as its class, owned by the test; null (and a failure)
  // when the next event is of another type. A game-started event hands its
  // game over to the test as it would to the front end.
  template <typename Event>
  std::unique_ptr<Event> next(int type) {
    std::unique_ptr<VantorClientEvent> e(client_->nextEvent());
    if (e && e->type() == kClientGameEvent) {
      auto* g = static_cast<VantorClientGameEvent*>(e.get());
      if (g->getKind() == kGameStarted) handedOver_.push_back(g->getGame());
    }
    if (!e || e->type() != type) {
      ADD_FAILURE() << "expected an event of type " << type;
      return nullptr;
    }
    return std::unique_ptr<Event>(static_cast<Event*>(e.release()));
  }
  int nextGameKind() {
    auto e = next<VantorClientGameEvent>(kClientGameEvent);
    return e ? e->getKind() : -1;
  }

  // S7 and the first S8 of a game; the game-started event is taken.
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

}  // namespace

TEST_F(ClientParsing, MessagesTooShortOrAboutUnknownGamesAreDroppedWithoutEventOrRequest) {
  VantorClientGame* game = startGame(0);
  const Msg dropped[] = {Msg(4).i32(12),
                         Msg(8).i32(0).raw("short"),
                         Msg(13).i32(0).i8(3),
                         Msg(27).i8(127).i8(0),
                         Msg(12).i8(1),
                         Msg(8).i32(9).raw(initialCells()),
                         Msg(12).i32(5).i8(1).i8(1),
                         Msg(13).i32(5).i8(3).i8(5),
                         Msg(15).i32(5).str("x"),
                         Msg(16).i32(5),
                         Msg(14).i32(0)};
  for (const Msg& m : dropped) handle(m);
  client_->handleMessage("", 0);
  EXPECT_EQ(client_->nextEvent(), nullptr);
  EXPECT_TRUE(sent_.frames.empty());
  EXPECT_EQ(game->getTurn(), kBlack);
  EXPECT_FALSE(game->isOutOfSync());
}

TEST_F(ClientParsing, StringsAndListEntriesCutShortEndWithThePayload) {
  handle(Msg(3).str("A").raw("Bob"));
  handle(Msg(19).i32(1).str("A").str("B").raw("\x02\x00"));
  handle(Msg(6).i8(1).str("Administrator").raw("no end"));
  auto players = next<VantorUpdateListEvent>(kUpdateListEvent);
  ASSERT_TRUE(players);
  ASSERT_EQ(players->count(), 2);
  EXPECT_STREQ(players->getName(0), "A");
  EXPECT_STREQ(players->getName(1), "Bob");
  auto games = next<VantorUpdateGameListEvent>(kUpdateGameListEvent);
  ASSERT_TRUE(games);
  ASSERT_EQ(games->count(), 1);
  EXPECT_STREQ(games->get(0)->getSecondName(), "B");
  auto chat = next<VantorClientDidGetMessageEvent>(kDidGetMessageEvent);
  ASSERT_TRUE(chat);
  EXPECT_EQ(chat->getBroadcast(), 1);
  EXPECT_STREQ(chat->getSender(), "Administrator");
  EXPECT_STREQ(chat->getText(), "no end");
}

TEST_F(ClientParsing, NewsAndMessagesThatNeedNoEventAreAnsweredWithRequests) {
  handle(Msg(9));
  handle(Msg(23));
  handle(Msg(26));
  handle(Msg(7).i32(3));
  VantorClientGame* game = client_->findGame(3);
  handle(Msg(7).i32(3));  // a repeated announcement keeps the one copy
  EXPECT_EQ(client_->findGame(3), game);
  ASSERT_NE(game, nullptr);
  EXPECT_FALSE(game->isStarted());
  EXPECT_EQ(client_->nextEvent(), nullptr);
  EXPECT_EQ(sent_.frames,
            (std::vector<std::string>{Msg(3).payload(), Msg(19).payload(), Msg(19).payload(),
                                      Msg(26).i8(2).i8(0).payload(), Msg(8).i32(3).payload()}));
}

TEST_F(ClientParsing, OtherMessagesBecomeTheirEventsWithTextsCutToTheirFields) {
  handle(Msg(17).str(std::string(1500, 'z')));
  handle(Msg(10).str("Bob"));
  handle(Msg(18).str(std::string(2000, 't')));
  handle(Msg(22).i32(4));
  handle(Msg(25).str("Pee[Bot]").str("Plays at depth 1"));
  EXPECT_EQ(std::string(client_->getNickName()), std::string(1022, 'z'));
  auto who = next<VantorWhoAmIEvent>(kWhoAmIEvent);
  ASSERT_TRUE(who);
  EXPECT_EQ(std::string(who->getNick()), std::string(1022, 'z'));
  auto refused = next<VantorRefuseGameEvent>(kRefuseGameEvent);
  ASSERT_TRUE(refused);
  EXPECT_STREQ(refused->getName(), "Bob");
  auto nonAck = next<VantorNonAckNickEvent>(kNonAckNickEvent);
  ASSERT_TRUE(nonAck);
  EXPECT_EQ(std::string(nonAck->getText()), std::string(1023, 't'));
  auto spectate = next<VantorRefuseSpectateEvent>(kRefuseSpectateEvent);
  ASSERT_TRUE(spectate);
  EXPECT_EQ(spectate->getGameId(), 4);
  auto info = next<VantorPlayerInfoEvent>(kPlayerInfoEvent);
  ASSERT_TRUE(info);
  EXPECT_STREQ(info->getName(), "Pee[Bot]");
  EXPECT_STREQ(info->getDescription(), "Plays at depth 1");
}

TEST_F(ClientParsing, NewsOfAGameBeforeItsFirstBoardFollowsTheGameStartedEvent) {
  handle(Msg(7).i32(3));
  handle(Msg(13).i32(3).i8(3).i8(5));
  handle(Msg(15).i32(3).str("Pee[Bot]"));
  EXPECT_EQ(client_->nextEvent(), nullptr);
  handle(Msg(8).i32(3).raw(initialCells()));
  EXPECT_EQ(nextGameKind(), kGameStarted);
  EXPECT_EQ(nextGameKind(), kGameChanged);
  auto pass = next<VantorClientGameEvent>(kClientGameEvent);
  ASSERT_TRUE(pass);
  EXPECT_EQ(pass->getKind(), kPlayerPassed);
  EXPECT_STREQ(pass->getName(), "Pee[Bot]");
  EXPECT_EQ(client_->findGame(3)->getTurn(), kBlack);  // the move and the pass were both applied
}

TEST_F(ClientParsing, AGameDeletedByItsOwnerIsForgottenAndAnotherOutlivesTheConnection) {
  VantorClientGame* kept = startGame(0);
  VantorClientGame* deleted = startGame(1);
  handedOver_.pop_back();
  delete deleted;
  EXPECT_EQ(client_->findGame(1), nullptr);
  handle(Msg(13).i32(1).i8(3).i8(5));
  handle(Msg(19).i32(1).str("A").str("B"));
  handle(Msg(24).i32(1));
  EXPECT_TRUE(next<VantorUpdateGameListEvent>(kUpdateGameListEvent));
  auto closed = next<VantorClientGameEvent>(kClientGameEvent);
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->getKind(), kGameClosed);
  EXPECT_EQ(closed->getGame(), nullptr);
  client_.reset();
  EXPECT_TRUE(kept->replayMove(3, 5));
}
