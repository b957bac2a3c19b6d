// The collection interface, run against every container that implements it in full.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "core/array.h"
#include "core/list.h"
#include "core/stack.h"
#include "core/vector.h"
#include "tests/native/container_test_support.h"

namespace {

using container_test::BackwardContents;
using container_test::Contents;
using container_test::DefaultValue;
using container_test::ElementOf;
using container_test::Fill;
using container_test::Item;
using container_test::Make;
using container_test::Range;
using container_test::Read;

template <class C>
class CollectionTest : public ::testing::Test {
 protected:
  using T = ElementOf<C>;
  // The container under test, seen only through the interface.
  Collection<T>& c() { return container_; }
  void FillRange(int first, int last) {
    for (int i = first; i <= last; ++i) c().AddLast(Make<T>(i));
  }
  C container_;
};

using Containers =
    ::testing::Types<List<int>, List<Item>, List<String>, Stack<int>, Vector<int>, Vector<void*>,
                     Vector<Item>, Vector<String>, Array<String>, Array<Item>>;
TYPED_TEST_SUITE(CollectionTest, Containers);

TYPED_TEST(CollectionTest, WalksForwardAndBackward) {
  Cursor cursor;
  EXPECT_FALSE(this->c().BeginForward(cursor));
  EXPECT_FALSE(this->c().BeginBackward(cursor));
  EXPECT_EQ(this->c().First(cursor), nullptr);
  EXPECT_EQ(this->c().Last(cursor), nullptr);

  this->FillRange(1, 5);
  EXPECT_EQ(this->c().Count(), 5);
  EXPECT_TRUE(this->c().BeginForward(cursor));
  EXPECT_EQ(Contents(this->c()), Range(1, 5));
  EXPECT_EQ(BackwardContents(this->c()), (std::vector<int>{5, 4, 3, 2, 1}));

  // Past the end a walk stays at its end.
  this->c().Last(cursor);
  EXPECT_EQ(this->c().Next(cursor), nullptr);
  EXPECT_EQ(this->c().Next(cursor), nullptr);
  EXPECT_EQ(this->c().CurrentElement(cursor), nullptr);
}

TYPED_TEST(CollectionTest, PeeksWithoutStepping) {
  EXPECT_EQ(this->c().FirstElement(), nullptr);
  EXPECT_EQ(this->c().LastElement(), nullptr);
  this->FillRange(1, 3);
  EXPECT_EQ(Read(*this->c().FirstElement()), 1);
  EXPECT_EQ(Read(*this->c().LastElement()), 3);

  Cursor cursor;
  this->c().BeginForward(cursor);
  EXPECT_EQ(this->c().CurrentElement(cursor), nullptr);
  EXPECT_EQ(Read(*this->c().NextElement(cursor)), 1);
  this->c().Next(cursor);
  this->c().Next(cursor);
  EXPECT_EQ(Read(*this->c().CurrentElement(cursor)), 2);
  EXPECT_EQ(Read(*this->c().NextElement(cursor)), 3);
  EXPECT_EQ(Read(*this->c().PrevElement(cursor)), 1);
  EXPECT_EQ(Read(*this->c().NextElement(cursor)), 3);  // peeking did not step
  this->c().Next(cursor);
  EXPECT_EQ(this->c().NextElement(cursor), nullptr);
}

TYPED_TEST(CollectionTest, AddsAtBothEndsAndReturnsTheStoredElement) {
  using T = typename TestFixture::T;
  // Vectors may move their elements on the next change, so each result is read at once.
  T* last = this->c().AddLast(Make<T>(2));
  EXPECT_EQ(Read(*last), 2);
  EXPECT_EQ(last, this->c().LastElement());
  T* first = this->c().AddFirst(Make<T>(1));
  EXPECT_EQ(Read(*first), 1);
  EXPECT_EQ(first, this->c().FirstElement());

  T three = Make<T>(3);
  EXPECT_EQ(Read(*this->c().AddLast(&three)), 3);
  const T* none = nullptr;
  EXPECT_EQ(Read(*this->c().AddLast(none)), DefaultValue<T>());
  EXPECT_EQ(Read(*this->c().AddFirst(none)), DefaultValue<T>());
  EXPECT_EQ(Contents(this->c()), (std::vector<int>{DefaultValue<T>(), 1, 2, 3, DefaultValue<T>()}));
}

TYPED_TEST(CollectionTest, RemovesTheCurrentElementDuringAForwardWalk) {
  this->FillRange(0, 7);
  Cursor cursor;
  EXPECT_TRUE(this->c().BeginForward(cursor));
  EXPECT_FALSE(this->c().RemoveAt(cursor));  // nothing is current yet
  std::vector<int> seen;
  for (auto* p = this->c().Next(cursor); p != nullptr; p = this->c().Next(cursor)) {
    seen.push_back(Read(*p));
    if (Read(*p) % 2 == 0) {
      EXPECT_TRUE(this->c().RemoveAt(cursor));
      EXPECT_FALSE(this->c().RemoveAt(cursor));  // already gone
    }
  }
  EXPECT_EQ(seen, Range(0, 7));
  EXPECT_EQ(Contents(this->c()), (std::vector<int>{1, 3, 5, 7}));
  EXPECT_EQ(this->c().Count(), 4);
}

TYPED_TEST(CollectionTest, RemovesTheCurrentElementDuringABackwardWalk) {
  this->FillRange(0, 5);
  Cursor cursor;
  std::vector<int> seen;
  for (auto* p = this->c().Last(cursor); p != nullptr; p = this->c().Prev(cursor)) {
    seen.push_back(Read(*p));
    if (Read(*p) != 2) this->c().RemoveAt(cursor);
  }
  EXPECT_EQ(seen, (std::vector<int>{5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(Contents(this->c()), (std::vector<int>{2}));
}

TYPED_TEST(CollectionTest, TakeCopiesOutAndRemoves) {
  using T = typename TestFixture::T;
  this->FillRange(1, 4);
  Cursor cursor;
  this->c().BeginForward(cursor);
  EXPECT_EQ(Read(this->c().Take(cursor)), DefaultValue<T>());  // no current element
  EXPECT_EQ(this->c().Count(), 4);

  this->c().Next(cursor);
  this->c().Next(cursor);
  EXPECT_EQ(Read(this->c().Take(cursor)), 2);
  EXPECT_EQ(Read(*this->c().Next(cursor)), 3);  // the walk goes on after the taken element
  EXPECT_EQ(Contents(this->c()), (std::vector<int>{1, 3, 4}));
}

TYPED_TEST(CollectionTest, RemovesFromTheEnds) {
  enum Op { kFirstN, kLastN, kKeepFirst, kKeepLast };
  struct Case {
    Op op;
    int n;
    int result;
    std::vector<int> left;
  } cases[] = {
      {kFirstN, 2, 2, {3, 4, 5}},
      {kFirstN, 0, 0, {1, 2, 3, 4, 5}},
      {kFirstN, -1, 0, {1, 2, 3, 4, 5}},
      {kFirstN, INT_MIN, 0, {1, 2, 3, 4, 5}},
      {kFirstN, 9, 5, {}},
      {kLastN, 2, 2, {1, 2, 3}},
      {kLastN, -3, 0, {1, 2, 3, 4, 5}},
      {kLastN, INT_MAX, 5, {}},
      {kKeepFirst, 2, 3, {1, 2}},
      {kKeepFirst, 0, 5, {}},
      {kKeepFirst, 5, 0, {1, 2, 3, 4, 5}},
      {kKeepFirst, 8, 0, {1, 2, 3, 4, 5}},
      {kKeepFirst, -1, 0, {1, 2, 3, 4, 5}},
      {kKeepLast, 2, 3, {4, 5}},
      {kKeepLast, 0, 5, {}},
      {kKeepLast, 9, 0, {1, 2, 3, 4, 5}},
      {kKeepLast, -2, 0, {1, 2, 3, 4, 5}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(::testing::Message() << "op " << test.op << " n " << test.n);
    this->c().RemoveAll();
    this->FillRange(1, 5);
    int result = 0;
    switch (test.op) {
      case kFirstN:
        result = this->c().RemoveFirstN(test.n);
        break;
      case kLastN:
        result = this->c().RemoveLastN(test.n);
        break;
      case kKeepFirst:
        result = this->c().KeepFirst(test.n);
        break;
      case kKeepLast:
        result = this->c().KeepLast(test.n);
        break;
    }
    EXPECT_EQ(result, test.result);
    EXPECT_EQ(Contents(this->c()), test.left);
    EXPECT_EQ(this->c().Count(), int(test.left.size()));
  }
}

TYPED_TEST(CollectionTest, SingleRemovals) {
  EXPECT_FALSE(this->c().RemoveFirst());
  EXPECT_FALSE(this->c().RemoveLast());
  this->FillRange(1, 3);
  EXPECT_TRUE(this->c().RemoveFirst());
  EXPECT_TRUE(this->c().RemoveLast());
  EXPECT_EQ(Contents(this->c()), (std::vector<int>{2}));
  this->c().RemoveAll();
  EXPECT_EQ(this->c().Count(), 0);
  EXPECT_TRUE(this->c().IsEmpty());
  EXPECT_EQ(this->c().FirstElement(), nullptr);
}

TYPED_TEST(CollectionTest, Rotates) {
  struct Case {
    int n;
    std::vector<int> forward;   // after RotateForward(n)
    std::vector<int> backward;  // after RotateBackward(n)
  } cases[] = {
      {0, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}},
      {1, {2, 3, 4, 5, 1}, {5, 1, 2, 3, 4}},
      {2, {3, 4, 5, 1, 2}, {4, 5, 1, 2, 3}},
      {4, {5, 1, 2, 3, 4}, {2, 3, 4, 5, 1}},
      {5, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}},
      {7, {3, 4, 5, 1, 2}, {4, 5, 1, 2, 3}},
      {-1, {5, 1, 2, 3, 4}, {2, 3, 4, 5, 1}},
      {-7, {4, 5, 1, 2, 3}, {3, 4, 5, 1, 2}},
      {INT_MIN, {3, 4, 5, 1, 2}, {4, 5, 1, 2, 3}},  // INT_MIN mod 5 is -3
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.n);
    this->c().RemoveAll();
    this->FillRange(1, 5);
    this->c().RotateForward(test.n);
    EXPECT_EQ(Contents(this->c()), test.forward);
    EXPECT_EQ(BackwardContents(this->c()).size(), 5u);  // links intact both ways
    this->c().RemoveAll();
    this->FillRange(1, 5);
    this->c().RotateBackward(test.n);
    EXPECT_EQ(Contents(this->c()), test.backward);
    std::vector<int> reversed(test.backward.rbegin(), test.backward.rend());
    EXPECT_EQ(BackwardContents(this->c()), reversed);
  }
}

TYPED_TEST(CollectionTest, RotatingFewerThanTwoElementsChangesNothing) {
  this->c().RotateForward(3);
  EXPECT_EQ(this->c().Count(), 0);
  this->FillRange(1, 1);
  this->c().RotateBackward(-2);
  EXPECT_EQ(Contents(this->c()), (std::vector<int>{1}));
}

TYPED_TEST(CollectionTest, AddsAllOfAnotherCollection) {
  using T = typename TestFixture::T;
  List<T> other;
  Fill(other, {7, 8});
  this->FillRange(1, 2);
  EXPECT_EQ(this->c().AddAllLast(other), 2);
  EXPECT_EQ(this->c().AddAllFirst(other), 2);
  EXPECT_EQ(Contents(this->c()), (std::vector<int>{7, 8, 1, 2, 7, 8}));
  EXPECT_EQ(Contents(other), (std::vector<int>{7, 8}));

  Vector<T> empty;
  EXPECT_EQ(this->c().AddAllFirst(empty), 0);
  EXPECT_EQ(this->c().Count(), 6);
}

TYPED_TEST(CollectionTest, AddsAllOfItself) {
  this->FillRange(1, 3);
  EXPECT_EQ(this->c().AddAllLast(this->c()), 3);
  EXPECT_EQ(Contents(this->c()), (std::vector<int>{1, 2, 3, 1, 2, 3}));
  this->c().KeepFirst(2);
  EXPECT_EQ(this->c().AddAllFirst(this->c()), 2);
  EXPECT_EQ(Contents(this->c()), (std::vector<int>{1, 2, 1, 2}));
}

// RandomElement is the element at position Random(count) from the head.
TYPED_TEST(CollectionTest, RandomElementIsAtTheRandomPosition) {
  EXPECT_EQ(this->c().RandomElement(), nullptr);
  this->FillRange(10, 10);
  EXPECT_EQ(Read(*this->c().RandomElement()), 10);
  this->c().RemoveAll();
  this->FillRange(0, 29);
  for (unsigned seed : {1u, 2u, 77u, 12345u}) {
    SCOPED_TRACE(seed);
    std::srand(seed);
    int expected = Random(30);
    std::srand(seed);
    EXPECT_EQ(Read(*this->c().RandomElement()), expected);
  }
}

}  // namespace
