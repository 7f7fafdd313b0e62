#include "client/GameClient.h"

#include <exception>
#include <memory>

#include "client/VantorAskGameEvent.h"
#include "client/VantorClientGameEvent.h"
#include "client/VantorNonAckNickEvent.h"
#include "client/VantorRefuseGameEvent.h"
#include "client/VantorText.h"
#include "client/VantorUpdateGameListEvent.h"
#include "client/VantorUpdateListEvent.h"
#include "client/VantorWhoAmIEvent.h"
#include "ios/CrashReporter.h"
#include "ios/Exception.h"

namespace vgl {

namespace {

// The crash message text for the exception being handled; deletes an
// Exception*, which the catch site owns.
std::string describeCurrentFailure() {
  try {
    throw;
  } catch (Exception* e) {
    std::string text =
        std::string("Unexpected error: ") + e->getMessage() + "\n" + e->getCallStack() + "\n";
    delete e;
    return text;
  } catch (const std::exception& e) {
    return std::string("Unexpected error: ") + e.what() + "\n" + captureCallStack() + "\n";
  } catch (...) {
    return "Unexpected error.\n" + captureCallStack() + "\n";
  }
}

}  // namespace

GameClient::GameClient(int colour, GameClientListener* listener, const char* host, int port)
    : VantorClient(host, port),
      colour_(colour),
      listener_(listener),
      ready_(false),
      lost_(false),
      destroyed_(nullptr) {}

GameClient::~GameClient() {
  if (destroyed_ != nullptr) *destroyed_ = true;
  gameList_.clear();
  playerNames_.clear();
}

void GameClient::invite(const char* nick, int inviterColour) {
  VantorGameOptions options;
  options.setColourChoice(inviterColour == -1 ? 0 : 1);
  options.setSpectatorsAllowed(true);
  askGame(nick, options);
}

void GameClient::playAt(int gameId, int row, int column) {
  playMove(gameId, column + 1, row + 1);
}

bool GameClient::isPlaying(const std::string& name) const {
  for (const GameEntry& entry : gameList_) {
    if (entry.firstName == name || entry.secondName == name) return true;
  }
  return false;
}

void GameClient::update() {
  if (lost_) return;
  bool destroyed = false;
  destroyed_ = &destroyed;

  std::string failure;
  try {
    receive();
  } catch (...) {
    failure = describeCurrentFailure();
  }

  // What arrived before a failure is still delivered. A listener's failure
  // is reported but leaves the connection as it is.
  std::string listenerFailure;
  try {
    while (VantorClientEvent* e = nextEvent()) {
      std::unique_ptr<VantorClientEvent> owned(e);
      dispatch(e);
      if (destroyed) return;
    }
  } catch (...) {
    listenerFailure = describeCurrentFailure();
  }
  if (!listenerFailure.empty()) showCrashMessage(listenerFailure);
  if (destroyed) return;
  destroyed_ = nullptr;

  if (failure.empty()) return;
  showCrashMessage(failure);
  lost_ = true;
  disconnect();
  listener_->connectionLost(colour_);
}

void GameClient::dispatch(VantorClientEvent* e) {
  switch (e->type()) {
    case kUpdateListEvent: {
      auto* list = static_cast<VantorUpdateListEvent*>(e);
      playerNames_.clear();
      for (int i = 0; i < list->count(); ++i) playerNames_.push_back(list->getName(i));
      listener_->playerListChanged(colour_);
      if (destroyed_ != nullptr && *destroyed_) return;
      checkReady();
      break;
    }
    case kUpdateGameListEvent: {
      auto* list = static_cast<VantorUpdateGameListEvent*>(e);
      gameList_.clear();
      for (int i = 0; i < list->count(); ++i) {
        const VantorGameListEntry* entry = list->get(i);
        gameList_.push_back({entry->getGameId(), entry->getFirstName(), entry->getSecondName()});
      }
      listener_->gameListChanged(colour_);
      break;
    }
    case kAskGameEvent: {
      auto* ask = static_cast<VantorAskGameEvent*>(e);
      listener_->gameProposed(colour_, ask->getName(), ask->getGameId(), ask->getColour());
      break;
    }
    case kRefuseGameEvent:
      listener_->gameRefused(colour_, static_cast<VantorRefuseGameEvent*>(e)->getName());
      break;
    case kClientGameEvent: {
      auto* gameEvent = static_cast<VantorClientGameEvent*>(e);
      if (gameEvent->getGame() == nullptr) break;
      switch (gameEvent->getKind()) {
        case kGameStarted:
          listener_->gameStarted(colour_, gameEvent->getGame());
          break;
        case kMoveRejected:
          listener_->moveRejected(colour_);
          break;
        case kGameChanged:
          listener_->gameChanged(colour_);
          break;
        case kPlayerPassed:
          listener_->playerPassed(colour_);
          break;
        case kGameOver:
          listener_->gameEnded(colour_);
          break;
        case kGameClosed:
          listener_->gameAbandoned(colour_);
          break;
        default:
          break;
      }
      break;
    }
    case kWhoAmIEvent:
      myName_ = widenText(static_cast<VantorWhoAmIEvent*>(e)->getNick());
      checkReady();
      break;
    case kNonAckNickEvent:
      listener_->nickRefused(colour_, static_cast<VantorNonAckNickEvent*>(e)->getText());
      break;
    default:
      // Refused spectating, list changes, chat and player information are
      // not shown by this front end.
      break;
  }
}

void GameClient::checkReady() {
  if (ready_ || myName_.empty() || playerNames_.empty()) return;
  ready_ = true;
  listener_->clientReady(colour_);
}

}  // namespace vgl
