#include "server/VantorEmbeddedServer.h"

#include <cstdio>
#include <cstring>

#include "ios/Exception.h"
#include "ios/IosListeningPort.h"
#include "ios/IosSelectServer.h"
#include "server/VantorServerFactory.h"

namespace {

constexpr const char* kStatusText = "Error occured in embedded server.";

}  // namespace

VantorEmbeddedServer::VantorEmbeddedServer(char* status, bool localOnly, int firstPort)
    : server_(nullptr),
      port_(0),
      status_(status),
      localOnly_(localOnly),
      firstPort_(firstPort),
      gaveUp_(false),
      stopping_(false) {}

VantorEmbeddedServer::VantorEmbeddedServer(char* status, const std::vector<Address>& addresses,
                                           const VantorServerLimits& limits)
    : VantorEmbeddedServer(status, false, 0) {
  addresses_ = addresses;
  limits_ = limits;
}

VantorEmbeddedServer::~VantorEmbeddedServer() {
  if (!isRunning()) return;
  {
    IosLockGuard guard(lock_);
    stopping_ = true;
    if (server_ != nullptr) server_->stop();
  }
  try {
    join();
  } catch (Exception* e) {
    // The thread ended by itself meanwhile.
    delete e;
  }
}

void VantorEmbeddedServer::reportSwitch(int nextPort) {
  std::printf("Exception trown while running embedded server, switching to port %d\n", nextPort);
  std::fflush(stdout);
}

void VantorEmbeddedServer::run() {
  // The lobby and its computer players live through every change of port.
  // Given addresses are bound before the lobby exists, so that one that
  // cannot be bound fails before anything else happens.
  std::vector<IosListeningPort*> bound;
  IosSelectServer* server = addresses_.empty() ? nullptr : listenOnAddresses(&bound);
  VantorServerFactory* factory = nullptr;
  if (addresses_.empty() || server != nullptr) factory = new VantorServerFactory(limits_);
  for (IosListeningPort* record : bound) record->setFactory(factory);
  if (addresses_.empty()) server = listen(factory);
  if (server != nullptr) {
    port_ = server->getFirstPort();
    std::printf("server launched on port %d\n", port_.load());
    std::fflush(stdout);
    // Errors while serving are the loop's to report; only a failed wait
    // comes out here, and no other port would cure it.
    try {
      server->run();
    } catch (Exception* e) {
      e->print();
      delete e;
      std::fprintf(stderr, "Embedded server stopped: waiting for clients failed\n");
      gaveUp_ = true;
    }
  }
  {
    IosLockGuard guard(lock_);
    server_ = nullptr;
  }
  // Ends the connections it still holds, while the lobby exists.
  delete server;
  port_ = 0;
  delete factory;
}

IosSelectServer* VantorEmbeddedServer::listenOnAddresses(std::vector<IosListeningPort*>* bound) {
  IosSelectServer* server = new IosSelectServer();
  for (const Address& address : addresses_) {
    try {
      server->addPort(address.host, address.port, nullptr);
    } catch (Exception* e) {
      std::fprintf(stderr, "vantor: cannot listen on %s port %d: %s\n", address.host.c_str(),
                   address.port, e->getMessage());
      delete e;
      delete server;
      gaveUp_ = true;
      return nullptr;
    }
    // Port 0 asks the system for one; the record knows which.
    IosListeningPort* record = server->lastPort();
    bound->push_back(record);
    std::printf("listening on %s port %d\n", address.host.c_str(), record->getPort());
  }
  return adopt(server);
}

IosSelectServer* VantorEmbeddedServer::adopt(IosSelectServer* server) {
  IosLockGuard guard(lock_);
  if (stopping_) {
    delete server;
    return nullptr;
  }
  server_ = server;
  return server;
}

IosSelectServer* VantorEmbeddedServer::listen(VantorServerFactory* factory) {
  for (int port = firstPort_;; ++port) {
    try {
      return adopt(new IosSelectServer(localOnly_, port, factory));
    } catch (Exception* e) {
      if (port < kLastPort) reportSwitch(port + 1);
      e->print();
      delete e;
      if (status_ != nullptr) {
        std::strcpy(status_ + 1, kStatusText);
        status_[0] = 1;
      }
    }
    if (port >= kLastPort) {
      std::fprintf(stderr, "Embedded server stopped: no port from %d to %d could be used\n",
                   firstPort_, kLastPort);
      gaveUp_ = true;
      return nullptr;
    }
    IosLockGuard guard(lock_);
    if (stopping_) return nullptr;
  }
}
