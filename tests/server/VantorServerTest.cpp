// The lobby in one process, through recording players: registration, log
// and error lines, invitations, refusal, abort, departures, spectators,
// moves and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "ios/Exception.h"
#include "server/VantorProtocol.h"
#include "server/VantorServer.h"
#include "server/VantorServerGame.h"
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

TEST_F(Lobby, WritesItsLogLinesInTheirExactFormats) {
  CaptureStderr();
  RecordingPlayer* a = join("A");
  const std::string arrival = GetCapturedStderr();
  RecordingPlayer* b = join("B");
  CaptureStderr();
  server_.initiateGameFromXWithY(a, b, 0, false);
  const std::string ask = GetCapturedStderr();
  CaptureStderr();
  server_.changePlayerNickName(a, "Alice");
  const std::string rename = GetCapturedStderr();
  CaptureStderr();
  leave(b);
  const std::string departure = GetCapturedStderr();

  const std::string t = "[0-9]+\\.[0-9]{6}";
  const std::string n = "-?[0-9]+";
  EXPECT_TRUE(std::regex_match(arrival, std::regex(t + "/\\+\\+\\+/" + n + "\n"))) << arrival;
  EXPECT_TRUE(std::regex_match(ask, std::regex(t + "/ASK/" + n + "/" + n + "/A asks B\n"))) << ask;
  EXPECT_TRUE(std::regex_match(rename, std::regex(t + "/REN/" + n + "/Renaming to Alice\n")))
      << rename;
  EXPECT_TRUE(std::regex_match(departure, std::regex(t + "/---/" + n + "/B\n"))) << departure;
  // The same player has the same identity in every line.
  std::smatch m1, m2;
  std::regex_search(arrival, m1, std::regex("/(" + n + ")\n"));
  std::regex_search(rename, m2, std::regex("REN/(" + n + ")/"));
  EXPECT_EQ(m1[1], m2[1]);

  // The twenty-fifth player is turned away with only its arrival line.
  for (int i = 1; i < 24; ++i) join("P" + std::to_string(i));
  EXPECT_EQ(server_.getPlayerCount(), 24);
  clearRecords();
  CaptureStderr();
  RecordingPlayer* extra = join("Extra");
  const std::string refused = GetCapturedStderr();
  EXPECT_FALSE(extra->isRegistered());
  EXPECT_EQ(server_.getPlayerCount(), 24);
  EXPECT_TRUE(log_.get().empty());
  EXPECT_TRUE(std::regex_match(refused, std::regex(t + "/\\+\\+\\+/" + n + "\n"))) << refused;
}

TEST_F(Lobby, WritesErrorLinesForBadRequests) {
  RecordingPlayer* a = join("A");
  RecordingPlayer* b = join("B");
  RecordingPlayer* outsider = join("C");
  VantorServerGame* game = invite(a, b, 0, false);
  VantorServerGame* gone = invite(a, b, 0, false);
  server_.abortGameRequest(a, gone->getId());
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { server_.registerPlayer(nullptr); }, "ERROR : Registered Player is invalid\n"},
      {[&] { EXPECT_EQ(server_.getGame(5), nullptr); }, "ERROR : invalid game index\n"},
      {[&] { EXPECT_EQ(server_.getGame(-1), nullptr); }, "ERROR : invalid game index\n"},
      {[&] { server_.initiateGameFromXWithY(a, nullptr, 0, false); },
       "ERROR in initiateGameFromXWithY\n"},
      {[&] { server_.acceptGame(nullptr, game); }, "ERROR in acceptGame\n"},
      {[&] { server_.acceptGame(outsider, game); }, "ERROR in acceptGame (bis)\n"},
      {[&] { server_.acceptGame(b, gone); }, "ERROR in acceptGame\n"},
      {[&] { server_.refuseGame(a, nullptr); }, "ERROR in refuseGame\n"},
      {[&] { server_.refuseGame(b, gone); }, "ERROR in refuseGame\n"},
      {[&] { EXPECT_FALSE(server_.abortGameRequest(a, 999999)); }, "ERROR : abortGameRequest\n"},
      {[&] { EXPECT_FALSE(server_.initiateSpectateMode(999999, a)); },
       "ERROR : initiateSpectateMode\n"},
      {[&] { server_.broadcastMessage(nullptr, "x"); },
       "ERROR : Invalid broadcast message sender.\n"},
      {[&] { EXPECT_FALSE(server_.changePlayerNickName(nullptr, "x")); },
       "ERROR : target invalid in changePlayerNickName\n"},
  };
  for (const auto& c : cases) {
    CaptureStderr();
    c.first();
    EXPECT_EQ(GetCapturedStderr(), c.second);
  }
  EXPECT_FALSE(game->isStarted());
  EXPECT_EQ(server_.getGameCount(), 1);
  try {
    server_.getPlayerName(3);
    ADD_FAILURE() << "no exception";
  } catch (Exception* e) {
    EXPECT_STREQ(e->getMessage(), "Invalid player index");
    delete e;
  }
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

