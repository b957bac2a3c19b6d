// List<T>: the doubly linked list. Each element lives in its own node (prev, next, then the
// element by value), so pointers to elements stay valid until that element is removed, and
// rotations relink nodes without copying elements. The collection interface is described in
// core/collection.h; a list walk's cursor holds node pointers.
#pragma once

#include <utility>

#include "core/collection.h"
#include "core/string.h"  // Random

template <class T>
class List : public Collection<T> {
 public:
  using Collection<T>::First, Collection<T>::Next, Collection<T>::Last, Collection<T>::Prev,
      Collection<T>::FirstElement, Collection<T>::LastElement, Collection<T>::CurrentElement,
      Collection<T>::NextElement, Collection<T>::PrevElement;

  List() = default;
  List(const List& other) : Collection<T>() { AddAllLast(other); }
  List(List&& other) noexcept : Collection<T>() { SwapWith(other); }
  List& operator=(const List& other) {
    if (this != &other) {
      List copy(other);
      SwapWith(copy);
    }
    return *this;
  }
  List& operator=(List&& other) noexcept {
    SwapWith(other);
    return *this;
  }
  ~List() override { RemoveAll(); }

  int Count() const override { return count_; }

  // Removes the element that element points to, which must be one of this list's (a pointer
  // the list handed out); false when it is not found.
  bool RemoveElement(const T* element) {
    for (Node* node = head_; node != nullptr; node = node->next) {
      if (&node->value == element) {
        Unlink(node);
        return true;
      }
    }
    return false;
  }

  bool BeginForward(Cursor& cursor) const override {
    cursor.current = nullptr;
    cursor.next = head_;
    cursor.prev = nullptr;
    return count_ > 0;
  }
  bool BeginBackward(Cursor& cursor) const override {
    cursor.current = nullptr;
    cursor.next = nullptr;
    cursor.prev = tail_;
    return count_ > 0;
  }
  T* First(Cursor& cursor) override {
    BeginForward(cursor);
    return Next(cursor);
  }
  T* Next(Cursor& cursor) override { return StepTo(cursor, static_cast<Node*>(cursor.next)); }
  T* Last(Cursor& cursor) override {
    BeginBackward(cursor);
    return Prev(cursor);
  }
  T* Prev(Cursor& cursor) override { return StepTo(cursor, static_cast<Node*>(cursor.prev)); }

  T* RandomElement() override {
    if (count_ < 2) return ValueOf(head_);
    return &NodeAt(Random(count_))->value;
  }

  T* FirstElement() override { return ValueOf(head_); }
  T* LastElement() override { return ValueOf(tail_); }
  T* CurrentElement(const Cursor& cursor) override { return ValueOf(cursor.current); }
  T* NextElement(const Cursor& cursor) override { return ValueOf(cursor.next); }
  T* PrevElement(const Cursor& cursor) override { return ValueOf(cursor.prev); }

  T* AddLast(const T& value) override {
    return &LinkBefore(new Node{nullptr, nullptr, value}, nullptr)->value;
  }
  T* AddLast(const T* value) override { return value != nullptr ? AddLast(*value) : AddLast(T()); }
  T* AddFirst(const T& value) override {
    return &LinkBefore(new Node{nullptr, nullptr, value}, head_)->value;
  }
  T* AddFirst(const T* value) override {
    return value != nullptr ? AddFirst(*value) : AddFirst(T());
  }

  // Walks exactly the other collection's count, so appending a list to itself doubles it.
  int AddAllLast(const Collection<T>& other) override {
    int n = other.Count();
    Cursor cursor;
    other.BeginForward(cursor);
    for (int i = 0; i < n; ++i) {
      const T* value = other.Next(cursor);
      if (value == nullptr) return i;
      AddLast(*value);
    }
    return n;
  }
  int AddAllFirst(const Collection<T>& other) override {
    if (&other == this) {
      List copy(*this);
      return AddAllFirst(copy);
    }
    int n = other.Count();
    Cursor cursor;
    other.BeginForward(cursor);
    Node* before = head_;
    for (int i = 0; i < n; ++i) {
      const T* value = other.Next(cursor);
      if (value == nullptr) return i;
      LinkBefore(new Node{nullptr, nullptr, *value}, before);
    }
    return n;
  }

