#include <gtest/gtest.h>

#include <string>

#include "client/VantorClientGame.h"
#include "client/VantorClientGameEvent.h"

namespace {

// Counts its own destructions, to show who deletes a deferred event.
class CountedEvent : public VantorClientEvent {
 public:
  explicit CountedEvent(int* deleted) : VantorClientEvent(kClientGameEvent), deleted_(deleted) {}
  ~CountedEvent() override { ++*deleted_; }

 private:
  int* deleted_;
};

}  // namespace

TEST(ClientGame, StartsFromTheInitialPositionWithDefaultNames) {
  VantorClientGame game(5);
  EXPECT_EQ(game.getId(), 5);
  EXPECT_FALSE(game.isStarted());
  EXPECT_FALSE(game.isOutOfSync());
  EXPECT_EQ(game.getTurn(), kBlack);
  EXPECT_EQ(game.getCell(4, 4), kBlack);
  EXPECT_EQ(game.getCell(5, 4), kWhite);
  EXPECT_STREQ(game.getPlayerName(1), "White");
  EXPECT_STREQ(game.getPlayerName(-1), "Black");
  game.setStarted();
  EXPECT_TRUE(game.isStarted());
}

TEST(ClientGame, SetBoardReadsCellsWithXFastestAndKeepsTheTurn) {
  VantorClientGame game(0);
  std::string cells(64, '\0');
  cells[9] = -1;
  cells[63] = 1;
  game.setBoard(cells.data());
  EXPECT_EQ(game.getCell(2, 2), kBlack);
  EXPECT_EQ(game.getCell(8, 8), kWhite);
  EXPECT_EQ(game.getCell(4, 4), kEmpty);
  EXPECT_EQ(game.getTurn(), kBlack);
}

TEST(ClientGame, SetBoardTakesUnknownCellBytesAsEmpty) {
  VantorClientGame game(0);
  std::string cells(64, 5);
  game.setBoard(cells.data());
  EXPECT_EQ(game.count(kBlack), 0);
  EXPECT_EQ(game.count(kWhite), 0);
}

TEST(ClientGame, PlayerNamesAreCutTo255Characters) {
  VantorClientGame game(0);
  std::string longName(300, 'w');
  game.setPlayerNames(longName.c_str(), "Pee[Bot]");
  EXPECT_EQ(std::string(game.getPlayerName(1)), longName.substr(0, 255));
  EXPECT_STREQ(game.getPlayerName(-1), "Pee[Bot]");
  EXPECT_EQ(std::string(game.getPlayerName(0)).size(), 255u);
}

TEST(ClientGame, ReplayMovePlaysForTheSideToMove) {
  VantorClientGame game(0);
  EXPECT_TRUE(game.replayMove(3, 5));
  EXPECT_EQ(game.getCell(4, 5), kBlack);
  EXPECT_EQ(game.getTurn(), kWhite);
  EXPECT_FALSE(game.replayMove(3, 5));
}

TEST(ClientGame, ReplayMoveRefusesCoordinatesOffTheBoard) {
  VantorClientGame game(0);
  EXPECT_FALSE(game.replayMove(0, 5));
  EXPECT_FALSE(game.replayMove(9, 5));
  EXPECT_FALSE(game.replayMove(200, 255));
  EXPECT_EQ(game.getTurn(), kBlack);
  EXPECT_EQ(game.count(kBlack), 2);
}

TEST(ClientGame, DeferEventKeepsNothingWhileInStep) {
  VantorClientGame game(0);
  VantorClientGameEvent e(&game, kPlayerPassed);
  EXPECT_FALSE(game.deferEvent(&e));
  EXPECT_EQ(game.takeDeferredEvent(), nullptr);
}

TEST(ClientGame, DeferredEventWaitsUntilTakenAndTakingClearsTheMark) {
  VantorClientGame game(0);
  game.markOutOfSync();
  auto* e = new VantorClientGameEvent(&game, kPlayerPassed);
  EXPECT_TRUE(game.deferEvent(e));
  EXPECT_TRUE(game.isOutOfSync());
  VantorClientEvent* taken = game.takeDeferredEvent();
  EXPECT_EQ(taken, e);
  EXPECT_FALSE(game.isOutOfSync());
  EXPECT_EQ(game.takeDeferredEvent(), nullptr);
  delete taken;
}

TEST(ClientGame, ASecondDeferredEventReplacesAndDeletesTheFirst) {
  int deleted = 0;
  {
    VantorClientGame game(0);
    game.markOutOfSync();
    game.deferEvent(new CountedEvent(&deleted));
    game.deferEvent(new CountedEvent(&deleted));
    EXPECT_EQ(deleted, 1);
  }
  EXPECT_EQ(deleted, 2);
}
