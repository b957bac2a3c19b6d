// Readable, stable names of element types for the fatal messages of the containers
// ("Vector<%s>[%d]...", "Stack<%s>::pop"): the keyword for a basic type ("int", "void *"),
// "class " and the name for a class ("class String", "class List<Bucket<int, int> >").
// The name is taken from the compiler's own spelling of the template argument.
#pragma once

#include <cstddef>
#include <type_traits>

namespace type_name_detail {

inline constexpr size_t kCapacity = 256;

inline bool IsNameChar(char ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
         ch == '_' || ch == '>';
}

// One type's name, built once from the signature of TypeName<T>, which names T as
// "[with T = ...]" (GCC) or "[T = ...]" (Clang). A '*' that follows a name gets a space
// before it, so that "void*" reads "void *" whichever compiler spelled it.
struct Text {
  char chars[kCapacity] = {};

  Text(const char* signature, const char* keyword) {
    size_t length = 0;
    for (const char* k = keyword; *k != '\0'; ++k) Put(length, *k);
    const char* start = Find(signature, "T = ");
    if (start == nullptr) {
      for (const char* s = "?"; *s != '\0'; ++s) Put(length, *s);
      return;
    }
    int depth = 0;
    for (const char* s = start; *s != '\0'; ++s) {
      if (*s == '<' || *s == '(' || *s == '[') ++depth;
      if (*s == '>' || *s == ')' || *s == ']') {
        if (depth == 0) break;  // the ']' that closes the signature's argument list
        --depth;
      }
      if (*s == ';' && depth == 0) break;  // GCC's "; U = ..." after the argument
      if (*s == '*' && length > 0 && IsNameChar(chars[length - 1])) Put(length, ' ');
      Put(length, *s);
    }
  }

  void Put(size_t& length, char ch) {
    if (length + 1 < kCapacity) chars[length++] = ch;
  }

  static const char* Find(const char* text, const char* needle) {
    for (; *text != '\0'; ++text) {
      size_t i = 0;
      while (needle[i] != '\0' && text[i] == needle[i]) ++i;
      if (needle[i] == '\0') return text + i;
    }
    return nullptr;
  }
};

template <class T>
constexpr const char* KeywordOf() {
  if constexpr (std::is_class_v<T>) return "class ";
  if constexpr (std::is_union_v<T>) return "union ";
  if constexpr (std::is_enum_v<T>) return "enum ";
  return "";
}

}  // namespace type_name_detail

template <class T>
const char* TypeName() {
  static const type_name_detail::Text name(__PRETTY_FUNCTION__, type_name_detail::KeywordOf<T>());
  return name.chars;
}
