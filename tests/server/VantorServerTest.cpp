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
    for (RecordingPlayer* p : players) delete p;
  }
  RecordingPlayer* join(const std::string& nick) {
    players.push_back(new RecordingPlayer(&server, &log));
    players.back()->setName(nick);
    return players.back();
  }
  void leave(RecordingPlayer* p) {
    players.erase(std::find(players.begin(), players.end(), p));
    delete p;
  }
  void clearRecords() {
    log.clear();
    for (RecordingPlayer* p : players) p->clear();
  }
  // x invites y; the new game, accepted by y when asked.
  VantorServerGame* invite(VantorPlayer* x, VantorPlayer* y, int8_t colour, bool spectators,
                           bool accept = false) {
    server.initiateGameFromXWithY(x, y, colour, spectators);
    VantorServerGame* game = server.getGame(server.getGameCount() - 1);
    if (accept) server.acceptGame(y, game);
    return game;
  }

  VantorServer server;
  EventLog log;
  std::vector<RecordingPlayer*> players;
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
  server.initiateGameFromXWithY(a, b, 0, false);
  const std::string ask = GetCapturedStderr();
  CaptureStderr();
  server.changePlayerNickName(a, "Alice");
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
  EXPECT_EQ(server.getPlayerCount(), 24);
  clearRecords();
  CaptureStderr();
  RecordingPlayer* extra = join("Extra");
  const std::string refused = GetCapturedStderr();
  EXPECT_FALSE(extra->isRegistered());
  EXPECT_EQ(server.getPlayerCount(), 24);
  EXPECT_TRUE(log.get().empty());
  EXPECT_TRUE(std::regex_match(refused, std::regex(t + "/\\+\\+\\+/" + n + "\n"))) << refused;
}

TEST_F(Lobby, WritesErrorLinesForBadRequests) {
  RecordingPlayer* a = join("A");
  RecordingPlayer* b = join("B");
  RecordingPlayer* outsider = join("C");
  VantorServerGame* game = invite(a, b, 0, false);
  VantorServerGame* gone = invite(a, b, 0, false);
  server.abortGameRequest(a, gone->getId());
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { server.registerPlayer(nullptr); }, "ERROR : Registered Player is invalid\n"},
      {[&] { EXPECT_EQ(server.getGame(5), nullptr); }, "ERROR : invalid game index\n"},
      {[&] { EXPECT_EQ(server.getGame(-1), nullptr); }, "ERROR : invalid game index\n"},
      {[&] { server.initiateGameFromXWithY(a, nullptr, 0, false); },
       "ERROR in initiateGameFromXWithY\n"},
      {[&] { server.acceptGame(nullptr, game); }, "ERROR in acceptGame\n"},
      {[&] { server.acceptGame(outsider, game); }, "ERROR in acceptGame (bis)\n"},
      {[&] { server.acceptGame(b, gone); }, "ERROR in acceptGame\n"},
      {[&] { server.refuseGame(a, nullptr); }, "ERROR in refuseGame\n"},
      {[&] { server.refuseGame(b, gone); }, "ERROR in refuseGame\n"},
      {[&] { EXPECT_FALSE(server.abortGameRequest(a, 999999)); }, "ERROR : abortGameRequest\n"},
      {[&] { EXPECT_FALSE(server.initiateSpectateMode(999999, a)); },
       "ERROR : initiateSpectateMode\n"},
      {[&] { server.broadcastMessage(nullptr, "x"); },
       "ERROR : Invalid broadcast message sender.\n"},
      {[&] { EXPECT_FALSE(server.changePlayerNickName(nullptr, "x")); },
       "ERROR : target invalid in changePlayerNickName\n"},
  };
  for (const auto& c : cases) {
    CaptureStderr();
    c.first();
    EXPECT_EQ(GetCapturedStderr(), c.second);
  }
  EXPECT_FALSE(game->isStarted());
  EXPECT_EQ(server.getGameCount(), 1);
  try {
    server.getPlayerName(3);
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
  EXPECT_EQ(server.getPlayerName(2), "twin");
  EXPECT_EQ(server.findPlayerByName("Twin"), first);
  EXPECT_EQ(server.findPlayerByName("Twi"), nullptr);
  EXPECT_EQ(server.findPlayerByName(nullptr), nullptr);
  EXPECT_EQ(server.findPlayerById(second->getId()), second);
  leave(first);
  EXPECT_EQ(server.findPlayerByName("Twin"), second);
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
  server.acceptGame(a, game);
  server.playMove(game->getId(), a, 5, 3);
  server.playMove(game->getId(), a, 4, 3);
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
    server.refuseGame(x, game);
    EXPECT_EQ(log.get(), (Lines{"Y: refused X", "X: games", "Y: games", "Z: games"}));
    EXPECT_EQ(server.getGameCount(), 0);
  }
  VantorServerGame* game = invite(x, y, 0, false);
  clearRecords();
  server.refuseGame(z, game);  // by an outsider
  server.acceptGame(y, game);
  clearRecords();
  server.refuseGame(y, game);
  EXPECT_TRUE(log.get().empty());
  EXPECT_EQ(server.getGameCount(), 1);
}

