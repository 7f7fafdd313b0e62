// One Reversi position and the rules that act on it.
//
// The board is a 10 x 10 grid of signed bytes with a one-cell frame that is
// always empty, so a walk along a line stops at the edge exactly as it stops
// at an empty cell. Cell (x, y), both 1..8, has index y * 10 + x. The free
// functions work on such raw boards (the search and the evaluations use them
// directly); VantorGame wraps one board and the side to move.
//
// Thread safety: none. A VantorGame is used by one thread at a time, or
// guarded by its owner's lock.
#ifndef VANTOR_GAME_VANTORGAME_H_
#define VANTOR_GAME_VANTORGAME_H_

#include <cstdint>

// Colours and cells: -1 black (moves first), +1 white, 0 empty.
enum : int8_t { kBlack = -1, kEmpty = 0, kWhite = 1 };

constexpr int kBoardSize = 100;

// Coordinates travel as a pair of unsigned bytes.
struct VantorCoords {
  uint8_t x;
  uint8_t y;
};

// 0xFF on every frame cell, 0 on every playable cell.
extern const uint8_t kFrameMask[kBoardSize];

// Index steps, always tried in this order: up-left, up, up-right, left,
// right, down-left, down, down-right.
extern const int kDirections[8];

void clearBoard(int8_t* board);
inline int toIndex(int x, int y) {
  return y * 10 + x;
}
VantorCoords toCoords(int index);

// Whether a disc of colour placed at pos would bracket opponent discs along dir.
bool checkLine(const int8_t* board, int pos, int dir, int colour);
// The same test; when it holds, turns the bracketed discs to colour (pos itself untouched).
bool flipLine(int8_t* board, int pos, int dir, int colour);
bool isLegalOnBoard(const int8_t* board, int pos, int colour);
// Places the disc and flips every bracketed line; an illegal move changes nothing.
bool playOnBoard(int8_t* board, int pos, int colour);

class VantorGame {
 public:
  VantorGame();
  virtual ~VantorGame();

  // Plays for the side to move; on success the turn passes to the other side.
  bool play(int x, int y);
  void switchTurn();
  bool canPlay(int x, int y) const;
  // 0: the side to move has a move; 1: it must pass; 2: neither side can move.
  int checkPass() const;
  int getCell(int x, int y) const;
  int getTurn() const { return turn_; }
  int count(int colour) const;

 protected:
  int8_t board_[kBoardSize];
  int32_t turn_;
};

#endif  // VANTOR_GAME_VANTORGAME_H_
