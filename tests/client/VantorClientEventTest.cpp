#include <gtest/gtest.h>

#include <string>

#include "client/VantorAskGameEvent.h"
#include "client/VantorClientDidGetMessageEvent.h"
#include "client/VantorClientGame.h"
#include "client/VantorClientGameEvent.h"
#include "client/VantorGameOptions.h"
#include "client/VantorListChangedEvent.h"
#include "client/VantorNonAckNickEvent.h"
#include "client/VantorPlayerInfoEvent.h"
#include "client/VantorRefuseGameEvent.h"
#include "client/VantorRefuseSpectateEvent.h"
#include "client/VantorUpdateGameListEvent.h"
#include "client/VantorUpdateListEvent.h"
#include "client/VantorWhoAmIEvent.h"

TEST(ClientEvents, EachClassCarriesItsTypeNumber) {
  VantorUpdateListEvent list;
  VantorUpdateGameListEvent gameList;
  VantorAskGameEvent ask("A", 1, 0);
  VantorRefuseGameEvent refuse("A");
  VantorRefuseSpectateEvent refuseSpectate(3);
  VantorListChangedEvent changed;
  VantorClientDidGetMessageEvent message("hi", "A", 1);
  VantorClientGameEvent game(nullptr, kGameOver);
  VantorWhoAmIEvent who("A");
  VantorNonAckNickEvent nonAck("no");
  VantorPlayerInfoEvent info("A", "d");
  const VantorClientEvent* events[] = {&list,    &gameList, &ask,  &refuse, &refuseSpectate,
                                       &changed, &message,  &game, &who,    &nonAck,
                                       &info};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(events[i]->type(), i);
}

TEST(ClientEvents, PlayerListKeepsCopiesInOrder) {
  VantorUpdateListEvent e;
  char name[] = "A";
  e.addName(name);
  name[0] = 'X';
  e.addName("B");
  ASSERT_EQ(e.count(), 2);
  EXPECT_STREQ(e.getName(0), "A");
  EXPECT_STREQ(e.getName(1), "B");
}

TEST(ClientEvents, GameListOwnsItsEntries) {
  VantorUpdateGameListEvent e;
  e.add(new VantorGameListEntry(7, "Pee[Bot]", "Player8"));
  ASSERT_EQ(e.count(), 1);
  EXPECT_EQ(e.get(0)->getGameId(), 7);
  EXPECT_STREQ(e.get(0)->getFirstName(), "Pee[Bot]");
  EXPECT_STREQ(e.get(0)->getSecondName(), "Player8");
}

TEST(ClientEvents, FixedTextsAreCutToTheirFieldSize) {
  std::string longText(2000, 'n');
  VantorAskGameEvent ask(longText.c_str(), 4, -1);
  EXPECT_EQ(std::string(ask.getName()), longText.substr(0, 255));
  EXPECT_EQ(ask.getGameId(), 4);
  EXPECT_EQ(ask.getColour(), -1);
  EXPECT_EQ(std::string(VantorRefuseGameEvent(longText.c_str()).getName()).size(), 255u);
  EXPECT_EQ(std::string(VantorWhoAmIEvent(longText.c_str()).getNick()).size(), 1023u);
  EXPECT_EQ(std::string(VantorNonAckNickEvent(longText.c_str()).getText()),
            longText.substr(0, 1023));
  VantorClientDidGetMessageEvent message(longText.c_str(), longText.c_str(), 0);
  EXPECT_EQ(std::string(message.getText()), longText);
  EXPECT_EQ(std::string(message.getSender()).size(), 255u);
}

TEST(ClientEvents, ChatMessageStartsUnhandled) {
  VantorClientDidGetMessageEvent e("hello", "Administrator", 0);
  EXPECT_EQ(e.getHandled(), 0);
  e.setHandled(1);
  EXPECT_EQ(e.getHandled(), 1);
  EXPECT_STREQ(e.getText(), "hello");
  EXPECT_STREQ(e.getSender(), "Administrator");
  EXPECT_EQ(e.getBroadcast(), 0);
}

TEST(ClientEvents, GameEventNameIsReplacedByACopy) {
  VantorClientGame game(3);
  VantorClientGameEvent e(&game, kPlayerPassed);
  EXPECT_EQ(e.getGame(), &game);
  EXPECT_EQ(e.getKind(), kPlayerPassed);
  EXPECT_EQ(e.getName(), nullptr);
  e.setName("first");
  e.setName("second");
  EXPECT_STREQ(e.getName(), "second");
}

TEST(ClientEvents, PlayerInformationKeepsNameAndDescription) {
  VantorPlayerInfoEvent e("Pee[Bot]", "A computer player");
  EXPECT_STREQ(e.getName(), "Pee[Bot]");
  EXPECT_STREQ(e.getDescription(), "A computer player");
  EXPECT_EQ(VantorRefuseSpectateEvent(9).getGameId(), 9);
}

TEST(GameOptions, DefaultToInviterFirstWithSpectators) {
  VantorGameOptions options;
  EXPECT_EQ(options.getColourChoice(), 0);
  EXPECT_TRUE(options.getSpectatorsAllowed());
  options.setColourChoice(1);
  options.setSpectatorsAllowed(false);
  EXPECT_EQ(options.getColourChoice(), 1);
  EXPECT_FALSE(options.getSpectatorsAllowed());
}
