// Readable, stable names of element types for the fatal messages of the containers
// ("Vector<%s>[%d]...", "Stack<%s>::pop"): the keyword for a basic type ("int", "void *"),
// "class " and the name for a class ("class String", "class List<Bucket<int, int> >").
// The name is taken from the compiler's own spelling of the template argument.
#pragma once

#include <cstddef>
#include <type_traits>

namespace type_name_detail {

inline constexpr size_t kCapacity = 256;

// Writes the name of the type that `signature` (the signature of TypeName<T>) names as
// "[with T = ...]" (GCC) or "[T = ...]" (Clang), after `keyword`, into name (kCapacity bytes).
// A '*' that follows a name gets a space before it, so that "void*" reads "void *" whichever
// compiler spelled it.
void WriteName(char* name, const char* signature, const char* keyword);

template <class T>
constexpr const char* KeywordOf() {
  if constexpr (std::is_class_v<T>) return "class ";
  if constexpr (std::is_union_v<T>) return "union ";
  if constexpr (std::is_enum_v<T>) return "enum ";
  return "";
}

}  // namespace type_name_detail

// Built on first use (the engine has one thread); until then the name is all zeros, which
// takes no room in the image.
template <class T>
const char* TypeName() {
  static char name[type_name_detail::kCapacity];
  if (name[0] == '\0')
    type_name_detail::WriteName(name, __PRETTY_FUNCTION__, type_name_detail::KeywordOf<T>());
  return name;
}
