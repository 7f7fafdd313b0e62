#include "app/ClientStartup.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "OpenGLClient/OpenGLClient.h"
#include "app/DisplayCheck.h"
#include "app/LaunchedPortReader.h"
#include "ios/Platform.h"

namespace {

// How long the window waits for the child to say its port. It takes a few
// milliseconds; past this the child is taken to be stuck, and local games
// look for a server on the default port.
constexpr int kPortWaitMs = 5000;

// The standalone server child, or -1.
int gServerPid = -1;

void killStandaloneServer() {
  std::fputs("Kill standalone server\n", stderr);
  platform::killChild(gServerPid);
  gServerPid = -1;
}

// Passes on everything the child writes until it goes: a pipe left unread
// would fill and stop the child's server thread at its next line.
void passOnOutput(int output) {
  char buffer[4096];
  long got;
  while ((got = platform::readWithin(output, buffer, sizeof(buffer), -1)) > 0) {
    platform::writeStandardOutput(buffer, static_cast<size_t>(got));
  }
  platform::closeDescriptor(output);
}

// Reads the child's output up to its launch line, passing it on, within
// kPortWaitMs; 0 when the line did not come.
int readLaunchedPort(int output) {
  LaunchedPortReader reader;
  const uint64_t deadline = platform::monotonicMilliseconds() + kPortWaitMs;
  char buffer[512];
  for (;;) {
    const uint64_t now = platform::monotonicMilliseconds();
    if (now >= deadline) return 0;
    // One byte at a time up to the launch line, so that nothing after it is
    // read here: the rest is the background reader's.
    const long got = platform::readWithin(output, buffer, 1, static_cast<int>(deadline - now));
    if (got <= 0) return 0;
    platform::writeStandardOutput(buffer, static_cast<size_t>(got));
    if (reader.take(buffer, static_cast<size_t>(got))) return reader.port();
  }
}

// Starts the child and returns the port it serves on, or the default port
// when it cannot be told.
int launchStandaloneServer() {
  std::fputs("Launch standalone server\n", stderr);
  // The marker tells the copy that a client started it, so that it dies
  // with this process however this process ends (see main).
  int output = -1;
  gServerPid =
      platform::spawnSelf({"Vantor", "S"}, {std::string(kClientChildMarker) + "=1"}, &output);
  std::atexit(killStandaloneServer);
  if (gServerPid < 0) {
    std::fputs("vantor: the local server could not be started\n", stderr);
    return vgl::Client::kPort;
  }
  int port = readLaunchedPort(output);
  if (port == 0) {
    std::fprintf(stderr,
                 "vantor: the local server did not tell its port; local games look for it on "
                 "port %d\n",
                 vgl::Client::kPort);
    port = vgl::Client::kPort;
  }
  std::thread(passOnOutput, output).detach();
  return port;
}

[[noreturn]] void refuseWithoutDisplay(const std::string& named) {
  const char* variable = std::getenv("DISPLAY");
  const std::string name = !named.empty() ? named : variable != nullptr ? variable : "";
  if (!name.empty()) {
    std::fprintf(stderr,
                 "vantor: cannot open the X display \"%s\"; the game needs a graphical "
                 "session\n",
                 name.c_str());
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

void runClient(int* argc, char** argv, const WindowOptions& options, char* serverStatus) {
  if (!options.incomplete().empty()) {
    std::fprintf(stderr, "vantor: %s needs a value\n", options.incomplete().c_str());
    std::exit(1);
  }
  if (!displayOpens(options.display())) refuseWithoutDisplay(options.display());
  glutInit(argc, argv);
  const int port = launchStandaloneServer();
  ClientHolder holder;
  holder.client.reset(new vgl::Client(serverStatus, "."));
  holder.client->setLocalPort(port);
  holder.client->run();
  std::exit(0);
}
