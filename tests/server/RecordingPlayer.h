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
    std::lock_guard<std::mutex> lock(mutex);
    lines.push_back(line);
    changed.notify_all();
  }
  std::vector<std::string> get() {
    std::lock_guard<std::mutex> lock(mutex);
    return lines;
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex);
    lines.clear();
  }
  // Waits up to timeoutMs until line has been added.
  bool waitFor(const std::string& line, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
      return std::find(lines.begin(), lines.end(), line) != lines.end();
    });
  }

 private:
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> lines;
};

class RecordingPlayer : public VantorPlayer {
 public:
  explicit RecordingPlayer(VantorLobby* server, EventLog* shared = nullptr)
      : VantorPlayer(server), shared(shared) {}
  RecordingPlayer(const std::string& nick, EventLog* shared = nullptr)
      : VantorPlayer(nick), shared(shared) {}
  // Leaves before its logs go, so that no notification reaches them.
  ~RecordingPlayer() override { leaveServer(); }

  void notifyAskGame(VantorPlayer* inviter, VantorServerGame* game) override {
    keep([&] { invitations.push_back(game->getId()); });
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
      keep([&] { turns.push_back({event.gameId, *event.position}); });
    }
    record(line);
  }
  void notifyPlayerListChanged() override { record("players"); }
  void notifyGameListChanged() override { record("games"); }

  std::vector<std::string> lines() { return own.get(); }
  void clear() { own.clear(); }
  bool waitFor(const std::string& line, int timeoutMs) { return own.waitFor(line, timeoutMs); }

  struct Turn {
    int gameId;
    VantorGame position;  // as it was when the turn came
  };
  std::vector<Turn> takeTurns() { return taken(turns); }
  std::vector<int> takeInvitations() { return taken(invitations); }

 private:
  void record(const std::string& line) {
    if (shared != nullptr) shared->add(getName() + ": " + line);
    own.add(line);
  }
  template <typename F>
  void keep(F change) {
    std::lock_guard<std::mutex> lock(mutex);
    change();
  }
  template <typename T>
  std::vector<T> taken(std::vector<T>& pending) {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<T> out;
    out.swap(pending);
    return out;
  }

  EventLog* shared;
  EventLog own;
  std::mutex mutex;
  std::vector<int> invitations;
  std::vector<Turn> turns;
};

#endif  // VANTOR_TESTS_SERVER_RECORDINGPLAYER_H_
