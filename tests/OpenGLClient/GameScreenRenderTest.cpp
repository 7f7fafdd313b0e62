// The game screen in a real window on a private X server: a known position
// is drawn, the pixels are read back and checked, and the screenshots are
// kept as test artefacts for a person to look at.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "OpenGLClient/BoardView.h"
#include "OpenGLClient/GameOverMenu.h"
#include "OpenGLClient/GameOverMenuListener.h"
#include "OpenGLClient/GameScreen.h"
#include "OpenGLClient/GameScreenListener.h"
#include "OpenGLClient/MessageOverlay.h"
#include "OpenGLClient/PngLoader.h"
#include "OpenGLClient/Texture.h"
#include "OpenGLClient/TextureFont.h"
#include "game/VantorGame.h"
#include "tests/OpenGLClient/RenderWindow.h"

namespace {

const std::string kDataDir = VANTOR_TEST_DATA_DIR;

// The background picture as the window shows it.
class Background {
 public:
  Background() : image_(loadPng(kDataDir + "/PNG/gamebg.png", false)) {}
  bool loaded() const { return image_.width == 512 && image_.height == 512; }
  Rgb at(int x, int y) const {
    // Window (x, y) is picture row y + 32; rows are stored bottom first.
    const size_t row = 511 - (y + 32);
    const size_t i = (row * 512 + x) * 3;
    return Rgb{image_.pixels[i], image_.pixels[i + 1], image_.pixels[i + 2]};
  }

