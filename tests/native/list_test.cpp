// What sets List apart from the vectors: elements stay where they are.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/list.h"
#include "tests/native/container_test_support.h"

namespace {

using container_test::BackwardContents;
using container_test::Contents;
using container_test::Fill;

TEST(ListTest, ElementsKeepTheirAddressesThroughChangesAndRotations) {
  List<int> list;
  int* two = list.AddLast(2);
  int* one = list.AddFirst(1);
  for (int i = 3; i <= 50; ++i) list.AddLast(i);
  list.RemoveLastN(10);
  list.RotateForward(7);
  list.RotateBackward(-30);
  EXPECT_EQ(*one, 1);
  EXPECT_EQ(*two, 2);
  // Forward 7, then forward 30 (backward by -30): 38 is the head and 1 follows 40 again.
  std::vector<int> expected{38, 39, 40};
  for (int i = 1; i <= 37; ++i) expected.push_back(i);
  EXPECT_EQ(Contents(list), expected);
  Cursor cursor;
  int* p = list.First(cursor);
  while (p != nullptr && p != one) p = list.Next(cursor);
  ASSERT_EQ(p, one);
  ASSERT_NE(list.PrevElement(cursor), nullptr);
  EXPECT_EQ(*list.PrevElement(cursor), 40);
  EXPECT_EQ(list.NextElement(cursor), two);
  EXPECT_EQ(list.Count(), 40);
}

TEST(ListTest, RemoveElementFindsTheNodeOfAnElement) {
  List<int> list;
  Fill(list, {1, 2, 3});
  Cursor cursor;
  list.First(cursor);
  int* middle = list.Next(cursor);
  EXPECT_TRUE(list.RemoveElement(middle));
  EXPECT_EQ(Contents(list), (std::vector<int>{1, 3}));
  int outsider = 3;
  EXPECT_FALSE(list.RemoveElement(&outsider));
  EXPECT_FALSE(list.RemoveElement(nullptr));
  EXPECT_EQ(list.Count(), 2);
}

TEST(ListTest, CopiesAreDeepAndMovesSteal) {
  List<String> list;
  list.AddLast(String("a"));
  list.AddLast(String("b"));
  List<String> copy(list);
  copy.FirstElement()->Assign("z");
  EXPECT_STREQ(list.FirstElement()->CStr(), "a");
  EXPECT_STREQ(copy.FirstElement()->CStr(), "z");

  List<String> moved(std::move(copy));
  EXPECT_EQ(moved.Count(), 2);
  EXPECT_STREQ(moved.LastElement()->CStr(), "b");

  list = moved;
  moved.RemoveAll();
  EXPECT_EQ(list.Count(), 2);
  EXPECT_STREQ(list.FirstElement()->CStr(), "z");
  const List<String>& same = list;  // self-assignment, as it comes about through a reference
  list = same;
  EXPECT_EQ(list.Count(), 2);
}

// The walk of a list whose current element was removed goes on from the neighbours that the
// step loaded, in either direction.
TEST(ListTest, WalkTurnsAroundAfterRemovingTheCurrentElement) {
  List<int> list;
  Fill(list, {1, 2, 3, 4});
  Cursor cursor;
  list.First(cursor);
  list.Next(cursor);
  list.Next(cursor);  // at 3
  ASSERT_TRUE(list.RemoveAt(cursor));
  EXPECT_EQ(*list.Prev(cursor), 2);
  EXPECT_EQ(*list.Next(cursor), 4);
  EXPECT_EQ(BackwardContents(list), (std::vector<int>{4, 2, 1}));
}

}  // namespace
