// Vector<T>: the bounds-checked dynamic array, indexed from 0. It is a full collection (see
// core/collection.h) and adds the indexed operations. Index errors in At/CheckIndex end the
// process with "Vector<type>[index]\nmax_index = count-1"; every other bad position or count
// is refused by result and leaves the vector unchanged.
//
// Storage depends on the element type (core/vector_storage.h): int and void* live in 4-byte
// (pointer-sized) slots with spare room at both ends; every other type is kept in a block of
// exactly count elements, so appending to such a vector copies all its elements. The
// collections of the engine hold at most a few thousand elements, so this is accepted.
#pragma once

#include <algorithm>
#include <cstddef>

#include "core/collection.h"
#include "core/fatal.h"
#include "core/string.h"  // Random
#include "core/type_name.h"
#include "core/vector_storage.h"

template <class T>
struct VectorStorageOf {
  using type = ExactBlock<T>;
};
template <>
struct VectorStorageOf<int> {
  using type = ValueSlots<int>;
};
template <>
struct VectorStorageOf<void*> {
  using type = ValueSlots<void*>;
};

// Everything a Vector or Array does, over one of the storages.
template <class T, class Storage>
class VectorBase : public Collection<T> {
 public:
  using Collection<T>::First, Collection<T>::Next, Collection<T>::Last, Collection<T>::Prev,
      Collection<T>::FirstElement, Collection<T>::LastElement, Collection<T>::CurrentElement,
      Collection<T>::NextElement, Collection<T>::PrevElement;

  int Count() const override { return items_.Count(); }
  // Slots in the block and the position of the first used one; for exact-size storage these
  // are count and 0.
  int Capacity() const { return items_.Capacity(); }
  int FirstSlot() const { return items_.FirstSlot(); }

  // Ends the process when i is not a valid index.
  void CheckIndex(int i) const {
    if (i < 0 || i >= Count()) {
      FatalErrorFormat("Vector<%s>[%d]\nmax_index = %d", TypeName<T>(), i, Count() - 1);
    }
  }
  T& At(int i) {
    CheckIndex(i);
    return items_.Ref(i);
  }
  const T& At(int i) const {
    CheckIndex(i);
    return items_.Ref(i);
  }
  T& operator[](int i) { return At(i); }
  const T& operator[](int i) const { return At(i); }

  // Appends return the stored element; a null pointer appends a default element.
  T* Append(const T& value) { return items_.Insert(Count(), &value); }
  T* Append(const T* value) { return items_.Insert(Count(), value); }
  // Without this, Append(nullptr) on a Vector<void*> would match both forms above.
  T* Append(std::nullptr_t) { return items_.Insert(Count(), nullptr); }
  T& AppendDefault() { return *items_.Insert(Count(), nullptr); }
  int AppendAll(const Collection<T>& other) { return AddAllLast(other); }

  // i is clamped to 0..count; the elements from i on shift up by one.
  T* InsertAt(int i, const T& value) { return items_.Insert(ClampInsertion(i), &value); }
  T* InsertAt(int i, const T* value) { return items_.Insert(ClampInsertion(i), value); }

  // False (and no change) when i is not a valid index.
  bool RemoveAt(int i) {
    if (!IsIndex(i)) return false;
    items_.Erase(i, 1);
    return true;
  }

  // Removes elements first..last inclusive, after clamping both to the valid indexes; false
  // when first > last after clamping.
  bool RemoveRange(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    if (first > last) return false;
    items_.Erase(first, last - first + 1);
    return true;
  }

  // Copies element i out and removes it; a default element when i is out of range.
  T TakeAt(int i) {
    if (!IsIndex(i)) return T();
    T value = items_.Ref(i);
    items_.Erase(i, 1);
    return value;
  }

  // Keeps the first min(count, n) elements and adds default ones up to n; n < 1 empties.
  void Resize(int n) { items_.Resize(n); }
  // Discards every element and creates n default ones.
  void SetSize(int n) {
    items_.Clear();
    items_.Resize(n);
  }

  // False (and no change) when either index is out of range.
  bool Swap(int i, int j) {
    if (!IsIndex(i) || !IsIndex(j)) return false;
    if (i != j) items_.SwapAt(i, j);
    return true;
  }

  // The element at from travels to to; the ones between shift by one towards from's place.
  // False (and no change) when either index is out of range.
  bool Move(int from, int to) {
    if (!IsIndex(from) || !IsIndex(to)) return false;
    if (from < to) items_.Rotate(from, from + 1, to + 1);
    if (to < from) items_.Rotate(to, from, from + 1);
    return true;
  }

  // RotateLeft(n): the element at n mod count becomes the first, the ones before it wrap to the
  // end. RotateRight is the opposite direction. Negative n turns the other way; a vector of
  // fewer than two elements is unchanged.
  void RotateLeft(int n) {
    int steps = this->ForwardSteps(n, Count());
    if (steps > 0) items_.Rotate(0, steps, Count());
  }
  void RotateRight(int n) {
    int steps = this->ForwardSteps(n, Count());
    if (steps > 0) items_.Rotate(0, Count() - steps, Count());
  }

