// What the lobby reports: leaving it, answering an invitation, inviting a
// free player (8-bit nick-name), cancelling that invitation, or opening the
// chat or the list of games. The controller turns these into requests on the internet connection
// or into a change of screen.
//
// Thread safety: called on the GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_NETCENTERLISTENER_H_
#define VANTOR_OPENGLCLIENT_NETCENTERLISTENER_H_

#include <string>

namespace vgl {

class NetCenterListener {
 public:
  virtual ~NetCenterListener() {}
  virtual void leaveLobby() = 0;
  // blackFlag is non-zero when the invited user is to play black.
  virtual void acceptInvitation(int gameId, int blackFlag) = 0;
  virtual void declineInvitation(int gameId) = 0;
  virtual void invitePlayer(const std::string& name) = 0;
  // The user no longer waits for the player last invited.
  virtual void cancelInvitation() = 0;
  virtual void openChat() = 0;
  virtual void openGames() = 0;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_NETCENTERLISTENER_H_
