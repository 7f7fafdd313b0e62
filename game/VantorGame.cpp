#include "game/VantorGame.h"

#include <cstring>
#include <initializer_list>

const uint8_t kFrameMask[kBoardSize] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  //
    0xFF, 0,    0,    0,    0,    0,    0,    0,    0,    0xFF,  //
    0xFF, 0,    0,    0,    0,    0,    0,    0,    0,    0xFF,  //
    0xFF, 0,    0,    0,    0,    0,    0,    0,    0,    0xFF,  //
    0xFF, 0,    0,    0,    0,    0,    0,    0,    0,    0xFF,  //
    0xFF, 0,    0,    0,    0,    0,    0,    0,    0,    0xFF,  //
    0xFF, 0,    0,    0,    0,    0,    0,    0,    0,    0xFF,  //
    0xFF, 0,    0,    0,    0,    0,    0,    0,    0,    0xFF,  //
    0xFF, 0,    0,    0,    0,    0,    0,    0,    0,    0xFF,  //
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  //
};

const int kDirections[8] = {-11, -10, -9, -1, 1, 9, 10, 11};

void clearBoard(int8_t* board) {
  std::memset(board, 0, kBoardSize);
}

VantorCoords toCoords(int index) {
  return VantorCoords{static_cast<uint8_t>(index % 10), static_cast<uint8_t>(index / 10)};
}

bool checkLine(const int8_t* board, int pos, int dir, int colour) {
  int p = pos + dir;
  while (board[p] == -colour) p += dir;
  // The frame is empty, so every walk ends inside the array.
  if (p == pos + dir) return false;
  return board[p] != 0;
}

bool flipLine(int8_t* board, int pos, int dir, int colour) {
  if (!checkLine(board, pos, dir, colour)) return false;
  for (int p = pos + dir; board[p] == -colour; p += dir) board[p] = static_cast<int8_t>(colour);
  return true;
}

bool isLegalOnBoard(const int8_t* board, int pos, int colour) {
  if (board[pos] != 0) return false;
  for (int dir : kDirections) {
    if (checkLine(board, pos, dir, colour)) return true;
  }
  return false;
}

bool playOnBoard(int8_t* board, int pos, int colour) {
  if (board[pos] != 0) return false;
  bool flipped = false;
  // Every direction is tried: a move flips all the lines it brackets.
  for (int dir : kDirections) {
    if (flipLine(board, pos, dir, colour)) flipped = true;
  }
  if (flipped) board[pos] = static_cast<int8_t>(colour);
  return flipped;
}

VantorGame::VantorGame() : turn_(kBlack) {
  clearBoard(board_);
  board_[toIndex(4, 4)] = kBlack;
  board_[toIndex(5, 4)] = kWhite;
  board_[toIndex(4, 5)] = kWhite;
  board_[toIndex(5, 5)] = kBlack;
}

VantorGame::~VantorGame() = default;

bool VantorGame::play(int x, int y) {
  if (!playOnBoard(board_, toIndex(x, y), turn_)) return false;
  turn_ = -turn_;
  return true;
}

void VantorGame::switchTurn() {
  turn_ = -turn_;
}

bool VantorGame::canPlay(int x, int y) const {
  return isLegalOnBoard(board_, toIndex(x, y), turn_);
}

int VantorGame::checkPass() const {
  // Scans x outer, y inner, first for the side to move, then for the other
  // side; the turn itself is left as it was.
  for (int colour : {static_cast<int>(turn_), -turn_}) {
    for (int x = 1; x <= 8; ++x) {
      for (int y = 1; y <= 8; ++y) {
        if (isLegalOnBoard(board_, toIndex(x, y), colour)) return colour == turn_ ? 0 : 1;
      }
    }
  }
  return 2;
}

int VantorGame::getCell(int x, int y) const {
  return board_[toIndex(x, y)];
}

int VantorGame::count(int colour) const {
  int n = 0;
  for (int8_t cell : board_) n += cell == colour;
  return n;
}
