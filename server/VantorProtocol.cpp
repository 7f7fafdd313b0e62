#include "server/VantorProtocol.h"

#include "game/VantorGame.h"

namespace {

std::string withCode(uint8_t code) {
  return std::string(1, static_cast<char>(code));
}

void appendInt(std::string& payload, int32_t value) {
  char bytes[4];
  encodeInt(bytes, value);
  payload.append(bytes, 4);
}

void appendString(std::string& payload, const std::string& text) {
  payload.append(text);
  payload.push_back('\0');
}

std::string withGameId(uint8_t code, int32_t gameId) {
  std::string payload = withCode(code);
  appendInt(payload, gameId);
  return payload;
}

std::string withMove(uint8_t code, int32_t gameId, int8_t x, int8_t y) {
  std::string payload = withGameId(code, gameId);
  payload.push_back(static_cast<char>(x));
  payload.push_back(static_cast<char>(y));
  return payload;
}

}  // namespace

std::string buildPlayerList(const std::vector<std::string>& nickNames) {
  std::string payload = withCode(kMessagePlayerList);
  for (const std::string& nick : nickNames) appendString(payload, nick);
  return payload;
}

std::string buildAskGame(int32_t gameId, int8_t colourChoice, bool spectatorsAllowed,
                         const std::string& inviter) {
  std::string payload = withGameId(kMessageAskGame, gameId);
  payload.push_back(static_cast<char>(colourChoice));
  payload.push_back(static_cast<char>(spectatorsAllowed ? 1 : 0));
  appendString(payload, inviter);
  return payload;
}

std::string buildChat(bool broadcast, const std::string& sender, const std::string& text) {
  std::string payload;
  // Built once per recipient of every chat message: one allocation.
  payload.reserve(sender.size() + text.size() + 4);
  payload.push_back(static_cast<char>(kMessageChat));
  payload.push_back(static_cast<char>(broadcast ? 1 : 0));
  appendString(payload, sender);
  appendString(payload, text);
  return payload;
}

std::string buildGameStarted(int32_t gameId) {
  return withGameId(kMessageGameStarted, gameId);
}

std::string buildBoard(int32_t gameId, const VantorGame& game) {
  std::string payload = withGameId(kMessageBoard, gameId);
  for (int y = 1; y <= 8; ++y) {
    for (int x = 1; x <= 8; ++x) payload.push_back(static_cast<char>(game.getCell(x, y)));
  }
  return payload;
}

std::string buildPlayerListChanged() {
  return withCode(kMessagePlayerListChanged);
}

std::string buildGameRefused(const std::string& refuser) {
  std::string payload = withCode(kMessageGameRefused);
  appendString(payload, refuser);
  return payload;
}

std::string buildInvalidMove(int32_t gameId, int8_t x, int8_t y) {
  return withMove(kMessageInvalidMove, gameId, x, y);
}

std::string buildMovePlayed(int32_t gameId, int8_t x, int8_t y) {
  return withMove(kMessageMovePlayed, gameId, x, y);
}

std::string buildYourTurn(int32_t gameId) {
  return withGameId(kMessageYourTurn, gameId);
}

std::string buildMustPass(int32_t gameId, const std::string& passer) {
  std::string payload = withGameId(kMessageMustPass, gameId);
  appendString(payload, passer);
  return payload;
}

std::string buildGameOver(int32_t gameId) {
  return withGameId(kMessageGameOver, gameId);
}

std::string buildWhoAmI(const std::string& nickName) {
  std::string payload = withCode(kMessageWhoAmI);
  appendString(payload, nickName);
  return payload;
}

std::string buildGameList(const std::vector<VantorListedGame>& games) {
  std::string payload = withCode(kMessageGameList);
  for (const VantorListedGame& game : games) {
    appendInt(payload, game.gameId);
    appendString(payload, game.blackNick);
    appendString(payload, game.whiteNick);
    if (payload.size() > static_cast<size_t>(kMaxGameListPayload)) return std::string();
  }
  return payload;
}

std::string buildSpectateAccepted(int32_t gameId) {
  return withGameId(kMessageSpectateAccepted, gameId);
}

std::string buildSpectateRefused(int32_t gameId) {
  return withGameId(kMessageSpectateRefused, gameId);
}

std::string buildGameListChanged() {
  return withCode(kMessageGameListChanged);
}

std::string buildGameClosed(int32_t gameId) {
  return withGameId(kMessageGameClosed, gameId);
}

std::string buildPlayerInfo(const std::string& nickName, const std::string& description) {
  std::string payload = withCode(kMessagePlayerInfo);
  appendString(payload, nickName);
  appendString(payload, description);
  return payload;
}

std::string buildVersionRequest() {
  return withCode(kMessageVersionRequest);
}
