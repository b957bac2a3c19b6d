// The block behind the lists of small slots (Vector<int>, Vector<void*> and the text list
// Array<String>, whose slots point to individually owned Strings). Unlike the exact-size
// vectors of structured elements, it keeps spare slots on both sides of the used ones, so that
// adding at either end is cheap:
//
//   items: [ free ... | first .. first+count-1 | ... free ]   (capacity slots in all)
//
// Growth: when an insertion finds the block full, the new capacity is computed from the new
// count n: 6 when n*3/2 is below 7; else n*3/2 while that many slots take at most 8,192 bytes;
// else n + 2,048. The byte limit uses the slot size of the build, so on a 64-bit host the
// pointer slots switch to the additive step at half the slot count of the 32-bit engine.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>

#include "core/memory.h"

template <class Slot>
class SlotBlock {
  static_assert(std::is_trivially_copyable_v<Slot>, "slots are moved with memmove");

 public:
  static constexpr int kMinimumCapacity = 6;
  static constexpr size_t kHalfAgainLimitBytes = 8192;
  static constexpr int kStepBeyondLimit = 2048;

  SlotBlock() = default;

  // A copy holds the same slots with count / 2 spare: count / 4 before them, the rest after.
  SlotBlock(const SlotBlock& other) { CopyFrom(other); }
  SlotBlock(SlotBlock&& other) noexcept { SwapWith(other); }
  SlotBlock& operator=(const SlotBlock& other) {
    if (this != &other) {
      Release();
      CopyFrom(other);
    }
    return *this;
  }
  SlotBlock& operator=(SlotBlock&& other) noexcept {
    SwapWith(other);
    return *this;
  }
  ~SlotBlock() { MemFree(items_); }

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  int FirstSlot() const { return first_; }

  // Slot i of the used ones (0 = first used); the caller checks i.
  Slot& At(int i) { return items_[first_ + i]; }
  const Slot& At(int i) const { return items_[first_ + i]; }
  Slot* Used() { return items_ + first_; }

  // The capacity chosen when an insertion finds the block full; n is the count after it.
  static int GrownCapacity(int n) {
    long long halfAgain = static_cast<long long>(n) * 3 / 2;
    if (halfAgain < 7) return kMinimumCapacity;
    if (halfAgain * static_cast<long long>(sizeof(Slot)) <=
        static_cast<long long>(kHalfAgainLimitBytes)) {
      return static_cast<int>(halfAgain);
    }
    return n + kStepBeyondLimit;
  }

  // Makes room for one slot at position pos (0..count) and returns it, value-initialised.
  // At the front the free slot before the first is used; at the end the one after the last; in
  // both cases the used slots are re-centred when that side has none. In the middle the front
  // part moves down when a slot is free before it and either pos lies in the front half or no
  // slot is free after the last; otherwise the back part moves up.
  Slot& Open(int pos) {
    if (count_ == capacity_) Grow(count_ + 1);
    int freeBefore = first_;
    int freeAfter = capacity_ - first_ - count_;
    if (pos == count_) {
      if (freeAfter == 0) Recentre((capacity_ - count_) / 4);
    } else if (pos == 0) {
      // (capacity - count) / 4 is 0 when fewer than four slots are free; at least one must
      // come before the elements for the new one.
      if (freeBefore == 0) Recentre(std::max((capacity_ - count_) / 4, 1));
      --first_;
    } else if (freeBefore > 0 && (pos * 2 < count_ || freeAfter == 0)) {
      std::memmove(items_ + first_ - 1, items_ + first_, sizeof(Slot) * pos);
      --first_;
    } else {
      std::memmove(items_ + first_ + pos + 1, items_ + first_ + pos, sizeof(Slot) * (count_ - pos));
    }
    ++count_;
    Slot& slot = items_[first_ + pos];
    slot = Slot();
    return slot;
  }

  // Removes n used slots starting at pos (the caller checks the range); the shorter side moves.
  void Close(int pos, int n) {
    if (n < 1) return;
    int after = count_ - pos - n;
    if (pos < after) {
      std::memmove(items_ + first_ + n, items_ + first_, sizeof(Slot) * pos);
      first_ += n;
    } else {
      std::memmove(items_ + first_ + pos, items_ + first_ + pos + n, sizeof(Slot) * after);
    }
    count_ -= n;
    if (count_ == 0) first_ = capacity_ / 4;
  }

  // Frees the block; the list is empty afterwards.
  void Release() {
    MemFree(items_);
    items_ = nullptr;
    count_ = 0;
    first_ = 0;
    capacity_ = 0;
  }

 private:
  void CopyFrom(const SlotBlock& other) {
    count_ = other.count_;
    capacity_ = count_ + count_ / 2;
    first_ = count_ / 4;
    items_ = capacity_ > 0 ? static_cast<Slot*>(MemAllocate(sizeof(Slot) * capacity_)) : nullptr;
    if (count_ > 0) {
      std::memcpy(items_ + first_, other.items_ + other.first_, sizeof(Slot) * count_);
    }
  }

  void SwapWith(SlotBlock& other) {
    std::swap(count_, other.count_);
    std::swap(first_, other.first_);
    std::swap(capacity_, other.capacity_);
    std::swap(items_, other.items_);
  }

  // The used slots stay where they are; the new room is after them.
  void Grow(int n) {
    int capacity = GrownCapacity(n);
    items_ =
        static_cast<Slot*>(MemReallocate(items_, sizeof(Slot) * static_cast<size_t>(capacity)));
    capacity_ = capacity;
  }

  void Recentre(int before) {
    std::memmove(items_ + before, items_ + first_, sizeof(Slot) * count_);
    first_ = before;
  }

  int count_ = 0;
  int first_ = 0;
  int capacity_ = 0;
  Slot* items_ = nullptr;
};
