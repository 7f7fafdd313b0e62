// A client of the game server for the protocol tests: a TCP connection on
// loopback that sends requests in frames and reads the server's frames with
// deadlines, plus payload builders and readers written from the client's
// side of the wire format. Frames and integers go through the wire module;
// the fields of each message are laid out here, by hand.
//
// Thread safety: one thread at a time.
#ifndef VANTOR_TESTS_SERVER_PROTOCOLCLIENT_H_
#define VANTOR_TESTS_SERVER_PROTOCOLCLIENT_H_

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using Messages = std::vector<std::string>;

// How long a test waits for a message that should come.
constexpr int kWaitMs = 5000;

// Payloads, requests and server messages alike: the code, then the fields
// (numbered and laid out as in docs/protocol.md).
std::string msg(int code, const std::string& fields = "");
std::string int32(int32_t value);           // little-endian
std::string cstr(const std::string& text);  // 0-terminated
std::string bytes(std::initializer_list<int> values);
std::string frame(const std::string& payload);

class ProtocolClient {
 public:
  // Connects to host (IPv4 or IPv6), from the given loopback address (such
  // as "127.0.0.2") when there is one; reads nothing yet (the server's S26
  // is still pending). Throws Exception* when it cannot connect.
  explicit ProtocolClient(int port, const std::string& from = "",
                          const std::string& host = "127.0.0.1");
  ~ProtocolClient();
  ProtocolClient(const ProtocolClient&) = delete;
  ProtocolClient& operator=(const ProtocolClient&) = delete;

  // Connects, reads S26, answers with version 2.0, names itself and reads
  // the S9 and S17 that follow: a client like the real one, ready to play.
  static std::unique_ptr<ProtocolClient> join(int port, const std::string& nick,
                                              const std::string& from = "");

  // One request in one frame.
  void send(const std::string& payload) { sendRaw(frame(payload)); }
  // Bytes as they are, framing included; throws Exception* when the
  // connection is gone.
  void sendRaw(const std::string& bytes);

  // The next message's payload; "" (and a test failure) when none comes in time.
  std::string next(int timeoutMs = kWaitMs);
  // The next message with that code, skipping others; timeoutMs is how
  // long it waits for each message.
  std::string nextOf(int code, int timeoutMs = kWaitMs);
  // Every message that arrives until none has come for quietMs.
  std::vector<std::string> drain(int quietMs = 200);
  // Whether the server ends the connection, waiting up to timeoutMs for
  // each read (what comes before the end is read and dropped).
  bool closedByServer(int timeoutMs = kWaitMs);

  int descriptor() const { return descriptor_; }

 private:
  // Reads one whole message; false at the end of the stream or when it has
  // not begun within timeoutMs.
  bool receive(std::string& payload, int timeoutMs);
  bool readFully(char* into, size_t length, int timeoutMs);
  bool readable(int timeoutMs);

  int descriptor_;
};

// Server messages often met: the chat (broadcast or private), a message
// whose first field is a game id, and the name a client is known by.
std::string chat(int broadcast, const std::string& from, const std::string& text);
std::string withId(int code, int32_t id, const std::string& rest = "");
std::string whoIs(const std::string& nick);

// Reading server messages.
int codeOf(const std::string& payload);
int32_t intAt(const std::string& payload, size_t offset);
// The 0-terminated strings from offset to the end.
std::vector<std::string> stringsFrom(const std::string& payload, size_t offset);

#endif  // VANTOR_TESTS_SERVER_PROTOCOLCLIENT_H_
