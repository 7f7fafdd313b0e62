// A lobby that only records what players ask of it, for testing players
// without a server. Registration admits everyone. Calls may come from any
// thread; waitFor lets a test wait for a bot's thread to call.
#ifndef VANTOR_TESTS_BOTS_FAKELOBBY_H_
#define VANTOR_TESTS_BOTS_FAKELOBBY_H_

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "bots/VantorLobby.h"
#include "bots/VantorPlayer.h"

class FakeLobby : public VantorLobby {
 public:
  struct Move {
    int gameId;
    VantorPlayer* player;
    int x;
    int y;
  };
  struct Message {
    VantorPlayer* from;
    uint64_t toId;
    std::string text;
  };

  void registerPlayer(VantorPlayer* player) override {
    player->markRegistered();
    record([&] { registered.push_back(player); });
  }
  void unregisterPlayer(VantorPlayer* player) override {
    record([&] { unregistered.push_back(player); });
  }
  void acceptGame(VantorPlayer* player, VantorServerGame* game) override {
    record([&] { accepted.push_back({player, game}); });
  }
  void playMove(int gameId, VantorPlayer* player, int8_t x, int8_t y) override {
    record([&] { moves.push_back({gameId, player, x, y}); });
  }
  void sendMessage(VantorPlayer* from, VantorPlayer* to, const char* text) override {
    sendMessageToId(from, to == nullptr ? 0 : to->getId(), text);
  }
  void sendMessageToId(VantorPlayer* from, uint64_t toId, const char* text) override {
    record([&] { messages.push_back({from, toId, text}); });
  }

  // Waits up to timeoutMs until done() holds (checked under the lock).
  bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), done);
  }
  std::vector<Move> getMoves() {
    std::lock_guard<std::mutex> lock(mutex_);
    return moves;
  }
  std::vector<Message> getMessages() {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages;
  }

  std::vector<VantorPlayer*> registered;
  std::vector<VantorPlayer*> unregistered;
  std::vector<std::pair<VantorPlayer*, VantorServerGame*>> accepted;
  std::vector<Move> moves;
  std::vector<Message> messages;

 private:
  void record(const std::function<void()>& change) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      change();
    }
    changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
};

#endif  // VANTOR_TESTS_BOTS_FAKELOBBY_H_
