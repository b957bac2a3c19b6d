#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/file.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::CanOpenExclusively;
using file_test::ReadBytes;
using file_test::ScratchDir;
using file_test::Str;
using file_test::WriteBytes;

constexpr uint32_t kMemoryMode =
    OpenMode::kOpenExisting | OpenMode::kInMemory | OpenMode::kShareRead;

FILETIME LastWriteTime(const std::string& path) {
  FILETIME written = {0xDEADBEEF, 0xDEADBEEF};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
  }
  return written;
}

// Gives the file an old modification time, so that any rewrite shows.
void AgeFile(const std::string& path) {
  SYSTEMTIME old = {};
  old.wYear = 2001;
  old.wMonth = 2;
  old.wDay = 3;
  old.wHour = 4;
  FILETIME time;
  ASSERT_TRUE(SystemTimeToFileTime(&old, &time));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
  CloseHandle(file);
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

class FileMemoryModeTest : public testing::Test {
 protected:
  ScratchDir scratch_;
  const std::string path_ = scratch_ / "text.ini";
};

TEST_F(FileMemoryModeTest, WritesReachTheDiskOnlyOnClose) {
  ASSERT_TRUE(WriteBytes(path_, "0123456789"));
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), kMemoryMode), FileOpenResult::kSuccess);
  ASSERT_TRUE(file.Write("AB", 2));
  ASSERT_TRUE(file.SeekFromEnd(0));
  ASSERT_TRUE(file.Write("CD", 2));
  EXPECT_EQ(file.Size(), 12);
  EXPECT_EQ(ReadBytes(path_), "0123456789");
  file.Close();
  EXPECT_EQ(ReadBytes(path_), "AB23456789CD");
}

TEST_F(FileMemoryModeTest, ShorterContentsAreTruncatedOnClose) {
  ASSERT_TRUE(WriteBytes(path_, "[section]\r\nkey=a long old value\r\n"));
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), kMemoryMode), FileOpenResult::kSuccess);
  ASSERT_TRUE(file.ReplaceContents("[s]\r\n"));
  EXPECT_EQ(ReadBytes(path_), "[section]\r\nkey=a long old value\r\n");
  file.Close();
  EXPECT_EQ(ReadBytes(path_), "[s]\r\n");
}

TEST_F(FileMemoryModeTest, TruncateAloneIsWrittenBack) {
  ASSERT_TRUE(WriteBytes(path_, "0123456789"));
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), kMemoryMode), FileOpenResult::kSuccess);
  ASSERT_TRUE(file.SeekFromStart(3));
  ASSERT_TRUE(file.Truncate());
  file.Close();
  EXPECT_EQ(ReadBytes(path_), "012");
}

TEST_F(FileMemoryModeTest, UnchangedFileIsNotRewritten) {
  ASSERT_TRUE(WriteBytes(path_, "0123456789"));
  AgeFile(path_);
  const FILETIME before = LastWriteTime(path_);
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), kMemoryMode), FileOpenResult::kSuccess);
  String all;
  ASSERT_TRUE(file.ReadAll(all));
  EXPECT_EQ(Str(all), "0123456789");
  ASSERT_TRUE(file.SeekFromStart(4));
  EXPECT_TRUE(file.Write("", 0));
  file.Close();
  EXPECT_TRUE(SameTime(LastWriteTime(path_), before));
  EXPECT_EQ(ReadBytes(path_), "0123456789");
}

// Truncate at the end cuts nothing: the file is neither rewritten nor given a new time.
TEST_F(FileMemoryModeTest, TruncateAtTheEndLeavesTheFileUntouched) {
  ASSERT_TRUE(WriteBytes(path_, "0123456789"));
  AgeFile(path_);
  const FILETIME before = LastWriteTime(path_);
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), kMemoryMode), FileOpenResult::kSuccess);
  ASSERT_TRUE(file.SeekFromEnd(0));
  EXPECT_TRUE(file.Truncate());
  file.Close();
  EXPECT_TRUE(SameTime(LastWriteTime(path_), before));
  EXPECT_EQ(ReadBytes(path_), "0123456789");
}

