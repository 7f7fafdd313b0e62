// The first screen: "Jouer en local", "Jouer sur internet" and "Quitter".
// It reports the choice to its listener and never changes screens itself.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_MAINMENU_H_
#define VANTOR_OPENGLCLIENT_MAINMENU_H_

#include <string>

#include "OpenGLClient/ButtonMenu.h"

namespace vgl {

class MainMenuListener;

class MainMenu : public ButtonMenu {
 public:
  MainMenu(MainMenuListener* listener, const std::string& dataDirectory);

 protected:
  void pressed(int button) override;
  void keyPressed(int key) override;

 private:
  MainMenuListener* listener_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_MAINMENU_H_
