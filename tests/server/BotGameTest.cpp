#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bots/VantorDeepBlue.h"
#include "bots/VantorMinMaxBot.h"
#include "server/VantorServer.h"
#include "server/VantorServerGame.h"
#include "tests/server/RecordingPlayer.h"

namespace {

using Lines = std::vector<std::string>;

// A searching bot that also writes down the game events it gets.
class RecordingBot : public VantorMinMaxBot {
 public:
  RecordingBot(VantorLobby* lobby, const std::string& name, int depth, VantorEvaluationKind kind)
      : VantorMinMaxBot(lobby, name, depth, kind) {
    setPausesForTesting(1, 1);
  }
  ~RecordingBot() override { retire(); }
  void notifyGameEvent(const VantorGameEvent& event) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      events_.push_back(event);
    }
    VantorMinMaxBot::notifyGameEvent(event);
  }
  // The events of one game, in the order they came.
  std::vector<VantorGameEvent> eventsOf(int gameId) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<VantorGameEvent> result;
    for (const VantorGameEvent& e : events_) {
      if (e.gameId == gameId) result.push_back(e);
    }
    return result;
  }

 private:
  std::mutex mutex_;
  std::vector<VantorGameEvent> events_;
};

// The moves of a game as seen by one recipient, checked against the rules:
// every move is legal for the side to move, passes come where a side has no
// move, and the game ends where neither has.
struct Replay {
  std::vector<std::pair<int, int>> moves;
  VantorGame position;
  int blackMoves = 0;
  int whiteMoves = 0;
};

Replay replay(const std::vector<VantorGameEvent>& events) {
  Replay r;
  for (const VantorGameEvent& e : events) {
    if (e.type == MovePlayed) {
      EXPECT_TRUE(r.position.canPlay(e.x, e.y)) << e.x << "," << e.y;
      (r.position.getTurn() == kBlack ? r.blackMoves : r.whiteMoves) += 1;
      r.position.play(e.x, e.y);
      r.moves.push_back({e.x, e.y});
    } else if (e.type == MustPass) {
      EXPECT_EQ(r.position.checkPass(), 1);
      r.position.switchTurn();
    }
  }
  EXPECT_EQ(r.position.checkPass(), 2);
  return r;
}

int countOf(const std::vector<VantorGameEvent>& events, int type) {
  int n = 0;
  for (const VantorGameEvent& e : events) n += e.type == type;
  return n;
}

}  // namespace

TEST(BotGame, TwoBotsInvitedThroughTheLobbyPlayWholeGamesTheSameWayEachTime) {
  VantorServer server;
  RecordingBot black(&server, "Black[Bot]", 3, VantorEvaluationKind::GrayThough);
  RecordingBot white(&server, "White[Bot]", 3, VantorEvaluationKind::DeepBlue);
  RecordingPlayer watcher(&server);
  // Two games of the pairing at the same time: the threads interleave.
  std::vector<VantorServerGame*> games;
  server.lock();
  for (int n = 0; n < 2; ++n) {
    server.initiateGameFromXWithY(&black, &white, 0, true);
    games.push_back(server.getGame(n));
    EXPECT_TRUE(games[n]->isStarted());
    EXPECT_TRUE(server.initiateSpectateMode(games[n]->getId(), &watcher));
  }
  server.unlock();
  std::vector<Replay> replays;
  for (VantorServerGame* game : games) {
    const int gameId = game->getId();
    ASSERT_TRUE(watcher.waitFor("over " + std::to_string(gameId), 60000));
    const std::vector<VantorGameEvent> seenByBlack = black.eventsOf(gameId);
    const std::vector<VantorGameEvent> seenByWhite = white.eventsOf(gameId);
    for (const std::vector<VantorGameEvent>* seen : {&seenByBlack, &seenByWhite}) {
      ASSERT_FALSE(seen->empty());
      EXPECT_EQ(seen->front().type, GameStarted);
      EXPECT_EQ(seen->back().type, GameOver);
      EXPECT_EQ(countOf(*seen, GameStarted), 1);
      EXPECT_EQ(countOf(*seen, InvalidMove), 0);
    }
    replays.push_back(replay(seenByBlack));
    const Replay& byBlack = replays.back();
    EXPECT_EQ(byBlack.moves, replay(seenByWhite).moves);
    // Each bot was told to move exactly as often as it moved.
    EXPECT_EQ(countOf(seenByBlack, YourTurn), byBlack.blackMoves);
    EXPECT_EQ(countOf(seenByWhite, YourTurn), byBlack.whiteMoves);
    // The counts add up, and match the lobby's game.
    server.lock();
    const int blackDiscs = game->count(kBlack);
    const int whiteDiscs = game->count(kWhite);
    server.unlock();
    EXPECT_EQ(byBlack.position.count(kBlack), blackDiscs);
    EXPECT_EQ(byBlack.position.count(kWhite), whiteDiscs);
    EXPECT_EQ(4 + static_cast<int>(byBlack.moves.size()), blackDiscs + whiteDiscs);
  }
  EXPECT_GT(replays[0].moves.size(), 20u);
  EXPECT_EQ(replays[0].moves, replays[1].moves);
  EXPECT_EQ(server.getGameCount(), 2);
}

TEST(BotGame, ABotWhoseGameIsAbortedWhileItThinksPlaysNothing) {
  VantorServer server;
  VantorDeepBlue bot(&server, 3);
  bot.setPausesForTesting(300, 0);
  RecordingPlayer person(&server);
  // The bot plays black and is told to move at once.
  server.initiateGameFromXWithY(&person, &bot, 1, false);
  VantorServerGame* game = server.getGame(0);
  const int gameId = game->getId();
  ASSERT_TRUE(game->isStarted());
  EXPECT_TRUE(server.abortGameRequest(&person, gameId));
  // A game the bot is told to move in later is played later: once its move
  // has come, the aborted game's move time has passed too.
  RecordingPlayer witness(&server);
  server.initiateGameFromXWithY(&witness, &bot, 1, false);
  const int laterId = server.getGame(0)->getId();
  ASSERT_TRUE(witness.waitFor("turn " + std::to_string(laterId), 10000));
  const std::string i = std::to_string(gameId);
  // Acceptance, invitation and abort each make it re-read the game list.
  // Acceptance, invitation and abort each make it re-read the game list, and
  // so do the later game's invitation and acceptance.
  EXPECT_EQ(person.lines(), (Lines{"started " + i, "games", "games", "games", "closed " + i,
                                   "players", "games", "games"}));
  EXPECT_EQ(server.getGameCount(), 1);
}

TEST(BotGame, ABotsReplyToAPlayerWhoLeftReachesNobody) {
  VantorServer server;
  VantorDeepBlue bot(&server, 1);
  bot.setPausesForTesting(0, 200);
  EventLog log;
  RecordingPlayer* sender = new RecordingPlayer(&server, &log);
  server.sendMessage(sender, &bot, "bye");
  delete sender;
  // A newcomer, perhaps at the same address, is not the addressee. Its own
  // message, answered later, shows when the first reply's time has passed.
  RecordingPlayer newcomer(&server, &log);
  server.sendMessage(&newcomer, &bot, "hello");
  const std::string reply = "message " + bot.getName() + " 0 I can't speak, I'm a bot!";
  ASSERT_TRUE(newcomer.waitFor(reply, 10000));
  int messages = 0;
  for (const std::string& line : log.get()) messages += line.find("message") != std::string::npos;
  EXPECT_EQ(messages, 1);
}
