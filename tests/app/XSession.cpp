#include "tests/app/XSession.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "tests/app/ChildProcess.h"

namespace {

Display* asDisplay(void* p) {
  return static_cast<Display*>(p);
}

Window findNamed(Display* display, Window window, const std::string& name, Window except) {
  char* title = nullptr;
  if (XFetchName(display, window, &title) && title) {
    bool match = name == title && window != except;
    XFree(title);
    if (match) return window;
  }
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    found = findNamed(display, children[i], name, except);
  }
  if (children) XFree(children);
  return found;
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
  Display* d = asDisplay(connection_);
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    Window w = findNamed(d, DefaultRootWindow(d), name, except);
    if (w) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(d, w, &attributes) && attributes.map_state == IsViewable) return w;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  } while (std::chrono::steady_clock::now() < end);
  return 0;
}

Picture XSession::capture(unsigned long window) {
  // The picture is read from the root window: a window that reaches past
  // the screen's edge (freeglut places it at -1, -1 without a window
  // manager) cannot be read directly. Whatever lies off screen stays black.
  Display* d = asDisplay(connection_);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(d, window, &attributes)) return Picture();
  Window root = DefaultRootWindow(d), child;
  int originX, originY;
  if (!XTranslateCoordinates(d, window, root, 0, 0, &originX, &originY, &child)) {
    return Picture();
  }
  int width = attributes.width, height = attributes.height;
  int screenWidth = DisplayWidth(d, DefaultScreen(d));
  int screenHeight = DisplayHeight(d, DefaultScreen(d));
  int x0 = std::max(originX, 0), y0 = std::max(originY, 0);
  int x1 = std::min(originX + width, screenWidth), y1 = std::min(originY + height, screenHeight);
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, 0);
  if (x1 <= x0 || y1 <= y0) return Picture(width, height, std::move(rgb));
  XImage* image = XGetImage(d, root, x0, y0, x1 - x0, y1 - y0, AllPlanes, ZPixmap);
  if (!image) return Picture();
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      unsigned long p = XGetPixel(image, x - x0, y - y0);
      uint8_t* out = &rgb[(static_cast<size_t>(y - originY) * width + (x - originX)) * 3];
      out[0] = (p & image->red_mask) >> 16;
      out[1] = (p & image->green_mask) >> 8;
      out[2] = p & image->blue_mask;
    }
  }
  XDestroyImage(image);
  return Picture(width, height, std::move(rgb));
}

bool XSession::moveTo(unsigned long window, int x, int y) {
  Display* d = asDisplay(connection_);
  int rootX, rootY;
  Window child;
  if (!XTranslateCoordinates(d, window, DefaultRootWindow(d), x, y, &rootX, &rootY, &child)) {
    return false;
  }
  const bool moved = xdotool({"mousemove", std::to_string(rootX), std::to_string(rootY)});
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  return moved;
}

bool XSession::click(unsigned long window, int x, int y) {
  return moveTo(window, x, y) && xdotool({"click", "1"});
}

bool XSession::key(const std::string& name) {
  return xdotool({"key", name});
}

bool XSession::xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> command{"xdotool"};
  command.insert(command.end(), args.begin(), args.end());
  ChildProcess process(command, "/dev/null");
  const int status = process.waitExit(10000);
  return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool XSession::warpTo(unsigned long window, int x, int y) {
  Display* d = asDisplay(connection_);
  XWarpPointer(d, None, window, 0, 0, 0, 0, x, y);
  XFlush(d);
  return true;
}

std::vector<std::string> XSession::shownWindows() {
  Display* d = asDisplay(connection_);
  std::vector<std::string> titles;
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return titles;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(d, children[i], &attributes) || attributes.map_state != IsViewable) {
      continue;
    }
    char* title = nullptr;
    if (XFetchName(d, children[i], &title) && title) {
      titles.push_back(title);
      XFree(title);
    } else {
      titles.push_back("");
    }
  }
  if (children) XFree(children);
  return titles;
}
