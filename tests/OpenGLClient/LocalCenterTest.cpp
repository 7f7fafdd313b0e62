// The local centre: the two-player band, the seven opponent bands, hover.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OpenGLClient/LocalCenter.h"
#include "OpenGLClient/LocalCenterListener.h"

namespace {

const wchar_t* const kNames[7] = {L"Pee",        L"Chicken", L"Baby",   L"Britney",
                                  L"Desdemonia", L"Cassio",  L"William"};

struct RecordingLocalCenterListener : vgl::LocalCenterListener {
  std::vector<std::string> calls;
  void backFromLocalCenter() override { calls.push_back("back"); }
  void playTwoPlayers() override { calls.push_back("two"); }
  void chooseComputerOpponent(int index) override {
    calls.push_back("opponent " + std::to_string(index));
  }
};

using Calls = std::vector<std::string>;

TEST(LocalCenter, TwoPlayersBandStartsATwoPlayerGame) {
  RecordingLocalCenterListener listener;
  vgl::LocalCenter centre(&listener, ".", kNames);
  centre.click(3, 41);
  centre.click(317, 77);
  centre.click(160, 40);
  centre.click(160, 78);
  EXPECT_EQ(listener.calls, (Calls{"two", "two"}));
}

TEST(LocalCenter, EachOpponentBandChoosesItsOpponent) {
  RecordingLocalCenterListener listener;
  vgl::LocalCenter centre(&listener, ".", kNames);
  for (int k = 0; k < 7; ++k) {
    centre.click(160, 126 + 49 * k);
    centre.click(160, 162 + 49 * k);
  }
  Calls expected;
  for (int k = 0; k < 7; ++k) {
    expected.push_back("opponent " + std::to_string(k));
    expected.push_back("opponent " + std::to_string(k));
  }
  EXPECT_EQ(listener.calls, expected);
}

TEST(LocalCenter, GapsBetweenOpponentsDoNothing) {
  RecordingLocalCenterListener listener;
  vgl::LocalCenter centre(&listener, ".", kNames);
  for (int k = 0; k < 7; ++k) centre.click(160, 163 + 49 * k);
  centre.click(160, 125);
  EXPECT_TRUE(listener.calls.empty());
}

TEST(LocalCenter, EscapeGoesBack) {
  RecordingLocalCenterListener listener;
  vgl::LocalCenter centre(&listener, ".", kNames);
  centre.key(13);
  centre.key(27);
  EXPECT_EQ(listener.calls, (Calls{"back"}));
}

TEST(LocalCenter, HoverLightsExactlyOneOpponent) {
  RecordingLocalCenterListener listener;
  vgl::LocalCenter centre(&listener, ".", kNames);
  centre.draw();
  centre.hover(50, 126 + 49 * 3 + 10);
  EXPECT_TRUE(centre.isDirty());
  for (int k = 0; k < 7; ++k) EXPECT_EQ(centre.isOpponentHovered(k), k == 3) << k;
  EXPECT_FALSE(centre.isTwoPlayersHovered());
  centre.draw();

  centre.hover(60, 126 + 49 * 3 + 20);
  EXPECT_FALSE(centre.isDirty());

  centre.hover(60, 50);
  EXPECT_TRUE(centre.isDirty());
  EXPECT_TRUE(centre.isTwoPlayersHovered());
  for (int k = 0; k < 7; ++k) EXPECT_FALSE(centre.isOpponentHovered(k)) << k;
}

}  // namespace
