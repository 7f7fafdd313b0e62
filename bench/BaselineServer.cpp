#include "bench/BaselineServer.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

#include "wire/VantorFrameSplitter.h"
#include "wire/VantorWire.h"

namespace {

constexpr int kReadBytes = 64 * 1024;
// The lobby's computer players take the first seven numbers.
constexpr int kFirstPlayerNumber = 8;

}  // namespace

struct BaselineServer::Connection {
  Connection(int socket, int number)
      : fd(socket), nick("Player" + std::to_string(number)), splitter(kMaxRequestPayload) {}

  int fd;
  std::string nick;
  VantorFrameSplitter splitter;
  std::string out;
  bool isPending = false;
  bool watchingOutput = false;
};

BaselineServer::BaselineServer()
    : listener_(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)),
      epoll_(epoll_create1(EPOLL_CLOEXEC)),
      port_(0),
      nextNumber_(kFirstPlayerNumber) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (listener_ < 0 || epoll_ < 0 ||
      bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      listen(listener_, SOMAXCONN) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    const std::string reason = std::strerror(errno);
    if (listener_ >= 0) close(listener_);
    if (epoll_ >= 0) close(epoll_);
    throw std::runtime_error("baseline server cannot listen: " + reason);
  }
  port_ = ntohs(address.sin_port);
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = listener_;
  epoll_ctl(epoll_, EPOLL_CTL_ADD, listener_, &event);
}

BaselineServer::~BaselineServer() {
  for (auto& entry : connections_) close(entry.first);
  close(listener_);
  close(epoll_);
}

void BaselineServer::serve(int stopFd) {
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = stopFd;
  epoll_ctl(epoll_, EPOLL_CTL_ADD, stopFd, &event);
  epoll_event events[256];
  for (;;) {
    const int count = epoll_wait(epoll_, events, 256, -1);
    if (count < 0 && errno != EINTR) return;
    for (int i = 0; i < count; ++i) {
      const int fd = events[i].data.fd;
      if (fd == stopFd) return;
      if (fd == listener_) {
        acceptAll();
        continue;
      }
      auto found = connections_.find(fd);
      if (found == connections_.end()) continue;
      Connection& connection = *found->second;
      if (events[i].events & (EPOLLIN | EPOLLERR | EPOLLHUP)) {
        receive(connection);
      } else if (!connection.isPending) {
        connection.isPending = true;
        pending_.push_back(fd);
      }
    }
    flushPending();
  }
}

void BaselineServer::acceptAll() {
  for (;;) {
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
    auto connection = std::make_unique<Connection>(fd, nextNumber_++);
    queue(*connection, std::string(1, char(kMessageVersionRequest)));
    connections_[fd] = std::move(connection);
  }
}

void BaselineServer::receive(Connection& connection) {
  char bytes[kReadBytes];
  const ssize_t received = recv(connection.fd, bytes, sizeof bytes, 0);
  if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
  if (received <= 0) {
    drop(connection.fd);
    return;
  }
  connection.splitter.feed(bytes, static_cast<int>(received));
  const char* payload;
  int length;
  VantorFrameSplitter::Result result;
  while ((result = connection.splitter.next(&payload, &length)) == VantorFrameSplitter::kFrame) {
    if (length > 0) answer(connection, payload, length);
  }
  if (result == VantorFrameSplitter::kTooLong) drop(connection.fd);
}

void BaselineServer::answer(Connection& connection, const char* payload, int length) {
  switch (static_cast<uint8_t>(payload[0])) {
    case kRequestWhoAmI: {
      std::string reply(1, char(kMessageWhoAmI));
      reply.append(connection.nick).push_back('\0');
      queue(connection, reply);
      break;
    }
    case kRequestGetGameList:
      queue(connection, std::string(1, char(kMessageGameList)));
      break;
    case kRequestSendMessage: {
      // 6, addressee, 0, text, 0; only the broadcast (empty addressee) is served.
      const char* end = payload + length;
      if (length < 3 || payload[1] != 0) break;
      const char* text = payload + 2;
      const char* textEnd = static_cast<const char*>(std::memchr(text, 0, end - text));
      if (textEnd == nullptr) break;
      std::string message{char(kMessageChat), 1};
      message.append(connection.nick).push_back('\0');
      message.append(text, textEnd + 1);
      for (auto& entry : connections_) queue(*entry.second, message);
      break;
    }
    default:
      break;
  }
}

void BaselineServer::queue(Connection& connection, const std::string& payload) {
  appendFrame(connection.out, payload);
  if (!connection.isPending) {
    connection.isPending = true;
    pending_.push_back(connection.fd);
  }
}

void BaselineServer::flushPending() {
  for (const int fd : pending_) {
    auto found = connections_.find(fd);
    if (found == connections_.end()) continue;
    Connection& connection = *found->second;
    connection.isPending = false;
    if (!connection.out.empty()) {
      const ssize_t sent =
          send(fd, connection.out.data(), connection.out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        drop(fd);
        continue;
      }
      if (sent > 0) connection.out.erase(0, static_cast<size_t>(sent));
    }
    const bool wantOutput = !connection.out.empty();
    if (wantOutput != connection.watchingOutput) {
      epoll_event event{};
      event.events = wantOutput ? EPOLLIN | EPOLLOUT : EPOLLIN;
      event.data.fd = fd;
      epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &event);
      connection.watchingOutput = wantOutput;
    }
  }
  pending_.clear();
}

void BaselineServer::drop(int fd) {
  connections_.erase(fd);
  close(fd);
}
