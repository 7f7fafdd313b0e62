// The entry point. The mode is chosen from the arguments without GLUT's own
// options (-display NAME, -geometry SPEC, ...; see WindowOptions). None
// left: the window client, which hands the real argument list to glutInit.
// A first argument that begins with an upper-case 'S': the game server for
// this machine, on 127.0.0.1 port 4567 or the next port that can be used,
// until the process is interrupted (exit code 255). Any other argument:
// nothing, exit code 0. An exception that escapes either mode: the crash
// message, exit code 1.
//
// GLUT is initialised in client mode only: freeglut ends the process when
// its display does not open, and the server mode needs no display, nor
// should a server hold a connection to the desktop it was started from.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "app/ClientStartup.h"
#include "app/WindowOptions.h"
#include "ios/CrashReporter.h"
#include "ios/Exception.h"
#include "ios/Platform.h"
#include "server/VantorEmbeddedServer.h"

namespace {

// Lives for the whole process: the mode that runs may keep its address.
char serverStatus[1024];

int runServer() {
  VantorEmbeddedServer server(serverStatus, true, VantorEmbeddedServer::kDefaultPort);
  server.start();
  try {
    server.join();
  } catch (Exception* e) {
    // The thread had already ended (it gave up on every port).
    delete e;
  }
  return server.gaveUp() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  installCrashHandlers();
  serverStatus[0] = 0;
  try {
    // Pictures and fonts are found beside the executable.
    const std::string directory = platform::executableDirectory();
    if (directory.size() > 1) platform::changeDirectory(directory);

    const WindowOptions options(argc, argv);
    const std::vector<std::string>& arguments = options.remaining();
    if (arguments.size() > 1 && arguments[1][0] == 'S') {
      // The server child of a client must not outlive it, or it would go on
      // holding a port that no client looks at any more.
      const char* marker = std::getenv(kClientChildMarker);
      if (marker != nullptr && !platform::dieWithParent()) return 0;
      return runServer();
    }
    if (arguments.size() == 1) runClient(&argc, argv, options, serverStatus);
    return 0;
  } catch (Exception* e) {
    std::ostringstream text;
    text << "Fatal error: " << e->getMessage() << "\n" << e->getCallStack() << "\n";
    delete e;
    showCrashMessage(text.str());
  } catch (const std::exception& e) {
    std::ostringstream text;
    text << "Fatal error: " << e.what() << "\n" << captureCallStack() << "\n";
    showCrashMessage(text.str());
  } catch (...) {
    showCrashMessage(captureCallStack() + "\n");
  }
  // Only an escaped exception comes here: a failure must not read as success.
  return 1;
}
