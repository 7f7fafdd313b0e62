// A whole game server in the test process: the factory (lobby and the seven
// computer players) behind a select server on a free port of 127.0.0.1, run
// on a thread of its own. The computer players pause only briefly.
#ifndef VANTOR_TESTS_SERVER_SERVERUNDERTEST_H_
#define VANTOR_TESTS_SERVER_SERVERUNDERTEST_H_

#include <memory>
#include <thread>

#include "bots/VantorServerBot.h"
#include "ios/Exception.h"
#include "ios/IosSelectServer.h"
#include "server/VantorServerFactory.h"

class ServerUnderTest {
 public:
  explicit ServerUnderTest(int botMovePauseMs = 50, int botChatPauseMs = 50,
                           const VantorServerLimits& limits = VantorServerLimits())
      : factory_(new VantorServerFactory(limits)),
        server_(new IosSelectServer(true, 0, factory_.get())) {
    for (VantorServerBot* bot : factory_->getBots()) {
      bot->setPausesForTesting(botMovePauseMs, botChatPauseMs);
    }
    thread_ = std::thread([this] {
      try {
        server_->run();
      } catch (Exception* e) {
        e->print();
        delete e;
      }
    });
  }

  // Stops the loop (which ends every connection); then the members go, the
  // select server first, then the computer players and the lobby.
  ~ServerUnderTest() {
    server_->stop();
    thread_.join();
  }

  int port() { return server_->getFirstPort(); }
  VantorServerFactory& factory() { return *factory_; }

 private:
  std::unique_ptr<VantorServerFactory> factory_;
  std::unique_ptr<IosSelectServer> server_;
  std::thread thread_;
};

#endif  // VANTOR_TESTS_SERVER_SERVERUNDERTEST_H_