TEST_F(Lobby, AbortsOnlyForAPlayerOfTheGameButAlwaysMakesEveryoneReadTheGameList) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  RecordingPlayer* s = join("S");
  clearRecords();
  CaptureStderr();
  EXPECT_FALSE(server.abortGameRequest(y, 123456));
  EXPECT_EQ(GetCapturedStderr(), "ERROR : abortGameRequest\n");
  EXPECT_EQ(log.get(), (Lines{"X: games", "Y: games", "S: games"}));
  VantorServerGame* game = invite(x, y, 0, true, true);
  const int gameId = game->getId();
  server.initiateSpectateMode(gameId, s);
  EXPECT_FALSE(server.abortGameRequest(s, gameId));
  EXPECT_EQ(server.getGameCount(), 1);
  clearRecords();
  EXPECT_TRUE(server.abortGameRequest(y, gameId));
  const std::string i = std::to_string(gameId);
  EXPECT_EQ(log.get(), (Lines{"X: games", "Y: games", "S: games", "X: closed " + i,
                              "Y: closed " + i, "S: closed " + i}));
  EXPECT_EQ(server.findGameById(gameId), nullptr);
}

TEST_F(Lobby, ADepartingPlayerAbandonsItsTwoStartedGamesButNotTheOneItWatches) {
  RecordingPlayer* leaver = join("Leaver");
  RecordingPlayer* b = join("B");
  RecordingPlayer* c = join("C");
  RecordingPlayer* d = join("D");
  RecordingPlayer* e = join("E");
  VantorServerGame* first = invite(leaver, b, 0, true, true);
  VantorServerGame* second = invite(c, leaver, 1, false);
  server.acceptGame(c, second);
  VantorServerGame* watched = invite(d, e, 0, true, true);
  server.initiateSpectateMode(watched->getId(), leaver);
  server.initiateSpectateMode(watched->getId(), leaver);
  // Watching one of its own games does not bring it the close either.
  EXPECT_TRUE(server.initiateSpectateMode(first->getId(), leaver));
  const std::string i1 = id(first);
  const std::string i2 = id(second);
  clearRecords();
  leave(leaver);
  EXPECT_EQ(log.get(), (Lines{"B: games", "C: games", "D: games", "E: games", "B: closed " + i1,
                              "B: games", "C: games", "D: games", "E: games", "C: closed " + i2,
                              "B: players", "C: players", "D: players", "E: players"}));
  EXPECT_EQ(server.getGameCount(), 1);
  EXPECT_EQ(server.getGame(0), watched);
  EXPECT_EQ(watched->getSpectatorCount(), 0);
  EXPECT_EQ(server.getPlayerCount(), 4);
  // An invited player leaving leaves the inviter only the lists.
  invite(b, c, 0, false);
  clearRecords();
  leave(c);
  EXPECT_EQ(b->lines(), (Lines{"games", "players"}));
  EXPECT_EQ(server.getGameCount(), 1);
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
  EXPECT_TRUE(server.initiateSpectateMode(open->getId(), s));
  EXPECT_FALSE(server.initiateSpectateMode(closed->getId(), s));
  clearRecords();
  server.playMove(open->getId(), x, 5, 3);
  server.playMove(closed->getId(), x, 5, 3);
  CaptureStderr();
  server.playMove(closed->getId() + 1000, x, 4, 3);  // no such game: nothing at all
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(s->lines(), (Lines{"played " + id(open) + " 5 3"}));
}

