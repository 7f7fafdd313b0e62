#include "tests/server/ProtocolClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

std::string withCode(int code) {
  return std::string(1, static_cast<char>(code));
}

std::string withId(int code, int32_t id) {
  return withCode(code) + request::int32(id);
}

std::string cString(const std::string& text) {
  return text + std::string(1, '\0');
}

}  // namespace

ProtocolClient::ProtocolClient(int port) : socket_(new Socket("127.0.0.1", port)) {}

std::unique_ptr<ProtocolClient> ProtocolClient::join(int port, const std::string& nick) {
  std::unique_ptr<ProtocolClient> client(new ProtocolClient(port));
  EXPECT_EQ(client->next(), std::string(1, '\x1a'));
  client->send(request::version(2, 0));
  client->send(request::setNick(nick));
  EXPECT_EQ(stringsFrom(client->nextOf(17), 1), std::vector<std::string>{nick});
  return client;
}

void ProtocolClient::send(const std::string& payload) {
  sendRaw(request::frame(payload));
}

void ProtocolClient::sendRaw(const std::string& bytes) {
  socket_->write(bytes.data(), static_cast<int>(bytes.size()));
}

bool ProtocolClient::waitForBytes(int n, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    // Readiness first: readable with nothing pending is the end of the
    // stream, but data may arrive between the two questions.
    const bool ready = socket_->streamReadyToRead();
    const int pending = socket_->getInputStream()->available();
    if (pending >= n) return true;
    if (ready && pending == 0) return false;
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::string ProtocolClient::next(int timeoutMs) {
  if (!waitForBytes(2, timeoutMs)) {
    ADD_FAILURE() << "no message came";
    return std::string();
  }
  unsigned char header[2];
  socket_->read(reinterpret_cast<char*>(header), 2);
  const int length = header[0] | header[1] << 8;
  std::string payload(static_cast<size_t>(length), '\0');
  if (!waitForBytes(length, timeoutMs)) {
    ADD_FAILURE() << "a message came incomplete";
    return std::string();
  }
  if (length > 0) socket_->read(&payload[0], length);
  return payload;
}

std::string ProtocolClient::nextOf(int code, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < deadline) {
    const int left = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
    if (!waitForBytes(2, left)) break;
    std::string payload = next(left);
    if (!payload.empty() && codeOf(payload) == code) return payload;
  }
  ADD_FAILURE() << "no message with code " << code << " came";
  return std::string();
}

std::vector<std::string> ProtocolClient::drain(int quietMs) {
  std::vector<std::string> messages;
  while (waitForBytes(2, quietMs)) messages.push_back(next());
  return messages;
}

bool ProtocolClient::silentFor(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  return !socket_->streamReadyToRead();
}

bool ProtocolClient::closedByServer(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < deadline) {
    if (socket_->streamReadyToRead()) {
      int pending = socket_->getInputStream()->available();
      if (pending == 0) return true;
      std::string discard(static_cast<size_t>(pending), '\0');
      socket_->read(&discard[0], pending);
      continue;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

namespace request {

std::string int32(int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  std::string out;
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<char>((bits >> shift) & 0xFF));
  return out;
}

std::string setNick(const std::string& nick) {
  return withCode(1) + cString(nick);
}
std::string playerList() {
  return withCode(3);
}
std::string askGame(int8_t colour, bool spectators, const std::string& nick) {
  return withCode(4) + std::string(1, static_cast<char>(colour)) +
         std::string(1, static_cast<char>(spectators ? 1 : 0)) + cString(nick);
}
std::string acceptGame(int32_t id) {
  return withId(5, id);
}
std::string sendMessage(const std::string& to, const std::string& text) {
  return withCode(6) + cString(to) + cString(text);
}
std::string board(int32_t id) {
  return withId(8, id);
}
std::string refuseGame(int32_t id) {
  return withId(10, id);
}
std::string playMove(int32_t id, int8_t x, int8_t y) {
  return withId(11, id) + std::string(1, static_cast<char>(x)) +
         std::string(1, static_cast<char>(y));
}
std::string whoAmI() {
  return withCode(17);
}
std::string gameList() {
  return withCode(19);
}
std::string spectate(int32_t id) {
  return withId(20, id);
}
std::string abortGame(int32_t id) {
  return withId(24, id);
}
std::string playerInfo(const std::string& nick) {
  return withCode(25) + cString(nick);
}
std::string version(uint8_t high, uint8_t low) {
  return withCode(26) + std::string(1, static_cast<char>(high)) +
         std::string(1, static_cast<char>(low));
}
std::string frame(const std::string& payload) {
  const size_t n = payload.size();
  return std::string(1, static_cast<char>(n & 0xFF)) + std::string(1, static_cast<char>(n >> 8)) +
         payload;
}

}  // namespace request

int codeOf(const std::string& payload) {
  return payload.empty() ? -1 : static_cast<unsigned char>(payload[0]);
}

int32_t intAt(const std::string& payload, size_t offset) {
  if (payload.size() < offset + 4) {
    ADD_FAILURE() << "message too short for an int at " << offset;
    return -1;
  }
  uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = bits << 8 | static_cast<unsigned char>(payload[offset + i]);
  return static_cast<int32_t>(bits);
}

int byteAt(const std::string& payload, size_t offset) {
  if (payload.size() <= offset) {
    ADD_FAILURE() << "message too short for a byte at " << offset;
    return -1000;
  }
  return static_cast<signed char>(payload[offset]);
}

std::vector<std::string> stringsFrom(const std::string& payload, size_t offset) {
  std::vector<std::string> out;
  while (offset < payload.size()) {
    size_t end = payload.find('\0', offset);
    if (end == std::string::npos) {
      ADD_FAILURE() << "string without its 0 byte";
      break;
    }
    out.push_back(payload.substr(offset, end - offset));
    offset = end + 1;
  }
  return out;
}

std::vector<int> codesOf(const std::vector<std::string>& payloads) {
  std::vector<int> codes;
  for (const std::string& p : payloads) codes.push_back(codeOf(p));
  return codes;
}
