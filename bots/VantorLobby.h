// What a player may ask of the lobby it is registered with.
//
// VantorServer (server/) implements it; players, computer players included,
// see their server only through this interface, so that the dependency runs
// one way, from the server to the players. Every operation takes the lobby's
// own lock.
//
// Thread safety: every operation may be called from any thread, also from
// inside a notification of the same lobby (the lobby's lock is re-entrant).
#ifndef VANTOR_BOTS_VANTORLOBBY_H_
#define VANTOR_BOTS_VANTORLOBBY_H_

#include <cstdint>

class VantorPlayer;
class VantorServerGame;

class VantorLobby {
 public:
  // Called by the VantorPlayer constructor and destructor.
  virtual void registerPlayer(VantorPlayer* player) = 0;
  virtual void unregisterPlayer(VantorPlayer* player) = 0;

  virtual void acceptGame(VantorPlayer* player, VantorServerGame* game) = 0;
  // Plays in the game with that id; an id that is gone is ignored.
  virtual void playMove(int gameId, VantorPlayer* player, int8_t x, int8_t y) = 0;
  virtual void sendMessage(VantorPlayer* from, VantorPlayer* to, const char* text) = 0;
  // Sends a private message to the registered player whose unique id is
  // toId; when that player has left meanwhile the message is dropped. A
  // pointer kept across a wait could name a player that left, or a new one
  // created at the same address; the id cannot.
  virtual void sendMessageToId(VantorPlayer* from, uint64_t toId, const char* text) = 0;

 protected:
  ~VantorLobby() = default;
};

#endif  // VANTOR_BOTS_VANTORLOBBY_H_
