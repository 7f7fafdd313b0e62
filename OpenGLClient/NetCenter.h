// The lobby of a game server: the free players on the server (neither in a
// game nor oneself), a status line, and the invitation buttons. A click on
// a player invites him; an incoming invitation can be accepted or declined;
// an invitation that arrives while one is pending is declined at once; a
// pending invitation of one's own can be cancelled, which the listener
// withdraws on the server. "Discussion" in the middle row, or Tab, opens
// the chat, unless an invitation waits for an answer there. "Parties" in
// the lower row, or P, opens the list of the server's games, while no
// invitation is under way (its answers take that row). While idle, the
// arrow keys move the highlight over the players (left and right between
// the two columns) and Enter invites the highlighted one.
//
// Invitation states: idle (0), invited by someone (1), inviting someone (2).
// The lobby reads its lists from the controller's internet connection (not
// owned) and reports choices only to its listener.
//
// Its picture and fonts are loaded once by initialise (which needs a GL
// context) and kept; the logic works without a window.
//
// Thread safety: GLUT thread only; the lists are read after the connection's
// pump on the same thread.
#ifndef VANTOR_OPENGLCLIENT_NETCENTER_H_
#define VANTOR_OPENGLCLIENT_NETCENTER_H_

#include <memory>
#include <string>
#include <vector>

#include "OpenGLClient/MenuScreen.h"

class TextureFont;

namespace vgl {

class GameClient;
class NetCenterListener;

class NetCenter : public MenuScreen {
 public:
  enum InvitationState { kIdle = 0, kInvited = 1, kInviting = 2 };
  // Players per column of the list; the 13th starts the right column.
  static constexpr int kRowsPerColumn = 12;

  NetCenter(NetCenterListener* listener, const std::string& dataDirectory);
  ~NetCenter() override;

  // Loads the background and the two fonts.
  void initialise();
  void key(int key);
  void click(int x, int y);
  void hover(int x, int y);

  void takeConnection(GameClient* connection);
  void forgetConnection() { connection_ = nullptr; }
  bool hasConnection() const { return connection_ != nullptr; }
  void clearInvitation();
  void reReadPlayers();
  void showInvitation(const std::string& name, int gameId, int blackFlag);
  void showRefusal(const std::string& name);

  int invitationState() const { return state_; }
  const std::wstring& status() const { return status_; }
  const std::vector<std::wstring>& players() const { return players_; }
  int hoveredPlayer() const { return hoveredPlayer_; }
  bool isUpperHovered() const { return upperHovered_; }
  bool isLowerHovered() const { return lowerHovered_; }
  // Whether "Discussion" stands in the middle row (not while invited).
  bool offersChat() const;
  // Whether "Parties" stands in the lower row (no invitation under way).
  bool offersGames() const;

  // Where list entry k is drawn (left edge, top), window coordinates.
  static void entryPosition(int k, int* x, int* y);
  // The list entry under (x, y), or -1 outside the list.
  static int entryAt(int x, int y);
  // While idle: invites players_[entry] when there is one.
  void invite(int entry);
  void moveHighlight(int step);

 private:
  void drawContents() override;

  int state_;
  bool upperHovered_;
  bool lowerHovered_;
  NetCenterListener* listener_;
  GameClient* connection_;
  std::unique_ptr<TextureFont> statusFont_;
  std::unique_ptr<TextureFont> listFont_;
  std::wstring status_;
  int pendingGameId_;
  int pendingBlackFlag_;
  int hoveredPlayer_;
  std::wstring invitee_;
  std::vector<std::wstring> players_;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_NETCENTER_H_
