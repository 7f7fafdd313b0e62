#include "tests/server/ProtocolClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
}

}  // namespace

std::unique_ptr<ProtocolClient> ProtocolClient::join(int port, const std::string& nick) {
  std::unique_ptr<ProtocolClient> client(new ProtocolClient(port));
  EXPECT_EQ(client->next(), msg(26));
  client->send(msg(26, bytes({2, 0})));
  client->send(msg(1, cstr(nick)));
  // Nothing else first: no warning for this version.
  EXPECT_EQ(client->next(), msg(9));
  EXPECT_EQ(client->next(), msg(17, cstr(nick)));
  return client;
}

void ProtocolClient::send(const std::string& payload) {
  sendRaw(frame(payload));
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
    if ((ready && pending == 0) || msLeft(deadline) < 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::string ProtocolClient::next(int timeoutMs) {
  unsigned char header[2];
  if (!waitForBytes(2, timeoutMs)) {
    ADD_FAILURE() << "no message came";
    return std::string();
  }
  socket_->read(reinterpret_cast<char*>(header), 2);
  std::string payload(static_cast<size_t>(header[0] | header[1] << 8), '\0');
  if (!waitForBytes(static_cast<int>(payload.size()), timeoutMs)) {
    ADD_FAILURE() << "a message came incomplete";
    return std::string();
  }
  if (!payload.empty()) socket_->read(&payload[0], static_cast<int>(payload.size()));
  return payload;
}

std::string ProtocolClient::nextOf(int code, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (msLeft(deadline) > 0 && waitForBytes(2, msLeft(deadline))) {
    std::string payload = next(std::max(msLeft(deadline), 1));
    if (codeOf(payload) == code) return payload;
  }
  ADD_FAILURE() << "no message with code " << code << " came";
  return std::string();
}

std::vector<std::string> ProtocolClient::drain(int quietMs) {
  std::vector<std::string> messages;
  while (waitForBytes(2, quietMs)) messages.push_back(next());
  return messages;
}

bool ProtocolClient::closedByServer(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (msLeft(deadline) > 0) {
    if (!socket_->streamReadyToRead()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    const int pending = socket_->getInputStream()->available();
    if (pending == 0) return true;
    std::string discard(static_cast<size_t>(pending), '\0');
    socket_->read(&discard[0], pending);
  }
  return false;
}

std::string msg(int code, const std::string& fields) {
  return static_cast<char>(code) + fields;
}

std::string int32(int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  return bytes({static_cast<int>(bits & 0xFF), static_cast<int>(bits >> 8 & 0xFF),
                static_cast<int>(bits >> 16 & 0xFF), static_cast<int>(bits >> 24)});
}

std::string cstr(const std::string& text) {
  return text + '\0';
}

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

std::string frame(const std::string& payload) {
  return bytes({static_cast<int>(payload.size() & 0xFF), static_cast<int>(payload.size() >> 8)}) +
         payload;
}

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

std::vector<std::string> stringsFrom(const std::string& payload, size_t offset) {
  std::vector<std::string> out;
  for (size_t end; offset < payload.size(); offset = end + 1) {
    end = payload.find('\0', offset);
    if (end == std::string::npos) {
      ADD_FAILURE() << "string without its 0 byte";
      break;
    }
    out.push_back(payload.substr(offset, end - offset));
  }
  return out;
}
