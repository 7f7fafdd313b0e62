#include "ios/ServerSocket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ios/Exception.h"
#include "ios/Socket.h"
#include "ios/StandardSocketFactory.h"

ServerSocket::ServerSocket(bool localOnly, int port)
    : ServerSocket(std::string(localOnly ? "127.0.0.1" : "0.0.0.0"), port) {}

ServerSocket::ServerSocket(const std::string& address, int port)
    : IosSystemStream(-1),
      port_(port),
      descriptor_(-1),
      clientAddressLength_(sizeof(sockaddr_storage)),
      bindAddress_(),
      clientAddress_() {
  // The address is numeric: a listening address is never looked up by name.
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_PASSIVE;
  addrinfo* found = nullptr;
  if (port < 0 || port > 65535 || getaddrinfo(address.c_str(), nullptr, &hints, &found) != 0 ||
      found == nullptr) {
    throw new Exception("Socket binding error");
  }
  const int family = found->ai_family;
  std::memcpy(&bindAddress_, found->ai_addr, found->ai_addrlen);
  const socklen_t addressLength = found->ai_addrlen;
  freeaddrinfo(found);
  if (family == AF_INET6) {
    reinterpret_cast<sockaddr_in6*>(&bindAddress_)->sin6_port = htons(static_cast<uint16_t>(port));
  } else {
    reinterpret_cast<sockaddr_in*>(&bindAddress_)->sin_port = htons(static_cast<uint16_t>(port));
  }

  // Non-blocking, so that a connection that vanishes between the readiness
  // report and accept() cannot leave the accepting thread waiting.
  int descriptor = socket(family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (descriptor < 0) throw new Exception("Socket creation error");
  int on = 1;
  setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
  // An IPv6 address means that address alone, not the IPv4 ones as well.
  if (family == AF_INET6) setsockopt(descriptor, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof(on));
  if (bind(descriptor, reinterpret_cast<sockaddr*>(&bindAddress_), addressLength) != 0) {
    close(descriptor);
    throw new Exception("Socket binding error");
  }
  if (listen(descriptor, SOMAXCONN) != 0) {
    close(descriptor);
    throw new Exception("Socket listening error");
  }
  sockaddr_storage bound{};
  socklen_t length = sizeof(bound);
  if (getsockname(descriptor, reinterpret_cast<sockaddr*>(&bound), &length) == 0) {
    port_ = ntohs(family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                     : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  }
  descriptor_ = descriptor;
  setDescriptor(descriptor);
}

ServerSocket::~ServerSocket() {
  std::fprintf(stderr, "Server Socket closed\n");
  close(descriptor_);
}

int ServerSocket::getDescriptor() {
  return descriptor_;
}

Socket* ServerSocket::accept(IosSocketFactory* factory) {
  return acceptConnection(factory, true);
}

Socket* ServerSocket::accept() {
  StandardSocketFactory factory;
  return acceptConnection(&factory, true);
}

Socket* ServerSocket::acceptPending(IosSocketFactory* factory) {
  return acceptConnection(factory, false);
}

Socket* ServerSocket::acceptConnection(IosSocketFactory* factory, bool wait) {
  for (;;) {
    clientAddressLength_ = sizeof(clientAddress_);
    // A connection taken by a waiting loop must never block it either.
    int descriptor = accept4(descriptor_, reinterpret_cast<sockaddr*>(&clientAddress_),
                             &clientAddressLength_, SOCK_CLOEXEC | (wait ? 0 : SOCK_NONBLOCK));
    if (descriptor >= 0) return factory->createSocket(descriptor);
    switch (errno) {
      case EAGAIN:
#if EWOULDBLOCK != EAGAIN
      case EWOULDBLOCK:
#endif
        if (!wait) return nullptr;
        {
          pollfd entry{descriptor_, POLLIN, 0};
          poll(&entry, 1, -1);
        }
        continue;
      // A connection that failed before it was taken, or a signal: Linux
      // reports these through accept(); the listener itself is fine.
      case EINTR:
      case ECONNABORTED:
      case EPROTO:
      case ENETDOWN:
      case ENOPROTOOPT:
      case EHOSTDOWN:
      case ENONET:
      case EHOSTUNREACH:
      case EOPNOTSUPP:
      case ENETUNREACH:
        continue;
      default:
        throw new Exception("Socket waiting client error");
    }
  }
}
