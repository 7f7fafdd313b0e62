// Bots playing many games at once while people, driven by worker threads,
// join, invite, answer, play, abort, chat, watch and leave at random for a
// bounded time: nothing is lost and no game keeps a player who left. And the
// whole server over TCP while clients come and go in the middle of its writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bots/VantorDeepBlue.h"
#include "bots/VantorGrayThough.h"
#include "ios/Exception.h"
#include "server/VantorServer.h"
#include "server/VantorServerGame.h"
#include "tests/ios/TestSupport.h"
#include "tests/server/ProtocolClient.h"
#include "tests/server/RecordingPlayer.h"
#include "tests/server/ServerUnderTest.h"

namespace {

using Clock = std::chrono::steady_clock;

// While it lives, the standard error stream (the FILE, not the descriptor
// the sanitizer writes to) goes to /dev/null, however the test ends.
class QuietStderr {
 public:
  QuietStderr() : real_(stderr), quiet_(std::fopen("/dev/null", "w")) {
    if (quiet_ != nullptr) stderr = quiet_;
  }
  ~QuietStderr() {
    stderr = real_;
    if (quiet_ != nullptr) std::fclose(quiet_);
  }
  bool isQuiet() const { return quiet_ != nullptr; }

 private:
  std::FILE* real_;
  std::FILE* quiet_;
};

class LobbyStress : public testing::Test {
 protected:
  // One worker's run: its people, answering their invitations and turns
  // only when the worker comes to them.
  void work(unsigned seed, Clock::time_point deadline, std::vector<RecordingPlayer*>& mine) {
    std::mt19937 random(seed);
    auto pick = [&](size_t n) { return static_cast<int>(random() % n); };
    auto anyBot = [&] { return bots_[pick(bots_.size())]; };
    for (int serial = 0; Clock::now() < deadline;) {
      const int action = mine.empty() ? 0 : pick(12);
      RecordingPlayer* me = mine.empty() ? nullptr : mine[pick(mine.size())];
      if (action == 0 && mine.size() < 4) {
        // Built under the lobby's lock: the player is listed from its base
        // constructor on, and no other thread may notify it half-built.
        server_.lock();
        RecordingPlayer* p = new RecordingPlayer(&server_);
        server_.unlock();
        if (!p->isRegistered()) {
          delete p;
          continue;
        }
        server_.changePlayerNickName(p,
                                     "S" + std::to_string(seed) + "_" + std::to_string(serial++));
        mine.push_back(p);
      } else if (action == 1 && pick(4) == 0) {
        mine.erase(std::find(mine.begin(), mine.end(), me));
        delete me;
      } else if (action == 6 || action == 7) {
        for (const RecordingPlayer::Turn& turn : me->takeTurns()) play(me, turn, random);
      } else if (action == 9) {
        pick(2) == 0 ? server_.sendMessage(me, anyBot(), "hello")
                     : server_.broadcastMessage(me, "hello all");
      } else if (action >= 2 && action <= 10) {
        std::lock_guard<VantorServer> lock(server_);
        const int games = server_.getGameCount();
        VantorServerGame* anyGame = games > 0 ? server_.getGame(pick(games)) : nullptr;
        if (action == 2 || action == 3) {
          // Against a bot, or two bots against each other.
          invite(action == 2 ? static_cast<VantorPlayer*>(me) : anyBot(), anyBot(),
                 static_cast<int8_t>(pick(2)));
        } else if (action == 4) {
          // Another person, found by name as a connection would.
          VantorPlayer* other = server_.findPlayerByName(
              server_.getPlayerName(pick(server_.getPlayerCount())).c_str());
          if (dynamic_cast<RecordingPlayer*>(other) != nullptr && other != watcher_) {
            invite(me, other, static_cast<int8_t>(pick(2)));
          }
        } else if (action == 5) {
          for (int id : me->takeInvitations()) {
            VantorServerGame* game = server_.findGameById(id);
            if (game != nullptr && pick(4) != 0) {
              server_.acceptGame(me, game);
              noteStarted(id);
            } else if (game != nullptr) {
              server_.refuseGame(me, game);
            }
          }
        } else if (action == 8 && anyGame != nullptr) {
          // By one of its players or, most often, by anybody.
          server_.abortGameRequest(pick(3) == 0 ? anyGame->getPlayer(1 + pick(2)) : me,
                                   anyGame->getId());
        } else if (action == 10 && anyGame != nullptr) {
          server_.initiateSpectateMode(anyGame->getId(), me);
        }
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }
  }

  // A random legal move for the turn, or now and then one off the board.
  void play(RecordingPlayer* me, const RecordingPlayer::Turn& turn, std::mt19937& random) {
    std::vector<std::pair<int, int>> legal;
    for (int n = 0; n < 64; ++n) {
      if (turn.position.canPlay(n % 8 + 1, n / 8 + 1)) legal.push_back({n % 8 + 1, n / 8 + 1});
    }
    const bool bad = legal.empty() || random() % 10 == 0;
    const std::pair<int, int> move = bad ? std::make_pair(9, 0) : legal[random() % legal.size()];
    server_.playMove(turn.gameId, me, static_cast<int8_t>(move.first),
                     static_cast<int8_t>(move.second));
    moves_ += !bad;
  }

  // Under the lobby's lock: x invites y; the watcher watches the game.
  void invite(VantorPlayer* x, VantorPlayer* y, int8_t colour) {
    server_.initiateGameFromXWithY(x, y, colour, true);
    VantorServerGame* game = server_.getGame(server_.getGameCount() - 1);
    server_.initiateSpectateMode(game->getId(), watcher_);
    if (game->isStarted()) noteStarted(game->getId());
  }
  void noteStarted(int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    started_.insert(id);
  }

  VantorServer server_;
  std::vector<VantorServerBot*> bots_;
  RecordingPlayer* watcher_ = nullptr;
  std::mutex mutex_;
  std::set<int> started_;
  std::atomic<int> moves_{0};
};

}  // namespace

TEST_F(LobbyStress, BotsAndPeopleComingAndGoingLoseNothing) {
  // The lobby's log of thousands of requests is kept out of the test
  // output; the sanitizer's reports, written to the descriptor, are not.
  QuietStderr quiet;
  ASSERT_TRUE(quiet.isQuiet());
  bots_ = {new VantorDeepBlue(&server_, 1), new VantorDeepBlue(&server_, 3),
           new VantorGrayThough(&server_, 1), new VantorGrayThough(&server_, 3)};
  for (VantorServerBot* bot : bots_) bot->setPausesForTesting(2, 5);
  watcher_ = new RecordingPlayer(&server_);

  std::vector<std::vector<RecordingPlayer*>> people(3);
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(2500);
  std::vector<std::thread> workers;
  for (unsigned w = 0; w < people.size(); ++w) {
    workers.emplace_back([&, w] { work(101 + w, deadline, people[w]); });
  }
  for (std::thread& t : workers) t.join();

  // Every player still registered can be found, by name and by id, and
  // every player of a game or watching one is registered.
  std::vector<VantorPlayer*> registered(bots_.begin(), bots_.end());
  for (const auto& mine : people) registered.insert(registered.end(), mine.begin(), mine.end());
  for (VantorPlayer* p : registered) {
    EXPECT_EQ(server_.findPlayerByName(p->getName().c_str()), p);
    EXPECT_EQ(server_.findPlayerById(p->getId()), p);
  }
  EXPECT_EQ(server_.getPlayerCount(), static_cast<int>(registered.size()) + 1);
  server_.lock();
  for (int i = 0; i < server_.getGameCount(); ++i) {
    VantorServerGame* game = server_.getGame(i);
    std::vector<VantorPlayer*> in = {game->getPlayer(1), game->getPlayer(2)};
    for (int k = 0; k < game->getSpectatorCount(); ++k) in.push_back(game->getSpectator(k));
    for (VantorPlayer* p : in) EXPECT_NE(server_.findPlayerById(p->getId()), nullptr);
  }
  server_.unlock();

  // Everyone leaves, which closes the games of people; the games between
  // bots go on to their end by themselves.
  for (const auto& mine : people) {
    for (RecordingPlayer* p : mine) delete p;
  }
  const Clock::time_point limit = Clock::now() + std::chrono::seconds(60);
  int unfinished = 0;
  do {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::lock_guard<VantorServer> lock(server_);
    unfinished = 0;
    for (int i = 0; i < server_.getGameCount(); ++i)
      unfinished += server_.getGame(i)->checkPass() != 2;
  } while (unfinished > 0 && Clock::now() < limit);
  EXPECT_EQ(unfinished, 0);
  server_.lock();
  while (server_.getGameCount() > 0) {
    server_.abortGameRequest(server_.getGame(0)->getPlayer(1), server_.getGame(0)->getId());
  }
  server_.unlock();
  for (VantorServerBot* bot : bots_) delete bot;

  // Every game that started either ended or was closed.
  for (int id : started_) {
    EXPECT_TRUE(watcher_->waitFor("over " + std::to_string(id), 0) ||
                watcher_->waitFor("closed " + std::to_string(id), 0))
        << id;
  }
  EXPECT_GT(started_.size(), 20u);
  EXPECT_GT(moves_.load(), 0);
  delete watcher_;
  EXPECT_EQ(server_.getPlayerCount(), 0);
  EXPECT_EQ(server_.getGameCount(), 0);
}

TEST(ServerStress, ClientsLeavingWhileTheServerWritesToThemLeaveItServing) {
  QuietStderr quiet;
  ASSERT_TRUE(quiet.isQuiet());
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
    auto client = ProtocolClient::join(server.port(), "last");
    client->send(msg(17));
    EXPECT_EQ(client->nextOf(17), msg(17, cstr("last")));
  }
}
