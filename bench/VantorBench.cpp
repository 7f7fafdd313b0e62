// Speed of the computer players' search: a fixed, seeded set of mid-game
// positions searched in one run by the framed-board reference and by both
// bitboard searches (the walk of the reference's own tree and the best-first
// one), for each of the seven computer players; the strongest player's
// slowest positions on a wider sample; and perft(10) on both board
// representations. It prints figures and counts any position where a
// bitboard search disagrees with the reference.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bots/VantorBitBoard.h"
#include "bots/VantorEvaluation.h"
#include "bots/VantorFastSearch.h"
#include "bots/VantorPerft.h"
#include "bots/VantorReferenceSearch.h"
#include "game/VantorGame.h"
#include "wire/VantorComputerPlayers.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Position {
  int8_t board[kBoardSize];
  int colour;
};

constexpr unsigned kSeed = 20240611;
constexpr int kPositions = 100;
constexpr int kTailPositions = 1000;
constexpr int kFirstMove = 10;  // positions after 10 to 49 random moves
constexpr int kLastMove = 49;

class BenchGame : public VantorGame {
 public:
  Position position() const {
    Position p;
    std::memcpy(p.board, board_, kBoardSize);
    p.colour = turn_;
    return p;
  }
};

// Random legal play from the initial position; the position after the
// drawn number of moves, when its side to move has a move.
std::vector<Position> midGamePositions(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<Position> positions;
  while (static_cast<int>(positions.size()) < count) {
    BenchGame game;
    const int moves = kFirstMove + static_cast<int>(random() % (kLastMove - kFirstMove + 1));
    int played = 0;
    while (played < moves) {
      const int state = game.checkPass();
      if (state == 2) break;
      if (state == 1) game.switchTurn();
      std::vector<int> legal;
      for (int y = 1; y <= 8; ++y) {
        for (int x = 1; x <= 8; ++x) {
          if (game.canPlay(x, y)) legal.push_back(toIndex(x, y));
        }
      }
      const int move = legal[random() % legal.size()];
      game.play(move % 10, move / 10);
      ++played;
    }
    if (played == moves && game.checkPass() == 0) positions.push_back(game.position());
  }
  return positions;
}

struct Timing {
  double total = 0;
  double worst = 0;
  uint64_t nodes = 0;
  void add(double seconds) {
    total += seconds;
    worst = std::max(worst, seconds);
  }
};

using ChooseMove = int (*)(const int8_t* board, int colour, int depth, VantorEvaluationKind kind,
                           int16_t* value, uint64_t* nodes);

struct Search {
  const char* name;
  ChooseMove choose;  // null for the reference
};

const Search kSearches[] = {
    {"reference", nullptr},
    {"bitboard", fastChooseMove},
    {"ordered", orderedChooseMove},
};
constexpr int kSearchCount = sizeof kSearches / sizeof kSearches[0];

int referenceChoose(const int8_t* board, int colour, int depth, VantorEvaluationKind kind,
                    int16_t* value, uint64_t* /*nodes*/) {
  return referenceChooseMove(board, colour, depth, evaluatorOf(kind), value);
}

void printRow(const char* player, int depth, const char* search, size_t positions, const Timing& t,
              const Timing& reference) {
  const double count = static_cast<double>(positions);
  std::printf("%-16s %5s %-10s %9zu %11llu %8.2f %9.3f %9.3f %8.1fx\n", player,
              depth > 0 ? std::to_string(depth).c_str() : "", search, positions,
              static_cast<unsigned long long>(t.nodes), t.nodes / t.total / 1e6,
              t.total / count * 1e3, t.worst * 1e3, reference.total / t.total);
}

