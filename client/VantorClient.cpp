#include "client/VantorClient.h"

#include <algorithm>
#include <cstdio>

#include "client/VantorAskGameEvent.h"
#include "client/VantorClientDidGetMessageEvent.h"
#include "client/VantorClientGameEvent.h"
#include "client/VantorGameListEntry.h"
#include "client/VantorMessageReader.h"
#include "client/VantorNonAckNickEvent.h"
#include "client/VantorPlayerInfoEvent.h"
#include "client/VantorRefuseGameEvent.h"
#include "client/VantorRefuseSpectateEvent.h"
#include "client/VantorUpdateGameListEvent.h"
#include "client/VantorUpdateListEvent.h"
#include "client/VantorWhoAmIEvent.h"
#include "ios/Exception.h"
#include "ios/Socket.h"
#include "wire/VantorWire.h"

namespace {

// Bytes read by one receive() at most, so that a server that never stops
// sending cannot hold the front end's thread.
constexpr int kReadBudget = 1 << 20;

// The most read from the socket at once: a whole frame of the largest size.
constexpr int kReadChunk = kFrameHeaderBytes + kMaxFramePayload;

// Requests made while connecting wait up to this many bytes; later ones are
// dropped, as they would be on a closed connection.
constexpr size_t kWaitingLimit = 65536;

// Events held for games that have not started, over all games. Only a
// server that announces a game and never sends its board reaches it.
constexpr size_t kHeldLimit = 4096;

constexpr int kCellCount = 64;

std::string withCode(int code) {
  return std::string(1, static_cast<char>(code));
}

void appendByte(std::string& payload, int value) {
  payload.push_back(static_cast<char>(value));
}

void appendInt(std::string& payload, int value) {
  char bytes[4];
  encodeInt(bytes, value);
  payload.append(bytes, sizeof bytes);
}

// The text up to its 0 byte or limit bytes, whichever comes first, then a 0
// byte; a null text is sent empty.
void appendText(std::string& payload, const char* text, int limit) {
  int n = 0;
  if (text != nullptr) {
    while (n < limit && text[n] != '\0') ++n;
    payload.append(text, static_cast<size_t>(n));
  }
  payload.push_back('\0');
}

std::string withGameId(int code, int gameId) {
  std::string payload = withCode(code);
  appendInt(payload, gameId);
  return payload;
}

}  // namespace

VantorClient::VantorClient(const char* host, int port, int timeoutMilliseconds)
    : VantorClient(static_cast<IosOutputStream*>(nullptr)) {
  timeoutMilliseconds_ = timeoutMilliseconds;
  startConnecting(host, port);
}

VantorClient::VantorClient(Socket* connected)
    : VantorClient(static_cast<IosOutputStream*>(nullptr)) {
  openConversation(connected);
}

VantorClient::VantorClient(IosOutputStream* requests)
    : socket_(nullptr),
      out_(requests),
      readBuffer_(kReadChunk),
      frames_(kMaxFramePayload),
      redirecting_(false),
      redirectPort_(0),
      failure_(nullptr),
      timeoutMilliseconds_(ConnectionAttempt::kDefaultTimeoutMilliseconds),
      hasChosenNick_(false),
      opened_(false) {}

VantorClient::~VantorClient() {
  disconnect();
  delete failure_;
}

void VantorClient::startConnecting(const char* host, int port) {
  attempt_ =
      std::make_unique<ConnectionAttempt>(host != nullptr ? host : "", port, timeoutMilliseconds_);
}

bool VantorClient::finishConnecting() {
  switch (attempt_->poll()) {
    case ConnectionAttempt::kPending:
      return false;
    case ConnectionAttempt::kFailed: {
      const std::string why = attempt_->failure();
      attempt_.reset();
      waiting_.clear();
      throw new Exception(why);
    }
    case ConnectionAttempt::kConnected:
      break;
  }
  Socket* connected = new Socket(attempt_->takeDescriptor());
  attempt_.reset();
  openConversation(connected);
  return socket_ != nullptr;
}

