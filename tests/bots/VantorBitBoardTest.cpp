#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "bots/VantorBitBoard.h"
#include "bots/VantorPerft.h"
#include "game/VantorGame.h"
#include "tests/bots/PlayoutPositions.h"

namespace {

uint64_t bit(int x, int y) {
  return uint64_t{1} << VantorBitBoard::bitOf(toIndex(x, y));
}

VantorBitBoard initialPosition() {
  PlayoutGame game;
  return VantorBitBoard::fromFramed(game.framed(), game.getTurn());
}

// Legal moves and the board after every move, on the framed board and on
// bitboards, for colour on board.
void expectSameRules(const int8_t* board, int colour) {
  const VantorBitBoard bits = VantorBitBoard::fromFramed(board, colour);
  const uint64_t moves = bits.moves();
  for (int i = 11; i <= 88; ++i) {
    if (kFrameMask[i] != 0) continue;
    const bool legal = ((moves >> VantorBitBoard::bitOf(i)) & 1) != 0;
    ASSERT_EQ(isLegalOnBoard(board, i, colour), legal) << "index " << i;
    if (!legal) continue;
    int8_t framed[kBoardSize];
    std::memcpy(framed, board, kBoardSize);
    ASSERT_TRUE(playOnBoard(framed, i, colour));
    int8_t fromBits[kBoardSize];
    bits.play(VantorBitBoard::bitOf(i)).toFramed(fromBits, -colour);
    ASSERT_EQ(0, std::memcmp(framed, fromBits, kBoardSize)) << "move " << i;
  }
  uint64_t ownMoves = 0;
  uint64_t oppMoves = 0;
  VantorBitBoard::legalMovesOfBoth(bits.own, bits.opp, ownMoves, oppMoves);
  ASSERT_EQ(moves, ownMoves);
  ASSERT_EQ(bits.pass().moves(), oppMoves);
}

}  // namespace

TEST(BitBoard, ScansBitsInFramedIndexOrder) {
  int previous = 0;
  for (int bit = 0; bit < 64; ++bit) {
    const int index = VantorBitBoard::indexOf(bit);
    EXPECT_GT(index, previous);
    EXPECT_EQ(0, kFrameMask[index]);
    EXPECT_EQ(bit, VantorBitBoard::bitOf(index));
    previous = index;
  }
  EXPECT_EQ(11, VantorBitBoard::indexOf(0));
  EXPECT_EQ(88, VantorBitBoard::indexOf(63));
}

TEST(BitBoard, ConvertsToAndFromTheFramedBoard) {
  PlayoutGame game;
  const VantorBitBoard bits = VantorBitBoard::fromFramed(game.framed(), kWhite);
  EXPECT_EQ(bit(5, 4) | bit(4, 5), bits.own);
  EXPECT_EQ(bit(4, 4) | bit(5, 5), bits.opp);
  int8_t board[kBoardSize];
  std::memset(board, 7, sizeof board);
  bits.toFramed(board, kWhite);
  EXPECT_EQ(0, std::memcmp(game.framed(), board, kBoardSize));
}

TEST(BitBoard, GivesBlackItsFourOpeningMoves) {
  EXPECT_EQ(bit(3, 5) | bit(4, 6) | bit(5, 3) | bit(6, 4), initialPosition().moves());
}

TEST(BitBoard, DoesNotBracketAcrossTheEdgeOfTheBoard) {
  // A row of opponent discs from (2, 1) to the right edge, and an own disc
  // at the start of the next row: on a board without a frame a sideways
  // step would run from (8, 1) into (1, 2).
  const uint64_t opp =
      bit(2, 1) | bit(3, 1) | bit(4, 1) | bit(5, 1) | bit(6, 1) | bit(7, 1) | bit(8, 1) | bit(8, 3);
  const uint64_t own = bit(1, 2) | bit(1, 4);
  EXPECT_EQ(0u, VantorBitBoard::legalMoves(own, opp) & bit(1, 1));
  EXPECT_EQ(0u, VantorBitBoard::flips(own, opp, VantorBitBoard::bitOf(toIndex(1, 1))));
  // Down-right from (7, 2) would wrap from (8, 3) to (1, 4).
  EXPECT_EQ(0u, VantorBitBoard::flips(own, opp, VantorBitBoard::bitOf(toIndex(7, 2))));
}

