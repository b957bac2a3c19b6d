// String: formatting with printf conventions.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "core/string.h"
#include "string_test_support.h"

using string_test::Bytes;
using string_test::ExpectValid;

namespace {

TEST(StringFormat, ReplacesTheContents) {
  String s("old");
  s.Format("%s-%d-%u-%.1f-%08X-%c", "a", -5, 7u, 3.14159, 0xBEEFu, 'z');
  EXPECT_EQ(Bytes(s), "a--5-7-3.1-0000BEEF-z");
  s.Format("%s", "");
  EXPECT_EQ(Bytes(s), "");
  ExpectValid(s);
}

TEST(StringFormat, AppendFormatAppends) {
  String s("x=");
  s.AppendFormat("%d", 42).AppendFormat(", %s", "y");
  EXPECT_EQ(Bytes(s), "x=42, y");
}

TEST(StringFormat, FormattedBuildsANewString) {
  EXPECT_EQ(Bytes(String::Formatted("%s%%", "100")), "100%");
  EXPECT_EQ(Bytes(String::Formatted("%5s|%-3d|", "ab", 1)), "   ab|1  |");
}

TEST(StringFormat, ArgumentsMayBeTheStringItself) {
  String s("name");
  s.Format("[%s]", s.CStr());
  EXPECT_EQ(Bytes(s), "[name]");
  s.AppendFormat("%s", s.CStr());
  EXPECT_EQ(Bytes(s), "[name][name]");
}

TEST(StringFormat, LongTextsComeOutWhole) {
  // Beyond any small internal buffer, and exactly the size of the work buffer.
  for (int length : {511, 512, 513, 4000, 65535, 65536}) {
    SCOPED_TRACE(length);
    std::string text(size_t(length), 'x');
    text[size_t(length) - 1] = '!';
    String s;
    s.Format("%s", text.c_str());
    EXPECT_EQ(Bytes(s), text);
    s.AppendFormat("<%s>", "e");
    EXPECT_EQ(s.Length(), length + 3);
  }
}

String Describe(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
String Describe(const char* fmt, ...) {
  String s("> ");
  va_list args;
  va_start(args, fmt);
  s.AppendFormatV(fmt, args);
  va_end(args);
  return s;
}

TEST(StringFormat, ArgumentListForms) {
  EXPECT_EQ(Bytes(Describe("%d files in %s", 3, "C:\\")), "> 3 files in C:\\");
}

}  // namespace
