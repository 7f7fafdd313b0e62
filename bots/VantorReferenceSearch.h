// The straightforward framed-board negamax with alpha-beta, move for move the
// search the computer players are defined by. It is slow (every node copies
// the board and tries all 64 cells) and kept as the reference that the fast
// bitboard search must match: same move, same value, for every position and
// depth.
//
// Thread safety: pure functions of their arguments.
#ifndef VANTOR_BOTS_VANTORREFERENCESEARCH_H_
#define VANTOR_BOTS_VANTORREFERENCESEARCH_H_

#include <cstdint>

#include "bots/VantorEvaluation.h"

// Initial best value of every node and the root window.
constexpr int16_t kSearchFloor = -9999;
constexpr int16_t kSearchCeiling = 9999;

// One node: board (not modified) with colour to move, plies left, the root's
// depth (the pass rule does not apply at the root), the index of the chosen
// move written to bestMove (every node writes it; the root writes last).
int16_t referenceSearch(const int8_t* board, int rootColour, int colour, uint8_t plies,
                        uint8_t depth, int& bestMove, int16_t alpha, int16_t beta,
                        VantorEvaluator evaluate);

// The root call for colour to move at depth: the framed index of the move
// (the first legal one when no value beats the floor, 0 when there is none)
// and, through value, the root's value.
int referenceChooseMove(const int8_t* board, int colour, int depth, VantorEvaluator evaluate,
                        int16_t* value = nullptr);

#endif  // VANTOR_BOTS_VANTORREFERENCESEARCH_H_
