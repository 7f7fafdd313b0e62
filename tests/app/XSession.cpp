#include "tests/app/XSession.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/app/ChildProcess.h"
#include "tests/app/WindowTestSupport.h"

namespace {

Display* asDisplay(void* p) {
  return static_cast<Display*>(p);
}

int ignoreErrors(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

XSession::XSession() : connection_(nullptr) {
  XSetErrorHandler(ignoreErrors);
  if (!server_.started()) {
    why_ = server_.error();
    return;
  }
  connection_ = XOpenDisplay(server_.name().c_str());
  if (!connection_) why_ = "Xvfb started but its display " + server_.name() + " does not open";
}

XSession::~XSession() {
  if (connection_) XCloseDisplay(asDisplay(connection_));
}

unsigned long XSession::findWindow(const std::string& name, int timeoutMs, unsigned long except) {
  // Without a window manager, the program's window is a child of the root.
  unsigned long found = 0;
  waitUntil(
      [&] {
        for (unsigned long window : shownWindows()) {
          char* title = nullptr;
          if (!XFetchName(asDisplay(connection_), window, &title) || !title) continue;
          if (name == title && window != except) found = window;
          XFree(title);
        }
        return found != 0;
      },
      timeoutMs);
  return found;
}

Picture XSession::capture(unsigned long window) {
  // Read from the window itself, which must lie wholly on the screen.
  Display* d = asDisplay(connection_);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(d, window, &attributes)) return Picture();
  const int width = attributes.width, height = attributes.height;
  XImage* image = XGetImage(d, window, 0, 0, width, height, AllPlanes, ZPixmap);
  if (!image) return Picture();
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      uint8_t* out = &rgb[(static_cast<size_t>(y) * width + x) * 3];
      out[0] = (p & image->red_mask) >> 16;
      out[1] = (p & image->green_mask) >> 8;
      out[2] = p & image->blue_mask;
    }
  }
  XDestroyImage(image);
  return Picture(width, height, std::move(rgb));
}

bool XSession::moveTo(unsigned long window, int x, int y) {
  // Done by the X server before xdotool, another client, sends a click.
  Display* d = asDisplay(connection_);
  XWarpPointer(d, None, window, 0, 0, 0, 0, x, y);
  return XSync(d, False) != 0;
}

bool XSession::click(unsigned long window, int x, int y) {
  return moveTo(window, x, y) && xdotool({"click", "1"});
}

bool XSession::xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> command{"xdotool"};
  command.insert(command.end(), args.begin(), args.end());
  ChildProcess process(command, "/dev/null");
  return process.waitExit(10000) == 0;
}

std::vector<unsigned long> XSession::shownWindows() {
  Display* d = asDisplay(connection_);
  std::vector<unsigned long> shown;
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return shown;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(d, children[i], &attributes) && attributes.map_state == IsViewable) {
      shown.push_back(children[i]);
    }
  }
  if (children) XFree(children);
  return shown;
}