 private:
  PngImage image_;
};

class NullListener : public vgl::GameScreenListener, public vgl::GameOverMenuListener {
 public:
  void leaveGame() override {}
  void playMove(int, int) override {}
  void gameOverDismissed() override {}
};

// Plays the first legal move of the side to move, passing when it must.
bool playFirstMove(VantorGame& game) {
  for (int y = 1; y <= 8; ++y) {
    for (int x = 1; x <= 8; ++x) {
      if (game.canPlay(x, y)) return game.play(x, y);
    }
  }
  game.switchTurn();
  return false;
}

class GameScreenRender : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!RenderWindow::open()) return;
    textFont_ = new TextureFont;
    textFont_->init(kDataDir + "/TTF/matisse.ttf", 20);
    countFont_ = new TextureFont;
    countFont_->init(kDataDir + "/TTF/matisse.ttf", 30);
    largeFont_ = new TextureFont;
    largeFont_->init(kDataDir + "/TTF/matisse.ttf", 35);
  }

  static void TearDownTestSuite() {
    delete textFont_;
    delete countFont_;
    delete largeFont_;
  }

  void SetUp() override {
    ASSERT_TRUE(RenderWindow::open()) << RenderWindow::error();
    ASSERT_TRUE(background_.loaded());
    overlay_ = std::make_unique<vgl::MessageOverlay>(kDataDir);
    overlay_->setFont(largeFont_);
    vgl::gMessageOverlay = overlay_.get();
    screen_ = std::make_unique<vgl::GameScreen>(&listener_, kDataDir);
    screen_->initialise(textFont_, countFont_);
    gameOver_ = std::make_unique<vgl::GameOverMenu>(&listener_, kDataDir);
    gameOver_->setFont(largeFont_);
    screen_->reset();
    screen_->show();
    screen_->setTurnTexts(L"C'est a Chicken de jouer", L"C'est votre tour");
    screen_->setResultTexts(L"Chicken wins", L"You win");
    screen_->setPassTexts(L"Chicken doit passer", L"Vous devez passer");
  }

  void TearDown() override {
    vgl::gMessageOverlay = nullptr;
    gameOver_.reset();
    screen_.reset();
    overlay_.reset();
  }

  // Twelve moves into a game, the last one a single new disc.
  void showKnownPosition() {
    VantorGame game;
    for (int k = 0; k < 11; ++k) playFirstMove(game);
    screen_->takeGame(game);
    settle();
    playFirstMove(game);
    screen_->takeGame(game);
    game_ = game;
    if (game.getTurn() == kWhite) {
      screen_->showWhiteToMove();
    } else {
      screen_->showBlackToMove();
    }
    settle();
  }

  void settle() {
    for (int k = 0; k < 300; ++k) screen_->tick(0.05f);
  }

  // What the controller draws in one frame, in its order.
  void drawFrame() {
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    screen_->drawBackground();
    screen_->draw();
    gameOver_->draw();
    overlay_->draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }

  // The centre of an empty cell of the known position under the band that
  // notices and the game-over banner draw across (rows 3 and 4), or -1.
  std::pair<int, int> emptyCellUnderBand() const {
    for (int j : {3, 4}) {
      for (int i = 0; i < 8; ++i) {
        if (game_.getCell(i + 1, j + 1) != 0) continue;
        return {static_cast<int>(vgl::BoardView::cellCentreX(i)) + 8,
                static_cast<int>(vgl::BoardView::cellCentreY(j)) + (j == 3 ? 8 : -8)};
      }
    }
    return {-1, -1};
  }

  // The mean luminance of the 25 x 25 pixels around (x, y) of a screenshot,
  // or of the background picture when shot is null.
  double meanLuminance(const Screenshot* shot, int x, int y) const {
    double sum = 0;
    for (int dy = -12; dy <= 12; ++dy) {
      for (int dx = -12; dx <= 12; ++dx) {
        sum += (shot != nullptr ? shot->at(x + dx, y + dy) : background_.at(x + dx, y + dy))
                   .luminance();
      }
    }
    return sum / (25 * 25);
  }

  // The box of pixels that differ clearly from the background picture.
  struct Box {
    int x0 = 1000, y0 = 1000, x1 = -1, y1 = -1;
    bool empty() const { return x1 < 0; }
  };
  Box inkBox(const Screenshot& shot, int x0, int y0, int x1, int y1) const {
    Box box;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        if (distance(shot.at(x, y), background_.at(x, y)) < 60) continue;
        box.x0 = std::min(box.x0, x);
        box.y0 = std::min(box.y0, y);
        box.x1 = std::max(box.x1, x);
        box.y1 = std::max(box.y1, y);
      }
    }
    return box;
  }
  // Where the font's quads put the ink of text printed at (x, y).
  static Box expectedInk(const TextureFont& font, float x, float y, const std::wstring& text) {
    Box box;
    for (const TextureFont::Placement& p : font.layout(x, y, text)) {
      const float* v = font.quadVertices(p.code);
      if (v[4] <= v[0]) continue;
      box.x0 = std::min(box.x0, static_cast<int>(std::lround(p.x + v[0])));
      box.x1 = std::max(box.x1, static_cast<int>(std::lround(p.x + v[4])) - 1);
      box.y0 = std::min(box.y0, static_cast<int>(std::lround(kHeight - (p.y + v[1]))));
      box.y1 = std::max(box.y1, static_cast<int>(std::lround(kHeight - (p.y + v[3]))) - 1);
    }
    return box;
  }

  static TextureFont* textFont_;
  static TextureFont* countFont_;
  static TextureFont* largeFont_;
  Background background_;
  NullListener listener_;
  std::unique_ptr<vgl::MessageOverlay> overlay_;
  std::unique_ptr<vgl::GameScreen> screen_;
  std::unique_ptr<vgl::GameOverMenu> gameOver_;
  VantorGame game_;
};

TextureFont* GameScreenRender::textFont_ = nullptr;
TextureFont* GameScreenRender::countFont_ = nullptr;
TextureFont* GameScreenRender::largeFont_ = nullptr;

