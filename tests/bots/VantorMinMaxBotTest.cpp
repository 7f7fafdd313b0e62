// The search rules, on the framed-board reference and, where they show at
// the root, on both bitboard searches and the computer players too.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "bots/VantorEvaluation.h"
#include "bots/VantorFastSearch.h"
#include "bots/VantorGrayThough.h"
#include "bots/VantorReferenceSearch.h"
#include "tests/bots/PlayoutPositions.h"

namespace {

int indexOf(VantorCoords c) {
  return toIndex(c.x, c.y);
}

int zeroEvaluation(const int8_t*, int) {
  return 0;
}

// Positions of every stage whose side to move has a move.
std::vector<ArrangedPosition> playable(int count, unsigned seed) {
  return positionsWhere(count, seed, false, [](const ArrangedPosition& g, bool, unsigned draw) {
    return discsOn(g.framed()) >= 8 + static_cast<int>(draw % 52) && g.checkPass() == 0;
  });
}

// The same tree walked without any cut-off: the value every node would have
// with an unbounded window, and at the top the first move of that value.
int16_t plainNegamax(const int8_t* board, int rootColour, int colour, int plies, int depth,
                     VantorEvaluator evaluate, int* chosen = nullptr) {
  if (plies == 0) return static_cast<int16_t>(-evaluate(board, rootColour));
  std::vector<int> moves = legalIndices(board, colour);
  if (moves.empty() && plies != depth) moves.push_back(0);  // a pass below the root
  int16_t best = kSearchFloor;
  for (int i : moves) {
    int8_t work[kBoardSize];
    std::memcpy(work, board, kBoardSize);
    if (i != 0) playOnBoard(work, i, colour);
    const int value = -plainNegamax(work, rootColour, -colour, plies - 1, depth, evaluate);
    if (value > best) {
      best = static_cast<int16_t>(value);
      if (chosen != nullptr) *chosen = i;
    }
  }
  return best;
}

}  // namespace

// The bitboard searches break them the same way (VantorFastSearchTest).
TEST(MinMaxSearch, BreaksTiesInFavourOfTheLowestIndex) {
  // With every position worth the same, the first legal move wins.
  for (const ArrangedPosition& p : playable(20, 7)) {
    EXPECT_EQ(referenceChooseMove(p.framed(), p.getTurn(), 3, zeroEvaluation),
              legalIndices(p.framed(), p.getTurn()).front());
  }
}

// At depth 1 the plain walk's value of a move is its immediate evaluation,
// so level one must take the best of those.
TEST(MinMaxSearch,
     TakesTheBestImmediateEvaluationAtLevelOneAndPrunesWithoutChangingTheMoveOrTheValue) {
  for (auto kind : {VantorEvaluationKind::DeepBlue, VantorEvaluationKind::GrayThough}) {
    const VantorEvaluator evaluate = evaluatorOf(kind);
    for (int depth : {1, 3}) {
      for (const ArrangedPosition& p : playable(40, 23 + depth)) {
        const int colour = p.getTurn();
        int expected = legalIndices(p.framed(), colour).front();
        const int16_t plainValue =
            plainNegamax(p.framed(), colour, colour, depth, depth, evaluate, &expected);
        int16_t value = 0;
        EXPECT_EQ(referenceChooseMove(p.framed(), colour, depth, evaluate, &value), expected);
        EXPECT_EQ(value, plainValue);
      }
    }
  }
}

TEST(MinMaxSearch, BelowTheRootPassesAndSearchesTheOpponentsReply) {
  // White, to move at a node below the root, has no move; black then takes
  // (3, 1) and holds the whole top-left: 20 + 0 + 7 for black.
  const ArrangedPosition p("XO");
  int bestMove = -1;
  EXPECT_EQ(referenceSearch(p.framed(), kBlack, kWhite, 2, 3, bestMove, kSearchFloor,
                            kSearchCeiling, deepBlueEvaluate),
            -27);
  EXPECT_EQ(bestMove, 0);  // the pass itself
  // The same node as the root (plies equal to the depth) does not pass.
  bestMove = -1;
  EXPECT_EQ(referenceSearch(p.framed(), kBlack, kWhite, 3, 3, bestMove, kSearchFloor,
                            kSearchCeiling, deepBlueEvaluate),
            kSearchFloor);
  EXPECT_EQ(bestMove, 0);
}

TEST(MinMaxSearch, TakesTheFirstLegalMoveWhenEveryMoveLosesEverythingAndNoneWithoutAMove) {
  struct Case {
    ArrangedPosition position;
    int depth;
    int expected;
  };
  // After either of black's moves white takes that line, black must play
  // the other and white takes the rest.
  const ArrangedPosition corner("OXO.....X.......O");
  const Case cases[] = {
      // Either capture on the bottom row lets white take back the whole row.
      {ArrangedPosition("").put(2, 4, kWhite).put(4, 8, kWhite).put(5, 8, kBlack).put(6, 8, kWhite),
       3, toIndex(3, 8)},
      {corner, 5, toIndex(4, 1)},
      {corner, 7, toIndex(4, 1)},
      {ArrangedPosition("OX"), 3, 0},  // black has no move
  };
  for (const Case& c : cases) {
    const ArrangedPosition& p = c.position;
    int16_t reference = 0, fast = 0, ordered = 0;
    EXPECT_EQ(c.expected,
              referenceChooseMove(p.framed(), kBlack, c.depth, grayThoughEvaluate, &reference));
    EXPECT_EQ(c.expected,
              fastChooseMove(p.framed(), kBlack, c.depth, VantorEvaluationKind::GrayThough, &fast));
    EXPECT_EQ(c.expected, orderedChooseMove(p.framed(), kBlack, c.depth,
                                            VantorEvaluationKind::GrayThough, &ordered));
    EXPECT_EQ(kSearchFloor, reference);
    EXPECT_EQ(kSearchFloor, fast);
    EXPECT_EQ(kSearchFloor, ordered);
    EXPECT_EQ(c.expected, indexOf(VantorGrayThough(nullptr, c.depth).chooseMove(p)));
  }
}
