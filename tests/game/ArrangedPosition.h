// A position a test lays out disc by disc, with the side to move it chooses,
// and whose framed board it may read.
#ifndef VANTOR_TESTS_GAME_ARRANGEDPOSITION_H_
#define VANTOR_TESTS_GAME_ARRANGEDPOSITION_H_

#include "game/VantorGame.h"

class ArrangedPosition : public VantorGame {
 public:
  // The initial position, black to move.
  ArrangedPosition() = default;
  // Rows from the top, eight cells each: 'X' black, 'O' white, others
  // empty; the cells past the end of rows are empty.
  explicit ArrangedPosition(const char* rows, int toMove = kBlack) {
    for (int i = 0; i < 64; ++i) {
      const char c = *rows != '\0' ? *rows++ : '.';
      put(i % 8 + 1, i / 8 + 1, c == 'X' ? kBlack : c == 'O' ? kWhite : kEmpty);
    }
    turn_ = toMove;
  }
  ArrangedPosition& put(int x, int y, int colour) {
    board_[toIndex(x, y)] = static_cast<int8_t>(colour);
    return *this;
  }
  const int8_t* framed() const { return board_; }
};

#endif  // VANTOR_TESTS_GAME_ARRANGEDPOSITION_H_
