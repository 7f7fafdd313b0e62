// Move-path enumeration from the initial position: a forced pass counts as
// one move and a finished game is a leaf. The figures are the well-known
// Reversi perft counts, so any fault in legality, flipping or passing shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "game/VantorGame.h"

namespace {

const uint64_t kLeaves[] = {1, 4, 12, 56, 244, 1396, 8200, 55092, 390216};

bool hasMove(const int8_t* board, int colour) {
  for (int pos = 11; pos <= 88; ++pos) {
    if (kFrameMask[pos] == 0 && isLegalOnBoard(board, pos, colour)) return true;
  }
  return false;
}

uint64_t rawLeaves(const int8_t* board, int colour, int depth) {
  if (depth == 0) return 1;
  uint64_t leaves = 0;
  bool moved = false;
  for (int pos = 11; pos <= 88; ++pos) {
    if (kFrameMask[pos] != 0 || !isLegalOnBoard(board, pos, colour)) continue;
    int8_t next[kBoardSize];
    std::memcpy(next, board, kBoardSize);
    EXPECT_TRUE(playOnBoard(next, pos, colour));
    moved = true;
    leaves += rawLeaves(next, -colour, depth - 1);
  }
  if (moved) return leaves;
  if (hasMove(board, -colour)) return rawLeaves(board, -colour, depth - 1);
  return 1;
}

uint64_t gameLeaves(const VantorGame& game, int depth) {
  if (depth == 0) return 1;
  switch (game.checkPass()) {
    case 2:
      return 1;
    case 1: {
      VantorGame passed = game;
      passed.switchTurn();
      return gameLeaves(passed, depth - 1);
    }
  }
  uint64_t leaves = 0;
  for (int x = 1; x <= 8; ++x) {
    for (int y = 1; y <= 8; ++y) {
      if (!game.canPlay(x, y)) continue;
      VantorGame next = game;
      EXPECT_TRUE(next.play(x, y));
      leaves += gameLeaves(next, depth - 1);
    }
  }
  return leaves;
}

}  // namespace

TEST(Perft, RawBoardOperationsReachTheKnownLeafCountsToDepthEight) {
  VantorGame start;
  int8_t board[kBoardSize];
  for (int index = 0; index < kBoardSize; ++index) {
    VantorCoords coords = toCoords(index);
    board[index] = kFrameMask[index] ? 0 : static_cast<int8_t>(start.getCell(coords.x, coords.y));
  }
  for (int depth = 1; depth <= 8; ++depth) {
    EXPECT_EQ(rawLeaves(board, start.getTurn(), depth), kLeaves[depth]) << "depth " << depth;
  }
}

TEST(Perft, GameInterfaceWithCheckPassReachesTheKnownLeafCountsToDepthEight) {
  VantorGame start;
  for (int depth = 1; depth <= 8; ++depth) {
    EXPECT_EQ(gameLeaves(start, depth), kLeaves[depth]) << "depth " << depth;
  }
}
