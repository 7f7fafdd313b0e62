// What the game-over picture reports: the user dismissed it (a click,
// Escape or Enter). The controller then leaves the finished game.
//
// Thread safety: called on the GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_GAMEOVERMENULISTENER_H_
#define VANTOR_OPENGLCLIENT_GAMEOVERMENULISTENER_H_

namespace vgl {

class GameOverMenuListener {
 public:
  virtual ~GameOverMenuListener() {}
  virtual void gameOverDismissed() = 0;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_GAMEOVERMENULISTENER_H_
