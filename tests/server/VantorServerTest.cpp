#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "ios/Exception.h"
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
    RecordingPlayer* p = new RecordingPlayer(&server, &log);
    p->setName(nick);
    players.push_back(p);
    return p;
  }
  void leave(RecordingPlayer* p) {
    players.erase(std::find(players.begin(), players.end(), p));
    delete p;
  }
  void clearRecords() {
    log.clear();
    for (RecordingPlayer* p : players) p->clear();
  }
  // The game most recently listed.
  VantorServerGame* newestGame() { return server.getGame(server.getGameCount() - 1); }

  VantorServer server;
  EventLog log;
  std::vector<RecordingPlayer*> players;
};

std::string id(const VantorServerGame* game) {
  return std::to_string(game->getId());
}

}  // namespace

TEST_F(Lobby, RegistersTwentyFourPlayersAndTurnsTheNextAwayWithOnlyItsLogLine) {
  for (int i = 0; i < 24; ++i) join("P" + std::to_string(i));
  EXPECT_EQ(server.getPlayerCount(), 24);
  clearRecords();
  CaptureStderr();
  RecordingPlayer* extra = join("Extra");
  std::string err = GetCapturedStderr();
  EXPECT_FALSE(extra->isRegistered());
  EXPECT_EQ(server.getPlayerCount(), 24);
  EXPECT_TRUE(log.get().empty());
  EXPECT_TRUE(std::regex_match(err, std::regex("[0-9]+\\.[0-9]{6}/\\+\\+\\+/-?[0-9]+\n"))) << err;
}

TEST_F(Lobby, TellsEveryRegisteredPlayerOfAnArrivalButNotTheNewcomerStillBeingBuilt) {
  RecordingPlayer* a = join("A");
  RecordingPlayer* b = join("B");
  EXPECT_EQ(a->lines(), (Lines{"players"}));
  EXPECT_TRUE(b->lines().empty());
  EXPECT_TRUE(a->isRegistered());
  EXPECT_EQ(server.getPlayerName(0), "A");
  EXPECT_EQ(server.getPlayerName(1), "B");
}

TEST_F(Lobby, WritesItsLogLinesInTheirExactFormats) {
  CaptureStderr();
  RecordingPlayer* a = join("A");
  std::string arrival = GetCapturedStderr();
  RecordingPlayer* b = join("B");
  CaptureStderr();
  server.initiateGameFromXWithY(a, b, 0, false);
  std::string ask = GetCapturedStderr();
  CaptureStderr();
  server.changePlayerNickName(a, "Alice");
  std::string rename = GetCapturedStderr();
  CaptureStderr();
  leave(b);
  std::string departure = GetCapturedStderr();

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
}

TEST_F(Lobby, WritesErrorLinesForBadRequests) {
  RecordingPlayer* a = join("A");
  RecordingPlayer* b = join("B");
  struct Case {
    std::function<void()> request;
    std::string line;
  };
  server.initiateGameFromXWithY(a, b, 0, false);
  VantorServerGame* game = newestGame();
  std::vector<Case> cases = {
      {[&] { server.registerPlayer(nullptr); }, "ERROR : Registered Player is invalid\n"},
      {[&] { EXPECT_EQ(server.getGame(5), nullptr); }, "ERROR : invalid game index\n"},
      {[&] { EXPECT_EQ(server.getGame(-1), nullptr); }, "ERROR : invalid game index\n"},
      {[&] { server.initiateGameFromXWithY(a, nullptr, 0, false); },
       "ERROR in initiateGameFromXWithY\n"},
      {[&] { server.acceptGame(nullptr, game); }, "ERROR in acceptGame\n"},
      {[&] { server.refuseGame(a, nullptr); }, "ERROR in refuseGame\n"},
      {[&] { EXPECT_FALSE(server.abortGameRequest(a, 999999)); }, "ERROR : abortGameRequest\n"},
      {[&] { EXPECT_FALSE(server.initiateSpectateMode(999999, a)); },
       "ERROR : initiateSpectateMode\n"},
      {[&] { server.broadcastMessage(nullptr, "x"); },
       "ERROR : Invalid broadcast message sender.\n"},
      {[&] { EXPECT_FALSE(server.changePlayerNickName(nullptr, "x")); },
       "ERROR : target invalid in changePlayerNickName\n"},
  };
  for (Case& c : cases) {
    CaptureStderr();
    c.request();
    EXPECT_EQ(GetCapturedStderr(), c.line);
  }
  RecordingPlayer* outsider = join("C");
  CaptureStderr();
  server.acceptGame(outsider, game);
  EXPECT_EQ(GetCapturedStderr(), "ERROR in acceptGame (bis)\n");
  EXPECT_FALSE(game->isStarted());
}

