// The board's discs and their animation, without a window: how a move
// animates to rest, and what a reset clears.
#include <gtest/gtest.h>

#include <cmath>

#include "OpenGLClient/BoardView.h"
#include "game/VantorGame.h"

namespace {

using vgl::BoardView;

// From a move to rest: a new disc fades in, a flipped one spins at full
// opacity; every quantity moves one way only, stays within its bounds and
// ends at rest; kick() starts the rate again, a disc turned back spins the
// other way, and a reset clears the board. Which disc each cell shows is
// read in the window tests.
TEST(BoardView, AnimatesAMoveToRestMonotonicallyWithinBoundsUntilReset) {
  VantorGame game;
  BoardView view;
  view.update(game);
  for (int k = 0; k < 400; ++k) view.tick(0.05f);  // the starting discs settle
  ASSERT_TRUE(game.play(5, 3));  // a new black disc at (4, 2), a flipped one at (4, 3)
  view.update(game);
  EXPECT_EQ(view.lastColumn(), 4);
  EXPECT_EQ(view.lastRow(), 2);
  EXPECT_EQ(view.appear(4, 2), 0.0f);
  EXPECT_EQ(view.appear(4, 3), 1.0f);
  struct Seen {
    float appear, spin, angle, opacity, height, lean;
  };
  const auto seen = [&](int i, int j) {
    const BoardView::Shadow s = view.shadow(i, j);
    const BoardView::Tilt t = view.tilt(i, j);
    return Seen{view.appear(i, j), view.spin(i, j), view.angle(i, j),
                s.opacity,         s.heightFactor,  std::hypot(t.aboutZ, t.aboutX)};
  };
  for (int j : {2, 3}) {
    const Seen s = seen(4, j);
    EXPECT_LT(s.opacity, 1.0f) << "a spinning disc's shadow is fainter";
    EXPECT_LT(s.height, 1.0f) << "and lower";
    EXPECT_GT(s.lean, 10.0f) << "and the disc leans";
  }
  float rate = view.rate();
  Seen before[2] = {seen(4, 2), seen(4, 3)};
  for (int k = 0; k < 400; ++k) {
    view.tick(0.05f);
    EXPECT_LE(view.rate(), rate);
    EXPECT_GE(view.rate(), BoardView::kSettledRate);
    rate = view.rate();
    for (int j : {2, 3}) {
      const Seen now = seen(4, j), was = before[j - 2];
      EXPECT_GE(now.appear, was.appear);
      EXPECT_LE(now.appear, 1.0f);
      EXPECT_LE(now.spin, 0.0f) << "a black disc spins one way throughout";
      EXPECT_GE(now.spin, was.spin) << "slowing down";
      EXPECT_LE(now.angle, was.angle) << "turning in the spin's direction";
      EXPECT_GE(now.opacity, was.opacity);
      EXPECT_LE(now.opacity, 1.0f);
      EXPECT_GE(now.height, was.height);
      EXPECT_LE(now.height, 1.0f);
      EXPECT_LE(now.lean, was.lean + 1e-4f);
      before[j - 2] = now;
    }
    EXPECT_TRUE(k < 20 || view.appear(4, 2) == 1.0f) << "not fully in a second after, " << k;
  }
  EXPECT_EQ(view.rate(), BoardView::kSettledRate);
  for (int j : {2, 3}) {
    EXPECT_NEAR(view.shadow(4, j).opacity, 1.0f, 0.01f);
    EXPECT_NEAR(view.tilt(4, j).aboutX, 0.0f, 0.5f);
  }
  view.kick();
  EXPECT_EQ(view.rate(), BoardView::kKickRate);
  view.update(VantorGame());
  EXPECT_EQ(view.colour(4, 3), kWhite);
  EXPECT_GT(view.spin(4, 3), 0.0f);
  view.reset();  // for the next game: no discs, no marker
  EXPECT_EQ(view.colour(4, 3), 0);
  EXPECT_EQ(view.spin(4, 3), 0.0f);
  EXPECT_EQ(view.lastColumn(), -1);
}

}  // namespace