void VantorClient::openConversation(Socket* connected) {
  socket_ = connected;
  out_ = socket_->getOutputStream();
  opened_ = true;
  nick_.clear();
  sendVersion();
  whoAmI();
  getPlayerList();
  getGameList();
  std::string waiting;
  waiting.swap(waiting_);
  if (!waiting.empty()) write(waiting);
}

void VantorClient::disconnect() {
  // A game-started event that never reached the front end hands its game to
  // nobody, so the game goes with the event.
  while (!events_.empty()) {
    VantorClientEvent* e = events_.front();
    events_.pop_front();
    if (e->type() == kClientGameEvent) {
      auto* gameEvent = static_cast<VantorClientGameEvent*>(e);
      if (gameEvent->getKind() == kGameStarted) delete gameEvent->getGame();
    }
    delete e;
  }
  for (VantorClientGameEvent* e : held_) delete e;
  held_.clear();
  for (int i = 0; i < games_.size(); ++i) {
    auto* game = static_cast<VantorClientGame*>(games_.get(i));
    game->client_ = nullptr;
    if (!game->isStarted()) delete game;
  }
  games_.clear();
  delete socket_;
  socket_ = nullptr;
  out_ = nullptr;
  attempt_.reset();
  waiting_.clear();
  frames_.clear();
  redirecting_ = false;
}

void VantorClient::forgetGame(VantorClientGame* game) {
  games_.remove(game);
}

VantorClientEvent* VantorClient::nextEvent() {
  if (events_.empty()) return nullptr;
  VantorClientEvent* e = events_.front();
  events_.pop_front();
  return e;
}

VantorClientGame* VantorClient::findGame(int id) const {
  for (int i = 0; i < games_.size(); ++i) {
    auto* game = static_cast<VantorClientGame*>(games_.get(i));
    if (game->getId() == id) return game;
  }
  return nullptr;
}

void VantorClient::throwPendingFailure() {
  if (failure_ == nullptr) return;
  Exception* e = failure_;
  failure_ = nullptr;
  throw e;
}

void VantorClient::receive() {
  throwPendingFailure();
  if (attempt_ != nullptr && !finishConnecting()) {
    throwPendingFailure();
    return;
  }
  int budget = kReadBudget;
  while (socket_ != nullptr && budget > 0 && socket_->streamReadyToRead()) {
    // Readable with nothing pending means that the server has closed: the
    // read of one byte then throws the socket layer's disconnection.
    int pending = std::max(socket_->getInputStream()->available(), 1);
    int n = std::min(std::min(pending, budget), kReadChunk);
    socket_->read(readBuffer_.data(), n);
    budget -= n;
    frames_.feed(readBuffer_.data(), n);
    const char* payload = nullptr;
    int length = 0;
    // A request that fails while a message is parsed ends the connection,
    // and with it whatever else had arrived.
    while (socket_ != nullptr && frames_.next(&payload, &length) == VantorFrameSplitter::kFrame) {
      handleMessage(payload, length);
      if (redirecting_) {
        std::string host = redirectHost_;
        int port = redirectPort_;
        // Frames that followed the redirect on the old connection go with it.
        disconnect();
        startConnecting(host.c_str(), port);
        // The new server gives every newcomer a name of its own.
        if (hasChosenNick_) setNick(chosenNick_.c_str());
        break;
      }
    }
  }
  throwPendingFailure();
}

void VantorClient::queue(VantorClientEvent* e) {
  events_.push_back(e);
}

void VantorClient::queueGameEvent(VantorClientGame* game, int kind) {
  queueGameEvent(new VantorClientGameEvent(game, kind));
}

void VantorClient::queueGameEvent(VantorClientGameEvent* e) {
  VantorClientGame* game = e->getGame();
  if (game != nullptr && !game->isStarted()) {
    if (held_.size() >= kHeldLimit) {
      std::fprintf(stderr, "VantorClient: too many events before a game's first board, dropped\n");
      delete e;
      return;
    }
    held_.push_back(e);
  } else {
    queue(e);
  }
}

