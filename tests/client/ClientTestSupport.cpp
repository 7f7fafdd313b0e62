#include "tests/client/ClientTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "client/VantorClientGame.h"
#include "ios/Exception.h"
#include "ios/Platform.h"
#include "ios/ServerSocket.h"
#include "ios/Socket.h"

namespace {

// A lost connection shows the crash message in a dialog when a display
// exists; the tests read it on standard error instead.
struct NoDialogs {
  NoDialogs() { unsetenv("DISPLAY"); }
} noDialogs;

std::string describe(int colour) {
  return "(" + std::to_string(colour) + ")";
}

}  // namespace

Msg& Msg::i32(int value) {
  for (int i = 0; i < 4; ++i) bytes_ += static_cast<char>(static_cast<unsigned>(value) >> (8 * i));
  return *this;
}

std::string Msg::frame() const {
  std::string f;
  f += static_cast<char>(bytes_.size() & 0xFF);
  f += static_cast<char>(bytes_.size() >> 8 & 0xFF);
  return f + bytes_;
}

std::string initialCells() {
  std::string cells(64, '\0');
  cells[3 * 8 + 3] = -1;
  cells[3 * 8 + 4] = 1;
  cells[4 * 8 + 3] = 1;
  cells[4 * 8 + 4] = -1;
  return cells;
}

void sleepMs(int milliseconds) {
  platform::sleepMilliseconds(milliseconds);
}

void RecordingStream::write(const char* buf, int n) {
  writeSizes.push_back(n);
  pending_.append(buf, n);
  while (pending_.size() >= 2) {
    size_t length =
        static_cast<unsigned char>(pending_[0]) | static_cast<unsigned char>(pending_[1]) << 8;
    if (pending_.size() < 2 + length) break;
    frames.push_back(pending_.substr(2, length));
    pending_.erase(0, 2 + length);
  }
}

RecordingListener::~RecordingListener() {
  for (VantorClientGame* game : games) delete game;
}

void RecordingListener::clientReady(int colour) {
  calls.push_back("clientReady" + describe(colour));
}
void RecordingListener::playerListChanged(int colour) {
  calls.push_back("playerListChanged" + describe(colour));
}
void RecordingListener::gameListChanged(int colour) {
  calls.push_back("gameListChanged" + describe(colour));
}
void RecordingListener::gameStarted(int colour, VantorClientGame* game) {
  games.push_back(game);
  calls.push_back("gameStarted" + describe(colour));
}
void RecordingListener::gameChanged(int colour) {
  calls.push_back("gameChanged" + describe(colour));
}
void RecordingListener::moveRejected(int colour) {
  calls.push_back("moveRejected" + describe(colour));
}
void RecordingListener::gameEnded(int colour) {
  calls.push_back("gameEnded" + describe(colour));
}
void RecordingListener::gameAbandoned(int colour) {
  calls.push_back("gameAbandoned" + describe(colour));
}
void RecordingListener::playerPassed(int colour) {
  calls.push_back("playerPassed" + describe(colour));
}
void RecordingListener::gameProposed(int colour, const char* inviter, int gameId, int blackFlag) {
  lastInviter = inviter;
  lastGameId = gameId;
  lastBlackFlag = blackFlag;
  calls.push_back("gameProposed" + describe(colour));
}
void RecordingListener::gameRefused(int colour, const char* name) {
  calls.push_back("gameRefused" + describe(colour) + ":" + name);
}
void RecordingListener::nickRefused(int colour, const char* text) {
  calls.push_back("nickRefused" + describe(colour) + ":" + text);
}
void RecordingListener::connectionLost(int colour) {
  calls.push_back("connectionLost" + describe(colour));
}

int RecordingListener::count(const std::string& call) const {
  int n = 0;
  for (const std::string& c : calls) n += c == call;
  return n;
}

int RecordingListener::countPrefix(const std::string& prefix) const {
  int n = 0;
  for (const std::string& c : calls) n += c.compare(0, prefix.size(), prefix) == 0;
  return n;
}

ScriptedServer::ScriptedServer() : listener_(new ServerSocket(true, 0)), connection_(nullptr) {}

ScriptedServer::~ScriptedServer() {
  delete connection_;
  delete listener_;
}

int ScriptedServer::port() const {
  return listener_->getPort();
}

void ScriptedServer::accept() {
  delete connection_;
  connection_ = listener_->accept();
}

void ScriptedServer::send(const std::string& bytes) {
  connection_->write(bytes.data(), static_cast<int>(bytes.size()));
}

std::string ScriptedServer::readFrame() {
  for (int i = 0; i < 1000 && !connection_->streamReadyToRead(); ++i) sleepMs(5);
  if (!connection_->streamReadyToRead()) {
    ADD_FAILURE() << "no request arrived";
    return std::string();
  }
  unsigned char header[2];
  connection_->read(reinterpret_cast<char*>(header), 2);
  std::string payload(header[0] | header[1] << 8, '\0');
  connection_->read(payload.data(), static_cast<int>(payload.size()));
  return payload;
}

bool ScriptedServer::silentFor(int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 5) {
    if (connection_->streamReadyToRead()) return false;
    sleepMs(5);
  }
  return !connection_->streamReadyToRead();
}

void ScriptedServer::closeConnection() {
  delete connection_;
  connection_ = nullptr;
}
