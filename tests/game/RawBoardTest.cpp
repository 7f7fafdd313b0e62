#include <gtest/gtest.h>

#include <cstring>

#include "game/VantorGame.h"

namespace {

// An empty raw board with a few discs laid out by the test.
struct RawBoard {
  int8_t cells[kBoardSize];
  RawBoard() {
    std::memset(cells, 0x55, sizeof(cells));
    clearBoard(cells);
  }
  void put(int x, int y, int colour) { cells[toIndex(x, y)] = static_cast<int8_t>(colour); }
  int at(int x, int y) const { return cells[toIndex(x, y)]; }
};

constexpr int kRight = 1;
constexpr int kDown = 10;

}  // namespace

TEST(Coordinates, IndexAndCoordsConvertBothWays) {
  EXPECT_EQ(toIndex(1, 1), 11);
  EXPECT_EQ(toIndex(8, 8), 88);
  for (int x = 1; x <= 8; ++x) {
    for (int y = 1; y <= 8; ++y) {
      VantorCoords coords = toCoords(toIndex(x, y));
      EXPECT_EQ(coords.x, x);
      EXPECT_EQ(coords.y, y);
    }
  }
}

TEST(Coordinates, IndexZeroIsTheTopLeftFrameCorner) {
  VantorCoords coords = toCoords(0);
  EXPECT_EQ(coords.x, 0);
  EXPECT_EQ(coords.y, 0);
}

TEST(FrameMask, MarksExactlyTheBorderOfTheTenByTenGrid) {
  int playable = 0;
  for (int index = 0; index < kBoardSize; ++index) {
    const int x = index % 10, y = index / 10;
    const bool border = x == 0 || x == 9 || y == 0 || y == 9;
    EXPECT_EQ(kFrameMask[index], border ? 0xFF : 0x00) << "index " << index;
    playable += kFrameMask[index] == 0;
  }
  EXPECT_EQ(playable, 64);
  EXPECT_NE(kFrameMask[19], 0);
  EXPECT_NE(kFrameMask[20], 0);
  EXPECT_NE(kFrameMask[80], 0);
}

TEST(Directions, RunFromUpLeftToDownRightRowByRow) {
  const int steps[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
  for (int d = 0; d < 8; ++d) {
    EXPECT_EQ(kDirections[d], toIndex(4 + steps[d][0], 4 + steps[d][1]) - toIndex(4, 4))
        << "direction " << d;
  }
}

TEST(CheckLine, NeedsOpponentDiscsClosedByAnOwnDisc) {
  RawBoard board;
  board.put(2, 1, kWhite);
  board.put(3, 1, kWhite);
  const int pos = toIndex(1, 1);
  EXPECT_FALSE(checkLine(board.cells, pos, kRight, kBlack));  // open end
  board.put(4, 1, kBlack);
  EXPECT_TRUE(checkLine(board.cells, pos, kRight, kBlack));
  EXPECT_FALSE(checkLine(board.cells, pos, kRight, kWhite));  // own neighbour
  EXPECT_FALSE(checkLine(board.cells, pos, kDown, kBlack));   // empty neighbour
  EXPECT_EQ(board.at(2, 1), kWhite);                          // only looked
}

TEST(FlipLine, TurnsTheBracketedDiscsButNotTheStartingCell) {
  RawBoard board;
  board.put(1, 2, kWhite);
  board.put(1, 3, kWhite);
  board.put(1, 4, kBlack);
  board.put(1, 5, kWhite);
  ASSERT_TRUE(flipLine(board.cells, toIndex(1, 1), kDown, kBlack));
  EXPECT_EQ(board.at(1, 1), kEmpty);
  EXPECT_EQ(board.at(1, 2), kBlack);
  EXPECT_EQ(board.at(1, 3), kBlack);
  EXPECT_EQ(board.at(1, 5), kWhite);
}

TEST(PlayOnBoard, LeavesTheBoardUntouchedWhenNothingIsBracketed) {
  RawBoard board;
  board.put(2, 1, kWhite);
  board.put(1, 2, kBlack);
  RawBoard before = board;
  EXPECT_FALSE(playOnBoard(board.cells, toIndex(1, 1), kBlack));
  EXPECT_FALSE(playOnBoard(board.cells, toIndex(2, 1), kBlack));
  EXPECT_EQ(std::memcmp(board.cells, before.cells, kBoardSize), 0);
}
