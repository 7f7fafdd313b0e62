// The one table of the computer players, which the server's roster and the
// front end's list of opponents both read.
#include <gtest/gtest.h>

#include <string>

#include "wire/VantorComputerPlayers.h"

using Kind = VantorComputerPlayerKind;

TEST(ComputerPlayers, ListsTheSevenInRosterOrderWithTheirKindLevelAndShortName) {
  struct Expected {
    const char* nick;
    Kind kind;
    int level;
    const wchar_t* displayName;
  };
  const Expected expected[kComputerPlayerCount] = {
      {"Pee[Bot]", Kind::DeepBlue, 1, L"Pee"},
      {"Chicken[Bot]", Kind::DeepBlue, 3, L"Chicken"},
      {"Baby[Bot]", Kind::DeepBlue, 5, L"Baby"},
      {"Britney[Bot]", Kind::GrayThough, 1, L"Britney"},
      {"Desdemonia[Bot]", Kind::GrayThough, 3, L"Desdemonia"},
      {"Cassio[Bot]", Kind::GrayThough, 5, L"Cassio"},
      {"William[Bot]", Kind::GrayThough, 7, L"William"},
  };
  for (int k = 0; k < kComputerPlayerCount; ++k) {
    EXPECT_STREQ(kComputerPlayers[k].nick, expected[k].nick) << k;
    EXPECT_EQ(kComputerPlayers[k].kind, expected[k].kind) << k;
    EXPECT_EQ(kComputerPlayers[k].level, expected[k].level) << k;
    EXPECT_STREQ(kComputerPlayers[k].displayName, expected[k].displayName) << k;
  }
}

TEST(ComputerPlayers, FindsEachPlayerByKindAndLevelAndNoneForALevelWithoutOne) {
  for (const VantorComputerPlayer& player : kComputerPlayers) {
    EXPECT_EQ(findComputerPlayer(player.kind, player.level), &player) << player.nick;
  }
  EXPECT_EQ(findComputerPlayer(Kind::DeepBlue, 7), nullptr);
  EXPECT_EQ(findComputerPlayer(Kind::GrayThough, 2), nullptr);
  EXPECT_EQ(findComputerPlayer(Kind::DeepBlue, -1), nullptr);
}
