// The computer players' search on bitboards, in two forms that return the
// same move and the same value as the framed-board reference search for
// every position and depth. Moves and flips come from shifts of whole 64-bit
// sets and both evaluations count bits instead of scanning cells; neither
// form allocates.
//
// fastChooseMove walks exactly the reference's tree: the same scan order,
// tie rule, windows and cut-offs, passes, 16-bit values and depth-0
// evaluation, so it also visits the same number of nodes.
//
// orderedChooseMove searches the same game tree with the moves tried best
// first. Below the root only the pruning changes, which cannot change the
// root's outcome (see VantorFastSearch.cpp); it visits far fewer nodes.
//
// Thread safety: pure functions; any number of searches may run at once.
#ifndef VANTOR_BOTS_VANTORFASTSEARCH_H_
#define VANTOR_BOTS_VANTORFASTSEARCH_H_

#include <cstdint>

#include "bots/VantorEvaluation.h"

// The framed index of the move for colour to move on framedBoard at depth
// (the first legal move when no value beats the search floor, 0 when colour
// has no move), its value through value and the number of positions visited
// through nodes.
int fastChooseMove(const int8_t* framedBoard, int colour, int depth, VantorEvaluationKind kind,
                   int16_t* value = nullptr, uint64_t* nodes = nullptr);
int orderedChooseMove(const int8_t* framedBoard, int colour, int depth, VantorEvaluationKind kind,
                      int16_t* value = nullptr, uint64_t* nodes = nullptr);

// The evaluations for the side owning own, equal to deepBlueEvaluate and
// grayThoughEvaluate on the same position.
int deepBlueEvaluateBits(uint64_t own, uint64_t opp);
int grayThoughEvaluateBits(uint64_t own, uint64_t opp);

#endif  // VANTOR_BOTS_VANTORFASTSEARCH_H_
