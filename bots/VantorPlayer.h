// Every participant the game server knows: a remote person behind a network
// connection (server/) or a computer player living in the server (bots/).
// The lobby and the server games talk to all of them through the same
// notifications; each kind turns them into wire messages or reactions.
//
// A player built on a lobby registers itself at construction (when the lobby
// is not full) and unregisters itself at destruction. Its default name is
// "Player" followed by a process-wide serial number. A player built on a name
// belongs to no lobby (the lobby's "Administrator" identity).
//
// Thread safety: notifications arrive on the lobby's callers' threads while
// they hold the lobby's lock; the name is read and changed under that lock.
// A player is listed from its base constructor on and until its base
// destructor, while its subclass parts do not exist yet or any more: while
// other threads use the lobby, build a player under the lobby's lock, and
// have a subclass call leaveServer() first in its destructor.
#ifndef VANTOR_BOTS_VANTORPLAYER_H_
#define VANTOR_BOTS_VANTORPLAYER_H_

#include <cstdint>
#include <string>

#include "bots/VantorGameEvent.h"
#include "bots/VantorLobby.h"

class VantorPlayer {
 public:
  explicit VantorPlayer(VantorLobby* server);
  explicit VantorPlayer(const std::string& name);
  virtual ~VantorPlayer();

  const std::string& getName() const { return name_; }
  void setName(const std::string& newName) { name_ = newName; }
  // Unique in the process and never reused, unlike the object's address.
  uint64_t getId() const { return id_; }

  virtual VantorLobby* getServer();
  virtual void notifyAskGame(VantorPlayer* inviter, VantorServerGame* game);
  virtual void notifyRefuseGame(VantorPlayer* refuser);
  virtual void notifyMessage(VantorPlayer* from, const char* text, bool broadcast);
  virtual void notifyGameEvent(const VantorGameEvent& event);
  virtual void notifyPlayerListChanged();
  virtual void notifyGameListChanged();
  virtual std::string getDescription();
  virtual void markRegistered();
  virtual bool isRegistered();

 protected:
  // A player on a lobby that carries name from the start instead of the
  // default one (a serial number is still consumed): the computer players,
  // whose name nobody ever sees change. An empty name gives the default.
  VantorPlayer(VantorLobby* server, const std::string& name);

  // Unregisters the player now rather than at the end of its destruction. A
  // subclass whose notifications use its own members calls it first in its
  // destructor: notifications run under the lobby's lock, so none can reach
  // the player once this has returned. Idempotent.
  void leaveServer();

  VantorLobby* server_;
  std::string name_;
  bool registered_;

 private:
  uint64_t id_;
};

#endif  // VANTOR_BOTS_VANTORPLAYER_H_
