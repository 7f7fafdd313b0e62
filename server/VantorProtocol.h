// The payload of every server-to-client message, built from the codes and
// integer encoding of the wire module. Frames are added by
// VantorEncodedOutputStream; the builders here return payloads, code byte
// first.
//
// Thread safety: pure functions of their arguments.
#ifndef VANTOR_SERVER_VANTORPROTOCOL_H_
#define VANTOR_SERVER_VANTORPROTOCOL_H_

#include <cstdint>
#include <string>
#include <vector>

#include "wire/VantorWire.h"

class VantorGame;

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
