// A listening TCP socket: on 127.0.0.1 only, on every local IPv4 address,
// or on one numeric IPv4 or IPv6 address. Port 0 lets the system choose a
// free port; getPort() tells it.
// The descriptor is not inherited by child processes.
//
// Thread safety: accept() belongs to one thread; the socket listens from
// construction to destruction.
#ifndef VANTOR_IOS_SERVERSOCKET_H_
#define VANTOR_IOS_SERVERSOCKET_H_

#include <string>

#include "ios/IosSystemStream.h"
#include "ios/SocketSystem.h"

class IosSocketFactory;
class Socket;

class ServerSocket : public IosSystemStream {
 public:
  // Throws "Socket creation error", "Socket binding error" (also for a port
  // outside 0..65535) or "Socket listening error".
  ServerSocket(bool localOnly, int port);
  // On one numeric address ("127.0.0.2", "::1", "0.0.0.0", "::"); an IPv6
  // address takes IPv6 connections only. Throws as above, "Socket binding
  // error" also for an address that is not numeric.
  ServerSocket(const std::string& address, int port);
  // A string literal would otherwise be taken for the bool above.
  ServerSocket(const char* address, int port) : ServerSocket(std::string(address), port) {}
  // Prints "Server Socket closed" on standard error and closes the socket.
  virtual ~ServerSocket();
  ServerSocket(const ServerSocket&) = delete;
  ServerSocket& operator=(const ServerSocket&) = delete;

  int getDescriptor() override;
  // The port listened on: the one asked for, or the one the system chose.
  int getPort() const { return port_; }

  // Waits for one connection; the caller owns the result. Throws
  // "Socket waiting client error".
  Socket* accept(IosSocketFactory* factory);
  Socket* accept();
  // The same without waiting: null when no connection is pending now. The
  // connection is non-blocking, for a server that waits on readiness.
  Socket* acceptPending(IosSocketFactory* factory);

 private:
  Socket* acceptConnection(IosSocketFactory* factory, bool wait);

  int port_;
  int descriptor_;
  socklen_t clientAddressLength_;
  sockaddr_storage bindAddress_;
  sockaddr_storage clientAddress_;
};

#endif  // VANTOR_IOS_SERVERSOCKET_H_
