#include "ios/Socket.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "ios/Exception.h"
#include "ios/Platform.h"
#include "ios/SocketSystem.h"

namespace {

void receiveAll(int descriptor, char* buf, int n) {
  while (n > 0) {
    const long got = sockets::receive(descriptor, buf, static_cast<size_t>(n));
    if (got == 0) throw new Exception("IosSocket: Socket disconnected");
    if (got < 0) {
      if (sockets::interrupted(sockets::lastError())) continue;
      throw new Exception("IosSocket: Socket receive error");
    }
    buf += got;
    n -= static_cast<int>(got);
  }
}

void sendAll(int descriptor, const char* buf, int n) {
  // One bound for the whole transfer: a peer that reads a trickle must not
  // hold the writer longer than one that reads nothing.
  const uint32_t start = platform::tickCount();
  while (n > 0) {
    const long sent = sockets::send(descriptor, buf, static_cast<size_t>(n));
    if (sent == 0) throw new Exception("IosSocket: Socket disconnected");
    if (sent > 0) {
      buf += sent;
      n -= static_cast<int>(sent);
      continue;
    }
    const int error = sockets::lastError();
    if (sockets::interrupted(error)) continue;
    if (!sockets::wouldBlock(error)) throw new Exception("IosSocket: Socket send error");
    const int left =
        Socket::kSendTimeoutMilliseconds - static_cast<int>(platform::tickCount() - start);
    pollfd entry = sockets::entryFor(descriptor, POLLOUT);
    if (left <= 0 || (sockets::poll(&entry, 1, left) == 0)) {
      throw new Exception("IosSocket: Socket send error");
    }
  }
}

// Small writes leave at once: every write is a whole message.
void configureConnection(int descriptor) {
  sockets::configureConnection(descriptor);
}

}  // namespace

int Socket::SocketInputStream::available() {
  int pending = 0;
  if (!sockets::pendingBytes(descriptor_, &pending)) {
    throw new Exception("IosSocketStream: ioctl error");
  }
  return pending;
}

void Socket::SocketInputStream::read(char* buf, int n) {
  receiveAll(descriptor_, buf, n);
}

void Socket::SocketOutputStream::write(const char* buf, int n) {
  sendAll(descriptor_, buf, n);
}

int Socket::connectDescriptor(const char* host, int port, uint64_t deadline,
                              const std::function<bool()>& stillWanted) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (host == nullptr || getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr) {
    throw new Exception("IosSocket: gethostbyname error");
  }
  sockaddr_in address{};
  std::memcpy(&address, found->ai_addr, sizeof(address));
  freeaddrinfo(found);
  if (port < 0 || port > 65535) throw new Exception("IosSocket: Socket connection failed");
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));

  // Non-blocking while it connects, so that the wait can be cut short.
  const int descriptor = sockets::open(AF_INET, true);
  if (descriptor < 0) throw new Exception("IosSocket: Socket creation failed");
  bool connected = connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
  bool failed = !connected && !sockets::connectInProgress(sockets::lastError());
  // In short slices, so that an attempt nobody wants any more ends soon.
  const uint64_t kSliceMilliseconds = 50;
  while (!connected && !failed) {
    if (!stillWanted()) {
      sockets::close(descriptor);
      return -1;
    }
    const uint64_t now = platform::monotonicMilliseconds();
    if (now >= deadline) {
      sockets::close(descriptor);
      throw new Exception("IosSocket: Socket connection timed out");
    }
    pollfd entry = sockets::entryFor(descriptor, POLLOUT);
    const int ready =
        sockets::poll(&entry, 1, static_cast<int>(std::min(deadline - now, kSliceMilliseconds)));
    if (ready < 0 && !sockets::interrupted(sockets::lastError())) failed = true;
    if (ready <= 0) continue;
    int error = 0;
    socklen_t length = sizeof(error);
    failed = getsockopt(descriptor, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                        &length) != 0 ||
             error != 0;
    connected = !failed;
  }
  if (failed) {
    sockets::close(descriptor);
    throw new Exception("IosSocket: Socket connection failed");
  }
  // Reads and writes then block as on any other connection of this layer.
  sockets::setNonBlocking(descriptor, false);
  return descriptor;
}

Socket::Socket(const char* host, int port)
    : IosSystemStream(-1),
      inputStream_(nullptr),
      outputStream_(nullptr),
      descriptor_(-1),
      userData_(nullptr),
      peerAddress_() {
  const int descriptor =
      connectDescriptor(host, port, std::numeric_limits<uint64_t>::max(), [] { return true; });
  socklen_t length = sizeof(peerAddress_);
  getpeername(descriptor, reinterpret_cast<sockaddr*>(&peerAddress_), &length);
  configureConnection(descriptor);
  descriptor_ = descriptor;
  setDescriptor(descriptor);
  createStreams();
}

Socket::Socket(int descriptor)
    : IosSystemStream(descriptor),
      inputStream_(nullptr),
      outputStream_(nullptr),
      descriptor_(descriptor),
      userData_(nullptr),
      peerAddress_() {
  configureConnection(descriptor);
  createStreams();
}

Socket::~Socket() {
  delete inputStream_;
  delete outputStream_;
  sockets::close(descriptor_);
}

void Socket::createStreams() {
  inputStream_ = new SocketInputStream(descriptor_);
  outputStream_ = new SocketOutputStream(descriptor_);
}

IosInputStream* Socket::getInputStream() {
  return inputStream_;
}

IosOutputStream* Socket::getOutputStream() {
  return outputStream_;
}

void Socket::read(char* buf, int n) {
  receiveAll(descriptor_, buf, n);
}

void Socket::write(const char* buf, int n) {
  sendAll(descriptor_, buf, n);
}

void Socket::shutdown() {
  sockets::shutdownBoth(descriptor_);
}

int Socket::getLocalPort() {
  sockaddr_in local{};
  socklen_t length = sizeof(local);
  if (getsockname(descriptor_, reinterpret_cast<sockaddr*>(&local), &length) != 0) return 0;
  return ntohs(local.sin_port);
}

std::string Socket::getPeerAddress() {
  sockaddr_storage peer{};
  socklen_t length = sizeof(peer);
  if (getpeername(descriptor_, reinterpret_cast<sockaddr*>(&peer), &length) != 0) return "";
  char text[INET6_ADDRSTRLEN] = "";
  const void* address =
      peer.ss_family == AF_INET6
          ? static_cast<const void*>(&reinterpret_cast<sockaddr_in6*>(&peer)->sin6_addr)
          : static_cast<const void*>(&reinterpret_cast<sockaddr_in*>(&peer)->sin_addr);
  if (inet_ntop(peer.ss_family, address, text, sizeof(text)) == nullptr) return "";
  return text;
}
