#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "bots/VantorDeepBlue.h"
#include "bots/VantorGrayThough.h"
#include "tests/bots/ArrangedPosition.h"
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
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    (void)entry;
    ++count;
  }
  return count;
}

// Counted after one thread has come and gone, so that a helper thread the
// runtime starts with the first one is already there.
int threadCountBeforeTheBot() {
  std::thread([] {}).join();
  return threadCount();
}

const char* kReply = "I can't speak, I'm a bot!";

}  // namespace

TEST(ServerBot, AcceptsAnInvitationAtOnceOnTheNotifyingThread) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  VantorPlayer inviter(&lobby);
  VantorServerGame* game = reinterpret_cast<VantorServerGame*>(&inviter);  // only compared
  bot.notifyAskGame(&inviter, game);
  ASSERT_EQ(lobby.accepted.size(), 1u);
  EXPECT_EQ(lobby.accepted[0], std::make_pair(static_cast<VantorPlayer*>(&bot), game));
  // A bot of no particular kind describes itself so.
  class PlainBot : public VantorServerBot {
   public:
    PlainBot() : VantorServerBot(nullptr, "Plain") {}
    ~PlainBot() override { retire(); }
    VantorCoords chooseMove(const VantorGame&) override { return VantorCoords{0, 0}; }
  };
  EXPECT_EQ(PlainBot().getDescription(), "This player is an AI.");
}

// Due actions run in deadline order, so once a move due after a reply has
// been played, every reply that was coming has come.
TEST(ServerBot, AnswersOnlyAPrivateMessageAndOnlyAfterThePause) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  bot.setPausesForTesting(150, 150);
  VantorPlayer sender(&lobby);
  VantorGame start;
  Clock::time_point begin = Clock::now();
  bot.notifyMessage(&sender, "hello all", true);
  bot.notifyMessage(&sender, "hello", false);
  bot.notifyGameEvent(notice(1, &start));
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 5000));
  EXPECT_GE(elapsedMs(begin), 150);
  const std::vector<FakeLobby::Message> replies = lobby.getMessages();
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].from, &bot);
  EXPECT_EQ(replies[0].toId, sender.getId());
  EXPECT_EQ(replies[0].text, kReply);
}

TEST(ServerBot, WaitsTwoSecondsBeforeMovingAndThreeBeforeAnsweringWithoutATestPause) {
  EXPECT_EQ(VantorServerBot::kMovePauseMilliseconds, 2000);
  EXPECT_EQ(VantorServerBot::chatPauseMilliseconds(kReply), 3000);
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
  std::unique_ptr<ArrangedPosition> second(
      new ArrangedPosition("........"
                           "........"
                           "........"
                           "...XO..."
                           "...XX..."
                           "...X....",
                           kWhite));
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

TEST(ServerBot, IgnoresEveryOtherGameEvent) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  bot.setPausesForTesting(0, 0);
  VantorGame start;
  for (int type : {GameStarted, InvalidMove, MovePlayed, MustPass, GameOver, GameClosed}) {
    bot.notifyGameEvent(notice(9, &start, type));
  }
  bot.notifyGameEvent(notice(10, &start));
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 5000));
  ASSERT_EQ(lobby.getMoves().size(), 1u);
  EXPECT_EQ(lobby.getMoves()[0].gameId, 10);
}

TEST(ServerBot, PlaysInAGameThatWentAwayWhileItWaitedOnlyByItsIdWhichTheLobbyIgnores) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  bot.setPausesForTesting(200, 0);
  std::unique_ptr<VantorGame> gone(new VantorGame());
  VantorGame other;
  bot.notifyGameEvent(notice(1, gone.get()));
  lobby.removeGame(1);
  gone.reset();
  bot.notifyGameEvent(notice(2, &other));
  ASSERT_TRUE(
      lobby.waitFor([&] { return lobby.moves.size() + lobby.ignoredMoves.size() == 2; }, 5000));
  ASSERT_EQ(lobby.getMoves().size(), 1u);
  EXPECT_EQ(lobby.getMoves()[0].gameId, 2);
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
  const std::string line = "Pee[Bot]: chat reply dropped, 16 already waiting\n";
  size_t count = 0;
  for (size_t at = complaints.find(line); at != std::string::npos;
       at = complaints.find(line, at + 1)) {
    ++count;
  }
  EXPECT_EQ(count, 300u - 16u);
}

TEST(ServerBot, PlaysAndAnswersWhenNoNewThreadCanBeMadeAfterItStarted) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  bot.setPausesForTesting(0, 0);
  VantorPlayer sender(&lobby);
  VantorGame start;
  NoNewThreads refusal;
  bot.notifyGameEvent(notice(1, &start));
  bot.notifyMessage(&sender, "hi", false);
  EXPECT_TRUE(
      lobby.waitFor([&] { return lobby.moves.size() == 1 && lobby.messages.size() == 1; }, 5000));
}

TEST(ServerBot, KeepsATurnNoticedWithoutAThreadAndPlaysItOnceAThreadCanBeMade) {
  FakeLobby lobby;
  VantorGame start;
  std::unique_ptr<VantorDeepBlue> bot;
  {
    NoNewThreads refusal;
    testing::internal::CaptureStderr();
    bot.reset(new VantorDeepBlue(&lobby, 1));
    bot->setPausesForTesting(0, 0);
    bot->notifyGameEvent(notice(1, &start));
    const std::string complaints = testing::internal::GetCapturedStderr();
    EXPECT_NE(complaints.find("Thread creation error"), std::string::npos) << complaints;
  }
  bot->notifyGameEvent(notice(2, &start));
  ASSERT_TRUE(lobby.waitFor([&] { return lobby.moves.size() == 2; }, 5000));
  EXPECT_EQ(lobby.getMoves()[0].gameId, 1);
  EXPECT_EQ(lobby.getMoves()[1].gameId, 2);
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
