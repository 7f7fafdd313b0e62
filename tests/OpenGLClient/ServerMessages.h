// The server messages the front-end tests send, by name, built with the
// client tests' Msg.
#ifndef VANTOR_TESTS_OPENGLCLIENT_SERVERMESSAGES_H_
#define VANTOR_TESTS_OPENGLCLIENT_SERVERMESSAGES_H_

#include <string>
#include <vector>

#include "tests/client/ClientTestSupport.h"

namespace msg {

inline Msg playerList(const std::vector<std::string>& names) {
  Msg m(3);
  for (const std::string& name : names) m.str(name);
  return m;
}
struct Game {
  int id;
  std::string black, white;
};
inline Msg gameList(const std::vector<Game>& games) {
  Msg m(19);
  for (const Game& g : games) m.i32(g.id).str(g.black).str(g.white);
  return m;
}
inline Msg whoAmI(const std::string& nick) {
  return Msg(17).str(nick);
}
inline Msg askGame(int gameId, int colour, const std::string& inviter) {
  return Msg(4).i32(gameId).i8(colour).i8(1).str(inviter);
}
inline Msg gameRefused(const std::string& nick) {
  return Msg(10).str(nick);
}
inline Msg nickRefused(const std::string& text) {
  return Msg(18).str(text);
}
inline Msg gameStarted(int gameId) {
  return Msg(7).i32(gameId);
}
inline Msg initialBoard(int gameId) {
  return Msg(8).i32(gameId).raw(initialCells());
}
inline Msg movePlayed(int gameId, int x, int y) {
  return Msg(13).i32(gameId).i8(x).i8(y);
}
inline Msg invalidMove(int gameId, int x, int y) {
  return Msg(12).i32(gameId).i8(x).i8(y);
}
inline Msg mustPass(int gameId, const std::string& nick) {
  return Msg(15).i32(gameId).str(nick);
}
inline Msg gameOver(int gameId) {
  return Msg(16).i32(gameId);
}

// A little-endian int of a request frame.
inline int readInt(const std::string& frame, size_t offset) {
  if (frame.size() < offset + 4) return -1;
  unsigned v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<unsigned>(static_cast<uint8_t>(frame[offset + i])) << (8 * i);
  return static_cast<int>(v);
}

}  // namespace msg

#endif  // VANTOR_TESTS_OPENGLCLIENT_SERVERMESSAGES_H_
