#include "tests/app/WindowTestSupport.h"

#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

const std::string kArtifacts = VANTOR_ARTIFACTS;

void sleepMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool waitUntil(const std::function<bool()>& cond, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    if (cond()) return true;
    sleepMs(20);
  } while (std::chrono::steady_clock::now() < end);
  return cond();
}

bool listening(int port) {
  // SO_REUSEADDR: connections that are closing do not stop the bind, a
  // listener does.
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  const bool taken = setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
                     bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0;
  close(s);
  return taken;
}

char cellAt(const Picture& shot, int column, int row) {
  // Four small patches around the centre are read: off the last-move
  // marker, and on the disc even while it leans after a flip.
  const int x = cellX(column), y = cellY(row);
  int r = 0, g = 0, b = 0;
  for (const Rgb& c : {shot.mean(x - 7, y, 1), shot.mean(x + 7, y, 1), shot.mean(x, y - 7, 1),
                       shot.mean(x, y + 7, 1)}) {
    r += c.r / 4;
    g += c.g / 4;
    b += c.b / 4;
  }
  if (g - std::max(r, b) > 25) return '.';
  return Rgb{r, g, b}.luminance() < 100 ? 'X' : 'O';
}

int discsOn(const Picture& shot) {
  int empty = 0;
  for (int cell = 0; cell < 64; ++cell) empty += cellAt(shot, cell % 8, cell / 8) == '.';
  return empty >= 32 ? 64 - empty : 0;
}

std::string enterPrivateNetwork() {
  if (unshare(CLONE_NEWNET) != 0) return std::string("unshare: ") + std::strerror(errno);
  const int s = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  const bool up = s >= 0 && ioctl(s, SIOCGIFFLAGS, &request) == 0 &&
                  (request.ifr_flags |= IFF_UP, ioctl(s, SIOCSIFFLAGS, &request) == 0);
  const std::string why = up ? "" : std::string("loopback: ") + std::strerror(errno);
  if (s >= 0) close(s);
  return why;
}
