#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bots/VantorBitBoard.h"
#include "bots/VantorEvaluation.h"
#include "bots/VantorFastSearch.h"
#include "bots/VantorReferenceSearch.h"
#include "game/VantorGame.h"
#include "tests/bots/PlayoutPositions.h"

namespace {

const char* nameOf(VantorEvaluationKind kind) {
  return kind == VantorEvaluationKind::DeepBlue ? "DeepBlue" : "GrayThough";
}

std::string describe(const PlayoutPosition& p) {
  std::ostringstream out;
  for (int y = 1; y <= 8; ++y) {
    out << '\n';
    for (int x = 1; x <= 8; ++x) {
      const int cell = p.board[toIndex(x, y)];
      out << (cell == kBlack ? 'X' : cell == kWhite ? 'O' : '.');
    }
  }
  out << "\nto move: " << (p.colour == kBlack ? "X" : "O");
  return out.str();
}

// Every stage of a game, in the proportions the equivalence test uses.
std::vector<PlayoutPosition> mixedPositions(int stages, int afterPass, int full, int lopsided,
                                            unsigned seed) {
  std::vector<PlayoutPosition> all = stagePositions(stages, seed);
  for (const auto& more :
       {afterPassPositions(afterPass, seed + 1), fullBoardPositions(full, 52, seed + 2),
        lopsidedPositions(lopsided, 3, seed + 3)}) {
    all.insert(all.end(), more.begin(), more.end());
  }
  return all;
}

const std::vector<PlayoutPosition>& equivalencePositions() {
  static const std::vector<PlayoutPosition> positions = mixedPositions(1100, 300, 300, 300, 7001);
  return positions;
}

// Compares both bitboard searches with the reference on every position.
void expectSameChoices(const std::vector<PlayoutPosition>& positions, VantorEvaluationKind kind,
                       int depth) {
  for (const PlayoutPosition& p : positions) {
    int16_t referenceValue = 0;
    int16_t fastValue = 0;
    int16_t orderedValue = 0;
    const int referenceMove =
        referenceChooseMove(p.board, p.colour, depth, evaluatorOf(kind), &referenceValue);
    const int fastMove = fastChooseMove(p.board, p.colour, depth, kind, &fastValue);
    const int orderedMove = orderedChooseMove(p.board, p.colour, depth, kind, &orderedValue);
    EXPECT_EQ(referenceMove, fastMove) << nameOf(kind) << " depth " << depth << describe(p);
    EXPECT_EQ(referenceValue, fastValue) << nameOf(kind) << " depth " << depth << describe(p);
    EXPECT_EQ(referenceMove, orderedMove) << nameOf(kind) << " depth " << depth << describe(p);
    EXPECT_EQ(referenceValue, orderedValue) << nameOf(kind) << " depth " << depth << describe(p);
    if (::testing::Test::HasFailure()) return;
  }
}

}  // namespace

// Names the evaluation in the parameterised tests' names.
void PrintTo(VantorEvaluationKind kind, std::ostream* out) {
  *out << nameOf(kind);
}

TEST(FastSearch, EvaluatesEveryPositionOfManyGamesLikeTheFramedBoard) {
  std::mt19937 random(99);
  int positions = 0;
  for (int game = 0; game < 300; ++game) {
    const PlayoutStyle style = game % 3 == 0 ? PlayoutStyle::Greedy : PlayoutStyle::Random;
    playOut(random, PlayoutStyle::Random, style, [&](const PlayoutGame& g, bool) {
      for (int colour : {kBlack, kWhite}) {
        const VantorBitBoard bits = VantorBitBoard::fromFramed(g.framed(), colour);
        EXPECT_EQ(deepBlueEvaluate(g.framed(), colour), deepBlueEvaluateBits(bits.own, bits.opp));
        EXPECT_EQ(grayThoughEvaluate(g.framed(), colour),
                  grayThoughEvaluateBits(bits.own, bits.opp));
      }
      ++positions;
      return !::testing::Test::HasFailure();
    });
    ASSERT_FALSE(::testing::Test::HasFailure());
  }
  EXPECT_GT(positions, 15000);
}