  void RemoveAll() override {
    while (head_ != nullptr) Unlink(head_);
  }

  // The cursor already holds the neighbours, so the walk goes on after the removal.
  bool RemoveAt(Cursor& cursor) override {
    Node* node = static_cast<Node*>(cursor.current);
    if (node == nullptr) return false;
    Unlink(node);
    cursor.current = nullptr;
    return true;
  }
  int RemoveFirstN(int n) override {
    int removed = 0;
    while (removed < n && head_ != nullptr) {
      Unlink(head_);
      ++removed;
    }
    return removed;
  }
  bool RemoveFirst() override { return RemoveFirstN(1) == 1; }
  int RemoveLastN(int n) override {
    int removed = 0;
    while (removed < n && tail_ != nullptr) {
      Unlink(tail_);
      ++removed;
    }
    return removed;
  }
  bool RemoveLast() override { return RemoveLastN(1) == 1; }
  int KeepFirst(int n) override { return n < 0 ? 0 : RemoveLastN(count_ - n); }
  int KeepLast(int n) override { return n < 0 ? 0 : RemoveFirstN(count_ - n); }

  T Take(Cursor& cursor) override {
    Node* node = static_cast<Node*>(cursor.current);
    if (node == nullptr) return T();
    T value = std::move(node->value);
    RemoveAt(cursor);
    return value;
  }

  void RotateForward(int n) override { RotateHeadToTail(this->ForwardSteps(n, count_)); }
  void RotateBackward(int n) override {
    int steps = this->ForwardSteps(n, count_);
    if (steps > 0) RotateHeadToTail(count_ - steps);
  }

 private:
  struct Node {
    Node* prev;
    Node* next;
    T value;
  };

  static T* ValueOf(void* node) {
    return node != nullptr ? &static_cast<Node*>(node)->value : nullptr;
  }

  // Links node in before `before` (at the tail when null) and returns it.
  Node* LinkBefore(Node* node, Node* before) {
    Node* after = before != nullptr ? before->prev : tail_;
    node->prev = after;
    node->next = before;
    if (after != nullptr) {
      after->next = node;
    } else {
      head_ = node;
    }
    if (before != nullptr) {
      before->prev = node;
    } else {
      tail_ = node;
    }
    ++count_;
    return node;
  }

  void Unlink(Node* node) {
    if (node->prev != nullptr) {
      node->prev->next = node->next;
    } else {
      head_ = node->next;
    }
    if (node->next != nullptr) {
      node->next->prev = node->prev;
    } else {
      tail_ = node->prev;
    }
    --count_;
    delete node;
  }

  T* StepTo(Cursor& cursor, Node* node) {
    cursor.current = node;
    if (node == nullptr) return nullptr;
    cursor.next = node->next;
    cursor.prev = node->prev;
    return &node->value;
  }

  // Node at position i (0 <= i < count), walking from the nearer end.
  Node* NodeAt(int i) const {
    if (i < count_ / 2) {
      Node* node = head_;
      while (i-- > 0) node = node->next;
      return node;
    }
    Node* node = tail_;
    for (int back = count_ - 1 - i; back > 0; --back) node = node->prev;
    return node;
  }

  // The first `steps` nodes (0 < steps < count) move behind the tail by relinking the ring.
  void RotateHeadToTail(int steps) {
    if (steps < 1) return;
    Node* newHead = NodeAt(steps);
    Node* newTail = newHead->prev;
    tail_->next = head_;
    head_->prev = tail_;
    newTail->next = nullptr;
    newHead->prev = nullptr;
    head_ = newHead;
    tail_ = newTail;
  }

  void SwapWith(List& other) {
    std::swap(count_, other.count_);
    std::swap(head_, other.head_);
    std::swap(tail_, other.tail_);
  }

  int count_ = 0;
  Node* head_ = nullptr;
  Node* tail_ = nullptr;
};
