#include "bots/VantorPerft.h"

#include <cstring>

#include "game/VantorGame.h"

namespace {

bool hasMove(const int8_t* board, int colour) {
  for (int i = 11; i <= 88; ++i) {
    if (kFrameMask[i] == 0 && isLegalOnBoard(board, i, colour)) return true;
  }
  return false;
}

}  // namespace

uint64_t framedPerft(const int8_t* board, int colour, int depth) {
  if (depth == 0) return 1;
  uint64_t count = 0;
  bool moved = false;
  int8_t work[kBoardSize];
  std::memcpy(work, board, kBoardSize);
  for (int i = 11; i <= 88; ++i) {
    if (kFrameMask[i] != 0 || !playOnBoard(work, i, colour)) continue;
    moved = true;
    count += framedPerft(work, -colour, depth - 1);
    std::memcpy(work, board, kBoardSize);
  }
  if (moved) return count;
  if (hasMove(board, -colour)) return framedPerft(board, -colour, depth - 1);
  return 1;
}

uint64_t bitBoardPerft(VantorBitBoard board, int depth) {
  if (depth == 0) return 1;
  uint64_t moves = board.moves();
  if (moves == 0) {
    if (board.pass().moves() == 0) return 1;
    return bitBoardPerft(board.pass(), depth - 1);
  }
  // One ply from the end every move is a leaf.
  if (depth == 1) return static_cast<uint64_t>(__builtin_popcountll(moves));
  uint64_t count = 0;
  for (; moves != 0; moves &= moves - 1)
    count += bitBoardPerft(board.play(__builtin_ctzll(moves)), depth - 1);
  return count;
}
