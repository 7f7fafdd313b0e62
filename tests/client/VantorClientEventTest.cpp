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

TEST(ClientEvents, KeepCopiesOfTheirTextsCutToTheirFieldSizes) {
  VantorUpdateListEvent list;
  char name[] = "A";
  list.addName(name);
  name[0] = 'X';
  list.addName("B");
  ASSERT_EQ(list.count(), 2);
  EXPECT_STREQ(list.getName(0), "A");
  EXPECT_STREQ(list.getName(1), "B");

  const std::string longText(2000, 'n');
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
  EXPECT_EQ(message.getHandled(), 0);
  message.setHandled(1);
  EXPECT_EQ(message.getHandled(), 1);

  VantorClientGameEvent pass(nullptr, kPlayerPassed);
  EXPECT_EQ(pass.getName(), nullptr);
  pass.setName("first");
  pass.setName("second");
  EXPECT_STREQ(pass.getName(), "second");
}

TEST(GameOptions, DefaultToInviterFirstWithSpectators) {
  VantorGameOptions options;
  EXPECT_EQ(options.getColourChoice(), 0);
  EXPECT_TRUE(options.getSpectatorsAllowed());
}
