// The game screen in a real window on a private X server: a known position
// is drawn with its last-move marker, counts and status line, then the
// game-over picture fades in over it; the pixels are read back and checked,
// and the pictures are kept as test artefacts for a person to look at. The
// window tests read the discs of every cell and fit the long texts.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "OpenGLClient/BoardView.h"
#include "OpenGLClient/GameOverMenu.h"
#include "OpenGLClient/GameScreen.h"
#include "OpenGLClient/PngLoader.h"
#include "OpenGLClient/Texture.h"
#include "OpenGLClient/TextureFont.h"
#include "game/VantorGame.h"
#include "tests/OpenGLClient/Picture.h"
#include "tests/OpenGLClient/XvfbDisplay.h"

namespace {

const std::string kDataDir = VANTOR_TEST_DATA_DIR;

// Twelve moves into a game, the first legal one each time; black to move.
constexpr int kMoves[12][2] = {{5, 3}, {4, 3}, {3, 2}, {4, 2}, {3, 1}, {2, 1},
                               {1, 1}, {4, 1}, {5, 1}, {6, 2}, {5, 2}, {6, 1}};

constexpr auto centreX = [](int i) { return static_cast<int>(vgl::BoardView::cellCentreX(i)); };
constexpr auto centreY = [](int j) { return static_cast<int>(vgl::BoardView::cellCentreY(j)); };

constexpr int kWidth = 320, kHeight = 480;

class GameScreenRender : public ::testing::Test {
 protected:
  // One window for the suite, set up as the game's reshape callback sets it
  // up: an orthographic projection in window pixels.
  static void SetUpTestSuite() {
    const PngImage image = loadPng(kDataDir + "/PNG/gamebg.png", false);
    if (image.width == 512 && image.height == 512) {
      background_ = Picture::fromBottomRows(512, 512, 3, image.pixels.data()).crop(0, 32, 320, 480);
    }
    server_ = std::make_unique<XvfbDisplay>();
    if (!server_->started()) return;
    int argc = 1;
    char name[] = "render-test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowSize(kWidth, kHeight);
    glutCreateWindow("Vantor");
    glutDisplayFunc([] {});
    for (int k = 0; k < 5; ++k) glutMainLoopEvent();
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, kWidth, 0, kHeight, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glShadeModel(GL_SMOOTH);
    textFont_ = TextureFont::load(kDataDir + "/TTF/matisse.ttf", 20);
    countFont_ = TextureFont::load(kDataDir + "/TTF/matisse.ttf", 30);
    largeFont_ = TextureFont::load(kDataDir + "/TTF/matisse.ttf", 35);
  }
  static void TearDownTestSuite() {
    for (auto* font : {&textFont_, &countFont_, &largeFont_}) font->reset();
    if (server_->started()) glutExit();  // the window goes before its server
    server_.reset();
  }

  // The screens take no input here, so they have no listener.
  void SetUp() override {
    ASSERT_TRUE(server_->started()) << server_->error();
    ASSERT_FALSE(background_.empty());
    screen_ = std::make_unique<vgl::GameScreen>(nullptr, kDataDir);
    screen_->initialise(textFont_.get(), countFont_.get());
    gameOver_ = std::make_unique<vgl::GameOverMenu>(nullptr, kDataDir);
    gameOver_->setFont(largeFont_.get());
    screen_->reset();
    screen_->show();
    screen_->setTurnTexts(L"C'est a Chicken de jouer", L"C'est votre tour");
    screen_->setResultTexts(L"Chicken wins", L"You win");
  }

  // The back buffer as drawn so far, kept as an artefact when named.
  static Picture capture(const std::string& name = "") {
    std::vector<uint8_t> pixels(kWidth * kHeight * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    Picture shot = Picture::fromBottomRows(kWidth, kHeight, 3, pixels.data());
    if (!name.empty()) {
      EXPECT_TRUE(shot.writePng(std::string(VANTOR_TEST_ARTIFACTS_DIR) + "/" + name));
    }
    return shot;
  }

  // The known position, the last move a single new disc, drawn settled.
  void showKnownPosition() {
    for (const auto& move : kMoves) {
      ASSERT_TRUE(game_.play(move[0], move[1]));
      if (&move == &kMoves[10]) {
        screen_->takeGame(game_);
        settle();
      }
    }
    screen_->takeGame(game_);
    screen_->showBlackToMove();
    settle();
    drawFrame();
  }
  void settle() {
    for (int k = 0; k < 300; ++k) screen_->tick(0.05f);
  }
  // What the controller draws in one frame, in its order.
  void drawFrame() {
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    screen_->drawBackground();
    screen_->draw();
    gameOver_->draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }

  // The columns of pixels that differ clearly from the background picture;
  // x1 is -1 when none do.
  struct Box {
    int x0 = 1000, x1 = -1;
  };
  static Box inkBox(const Picture& shot, int x0, int y0, int x1, int y1) {
    Box box;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        if (distance(shot.at(x, y), background_.at(x, y)) >= 60)
          box = {std::min(box.x0, x), std::max(box.x1, x)};
      }
    }
    return box;
  }
  static std::unique_ptr<XvfbDisplay> server_;
  static Picture background_;  // gamebg as the window shows it
  static std::unique_ptr<TextureFont> textFont_, countFont_, largeFont_;
  std::unique_ptr<vgl::GameScreen> screen_;
  std::unique_ptr<vgl::GameOverMenu> gameOver_;
  VantorGame game_;
};

