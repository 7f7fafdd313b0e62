#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "game/VantorGame.h"

namespace {

// A game whose position a test can lay out disc by disc.
class ArrangedGame : public VantorGame {
 public:
  ArrangedGame() { clearBoard(board_); }
  void put(int x, int y, int colour) { board_[toIndex(x, y)] = static_cast<int8_t>(colour); }
  void setTurn(int colour) { turn_ = colour; }
};

std::set<std::pair<int, int>> movesOf(const VantorGame& game) {
  std::set<std::pair<int, int>> moves;
  for (int x = 1; x <= 8; ++x) {
    for (int y = 1; y <= 8; ++y) {
      if (game.canPlay(x, y)) moves.insert({x, y});
    }
  }
  return moves;
}

std::vector<int> cellsOf(const VantorGame& game) {
  std::vector<int> cells;
  for (int y = 1; y <= 8; ++y) {
    for (int x = 1; x <= 8; ++x) cells.push_back(game.getCell(x, y));
  }
  return cells;
}

// Up-left, up, up-right, left, right, down-left, down, down-right.
const int kSteps[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

}  // namespace

TEST(Board, CoordinatesFrameAndDirectionsFollowTheTenByTenLayout) {
  int playable = 0;
  for (int index = 0; index < kBoardSize; ++index) {
    const int x = index % 10, y = index / 10;
    const VantorCoords coords = toCoords(index);
    EXPECT_EQ(coords.x, x);
    EXPECT_EQ(coords.y, y);
    EXPECT_EQ(toIndex(x, y), index);
    const bool border = x == 0 || x == 9 || y == 0 || y == 9;
    EXPECT_EQ(kFrameMask[index], border ? 0xFF : 0x00) << "index " << index;
    playable += kFrameMask[index] == 0;
  }
  EXPECT_EQ(playable, 64);
  for (int d = 0; d < 8; ++d) {
    EXPECT_EQ(kDirections[d], toIndex(4 + kSteps[d][0], 4 + kSteps[d][1]) - toIndex(4, 4)) << d;
  }
}

TEST(NewGame, StartsWithTheCentreCrossAndBlackHasFourMoves) {
  VantorGame game;
  EXPECT_EQ(game.getCell(4, 4), kBlack);
  EXPECT_EQ(game.getCell(5, 4), kWhite);
  EXPECT_EQ(game.getCell(4, 5), kWhite);
  EXPECT_EQ(game.getCell(5, 5), kBlack);
  EXPECT_EQ(game.getTurn(), kBlack);
  EXPECT_EQ(movesOf(game), (std::set<std::pair<int, int>>{{3, 5}, {4, 6}, {5, 3}, {6, 4}}));

  ASSERT_TRUE(game.play(3, 5));
  EXPECT_EQ(game.getCell(3, 5), kBlack);
  EXPECT_EQ(game.getCell(4, 5), kBlack);
  EXPECT_EQ(game.count(kBlack), 4);
  EXPECT_EQ(game.count(kWhite), 1);
  EXPECT_EQ(game.getTurn(), kWhite);
}

TEST(Play, FlipsEveryBracketedLineInOneCall) {
  // Lines of one to three white discs run from (4, 4) in all eight
  // directions, each closed by a black disc.
  ArrangedGame game;
  const int lengths[8] = {2, 1, 2, 1, 3, 2, 1, 3};
  int whites = 0;
  for (int d = 0; d < 8; ++d) {
    const int dx = kSteps[d][0], dy = kSteps[d][1];
    for (int i = 1; i <= lengths[d]; ++i) game.put(4 + i * dx, 4 + i * dy, kWhite);
    game.put(4 + (lengths[d] + 1) * dx, 4 + (lengths[d] + 1) * dy, kBlack);
    whites += lengths[d];
  }
  game.setTurn(kBlack);
  ASSERT_TRUE(game.play(4, 4));
  EXPECT_EQ(game.count(kWhite), 0);
  EXPECT_EQ(game.count(kBlack), 8 + whites + 1);
  EXPECT_EQ(game.getTurn(), kWhite);
}

TEST(Play, FlipsUpToTheFirstOwnDiscAndNothingAlongALineThatRunsIntoTheFrame) {
  ArrangedGame game;
  // Column 1: white, white, black, white; row 1: white to the edge.
  game.put(1, 2, kWhite);
  game.put(1, 3, kWhite);
  game.put(1, 4, kBlack);
  game.put(1, 5, kWhite);
  for (int x = 2; x <= 8; ++x) game.put(x, 1, kWhite);
  ASSERT_TRUE(game.play(1, 1));
  EXPECT_EQ(game.getCell(1, 2), kBlack);
  EXPECT_EQ(game.getCell(1, 3), kBlack);
  EXPECT_EQ(game.getCell(1, 5), kWhite);
  for (int x = 2; x <= 8; ++x) EXPECT_EQ(game.getCell(x, 1), kWhite) << "x = " << x;

  // A move whose only line runs into the frame is no move.
  ArrangedGame edge;
  for (int y = 2; y <= 8; ++y) edge.put(8, y, kWhite);
  EXPECT_FALSE(edge.canPlay(8, 1));
  EXPECT_FALSE(edge.play(8, 1));
  EXPECT_EQ(edge.count(kWhite), 7);
  EXPECT_EQ(edge.count(kBlack), 0);
}

TEST(Play, IllegalMoveChangesNeitherBoardNorTurn) {
  VantorGame game;
  ASSERT_TRUE(game.play(5, 3));
  const std::vector<int> before = cellsOf(game);
  EXPECT_FALSE(game.play(4, 4));  // occupied
  EXPECT_FALSE(game.play(1, 1));  // far from every disc
  EXPECT_FALSE(game.play(3, 6));  // next to white's own disc only
  EXPECT_FALSE(game.play(6, 4));  // touches black discs but brackets nothing
  EXPECT_FALSE(game.play(5, 6));  // a black line with nothing white beyond it
  EXPECT_EQ(cellsOf(game), before);
  EXPECT_EQ(game.getTurn(), kWhite);
}

TEST(Pass, IsOneWhenOnlyTheOpponentCanMoveTwoWhenNeitherCanAndLeavesTheTurnAlone) {
  ArrangedGame corner;  // black sits behind white in the corner: only white can move
  corner.put(1, 1, kWhite);
  corner.put(2, 1, kBlack);
  ArrangedGame full;
  for (int x = 1; x <= 8; ++x) {
    for (int y = 1; y <= 8; ++y) full.put(x, y, (x + y) % 2 ? kWhite : kBlack);
  }
  ArrangedGame wipedOut;
  wipedOut.put(4, 4, kBlack);
  wipedOut.put(5, 4, kBlack);
  const struct {
    ArrangedGame* game;
    int blackToMove, whiteToMove;
  } cases[] = {{&corner, 1, 0}, {&full, 2, 2}, {&wipedOut, 2, 2}};
  for (const auto& c : cases) {
    for (int turn : {kBlack, kWhite}) {
      c.game->setTurn(turn);
      EXPECT_EQ(c.game->checkPass(), turn == kBlack ? c.blackToMove : c.whiteToMove)
          << "case " << (&c - cases) << " turn " << turn;
      EXPECT_EQ(c.game->getTurn(), turn);
    }
  }
}
