#include <X11/Xlib.h>

#include "app/DisplayCheck.h"
#include "ios/Platform.h"

bool displayOpens(const std::string& name) {
  if (name.empty() && !platform::displayAvailable()) return false;
  Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
  if (!display) return false;
  XCloseDisplay(display);
  return true;
}
