// A player that writes down every notification it gets, as one line each:
//   "ask <inviter> <game id>", "refused <refuser>",
//   "message <sender> <0|1> <text>", "players", "games",
//   "<event> <game id>" or, for moves, "<event> <game id> <x> <y>", the
//   events named started, invalid, played, turn, pass, over, closed.
// Lines go to the player's own log and, prefixed with its name and a colon,
// to a shared log that may outlive it (the order across players). It also
// keeps the invitations and turns not yet taken, for tests that answer them.
// Notifications may come from any thread; the logs are guarded.
#ifndef VANTOR_TESTS_SERVER_RECORDINGPLAYER_H_
#define VANTOR_TESTS_SERVER_RECORDINGPLAYER_H_

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "bots/VantorPlayer.h"
#include "game/VantorGame.h"
#include "server/VantorServerGame.h"

class EventLog {
 public:
  void add(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(line);
    changed_.notify_all();
  }
  std::vector<std::string> get() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.clear();
  }
  // Waits up to timeoutMs until line has been added.
  bool waitFor(const std::string& line, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
      return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
    });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
};

class RecordingPlayer : public VantorPlayer {
 public:
  explicit RecordingPlayer(VantorLobby* server, EventLog* shared = nullptr)
      : VantorPlayer(server), shared_(shared) {}
  RecordingPlayer(const std::string& nick, EventLog* shared = nullptr)
      : VantorPlayer(nick), shared_(shared) {}
  // Leaves before its logs go, so that no notification reaches them.
  ~RecordingPlayer() override { leaveServer(); }

  void notifyAskGame(VantorPlayer* inviter, VantorServerGame* game) override {
    keep([&] { invitations_.push_back(game->getId()); });
    record("ask " + inviter->getName() + " " + std::to_string(game->getId()));
  }
  void notifyRefuseGame(VantorPlayer* refuser) override { record("refused " + refuser->getName()); }
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
    if (event.type == YourTurn && event.position != nullptr) {
      keep([&] { turns_.push_back({event.gameId, *event.position}); });
    }
    record(line);
  }
  void notifyPlayerListChanged() override { record("players"); }
  void notifyGameListChanged() override { record("games"); }

  std::vector<std::string> lines() { return own_.get(); }
  void clear() { own_.clear(); }
  bool waitFor(const std::string& line, int timeoutMs) { return own_.waitFor(line, timeoutMs); }

  struct Turn {
    int gameId;
    VantorGame position;  // as it was when the turn came
  };
  std::vector<Turn> takeTurns() { return taken(turns_); }
  std::vector<int> takeInvitations() { return taken(invitations_); }

 private:
  void record(const std::string& line) {
    if (shared_ != nullptr) shared_->add(getName() + ": " + line);
    own_.add(line);
  }
  template <typename F>
  void keep(F change) {
    std::lock_guard<std::mutex> lock(mutex_);
    change();
  }
  template <typename T>
  std::vector<T> taken(std::vector<T>& pending) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<T> out;
    out.swap(pending);
    return out;
  }

  EventLog* shared_;
  EventLog own_;
  std::mutex mutex_;
  std::vector<int> invitations_;
  std::vector<Turn> turns_;
};

#endif  // VANTOR_TESTS_SERVER_RECORDINGPLAYER_H_