TEST(BitBoard, FlipsEveryBracketedLineOfOneMove) {
  const uint64_t own = bit(1, 1) | bit(7, 1) | bit(4, 1);
  const uint64_t opp = bit(2, 2) | bit(3, 3) | bit(6, 2) | bit(5, 3) | bit(4, 2) | bit(4, 3) |
                       bit(3, 5) | bit(2, 6) | bit(5, 5) | bit(6, 6) | bit(5, 4);
  // (4, 4) brackets the two upper diagonals and the column; the lower
  // diagonals end on empty cells and (5, 4) has no own disc behind it.
  EXPECT_EQ(bit(2, 2) | bit(3, 3) | bit(6, 2) | bit(5, 3) | bit(4, 2) | bit(4, 3),
            VantorBitBoard::flips(own, opp, VantorBitBoard::bitOf(toIndex(4, 4))));
}

TEST(BitBoard, FindsTheFramedBoardsMovesAndFlipsOnEveryPositionOfManyGames) {
  std::mt19937 random(20240611);
  int positions = 0;
  for (int game = 0; game < 400; ++game) {
    const PlayoutStyle greedyOrNot = game % 4 == 0 ? PlayoutStyle::Greedy : PlayoutStyle::Random;
    playOut(random, greedyOrNot, PlayoutStyle::Random, [&](const PlayoutGame& g, bool) {
      expectSameRules(g.framed(), kBlack);
      expectSameRules(g.framed(), kWhite);
      ++positions;
      return !::testing::Test::HasFatalFailure();
    });
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
  }
  EXPECT_GT(positions, 20000);
}

TEST(Perft, CountsTheSameOnTheFramedBoardAndOnBitboardsUpToDepthEight) {
  PlayoutGame game;
  const uint64_t expected[] = {1, 4, 12, 56, 244, 1396, 8200, 55092, 390216};
  for (int depth = 0; depth <= 8; ++depth) {
    EXPECT_EQ(expected[depth], framedPerft(game.framed(), game.getTurn(), depth)) << depth;
    EXPECT_EQ(expected[depth], bitBoardPerft(initialPosition(), depth)) << depth;
  }
}

TEST(Perft, CountsTheKnownNumbersAtDepthsNineAndTenOnBitboards) {
  EXPECT_EQ(3005288u, bitBoardPerft(initialPosition(), 9));
  EXPECT_EQ(24571284u, bitBoardPerft(initialPosition(), 10));
}

TEST(Perft, CountsAForcedPassAsAMoveAndAFinishedGameAsALeaf) {
  // Black cannot move; white then has two moves, after each of which black
  // passes again, white takes black's last disc and the game is over.
  int8_t board[kBoardSize];
  clearBoard(board);
  board[toIndex(1, 1)] = kWhite;
  board[toIndex(2, 1)] = kBlack;
  board[toIndex(1, 2)] = kBlack;
  const uint64_t expected[] = {1, 1, 2, 2, 2, 2, 2};
  for (int depth = 0; depth <= 6; ++depth) {
    EXPECT_EQ(expected[depth], framedPerft(board, kBlack, depth)) << depth;
    EXPECT_EQ(expected[depth], bitBoardPerft(VantorBitBoard::fromFramed(board, kBlack), depth))
        << depth;
  }
  board[toIndex(2, 1)] = kWhite;
  board[toIndex(1, 2)] = kWhite;
  EXPECT_EQ(1u, framedPerft(board, kBlack, 3));
  EXPECT_EQ(1u, bitBoardPerft(VantorBitBoard::fromFramed(board, kBlack), 3));
}
