// A client of the game server for the protocol tests: a TCP connection to
// 127.0.0.1 that sends requests in frames and reads the server's frames
// with deadlines, plus payload builders and readers written from the
// client's side of the wire format. Frames and integers go through the wire
// module; the fields of each message are laid out here, by hand.
#ifndef VANTOR_TESTS_SERVER_PROTOCOLCLIENT_H_
#define VANTOR_TESTS_SERVER_PROTOCOLCLIENT_H_

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ios/Socket.h"
#include "wire/VantorFrameSplitter.h"
#include "wire/VantorWire.h"

// How long a test waits for a message that should come.
constexpr int kWaitMs = 5000;

class ProtocolClient {
 public:
  // Connects; reads nothing yet (the server's S26 is still pending).
  explicit ProtocolClient(int port) : socket_(new Socket("127.0.0.1", port)) {}
  // The same from another loopback address (such as "127.0.0.2"), to
  // 127.0.0.1, or to host when given.
  ProtocolClient(int port, const std::string& from, const std::string& host = "127.0.0.1");

  // Connects, reads S26, answers with version 2.0, names itself and reads
  // the S9 and S17 that follow: a client like the real one, ready to play.
  // From another loopback address when from is given.
  static std::unique_ptr<ProtocolClient> join(int port, const std::string& nick,
                                              const std::string& from = "");

  // One request in one frame.
  void send(const std::string& payload);
  // Bytes as they are, framing included.
  void sendRaw(const std::string& bytes);

  // The next message's payload; "" (and a test failure) when none comes in time.
  std::string next(int timeoutMs = kWaitMs);
  // The next message with that code, skipping others.
  std::string nextOf(int code, int timeoutMs = kWaitMs);
  // Every message that arrives until none has come for quietMs.
  std::vector<std::string> drain(int quietMs = 200);
  // Whether the server ends the connection within timeoutMs (messages
  // before the end are read and dropped).
  bool closedByServer(int timeoutMs = kWaitMs);

  Socket& socket() { return *socket_; }

 private:
  // Waits until a whole message has been read; false at the end of the
  // stream, or when none is whole and no byte has come for timeoutMs.
  bool waitForMessage(int timeoutMs);

  std::unique_ptr<Socket> socket_;
  VantorFrameSplitter splitter_{kMaxFramePayload};
  // Payloads read whole and not yet handed out.
  std::deque<std::string> messages_;
};

// Payloads, requests and server messages alike: the code, then the fields
// (numbered and laid out as in docs/protocol.md).
std::string msg(int code, const std::string& fields = "");
std::string int32(int32_t value);           // little-endian
std::string cstr(const std::string& text);  // 0-terminated
std::string bytes(std::initializer_list<int> values);
std::string frame(const std::string& payload);

// Reading server messages.
int codeOf(const std::string& payload);
int32_t intAt(const std::string& payload, size_t offset);
// The 0-terminated strings from offset to the end.
std::vector<std::string> stringsFrom(const std::string& payload, size_t offset);

#endif  // VANTOR_TESTS_SERVER_PROTOCOLCLIENT_H_
