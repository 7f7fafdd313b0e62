// Positions reached by seeded random play-outs from the initial position,
// for the tests that compare the searches and the evaluations: every stage of
// a game, positions right after a forced pass, nearly full boards and
// positions where one side is nearly wiped out. The same seed always gives
// the same positions.
#ifndef VANTOR_TESTS_BOTS_PLAYOUTPOSITIONS_H_
#define VANTOR_TESTS_BOTS_PLAYOUTPOSITIONS_H_

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "tests/game/ArrangedPosition.h"

inline std::vector<int> legalIndices(const int8_t* board, int colour) {
  std::vector<int> moves;
  for (int i = 11; i <= 88; ++i) {
    if (kFrameMask[i] == 0 && isLegalOnBoard(board, i, colour)) moves.push_back(i);
  }
  return moves;
}

inline int discsOn(const int8_t* board, int colour = 0) {
  int n = 0;
  for (int i = 11; i <= 88; ++i) n += colour == 0 ? board[i] != 0 : board[i] == colour;
  return n;
}

inline int fewerDiscs(const int8_t* board) {
  return std::min(discsOn(board, kBlack), discsOn(board, kWhite));
}

// count positions, at most one a game of random play from the initial
// position: the first for which take(game, afterPass, draw) holds, afterPass
// telling whether the side to move comes back after a forced pass (already
// made) and draw being a number drawn afresh for each game. With lopsided, one
// side of each game (drawn too) plays greedily: the move that leaves the
// opponent the fewest discs.
inline std::vector<ArrangedPosition> positionsWhere(
    int count, unsigned seed, bool lopsided,
    const std::function<bool(const ArrangedPosition&, bool afterPass, unsigned draw)>& take) {
  std::mt19937 random(seed);
  std::vector<ArrangedPosition> positions;
  while (static_cast<int>(positions.size()) < count) {
    const unsigned draw = random();
    const int greedy = !lopsided ? kEmpty : draw % 2 == 0 ? kBlack : kWhite;
    for (ArrangedPosition game;;) {
      const int pass = game.checkPass();
      if (pass == 1) game.switchTurn();
      if (take(game, pass == 1, draw)) {
        positions.push_back(game);
        break;
      }
      if (pass == 2) break;
      const int colour = game.getTurn();
      const std::vector<int> moves = legalIndices(game.framed(), colour);
      int move = moves[random() % moves.size()];
      int fewest = 65;
      for (int candidate : moves) {
        if (colour != greedy) break;
        int8_t work[kBoardSize];
        std::memcpy(work, game.framed(), kBoardSize);
        playOnBoard(work, candidate, colour);
        if (discsOn(work, -colour) < fewest) fewest = discsOn(work, -colour), move = candidate;
      }
      game.play(move % 10, move / 10);
    }
  }
  return positions;
}

// Positions of every stage (the number of discs drawn evenly from 4 to 64),
// right after a pass, with 52 discs or more, and with one side down to at
// most 3 discs.
inline std::vector<ArrangedPosition> mixedPositions(int stages, int afterPass, int full,
                                                    int lopsided, unsigned seed) {
  auto discs = [](const ArrangedPosition& g) { return discsOn(g.framed()); };
  std::vector<ArrangedPosition> all =
      positionsWhere(stages, seed, false, [&](const ArrangedPosition& g, bool, unsigned draw) {
        return discs(g) >= 4 + static_cast<int>(draw % 61);
      });
  for (const auto& more :
       {positionsWhere(afterPass, seed + 1, false,
                       [](const ArrangedPosition&g, bool after, unsigned) {
                         return after && g.checkPass() == 0;
                       }),
        positionsWhere(full, seed + 2, false,
                       [&](const ArrangedPosition&g, bool, unsigned draw) {
                         return discs(g) >= 52 + static_cast<int>(draw % 13);
                       }),
        positionsWhere(lopsided, seed + 3, true, [&](const ArrangedPosition&g, bool, unsigned) {
          return fewerDiscs(g.framed()) <= 3 && discs(g) >= 8 && g.checkPass() == 0;
        })}) {
    all.insert(all.end(), more.begin(), more.end());
  }
  return all;
}

#endif  // VANTOR_TESTS_BOTS_PLAYOUTPOSITIONS_H_
