#include "server/VantorServerFactory.h"

#include "bots/VantorBotRoster.h"
#include "bots/VantorServerBot.h"
#include "ios/IosSystemStreamSelect.h"
#include "server/VantorServer.h"

VantorServerFactory::VantorServerFactory()
    : server_(new VantorServer()), bots_(createBotRoster(server_)) {}

VantorServerFactory::~VantorServerFactory() {
  for (VantorServerBot* bot : bots_) delete bot;
  delete server_;
}

void VantorServerFactory::newConnection(TaggedSocket* s) {
  VantorEmbeddedConnection* connection = new VantorEmbeddedConnection(s, server_);
  s->setUserData(connection);
  if (connection->isRegistered()) return;
  // Out of the wait set first, so that nothing calls into the connection
  // once it is gone.
  if (s->getSelect() != nullptr) s->getSelect()->remove(s);
  connection->disconnected();
  delete connection;
}
