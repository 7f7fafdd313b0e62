// The game server as a thread: it builds the factory (the lobby and its
// computer players, kept for the whole run) and serves on the first port,
// or on the next port that can be used when one cannot. Each switch prints
// "Exception trown while running embedded server, switching to port N" on
// standard output and sets the status record (flag byte 1, then the text
// "Error occured in embedded server."); "server launched on port N" is
// printed once the server listens. Only a port that cannot be bound moves
// the server on; errors while serving are reported and serving goes on. The
// search gives up after port 65535, and serving gives up when waiting for
// clients itself fails: a line on standard error, and gaveUp() turns true.
//
// A server for other machines is given its addresses instead: it listens on
// each of them ("listening on ADDRESS port N" for each, then "server
// launched on port N" for the first), searches no port, gives up when any
// cannot be bound ("vantor: cannot listen on ADDRESS port N: REASON" on
// standard error), and serves with its limits.
//
// Thread safety: construct, start, join and destroy on one thread; getPort()
// and gaveUp() may be read from any thread. Destruction stops a running
// server (its connections end) and waits for the thread.
#ifndef VANTOR_SERVER_VANTOREMBEDDEDSERVER_H_
#define VANTOR_SERVER_VANTOREMBEDDEDSERVER_H_

#include <atomic>
#include <string>
#include <vector>

#include "ios/IosLock.h"
#include "ios/IosThread.h"
#include "server/VantorServerLimits.h"

class IosListeningPort;
class IosSelectServer;
class VantorServerFactory;

class VantorEmbeddedServer : public IosThread {
 public:
  static constexpr int kDefaultPort = 4567;
  static constexpr int kLastPort = 65535;

  // status: a caller's record of at least 64 bytes, or null. localOnly:
  // listen on 127.0.0.1 only. firstPort: where the search starts (0 takes
  // any free port).
  VantorEmbeddedServer(char* status, bool localOnly, int firstPort = kDefaultPort);

  struct Address {
    std::string host;  // numeric IPv4 or IPv6, without brackets
    int port;
  };
  // Serves exactly these addresses, with limits.
  VantorEmbeddedServer(char* status, const std::vector<Address>& addresses,
                       const VantorServerLimits& limits);
  ~VantorEmbeddedServer() override;

  void run() override;

  // The port served, 0 while not listening.
  int getPort() const { return port_.load(); }
  bool gaveUp() const { return gaveUp_.load(); }

 private:
  void reportSwitch(int nextPort);
  // The select server on the first port that can be bound, or null.
  IosSelectServer* listen(VantorServerFactory* factory);
  // Records server as the one running, unless the owner is stopping: then
  // deletes it and gives null.
  IosSelectServer* adopt(IosSelectServer* server);
  // The select server on every address given, its ports in bound and still
  // without their factory; or null.
  IosSelectServer* listenOnAddresses(std::vector<IosListeningPort*>* bound);

  IosSelectServer* server_;
  std::atomic<int> port_;
  char* status_;
  bool localOnly_;
  int firstPort_;
  std::vector<Address> addresses_;
  VantorServerLimits limits_;
  std::atomic<bool> gaveUp_;
  // Guards server_ and stopping_ between the thread and the destructor.
  IosLock lock_;
  bool stopping_;
};

#endif  // VANTOR_SERVER_VANTOREMBEDDEDSERVER_H_