TEST_F(GameScreenRender, ShowsWhiteDiscsLightBlackDiscsDarkAndEmptyCellsAsTheBoard) {
  showKnownPosition();
  drawFrame();
  const Screenshot shot;
  EXPECT_TRUE(shot.save("game-screen.png"));
  const vgl::BoardView& board = screen_->board();
  ASSERT_NE(board.lastColumn(), -1);
  int white = 0, black = 0, empty = 0;
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      if (i == board.lastColumn() && j == board.lastRow()) continue;
      const int x = static_cast<int>(vgl::BoardView::cellCentreX(i));
      const int y = static_cast<int>(vgl::BoardView::cellCentreY(j));
      const Rgb p = shot.around(x, y);
      const int cell = game_.getCell(i + 1, j + 1);
      if (cell == kWhite) {
        EXPECT_GT(p.luminance(), 150) << "white disc at column " << i << ", row " << j;
        ++white;
      } else if (cell == kBlack) {
        EXPECT_LT(p.luminance(), 90) << "black disc at column " << i << ", row " << j;
        ++black;
      } else {
        EXPECT_LE(distance(p, background_.at(x, y)), 12) << "empty cell " << i << ", " << j;
        ++empty;
      }
    }
  }
  EXPECT_GT(white, 2);
  EXPECT_GT(black, 2);
  EXPECT_GT(empty, 40);
}

TEST_F(GameScreenRender, MarksTheLastMoveWithAReddishDisc) {
  showKnownPosition();
  drawFrame();
  const Screenshot shot;
  const vgl::BoardView& board = screen_->board();
  ASSERT_NE(board.lastColumn(), -1);
  const Rgb p = shot.around(static_cast<int>(vgl::BoardView::cellCentreX(board.lastColumn())),
                            static_cast<int>(vgl::BoardView::cellCentreY(board.lastRow())));
  EXPECT_GT(p.r, p.g + 30);
  EXPECT_GT(p.r, p.b + 30);
}

TEST_F(GameScreenRender, DrawsTheCountsWhereTheFontPutsTheirDigits) {
  showKnownPosition();
  drawFrame();
  const Screenshot shot;
  const std::wstring whiteCount = std::to_wstring(game_.count(kWhite));
  const std::wstring blackCount = std::to_wstring(game_.count(kBlack));
  for (const auto& [x, text] : {std::make_pair(110, whiteCount), std::make_pair(250, blackCount)}) {
    const Box expected = expectedInk(*countFont_, static_cast<float>(x), 388, text);
    const Box seen = inkBox(shot, x - 8, 380, std::min(x + 60, kWidth - 2), 462);
    ASSERT_FALSE(seen.empty()) << "no ink for " << x;
    EXPECT_NEAR(seen.x0, expected.x0, 2) << x;
    EXPECT_NEAR(seen.x1, expected.x1, 2) << x;
    EXPECT_NEAR(seen.y0, expected.y0, 2) << x;
    EXPECT_NEAR(seen.y1, expected.y1, 2) << x;
  }
  // The two badges: a light disc at x 70, a dark one at x 210.
  EXPECT_GT(shot.around(70, 420).luminance(), 150);
  EXPECT_LT(shot.around(210, 420).luminance(), 90);
}

TEST_F(GameScreenRender, CentresTheStatusLineUnderTheBoard) {
  showKnownPosition();
  drawFrame();
  const Screenshot shot;
  const std::wstring status = screen_->status();
  const Box expected =
      expectedInk(*textFont_, 160 - textFont_->widestLine(status) / 2, 320, status);
  const Box seen = inkBox(shot, 20, 318, 300, 370);
  ASSERT_FALSE(seen.empty());
  EXPECT_NEAR(seen.x0, expected.x0, 2);
  EXPECT_NEAR(seen.x1, expected.x1, 2);
  EXPECT_NEAR((seen.x0 + seen.x1) / 2.0, 160, 3);
}

