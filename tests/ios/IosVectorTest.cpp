#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ios/IosVector.h"
#include "tests/ios/TestSupport.h"

namespace {

int items[12];

void* item(int i) {
  return &items[i];
}

std::vector<void*> contents(const IosVector& vector) {
  std::vector<void*> elements;
  for (int i = 0; i < vector.size(); ++i) elements.push_back(vector.get(i));
  return elements;
}

}  // namespace

TEST(IosVector, StartsEmptyWithRoomForTen) {
  IosVector vector;
  EXPECT_EQ(vector.size(), 0);
  EXPECT_EQ(vector.capacity(), 10);
}

TEST(IosVector, StartsWithTheCapacityAskedFor) {
  IosVector vector(3);
  EXPECT_EQ(vector.capacity(), 3);
  EXPECT_EQ(vector.size(), 0);
}

TEST(IosVector, GrowsByTenAndKeepsTheOrder) {
  IosVector vector;
  std::vector<void*> expected;
  for (int i = 0; i < 10; ++i) {
    vector.add(item(i));
    expected.push_back(item(i));
  }
  EXPECT_EQ(vector.capacity(), 10);
  vector.add(item(10));
  expected.push_back(item(10));
  EXPECT_EQ(vector.capacity(), 20);
  EXPECT_EQ(vector.size(), 11);
  EXPECT_EQ(contents(vector), expected);
}

TEST(IosVector, GrowsFromAnEmptyCapacity) {
  IosVector vector(0);
  vector.add(item(0));
  vector.add(item(1));
  EXPECT_EQ(vector.capacity(), 10);
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(0), item(1)}));
}

TEST(IosVector, GetOutsideTheElementsThrowsAndChangesNothing) {
  IosVector vector;
  vector.add(item(0));
  vector.add(item(1));
  EXPECT_EQ(thrownMessage([&] { vector.get(2); }), "Vector index out of bounds");
  EXPECT_EQ(thrownMessage([&] { vector.get(-1); }), "Vector index out of bounds");
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(0), item(1)}));
  EXPECT_EQ(vector.capacity(), 10);
}

TEST(IosVector, RemoveAtOutsideTheElementsThrowsAndChangesNothing) {
  IosVector vector;
  vector.add(item(0));
  EXPECT_EQ(thrownMessage([&] { vector.removeAt(1); }), "Vector index out of bounds");
  EXPECT_EQ(thrownMessage([&] { vector.removeAt(-1); }), "Vector index out of bounds");
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(0)}));
}

TEST(IosVector, RemoveTakesOutEveryCopyIncludingAdjacentOnes) {
  void* a = item(0);
  void* b = item(1);
  void* e = item(2);
  IosVector vector;
  for (void* element : {a, e, e, b, e}) vector.add(element);
  vector.remove(e);
  EXPECT_EQ(contents(vector), (std::vector<void*>{a, b}));
}

TEST(IosVector, RemoveOfAnAbsentElementIsNoError) {
  IosVector vector;
  vector.add(item(0));
  vector.remove(item(5));
  vector.remove(nullptr);
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(0)}));
}

TEST(IosVector, RemoveAtKeepsTheOrderOfTheRest) {
  IosVector vector;
  for (int i = 0; i < 5; ++i) vector.add(item(i));
  vector.removeAt(1);
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(0), item(2), item(3), item(4)}));
  vector.removeAt(0);
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(2), item(3), item(4)}));
}

TEST(IosVector, RemoveAtTheLastIndexLeavesTheOthersInPlace) {
  IosVector vector;
  for (int i = 0; i < 3; ++i) vector.add(item(i));
  vector.removeAt(2);
  EXPECT_EQ(contents(vector), (std::vector<void*>{item(0), item(1)}));
}

TEST(IosVector, ClearKeepsTheCapacityForTheNextElements) {
  IosVector vector;
  for (int i = 0; i < 12; ++i) vector.add(item(i));
  ASSERT_EQ(vector.capacity(), 20);
  vector.clear();
  EXPECT_EQ(vector.size(), 0);
  EXPECT_EQ(vector.capacity(), 20);
  for (int i = 0; i < 20; ++i) vector.add(item(i % 12));
  EXPECT_EQ(vector.capacity(), 20);
  EXPECT_EQ(vector.get(19), item(7));
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
