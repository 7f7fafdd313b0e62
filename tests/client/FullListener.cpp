#include "tests/client/FullListener.h"

#include "ios/SocketSystem.h"

FullListener::FullListener(const std::string& address, int port) : port_(0) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t length = sizeof where;
  auto* at = reinterpret_cast<sockaddr*>(&where);
  listener_ = sockets::open(AF_INET, false);
  sockets::reuseListeningAddress(listener_);
  if (inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1 || bind(listener_, at, length) ||
      listen(listener_, 0) || getsockname(listener_, at, &length)) {
    why_ = "cannot listen on " + address + ":" + std::to_string(port) + ": " +
           std::to_string(sockets::lastError());
    return;
  }
  port_ = ntohs(where.sin_port);
  why_ = "the backlog never filled";
  // Far more connections than a full backlog takes, each given far longer
  // than a loopback handshake needs.
  for (int i = 0; i < 16; ++i) {
    fillers_.push_back(sockets::open(AF_INET, true));
    if (connect(fillers_.back(), at, length) == 0) continue;
    if (!sockets::connectInProgress(sockets::lastError())) break;
    pollfd entry = sockets::entryFor(fillers_.back(), POLLOUT);
    if (sockets::poll(&entry, 1, 300) == 0) {
      why_.clear();  // this one waits: so will the next
      break;
    }
  }
}

FullListener::~FullListener() {
  for (int filler : fillers_) sockets::close(filler);
  sockets::close(listener_);
}
