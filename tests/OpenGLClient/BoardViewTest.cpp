// The board's discs and their animation, without a window.
#include <gtest/gtest.h>

#include "OpenGLClient/BoardView.h"
#include "game/VantorGame.h"

namespace {

using vgl::BoardView;

class ArrangedGame : public VantorGame {
 public:
  void put(int x, int y, int colour) { board_[toIndex(x, y)] = static_cast<int8_t>(colour); }
};

// Lets every disc settle: full opacity, spin nearly gone.
void settle(BoardView& view) {
  for (int k = 0; k < 400; ++k) view.tick(0.05f);
}

TEST(BoardView, ShowsTheFourStartingDiscsWithoutALastMoveMarkerUntilReset) {
  BoardView view;
  view.update(VantorGame());
  EXPECT_EQ(view.colour(3, 3), kBlack);
  EXPECT_EQ(view.colour(4, 4), kBlack);
  EXPECT_EQ(view.colour(3, 4), kWhite);
  EXPECT_EQ(view.colour(4, 3), kWhite);
  EXPECT_EQ(view.lastColumn(), -1);
  EXPECT_EQ(view.lastRow(), -1);
  // All four fade in together.
  for (int i : {3, 4}) {
    for (int j : {3, 4}) EXPECT_EQ(view.appear(i, j), 0.0f);
  }
  view.tick(3);
  view.reset();
  EXPECT_EQ(view.colour(3, 3), 0);
  EXPECT_EQ(view.spin(3, 3), 0.0f);
  EXPECT_EQ(view.appear(3, 3), 0.0f);
  EXPECT_EQ(view.rate(), 25.0f);
}

TEST(BoardView, FadesANewDiscInAndSpinsAFlippedOneAtFullOpacity) {
  VantorGame game;
  BoardView view;
  view.update(game);
  settle(view);
  ASSERT_EQ(view.rate(), BoardView::kSettledRate);
  // Black plays (5, 3): column 4, row 2; the white disc at (5, 4) turns black.
  ASSERT_TRUE(game.play(5, 3));
  view.update(game);
  EXPECT_EQ(view.lastColumn(), 4);
  EXPECT_EQ(view.lastRow(), 2);
  EXPECT_EQ(view.appear(4, 2), 0.0f);
  EXPECT_EQ(view.spin(4, 2), -200.0f);
  EXPECT_EQ(view.colour(4, 3), kBlack);
  EXPECT_EQ(view.spin(4, 3), -200.0f);
  EXPECT_EQ(view.appear(4, 3), 1.0f);
  EXPECT_EQ(view.rate(), BoardView::kKickRate);
  // Turned back to white, the disc spins the other way.
  view.update(VantorGame());
  EXPECT_EQ(view.colour(4, 3), kWhite);
  EXPECT_EQ(view.spin(4, 3), 200.0f);
  EXPECT_EQ(view.appear(4, 3), 1.0f);
}

TEST(BoardView, AdvancesAngleSpinAppearAndRateWithTimeTheRateFallingTo7) {
  BoardView view;
  view.update(VantorGame());
  EXPECT_EQ(view.rate(), 25.0f);
  view.tick(0.1f);
  // angle += spin dt; spin -= spin dt 0.3; appear += dt; rate -= 2 dt.
  EXPECT_FLOAT_EQ(view.angle(4, 3), 200 * 0.1f);
  EXPECT_FLOAT_EQ(view.spin(4, 3), 200 - 200 * 0.1f * 0.3f);
  EXPECT_FLOAT_EQ(view.angle(3, 3), -200 * 0.1f);
  EXPECT_FLOAT_EQ(view.appear(3, 3), 0.1f);
  EXPECT_FLOAT_EQ(view.rate(), 25 - 0.2f);
  view.tick(0.9f);
  EXPECT_FLOAT_EQ(view.rate(), 23);
  EXPECT_FLOAT_EQ(view.appear(3, 3), 1.0f);
  view.tick(8.5f);
  EXPECT_FLOAT_EQ(view.rate(), 7);
  view.tick(100);
  EXPECT_FLOAT_EQ(view.rate(), 7);
  view.kick();
  EXPECT_EQ(view.rate(), 25.0f);
}

TEST(BoardView, LeansAndShrinksTheShadowOfASpinningDisc) {
  ArrangedGame game;
  game.put(1, 1, kWhite);
  BoardView view;
  view.update(game);
  EXPECT_EQ(view.spin(0, 0), 200.0f);
  const BoardView::Shadow shadow = view.shadow(0, 0);
  EXPECT_FLOAT_EQ(shadow.heightFactor, 0.75f);
  EXPECT_FLOAT_EQ(shadow.opacity, 0.25f);
  EXPECT_FLOAT_EQ(shadow.shift, 0.0f);  // sin 0
  const BoardView::Tilt tilt = view.tilt(0, 0);
  EXPECT_FLOAT_EQ(tilt.aboutZ, 0.0f);
  EXPECT_FLOAT_EQ(tilt.aboutX, 60.0f);
  settle(view);
  EXPECT_NEAR(view.shadow(0, 0).opacity, 1.0f, 0.01f);
  EXPECT_NEAR(view.tilt(0, 0).aboutX, 0.0f, 0.5f);
}

}  // namespace
