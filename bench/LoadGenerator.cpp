#include "bench/LoadGenerator.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <deque>

#include "wire/VantorFrameSplitter.h"
#include "wire/VantorWire.h"

namespace {

// A lobby that is still letting go of the previous run's players turns new
// connections away; they are tried again after a pause, until the deadline.
constexpr auto kConnectDeadline = std::chrono::seconds(5);
constexpr auto kRetryPause = std::chrono::milliseconds(20);
// The game server listens with a backlog of five: more connections at once
// would have their SYN dropped and wait a second for its retransmission.
constexpr int kOpeningAtOnce = 4;
constexpr int kReadBytes = 64 * 1024;

std::string framed(const std::string& payload) {
  std::string frame;
  appendFrame(frame, payload);
  return frame;
}

double percentile(const std::vector<int64_t>& sorted, double q) {
  if (sorted.empty()) return 0;
  const size_t at = std::min(sorted.size() - 1, static_cast<size_t>(q * sorted.size()));
  return static_cast<double>(sorted[at]) / 1000.0;
}

}  // namespace

struct LoadGenerator::Connection {
  explicit Connection(int number) : index(number), splitter(kMaxFramePayload) {}

  int index;
  int fd = -1;
  VantorFrameSplitter splitter;
  std::string request;  // the framed request this connection repeats
  std::string text;     // its broadcast text, which names it
  std::string out;      // bytes the socket did not take yet
  std::deque<Clock::time_point> inFlight;
  bool ready = false;  // the handshake's S17 came back
  bool watchingOutput = false;
  Clock::time_point retryAt;
};

LoadGenerator::LoadGenerator(int port, const LoadPlan& plan)
    : port_(port), plan_(plan), epoll_(epoll_create1(EPOLL_CLOEXEC)) {
  for (int i = 0; i < plan_.connections; ++i) {
    auto connection = std::make_unique<Connection>(i);
    switch (plan_.kind) {
      case LoadKind::WhoAmI:
        connection->request = framed(std::string(1, char(kRequestWhoAmI)));
        break;
      case LoadKind::GameList:
        connection->request = framed(std::string(1, char(kRequestGetGameList)));
        break;
      case LoadKind::Broadcast:
        connection->text = "bench " + std::to_string(i);
        // An empty addressee, then the text, each ending in a 0 byte.
        connection->request =
            framed(std::string(1, char(kRequestSendMessage)) + std::string(1, '\0') +
                   connection->text + std::string(1, '\0'));
        break;
    }
    connections_.push_back(std::move(connection));
  }
}

LoadGenerator::~LoadGenerator() {
  for (auto& connection : connections_) closeConnection(*connection);
  if (epoll_ >= 0) close(epoll_);
}

bool LoadGenerator::open(Connection& connection, std::string& error) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return false;
  }
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  const timeval timeout{1, 0};  // bounds the blocking connect
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port_));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    error = std::string("connect: ") + std::strerror(errno);
    close(fd);
    return false;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.u32 = static_cast<uint32_t>(connection.index);
  epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
  connection.fd = fd;
  // Version 512, so that the server's too-old warning stays out of the way.
  const char version[] = {char(kRequestVersion), 2, 0};
  connection.out =
      framed(std::string(version, sizeof version)) + framed(std::string(1, char(kRequestWhoAmI)));
  if (flush(connection)) return true;
  error = std::string("send: ") + std::strerror(errno);
  return false;
}

void LoadGenerator::closeConnection(Connection& connection) {
  if (connection.fd >= 0) close(connection.fd);
  connection.fd = -1;
  connection.splitter.clear();
  connection.out.clear();
  connection.inFlight.clear();
  connection.ready = false;
  connection.watchingOutput = false;
}

bool LoadGenerator::connectAll(std::string& error) {
  const Clock::time_point deadline = Clock::now() + kConnectDeadline;
  for (auto& connection : connections_) connection->retryAt = Clock::now();
  std::string lastError;
  for (;;) {
    const Clock::time_point now = Clock::now();
    int ready = 0, opening = 0;
    for (auto& connection : connections_) {
      if (connection->ready) {
        ++ready;
      } else if (connection->fd >= 0) {
        ++opening;
      }
    }
    if (ready == plan_.connections) return true;
    if (now >= deadline) {
      error = std::to_string(ready) + " of " + std::to_string(plan_.connections) +
              " connections accepted" + (lastError.empty() ? "" : ", " + lastError);
      return false;
    }
    for (auto& connection : connections_) {
      if (opening >= kOpeningAtOnce) break;
      if (connection->fd >= 0 || connection->retryAt > now) continue;
      if (open(*connection, lastError)) {
        ++opening;
      } else {
        closeConnection(*connection);
        connection->retryAt = now + kRetryPause;
      }
    }
    epoll_event events[64];
    const int count = epoll_wait(epoll_, events, 64, 5);
    for (int i = 0; i < count; ++i) {
      Connection& connection = *connections_[events[i].data.u32];
      if (connection.fd < 0) continue;
      const bool alive = (events[i].events & (EPOLLIN | EPOLLERR | EPOLLHUP)) ? receive(connection)
                                                                              : flush(connection);
      if (!alive) {
        closeConnection(connection);
        connection.retryAt = Clock::now() + kRetryPause;
      }
    }
  }
}

