#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "bots/VantorDeepBlue.h"
#include "bots/VantorEvaluation.h"
#include "bots/VantorGrayThough.h"
#include "bots/VantorReferenceSearch.h"
#include "game/VantorGame.h"
#include "tests/bots/ArrangedPosition.h"

namespace {

// A bot without a lobby whose search a test may call node by node.
class SearchingBot : public VantorMinMaxBot {
 public:
  SearchingBot(int depth, VantorEvaluationKind kind)
      : VantorMinMaxBot(nullptr, "Searcher", depth, kind) {}
  ~SearchingBot() override { retire(); }
  int evaluate(const int8_t* board, int colour) override {
    return evaluatorOf(getEvaluationKind())(board, colour);
  }
  using VantorMinMaxBot::search;
};

int zeroEvaluation(const int8_t*, int) {
  return 0;
}

int indexOf(VantorCoords c) {
  return toIndex(c.x, c.y);
}

std::vector<int> legalMoves(const int8_t* board, int colour) {
  std::vector<int> moves;
  for (int i = 11; i <= 88; ++i) {
    if (kFrameMask[i] == 0 && isLegalOnBoard(board, i, colour)) moves.push_back(i);
  }
  return moves;
}

// Positions reached by random legal play from the start, with the side to
// move holding at least one move.
std::vector<ArrangedPosition> randomPositions(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<ArrangedPosition> positions;
  while (static_cast<int>(positions.size()) < count) {
    VantorGame game;
    int plies = 4 + static_cast<int>(random() % 52);
    for (int n = 0; n < plies && game.checkPass() != 2; ++n) {
      if (game.checkPass() == 1) game.switchTurn();
      std::vector<std::pair<int, int>> moves;
      for (int x = 1; x <= 8; ++x) {
        for (int y = 1; y <= 8; ++y) {
          if (game.canPlay(x, y)) moves.push_back({x, y});
        }
      }
      auto move = moves[random() % moves.size()];
      game.play(move.first, move.second);
    }
    if (game.checkPass() != 0) continue;
    ArrangedPosition p;
    for (int x = 1; x <= 8; ++x) {
      for (int y = 1; y <= 8; ++y) p.put(x, y, game.getCell(x, y));
    }
    p.setTurn(game.getTurn());
    positions.push_back(p);
  }
  return positions;
}

// The same tree walked without any cut-off: the value every node would have
// with an unbounded window.
int16_t plainNegamax(const int8_t* board, int rootColour, int colour, int plies, int depth,
                     VantorEvaluator evaluate, int* chosen) {
  if (plies == 0) return static_cast<int16_t>(-evaluate(board, rootColour));
  int16_t best = kSearchFloor;
  int move = 0;
  bool any = false;
  for (int i : legalMoves(board, colour)) {
    int8_t work[kBoardSize];
    std::memcpy(work, board, kBoardSize);
    playOnBoard(work, i, colour);
    any = true;
    int16_t value = static_cast<int16_t>(
        -plainNegamax(work, rootColour, -colour, plies - 1, depth, evaluate, nullptr));
    if (value > best) {
      best = value;
      move = i;
    }
  }
  if (!any && plies != depth) {
    int16_t value = static_cast<int16_t>(
        -plainNegamax(board, rootColour, -colour, plies - 1, depth, evaluate, nullptr));
    if (value > best) best = value;
  }
  if (chosen != nullptr) *chosen = move;
  return best;
}

const char* kInitial =
    "........"
    "........"
    "........"
    "...XO..."
    "...OX..."
    "........"
    "........"
    "........";

}  // namespace

TEST(MinMaxSearch, BreaksTiesInFavourOfTheLowestIndex) {
  // The four opening moves are worth the same to both evaluations.
  ArrangedPosition start(kInitial);
  for (int depth : {1, 3}) {
    VantorDeepBlue deepBlue(nullptr, depth);
    VantorGrayThough grayThough(nullptr, depth);
    EXPECT_EQ(indexOf(deepBlue.chooseMove(start)), toIndex(5, 3));
    EXPECT_EQ(indexOf(grayThough.chooseMove(start)), toIndex(5, 3));
  }
  // With every position worth the same, the first legal move wins.
  for (const ArrangedPosition& p : randomPositions(20, 7)) {
    EXPECT_EQ(referenceChooseMove(p.framed(), p.getTurn(), 3, zeroEvaluation),
              legalMoves(p.framed(), p.getTurn()).front());
  }
}

