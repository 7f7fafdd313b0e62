#include "tests/client/ClientTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "ios/Platform.h"

namespace {

// A lost connection shows the crash message in a dialog when a display
// exists; the tests read it on standard error instead.
struct NoDialogs {
  NoDialogs() { unsetenv("DISPLAY"); }
} noDialogs;

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