TEST_F(Lobby, SendsAPrivateMessageOnlyToARegisteredAddresseeAndLogsIt) {
  RecordingPlayer* a = join("A");
  RecordingPlayer* b = join("B");
  RecordingPlayer outsider("Outsider");
  clearRecords();
  CaptureStderr();
  server.sendMessage(a, b, "psst");
  char expected[128];
  std::snprintf(expected, sizeof expected, "%p message to %p: psst\n", static_cast<void*>(a),
                static_cast<void*>(b));
  EXPECT_EQ(GetCapturedStderr(), expected);
  CaptureStderr();
  server.sendMessage(a, nullptr, "void");
  server.sendMessage(a, &outsider, "out");
  EXPECT_NE(GetCapturedStderr().find("dest not exists (TODO : envoyer un message au client)\n"),
            std::string::npos);
  EXPECT_EQ(log.get(), Lines{"B: message A 0 psst"});
  EXPECT_TRUE(outsider.lines().empty());
}

TEST_F(Lobby, BoundsThePlacesOfEachPersonSoThatTheLongestGameListFitsOneFrame) {
  // Every name as long as a name can be, each cut to the bound.
  std::vector<RecordingPlayer*> people;
  for (int i = 0; i < VantorServer::kMaxPlayers; ++i) {
    people.push_back(join(""));
    server.changePlayerNickName(people.back(), std::string(40, static_cast<char>('a' + i)));
    EXPECT_EQ(people.back()->getName().size(), VantorServer::kMaxNickLength);
  }
  // Each invites the next sixteen: 32 places each, 384 games in all.
  CaptureStderr();
  for (int i = 0; i < VantorServer::kMaxPlayers; ++i) {
    for (int k = 1; k <= 16; ++k)
      invite(people[i], people[(i + k) % VantorServer::kMaxPlayers], 0, false);
  }
  EXPECT_EQ(GetCapturedStderr().find("ERROR"), std::string::npos);
  ASSERT_EQ(server.getGameCount(), VantorServer::kMaxGames);

  std::vector<VantorListedGame> listed;
  for (int i = 0; i < server.getGameCount(); ++i) {
    VantorServerGame* game = server.getGame(i);
    listed.push_back({game->getId(), game->getPlayer(1)->getName(), game->getPlayer(2)->getName()});
  }
  const std::string list = buildGameList(listed);
  EXPECT_FALSE(list.empty());
  EXPECT_LE(list.size(), static_cast<size_t>(kMaxGameListPayload));

  // A 33rd place is refused, on either side, and a game against oneself takes two.
  CaptureStderr();
  server.initiateGameFromXWithY(people[0], people[1], 0, false);
  EXPECT_EQ(GetCapturedStderr(),
            "ERROR in initiateGameFromXWithY: " + people[0]->getName() + " has 32 games already\n");
  server.abortGameRequest(people[0], server.getGame(0)->getId());
  CaptureStderr();
  server.initiateGameFromXWithY(people[0], people[0], 0, false);
  EXPECT_EQ(GetCapturedStderr(),
            "ERROR in initiateGameFromXWithY: " + people[0]->getName() + " has 32 games already\n");
  CaptureStderr();
  server.initiateGameFromXWithY(people[2], people[3], 0, false);
  EXPECT_EQ(GetCapturedStderr(),
            "ERROR in initiateGameFromXWithY: " + people[2]->getName() + " has 32 games already\n");
  EXPECT_EQ(server.getGameCount(), VantorServer::kMaxGames - 1);
}
