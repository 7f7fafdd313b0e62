#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "server/VantorServerGame.h"
#include "tests/server/RecordingPlayer.h"

namespace {

using Lines = std::vector<std::string>;

// A server game whose position the test lays out.
class ArrangedServerGame : public VantorServerGame {
 public:
  ArrangedServerGame(VantorPlayer* p1, VantorPlayer* p2) : VantorServerGame(p1, p2) {}
  void copyPosition(const VantorGame& from) {
    for (int x = 1; x <= 8; ++x) {
      for (int y = 1; y <= 8; ++y) board[toIndex(x, y)] = static_cast<int8_t>(from.getCell(x, y));
    }
    turn = from.getTurn();
  }
};

// Plays random games from the start until a move leads to the pass state
// wanted (1: the other side must pass, 2: game over); gives the position
// before that move and the move.
std::pair<VantorGame, std::pair<int, int>> findMoveLeadingTo(int state) {
  std::mt19937 random(3);
  for (;;) {
    VantorGame game;
    while (game.checkPass() != 2) {
      if (game.checkPass() == 1) game.switchTurn();
      std::vector<std::pair<int, int>> moves;
      for (int x = 1; x <= 8; ++x) {
        for (int y = 1; y <= 8; ++y) {
          if (game.canPlay(x, y)) moves.push_back({x, y});
        }
      }
      std::pair<int, int> move = moves[random() % moves.size()];
      VantorGame before = game;
      game.play(move.first, move.second);
      if (game.checkPass() == state) return {before, move};
    }
  }
}

std::string played(int id, int x, int y) {
  return "played " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y);
}

std::string invalid(int id, int x, int y) {
  return "invalid " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y);
}

}  // namespace

TEST(ServerGame, TakesIdsFromOneCounterWithoutReusingThem) {
  RecordingPlayer a("A");
  RecordingPlayer b("B");
  VantorServerGame* first = new VantorServerGame(&a, &b);
  int id = first->getId();
  EXPECT_GE(id, 0);
  delete first;
  VantorServerGame second(&a, &b);
  VantorServerGame third(&b, &a);
  EXPECT_EQ(second.getId(), id + 1);
  EXPECT_EQ(third.getId(), id + 2);
}

TEST(ServerGame, KnowsItsPlayersAndWhoIsToMove) {
  RecordingPlayer a("A");
  RecordingPlayer b("B");
  RecordingPlayer c("C");
  VantorServerGame game(&a, &b);
  EXPECT_FALSE(game.isStarted());
  EXPECT_FALSE(game.allowsSpectators());
  EXPECT_EQ(game.getPlayer(1), &a);
  EXPECT_EQ(game.getPlayer(2), &b);
  EXPECT_EQ(game.getPlayer(7), &b);
  EXPECT_EQ(game.getPlayerToMove(), &a);
  EXPECT_EQ(game.colourOf(&a), 1);
  EXPECT_EQ(game.colourOf(&b), 2);
  EXPECT_EQ(game.colourOf(&c), 0);
  EXPECT_TRUE(game.hasPlayer(&b));
  EXPECT_FALSE(game.hasPlayer(&c));
  EXPECT_TRUE(game.submitMove(&a, 5, 3));
  EXPECT_EQ(game.getPlayerToMove(), &b);
  VantorServerGame self(&c, &c);
  EXPECT_EQ(self.colourOf(&c), 1);
}

TEST(ServerGame, TellsPlayersAndSpectatorsOfAMoveAndTheMoverOfItsTurn) {
  EventLog log;
  RecordingPlayer a("A", &log);
  RecordingPlayer b("B", &log);
  RecordingPlayer s("S", &log);
  VantorServerGame game(&a, &b);
  game.setAllowSpectators(true);
  ASSERT_TRUE(game.addSpectator(&s));
  int id = game.getId();
  EXPECT_TRUE(game.submitMove(&a, 5, 3));
  std::string i = std::to_string(id);
  EXPECT_EQ(log.get(), (Lines{"A: " + played(id, 5, 3), "B: " + played(id, 5, 3),
                              "S: " + played(id, 5, 3), "B: turn " + i}));
  EXPECT_EQ(game.getCell(5, 3), kBlack);
  EXPECT_EQ(game.getCell(5, 4), kBlack);
}

