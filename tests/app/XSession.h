// A private X server (Xvfb) for the window tests, and the means to look at
// and drive a window on it: find a top-level window by name, take its
// picture, move the pointer, and send real clicks and keys through xdotool
// (XTEST).
// Programs started after it find it through DISPLAY.
//
// Thread safety: one thread at a time.
#ifndef VANTOR_TESTS_APP_XSESSION_H_
#define VANTOR_TESTS_APP_XSESSION_H_

#include <string>
#include <vector>

#include "tests/OpenGLClient/Picture.h"
#include "tests/OpenGLClient/XvfbDisplay.h"

class XSession {
 public:
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  // False (with why()) when no X server could be started or reached.
  bool started() const { return connection_ != nullptr; }
  const std::string& why() const { return why_; }

  // The top-level window shown titled name, other than except when given,
  // waiting up to timeoutMs; 0 if none.
  unsigned long findWindow(const std::string& name, int timeoutMs, unsigned long except = 0);
  // The picture of a window that lies wholly on the screen.
  Picture capture(unsigned long window);
  // Pointer moves (at once, without a helper program, so that a test may
  // time how soon a window answers) and clicks at window coordinates of
  // window.
  bool moveTo(unsigned long window, int x, int y);
  bool click(unsigned long window, int x, int y);
  // Runs xdotool with these arguments (keys: {"key", "Escape"}; buttons:
  // {"click", "4"}); whether it succeeded.
  bool xdotool(const std::vector<std::string>& args);
  // The top-level windows shown.
  std::vector<unsigned long> shownWindows();

 private:
  XvfbDisplay server_;
  std::string why_;
  void* connection_;
};

#endif  // VANTOR_TESTS_APP_XSESSION_H_