TEST_F(Lobby, FindsPlayersByExactNameTheFirstRegisteredFirst) {
  RecordingPlayer* first = join("Twin");
  RecordingPlayer* second = join("Twin");
  join("twin");
  EXPECT_EQ(server.findPlayerByName("Twin"), first);
  EXPECT_EQ(server.findPlayerByName("Twi"), nullptr);
  EXPECT_EQ(server.findPlayerByName(nullptr), nullptr);
  EXPECT_EQ(server.findPlayerById(second->getId()), second);
  leave(first);
  EXPECT_EQ(server.findPlayerByName("Twin"), second);
}

TEST_F(Lobby, RaisesAnExceptionForAPlayerIndexOutOfRange) {
  join("A");
  for (int index : {-1, 1}) {
    try {
      server.getPlayerName(index);
      ADD_FAILURE() << "no exception for " << index;
    } catch (Exception* e) {
      EXPECT_STREQ(e->getMessage(), "Invalid player index");
      delete e;
    }
  }
}

TEST_F(Lobby, DescribesAPlayerByNickOrGivesNothing) {
  join("A");
  std::string out = "stale";
  server.getPlayerDescription("A", out);
  EXPECT_EQ(out, "No description.");
  server.getPlayerDescription("Nobody", out);
  EXPECT_EQ(out, "");
}

TEST_F(Lobby, RenamesAPlayerAsAskedAndTellsEveryone) {
  RecordingPlayer* a = join("A");
  RecordingPlayer* b = join("B");
  clearRecords();
  EXPECT_TRUE(server.changePlayerNickName(b, "A"));
  EXPECT_EQ(b->getName(), "A");
  EXPECT_EQ(log.get(), (Lines{"A: players", "A: players"}));
  EXPECT_EQ(server.findPlayerByName("A"), a);
}

TEST_F(Lobby, CreatesAnInvitationWithTheColoursAsked) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  clearRecords();
  server.initiateGameFromXWithY(x, y, 0, true);
  VantorServerGame* first = newestGame();
  EXPECT_EQ(first->getPlayer(1), x);
  EXPECT_EQ(first->getPlayer(2), y);
  EXPECT_TRUE(first->allowsSpectators());
  EXPECT_FALSE(first->isStarted());
  EXPECT_EQ(log.get(), (Lines{"Y: ask X " + id(first), "X: games", "Y: games"}));
  server.initiateGameFromXWithY(x, y, 1, false);
  VantorServerGame* second = newestGame();
  EXPECT_EQ(second->getPlayer(1), y);
  EXPECT_EQ(second->getPlayer(2), x);
  EXPECT_FALSE(second->allowsSpectators());
  EXPECT_EQ(server.findGameById(second->getId()), second);
  EXPECT_EQ(server.getGameCount(), 2);
}

TEST_F(Lobby, StartsAnAcceptedGameWithoutTellingItsSpectators) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  RecordingPlayer* s = join("S");
  server.initiateGameFromXWithY(x, y, 0, true);
  VantorServerGame* game = newestGame();
  EXPECT_TRUE(server.initiateSpectateMode(game->getId(), s));
  clearRecords();
  // Either player may accept, the inviting one too.
  server.acceptGame(x, game);
  EXPECT_TRUE(game->isStarted());
  std::string i = id(game);
  EXPECT_EQ(log.get(), (Lines{"X: started " + i, "Y: started " + i, "X: turn " + i, "X: games",
                              "Y: games", "S: games"}));
  clearRecords();
  CaptureStderr();
  server.acceptGame(y, game);
  EXPECT_EQ(GetCapturedStderr(), "ERROR in acceptGame (bis)\n");
  EXPECT_TRUE(log.get().empty());
}