TEST_F(Lobby, RefusingOnesOwnInvitationTellsTheInvitedPlayerButARefusalComesTooLateOnceStarted) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  RecordingPlayer* z = join("Z");
  for (int8_t colour : {0, 1}) {
    VantorServerGame* game = invite(x, y, colour, false);
    clearRecords();
    server_.refuseGame(x, game);
    EXPECT_EQ(log_.get(), (Lines{"Y: refused X", "X: games", "Y: games", "Z: games"}));
    EXPECT_EQ(server_.getGameCount(), 0);
  }
  VantorServerGame* game = invite(x, y, 0, false);
  clearRecords();
  server_.refuseGame(z, game);  // by an outsider
  server_.acceptGame(y, game);
  clearRecords();
  server_.refuseGame(y, game);
  EXPECT_TRUE(log_.get().empty());
  EXPECT_EQ(server_.getGameCount(), 1);
}

TEST_F(Lobby, AbortsOnlyForAPlayerOfTheGameButAlwaysMakesEveryoneReadTheGameList) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  RecordingPlayer* s = join("S");
  clearRecords();
  CaptureStderr();
  EXPECT_FALSE(server_.abortGameRequest(y, 123456));
  EXPECT_EQ(GetCapturedStderr(), "ERROR : abortGameRequest\n");
  EXPECT_EQ(log_.get(), (Lines{"X: games", "Y: games", "S: games"}));
  VantorServerGame* game = invite(x, y, 0, true, true);
  const int gameId = game->getId();
  server_.initiateSpectateMode(gameId, s);
  EXPECT_FALSE(server_.abortGameRequest(s, gameId));
  EXPECT_EQ(server_.getGameCount(), 1);
  clearRecords();
  EXPECT_TRUE(server_.abortGameRequest(y, gameId));
  const std::string i = std::to_string(gameId);
  EXPECT_EQ(log_.get(), (Lines{"X: games", "Y: games", "S: games", "X: closed " + i,
                               "Y: closed " + i, "S: closed " + i}));
  EXPECT_EQ(server_.findGameById(gameId), nullptr);
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
  // Watching one of its own games does not bring it the close either.
  EXPECT_TRUE(server_.initiateSpectateMode(first->getId(), leaver));
  const std::string i1 = id(first);
  const std::string i2 = id(second);
  clearRecords();
  leave(leaver);
  EXPECT_EQ(log_.get(), (Lines{"B: games", "C: games", "D: games", "E: games", "B: closed " + i1,
                               "B: games", "C: games", "D: games", "E: games", "C: closed " + i2,
                               "B: players", "C: players", "D: players", "E: players"}));
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

