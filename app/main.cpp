// The entry point. The mode is chosen from the arguments without GLUT's own
// options (-display NAME, -geometry WxH+X+Y, ...; see WindowOptions). None
// left: the window client, which hands the real argument list to glutInit.
// A first argument that begins with an upper-case 'S': the game server for
// this machine, on 127.0.0.1 port 4567 or the next port that can be used,
// or, with the options of ServerCommandLine, for other machines, until the
// process is interrupted (exit code 255); it exits 1 when it cannot listen
// and 2 on words it does not know. "--help" and "--version": the usage or
// the version on standard output. Any other argument: nothing, exit code 0.
// An exception that escapes either mode: the crash message, exit code 1.
// Where the socket layer has to be started (Windows), a failure to start it
// ends the program at once with "WSAStartup failed: <code>", exit code 1.
//
// GLUT is initialised in client mode only: freeglut ends the process when
// its display does not open, and the server mode needs no display, nor
// should a server hold a connection to the desktop it was started from.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/ClientStartup.h"
#include "app/ServerCommandLine.h"
#include "app/WindowOptions.h"
#include "ios/CrashReporter.h"
#include "ios/Exception.h"
#include "ios/Platform.h"
#include "ios/SocketSystem.h"
#include "server/VantorEmbeddedServer.h"

namespace {

// Lives for the whole process: the mode that runs may keep its address.
// Read by nobody yet: the embedded server sets it when it has to move to another port.
char serverStatus[1024];

int runServer(const ServerCommandLine& line) {
  // Without addresses: the server of this machine, as the client starts it.
  std::unique_ptr<VantorEmbeddedServer> owned(
      line.addresses().empty()
          ? new VantorEmbeddedServer(serverStatus, true, VantorEmbeddedServer::kDefaultPort)
          : new VantorEmbeddedServer(serverStatus, line.addresses(), line.limits()));
  VantorEmbeddedServer& server = *owned;
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
  // Before anything else: without the socket layer neither mode can work.
  const int socketLayer = sockets::startUp();
  if (socketLayer != 0) {
    std::printf("WSAStartup failed: %d\n", socketLayer);
    return 1;
  }
  installCrashHandlers();
  serverStatus[0] = 0;
  try {
    // Pictures and fonts are found beside the executable, or where it is
    // installed; the server child is started from the executable's own path
    // all the same.
    const std::string executable = platform::executableDirectory();
    if (executable.size() > 1) platform::changeDirectory(platform::resourceDirectory(executable));

    const WindowOptions options(argc, argv);
    const std::vector<std::string>& arguments = options.remaining();
    if (arguments.size() > 1 && (arguments[1] == "--help" || arguments[1] == "--version")) {
      std::fputs(arguments[1] == "--help" ? ServerCommandLine::usage().c_str()
                                          : "vantor " VANTOR_VERSION "\n",
                 stdout);
      return 0;
    }
    if (arguments.size() > 1 && arguments[1][0] == 'S') {
      const ServerCommandLine line(
          std::vector<std::string>(arguments.begin() + 2, arguments.end()));
      if (!line.valid()) {
        std::fprintf(stderr, "vantor: %s\n%s", line.error().c_str(),
                     ServerCommandLine::usage().c_str());
        return 2;
      }
      if (line.helpAsked()) {
        std::fputs(ServerCommandLine::usage().c_str(), stdout);
        return 0;
      }
      // The server child of a client must not outlive it, or it would go on
      // holding a port that no client looks at any more.
      const char* marker = std::getenv(kClientChildMarker);
      if (marker != nullptr && !platform::dieWithParent()) return 0;
      return runServer(line);
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
