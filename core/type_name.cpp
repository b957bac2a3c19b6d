#include "core/type_name.h"

namespace type_name_detail {

namespace {

bool IsNameChar(char ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
         ch == '_' || ch == '>';
}

// The length of prefix when text starts with it, else 0.
size_t PrefixLength(const char* text, const char* prefix) {
  size_t i = 0;
  while (prefix[i] != '\0' && text[i] == prefix[i]) ++i;
  return prefix[i] == '\0' ? i : 0;
}

const char* After(const char* text, const char* needle) {
  for (; *text != '\0'; ++text) {
    if (size_t n = PrefixLength(text, needle); n > 0) return text + n;
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
  bool EndsIn(char ch) const { return length_ > 0 && name_[length_ - 1] == ch; }

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
    // Clang's spellings made GCC's: "{anonymous}" here and "> >" below.
    if (size_t n = PrefixLength(s, "(anonymous namespace)"); n > 0) {
      out.Put("{anonymous}");
      s += n - 1;
      continue;
    }
    if (*s == '<' || *s == '(' || *s == '[') ++depth;
    if (*s == '>' || *s == ')' || *s == ']') {
      if (depth == 0) break;  // the ']' that closes the signature's argument list
      --depth;
    }
    if (*s == ';' && depth == 0) break;  // GCC's "; U = ..." after the argument
    if (*s == '>' && out.EndsIn('>')) out.Put(' ');
    if (*s == '*' && out.EndsInNameChar()) out.Put(' ');
    out.Put(*s);
  }
}

}  // namespace type_name_detail
