// The client's own copy of a game it plays or watches: the board and side to
// move of VantorGame, kept in step by replaying the moves and passes the
// server announces, plus the players' names. When a replay fails the copy is
// out of sync: a fresh board has been asked for, and a pass announced in the
// meantime waits in the game until that board arrives.
//
// The connection creates the game and lists it; from the game-started event
// on, the front end owns it. Deleting the game takes it off its connection's
// list, so a connection that lives on never touches a deleted game.
//
// Thread safety: none; used on the front end's one thread.
#ifndef VANTOR_CLIENT_VANTORCLIENTGAME_H_
#define VANTOR_CLIENT_VANTORCLIENTGAME_H_

#include <cstdint>

#include "client/VantorClientEvent.h"
#include "game/VantorGame.h"

class VantorClient;

class VantorClientGame : public VantorGame {
 public:
  static constexpr int kNameSize = 256;

  // The initial position, black to move, names "White" and "Black".
  explicit VantorClientGame(int id);
  // Deletes a deferred event and leaves the connection's list.
  ~VantorClientGame() override;
  VantorClientGame(const VantorClientGame&) = delete;
  VantorClientGame& operator=(const VantorClientGame&) = delete;

  int getId() const { return id_; }
  bool isStarted() const { return started_; }
  void setStarted() { started_ = true; }

  // cells: 64 bytes, x varying fastest; -1 black, +1 white. Any other byte
  // is taken as an empty cell. The side to move is left alone.
  void setBoard(const char* cells);
  // Both names are cut to kNameSize - 1 characters.
  void setPlayerNames(const char* whiteName, const char* blackName);
  // The black name for colour -1, the white name for any other colour.
  const char* getPlayerName(int colour) const;

  // Plays (x, y) for the side to move; false, with nothing changed, for an
  // illegal move or coordinates outside 1..8.
  bool replayMove(int x, int y);

  bool isOutOfSync() const { return outOfSync_; }
  void markOutOfSync() { outOfSync_ = true; }
  // When out of sync, keeps e (deleting one kept before) and returns true;
  // otherwise returns false and the caller keeps e.
  bool deferEvent(VantorClientEvent* e);
  // The kept event or null; the caller owns it. Clears the out-of-sync mark.
  VantorClientEvent* takeDeferredEvent();

 private:
  friend class VantorClient;

  int32_t id_;
  bool started_;
  char whiteName_[kNameSize];
  char blackName_[kNameSize];
  bool outOfSync_;
  VantorClientEvent* deferredEvent_;
  // The connection that lists the game, or null once either has let go.
  VantorClient* client_;
};

#endif  // VANTOR_CLIENT_VANTORCLIENTGAME_H_
