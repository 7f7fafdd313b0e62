// The local centre: "Deux joueurs" for two people at one screen, or one of
// the seven computer opponents by display name. Reports the choice to its
// listener. The up and down arrows move the hover highlight through the
// eight entries and Enter chooses the highlighted one. The background is held only while shown
// (loaded by the first draw after show, freed on hide), so the logic runs without a window.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_LOCALCENTER_H_
#define VANTOR_OPENGLCLIENT_LOCALCENTER_H_

#include <string>

#include "OpenGLClient/MenuScreen.h"

class TextureFont;

namespace vgl {

class LocalCenterListener;

class LocalCenter : public MenuScreen {
 public:
  static constexpr int kOpponents = 7;

  // displayNames: the table of the seven opponents' display names, kept by
  // the caller for the life of the screen.
  LocalCenter(LocalCenterListener* listener, const std::string& dataDirectory,
              const wchar_t* const* displayNames);

  void setFont(TextureFont* font) { font_ = font; }
  void key(int key);
  void click(int x, int y);
  void hover(int x, int y);

  bool isTwoPlayersHovered() const { return twoPlayersHovered_; }
  bool isOpponentHovered(int k) const { return opponentHovered_[k]; }
  // The opponent whose band holds y, or -1.
  static int opponentAt(int y);

 private:
  void drawContents() override;
  // Entries from the top: 0 is "Deux joueurs", k + 1 opponent k; -1 none.
  int hoveredEntry() const;
  void highlight(int entry);

  const wchar_t* const* displayNames_;
  bool twoPlayersHovered_;
  bool opponentHovered_[kOpponents];
  LocalCenterListener* listener_;
  TextureFont* font_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_LOCALCENTER_H_
