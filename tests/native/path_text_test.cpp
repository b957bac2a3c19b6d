#include <gtest/gtest.h>

#include <string>

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

TEST(PathText, RemovesPartsInPlace) {
  struct Case {
    const char* path;
    const char* withoutDirectory;
    const char* withoutExtension;
    bool hadExtension;
    const char* withoutFileName;
    bool hadSeparator;
  };
  const Case cases[] = {
      {"C:\\dir\\file.ext", "file.ext", "C:\\dir\\file", true, "C:\\dir\\", true},
      {"C:\\dir.d\\file", "file", "C:\\dir.d\\file", false, "C:\\dir.d\\", true},
      {"C:file.txt", "file.txt", "C:file", true, "C:", true},
      {"C:\\", "", "C:\\", false, "C:\\", true},
      {"file.tar.gz", "file.tar.gz", "file.tar", true, "file.tar.gz", false},
      {".profile", ".profile", "", true, ".profile", false},
      {"", "", "", false, "", false},
      // The file name is after the last backslash even past a semicolon; the separator is not.
      {"a\\b;c\\d.e", "d.e", "a\\b;c\\d", true, "a\\", true},
      {"\\\\server\\share\\", "", "\\\\server\\share\\", false, "\\\\server\\share\\", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    String path(c.path);
    RemoveDirectoryPart(path);
    EXPECT_STREQ(path.CStr(), c.withoutDirectory);
    path = c.path;
    EXPECT_EQ(RemoveExtension(path), c.hadExtension);
    EXPECT_STREQ(path.CStr(), c.withoutExtension);
    path = c.path;
    EXPECT_EQ(RemoveFileName(path), c.hadSeparator);
    EXPECT_STREQ(path.CStr(), c.withoutFileName);
  }
}

TEST(PathText, RecognisesAbsolutePaths) {
  struct Case {
    const char* text;
    bool absolute;
  };
  const Case cases[] = {
      {"C:\\", true},         {"c:\\dir", true},       {"1:\\x", true},  // any first character
      {"\\\\server\\s", true}, {"\\\\", true},           {"   C:\\x", true},
      {"\\dir", false},       {"C:dir", false},         {"C:", false},     {"C", false},
      {"", false},             {"\tC:\\x", false},      {"dir\\x", false}, {":\\", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsAbsolutePath(c.text), c.absolute);
    EXPECT_EQ(IsAbsolutePath(String(c.text)), c.absolute);
  }
  EXPECT_FALSE(IsAbsolutePath(static_cast<const char*>(nullptr)));
}

TEST(PathText, MakesRelativePathsAbsoluteUnderBase) {
  struct Case {
    const char* path;
    const char* base;
    const char* result;
    bool changed;
  };
  const Case cases[] = {
      {"data", "C:\\Program Files", "C:\\Program Files\\data", true},
      {"data", "C:\\", "C:\\data", true},
      {"a\\b", "\\\\srv\\share", "\\\\srv\\share\\a\\b", true},
      {"  data\r\n", "C:\\Apps", "C:\\Apps\\data", true},
      {"data", "   C:\\Apps", "C:\\Apps\\data", true},  // base's leading blanks do not count
      {"\\data", "C:\\Program Files", "C:\\data", true},
      {"\\data", "\\\\srv\\share", "\\data", false},   // a UNC base has no drive to lend
      {"D:data", "C:\\Program Files", "D:\\Program Files\\data", true},
      {"D:data", "C:\\Apps\\", "D:\\Apps\\data", true},
      {"D:", "C:\\Apps", "D:\\Apps\\", true},
      {"D:\\data", "C:\\Apps", "D:\\data", false},
      {"\\\\srv\\x", "C:\\Apps", "\\\\srv\\x", false},
      {"data", "Apps", "data", false},           // the base must be absolute
      {"data", "C:Apps", "data", false},
      {" \t ", "C:\\Apps", "", false},            // trimmed to nothing
      {" data ", "relative", "data", false},     // trimmed even when nothing else happens
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " under " + c.base);
    String path(c.path);
    EXPECT_EQ(MakeAbsolute(path, c.base), c.changed);
    EXPECT_STREQ(path.CStr(), c.result);
  }
  String path("data");
  EXPECT_FALSE(MakeAbsolute(path, nullptr));
  EXPECT_STREQ(path.CStr(), "data");
}

TEST(PathText, ValidPathTextRefusesReservedCharacters) {
  struct Case {
    const char* path;
    int flags;
    bool valid;
  };
  const Case cases[] = {
      {"C:\\Program Files\\App", 0, true},
      {"\"C:\\Program Files\\App\"", 0, true},  // one pair of enclosing quotes is removed
      {"\"C:\\App", 0, false},                   // an unpaired quote is part of the text
      {"C:\\a\"b\"", 0, false},
      {"relative\\dir", 0, true},
      {"\\\\server\\share", 0, true},
      {"", 0, false},
      {"1:\\x", 0, false},                       // a colon in second place needs a letter
      {"C:\\a:b", 0, false},
      {"C:\\a;b", 0, false},
      {"C:/a", 0, false},
      {"C:\\a<b", 0, false},
      {"C:\\a>b", 0, false},
      {"C:\\a|b", 0, false},
      {"C:\\*.txt", 0, false},
      {"C:\\file?.txt", 0, false},
      {"C:\\*.txt", kPathAllowStar, true},
      {"C:\\file?.txt", kPathAllowStar, false},
      {"C:\\*.t?t", kPathAllowWildcards, true},
      {"C:\\*.t?t", kPathAllowWildcards | kPathAllowStar, true},
      {"C:\\*;x", kPathAllowWildcards, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " flags " + std::to_string(c.flags));
    EXPECT_EQ(IsValidPathText(c.path, c.flags), c.valid);
  }
}

TEST(PathText, SamePathIgnoresCaseAndTrailingBackslashes) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"C:\\Program Files", "c:\\PROGRAM FILES", true},
      {"C:\\App\\", "C:\\App", true},
      {"C:\\App\\\\", "C:\\App", true},
      {"C:\\", "C:", true},
      {"", "\\", true},
      {"C:\\App", "C:\\Apps", false},
      {"C:\\App", "D:\\App", false},
      {"C:\\\xc4pp", "C:\\\xe4pp", false},  // only ASCII letters fold
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(SamePath(c.a, c.b), c.same);
    EXPECT_EQ(SamePath(c.b, c.a), c.same);
  }
}

TEST(PathText, DriveTextAndRoot) {
  EXPECT_STREQ(DriveText('C').CStr(), "C:");
  EXPECT_STREQ(DriveText('d').CStr(), "d:");
  EXPECT_STREQ(DriveText(0).CStr(), "");
  EXPECT_STREQ(DriveText('1').CStr(), "");
  EXPECT_STREQ(DriveText('\\').CStr(), "");

  const char* roots[][2] = {
      {"C:\\Windows", "C:\\"}, {"c:Windows", "c:"},  {"C:", "C:"},     {"C:\\", "C:\\"},
      {"\\\\srv\\share", ""},  {"1:\\x", ""},        {"Windows", ""}, {"", ""},
  };
  for (const auto& r : roots) {
    SCOPED_TRACE(r[0]);
    EXPECT_STREQ(DriveRoot(r[0]).CStr(), r[1]);
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
