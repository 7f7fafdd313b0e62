// The computer player that chooses its move by a fixed-depth negamax search
// with alpha-beta pruning over the framed board: index order 11..88 is the
// only move ordering, the earlier move wins a tie, a side without a move
// passes below the root, values are kept to 16 bits, and when no move beats
// the search floor the first legal move is taken. The same position and
// depth always give the same move.
//
// That search (VantorReferenceSearch) defines the bot; the bot plays through
// the bitboard search orderedChooseMove, which returns the same move and
// value for every position and depth while pruning far more.
//
// The subclasses name at construction the kind of position evaluation the
// search uses: a plain function (VantorEvaluation), so that the search runs
// without virtual calls.
//
// Thread safety: the search works only on its own copies of the board and
// may run on several threads at once; see VantorServerBot for the rest.
#ifndef VANTOR_BOTS_VANTORMINMAXBOT_H_
#define VANTOR_BOTS_VANTORMINMAXBOT_H_

#include <cstdint>
#include <string>

#include "bots/VantorEvaluation.h"
#include "bots/VantorServerBot.h"

class VantorMinMaxBot : public VantorServerBot {
 public:
  // depth is the bot's level; only its low 8 bits reach the search. kind
  // names the evaluation the search uses.
  VantorMinMaxBot(VantorLobby* server, const std::string& name, int depth,
                  VantorEvaluationKind kind);
  ~VantorMinMaxBot() override;

  VantorCoords chooseMove(const VantorGame& game) override;

  int getDepth() const { return depth_; }
  VantorEvaluationKind getEvaluationKind() const { return kind_; }

 private:
  // The framed index of the move for colour on board, 0 when it has none.
  int chooseMoveOnBoard(const int8_t* board, int colour);

  int depth_;
  VantorEvaluationKind kind_;
};

#endif  // VANTOR_BOTS_VANTORMINMAXBOT_H_
