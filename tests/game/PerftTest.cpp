// Leaves reached from the initial position, a forced pass counting as one
// move and a finished game as a leaf. The figures are the well-known Reversi
// perft counts, so any fault in legality, flipping or passing shows.
#include <gtest/gtest.h>

#include <cstdint>

#include "game/VantorGame.h"

namespace {

uint64_t leaves(const VantorGame& game, int depth) {
  const int pass = game.checkPass();
  if (depth == 0 || pass == 2) return 1;
  if (pass == 1) {
    VantorGame passed = game;
    passed.switchTurn();
    return leaves(passed, depth - 1);
  }
  uint64_t total = 0;
  for (int x = 1; x <= 8; ++x) {
    for (int y = 1; y <= 8; ++y) {
      if (!game.canPlay(x, y)) continue;
      VantorGame next = game;
      EXPECT_TRUE(next.play(x, y));
      total += leaves(next, depth - 1);
    }
  }
  return total;
}

}  // namespace

TEST(Perft, ReachesTheKnownLeafCountsToDepthEight) {
  const uint64_t expected[] = {4, 12, 56, 244, 1396, 8200, 55092, 390216};
  for (int depth = 1; depth <= 8; ++depth) {
    EXPECT_EQ(leaves(VantorGame(), depth), expected[depth - 1]) << "depth " << depth;
  }
}
