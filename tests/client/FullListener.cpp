#include "tests/client/FullListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Far longer than a loopback handshake takes.
constexpr int kHandshakeMilliseconds = 300;
// Connections tried before giving up on filling the backlog.
constexpr int kMostFillers = 16;

}  // namespace

FullListener::FullListener(const std::string& address, int port) : listener_(-1), port_(0) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<uint16_t>(port));
  if (inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1) {
    why_ = "not an IPv4 address: " + address;
    return;
  }
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int on = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
      listen(listener_, 0) != 0) {
    why_ =
        "cannot listen on " + address + ":" + std::to_string(port) + ": " + std::to_string(errno);
    return;
  }
  socklen_t length = sizeof where;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&where), &length);
  port_ = ntohs(where.sin_port);

  why_ = "the backlog never filled";
  for (int i = 0; i < kMostFillers; ++i) {
    const int filler = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (filler < 0) break;
    fillers_.push_back(filler);
    if (connect(filler, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0) continue;
    if (errno != EINPROGRESS) break;
    pollfd entry{filler, POLLOUT, 0};
    if (poll(&entry, 1, kHandshakeMilliseconds) == 0) {
      why_.clear();  // this one waits: so will the next
      break;
    }
  }
}

FullListener::~FullListener() {
  for (int filler : fillers_) close(filler);
  if (listener_ >= 0) close(listener_);
}
