#include "server/VantorClientPlayer.h"

#include <cstdio>
#include <vector>

#include "ios/Exception.h"
#include "ios/Platform.h"
#include "server/VantorProtocol.h"
#include "server/VantorRequestReader.h"
#include "server/VantorServer.h"
#include "server/VantorServerGame.h"

namespace {

// Set once the first too-old client of the process has been warned.
std::atomic<bool> versionWarningGiven{false};

void dropRequest(int code, int length) {
  std::fprintf(stderr, "Request %d dropped: its fields do not fit in its %d bytes\n", code, length);
}

// Holds the lobby for one whole request: the request reads and changes
// games and players that computer players' threads also reach.
class LobbyHold {
 public:
  explicit LobbyHold(VantorServer* lobby) : lobby_(lobby) {
    if (lobby_ != nullptr) lobby_->lock();
  }
  ~LobbyHold() {
    if (lobby_ != nullptr) lobby_->unlock();
  }
  LobbyHold(const LobbyHold&) = delete;
  LobbyHold& operator=(const LobbyHold&) = delete;

 private:
  VantorServer* lobby_;
};

// The player who has no legal move. The players are told while that side is
// still to move, the spectators after the turn has gone back to the other
// side; the position tells which side it is either way.
std::string passerName(const VantorGameEvent& event) {
  if (event.game == nullptr || event.position == nullptr) return std::string();
  const int toMove = event.position->getTurn();
  const int passer = event.position->checkPass() == 1 ? toMove : -toMove;
  VantorPlayer* player = event.game->getPlayer(passer == kBlack ? 1 : 2);
  return player != nullptr ? player->getName() : std::string();
}

}  // namespace

VantorClientPlayer::VantorClientPlayer(VantorServer* server)
    : VantorPlayer(server),
      lobby_(server),
      output_(nullptr),
      closing_(false),
      clientVersion_(0),
      broken_(false),
      chatLimit_(0),
      chatWindowMilliseconds_(0),
      chatDropReported_(false) {}

VantorClientPlayer::~VantorClientPlayer() {
  leave();
}

void VantorClientPlayer::leave() {
  {
    std::lock_guard<std::mutex> guard(writeLock_);
    closing_ = true;
  }
  if (server_ == nullptr) return;
  VantorLobby* lobby = server_;
  server_ = nullptr;
  // A player the full lobby never took in has nothing to leave, and the
  // others must not hear of it.
  if (isRegistered()) lobby->unregisterPlayer(this);
}

void VantorClientPlayer::resetVersionWarningForTesting() {
  versionWarningGiven = false;
}

void VantorClientPlayer::setOutputStream(IosOutputStream* stream) {
  std::lock_guard<std::mutex> guard(writeLock_);
  output_ = stream;
}

void VantorClientPlayer::send(const std::string& payload) {
  std::lock_guard<std::mutex> guard(writeLock_);
  if (closing_ || broken_ || output_ == nullptr) return;
  try {
    output_->write(payload.data(), static_cast<int>(payload.size()));
  } catch (Exception* e) {
    // The server reports the connection it closes for this.
    delete e;
    broken_ = true;
  }
}

void VantorClientPlayer::notifyAskGame(VantorPlayer* inviter, VantorServerGame* game) {
  if (inviter == nullptr || game == nullptr) return;
  send(buildAskGame(game->getId(), game->getColourChoice(), game->allowsSpectators(),
                    inviter->getName()));
}

void VantorClientPlayer::notifyRefuseGame(VantorPlayer* refuser) {
  if (refuser != nullptr) send(buildGameRefused(refuser->getName()));
}

void VantorClientPlayer::notifyMessage(VantorPlayer* from, const char* text, bool broadcast) {
  if (from == nullptr || text == nullptr) return;
  send(buildChat(broadcast, from->getName(), text));
}

