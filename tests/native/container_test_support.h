// Helpers shared by the container tests: one way to make and read elements of every element
// type under test, and the contents of a collection as plain numbers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/collection.h"
#include "core/string.h"

namespace container_test {

// A structured element; its default value (-1) differs from every value the tests store.
struct Item {
  int n = -1;
};

template <class T>
T Make(int i);
template <>
inline int Make<int>(int i) {
  return i;
}
template <>
inline void* Make<void*>(int i) {
  return reinterpret_cast<void*>(static_cast<intptr_t>(i));
}
template <>
inline Item Make<Item>(int i) {
  return Item{i};
}
template <>
inline String Make<String>(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", i);
  return String(text);
}

inline int Read(int v) { return v; }
inline int Read(void* v) { return static_cast<int>(reinterpret_cast<intptr_t>(v)); }
inline int Read(const Item& v) { return v.n; }
inline int Read(const String& v) { return v.IsEmpty() ? -1 : std::atoi(v.CStr()); }

// What a default element reads as.
template <class T>
int DefaultValue() {
  return Read(T());
}

template <class C>
using ElementOf = std::remove_pointer_t<decltype(std::declval<C&>().FirstElement())>;

// Forward and backward walks, as numbers.
template <class T>
std::vector<int> Contents(const Collection<T>& c) {
  std::vector<int> out;
  Cursor cursor;
  for (const T* p = c.First(cursor); p != nullptr; p = c.Next(cursor)) out.push_back(Read(*p));
  return out;
}
template <class T>
std::vector<int> BackwardContents(const Collection<T>& c) {
  std::vector<int> out;
  Cursor cursor;
  for (const T* p = c.Last(cursor); p != nullptr; p = c.Prev(cursor)) out.push_back(Read(*p));
  return out;
}

template <class T>
void Fill(Collection<T>& c, std::initializer_list<int> values) {
  for (int v : values) c.AddLast(Make<T>(v));
}

inline std::vector<int> Range(int first, int last) {
  std::vector<int> out;
  for (int i = first; i <= last; ++i) out.push_back(i);
  return out;
}

}  // namespace container_test
