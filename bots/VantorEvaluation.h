// The two position evaluations of the computer players, on the framed board.
//
// deepBlueEvaluate sums a fixed table of cell weights; grayThoughEvaluate
// combines mobility, corners, X-squares, full middle edges and, from 48 discs
// on, the disc difference. Both are antisymmetric: evaluate(b, -c) is always
// -evaluate(b, c), which the search relies on.
//
// Thread safety: pure functions of their arguments.
#ifndef VANTOR_BOTS_VANTOREVALUATION_H_
#define VANTOR_BOTS_VANTOREVALUATION_H_

#include <cstdint>

#include "wire/VantorComputerPlayers.h"

// Value of a side that has no disc left (negated for the side that wiped the
// other out); it lies outside the search's +-9999 window.
constexpr int kWipedOut = 0x2FFF;

// Which of the two evaluations a computer player judges positions with: the
// one its kind in the computer players' table names.
using VantorEvaluationKind = VantorComputerPlayerKind;

// The value of board for colour; positive is good for colour.
using VantorEvaluator = int (*)(const int8_t* board, int colour);

// Cell weights of deepBlueEvaluate, by framed index (frame cells weigh 0).
extern const int8_t kDeepBlueWeights[100];

int deepBlueEvaluate(const int8_t* board, int colour);
int grayThoughEvaluate(const int8_t* board, int colour);

// The evaluation function of that kind.
VantorEvaluator evaluatorOf(VantorEvaluationKind kind);

#endif  // VANTOR_BOTS_VANTOREVALUATION_H_
