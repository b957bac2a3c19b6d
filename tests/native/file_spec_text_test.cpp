// The text side of file specifications: line directories, completion bases, the " /s"
// suffix, the diagnostic wording and the case-blind duplicate test.
#include <gtest/gtest.h>

#include "config/file_spec_text.h"

namespace {

TEST(FileSpecText, LineDirectoryIsThatOfTheFirstPattern) {
  const char* cases[][2] = {
      {"C:\\Temp\\*.tmp;*.bak", "C:\\Temp"},
      {"C:\\Temp\\*.tmp;D:\\Other\\*.bak", "C:\\Temp"},  // only the first pattern counts
      {"C:\\*.tmp", "C:\\"},                             // a root keeps its backslash
      {"C:*.tmp", "C:"},
      {"sub\\dir\\*.log", "sub\\dir"},
      {"\\\\server\\share\\*.x", "\\\\server\\share"},
      {"\\*.x", ""},  // separator at the start
      {":*.x", ""},
      {"*.log;sub\\*.txt", ""},  // the second pattern's is not used
      {"*.tmp;D:*.bak", ""},     // nor is its drive letter
      {"*.log", ""},
      {"", ""},
      {"\"a;b\\c\"\\*.x;d", "\"a;b\\c\""},  // a quoted semicolon does not end it
      {"C:\\Temp\\*.tmp /s", "C:\\Temp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    EXPECT_STREQ(FileSpecLineDirectory(c[0]).CStr(), c[1]);
  }
}

TEST(FileSpecText, LineBaseCompletesTheLineDirectoryFromTheDefault) {
  const struct {
    const char* line;
    const char* defaultDir;
    const char* base;
  } cases[] = {
      {"*.log", "D:\\App", "D:\\App"},
      {"*.log", nullptr, ""},
      {"*.log", "", ""},
      {"*.log", "relative", "relative"},
      {"sub\\*.log", "D:\\App", "D:\\App\\sub"},
      {"sub\\*.log", nullptr, "sub"},
      {"sub\\*.log", "relative", "sub"},  // a base that is not absolute completes nothing
      {"C:\\Temp\\*.tmp;*.bak", "D:\\App", "C:\\Temp"},
      {"\\*.tmp", "D:\\App", "D:\\App"},  // separator at the start: no line directory
      {"\\Temp\\*.tmp", "D:\\App", "D:\\Temp"},  // takes the default's drive
      {"E:sub\\*.tmp", "D:\\App", "E:\\App\\sub"},
      {"\\\\srv\\share\\*.x", "D:\\App", "\\\\srv\\share"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_STREQ(FileSpecLineBase(c.line, c.defaultDir).CStr(), c.base);
  }
}

TEST(FileSpecText, RemovesTheSubdirectorySuffixInAnyCase) {
  const struct {
    const char* pattern;
    bool removed;
    const char* rest;
  } cases[] = {
      {"C:\\x\\*.txt /s", true, "C:\\x\\*.txt"},
      {"C:\\x\\*.txt /S", true, "C:\\x\\*.txt"},
      {" /s", true, ""},
      {"C:\\x\\*.txt/s", false, "C:\\x\\*.txt/s"},
      {"C:\\x\\*.txt /s ", false, "C:\\x\\*.txt /s "},
      {"C:\\x /sub\\*.txt", false, "C:\\x /sub\\*.txt"},
      {"/s", false, "/s"},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    String pattern(c.pattern);
    EXPECT_EQ(RemoveSubdirectorySuffix(pattern), c.removed);
    EXPECT_STREQ(pattern.CStr(), c.rest);
  }
}

TEST(FileSpecText, DiagnosticsNameThePatternAndOptionallyTheLine) {
  String errors("earlier\r\n");
  AppendPatternDiagnostic(errors, "C:\\x\\*.y", 3, true, "did not match any files.\r\n");
  AppendPatternDiagnostic(errors, "*.log", 12, false, "is not an absolute path.\r\n");
  EXPECT_STREQ(errors.CStr(),
               "earlier\r\n"
               "The file specification \"C:\\x\\*.y\" on line 3 did not match any files.\r\n"
               "The file specification \"*.log\" is not an absolute path.\r\n");
}

TEST(FileSpecText, FindsAPathIgnoringCaseOnly) {
  Array<String> paths;
  paths.Append(String("C:\\Dir\\File.TXT"));
  paths.Append(String("C:\\Dir\\other"));
  const struct {
    const char* path;
    bool found;
  } cases[] = {
      {"C:\\Dir\\File.TXT", true}, {"c:\\dir\\file.txt", true}, {"C:\\DIR\\OTHER", true},
      {"C:\\Dir\\File.TX", false}, {"C:\\Dir\\File.TXTs", false}, {"C:\\Dir\\File.TXT\\", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ContainsPathIgnoringCase(paths, c.path), c.found);
  }
  EXPECT_FALSE(ContainsPathIgnoringCase(Array<String>(), "C:\\Dir\\other"));
}

}  // namespace
