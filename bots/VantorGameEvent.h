// The record a server game hands to each of its players and spectators
// through VantorPlayer::notifyGameEvent.
//
// It is built once per occasion and passed by reference to every recipient
// in turn; a recipient that needs it later copies what it needs. Besides the
// game itself (opaque to players outside the server) it carries the game's id
// and position, so that a computer player can copy them on the notifying
// thread without looking into a game that may be gone by the time it thinks.
//
// Thread safety: valid only during the notification.
#ifndef VANTOR_BOTS_VANTORGAMEEVENT_H_
#define VANTOR_BOTS_VANTORGAMEEVENT_H_

class VantorGame;
class VantorServerGame;

enum GameEventType {
  GameStarted = 1,
  InvalidMove = 2,
  MovePlayed = 3,
  YourTurn = 4,
  MustPass = 5,
  GameOver = 6,
  GameClosed = 7,
};

struct VantorGameEvent {
  int x;                       // the move's column, for InvalidMove and MovePlayed
  int y;                       // the move's row, likewise
  VantorServerGame* game;      // the game the event belongs to
  int type;                    // a GameEventType
  int gameId;                  // the game's id
  const VantorGame* position;  // the game's position as it is now
};

#endif  // VANTOR_BOTS_VANTORGAMEEVENT_H_
