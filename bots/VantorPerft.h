// Perft: the number of move sequences of a given length from a position,
// counted on the framed board and on bitboards. A forced pass counts as one
// move and a finished game ends its sequence early (it counts as one). The
// two counts must agree; they check the rules and measure their speed.
//
// Thread safety: pure functions.
#ifndef VANTOR_BOTS_VANTORPERFT_H_
#define VANTOR_BOTS_VANTORPERFT_H_

#include <cstdint>

#include "bots/VantorBitBoard.h"

uint64_t framedPerft(const int8_t* board, int colour, int depth);
uint64_t bitBoardPerft(VantorBitBoard board, int depth);

#endif  // VANTOR_BOTS_VANTORPERFT_H_
