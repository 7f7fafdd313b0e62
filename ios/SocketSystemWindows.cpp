#include "ios/SocketSystem.h"

namespace sockets {

namespace {
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
  if (descriptor >= 0) closesocket(handleOf(descriptor));
}

bool setNonBlocking(int descriptor, bool nonBlocking) {
  u_long on = nonBlocking ? 1 : 0;
  return ioctlsocket(handleOf(descriptor), FIONBIO, &on) == 0;
}

void shutdownBoth(int descriptor) {
  ::shutdown(handleOf(descriptor), SD_BOTH);
}

long receive(int descriptor, char* buffer, size_t length) {
  return recv(handleOf(descriptor), buffer, static_cast<int>(length), 0);
}

long send(int descriptor, const char* buffer, size_t length) {
  // Windows raises no signal for a peer that has gone.
  return ::send(handleOf(descriptor), buffer, static_cast<int>(length), 0);
}

long sendWaiting(int descriptor, const char* buffer, size_t length) {
  return send(descriptor, buffer, length);
}

void configureConnection(int descriptor, int sendTimeoutMilliseconds) {
  BOOL on = TRUE;
  setsockopt(handleOf(descriptor), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
             sizeof(on));
  // A send cannot be made non-blocking for one call, so a blocking socket's
  // send is bounded by the system instead.
  DWORD bound = static_cast<DWORD>(sendTimeoutMilliseconds);
  setsockopt(handleOf(descriptor), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&bound),
             sizeof(bound));
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