void VantorClient::releaseHeldEvents(VantorClientGame* game) {
  for (auto it = held_.begin(); it != held_.end();) {
    if ((*it)->getGame() == game) {
      queue(*it);
      it = held_.erase(it);
    } else {
      ++it;
    }
  }
}

void VantorClient::dropHeldEvents(VantorClientGame* game) {
  for (auto it = held_.begin(); it != held_.end();) {
    if ((*it)->getGame() == game) {
      delete *it;
      it = held_.erase(it);
    } else {
      ++it;
    }
  }
}

void VantorClient::dropShortMessage(int code, int length) {
  std::fprintf(stderr, "VantorClient: message %d of %d bytes is too short, dropped\n", code,
               length);
}

void VantorClient::addGame(int id) {
  // A repeated announcement of a known game changes nothing.
  if (findGame(id) != nullptr) return;
  auto* game = new VantorClientGame(id);
  game->client_ = this;
  games_.add(game);
  getBoard(game);
}

const VantorClient::MessageParser* VantorClient::parserFor(int code) {
  // Codes missing here (your-turn among them) are read and ignored.
  static const MessageParser kParsers[] = {
      {kMessagePlayerList, 0, &VantorClient::parsePlayerList},
      {kMessageAskGame, 6, &VantorClient::parseAskGame},
      {kMessageChat, 1, &VantorClient::parseChat},
      {kMessageGameStarted, 4, &VantorClient::parseGameAnnounced},
      {kMessageBoard, 4 + kCellCount, &VantorClient::parseBoard},
      {kMessagePlayerListChanged, 0, &VantorClient::parsePlayerListChanged},
      {kMessageGameRefused, 0, &VantorClient::parseGameRefused},
      {kMessageInvalidMove, 4, &VantorClient::parseInvalidMove},
      {kMessageMovePlayed, 6, &VantorClient::parseMovePlayed},
      {kMessageMustPass, 4, &VantorClient::parseMustPass},
      {kMessageGameOver, 4, &VantorClient::parseGameOver},
      {kMessageWhoAmI, 0, &VantorClient::parseWhoAmI},
      {kMessageNickRefused, 0, &VantorClient::parseNickRefused},
      {kMessageGameList, 0, &VantorClient::parseGameList},
      {kMessageSpectateAccepted, 4, &VantorClient::parseGameAnnounced},
      {kMessageSpectateRefused, 4, &VantorClient::parseSpectateRefused},
      {kMessageGameListChanged, 0, &VantorClient::parseGameListChanged},
      {kMessageGameClosed, 4, &VantorClient::parseGameClosed},
      {kMessagePlayerInfo, 0, &VantorClient::parsePlayerInfo},
      {kMessageVersionRequest, 0, &VantorClient::parseVersionRequest},
      {kMessageRedirect, 6, &VantorClient::parseRedirect},
  };
  for (const MessageParser& parser : kParsers) {
    if (parser.code == code) return &parser;
  }
  return nullptr;
}

void VantorClient::handleMessage(const char* payload, int length) {
  if (payload == nullptr || length < 1) return;
  int code = static_cast<unsigned char>(payload[0]);
  const MessageParser* parser = parserFor(code);
  if (parser == nullptr) return;
  VantorMessageReader in(payload, length);
  if (!in.has(parser->fixedBytes)) {
    dropShortMessage(code, length);
    return;
  }
  (this->*parser->parse)(in, length);
}

void VantorClient::parsePlayerList(VantorMessageReader& in, int) {
  auto* e = new VantorUpdateListEvent();
  while (!in.atEnd()) e->addName(in.readString().c_str());
  queue(e);
}

void VantorClient::parseAskGame(VantorMessageReader& in, int) {
  int id = in.readInt();
  int colour = in.readInt8();
  in.skip(1);  // spectators allowed
  queue(new VantorAskGameEvent(in.readString().c_str(), id, colour));
}

