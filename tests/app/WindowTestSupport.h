// What the window tests share besides their fixtures: waiting on a
// condition with a deadline, the ports listened on, the board's cells in a
// picture of the window, and the directory where every picture and log of
// a test is kept.
//
// Thread safety: free functions without state of their own; any thread.
#ifndef VANTOR_TESTS_APP_WINDOWTESTSUPPORT_H_
#define VANTOR_TESTS_APP_WINDOWTESTSUPPORT_H_

#include <functional>
#include <string>

#include "tests/OpenGLClient/Picture.h"

// artifacts/ in the build directory.
extern const std::string kArtifacts;

void sleepMs(int ms);
// Polls cond until it holds or timeoutMs have passed; cond's last answer.
bool waitUntil(const std::function<bool()>& cond, int timeoutMs);

// Moves this process, and the programs it starts from then on, into a network
// namespace of its own and brings its loopback up (as `unshare -n` and
// `ip link set lo up`); empty on success, else why not.
std::string enterPrivateNetwork();

// Whether something listens on port, on any IPv4 address of this process's
// network namespace.
bool listening(int port);

// Cell centres of the board in window coordinates, columns and rows 0..7
// from the top left.
inline int cellX(int column) {
  return 37 + 35 * column;
}
inline int cellY(int row) {
  return 37 + 35 * row;
}
// What a cell shows: 'X' a black disc, 'O' a white one, '.' the green board.
char cellAt(const Picture& shot, int column, int row);
// The discs on the board the window shows, or 0 when it shows no board (on
// a menu few cells read as green).
int discsOn(const Picture& shot);

#endif  // VANTOR_TESTS_APP_WINDOWTESTSUPPORT_H_
