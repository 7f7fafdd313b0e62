#include "server/VantorServerGame.h"

#include <atomic>

#include "bots/VantorPlayer.h"
#include "ios/IosVector.h"

namespace {

// Game ids of the whole process: the first game gets 0.
std::atomic<int> nextGameId{0};

}  // namespace

VantorServerGame::VantorServerGame(VantorPlayer* player1, VantorPlayer* player2)
    : player1_(player1),
      player2_(player2),
      spectators_(new IosVector()),
      started_(false),
      allowSpectators_(false),
      colourChoice_(0),
      id_(nextGameId++),
      player1Left_(false),
      player2Left_(false) {}

VantorServerGame::~VantorServerGame() {
  if (started_) {
    if (!player1Left_) sendEvent(player1_, GameClosed);
    if (!player2Left_) sendEvent(player2_, GameClosed);
    sendToSpectators(GameClosed);
  }
  delete spectators_;
}

bool VantorServerGame::hasPlayer(const VantorPlayer* player) const {
  return player == player1_ || player == player2_;
}

bool VantorServerGame::addSpectator(VantorPlayer* player) {
  if (!allowSpectators_) return false;
  // Asked again, a spectator is still told every move once.
  for (int i = 0; i < spectators_->size(); ++i) {
    if (spectators_->get(i) == player) return true;
  }
  spectators_->add(player);
  return true;
}

void VantorServerGame::removeSpectator(VantorPlayer* player) {
  spectators_->remove(player);
}

int VantorServerGame::getSpectatorCount() const {
  return spectators_->size();
}

VantorPlayer* VantorServerGame::getSpectator(int index) const {
  return static_cast<VantorPlayer*>(spectators_->get(index));
}

void VantorServerGame::markPlayerLeft(const VantorPlayer* player) {
  if (player == player1_) player1Left_ = true;
  if (player == player2_) player2Left_ = true;
}

void VantorServerGame::sendEvent(VantorPlayer* to, int type, int x, int y) {
  if (to == nullptr) return;
  VantorGameEvent event{x, y, this, type, id_, this};
  to->notifyGameEvent(event);
}

void VantorServerGame::sendToSpectators(int type, int x, int y) {
  // Re-reads the size on every step: a recipient may call back into the lobby.
  for (int i = 0; i < spectators_->size(); ++i) sendEvent(getSpectator(i), type, x, y);
}

bool VantorServerGame::submitMove(VantorPlayer* player, int8_t x, int8_t y) {
  int colour = 0;
  if (player != nullptr && player == player1_) {
    colour = kBlack;
  } else if (player != nullptr && player == player2_) {
    colour = kWhite;
  }
  // A player holding both places plays for whichever side is to move.
  bool refused = colour == 0 || (colour != turn_ && player1_ != player2_);
  refused = refused || x < 1 || x > 8 || y < 1 || y > 8;
  if (refused || !play(x, y)) {
    sendEvent(player, InvalidMove, x, y);
    return false;
  }
  sendEvent(player1_, MovePlayed, x, y);
  sendEvent(player2_, MovePlayed, x, y);
  sendToSpectators(MovePlayed, x, y);
  switch (checkPass()) {
    case 0:
      sendEvent(getPlayerToMove(), YourTurn);
      break;
    case 1:
      // The players learn of the pass while the passing side is still to
      // move, so that it can be named; the spectators after the switch.
      sendEvent(player1_, MustPass);
      sendEvent(player2_, MustPass);
      switchTurn();
      sendEvent(getPlayerToMove(), YourTurn);
      sendToSpectators(MustPass);
      break;
    default:
      sendEvent(player1_, GameOver);
      sendEvent(player2_, GameOver);
      sendToSpectators(GameOver);
      break;
  }
  return true;
}
