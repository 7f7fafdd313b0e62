// The rules on one game where the perft counts cannot see them: a refused
// move, which they never try, and passing, which they do not reach. How
// discs flip they check over whole trees of play, and the bitboards, made
// independently, check it again on positions of every stage
// (VantorBitBoardTest, VantorFastSearchTest).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/ArrangedPosition.h"

namespace {

std::vector<int> cellsOf(const VantorGame& game) {
  std::vector<int> cells;
  for (int y = 1; y <= 8; ++y) {
    for (int x = 1; x <= 8; ++x) cells.push_back(game.getCell(x, y));
  }
  return cells;
}

}  // namespace

TEST(Play, RefusesAMoveThatBracketsNothingAndChangesNeitherBoardNorTurn) {
  ArrangedPosition opened;
  ASSERT_TRUE(opened.play(5, 3));  // white to move
  EXPECT_EQ(opened.count(kBlack), 4);
  EXPECT_EQ(opened.count(kWhite), 1);
  ArrangedPosition edge("");  // black to move beside a white line
  for (int y = 2; y <= 8; ++y) edge.put(8, y, kWhite);
  const struct {
    ArrangedPosition* game;
    int x, y;
  } cases[] = {
      {&opened, 4, 4},  // occupied
      {&opened, 1, 1},  // far from every disc
      {&opened, 3, 6},  // next to white's own disc only
      {&opened, 6, 4},  // touches black discs but brackets nothing
      {&opened, 5, 6},  // a black line with nothing white beyond it
      {&edge, 8, 1},    // the white line runs into the frame
  };
  for (const auto& c : cases) {
    const std::vector<int> before = cellsOf(*c.game);
    const int turn = c.game->getTurn();
    EXPECT_FALSE(c.game->canPlay(c.x, c.y)) << c.x << "," << c.y;
    EXPECT_FALSE(c.game->play(c.x, c.y)) << c.x << "," << c.y;
    EXPECT_EQ(cellsOf(*c.game), before);
    EXPECT_EQ(c.game->getTurn(), turn);
  }
}

TEST(Pass, IsOneWhenOnlyTheOpponentCanMoveTwoWhenNeitherCanAndLeavesTheTurnAlone) {
  std::string full;
  for (int i = 0; i < 32; ++i) full += "XO";
  const struct {
    const char* rows;
    int blackToMove, whiteToMove;
  } cases[] = {
      {"OX", 1, 0},  // black sits behind white in the corner: only white can move
      {full.c_str(), 2, 2},
      {"XX", 2, 2},  // white wiped out
  };
  for (const auto& c : cases) {
    for (int turn : {kBlack, kWhite}) {
      ArrangedPosition game(c.rows, turn);
      EXPECT_EQ(game.checkPass(), turn == kBlack ? c.blackToMove : c.whiteToMove)
          << c.rows << " turn " << turn;
      EXPECT_EQ(game.getTurn(), turn);
    }
  }
}
