// Computer players in the lobby: two invited through it play whole games by
// the rules, two at once, the same way each time (the moves and passes their
// spectator is told replay as a legal game to its end); and one that accepts
// every game leaves the server's bound on games in force.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bots/VantorDeepBlue.h"
#include "bots/VantorGrayThough.h"
#include "server/VantorServer.h"
#include "server/VantorServerGame.h"
#include "tests/server/RecordingPlayer.h"

TEST(BotGame, TwoBotsInvitedThroughTheLobbyPlayWholeGamesTheSameWayEachTime) {
  VantorServer server;
  VantorGrayThough black(&server, 3);
  VantorDeepBlue white(&server, 3);
  black.setPausesForTesting(1, 1);
  white.setPausesForTesting(1, 1);
  RecordingPlayer watcher(&server);
  // Two games of the pairing at the same time: the threads interleave. The
  // watcher is there before the bots, waiting for the lock, can move.
  std::vector<VantorServerGame*> games;
  server.lock();
  for (int n = 0; n < 2; ++n) {
    server.initiateGameFromXWithY(&black, &white, 0, true);
    games.push_back(server.getGame(n));
    EXPECT_TRUE(games[n]->isStarted());
    EXPECT_TRUE(server.initiateSpectateMode(games[n]->getId(), &watcher));
  }
  server.unlock();
  std::vector<std::vector<std::string>> moves(2);
  for (int n = 0; n < 2; ++n) {
    const int gameId = games[n]->getId();
    ASSERT_TRUE(watcher.waitFor("over " + std::to_string(gameId), 60000));
    VantorGame position;
    for (const std::string& line : watcher.lines()) {
      char event[16];
      int id, x, y;
      const int fields = std::sscanf(line.c_str(), "%15s %d %d %d", event, &id, &x, &y);
      if (fields < 2 || id != gameId) continue;
      if (std::string(event) == "played") {
        EXPECT_TRUE(position.canPlay(x, y)) << line;
        position.play(x, y);
        moves[n].push_back(line.substr(line.find(' ', 7)));
      } else if (std::string(event) == "pass") {
        EXPECT_EQ(position.checkPass(), 1) << line;
        position.switchTurn();
      }
    }
    EXPECT_EQ(position.checkPass(), 2);
    std::lock_guard<VantorServer> lock(server);
    EXPECT_EQ(position.count(kBlack), games[n]->count(kBlack));
    EXPECT_EQ(position.count(kWhite), games[n]->count(kWhite));
  }
  EXPECT_GT(moves[0].size(), 20u);
  EXPECT_EQ(moves[0], moves[1]);
}

TEST(BotGame, AComputerPlayerTakesAnyNumberOfGamesUpToTheServersBound) {
  VantorServer server;
  VantorDeepBlue bot(&server, 1);
  std::vector<std::unique_ptr<RecordingPlayer>> people;
  // Twelve people with 32 games each against it, black: it need not move.
  for (int i = 0; i < 13; ++i) people.emplace_back(new RecordingPlayer(&server));
  for (int k = 0; k < 12 * 32; ++k) {
    server.initiateGameFromXWithY(people[k / 32].get(), &bot, 0, false);
  }
  ASSERT_EQ(server.getGameCount(), VantorServer::kMaxGames);
  testing::internal::CaptureStderr();
  server.initiateGameFromXWithY(people[12].get(), &bot, 0, false);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR in initiateGameFromXWithY: the server holds 384 games already\n");
  EXPECT_EQ(server.getGameCount(), VantorServer::kMaxGames);
}