void VantorClient::parseChat(VantorMessageReader& in, int) {
  int broadcast = in.readU8() != 0 ? 1 : 0;
  std::string sender = in.readString();
  std::string text = in.readString();
  queue(new VantorClientDidGetMessageEvent(text.c_str(), sender.c_str(), broadcast));
}

void VantorClient::parseGameAnnounced(VantorMessageReader& in, int) {
  addGame(in.readInt());
}

void VantorClient::parseBoard(VantorMessageReader& in, int) {
  VantorClientGame* game = findGame(in.readInt());
  if (game == nullptr) return;
  game->setBoard(in.readBytes(kCellCount));
  if (!game->isStarted()) {
    game->setStarted();
    queueGameEvent(game, kGameStarted);
    releaseHeldEvents(game);
    return;
  }
  queueGameEvent(game, kGameChanged);
  VantorClientEvent* deferred = game->takeDeferredEvent();
  if (deferred != nullptr) {
    queue(deferred);
    game->switchTurn();
  }
}

void VantorClient::parsePlayerListChanged(VantorMessageReader&, int) {
  getPlayerList();
  getGameList();
}

void VantorClient::parseGameRefused(VantorMessageReader& in, int) {
  queue(new VantorRefuseGameEvent(in.readString().c_str()));
}

void VantorClient::parseInvalidMove(VantorMessageReader& in, int) {
  VantorClientGame* game = findGame(in.readInt());
  if (game != nullptr) queueGameEvent(game, kMoveRejected);
}

void VantorClient::parseMovePlayed(VantorMessageReader& in, int) {
  VantorClientGame* game = findGame(in.readInt());
  if (game == nullptr) return;
  int x = in.readU8();
  int y = in.readU8();
  if (game->replayMove(x, y)) {
    queueGameEvent(game, kGameChanged);
  } else {
    // The copy is out of step with the server: fetch the board again.
    game->markOutOfSync();
    getBoard(game);
  }
}

void VantorClient::parseMustPass(VantorMessageReader& in, int) {
  VantorClientGame* game = findGame(in.readInt());
  if (game == nullptr) return;
  auto* e = new VantorClientGameEvent(game, kPlayerPassed);
  e->setName(in.readString().c_str());
  if (!game->deferEvent(e)) {
    game->switchTurn();
    queueGameEvent(e);
  }
}

void VantorClient::parseGameOver(VantorMessageReader& in, int) {
  VantorClientGame* game = findGame(in.readInt());
  if (game != nullptr) queueGameEvent(game, kGameOver);
}

void VantorClient::parseWhoAmI(VantorMessageReader& in, int) {
  nick_ = in.readString().substr(0, kMaxNick);
  queue(new VantorWhoAmIEvent(nick_.c_str()));
}

void VantorClient::parseNickRefused(VantorMessageReader& in, int) {
  queue(new VantorNonAckNickEvent(in.readString().c_str()));
}

void VantorClient::parseGameList(VantorMessageReader& in, int length) {
  auto* e = new VantorUpdateGameListEvent();
  while (!in.atEnd()) {
    if (!in.has(4)) {
      dropShortMessage(kMessageGameList, length);
      break;
    }
    int id = in.readInt();
    std::string first = in.readString();
    std::string second = in.readString();
    VantorClientGame* game = findGame(id);
    if (game != nullptr) game->setPlayerNames(second.c_str(), first.c_str());
    e->add(new VantorGameListEntry(id, first.c_str(), second.c_str()));
  }
  queue(e);
}

void VantorClient::parseSpectateRefused(VantorMessageReader& in, int) {
  queue(new VantorRefuseSpectateEvent(in.readInt()));
}

void VantorClient::parseGameListChanged(VantorMessageReader&, int) {
  getGameList();
}

void VantorClient::parseGameClosed(VantorMessageReader& in, int) {
  VantorClientGame* game = findGame(in.readInt());
  if (game != nullptr && !game->isStarted()) {
    // Nobody has heard of it yet, and nobody will: it goes now, with
    // whatever it held, instead of waiting for the disconnection.
    dropHeldEvents(game);
    delete game;
  } else {
    queueGameEvent(game, kGameClosed);
  }
  getGameList();
}

