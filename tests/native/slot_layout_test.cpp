// The slot layout of Vector<int>, Vector<void*> and Array<String>: growth rule, spare room on
// both sides, where insertions take their slot and what a copy looks like.
#include <gtest/gtest.h>

#include <vector>

#include "core/array.h"
#include "core/slot_block.h"
#include "core/vector.h"
#include "tests/native/container_test_support.h"

namespace {

using container_test::Contents;
using container_test::ElementOf;
using container_test::Make;
using container_test::Range;

TEST(SlotGrowthTest, CapacityFromTheNewCount) {
  struct Case {
    int n;
    int intSlots;      // 4-byte slots: half again while at most 2,048 slots
    int pointerSlots;  // pointer slots of this build
  } cases[] = {
      {1, 6, 6},
      {4, 6, 6},
      {5, 7, 7},
      {7, 10, 10},
      {682, 1023, 1023},
      {683, 1024, 1024},
      {684, 1026, 2732},
      {1365, 2047, 3413},
      {1366, 3414, 3414},
      {5000, 7048, 7048},
  };
  static_assert(sizeof(int) == 4);
  for (const Case& test : cases) {
    SCOPED_TRACE(test.n);
    EXPECT_EQ(SlotBlock<int>::GrownCapacity(test.n), test.intSlots);
    if (sizeof(void*) == 8) {
      EXPECT_EQ(SlotBlock<void*>::GrownCapacity(test.n), test.pointerSlots);
    } else {
      EXPECT_EQ(SlotBlock<void*>::GrownCapacity(test.n), test.intSlots);
    }
  }
}

// The capacities an appending list passes through, from empty.
template <class V>
std::vector<int> CapacitiesWhileAppending(int count) {
  V v;
  std::vector<int> seen;
  for (int i = 0; i < count; ++i) {
    v.Append(Make<ElementOf<V>>(i));
    if (seen.empty() || seen.back() != v.Capacity()) seen.push_back(v.Capacity());
  }
  return seen;
}

TEST(SlotGrowthTest, AppendingPassesThroughTheGrowthSequence) {
  const std::vector<int> fourByteSlots{6,   10,  16,  25,  39,   60,   91,   138,
                                       208, 313, 471, 708, 1063, 1596, 3645, 5694};
  EXPECT_EQ(CapacitiesWhileAppending<Vector<int>>(5000), fourByteSlots);

  // On a 64-bit build the pointer slots reach the 8,192-byte limit at 1,024 slots.
  const std::vector<int> eightByteSlots{6,   10,  16,  25,  39,   60,   91,  138,
                                        208, 313, 471, 708, 2757, 4806, 6855};
  const std::vector<int>& pointerSlots = sizeof(void*) == 8 ? eightByteSlots : fourByteSlots;
  EXPECT_EQ(CapacitiesWhileAppending<Vector<void*>>(5000), pointerSlots);
  EXPECT_EQ(CapacitiesWhileAppending<Array<String>>(5000), pointerSlots);
}

template <class V>
class SlotLayoutTest : public ::testing::Test {
 protected:
  using T = ElementOf<V>;
  // A list of count elements laid out as a copy lays them out.
  V CopyOfRange(int count) {
    V source;
    for (int i = 1; i <= count; ++i) source.Append(Make<T>(i));
    return V(source);
  }
};

using SlotLists = ::testing::Types<Vector<int>, Vector<void*>, Array<String>>;
TYPED_TEST_SUITE(SlotLayoutTest, SlotLists);

TYPED_TEST(SlotLayoutTest, CopyHasHalfAgainWithAQuarterBefore) {
  struct Case {
    int count, capacity, first;
  } cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 3, 0}, {4, 6, 1}, {10, 15, 2}, {101, 151, 25}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.count);
    TypeParam copy = this->CopyOfRange(test.count);
    EXPECT_EQ(copy.Capacity(), test.capacity);
    EXPECT_EQ(copy.FirstSlot(), test.first);
    EXPECT_EQ(Contents(copy), Range(1, test.count));
  }
}

