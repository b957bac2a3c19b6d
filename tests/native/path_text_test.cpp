#include <gtest/gtest.h>

#include "platform/path_text.h"

namespace {

struct SplitCase {
  const char* path;
  int separator;
  const char* directory;
  const char* fileName;
  int extension;
};

TEST(PathText, TakesPathsApart) {
  const SplitCase cases[] = {
      {"", -1, "", "", -1},
      {"name.txt", -1, "", "name.txt", 4},
      {"C:\\x", 2, "C:\\", "x", -1},
      {"C:x", 1, "C:", "x", -1},
      {"C:\\dir\\file.ext", 6, "C:\\dir", "file.ext", 11},
      {"C:\\dir.d\\file", 8, "C:\\dir.d", "file", -1},
      {"\\\\server\\share\\f", 14, "\\\\server\\share", "f", -1},
      {"C:\\dir\\", 6, "C:\\dir", "", -1},
      {"a\\b;c\\d", 1, "a", "d", -1},          // nothing after the semicolon is a separator
      {"\"a;b\"\\c;d\\e", 5, "\"a;b\"", "e", -1},  // a quoted semicolon does not count
      {"a/b", -1, "", "a/b", -1},               // the slash is no separator
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(SeparatorPos(c.path), c.separator);
    EXPECT_STREQ(DirectoryPart(c.path).CStr(), c.directory);
    EXPECT_STREQ(FileNamePart(c.path).CStr(), c.fileName);
    EXPECT_EQ(ExtensionPos(c.path), c.extension);
  }
}

TEST(PathText, JoinsWithOneSeparator) {
  const char* cases[][3] = {
      {"C:\\", "x", "C:\\x"},     {"C:", "x", "C:x"},       {"C:\\a\\", "\\b", "C:\\a\\b"},
      {"C:\\a", "b", "C:\\a\\b"}, {"", "b", "b"},           {"C:\\a", "", "C:\\a"},
      {"C:\\a", "\\b", "C:\\a\\b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c[0]) + " + " + c[1]);
    EXPECT_STREQ(JoinPath(c[0], c[1]).CStr(), c[2]);
  }
}

TEST(PathText, AddsAnExtensionOnlyWhenMissing) {
  const char* cases[][3] = {
      {"setup", "EXE", "setup.EXE"},   {"setup", ".exe", "setup.exe"},
      {"setup.bin", "EXE", "setup.bin"}, {"C:\\x.y\\setup", "EXE", "C:\\x.y\\setup.EXE"},
      {"  ", "EXE", "  "},             {"", "EXE", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    String path(c[0]);
    EXPECT_EQ(AddExtensionIfMissing(path, c[1]), std::string(c[0]) != c[2]);
    EXPECT_STREQ(path.CStr(), c[2]);
  }
}

TEST(PathText, DriveLetterIsUpperCasedOrZero) {
  EXPECT_EQ(DriveLetterOf("c:\\x"), 'C');
  EXPECT_EQ(DriveLetterOf("Z:"), 'Z');
  EXPECT_EQ(DriveLetterOf("\\\\server\\share"), 0);
  EXPECT_EQ(DriveLetterOf("1:\\"), 0);
  EXPECT_EQ(DriveLetterOf(""), 0);
}

}  // namespace
