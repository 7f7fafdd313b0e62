// The wire format that the game server and its clients share: the message
// codes in both directions, the size limits, the 32-bit integer encoding and
// the frame (two bytes of little-endian payload length, then the payload,
// whose first byte is the code). docs/protocol.md gives every message byte
// by byte; this header is the one place in the code that knows the numbers.
//
// Thread safety: constants and pure functions.
#ifndef VANTOR_WIRE_VANTORWIRE_H_
#define VANTOR_WIRE_VANTORWIRE_H_

#include <cstdint>
#include <string>

// Client-to-server requests.
enum VantorRequestCode : uint8_t {
  kRequestSetNick = 1,
  kRequestGetPlayerList = 3,
  kRequestAskGame = 4,
  kRequestAcceptGame = 5,
  kRequestSendMessage = 6,
  kRequestGetBoard = 8,
  kRequestRefuseGame = 10,
  kRequestPlayMove = 11,
  kRequestWhoAmI = 17,
  kRequestGetGameList = 19,
  kRequestSpectate = 20,
  kRequestAbortGame = 24,
  kRequestGetPlayerInfo = 25,
  kRequestVersion = 26,
};

// Server-to-client messages.
enum VantorMessageCode : uint8_t {
  kMessagePlayerList = 3,
  kMessageAskGame = 4,
  kMessageChat = 6,
  kMessageGameStarted = 7,
  kMessageBoard = 8,
  kMessagePlayerListChanged = 9,
  kMessageGameRefused = 10,
  kMessageInvalidMove = 12,
  kMessageMovePlayed = 13,
  kMessageYourTurn = 14,
  kMessageMustPass = 15,
  kMessageGameOver = 16,
  kMessageWhoAmI = 17,
  kMessageNickRefused = 18,
  kMessageGameList = 19,
  kMessageSpectateAccepted = 21,
  kMessageSpectateRefused = 22,
  kMessageGameListChanged = 23,
  kMessageGameClosed = 24,
  kMessagePlayerInfo = 25,
  kMessageVersionRequest = 26,
  kMessageRedirect = 27,
};

// The two length bytes before every payload.
constexpr int kFrameHeaderBytes = 2;
// The largest payload the length field can carry.
constexpr int kMaxFramePayload = 65535;
// The largest request payload the server takes; a frame announcing more
// ends the connection.
constexpr int kMaxRequestPayload = 1024;
// The largest game list; a longer one is not sent at all.
constexpr int kMaxGameListPayload = 32767;
// Clients below this version (two bytes, high first) are too old.
constexpr int kMinimumClientVersion = 512;

// Little-endian, lowest byte first, at destination[0..3].
void encodeInt(char* destination, int32_t value);
int32_t decodeInt(const char* source);

// Appends the frame of a payload of 0..kMaxFramePayload bytes to out.
void appendFrame(std::string& out, const char* payload, int length);
inline void appendFrame(std::string& out, const std::string& payload) {
  appendFrame(out, payload.data(), static_cast<int>(payload.size()));
}

#endif  // VANTOR_WIRE_VANTORWIRE_H_
