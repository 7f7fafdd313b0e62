// The colour the user plays against the chosen computer opponent:
// "Jouer les noirs", "Jouer les blancs" or "Retour".
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_COLORSELECT_H_
#define VANTOR_OPENGLCLIENT_COLORSELECT_H_

#include <string>

#include "OpenGLClient/ButtonMenu.h"

namespace vgl {

class ColorSelectListener;

class ColorSelect : public ButtonMenu {
 public:
  ColorSelect(ColorSelectListener* listener, const std::string& dataDirectory);

 protected:
  void pressed(int button) override;
  void keyPressed(int key) override;

 private:
  ColorSelectListener* listener_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_COLORSELECT_H_
