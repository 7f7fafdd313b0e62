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

TEST(ClientGame, StartsFromTheInitialPositionWithDefaultNamesCutTo255Characters) {
  VantorClientGame game(5);
  EXPECT_EQ(game.getId(), 5);
  EXPECT_FALSE(game.isStarted());
  EXPECT_FALSE(game.isOutOfSync());
  EXPECT_EQ(game.getTurn(), kBlack);
  EXPECT_EQ(game.count(kBlack) + game.count(kWhite), 4);
  EXPECT_STREQ(game.getPlayerName(1), "White");
  EXPECT_STREQ(game.getPlayerName(-1), "Black");
  const std::string longName(300, 'w');
  game.setPlayerNames(longName.c_str(), "Pee[Bot]");
  EXPECT_EQ(std::string(game.getPlayerName(1)), longName.substr(0, 255));
  EXPECT_EQ(std::string(game.getPlayerName(0)), longName.substr(0, 255));
  EXPECT_STREQ(game.getPlayerName(-1), "Pee[Bot]");
}

TEST(ClientGame, SetBoardReadsCellsWithXFastestUnknownBytesAsEmptyAndKeepsTheTurn) {
  VantorClientGame game(0);
  ASSERT_TRUE(game.replayMove(3, 5));
  std::string cells(64, 5);
  cells[9] = -1;
  cells[63] = 1;
  game.setBoard(cells.data());
  EXPECT_EQ(game.getCell(2, 2), kBlack);
  EXPECT_EQ(game.getCell(8, 8), kWhite);
  EXPECT_EQ(game.count(kBlack) + game.count(kWhite), 2);
  EXPECT_EQ(game.getTurn(), kWhite);
}

TEST(ClientGame, ReplayMovePlaysForTheSideToMoveAndRefusesIllegalOrOffBoardMoves) {
  VantorClientGame game(0);
  EXPECT_TRUE(game.replayMove(3, 5));
  EXPECT_EQ(game.getCell(4, 5), kBlack);
  EXPECT_EQ(game.getTurn(), kWhite);
  const int refused[][2] = {{3, 5}, {0, 5}, {9, 5}, {5, 9}, {200, 255}};  // taken, off the board
  for (const auto& xy : refused) EXPECT_FALSE(game.replayMove(xy[0], xy[1])) << xy[0] << xy[1];
  EXPECT_EQ(game.getTurn(), kWhite);
  EXPECT_EQ(game.count(kBlack), 4);
}

TEST(ClientGame, KeepsTheLatestDeferredEventWhileOutOfSyncAndDeletesTheOthers) {
  int deleted = 0;
  {
    VantorClientGame lagging(1);
    lagging.markOutOfSync();
    EXPECT_TRUE(lagging.deferEvent(new CountedEvent(&deleted)));
    auto* latest = new CountedEvent(&deleted);
    EXPECT_TRUE(lagging.deferEvent(latest));
    EXPECT_EQ(deleted, 1);
    EXPECT_TRUE(lagging.isOutOfSync());
    VantorClientEvent* taken = lagging.takeDeferredEvent();
    EXPECT_EQ(taken, latest);
    EXPECT_FALSE(lagging.isOutOfSync());
    EXPECT_EQ(lagging.takeDeferredEvent(), nullptr);
    delete taken;
    lagging.markOutOfSync();
    lagging.deferEvent(new CountedEvent(&deleted));
  }
  EXPECT_EQ(deleted, 3);  // the game deletes the event it still keeps
}
