#include "server/VantorServerGame.h"

#include <atomic>

#include "bots/VantorPlayer.h"
#include "ios/IosVector.h"

namespace {

// Game ids of the whole process: the first game gets 0.
std::atomic<int> nextGameId{0};

}  // namespace

VantorServerGame::VantorServerGame(VantorPlayer* player1, VantorPlayer* player2)
    : player1(player1),
      player2(player2),
      spectators(new IosVector()),
      started(false),
      allowSpectators(false),
      colourChoice(0),
      id(nextGameId++),
      player1Left(false),
      player2Left(false) {}

VantorServerGame::~VantorServerGame() {
  if (started) {
    if (!player1Left) sendEvent(player1, GameClosed);
    if (!player2Left) sendEvent(player2, GameClosed);
    sendToSpectators(GameClosed);
  }
  delete spectators;
}

bool VantorServerGame::hasPlayer(const VantorPlayer* player) const {
  return player == player1 || player == player2;
}

bool VantorServerGame::addSpectator(VantorPlayer* player) {
  if (!allowSpectators) return false;
  spectators->add(player);
  return true;
}

void VantorServerGame::removeSpectator(VantorPlayer* player) {
  spectators->remove(player);
}

int VantorServerGame::getSpectatorCount() const {
  return spectators->size();
}

VantorPlayer* VantorServerGame::getSpectator(int index) const {
  return static_cast<VantorPlayer*>(spectators->get(index));
}

void VantorServerGame::markPlayerLeft(const VantorPlayer* player) {
  if (player == player1) player1Left = true;
  if (player == player2) player2Left = true;
}

void VantorServerGame::sendEvent(VantorPlayer* to, int type, int x, int y) {
  if (to == nullptr) return;
  VantorGameEvent event{x, y, this, type, id, this};
  to->notifyGameEvent(event);
}

void VantorServerGame::sendToSpectators(int type, int x, int y) {
  // Re-reads the size on every step: a recipient may call back into the lobby.
  for (int i = 0; i < spectators->size(); ++i) sendEvent(getSpectator(i), type, x, y);
}

bool VantorServerGame::submitMove(VantorPlayer* player, int8_t x, int8_t y) {
  int colour = 0;
  if (player != nullptr && player == player1) {
    colour = kBlack;
  } else if (player != nullptr && player == player2) {
    colour = kWhite;
  }
  // A player holding both places plays for whichever side is to move.
  bool refused = colour == 0 || (colour != turn && player1 != player2);
  refused = refused || x < 1 || x > 8 || y < 1 || y > 8;
  if (refused || !play(x, y)) {
    sendEvent(player, InvalidMove, x, y);
    return false;
  }
  sendEvent(player1, MovePlayed, x, y);
  sendEvent(player2, MovePlayed, x, y);
  sendToSpectators(MovePlayed, x, y);
  switch (checkPass()) {
    case 0:
      sendEvent(getPlayerToMove(), YourTurn);
      break;
    case 1:
      // The players learn of the pass while the passing side is still to
      // move, so that it can be named; the spectators after the switch.
      sendEvent(player1, MustPass);
      sendEvent(player2, MustPass);
      switchTurn();
      sendEvent(getPlayerToMove(), YourTurn);
      sendToSpectators(MustPass);
      break;
    default:
      sendEvent(player1, GameOver);
      sendEvent(player2, GameOver);
      sendToSpectators(GameOver);
      break;
  }
  return true;
}
