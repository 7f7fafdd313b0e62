// Positions reached by seeded random play-outs from the initial position,
// for the tests that compare the bitboard code with the framed board: every
// stage of a game, positions right after a forced pass, nearly full boards
// and positions where one side is nearly wiped out. The same seed always
// gives the same positions.
#ifndef VANTOR_TESTS_BOTS_PLAYOUTPOSITIONS_H_
#define VANTOR_TESTS_BOTS_PLAYOUTPOSITIONS_H_

#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "game/VantorGame.h"

struct PlayoutPosition {
  int8_t board[kBoardSize];
  int colour;  // the side to move
};

// A game whose framed board a test may read.
class PlayoutGame : public VantorGame {
 public:
  const int8_t* framed() const { return board; }
  PlayoutPosition position() const {
    PlayoutPosition p;
    std::memcpy(p.board, board, kBoardSize);
    p.colour = turn;
    return p;
  }
};

inline std::vector<int> legalIndices(const int8_t* board, int colour) {
  std::vector<int> moves;
  for (int i = 11; i <= 88; ++i) {
    if (kFrameMask[i] == 0 && isLegalOnBoard(board, i, colour)) moves.push_back(i);
  }
  return moves;
}

// How one side picks its move among the legal ones.
enum class PlayoutStyle { Random, Greedy };

// Plays one game to its end. Before every move (after a forced pass has
// been made) visit sees the game and whether the side to move has just
// come back after its opponent passed; it may return false to stop.
// Greedy picks the move that leaves the opponent the fewest discs.
inline void playOut(std::mt19937& random, PlayoutStyle black, PlayoutStyle white,
                    const std::function<bool(const PlayoutGame&, bool afterPass)>& visit) {
  PlayoutGame game;
  bool afterPass = false;
  for (;;) {
    const int state = game.checkPass();
    if (state == 2) {
      visit(game, afterPass);
      return;
    }
    if (state == 1) {
      game.switchTurn();
      afterPass = true;
    }
    if (!visit(game, afterPass)) return;
    afterPass = false;
    const std::vector<int> moves = legalIndices(game.framed(), game.getTurn());
    int move = moves[random() % moves.size()];
    if ((game.getTurn() == kBlack ? black : white) == PlayoutStyle::Greedy) {
      int fewest = 65;
      for (int candidate : moves) {
        int8_t work[kBoardSize];
        std::memcpy(work, game.framed(), kBoardSize);
        playOnBoard(work, candidate, game.getTurn());
        int left = 0;
        for (int i = 11; i <= 88; ++i) left += work[i] == -game.getTurn();
        if (left < fewest) {
          fewest = left;
          move = candidate;
        }
      }
    }
    game.play(move % 10, move / 10);
  }
}

inline int discsOn(const int8_t* board) {
  int n = 0;
  for (int i = 11; i <= 88; ++i) n += board[i] != 0;
  return n;
}

inline int fewerDiscs(const int8_t* board) {
  int black = 0;
  int white = 0;
  for (int i = 11; i <= 88; ++i) {
    black += board[i] == kBlack;
    white += board[i] == kWhite;
  }
  return black < white ? black : white;
}

// count positions of every stage: the move number is drawn evenly from the
// whole game, so openings, mid-games and endings all occur (a game that ends
// before that move gives none).
inline std::vector<PlayoutPosition> stagePositions(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<PlayoutPosition> positions;
  while (static_cast<int>(positions.size()) < count) {
    const int target = static_cast<int>(random() % 61);
    int moves = 0;
    playOut(random, PlayoutStyle::Random, PlayoutStyle::Random, [&](const PlayoutGame& game, bool) {
      if (moves++ < target) return true;
      positions.push_back(game.position());
      return false;
    });
  }
  return positions;
}

// count positions where the side to move has just come back after a pass.
inline std::vector<PlayoutPosition> afterPassPositions(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<PlayoutPosition> positions;
  while (static_cast<int>(positions.size()) < count) {
    playOut(
        random, PlayoutStyle::Random, PlayoutStyle::Random,
        [&](const PlayoutGame& game, bool afterPass) {
          if (afterPass && game.checkPass() == 0 && static_cast<int>(positions.size()) < count) {
            positions.push_back(game.position());
          }
          return true;
        });
  }
  return positions;
}

// count positions with at least minDiscs discs on the board, one per game.
inline std::vector<PlayoutPosition> fullBoardPositions(int count, int minDiscs, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<PlayoutPosition> positions;
  while (static_cast<int>(positions.size()) < count) {
    const int target = minDiscs + static_cast<int>(random() % (64 - minDiscs));
    playOut(random, PlayoutStyle::Random, PlayoutStyle::Random, [&](const PlayoutGame& game, bool) {
      if (discsOn(game.framed()) < target) return true;
      positions.push_back(game.position());
      return false;
    });
  }
  return positions;
}

// count positions where one side has at most maxDiscs discs left, from games
// where one side plays greedily against a random one.
inline std::vector<PlayoutPosition> lopsidedPositions(int count, int maxDiscs, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<PlayoutPosition> positions;
  while (static_cast<int>(positions.size()) < count) {
    const bool blackGreedy = random() % 2 == 0;
    playOut(random, blackGreedy ? PlayoutStyle::Greedy : PlayoutStyle::Random,
            blackGreedy ? PlayoutStyle::Random : PlayoutStyle::Greedy,
            [&](const PlayoutGame& game, bool) {
              if (fewerDiscs(game.framed()) > maxDiscs || discsOn(game.framed()) < 8 ||
                  game.checkPass() != 0) {
                return true;
              }
              positions.push_back(game.position());
              return false;
            });
  }
  return positions;
}

#endif  // VANTOR_TESTS_BOTS_PLAYOUTPOSITIONS_H_
