// The three ways a Vector or Array keeps its elements. Each offers the same small set of
// primitives on which VectorBase builds every operation; the caller checks all positions.
//
//   ExactBlock<T>   structured elements: exactly count elements, no spare capacity; every
//                   change of size builds a new block of default elements, moves the kept ones
//                   over and destroys the old block.
//   ValueSlots<T>   int and void*: the elements live in the slots of a SlotBlock.
//   OwnedSlots<T>   the text list Array<String>: the slots point to individually allocated
//                   elements owned by the list.
#pragma once

#include <algorithm>
#include <utility>

#include "core/slot_block.h"

template <class T>
class ExactBlock {
 public:
  ExactBlock() = default;
  ExactBlock(const ExactBlock& other) : count_(other.count_), items_(NewBlock(other.count_)) {
    for (int i = 0; i < count_; ++i) items_[i] = other.items_[i];
  }
  ExactBlock(ExactBlock&& other) noexcept { SwapWith(other); }
  ExactBlock& operator=(const ExactBlock& other) {
    if (this != &other) {
      ExactBlock copy(other);
      SwapWith(copy);
    }
    return *this;
  }
  ExactBlock& operator=(ExactBlock&& other) noexcept {
    SwapWith(other);
    return *this;
  }
  ~ExactBlock() { delete[] items_; }

  int Count() const { return count_; }
  int Capacity() const { return count_; }
  int FirstSlot() const { return 0; }
  T& Ref(int i) { return items_[i]; }
  const T& Ref(int i) const { return items_[i]; }

  // Inserts a copy of *value (a default element when null) at pos and returns it. The value
  // is copied into the new block before the old elements move, since it may be one of them.
  T* Insert(int pos, const T* value) {
    T* block = NewBlock(count_ + 1);
    if (value != nullptr) block[pos] = *value;
    for (int i = 0; i < pos; ++i) block[i] = std::move(items_[i]);
    for (int i = pos; i < count_; ++i) block[i + 1] = std::move(items_[i]);
    Replace(block, count_ + 1);
    return &items_[pos];
  }

  void Erase(int pos, int n) {
    T* block = NewBlock(count_ - n);
    for (int i = 0; i < pos; ++i) block[i] = std::move(items_[i]);
    for (int i = pos + n; i < count_; ++i) block[i - n] = std::move(items_[i]);
    Replace(block, count_ - n);
  }

  void Clear() { Replace(nullptr, 0); }

  // Keeps the first min(count, n) elements; the rest of the new block are default elements.
  void Resize(int n) {
    if (n < 1) return Clear();
    T* block = NewBlock(n);
    int kept = std::min(count_, n);
    for (int i = 0; i < kept; ++i) block[i] = std::move(items_[i]);
    Replace(block, n);
  }

  void SwapAt(int i, int j) { std::swap(items_[i], items_[j]); }
  void Rotate(int first, int middle, int last) {
    std::rotate(items_ + first, items_ + middle, items_ + last);
  }
  template <class Less>
  void Sort(Less less) {
    if (count_ > 1) std::sort(items_, items_ + count_, less);
  }

 private:
  static T* NewBlock(int n) { return n > 0 ? new T[n] : nullptr; }

  void Replace(T* block, int n) {
    delete[] items_;
    items_ = block;
    count_ = n;
  }

  void SwapWith(ExactBlock& other) {
    std::swap(count_, other.count_);
    std::swap(items_, other.items_);
  }

  int count_ = 0;
  T* items_ = nullptr;
};

template <class T>
class ValueSlots {
 public:
  int Count() const { return slots_.Count(); }
  int Capacity() const { return slots_.Capacity(); }
  int FirstSlot() const { return slots_.FirstSlot(); }
  T& Ref(int i) { return slots_.At(i); }
  const T& Ref(int i) const { return slots_.At(i); }

  T* Insert(int pos, const T* value) {
    T copy = value != nullptr ? *value : T();  // before the block may move
    T& slot = slots_.Open(pos);
    slot = copy;
    return &slot;
  }

  void Erase(int pos, int n) { slots_.Close(pos, n); }
  void Clear() { slots_.Release(); }

  void Resize(int n) {
    if (n < 1) return Clear();
    if (n < Count()) slots_.Close(n, Count() - n);
    while (Count() < n) slots_.Open(Count());
  }

  void SwapAt(int i, int j) { std::swap(Ref(i), Ref(j)); }
  void Rotate(int first, int middle, int last) {
    std::rotate(slots_.Used() + first, slots_.Used() + middle, slots_.Used() + last);
  }
  template <class Less>
  void Sort(Less less) {
    if (Count() > 1) std::sort(slots_.Used(), slots_.Used() + Count(), less);
  }

 private:
  SlotBlock<T> slots_;
};

template <class T>
class OwnedSlots {
 public:
  OwnedSlots() = default;
  // The copy gets the slot layout of a copied block and its own copy of every element.
  OwnedSlots(const OwnedSlots& other) : slots_(other.slots_) {
    for (int i = 0; i < Count(); ++i) slots_.At(i) = new T(*slots_.At(i));
  }
  OwnedSlots(OwnedSlots&& other) noexcept : slots_(std::move(other.slots_)) {}
  OwnedSlots& operator=(const OwnedSlots& other) {
    if (this != &other) {
      OwnedSlots copy(other);
      std::swap(slots_, copy.slots_);
    }
    return *this;
  }
  OwnedSlots& operator=(OwnedSlots&& other) noexcept {
    std::swap(slots_, other.slots_);
    return *this;
  }
  ~OwnedSlots() { Clear(); }

  int Count() const { return slots_.Count(); }
  int Capacity() const { return slots_.Capacity(); }
  int FirstSlot() const { return slots_.FirstSlot(); }
  T& Ref(int i) { return *slots_.At(i); }
  const T& Ref(int i) const { return *slots_.At(i); }

  T* Insert(int pos, const T* value) {
    T* element = value != nullptr ? new T(*value) : new T();  // before the block may move
    slots_.Open(pos) = element;
    return element;
  }

  void Erase(int pos, int n) {
    for (int i = pos; i < pos + n; ++i) delete slots_.At(i);
    slots_.Close(pos, n);
  }

  void Clear() {
    for (int i = 0; i < Count(); ++i) delete slots_.At(i);
    slots_.Release();
  }

  void Resize(int n) {
    if (n < 1) return Clear();
    if (n < Count()) Erase(n, Count() - n);
    while (Count() < n) slots_.Open(Count()) = new T();
  }

  // Elements stay where they are; only their slots move.
  void SwapAt(int i, int j) { std::swap(slots_.At(i), slots_.At(j)); }
  void Rotate(int first, int middle, int last) {
    std::rotate(slots_.Used() + first, slots_.Used() + middle, slots_.Used() + last);
  }
  template <class Less>
  void Sort(Less less) {
    if (Count() > 1) {
      std::sort(slots_.Used(), slots_.Used() + Count(),
                [&less](const T* a, const T* b) { return less(*a, *b); });
    }
  }

 private:
  SlotBlock<T*> slots_;
};
