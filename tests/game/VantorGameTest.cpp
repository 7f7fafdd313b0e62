#include <gtest/gtest.h>

#include "game/VantorGame.h"

TEST(Board, InitialPositionOffersBlackFourMoves) {
  VantorGame game;
  EXPECT_EQ(game.getTurn(), kBlack);
  EXPECT_TRUE(game.canPlay(3, 5));
}
