// The game screen's logic without a window: picking, keys, a reset, the
// result and notice texts, and the frame rate the notices kick. The counts
// after a move are the controller test's, their digits the render test's.
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
    screen_.setResultTexts(L"Les noirs gagnent", L"Les blancs gagnent");
    screen_.setPassTexts(L"Les noirs passent", L"Les blancs passent");
  }
  ~GameScreenTest() override { vgl::gMessageOverlay = nullptr; }

  RecordingListener listener_;
  MessageOverlay overlay_;
  GameScreen screen_;
};

TEST_F(GameScreenTest, PicksTheCellUnderAClickOnTheBoardOncePerPermitAndLeavesOnEscapeOnly) {
  screen_.click(100, 100);
  EXPECT_TRUE(listener_.moves.empty()) << "no permit";
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
    screen_.click(150, 150);
    if (pick.rowAndColumn == kNone) {
      // Off the board: the permit stays for the next click, at (3, 3).
      EXPECT_EQ(listener_.moves, (std::vector<std::pair<int, int>>{{3, 3}}))
          << pick.x << ", " << pick.y;
    } else {
      EXPECT_EQ(listener_.moves, (std::vector{pick.rowAndColumn})) << pick.x << ", " << pick.y;
      EXPECT_FALSE(screen_.inputEnabled());
    }
  }
  screen_.acceptInput();
  screen_.reset();
  EXPECT_FALSE(screen_.inputEnabled()) << "a new game waits for its turn";
  screen_.key(13);
  screen_.key('q');
  EXPECT_EQ(listener_.leaves, 0);
  screen_.key(27);
  EXPECT_EQ(listener_.leaves, 1);
}

TEST_F(GameScreenTest, ShowsTheWinnersTextOrMatchNulWhichAPassNoticeThenRepeats) {
  ArrangedGame game;
  game.put(1, 1, kBlack);
  for (int x : {2, 3}) game.put(x, 1, kWhite);
  screen_.takeGame(game);
  EXPECT_EQ(screen_.whiteCount(), 2);
  screen_.showBlackToMove();
  screen_.showResult();
  EXPECT_EQ(screen_.status(), L"Les blancs gagnent");
  EXPECT_EQ(screen_.turn(), 0);
  game.put(4, 1, kBlack);
  screen_.takeGame(game);
  screen_.setResultTexts(L"x", L"y");
  screen_.showResult();
  EXPECT_EQ(screen_.status(), L"Match nul");
  screen_.showPassNotice();
  EXPECT_EQ(screen_.status(), L"Match nul");
  ASSERT_EQ(overlay_.size(), 1u);
  EXPECT_EQ(overlay_.front().text, L"Match nul");
}

TEST_F(GameScreenTest, ShowsTheInvalidMoveAndAbandonNoticesKickingTheRateWithOrWithoutAnOverlay) {
  for (MessageOverlay* overlay : {&overlay_, static_cast<MessageOverlay*>(nullptr)}) {
    vgl::gMessageOverlay = overlay;
    screen_.tick(20);
    EXPECT_EQ(screen_.currentRate(), 7.0f);
    screen_.showInvalidMoveNotice();
    EXPECT_EQ(screen_.currentRate(), 25.0f);
    EXPECT_EQ(screen_.status(), L"Coup invalide");
    screen_.tick(20);
    screen_.showAbandonNotice();
    EXPECT_EQ(screen_.currentRate(), 25.0f);
    EXPECT_EQ(screen_.status(), L"Abandon");
  }
  EXPECT_EQ(overlay_.size(), 2u);
}

}  // namespace
