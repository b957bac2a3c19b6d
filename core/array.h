// Array<T>: the dynamic array, used above all as Array<String>, the text list (String::Split
// appends to one). It is a Vector in all but storage: the text list's slots point to Strings it
// allocates and owns one by one, so growing the list moves pointers, never texts. A bounds
// failure names the element type in the Vector message ("Vector<class String>[3]...").
#pragma once

#include "core/vector.h"

class String;

template <class T>
struct ArrayStorageOf {
  using type = typename VectorStorageOf<T>::type;
};
template <>
struct ArrayStorageOf<String> {
  using type = OwnedSlots<String>;
};

template <class T>
class Array : public VectorBase<T, typename ArrayStorageOf<T>::type> {
 public:
  Array() = default;
};
