#include "tests/app/XSession.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

Display* asDisplay(void* p) {
  return static_cast<Display*>(p);
}

bool fileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

int spawn(const std::vector<std::string>& args, const std::string& display, bool quiet) {
  std::vector<std::string> copies(args);
  std::vector<char*> argv;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "DISPLAY=", 8) != 0) env.push_back(*e);
  }
  if (!display.empty()) env.push_back("DISPLAY=" + display);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid;
  int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

int waitFor(int pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

Window findNamed(Display* display, Window window, const std::string& name) {
  char* title = nullptr;
  if (XFetchName(display, window, &title) && title) {
    bool match = name == title;
    XFree(title);
    if (match) return window;
  }
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && !found; ++i) found = findNamed(display, children[i], name);
  if (children) XFree(children);
  return found;
}

int ignoreErrors(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

XSession::XSession() : serverPid_(-1), connection_(nullptr) {}

XSession::~XSession() {
  if (connection_) XCloseDisplay(asDisplay(connection_));
  if (serverPid_ > 0) {
    kill(serverPid_, SIGTERM);
    waitFor(serverPid_);
  }
}

bool XSession::start() {
  XSetErrorHandler(ignoreErrors);
  for (int n = 77; n < 140; ++n) {
    std::string number = std::to_string(n);
    if (fileExists("/tmp/.X" + number + "-lock") || fileExists("/tmp/.X11-unix/X" + number)) {
      continue;
    }
    display_ = ":" + number;
    serverPid_ =
        spawn({"Xvfb", display_, "-screen", "0", "480x560x24", "-nolisten", "tcp"}, "", true);
    if (serverPid_ < 0) {
      why_ = "Xvfb cannot be started (scripts/install-deps installs xvfb)";
      return false;
    }
    for (int i = 0; i < 100; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      int status;
      if (waitpid(serverPid_, &status, WNOHANG) == serverPid_) {
        serverPid_ = -1;
        break;  // display number taken after all: try the next one
      }
      connection_ = XOpenDisplay(display_.c_str());
      if (connection_) return true;
    }
    if (serverPid_ > 0) {
      kill(serverPid_, SIGTERM);
      waitFor(serverPid_);
      serverPid_ = -1;
    }
  }
  why_ = "no X display could be started with Xvfb";
  return false;
}

unsigned long XSession::findWindow(const std::string& name, int timeoutMs) {
  Display* d = asDisplay(connection_);
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    Window w = findNamed(d, DefaultRootWindow(d), name);
    if (w) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(d, w, &attributes) && attributes.map_state == IsViewable) return w;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  } while (std::chrono::steady_clock::now() < end);
  return 0;
}

bool XSession::windowExists(unsigned long window) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(asDisplay(connection_), window, &attributes) != 0;
}

Screenshot XSession::capture(unsigned long window) {
  // The picture is read from the root window: a window that reaches past
  // the screen's edge (freeglut places it at -1, -1 without a window
  // manager) cannot be read directly. Whatever lies off screen stays black.
  Display* d = asDisplay(connection_);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(d, window, &attributes)) return Screenshot();
  Window root = DefaultRootWindow(d), child;
  int originX, originY;
  if (!XTranslateCoordinates(d, window, root, 0, 0, &originX, &originY, &child)) {
    return Screenshot();
  }
  int width = attributes.width, height = attributes.height;
  int screenWidth = DisplayWidth(d, DefaultScreen(d));
  int screenHeight = DisplayHeight(d, DefaultScreen(d));
  int x0 = std::max(originX, 0), y0 = std::max(originY, 0);
  int x1 = std::min(originX + width, screenWidth), y1 = std::min(originY + height, screenHeight);
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, 0);
  if (x1 <= x0 || y1 <= y0) return Screenshot(width, height, std::move(rgb));
  XImage* image = XGetImage(d, root, x0, y0, x1 - x0, y1 - y0, AllPlanes, ZPixmap);
  if (!image) return Screenshot();
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
  return Screenshot(width, height, std::move(rgb));
}

bool XSession::moveTo(unsigned long window, int x, int y) {
  Display* d = asDisplay(connection_);
  int rootX, rootY;
  Window child;
  if (!XTranslateCoordinates(d, window, DefaultRootWindow(d), x, y, &rootX, &rootY, &child)) {
    return false;
  }
  bool moved = xdotool({"mousemove", std::to_string(rootX), std::to_string(rootY)});
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  return moved;
}

bool XSession::click(unsigned long window, int x, int y) {
  return moveTo(window, x, y) && xdotool({"click", "1"});
}

bool XSession::key(const std::string& name) {
  return xdotool({"key", name});
}

bool XSession::type(const std::string& text) {
  return xdotool({"type", text});
}

bool XSession::xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> all{"xdotool"};
  all.insert(all.end(), args.begin(), args.end());
  int pid = spawn(all, display_, false);
  if (pid < 0) return false;
  int status = waitFor(pid);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
