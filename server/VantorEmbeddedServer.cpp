#include "server/VantorEmbeddedServer.h"

#include <cstdio>
#include <cstring>

#include "ios/Exception.h"
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
  VantorServerFactory* factory = new VantorServerFactory();
  IosSelectServer* server = listen(factory);
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

IosSelectServer* VantorEmbeddedServer::listen(VantorServerFactory* factory) {
  for (int port = firstPort_;; ++port) {
    try {
      IosSelectServer* server = new IosSelectServer(localOnly_, port, factory);
      IosLockGuard guard(lock_);
      if (stopping_) {
        delete server;
        return nullptr;
      }
      server_ = server;
      return server;
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
