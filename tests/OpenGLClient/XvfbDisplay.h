// A private virtual X server for the tests that open a window: Xvfb picks a
// free display number itself (-displayfd), so parallel test runs and a
// developer's own desktop never get in each other's way. DISPLAY is pointed
// at it for the rest of the process.
//
// Thread safety: create and destroy on one thread, before and after any
// window work.
#ifndef VANTOR_TESTS_OPENGLCLIENT_XVFBDISPLAY_H_
#define VANTOR_TESTS_OPENGLCLIENT_XVFBDISPLAY_H_

#include <string>

class XvfbDisplay {
 public:
  XvfbDisplay();
  ~XvfbDisplay();
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  bool started() const { return pid_ > 0 && !name_.empty(); }
  // ":N", or empty when the server could not be started.
  const std::string& name() const { return name_; }
  const std::string& error() const { return error_; }

 private:
  int pid_;
  std::string name_;
  std::string error_;
};

#endif  // VANTOR_TESTS_OPENGLCLIENT_XVFBDISPLAY_H_
