// The options GLUT takes out of the command line for itself, as freeglut
// does on X: "-display NAME", "-geometry WxH+X+Y", "-direct", "-indirect",
// "-iconic", "-gldebug" and "-sync". The entry point chooses the mode from
// the arguments that remain without them, before GLUT is initialised, so
// that the server mode never needs a display: freeglut ends the process
// when its display does not open. In client mode glutInit then takes the
// same options out of the real argument list.
//
// Thread safety: plain value; one thread at a time.
#ifndef VANTOR_APP_WINDOWOPTIONS_H_
#define VANTOR_APP_WINDOWOPTIONS_H_

#include <string>
#include <vector>

class WindowOptions {
 public:
  WindowOptions(int argc, const char* const* argv);

  // The arguments without GLUT's options, the program name first.
  const std::vector<std::string>& remaining() const { return remaining_; }
  // The display named by "-display" (the last one given), or empty.
  const std::string& display() const { return display_; }
  // An option given last without the value it needs ("-display" alone),
  // or empty.
  const std::string& incomplete() const { return incomplete_; }

 private:
  std::vector<std::string> remaining_;
  std::string display_;
  std::string incomplete_;
};

#endif  // VANTOR_APP_WINDOWOPTIONS_H_
