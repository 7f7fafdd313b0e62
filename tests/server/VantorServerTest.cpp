// The lobby in one process, through recording players: the log lines,
// requests with nothing to act on, names, playing oneself, departures and
// the places a person may hold. (The rest is seen over the wire.)
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "server/VantorServer.h"
#include "server/VantorServerGame.h"
#include "tests/ios/TestSupport.h"
#include "tests/server/RecordingPlayer.h"

namespace {

using Lines = std::vector<std::string>;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// A lobby with recording players that leave before it goes.
class Lobby : public testing::Test {
 protected:
  ~Lobby() override {
    for (RecordingPlayer* p : players_) delete p;
  }
  RecordingPlayer* join(const std::string& nick) {
    players_.push_back(new RecordingPlayer(&server_, &log_));
    players_.back()->setName(nick);
    return players_.back();
  }
  void leave(RecordingPlayer* p) {
    players_.erase(std::find(players_.begin(), players_.end(), p));
    delete p;
  }
  void clearRecords() {
    log_.clear();
    for (RecordingPlayer* p : players_) p->clear();
  }
  // x invites y; the new game, accepted by y when asked.
  VantorServerGame* invite(VantorPlayer* x, VantorPlayer* y, int8_t colour, bool spectators,
                           bool accept = false) {
    server_.initiateGameFromXWithY(x, y, colour, spectators);
    VantorServerGame* game = server_.getGame(server_.getGameCount() - 1);
    if (accept) server_.acceptGame(y, game);
    return game;
  }

  VantorServer server_;
  EventLog log_;
  std::vector<RecordingPlayer*> players_;
};

std::string id(const VantorServerGame* game) {
  return std::to_string(game->getId());
}

}  // namespace

TEST_F(Lobby, WritesTheLinesOperatorsReadInTheirExactFormats) {
  const auto logOf = [](const std::function<void()>& action) {
    CaptureStderr();
    action();
    return GetCapturedStderr();
  };
  RecordingPlayer* a = nullptr;
  const std::string arrival = logOf([&] { a = join("A"); });
  RecordingPlayer* b = join("B");
  char message[128];
  std::snprintf(message, sizeof message, "%p message to %p: psst\n", static_cast<void*>(a),
                static_cast<void*>(b));
  const std::string t = "[0-9]+\\.[0-9]{6}";
  const std::string n = "-?[0-9]+";
  const std::vector<std::pair<std::string, std::string>> lines = {
      {arrival, t + "/\\+\\+\\+/" + n + "\n"},
      {logOf([&] { server_.initiateGameFromXWithY(a, b, 0, false); }),
       t + "/ASK/" + n + "/" + n + "/A asks B\n"},
      {logOf([&] { server_.changePlayerNickName(a, "Alice"); }),
       t + "/REN/" + n + "/Renaming to Alice\n"},
      {logOf([&] { server_.sendMessage(a, b, "psst"); }), message},
      {logOf([&] { leave(b); }), t + "/---/" + n + "/B\n"},
  };
  for (const auto& line : lines) {
    EXPECT_TRUE(std::regex_match(line.first, std::regex(line.second))) << line.first;
  }
  // The same player has the same identity in every line.
  std::smatch m1, m2;
  std::regex_search(lines[0].first, m1, std::regex("/(" + n + ")\n"));
  std::regex_search(lines[2].first, m2, std::regex("REN/(" + n + ")/"));
  EXPECT_EQ(m1[1], m2[1]);
}

TEST_F(Lobby, RequestsWithNothingToActOnChangeNothing) {
  RecordingPlayer* a = join("A");
  RecordingPlayer* b = join("B");
  RecordingPlayer* outsider = join("C");
  RecordingPlayer unlisted("Unlisted");
  RecordingPlayer* departed = join("D");
  const uint64_t departedId = departed->getId();
  leave(departed);
  VantorServerGame* game = invite(a, b, 0, true);
  VantorServerGame* gone = invite(a, b, 0, false);
  const int goneId = gone->getId();
  server_.abortGameRequest(a, goneId);
  clearRecords();
  CaptureStderr();  // each writes an error line for the developers
  server_.registerPlayer(nullptr);
  EXPECT_EQ(server_.getGame(1), nullptr);
  EXPECT_EQ(server_.getGame(-1), nullptr);
  server_.initiateGameFromXWithY(a, nullptr, 0, false);
  server_.acceptGame(nullptr, game);
  server_.acceptGame(b, nullptr);
  server_.acceptGame(outsider, game);
  server_.acceptGame(b, gone);     // removed meanwhile
  server_.refuseGame(a, nullptr);  // an unknown id
  server_.refuseGame(outsider, game);
  server_.playMove(goneId, a, 5, 3);
  EXPECT_FALSE(server_.initiateSpectateMode(999999, a));
  server_.broadcastMessage(nullptr, "x");
  EXPECT_FALSE(server_.changePlayerNickName(nullptr, "x"));
  server_.sendMessage(a, &unlisted, "out");
  server_.sendMessageToId(a, departedId, "late");  // as a computer player answers
  // An abort by anyone but a player of the game only refreshes the lists.
  EXPECT_FALSE(server_.abortGameRequest(outsider, game->getId()));
  GetCapturedStderr();
  EXPECT_EQ(log_.get(), (Lines{"A: games", "B: games", "C: games"}));
  EXPECT_TRUE(unlisted.lines().empty());
  EXPECT_EQ(thrownMessage([&] { server_.getPlayerName(3); }), "Invalid player index");
  ASSERT_EQ(server_.getGameCount(), 1);
  EXPECT_EQ(server_.getGame(0), game);
  EXPECT_FALSE(game->isStarted());
  // Once started, a refusal comes too late.
  server_.acceptGame(b, game);
  clearRecords();
  server_.refuseGame(b, game);
  EXPECT_TRUE(log_.get().empty());
  EXPECT_EQ(server_.getGameCount(), 1);
}