// A read past the end fails and leaves the position at the end of the contents, as a short
// read through the handle does: what is written next follows the contents without a gap.
TEST_F(FileMemoryModeTest, AFailedReadLeavesThePositionAtTheEnd) {
  ASSERT_TRUE(WriteBytes(path_, "0123456789"));
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), kMemoryMode), FileOpenResult::kSuccess);
  ASSERT_TRUE(file.SeekFromStart(6));
  char out[10];
  EXPECT_FALSE(file.Read(out, 10));
  EXPECT_EQ(Str(file.LastError()), "Read past end of file");
  EXPECT_EQ(file.Tell(), 10);
  EXPECT_TRUE(file.AtEnd());
  EXPECT_TRUE(file.Write("ab", 2));
  EXPECT_EQ(file.Size(), 12);
  file.Close();
  EXPECT_EQ(ReadBytes(path_), "0123456789ab");
}

TEST_F(FileMemoryModeTest, PositionsStayWithinTheContents) {
  ASSERT_TRUE(WriteBytes(path_, "0123456789"));
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), kMemoryMode), FileOpenResult::kSuccess);
  ASSERT_TRUE(file.SeekFromStart(4));
  EXPECT_FALSE(file.SeekFromStart(11));
  EXPECT_FALSE(file.SeekFromStart(-1));
  EXPECT_FALSE(file.SeekFromEnd(1));
  EXPECT_FALSE(file.SeekFromEnd(-11));
  EXPECT_EQ(file.Tell(), 4);
  EXPECT_TRUE(file.SeekFromStart(10));
  EXPECT_TRUE(file.SeekFromEnd(-10));
  EXPECT_EQ(file.Tell(), 0);
}

TEST_F(FileMemoryModeTest, AppendModeStartsAtTheEndOfTheCache) {
  ASSERT_TRUE(WriteBytes(path_, "line\r\n"));
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), kMemoryMode | OpenMode::kAppend), FileOpenResult::kSuccess);
  EXPECT_EQ(file.Tell(), 6);
  ASSERT_TRUE(file.Write("more\r\n", 6));
  file.Close();
  EXPECT_EQ(ReadBytes(path_), "line\r\nmore\r\n");
}

TEST_F(FileMemoryModeTest, EmptyFileLoadsAndCanBeFilled) {
  ASSERT_TRUE(WriteBytes(path_, ""));
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), kMemoryMode), FileOpenResult::kSuccess);
  EXPECT_EQ(file.Size(), 0);
  EXPECT_TRUE(file.AtEnd());
  ASSERT_TRUE(file.Write("new", 3));
  file.Close();
  EXPECT_EQ(ReadBytes(path_), "new");
}

TEST_F(FileMemoryModeTest, FailedLoadClosesTheFile) {
  ASSERT_TRUE(WriteBytes(path_, "0123456789"));
  File file;
  // Without read access the contents cannot be loaded.
  EXPECT_EQ(file.Open(path_.c_str(), kMemoryMode | OpenMode::kNoRead), FileOpenResult::kLoadFailed);
  EXPECT_EQ(Str(file.LastError()), "Failed to read the file into memory.");
  EXPECT_FALSE(file.IsOpen());
  EXPECT_TRUE(CanOpenExclusively(path_));
  EXPECT_EQ(ReadBytes(path_), "0123456789");
}

TEST_F(FileMemoryModeTest, ReopeningWithoutMemoryModeUsesTheHandle) {
  ASSERT_TRUE(WriteBytes(path_, "0123456789"));
  File file;
  ASSERT_EQ(file.Open(path_.c_str(), kMemoryMode), FileOpenResult::kSuccess);
  ASSERT_TRUE(file.Write("M", 1));
  ASSERT_EQ(file.Open(path_.c_str(), OpenMode::kOpenExisting | OpenMode::kShareRead),
            FileOpenResult::kSuccess);
  EXPECT_EQ(ReadBytes(path_), "M123456789");  // the first Open's Close wrote the cache back
  ASSERT_TRUE(file.Write("H", 1));
  EXPECT_EQ(ReadBytes(path_), "H123456789");  // written through at once
}

}  // namespace
