#include "tests/server/ProtocolClient.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <utility>

#include "ios/Exception.h"

namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
}

}  // namespace

ProtocolClient::ProtocolClient(int port, const std::string& from, const std::string& host) {
  sockaddr_in local{}, remote{};
  local.sin_family = remote.sin_family = AF_INET;
  inet_pton(AF_INET, from.c_str(), &local.sin_addr);
  inet_pton(AF_INET, host.c_str(), &remote.sin_addr);
  remote.sin_port = htons(static_cast<uint16_t>(port));
  const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (::bind(descriptor, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0 ||
      ::connect(descriptor, reinterpret_cast<sockaddr*>(&remote), sizeof(remote)) != 0) {
    close(descriptor);
    throw new Exception("IosSocket: Socket connection failed");
  }
  socket_.reset(new Socket(descriptor));
}

std::unique_ptr<ProtocolClient> ProtocolClient::join(int port, const std::string& nick,
                                                     const std::string& from) {
  std::unique_ptr<ProtocolClient> client(from.empty() ? new ProtocolClient(port)
                                                      : new ProtocolClient(port, from));
  EXPECT_EQ(client->next(), msg(kMessageVersionRequest));
  client->send(msg(kRequestVersion, bytes({2, 0})));
  client->send(msg(kRequestSetNick, cstr(nick)));
  // Nothing else first: no warning for this version.
  EXPECT_EQ(client->next(), msg(kMessagePlayerListChanged));
  EXPECT_EQ(client->next(), msg(kMessageWhoAmI, cstr(nick)));
  return client;
}

void ProtocolClient::send(const std::string& payload) {
  sendRaw(frame(payload));
}

void ProtocolClient::sendRaw(const std::string& bytes) {
  socket_->write(bytes.data(), static_cast<int>(bytes.size()));
}

bool ProtocolClient::waitForMessage(int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const char* payload = nullptr;
  int length = 0;
  while (messages_.empty()) {
    if (splitter_.next(&payload, &length) == VantorFrameSplitter::kFrame) {
      messages_.emplace_back(payload, static_cast<size_t>(length));
      continue;
    }
    // Readiness first: readable with nothing pending is the end of the
    // stream, but data may arrive between the two questions.
    const bool ready = socket_->streamReadyToRead();
    const int pending = socket_->getInputStream()->available();
    if (pending > 0) {
      std::string received(static_cast<size_t>(pending), '\0');
      socket_->read(&received[0], pending);
      splitter_.feed(received.data(), pending);
      deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
      continue;
    }
    if (ready || msLeft(deadline) < 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::string ProtocolClient::next(int timeoutMs) {
  if (!waitForMessage(timeoutMs)) {
    ADD_FAILURE() << (splitter_.hasPartialFrame() ? "a message came incomplete"
                                                  : "no message came");
    return std::string();
  }
  std::string payload = std::move(messages_.front());
  messages_.pop_front();
  return payload;
}

std::string ProtocolClient::nextOf(int code, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (msLeft(deadline) > 0 && waitForMessage(msLeft(deadline))) {
    std::string payload = next();
    if (codeOf(payload) == code) return payload;
  }
  ADD_FAILURE() << "no message with code " << code << " came";
  return std::string();
}

std::vector<std::string> ProtocolClient::drain(int quietMs) {
  std::vector<std::string> messages;
  while (waitForMessage(quietMs)) messages.push_back(next());
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
    if (pending == 0) {
      splitter_.clear();
      messages_.clear();
      return true;
    }
    std::string discard(static_cast<size_t>(pending), '\0');
    socket_->read(&discard[0], pending);
  }
  return false;
}

std::string msg(int code, const std::string& fields) {
  return static_cast<char>(code) + fields;
}

std::string int32(int32_t value) {
  char encoded[4];
  encodeInt(encoded, value);
  return std::string(encoded, sizeof encoded);
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
  std::string out;
  appendFrame(out, payload);
  return out;
}

int codeOf(const std::string& payload) {
  return payload.empty() ? -1 : static_cast<unsigned char>(payload[0]);
}

int32_t intAt(const std::string& payload, size_t offset) {
  if (payload.size() < offset + 4) {
    ADD_FAILURE() << "message too short for an int at " << offset;
    return -1;
  }
  return decodeInt(payload.data() + offset);
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
