// The join-server menu: two text fields, the nick-name (8 characters at
// most) and the server host (32 at most), and "Se connecter". A click
// focuses a field; keys edit the focused field; with no field focused,
// Enter connects and Escape goes back. The nick-name starts as "Guest"
// followed by a number from 0 to 1788 taken from the clock, the host as
// "localhost", where the local server answers. While the controller
// connects, "Connexion..." stands in place of "Se connecter".
//
// Its picture and fonts are loaded once by initialise (which needs a GL
// context) and kept; everything else works without a window.
//
// Thread safety: GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_JOINSERVERMENU_H_
#define VANTOR_OPENGLCLIENT_JOINSERVERMENU_H_

#include <cstdint>
#include <memory>
#include <string>

#include "OpenGLClient/MenuScreen.h"

class TextureFont;

namespace vgl {

class JoinServerMenuListener;

class JoinServerMenu : public MenuScreen {
 public:
  static constexpr size_t kNickLimit = 8;
  static constexpr size_t kHostLimit = 32;
  static constexpr int kPort = 4567;

  JoinServerMenu(JoinServerMenuListener* listener, const std::string& dataDirectory);
  ~JoinServerMenu() override;

  // Loads the background and the two fonts.
  void initialise();
  void key(int key);
  void click(int x, int y);
  void hover(int x, int y);

  const std::wstring& nick() const { return nick_; }
  const std::wstring& host() const { return host_; }
  // The controller says whether a connection is being opened.
  void setConnecting(bool connecting);
  bool isConnecting() const { return connecting_; }
  bool isNickFocused() const { return nickFocused_; }
  bool isHostFocused() const { return hostFocused_; }
  // 0 nick field, 1 host field, 2 "Se connecter".
  bool isHovered(int item) const { return hovered_[item]; }

  // "Guest" and the tick count (milliseconds) modulo 1789.
  static std::wstring defaultNick(uint32_t tickCount);

 private:
  void connect();
  void edit(std::wstring& field, size_t limit, int key);
  void drawField(const std::wstring& text, float y, bool focused, bool hovered);
  void drawContents() override;

  bool hovered_[3];
  JoinServerMenuListener* listener_;
  std::unique_ptr<TextureFont> labelFont_;
  std::unique_ptr<TextureFont> fieldFont_;
  bool nickFocused_;
  bool hostFocused_;
  bool connecting_;
  std::wstring nick_;
  std::wstring host_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_JOINSERVERMENU_H_
