#include "bots/VantorPlayer.h"

#include <atomic>

namespace {

// Serial numbers of default names; consumed by players built on a lobby only.
std::atomic<int> nameSerial{0};
// Identities of every player, whatever its kind; never reused.
std::atomic<uint64_t> playerIds{0};

}  // namespace

VantorPlayer::VantorPlayer(VantorLobby* server) : VantorPlayer(server, std::string()) {}

VantorPlayer::VantorPlayer(VantorLobby* server, const std::string& name)
    : server_(server), registered_(false), id_(++playerIds) {
  // The name is in place before the lobby lists the player, so no other
  // thread ever sees it being written.
  std::string defaultName = "Player" + std::to_string(++nameSerial);
  name_ = name.empty() ? defaultName : name;
  if (server != nullptr) server->registerPlayer(this);
}

VantorPlayer::VantorPlayer(const std::string& name)
    : server_(nullptr), name_(name), registered_(false), id_(++playerIds) {}

VantorPlayer::~VantorPlayer() {
  leaveServer();
}

void VantorPlayer::leaveServer() {
  if (server_ == nullptr) return;
  server_->unregisterPlayer(this);
  server_ = nullptr;
}

VantorLobby* VantorPlayer::getServer() {
  return server_;
}

void VantorPlayer::notifyAskGame(VantorPlayer*, VantorServerGame*) {}

void VantorPlayer::notifyRefuseGame(VantorPlayer*) {}

void VantorPlayer::notifyMessage(VantorPlayer*, const char*, bool) {}

void VantorPlayer::notifyGameEvent(const VantorGameEvent&) {}

void VantorPlayer::notifyPlayerListChanged() {}

void VantorPlayer::notifyGameListChanged() {}

std::string VantorPlayer::getDescription() {
  return "No description.";
}

void VantorPlayer::markRegistered() {
  registered_ = true;
}

bool VantorPlayer::isRegistered() {
  return registered_;
}
