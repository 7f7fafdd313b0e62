// A player that writes down every notification it gets, as one line each:
//   "ask <inviter> <game id>", "refused <refuser>",
//   "message <sender> <0|1> <text>", "players", "games",
//   "<event> <game id>" or, for moves, "<event> <game id> <x> <y>", the
//   events named started, invalid, played, turn, pass, over, closed.
// Lines go to the player's own record and, prefixed with its name and a
// colon, to a shared log that may outlive it (the order across players).
// Notifications may come from any thread; the record is guarded.
#ifndef VANTOR_TESTS_SERVER_RECORDINGPLAYER_H_
#define VANTOR_TESTS_SERVER_RECORDINGPLAYER_H_

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
  bool contains(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex);
    for (const std::string& l : lines) {
      if (l == line) return true;
    }
    return false;
  }
  // Waits up to timeoutMs until line has been added.
  bool waitFor(const std::string& line, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
      for (const std::string& l : lines) {
        if (l == line) return true;
      }
      return false;
    });
  }

 private:
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> lines;
};

inline const char* eventName(int type) {
  static const char* const kNames[] = {"?",    "started", "invalid", "played",
                                       "turn", "pass",    "over",    "closed"};
  return type >= 1 && type <= 7 ? kNames[type] : "?";
}

inline std::string eventLine(const VantorGameEvent& event) {
  std::string line = std::string(eventName(event.type)) + " " + std::to_string(event.gameId);
  if (event.type == InvalidMove || event.type == MovePlayed) {
    line += " " + std::to_string(event.x) + " " + std::to_string(event.y);
  }
  return line;
}

class RecordingPlayer : public VantorPlayer {
 public:
  explicit RecordingPlayer(VantorLobby* server, EventLog* shared = nullptr)
      : VantorPlayer(server), shared(shared) {}
  RecordingPlayer(const std::string& nick, EventLog* shared = nullptr)
      : VantorPlayer(nick), shared(shared) {}
  // Leaves before its records go, so that no notification reaches them.
  ~RecordingPlayer() override { leaveServer(); }

  void notifyAskGame(VantorPlayer* inviter, VantorServerGame* game) override {
    lastInvitation = game;
    record("ask " + inviter->getName() + " " + std::to_string(game->getId()));
  }
  void notifyRefuseGame(VantorPlayer* refuser) override { record("refused " + refuser->getName()); }
  void notifyMessage(VantorPlayer* from, const char* text, bool broadcast) override {
    record("message " + from->getName() + " " + (broadcast ? "1" : "0") + " " + text);
  }
  void notifyGameEvent(const VantorGameEvent& event) override {
    if (event.type == YourTurn && event.position != nullptr) {
      std::lock_guard<std::mutex> lock(mutex);
      pendingTurns.push_back({event.gameId, *event.position});
    }
    record(eventLine(event));
  }
  void notifyPlayerListChanged() override { record("players"); }
  void notifyGameListChanged() override { record("games"); }

  std::vector<std::string> lines() {
    std::lock_guard<std::mutex> lock(mutex);
    return own;
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex);
    own.clear();
  }
  bool waitFor(const std::string& line, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
      for (const std::string& l : own) {
        if (l == line) return true;
      }
      return false;
    });
  }
  // The turns noticed and not yet taken: game id and the position then.
  struct Turn {
    int gameId;
    VantorGame position;
  };
  std::vector<Turn> takeTurns() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<Turn> turns;
    turns.swap(pendingTurns);
    return turns;
  }

  // The game of the last invitation; valid only while that game is listed.
  VantorServerGame* lastInvitation = nullptr;

 private:
  void record(const std::string& line) {
    if (shared != nullptr) shared->add(getName() + ": " + line);
    std::lock_guard<std::mutex> lock(mutex);
    own.push_back(line);
    changed.notify_all();
  }

  EventLog* shared;
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> own;
  std::vector<Turn> pendingTurns;
};

#endif  // VANTOR_TESTS_SERVER_RECORDINGPLAYER_H_
