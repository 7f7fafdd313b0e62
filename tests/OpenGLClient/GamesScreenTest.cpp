// The games screen without a window: rows from the game list, the user's
// own games left out of choice, refusals remembered across refreshes, the
// chosen row kept on its game, and the keys and bands that choose.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OpenGLClient/GamesScreen.h"
#include "OpenGLClient/GamesScreenListener.h"
#include "OpenGLClient/Keys.h"

namespace {

using Calls = std::vector<std::string>;
using Games = std::vector<vgl::GamesScreen::Game>;

class GamesScreenTest : public ::testing::Test, private vgl::GamesScreenListener {
 protected:
  void leaveGames() override { calls_.push_back("leave"); }
  void watchGame(int gameId) override { calls_.push_back("watch " + std::to_string(gameId)); }
  static int rowY(int k) { return vgl::GamesScreen::kFirstRowY + 19 * k + 5; }

  Calls calls_;
  vgl::GamesScreen screen_{this, "."};
};

TEST_F(GamesScreenTest, RowsNameBothPlayersAndMarkOwnAndRefusedGamesThroughRefreshes) {
  screen_.setGames({{3, "Bob", "Cid"}, {5, "Ann", "%s"}, {7, "Dan", "Eve"}}, "Ann");
  screen_.markRefused(7);
  ASSERT_EQ(screen_.rows().size(), 3u);
  EXPECT_EQ(screen_.rows()[0].text, L"Bob contre Cid");
  EXPECT_EQ(screen_.rows()[1].text, L"Ann contre %s (vous)");
  EXPECT_EQ(screen_.rows()[2].text, L"Dan contre Eve (sans spectateurs)");

  screen_.key(vgl::kKeyDown);
  screen_.key(vgl::kKeyDown);
  screen_.key(vgl::kKeyDown);
  screen_.key(vgl::kKeyDown);  // stops at the last row
  EXPECT_EQ(screen_.selected(), 2);
  screen_.setGames({{7, "Dan", "Eve"}, {9, "Fay", "Gus"}}, "Ann");
  EXPECT_EQ(screen_.selected(), 0) << "the chosen game, now first";
  EXPECT_EQ(screen_.rows()[0].text, L"Dan contre Eve (sans spectateurs)");
  screen_.setGames({}, "Ann");
  EXPECT_EQ(screen_.selected(), -1);
  screen_.key(vgl::kKeyEnter);
  EXPECT_TRUE(calls_.empty());
}

TEST_F(GamesScreenTest, EnterAClickOrTheArrowsChooseAGameButNotOnesOwnAndEscapeOrRetourLeave) {
  Games games{{3, "Bob", "Cid"}, {5, "Ann", "Dan"}};
  for (int k = 0; k < 20; ++k) games.push_back({10 + k, "P" + std::to_string(k), "Q"});
  screen_.setGames(games, "Ann");
  screen_.key(vgl::kKeyDown);
  screen_.key(vgl::kKeyEnter);
  screen_.key(vgl::kKeyDown);
  screen_.key(vgl::kKeyEnter);  // Ann's own game
  screen_.click(160, rowY(1));
  screen_.click(160, rowY(2));
  for (int k = 0; k < 20; ++k) screen_.key(vgl::kKeyDown);
  EXPECT_EQ(screen_.firstShown(), 22 - vgl::GamesScreen::kVisibleRows) << "the last row in sight";
  screen_.click(160, rowY(vgl::GamesScreen::kVisibleRows - 1));
  screen_.click(160, rowY(vgl::GamesScreen::kVisibleRows));  // below the rows
  screen_.key(vgl::kKeyUp);
  screen_.key(vgl::kSpecialKeys + 100);  // left: nothing
  screen_.key(vgl::kKeyEscape);
  screen_.click(160, 440);
  EXPECT_EQ(calls_, (Calls{"watch 3", "watch 10", "watch 29", "leave", "leave"}));
  EXPECT_EQ(screen_.selected(), 20);
}

}  // namespace
