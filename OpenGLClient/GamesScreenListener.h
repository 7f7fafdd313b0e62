// What the games screen reports: going back to the lobby, or the game the
// user chose to watch. The controller asks the server to let it watch.
//
// Thread safety: called on the GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_GAMESSCREENLISTENER_H_
#define VANTOR_OPENGLCLIENT_GAMESSCREENLISTENER_H_

namespace vgl {

class GamesScreenListener {
 public:
  virtual ~GamesScreenListener() {}
  virtual void leaveGames() = 0;
  virtual void watchGame(int gameId) = 0;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_GAMESSCREENLISTENER_H_
