// The bitboard rules: the edge of the board, and the perft counts on bitboards
// against those on the framed board. Their moves, flips and evaluations on
// positions of every stage are checked through the searches that use them
// (VantorFastSearchTest).
#include <gtest/gtest.h>

#include "bots/VantorBitBoard.h"
#include "bots/VantorPerft.h"
#include "tests/game/ArrangedPosition.h"

namespace {

uint64_t bit(int x, int y) {
  return uint64_t{1} << VantorBitBoard::bitOf(toIndex(x, y));
}

VantorBitBoard bitsOf(const ArrangedPosition& p, int colour) {
  return VantorBitBoard::fromFramed(p.framed(), colour);
}

}  // namespace

TEST(BitBoard, DoesNotBracketAcrossTheEdgeOfTheBoard) {
  // Opponent discs from (2, 1) to the right edge, an own disc at the start
  // of the next row: without a frame a sideways step would run from (8, 1)
  // into (1, 2), and down-right from (8, 3) into (1, 4).
  const uint64_t opp =
      bit(2, 1) | bit(3, 1) | bit(4, 1) | bit(5, 1) | bit(6, 1) | bit(7, 1) | bit(8, 1) | bit(8, 3);
  const uint64_t own = bit(1, 2) | bit(1, 4);
  EXPECT_EQ(0u, VantorBitBoard::legalMoves(own, opp) & bit(1, 1));
  EXPECT_EQ(0u, VantorBitBoard::flips(own, opp, VantorBitBoard::bitOf(toIndex(1, 1))));
  EXPECT_EQ(0u, VantorBitBoard::flips(own, opp, VantorBitBoard::bitOf(toIndex(7, 2))));
}

TEST(Perft, CountsTheKnownNumbersOnTheFramedBoardAndOnBitboards) {
  ArrangedPosition start;
  const uint64_t expected[] = {1, 4, 12, 56, 244, 1396, 8200, 55092, 390216, 3005288, 24571284};
  for (int depth = 0; depth <= 10; ++depth) {
    // The framed board is too slow for the last two.
    if (depth <= 8) {
      EXPECT_EQ(expected[depth], framedPerft(start.framed(), kBlack, depth)) << depth;
    }
    EXPECT_EQ(expected[depth], bitBoardPerft(bitsOf(start, kBlack), depth)) << depth;
  }
}

TEST(Perft, CountsAForcedPassAsAMoveAndAFinishedGameAsALeaf) {
  // Black cannot move; white then has two moves, after each of which black
  // passes again, white takes black's last disc and the game is over.
  ArrangedPosition p("OX......X");
  const uint64_t expected[] = {1, 1, 2, 2, 2, 2, 2};
  for (int depth = 0; depth <= 6; ++depth) {
    EXPECT_EQ(expected[depth], framedPerft(p.framed(), kBlack, depth)) << depth;
    EXPECT_EQ(expected[depth], bitBoardPerft(bitsOf(p, kBlack), depth)) << depth;
  }
  ArrangedPosition over("OO......O");
  EXPECT_EQ(1u, framedPerft(over.framed(), kBlack, 3));
  EXPECT_EQ(1u, bitBoardPerft(bitsOf(over, kBlack), 3));
}