  // Sorts in place by compare (negative, zero or positive like strcmp), which must order the
  // elements consistently. Equal elements may change places.
  void Sort(int (*compare)(const T&, const T&)) {
    items_.Sort([compare](const T& a, const T& b) { return compare(a, b) < 0; });
  }

  // The collection interface: walks by position.
  bool BeginForward(Cursor& cursor) const override {
    cursor.currentIndex = -1;
    cursor.nextIndex = 0;
    cursor.prevIndex = -1;
    return Count() > 0;
  }
  bool BeginBackward(Cursor& cursor) const override {
    cursor.currentIndex = -1;
    cursor.nextIndex = -1;
    cursor.prevIndex = Count() - 1;
    return Count() > 0;
  }
  T* First(Cursor& cursor) override {
    BeginForward(cursor);
    return Next(cursor);
  }
  T* Next(Cursor& cursor) override { return StepTo(cursor, cursor.nextIndex); }
  T* Last(Cursor& cursor) override {
    BeginBackward(cursor);
    return Prev(cursor);
  }
  T* Prev(Cursor& cursor) override { return StepTo(cursor, cursor.prevIndex); }

  T* RandomElement() override {
    if (Count() < 1) return nullptr;
    return &items_.Ref(Count() < 2 ? 0 : Random(Count()));
  }

  T* FirstElement() override { return ElementAt(0); }
  T* LastElement() override { return ElementAt(Count() - 1); }
  T* CurrentElement(const Cursor& cursor) override { return ElementAt(cursor.currentIndex); }
  T* NextElement(const Cursor& cursor) override { return ElementAt(cursor.nextIndex); }
  T* PrevElement(const Cursor& cursor) override { return ElementAt(cursor.prevIndex); }

  T* AddLast(const T& value) override { return Append(value); }
  T* AddLast(const T* value) override { return Append(value); }
  T* AddFirst(const T& value) override { return items_.Insert(0, &value); }
  T* AddFirst(const T* value) override { return items_.Insert(0, value); }

  // Appending from itself is safe: positions 0..n-1 keep the original elements.
  int AddAllLast(const Collection<T>& other) override {
    int n = other.Count();
    Cursor cursor;
    other.BeginForward(cursor);
    for (int i = 0; i < n; ++i) {
      const T* value = other.Next(cursor);
      if (value == nullptr) return i;
      items_.Insert(Count(), value);
    }
    return n;
  }
  int AddAllFirst(const Collection<T>& other) override {
    if (&other == this) {
      VectorBase copy(*this);
      return AddAllFirst(copy);
    }
    int n = other.Count();
    Cursor cursor;
    other.BeginForward(cursor);
    for (int i = 0; i < n; ++i) {
      const T* value = other.Next(cursor);
      if (value == nullptr) return i;
      items_.Insert(i, value);
    }
    return n;
  }

  void RemoveAll() override { items_.Clear(); }

  // The cursor's positions follow the removal, so the walk goes on with the neighbour.
  bool RemoveAt(Cursor& cursor) override {
    int i = cursor.currentIndex;
    if (!IsIndex(i)) return false;
    items_.Erase(i, 1);
    if (cursor.nextIndex > i) --cursor.nextIndex;
    if (cursor.prevIndex > i) --cursor.prevIndex;
    cursor.currentIndex = -1;
    return true;
  }
  int RemoveFirstN(int n) override {
    n = std::min(n, Count());
    if (n < 1) return 0;
    items_.Erase(0, n);
    return n;
  }
  bool RemoveFirst() override { return RemoveFirstN(1) == 1; }
  int RemoveLastN(int n) override {
    n = std::min(n, Count());
    if (n < 1) return 0;
    items_.Erase(Count() - n, n);
    return n;
  }
  bool RemoveLast() override { return RemoveLastN(1) == 1; }
  int KeepFirst(int n) override { return n < 0 ? 0 : RemoveLastN(Count() - n); }
  int KeepLast(int n) override { return n < 0 ? 0 : RemoveFirstN(Count() - n); }

  T Take(Cursor& cursor) override {
    if (!IsIndex(cursor.currentIndex)) return T();
    T value = items_.Ref(cursor.currentIndex);
    RemoveAt(cursor);
    return value;
  }

  void RotateForward(int n) override { RotateLeft(n); }
  void RotateBackward(int n) override { RotateRight(n); }

 protected:
  VectorBase() = default;
  VectorBase(const VectorBase&) = default;
  VectorBase(VectorBase&&) noexcept = default;
  VectorBase& operator=(const VectorBase&) = default;
  VectorBase& operator=(VectorBase&&) noexcept = default;

 private:
  bool IsIndex(int i) const { return i >= 0 && i < Count(); }
  int ClampInsertion(int i) const { return std::min(std::max(i, 0), Count()); }
  T* ElementAt(int i) { return IsIndex(i) ? &items_.Ref(i) : nullptr; }

  T* StepTo(Cursor& cursor, int i) {
    if (!IsIndex(i)) {
      cursor.currentIndex = -1;
      return nullptr;
    }
    cursor.currentIndex = i;
    cursor.nextIndex = i + 1;
    cursor.prevIndex = i - 1;
    return &items_.Ref(i);
  }

  Storage items_;
};

template <class T>
class Vector : public VectorBase<T, typename VectorStorageOf<T>::type> {
 public:
  Vector() = default;
};
