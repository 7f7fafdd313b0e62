#include "bots/VantorFastSearch.h"

#include <algorithm>

#include "bots/VantorBitBoard.h"
#include "bots/VantorReferenceSearch.h"

namespace {

#ifdef __POPCNT__
int popCount(uint64_t x) {
  return __builtin_popcountll(x);
}
#else
// Without the processor's instruction the library call costs more than
// this bit-parallel sum.
int popCount(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555ULL);
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}
#endif

// Sum of the deepBlueEvaluate weights of the discs in one row, for every
// row and every pattern of discs in it; read from the framed table so that
// the two cannot drift apart.
struct RowWeights {
  int16_t sum[8][256];
  RowWeights() : sum() {
    for (int row = 0; row < 8; ++row) {
      for (int pattern = 0; pattern < 256; ++pattern) {
        for (int column = 0; column < 8; ++column) {
          if ((pattern >> column) & 1) {
            sum[row][pattern] += kDeepBlueWeights[VantorBitBoard::indexOf(row * 8 + column)];
          }
        }
      }
    }
  }
};
const RowWeights kRowWeights;

constexpr uint64_t kCorner11 = uint64_t{1} << 0;
constexpr uint64_t kCorner18 = uint64_t{1} << 7;
constexpr uint64_t kCorner81 = uint64_t{1} << 56;
constexpr uint64_t kCorner88 = uint64_t{1} << 63;
// The four middle cells of the top, bottom, left and right edges.
constexpr uint64_t kTopMiddle = 0x3CULL;
constexpr uint64_t kBottomMiddle = 0x3CULL << 56;
constexpr uint64_t kLeftMiddle = 0x0000010101010000ULL;
constexpr uint64_t kRightMiddle = 0x0000808080800000ULL;

int cornerCount(uint64_t x) {
  return static_cast<int>((x & 1) + ((x >> 7) & 1) + ((x >> 56) & 1) + (x >> 63));
}

int xSquareCount(uint64_t x) {
  return static_cast<int>(((x >> 9) & 1) + ((x >> 14) & 1) + ((x >> 49) & 1) + ((x >> 54) & 1));
}

int fullEdges(uint64_t discs) {
  return ((discs & kTopMiddle) == kTopMiddle) + ((discs & kBottomMiddle) == kBottomMiddle) +
         ((discs & kLeftMiddle) == kLeftMiddle) + ((discs & kRightMiddle) == kRightMiddle);
}

// The evaluations as the search calls them, with the number of discs on the
// board, which the search keeps track of.
struct DeepBlue {
  static int evaluate(uint64_t own, uint64_t opp, int /*discs*/) {
    int sum = 0;
    for (int row = 0; row < 8; ++row) {
      sum += kRowWeights.sum[row][(own >> (row * 8)) & 0xFF] -
             kRowWeights.sum[row][(opp >> (row * 8)) & 0xFF];
    }
    return sum;
  }
};

struct GrayThough {
  static int evaluate(uint64_t own, uint64_t opp, int discs) {
    if (own == 0) return -kWipedOut;
    if (opp == 0) return kWipedOut;
    // The disc difference counts only from 48 discs on; a full board is
    // judged by it alone.
    const int difference = discs < 48 ? 0 : 2 * popCount(own) - discs;
    if (discs == 64) return difference * 10;
    uint64_t ownMoves;
    uint64_t oppMoves;
    VantorBitBoard::legalMovesOfBoth(own, opp, ownMoves, oppMoves);
    // X-squares whose corner is empty: each empty corner moved onto its
    // diagonal neighbour.
    const uint64_t empty = ~(own | opp);
    const uint64_t exposed = ((empty & kCorner11) << 9) | ((empty & kCorner18) << 7) |
                             ((empty & kCorner81) >> 7) | ((empty & kCorner88) >> 9);
    return popCount(ownMoves) - popCount(oppMoves) +
           15 * (xSquareCount(opp & exposed) - xSquareCount(own & exposed)) +
           (fullEdges(own) - fullEdges(opp)) + difference +
           100 * (cornerCount(own) - cornerCount(opp));
  }
};

// Alpha-beta on bitboards over the reference's game tree, in one of two
// orders.
//
// In scan order it is the reference's own tree: children in scan order, so
// every node sees the same windows and cuts off at the same child.
//
// Best first, the moves of every node with three or more plies left are
// tried by the evaluation of the position each leads to. The reference's
// root outcome does not depend on the order below the root: a fail-soft
// search returns a child's exact value whenever it lies inside the child's
// window and a bound on the losing side of the window otherwise, and from
// depth 2 on no child of the root can exceed the window's top (each interior
// node is worth at least the floor). So the root, trying its moves best
// first as well, still finds the exact value of every move that could be
// chosen, and picks the one the scan order would: a later move must beat the
// best so far, an earlier one need only equal it.
template <class Evaluation, bool kBestFirst>
class Search {
 public:
  uint64_t nodes = 0;

