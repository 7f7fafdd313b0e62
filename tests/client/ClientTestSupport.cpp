#include "tests/client/ClientTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/ios/TestSupport.h"

namespace {

// A lost connection shows the crash message in a dialog when a display
// exists; the tests read it on standard error instead.
struct NoDialogs {
  NoDialogs() { setEnvironment("DISPLAY", nullptr); }
} noDialogs;

}  // namespace

Msg& Msg::i32(int value) {
  char encoded[4];
  encodeInt(encoded, value);
  return raw(std::string(encoded, sizeof encoded));
}

std::string Msg::frame() const {
  std::string f;
  appendFrame(f, bytes_);
  return f;
}

std::string initialCells() {
  std::string cells(64, '\0');
  cells[3 * 8 + 3] = cells[4 * 8 + 4] = -1;
  cells[3 * 8 + 4] = cells[4 * 8 + 3] = 1;
  return cells;
}

bool ScriptedServer::pull() {
  if (!connection_->streamReadyToRead()) {
    sleepMs(5);
    return true;
  }
  // Readable with nothing pending is the client's end of the stream.
  const int pending = connection_->getInputStream()->available();
  if (pending == 0) return false;
  std::string bytes(static_cast<size_t>(pending), '\0');
  connection_->read(bytes.data(), pending);
  splitter_.feed(bytes.data(), pending);
  return true;
}

std::string ScriptedServer::readFrame() {
  const char* payload = nullptr;
  int length = 0;
  for (int i = 0; i < 1000; ++i) {
    if (splitter_.next(&payload, &length) == VantorFrameSplitter::kFrame) {
      return std::string(payload, static_cast<size_t>(length));
    }
    if (!pull()) break;
  }
  ADD_FAILURE() << "no request arrived";
  return std::string();
}

bool ScriptedServer::silentFor(int milliseconds) {
  if (splitter_.buffered() > 0) return false;
  for (int waited = 0; waited < milliseconds; waited += 5) {
    if (connection_->streamReadyToRead()) return false;
    sleepMs(5);
  }
  return !connection_->streamReadyToRead();
}

bool ScriptedServer::closedByPeer() {
  for (int i = 0; i < 1000; ++i) {
    if (!pull()) return true;
  }
  return false;
}