TEST_F(Lobby, LetsAPlayerInviteItselfAndPlayBothColours) {
  RecordingPlayer* a = join("A");
  clearRecords();
  server.initiateGameFromXWithY(a, a, 0, false);
  VantorServerGame* game = newestGame();
  std::string i = id(game);
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

TEST_F(Lobby, RefusingOnesOwnInvitationTellsTheInvitedPlayer) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  for (int8_t colour : {0, 1}) {
    server.initiateGameFromXWithY(x, y, colour, false);
    VantorServerGame* game = newestGame();
    clearRecords();
    server.refuseGame(x, game);
    EXPECT_EQ(log.get(), (Lines{"Y: refused X", "X: games", "Y: games"}));
    EXPECT_EQ(server.getGameCount(), 0);
  }
}

TEST_F(Lobby, IgnoresARefusalOfAStartedGameOrByAnOutsider) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  RecordingPlayer* z = join("Z");
  server.initiateGameFromXWithY(x, y, 0, false);
  VantorServerGame* game = newestGame();
  clearRecords();
  server.refuseGame(z, game);
  server.acceptGame(y, game);
  clearRecords();
  server.refuseGame(y, game);
  EXPECT_TRUE(log.get().empty());
  EXPECT_EQ(server.getGameCount(), 1);
}

TEST_F(Lobby, AbortOfAnUnknownIdStillMakesEveryoneReadTheGameList) {
  join("A");
  RecordingPlayer* b = join("B");
  clearRecords();
  CaptureStderr();
  EXPECT_FALSE(server.abortGameRequest(b, 123456));
  EXPECT_EQ(GetCapturedStderr(), "ERROR : abortGameRequest\n");
  EXPECT_EQ(log.get(), (Lines{"A: games", "B: games"}));
}

TEST_F(Lobby, AbortsOnlyForAPlayerOfTheGameAndClosesItIfStarted) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  RecordingPlayer* s = join("S");
  server.initiateGameFromXWithY(x, y, 0, true);
  VantorServerGame* game = newestGame();
  int gameId = game->getId();
  server.acceptGame(y, game);
  server.initiateSpectateMode(gameId, s);
  clearRecords();
  EXPECT_FALSE(server.abortGameRequest(s, gameId));
  EXPECT_EQ(server.getGameCount(), 1);
  clearRecords();
  EXPECT_TRUE(server.abortGameRequest(y, gameId));
  std::string i = std::to_string(gameId);
  EXPECT_EQ(log.get(), (Lines{"X: games", "Y: games", "S: games", "X: closed " + i,
                              "Y: closed " + i, "S: closed " + i}));
  EXPECT_EQ(server.findGameById(gameId), nullptr);
}

TEST_F(Lobby, KeepsAFinishedGameListed) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  server.initiateGameFromXWithY(x, y, 0, false);
  VantorServerGame* game = newestGame();
  server.acceptGame(y, game);
  // Each side plays its first legal move until neither can move.
  while (game->checkPass() != 2) {
    VantorPlayer* mover = game->getPlayerToMove();
    bool moved = false;
    for (int y = 1; y <= 8 && !moved; ++y) {
      for (int x = 1; x <= 8 && !moved; ++x) {
        if (game->canPlay(x, y)) {
          server.playMove(game->getId(), mover, static_cast<int8_t>(x), static_cast<int8_t>(y));
          moved = true;
        }
      }
    }
    ASSERT_TRUE(moved);
  }
  EXPECT_TRUE(x->waitFor("over " + id(game), 0));
  EXPECT_EQ(server.getGameCount(), 1);
  EXPECT_EQ(server.getGame(0), game);
}

