// A game server played by the test: it listens on a free port of
// 127.0.0.1, accepts the client connections the controller opens, hands the
// test every request frame they send, and sends the frames the test writes.
// Single-threaded: the test alternates between the server and the client's
// tick, so nothing runs concurrently.
//
// Thread safety: one thread only.
#ifndef VANTOR_TESTS_OPENGLCLIENT_SCRIPTEDSERVER_H_
#define VANTOR_TESTS_OPENGLCLIENT_SCRIPTEDSERVER_H_

#include <cstdint>
#include <string>
#include <vector>

class ScriptedServer {
 public:
  ScriptedServer();
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int port() const { return port_; }
  // Accepts one pending connection (waiting up to timeoutMs); its index, or -1.
  int accept(int timeoutMs = 2000);
  // Reads the frames that connection sent within timeoutMs of the last one.
  std::vector<std::string> requests(int connection, int timeoutMs = 200);
  // Reads frames until one has the given code; the frame, or "" on time-out.
  std::string waitFor(int connection, int code, int timeoutMs = 2000);
  void send(int connection, const std::string& payload);
  void close(int connection);

  // Payload builders for the server's messages.
  static std::string str(const std::string& text) { return text + std::string(1, '\0'); }
  static std::string int32(int value);
  static std::string playerList(const std::vector<std::string>& names);
  static std::string whoAmI(const std::string& nick);
  static std::string gameStarted(int gameId);
  static std::string board(int gameId, const int8_t cells[64]);
  static std::string initialBoard(int gameId);
  static std::string movePlayed(int gameId, int x, int y);
  static std::string invalidMove(int gameId, int x, int y);
  static std::string mustPass(int gameId, const std::string& nick);
  static std::string gameOver(int gameId);
  static std::string askGame(int gameId, int colour, const std::string& inviter);
  static std::string gameRefused(const std::string& nick);
  static std::string nickRefused(const std::string& text);
  // Entries: game id, black name, white name.
  struct Game {
    int id;
    std::string black;
    std::string white;
  };
  static std::string gameList(const std::vector<Game>& games);
  static std::string playerListChanged() { return std::string(1, 9); }
  static std::string gameListChanged() { return std::string(1, 23); }

  // Readers for the client's requests.
  static int code(const std::string& frame) {
    return frame.empty() ? -1 : static_cast<uint8_t>(frame[0]);
  }
  static int readInt(const std::string& frame, size_t offset);

 private:
  bool readFrame(int connection, int timeoutMs, std::string* frame);

  int listener_;
  int port_;
  std::vector<int> sockets_;
  std::vector<std::string> buffers_;
};

#endif  // VANTOR_TESTS_OPENGLCLIENT_SCRIPTEDSERVER_H_
