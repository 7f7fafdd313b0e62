#include <gtest/gtest.h>

#include <set>
#include <string>

#include "bots/VantorBotRoster.h"
#include "bots/VantorDeepBlue.h"
#include "bots/VantorGrayThough.h"
#include "bots/VantorPlayer.h"
#include "tests/bots/FakeLobby.h"

namespace {

int serialOf(const VantorPlayer& player) {
  const std::string& name = player.getName();
  EXPECT_EQ(name.rfind("Player", 0), 0u) << name;
  return std::stoi(name.substr(6));
}

}  // namespace

TEST(Player, TakesTheNextSerialNumberAsItsDefaultName) {
  FakeLobby lobby;
  VantorPlayer first(&lobby);
  VantorPlayer second(&lobby);
  EXPECT_GE(serialOf(first), 1);
  EXPECT_EQ(serialOf(second), serialOf(first) + 1);
}

TEST(Player, RegistersAtConstructionAndUnregistersAtDestruction) {
  FakeLobby lobby;
  VantorPlayer* player = new VantorPlayer(&lobby);
  ASSERT_EQ(lobby.registered.size(), 1u);
  EXPECT_EQ(lobby.registered[0], player);
  EXPECT_TRUE(player->isRegistered());
  EXPECT_EQ(player->getServer(), &lobby);
  delete player;
  ASSERT_EQ(lobby.unregistered.size(), 1u);
  EXPECT_EQ(lobby.unregistered[0], player);
}

TEST(Player, BuiltOnANameBelongsToNoLobbyAndConsumesNoSerial) {
  FakeLobby lobby;
  VantorPlayer before(&lobby);
  VantorPlayer administrator(std::string("Administrator"));
  VantorPlayer after(&lobby);
  EXPECT_EQ(administrator.getName(), "Administrator");
  EXPECT_EQ(administrator.getServer(), nullptr);
  EXPECT_FALSE(administrator.isRegistered());
  EXPECT_EQ(serialOf(after), serialOf(before) + 1);
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

TEST(Player, DescribesItselfAsHavingNoDescription) {
  VantorPlayer player(std::string("Somebody"));
  EXPECT_EQ(player.getDescription(), "No description.");
  player.setName("Other");
  EXPECT_EQ(player.getName(), "Other");
}

TEST(BotRoster, CreatesTheSevenBotsInOrderAndTakesSerialsOneToSevenAfterThePlayersBefore) {
  FakeLobby lobby;
  VantorPlayer before(&lobby);
  std::vector<VantorServerBot*> bots = createBotRoster(&lobby);
  VantorPlayer after(&lobby);
  const char* names[] = {"Pee[Bot]",        "Chicken[Bot]", "Baby[Bot]",   "Britney[Bot]",
                         "Desdemonia[Bot]", "Cassio[Bot]",  "William[Bot]"};
  const int levels[] = {1, 3, 5, 1, 3, 5, 7};
  ASSERT_EQ(bots.size(), 7u);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(bots[i]->getName(), names[i]);
    EXPECT_EQ(lobby.registered[i + 1], bots[i]);
    VantorMinMaxBot* bot = dynamic_cast<VantorMinMaxBot*>(bots[i]);
    ASSERT_NE(bot, nullptr);
    EXPECT_EQ(bot->getDepth(), levels[i]);
    EXPECT_EQ(bot->getEvaluationKind(),
              i < 3 ? VantorEvaluationKind::DeepBlue : VantorEvaluationKind::GrayThough);
  }
  EXPECT_NE(dynamic_cast<VantorDeepBlue*>(bots[2]), nullptr);
  EXPECT_NE(dynamic_cast<VantorGrayThough*>(bots[3]), nullptr);
  EXPECT_EQ(serialOf(after), serialOf(before) + 8);
  for (VantorServerBot* bot : bots) delete bot;
  EXPECT_EQ(lobby.unregistered.size(), 7u);
}

TEST(BotRoster, DescribesEachKindWithItsOwnText) {
  VantorDeepBlue deepBlue(nullptr, 1);
  VantorGrayThough grayThough(nullptr, 7);
  EXPECT_EQ(deepBlue.getDescription(),
            "Deep Blue was born in 1997 in a computer research laboratory. It was intended to be "
            "the best chess player of the planet, but after it failed to archieve victory against "
            "a famous Russian, it escaped from the lab... Deep Blue then tried to make a living "
            "as an Vantor AI, despite of the fact it is definitively not very good at this game!");
  EXPECT_EQ(grayThough.getDescription(),
            "Gray Though is Deep Blue's evil face. It appeared suddently from a computer bug, "
            "during a dark, stormy night. No one knows what is inside this AI, but it plays damn "
            "good!");
}

TEST(BotRoster, LeavesTheDefaultNameToALevelWithoutOne) {
  FakeLobby lobby;
  VantorDeepBlue unnamed(&lobby, 2);
  VantorGrayThough named(&lobby, 5);
  EXPECT_EQ(unnamed.getName().rfind("Player", 0), 0u);
  EXPECT_EQ(named.getName(), "Cassio[Bot]");
  EXPECT_EQ(VantorDeepBlue::nameForLevel(8), "");
  EXPECT_EQ(VantorGrayThough::nameForLevel(-1), "");
}