std::unique_ptr<XvfbDisplay> GameScreenRender::server_;
Picture GameScreenRender::background_;
std::unique_ptr<TextureFont> GameScreenRender::textFont_;
std::unique_ptr<TextureFont> GameScreenRender::countFont_;
std::unique_ptr<TextureFont> GameScreenRender::largeFont_;

TEST_F(GameScreenRender, ShowsTheMarkerCountsAndStatusAndThenFadesTheGameOverPictureIn) {
  showKnownPosition();
  const Picture shot = capture("game-screen.png");
  // Which cells show which discs (or the bare felt) the window tests read;
  // here, the marker on the last move is reddish.
  const int last = screen_->board().lastColumn(), lastRow = screen_->board().lastRow();
  ASSERT_NE(last, -1);
  const Rgb marker = shot.mean(centreX(last), centreY(lastRow), 1);
  EXPECT_GT(marker.r, marker.g + 30);
  EXPECT_GT(marker.r, marker.b + 30);
  // The counts' digits beside their badges: a light disc at x 70, a dark one at x 210.
  for (int x : {110, 250}) {
    const Box digits = inkBox(shot, x - 8, 380, std::min(x + 60, kWidth - 2), 462);
    ASSERT_GE(digits.x1, 0) << x;
    EXPECT_NEAR(digits.x0, x, 4) << x;
    EXPECT_GT(digits.x1, digits.x0 + 8) << x;
  }
  EXPECT_GT(shot.mean(70, 420, 1).luminance(), 150);
  EXPECT_LT(shot.mean(210, 420, 1).luminance(), 90);
  // The status line (at a fitted size), centred under the board on its band.
  const Box seen = inkBox(shot, 0, 318, kWidth - 1, 370);
  ASSERT_GE(seen.x1, 0);
  EXPECT_NEAR((seen.x0 + seen.x1) / 2.0, 160, 3);
  EXPECT_GE(seen.x0, 20) << "the status line runs past its band";
  EXPECT_LE(seen.x1, 300) << "the status line runs past its band";

  // The game over, its picture fades in over the final board.
  screen_->showResult();
  settle();
  drawFrame();
  const Picture before = capture();
  gameOver_->show();
  gameOver_->tick(0.5f);
  drawFrame();
  const Picture halfway = capture();
  gameOver_->tick(1);
  drawFrame();
  const Picture after = capture("game-over.png");
  // The banner covers the middle of the board (the empty cell at column 0,
  // row 3 among others), more when fully faded in.
  ASSERT_EQ(game_.getCell(1, 4), kEmpty);
  const int cellX = centreX(0) + 8, cellY = centreY(3) + 8;
  const auto veil = [&](const Picture& p) {
    return distance(before.mean(cellX, cellY, 1), p.mean(cellX, cellY, 1));
  };
  EXPECT_GT(veil(after), 40);
  EXPECT_LT(veil(halfway), veil(after));
  // "Partie terminee" in gold letters across it.
  const Box title = inkBox(after, 20, 130, 300, 190);
  ASSERT_GE(title.x1, 0);
  EXPECT_NEAR((title.x0 + title.x1) / 2.0, 160, 4);
  // The result line and the counts stay as they were.
  for (int y = 318; y < 460; y += 3) {
    for (int x = 10; x < 310; x += 3) {
      ASSERT_LE(distance(before.at(x, y), after.at(x, y)), 3) << x << ", " << y;
    }
  }
  // Discs away from the banner stay readable under the veil: white light, black dark.
  const vgl::BoardView& board = screen_->board();
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      const int cell = game_.getCell(i + 1, j + 1);
      const int light = after.mean(centreX(i), centreY(j), 1).luminance();
      const bool hidden = (centreY(j) > 110 && centreY(j) < 210) ||
                          (i == board.lastColumn() && j == board.lastRow());
      if (cell != kEmpty && !hidden) {
        EXPECT_TRUE(cell == kWhite ? light > 110 : light < 70) << i << ", " << j << ": " << light;
      }
    }
  }
}

}  // namespace
