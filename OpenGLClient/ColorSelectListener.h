// What the colour selection reports: the colour the user plays against the
// chosen computer opponent, or going back to the main menu.
//
// Thread safety: called on the GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_COLORSELECTLISTENER_H_
#define VANTOR_OPENGLCLIENT_COLORSELECTLISTENER_H_

namespace vgl {

class ColorSelectListener {
 public:
  virtual ~ColorSelectListener() {}
  virtual void backFromColorSelect() = 0;
  virtual void playBlack() = 0;
  virtual void playWhite() = 0;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_COLORSELECTLISTENER_H_