TEST_F(Lobby, ShowsMovesOnlyToSpectatorsOfGamesThatAllowThem) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  RecordingPlayer* s = join("S");
  VantorServerGame* open = invite(x, y, 0, true, true);
  VantorServerGame* closed = invite(x, y, 0, false, true);
  EXPECT_TRUE(server_.initiateSpectateMode(open->getId(), s));
  EXPECT_FALSE(server_.initiateSpectateMode(closed->getId(), s));
  clearRecords();
  server_.playMove(open->getId(), x, 5, 3);
  server_.playMove(closed->getId(), x, 5, 3);
  CaptureStderr();
  server_.playMove(closed->getId() + 1000, x, 4, 3);  // no such game: nothing at all
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(s->lines(), (Lines{"played " + id(open) + " 5 3"}));
}

TEST_F(Lobby, SendsAPrivateMessageOnlyToARegisteredAddresseeAndLogsIt) {
  RecordingPlayer* a = join("A");
  RecordingPlayer* b = join("B");
  RecordingPlayer outsider("Outsider");
  clearRecords();
  CaptureStderr();
  server_.sendMessage(a, b, "psst");
  char expected[128];
  std::snprintf(expected, sizeof expected, "%p message to %p: psst\n", static_cast<void*>(a),
                static_cast<void*>(b));
  EXPECT_EQ(GetCapturedStderr(), expected);
  CaptureStderr();
  server_.sendMessage(a, nullptr, "void");
  server_.sendMessage(a, &outsider, "out");
  EXPECT_NE(GetCapturedStderr().find("dest not exists (TODO : envoyer un message au client)\n"),
            std::string::npos);
  EXPECT_EQ(log_.get(), Lines{"B: message A 0 psst"});
  EXPECT_TRUE(outsider.lines().empty());
}

TEST_F(Lobby, BoundsThePlacesOfEachPersonSoThatTheLongestGameListFitsOneFrame) {
  // Every name as long as a name can be, each cut to the bound.
  std::vector<RecordingPlayer*> people;
  for (int i = 0; i < VantorServer::kMaxPlayers; ++i) {
    people.push_back(join(""));
    server_.changePlayerNickName(people.back(), std::string(40, static_cast<char>('a' + i)));
    EXPECT_EQ(people.back()->getName().size(), VantorServer::kMaxNickLength);
  }
  // Each invites the next sixteen: 32 places each, 384 games in all.
  CaptureStderr();
  for (int i = 0; i < VantorServer::kMaxPlayers; ++i) {
    for (int k = 1; k <= 16; ++k)
      invite(people[i], people[(i + k) % VantorServer::kMaxPlayers], 0, false);
  }
  EXPECT_EQ(GetCapturedStderr().find("ERROR"), std::string::npos);
  ASSERT_EQ(server_.getGameCount(), VantorServer::kMaxGames);

  std::vector<VantorListedGame> listed;
  for (int i = 0; i < server_.getGameCount(); ++i) {
    VantorServerGame* game = server_.getGame(i);
    listed.push_back({game->getId(), game->getPlayer(1)->getName(), game->getPlayer(2)->getName()});
  }
  const std::string list = buildGameList(listed);
  EXPECT_FALSE(list.empty());
  EXPECT_LE(list.size(), static_cast<size_t>(kMaxGameListPayload));

  // A 33rd place is refused, on either side, and a game against oneself takes two.
  CaptureStderr();
  server_.initiateGameFromXWithY(people[0], people[1], 0, false);
  EXPECT_EQ(GetCapturedStderr(),
            "ERROR in initiateGameFromXWithY: " + people[0]->getName() + " has 32 games already\n");
  server_.abortGameRequest(people[0], server_.getGame(0)->getId());
  CaptureStderr();
  server_.initiateGameFromXWithY(people[0], people[0], 0, false);
  EXPECT_EQ(GetCapturedStderr(),
            "ERROR in initiateGameFromXWithY: " + people[0]->getName() + " has 32 games already\n");
  CaptureStderr();
  server_.initiateGameFromXWithY(people[2], people[3], 0, false);
  EXPECT_EQ(GetCapturedStderr(),
            "ERROR in initiateGameFromXWithY: " + people[2]->getName() + " has 32 games already\n");
  EXPECT_EQ(server_.getGameCount(), VantorServer::kMaxGames - 1);
}
