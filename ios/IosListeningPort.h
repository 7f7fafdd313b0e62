// One port a select server listens on: the listening socket, registered in
// the server's wait set, and the factory that serves the connections
// accepted on it.
//
// Thread safety: made and deleted by the select server (see IosSelectServer).
#ifndef VANTOR_IOS_IOSLISTENINGPORT_H_
#define VANTOR_IOS_IOSLISTENINGPORT_H_

#include <string>

class IosServerFactory;
class IosSystemStreamSelect;
class TaggedServerSocket;

class IosListeningPort {
 public:
  // Binds, listens and registers the socket; throws as ServerSocket does,
  // and then nothing is registered. Port 0 takes a free port.
  IosListeningPort(bool localOnly, int port, IosServerFactory* factory,
                   IosSystemStreamSelect* select);
  // On one numeric address (see ServerSocket).
  IosListeningPort(const std::string& address, int port, IosServerFactory* factory,
                   IosSystemStreamSelect* select);
  // Leaves the wait set and closes the socket ("Server Socket closed").
  ~IosListeningPort();
  IosListeningPort(const IosListeningPort&) = delete;
  IosListeningPort& operator=(const IosListeningPort&) = delete;

  // The port listened on (the chosen one when 0 was asked for).
  int getPort() const { return port_; }
  IosServerFactory* getFactory() const { return factory_; }
  // Before the server runs: a port may be bound before its factory exists.
  void setFactory(IosServerFactory* factory) { factory_ = factory; }
  TaggedServerSocket* getSocket() const { return socket_; }

 private:
  int port_;
  IosServerFactory* factory_;
  TaggedServerSocket* socket_;
  IosSystemStreamSelect* select_;
};

#endif  // VANTOR_IOS_IOSLISTENINGPORT_H_
