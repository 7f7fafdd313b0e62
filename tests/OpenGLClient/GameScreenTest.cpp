// The game screen's logic without a window: picking, keys, a reset, the
// result and notice texts, and the frame rate the notices kick. The counts
// after a move are the controller test's, their digits the render test's.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "OpenGLClient/GameScreen.h"
#include "OpenGLClient/GameScreenListener.h"
#include "OpenGLClient/Keys.h"
#include "OpenGLClient/MessageOverlay.h"
#include "game/VantorGame.h"

namespace {

using vgl::GameScreen;
using vgl::MessageOverlay;

class RecordingListener : public vgl::GameScreenListener {
 public:
  void leaveGame() override { ++leaves; }
  void playMove(int row, int column) override { moves.emplace_back(row, column); }
  void hintsToggled(bool shown) override { hints.push_back(shown); }

  int leaves = 0;
  std::vector<std::pair<int, int>> moves;
  std::vector<bool> hints;
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

TEST_F(GameScreenTest, ArrowsMoveACursorKeptOnTheBoardWhichEnterOrSpacePlaysOncePerPermit) {
  EXPECT_FALSE(screen_.cursorShown());
  screen_.key(vgl::kKeyRight);
  EXPECT_TRUE(screen_.cursorShown());
  EXPECT_EQ(screen_.cursorColumn(), 3) << "the first arrow only shows the cursor";
  for (int k = 0; k < 10; ++k) screen_.key(vgl::kKeyRight);
  screen_.key(vgl::kKeyUp);
  EXPECT_EQ(screen_.cursorColumn(), 7);
  EXPECT_EQ(screen_.cursorRow(), 2);
  for (int k = 0; k < 10; ++k) screen_.key(vgl::kKeyLeft);
  for (int k = 0; k < 10; ++k) screen_.key(vgl::kKeyDown);
  screen_.key(vgl::kKeyEnter);
  EXPECT_TRUE(listener_.moves.empty()) << "no permit";
  screen_.acceptInput();
  screen_.key(vgl::kKeyEnter);
  screen_.key(vgl::kKeySpace);
  EXPECT_EQ(listener_.moves, (std::vector<std::pair<int, int>>{{7, 0}}));

  // The pointer over a cell takes the cursor there; off the board it stays.
  screen_.hover(20 + 35 * 4 + 1, 20 + 35 * 6 + 34);
  screen_.hover(310, 100);
  screen_.acceptInput();
  screen_.key(vgl::kKeySpace);
  EXPECT_EQ(listener_.moves.back(), std::make_pair(6, 4));
  screen_.reset();
  EXPECT_FALSE(screen_.cursorShown()) << "a new game starts without it";
}

TEST_F(GameScreenTest, MarksTheLegalMovesOfThePersonToMoveUnlessHHidThem) {
  const auto marked = [this] {
    std::vector<std::pair<int, int>> cells;
    for (int i = 0; i < 8; ++i) {
      for (int j = 0; j < 8; ++j) {
        if (screen_.showsMarker(i, j)) cells.emplace_back(i, j);
      }
    }
    return cells;
  };
  screen_.takeGame(VantorGame());
  screen_.showBlackToMove();
  EXPECT_TRUE(marked().empty()) << "the computer's turn, or a game watched";
  screen_.acceptInput();
  EXPECT_EQ(marked(), (std::vector<std::pair<int, int>>{{2, 4}, {3, 5}, {4, 2}, {5, 3}}));
  screen_.showWhiteToMove();
  EXPECT_EQ(marked(), (std::vector<std::pair<int, int>>{{2, 3}, {3, 2}, {4, 5}, {5, 4}}));
  screen_.key('h');
  EXPECT_TRUE(marked().empty());
  screen_.key('H');
  EXPECT_EQ(listener_.hints, (std::vector<bool>{false, true}));
  screen_.showBlackToMove();
  screen_.key(vgl::kKeyEnter);
  EXPECT_TRUE(marked().empty()) << "gone once the move is sent";
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
