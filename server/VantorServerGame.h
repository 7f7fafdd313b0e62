// One game held by the lobby: first an invitation between two players, then,
// once accepted, a running game on the board of VantorGame. It checks whose
// turn it is, asks the board to play and tells the players and spectators
// what happened through VantorPlayer::notifyGameEvent. It knows nothing of
// the network.
//
// Player 1 plays black (-1) and moves first, player 2 plays white (+1); one
// player may hold both places (a player who invited itself). Ids come from a
// process-wide counter that starts at 0 and never reuses a value.
//
// Thread safety: none of its own. The lobby owns every game and calls it only
// while holding the lobby's lock; anyone else reading a game (a connection
// answering a board request) holds that lock for as long as it uses the game.
#ifndef VANTOR_SERVER_VANTORSERVERGAME_H_
#define VANTOR_SERVER_VANTORSERVERGAME_H_

#include <cstdint>

#include "bots/VantorGameEvent.h"
#include "game/VantorGame.h"

class IosVector;
class VantorPlayer;

class VantorServerGame : public VantorGame {
 public:
  VantorServerGame(VantorPlayer* player1, VantorPlayer* player2);
  // A started game sends GameClosed to the players that have not left and to
  // every spectator; an invitation that was never accepted goes silently.
  ~VantorServerGame() override;
  VantorServerGame(const VantorServerGame&) = delete;
  VantorServerGame& operator=(const VantorServerGame&) = delete;

  int getId() const { return id_; }
  bool isStarted() const { return started_; }
  void setStarted(bool value) { started_ = value; }
  void setAllowSpectators(bool value) { allowSpectators_ = value; }
  bool allowsSpectators() const { return allowSpectators_; }
  // The invitation's colour choice as the inviter sent it: 0 when the
  // inviter plays black, anything else when the invited player does.
  int8_t getColourChoice() const { return colourChoice_; }
  void setColourChoice(int8_t value) { colourChoice_ = value; }

  // Player 1 when n is 1, player 2 for any other n.
  VantorPlayer* getPlayer(int n) const { return n == 1 ? player1_ : player2_; }
  // Player 1 while black is to move, otherwise player 2.
  VantorPlayer* getPlayerToMove() const { return turn_ == kBlack ? player1_ : player2_; }
  bool hasPlayer(const VantorPlayer* player) const;

  // Adds player, once however often it asks, when the game allows
  // spectators; false otherwise.
  bool addSpectator(VantorPlayer* player);
  // Removes every occurrence of player.
  void removeSpectator(VantorPlayer* player);
  int getSpectatorCount() const;
  VantorPlayer* getSpectator(int index) const;

  // Records that player left the server, so that it gets no GameClosed.
  void markPlayerLeft(const VantorPlayer* player);

  // Plays (x, y) for player: the move is checked for turn, range and
  // legality, and the players and spectators are told the outcome. A refused
  // move is answered with InvalidMove to player alone and changes nothing.
  bool submitMove(VantorPlayer* player, int8_t x, int8_t y);

 private:
  void sendEvent(VantorPlayer* to, int type, int x = 0, int y = 0);
  void sendToSpectators(int type, int x = 0, int y = 0);

  VantorPlayer* player1_;
  VantorPlayer* player2_;
  IosVector* spectators_;
  bool started_;
  bool allowSpectators_;
  int8_t colourChoice_;
  int id_;
  bool player1Left_;
  bool player2Left_;
};

#endif  // VANTOR_SERVER_VANTORSERVERGAME_H_