void LoadGenerator::queueRequest(Connection& connection, Clock::time_point now) {
  connection.out += connection.request;
  connection.inFlight.push_back(now);
}

bool LoadGenerator::isReply(const Connection& connection, const char* payload, int length) const {
  const uint8_t code = static_cast<uint8_t>(payload[0]);
  switch (plan_.kind) {
    case LoadKind::WhoAmI:
      return code == kMessageWhoAmI;
    case LoadKind::GameList:
      return code == kMessageGameList;
    case LoadKind::Broadcast: {
      // 6, flag 1, sender's nick-name, 0, text, 0.
      if (code != kMessageChat || length < 2 || payload[1] != 1) return false;
      const char* end = payload + length;
      const char* nickEnd =
          static_cast<const char*>(std::memchr(payload + 2, 0, end - payload - 2));
      if (nickEnd == nullptr) return false;
      const char* text = nickEnd + 1;
      const size_t size = connection.text.size();
      return static_cast<size_t>(end - text) == size + 1 &&
             std::memcmp(text, connection.text.data(), size) == 0 && text[size] == 0;
    }
  }
  return false;
}

bool LoadGenerator::receive(Connection& connection) {
  char bytes[kReadBytes];
  const ssize_t received = recv(connection.fd, bytes, sizeof bytes, 0);
  if (received == 0) return false;
  if (received < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
  const Clock::time_point now = Clock::now();
  connection.splitter.feed(bytes, static_cast<int>(received));
  const char* payload;
  int length;
  VantorFrameSplitter::Result result;
  while ((result = connection.splitter.next(&payload, &length)) == VantorFrameSplitter::kFrame) {
    if (length == 0) continue;
    if (!connection.ready) {
      connection.ready = static_cast<uint8_t>(payload[0]) == kMessageWhoAmI;
      continue;
    }
    // Nothing is in flight before the measurement starts.
    if (connection.inFlight.empty() || !isReply(connection, payload, length)) continue;
    const Clock::time_point sent = connection.inFlight.front();
    connection.inFlight.pop_front();
    if (now >= windowStart_ && now < windowEnd_) {
      latencies_.push_back(
          std::chrono::duration_cast<std::chrono::nanoseconds>(now - sent).count());
    }
    if (now < windowEnd_) queueRequest(connection, now);
  }
  if (result == VantorFrameSplitter::kTooLong) return false;
  return flush(connection);
}

bool LoadGenerator::flush(Connection& connection) {
  if (!connection.out.empty()) {
    const ssize_t sent =
        send(connection.fd, connection.out.data(), connection.out.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    if (sent > 0) connection.out.erase(0, static_cast<size_t>(sent));
  }
  watchOutput(connection, !connection.out.empty());
  return true;
}

void LoadGenerator::watchOutput(Connection& connection, bool on) {
  if (connection.watchingOutput == on) return;
  epoll_event event{};
  event.events = on ? EPOLLIN | EPOLLOUT : EPOLLIN;
  event.data.u32 = static_cast<uint32_t>(connection.index);
  epoll_ctl(epoll_, EPOLL_CTL_MOD, connection.fd, &event);
  connection.watchingOutput = on;
}

LoadResult LoadGenerator::run() {
  LoadResult result;
  if (epoll_ < 0) {
    result.error = std::string("epoll: ") + std::strerror(errno);
    return result;
  }
  if (!connectAll(result.error)) return result;

  windowStart_ = Clock::now() + plan_.warmUp;
  windowEnd_ = windowStart_ + plan_.window;
  const Clock::time_point start = Clock::now();
  for (auto& connection : connections_) {
    for (int i = 0; i < plan_.depth; ++i) queueRequest(*connection, start);
    if (!flush(*connection)) {
      result.error = "a connection failed to send";
      return result;
    }
  }
  for (Clock::time_point now = start; now < windowEnd_; now = Clock::now()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(windowEnd_ - now);
    epoll_event events[64];
    const int count = epoll_wait(epoll_, events, 64, static_cast<int>(left.count()) + 1);
    for (int i = 0; i < count; ++i) {
      Connection& connection = *connections_[events[i].data.u32];
      const bool alive = (events[i].events & (EPOLLIN | EPOLLERR | EPOLLHUP)) ? receive(connection)
                                                                              : flush(connection);
      if (!alive) {
        result.error = "connection " + std::to_string(connection.index) + " ended";
        return result;
      }
    }
  }
  for (auto& connection : connections_) closeConnection(*connection);

  std::sort(latencies_.begin(), latencies_.end());
  const double seconds = std::chrono::duration<double>(plan_.window).count();
  result.ok = true;
  result.requestsPerSecond = static_cast<double>(latencies_.size()) / seconds;
  result.p50 = percentile(latencies_, 0.50);
  result.p99 = percentile(latencies_, 0.99);
  result.p999 = percentile(latencies_, 0.999);
  return result;
}
