// What the game screen reports: leaving the game (Escape), the cell the
// user clicked, rows and columns 0..7 from the top left, and the H key
// showing or hiding the legal-move markers. The controller
// implements it and sends the move to the server.
//
// Thread safety: called on the GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_GAMESCREENLISTENER_H_
#define VANTOR_OPENGLCLIENT_GAMESCREENLISTENER_H_

namespace vgl {

class GameScreenListener {
 public:
  virtual ~GameScreenListener() {}
  virtual void leaveGame() = 0;
  virtual void playMove(int row, int column) = 0;
  virtual void hintsToggled(bool shown) = 0;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_GAMESCREENLISTENER_H_
