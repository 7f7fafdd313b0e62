#include "ios/ServerSocket.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ios/Exception.h"
#include "ios/Socket.h"
#include "ios/SocketSystem.h"
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
  int descriptor = sockets::open(family, true);
  if (descriptor < 0) throw new Exception("Socket creation error");
  sockets::reuseListeningAddress(descriptor);
  // An IPv6 address means that address alone, not the IPv4 ones as well.
  int on = 1;
  if (family == AF_INET6) {
    setsockopt(descriptor, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&on),
               sizeof(on));
  }
  if (bind(descriptor, reinterpret_cast<sockaddr*>(&bindAddress_), addressLength) != 0) {
    sockets::close(descriptor);
    throw new Exception("Socket binding error");
  }
  if (listen(descriptor, SOMAXCONN) != 0) {
    sockets::close(descriptor);
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
  sockets::close(descriptor_);
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
    int descriptor = sockets::acceptFrom(descriptor_, reinterpret_cast<sockaddr*>(&clientAddress_),
                                         &clientAddressLength_, !wait);
    if (descriptor >= 0) return factory->createSocket(descriptor);
    const int error = sockets::lastError();
    if (sockets::wouldBlock(error)) {
      if (!wait) return nullptr;
      pollfd entry = sockets::entryFor(descriptor_, POLLIN);
      sockets::poll(&entry, 1, -1);
      continue;
    }
    // A signal, or a connection that failed before it was taken: the
    // listener itself is fine.
    if (sockets::interrupted(error) || sockets::acceptCanRetry(error)) continue;
    throw new Exception("Socket waiting client error");
  }
}