TEST_F(Lobby, ADepartingPlayerAbandonsItsTwoStartedGamesButNotTheOneItWatches) {
  RecordingPlayer* leaver = join("Leaver");
  RecordingPlayer* b = join("B");
  RecordingPlayer* c = join("C");
  RecordingPlayer* d = join("D");
  RecordingPlayer* e = join("E");
  server.initiateGameFromXWithY(leaver, b, 0, true);
  VantorServerGame* first = newestGame();
  server.acceptGame(b, first);
  server.initiateGameFromXWithY(c, leaver, 1, false);
  VantorServerGame* second = newestGame();
  server.acceptGame(c, second);
  server.initiateGameFromXWithY(d, e, 0, true);
  VantorServerGame* watched = newestGame();
  server.acceptGame(e, watched);
  server.initiateSpectateMode(watched->getId(), leaver);
  server.initiateSpectateMode(watched->getId(), leaver);
  // Watching one of its own games does not bring it the close either.
  EXPECT_TRUE(server.initiateSpectateMode(first->getId(), leaver));
  std::string i1 = id(first);
  std::string i2 = id(second);
  clearRecords();
  leave(leaver);
  EXPECT_EQ(log.get(), (Lines{"B: games", "C: games", "D: games", "E: games", "B: closed " + i1,
                              "B: games", "C: games", "D: games", "E: games", "C: closed " + i2,
                              "B: players", "C: players", "D: players", "E: players"}));
  EXPECT_EQ(server.getGameCount(), 1);
  EXPECT_EQ(server.getGame(0), watched);
  EXPECT_EQ(watched->getSpectatorCount(), 0);
  EXPECT_EQ(server.getPlayerCount(), 4);
}

TEST_F(Lobby, ADepartingInvitedPlayerLeavesTheOtherOnlyTheGameList) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  server.initiateGameFromXWithY(x, y, 0, false);
  clearRecords();
  leave(y);
  EXPECT_EQ(x->lines(), (Lines{"games", "players"}));
  EXPECT_EQ(server.getGameCount(), 0);
}

TEST_F(Lobby, APlayerNamedBlackOrWhiteLeavesWithoutAPlayerListNotice) {
  RecordingPlayer* stays = join("Stays");
  for (const char* nick : {"Black", "White"}) {
    RecordingPlayer* p = join(nick);
    stays->clear();
    leave(p);
    EXPECT_TRUE(stays->lines().empty()) << nick;
  }
  RecordingPlayer* other = join("Blacks");
  stays->clear();
  leave(other);
  EXPECT_EQ(stays->lines(), (Lines{"players"}));
}

TEST_F(Lobby, LetsPlayersWatchOnlyGamesThatAllowIt) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  RecordingPlayer* s = join("S");
  server.initiateGameFromXWithY(x, y, 0, true);
  VantorServerGame* open = newestGame();
  server.initiateGameFromXWithY(x, y, 0, false);
  VantorServerGame* closed = newestGame();
  EXPECT_TRUE(server.initiateSpectateMode(open->getId(), s));
  EXPECT_FALSE(server.initiateSpectateMode(closed->getId(), s));
  server.acceptGame(y, open);
  server.acceptGame(y, closed);
  s->clear();
  server.playMove(open->getId(), x, 5, 3);
  server.playMove(closed->getId(), x, 5, 3);
  EXPECT_EQ(s->lines(), (Lines{"played " + id(open) + " 5 3"}));
}

TEST_F(Lobby, AnswersMovesOutOfTurnOrOutOfRangeWithInvalidMoveAndIgnoresUnknownGames) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  RecordingPlayer* z = join("Z");
  server.initiateGameFromXWithY(x, y, 0, false);
  VantorServerGame* game = newestGame();
  server.acceptGame(y, game);
  int gameId = game->getId();
  std::string i = std::to_string(gameId);
  clearRecords();
  server.playMove(gameId, y, 5, 3);
  server.playMove(gameId, x, 0, 5);
  server.playMove(gameId, x, 9, 1);
  server.playMove(gameId, z, 5, 3);
  CaptureStderr();
  server.playMove(gameId + 1000, x, 5, 3);
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(log.get(), (Lines{"Y: invalid " + i + " 5 3", "X: invalid " + i + " 0 5",
                              "X: invalid " + i + " 9 1", "Z: invalid " + i + " 5 3"}));
}

TEST_F(Lobby, BroadcastsToEveryoneTheSenderIncluded) {
  RecordingPlayer* a = join("A");
  join("B");
  clearRecords();
  server.broadcastMessage(a, "hello");
  EXPECT_EQ(log.get(), (Lines{"A: message A 1 hello", "B: message A 1 hello"}));
}

