#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "bots/VantorDeepBlue.h"
#include "bots/VantorGrayThough.h"
#include "game/VantorGame.h"
#include "tests/bots/ArrangedPosition.h"
#include "tests/bots/FakeLobby.h"

namespace {

using Clock = std::chrono::steady_clock;

int elapsedMs(Clock::time_point since) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

VantorGameEvent turnNotice(int gameId, const VantorGame* position) {
  return VantorGameEvent{0, 0, nullptr, YourTurn, gameId, position};
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
  EXPECT_EQ(lobby.accepted[0].first, &bot);
  EXPECT_EQ(lobby.accepted[0].second, game);
}

TEST(ServerBot, DescribesItselfAsAnAi) {
  class PlainBot : public VantorServerBot {
   public:
    PlainBot() : VantorServerBot(nullptr, "Plain") {}
    ~PlainBot() override { retire(); }
    VantorCoords chooseMove(const VantorGame&) override { return VantorCoords{0, 0}; }
  };
  PlainBot bot;
  EXPECT_EQ(bot.getDescription(), "This player is an AI.");
  EXPECT_EQ(bot.getName(), "Plain");
}

TEST(ServerBot, AnswersAPrivateMessageWithTheFixedLineAfterThePause) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  bot.setPausesForTesting(0, 150);
  VantorPlayer sender(&lobby);
  Clock::time_point start = Clock::now();
  bot.notifyMessage(&sender, "hello", false);
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.messages.empty(); }, 5000));
  EXPECT_GE(elapsedMs(start), 150);
  std::vector<FakeLobby::Message> messages = lobby.getMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].from, &bot);
  EXPECT_EQ(messages[0].toId, sender.getId());
  EXPECT_EQ(messages[0].text, kReply);
}

TEST(ServerBot, WaitsThreeSecondsBeforeAnsweringWithoutATestPause) {
  EXPECT_EQ(VantorServerBot::chatPauseMilliseconds(kReply), 3000);
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  VantorPlayer sender(&lobby);
  Clock::time_point start = Clock::now();
  bot.notifyMessage(&sender, "anyone?", false);
  EXPECT_FALSE(lobby.waitFor([&] { return !lobby.messages.empty(); }, 2800));
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.messages.empty(); }, 5000));
  EXPECT_GE(elapsedMs(start), 3000);
}

TEST(ServerBot, DoesNotAnswerABroadcast) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  bot.setPausesForTesting(0, 0);
  VantorPlayer sender(&lobby);
  bot.notifyMessage(&sender, "hello all", true);
  EXPECT_FALSE(lobby.waitFor([&] { return !lobby.messages.empty(); }, 300));
}

TEST(ServerBot, PlaysItsChosenMoveByGameIdAfterThePause) {
  FakeLobby lobby;
  VantorGrayThough bot(&lobby, 3);
  bot.setPausesForTesting(100, 0);
  VantorGame start;
  Clock::time_point begin = Clock::now();
  bot.notifyGameEvent(turnNotice(42, &start));
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 5000));
  EXPECT_GE(elapsedMs(begin), 100);
  std::vector<FakeLobby::Move> moves = lobby.getMoves();
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].gameId, 42);
  EXPECT_EQ(moves[0].player, &bot);
  VantorCoords expected = bot.chooseMove(start);
  EXPECT_EQ(moves[0].x, expected.x);
  EXPECT_EQ(moves[0].y, expected.y);
}

TEST(ServerBot, WaitsTwoSecondsBeforeMovingWithoutATestPause) {
  EXPECT_EQ(VantorServerBot::kMovePauseMilliseconds, 2000);
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  VantorGame start;
  Clock::time_point begin = Clock::now();
  bot.notifyGameEvent(turnNotice(1, &start));
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 5000));
  EXPECT_GE(elapsedMs(begin), 2000);
}

TEST(ServerBot, IgnoresEveryOtherGameEvent) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 1);
  bot.setPausesForTesting(0, 0);
  VantorGame start;
  for (int type : {GameStarted, InvalidMove, MovePlayed, MustPass, GameOver, GameClosed}) {
    bot.notifyGameEvent(VantorGameEvent{3, 4, nullptr, type, 9, &start});
  }
  EXPECT_FALSE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 300));
}

TEST(ServerBot, PlaysInBothGamesWhenToldToMoveInTwoInQuickSuccession) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 3);
  bot.setPausesForTesting(50, 0);
  // White to move in the second game, from a different position.
  ArrangedPosition second(
      "........"
      "........"
      "........"
      "...XO..."
      "...XX..."
      "...X...."
      "........"
      "........",
      kWhite);
  VantorGame first;
  bot.notifyGameEvent(turnNotice(1, &first));
  bot.notifyGameEvent(turnNotice(2, &second));
  ASSERT_TRUE(lobby.waitFor([&] { return lobby.moves.size() == 2; }, 5000));
  std::vector<FakeLobby::Move> moves = lobby.getMoves();
  for (const FakeLobby::Move& move : moves) {
    const VantorGame& position = move.gameId == 1 ? static_cast<const VantorGame&>(first) : second;
    VantorCoords expected = bot.chooseMove(position);
    EXPECT_EQ(move.x, expected.x) << "game " << move.gameId;
    EXPECT_EQ(move.y, expected.y) << "game " << move.gameId;
    EXPECT_TRUE(position.canPlay(move.x, move.y));
  }
  EXPECT_NE(moves[0].gameId, moves[1].gameId);
}

TEST(ServerBot, NeverLooksAtThePositionAgainOnceTheNoticeHasReturned) {
  FakeLobby lobby;
  VantorDeepBlue bot(&lobby, 3);
  bot.setPausesForTesting(0, 0);
  std::unique_ptr<VantorGame> position(new VantorGame());
  VantorCoords expected = bot.chooseMove(*position);
  bot.notifyGameEvent(turnNotice(5, position.get()));
  // Whatever happens to the game now cannot reach the thinking thread.
  position->play(expected.x, expected.y);
  position.reset();
  ASSERT_TRUE(lobby.waitFor([&] { return !lobby.moves.empty(); }, 5000));
  EXPECT_EQ(lobby.getMoves()[0].x, expected.x);
  EXPECT_EQ(lobby.getMoves()[0].y, expected.y);
}

TEST(ServerBot, BeingDestroyedStopsItsPausingThreadsAndWaitsForThem) {
  FakeLobby lobby;
  VantorDeepBlue* bot = new VantorDeepBlue(&lobby, 1);
  bot->setPausesForTesting(60000, 60000);
  VantorPlayer sender(&lobby);
  VantorGame start;
  bot->notifyGameEvent(turnNotice(1, &start));
  bot->notifyMessage(&sender, "hi", false);
  Clock::time_point begin = Clock::now();
  delete bot;
  EXPECT_LT(elapsedMs(begin), 2000);
  // Unregistered exactly once, and its threads gave up without calling.
  int unregistrations = 0;
  for (VantorPlayer* p : lobby.unregistered) unregistrations += p == bot;
  EXPECT_EQ(unregistrations, 1);
  EXPECT_FALSE(lobby.waitFor([&] { return !lobby.moves.empty() || !lobby.messages.empty(); }, 200));
}
