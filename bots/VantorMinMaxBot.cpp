#include "bots/VantorMinMaxBot.h"

#include "bots/VantorFastSearch.h"

VantorMinMaxBot::VantorMinMaxBot(VantorLobby* server, const std::string& name, int depth,
                                 VantorEvaluationKind kind)
    : VantorServerBot(server, name), depth_(depth), kind_(kind) {}

VantorMinMaxBot::~VantorMinMaxBot() {
  retire();
}

VantorCoords VantorMinMaxBot::chooseMove(const VantorGame& game) {
  int colour = game.getTurn();
  int8_t board[kBoardSize];
  clearBoard(board);
  for (int x = 1; x <= 8; ++x) {
    for (int y = 1; y <= 8; ++y) board[toIndex(x, y)] = static_cast<int8_t>(game.getCell(x, y));
  }
  return toCoords(chooseMoveOnBoard(board, colour));
}

int VantorMinMaxBot::chooseMoveOnBoard(const int8_t* board, int colour) {
  return orderedChooseMove(board, colour, depth_, kind_);
}
