// The wait set: which streams it reports, and waking it from another thread.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "ios/IosSystemStreamSelect.h"
#include "ios/ServerSocket.h"
#include "ios/Socket.h"
#include "ios/TaggedSocket.h"
#include "ios/TaggedSocketFactory.h"
#include "tests/ios/TestSupport.h"

namespace {

// Connections on one listener; the accepted sides are TaggedSockets.
class Connections {
 public:
  explicit Connections(int count) : listener_(true, 0) {
    TaggedSocketFactory factory;
    for (int i = 0; i < count; ++i) {
      clients_.emplace_back(new Socket("127.0.0.1", listener_.getPort()));
      accepted_.emplace_back(static_cast<TaggedSocket*>(listener_.accept(&factory)));
    }
  }
  Socket& client(int i) { return *clients_[i]; }
  TaggedSocket* accepted(int i) { return accepted_[i].get(); }
  void forget(int i) { accepted_[i].release(); }

 private:
  ServerSocket listener_;
  std::vector<std::unique_ptr<Socket>> clients_;
  std::vector<std::unique_ptr<TaggedSocket>> accepted_;
};

std::vector<void*> contentsOf(IosVector* vector) {
  std::vector<void*> out;
  for (int i = 0; i < vector->size(); ++i) out.push_back(vector->get(i));
  delete vector;
  return out;
}

}  // namespace

TEST(IosSystemStreamSelect, ReportsExactlyTheReadableStreamsInRegistrationOrder) {
  Connections c(3);
  IosSystemStreamSelect select;
  for (int i = 0; i < 3; ++i) select.add(c.accepted(i));
  c.client(2).write("x", 1);
  c.client(0).write("y", 1);
  ASSERT_TRUE(eventually([&] { return c.accepted(2)->streamReadyToRead(); }));
  ASSERT_TRUE(eventually([&] { return c.accepted(0)->streamReadyToRead(); }));
  select.select();
  std::vector<void*> expected = {c.accepted(0), c.accepted(2)};
  EXPECT_EQ(contentsOf(select.readyStreams()), expected);
}

TEST(IosSystemStreamSelect, RemovesEveryOccurrenceOfAStream) {
  Connections c(2);
  IosSystemStreamSelect select;
  select.add(c.accepted(0));
  select.add(c.accepted(1));
  select.add(c.accepted(0));
  select.remove(c.accepted(0));
  select.remove(c.accepted(0));
  std::vector<void*> expected = {c.accepted(1)};
  EXPECT_EQ(contentsOf(select.streams()), expected);
  EXPECT_FALSE(select.contains(c.accepted(0)));
}

TEST(IosSystemStreamSelect, ReportsAStreamAddedTwiceOnce) {
  Connections c(1);
  IosSystemStreamSelect select;
  select.add(c.accepted(0));
  select.add(c.accepted(0));
  c.client(0).write("x", 1);
  select.select();
  EXPECT_EQ(contentsOf(select.readyStreams()).size(), 1u);
}

TEST(IosSystemStreamSelect, ForgetsATaggedSocketThatIsDeleted) {
  Connections c(2);
  IosSystemStreamSelect select;
  c.accepted(0)->setSelect(&select);
  select.add(c.accepted(0));
  select.add(c.accepted(1));
  TaggedSocket* doomed = c.accepted(0);
  c.forget(0);
  delete doomed;
  std::vector<void*> expected = {c.accepted(1)};
  EXPECT_EQ(contentsOf(select.streams()), expected);

  c.client(1).write("x", 1);
  select.select();
  EXPECT_EQ(contentsOf(select.readyStreams()), expected);
}

TEST(IosSystemStreamSelect, WakeUpReturnsABlockedWaitWithNothingReady) {
  Connections c(1);
  IosSystemStreamSelect select;
  select.add(c.accepted(0));
  std::thread waker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    select.wakeUp();
  });
  select.select();
  waker.join();
  EXPECT_TRUE(contentsOf(select.readyStreams()).empty());
}

TEST(IosSystemStreamSelect, AWakeUpBeforeTheWaitIsNotLost) {
  IosSystemStreamSelect select;
  select.wakeUp();
  select.select();
  EXPECT_TRUE(contentsOf(select.readyStreams()).empty());
}

TEST(IosSystemStreamSelect, DoesNotReportAStreamRemovedDuringTheWait) {
  Connections c(1);
  IosSystemStreamSelect select;
  select.add(c.accepted(0));
  c.client(0).write("x", 1);
  select.select();
  select.remove(c.accepted(0));
  EXPECT_TRUE(contentsOf(select.readyStreams()).empty());
}

TEST(IosSystemStreamSelect, WatchesAtMostSixtyFourDescriptors) {
  Connections c(IosSystemStreamSelect::kMaxDescriptors + 1);
  IosSystemStreamSelect select;
  for (int i = 0; i <= IosSystemStreamSelect::kMaxDescriptors; ++i) select.add(c.accepted(i));
  const int last = IosSystemStreamSelect::kMaxDescriptors;
  c.client(last).write("x", 1);
  c.client(0).write("y", 1);
  ASSERT_TRUE(eventually([&] { return c.accepted(last)->streamReadyToRead(); }));
  select.select();
  std::vector<void*> expected = {c.accepted(0)};
  EXPECT_EQ(contentsOf(select.readyStreams()), expected);
}
