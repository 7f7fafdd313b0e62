#include "server/VantorServer.h"

#include <cstdio>
#include <cstring>

#include "bots/VantorPlayer.h"
#include "bots/VantorServerBot.h"
#include "ios/Exception.h"
#include "ios/IosVector.h"
#include "ios/IosWakeUp.h"
#include "ios/Platform.h"
#include "server/VantorServerGame.h"
#include "wire/VantorWire.h"

namespace {

// Holds the lobby for one operation. The messages an operation queues for
// connections may have to wake the server's thread; that wake-up is held
// back until the lock is released, so that no system call happens under it.
class LobbyGuard {
 public:
  explicit LobbyGuard(IosRecursiveLock& lock) : hold_(lock) {}

 private:
  IosWakeUp::DeferScope defer_;
  IosRecursiveLockGuard hold_;
};

double logTime() {
  return platform::tickCount() * 0.001;
}

// Any stable number of a live player serves as its identity in the log.
int logIdentity(const VantorPlayer* player) {
  return static_cast<int>(player->getId());
}

}  // namespace

VantorServer::VantorServer()
    : players_(new IosVector()),
      games_(new IosVector()),
      lobbyLock_(new IosRecursiveLock()),
      maxPlayers_(kMaxPlayers),
      privateTextLogged_(true),
      administrator_(new VantorPlayer(std::string("Administrator"))) {}

VantorServer::~VantorServer() {
  delete players_;
  delete games_;
  delete lobbyLock_;
  delete administrator_;
}

void VantorServer::setMaxPlayers(int count) {
  LobbyGuard guard(*lobbyLock_);
  maxPlayers_ = count < kMaxPlayers ? count : kMaxPlayers;
}

void VantorServer::setPrivateTextLogged(bool logged) {
  LobbyGuard guard(*lobbyLock_);
  privateTextLogged_ = logged;
}

void VantorServer::lock() {
  lobbyLock_->lock();
}

void VantorServer::unlock() {
  lobbyLock_->unlock();
}

bool VantorServer::isListedPlayer(const VantorPlayer* player) const {
  for (int i = 0; i < players_->size(); ++i) {
    if (players_->get(i) == player) return true;
  }
  return false;
}

int VantorServer::indexOfGame(const VantorServerGame* game) const {
  for (int i = 0; i < games_->size(); ++i) {
    if (games_->get(i) == game) return i;
  }
  return -1;
}

void VantorServer::removeGame(VantorServerGame* game) {
  games_->remove(game);
  delete game;
}

void VantorServer::notifyPlayerListChangedToAll() {
  // Sizes are re-read on every step: a recipient may call back into the lobby.
  for (int i = 0; i < players_->size(); ++i) {
    static_cast<VantorPlayer*>(players_->get(i))->notifyPlayerListChanged();
  }
}

void VantorServer::notifyGameListChangedToAll() {
  for (int i = 0; i < players_->size(); ++i) {
    static_cast<VantorPlayer*>(players_->get(i))->notifyGameListChanged();
  }
}

void VantorServer::registerPlayer(VantorPlayer* player) {
  LobbyGuard guard(*lobbyLock_);
  if (player == nullptr) {
    std::fprintf(stderr, "ERROR : Registered Player is invalid\n");
    return;
  }
  if (players_->size() < maxPlayers_ && !isListedPlayer(player)) {
    players_->add(player);
    player->markRegistered();
    notifyPlayerListChangedToAll();
  }
  std::fprintf(stderr, "%f/+++/%d\n", logTime(), logIdentity(player));
}

void VantorServer::unregisterPlayer(VantorPlayer* player) {
  if (player == nullptr) return;
  LobbyGuard guard(*lobbyLock_);
  std::fprintf(stderr, "%f/---/%d/%s\n", logTime(), logIdentity(player), player->getName().c_str());
  // Off the lists first: the player that leaves hears nothing of the games
  // it abandons, not even as a spectator of one of them.
  players_->remove(player);
  for (int i = 0; i < games_->size(); ++i) {
    static_cast<VantorServerGame*>(games_->get(i))->removeSpectator(player);
  }
  for (int i = 0; i < games_->size();) {
    VantorServerGame* game = static_cast<VantorServerGame*>(games_->get(i));
    if (game->hasPlayer(player)) {
      game->markPlayerLeft(player);
      int before = games_->size();
      abortGameRequest(player, game->getId());
      // The next game has moved into this place when this one was removed.
      if (games_->size() < before) continue;
    }
    ++i;
  }
  const std::string& name = player->getName();
  if (name != "Black" && name != "White") {
    try {
      notifyPlayerListChangedToAll();
    } catch (Exception* e) {
      e->print();
      delete e;
    }
  }
}

