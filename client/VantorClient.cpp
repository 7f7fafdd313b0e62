#include "client/VantorClient.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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

namespace {

// Bytes read by one receive() at most, so that a server that never stops
// sending cannot hold the front end's thread.
constexpr int kReadBudget = 1 << 20;

// Codes of the requests this client sends.
namespace request {
enum : int {
  kSetNick = 1,
  kGetPlayerList = 3,
  kAskGame = 4,
  kAcceptGame = 5,
  kSendMessage = 6,
  kGetBoard = 8,
  kRefuseGame = 10,
  kPlayMove = 11,
  kWhoAmIRequest = 17,
  kGetGameList = 19,
  kSpectate = 20,
  kAbortGame = 24,
  kGetPlayerInfo = 25,
  kVersion = 26,
};
}  // namespace request

// Codes of the server messages.
namespace message {
enum : int {
  kPlayerList = 3,
  kAskGame = 4,
  kMessage = 6,
  kGameStarted = 7,
  kBoard = 8,
  kPlayerListChanged = 9,
  kGameRefused = 10,
  kInvalidMove = 12,
  kMovePlayed = 13,
  kMustPass = 15,
  kGameOver = 16,
  kWhoAmI = 17,
  kNickRefused = 18,
  kGameList = 19,
  kSpectateAccepted = 21,
  kSpectateRefused = 22,
  kGameListChanged = 23,
  kGameClosed = 24,
  kPlayerInfo = 25,
  kVersionRequest = 26,
  kRedirect = 27,
};
}  // namespace message

constexpr int kCellCount = 64;

}  // namespace

VantorClient::VantorClient(const char* host, int port) : VantorClient(nullptr) {
  openConversation(host, port);
}

VantorClient::VantorClient(IosOutputStream* requests)
    : socket_(nullptr),
      out_(requests),
      sendBuffer_(2 + kMaxPayload),
      frame_(2 + kMaxPayload),
      frameBytes_(0),
      redirecting_(false),
      redirectPort_(0),
      failure_(nullptr) {}

VantorClient::~VantorClient() {
  disconnect();
  delete failure_;
}

