// A menu of three full-width buttons over a background picture: the common
// part of the main menu and the colour selection. It keeps the hover flags,
// turns clicks in a band into a button press and draws the three texts; the
// subclass says what a press or a key means. The up and down arrows move the
// hover highlight and Enter presses the highlighted button; with none
// highlighted, Enter is the subclass's key as before.
//
// The background is held only while the menu is shown: show asks for it and
// the next draw (which has a GL context) loads it; hide frees it. So the
// logic runs without a window, as the tests do.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_BUTTONMENU_H_
#define VANTOR_OPENGLCLIENT_BUTTONMENU_H_

#include <string>

#include "OpenGLClient/MenuScreen.h"

class TextureFont;

namespace vgl {

class ButtonMenu : public MenuScreen {
 public:
  static constexpr int kButtons = 3;

  ButtonMenu(const std::string& dataDirectory, const char* backgroundPath,
             const wchar_t* const texts[kButtons]);

  void setFont(TextureFont* font) { font_ = font; }
  void key(int key);
  void click(int x, int y);
  void hover(int x, int y);

  bool isHovered(int button) const { return hovered_[button]; }
  // The button whose band holds y, or -1.
  static int buttonAt(int y);
  // The highlighted button, or -1.
  int hoveredButton() const;

 protected:
  virtual void pressed(int button) = 0;
  virtual void keyPressed(int key) = 0;

 private:
  void drawContents() override;
  void highlight(int button);

  bool hovered_[kButtons];
  TextureFont* font_;
  const wchar_t* const* texts_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_BUTTONMENU_H_
