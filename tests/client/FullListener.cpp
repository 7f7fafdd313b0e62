#include "tests/client/FullListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

FullListener::FullListener(const std::string& address, int port) : port_(0) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t length = sizeof where;
  auto* at = reinterpret_cast<sockaddr*>(&where);
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int on = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1 || bind(listener_, at, length) ||
      listen(listener_, 0) || getsockname(listener_, at, &length)) {
    why_ =
        "cannot listen on " + address + ":" + std::to_string(port) + ": " + std::to_string(errno);
    return;
  }
  port_ = ntohs(where.sin_port);
  why_ = "the backlog never filled";
  // Far more connections than a full backlog takes, each given far longer
  // than a loopback handshake needs.
  for (int i = 0; i < 16; ++i) {
    fillers_.push_back(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (connect(fillers_.back(), at, length) == 0) continue;
    if (errno != EINPROGRESS) break;
    pollfd entry{fillers_.back(), POLLOUT, 0};
    if (poll(&entry, 1, 300) == 0) {
      why_.clear();  // this one waits: so will the next
      break;
    }
  }
}

FullListener::~FullListener() {
  for (int filler : fillers_) close(filler);
  close(listener_);
}
