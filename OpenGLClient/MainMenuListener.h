// What the main menu reports: the user's choice among its three buttons.
// The controller implements it and decides which screen comes next.
//
// Thread safety: called on the GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_MAINMENULISTENER_H_
#define VANTOR_OPENGLCLIENT_MAINMENULISTENER_H_

namespace vgl {

class MainMenuListener {
 public:
  virtual ~MainMenuListener() {}
  virtual void quit() = 0;
  virtual void playLocal() = 0;
  virtual void playOnInternet() = 0;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_MAINMENULISTENER_H_
