// A position a test lays out disc by disc, with the side to move it chooses.
#ifndef VANTOR_TESTS_BOTS_ARRANGEDPOSITION_H_
#define VANTOR_TESTS_BOTS_ARRANGEDPOSITION_H_

#include <cstring>
#include <string>

#include "game/VantorGame.h"

class ArrangedPosition : public VantorGame {
 public:
  ArrangedPosition() { clearBoard(board); }
  // Eight rows of eight characters from the top: 'X' black, 'O' white, '.' empty.
  explicit ArrangedPosition(const char* rows, int toMove = kBlack) {
    clearBoard(board);
    for (int y = 1; y <= 8; ++y) {
      for (int x = 1; x <= 8; ++x) {
        char c = rows[(y - 1) * 8 + (x - 1)];
        put(x, y, c == 'X' ? kBlack : c == 'O' ? kWhite : kEmpty);
      }
    }
    turn = toMove;
  }
  void put(int x, int y, int colour) { board[toIndex(x, y)] = static_cast<int8_t>(colour); }
  void setTurn(int colour) { turn = colour; }
  const int8_t* framed() const { return board; }
  int8_t* framed() { return board; }
};

#endif  // VANTOR_TESTS_BOTS_ARRANGEDPOSITION_H_
