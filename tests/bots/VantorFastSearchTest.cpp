// Both bitboard searches against the framed-board reference: the same move
// and the same value on thousands of positions of every stage, right after a
// pass, nearly full and nearly wiped out (see PlayoutPositions).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bots/VantorEvaluation.h"
#include "bots/VantorFastSearch.h"
#include "bots/VantorReferenceSearch.h"
#include "tests/bots/PlayoutPositions.h"

namespace {

std::string describe(const ArrangedPosition& p) {
  std::string rows = "\n";
  for (int i = 0; i < 64; ++i)
    rows += std::string(1, "X.O"[p.getCell(i % 8 + 1, i / 8 + 1) + 1]) + (i % 8 == 7 ? "\n" : "");
  return rows + "to move: " + (p.getTurn() == kBlack ? "X" : "O");
}

// Compares both bitboard searches with the reference on every position.
void expectSameChoices(const std::vector<ArrangedPosition>& positions, VantorEvaluationKind kind,
                       int depth) {
  for (const ArrangedPosition& p : positions) {
    const int8_t* board = p.framed();
    int16_t referenceValue = 0, fastValue = 0, orderedValue = 0;
    const int reference =
        referenceChooseMove(board, p.getTurn(), depth, evaluatorOf(kind), &referenceValue);
    const int fast = fastChooseMove(board, p.getTurn(), depth, kind, &fastValue);
    const int ordered = orderedChooseMove(board, p.getTurn(), depth, kind, &orderedValue);
    const std::string where =
        std::string(kind == VantorEvaluationKind::DeepBlue ? "DeepBlue" : "GrayThough") +
        " depth " + std::to_string(depth);
    ASSERT_EQ(reference, fast) << where << describe(p);
    ASSERT_EQ(referenceValue, fastValue) << where << describe(p);
    ASSERT_EQ(reference, ordered) << where << describe(p);
    ASSERT_EQ(referenceValue, orderedValue) << where << describe(p);
  }
}

}  // namespace

TEST(FastSearch, PlaysTheReferenceMoveWithTheReferenceValueToDepthFive) {
  const std::vector<ArrangedPosition> positions = mixedPositions(1100, 300, 300, 300, 7001);
  for (auto kind : {VantorEvaluationKind::DeepBlue, VantorEvaluationKind::GrayThough}) {
    for (int depth = 1; depth <= 5; ++depth) expectSameChoices(positions, kind, depth);
  }
}

// At an even depth the leaves have the root's side to move; only the low
// 8 bits of a depth count (256 searches nothing, 258 two plies).
TEST(FastSearch, MatchesTheReferenceAtDepthsZeroSixSevenAndBeyondEightBits) {
  const std::vector<ArrangedPosition> positions = mixedPositions(100, 20, 20, 20, 515);
  const std::vector<ArrangedPosition> fewer(positions.begin(), positions.begin() + 40);
  for (auto kind : {VantorEvaluationKind::DeepBlue, VantorEvaluationKind::GrayThough}) {
    for (int depth : {0, 256, 258}) expectSameChoices(positions, kind, depth);
    expectSameChoices(fewer, kind, 6);
  }
  expectSameChoices(mixedPositions(64, 12, 12, 12, 8101), VantorEvaluationKind::GrayThough, 7);
}

TEST(FastSearch, CountsEveryPositionVisitedAndOrderedSearchVisitsFarFewer) {
  uint64_t nodes = 0;
  fastChooseMove(ArrangedPosition().framed(), kBlack, 1, VantorEvaluationKind::DeepBlue, nullptr,
                 &nodes);
  EXPECT_EQ(5u, nodes);  // the root and its four moves
  uint64_t treeNodes = 0, orderedNodes = 0;
  for (const ArrangedPosition& p : mixedPositions(40, 0, 0, 0, 31)) {
    fastChooseMove(p.framed(), p.getTurn(), 7, VantorEvaluationKind::GrayThough, nullptr, &nodes);
    treeNodes += nodes;
    orderedChooseMove(p.framed(), p.getTurn(), 7, VantorEvaluationKind::GrayThough, nullptr,
                      &nodes);
    orderedNodes += nodes;
  }
  EXPECT_LT(orderedNodes * 2, treeNodes);
}