int VantorServer::getPlayerCount() {
  LobbyGuard guard(*lobbyLock_);
  return players_->size();
}

std::string VantorServer::getPlayerName(int index) {
  LobbyGuard guard(*lobbyLock_);
  if (index < 0 || index >= players_->size()) throw new Exception("Invalid player index");
  return static_cast<VantorPlayer*>(players_->get(index))->getName();
}

VantorPlayer* VantorServer::findPlayerByName(const char* nick) {
  if (nick == nullptr) return nullptr;
  LobbyGuard guard(*lobbyLock_);
  for (int i = 0; i < players_->size(); ++i) {
    VantorPlayer* player = static_cast<VantorPlayer*>(players_->get(i));
    if (player->getName() == nick) return player;
  }
  return nullptr;
}

VantorPlayer* VantorServer::findPlayerById(uint64_t id) {
  LobbyGuard guard(*lobbyLock_);
  for (int i = 0; i < players_->size(); ++i) {
    VantorPlayer* player = static_cast<VantorPlayer*>(players_->get(i));
    if (player->getId() == id) return player;
  }
  return nullptr;
}

void VantorServer::getPlayerDescription(const char* nick, std::string& out) {
  LobbyGuard guard(*lobbyLock_);
  VantorPlayer* player = findPlayerByName(nick);
  out = player != nullptr ? player->getDescription() : std::string();
}

bool VantorServer::changePlayerNickName(VantorPlayer* player, const std::string& nick) {
  LobbyGuard guard(*lobbyLock_);
  if (player == nullptr) {
    std::fprintf(stderr, "ERROR : target invalid in changePlayerNickName\n");
    return false;
  }
  player->setName(nick.substr(0, kMaxNickLength));
  notifyPlayerListChangedToAll();
  std::fprintf(stderr, "%f/REN/%d/Renaming to %s\n", logTime(), logIdentity(player),
               player->getName().c_str());
  return true;
}

int VantorServer::getGameCount() {
  LobbyGuard guard(*lobbyLock_);
  return games_->size();
}

VantorServerGame* VantorServer::getGame(int index) {
  LobbyGuard guard(*lobbyLock_);
  if (index < 0 || index >= games_->size()) {
    std::fprintf(stderr, "ERROR : invalid game index\n");
    return nullptr;
  }
  return static_cast<VantorServerGame*>(games_->get(index));
}

VantorServerGame* VantorServer::findGameById(int id) {
  LobbyGuard guard(*lobbyLock_);
  for (int i = 0; i < games_->size(); ++i) {
    VantorServerGame* game = static_cast<VantorServerGame*>(games_->get(i));
    if (game->getId() == id) return game;
  }
  return nullptr;
}

void VantorServer::initiateGameFromXWithY(VantorPlayer* x, VantorPlayer* y, int8_t colour,
                                          bool allowSpectators) {
  LobbyGuard guard(*lobbyLock_);
  if (x == nullptr || y == nullptr) {
    std::fprintf(stderr, "ERROR in initiateGameFromXWithY\n");
    return;
  }
  if (!hasRoomForGame(x, y)) return;
  VantorServerGame* game = colour == 0 ? new VantorServerGame(x, y) : new VantorServerGame(y, x);
  game->setAllowSpectators(allowSpectators);
  game->setColourChoice(colour);
  games_->add(game);
  // A computer player accepts from inside this call, on this thread.
  y->notifyAskGame(x, game);
  notifyGameListChangedToAll();
  std::fprintf(stderr, "%f/ASK/%d/%d/%s asks %s\n", logTime(), logIdentity(x), logIdentity(y),
               x->getName().c_str(), y->getName().c_str());
}

int VantorServer::placesHeld(const VantorPlayer* player) const {
  int places = 0;
  for (int i = 0; i < games_->size(); ++i) {
    const VantorServerGame* game = static_cast<VantorServerGame*>(games_->get(i));
    places += (game->getPlayer(1) == player) + (game->getPlayer(2) == player);
  }
  return places;
}

bool VantorServer::hasRoomForGame(VantorPlayer* x, VantorPlayer* y) const {
  // Computer players are left out: they accept every invitation, so one
  // client could otherwise keep everybody else from playing them.
  for (VantorPlayer* player : {x, y}) {
    if (dynamic_cast<VantorServerBot*>(player) != nullptr) continue;
    const int wanted = x == y ? 2 : 1;
    if (placesHeld(player) + wanted > kMaxGamesPerPlayer) {
      std::fprintf(stderr, "ERROR in initiateGameFromXWithY: %s has %d games already\n",
                   player->getName().c_str(), kMaxGamesPerPlayer);
      return false;
    }
  }
  if (games_->size() >= kMaxGames) {
    std::fprintf(stderr, "ERROR in initiateGameFromXWithY: the server holds %d games already\n",
                 kMaxGames);
    return false;
  }
  return true;
}

