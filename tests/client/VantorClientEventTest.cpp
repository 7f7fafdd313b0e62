#include <gtest/gtest.h>

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
}
