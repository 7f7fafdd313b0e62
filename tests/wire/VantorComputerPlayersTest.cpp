// The one table of the computer players, which the server's roster and the
// front end's list of opponents both read: what must hold of any table. The
// order the server registers them in is checked against a real server with
// the client's tests.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "wire/VantorComputerPlayers.h"

TEST(ComputerPlayers, EachIsFoundByKindAndLevelUnderNamesNoOtherHas) {
  std::set<std::string> nicks;
  std::set<std::wstring> displayNames;
  std::pair<VantorComputerPlayerKind, int> previous{VantorComputerPlayerKind::DeepBlue, 0};
  for (const VantorComputerPlayer& player : kComputerPlayers) {
    EXPECT_EQ(findComputerPlayer(player.kind, player.level), &player) << player.nick;
    // Roster order: Deep Blue first, then Gray Though, each by rising level.
    EXPECT_LT(previous, std::make_pair(player.kind, player.level)) << player.nick;
    previous = {player.kind, player.level};
    // The front end shows the nick-name the server knows, without its tag.
    const std::string nick = player.nick;
    EXPECT_EQ(std::wstring(nick.begin(), nick.end()), player.displayName + std::wstring(L"[Bot]"));
    nicks.insert(nick);
    displayNames.insert(player.displayName);
  }
  EXPECT_EQ(nicks.size(), size_t{kComputerPlayerCount});
  EXPECT_EQ(displayNames.size(), size_t{kComputerPlayerCount});
  EXPECT_EQ(findComputerPlayer(VantorComputerPlayerKind::DeepBlue, 7), nullptr);
  EXPECT_EQ(findComputerPlayer(VantorComputerPlayerKind::GrayThough, 2), nullptr);
}
