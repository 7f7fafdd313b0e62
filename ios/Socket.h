// A connected TCP socket (IPv4): made by connecting to a host and port, or by
// wrapping a descriptor that accept() returned. Reads and writes move whole
// buffers; waiting for data is done by polling (streamReadyToRead, or the
// select server) and available(), never by a read that might block forever.
//
// Every write is bounded: when a peer stops reading (or reads a trickle), a
// write that has not finished after kSendTimeoutMilliseconds throws
// "IosSocket: Socket send error" instead of blocking the writer for ever, and a peer that has gone
// makes it throw instead of raising SIGPIPE. Small writes leave at once (no Nagle delay): every
// write is one whole message.
//
// Thread safety: one thread reads; writers serialise their writes themselves
// (a write is one send loop, not atomic with respect to another write).
// shutdown() may be called from any thread while the socket exists. The
// descriptor is closed only by the destructor.
#ifndef VANTOR_IOS_SOCKET_H_
#define VANTOR_IOS_SOCKET_H_

#include <cstdint>
#include <functional>
#include <string>

#include "ios/IosInputStream.h"
#include "ios/IosOutputStream.h"
#include "ios/IosSystemStream.h"
#include "ios/SocketSystem.h"

class Socket : public IosSystemStream {
 public:
  static constexpr int kSendTimeoutMilliseconds = 3000;

  // Reads from a socket descriptor it does not own.
  class SocketInputStream final : public IosInputStream {
   public:
    explicit SocketInputStream(int descriptor) : descriptor_(descriptor) {}
    // The FIONREAD count; 0 on a readable socket means the peer has closed.
    // Throws "IosSocketStream: ioctl error".
    int available() override;
    void read(char* buf, int n) override;

   private:
    int descriptor_;
  };

  // Writes to a socket descriptor it does not own.
  class SocketOutputStream final : public IosOutputStream {
   public:
    explicit SocketOutputStream(int descriptor) : descriptor_(descriptor) {}
    void write(const char* buf, int n) override;

   private:
    int descriptor_;
  };

  // Resolves host ("localhost", "127.0.0.1", a name) to its first IPv4
  // address and connects. Throws "IosSocket: gethostbyname error",
  // "IosSocket: Socket creation failed" or "IosSocket: Socket connection failed".
  Socket(const char* host, int port);
  // The connecting part alone, for a caller that must be able to give up:
  // resolves and connects as above, and throws "IosSocket: Socket connection
  // timed out" once deadline (platform::monotonicMilliseconds) has passed.
  // Returns -1 as soon as stillWanted() turns false. The descriptor is the
  // caller's, in blocking mode.
  static int connectDescriptor(const char* host, int port, uint64_t deadline,
                               const std::function<bool()>& stillWanted);
  // Takes ownership of a connected descriptor.
  explicit Socket(int descriptor);
  virtual ~Socket();
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  // Direct streams on the descriptor; a TaggedSocket serves buffered ones.
  virtual IosInputStream* getInputStream();
  virtual IosOutputStream* getOutputStream();

  // Exactly n bytes. Throws "IosSocket: Socket disconnected" when the peer
  // closes first, "IosSocket: Socket receive error" on failure.
  void read(char* buf, int n);
  // All n bytes. Throws "IosSocket: Socket disconnected" or
  // "IosSocket: Socket send error" (also when the send bound is reached).
  void write(const char* buf, int n);

  // Ends the connection in both directions but keeps the descriptor: the peer
  // sees the end of the stream, and (on Linux; not on Windows, where a read
  // then fails) this socket turns readable with nothing pending, which its
  // reader takes for a closed connection.
  void shutdown();

  // The local port of the connection.
  int getLocalPort();
  // The peer's numeric address ("127.0.0.1", "::1"); empty when unknown.
  std::string getPeerAddress();

  void setUserData(void* data) { userData_ = data; }
  void* getUserData() const { return userData_; }

 private:
  void createStreams();

  SocketInputStream* inputStream_;
  SocketOutputStream* outputStream_;
  int descriptor_;
  void* userData_;
  sockaddr_in peerAddress_;
};

#endif  // VANTOR_IOS_SOCKET_H_
