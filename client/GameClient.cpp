#include "client/GameClient.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>

#include "client/VantorAskGameEvent.h"
#include "client/VantorClientDidGetMessageEvent.h"
#include "client/VantorClientGameEvent.h"
#include "client/VantorNonAckNickEvent.h"
#include "client/VantorRefuseGameEvent.h"
#include "client/VantorRefuseSpectateEvent.h"
#include "client/VantorText.h"
#include "client/VantorUpdateGameListEvent.h"
#include "client/VantorUpdateListEvent.h"
#include "client/VantorWhoAmIEvent.h"
#include "ios/CrashReporter.h"
#include "ios/Exception.h"

namespace vgl {

namespace {

// Invitations remembered at once, and withdrawn games whose start is still
// watched for; older ones are forgotten.
constexpr size_t kInvitationLimit = 8;
constexpr size_t kWithdrawnLimit = 16;

bool contains(const std::vector<int>& ids, int id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

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

GameClient::GameClient(int colour, GameClientListener* listener, const char* host, int port,
                       int timeoutMilliseconds)
    : VantorClient(host, port, timeoutMilliseconds),
      colour_(colour),
      listener_(listener),
      ready_(false),
      lost_(false),
      destroyed_(nullptr) {}

GameClient::GameClient(int colour, GameClientListener* listener, Socket* connected)
    : VantorClient(connected),
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
  const std::string me = getNickName();
  const std::string invitee = nick != nullptr ? nick : "";
  Invitation invitation{invitee, me, invitee, {}, -1, false};
  if (inviterColour != -1) std::swap(invitation.black, invitation.white);
  for (const GameEntry& entry : gameList_) invitation.listedBefore.push_back(entry.gameId);
  invitations_.push_back(invitation);
  if (invitations_.size() > kInvitationLimit) invitations_.pop_front();

  VantorGameOptions options;
  options.setColourChoice(inviterColour == -1 ? 0 : 1);
  options.setSpectatorsAllowed(true);
  askGame(nick, options);
}

void GameClient::playAt(int gameId, int row, int column) {
  playMove(gameId, column + 1, row + 1);
}

void GameClient::withdrawInvitation() {
  for (auto it = invitations_.rbegin(); it != invitations_.rend(); ++it) {
    if (it->withdrawn) continue;
    it->withdrawn = true;
    followInvitations();
    return;
  }
}

int GameClient::lastInvitationId() const {
  return invitations_.empty() ? -1 : invitations_.back().gameId;
}

bool GameClient::isWithdrawn(int gameId) const {
  return std::find(withdrawnIds_.begin(), withdrawnIds_.end(), gameId) != withdrawnIds_.end();
}

void GameClient::followInvitations() {
  std::vector<int> listed, claimed;
  for (const GameEntry& entry : gameList_) listed.push_back(entry.gameId);
  for (const Invitation& invitation : invitations_) {
    if (invitation.gameId >= 0) claimed.push_back(invitation.gameId);
  }
  // The server lists games in the order of their creation, and so the
  // invitations of the same two players in the order they were sent.
  for (Invitation& invitation : invitations_) {
    if (invitation.gameId >= 0) continue;
    for (const GameEntry& entry : gameList_) {
      if (entry.firstName != invitation.black || entry.secondName != invitation.white ||
          contains(invitation.listedBefore, entry.gameId) || contains(claimed, entry.gameId)) {
        continue;
      }
      invitation.gameId = entry.gameId;
      claimed.push_back(entry.gameId);
      break;
    }
  }
  for (auto it = invitations_.begin(); it != invitations_.end();) {
    if (it->gameId >= 0 && it->withdrawn) {
      abortGame(it->gameId);
      withdrawnIds_.push_back(it->gameId);
      if (withdrawnIds_.size() > kWithdrawnLimit) withdrawnIds_.pop_front();
      it = invitations_.erase(it);
    } else if (it->gameId >= 0 && !contains(listed, it->gameId)) {
      it = invitations_.erase(it);  // refused, or its invitee has left
    } else {
      ++it;
    }
  }
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

  // The socket layer's failures are the connection's end; anything else is
  // a fault of the program.
  bool connectionFailed = false;
  std::string why;
  std::string failure;
  try {
    receive();
  } catch (Exception* e) {
    connectionFailed = true;
    why = e->getMessage();
    delete e;
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

  if (!connectionFailed && failure.empty()) return;
  const bool opened = hasOpened();
  if (connectionFailed) {
    std::fprintf(stderr, "GameClient: %s: %s\n", opened ? "connection lost" : "cannot connect",
                 why.c_str());
  } else {
    showCrashMessage(failure);
  }
  lost_ = true;
  disconnect();
  if (opened) {
    listener_->connectionLost(colour_);
  } else {
    listener_->connectionFailed(colour_);
  }
}

void GameClient::dispatch(VantorClientEvent* e) {
  switch (e->type()) {
    case kUpdateListEvent:
      takePlayerList(*static_cast<VantorUpdateListEvent*>(e));
      break;
    case kUpdateGameListEvent:
      takeGameList(*static_cast<VantorUpdateGameListEvent*>(e));
      break;
    case kAskGameEvent: {
      auto* ask = static_cast<VantorAskGameEvent*>(e);
      listener_->gameProposed(colour_, ask->getName(), ask->getGameId(), ask->getColour());
      break;
    }
    case kRefuseGameEvent:
      takeRefusal(static_cast<VantorRefuseGameEvent*>(e)->getName());
      break;
    case kClientGameEvent:
      dispatchGameEvent(*static_cast<VantorClientGameEvent*>(e));
      break;
    case kWhoAmIEvent:
      myName_ = widenText(static_cast<VantorWhoAmIEvent*>(e)->getNick());
      checkReady();
      break;
    case kNonAckNickEvent:
      listener_->nickRefused(colour_, static_cast<VantorNonAckNickEvent*>(e)->getText());
      break;
    case kDidGetMessageEvent: {
      auto* chat = static_cast<VantorClientDidGetMessageEvent*>(e);
      listener_->messageReceived(colour_, chat->getSender(), chat->getText(),
                                 chat->getBroadcast() != 0);
      break;
    }
    case kRefuseSpectateEvent:
      listener_->spectateRefused(colour_, static_cast<VantorRefuseSpectateEvent*>(e)->getGameId());
      break;
    default:
      // List changes and player information are not shown by this front end.
      break;
  }
}

void GameClient::takePlayerList(const VantorUpdateListEvent& list) {
  playerNames_.clear();
  for (int i = 0; i < list.count(); ++i) playerNames_.push_back(list.getName(i));
  listener_->playerListChanged(colour_);
  if (destroyed_ != nullptr && *destroyed_) return;
  checkReady();
}

void GameClient::takeGameList(const VantorUpdateGameListEvent& list) {
  gameList_.clear();
  for (int i = 0; i < list.count(); ++i) {
    const VantorGameListEntry* entry = list.get(i);
    gameList_.push_back({entry->getGameId(), entry->getFirstName(), entry->getSecondName()});
  }
  followInvitations();
  listener_->gameListChanged(colour_);
}

void GameClient::takeRefusal(const std::string& name) {
  invitations_.erase(std::remove_if(invitations_.begin(), invitations_.end(),
                                    [&](const Invitation& i) { return i.invitee == name; }),
                     invitations_.end());
  listener_->gameRefused(colour_, name.c_str());
}

void GameClient::dispatchGameEvent(const VantorClientGameEvent& e) {
  if (e.getGame() == nullptr) return;
  switch (e.getKind()) {
    case kGameStarted:
      startGame(e.getGame());
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
}

void GameClient::startGame(VantorClientGame* game) {
  const int id = game->getId();
  invitations_.erase(std::remove_if(invitations_.begin(), invitations_.end(),
                                    [id](const Invitation& i) { return i.gameId == id; }),
                     invitations_.end());
  if (isWithdrawn(id)) {
    // Accepted before the withdrawal reached the server.
    abortGame(id);
    delete game;
    return;
  }
  listener_->gameStarted(colour_, game);
}

void GameClient::checkReady() {
  if (ready_ || myName_.empty() || playerNames_.empty()) return;
  ready_ = true;
  listener_->clientReady(colour_);
}

}  // namespace vgl
