#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ios/IosVector.h"
#include "tests/ios/TestSupport.h"

namespace {

int items[12];

std::vector<void*> contents(const IosVector& vector) {
  std::vector<void*> elements;
  for (int i = 0; i < vector.size(); ++i) elements.push_back(vector.get(i));
  return elements;
}

}  // namespace

// Eleven elements outgrow every starting room, an empty one included.
TEST(IosVector, KeepsTheOrderAsItGrowsFromAnyRoomAndStartsAfreshWhenCleared) {
  for (int room : {0, 3, 10}) {
    IosVector vector(room);
    std::vector<void*> expected;
    for (int i = 0; i < 11; ++i) {
      vector.add(&items[i]);
      expected.push_back(&items[i]);
    }
    EXPECT_EQ(contents(vector), expected) << "room " << room;
    vector.clear();
    vector.add(&items[11]);
    EXPECT_EQ(contents(vector), std::vector<void*>{&items[11]}) << "room " << room;
  }
}

TEST(IosVector, IndexOutsideTheElementsThrowsAndChangesNothing) {
  IosVector vector;
  vector.add(&items[0]);
  vector.add(&items[1]);
  const std::function<void()> calls[] = {[&] { vector.get(2); }, [&] { vector.get(-1); },
                                         [&] { vector.removeAt(2); }, [&] { vector.removeAt(-1); }};
  for (const auto& call : calls) EXPECT_EQ(thrownMessage(call), "Vector index out of bounds");
  EXPECT_EQ(contents(vector), (std::vector<void*>{&items[0], &items[1]}));
}

TEST(IosVector, RemoveTakesOutEveryCopyAndRemoveAtKeepsTheOrderOfTheRest) {
  IosVector vector;
  for (int i : {0, 5, 5, 1, 5, 2, 3}) vector.add(&items[i]);
  vector.remove(&items[5]);
  vector.remove(&items[9]);
  vector.remove(nullptr);
  EXPECT_EQ(contents(vector), (std::vector<void*>{&items[0], &items[1], &items[2], &items[3]}));
  vector.removeAt(1);
  vector.removeAt(2);
  vector.removeAt(0);
  EXPECT_EQ(contents(vector), (std::vector<void*>{&items[2]}));
}
