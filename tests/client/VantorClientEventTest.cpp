#include <gtest/gtest.h>

#include "client/VantorAskGameEvent.h"
#include "client/VantorClientDidGetMessageEvent.h"
#include "client/VantorClientGameEvent.h"
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

TEST(ClientEvents, KeepCopiesOfTheirTexts) {
  VantorUpdateListEvent list;
  char name[] = "A";
  list.addName(name);
  name[0] = 'X';
  list.addName("B");
  ASSERT_EQ(list.count(), 2);
  EXPECT_STREQ(list.getName(0), "A");
  EXPECT_STREQ(list.getName(1), "B");

  VantorClientGameEvent pass(nullptr, kPlayerPassed);
  EXPECT_EQ(pass.getName(), nullptr);
  pass.setName("first");
  pass.setName("second");
  EXPECT_STREQ(pass.getName(), "second");
  VantorClientDidGetMessageEvent message("hi", "A", 1);
  message.setHandled(1);
  EXPECT_EQ(message.getHandled(), 1);
}