TYPED_TEST(SlotLayoutTest, FrontInsertionsUseTheRoomBeforeTheFirst) {
  using T = typename TestFixture::T;
  TypeParam v = this->CopyOfRange(4);  // capacity 6, first 1
  v.AddFirst(Make<T>(0));
  EXPECT_EQ(v.FirstSlot(), 0);
  EXPECT_EQ(v.Capacity(), 6);
  // No room before: the elements move up, leaving one free slot before them (a quarter of the
  // single free slot would be none).
  v.AddFirst(Make<T>(-2));
  EXPECT_EQ(v.FirstSlot(), 0);
  EXPECT_EQ(v.Capacity(), 6);
  // Full: grows to 10 for 7 elements, then a quarter of the 4 free slots goes before them.
  v.AddFirst(Make<T>(-3));
  EXPECT_EQ(v.Capacity(), 10);
  EXPECT_EQ(v.FirstSlot(), 0);
  EXPECT_EQ(Contents(v), (std::vector<int>{-3, -2, 0, 1, 2, 3, 4}));
  v.Append(Make<T>(5));  // room after: no move
  EXPECT_EQ(v.FirstSlot(), 0);
}

TYPED_TEST(SlotLayoutTest, EndInsertionRecentresWhenNoRoomIsLeftAfter) {
  using T = typename TestFixture::T;
  TypeParam v = this->CopyOfRange(8);  // capacity 12, first 2: slots 2..9 used
  v.Append(Make<T>(9));
  v.Append(Make<T>(10));
  EXPECT_EQ(v.FirstSlot(), 2);  // slots 10 and 11 were free
  v.Append(Make<T>(11));        // none after, two before: (12 - 10) / 4 = 0 slots before
  EXPECT_EQ(v.FirstSlot(), 0);
  EXPECT_EQ(v.Capacity(), 12);
  EXPECT_EQ(Contents(v), Range(1, 11));
}

TYPED_TEST(SlotLayoutTest, MiddleInsertionMovesTheCheaperSide) {
  using T = typename TestFixture::T;
  struct Case {
    int at;
    int firstAfter;  // the first used slot after the insertion
  } cases[] = {
      {1, 1},  // front half, room before: the front part moves down
      {2, 1},
      {4, 2},  // back half, room after: the back part moves up
      {6, 2},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.at);
    TypeParam v = this->CopyOfRange(8);  // capacity 12, first 2, two free after
    v.InsertAt(test.at, Make<T>(0));
    EXPECT_EQ(v.FirstSlot(), test.firstAfter);
    std::vector<int> expected = Range(1, 8);
    expected.insert(expected.begin() + test.at, 0);
    EXPECT_EQ(Contents(v), expected);
  }
  // In the back half but no room after: the front part moves down after all.
  TypeParam v = this->CopyOfRange(8);
  v.Append(Make<T>(9));
  v.Append(Make<T>(10));
  v.InsertAt(7, Make<T>(0));
  EXPECT_EQ(v.FirstSlot(), 1);
  EXPECT_EQ(v.Capacity(), 12);
  // No room before either side any more after the front runs out: the back part moves up.
  TypeParam w = this->CopyOfRange(4);  // capacity 6, first 1, one free after
  w.InsertAt(1, Make<T>(0));           // front half: front moves down, first 0
  w.InsertAt(3, Make<T>(0));           // no room before: back part moves up
  EXPECT_EQ(w.FirstSlot(), 0);
  EXPECT_EQ(Contents(w), (std::vector<int>{1, 0, 2, 0, 3, 4}));
}

TYPED_TEST(SlotLayoutTest, RemovingTheFirstKeepsTheOthersInPlace) {
  TypeParam v = this->CopyOfRange(8);  // first 2
  v.RemoveFirst();
  EXPECT_EQ(v.FirstSlot(), 3);
  v.RemoveLast();
  EXPECT_EQ(v.FirstSlot(), 3);
  EXPECT_EQ(Contents(v), Range(2, 7));
  v.RemoveAll();
  EXPECT_EQ(v.Capacity(), 0);
}

}  // namespace
