#include "app/ClientStartup.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "OpenGLClient/OpenGLClient.h"
#include "ios/Platform.h"

namespace {

// The standalone server child, or -1.
int gServerPid = -1;

void killStandaloneServer() {
  std::fputs("Kill standalone server\n", stderr);
  platform::killChild(gServerPid);
  gServerPid = -1;
}

void launchStandaloneServer() {
  std::fputs("Launch standalone server\n", stderr);
  // The marker tells the copy that a client started it, so that it dies
  // with this process however this process ends (see main).
  gServerPid = platform::spawnSelf({"Vantor", "S"}, {std::string(kClientChildMarker) + "=1"});
  std::atexit(killStandaloneServer);
}

// freeglut ends the process when it cannot open the display; asking the X
// library first lets the user read one clear line instead.
bool displayOpens() {
  if (!platform::displayAvailable()) return false;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XCloseDisplay(display);
  return true;
}

void refuseWithoutDisplay() {
  const char* name = std::getenv("DISPLAY");
  if (name && *name) {
    std::fprintf(stderr,
                 "vantor: cannot open the X display \"%s\"; the game needs a graphical "
                 "session\n",
                 name);
  } else {
    std::fputs("vantor: no display (DISPLAY is not set); the game needs a graphical session\n",
               stderr);
  }
  std::exit(1);
}

// Owns the controller and deletes it through its virtual destructor.
struct ClientHolder {
  std::unique_ptr<vgl::Client> client;
};

}  // namespace

void runClient(char* serverStatus) {
  if (!displayOpens()) refuseWithoutDisplay();
  int argc = 1;
  char name[] = "vantor";
  char* argv[] = {name, nullptr};
  glutInit(&argc, argv);
  launchStandaloneServer();
  ClientHolder holder;
  holder.client.reset(new vgl::Client(serverStatus, "."));
  holder.client->run();
  std::exit(0);
}
