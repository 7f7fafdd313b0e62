// The wait set: which streams it reports, and the flushes asked for from
// other threads. Waking a blocked wait and forgetting the streams of ended
// connections are the select server's (IosSelectServerTest: stop, and every
// connection it ends).
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
  TaggedSocket* accepted(int i) { return accepted_[i].get(); }
  // Writes a byte from each client named and waits until its peer can read it.
  void send(std::initializer_list<int> which) {
    for (int i : which) clients_[i]->write("x", 1);
    for (int i : which) ASSERT_TRUE(eventually([&] { return accepted_[i]->streamReadyToRead(); }));
  }

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

// Seventy-one connections: more than a wait set of 64 could hold.
TEST(IosSystemStreamSelect,
     ReportsEachReadableStreamOnceInRegistrationOrderAmongMoreThanSixtyFour) {
  const int last = 70;
  Connections c(last + 1);
  IosSystemStreamSelect select;
  for (int i = 0; i <= last; ++i) select.add(c.accepted(i));
  select.add(c.accepted(0));
  c.send({last, 2, 0});
  select.select();
  EXPECT_EQ(contentsOf(select.readyStreams()),
            (std::vector<void*>{c.accepted(0), c.accepted(2), c.accepted(last)}));
}

TEST(IosSystemStreamSelect, ReportsWritableStreamsOnlyWithWriteInterestAndFlushRequestsOnce) {
  Connections c(2);
  IosSystemStreamSelect select;
  select.add(c.accepted(0));
  select.add(c.accepted(1));
  select.setWriteInterest(c.accepted(1), true);
  select.select(0);
  EXPECT_EQ(contentsOf(select.writableStreams()), std::vector<void*>{c.accepted(1)});

  // Asked for from another thread before the wait: the wait is woken and each
  // stream listed once.
  std::thread asker([&] {
    select.requestFlush(c.accepted(1));
    select.requestFlush(c.accepted(0));
    select.requestFlush(c.accepted(1));
  });
  asker.join();
  select.setWriteInterest(c.accepted(1), false);
  select.select();
  std::vector<IosSystemStream*> expected = {c.accepted(1), c.accepted(0)};
  EXPECT_EQ(select.takeFlushRequests(), expected);
  EXPECT_TRUE(select.takeFlushRequests().empty());
  // A stream that leaves the set takes its request with it.
  select.requestFlush(c.accepted(0));
  select.remove(c.accepted(0));
  EXPECT_TRUE(select.takeFlushRequests().empty());
}