  explicit Search(bool rootMovesAtLeaves) : rootMovesAtLeaves_(rootMovesAtLeaves) {}

  // The root: no pass, and the bit of the best move into bestBit (64 when
  // nothing beats the floor).
  int16_t root(VantorBitBoard board, uint8_t plies, int& bestBit) {
    ++nodes;
    bestBit = 64;
    const int discs = popCount(board.own | board.opp);
    if (plies == 0) return leaf(board.own, board.opp, discs);
    return kBestFirst ? rootBestFirst(board, plies, discs, bestBit)
                      : rootInScanOrder(board, plies, discs, bestBit);
  }

 private:
  struct Candidate {
    int score;
    int bit;
  };

  // Values are kept to 16 bits after every negation.
  static int16_t negate(int value) { return static_cast<int16_t>(-value); }

  // Depth-0 positions are judged for the root's colour and negated; the
  // root's discs are own or opp there by the parity of the depth.
  int16_t leaf(uint64_t own, uint64_t opp, int discs) const {
    return negate(rootMovesAtLeaves_ ? Evaluation::evaluate(own, opp, discs)
                                     : Evaluation::evaluate(opp, own, discs));
  }

  int16_t rootInScanOrder(VantorBitBoard board, uint8_t plies, int discs, int& bestBit) {
    int16_t best = kSearchFloor;
    const int16_t alpha = kSearchFloor;
    const int16_t beta = kSearchCeiling;
    for (uint64_t moves = board.moves(); moves != 0; moves &= moves - 1) {
      const int bit = __builtin_ctzll(moves);
      const VantorBitBoard child = board.play(bit);
      const int16_t a = std::max(best, alpha);
      const int16_t value = negate(node(child.own, child.opp, static_cast<uint8_t>(plies - 1),
                                        negate(beta), negate(a), discs + 1));
      if (value > best) {
        best = value;
        bestBit = bit;
      }
      if (best >= beta) break;
    }
    return best;
  }

  int16_t rootBestFirst(VantorBitBoard board, uint8_t plies, int discs, int& bestBit) {
    Candidate order[64];
    const int count = sortMoves(board.own, board.opp, board.moves(), discs, order);
    int16_t best = kSearchFloor;
    for (int k = 0; k < count; ++k) {
      const int bit = order[k].bit;
      const int16_t a = bit < bestBit && bestBit < 64 ? static_cast<int16_t>(best - 1) : best;
      const VantorBitBoard child = board.play(bit);
      const int16_t value = negate(node(child.own, child.opp, static_cast<uint8_t>(plies - 1),
                                        negate(kSearchCeiling), negate(a), discs + 1));
      if (value > a) {
        best = value;
        bestBit = bit;
      }
    }
    return best;
  }

  // The moves, best first for the side to move; equal scores keep the scan
  // order.
  static int sortMoves(uint64_t own, uint64_t opp, uint64_t moves, int discs, Candidate* order) {
    int count = 0;
    for (; moves != 0; moves &= moves - 1) {
      const int bit = __builtin_ctzll(moves);
      const uint64_t flipped = VantorBitBoard::flips(own, opp, bit);
      const Candidate c{
          Evaluation::evaluate(own ^ flipped ^ (uint64_t{1} << bit), opp ^ flipped, discs + 1),
          bit};
      int k = count++;
      for (; k > 0 && order[k - 1].score < c.score; --k) order[k] = order[k - 1];
      order[k] = c;
    }
    return count;
  }

  int16_t node(uint64_t own, uint64_t opp, uint8_t plies, int16_t alpha, int16_t beta, int discs) {
    ++nodes;
    if (plies == 0) return leaf(own, opp, discs);
    int16_t best = kSearchFloor;
    uint64_t moves = VantorBitBoard::legalMoves(own, opp);
    if (moves == 0) {
      // A side without a move passes on the same position.
      const int16_t a = std::max(best, alpha);
      const int16_t value =
          negate(node(opp, own, static_cast<uint8_t>(plies - 1), negate(beta), negate(a), discs));
      return std::max(value, best);
    }
    if (plies == 1) return frontier(own, opp, moves, beta, discs);
    // Kept apart so that the scan-order search's frames stay small.
    if (kBestFirst && plies > 2)
      return childrenBestFirst(own, opp, moves, plies, alpha, beta, discs);
    for (; moves != 0; moves &= moves - 1) {
      if (child(own, opp, __builtin_ctzll(moves), plies, alpha, beta, discs, best)) break;
    }
    return best;
  }

