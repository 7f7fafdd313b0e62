#include "tests/server/ProtocolClient.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ios/Exception.h"
#include "ios/SocketSystem.h"
#include "wire/VantorWire.h"

ProtocolClient::ProtocolClient(int port, const std::string& from, const std::string& host) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST;
  addrinfo *remote = nullptr, *local = nullptr;
  const bool found =
      getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &remote) == 0 &&
      (from.empty() || getaddrinfo(from.c_str(), "0", &hints, &local) == 0);
  descriptor_ = found ? sockets::open(remote->ai_family, false) : -1;
  const bool connected =
      descriptor_ >= 0 &&
      (local == nullptr || bind(descriptor_, local->ai_addr, local->ai_addrlen) == 0) &&
      connect(descriptor_, remote->ai_addr, remote->ai_addrlen) == 0;
  if (remote != nullptr) freeaddrinfo(remote);
  if (local != nullptr) freeaddrinfo(local);
  if (!connected) {
    sockets::close(descriptor_);
    throw new Exception("ProtocolClient: connection failed");
  }
}

ProtocolClient::~ProtocolClient() {
  sockets::close(descriptor_);
}

std::unique_ptr<ProtocolClient> ProtocolClient::join(int port, const std::string& nick,
                                                     const std::string& from) {
  std::unique_ptr<ProtocolClient> client(new ProtocolClient(port, from));
  EXPECT_EQ(client->next(), msg(kMessageVersionRequest));
  client->send(msg(kRequestVersion, bytes({2, 0})));
  client->send(msg(kRequestSetNick, cstr(nick)));
  // Nothing else first: no warning for this version.
  EXPECT_EQ(client->next(), msg(kMessagePlayerListChanged));
  EXPECT_EQ(client->next(), whoIs(nick));
  return client;
}

void ProtocolClient::sendRaw(const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    const long n = sockets::sendWaiting(descriptor_, bytes.data() + sent, bytes.size() - sent);
    if (n <= 0) throw new Exception("ProtocolClient: the connection is gone");
    sent += static_cast<size_t>(n);
  }
}

bool ProtocolClient::readable(int timeoutMs) {
  pollfd ready = sockets::entryFor(descriptor_, POLLIN);
  return sockets::poll(&ready, 1, timeoutMs) > 0;
}

bool ProtocolClient::readFully(char* into, size_t length, int timeoutMs) {
  for (size_t got = 0; got < length;) {
    // Once a message has begun, the rest of it is waited for in full.
    if (!readable(got == 0 ? timeoutMs : kWaitMs)) return false;
    const long n = sockets::receive(descriptor_, into + got, length - got);
    if (n <= 0) return false;
    got += static_cast<size_t>(n);
  }
  return true;
}

bool ProtocolClient::receive(std::string& payload, int timeoutMs) {
  unsigned char header[kFrameHeaderBytes];
  if (!readFully(reinterpret_cast<char*>(header), sizeof header, timeoutMs)) return false;
  payload.assign(header[0] | header[1] << 8, '\0');
  return readFully(&payload[0], payload.size(), kWaitMs);
}

std::string ProtocolClient::next(int timeoutMs) {
  std::string payload;
  if (!receive(payload, timeoutMs)) ADD_FAILURE() << "no message came";
  return payload;
}

std::string ProtocolClient::nextOf(int code, int timeoutMs) {
  std::string payload;
  while (receive(payload, timeoutMs)) {
    if (codeOf(payload) == code) return payload;
  }
  ADD_FAILURE() << "no message with code " << code << " came";
  return std::string();
}

std::vector<std::string> ProtocolClient::drain(int quietMs) {
  std::vector<std::string> messages;
  for (std::string payload; receive(payload, quietMs);) messages.push_back(payload);
  return messages;
}

bool ProtocolClient::closedByServer(int timeoutMs) {
  char discard[4096];
  while (readable(timeoutMs)) {
    const long n = sockets::receive(descriptor_, discard, sizeof discard);
    if (n == 0 || (n < 0 && sockets::connectionReset(sockets::lastError()))) return true;
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

std::string chat(int broadcast, const std::string& from, const std::string& text) {
  return msg(kMessageChat, bytes({broadcast}) + cstr(from) + cstr(text));
}

std::string withId(int code, int32_t id, const std::string& rest) {
  return msg(code, int32(id) + rest);
}

std::string whoIs(const std::string& nick) {
  return msg(kMessageWhoAmI, cstr(nick));
}

int codeOf(const std::string& payload) {
  return payload.empty() ? -1 : static_cast<unsigned char>(payload[0]);
}

int32_t intAt(const std::string& payload, size_t offset) {
  EXPECT_GE(payload.size(), offset + 4) << "message too short for an int";
  return payload.size() < offset + 4 ? -1 : decodeInt(payload.data() + offset);
}

std::vector<std::string> stringsFrom(const std::string& payload, size_t offset) {
  std::vector<std::string> out;
  for (size_t end; offset < payload.size(); offset = end + 1) {
    end = std::min(payload.find('\0', offset), payload.size());
    EXPECT_LT(end, payload.size()) << "string without its 0 byte";
    out.push_back(payload.substr(offset, end - offset));
  }
  return out;
}
