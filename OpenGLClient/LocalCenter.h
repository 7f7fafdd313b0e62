// The local centre: "Deux joueurs" for two people at one screen, or one of
// the seven computer opponents by display name. Reports the choice to its
// listener. The background is held only while shown (loaded by the first
// draw after show, freed on hide), so the logic runs without a window.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_LOCALCENTER_H_
#define VANTOR_OPENGLCLIENT_LOCALCENTER_H_

#include <memory>
#include <string>

class TextureFont;

namespace vgl {

class LocalCenterListener;
class Texture;

class LocalCenter {
 public:
  static constexpr int kOpponents = 7;

  // displayNames: the table of the seven opponents' display names, kept by
  // the caller for the life of the screen.
  LocalCenter(LocalCenterListener* listener, const std::string& dataDirectory,
              const wchar_t* const* displayNames);
  ~LocalCenter();
  LocalCenter(const LocalCenter&) = delete;
  LocalCenter& operator=(const LocalCenter&) = delete;

  void setFont(TextureFont* font) { font_ = font; }
  void show();
  void hide();
  void draw();
  void key(int key);
  void click(int x, int y);
  void hover(int x, int y);

  bool isDirty() const { return dirty_; }
  bool isShown() const { return shown_; }
  bool isTwoPlayersHovered() const { return twoPlayersHovered_; }
  bool isOpponentHovered(int k) const { return opponentHovered_[k]; }
  // The opponent whose band holds y, or -1.
  static int opponentAt(int y);

 private:
  const wchar_t* const* displayNames_;
  bool dirty_;
  bool shown_;
  bool twoPlayersHovered_;
  bool opponentHovered_[kOpponents];
  LocalCenterListener* listener_;
  std::unique_ptr<Texture> background_;
  TextureFont* font_;
  std::string dataDirectory_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_LOCALCENTER_H_