TEST(MinMaxSearch, AtLevelOneTakesTheBestImmediateEvaluation) {
  for (VantorEvaluationKind kind :
       {VantorEvaluationKind::DeepBlue, VantorEvaluationKind::GrayThough}) {
    SearchingBot bot(1, kind);
    VantorEvaluator evaluate = evaluatorOf(kind);
    for (const ArrangedPosition& p : randomPositions(60, 11)) {
      int colour = p.getTurn();
      int expected = 0;
      int bestValue = 0;
      for (int i : legalMoves(p.framed(), colour)) {
        int8_t after[kBoardSize];
        std::memcpy(after, p.framed(), kBoardSize);
        playOnBoard(after, i, colour);
        int value = evaluate(after, colour);
        if (expected == 0 || value > bestValue) {
          expected = i;
          bestValue = value;
        }
      }
      EXPECT_EQ(indexOf(bot.chooseMove(p)), expected);
    }
  }
}

TEST(MinMaxSearch, BelowTheRootPassesAndSearchesTheOpponentsReply) {
  // White, to move at a node below the root, has no move; black then takes
  // (3, 1) and holds the whole top-left: 20 + 0 + 7 for black.
  ArrangedPosition p(
      "XO......"
      "........"
      "........"
      "........"
      "........"
      "........"
      "........"
      "........");
  SearchingBot bot(3, VantorEvaluationKind::DeepBlue);
  int bestMove = -1;
  int16_t value = bot.search(p.framed(), kBlack, kWhite, 2, bestMove, -9999, 9999);
  EXPECT_EQ(value, -27);
  EXPECT_EQ(bestMove, 0);  // the pass itself
  // The same node as the root (plies equal to the depth) does not pass.
  bestMove = -1;
  EXPECT_EQ(bot.search(p.framed(), kBlack, kWhite, 3, bestMove, -9999, 9999), -9999);
  EXPECT_EQ(bestMove, 0);
}

TEST(MinMaxSearch, TakesTheFirstLegalMoveWhenEveryMoveLosesEverything) {
  // Either capture on the bottom row lets white take back the whole row.
  ArrangedPosition p(
      "........"
      "........"
      "........"
      ".O......"
      "........"
      "........"
      "........"
      "...OXO..");
  SearchingBot bot(3, VantorEvaluationKind::GrayThough);
  int bestMove = -1;
  EXPECT_EQ(bot.search(p.framed(), kBlack, kBlack, 3, bestMove, -9999, 9999), -9999);
  EXPECT_EQ(bestMove, 0);
  VantorCoords move = bot.chooseMove(p);
  EXPECT_EQ(move.x, 3);
  EXPECT_EQ(move.y, 8);
}

TEST(MinMaxSearch, ReturnsNoMoveOnlyWhenThereIsNone) {
  ArrangedPosition p(
      "XO......"
      "........"
      "........"
      "........"
      "........"
      "........"
      "........"
      "........",
      kWhite);
  VantorDeepBlue bot(nullptr, 3);
  VantorCoords move = bot.chooseMove(p);
  EXPECT_EQ(move.x, 0);
  EXPECT_EQ(move.y, 0);
}

TEST(MinMaxSearch, PrunesWithoutChangingTheChosenMove) {
  for (VantorEvaluationKind kind :
       {VantorEvaluationKind::DeepBlue, VantorEvaluationKind::GrayThough}) {
    VantorEvaluator evaluate = evaluatorOf(kind);
    for (int depth : {1, 3}) {
      SearchingBot bot(depth, kind);
      for (const ArrangedPosition& p : randomPositions(40, 23 + depth)) {
        int colour = p.getTurn();
        int expected = 0;
        int16_t plainValue =
            plainNegamax(p.framed(), colour, colour, depth, depth, evaluate, &expected);
        if (expected == 0) expected = legalMoves(p.framed(), colour).front();
        int16_t value = 0;
        EXPECT_EQ(referenceChooseMove(p.framed(), colour, depth, evaluate, &value), expected);
        EXPECT_EQ(value, plainValue);
        EXPECT_EQ(indexOf(bot.chooseMove(p)), expected);
      }
    }
  }
}

TEST(MinMaxSearch, GivesTheSameMoveForTheSamePositionAndDepth) {
  VantorGrayThough first(nullptr, 3);
  VantorGrayThough second(nullptr, 3);
  for (const ArrangedPosition& p : randomPositions(10, 5)) {
    EXPECT_EQ(indexOf(first.chooseMove(p)), indexOf(second.chooseMove(p)));
  }
}

TEST(MinMaxSearch, MovesForTheSideToMoveOfTheGame) {
  // The opening position with white to move gives white's first move.
  ArrangedPosition p(kInitial, kWhite);
  VantorDeepBlue bot(nullptr, 1);
  VantorCoords whiteMove = bot.chooseMove(p);
  EXPECT_EQ(indexOf(whiteMove), toIndex(4, 3));
  EXPECT_EQ(bot.getDepth(), 1);
  EXPECT_EQ(bot.getEvaluationKind(), VantorEvaluationKind::DeepBlue);
}
