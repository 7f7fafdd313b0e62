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

const char* kReply = "I can't speak, I'm a bot!";

}  // namespace

// An invitation is accepted on the notifying thread. Due actions run in
// deadline order, so once a move due after the replies has been played,
// every reply that was coming has come.
TEST(ServerBot, AcceptsAtOnceAnswersOnlyAPrivateMessageAndPlaysOnlyOnItsTurn) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  bot.setPausesForTesting(0, 0);
  VantorPlayer sender(&lobby);
  VantorGame start;
  VantorServerGame* game = reinterpret_cast<VantorServerGame*>(&sender);  // only compared
  bot.notifyAskGame(&sender, game);
  EXPECT_EQ(lobby.accepted,
            (std::vector<std::pair<VantorPlayer*, VantorServerGame*>>{{&bot, game}}));
  bot.notifyMessage(&sender, "hello all", true);
  bot.notifyMessage(&sender, "hello", false);
  for (int type : {GameStarted, InvalidMove, MovePlayed, MustPass, GameOver, GameClosed}) {
    bot.notifyGameEvent(notice(9, &start, type));
  }
  bot.notifyGameEvent(notice(10, &start));
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 5000));
  const std::vector<FakeLobby::Move> moves = lobby.getMoves();
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].gameId, 10);
  const std::vector<FakeLobby::Message> replies = lobby.getMessages();
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].from, &bot);
  EXPECT_EQ(replies[0].toId, sender.getId());
  EXPECT_EQ(replies[0].text, kReply);
}

TEST(ServerBot, WaitsTwoSecondsBeforeMovingAndThreeBeforeAnsweringWithoutATestPause) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  VantorPlayer sender(&lobby);
  VantorGame start;
  Clock::time_point begin = Clock::now();
  bot.notifyGameEvent(notice(1, &start));
  bot.notifyMessage(&sender, "anyone?", false);
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 5000));
  EXPECT_GE(elapsedMs(begin), 2000);
  EXPECT_TRUE(lobby.getMessages().empty());
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.messages.empty(); }, 5000));
  EXPECT_GE(elapsedMs(begin), 3000);
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
  const std::vector<FakeLobby::Move> moves = lobby.getMoves();
  for (int n = 0; n < 2; ++n) {
    EXPECT_EQ(moves[n].gameId, n + 1);
    EXPECT_EQ(moves[n].player, &bot);
    EXPECT_EQ(moves[n].x, expected[n].x) << "game " << n + 1;
    EXPECT_EQ(moves[n].y, expected[n].y) << "game " << n + 1;
  }
}

TEST(ServerBot, AnswersAFloodOfMessagesOnOneThreadUpToSixteenAndStillPlays) {
  FakeLobby lobby;
  const int before = threadCountBeforeTheBot();
  VantorDeepBlue bot(&lobby, 1);
  // The move, due after every reply, shows when all replies have come.
  bot.setPausesForTesting(1000, 1000);
  VantorPlayer sender(&lobby);
  VantorGame start;
  int most = threadCount();
  testing::internal::CaptureStderr();
  for (int n = 0; n < 300; ++n) {
    bot.notifyMessage(&sender, "spam", false);
    most = std::max(most, threadCount());
  }
  const std::string complaints = testing::internal::GetCapturedStderr();
  bot.notifyGameEvent(notice(1, &start));
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 10000));
  EXPECT_LE(most, before + 2);
  EXPECT_LE(threadCount(), before + 2);
  EXPECT_EQ(lobby.getMessages().size(), 16u);
  std::string expectedComplaints;
  for (int n = 16; n < 300; ++n) {
    expectedComplaints += "Pee[Bot]: chat reply dropped, 16 already waiting\n";
  }
  EXPECT_EQ(complaints, expectedComplaints);
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
  EXPECT_EQ(lobby.getMoves()[1].gameId, 2);
  EXPECT_EQ(lobby.getMoves()[2].gameId, 3);
  EXPECT_EQ(lobby.getMoves()[1].player, late.get());
}

TEST(ServerBot, BeingDestroyedDropsItsPendingJobsAtOnceAndLeavesNoThread) {
  FakeLobby lobby;
  const int before = threadCountBeforeTheBot();
  VantorDeepBlue* bot = new VantorDeepBlue(&lobby, 1);
  bot->setPausesForTesting(60000, 60000);
  VantorPlayer sender(&lobby);
  VantorGame start;
  bot->notifyGameEvent(notice(1, &start));
  bot->notifyGameEvent(notice(2, &start));
  bot->notifyMessage(&sender, "hi", false);
  Clock::time_point begin = Clock::now();
  delete bot;
  // Far below the pauses: it did not wait them out.
  EXPECT_LT(elapsedMs(begin), 10000);
  EXPECT_EQ(std::count(lobby.unregistered.begin(), lobby.unregistered.end(), bot), 1);
  // Its worker is gone, so nothing can still call the lobby.
  EXPECT_TRUE(eventually([&] { return threadCount() == before; }));
  EXPECT_TRUE(lobby.getMoves().empty());
  EXPECT_TRUE(lobby.getMessages().empty());
}
