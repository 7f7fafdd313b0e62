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
    game_.setAllowSpectators(true);
    game_.addSpectator(&s_);
  }
  std::string played(int x, int y, const std::string& to) {
    return to + ": played " + i_ + " " + std::to_string(x) + " " + std::to_string(y);
  }
  // Plays all moves but the last, alternately, and clears the log.
  void playAllButTheLast(const std::vector<Move>& moves) {
    for (size_t n = 0; n + 1 < moves.size(); ++n) {
      ASSERT_TRUE(game_.submitMove(n % 2 == 0 ? &a_ : &b_, static_cast<int8_t>(moves[n].first),
                                   static_cast<int8_t>(moves[n].second)));
    }
    log_.clear();
  }

  EventLog log_;
  RecordingPlayer a_{"A", &log_};
  RecordingPlayer b_{"B", &log_};
  RecordingPlayer s_{"S", &log_};
  VantorServerGame game_{&a_, &b_};
  const std::string i_ = std::to_string(game_.getId());
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
  EXPECT_TRUE(game_.submitMove(&b_, 6, 1));
  EXPECT_EQ(log_.get(),
            (Lines{played(6, 1, "A"), played(6, 1, "B"), played(6, 1, "S"), "A: pass " + i_,
                   "B: pass " + i_, "B: turn " + i_, "S: pass " + i_}));
  EXPECT_EQ(game_.getTurn(), kWhite);
  EXPECT_EQ(game_.getPlayerToMove(), &b_);
}

TEST_F(ServerGame, AnswersRefusedMovesWithInvalidMoveToTheSenderOnlyAndChangesNothing) {
  RecordingPlayer outsider("O", &log_);
  EXPECT_FALSE(game_.submitMove(&b_, 5, 3));        // out of turn
  EXPECT_FALSE(game_.submitMove(&a_, 0, 5));        // outside the board
  EXPECT_FALSE(game_.submitMove(&a_, 9, 1));        // outside the board
  EXPECT_FALSE(game_.submitMove(&a_, -128, 127));   // far outside
  EXPECT_FALSE(game_.submitMove(&a_, 4, 4));        // occupied
  EXPECT_FALSE(game_.submitMove(&a_, 1, 1));        // flips nothing
  EXPECT_FALSE(game_.submitMove(&s_, 5, 3));        // a spectator
  EXPECT_FALSE(game_.submitMove(&outsider, 5, 3));  // a player of no part
  EXPECT_FALSE(game_.submitMove(nullptr, 5, 3));
  EXPECT_EQ(log_.get(), (Lines{"B: invalid " + i_ + " 5 3", "A: invalid " + i_ + " 0 5",
                               "A: invalid " + i_ + " 9 1", "A: invalid " + i_ + " -128 127",
                               "A: invalid " + i_ + " 4 4", "A: invalid " + i_ + " 1 1",
                               "S: invalid " + i_ + " 5 3", "O: invalid " + i_ + " 5 3"}));
  VantorGame fresh;
  for (int n = 0; n < 64; ++n) {
    EXPECT_EQ(game_.getCell(n % 8 + 1, n / 8 + 1), fresh.getCell(n % 8 + 1, n / 8 + 1));
  }
  EXPECT_EQ(game_.getTurn(), kBlack);
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
