// The operating system's socket calls, as the socket and wait-set files use
// them, on both platforms: POSIX sockets on Linux, Windows Sockets 2 on
// Windows. The headers of each platform come from here, and the few calls
// whose names, flags or error reporting differ have one spelling below.
//
// A socket is an int throughout the layer: a Windows SOCKET is a kernel
// handle, whose value fits in 32 bits, so it converts both ways, and
// INVALID_SOCKET becomes -1 like a failed POSIX call.
//
// Thread safety: every function may be called from any thread; lastError()
// reads the calling thread's own error.
#ifndef VANTOR_IOS_SOCKETSYSTEM_H_
#define VANTOR_IOS_SOCKETSYSTEM_H_

#ifdef _WIN32
// Without the rest of windows.h: its min and max macros and its global
// "byte" would clash with the C++ names of every file that includes this.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#endif

#include <cstddef>

namespace sockets {

// Starts the socket layer (WSAStartup asking for version 2.2 on Windows;
// nothing to do on Linux): 0, or the error code the system gave.
int startUp();

// A new TCP socket of the family, not inherited by child processes,
// non-blocking if asked; -1 on failure.
int open(int family, bool nonBlocking);
// Lets a listening socket take its port again at once after a restart, but
// never while another socket listens on it.
void reuseListeningAddress(int descriptor);
// Takes a pending connection from a listening socket, not inherited by child
// processes, non-blocking if asked; -1 on failure (see lastError()).
int acceptFrom(int listener, sockaddr* address, socklen_t* length, bool nonBlocking);
void close(int descriptor);
bool setNonBlocking(int descriptor, bool nonBlocking);
// Ends both directions; the descriptor stays open.
void shutdownBoth(int descriptor);

// Bytes received, 0 at the peer's end, -1 on failure (see lastError()).
long receive(int descriptor, char* buffer, size_t length);
// Bytes sent, -1 on failure. A peer that has gone is a failure, never a
// signal. Never waits for room, whatever the socket's mode: a full buffer is
// a failure that wouldBlock() recognises.
long send(int descriptor, const char* buffer, size_t length);
// The same, waiting for room when the socket is a blocking one.
long sendWaiting(int descriptor, const char* buffer, size_t length);
// Sends small writes at once (no Nagle delay).
void configureConnection(int descriptor);
// The FIONREAD count into pending; false on failure.
bool pendingBytes(int descriptor, int* pending);
// Two connected blocking loopback TCP sockets, each the caller's to close:
// ends[0] accepted, ends[1] connected; false (both -1) when they cannot be
// made. Unlike socketpair(), it exists on every system.
bool connectedPair(int ends[2]);

// poll() of the platform (WSAPoll on Windows) over count entries.
int poll(pollfd* entries, size_t count, int timeoutMilliseconds);
inline pollfd entryFor(int descriptor, short events) {
  pollfd entry{};
  entry.fd = descriptor;
  entry.events = events;
  return entry;
}

// The calling thread's last socket error (errno or WSAGetLastError()).
int lastError();
bool interrupted(int error);
// The operation would have had to wait on a non-blocking socket.
bool wouldBlock(int error);
// The peer reset the connection.
bool connectionReset(int error);
// accept() failed for the one connection it took (reset or unreachable before
// it was taken), not for the listener.
bool acceptCanRetry(int error);
// A non-blocking connect has begun and goes on.
bool connectInProgress(int error);

}  // namespace sockets

#endif  // VANTOR_IOS_SOCKETSYSTEM_H_
