// The one table of the computer players, which the server's roster and the
// front end's list of opponents both read: what must hold of any table. The
// server's own tests check the order in which it lists them.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "wire/VantorComputerPlayers.h"

TEST(ComputerPlayers, EachIsFoundByKindAndLevelUnderNamesNoOtherHas) {
  std::set<std::string> nicks;
  std::pair<VantorComputerPlayerKind, int> previous{VantorComputerPlayerKind::DeepBlue, 0};
  for (const VantorComputerPlayer& player : kComputerPlayers) {
    EXPECT_EQ(findComputerPlayer(player.kind, player.level), &player) << player.nick;
    // Roster order: Deep Blue first, then Gray Though, each by rising level.
    EXPECT_LT(previous, std::make_pair(player.kind, player.level)) << player.nick;
    previous = {player.kind, player.level};
    // The front end shows the nick-name the server knows, without its tag:
    // unique nick-names make unique display names.
    const std::string nick = player.nick;
    EXPECT_EQ(std::wstring(nick.begin(), nick.end()), player.displayName + std::wstring(L"[Bot]"));
    nicks.insert(nick);
  }
  EXPECT_EQ(nicks.size(), size_t{kComputerPlayerCount});
  EXPECT_EQ(findComputerPlayer(VantorComputerPlayerKind::DeepBlue, 7), nullptr);
  EXPECT_EQ(findComputerPlayer(VantorComputerPlayerKind::GrayThough, 2), nullptr);
}
