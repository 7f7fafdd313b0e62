#include <gtest/gtest.h>

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
#include "server/VantorServer.h"
#include "server/VantorServerGame.h"

namespace {

using Clock = std::chrono::steady_clock;

// Watches every game of the run and notes the ones that reached their end.
class Watcher : public VantorPlayer {
 public:
  explicit Watcher(VantorLobby* lobby) : VantorPlayer(lobby) {}
  ~Watcher() override { leaveServer(); }
  void notifyGameEvent(const VantorGameEvent& event) override {
    if (event.type != GameOver && event.type != GameClosed) return;
    std::lock_guard<std::mutex> lock(mutex);
    (event.type == GameOver ? over : closed).insert(event.gameId);
  }
  bool ended(int gameId) {
    std::lock_guard<std::mutex> lock(mutex);
    return over.count(gameId) != 0 || closed.count(gameId) != 0;
  }

 private:
  std::mutex mutex;
  std::set<int> over;
  std::set<int> closed;
};

// A person driven by a worker thread: it notes its invitations and turns,
// and the worker answers them later.
class Person : public VantorPlayer {
 public:
  explicit Person(VantorLobby* lobby) : VantorPlayer(lobby) {}
  ~Person() override { leaveServer(); }
  void notifyAskGame(VantorPlayer*, VantorServerGame* game) override {
    std::lock_guard<std::mutex> lock(mutex);
    invitations.push_back(game->getId());
  }
  void notifyGameEvent(const VantorGameEvent& event) override {
    if (event.type != YourTurn) return;
    std::lock_guard<std::mutex> lock(mutex);
    turns.push_back({event.gameId, *event.position});
  }
  void notifyMessage(VantorPlayer*, const char*, bool) override { ++messages; }

  struct Turn {
    int gameId;
    VantorGame position;
  };
  std::vector<int> takeInvitations() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<int> taken;
    taken.swap(invitations);
    return taken;
  }
  std::vector<Turn> takeTurns() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<Turn> taken;
    taken.swap(turns);
    return taken;
  }
  std::atomic<int> messages{0};

 private:
  std::mutex mutex;
  std::vector<int> invitations;
  std::vector<Turn> turns;
};

struct Shared {
  VantorServer* server;
  std::vector<VantorServerBot*> bots;
  Watcher* watcher;
  std::mutex mutex;
  std::set<int> started;
  std::atomic<int> moves{0};
};

// Under the lobby's lock: notes the newest game as started when it is, and
// lets the watcher watch it.
void noteNewestGame(Shared& shared) {
  VantorServer& server = *shared.server;
  VantorServerGame* game = server.getGame(server.getGameCount() - 1);
  server.initiateSpectateMode(game->getId(), shared.watcher);
  if (game->isStarted()) {
    std::lock_guard<std::mutex> lock(shared.mutex);
    shared.started.insert(game->getId());
  }
}

void work(Shared& shared, unsigned seed, Clock::time_point deadline, std::vector<Person*>& mine) {
  VantorServer& server = *shared.server;
  std::mt19937 random(seed);
  int serial = 0;
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  auto anyBot = [&] { return shared.bots[pick(shared.bots.size())]; };
  while (Clock::now() < deadline) {
    int action = static_cast<int>(random() % 12);
    if (mine.empty() || action == 0) {
      if (mine.size() >= 4) continue;
      // Built under the lobby's lock: the player is listed from its base
      // constructor on, and no other thread may notify it half-built.
      server.lock();
      Person* p = new Person(&server);
      server.unlock();
      if (!p->isRegistered()) {
        delete p;
        continue;
      }
      server.changePlayerNickName(p, "S" + std::to_string(seed) + "_" + std::to_string(serial++));
      mine.push_back(p);
      continue;
    }
    Person* me = mine[pick(mine.size())];
    switch (action) {
      case 1:
        if (random() % 4 == 0) {
          mine.erase(std::find(mine.begin(), mine.end(), me));
          delete me;
        }
        break;
      case 2:
        server.lock();
        server.initiateGameFromXWithY(me, anyBot(), static_cast<int8_t>(random() % 2), true);
        noteNewestGame(shared);
        server.unlock();
        break;
      case 3: {
        server.lock();
        VantorServerBot* a = anyBot();
        server.initiateGameFromXWithY(a, anyBot(), 0, true);
        noteNewestGame(shared);
        server.unlock();
        break;
      }
      case 4: {
        // Another person, found by name as a connection would.
        server.lock();
        std::string name = server.getPlayerName(static_cast<int>(pick(server.getPlayerCount())));
        VantorPlayer* other = server.findPlayerByName(name.c_str());
        if (dynamic_cast<Person*>(other) != nullptr) {
          server.initiateGameFromXWithY(me, other, static_cast<int8_t>(random() % 2), true);
          noteNewestGame(shared);
        }
        server.unlock();
        break;
      }
      case 5:
        for (int id : me->takeInvitations()) {
          server.lock();
          VantorServerGame* game = server.findGameById(id);
          if (game != nullptr && random() % 4 != 0) {
            server.acceptGame(me, game);
            std::lock_guard<std::mutex> lock(shared.mutex);
            shared.started.insert(id);
          } else if (game != nullptr) {
            server.refuseGame(me, game);
          }
          server.unlock();
        }
        break;
      case 6:
      case 7:
        for (const Person::Turn& turn : me->takeTurns()) {
          std::vector<std::pair<int, int>> legal;
          for (int x = 1; x <= 8; ++x) {
            for (int y = 1; y <= 8; ++y) {
              if (turn.position.canPlay(x, y)) legal.push_back({x, y});
            }
          }
          if (legal.empty() || random() % 10 == 0) {
            server.playMove(turn.gameId, me, 9, 0);
            continue;
          }
          std::pair<int, int> move = legal[pick(legal.size())];
          server.playMove(turn.gameId, me, static_cast<int8_t>(move.first),
                          static_cast<int8_t>(move.second));
          ++shared.moves;
        }
        break;
      case 8: {
        server.lock();
        int count = server.getGameCount();
        if (count > 0 && random() % 3 == 0) {
          VantorServerGame* game = server.getGame(static_cast<int>(pick(count)));
          VantorPlayer* player = game->getPlayer(1 + static_cast<int>(random() % 2));
          server.abortGameRequest(player, game->getId());
        } else if (count > 0) {
          server.abortGameRequest(me, server.getGame(static_cast<int>(pick(count)))->getId());
        }
        server.unlock();
        break;
      }
      case 9:
        if (random() % 2 == 0) {
          server.sendMessage(me, anyBot(), "hello");
        } else {
          server.broadcastMessage(me, "hello all");
        }
        break;
      case 10: {
        server.lock();
        int count = server.getGameCount();
        if (count > 0) server.initiateSpectateMode(server.getGame(pick(count))->getId(), me);
        server.unlock();
        break;
      }
      default:
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        break;
    }
  }
}

