// Parsing of server messages by a client without a connection, whose
// requests go to a recording stream. What reaches a listener is tested
// through the pump against a scripted server.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
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

  void handle(const Msg& m) { client_->handleMessage(m.payload().data(), m.payload().size()); }

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
    sent_.frames.clear();
    return client_->findGame(id);
  }

  RecordingStream sent_;
  std::unique_ptr<VantorClient> client_{new VantorClient(&sent_)};
  std::vector<VantorClientGame*> handedOver_;
};

}  // namespace

TEST_F(ClientParsing, NewsAndBadMessagesRaiseNoEventAndAreAnsweredOnlyByTheirRequests) {
  VantorClientGame* game = startGame(0);
  const struct {
    Msg message;
    std::vector<std::string> requests;
  } cases[] = {
      {Msg(9), {Msg(3).payload(), Msg(19).payload()}},
      {Msg(23), {Msg(19).payload()}},
      {Msg(26), {Msg(26).i8(2).i8(0).payload()}},
      {Msg(7).i32(3), {Msg(8).i32(3).payload()}},
      {Msg(7).i32(3), {}},  // a repeated announcement keeps the one copy
      {Msg(14).i32(0), {}},
      // Too short for their fields.
      {Msg(4).i32(12), {}},
      {Msg(8).i32(0).raw("short"), {}},
      {Msg(13).i32(0).i8(3), {}},
      {Msg(27).i8(127).i8(0), {}},
      {Msg(12).i8(1), {}},
      // About games this client does not know.
      {Msg(8).i32(9).raw(initialCells()), {}},
      {Msg(12).i32(5).i8(1).i8(1), {}},
      {Msg(13).i32(5).i8(3).i8(5), {}},
      {Msg(15).i32(5).str("x"), {}},
      {Msg(16).i32(5), {}},
  };
  for (const auto& c : cases) {
    sent_.frames.clear();
    handle(c.message);
    EXPECT_EQ(sent_.frames, c.requests) << "message " << int(c.message.payload()[0]);
    EXPECT_EQ(client_->nextEvent(), nullptr);
  }
  client_->handleMessage("", 0);
  EXPECT_EQ(client_->nextEvent(), nullptr);
  EXPECT_FALSE(client_->findGame(3)->isStarted());
  EXPECT_EQ(game->getTurn(), kBlack);
  EXPECT_FALSE(game->isOutOfSync());
}

TEST_F(ClientParsing, StringsAndListEntriesCutShortEndWithThePayload) {
  handle(Msg(3).str("A").raw("Bob"));
  handle(Msg(19).i32(1).str("A").str("B").raw("\x02\x00"));
  handle(Msg(6).i8(1).str("Administrator").raw("no end"));
  auto players = next<VantorUpdateListEvent>(kUpdateListEvent);
  ASSERT_EQ(players->count(), 2);
  EXPECT_STREQ(players->getName(0), "A");
  EXPECT_STREQ(players->getName(1), "Bob");
  auto games = next<VantorUpdateGameListEvent>(kUpdateGameListEvent);
  ASSERT_EQ(games->count(), 1);
  EXPECT_STREQ(games->get(0)->getSecondName(), "B");
  auto chat = next<VantorClientDidGetMessageEvent>(kDidGetMessageEvent);
  EXPECT_EQ(chat->getBroadcast(), 1);
  EXPECT_STREQ(chat->getSender(), "Administrator");
  EXPECT_STREQ(chat->getText(), "no end");
}

TEST_F(ClientParsing, OtherMessagesBecomeTheirEventsWithTextsCutToTheirFields) {
  const std::string longText(2000, 'n');
  handle(Msg(17).str(longText));
  handle(Msg(4).i32(12).i8(1).i8(1).str(longText));
  handle(Msg(6).i8(0).str(longText).str(longText));
  handle(Msg(10).str(longText));
  handle(Msg(18).str(longText));
  handle(Msg(22).i32(4));
  handle(Msg(25).str("Pee[Bot]").str("Plays at depth 1"));
  EXPECT_EQ(std::string(client_->getNickName()), longText.substr(0, 1022));
  EXPECT_EQ(next<VantorWhoAmIEvent>(kWhoAmIEvent)->getNick(), longText.substr(0, 1022));
  auto ask = next<VantorAskGameEvent>(kAskGameEvent);
  EXPECT_EQ(ask->getGameId(), 12);
  EXPECT_EQ(ask->getColour(), 1);
  EXPECT_EQ(ask->getName(), longText.substr(0, 255));
  auto chat = next<VantorClientDidGetMessageEvent>(kDidGetMessageEvent);
  EXPECT_EQ(chat->getBroadcast(), 0);
  EXPECT_EQ(chat->getSender(), longText.substr(0, 255));
  EXPECT_EQ(chat->getText(), longText);
  EXPECT_EQ(chat->getHandled(), 0);
  EXPECT_EQ(next<VantorRefuseGameEvent>(kRefuseGameEvent)->getName(), longText.substr(0, 255));
  EXPECT_EQ(next<VantorNonAckNickEvent>(kNonAckNickEvent)->getText(), longText.substr(0, 1023));
  EXPECT_EQ(next<VantorRefuseSpectateEvent>(kRefuseSpectateEvent)->getGameId(), 4);
  auto info = next<VantorPlayerInfoEvent>(kPlayerInfoEvent);
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
  EXPECT_EQ(closed->getKind(), kGameClosed);
  EXPECT_EQ(closed->getGame(), nullptr);
  client_.reset();
  EXPECT_TRUE(kept->replayMove(3, 5));
}
