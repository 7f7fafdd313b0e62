#include <gtest/gtest.h>

#include "bots/VantorEvaluation.h"
#include "game/VantorGame.h"
#include "tests/bots/ArrangedPosition.h"

namespace {

const char* kInitial =
    "........"
    "........"
    "........"
    "...XO..."
    "...OX..."
    "........"
    "........"
    "........";

int deepBlue(const ArrangedPosition& p, int colour) {
  return deepBlueEvaluate(p.framed(), colour);
}
int grayThough(const ArrangedPosition& p, int colour) {
  return grayThoughEvaluate(p.framed(), colour);
}

}  // namespace

TEST(DeepBlueEvaluation, RatesTheInitialPositionZeroForBothColours) {
  ArrangedPosition p(kInitial);
  EXPECT_EQ(deepBlue(p, kBlack), 0);
  EXPECT_EQ(deepBlue(p, kWhite), 0);
}

TEST(DeepBlueEvaluation, CountsEachCornerTwenty) {
  for (auto corner : {std::pair<int, int>{1, 1}, {8, 1}, {1, 8}, {8, 8}}) {
    ArrangedPosition p(kInitial);
    p.put(corner.first, corner.second, kBlack);
    EXPECT_EQ(deepBlue(p, kBlack), 20);
    EXPECT_EQ(deepBlue(p, kWhite), -20);
  }
}

TEST(DeepBlueEvaluation, WeighsTheCellsBesideACornerNothing) {
  ArrangedPosition p(kInitial);
  for (auto cell : {std::pair<int, int>{2, 1}, {1, 2}, {2, 2}, {7, 7}, {8, 7}, {7, 8}}) {
    p.put(cell.first, cell.second, kWhite);
  }
  EXPECT_EQ(deepBlue(p, kBlack), 0);
}

TEST(DeepBlueEvaluation, SumsTheWeightTableOverAFullBoard) {
  // Every weight of the table once: 4 corners of 20, 16 edge cells of 7, 4
  // cells of 8, 8 of 5, 20 of 3 and 12 of 0.
  ArrangedPosition p;
  for (int y = 1; y <= 8; ++y) {
    for (int x = 1; x <= 8; ++x) p.put(x, y, kBlack);
  }
  EXPECT_EQ(deepBlue(p, kBlack), 4 * 20 + 16 * 7 + 4 * 8 + 8 * 5 + 20 * 3);
  EXPECT_EQ(deepBlue(p, kWhite), -(4 * 20 + 16 * 7 + 4 * 8 + 8 * 5 + 20 * 3));
}

TEST(GrayThoughEvaluation, RatesTheInitialPositionZero) {
  ArrangedPosition p(kInitial);
  EXPECT_EQ(grayThough(p, kBlack), 0);
  EXPECT_EQ(grayThough(p, kWhite), 0);
}

TEST(GrayThoughEvaluation, CountsACornerAHundred) {
  ArrangedPosition without(kInitial);
  ArrangedPosition with(kInitial);
  with.put(8, 8, kWhite);
  EXPECT_EQ(grayThough(with, kWhite) - grayThough(without, kWhite), 100);
  EXPECT_EQ(grayThough(with, kBlack) - grayThough(without, kBlack), -100);
}

TEST(GrayThoughEvaluation, GivesExactlyTheWipedOutValuesWhateverElseHolds) {
  ArrangedPosition p(
      "X......X"
      "........"
      "........"
      "...XX..."
      "...XX..."
      "........"
      "........"
      "X......X");
  EXPECT_EQ(grayThough(p, kWhite), -12287);
  EXPECT_EQ(grayThough(p, kBlack), 12287);
  EXPECT_EQ(kWipedOut, 12287);
}

TEST(GrayThoughEvaluation, GivesTenTimesTheDiscDifferenceOnAFullBoard) {
  // 40 black, 24 white, white holding every corner and black every X-square.
  ArrangedPosition p(
      "OXXXXXXO"
      "XXXXXXXX"
      "XXXXXXXX"
      "XXXXXXXX"
      "XXXXXXXX"
      "OOOOOOOO"
      "OXOOOOXO"
      "OOOOOOOO");
  EXPECT_EQ(p.count(kBlack), 40);
  EXPECT_EQ(grayThough(p, kBlack), 160);
  EXPECT_EQ(grayThough(p, kWhite), -160);
}

