// A single-threaded TCP server: it listens on one or more ports, waits on
// every listening and connection socket at once, accepts connections and
// hands each event to the factory of the port the connection came in on.
//
// The server's thread makes every system call on the connections: each
// round it accepts every pending connection, reads what has arrived on each
// readable connection (up to kReadBudget bytes) and lets the factory serve
// it, then sends what the round's handlers and other threads have queued
// (TaggedSocket, IosOutputQueue): one send per connection, however many
// messages the round brought it; what the socket does not take waits until
// it is writable. A
// connection's deadline (TaggedSocket::setDeadline) ends it when it passes,
// even if nothing more arrives.
//
// A connection lives until its peer closes it, its data handler throws an
// Exception*, its output overflows, a send fails or its deadline passes;
// each way it leaves the wait set and the factory deletes it. When a port
// goes away (removePort, stop, destruction) the connections accepted on it
// are ended the same way first, so no connection outlives the record and
// the factory it depends on. A failed accept or a new-connection handler that
// throws is reported on standard error, and serving goes on.
//
// Thread safety: run() and every callback execute on one thread, the server
// thread. stop() may be called from any thread: it wakes a blocked run(),
// which then closes the ports and returns; when run() is not running, stop()
// closes them itself. addPort, removePort and findPort belong to the thread
// that owns the server (before run(), from callbacks, or after run()). A
// connection's output stream may be written from any thread while its
// connection object exists.
#ifndef VANTOR_IOS_IOSSELECTSERVER_H_
#define VANTOR_IOS_IOSSELECTSERVER_H_

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "ios/IosSystemStreamSelect.h"
#include "ios/IosVector.h"

class IosListeningPort;
class IosServerFactory;
class IosSocketFactory;
class IosSystemStream;
class TaggedServerSocket;
class TaggedSocket;

class IosSelectServer {
 public:
  // Bytes read from one connection in one round at most, so that a client
  // that sends without pause cannot keep the others waiting.
  static constexpr int kReadBudget = 65536;
  // Connections accepted from one port in one round at most.
  static constexpr int kAcceptBudget = 4096;

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
  // The same on one numeric address (see ServerSocket); the same number may
  // serve several addresses (findPort finds the first).
  void addPort(const std::string& address, int port, IosServerFactory* factory);
  // A string literal would otherwise be taken for the bool above.
  void addPort(const char* address, int port, IosServerFactory* factory) {
    addPort(std::string(address), port, factory);
  }
  // Stops listening on port and ends its connections; an unknown port is ignored.
  void removePort(int port);
  IosListeningPort* findPort(int port);
  // The record added last, or null.
  IosListeningPort* lastPort();
  // The port of the first record: where a server made on port 0 listens; 0
  // when there is none.
  int getFirstPort();

  // The event loop: returns after stop(), or throws Exception* when the
  // wait itself fails.
  void run();
  void stop();

 private:
  bool isStopping();
  void closePort(IosListeningPort* record);
  void closeAllPorts();
  int waitTimeout();
  void acceptAll(TaggedServerSocket* listening, IosSocketFactory* socketFactory);
  void welcome(TaggedSocket* connection, IosListeningPort* port);
  void receive(TaggedSocket* connection);
  void flush(TaggedSocket* connection);
  void flushRequested();
  void watchWritable(TaggedSocket* connection, bool writable);
  void expireDeadlines();
  void noteDeadline(TaggedSocket* connection);
  // Takes the connection out of the wait set and has its factory end it.
  void endConnection(TaggedSocket* connection);
  bool isListening(IosSystemStream* stream);
  void forgetListening(IosListeningPort* record);
  static TaggedSocket* asConnection(IosSystemStream* stream);

  IosVector* ports_;
  IosSystemStreamSelect select_;
  // A plain mutex: taken many times a round, released by its taker.
  std::mutex lock_;
  bool stopping_;
  bool running_;
  // The listening sockets of the ports, under lock_.
  std::vector<IosSystemStream*> listening_;
  // The earliest connection deadline known, 0 for none; the loop's thread only.
  uint64_t nextDeadline_;
  // The streams of the round being served; the loop's thread only.
  std::vector<IosSystemStream*> round_;
};

#endif  // VANTOR_IOS_IOSSELECTSERVER_H_