void VantorClientPlayer::notifyGameEvent(const VantorGameEvent& event) {
  const int32_t id = event.gameId;
  const int8_t x = static_cast<int8_t>(event.x);
  const int8_t y = static_cast<int8_t>(event.y);
  switch (event.type) {
    case GameStarted:
      send(buildGameStarted(id));
      break;
    case InvalidMove:
      send(buildInvalidMove(id, x, y));
      break;
    case MovePlayed:
      send(buildMovePlayed(id, x, y));
      break;
    case YourTurn:
      send(buildYourTurn(id));
      break;
    case MustPass:
      send(buildMustPass(id, passerName(event)));
      break;
    case GameOver:
      send(buildGameOver(id));
      break;
    case GameClosed:
      send(buildGameClosed(id));
      break;
    default:
      break;
  }
}

void VantorClientPlayer::notifyPlayerListChanged() {
  send(buildPlayerListChanged());
}

void VantorClientPlayer::notifyGameListChanged() {
  send(buildGameListChanged());
}

void VantorClientPlayer::onMessage(const char* payload, int length) {
  if (length <= 0) return;
  LobbyHold hold(lobby_);
  if (clientVersion_ < kMinimumClientVersion &&
      static_cast<uint8_t>(payload[0]) != kRequestVersion) {
    warnOldClientOnce();
  }
  dispatch(payload, length);
}

void VantorClientPlayer::warnOldClientOnce() {
  if (lobby_ == nullptr || versionWarningGiven.exchange(true)) return;
  lobby_->sendAdminMessage(this, "Cannot determine your client version.");
  lobby_->sendAdminMessage(this, "Your client is probably too old and should be upgraded.");
}

void VantorClientPlayer::dispatch(const char* payload, int length) {
  const int code = static_cast<uint8_t>(payload[0]);
  VantorRequestReader reader(payload, length);
  int32_t id = 0;
  int8_t x = 0, y = 0;
  uint8_t flag = 0, low = 0;
  std::string first, second;
  bool complete = true;
  switch (code) {
    case kRequestVersion:
      complete = reader.readU8(flag) && reader.readU8(low);
      if (complete) clientVersion_ = flag * 256 + low;
      break;
    case kRequestWhoAmI:
      sendWhoAmI();
      break;
    case kRequestSetNick:
      complete = reader.readString(first);
      if (complete) handleSetNick(first);
      break;
    case kRequestGetPlayerList:
      sendPlayerList();
      break;
    case kRequestAskGame:
      complete = reader.readInt8(x) && reader.readU8(flag) && reader.readString(first);
      if (complete) handleAskGame(first, x, flag != 0);
      break;
    case kRequestAcceptGame:
      complete = reader.readInt32(id);
      if (complete) handleAcceptGame(id);
      break;
    case kRequestSendMessage:
      complete = reader.readString(first) && reader.readString(second);
      if (complete) handleSendMessage(first, second);
      break;
    case kRequestGetBoard:
      complete = reader.readInt32(id);
      if (complete) sendBoard(id);
      break;
    case kRequestRefuseGame:
      complete = reader.readInt32(id);
      if (complete) handleRefuseGame(id);
      break;
    case kRequestPlayMove:
      complete = reader.readInt32(id) && reader.readInt8(x) && reader.readInt8(y);
      if (complete) handlePlayMove(id, x, y);
      break;
    case kRequestGetGameList:
      sendGameList();
      break;
    case kRequestSpectate:
      complete = reader.readInt32(id);
      if (complete) handleSpectate(id);
      break;
    case kRequestAbortGame:
      complete = reader.readInt32(id);
      if (complete && lobby_ != nullptr) lobby_->abortGameRequest(this, id);
      break;
    case kRequestGetPlayerInfo:
      complete = reader.readString(first);
      if (complete) sendPlayerInfo(first);
      break;
    default:
      break;
  }
  if (!complete) dropRequest(code, length);
}

void VantorClientPlayer::sendPlayerList() {
  if (lobby_ == nullptr) return;
  std::vector<std::string> names;
  const int count = lobby_->getPlayerCount();
  for (int i = 0; i < count; ++i) names.push_back(lobby_->getPlayerName(i));
  send(buildPlayerList(names));
}

