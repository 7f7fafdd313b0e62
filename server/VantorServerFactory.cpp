#include "server/VantorServerFactory.h"

#include <cstdio>

#include "bots/VantorBotRoster.h"
#include "bots/VantorServerBot.h"
#include "ios/IosSystemStreamSelect.h"
#include "server/VantorServer.h"

VantorServerFactory::VantorServerFactory(const VantorServerLimits& limits)
    : server_(new VantorServer()), limits_(limits) {
  if (limits_.enabled) {
    server_->setMaxPlayers(limits_.maxPlayers);
    server_->setPrivateTextLogged(limits_.logPrivateText);
  }
  bots_ = createBotRoster(server_);
}

VantorServerFactory::~VantorServerFactory() {
  for (VantorServerBot* bot : bots_) delete bot;
  delete server_;
}

void VantorServerFactory::newConnection(TaggedSocket* s) {
  std::string address;
  if (limits_.enabled) {
    address = s->getPeerAddress();
    if (connectionsFrom_[address] >= limits_.maxPerAddress) {
      std::fprintf(stderr, "Connection from %s refused: %d connections from that address already\n",
                   address.c_str(), limits_.maxPerAddress);
      // Out of the wait set before it goes, so that nothing calls into it.
      if (s->getSelect() != nullptr) s->getSelect()->remove(s);
      delete s;
      return;
    }
    ++connectionsFrom_[address];
    addressOf_[s] = address;
  }
  VantorEmbeddedConnection* connection = new VantorEmbeddedConnection(s, server_);
  s->setUserData(connection);
  if (connection->isRegistered()) {
    if (limits_.enabled) {
      connection->setChatLimit(limits_.chatMessages, VantorServerLimits::kChatWindowSeconds);
    }
    return;
  }
  if (limits_.enabled) {
    std::fprintf(stderr, "Connection from %s refused: the server holds %d players\n",
                 address.c_str(), server_->getPlayerCount());
  }
  // The full lobby's answer: the version request, then the end.
  s->endAfterSending();
}

void VantorServerFactory::connectionClosed(TaggedSocket* s) {
  auto found = addressOf_.find(s);
  if (found != addressOf_.end()) {
    if (--connectionsFrom_[found->second] <= 0) connectionsFrom_.erase(found->second);
    addressOf_.erase(found);
  }
  IosServerStandardFactory<VantorEmbeddedConnection>::connectionClosed(s);
}
