#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ios/IosVector.h"
#include "tests/ios/TestSupport.h"

namespace {

int items[20];

void* item(int i) {
  return &items[i];
}

std::vector<void*> contents(const IosVector& vector) {
  std::vector<void*> elements;
  for (int i = 0; i < vector.size(); ++i) elements.push_back(vector.get(i));
  return elements;
}

}  // namespace

TEST(IosVector, GrowsByTenKeepsTheOrderAndKeepsItsRoomWhenCleared) {
  IosVector vector;
  EXPECT_EQ(vector.size(), 0);
  EXPECT_EQ(vector.capacity(), 10);
  std::vector<void*> expected;
  for (int i = 0; i < 11; ++i) {
    vector.add(item(i));
    expected.push_back(item(i));
    EXPECT_EQ(vector.capacity(), i < 10 ? 10 : 20);
  }
  EXPECT_EQ(contents(vector), expected);
  vector.clear();
  EXPECT_EQ(vector.size(), 0);
  for (int i = 0; i < 20; ++i) vector.add(item(19 - i));
  EXPECT_EQ(vector.capacity(), 20);
  EXPECT_EQ(vector.get(19), item(0));

  IosVector sized(3), empty(0);
  EXPECT_EQ(sized.capacity(), 3);
  empty.add(item(0));
  empty.add(item(1));
  EXPECT_EQ(empty.capacity(), 10);
  EXPECT_EQ(contents(empty), (std::vector<void*>{item(0), item(1)}));
}

TEST(IosVector, IndexOutsideTheElementsThrowsAndChangesNothing) {
  IosVector vector;
  vector.add(item(0));
  vector.add(item(1));
  const std::function<void()> calls[] = {[&] { vector.get(2); }, [&] { vector.get(-1); },
                                         [&] { vector.removeAt(2); }, [&] { vector.removeAt(-1); }};
  for (const auto& call : calls) EXPECT_EQ(thrownMessage(call), "Vector index out of bounds");
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(0), item(1)}));
}

TEST(IosVector, RemoveTakesOutEveryCopyAndRemoveAtKeepsTheOrderOfTheRest) {
  IosVector vector;
  for (int i : {0, 5, 5, 1, 5, 2, 3}) vector.add(item(i));
  vector.remove(item(5));
  vector.remove(item(9));
  vector.remove(nullptr);
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(0), item(1), item(2), item(3)}));
  vector.removeAt(1);
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(0), item(2), item(3)}));
  vector.removeAt(2);
  vector.removeAt(0);
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(2)}));
}

TEST(IosVector, DumpListsSizeAndEveryElementOnStandardError) {
  IosVector vector;
  vector.add(item(0));
  vector.add(nullptr);
  char expected[200];
  std::snprintf(expected, sizeof(expected), "Size: 2\nelt[0]=%p elt[1]=%p \n", item(0),
                static_cast<void*>(nullptr));
  testing::internal::CaptureStderr();
  vector.dump();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), expected);
}
