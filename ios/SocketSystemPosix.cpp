#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "ios/SocketSystem.h"

namespace sockets {

int startUp() {
  return 0;
}

int open(int family, bool nonBlocking) {
  return socket(family, SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
}

void reuseListeningAddress(int descriptor) {
  int on = 1;
  setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
}

int acceptFrom(int listener, sockaddr* address, socklen_t* length, bool nonBlocking) {
  return accept4(listener, address, length, SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0));
}

void close(int descriptor) {
  if (descriptor >= 0) ::close(descriptor);
}

bool setNonBlocking(int descriptor, bool nonBlocking) {
  const int flags = fcntl(descriptor, F_GETFL);
  if (flags < 0) return false;
  return fcntl(descriptor, F_SETFL, nonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) == 0;
}

void shutdownBoth(int descriptor) {
  ::shutdown(descriptor, SHUT_RDWR);
}

long receive(int descriptor, char* buffer, size_t length) {
  return static_cast<long>(recv(descriptor, buffer, length, 0));
}

long send(int descriptor, const char* buffer, size_t length) {
  // MSG_NOSIGNAL: a peer that has gone is an error here, not SIGPIPE.
  return static_cast<long>(::send(descriptor, buffer, length, MSG_NOSIGNAL | MSG_DONTWAIT));
}

long sendWaiting(int descriptor, const char* buffer, size_t length) {
  return static_cast<long>(::send(descriptor, buffer, length, MSG_NOSIGNAL));
}

void configureConnection(int descriptor) {
  int on = 1;
  setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
}

bool pendingBytes(int descriptor, int* pending) {
  return ioctl(descriptor, FIONREAD, pending) >= 0;
}

int poll(pollfd* entries, size_t count, int timeoutMilliseconds) {
  return ::poll(entries, static_cast<nfds_t>(count), timeoutMilliseconds);
}

int lastError() {
  return errno;
}

bool interrupted(int error) {
  return error == EINTR;
}

bool wouldBlock(int error) {
  return error == EAGAIN || error == EWOULDBLOCK;
}

bool connectionReset(int error) {
  return error == ECONNRESET;
}

bool acceptCanRetry(int error) {
  switch (error) {
    case ECONNABORTED:
    case EPROTO:
    case ENETDOWN:
    case ENOPROTOOPT:
    case EHOSTDOWN:
    case ENONET:
    case EHOSTUNREACH:
    case EOPNOTSUPP:
    case ENETUNREACH:
      return true;
    default:
      return false;
  }
}

bool connectInProgress(int error) {
  return error == EINPROGRESS || error == EINTR;
}

}  // namespace sockets
