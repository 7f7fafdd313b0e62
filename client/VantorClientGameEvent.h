// News about one game the connection plays or watches: started, move
// rejected, changed, a player passes, over, or closed. The game is not owned
// and may be null (a closed game the connection never knew); consumers skip
// such an event. For a pass, name holds the nick-name of the passing player.
//
// Thread safety: none; events live on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORCLIENTGAMEEVENT_H_
#define VANTOR_CLIENT_VANTORCLIENTGAMEEVENT_H_

#include <cstdint>

#include "client/VantorClientEvent.h"

class VantorClientGame;

enum VantorClientGameEventKind : int32_t {
  kGameStarted = 0,
  kMoveRejected = 1,
  kGameChanged = 2,
  kPlayerPassed = 3,
  kGameOver = 4,
  kGameClosed = 5,
};

class VantorClientGameEvent : public VantorClientEvent {
 public:
  VantorClientGameEvent(VantorClientGame* game, int kind);
  ~VantorClientGameEvent() override;

  VantorClientGame* getGame() const { return game_; }
  int getKind() const { return kind_; }
  // Null until setName.
  const char* getName() const { return name_; }
  // Replaces the name with a copy of name (null clears it).
  void setName(const char* name);

 private:
  VantorClientGame* game_;
  int32_t kind_;
  char* name_;
};

#endif  // VANTOR_CLIENT_VANTORCLIENTGAMEEVENT_H_
