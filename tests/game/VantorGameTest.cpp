#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "game/VantorGame.h"

namespace {

// A game whose position a test can lay out disc by disc.
class ArrangedGame : public VantorGame {
 public:
  ArrangedGame() { clearBoard(board); }
  void put(int x, int y, int colour) { board[toIndex(x, y)] = static_cast<int8_t>(colour); }
  void setTurn(int colour) { turn = colour; }
};

using Cell = std::pair<int, int>;

std::set<Cell> movesOf(const VantorGame& game) {
  std::set<Cell> moves;
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

}  // namespace

TEST(NewGame, StartsWithTheCrossInTheCentreAndBlackToMove) {
  VantorGame game;
  EXPECT_EQ(game.getCell(4, 4), kBlack);
  EXPECT_EQ(game.getCell(5, 4), kWhite);
  EXPECT_EQ(game.getCell(4, 5), kWhite);
  EXPECT_EQ(game.getCell(5, 5), kBlack);
  EXPECT_EQ(game.count(kBlack), 2);
  EXPECT_EQ(game.count(kWhite), 2);
  EXPECT_EQ(game.getTurn(), kBlack);
}

TEST(NewGame, OffersBlackExactlyFourMoves) {
  VantorGame game;
  std::set<Cell> expected = {{3, 5}, {4, 6}, {5, 3}, {6, 4}};
  EXPECT_EQ(movesOf(game), expected);
  EXPECT_FALSE(game.canPlay(4, 4));
  EXPECT_EQ(game.checkPass(), 0);
}

TEST(Play, TurnsTheBracketedDiscAndHandsTheTurnOver) {
  VantorGame game;
  ASSERT_TRUE(game.play(3, 5));
  EXPECT_EQ(game.getCell(3, 5), kBlack);
  EXPECT_EQ(game.getCell(4, 5), kBlack);
  EXPECT_EQ(game.getCell(5, 4), kWhite);
  EXPECT_EQ(game.count(kBlack), 4);
  EXPECT_EQ(game.count(kWhite), 1);
  EXPECT_EQ(game.getTurn(), kWhite);
}

TEST(Play, FlipsEveryBracketedLineInOneCall) {
  // Black plays (4, 4); lines of one, two and three white discs run from it
  // in all eight directions, each closed by a black disc.
  ArrangedGame game;
  const int steps[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
  const int lengths[8] = {2, 1, 2, 1, 3, 2, 1, 3};
  int whites = 0;
  for (int d = 0; d < 8; ++d) {
    const int dx = steps[d][0], dy = steps[d][1];
    for (int i = 1; i <= lengths[d]; ++i) game.put(4 + i * dx, 4 + i * dy, kWhite);
    game.put(4 + (lengths[d] + 1) * dx, 4 + (lengths[d] + 1) * dy, kBlack);
    whites += lengths[d];
  }
  game.setTurn(kBlack);
  int blacksBefore = game.count(kBlack);
  ASSERT_EQ(game.count(kWhite), whites);

  ASSERT_TRUE(game.play(4, 4));
  EXPECT_EQ(game.count(kWhite), 0);
  EXPECT_EQ(game.count(kBlack), blacksBefore + whites + 1);
}

TEST(Play, StopsFlippingAtTheFirstOwnDisc) {
  ArrangedGame game;
  game.put(2, 1, kWhite);
  game.put(3, 1, kWhite);
  game.put(4, 1, kBlack);
  game.put(5, 1, kWhite);
  game.put(6, 1, kBlack);
  ASSERT_TRUE(game.play(1, 1));
  EXPECT_EQ(game.getCell(2, 1), kBlack);
  EXPECT_EQ(game.getCell(3, 1), kBlack);
  EXPECT_EQ(game.getCell(5, 1), kWhite);
}

TEST(Play, FlipsNothingAlongALineThatRunsIntoTheFrame) {
  // White discs fill row 1 from (2, 1) to the edge: playing (1, 1) brackets
  // nothing along the row, only down column 1.
  ArrangedGame game;
  for (int x = 2; x <= 8; ++x) game.put(x, 1, kWhite);
  game.put(1, 2, kWhite);
  game.put(1, 3, kBlack);
  ASSERT_TRUE(game.play(1, 1));
  EXPECT_EQ(game.getCell(1, 2), kBlack);
  for (int x = 2; x <= 8; ++x) EXPECT_EQ(game.getCell(x, 1), kWhite) << "x = " << x;
}

TEST(Play, RefusesAMoveWhoseOnlyLineRunsIntoTheFrame) {
  ArrangedGame game;
  for (int y = 2; y <= 8; ++y) game.put(8, y, kWhite);
  EXPECT_FALSE(game.canPlay(8, 1));
  EXPECT_FALSE(game.play(8, 1));
  EXPECT_EQ(game.count(kWhite), 7);
  EXPECT_EQ(game.count(kBlack), 0);
}

TEST(Play, IllegalMoveChangesNeitherBoardNorTurn) {
  VantorGame game;
  ASSERT_TRUE(game.play(5, 3));
  const std::vector<int> before = cellsOf(game);
  const int turn = game.getTurn();

  EXPECT_FALSE(game.play(4, 4));  // occupied
  EXPECT_FALSE(game.play(1, 1));  // far from every disc
  EXPECT_FALSE(game.play(3, 6));  // next to white's own disc only
  EXPECT_FALSE(game.play(6, 4));  // touches black discs but brackets nothing
  EXPECT_FALSE(game.play(5, 6));  // a black line with nothing white beyond it

  EXPECT_EQ(cellsOf(game), before);
  EXPECT_EQ(game.getTurn(), turn);
}

TEST(Pass, IsOneWhenOnlyTheOpponentCanMoveAndLeavesTheTurnAlone) {
  // Black's disc sits in the corner behind white's: black cannot bracket it,
  // white can take (3, 1).
  ArrangedGame game;
  game.put(1, 1, kWhite);
  game.put(2, 1, kBlack);
  game.setTurn(kBlack);
  EXPECT_EQ(game.checkPass(), 1);
  EXPECT_EQ(game.getTurn(), kBlack);

  game.switchTurn();
  EXPECT_EQ(game.getTurn(), kWhite);
  EXPECT_EQ(game.checkPass(), 0);
}

TEST(Pass, IsTwoOnAFullBoardAndLeavesTheTurnAlone) {
  ArrangedGame game;
  for (int x = 1; x <= 8; ++x) {
    for (int y = 1; y <= 8; ++y) game.put(x, y, (x + y) % 2 ? kWhite : kBlack);
  }
  game.setTurn(kWhite);
  EXPECT_EQ(game.checkPass(), 2);
  EXPECT_EQ(game.getTurn(), kWhite);
  EXPECT_EQ(game.count(kBlack) + game.count(kWhite), 64);
}

TEST(Pass, IsTwoWhenOneColourIsWipedOut) {
  ArrangedGame game;
  game.put(4, 4, kBlack);
  game.put(5, 4, kBlack);
  game.put(4, 5, kBlack);
  game.setTurn(kWhite);
  EXPECT_EQ(game.checkPass(), 2);
  EXPECT_EQ(game.getTurn(), kWhite);
  game.switchTurn();
  EXPECT_EQ(game.checkPass(), 2);
  EXPECT_EQ(game.getTurn(), kBlack);
}

TEST(Count, FollowsEveryMoveOfAWholeGame) {
  // Random legal games to the end: each move adds one disc for the mover and
  // turns at least one opponent disc; the board never holds more than 64.
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    VantorGame game;
    EXPECT_EQ(game.count(kBlack) + game.count(kWhite), 4);
    for (;;) {
      int pass = game.checkPass();
      if (pass == 2) break;
      if (pass == 1) {
        game.switchTurn();
        continue;
      }
      std::set<Cell> moves = movesOf(game);
      ASSERT_FALSE(moves.empty());
      auto move = moves.begin();
      std::advance(move, random() % moves.size());
      const int mover = game.getTurn();
      const int own = game.count(mover), other = game.count(-mover);
      ASSERT_TRUE(game.play(move->first, move->second));
      const int flipped = other - game.count(-mover);
      EXPECT_GE(flipped, 1);
      EXPECT_EQ(game.count(mover), own + flipped + 1);
      EXPECT_LE(game.count(kBlack) + game.count(kWhite), 64);
      EXPECT_EQ(game.getTurn(), -mover);
    }
    EXPECT_TRUE(movesOf(game).empty());
  }
}
