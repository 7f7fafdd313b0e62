#include "bots/VantorBitBoard.h"

#include "game/VantorGame.h"

VantorBitBoard VantorBitBoard::fromFramed(const int8_t* board, int colour) {
  VantorBitBoard result;
  for (int bit = 0; bit < 64; ++bit) {
    const int cell = board[indexOf(bit)];
    if (cell == 0) continue;
    if (cell == colour) {
      result.own |= uint64_t{1} << bit;
    } else if (cell == -colour) {
      result.opp |= uint64_t{1} << bit;
    }
  }
  return result;
}

void VantorBitBoard::toFramed(int8_t* board, int colour) const {
  clearBoard(board);
  for (int bit = 0; bit < 64; ++bit) {
    if ((own >> bit) & 1) board[indexOf(bit)] = static_cast<int8_t>(colour);
    if ((opp >> bit) & 1) board[indexOf(bit)] = static_cast<int8_t>(-colour);
  }
}
