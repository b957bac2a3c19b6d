// Stack<T>: last in, first out, over a List: Push adds at the tail, Pop takes the tail.
// Popping an empty stack is a programming error and ends the process with "Stack<type>::pop".
#pragma once

#include "core/fatal.h"
#include "core/list.h"
#include "core/type_name.h"

template <class T>
class Stack : public List<T> {
 public:
  T* Push(const T& value) { return this->AddLast(value); }

  T Pop() {
    T* top = this->LastElement();
    if (top == nullptr) FatalErrorFormat("Stack<%s>::pop", TypeName<T>());
    T value = *top;
    this->RemoveLast();
    return value;
  }

  // The element Pop would return, or null when empty.
  T* Top() { return this->LastElement(); }
};
