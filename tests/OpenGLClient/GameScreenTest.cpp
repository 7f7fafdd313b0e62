// The game screen's logic without a window: picking, keys, texts, notices.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "OpenGLClient/GameScreen.h"
#include "OpenGLClient/GameScreenListener.h"
#include "OpenGLClient/MessageOverlay.h"
#include "game/VantorGame.h"

namespace {

using vgl::GameScreen;
using vgl::MessageOverlay;

class RecordingListener : public vgl::GameScreenListener {
 public:
  void leaveGame() override { ++leaves; }
  void playMove(int row, int column) override { moves.emplace_back(row, column); }

  int leaves = 0;
  std::vector<std::pair<int, int>> moves;
};

class ArrangedGame : public VantorGame {
 public:
  ArrangedGame() { clearBoard(board_); }
  void put(int x, int y, int colour) { board_[toIndex(x, y)] = static_cast<int8_t>(colour); }
};

class GameScreenTest : public ::testing::Test {
 protected:
  GameScreenTest() : overlay_("."), screen_(&listener_, ".") {
    vgl::gMessageOverlay = &overlay_;
    screen_.reset();
    screen_.setTurnTexts(L"Aux noirs de jouer", L"Aux blancs de jouer");
    screen_.setResultTexts(L"Les noirs gagnent", L"Les blancs gagnent");
    screen_.setPassTexts(L"Les noirs passent", L"Les blancs passent");
  }
  ~GameScreenTest() override { vgl::gMessageOverlay = nullptr; }

  RecordingListener listener_;
  MessageOverlay overlay_;
  GameScreen screen_;
};

TEST_F(GameScreenTest, PicksTheCellUnderAClickOnlyOnTheBoard) {
  const std::pair<int, int> kNone{-1, -1};
  struct Pick {
    int x, y;
    std::pair<int, int> rowAndColumn;
  };
  for (const Pick& pick : {Pick{20 + 35 * 2 + 10, 20 + 35 * 5 + 30, {5, 2}}, Pick{20, 20, {0, 0}},
                           Pick{299, 299, {7, 7}}, Pick{19, 20, kNone}, Pick{20, 19, kNone},
                           Pick{300, 100, kNone}, Pick{100, 300, kNone}}) {
    listener_.moves.clear();
    screen_.acceptInput();
    screen_.click(pick.x, pick.y);
    if (pick.rowAndColumn == kNone) {
      EXPECT_TRUE(listener_.moves.empty()) << pick.x << ", " << pick.y;
      EXPECT_TRUE(screen_.inputEnabled()) << pick.x << ", " << pick.y;
    } else {
      EXPECT_EQ(listener_.moves, (std::vector{pick.rowAndColumn})) << pick.x << ", " << pick.y;
      EXPECT_FALSE(screen_.inputEnabled());
    }
  }
}

TEST_F(GameScreenTest, AcceptsOneClickPerPermitAndLeavesOnEscapeOnly) {
  screen_.click(100, 100);
  EXPECT_TRUE(listener_.moves.empty());
  screen_.acceptInput();
  screen_.click(100, 100);
  screen_.click(150, 150);
  EXPECT_EQ(listener_.moves.size(), 1u);
  screen_.acceptInput();
  screen_.click(150, 150);
  EXPECT_EQ(listener_.moves.size(), 2u);
  screen_.key(13);
  screen_.key('q');
  EXPECT_EQ(listener_.leaves, 0);
  screen_.key(27);
  EXPECT_EQ(listener_.leaves, 1);
}

TEST_F(GameScreenTest, CountsTheDiscsOfTheGameItTakesUntilReset) {
  ArrangedGame game;
  game.put(1, 1, kWhite);
  game.put(2, 1, kWhite);
  game.put(3, 1, kWhite);
  game.put(8, 8, kBlack);
  screen_.acceptInput();
  screen_.showWhiteToMove();
  screen_.takeGame(game);
  EXPECT_EQ(screen_.whiteCount(), 3);
  EXPECT_EQ(screen_.blackCount(), 1);
  EXPECT_EQ(screen_.board().colour(0, 0), kWhite);
  EXPECT_EQ(screen_.board().colour(7, 7), kBlack);
  screen_.reset();
  EXPECT_EQ(screen_.blackCount(), 2);
  EXPECT_EQ(screen_.whiteCount(), 2);
  EXPECT_EQ(screen_.turn(), 0);
  EXPECT_FALSE(screen_.inputEnabled());
}

TEST_F(GameScreenTest, ShowsTheTurnTextsAndQueuesThePassTextOfTheSideToMove) {
  screen_.showBlackToMove();
  EXPECT_EQ(screen_.status(), L"Aux noirs de jouer");
  EXPECT_EQ(screen_.turn(), -1);
  screen_.showWhiteToMove();
  EXPECT_EQ(screen_.status(), L"Aux blancs de jouer");
  EXPECT_EQ(screen_.turn(), 1);
  screen_.showPassNotice();
  EXPECT_EQ(screen_.status(), L"Les blancs passent");
  ASSERT_EQ(overlay_.size(), 1u);
  EXPECT_EQ(overlay_.front().text, L"Les blancs passent");
  EXPECT_FLOAT_EQ(overlay_.front().remaining, 2.0f);
}

TEST_F(GameScreenTest, ShowsTheWinnersTextOrMatchNul) {
  ArrangedGame game;
  game.put(1, 1, kBlack);
  screen_.takeGame(game);
  screen_.showBlackToMove();
  screen_.tick(20);
  screen_.showResult();
  EXPECT_EQ(screen_.currentRate(), 25.0f);
  EXPECT_EQ(screen_.status(), L"Les noirs gagnent");
  EXPECT_EQ(screen_.turn(), 0);
  game.put(2, 1, kWhite);
  game.put(3, 1, kWhite);
  screen_.takeGame(game);
  screen_.showResult();
  EXPECT_EQ(screen_.status(), L"Les blancs gagnent");
  game.put(4, 1, kBlack);
  screen_.takeGame(game);
  screen_.setResultTexts(L"x", L"y");
  screen_.showResult();
  EXPECT_EQ(screen_.status(), L"Match nul");
  // After the result, a pass notice repeats the result.
  screen_.showPassNotice();
  EXPECT_EQ(screen_.status(), L"Match nul");
  ASSERT_EQ(overlay_.size(), 1u);
  EXPECT_EQ(overlay_.front().text, L"Match nul");
}

TEST_F(GameScreenTest, ShowsTheInvalidMoveAndAbandonNoticesOnceEachKickingTheRate) {
  screen_.tick(0.5f);
  EXPECT_FLOAT_EQ(screen_.badgePhase(), 25) << "fifty degrees a second";
  screen_.tick(20);
  EXPECT_EQ(screen_.currentRate(), 7.0f);
  screen_.showInvalidMoveNotice();
  screen_.showInvalidMoveNotice();
  EXPECT_EQ(screen_.currentRate(), 25.0f);
  EXPECT_EQ(screen_.status(), L"Coup invalide");
  ASSERT_EQ(overlay_.size(), 1u);
  EXPECT_FLOAT_EQ(overlay_.front().remaining, 1.75f);
  screen_.tick(20);
  screen_.showAbandonNotice();
  EXPECT_EQ(screen_.currentRate(), 25.0f);
  EXPECT_EQ(screen_.status(), L"Abandon");
  ASSERT_EQ(overlay_.size(), 2u);
  // Without an overlay the status still changes.
  vgl::gMessageOverlay = nullptr;
  screen_.showInvalidMoveNotice();
  EXPECT_EQ(screen_.status(), L"Coup invalide");
}

}  // namespace
