#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/file.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::ScratchDir;
using file_test::WriteBytes;

struct Times {
  FILETIME lastWrite = {0xDEADBEEF, 0xDEADBEEF};
};

Times ReadTimes(const std::string& path) {
  Times times;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    GetFileTime(file, nullptr, nullptr, &times.lastWrite);
    CloseHandle(file);
  }
  return times;
}

// The last-write time as local calendar fields, the way a user sees it.
FileStamp LocalStamp(const FILETIME& utc) {
  FileStamp stamp = {-1, -1, -1, -1, -1, -1};
  FILETIME local;
  SYSTEMTIME fields;
  if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &fields)) {
    stamp = {fields.wYear, fields.wMonth, fields.wDay, fields.wHour, fields.wMinute,
             fields.wSecond};
  }
  return stamp;
}

std::string Text(const FileStamp& s) {
  char text[64];
  wsprintfA(text, "%d-%d-%d %d:%d:%d", s.year, s.month, s.day, s.hour, s.minute, s.second);
  return text;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

class FileTimeTest : public testing::Test {
 protected:
  ScratchDir scratch_;
  const std::string path_ = scratch_ / "stamped.dat";
};

TEST_F(FileTimeTest, SetsTheLastWriteTimeInLocalTime) {
  const FileStamp stamps[] = {
      {2003, 7, 14, 9, 30, 15},
      {1999, 12, 31, 23, 59, 59},
      {1980, 1, 1, 0, 0, 0},
      {2000, 2, 29, 12, 0, 1},
  };
  for (const FileStamp& stamp : stamps) {
    SCOPED_TRACE(Text(stamp));
    ASSERT_TRUE(WriteBytes(path_, "content"));
    {
      File file;
      ASSERT_EQ(file.Open(path_.c_str(), OpenMode::kOpenExisting), FileOpenResult::kSuccess);
      ASSERT_TRUE(file.Write("new", 3));  // a later write must not undo the stamp
      EXPECT_TRUE(file.SetModifiedTime(stamp));
    }
    EXPECT_EQ(Text(LocalStamp(ReadTimes(path_).lastWrite)), Text(stamp));
  }
}

TEST_F(FileTimeTest, StampSurvivesTheWriteBackOfAMemoryModeFile) {
  ASSERT_TRUE(WriteBytes(path_, "content"));
  const FileStamp stamp = {2001, 5, 6, 7, 8, 10};
  {
    File file;
    ASSERT_EQ(file.Open(path_.c_str(), OpenMode::kOpenExisting | OpenMode::kInMemory),
              FileOpenResult::kSuccess);
    ASSERT_TRUE(file.Write("edited", 6));
    EXPECT_TRUE(file.SetModifiedTime(stamp));
  }
  EXPECT_EQ(Text(LocalStamp(ReadTimes(path_).lastWrite)), Text(stamp));
  EXPECT_EQ(file_test::ReadBytes(path_), "editedt");
}

TEST_F(FileTimeTest, InvalidStampsChangeNothing) {
  ASSERT_TRUE(WriteBytes(path_, "content"));
  const FileStamp stamps[] = {
      {2003, 13, 1, 0, 0, 0},
      {2003, 0, 1, 0, 0, 0},  // month 0 means "no stamp"
      {2003, 2, 30, 0, 0, 0},
      {2003, 1, 1, 24, 0, 0},
      {2003, 1, 1, 0, 60, 0},
      // Fields beyond 16 bits must not wrap round to valid ones.
      {2003, 65537, 1, 0, 0, 0},
      {2003 + 65536, 1, 1, 0, 0, 0},
      {2003, 1, 65537, 0, 0, 0},
      {2003, 1, 1, 65536 + 8, 0, 0},
      {2003, 1, 1, 0, 65536 + 5, 0},
      {2003, 1, 1, 0, 0, 65536 + 5},
      {2003, -65535, 1, 0, 0, 0},
  };
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), OpenMode::kOpenExisting), FileOpenResult::kSuccess);
  ASSERT_TRUE(file.SetModifiedTime({2002, 6, 1, 8, 0, 0}));
  const Times before = ReadTimes(path_);
  for (const FileStamp& stamp : stamps) {
    SCOPED_TRACE(Text(stamp));
    EXPECT_FALSE(file.SetModifiedTime(stamp));
    EXPECT_TRUE(SameTime(ReadTimes(path_).lastWrite, before.lastWrite));
  }
}

}  // namespace
