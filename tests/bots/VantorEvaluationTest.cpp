// The two evaluations on positions laid out by hand, and their symmetry on
// positions from play.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "bots/VantorEvaluation.h"
#include "tests/bots/PlayoutPositions.h"

namespace {

using Discs = std::vector<std::tuple<int, int, int>>;  // x, y, colour

ArrangedPosition with(const Discs& discs, ArrangedPosition p = ArrangedPosition()) {
  for (const auto& d : discs) p.put(std::get<0>(d), std::get<1>(d), std::get<2>(d));
  return p;
}

int grayThough(const ArrangedPosition& p, int colour) {
  return grayThoughEvaluate(p.framed(), colour);
}

const int X = kBlack;
const int O = kWhite;

}  // namespace

TEST(DeepBlueEvaluation, WeighsEveryCellOnce) {
  // 4 corners of 20, 16 edge cells of 7, 4 cells of 8, 8 of 5, 20 of 3 and
  // 12 of 0; one corner of the other side's.
  const ArrangedPosition full(("O" + std::string(63, 'X')).c_str());
  EXPECT_EQ(deepBlueEvaluate(full.framed(), X), 3 * 20 + 16 * 7 + 4 * 8 + 8 * 5 + 20 * 3 - 20);
}

TEST(GrayThoughEvaluation, ChangesByEachFeatureAsItsTableSays) {
  // The change that adding discs makes, for one side.
  auto change = [](const Discs& base, const Discs& added, int colour) {
    const ArrangedPosition before = with(base);
    return grayThough(with(added, before), colour) - grayThough(before, colour);
  };
  EXPECT_EQ(change({}, {{8, 8, O}}, O), 100);         // a corner
  EXPECT_EQ(change({}, {{2, 2, X}}, X), -15);         // an X-square beside an empty corner
  EXPECT_EQ(change({{1, 1, X}}, {{2, 2, X}}, X), 0);  // beside a held corner
  // The four middle cells of an edge, whatever the corners beside them.
  EXPECT_EQ(change({{3, 1, X}, {4, 1, X}, {5, 1, X}}, {{6, 1, X}}, X), 1);
  EXPECT_EQ(change({{1, 4, O}, {1, 5, O}, {1, 6, O}}, {{1, 3, O}}, O), 1);
  EXPECT_EQ(change({{3, 1, X}, {4, 1, X}, {5, 1, X}, {6, 1, X}}, {{1, 1, X}, {8, 1, O}}, X), 0);
}

TEST(GrayThoughEvaluation, RatesTheOpeningZeroAndEndingsByTheirOwnRules) {
  EXPECT_EQ(grayThough(ArrangedPosition(), X), 0);
  // White wiped out, whatever else holds.
  const ArrangedPosition wipedOut("XX......X");
  EXPECT_EQ(grayThough(wipedOut, X), kWipedOut);
  EXPECT_EQ(grayThough(wipedOut, O), -kWipedOut);
  // A full board: ten times the disc difference (39 to 25), whatever the
  // corners (three of them white).
  const ArrangedPosition full(("O" + std::string(39, 'X') + std::string(24, 'O')).c_str());
  EXPECT_EQ(grayThough(full, X), 140);
  EXPECT_EQ(grayThough(full, O), -140);
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
  ArrangedPosition p47 = with({{4, 3, kEmpty}}, p48);
  EXPECT_EQ(grayThough(p47, X), 103);
  EXPECT_EQ(grayThough(p48, X), 103 + 46 - 2);
  EXPECT_EQ(grayThough(p48, O), -(103 + 46 - 2));
}

TEST(Evaluations, AreAntisymmetricOnPositionsOfEveryKind) {
  for (const ArrangedPosition& p : mixedPositions(200, 40, 40, 40, 97)) {
    for (auto kind : {VantorEvaluationKind::DeepBlue, VantorEvaluationKind::GrayThough}) {
      ASSERT_EQ(evaluatorOf(kind)(p.framed(), X), -evaluatorOf(kind)(p.framed(), O));
    }
  }
}