TEST(FastSearch, TestsPositionsOfEveryKind) {
  const std::vector<PlayoutPosition>& positions = equivalencePositions();
  ASSERT_GE(positions.size(), 2000u);
  int openings = 0;
  int middle = 0;
  int nearlyFull = 0;
  int nearlyWipedOut = 0;
  int passBelowRoot = 0;
  for (const PlayoutPosition& p : positions) {
    // Some move of the side to move leaves the opponent without a move
    // while the game goes on: the search passes one ply below the root.
    const VantorBitBoard bits = VantorBitBoard::fromFramed(p.board, p.colour);
    bool passes = false;
    for (uint64_t moves = bits.moves(); moves != 0 && !passes; moves &= moves - 1) {
      const VantorBitBoard child = bits.play(__builtin_ctzll(moves));
      passes = child.moves() == 0 && child.pass().moves() != 0;
    }
    passBelowRoot += passes;
    const int discs = discsOn(p.board);
    openings += discs <= 16;
    middle += discs > 16 && discs < 48;
    nearlyFull += discs >= 56;
    nearlyWipedOut += fewerDiscs(p.board) <= 3 && discs >= 8;
  }
  EXPECT_GE(openings, 200);
  EXPECT_GE(middle, 500);
  EXPECT_GE(nearlyFull, 200);
  EXPECT_GE(nearlyWipedOut, 300);
  EXPECT_GE(passBelowRoot, 100);
}

class FastSearchAtDepth : public ::testing::TestWithParam<std::tuple<VantorEvaluationKind, int>> {};

TEST_P(FastSearchAtDepth, PlaysTheReferenceMoveWithTheReferenceValue) {
  const VantorEvaluationKind kind = std::get<0>(GetParam());
  const int depth = std::get<1>(GetParam());
  expectSameChoices(equivalencePositions(), kind, depth);
}

INSTANTIATE_TEST_SUITE_P(BothEvaluations, FastSearchAtDepth,
                         ::testing::Combine(::testing::Values(VantorEvaluationKind::DeepBlue,
                                                              VantorEvaluationKind::GrayThough),
                                            ::testing::Range(1, 6)),
                         [](const ::testing::TestParamInfo<FastSearchAtDepth::ParamType>& info) {
                           return std::string(nameOf(std::get<0>(info.param))) + "Depth" +
                                  std::to_string(std::get<1>(info.param));
                         });

TEST(FastSearch, PlaysTheReferenceMoveWithTheReferenceValueAtDepthSeven) {
  const std::vector<PlayoutPosition> positions = mixedPositions(64, 12, 12, 12, 8101);
  ASSERT_GE(positions.size(), 100u);
  expectSameChoices(positions, VantorEvaluationKind::GrayThough, 7);
}

TEST(FastSearch, OrderedSearchVisitsFarFewerNodesThanTheReferenceTree) {
  const std::vector<PlayoutPosition> positions = stagePositions(40, 31);
  uint64_t treeNodes = 0;
  uint64_t orderedNodes = 0;
  for (const PlayoutPosition& p : positions) {
    uint64_t nodes = 0;
    fastChooseMove(p.board, p.colour, 7, VantorEvaluationKind::GrayThough, nullptr, &nodes);
    treeNodes += nodes;
    orderedChooseMove(p.board, p.colour, 7, VantorEvaluationKind::GrayThough, nullptr, &nodes);
    orderedNodes += nodes;
  }
  EXPECT_LT(orderedNodes * 2, treeNodes);
}

