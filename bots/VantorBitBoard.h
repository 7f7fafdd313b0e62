// A Reversi position as two 64-bit sets: the discs of the side to move and
// those of its opponent. Bit (y - 1) * 8 + (x - 1) stands for cell (x, y), so
// scanning the set bits from the least significant up visits the cells in the
// order of the framed indices 11..88. Moves are found by shifting whole sets
// in the eight directions, masked so that nothing wraps from one edge of the
// board to the other; flips by cutting each ray from the move at its first
// cell that is not an opponent disc. The results equal those of the
// framed-board rules cell for cell.
//
// Thread safety: a plain value; all operations are pure.
#ifndef VANTOR_BOTS_VANTORBITBOARD_H_
#define VANTOR_BOTS_VANTORBITBOARD_H_

#include <cstdint>

class VantorBitBoard {
 public:
  uint64_t own = 0;  // discs of the side to move
  uint64_t opp = 0;  // discs of the other side

  VantorBitBoard() = default;
  VantorBitBoard(uint64_t ownDiscs, uint64_t oppDiscs) : own(ownDiscs), opp(oppDiscs) {}

  // The position of a framed board with colour to move.
  static VantorBitBoard fromFramed(const int8_t* board, int colour);
  // Writes the position into a framed board (frame cleared), own discs as colour.
  void toFramed(int8_t* board, int colour) const;

  static constexpr int bitOf(int index) { return (index / 10 - 1) * 8 + index % 10 - 1; }
  static constexpr int indexOf(int bit) { return (bit / 8 + 1) * 10 + bit % 8 + 1; }

  // Every empty cell where own would bracket opponent discs.
  static inline uint64_t legalMoves(uint64_t own, uint64_t opp);
  // The moves of both sides at once (each side as if it were to move).
  static inline void legalMovesOfBoth(uint64_t own, uint64_t opp, uint64_t& ownMoves,
                                      uint64_t& oppMoves);
  // The discs a disc of own placed on bit would turn over; 0 when the move
  // brackets nothing. bit must be empty.
  static inline uint64_t flips(uint64_t own, uint64_t opp, int bit);

  uint64_t moves() const { return legalMoves(own, opp); }
  // The position after own plays on bit, with the opponent to move. The
  // move must be legal.
  VantorBitBoard play(int bit) const {
    const uint64_t f = flips(own, opp, bit);
    return VantorBitBoard(opp ^ f, own ^ f ^ (uint64_t{1} << bit));
  }
  VantorBitBoard pass() const { return VantorBitBoard(opp, own); }

 private:
  // Opponent discs that can be bracketed along a line with a sideways
  // component: such a run never includes column 1 or 8, so shifting it
  // sideways never wraps into the next row.
  static constexpr uint64_t kInner = 0x7E7E7E7E7E7E7E7EULL;

  // Ends of the lines from own over runs of mask (opponent discs) along one
  // axis, towards higher and towards lower bits. A run is at most six long;
  // after two single steps, two double steps over pairs of mask cells cover it.
  template <int kStep, class Set>
  static Set movesOnAxis(Set own, Set mask) {
    Set higher = mask & (own << kStep);
    Set lower = mask & (own >> kStep);
    higher |= mask & (higher << kStep);
    lower |= mask & (lower >> kStep);
    const Set pairsHigher = mask & (mask << kStep);
    const Set pairsLower = pairsHigher >> kStep;
    higher |= pairsHigher & (higher << (2 * kStep));
    lower |= pairsLower & (lower >> (2 * kStep));
    higher |= pairsHigher & (higher << (2 * kStep));
    lower |= pairsLower & (lower >> (2 * kStep));
    return (higher << kStep) | (lower >> kStep);
  }

  template <class Set>
  static Set movesOf(Set own, Set opp) {
    const Set inner = opp & kInner;
    return (movesOnAxis<1>(own, inner) | movesOnAxis<7>(own, inner) | movesOnAxis<8>(own, opp) |
            movesOnAxis<9>(own, inner)) &
           ~(own | opp);
  }

  // The cells from each square to the edge of the board along the four axes
  // (row, anti-diagonal, column, diagonal), towards higher bits and towards
  // lower bits.
  struct Rays {
    uint64_t higher[4][64];
    uint64_t lower[4][64];
    constexpr Rays() : higher(), lower() {
      const int dx[4] = {1, -1, 0, 1};
      const int dy[4] = {0, 1, 1, 1};
      for (int sq = 0; sq < 64; ++sq) {
        for (int d = 0; d < 4; ++d) {
          for (int sense = 1; sense >= -1; sense -= 2) {
            uint64_t ray = 0;
            int x = sq % 8 + sense * dx[d];
            int y = sq / 8 + sense * dy[d];
            for (; x >= 0 && x < 8 && y >= 0 && y < 8; x += sense * dx[d], y += sense * dy[d]) {
              ray |= uint64_t{1} << (y * 8 + x);
            }
            (sense > 0 ? higher : lower)[d][sq] = ray;
          }
        }
      }
    }
  };
  static const Rays kRays;
};

inline constexpr VantorBitBoard::Rays VantorBitBoard::kRays{};

inline uint64_t VantorBitBoard::legalMoves(uint64_t own, uint64_t opp) {
  return movesOf<uint64_t>(own, opp);
}

inline void VantorBitBoard::legalMovesOfBoth(uint64_t own, uint64_t opp, uint64_t& ownMoves,
                                             uint64_t& oppMoves) {
  // The two sides as two lanes of one vector: the same shifts serve both.
  typedef uint64_t Pair __attribute__((vector_size(16)));
  const Pair sides = {own, opp};
  const Pair others = {opp, own};
  const Pair moves = movesOf<Pair>(sides, others);
  ownMoves = moves[0];
  oppMoves = moves[1];
}

inline uint64_t VantorBitBoard::flips(uint64_t own, uint64_t opp, int bit) {
  uint64_t flipped = 0;
  for (int axis = 0; axis < 4; ++axis) {
    // Towards higher bits the first cell that is not an opponent disc is the
    // lowest such bit of the ray; it brackets the cells before it when it is own.
    const uint64_t higherRay = kRays.higher[axis][bit];
    const uint64_t higherStops = higherRay & ~opp;
    const uint64_t higherStop = higherStops & (0 - higherStops);
    flipped |= (higherStop - 1) & higherRay & (0 - static_cast<uint64_t>((higherStop & own) != 0));
    // Towards lower bits it is the highest such bit; bit 0 stands in when the
    // ray holds only opponent discs and is masked away again by lowerStops.
    const uint64_t lowerRay = kRays.lower[axis][bit];
    const uint64_t lowerStops = lowerRay & ~opp;
    const uint64_t lowerStop = (uint64_t{1} << (63 - __builtin_clzll(lowerStops | 1))) & lowerStops;
    flipped |=
        lowerRay & ~((lowerStop << 1) - 1) & (0 - static_cast<uint64_t>((lowerStop & own) != 0));
  }
  return flipped;
}

#endif  // VANTOR_BOTS_VANTORBITBOARD_H_
