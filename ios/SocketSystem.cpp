// The parts of the socket calls that are the same on both systems.
#include "ios/SocketSystem.h"

namespace sockets {

bool connectedPair(int ends[2]) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  sockaddr* where = reinterpret_cast<sockaddr*>(&address);
  const int listener = open(AF_INET, false);
  ends[0] = ends[1] = -1;
  if (listener >= 0 && bind(listener, where, length) == 0 && listen(listener, 1) == 0 &&
      getsockname(listener, where, &length) == 0) {
    ends[1] = open(AF_INET, false);
    if (ends[1] >= 0 && connect(ends[1], where, length) == 0) {
      ends[0] = acceptFrom(listener, nullptr, nullptr, false);
    }
  }
  close(listener);
  if (ends[0] >= 0) return true;
  close(ends[1]);
  ends[1] = -1;
  return false;
}

}  // namespace sockets
