// A single-threaded TCP server: it listens on one or more ports, waits on
// every listening and connection socket at once, accepts connections and
// hands each event to the factory of the port the connection came in on.
//
// A connection lives until its peer closes it or its data handler throws an
// Exception*; either way it leaves the wait set and the factory deletes it.
// When a port goes away (removePort, stop, destruction) the connections
// accepted on it are ended the same way first, so no connection outlives the
// record and the factory it depends on.
//
// Thread safety: run() and every callback execute on one thread, the server
// thread. stop() may be called from any thread: it wakes a blocked run(),
// which then closes the ports and returns; when run() is not running, stop()
// closes them itself. addPort, removePort and findPort belong to the thread
// that owns the server (before run(), from callbacks, or after run()).
#ifndef VANTOR_IOS_IOSSELECTSERVER_H_
#define VANTOR_IOS_IOSSELECTSERVER_H_

#include "ios/IosLock.h"
#include "ios/IosSystemStreamSelect.h"
#include "ios/IosVector.h"

class IosListeningPort;
class IosServerFactory;
class IosSocketFactory;
class IosSystemStream;

class IosSelectServer {
 public:
  IosSelectServer();
  // Throws as addPort.
  IosSelectServer(bool localOnly, int port, IosServerFactory* factory);
  // Ends every port and its connections.
  ~IosSelectServer();
  IosSelectServer(const IosSelectServer&) = delete;
  IosSelectServer& operator=(const IosSelectServer&) = delete;

  // Throws "Port already listening" for a port already in use here, or the
  // errors of ServerSocket; nothing changes then. Port 0 takes a free port.
  void addPort(bool localOnly, int port, IosServerFactory* factory);
  // Stops listening on port and ends its connections; an unknown port is ignored.
  void removePort(int port);
  IosListeningPort* findPort(int port);
  // The port of the first record: where a server made on port 0 listens; 0
  // when there is none.
  int getFirstPort();

  // The event loop: returns after stop(), or throws Exception* when the wait
  // fails, an accept fails or a new-connection handler throws.
  void run();
  void stop();

 private:
  bool isStopping();
  void closePort(IosListeningPort* record);
  void closeAllPorts();
  void serve(IosSystemStream* stream, IosSocketFactory* socketFactory);

  IosVector* ports_;
  IosSystemStreamSelect select_;
  IosLock lock_;
  bool stopping_;
  bool running_;
};

#endif  // VANTOR_IOS_IOSSELECTSERVER_H_