TEST(GrayThoughEvaluation, CountsTheDiscDifferenceFromFortyEightDiscsOn) {
  // Nobody can move in either position; black holds two corners to white's
  // one and three full middle edges: 100 + 3 before the discs count.
  ArrangedPosition p48(
      "XXXXXXXX"
      "XXXXXXXX"
      "XXXXXXXX"
      "XXX..XXX"
      "XXXXXXXX"
      "XXXXXXXX"
      "........"
      "OO......");
  ArrangedPosition p47(p48);
  p47.put(4, 3, kEmpty);
  ASSERT_EQ(p48.count(kBlack) + p48.count(kWhite), 48);
  ASSERT_EQ(p47.count(kBlack) + p47.count(kWhite), 47);
  EXPECT_EQ(grayThough(p47, kBlack), 103);
  EXPECT_EQ(grayThough(p48, kBlack), 103 + 46 - 2);
  EXPECT_EQ(grayThough(p48, kWhite), -(103 + 46 - 2));
}

TEST(GrayThoughEvaluation, ChargesAnXSquareOnlyBesideAnEmptyCorner) {
  ArrangedPosition plain(kInitial);
  ArrangedPosition xSquare(kInitial);
  xSquare.put(2, 2, kBlack);
  EXPECT_EQ(grayThough(xSquare, kBlack) - grayThough(plain, kBlack), -15);
  EXPECT_EQ(grayThough(xSquare, kWhite) - grayThough(plain, kWhite), 15);

  ArrangedPosition corner(kInitial);
  corner.put(1, 1, kBlack);
  ArrangedPosition cornerAndXSquare(corner);
  cornerAndXSquare.put(2, 2, kBlack);
  EXPECT_EQ(grayThough(cornerAndXSquare, kBlack), grayThough(corner, kBlack));
}

TEST(GrayThoughEvaluation, CountsAFullEdgeByItsFourMiddleCellsOnly) {
  ArrangedPosition edge(kInitial);
  for (int x = 3; x <= 6; ++x) edge.put(x, 1, kBlack);
  ArrangedPosition broken(edge);
  broken.put(6, 1, kEmpty);
  EXPECT_EQ(grayThough(edge, kBlack) - grayThough(broken, kBlack), 1);

  // Corners of both colours beside it change nothing for the edge.
  ArrangedPosition cornered(edge);
  cornered.put(1, 1, kBlack);
  cornered.put(8, 1, kWhite);
  EXPECT_EQ(grayThough(cornered, kBlack), grayThough(edge, kBlack));

  ArrangedPosition left(kInitial);
  for (int y = 3; y <= 6; ++y) left.put(1, y, kWhite);
  ArrangedPosition leftBroken(left);
  leftBroken.put(1, 3, kEmpty);
  EXPECT_EQ(grayThough(left, kWhite) - grayThough(leftBroken, kWhite), 1);
}

TEST(Evaluations, AreAntisymmetric) {
  ArrangedPosition p(
      "X.O....."
      ".XO..O.."
      "..XXOX.."
      "..OXXO.."
      "..OXOX.."
      "...O.X.."
      "......O."
      ".......X");
  for (VantorEvaluationKind kind :
       {VantorEvaluationKind::DeepBlue, VantorEvaluationKind::GrayThough}) {
    VantorEvaluator evaluate = evaluatorOf(kind);
    EXPECT_EQ(evaluate(p.framed(), kBlack), -evaluate(p.framed(), kWhite));
  }
  EXPECT_EQ(evaluatorOf(VantorEvaluationKind::DeepBlue), &deepBlueEvaluate);
  EXPECT_EQ(evaluatorOf(VantorEvaluationKind::GrayThough), &grayThoughEvaluate);
}
