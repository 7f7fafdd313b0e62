#include "server/VantorServerFactory.h"

#include "bots/VantorBotRoster.h"
#include "bots/VantorServerBot.h"
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
  // The full lobby's answer: the version request, then the end.
  if (!connection->isRegistered()) s->endAfterSending();
}