void benchPlayers(const std::vector<Position>& positions) {
  std::printf("%-16s %5s %-10s %9s %11s %8s %9s %9s %9s\n", "player", "depth", "search",
              "positions", "nodes", "Mnodes/s", "mean ms", "max ms", "speed-up");
  int disagreements = 0;
  for (const VantorComputerPlayer& player : kComputerPlayers) {
    Timing timing[kSearchCount];
    for (const Position& p : positions) {
      int moves[kSearchCount];
      int16_t values[kSearchCount];
      for (int s = 0; s < kSearchCount; ++s) {
        const ChooseMove choose = kSearches[s].choose ? kSearches[s].choose : referenceChoose;
        uint64_t nodes = 0;
        const Clock::time_point start = Clock::now();
        moves[s] = choose(p.board, p.colour, player.level, player.kind, &values[s], &nodes);
        timing[s].add(secondsSince(start));
        timing[s].nodes += nodes;
      }
      for (int s = 1; s < kSearchCount; ++s) {
        if (moves[s] != moves[0] || values[s] != values[0]) ++disagreements;
      }
    }
    // The reference walks the same tree as the bitboard search.
    timing[0].nodes = timing[1].nodes;
    for (int s = 0; s < kSearchCount; ++s) {
      printRow(s == 0 ? player.nick : "", s == 0 ? player.level : 0, kSearches[s].name,
               positions.size(), timing[s], timing[0]);
    }
  }
  std::printf(
      "The reference's nodes are those of the bitboard search, which walks the same tree.\n"
      "Moves or values that differ from the reference's: %d\n",
      disagreements);
}

// The strongest player's tail on a wider sample, without the reference.
void benchTail(const std::vector<Position>& positions) {
  const VantorComputerPlayer& william = kComputerPlayers[6];
  std::printf("%s on %zu more positions (seed %u), bitboard searches only:\n", william.nick,
              positions.size(), kSeed + 1);
  std::printf("%-10s %9s %9s %9s %9s %12s\n", "search", "mean ms", "p99 ms", "max ms", "over 50 ms",
              "max nodes");
  for (int s = 1; s < kSearchCount; ++s) {
    std::vector<double> times;
    uint64_t maxNodes = 0;
    double total = 0;
    for (const Position& p : positions) {
      uint64_t nodes = 0;
      const Clock::time_point start = Clock::now();
      kSearches[s].choose(p.board, p.colour, william.level, william.kind, nullptr, &nodes);
      times.push_back(secondsSince(start) * 1e3);
      total += times.back();
      maxNodes = std::max(maxNodes, nodes);
    }
    std::sort(times.begin(), times.end());
    const long over = std::count_if(times.begin(), times.end(), [](double ms) { return ms > 50; });
    std::printf("%-10s %9.3f %9.3f %9.3f %9ld %12llu\n", kSearches[s].name, total / times.size(),
                times[times.size() * 99 / 100], times.back(), over,
                static_cast<unsigned long long>(maxNodes));
  }
}

void benchPerft() {
  BenchGame game;
  const Position start = game.position();
  const VantorBitBoard bits = VantorBitBoard::fromFramed(start.board, start.colour);
  Clock::time_point begin = Clock::now();
  const uint64_t bitCount = bitBoardPerft(bits, 10);
  const double bitSeconds = secondsSince(begin);
  std::printf("perft(10) on bitboards:     %llu in %.3f s\n",
              static_cast<unsigned long long>(bitCount), bitSeconds);
  // The framed count grows about eightfold per ply; a depth is tried only
  // when the one before it suggests it finishes within about two minutes.
  double previous = 0;
  for (int depth = 8; depth <= 10; ++depth) {
    if (previous * 8 > 120) {
      std::printf("perft(%d) on the framed board skipped: it would take over two minutes\n", depth);
      break;
    }
    begin = Clock::now();
    const uint64_t count = framedPerft(start.board, start.colour, depth);
    previous = secondsSince(begin);
    if (depth == 10) {
      std::printf("perft(10) on the framed board: %llu in %.3f s (%.1fx the bitboard time)\n",
                  static_cast<unsigned long long>(count), previous, previous / bitSeconds);
    }
  }
}

}  // namespace

int main() {
  const std::vector<Position> positions = midGamePositions(kPositions, kSeed);
  std::printf(
      "%d positions after %d to %d random moves from the start (seed %u), the side to move "
      "having a move; every position searched once by each implementation\n\n",
      kPositions, kFirstMove, kLastMove, kSeed);
  benchPlayers(positions);
  std::printf("\n");
  benchTail(midGamePositions(kTailPositions, kSeed + 1));
  std::printf("\n");
  benchPerft();
  return 0;
}
