// What the menus and the lobby have in common: the dirty and shown flags,
// the data directory that resource paths start with, an opaque full-screen
// background under the screen's own texts, and hover flags that mark the
// screen dirty only when they change.
//
// The background lives in one of two ways. A screen that holds it only
// while shown gets it loaded by the first draw after show (draws run with a
// GL context) and freed by hide, so its logic runs without a window. A
// screen that keeps it loads it once, from its initialise (which needs a GL
// context); its show and hide then only set the shown flag, and it draws
// nothing before that.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_MENUSCREEN_H_
#define VANTOR_OPENGLCLIENT_MENUSCREEN_H_

#include <memory>
#include <string>

class TextureFont;

namespace vgl {

class Texture;

class MenuScreen {
 public:
  virtual ~MenuScreen();
  MenuScreen(const MenuScreen&) = delete;
  MenuScreen& operator=(const MenuScreen&) = delete;

  void show();
  void hide();
  // The background, blending off, then the screen's texts, while shown;
  // no longer dirty afterwards, drawn or not.
  void draw();

  bool isDirty() const { return dirty_; }
  bool isShown() const { return shown_; }

 protected:
  enum BackgroundLife { kHeldWhileShown, kKept };

  // backgroundPath is joined to dataDirectory.
  MenuScreen(const std::string& dataDirectory, const char* backgroundPath, BackgroundLife life);

  // Draws over the background; called only while shown.
  virtual void drawContents() = 0;

  // For a kept background: loads it (needs a GL context).
  void loadBackground();
  // A font from path joined to the data directory; throws as
  // TextureFont::init does.
  std::unique_ptr<TextureFont> loadFont(const char* path, int size) const;
  void markDirty() { dirty_ = true; }
  // Stores whether the pointer is over a text; dirty only on a change.
  void setHover(bool& flag, bool hovered);

 private:
  bool dirty_;
  bool shown_;
  BackgroundLife life_;
  std::string dataDirectory_;
  std::string backgroundPath_;
  std::unique_ptr<Texture> background_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_MENUSCREEN_H_
