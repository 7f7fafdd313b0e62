// A game of the server: its ids, the events of a pass with their recipients
// and order, refused moves and closing. (Moves, the end of a game and
// spectators are seen through the lobby and the protocol.)
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "server/VantorServerGame.h"
#include "tests/server/RecordingPlayer.h"

namespace {

using Lines = std::vector<std::string>;
using Move = std::pair<int, int>;

// The shortest game after which black must pass (white made the last move).
const std::vector<Move> kGameWithAPass = {{5, 3}, {6, 3}, {7, 3}, {7, 2},
                                          {3, 5}, {8, 3}, {8, 1}, {6, 1}};

// A, black, against B, white, watched by S, all writing to one log.
class ServerGame : public testing::Test {
 protected:
  ServerGame() {
    game.setAllowSpectators(true);
    game.addSpectator(&s);
  }
  std::string played(int x, int y, const std::string& to) {
    return to + ": played " + i + " " + std::to_string(x) + " " + std::to_string(y);
  }
  // Plays all moves but the last, alternately, and clears the log.
  void playAllButTheLast(const std::vector<Move>& moves) {
    for (size_t n = 0; n + 1 < moves.size(); ++n) {
      ASSERT_TRUE(game.submitMove(n % 2 == 0 ? &a : &b, static_cast<int8_t>(moves[n].first),
                                  static_cast<int8_t>(moves[n].second)));
    }
    log.clear();
  }

  EventLog log;
  RecordingPlayer a{"A", &log};
  RecordingPlayer b{"B", &log};
  RecordingPlayer s{"S", &log};
  VantorServerGame game{&a, &b};
  const std::string i = std::to_string(game.getId());
};

}  // namespace

TEST(ServerGameIds, ComeFromOneCounterAndAreNeverReused) {
  RecordingPlayer a("A");
  std::unique_ptr<VantorServerGame> first(new VantorServerGame(&a, &a));
  const int id = first->getId();
  EXPECT_GE(id, 0);
  first.reset();
  EXPECT_EQ(VantorServerGame(&a, &a).getId(), id + 1);
  EXPECT_EQ(VantorServerGame(&a, &a).getId(), id + 2);
}

TEST_F(ServerGame, TellsOfAPassWhileThePassingSideIsStillToMoveThenTheSpectators) {
  playAllButTheLast(kGameWithAPass);
  EXPECT_TRUE(game.submitMove(&b, 6, 1));
  EXPECT_EQ(log.get(), (Lines{played(6, 1, "A"), played(6, 1, "B"), played(6, 1, "S"),
                              "A: pass " + i, "B: pass " + i, "B: turn " + i, "S: pass " + i}));
  EXPECT_EQ(game.getTurn(), kWhite);
  EXPECT_EQ(game.getPlayerToMove(), &b);
}

TEST_F(ServerGame, AnswersRefusedMovesWithInvalidMoveToTheSenderOnlyAndChangesNothing) {
  RecordingPlayer outsider("O", &log);
  EXPECT_FALSE(game.submitMove(&b, 5, 3));         // out of turn
  EXPECT_FALSE(game.submitMove(&a, 0, 5));         // outside the board
  EXPECT_FALSE(game.submitMove(&a, 9, 1));         // outside the board
  EXPECT_FALSE(game.submitMove(&a, -128, 127));    // far outside
  EXPECT_FALSE(game.submitMove(&a, 4, 4));         // occupied
  EXPECT_FALSE(game.submitMove(&a, 1, 1));         // flips nothing
  EXPECT_FALSE(game.submitMove(&s, 5, 3));         // a spectator
  EXPECT_FALSE(game.submitMove(&outsider, 5, 3));  // a player of no part
  EXPECT_FALSE(game.submitMove(nullptr, 5, 3));
  EXPECT_EQ(log.get(), (Lines{"B: invalid " + i + " 5 3", "A: invalid " + i + " 0 5",
                              "A: invalid " + i + " 9 1", "A: invalid " + i + " -128 127",
                              "A: invalid " + i + " 4 4", "A: invalid " + i + " 1 1",
                              "S: invalid " + i + " 5 3", "O: invalid " + i + " 5 3"}));
  VantorGame fresh;
  for (int n = 0; n < 64; ++n) {
    EXPECT_EQ(game.getCell(n % 8 + 1, n / 8 + 1), fresh.getCell(n % 8 + 1, n / 8 + 1));
  }
  EXPECT_EQ(game.getTurn(), kBlack);
}

TEST(ServerGameClose, SendsGameClosedOnDeletionOnlyWhenStartedAndNotToPlayersWhoLeft) {
  EventLog log;
  RecordingPlayer a("A", &log);
  RecordingPlayer b("B", &log);
  RecordingPlayer s("S", &log);
  // The log of deleting a game of a and second, started or not, watched by
  // s or not, after the player left (if any) has been marked, ids left out.
  auto close = [&](bool started, VantorPlayer* second, bool watched, VantorPlayer* left) {
    log.clear();
    std::unique_ptr<VantorServerGame> game(new VantorServerGame(&a, second));
    game->setStarted(started);
    game->setAllowSpectators(true);
    if (watched) game->addSpectator(&s);
    if (left != nullptr) game->markPlayerLeft(left);
    const std::string suffix = " " + std::to_string(game->getId());
    game.reset();
    Lines lines = log.get();
    for (std::string& line : lines) {
      EXPECT_EQ(line.substr(line.size() - suffix.size()), suffix);
      line.resize(line.size() - suffix.size());
    }
    return lines;
  };
  EXPECT_EQ(close(false, &b, true, nullptr), Lines{});
  EXPECT_EQ(close(true, &b, true, nullptr), (Lines{"A: closed", "B: closed", "S: closed"}));
  EXPECT_EQ(close(true, &b, false, &a), Lines{"B: closed"});
  EXPECT_EQ(close(true, &a, false, &a), Lines{});
}