TEST(ServerGame, TellsOfAPassWhileThePassingSideIsStillToMove) {
  std::pair<VantorGame, std::pair<int, int>> found = findMoveLeadingTo(1);
  EventLog log;
  RecordingPlayer a("A", &log);
  RecordingPlayer b("B", &log);
  RecordingPlayer s("S", &log);
  ArrangedServerGame game(&a, &b);
  game.copyPosition(found.first);
  game.setAllowSpectators(true);
  game.addSpectator(&s);
  int mover = found.first.getTurn();
  VantorPlayer* moverPlayer = mover == kBlack ? static_cast<VantorPlayer*>(&a) : &b;
  std::string moverName = mover == kBlack ? "A" : "B";

  int x = found.second.first;
  int y = found.second.second;
  EXPECT_TRUE(game.submitMove(moverPlayer, static_cast<int8_t>(x), static_cast<int8_t>(y)));
  int id = game.getId();
  std::string i = std::to_string(id);
  EXPECT_EQ(log.get(),
            (Lines{"A: " + played(id, x, y), "B: " + played(id, x, y), "S: " + played(id, x, y),
                   "A: pass " + i, "B: pass " + i, moverName + ": turn " + i, "S: pass " + i}));
  EXPECT_EQ(game.getTurn(), mover);
  EXPECT_EQ(game.getPlayerToMove(), moverPlayer);
}

TEST(ServerGame, NamesThePassingPlayerAsThePlayerToMoveDuringThePassNotice) {
  std::pair<VantorGame, std::pair<int, int>> found = findMoveLeadingTo(1);
  class Watcher : public VantorPlayer {
   public:
    explicit Watcher(const std::string& n) : VantorPlayer(n) {}
    void notifyGameEvent(const VantorGameEvent& event) override {
      if (event.type == MustPass) {
        names.push_back(event.game->getPlayerToMove()->getName());
      }
    }
    std::vector<std::string> names;
  };
  Watcher a("A");
  Watcher b("B");
  ArrangedServerGame game(&a, &b);
  game.copyPosition(found.first);
  bool blackMoves = found.first.getTurn() == kBlack;
  VantorPlayer* mover = blackMoves ? static_cast<VantorPlayer*>(&a) : &b;
  ASSERT_TRUE(game.submitMove(mover, static_cast<int8_t>(found.second.first),
                              static_cast<int8_t>(found.second.second)));
  std::string passer = blackMoves ? "B" : "A";
  EXPECT_EQ(a.names, (Lines{passer}));
  EXPECT_EQ(b.names, (Lines{passer}));
}

TEST(ServerGame, EndsWithGameOverToPlayersAndSpectators) {
  std::pair<VantorGame, std::pair<int, int>> found = findMoveLeadingTo(2);
  EventLog log;
  RecordingPlayer a("A", &log);
  RecordingPlayer b("B", &log);
  RecordingPlayer s("S", &log);
  ArrangedServerGame game(&a, &b);
  game.copyPosition(found.first);
  game.setAllowSpectators(true);
  game.addSpectator(&s);
  VantorPlayer* mover = found.first.getTurn() == kBlack ? static_cast<VantorPlayer*>(&a) : &b;
  int x = found.second.first;
  int y = found.second.second;
  EXPECT_TRUE(game.submitMove(mover, static_cast<int8_t>(x), static_cast<int8_t>(y)));
  int id = game.getId();
  std::string i = std::to_string(id);
  EXPECT_EQ(log.get(),
            (Lines{"A: " + played(id, x, y), "B: " + played(id, x, y), "S: " + played(id, x, y),
                   "A: over " + i, "B: over " + i, "S: over " + i}));
  EXPECT_EQ(game.checkPass(), 2);
}

