// What the join-server menu reports: going back, or connecting to a game
// server with the typed host and nick-name (both 8-bit strings).
//
// Thread safety: called on the GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_JOINSERVERMENULISTENER_H_
#define VANTOR_OPENGLCLIENT_JOINSERVERMENULISTENER_H_

#include <string>

namespace vgl {

class JoinServerMenuListener {
 public:
  virtual ~JoinServerMenuListener() {}
  virtual void backFromJoinServer() = 0;
  virtual void connectToServer(const std::string& host, int port, const std::string& nick) = 0;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_JOINSERVERMENULISTENER_H_