// Under the lobby's lock: every player of every game is registered.
void expectNoGameHoldsAPlayerWhoLeft(VantorServer& server) {
  server.lock();
  for (int i = 0; i < server.getGameCount(); ++i) {
    VantorServerGame* game = server.getGame(i);
    for (int n = 1; n <= 2; ++n) {
      EXPECT_NE(server.findPlayerById(game->getPlayer(n)->getId()), nullptr);
    }
    for (int s = 0; s < game->getSpectatorCount(); ++s) {
      EXPECT_NE(server.findPlayerById(game->getSpectator(s)->getId()), nullptr);
    }
  }
  server.unlock();
}

}  // namespace

TEST(LobbyStress, BotsAndPeopleComingAndGoingLoseNothing) {
  // The lobby's log of thousands of requests is kept out of the test
  // output; the sanitizer's reports, written to the descriptor, are not.
  std::FILE* realStderr = stderr;
  stderr = std::fopen("/dev/null", "w");
  ASSERT_NE(stderr, nullptr);

  VantorServer server;
  Shared shared;
  shared.server = &server;
  shared.bots.push_back(new VantorDeepBlue(&server, 1));
  shared.bots.push_back(new VantorDeepBlue(&server, 3));
  shared.bots.push_back(new VantorGrayThough(&server, 1));
  shared.bots.push_back(new VantorGrayThough(&server, 3));
  for (VantorServerBot* bot : shared.bots) bot->setPausesForTesting(2, 5);
  shared.watcher = new Watcher(&server);

  const int kWorkers = 3;
  std::vector<std::vector<Person*>> people(kWorkers);
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(2500);
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] { work(shared, 101 + w, deadline, people[w]); });
  }
  for (std::thread& t : workers) t.join();

  // Every person still registered can be found, by name and by id.
  int registeredPeople = 0;
  for (std::vector<Person*>& mine : people) {
    for (Person* p : mine) {
      ++registeredPeople;
      EXPECT_EQ(server.findPlayerByName(p->getName().c_str()), p);
      EXPECT_EQ(server.findPlayerById(p->getId()), p);
    }
  }
  EXPECT_EQ(server.getPlayerCount(), static_cast<int>(shared.bots.size()) + 1 + registeredPeople);
  for (VantorServerBot* bot : shared.bots) {
    EXPECT_EQ(server.findPlayerByName(bot->getName().c_str()), bot);
  }
  expectNoGameHoldsAPlayerWhoLeft(server);

  // Everyone leaves, which closes the games of people; the games between
  // bots go on to their end by themselves.
  for (std::vector<Person*>& mine : people) {
    for (Person* p : mine) delete p;
  }
  Clock::time_point limit = Clock::now() + std::chrono::seconds(60);
  int unfinished = 0;
  do {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    server.lock();
    unfinished = 0;
    for (int i = 0; i < server.getGameCount(); ++i)
      unfinished += server.getGame(i)->checkPass() != 2;
    server.unlock();
  } while (unfinished > 0 && Clock::now() < limit);
  EXPECT_EQ(unfinished, 0);
  server.lock();
  while (server.getGameCount() > 0) {
    VantorServerGame* game = server.getGame(0);
    server.abortGameRequest(game->getPlayer(1), game->getId());
  }
  server.unlock();
  for (VantorServerBot* bot : shared.bots) delete bot;

  // Every game that started either ended or was closed.
  int lost = 0;
  for (int id : shared.started) lost += !shared.watcher->ended(id);
  EXPECT_EQ(lost, 0);
  EXPECT_GT(shared.started.size(), 20u);
  EXPECT_GT(shared.moves.load(), 0);
  delete shared.watcher;
  EXPECT_EQ(server.getPlayerCount(), 0);
  EXPECT_EQ(server.getGameCount(), 0);
  std::fclose(stderr);
  stderr = realStderr;
}
