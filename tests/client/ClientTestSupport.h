// Fakes shared by the client tests: server messages built byte by byte, a
// stream that records its writes, a listener that records its calls, and
// a scripted server that accepts one connection and sends chosen frames.
#ifndef VANTOR_TESTS_CLIENT_CLIENTTESTSUPPORT_H_
#define VANTOR_TESTS_CLIENT_CLIENTTESTSUPPORT_H_

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "client/GameClientListener.h"
#include "client/VantorClientGame.h"
#include "ios/IosOutputStream.h"
#include "ios/Platform.h"
#include "ios/ServerSocket.h"
#include "ios/Socket.h"
#include "wire/VantorFrameSplitter.h"
#include "wire/VantorWire.h"

// A server message payload, code byte first.
class Msg {
 public:
  explicit Msg(int code) { bytes_ += static_cast<char>(code); }
  Msg& i32(int value);
  Msg& i8(int value) { return raw(std::string(1, static_cast<char>(value))); }
  Msg& str(const std::string& text) { return raw(text + '\0'); }
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

// Records the bytes of each write.
class RecordingStream : public IosOutputStream {
 public:
  void write(const char* buf, int n) override { writes.emplace_back(buf, static_cast<size_t>(n)); }
  std::vector<std::string> writes;
};

// Records every call as text, such as "gameStarted(1)", "gameRefused(0):Bob"
// or "gameProposed(1):Alice,6,1" (inviter, game id, black flag), and
// "messageReceived(0):Bob,hi,1" (sender, text, broadcast).
class RecordingListener : public vgl::GameClientListener {
 public:
  ~RecordingListener() override {
    for (VantorClientGame* game : games) delete game;
  }
  void clientReady(int c) override { record("clientReady", c); }
  void playerListChanged(int c) override { record("playerListChanged", c); }
  void gameListChanged(int c) override { record("gameListChanged", c); }
  void gameStarted(int c, VantorClientGame* game) override {
    games.push_back(game);
    record("gameStarted", c);
  }
  void gameChanged(int c) override { record("gameChanged", c); }
  void moveRejected(int c) override { record("moveRejected", c); }
  void gameEnded(int c) override { record("gameEnded", c); }
  void gameAbandoned(int c) override { record("gameAbandoned", c); }
  void playerPassed(int c) override { record("playerPassed", c); }
  void gameProposed(int c, const char* inviter, int gameId, int blackFlag) override {
    const std::string text =
        inviter + ("," + std::to_string(gameId)) + "," + std::to_string(blackFlag);
    record("gameProposed", c, text.c_str());
  }
  void gameRefused(int c, const char* name) override { record("gameRefused", c, name); }
  void nickRefused(int c, const char* text) override { record("nickRefused", c, text); }
  void messageReceived(int c, const char* sender, const char* text, bool broadcast) override {
    record("messageReceived", c,
           (sender + ("," + std::string(text)) + (broadcast ? ",1" : ",0")).c_str());
  }
  void spectateRefused(int c, int gameId) override {
    record("spectateRefused", c, std::to_string(gameId).c_str());
  }
  void connectionFailed(int c) override { ended("connectionFailed", c); }
  void connectionLost(int c) override { ended("connectionLost", c); }

  int count(const std::string& call) const { return std::count(calls.begin(), calls.end(), call); }

  std::vector<std::string> calls;
  std::vector<VantorClientGame*> games;  // handed over by gameStarted; deleted here
  // Runs after connectionLost or connectionFailed is recorded, as a front
  // end that destroys the connection.
  std::function<void()> onConnectionLost;

 private:
  void ended(const char* call, int colour) {
    record(call, colour);
    if (onConnectionLost) onConnectionLost();
  }
  void record(const char* call, int colour, const char* text = nullptr) {
    calls.push_back(call + ("(" + std::to_string(colour) + ")") +
                    (text ? ":" + std::string(text) : ""));
  }
};

// Listens on 127.0.0.1 at a port the system chooses and serves the one
// connection it accepts from the test's own thread.
class ScriptedServer {
 public:
  int port() const { return listener_.getPort(); }
  void accept() {  // waits for the client
    connection_.reset(listener_.accept());
    splitter_.clear();
  }
  void send(const std::string& bytes) {
    connection_->write(bytes.data(), static_cast<int>(bytes.size()));
  }
  void send(const Msg& message) { send(message.frame()); }
  // The next request payload; fails the test after five seconds without one.
  std::string readFrame();
  // True when no byte arrives within the given time and none is held.
  bool silentFor(int milliseconds);
  // Waits up to five seconds for the client to close, skipping what it sends.
  bool closedByPeer();
  void closeConnection() {
    connection_.reset();
    splitter_.clear();
  }
  // A port where nothing listens: a listener's, once closed.
  static int unusedPort() { return ScriptedServer().port(); }

 private:
  // Waits a moment or takes in what has arrived; false at the client's end
  // of the stream.
  bool pull();

  ServerSocket listener_{true, 0};
  std::unique_ptr<Socket> connection_;
  // Requests read from the connection and not yet handed out.
  VantorFrameSplitter splitter_{kMaxFramePayload};
};

inline void sleepMs(int milliseconds) {
  platform::sleepMilliseconds(milliseconds);
}

// Repeats pump until done() or ten seconds have passed; returns done().
template <typename Pump, typename Done>
bool pumpUntil(Pump pump, Done done) {
  for (int i = 0; i < 2000 && !done(); ++i) {
    pump();
    if (!done()) sleepMs(5);
  }
  return done();
}

#endif  // VANTOR_TESTS_CLIENT_CLIENTTESTSUPPORT_H_