TEST(ServerGame, AnswersRefusedMovesWithInvalidMoveToTheSenderOnly) {
  EventLog log;
  RecordingPlayer a("A", &log);
  RecordingPlayer b("B", &log);
  RecordingPlayer s("S", &log);
  RecordingPlayer outsider("O", &log);
  VantorServerGame game(&a, &b);
  game.setAllowSpectators(true);
  game.addSpectator(&s);
  int id = game.getId();
  EXPECT_FALSE(game.submitMove(&b, 5, 3));         // out of turn
  EXPECT_FALSE(game.submitMove(&a, 0, 5));         // outside the board
  EXPECT_FALSE(game.submitMove(&a, 9, 1));         // outside the board
  EXPECT_FALSE(game.submitMove(&a, -128, 127));    // far outside
  EXPECT_FALSE(game.submitMove(&a, 4, 4));         // occupied
  EXPECT_FALSE(game.submitMove(&a, 1, 1));         // flips nothing
  EXPECT_FALSE(game.submitMove(&s, 5, 3));         // a spectator
  EXPECT_FALSE(game.submitMove(&outsider, 5, 3));  // a player of no part
  EXPECT_FALSE(game.submitMove(nullptr, 5, 3));
  EXPECT_EQ(log.get(), (Lines{"B: " + invalid(id, 5, 3), "A: " + invalid(id, 0, 5),
                              "A: " + invalid(id, 9, 1), "A: " + invalid(id, -128, 127),
                              "A: " + invalid(id, 4, 4), "A: " + invalid(id, 1, 1),
                              "S: " + invalid(id, 5, 3), "O: " + invalid(id, 5, 3)}));
  VantorGame fresh;
  for (int x = 1; x <= 8; ++x) {
    for (int y = 1; y <= 8; ++y) EXPECT_EQ(game.getCell(x, y), fresh.getCell(x, y));
  }
  EXPECT_EQ(game.getTurn(), kBlack);
}

TEST(ServerGame, LetsAPlayerHoldingBothPlacesPlayBothColours) {
  EventLog log;
  RecordingPlayer a("A", &log);
  VantorServerGame game(&a, &a);
  int id = game.getId();
  std::string i = std::to_string(id);
  EXPECT_TRUE(game.submitMove(&a, 5, 3));
  EXPECT_TRUE(game.submitMove(&a, 4, 3));
  EXPECT_EQ(game.getCell(4, 3), kWhite);
  EXPECT_EQ(log.get(), (Lines{"A: " + played(id, 5, 3), "A: " + played(id, 5, 3), "A: turn " + i,
                              "A: " + played(id, 4, 3), "A: " + played(id, 4, 3), "A: turn " + i}));
}

TEST(ServerGame, PlaysAMoveBeforeTheInvitationIsAccepted) {
  RecordingPlayer a("A");
  RecordingPlayer b("B");
  VantorServerGame game(&a, &b);
  EXPECT_TRUE(game.submitMove(&a, 5, 3));
  EXPECT_FALSE(game.isStarted());
}

TEST(ServerGame, SendsGameClosedOnDeletionOnlyWhenStartedAndNotToPlayersWhoLeft) {
  EventLog log;
  RecordingPlayer a("A", &log);
  RecordingPlayer b("B", &log);
  RecordingPlayer s("S", &log);
  VantorServerGame* open = new VantorServerGame(&a, &b);
  open->setAllowSpectators(true);
  open->addSpectator(&s);
  delete open;
  EXPECT_TRUE(log.get().empty());

  VantorServerGame* started = new VantorServerGame(&a, &b);
  started->setStarted(true);
  started->setAllowSpectators(true);
  started->addSpectator(&s);
  std::string i = std::to_string(started->getId());
  delete started;
  EXPECT_EQ(log.get(), (Lines{"A: closed " + i, "B: closed " + i, "S: closed " + i}));

  log.clear();
  VantorServerGame* left = new VantorServerGame(&a, &b);
  left->setStarted(true);
  left->markPlayerLeft(&a);
  i = std::to_string(left->getId());
  delete left;
  EXPECT_EQ(log.get(), (Lines{"B: closed " + i}));

  log.clear();
  VantorServerGame* self = new VantorServerGame(&a, &a);
  self->setStarted(true);
  self->markPlayerLeft(&a);
  delete self;
  EXPECT_TRUE(log.get().empty());
}

TEST(ServerGame, TakesSpectatorsOnlyWhenAllowedAndRemovesEveryOccurrence) {
  RecordingPlayer a("A");
  RecordingPlayer b("B");
  RecordingPlayer s("S");
  VantorServerGame game(&a, &b);
  EXPECT_FALSE(game.addSpectator(&s));
  EXPECT_EQ(game.getSpectatorCount(), 0);
  game.setAllowSpectators(true);
  EXPECT_TRUE(game.addSpectator(&s));
  EXPECT_TRUE(game.addSpectator(&a));
  EXPECT_TRUE(game.addSpectator(&s));
  EXPECT_EQ(game.getSpectatorCount(), 3);
  game.removeSpectator(&s);
  ASSERT_EQ(game.getSpectatorCount(), 1);
  EXPECT_EQ(game.getSpectator(0), &a);
}
