// What the local centre reports: a game for two people at one screen, the
// choice of a computer opponent (index 0..6), or going back.
//
// Thread safety: called on the GLUT thread only.
#ifndef VANTOR_OPENGLCLIENT_LOCALCENTERLISTENER_H_
#define VANTOR_OPENGLCLIENT_LOCALCENTERLISTENER_H_

namespace vgl {

class LocalCenterListener {
 public:
  virtual ~LocalCenterListener() {}
  virtual void backFromLocalCenter() = 0;
  virtual void playTwoPlayers() = 0;
  virtual void chooseComputerOpponent(int index) = 0;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_LOCALCENTERLISTENER_H_