TEST_F(GameScreenRender, FadesTheGameOverPictureInOverTheFinalBoard) {
  showKnownPosition();
  screen_->showResult();
  settle();
  drawFrame();
  const Screenshot before;
  gameOver_->show();
  gameOver_->tick(0.5f);
  drawFrame();
  const Screenshot halfway;
  gameOver_->tick(1);
  drawFrame();
  const Screenshot after;
  EXPECT_TRUE(after.save("game-over.png"));
  // The banner covers the middle of the board, more when fully faded in.
  const auto [x, y] = emptyCellUnderBand();
  ASSERT_GE(x, 0) << "the known position leaves no empty cell under the banner";
  EXPECT_GT(distance(before.around(x, y), after.around(x, y)), 40);
  EXPECT_LT(distance(before.around(x, y), halfway.around(x, y)),
            distance(before.around(x, y), after.around(x, y)));
  // "Partie terminee" in gold letters across it.
  const Box title = inkBox(after, 20, 130, 300, 190);
  ASSERT_FALSE(title.empty());
  EXPECT_NEAR((title.x0 + title.x1) / 2.0, 160, 4);
  // The result line and the counts stay as they were.
  for (int y = 318; y < 460; y += 3) {
    for (int x = 10; x < 310; x += 3) {
      ASSERT_LE(distance(before.at(x, y), after.at(x, y)), 3) << x << ", " << y;
    }
  }
  // Discs stay readable under the veil: white light, black dark.
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      const int y = static_cast<int>(vgl::BoardView::cellCentreY(j));
      if (y > 110 && y < 210) continue;  // under the banner
      const int x = static_cast<int>(vgl::BoardView::cellCentreX(i));
      const int cell = game_.getCell(i + 1, j + 1);
      if (i == screen_->board().lastColumn() && j == screen_->board().lastRow()) continue;
      if (cell == kWhite) {
        EXPECT_GT(after.around(x, y).luminance(), 110);
      }
      if (cell == kBlack) {
        EXPECT_LT(after.around(x, y).luminance(), 70);
      }
    }
  }
}

TEST_F(GameScreenRender, ShowsANoticeOnItsBandAndAgesOnlyOnceDrawn) {
  showKnownPosition();
  drawFrame();
  const Screenshot plain;
  screen_->showInvalidMoveNotice();
  ASSERT_TRUE(overlay_->hasMessages());
  EXPECT_FALSE(overlay_->front().started);
  drawFrame();
  EXPECT_TRUE(overlay_->front().started);
  for (int k = 0; k < 4; ++k) {
    overlay_->tick(0.25f);
    screen_->tick(0.25f);
  }
  EXPECT_FLOAT_EQ(overlay_->front().elapsed, 1.0f);
  EXPECT_FLOAT_EQ(overlay_->front().remaining, 0.75f);
  overlay_->tick(-0.5f);  // back to full strength for the picture
  drawFrame();
  const Screenshot notice;
  EXPECT_TRUE(notice.save("notice.png"));
  const auto [x, y] = emptyCellUnderBand();
  ASSERT_GE(x, 0);
  EXPECT_LT(notice.around(x, y).luminance(), plain.around(x, y).luminance() - 20);
  const Box text = inkBox(notice, 20, 130, 300, 200);
  ASSERT_FALSE(text.empty());
  EXPECT_NEAR((text.x0 + text.x1) / 2.0, 160, 4);
  // After its time the notice is gone and the screen is as before.
  overlay_->tick(2);
  drawFrame();
  EXPECT_FALSE(overlay_->hasMessages());
}

TEST_F(GameScreenRender, LeansAFlippedDiscAndFadesANewOneIn) {
  VantorGame game;
  screen_->takeGame(game);
  settle();
  ASSERT_TRUE(game.play(5, 3));
  screen_->takeGame(game);
  screen_->showWhiteToMove();
  screen_->tick(0.25f);
  drawFrame();
  const Screenshot moving;
  EXPECT_TRUE(moving.save("game-screen-flip.png"));
  // The new disc at column 4, row 2 is a quarter faded in: its cell is
  // darker than the felt and lighter than under the settled disc.
  const int x = static_cast<int>(vgl::BoardView::cellCentreX(4));
  const int y = static_cast<int>(vgl::BoardView::cellCentreY(2));
  const double felt = meanLuminance(nullptr, x, y);
  const double fresh = meanLuminance(&moving, x, y);
  settle();
  drawFrame();
  const Screenshot settled;
  const double done = meanLuminance(&settled, x, y);
  EXPECT_LT(fresh, felt - 5);
  EXPECT_LT(done, fresh - 10);
}

}  // namespace
