// What the chat screen reports: leaving it for the lobby, and a line to
// send (8-bit strings; an empty addressee is everybody). The controller
// sends it on the internet connection.
//
// Thread safety: called on the GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_CHATSCREENLISTENER_H_
#define VANTOR_OPENGLCLIENT_CHATSCREENLISTENER_H_

#include <string>

namespace vgl {

class ChatScreenListener {
 public:
  virtual ~ChatScreenListener() {}
  virtual void leaveChat() = 0;
  virtual void sendChat(const std::string& addressee, const std::string& text) = 0;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_CHATSCREENLISTENER_H_
