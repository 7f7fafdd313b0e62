// The server messages the front-end tests send, by name, built with the
// client tests' Msg, and the reader for the ints of the requests they get.
//
// Thread safety: stateless.
#ifndef VANTOR_TESTS_OPENGLCLIENT_SERVERMESSAGES_H_
#define VANTOR_TESTS_OPENGLCLIENT_SERVERMESSAGES_H_

#include <string>
#include <vector>

#include "tests/client/ClientTestSupport.h"

class ServerMessages {
 public:
  struct Game {
    int id;
    std::string black, white;
  };

  static Msg playerList(const std::vector<std::string>& names) {
    Msg m(3);
    for (const std::string& name : names) m.str(name);
    return m;
  }
  static Msg gameList(const std::vector<Game>& games) {
    Msg m(19);
    for (const Game& g : games) m.i32(g.id).str(g.black).str(g.white);
    return m;
  }
  static Msg whoAmI(const std::string& nick) { return Msg(17).str(nick); }
  static Msg askGame(int gameId, int colour, const std::string& inviter) {
    return Msg(4).i32(gameId).i8(colour).i8(1).str(inviter);
  }
  static Msg gameRefused(const std::string& nick) { return Msg(10).str(nick); }
  static Msg nickRefused(const std::string& text) { return Msg(18).str(text); }
  static Msg gameStarted(int gameId) { return Msg(7).i32(gameId); }
  static Msg initialBoard(int gameId) { return Msg(8).i32(gameId).raw(initialCells()); }
  static Msg movePlayed(int gameId, int x, int y) { return Msg(13).i32(gameId).i8(x).i8(y); }
  static Msg invalidMove(int gameId, int x, int y) { return Msg(12).i32(gameId).i8(x).i8(y); }
  static Msg mustPass(int gameId, const std::string& nick) { return Msg(15).i32(gameId).str(nick); }
  static Msg gameOver(int gameId) { return Msg(16).i32(gameId); }
  static Msg gameClosed(int gameId) { return Msg(24).i32(gameId); }
  static Msg spectateAccepted(int gameId) { return Msg(21).i32(gameId); }
  static Msg spectateRefused(int gameId) { return Msg(22).i32(gameId); }
  static Msg board(int gameId, const std::string& cells) { return Msg(8).i32(gameId).raw(cells); }

  // A little-endian int of a request frame, or -1 past its end.
  static int readInt(const std::string& frame, size_t offset) {
    if (frame.size() < offset + 4) return -1;
    unsigned v = 0;
    for (int i = 0; i < 4; ++i)
      v |= static_cast<unsigned>(static_cast<uint8_t>(frame[offset + i])) << (8 * i);
    return static_cast<int>(v);
  }
};

#endif  // VANTOR_TESTS_OPENGLCLIENT_SERVERMESSAGES_H_