  int16_t childrenBestFirst(uint64_t own, uint64_t opp, uint64_t moves, uint8_t plies,
                            int16_t alpha, int16_t beta, int discs) {
    int16_t best = kSearchFloor;
    Candidate order[64];
    const int count = sortMoves(own, opp, moves, discs, order);
    for (int k = 0; k < count; ++k) {
      if (child(own, opp, order[k].bit, plies, alpha, beta, discs, best)) break;
    }
    return best;
  }

  // Searches the move at bit of a node with the window the best value so far
  // leaves, keeps a better value in best, and says whether it cuts off.
  bool child(uint64_t own, uint64_t opp, int bit, uint8_t plies, int16_t alpha, int16_t beta,
             int discs, int16_t& best) {
    const uint64_t flipped = VantorBitBoard::flips(own, opp, bit);
    const int16_t a = std::max(best, alpha);
    const int16_t value =
        negate(node(opp ^ flipped, own ^ flipped ^ (uint64_t{1} << bit),
                    static_cast<uint8_t>(plies - 1), negate(beta), negate(a), discs + 1));
    if (value > best) best = value;  // strictly: the earlier move wins a tie
    return best >= beta;
  }

  // A node whose children are all leaves, children in scan order: every
  // child is judged until the cut-off.
  int16_t frontier(uint64_t own, uint64_t opp, uint64_t moves, int16_t beta, int discs) {
    int16_t best = kSearchFloor;
    for (; moves != 0; moves &= moves - 1) {
      const int bit = __builtin_ctzll(moves);
      const uint64_t flipped = VantorBitBoard::flips(own, opp, bit);
      ++nodes;
      const int16_t value =
          negate(leaf(opp ^ flipped, own ^ flipped ^ (uint64_t{1} << bit), discs + 1));
      if (value > best) best = value;
      if (best >= beta) break;
    }
    return best;
  }

  const bool rootMovesAtLeaves_;
};

template <class Evaluation, bool kBestFirst>
int chooseMove(VantorBitBoard board, uint8_t plies, int16_t* value, uint64_t* nodes) {
  // Depth-0 positions lie plies moves (passes included) below the root.
  Search<Evaluation, kBestFirst> search((plies & 1) == 0);
  int bestBit = 64;
  const int16_t result = search.root(board, plies, bestBit);
  if (value != nullptr) *value = result;
  if (nodes != nullptr) *nodes = search.nodes;
  if (bestBit < 64) return VantorBitBoard::indexOf(bestBit);
  // Nothing beat the floor: the first legal move in scan order.
  const uint64_t moves = board.moves();
  return moves != 0 ? VantorBitBoard::indexOf(__builtin_ctzll(moves)) : 0;
}

template <bool kBestFirst>
int chooseMoveOnFramed(const int8_t* framedBoard, int colour, int depth, VantorEvaluationKind kind,
                       int16_t* value, uint64_t* nodes) {
  const VantorBitBoard board = VantorBitBoard::fromFramed(framedBoard, colour);
  // Only the low 8 bits of the depth count, as in the reference.
  const uint8_t plies = static_cast<uint8_t>(depth);
  if (kind == VantorEvaluationKind::DeepBlue) {
    return chooseMove<DeepBlue, kBestFirst>(board, plies, value, nodes);
  }
  return chooseMove<GrayThough, kBestFirst>(board, plies, value, nodes);
}

}  // namespace

int deepBlueEvaluateBits(uint64_t own, uint64_t opp) {
  return DeepBlue::evaluate(own, opp, popCount(own | opp));
}

int grayThoughEvaluateBits(uint64_t own, uint64_t opp) {
  return GrayThough::evaluate(own, opp, popCount(own | opp));
}

int fastChooseMove(const int8_t* framedBoard, int colour, int depth, VantorEvaluationKind kind,
                   int16_t* value, uint64_t* nodes) {
  return chooseMoveOnFramed<false>(framedBoard, colour, depth, kind, value, nodes);
}

int orderedChooseMove(const int8_t* framedBoard, int colour, int depth, VantorEvaluationKind kind,
                      int16_t* value, uint64_t* nodes) {
  return chooseMoveOnFramed<true>(framedBoard, colour, depth, kind, value, nodes);
}
