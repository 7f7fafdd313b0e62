// The ids of the server's games. (Moves, passes, the end of a game, refused
// moves, spectators and closing are seen through the lobby and the protocol.)
#include <gtest/gtest.h>

#include <memory>

#include "bots/VantorPlayer.h"
#include "server/VantorServerGame.h"

TEST(ServerGameIds, ComeFromOneCounterAndAreNeverReused) {
  VantorPlayer a("A");
  std::unique_ptr<VantorServerGame> first(new VantorServerGame(&a, &a));
  const int id = first->getId();
  EXPECT_GE(id, 0);
  first.reset();
  EXPECT_EQ(VantorServerGame(&a, &a).getId(), id + 1);
  EXPECT_EQ(VantorServerGame(&a, &a).getId(), id + 2);
}
