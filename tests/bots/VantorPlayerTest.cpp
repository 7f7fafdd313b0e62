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

TEST(Player, RegistersForItsLifeUnderTheNextSerialUnlessBuiltOnAName) {
  FakeLobby lobby;
  VantorPlayer* first = new VantorPlayer(&lobby);
  VantorPlayer administrator(std::string("Administrator"));
  VantorPlayer second(&lobby);
  EXPECT_GE(serialOf(*first), 1);
  EXPECT_EQ(serialOf(second), serialOf(*first) + 1);
  EXPECT_EQ(lobby.registered, (std::vector<VantorPlayer*>{first, &second}));
  EXPECT_TRUE(first->isRegistered());
  EXPECT_EQ(first->getServer(), &lobby);
  EXPECT_EQ(first->getDescription(), "No description.");
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

TEST(BotRoster, CreatesTheSevenBotsInOrderTakingTheNextSevenSerials) {
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
  // A level without a name keeps the default one.
  EXPECT_EQ(VantorDeepBlue(&lobby, 2).getName().rfind("Player", 0), 0u);
  EXPECT_EQ(VantorDeepBlue::nameForLevel(8), "");
  EXPECT_EQ(VantorGrayThough::nameForLevel(-1), "");
}

TEST(BotRoster, DescribesEachKindWithItsOwnText) {
  EXPECT_EQ(VantorDeepBlue(nullptr, 1).getDescription(),
            "Deep Blue was born in 1997 in a computer research laboratory. It was intended to be "
            "the best chess player of the planet, but after it failed to archieve victory against "
            "a famous Russian, it escaped from the lab... Deep Blue then tried to make a living "
            "as an Vantor AI, despite of the fact it is definitively not very good at this game!");
  EXPECT_EQ(VantorGrayThough(nullptr, 7).getDescription(),
            "Gray Though is Deep Blue's evil face. It appeared suddently from a computer bug, "
            "during a dark, stormy night. No one knows what is inside this AI, but it plays damn "
            "good!");
}
