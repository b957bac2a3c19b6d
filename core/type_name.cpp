#include "core/type_name.h"

namespace type_name_detail {

namespace {

bool IsNameChar(char ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
         ch == '_' || ch == '>';
}

const char* After(const char* text, const char* needle) {
  for (; *text != '\0'; ++text) {
    size_t i = 0;
    while (needle[i] != '\0' && text[i] == needle[i]) ++i;
    if (needle[i] == '\0') return text + i;
  }
  return nullptr;
}

class NameWriter {
 public:
  explicit NameWriter(char* name) : name_(name) {}
  void Put(char ch) {
    if (length_ + 1 >= kCapacity) return;
    name_[length_++] = ch;
    name_[length_] = '\0';
  }
  void Put(const char* text) {
    for (; *text != '\0'; ++text) Put(*text);
  }
  bool EndsInNameChar() const { return length_ > 0 && IsNameChar(name_[length_ - 1]); }

 private:
  char* name_;
  size_t length_ = 0;
};

}  // namespace

void WriteName(char* name, const char* signature, const char* keyword) {
  NameWriter out(name);
  out.Put(keyword);
  const char* start = After(signature, "T = ");
  if (start == nullptr) {
    out.Put("?");
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
    if (*s == '*' && out.EndsInNameChar()) out.Put(' ');
    out.Put(*s);
  }
}

}  // namespace type_name_detail
