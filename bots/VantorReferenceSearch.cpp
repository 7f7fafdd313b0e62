#include "bots/VantorReferenceSearch.h"

#include <algorithm>
#include <cstring>

#include "game/VantorGame.h"

int16_t referenceSearch(const int8_t* board, int rootColour, int colour, uint8_t plies,
                        uint8_t depth, int& bestMove, int16_t alpha, int16_t beta,
                        VantorEvaluator evaluate) {
  // Every level is odd and a pass costs a ply, so depth-0 nodes always have
  // the root's opponent to move: negating the root's view gives the mover's.
  if (plies == 0) return static_cast<int16_t>(-evaluate(board, rootColour));

  int16_t best = kSearchFloor;
  int move = 0;
  int tried = 0;
  int8_t work[kBoardSize];
  std::memcpy(work, board, kBoardSize);
  bool cutOff = false;
  for (int i = 11; i <= 88; ++i) {
    if (kFrameMask[i] != 0) continue;
    if (!playOnBoard(work, i, colour)) continue;
    int16_t a = std::max(best, alpha);
    int16_t value = static_cast<int16_t>(-referenceSearch(
        work, rootColour, -colour, static_cast<uint8_t>(plies - 1), depth, bestMove,
        static_cast<int16_t>(-beta), static_cast<int16_t>(-a), evaluate));
    ++tried;
    if (value > best) {  // strictly: the earlier move wins a tie
      best = value;
      move = i;
    }
    if (best >= beta) {
      cutOff = true;
      break;
    }
    std::memcpy(work, board, kBoardSize);
  }
  if (!cutOff && tried == 0 && plies != depth) {
    // Below the root, a side without a move passes on the same position.
    int16_t a = std::max(best, alpha);
    int16_t value = static_cast<int16_t>(-referenceSearch(
        work, rootColour, -colour, static_cast<uint8_t>(plies - 1), depth, bestMove,
        static_cast<int16_t>(-beta), static_cast<int16_t>(-a), evaluate));
    if (value > best) {
      best = value;
      move = 0;
    }
  }
  bestMove = move;
  return best;
}

int referenceChooseMove(const int8_t* board, int colour, int depth, VantorEvaluator evaluate,
                        int16_t* value) {
  int bestMove = 0;
  int16_t result = referenceSearch(board, colour, colour, static_cast<uint8_t>(depth),
                                   static_cast<uint8_t>(depth), bestMove, kSearchFloor,
                                   kSearchCeiling, evaluate);
  if (value != nullptr) *value = result;
  if (bestMove == 0) {
    // Nothing beat the floor (every move loses everything within the
    // horizon): the first legal move in scan order.
    for (int i = 11; i <= 88; ++i) {
      if (kFrameMask[i] == 0 && isLegalOnBoard(board, i, colour)) return i;
    }
  }
  return bestMove;
}
