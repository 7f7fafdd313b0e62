#include <gtest/gtest.h>

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