void VantorClientPlayer::sendGameList() {
  if (lobby_ == nullptr) return;
  std::vector<VantorListedGame> games;
  const int count = lobby_->getGameCount();
  for (int i = 0; i < count; ++i) {
    VantorServerGame* game = lobby_->getGame(i);
    if (game == nullptr) continue;
    games.push_back(VantorListedGame{game->getId(), game->getPlayer(1)->getName(),
                                     game->getPlayer(2)->getName()});
  }
  std::string payload = buildGameList(games);
  if (!payload.empty()) send(payload);
}

void VantorClientPlayer::handleSetNick(const std::string& nick) {
  if (lobby_ != nullptr && lobby_->changePlayerNickName(this, nick)) sendWhoAmI();
}

void VantorClientPlayer::handleAskGame(const std::string& targetNick, int8_t colour,
                                       bool allowSpectators) {
  if (lobby_ == nullptr) return;
  lobby_->initiateGameFromXWithY(this, lobby_->findPlayerByName(targetNick.c_str()), colour,
                                 allowSpectators);
}

void VantorClientPlayer::handleAcceptGame(int32_t gameId) {
  if (lobby_ != nullptr) lobby_->acceptGame(this, lobby_->findGameById(gameId));
}

void VantorClientPlayer::handleRefuseGame(int32_t gameId) {
  if (lobby_ != nullptr) lobby_->refuseGame(this, lobby_->findGameById(gameId));
}

void VantorClientPlayer::setChatLimit(int messages, int windowSeconds) {
  chatLimit_ = messages;
  chatWindowMilliseconds_ = static_cast<uint64_t>(windowSeconds) * 1000u;
}

bool VantorClientPlayer::chatAllowed() {
  if (chatLimit_ <= 0) return true;
  const uint64_t now = platform::monotonicMilliseconds();
  while (!chatTimes_.empty() && now - chatTimes_.front() >= chatWindowMilliseconds_) {
    chatTimes_.pop_front();
  }
  if (static_cast<int>(chatTimes_.size()) < chatLimit_) {
    chatTimes_.push_back(now);
    chatDropReported_ = false;
    return true;
  }
  if (!chatDropReported_) {
    std::fprintf(stderr, "Chat from %s dropped: more than %d messages in %d seconds\n",
                 getName().c_str(), chatLimit_, static_cast<int>(chatWindowMilliseconds_ / 1000));
    chatDropReported_ = true;
  }
  return false;
}

void VantorClientPlayer::handleSendMessage(const std::string& addressee, const std::string& text) {
  if (lobby_ == nullptr || !chatAllowed()) return;
  if (addressee.empty()) {
    lobby_->broadcastMessage(this, text.c_str());
  } else {
    lobby_->sendMessage(this, lobby_->findPlayerByName(addressee.c_str()), text.c_str());
  }
}

void VantorClientPlayer::sendBoard(int32_t gameId) {
  if (lobby_ == nullptr) return;
  VantorServerGame* game = lobby_->findGameById(gameId);
  if (game == nullptr) {
    std::fprintf(stderr, "ERROR : getBoard\n");
    return;
  }
  send(buildBoard(gameId, *game));
}

void VantorClientPlayer::sendWhoAmI() {
  send(buildWhoAmI(getName()));
}

void VantorClientPlayer::sendVersionRequest() {
  send(buildVersionRequest());
}

void VantorClientPlayer::handlePlayMove(int32_t gameId, int8_t x, int8_t y) {
  if (lobby_ != nullptr) lobby_->playMove(gameId, this, x, y);
}

void VantorClientPlayer::handleSpectate(int32_t gameId) {
  if (lobby_ == nullptr) return;
  if (lobby_->initiateSpectateMode(gameId, this)) {
    send(buildSpectateAccepted(gameId));
  } else {
    send(buildSpectateRefused(gameId));
  }
}

void VantorClientPlayer::sendPlayerInfo(const std::string& nick) {
  if (lobby_ == nullptr) return;
  std::string description;
  lobby_->getPlayerDescription(nick.c_str(), description);
  send(buildPlayerInfo(nick, description));
}
