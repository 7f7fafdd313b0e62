// The lobby in one process, through recording players: departures (and an
// answer to a departed player), and the places a person may hold.
// (Arrivals, names, chat, game ids, playing oneself, the log lines, leaving
// as Black or White and requests naming what the lobby does not hold are
// seen over the wire.)
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "server/VantorServer.h"
#include "server/VantorServerGame.h"
#include "tests/server/RecordingPlayer.h"

namespace {

using Lines = std::vector<std::string>;

// A lobby with recording players that leave before it goes.
class Lobby : public testing::Test {
 protected:
  ~Lobby() override {
    for (RecordingPlayer* p : players_) delete p;
  }
  RecordingPlayer* join(const std::string& nick) {
    players_.push_back(new RecordingPlayer(&server_));
    players_.back()->setName(nick);
    return players_.back();
  }
  void leave(RecordingPlayer* p) {
    players_.erase(std::find(players_.begin(), players_.end(), p));
    delete p;
  }
  void clearRecords() {
    for (RecordingPlayer* p : players_) p->clear();
  }
  // x invites y; the new game, accepted by y when asked.
  VantorServerGame* invite(VantorPlayer* x, VantorPlayer* y, bool accept = false) {
    server_.initiateGameFromXWithY(x, y, 0, true);
    VantorServerGame* game = server_.getGame(server_.getGameCount() - 1);
    if (accept) server_.acceptGame(y, game);
    return game;
  }

  VantorServer server_;
  std::vector<RecordingPlayer*> players_;
};

}  // namespace

TEST_F(Lobby, ADepartingPlayerAbandonsItsTwoStartedGamesButNotTheOneItWatches) {
  RecordingPlayer* leaver = join("Leaver");
  RecordingPlayer* b = join("B");
  RecordingPlayer* c = join("C");
  RecordingPlayer* d = join("D");
  VantorServerGame* first = invite(leaver, b, true);
  VantorServerGame* second = invite(c, leaver, true);
  VantorServerGame* watched = invite(d, c, true);
  server_.initiateSpectateMode(watched->getId(), leaver);
  server_.initiateSpectateMode(watched->getId(), leaver);
  // Watching one of its own games does not bring it the close either, nor
  // does a game against itself.
  EXPECT_TRUE(server_.initiateSpectateMode(first->getId(), leaver));
  invite(leaver, leaver, true);
  const std::string i1 = std::to_string(first->getId()), i2 = std::to_string(second->getId());
  const uint64_t leaverId = leaver->getId();
  clearRecords();
  leave(leaver);
  server_.sendMessageToId(b, leaverId, "late");  // as a computer player answers
  EXPECT_EQ(b->lines(), (Lines{"games", "closed " + i1, "games", "games", "players"}));
  EXPECT_EQ(c->lines(), (Lines{"games", "games", "closed " + i2, "games", "players"}));
  EXPECT_EQ(d->lines(), (Lines{"games", "games", "games", "players"}));
  EXPECT_EQ(server_.getGameCount(), 1);
  EXPECT_EQ(server_.getGame(0), watched);
  EXPECT_EQ(watched->getSpectatorCount(), 0);
  // An invited player leaving leaves the inviter only the lists.
  RecordingPlayer* e = join("E");
  invite(b, e);
  clearRecords();
  leave(e);
  EXPECT_EQ(b->lines(), (Lines{"games", "players"}));
  EXPECT_EQ(server_.getGameCount(), 1);
}

TEST_F(Lobby, GivesEachPersonThirtyTwoPlacesAtMostAGameAgainstOneselfTakingTwo) {
  RecordingPlayer* full = join("Full");
  RecordingPlayer* other = join("Other");
  RecordingPlayer* nearly = join("Nearly");
  for (int k = 0; k < 16; ++k) invite(full, full);
  for (int k = 0; k < 15; ++k) invite(nearly, nearly);
  invite(nearly, other);
  const int games = server_.getGameCount();
  const std::vector<std::pair<VantorPlayer*, VantorPlayer*>> refused = {
      {full, other}, {other, full}, {nearly, nearly}};
  for (const auto& pair : refused) {
    testing::internal::CaptureStderr();
    server_.initiateGameFromXWithY(pair.first, pair.second, 0, false);
    const std::string name = (pair.first == other ? pair.second : pair.first)->getName();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR in initiateGameFromXWithY: " + name + " has 32 games already\n");
  }
  EXPECT_EQ(server_.getGameCount(), games);
  invite(nearly, other);  // the 32nd place
  EXPECT_EQ(server_.getGameCount(), games + 1);
}
