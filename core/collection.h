// The collection interface shared by List, Vector, Array, Stack and HashTable, so that code can
// walk, fill and trim any of them through one set of virtual operations.
//
// A walk is driven by a Cursor. Each step makes the element it reaches current and loads that
// element's neighbours at once, so the current element may be removed (RemoveAt, Take) in the
// middle of a walk and the walk goes on with the neighbour.
#pragma once

#include <cstddef>

// Where a walk stands. Lists and tables walk by node (the pointer half), vectors by position
// (the index half, -1 meaning none); a cursor belongs to the collection that began it.
struct Cursor {
  void* current = nullptr;
  void* next = nullptr;
  void* prev = nullptr;
  int currentIndex = -1;
  int nextIndex = -1;
  int prevIndex = -1;
};

template <class T>
class Collection {
 public:
  virtual ~Collection() = default;

  virtual int Count() const = 0;
  bool IsEmpty() const { return Count() < 1; }

  // Prepare a walk from the head (forward) or from the tail (backward); false when empty.
  virtual bool BeginForward(Cursor& cursor) const = 0;
  virtual bool BeginBackward(Cursor& cursor) const = 0;

  // Step and return the element reached, or null at the end. First and Last begin a walk and
  // take its first step.
  virtual T* First(Cursor& cursor) = 0;
  virtual T* Next(Cursor& cursor) = 0;
  virtual T* Last(Cursor& cursor) = 0;
  virtual T* Prev(Cursor& cursor) = 0;

  // The element at position Random(count) from the head; the head element when count < 2;
  // null when empty.
  virtual T* RandomElement() = 0;

  // Pointers to elements without stepping; null when there is none.
  virtual T* FirstElement() = 0;
  virtual T* LastElement() = 0;
  virtual T* CurrentElement(const Cursor& cursor) = 0;
  virtual T* NextElement(const Cursor& cursor) = 0;
  virtual T* PrevElement(const Cursor& cursor) = 0;

  // Each single add returns the stored element; a null pointer adds a default element.
  // AddAllLast appends the other collection's elements in their order; AddAllFirst prepends them
  // as one block, keeping their order. Both return how many were added, and accept this very
  // collection as the source.
  virtual T* AddLast(const T& value) = 0;
  virtual T* AddLast(const T* value) = 0;
  virtual int AddAllLast(const Collection<T>& other) = 0;
  virtual T* AddFirst(const T& value) = 0;
  virtual T* AddFirst(const T* value) = 0;
  virtual int AddAllFirst(const Collection<T>& other) = 0;

  // Removal. RemoveAt removes the current element of a walk (false when there is none); the
  // N forms remove up to n elements and return how many (0 for n < 1); the single forms return
  // false when empty.
  virtual void RemoveAll() = 0;
  virtual bool RemoveAt(Cursor& cursor) = 0;
  virtual int RemoveFirstN(int n) = 0;
  virtual bool RemoveFirst() = 0;
  virtual int RemoveLastN(int n) = 0;
  virtual bool RemoveLast() = 0;

  // Keep only the first (or last) n elements, removing the rest from the other end; return how
  // many were removed. A negative n is refused: nothing is removed and the result is 0.
  virtual int KeepFirst(int n) = 0;
  virtual int KeepLast(int n) = 0;

  // Copies the current element of a walk out and removes it; a default element when there is
  // no current element.
  virtual T Take(Cursor& cursor) = 0;

  // With count >= 2, RotateForward(n) moves n mod count elements from the head to the tail (the
  // element that was at position n becomes the head); RotateBackward(n) moves them from the tail
  // to the head. A negative n rotates the other way; n = 0 does nothing.
  virtual void RotateForward(int n) = 0;
  virtual void RotateBackward(int n) = 0;

  // Read-only walks of a const collection. Stepping changes only the cursor, never the
  // collection, so these share the stepping code of the mutable forms. Derived collections
  // re-expose them with a using-declaration, since their overrides hide these names.
  const T* First(Cursor& cursor) const { return Mutable()->First(cursor); }
  const T* Next(Cursor& cursor) const { return Mutable()->Next(cursor); }
  const T* Last(Cursor& cursor) const { return Mutable()->Last(cursor); }
  const T* Prev(Cursor& cursor) const { return Mutable()->Prev(cursor); }
  const T* FirstElement() const { return Mutable()->FirstElement(); }
  const T* LastElement() const { return Mutable()->LastElement(); }
  const T* CurrentElement(const Cursor& cursor) const { return Mutable()->CurrentElement(cursor); }
  const T* NextElement(const Cursor& cursor) const { return Mutable()->NextElement(cursor); }
  const T* PrevElement(const Cursor& cursor) const { return Mutable()->PrevElement(cursor); }

 protected:
  Collection() = default;
  Collection(const Collection&) = default;
  Collection& operator=(const Collection&) = default;

  // Normalises a rotation of a collection of count elements to 0..count-1 positions forward.
  static int ForwardSteps(int n, int count) {
    if (count < 2) return 0;
    int steps = n % count;
    return steps < 0 ? steps + count : steps;
  }

 private:
  Collection* Mutable() const { return const_cast<Collection*>(this); }
};
