// The wire protocol between a client and the game server: message codes,
// size limits, the 32-bit integer encoding, and the payload of every
// server-to-client message. Frames (two bytes of little-endian payload
// length, then the payload) are added by VantorEncodedOutputStream; the
// builders here return payloads, code byte first.
//
// Thread safety: pure functions of their arguments.
#ifndef VANTOR_SERVER_VANTORPROTOCOL_H_
#define VANTOR_SERVER_VANTORPROTOCOL_H_

#include <cstdint>
#include <string>
#include <vector>

class VantorGame;

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

// The largest request payload the server takes; a frame announcing more
// ends the connection.
constexpr int kMaxRequestPayload = 1024;
// The largest payload the length field can carry.
constexpr int kMaxFramePayload = 65535;
// The largest game list; a longer one is not sent at all.
constexpr int kMaxGameListPayload = 32767;
// Clients below this version (two bytes, high first) are too old.
constexpr int kMinimumClientVersion = 512;

// Little-endian, lowest byte first, at destination[0..3].
void encodeInt(char* destination, int32_t value);
int32_t decodeInt(const char* source);

// Payload builders, one per server message.
std::string buildPlayerList(const std::vector<std::string>& nickNames);
// colourChoice: the C4 colour choice (non-zero: the invited player plays black).
std::string buildAskGame(int32_t gameId, int8_t colourChoice, bool spectatorsAllowed,
                         const std::string& inviter);
std::string buildChat(bool broadcast, const std::string& sender, const std::string& text);
std::string buildGameStarted(int32_t gameId);
// 64 cells, x varying fastest.
std::string buildBoard(int32_t gameId, const VantorGame& game);
std::string buildPlayerListChanged();
std::string buildGameRefused(const std::string& refuser);
std::string buildInvalidMove(int32_t gameId, int8_t x, int8_t y);
std::string buildMovePlayed(int32_t gameId, int8_t x, int8_t y);
std::string buildYourTurn(int32_t gameId);
std::string buildMustPass(int32_t gameId, const std::string& passer);
std::string buildGameOver(int32_t gameId);
std::string buildWhoAmI(const std::string& nickName);

// One entry of the game list.
struct VantorListedGame {
  int32_t gameId;
  std::string blackNick;
  std::string whiteNick;
};
// Empty (nothing to send) when the list would pass kMaxGameListPayload.
std::string buildGameList(const std::vector<VantorListedGame>& games);
std::string buildSpectateAccepted(int32_t gameId);
std::string buildSpectateRefused(int32_t gameId);
std::string buildGameListChanged();
std::string buildGameClosed(int32_t gameId);
std::string buildPlayerInfo(const std::string& nickName, const std::string& description);
std::string buildVersionRequest();

#endif  // VANTOR_SERVER_VANTORPROTOCOL_H_
