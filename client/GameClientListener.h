// What a front end hears from its client connections. Every operation is
// called from the pump of one connection, on the front end's thread, with
// the colour that connection was opened with (0 for internet play, -1 or +1
// for the local black or white player) so that the front end can tell its
// connections apart.
//
// Thread safety: called on the front end's one thread only.
#ifndef VANTOR_CLIENT_GAMECLIENTLISTENER_H_
#define VANTOR_CLIENT_GAMECLIENTLISTENER_H_

class VantorClientGame;

namespace vgl {

class GameClientListener {
 public:
  virtual ~GameClientListener() {}

  // The connection knows its own nick-name and the player list; once.
  virtual void clientReady(int colour) = 0;
  virtual void playerListChanged(int colour) = 0;
  virtual void gameListChanged(int colour) = 0;
  // The first board of a game has arrived; the listener owns game from now on.
  virtual void gameStarted(int colour, VantorClientGame* game) = 0;
  virtual void gameChanged(int colour) = 0;
  virtual void moveRejected(int colour) = 0;
  virtual void gameEnded(int colour) = 0;
  virtual void gameAbandoned(int colour) = 0;
  virtual void playerPassed(int colour) = 0;
  // blackFlag is non-zero when the invited player is to play black.
  virtual void gameProposed(int colour, const char* inviter, int gameId, int blackFlag) = 0;
  virtual void gameRefused(int colour, const char* name) = 0;
  virtual void nickRefused(int colour, const char* text) = 0;
  // A chat line from sender (8-bit strings); broadcast is false for a line
  // sent to this player alone.
  virtual void messageReceived(int colour, const char* sender, const char* text,
                               bool broadcast) = 0;
  // The server will not let this player watch game gameId (it allows no
  // spectators, or it is gone).
  virtual void spectateRefused(int colour, int gameId) = 0;
  // The connection could not be opened (the host unknown, refused, or not
  // reached in time); it stays silent from now on. The listener may destroy
  // the connection from this call.
  virtual void connectionFailed(int colour) = 0;
  // The connection, once open, failed and has been closed; it stays silent
  // from now on. The listener may destroy the connection from this call.
  virtual void connectionLost(int colour) = 0;
};

}  // namespace vgl

#endif  // VANTOR_CLIENT_GAMECLIENTLISTENER_H_
