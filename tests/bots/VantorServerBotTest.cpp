// The server's computer player against a lobby that only records: what it
// answers and plays, when, on how many threads, and what is left when no
// thread can be made or the bot goes.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "bots/VantorDeepBlue.h"
#include "tests/bots/FakeLobby.h"
#include "tests/ios/TestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

int elapsedMs(Clock::time_point since) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

VantorGameEvent notice(int gameId, const VantorGame* position, int type = YourTurn) {
  return VantorGameEvent{0, 0, nullptr, type, gameId, position};
}

// The threads of this process as the system lists them.
int threadCount() {
  using Tasks = std::filesystem::directory_iterator;
  return static_cast<int>(std::distance(Tasks("/proc/self/task"), Tasks()));
}

// Counted after one thread has come and gone, so that a helper thread the
// runtime starts with the first one is already there.
int threadCountBeforeTheBot() {
  std::thread([] {}).join();
  return threadCount();
}

}  // namespace

// An invitation is accepted on the notifying thread. A reply to the
// broadcast, had there been one, would have come before the private one.
TEST(ServerBot, AcceptsAtOnceMovesOnlyOnItsTurnAfterTwoSecondsAndAnswersOnlyInPrivateAfterThree) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  VantorPlayer shouter(&lobby), sender(&lobby);
  VantorGame start;
  VantorServerGame* game = reinterpret_cast<VantorServerGame*>(&sender);  // only compared
  bot.notifyAskGame(&sender, game);
  EXPECT_EQ(lobby.accepted,
            (std::vector<std::pair<VantorPlayer*, VantorServerGame*>>{{&bot, game}}));
  Clock::time_point begin = Clock::now();
  bot.notifyMessage(&shouter, "hello all", true);
  for (int type : {GameStarted, InvalidMove, MovePlayed, MustPass, GameOver, GameClosed}) {
    bot.notifyGameEvent(notice(9, &start, type));
  }
  bot.notifyGameEvent(notice(10, &start));
  bot.notifyMessage(&sender, "anyone?", false);
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 5000));
  EXPECT_GE(elapsedMs(begin), 2000);
  EXPECT_TRUE(lobby.copyOf(lobby.messages).empty());
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.messages.empty(); }, 5000));
  EXPECT_GE(elapsedMs(begin), 3000);
  EXPECT_EQ(lobby.copyOf(lobby.moves), FakeLobby::Lines{FakeLobby::move(10, bot, 5, 3)});
  EXPECT_EQ(lobby.copyOf(lobby.messages)[0],
            "Pee[Bot] to " + std::to_string(sender.getId()) + ": I can't speak, I'm a bot!");
}

TEST(ServerBot, PlaysInTwoGamesInTheOrderItWasToldByIdTheMovesItChoseOnCopies) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 3);
  bot.setPausesForTesting(100, 0);
  std::unique_ptr<VantorGame> first(new VantorGame());
  std::unique_ptr<VantorGame> second(new VantorGame());
  second->play(5, 3);  // white to move
  const VantorCoords expected[] = {bot.chooseMove(*first), bot.chooseMove(*second)};
  bot.notifyGameEvent(notice(1, first.get()));
  bot.notifyGameEvent(notice(2, second.get()));
  // Whatever happens to the games now cannot reach the worker.
  first->play(expected[0].x, expected[0].y);
  first.reset();
  second.reset();
  ASSERT_TRUE(lobby.waitFor([&] { return lobby.moves.size() == 2; }, 5000));
  EXPECT_EQ(lobby.copyOf(lobby.moves),
            (FakeLobby::Lines{FakeLobby::move(1, bot, expected[0].x, expected[0].y),
                              FakeLobby::move(2, bot, expected[1].x, expected[1].y)}));
}

// Sixteen replies wait at once, on the bot's one worker; what waits goes
// with the bot, which neither waits out the pauses nor leaves a thread.
TEST(ServerBot, KeepsSixteenRepliesWaitingOnOneThreadAndDropsWhatWaitsWhenDestroyed) {
  FakeLobby lobby;
  const int before = threadCountBeforeTheBot();
  VantorDeepBlue* bot = new VantorDeepBlue(&lobby, 1);
  bot->setPausesForTesting(60000, 60000);
  VantorPlayer sender(&lobby);
  VantorGame start;
  int most = threadCount();
  testing::internal::CaptureStderr();
  for (int n = 0; n < 300; ++n) {
    bot->notifyMessage(&sender, "spam", false);
    most = std::max(most, threadCount());
  }
  const std::string complaints = testing::internal::GetCapturedStderr();
  bot->notifyGameEvent(notice(1, &start));
  bot->notifyGameEvent(notice(2, &start));
  EXPECT_LE(most, before + 2);
  std::string expectedComplaints;
  for (int n = 16; n < 300; ++n) {
    expectedComplaints += "Pee[Bot]: chat reply dropped, 16 already waiting\n";
  }
  EXPECT_EQ(complaints, expectedComplaints);
  Clock::time_point begin = Clock::now();
  delete bot;
  EXPECT_LT(elapsedMs(begin), 10000);  // far below the pauses
  EXPECT_EQ(std::count(lobby.unregistered.begin(), lobby.unregistered.end(), bot), 1);
  // Its worker is gone, so nothing can still call the lobby.
  EXPECT_TRUE(eventually([&] { return threadCount() == before; }));
  EXPECT_TRUE(lobby.copyOf(lobby.moves).empty());
  EXPECT_TRUE(lobby.copyOf(lobby.messages).empty());
}

// A bot started before threads ran out keeps its worker; one that could not
// start it keeps the turn and plays it once a later notice can.
TEST(ServerBot, PlaysEveryTurnWhenNoNewThreadCanBeMadeOnItsOwnThreadOrLater) {
  FakeLobby lobby;
  VantorDeepBlue started(&lobby, 1);
  started.setPausesForTesting(0, 0);
  VantorPlayer sender(&lobby);
  VantorGame start;
  std::unique_ptr<VantorDeepBlue> late;
  {
    NoNewThreads refusal;
    started.notifyGameEvent(notice(1, &start));
    started.notifyMessage(&sender, "hi", false);
    ASSERT_TRUE(
        lobby.waitFor([&] { return lobby.moves.size() == 1 && lobby.messages.size() == 1; }, 5000));
    testing::internal::CaptureStderr();
    late.reset(new VantorDeepBlue(&lobby, 1));
    late->setPausesForTesting(0, 0);
    late->notifyGameEvent(notice(2, &start));
    const std::string complaints = testing::internal::GetCapturedStderr();
    EXPECT_NE(complaints.find("Thread creation error"), std::string::npos) << complaints;
  }
  late->notifyGameEvent(notice(3, &start));
  ASSERT_TRUE(lobby.waitFor([&] { return lobby.moves.size() == 3; }, 5000));
  const FakeLobby::Lines moves = lobby.copyOf(lobby.moves);
  EXPECT_EQ(moves[1], FakeLobby::move(2, *late, 5, 3));
  EXPECT_EQ(moves[2], FakeLobby::move(3, *late, 5, 3));
}
