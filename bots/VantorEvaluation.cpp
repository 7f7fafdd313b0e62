#include "bots/VantorEvaluation.h"

#include "game/VantorGame.h"

const int8_t kDeepBlueWeights[100] = {
    0, 0,  0, 0, 0, 0, 0, 0, 0,  0,  //
    0, 20, 0, 7, 7, 7, 7, 0, 20, 0,  //
    0, 0,  0, 3, 3, 3, 3, 0, 0,  0,  //
    0, 7,  3, 8, 5, 5, 8, 3, 7,  0,  //
    0, 7,  3, 5, 3, 3, 5, 3, 7,  0,  //
    0, 7,  3, 5, 3, 3, 5, 3, 7,  0,  //
    0, 7,  3, 8, 5, 5, 8, 3, 7,  0,  //
    0, 0,  0, 3, 3, 3, 3, 0, 0,  0,  //
    0, 20, 0, 7, 7, 7, 7, 0, 20, 0,  //
    0, 0,  0, 0, 0, 0, 0, 0, 0,  0,  //
};

int deepBlueEvaluate(const int8_t* board, int colour) {
  int sum = 0;
  for (int i = 11; i <= 88; ++i) {
    if (board[i] == colour) {
      sum += kDeepBlueWeights[i];
    } else if (board[i] == -colour) {
      sum -= kDeepBlueWeights[i];
    }
  }
  return sum;
}

namespace {

int discs(const int8_t* board, int c) {
  int n = 0;
  for (int i = 11; i <= 88; ++i) n += board[i] == c;
  return n;
}

int mobility(const int8_t* board, int c) {
  int n = 0;
  for (int i = 11; i <= 88; ++i) {
    if (kFrameMask[i] == 0 && isLegalOnBoard(board, i, c)) ++n;
  }
  return n;
}

const int kCorners[4] = {11, 18, 81, 88};
const int kXSquares[4] = {22, 27, 72, 77};

int corners(const int8_t* board, int c) {
  int n = 0;
  for (int corner : kCorners) n += board[corner] == c;
  return n;
}

int xSquares(const int8_t* board, int c) {
  int n = 0;
  for (int k = 0; k < 4; ++k) n += board[kCorners[k]] == 0 && board[kXSquares[k]] == c;
  return n;
}

bool holdsAll(const int8_t* board, int c, int first, int step) {
  for (int k = 0; k < 4; ++k) {
    if (board[first + k * step] != c) return false;
  }
  return true;
}

int fullEdges(const int8_t* board, int c) {
  // The four middle cells of the top, bottom, left and right edges.
  return holdsAll(board, c, toIndex(3, 1), 1) + holdsAll(board, c, toIndex(3, 8), 1) +
         holdsAll(board, c, toIndex(1, 3), 10) + holdsAll(board, c, toIndex(8, 3), 10);
}

}  // namespace

int grayThoughEvaluate(const int8_t* board, int colour) {
  const int c = colour;
  int own = discs(board, c);
  if (own == 0) return -kWipedOut;
  int opp = discs(board, -c);
  if (opp == 0) return kWipedOut;
  if (own + opp == 64) return (own - opp) * 10;
  // The disc difference counts only from 48 discs on.
  if (own + opp < 48) own = opp = 0;
  return (mobility(board, c) - mobility(board, -c)) +
         15 * (xSquares(board, -c) - xSquares(board, c)) +
         (fullEdges(board, c) - fullEdges(board, -c)) + (own - opp) +
         100 * (corners(board, c) - corners(board, -c));
}

VantorEvaluator evaluatorOf(VantorEvaluationKind kind) {
  return kind == VantorEvaluationKind::DeepBlue ? deepBlueEvaluate : grayThoughEvaluate;
}
