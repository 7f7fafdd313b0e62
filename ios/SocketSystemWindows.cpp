#include <mutex>
#include <unordered_set>

#include "ios/SocketSystem.h"

namespace sockets {

namespace {

// Winsock cannot tell a socket's mode, nor send once without waiting on a
// blocking socket; the sockets made non-blocking are therefore kept here.
std::mutex modesLock;
std::unordered_set<int> nonBlockingSockets;

bool isNonBlocking(int descriptor) {
  std::lock_guard<std::mutex> guard(modesLock);
  return nonBlockingSockets.count(descriptor) != 0;
}

SOCKET handleOf(int descriptor) {
  return static_cast<SOCKET>(static_cast<intptr_t>(descriptor));
}

int descriptorOf(SOCKET handle) {
  return handle == INVALID_SOCKET ? -1 : static_cast<int>(handle);
}

// Sockets are inheritable by default on Windows; a server child started
// later must not hold the client's connections or listening port.
int keptHere(SOCKET handle, bool nonBlocking) {
  if (handle == INVALID_SOCKET) return -1;
  SetHandleInformation(reinterpret_cast<HANDLE>(handle), HANDLE_FLAG_INHERIT, 0);
  const int descriptor = descriptorOf(handle);
  if (nonBlocking) setNonBlocking(descriptor, true);
  return descriptor;
}
}  // namespace

int startUp() {
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data);
}

namespace {
// Started as the program loads as well, for programs that use sockets
// without calling startUp() first (the tests); the start counts its calls,
// so main's own call, which reports a failure, costs nothing more.
const int startedAtLoad = startUp();
}  // namespace

int open(int family, bool nonBlocking) {
  return keptHere(
      WSASocketW(family, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT),
      nonBlocking);
}

void reuseListeningAddress(int descriptor) {
  // SO_REUSEADDR on Windows would let this socket take a port that another
  // one listens on; an exclusive bind is what keeps "the next free port"
  // meaning what it says, and Windows frees a closed listener's port at once.
  BOOL on = TRUE;
  setsockopt(handleOf(descriptor), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
             reinterpret_cast<const char*>(&on), sizeof(on));
}

int acceptFrom(int listener, sockaddr* address, socklen_t* length, bool nonBlocking) {
  // An accepted socket inherits the listener's non-blocking mode; it is set
  // here either way.
  const int descriptor = keptHere(::accept(handleOf(listener), address, length), false);
  if (descriptor >= 0) setNonBlocking(descriptor, nonBlocking);
  return descriptor;
}

void close(int descriptor) {
  if (descriptor < 0) return;
  {
    std::lock_guard<std::mutex> guard(modesLock);
    nonBlockingSockets.erase(descriptor);
  }
  closesocket(handleOf(descriptor));
}

bool setNonBlocking(int descriptor, bool nonBlocking) {
  u_long on = nonBlocking ? 1 : 0;
  if (ioctlsocket(handleOf(descriptor), FIONBIO, &on) != 0) return false;
  std::lock_guard<std::mutex> guard(modesLock);
  if (nonBlocking) {
    nonBlockingSockets.insert(descriptor);
  } else {
    nonBlockingSockets.erase(descriptor);
  }
  return true;
}

void shutdownBoth(int descriptor) {
  ::shutdown(handleOf(descriptor), SD_BOTH);
}

long receive(int descriptor, char* buffer, size_t length) {
  return recv(handleOf(descriptor), buffer, static_cast<int>(length), 0);
}

long send(int descriptor, const char* buffer, size_t length) {
  // Windows raises no signal for a peer that has gone. A blocking socket is
  // non-blocking for this one call, as MSG_DONTWAIT makes it on Linux; its
  // only reader is the writing thread (or a thread that waits for
  // readiness first), so no read meets the changed mode.
  if (isNonBlocking(descriptor)) {
    return ::send(handleOf(descriptor), buffer, static_cast<int>(length), 0);
  }
  u_long on = 1;
  ioctlsocket(handleOf(descriptor), FIONBIO, &on);
  const long sent = ::send(handleOf(descriptor), buffer, static_cast<int>(length), 0);
  const int error = WSAGetLastError();
  u_long off = 0;
  ioctlsocket(handleOf(descriptor), FIONBIO, &off);
  WSASetLastError(error);
  return sent;
}

long sendWaiting(int descriptor, const char* buffer, size_t length) {
  return ::send(handleOf(descriptor), buffer, static_cast<int>(length), 0);
}

void configureConnection(int descriptor) {
  BOOL on = TRUE;
  setsockopt(handleOf(descriptor), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
             sizeof(on));
}

bool pendingBytes(int descriptor, int* pending) {
  u_long count = 0;
  if (ioctlsocket(handleOf(descriptor), FIONREAD, &count) != 0) return false;
  *pending = static_cast<int>(count);
  return true;
}

int poll(pollfd* entries, size_t count, int timeoutMilliseconds) {
  return WSAPoll(entries, static_cast<ULONG>(count), timeoutMilliseconds);
}

int lastError() {
  return WSAGetLastError();
}

bool interrupted(int error) {
  return error == WSAEINTR;
}

bool wouldBlock(int error) {
  return error == WSAEWOULDBLOCK;
}

bool connectionReset(int error) {
  return error == WSAECONNRESET || error == WSAECONNABORTED;
}

bool acceptCanRetry(int error) {
  return error == WSAECONNRESET || error == WSAENETDOWN;
}

bool connectInProgress(int error) {
  return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS;
}

}  // namespace sockets