void VantorClient::openConversation(const char* host, int port) {
  socket_ = new Socket(host, port);
  out_ = socket_->getOutputStream();
  nick_.clear();
  sendVersion();
  whoAmI();
  getPlayerList();
  getGameList();
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
  frameBytes_ = 0;
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

int VantorClient::framePayloadLength() const {
  return static_cast<unsigned char>(frame_[0]) | static_cast<unsigned char>(frame_[1]) << 8;
}

void VantorClient::receive() {
  throwPendingFailure();
  int budget = kReadBudget;
  while (socket_ != nullptr && budget > 0 && socket_->streamReadyToRead()) {
    int wanted = frameBytes_ < 2 ? 2 - frameBytes_ : 2 + framePayloadLength() - frameBytes_;
    if (wanted > 0) {
      // Readable with nothing pending means that the server has closed: the
      // read of one byte then throws the socket layer's disconnection.
      int pending = std::max(socket_->getInputStream()->available(), 1);
      int n = std::min(std::min(wanted, pending), budget);
      socket_->read(frame_.data() + frameBytes_, n);
      frameBytes_ += n;
      budget -= n;
    }
    if (frameBytes_ < 2 || frameBytes_ < 2 + framePayloadLength()) continue;
    int length = frameBytes_ - 2;
    frameBytes_ = 0;
    handleMessage(frame_.data() + 2, length);
    if (redirecting_) {
      std::string host = redirectHost_;
      int port = redirectPort_;
      disconnect();
      openConversation(host.c_str(), port);
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

void VantorClient::handleMessage(const char* payload, int length) {
  if (payload == nullptr || length < 1) return;
  int code = static_cast<unsigned char>(payload[0]);
  VantorMessageReader in(payload, length);
  // The fixed-size fields each message needs before its strings.
  int needed = 0;
  switch (code) {
    case message::kAskGame:
    case message::kMovePlayed:
    case message::kRedirect:
      needed = 6;
      break;
    case message::kMessage:
      needed = 1;
      break;
    case message::kGameStarted:
    case message::kInvalidMove:
    case message::kMustPass:
    case message::kGameOver:
    case message::kSpectateAccepted:
    case message::kSpectateRefused:
    case message::kGameClosed:
      needed = 4;
      break;
    case message::kBoard:
      needed = 4 + kCellCount;
      break;
    default:
      break;
  }
  if (!in.has(needed)) {
    dropShortMessage(code, length);
    return;
  }

  switch (code) {
    case message::kPlayerList: {
      auto* e = new VantorUpdateListEvent();
      while (!in.atEnd()) e->addName(in.readString().c_str());
      queue(e);
      break;
    }
    case message::kAskGame: {
      int id = in.readInt();
      int colour = in.readInt8();
      in.skip(1);  // spectators allowed
      queue(new VantorAskGameEvent(in.readString().c_str(), id, colour));
      break;
    }
    case message::kMessage: {
      int broadcast = in.readU8() != 0 ? 1 : 0;
      std::string sender = in.readString();
      std::string text = in.readString();
      queue(new VantorClientDidGetMessageEvent(text.c_str(), sender.c_str(), broadcast));
      break;
    }
    case message::kGameStarted:
    case message::kSpectateAccepted:
      addGame(in.readInt());
      break;
    case message::kBoard: {
      VantorClientGame* game = findGame(in.readInt());
      if (game == nullptr) break;
      game->setBoard(in.readBytes(kCellCount));
      if (!game->isStarted()) {
        game->setStarted();
        queueGameEvent(game, kGameStarted);
        releaseHeldEvents(game);
        break;
      }
      queueGameEvent(game, kGameChanged);
      VantorClientEvent* deferred = game->takeDeferredEvent();
      if (deferred != nullptr) {
        queue(deferred);
        game->switchTurn();
      }
      break;
    }
    case message::kPlayerListChanged:
      getPlayerList();
      getGameList();
      break;
    case message::kGameRefused:
      queue(new VantorRefuseGameEvent(in.readString().c_str()));
      break;
    case message::kInvalidMove: {
      VantorClientGame* game = findGame(in.readInt());
      if (game != nullptr) queueGameEvent(game, kMoveRejected);
      break;
    }
    case message::kMovePlayed: {
      VantorClientGame* game = findGame(in.readInt());
      if (game == nullptr) break;
      int x = in.readU8();
      int y = in.readU8();
      if (game->replayMove(x, y)) {
        queueGameEvent(game, kGameChanged);
      } else {
        // The copy is out of step with the server: fetch the board again.
        game->markOutOfSync();
        getBoard(game);
      }
      break;
    }
    case message::kMustPass: {
      VantorClientGame* game = findGame(in.readInt());
      if (game == nullptr) break;
      auto* e = new VantorClientGameEvent(game, kPlayerPassed);
      e->setName(in.readString().c_str());
      if (!game->deferEvent(e)) {
        game->switchTurn();
        queueGameEvent(e);
      }
      break;
    }
    case message::kGameOver: {
      VantorClientGame* game = findGame(in.readInt());
      if (game != nullptr) queueGameEvent(game, kGameOver);
      break;
    }
    case message::kWhoAmI:
      nick_ = in.readString().substr(0, kMaxNick);
      queue(new VantorWhoAmIEvent(nick_.c_str()));
      break;
    case message::kNickRefused:
      queue(new VantorNonAckNickEvent(in.readString().c_str()));
      break;
    case message::kGameList: {
      auto* e = new VantorUpdateGameListEvent();
      while (!in.atEnd()) {
        if (!in.has(4)) {
          dropShortMessage(code, length);
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
      break;
    }
    case message::kSpectateRefused:
      queue(new VantorRefuseSpectateEvent(in.readInt()));
      break;
    case message::kGameListChanged:
      getGameList();
      break;
    case message::kGameClosed:
      queueGameEvent(findGame(in.readInt()), kGameClosed);
      getGameList();
      break;
    case message::kPlayerInfo: {
      std::string name = in.readString();
      std::string description = in.readString();
      queue(new VantorPlayerInfoEvent(name.c_str(), description.c_str()));
      break;
    }
    case message::kVersionRequest:
      sendVersion();
      break;
    case message::kRedirect: {
      int a = in.readU8(), b = in.readU8(), c = in.readU8(), d = in.readU8();
      int low = in.readU8();
      int high = in.readU8();
      char host[16];
      std::snprintf(host, sizeof host, "%d.%d.%d.%d", a, b, c, d);
      redirecting_ = true;
      redirectHost_ = host;
      redirectPort_ = low | high << 8;
      break;
    }
    default:
      break;
  }
}

int VantorClient::putByte(int at, int value) {
  sendBuffer_[at] = static_cast<char>(value);
  return at + 1;
}

int VantorClient::putInt(int at, int value) {
  auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) sendBuffer_[at + i] = static_cast<char>(v >> (8 * i) & 0xFF);
  return at + 4;
}

int VantorClient::putText(int at, const char* text, int limit) {
  int n = 0;
  if (text != nullptr) {
    while (n < limit && text[n] != '\0') ++n;
    std::memcpy(sendBuffer_.data() + at, text, n);
  }
  sendBuffer_[at + n] = '\0';
  return at + n + 1;
}

void VantorClient::sendFrame(int payloadLength) {
  if (out_ == nullptr) return;
  sendBuffer_[0] = static_cast<char>(payloadLength & 0xFF);
  sendBuffer_[1] = static_cast<char>(payloadLength >> 8 & 0xFF);
  try {
    out_->write(sendBuffer_.data(), payloadLength + 2);
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

void VantorClient::sendCodeOnly(int code) {
  putByte(2, code);
  sendFrame(1);
}

void VantorClient::sendWithGameId(int code, int gameId) {
  int end = putInt(putByte(2, code), gameId);
  sendFrame(end - 2);
}

void VantorClient::setNick(const char* nick) {
  int end = putText(putByte(2, request::kSetNick), nick, kMaxSentNick);
  sendFrame(end - 2);
}

void VantorClient::getPlayerList() {
  sendCodeOnly(request::kGetPlayerList);
}

void VantorClient::askGame(const char* nick, VantorGameOptions options) {
  int at = putByte(2, request::kAskGame);
  at = putByte(at, options.getColourChoice());
  at = putByte(at, options.getSpectatorsAllowed() ? 1 : 0);
  int end = putText(at, nick, kMaxInvitedNick);
  sendFrame(end - 2);
}

void VantorClient::acceptGame(int gameId) {
  sendWithGameId(request::kAcceptGame, gameId);
}

void VantorClient::sendMessage(const char* text, const char* destination) {
  int at = putText(putByte(2, request::kSendMessage), destination, kMaxMessagePart);
  int end = putText(at, text, kMaxMessagePart);
  sendFrame(end - 2);
}

void VantorClient::getBoard(VantorClientGame* game) {
  if (game != nullptr) sendWithGameId(request::kGetBoard, game->getId());
}

void VantorClient::refuseGame(int gameId) {
  sendWithGameId(request::kRefuseGame, gameId);
}

void VantorClient::playMove(int gameId, int x, int y) {
  int at = putInt(putByte(2, request::kPlayMove), gameId);
  at = putByte(at, x);
  int end = putByte(at, y);
  sendFrame(end - 2);
}

void VantorClient::whoAmI() {
  sendCodeOnly(request::kWhoAmIRequest);
}

void VantorClient::getGameList() {
  sendCodeOnly(request::kGetGameList);
}

void VantorClient::spectate(int gameId) {
  sendWithGameId(request::kSpectate, gameId);
}

void VantorClient::abortGame(int gameId) {
  sendWithGameId(request::kAbortGame, gameId);
}

void VantorClient::getPlayerInfo(const char* nick) {
  int end = putText(putByte(2, request::kGetPlayerInfo), nick, kMaxSentNick);
  sendFrame(end - 2);
}

void VantorClient::sendVersion() {
  int at = putByte(2, request::kVersion);
  at = putByte(at, 2);
  int end = putByte(at, 0);
  sendFrame(end - 2);
}
