// Fakes shared by the client tests: server messages built byte by byte, a
// stream that records request frames, a listener that records its calls, and
// a scripted server that accepts one connection and sends chosen frames.
#ifndef VANTOR_TESTS_CLIENT_CLIENTTESTSUPPORT_H_
#define VANTOR_TESTS_CLIENT_CLIENTTESTSUPPORT_H_

#include <string>
#include <vector>

#include "client/GameClientListener.h"
#include "ios/IosOutputStream.h"

class ServerSocket;
class Socket;
class VantorClientGame;

// A server message payload, code byte first.
class Msg {
 public:
  explicit Msg(int code) { bytes_ += static_cast<char>(code); }
  Msg& i32(int value);
  Msg& i8(int value) {
    bytes_ += static_cast<char>(value);
    return *this;
  }
  Msg& str(const std::string& text) {
    bytes_ += text;
    bytes_ += '\0';
    return *this;
  }
  Msg& raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
  }
  const std::string& payload() const { return bytes_; }
  // Two length bytes, low first, then the payload.
  std::string frame() const;

 private:
  std::string bytes_;
};

// 64 cells of the initial position, x varying fastest.
std::string initialCells();

// Splits everything written to it into frames and keeps their payloads.
class RecordingStream : public IosOutputStream {
 public:
  void write(const char* buf, int n) override;
  // Payloads of the complete frames written so far.
  std::vector<std::string> frames;
  // Total bytes of each write call.
  std::vector<int> writeSizes;

 private:
  std::string pending_;
};

// Records every listener call as text, such as "gameStarted(1)".
class RecordingListener : public vgl::GameClientListener {
 public:
  ~RecordingListener() override;
  void clientReady(int colour) override;
  void playerListChanged(int colour) override;
  void gameListChanged(int colour) override;
  void gameStarted(int colour, VantorClientGame* game) override;
  void gameChanged(int colour) override;
  void moveRejected(int colour) override;
  void gameEnded(int colour) override;
  void gameAbandoned(int colour) override;
  void playerPassed(int colour) override;
  void gameProposed(int colour, const char* inviter, int gameId, int blackFlag) override;
  void gameRefused(int colour, const char* name) override;
  void nickRefused(int colour, const char* text) override;
  void connectionLost(int colour) override;

  int count(const std::string& call) const;
  // Calls whose text starts with prefix.
  int countPrefix(const std::string& prefix) const;

  std::vector<std::string> calls;
  // Games handed over by gameStarted; deleted with the listener.
  std::vector<VantorClientGame*> games;
  std::string lastInviter;
  int lastGameId = -1;
  int lastBlackFlag = -1;
};

// Listens on 127.0.0.1 at a port the system chooses and serves the one
// connection it accepts from the test's own thread.
class ScriptedServer {
 public:
  ScriptedServer();
  ~ScriptedServer();

  int port() const;
  // Waits for the client's connection.
  void accept();
  void send(const std::string& bytes);
  void send(const Msg& message) { send(message.frame()); }
  // The next request payload; fails the test after five seconds without one.
  std::string readFrame();
  // True when no byte arrives within the given time.
  bool silentFor(int milliseconds);
  // Closes the accepted connection.
  void closeConnection();

 private:
  ServerSocket* listener_;
  Socket* connection_;
};

// Repeats pump until done() or ten seconds have passed; returns done().
template <typename Pump, typename Done>
bool pumpUntil(Pump pump, Done done);

void sleepMs(int milliseconds);

template <typename Pump, typename Done>
bool pumpUntil(Pump pump, Done done) {
  for (int i = 0; i < 2000 && !done(); ++i) {
    pump();
    if (!done()) sleepMs(5);
  }
  return done();
}

#endif  // VANTOR_TESTS_CLIENT_CLIENTTESTSUPPORT_H_