TEST_F(Lobby, SendsAPrivateMessageOnlyToARegisteredAddressee) {
  RecordingPlayer* a = join("A");
  RecordingPlayer* b = join("B");
  clearRecords();
  CaptureStderr();
  server.sendMessage(a, b, "psst");
  std::string err = GetCapturedStderr();
  char expected[128];
  std::snprintf(expected, sizeof expected, "%p message to %p: psst\n", static_cast<void*>(a),
                static_cast<void*>(b));
  EXPECT_EQ(err, expected);
  EXPECT_EQ(log.get(), (Lines{"B: message A 0 psst"}));

  clearRecords();
  CaptureStderr();
  server.sendMessage(a, nullptr, "void");
  err = GetCapturedStderr();
  EXPECT_NE(err.find("dest not exists (TODO : envoyer un message au client)\n"), std::string::npos);
  RecordingPlayer outsider("Outsider");
  server.sendMessage(a, &outsider, "out");
  EXPECT_TRUE(log.get().empty());
  EXPECT_TRUE(outsider.lines().empty());
}

TEST_F(Lobby, SendsByIdOnlyWhileThatPlayerIsRegistered) {
  RecordingPlayer* a = join("A");
  RecordingPlayer* b = join("B");
  uint64_t bId = b->getId();
  server.sendMessageToId(a, bId, "first");
  EXPECT_EQ(b->lines().back(), "message A 0 first");
  leave(b);
  RecordingPlayer* c = join("B");
  clearRecords();
  testing::internal::CaptureStderr();
  server.sendMessageToId(a, bId, "second");
  GetCapturedStderr();
  EXPECT_TRUE(c->lines().empty());
  EXPECT_TRUE(log.get().empty());
}

TEST_F(Lobby, SendsItsOwnNoticesAsTheAdministrator) {
  RecordingPlayer* a = join("A");
  clearRecords();
  CaptureStderr();
  server.sendAdminMessage(a, "notice");
  GetCapturedStderr();
  EXPECT_EQ(a->lines(), (Lines{"message Administrator 0 notice"}));
  EXPECT_FALSE(server.getAdministrator()->isRegistered());
  EXPECT_EQ(server.findPlayerByName("Administrator"), nullptr);
}

TEST_F(Lobby, RefusesToAcceptAGameThatIsNoLongerListed) {
  RecordingPlayer* x = join("X");
  RecordingPlayer* y = join("Y");
  server.initiateGameFromXWithY(x, y, 0, false);
  VantorServerGame* gone = newestGame();
  server.abortGameRequest(x, gone->getId());
  clearRecords();
  CaptureStderr();
  server.acceptGame(y, gone);
  server.refuseGame(y, gone);
  EXPECT_EQ(GetCapturedStderr(), "ERROR in acceptGame\nERROR in refuseGame\n");
  EXPECT_TRUE(log.get().empty());
}

TEST_F(Lobby, IsReentrantForANotificationThatCallsBack) {
  // A player that accepts from inside the invitation, as the bots do.
  class Accepter : public RecordingPlayer {
   public:
    Accepter(VantorServer* s, EventLog* l) : RecordingPlayer(s, l), lobby(s) {}
    void notifyAskGame(VantorPlayer* inviter, VantorServerGame* game) override {
      RecordingPlayer::notifyAskGame(inviter, game);
      lobby->acceptGame(this, game);
    }
    VantorServer* lobby;
  };
  RecordingPlayer* x = join("X");
  Accepter* y = new Accepter(&server, &log);
  y->setName("Y");
  clearRecords();
  server.lock();
  server.initiateGameFromXWithY(x, y, 0, false);
  server.unlock();
  VantorServerGame* game = newestGame();
  std::string i = id(game);
  EXPECT_TRUE(game->isStarted());
  EXPECT_EQ(log.get(), (Lines{"Y: ask X " + i, "X: started " + i, "Y: started " + i, "X: turn " + i,
                              "X: games", "Y: games", "X: games", "Y: games"}));
  delete y;
}
