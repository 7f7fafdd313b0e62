// Players on a lobby, and the computer players a server starts with. Their
// serial numbers are counted from the start of a process of their own, in
// FirstPlayersTest.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "bots/VantorBotRoster.h"
#include "bots/VantorDeepBlue.h"
#include "bots/VantorPlayer.h"
#include "tests/bots/FakeLobby.h"
#include "wire/VantorComputerPlayers.h"

TEST(Player, RegistersForItsLifeUnlessBuiltOnAName) {
  FakeLobby lobby;
  VantorPlayer* first = new VantorPlayer(&lobby);
  VantorPlayer administrator(std::string("Administrator"));
  VantorPlayer second(&lobby);
  EXPECT_EQ(lobby.registered, (std::vector<VantorPlayer*>{first, &second}));
  EXPECT_TRUE(first->isRegistered());
  EXPECT_EQ(first->getServer(), &lobby);
  delete first;
  EXPECT_EQ(lobby.unregistered, std::vector<VantorPlayer*>{first});
  // The name-built one belongs to no lobby.
  EXPECT_EQ(administrator.getName(), "Administrator");
  EXPECT_EQ(administrator.getServer(), nullptr);
  EXPECT_FALSE(administrator.isRegistered());
}

TEST(Player, HasAnIdNoOtherPlayerEverHad) {
  FakeLobby lobby;
  std::set<uint64_t> ids;
  for (int i = 0; i < 50; ++i) {
    VantorPlayer* player =
        i % 2 == 0 ? new VantorPlayer(&lobby) : new VantorPlayer(std::string("X"));
    EXPECT_TRUE(ids.insert(player->getId()).second);
    delete player;
  }
}

TEST(BotRoster, RegistersTheComputerPlayersOfTheTableInItsOrderWithTheirKindAndLevel) {
  FakeLobby lobby;
  std::vector<VantorServerBot*> bots = createBotRoster(&lobby);
  ASSERT_EQ(bots.size(), static_cast<size_t>(kComputerPlayerCount));
  EXPECT_EQ(lobby.registered, std::vector<VantorPlayer*>(bots.begin(), bots.end()));
  for (int i = 0; i < kComputerPlayerCount; ++i) {
    const bool deepBlue = kComputerPlayers[i].kind == VantorComputerPlayerKind::DeepBlue;
    EXPECT_EQ(bots[i]->getName(), kComputerPlayers[i].nick);
    VantorMinMaxBot* bot = dynamic_cast<VantorMinMaxBot*>(bots[i]);
    ASSERT_NE(bot, nullptr);
    EXPECT_EQ(bot->getDepth(), kComputerPlayers[i].level);
    EXPECT_EQ(bot->getEvaluationKind(),
              deepBlue ? VantorEvaluationKind::DeepBlue : VantorEvaluationKind::GrayThough);
    // Each kind tells its own story.
    EXPECT_EQ(bot->getDescription().rfind(deepBlue ? "Deep Blue " : "Gray Though ", 0), 0u);
  }
  for (VantorServerBot* bot : bots) delete bot;
  EXPECT_EQ(lobby.unregistered.size(), bots.size());
  // A level without a name in the table keeps the default one.
  EXPECT_EQ(VantorDeepBlue(&lobby, 2).getName().rfind("Player", 0), 0u);
}
