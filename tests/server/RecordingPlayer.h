// A player that writes down every notification it gets, as one line each:
//   "message <sender> <0|1> <text>", "players", "games",
//   "<event> <game id>" or, for moves, "<event> <game id> <x> <y>", the
//   events named started, invalid, played, turn, pass, over, closed.
// Notifications may come from any thread; the log is guarded.
#ifndef VANTOR_TESTS_SERVER_RECORDINGPLAYER_H_
#define VANTOR_TESTS_SERVER_RECORDINGPLAYER_H_

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "bots/VantorPlayer.h"
#include "server/VantorServerGame.h"

class RecordingPlayer : public VantorPlayer {
 public:
  explicit RecordingPlayer(VantorLobby* server) : VantorPlayer(server) {}
  explicit RecordingPlayer(const std::string& nick) : VantorPlayer(nick) {}
  // Leaves before its log goes, so that no notification reaches it.
  ~RecordingPlayer() override { leaveServer(); }

  void notifyMessage(VantorPlayer* from, const char* text, bool broadcast) override {
    record("message " + from->getName() + " " + (broadcast ? "1" : "0") + " " + text);
  }
  void notifyGameEvent(const VantorGameEvent& event) override {
    static const char* const kNames[] = {"?",    "started", "invalid", "played",
                                         "turn", "pass",    "over",    "closed"};
    std::string line = kNames[event.type >= 1 && event.type <= 7 ? event.type : 0];
    line += " " + std::to_string(event.gameId);
    if (event.type == InvalidMove || event.type == MovePlayed) {
      line += " " + std::to_string(event.x) + " " + std::to_string(event.y);
    }
    record(line);
  }
  void notifyPlayerListChanged() override { record("players"); }
  void notifyGameListChanged() override { record("games"); }

  std::vector<std::string> lines() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.clear();
  }
  // Waits up to timeoutMs until line has been recorded.
  bool waitFor(const std::string& line, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
      return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
    });
  }

 private:
  void record(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(line);
    changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
};

#endif  // VANTOR_TESTS_SERVER_RECORDINGPLAYER_H_
