// The whole server over TCP while clients come and go in the middle of its
// writes, and computer players play and chat with them from their threads:
// everyone who left is gone, with their games, and the server goes on.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ios/Exception.h"
#include "server/VantorServer.h"
#include "tests/ios/TestSupport.h"
#include "tests/server/ProtocolClient.h"
#include "tests/server/ServerUnderTest.h"

namespace {

using Clock = std::chrono::steady_clock;

// While it lives, the standard error stream (the FILE, not the descriptor
// the sanitizer writes to) goes to /dev/null, however the test ends.
struct QuietStderr {
  QuietStderr() {
    if (quiet != nullptr) stderr = quiet;
  }
  ~QuietStderr() {
    stderr = real;
    if (quiet != nullptr) std::fclose(quiet);
  }
  std::FILE* const real = stderr;
  std::FILE* const quiet = std::fopen("/dev/null", "w");
};

}  // namespace

TEST(ServerStress, ClientsLeavingWhileTheServerWritesToThemLeaveItServing) {
  QuietStderr quiet;
  ASSERT_NE(quiet.quiet, nullptr);
  {
    ServerUnderTest server(2, 5);
    const char* bots[] = {"Pee[Bot]", "Chicken[Bot]", "Britney[Bot]"};
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(2500);
    std::atomic<int> visits{0};
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < 4; ++w) {
      workers.emplace_back([&, w] {
        std::mt19937 random(7 + w);
        while (Clock::now() < deadline) {
          // Names itself, invites a computer player, chats to everyone and
          // privately, asks for the lists; then reads some or nothing and
          // leaves while the answers, the broadcasts and its games' news are
          // still being written.
          std::string burst = frame(msg(1, cstr("w" + std::to_string(w))));
          for (int i = 0; i < 4; ++i) {
            burst += frame(
                msg(4, bytes({static_cast<int>(random() % 2), 1}) + cstr(bots[random() % 3])));
            burst += frame(msg(6, cstr("") + cstr(std::string(random() % 900, 'x'))));
            burst += frame(msg(6, cstr(bots[random() % 3]) + cstr("hi")));
            burst += frame(msg(3)) + frame(msg(19));
          }
          try {
            ProtocolClient client(server.port());
            client.sendRaw(burst);
            if (random() % 2 == 0) client.drain(static_cast<int>(random() % 5));
            ++visits;
          } catch (Exception* e) {
            delete e;
          }
        }
      });
    }
    for (std::thread& t : workers) t.join();
    EXPECT_GT(visits.load(), 20);

    // Everyone who came has gone, with their games, and a newcomer is served.
    VantorServer* lobby = server.factory().getServer();
    EXPECT_TRUE(eventually([&] { return lobby->getPlayerCount() == 7; }));
    EXPECT_TRUE(eventually([&] { return lobby->getGameCount() == 0; }));
    ProtocolClient::join(server.port(), "last");  // which checks what it is told
  }
}