void VantorClient::parsePlayerInfo(VantorMessageReader& in, int) {
  std::string name = in.readString();
  std::string description = in.readString();
  queue(new VantorPlayerInfoEvent(name.c_str(), description.c_str()));
}

void VantorClient::parseVersionRequest(VantorMessageReader&, int) {
  sendVersion();
}

void VantorClient::parseRedirect(VantorMessageReader& in, int) {
  int a = in.readU8(), b = in.readU8(), c = in.readU8(), d = in.readU8();
  int low = in.readU8();
  int high = in.readU8();
  char host[16];
  std::snprintf(host, sizeof host, "%d.%d.%d.%d", a, b, c, d);
  redirecting_ = true;
  redirectHost_ = host;
  redirectPort_ = low | high << 8;
}

void VantorClient::send(const std::string& payload) {
  sendBuffer_.clear();
  appendFrame(sendBuffer_, payload);
  if (out_ == nullptr) {
    if (attempt_ != nullptr && waiting_.size() + sendBuffer_.size() <= kWaitingLimit) {
      waiting_ += sendBuffer_;
    }
    return;
  }
  write(sendBuffer_);
}

void VantorClient::write(const std::string& frames) {
  if (out_ == nullptr) return;
  try {
    out_->write(frames.data(), static_cast<int>(frames.size()));
  } catch (Exception* e) {
    // Requests come from the front end as well as from the parser; the
    // failure waits for the pump, which reports connection losses.
    if (failure_ == nullptr) {
      failure_ = e;
    } else {
      delete e;
    }
    delete socket_;
    socket_ = nullptr;
    out_ = nullptr;
  }
}

void VantorClient::setNick(const char* nick) {
  std::string payload = withCode(kRequestSetNick);
  appendText(payload, nick, kMaxSentNick);
  chosenNick_ = payload.substr(1, payload.size() - 2);
  hasChosenNick_ = true;
  send(payload);
}

void VantorClient::getPlayerList() {
  send(withCode(kRequestGetPlayerList));
}

void VantorClient::askGame(const char* nick, VantorGameOptions options) {
  std::string payload = withCode(kRequestAskGame);
  appendByte(payload, options.getColourChoice());
  appendByte(payload, options.getSpectatorsAllowed() ? 1 : 0);
  appendText(payload, nick, kMaxInvitedNick);
  send(payload);
}

void VantorClient::acceptGame(int gameId) {
  send(withGameId(kRequestAcceptGame, gameId));
}

void VantorClient::sendMessage(const char* text, const char* destination) {
  std::string payload = withCode(kRequestSendMessage);
  appendText(payload, destination, kMaxMessagePart);
  appendText(payload, text, kMaxMessagePart);
  send(payload);
}

void VantorClient::getBoard(VantorClientGame* game) {
  if (game != nullptr) send(withGameId(kRequestGetBoard, game->getId()));
}

void VantorClient::refuseGame(int gameId) {
  send(withGameId(kRequestRefuseGame, gameId));
}

void VantorClient::playMove(int gameId, int x, int y) {
  std::string payload = withGameId(kRequestPlayMove, gameId);
  appendByte(payload, x);
  appendByte(payload, y);
  send(payload);
}

void VantorClient::whoAmI() {
  send(withCode(kRequestWhoAmI));
}

void VantorClient::getGameList() {
  send(withCode(kRequestGetGameList));
}

void VantorClient::spectate(int gameId) {
  send(withGameId(kRequestSpectate, gameId));
}

void VantorClient::abortGame(int gameId) {
  send(withGameId(kRequestAbortGame, gameId));
}

void VantorClient::getPlayerInfo(const char* nick) {
  std::string payload = withCode(kRequestGetPlayerInfo);
  appendText(payload, nick, kMaxSentNick);
  send(payload);
}

void VantorClient::sendVersion() {
  std::string payload = withCode(kRequestVersion);
  appendByte(payload, 2);
  appendByte(payload, 0);
  send(payload);
}
