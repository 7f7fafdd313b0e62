#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
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

TEST(ServerBot, AnswersOnlyAPrivateMessageAndOnlyAfterThePause) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  bot.setPausesForTesting(0, 150);
  VantorPlayer sender(&lobby);
  Clock::time_point start = Clock::now();
  bot.notifyMessage(&sender, "hello all", true);
  bot.notifyMessage(&sender, "hello", false);
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.messages.empty(); }, 5000));
  EXPECT_GE(elapsedMs(start), 150);
  EXPECT_FALSE(lobby.waitFor([&] { return lobby.messages.size() > 1; }, 300));
  const FakeLobby::Message reply = lobby.getMessages()[0];
  EXPECT_EQ(reply.from, &bot);
  EXPECT_EQ(reply.toId, sender.getId());
  EXPECT_EQ(reply.text, kReply);
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
  EXPECT_FALSE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 1800));
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 5000));
  EXPECT_GE(elapsedMs(begin), 2000);
  EXPECT_TRUE(lobby.getMessages().empty());
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.messages.empty(); }, 5000));
  EXPECT_GE(elapsedMs(begin), 3000);
}

TEST(ServerBot, PlaysByGameIdTheMoveItChoseOnACopyOfEachPosition) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 3);
  bot.setPausesForTesting(100, 0);
  // Told to move in two games in quick succession, from different positions.
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
  Clock::time_point begin = Clock::now();
  bot.notifyGameEvent(notice(1, first.get()));
  bot.notifyGameEvent(notice(2, second.get()));
  // Whatever happens to the games now cannot reach the thinking threads.
  first->play(expected[0].x, expected[0].y);
  first.reset();
  second.reset();
  ASSERT_TRUE(lobby.waitFor([&] { return lobby.moves.size() == 2; }, 5000));
  EXPECT_GE(elapsedMs(begin), 100);
  std::vector<FakeLobby::Move> moves = lobby.getMoves();
  EXPECT_NE(moves[0].gameId, moves[1].gameId);
  for (const FakeLobby::Move& move : moves) {
    ASSERT_TRUE(move.gameId == 1 || move.gameId == 2);
    EXPECT_EQ(move.player, &bot);
    EXPECT_EQ(move.x, expected[move.gameId - 1].x) << "game " << move.gameId;
    EXPECT_EQ(move.y, expected[move.gameId - 1].y) << "game " << move.gameId;
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
  EXPECT_FALSE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 300));
}

TEST(ServerBot, BeingDestroyedStopsItsPausingThreadsAndWaitsForThem) {
  FakeLobby lobby;
  VantorDeepBlue* bot = new VantorDeepBlue(&lobby, 1);
  bot->setPausesForTesting(60000, 60000);
  VantorPlayer sender(&lobby);
  VantorGame start;
  bot->notifyGameEvent(notice(1, &start));
  bot->notifyMessage(&sender, "hi", false);
  Clock::time_point begin = Clock::now();
  delete bot;
  EXPECT_LT(elapsedMs(begin), 2000);
  // Unregistered exactly once, and its threads gave up without calling.
  EXPECT_EQ(std::count(lobby.unregistered.begin(), lobby.unregistered.end(), bot), 1);
  EXPECT_FALSE(lobby.waitFor([&] { return !lobby.moves.empty() || !lobby.messages.empty(); }, 200));
}

TEST(ServerBot, TakesTheNextTurnAndCanBeDestroyedAfterItsThreadsCouldNotBeMade) {
  FakeLobby lobby;
  // Let go if a step hangs, so that the failure is reported instead of the
  // test waiting for ever.
  VantorDeepBlue* bot = new VantorDeepBlue(&lobby, 1);
  bot->setPausesForTesting(0, 0);
  VantorPlayer sender(&lobby);
  VantorGame start;
  {
    NoNewThreads refusal;
    bot->notifyGameEvent(notice(1, &start));
    bot->notifyMessage(&sender, "hi", false);
  }
  auto within = [](std::function<void()> step) {
    std::packaged_task<void()> task(step);
    std::future<void> done = task.get_future();
    std::thread(std::move(task)).detach();
    return done.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  };
  ASSERT_TRUE(within([&] { bot->notifyGameEvent(notice(2, &start)); }));
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 5000));
  EXPECT_EQ(lobby.getMoves()[0].gameId, 2);
  ASSERT_TRUE(within([&] { delete bot; }));
}