TEST(FastSearch, OrderedSearchAgreesWithTheReferenceTreeOnManyMorePositions) {
  // The bitboard walk of the reference's tree is cheap enough to stand in
  // for the reference on a wider sample.
  const std::vector<PlayoutPosition> positions = mixedPositions(1400, 200, 200, 200, 60606);
  for (VantorEvaluationKind kind :
       {VantorEvaluationKind::DeepBlue, VantorEvaluationKind::GrayThough}) {
    for (int depth : {1, 2, 3, 4, 5, 7}) {
      const int count = depth < 7 ? static_cast<int>(positions.size()) : 200;
      for (int n = 0; n < count; ++n) {
        const PlayoutPosition& p = positions[n];
        int16_t treeValue = 0;
        int16_t orderedValue = 0;
        const int treeMove = fastChooseMove(p.board, p.colour, depth, kind, &treeValue);
        const int orderedMove = orderedChooseMove(p.board, p.colour, depth, kind, &orderedValue);
        ASSERT_EQ(treeMove, orderedMove) << nameOf(kind) << " depth " << depth << describe(p);
        ASSERT_EQ(treeValue, orderedValue) << nameOf(kind) << " depth " << depth << describe(p);
      }
    }
  }
}

TEST(FastSearch, TakesTheFirstLegalMoveWhenEveryMoveLosesEverything) {
  // Black has two moves, (4, 1) and (1, 4); after either, white takes that
  // line, black must play the other and white takes the rest.
  PlayoutPosition p;
  clearBoard(p.board);
  p.board[toIndex(1, 1)] = kWhite;
  p.board[toIndex(2, 1)] = kBlack;
  p.board[toIndex(3, 1)] = kWhite;
  p.board[toIndex(1, 2)] = kBlack;
  p.board[toIndex(1, 3)] = kWhite;
  p.colour = kBlack;
  for (int depth : {5, 7}) {
    int16_t referenceValue = 0;
    int16_t fastValue = 0;
    EXPECT_EQ(toIndex(4, 1),
              referenceChooseMove(p.board, kBlack, depth, grayThoughEvaluate, &referenceValue));
    EXPECT_EQ(kSearchFloor, referenceValue);
    EXPECT_EQ(toIndex(4, 1),
              fastChooseMove(p.board, kBlack, depth, VantorEvaluationKind::GrayThough, &fastValue));
    EXPECT_EQ(kSearchFloor, fastValue);
    EXPECT_EQ(toIndex(4, 1), orderedChooseMove(p.board, kBlack, depth,
                                               VantorEvaluationKind::GrayThough, &fastValue));
    EXPECT_EQ(kSearchFloor, fastValue);
  }
}

TEST(FastSearch, MatchesTheReferenceAtDepthZeroEvenDepthsAndDepthsBeyondEightBits) {
  // At an even depth the leaves have the root's side to move; only the low
  // 8 bits of a depth count (256 searches nothing, 258 two plies).
  const std::vector<PlayoutPosition> positions = mixedPositions(100, 20, 20, 20, 515);
  const std::vector<PlayoutPosition> fewer(positions.begin(), positions.begin() + 40);
  for (VantorEvaluationKind kind :
       {VantorEvaluationKind::DeepBlue, VantorEvaluationKind::GrayThough}) {
    for (int depth : {0, 256, 258}) expectSameChoices(positions, kind, depth);
    expectSameChoices(fewer, kind, 6);
  }
}

TEST(FastSearch, FindsNoMoveForASideThatMustPass) {
  // Black cannot move here; white can.
  int8_t board[kBoardSize];
  clearBoard(board);
  board[toIndex(1, 1)] = kWhite;
  board[toIndex(2, 1)] = kBlack;
  int16_t value = 0;
  EXPECT_EQ(0, fastChooseMove(board, kBlack, 3, VantorEvaluationKind::GrayThough, &value));
  EXPECT_EQ(kSearchFloor, value);
  EXPECT_EQ(0, orderedChooseMove(board, kBlack, 3, VantorEvaluationKind::GrayThough, &value));
  EXPECT_EQ(kSearchFloor, value);
  EXPECT_EQ(toIndex(3, 1), fastChooseMove(board, kWhite, 3, VantorEvaluationKind::GrayThough));
}

TEST(FastSearch, CountsTheRootAndEveryPositionBelowIt) {
  PlayoutGame game;
  uint64_t nodes = 0;
  fastChooseMove(game.framed(), kBlack, 1, VantorEvaluationKind::DeepBlue, nullptr, &nodes);
  EXPECT_EQ(5u, nodes);
}
