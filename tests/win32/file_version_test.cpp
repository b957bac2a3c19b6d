// Versions and dates of installed files, read from real files: libraries built with their own
// version resources (tests/fixtures) and files whose times the test sets.
#include "install/file_version.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win32/file_test_support.h"

namespace {

using file_test::BesideTests;
using file_test::ScratchDir;
using file_test::SetLastWrite;
using file_test::WriteBytes;

TEST(FileVersionTest, TheLatin1TablesVersionIsUpperCasedWithEachPartPadded) {
  ScratchDir scratch;
  ASSERT_TRUE(WriteBytes(scratch / "plain.txt", "no resource here"));
  struct Case {
    std::string path;
    const char* expected;
  };
  const Case cases[] = {
      {BesideTests("quorvex_com_server.dll"), "0000000004.0000000010.000001998B"},  // "4.10.1998b"
      {BesideTests("quorvex_plain_library.dll"), "12345678901.0000000002"},  // 11 digits stay
      {BesideTests("quorvex_unicode_table_library.dll"), ""},                // only 040904B0
      {scratch / "plain.txt", ""},
      {scratch / "missing.dll", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_STREQ(FileVersionText(String(c.path.c_str())).CStr(), c.expected);
  }
}

TEST(FileVersionTest, AnEntryIsNewerOnlyThanAnEarlierOrUnreadableInstalledFile) {
  ScratchDir scratch;
  const std::string target = scratch / "installed.dat";
  ASSERT_TRUE(WriteBytes(target, "old"));
  const FileStamp installed = {2003, 3, 5, 14, 7, 9};
  ASSERT_TRUE(SetLastWrite(target, installed));
  struct Case {
    FileStamp entry;
    const char* path;
    bool newer;
  };
  const Case cases[] = {
      {{0, 0, 0, 0, 0, 0}, "installed.dat", true},  // no stamp: always newer
      {{2003, 3, 5, 14, 7, 10}, "installed.dat", true},
      {{2004, 1, 1, 0, 0, 0}, "installed.dat", true},
      {{2003, 3, 5, 14, 7, 9}, "installed.dat", false},  // same
      {{2003, 3, 5, 14, 7, 8}, "installed.dat", false},
      {{2002, 12, 31, 23, 59, 59}, "installed.dat", false},
      {{1990, 1, 1, 0, 0, 0}, "missing.dat", true},  // nothing to read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " " + std::to_string(c.entry.year) + "-" +
                 std::to_string(c.entry.month) + " " + std::to_string(c.entry.second));
    EXPECT_EQ(IsNewerThanInstalled(String((scratch / c.path).c_str()), c.entry), c.newer);
  }
  FileStamp read = {};
  ASSERT_TRUE(InstalledStamp(String(target.c_str()), read));
  EXPECT_EQ(FileStamp::Compare(read, installed), 0);
}

}  // namespace
