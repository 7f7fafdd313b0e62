// A lobby that only records what players ask of it, for testing players
// without a server. Registration admits everyone. Moves and messages may
// come from a bot's thread, and are written down as lines ("<game id> <name>
// <x>,<y>" and "<name> to <id>: <text>"): waitFor lets a test wait for them
// and copyOf reads them.
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
  using Lines = std::vector<std::string>;

  static std::string move(int gameId, const VantorPlayer& player, int x, int y) {
    return std::to_string(gameId) + " " + player.getName() + " " + std::to_string(x) + "," +
           std::to_string(y);
  }

  // Called on the test's thread.
  void registerPlayer(VantorPlayer* player) override {
    player->markRegistered();
    registered.push_back(player);
  }
  void unregisterPlayer(VantorPlayer* player) override { unregistered.push_back(player); }
  void acceptGame(VantorPlayer* player, VantorServerGame* game) override {
    accepted.push_back({player, game});
  }
  // Called on a bot's thread.
  void playMove(int gameId, VantorPlayer* player, int8_t x, int8_t y) override {
    record(moves, move(gameId, *player, x, y));
  }
  void sendMessage(VantorPlayer* from, VantorPlayer* to, const char* text) override {
    sendMessageToId(from, to == nullptr ? 0 : to->getId(), text);
  }
  void sendMessageToId(VantorPlayer* from, uint64_t toId, const char* text) override {
    record(messages, from->getName() + " to " + std::to_string(toId) + ": " + text);
  }

  // Waits up to timeoutMs until done() holds (checked under the lock).
  bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), done);
  }
  Lines copyOf(const Lines& lines) {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines;
  }

  std::vector<VantorPlayer*> registered;
  std::vector<VantorPlayer*> unregistered;
  std::vector<std::pair<VantorPlayer*, VantorServerGame*>> accepted;
  Lines moves;
  Lines messages;

 private:
  void record(Lines& lines, const std::string& line) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      lines.push_back(line);
    }
    changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
};

#endif  // VANTOR_TESTS_BOTS_FAKELOBBY_H_
