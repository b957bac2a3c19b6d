// The indexed operations of Vector and Array, over every kind of storage: exact-size blocks
// (Item, String), value slots (int, void*) and the owned slots of the text list Array<String>.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "core/array.h"
#include "core/list.h"
#include "core/vector.h"
#include "tests/native/container_test_support.h"

namespace {

using container_test::Contents;
using container_test::DefaultValue;
using container_test::ElementOf;
using container_test::Item;
using container_test::Make;
using container_test::Range;
using container_test::Read;

template <class V>
class VectorTest : public ::testing::Test {
 protected:
  using T = ElementOf<V>;
  void FillRange(int first, int last) {
    v_.RemoveAll();
    for (int i = first; i <= last; ++i) v_.Append(Make<T>(i));
  }
  std::vector<int> Indexed() const {
    std::vector<int> out;
    for (int i = 0; i < v_.Count(); ++i) out.push_back(Read(v_[i]));
    return out;
  }
  V v_;
};

using Vectors = ::testing::Types<Vector<int>, Vector<void*>, Vector<Item>, Vector<String>,
                                 Array<String>, Array<int>>;
TYPED_TEST_SUITE(VectorTest, Vectors);

TYPED_TEST(VectorTest, AppendsAndReadsByIndex) {
  using T = typename TestFixture::T;
  EXPECT_EQ(Read(*this->v_.Append(Make<T>(5))), 5);
  const T* none = nullptr;
  EXPECT_EQ(Read(*this->v_.Append(none)), DefaultValue<T>());
  T& added = this->v_.AppendDefault();
  EXPECT_EQ(&added, &this->v_.At(2));
  added = Make<T>(9);
  EXPECT_EQ(this->Indexed(), (std::vector<int>{5, DefaultValue<T>(), 9}));
  EXPECT_EQ(Contents(this->v_), this->Indexed());
  this->v_[1] = Make<T>(6);
  EXPECT_EQ(Read(this->v_.At(1)), 6);
}

// An element of the vector itself may be appended or inserted while the storage moves; a
// std::vector with the same operations gives the expected contents.
TYPED_TEST(VectorTest, AddsCopiesOfItsOwnElementsWhileGrowing) {
  this->FillRange(7, 8);
  std::vector<int> model{7, 8};
  for (int i = 0; i < 40; ++i) {
    this->v_.Append(this->v_.At(i % 3));
    model.push_back(model[i % 3]);
    this->v_.InsertAt(1, this->v_.At(this->v_.Count() - 1 - i % 2));
    model.insert(model.begin() + 1, model[model.size() - 1 - i % 2]);
    this->v_.AddFirst(this->v_.At(2));
    model.insert(model.begin(), model[2]);
  }
  EXPECT_EQ(this->Indexed(), model);
}

TYPED_TEST(VectorTest, InsertAtClampsThePosition) {
  using T = typename TestFixture::T;
  struct Case {
    int at;
    std::vector<int> expected;
  } cases[] = {
      {0, {9, 1, 2, 3}},
      {1, {1, 9, 2, 3}},
      {2, {1, 2, 9, 3}},
      {3, {1, 2, 3, 9}},
      {-4, {9, 1, 2, 3}},
      {INT_MIN, {9, 1, 2, 3}},
      {4, {1, 2, 3, 9}},
      {INT_MAX, {1, 2, 3, 9}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.at);
    this->FillRange(1, 3);
    EXPECT_EQ(Read(*this->v_.InsertAt(test.at, Make<T>(9))), 9);
    EXPECT_EQ(this->Indexed(), test.expected);
  }
}

TYPED_TEST(VectorTest, RemoveAtRefusesBadIndexes) {
  struct Case {
    int at;
    bool removed;
    std::vector<int> left;
  } cases[] = {
      {0, true, {2, 3, 4}},
      {2, true, {1, 2, 4}},
      {3, true, {1, 2, 3}},
      {4, false, {1, 2, 3, 4}},
      {-1, false, {1, 2, 3, 4}},
      {INT_MIN, false, {1, 2, 3, 4}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.at);
    this->FillRange(1, 4);
    EXPECT_EQ(this->v_.RemoveAt(test.at), test.removed);
    EXPECT_EQ(this->Indexed(), test.left);
  }
}

TYPED_TEST(VectorTest, RemoveRangeClampsAndRefusesEmptyRanges) {
  struct Case {
    int first, last;
    bool removed;
    std::vector<int> left;
  } cases[] = {
      {1, 2, true, {1, 4, 5}},
      {0, 4, true, {}},
      {-3, 1, true, {3, 4, 5}},
      {3, 99, true, {1, 2, 3}},
      {INT_MIN, INT_MAX, true, {}},
      {2, 2, true, {1, 2, 4, 5}},
      {2, 1, false, {1, 2, 3, 4, 5}},
      {5, 9, false, {1, 2, 3, 4, 5}},
      {-5, -1, false, {1, 2, 3, 4, 5}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(::testing::Message() << test.first << ".." << test.last);
    this->FillRange(1, 5);
    EXPECT_EQ(this->v_.RemoveRange(test.first, test.last), test.removed);
    EXPECT_EQ(this->Indexed(), test.left);
  }
  this->v_.RemoveAll();
  EXPECT_FALSE(this->v_.RemoveRange(0, 0));
}

TYPED_TEST(VectorTest, TakeAtCopiesOutOrGivesADefault) {
  using T = typename TestFixture::T;
  this->FillRange(1, 3);
  EXPECT_EQ(Read(this->v_.TakeAt(1)), 2);
  EXPECT_EQ(Read(this->v_.TakeAt(2)), DefaultValue<T>());
  EXPECT_EQ(Read(this->v_.TakeAt(-1)), DefaultValue<T>());
  EXPECT_EQ(this->Indexed(), (std::vector<int>{1, 3}));
}

TYPED_TEST(VectorTest, ResizeKeepsTheFrontAndSetSizeStartsAfresh) {
  using T = typename TestFixture::T;
  const int d = DefaultValue<T>();
  struct Case {
    int n;
    std::vector<int> resized;
  } cases[] = {
      {2, {1, 2}},
      {3, {1, 2, 3}},
      {5, {1, 2, 3, d, d}},
      {0, {}},
      {-4, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.n);
    this->FillRange(1, 3);
    this->v_.Resize(test.n);
    EXPECT_EQ(this->Indexed(), test.resized);
    this->FillRange(1, 3);
    this->v_.SetSize(test.n);
    EXPECT_EQ(this->Indexed(), std::vector<int>(test.resized.size(), d));
  }
}

TYPED_TEST(VectorTest, SwapRefusesBadIndexes) {
  struct Case {
    int i, j;
    bool swapped;
    std::vector<int> after;
  } cases[] = {
      {0, 2, true, {3, 2, 1}},
      {1, 1, true, {1, 2, 3}},
      {2, 3, false, {1, 2, 3}},
      {-1, 0, false, {1, 2, 3}},
      {0, INT_MAX, false, {1, 2, 3}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(::testing::Message() << test.i << "<->" << test.j);
    this->FillRange(1, 3);
    EXPECT_EQ(this->v_.Swap(test.i, test.j), test.swapped);
    EXPECT_EQ(this->Indexed(), test.after);
  }
}

TYPED_TEST(VectorTest, MoveShiftsTheElementsBetween) {
  struct Case {
    int from, to;
    bool moved;
    std::vector<int> after;
  } cases[] = {
      {1, 4, true, {0, 2, 3, 4, 1, 5}},
      {4, 1, true, {0, 4, 1, 2, 3, 5}},
      {0, 5, true, {1, 2, 3, 4, 5, 0}},
      {5, 0, true, {5, 0, 1, 2, 3, 4}},
      {2, 2, true, {0, 1, 2, 3, 4, 5}},
      {6, 0, false, {0, 1, 2, 3, 4, 5}},
      {0, -1, false, {0, 1, 2, 3, 4, 5}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(::testing::Message() << test.from << "->" << test.to);
    this->FillRange(0, 5);
    EXPECT_EQ(this->v_.Move(test.from, test.to), test.moved);
    EXPECT_EQ(this->Indexed(), test.after);
  }
}

TYPED_TEST(VectorTest, RotatesLeftAndRight) {
  struct Case {
    int n;
    std::vector<int> left, right;
  } cases[] = {
      {0, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {1, {2, 3, 4, 1}, {4, 1, 2, 3}},
      {3, {4, 1, 2, 3}, {2, 3, 4, 1}},
      {4, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {6, {3, 4, 1, 2}, {3, 4, 1, 2}},
      {-1, {4, 1, 2, 3}, {2, 3, 4, 1}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.n);
    this->FillRange(1, 4);
    this->v_.RotateLeft(test.n);
    EXPECT_EQ(this->Indexed(), test.left);
    this->FillRange(1, 4);
    this->v_.RotateRight(test.n);
    EXPECT_EQ(this->Indexed(), test.right);
  }
}

template <class T>
int Descending(const T& a, const T& b) {
  return Read(b) - Read(a);
}

TYPED_TEST(VectorTest, SortsWithTheComparison) {
  using T = typename TestFixture::T;
  for (int v : {4, 9, 1, 7, 7, 3, 12, 0}) this->v_.Append(Make<T>(v));
  this->v_.Sort(Descending<T>);
  EXPECT_EQ(this->Indexed(), (std::vector<int>{12, 9, 7, 7, 4, 3, 1, 0}));
  this->v_.RemoveAll();
  this->v_.Sort(Descending<T>);
  EXPECT_EQ(this->v_.Count(), 0);
}

TYPED_TEST(VectorTest, CopiesAreIndependent) {
  using T = typename TestFixture::T;
  this->FillRange(1, 4);
  TypeParam copy(this->v_);
  copy[0] = Make<T>(50);
  copy.Append(Make<T>(60));
  EXPECT_EQ(this->Indexed(), Range(1, 4));
  EXPECT_EQ(Contents(copy), (std::vector<int>{50, 2, 3, 4, 60}));
  TypeParam assigned;
  assigned.Append(Make<T>(70));
  assigned = copy;
  copy.RemoveAll();
  EXPECT_EQ(Contents(assigned), (std::vector<int>{50, 2, 3, 4, 60}));
  const TypeParam& same = assigned;  // self-assignment, as it comes about through a reference
  assigned = same;
  EXPECT_EQ(assigned.Count(), 5);
  TypeParam moved(std::move(assigned));
  EXPECT_EQ(Contents(moved), (std::vector<int>{50, 2, 3, 4, 60}));
}

TYPED_TEST(VectorTest, AppendAllTakesAnyCollection) {
  using T = typename TestFixture::T;
  List<T> list;
  container_test::Fill(list, {8, 9});
  this->FillRange(1, 1);
  EXPECT_EQ(this->v_.AppendAll(list), 2);
  EXPECT_EQ(this->Indexed(), (std::vector<int>{1, 8, 9}));
}

// Reading one past the end ends the process; the message names the element type.
TEST(VectorDeathTest, ReadingPastTheEndNamesTypeIndexAndLastIndex) {
  Vector<String> texts;
  texts.Append(String("a"));
  texts.Append(String("b"));
  texts.Append(String("c"));
  EXPECT_EXIT(texts.At(3), ::testing::ExitedWithCode(1),
              "^Vector<class String>\\[3\\]\nmax_index = 2$");

  Array<String> lines;
  lines.Append(String("a"));
  EXPECT_EXIT(lines[-1], ::testing::ExitedWithCode(1),
              "^Vector<class String>\\[-1\\]\nmax_index = 0$");

  Vector<int> numbers;
  EXPECT_EXIT(numbers.CheckIndex(0), ::testing::ExitedWithCode(1),
              "^Vector<int>\\[0\\]\nmax_index = -1$");

  Vector<void*> pointers;
  pointers.Append(nullptr);  // a null pointer is the default element of void *
  EXPECT_EXIT(pointers.At(7), ::testing::ExitedWithCode(1),
              "^Vector<void \\*>\\[7\\]\nmax_index = 0$");
}

}  // namespace
