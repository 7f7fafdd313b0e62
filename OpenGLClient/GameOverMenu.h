// The picture that fades in over the finished board once a game has ended,
// and waits for the user to dismiss it. The game screen stays drawn beneath
// it, so the final position and the result text remain readable.
//
// The picture is held only while the menu is up: show asks for it and the
// next draw (which has a GL context) loads it; hide frees it.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_GAMEOVERMENU_H_
#define VANTOR_OPENGLCLIENT_GAMEOVERMENU_H_

#include <memory>
#include <string>

class TextureFont;

namespace vgl {

class GameOverMenuListener;
class Texture;

class GameOverMenu {
 public:
  GameOverMenu(GameOverMenuListener* listener, const std::string& dataDirectory);
  ~GameOverMenu();
  GameOverMenu(const GameOverMenu&) = delete;
  GameOverMenu& operator=(const GameOverMenu&) = delete;

  void setFont(TextureFont* font) { font_ = font; }
  // Starts the fade-in, which takes one second.
  void show();
  void hide();
  void tick(float dt);
  void draw();
  void click(int x, int y);
  void key(int key);
  void hover(int x, int y);

  float fade() const { return fade_; }
  bool isShown() const { return pictureWanted_; }

 private:
  float fade_;
  float fadeSpeed_;
  GameOverMenuListener* listener_;
  std::unique_ptr<Texture> picture_;
  bool pictureWanted_;
  std::string dataDirectory_;
  TextureFont* font_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_GAMEOVERMENU_H_