void VantorServer::acceptGame(VantorPlayer* player, VantorServerGame* game) {
  LobbyGuard guard(*lobbyLock_);
  if (player == nullptr || game == nullptr) {
    std::fprintf(stderr, "ERROR in acceptGame\n");
    return;
  }
  // A game pointer kept since an earlier call may name a game removed
  // meanwhile; it is only compared until it is known to be listed.
  if (indexOfGame(game) < 0) {
    std::fprintf(stderr, "ERROR in acceptGame\n");
    return;
  }
  if (!game->hasPlayer(player) || game->isStarted()) {
    std::fprintf(stderr, "ERROR in acceptGame (bis)\n");
    return;
  }
  game->setStarted(true);
  int id = game->getId();
  VantorGameEvent started{0, 0, game, GameStarted, id, game};
  game->getPlayer(1)->notifyGameEvent(started);
  game->getPlayer(2)->notifyGameEvent(started);
  VantorGameEvent turn{0, 0, game, YourTurn, id, game};
  game->getPlayerToMove()->notifyGameEvent(turn);
  notifyGameListChangedToAll();
}

void VantorServer::refuseGame(VantorPlayer* player, VantorServerGame* game) {
  LobbyGuard guard(*lobbyLock_);
  if (player == nullptr || game == nullptr || indexOfGame(game) < 0) {
    std::fprintf(stderr, "ERROR in refuseGame\n");
    return;
  }
  if (!game->hasPlayer(player) || game->isStarted()) return;
  VantorPlayer* other = game->getPlayer(1) != player ? game->getPlayer(1) : game->getPlayer(2);
  removeGame(game);
  other->notifyRefuseGame(player);
  notifyGameListChangedToAll();
}

bool VantorServer::abortGameRequest(VantorPlayer* player, int gameId) {
  LobbyGuard guard(*lobbyLock_);
  VantorServerGame* game = findGameById(gameId);
  notifyGameListChangedToAll();
  if (game == nullptr) {
    std::fprintf(stderr, "ERROR : abortGameRequest\n");
    return false;
  }
  if (player == nullptr || !game->hasPlayer(player)) return false;
  removeGame(game);
  return true;
}

void VantorServer::playMove(int gameId, VantorPlayer* player, int8_t x, int8_t y) {
  LobbyGuard guard(*lobbyLock_);
  VantorServerGame* game = findGameById(gameId);
  if (game != nullptr) game->submitMove(player, x, y);
}

bool VantorServer::initiateSpectateMode(int gameId, VantorPlayer* player) {
  LobbyGuard guard(*lobbyLock_);
  VantorServerGame* game = findGameById(gameId);
  if (game == nullptr) {
    std::fprintf(stderr, "ERROR : initiateSpectateMode\n");
    return false;
  }
  return game->addSpectator(player);
}

void VantorServer::broadcastMessage(VantorPlayer* from, const char* text) {
  LobbyGuard guard(*lobbyLock_);
  if (from == nullptr) {
    std::fprintf(stderr, "ERROR : Invalid broadcast message sender.\n");
    return;
  }
  if (text == nullptr) return;
  for (int i = 0; i < players_->size(); ++i) {
    static_cast<VantorPlayer*>(players_->get(i))->notifyMessage(from, text, true);
  }
}

void VantorServer::sendMessage(VantorPlayer* from, VantorPlayer* to, const char* text) {
  LobbyGuard guard(*lobbyLock_);
  if (text == nullptr) text = "";
  std::fprintf(stderr, "%p message to %p: %s\n", static_cast<void*>(from), static_cast<void*>(to),
               privateTextLogged_ ? text : "(not logged)");
  // Only a registered player is told; a pointer to one that left is never
  // followed.
  if (to == nullptr || !isListedPlayer(to)) {
    std::fprintf(stderr, "dest not exists (TODO : envoyer un message au client)\n");
    return;
  }
  to->notifyMessage(from, text, false);
}

void VantorServer::sendMessageToId(VantorPlayer* from, uint64_t toId, const char* text) {
  LobbyGuard guard(*lobbyLock_);
  sendMessage(from, findPlayerById(toId), text);
}

void VantorServer::sendAdminMessage(VantorPlayer* to, const char* text) {
  sendMessage(administrator_, to, text);
}

// The worst game list: every game listed with two names of the longest kind.
static_assert(1 + VantorServer::kMaxGames * (4 + 2 * (VantorServer::kMaxNickLength + 1)) <=
                  static_cast<size_t>(kMaxGameListPayload),
              "the longest game list must fit one S19 frame");
