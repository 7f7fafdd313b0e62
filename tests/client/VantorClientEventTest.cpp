#include <gtest/gtest.h>

#include "client/VantorClientDidGetMessageEvent.h"
#include "client/VantorClientGameEvent.h"
#include "client/VantorUpdateListEvent.h"

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