TEST_F(Lobby, TellsTheOthersOfAnArrivalAndFindsPlayersByExactNameTheFirstRegisteredFirst) {
  RecordingPlayer* first = join("Twin");
  RecordingPlayer* second = join("Twin");
  RecordingPlayer* third = join("twin");
  EXPECT_EQ(first->lines(), (Lines{"players", "players"}));
  EXPECT_TRUE(third->lines().empty());
  EXPECT_EQ(server_.getPlayerName(2), "twin");
  EXPECT_EQ(server_.findPlayerByName("Twin"), first);
  EXPECT_EQ(server_.findPlayerByName("Twi"), nullptr);
  EXPECT_EQ(server_.findPlayerByName(nullptr), nullptr);
  EXPECT_EQ(server_.findPlayerById(second->getId()), second);
  leave(first);
  EXPECT_EQ(server_.findPlayerByName("Twin"), second);
}

TEST_F(Lobby, LetsAPlayerInviteItselfAndPlayBothColours) {
  RecordingPlayer* a = join("A");
  clearRecords();
  VantorServerGame* game = invite(a, a, 0, false);
  const std::string i = id(game);
  EXPECT_EQ(game->getPlayer(1), a);
  EXPECT_EQ(game->getPlayer(2), a);
  EXPECT_EQ(a->lines(), (Lines{"ask A " + i, "games"}));
  a->clear();
  server_.acceptGame(a, game);
  server_.playMove(game->getId(), a, 5, 3);
  server_.playMove(game->getId(), a, 4, 3);
  EXPECT_EQ(a->lines(), (Lines{"started " + i, "started " + i, "turn " + i, "games",
                               "played " + i + " 5 3", "played " + i + " 5 3", "turn " + i,
                               "played " + i + " 4 3", "played " + i + " 4 3", "turn " + i}));
}

TEST_F(Lobby, ADepartingPlayerAbandonsItsTwoStartedGamesButNotTheOneItWatches) {
  RecordingPlayer* leaver = join("Leaver");
  RecordingPlayer* b = join("B");
  RecordingPlayer* c = join("C");
  RecordingPlayer* d = join("D");
  RecordingPlayer* e = join("E");
  VantorServerGame* first = invite(leaver, b, 0, true, true);
  VantorServerGame* second = invite(c, leaver, 1, false);
  server_.acceptGame(c, second);
  VantorServerGame* watched = invite(d, e, 0, true, true);
  server_.initiateSpectateMode(watched->getId(), leaver);
  server_.initiateSpectateMode(watched->getId(), leaver);
  // Watching one of its own games does not bring it the close either, nor
  // does a game against itself.
  EXPECT_TRUE(server_.initiateSpectateMode(first->getId(), leaver));
  invite(leaver, leaver, 0, false, true);
  const std::string i1 = id(first);
  const std::string i2 = id(second);
  clearRecords();
  leave(leaver);
  EXPECT_EQ(log_.get(), (Lines{"B: games", "C: games", "D: games", "E: games", "B: closed " + i1,
                               "B: games", "C: games", "D: games", "E: games", "C: closed " + i2,
                               "B: games", "C: games", "D: games", "E: games", "B: players",
                               "C: players", "D: players", "E: players"}));
  EXPECT_EQ(server_.getGameCount(), 1);
  EXPECT_EQ(server_.getGame(0), watched);
  EXPECT_EQ(watched->getSpectatorCount(), 0);
  EXPECT_EQ(server_.getPlayerCount(), 4);
  // An invited player leaving leaves the inviter only the lists.
  invite(b, c, 0, false);
  clearRecords();
  leave(c);
  EXPECT_EQ(b->lines(), (Lines{"games", "players"}));
  EXPECT_EQ(server_.getGameCount(), 1);
}

TEST_F(Lobby, APlayerNamedBlackOrWhiteLeavesWithoutAPlayerListNotice) {
  RecordingPlayer* stays = join("Stays");
  for (const char* nick : {"Black", "White", "Blacks"}) {
    RecordingPlayer* p = join(nick);
    stays->clear();
    leave(p);
    EXPECT_EQ(stays->lines(), std::string(nick) == "Blacks" ? Lines{"players"} : Lines{}) << nick;
  }
}

TEST_F(Lobby, GivesEachPersonThirtyTwoPlacesAtMostAGameAgainstOneselfTakingTwo) {
  RecordingPlayer* full = join("Full");
  RecordingPlayer* other = join("Other");
  RecordingPlayer* nearly = join("Nearly");
  for (int k = 0; k < 16; ++k) invite(full, full, 0, false);
  for (int k = 0; k < 15; ++k) invite(nearly, nearly, 0, false);
  invite(nearly, other, 0, false);
  const int games = server_.getGameCount();
  const std::vector<std::pair<VantorPlayer*, VantorPlayer*>> refused = {
      {full, other}, {other, full}, {nearly, nearly}};
  for (const auto& pair : refused) {
    CaptureStderr();
    server_.initiateGameFromXWithY(pair.first, pair.second, 0, false);
    const std::string name = (pair.first == other ? pair.second : pair.first)->getName();
    EXPECT_EQ(GetCapturedStderr(),
              "ERROR in initiateGameFromXWithY: " + name + " has 32 games already\n");
  }
  EXPECT_EQ(server_.getGameCount(), games);
  invite(nearly, other, 0, false);  // the 32nd place
  EXPECT_EQ(server_.getGameCount(), games + 1);
}
