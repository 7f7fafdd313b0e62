#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "bots/VantorEvaluation.h"
#include "tests/bots/ArrangedPosition.h"

namespace {

using Discs = std::vector<std::tuple<int, int, int>>;  // x, y, colour

ArrangedPosition with(const Discs& discs, ArrangedPosition p = ArrangedPosition()) {
  for (const auto& d : discs) p.put(std::get<0>(d), std::get<1>(d), std::get<2>(d));
  return p;
}

int deepBlue(const ArrangedPosition& p, int colour) {
  return deepBlueEvaluate(p.framed(), colour);
}
int grayThough(const ArrangedPosition& p, int colour) {
  return grayThoughEvaluate(p.framed(), colour);
}

const int X = kBlack;
const int O = kWhite;
const int E = kEmpty;

}  // namespace

TEST(DeepBlueEvaluation, WeighsTheCellsByItsTable) {
  ArrangedPosition start;
  EXPECT_EQ(deepBlue(start, X), 0);
  EXPECT_EQ(deepBlue(start, O), 0);
  for (auto corner : {std::pair<int, int>{1, 1}, {8, 1}, {1, 8}, {8, 8}}) {
    ArrangedPosition p = with({{corner.first, corner.second, X}});
    EXPECT_EQ(deepBlue(p, X), 20);
    EXPECT_EQ(deepBlue(p, O), -20);
  }
  // The cells beside a corner weigh nothing.
  EXPECT_EQ(deepBlue(with({{2, 1, O}, {1, 2, O}, {2, 2, O}, {7, 7, O}, {8, 7, O}, {7, 8, O}}), X),
            0);
  // Every weight once: 4 corners of 20, 16 edge cells of 7, 4 cells of 8,
  // 8 of 5, 20 of 3 and 12 of 0.
  ArrangedPosition full(std::string(64, 'X').c_str());
  EXPECT_EQ(deepBlue(full, X), 4 * 20 + 16 * 7 + 4 * 8 + 8 * 5 + 20 * 3);
  EXPECT_EQ(deepBlue(full, O), -(4 * 20 + 16 * 7 + 4 * 8 + 8 * 5 + 20 * 3));
}

TEST(GrayThoughEvaluation, ChangesByEachFeatureAsItsTableSays) {
  // The change that adding discs makes, for one side.
  auto change = [](const Discs& base, const Discs& added, int colour) {
    const ArrangedPosition before = with(base);
    return grayThough(with(added, before), colour) - grayThough(before, colour);
  };
  EXPECT_EQ(change({}, {{8, 8, O}}, O), 100);  // a corner
  EXPECT_EQ(change({}, {{8, 8, O}}, X), -100);
  EXPECT_EQ(change({}, {{2, 2, X}}, X), -15);  // an X-square beside an empty corner
  EXPECT_EQ(change({}, {{2, 2, X}}, O), 15);
  EXPECT_EQ(change({{1, 1, X}}, {{2, 2, X}}, X), 0);  // beside a held corner
  // The four middle cells of an edge, whatever the corners beside them.
  EXPECT_EQ(change({{3, 1, X}, {4, 1, X}, {5, 1, X}}, {{6, 1, X}}, X), 1);
  EXPECT_EQ(change({{1, 4, O}, {1, 5, O}, {1, 6, O}}, {{1, 3, O}}, O), 1);
  EXPECT_EQ(change({{3, 1, X}, {4, 1, X}, {5, 1, X}, {6, 1, X}}, {{1, 1, X}, {8, 1, O}}, X), 0);
}

TEST(GrayThoughEvaluation, RatesTheOpeningZeroAndEndingsByTheirOwnRules) {
  EXPECT_EQ(grayThough(ArrangedPosition(), X), 0);
  EXPECT_EQ(grayThough(ArrangedPosition(), O), 0);
  // White wiped out, whatever else holds.
  ArrangedPosition wipedOut(
      "X......X"
      "........"
      "........"
      "...XX..."
      "...XX..."
      "........"
      "........"
      "X......X");
  EXPECT_EQ(kWipedOut, 12287);
  EXPECT_EQ(grayThough(wipedOut, O), -12287);
  EXPECT_EQ(grayThough(wipedOut, X), 12287);
  // A full board: ten times the disc difference (40 to 24), whatever the
  // corners and X-squares.
  ArrangedPosition full(
      "OXXXXXXO"
      "XXXXXXXX"
      "XXXXXXXX"
      "XXXXXXXX"
      "XXXXXXXX"
      "OOOOOOOO"
      "OXOOOOXO"
      "OOOOOOOO");
  EXPECT_EQ(grayThough(full, X), 160);
  EXPECT_EQ(grayThough(full, O), -160);
  // Nobody can move; black holds two corners to white's one and three full
  // middle edges: 100 + 3, plus the disc difference from 48 discs on.
  ArrangedPosition p48(
      "XXXXXXXX"
      "XXXXXXXX"
      "XXXXXXXX"
      "XXX..XXX"
      "XXXXXXXX"
      "XXXXXXXX"
      "........"
      "OO......");
  ArrangedPosition p47 = with({{4, 3, E}}, p48);
  EXPECT_EQ(grayThough(p47, X), 103);
  EXPECT_EQ(grayThough(p48, X), 103 + 46 - 2);
  EXPECT_EQ(grayThough(p48, O), -(103 + 46 - 2));
}

TEST(Evaluations, AreAntisymmetricAndChosenByKind) {
  ArrangedPosition p(
      "X.O....."
      ".XO..O.."
      "..XXOX.."
      "..OXXO.."
      "..OXOX.."
      "...O.X.."
      "......O."
      ".......X");
  for (auto kind : {VantorEvaluationKind::DeepBlue, VantorEvaluationKind::GrayThough}) {
    EXPECT_EQ(evaluatorOf(kind)(p.framed(), X), -evaluatorOf(kind)(p.framed(), O));
  }
  EXPECT_EQ(evaluatorOf(VantorEvaluationKind::DeepBlue), &deepBlueEvaluate);
  EXPECT_EQ(evaluatorOf(VantorEvaluationKind::GrayThough), &grayThoughEvaluate);
}
