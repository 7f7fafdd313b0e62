// Alone in its executable: these must be the first players of the process.
#include <gtest/gtest.h>

#include "bots/VantorBotRoster.h"
#include "bots/VantorServerBot.h"
#include "tests/bots/FakeLobby.h"

TEST(FirstPlayers, TheSevenBotsTakeSerialsOneToSevenSoTheFirstPersonIsPlayer8) {
  FakeLobby lobby;
  VantorPlayer administrator(std::string("Administrator"));
  std::vector<VantorServerBot*> bots = createBotRoster(&lobby);
  VantorPlayer person(&lobby);
  EXPECT_EQ(person.getName(), "Player8");
  for (VantorServerBot* bot : bots) delete bot;
}
