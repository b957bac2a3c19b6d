#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/file.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::CanOpenExclusively;
using file_test::ReadBytes;
using file_test::ScratchDir;
using file_test::Str;
using file_test::SystemErrorText;
using file_test::WriteBytes;

constexpr char kDigits[] = "0123456789";

// Most behaviours must be the same whether the file is used through its handle or held in
// memory: each of these tests runs both ways.
class FileIoTest : public testing::TestWithParam<bool> {
 protected:
  bool InMemory() const { return GetParam(); }

  // Writes content to the test's file and opens it for reading and writing (others may read).
  void OpenWith(const std::string& content, uint32_t extraMode = 0) {
    file_.Close();
    ASSERT_TRUE(WriteBytes(path_, content));
    const uint32_t mode = OpenMode::kOpenExisting | OpenMode::kShareRead | extraMode |
                          (InMemory() ? OpenMode::kInMemory : 0);
    ASSERT_EQ(file_.Open(path_.c_str(), mode), FileOpenResult::kSuccess) << Str(file_.LastError());
  }

  std::string ReadString(int n) {
    std::string out(size_t(n), '\0');
    if (!file_.Read(&out[0], n)) return "<failed: " + Str(file_.LastError()) + ">";
    return out;
  }

  ScratchDir scratch_;
  const std::string path_ = scratch_ / "data.bin";
  File file_;
};

INSTANTIATE_TEST_SUITE_P(Modes, FileIoTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Memory" : "Handle");
                         });

TEST_P(FileIoTest, ReadsInSequenceAndKnowsWhereItIs) {
  OpenWith(kDigits);
  EXPECT_EQ(file_.Size(), 10);
  EXPECT_EQ(ReadString(4), "0123");
  EXPECT_EQ(file_.Tell(), 4);
  EXPECT_TRUE(file_.HasMore());
  EXPECT_FALSE(file_.AtEnd());
  ASSERT_TRUE(file_.SeekFromEnd(-2));
  EXPECT_EQ(ReadString(2), "89");
  EXPECT_TRUE(file_.AtEnd());
  EXPECT_FALSE(file_.HasMore());
  ASSERT_TRUE(file_.SeekFromStart(5));
  EXPECT_EQ(ReadString(1), "5");
  EXPECT_EQ(file_.Size(), 10);
  EXPECT_EQ(file_.Tell(), 6);  // Size keeps the position
}

TEST_P(FileIoTest, ReadPastTheEndFails) {
  OpenWith(kDigits);
  ASSERT_TRUE(file_.SeekFromEnd(-4));
  char out[11];
  std::memset(out, '#', sizeof out);
  EXPECT_FALSE(file_.Read(out, 10));
  EXPECT_EQ(Str(file_.LastError()), "Read past end of file");
  EXPECT_EQ(std::string(out, 4), "6789");
  EXPECT_EQ(out[10], '#');
  EXPECT_EQ(file_.Tell(), 10);
  EXPECT_TRUE(file_.AtEnd());
}

TEST_P(FileIoTest, BadBlocksAreRefusedWithTheirReason) {
  OpenWith(kDigits);
  ASSERT_TRUE(file_.SeekFromStart(3));
  char out[4] = {'#', '#', '#', '#'};
  EXPECT_FALSE(file_.Read(out, -1));
  EXPECT_EQ(Str(file_.LastError()), "Illegal block size -1");
  EXPECT_FALSE(file_.Read(out, -70000));
  EXPECT_EQ(Str(file_.LastError()), "Illegal block size -70000");
  EXPECT_FALSE(file_.Read(nullptr, 2));
  EXPECT_EQ(Str(file_.LastError()), "NULL block pointer");
  EXPECT_FALSE(file_.Write("x", -1));
  EXPECT_EQ(Str(file_.LastError()), "Illegal block size");
  EXPECT_TRUE(file_.Read(out, 0));
  EXPECT_TRUE(file_.Write("x", 0));
  EXPECT_EQ(std::string(out, 4), "####");
  EXPECT_EQ(file_.Tell(), 3);
  file_.Close();
  EXPECT_EQ(ReadBytes(path_), kDigits);
}

TEST_P(FileIoTest, WritesOverwriteThenExtendAndReachTheDisk) {
  OpenWith(kDigits);
  ASSERT_TRUE(file_.SeekFromStart(8));
  ASSERT_TRUE(file_.Write("ABCD", 4));
  EXPECT_EQ(file_.Tell(), 12);
  EXPECT_EQ(file_.Size(), 12);
  ASSERT_TRUE(file_.SeekFromStart(0));
  EXPECT_EQ(ReadString(12), "01234567ABCD");
  file_.Close();
  EXPECT_EQ(ReadBytes(path_), "01234567ABCD");
}

TEST_P(FileIoTest, SavedPositions) {
  OpenWith(kDigits);
  ASSERT_TRUE(file_.SeekFromStart(2));
  EXPECT_EQ(file_.PushPosition(), 2);
  ASSERT_TRUE(file_.PushAndSeek(7));
  EXPECT_EQ(file_.Tell(), 7);
  ASSERT_TRUE(file_.PushAndSeekEnd());
  EXPECT_EQ(file_.Tell(), 10);
  EXPECT_EQ(file_.PopPosition(), 7);
  EXPECT_EQ(file_.Tell(), 7);
  EXPECT_EQ(file_.PopPosition(), 2);
  EXPECT_EQ(file_.Tell(), 2);
  EXPECT_EQ(file_.PopPosition(), 2);
  ASSERT_TRUE(file_.SeekFromStart(5));
  EXPECT_EQ(file_.PopPosition(), int(0x80000000));
  EXPECT_EQ(file_.Tell(), 5);
}

TEST_P(FileIoTest, CloseForgetsSavedPositions) {
  OpenWith(kDigits);
  file_.PushPosition();
  OpenWith(kDigits);
  ASSERT_TRUE(file_.SeekFromStart(4));
  EXPECT_EQ(file_.PopPosition(), File::kNoSavedPosition);
  EXPECT_EQ(file_.Tell(), 4);
}

TEST_P(FileIoTest, ReadAtKeepsThePosition) {
  OpenWith(kDigits);
  ASSERT_TRUE(file_.SeekFromStart(1));
  char out[3] = {};
  ASSERT_TRUE(file_.ReadAt(6, out, 3));
  EXPECT_EQ(std::string(out, 3), "678");
  EXPECT_EQ(file_.Tell(), 1);
  EXPECT_FALSE(file_.ReadAt(8, out, 3));
  EXPECT_EQ(file_.Tell(), 1);
}

TEST_P(FileIoTest, ReadTail) {
  OpenWith(kDigits);
  struct Case {
    int n;
    const char* expected;  // null: fails
  };
  const Case cases[] = {{1, "9"}, {3, "789"}, {10, kDigits}, {11, nullptr}, {0, nullptr},
                        {-1, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    char out[16];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(file_.ReadTail(out, c.n), c.expected != nullptr);
    if (c.expected) {
      EXPECT_EQ(std::string(out, size_t(c.n)), c.expected);
    }
  }
}

TEST_P(FileIoTest, ReadRangeChecksTheRangeFirst) {
  OpenWith(kDigits);
  struct Case {
    int position;
    int n;
    const char* expected;  // null: fails
  };
  const Case cases[] = {
      {0, 10, kDigits}, {2, 3, "234"},   {9, 1, "9"},          {10, 0, ""},
      {4, 0, ""},       {9, 2, nullptr}, {11, 0, nullptr},     {-1, 1, nullptr},
      {0, -1, nullptr}, {5, 0x7FFFFFFF, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.position) + "+" + std::to_string(c.n));
    String out("sentinel");
    EXPECT_EQ(file_.ReadRange(out, c.position, c.n), c.expected != nullptr);
    EXPECT_EQ(Str(out), c.expected ? c.expected : "");
  }
}

TEST_P(FileIoTest, ReadAllFromAnywhere) {
  OpenWith(kDigits);
  ASSERT_TRUE(file_.SeekFromStart(7));
  String out("old");
  ASSERT_TRUE(file_.ReadAll(out));
  EXPECT_EQ(Str(out), kDigits);

  OpenWith("");
  out = "old";
  ASSERT_TRUE(file_.ReadAll(out));
  EXPECT_EQ(out.Length(), 0);
}

TEST_P(FileIoTest, ReadCStringStopsAtZeroBytesAndTheEnd) {
  OpenWith(std::string("abc\0\0def", 8));
  EXPECT_EQ(Str(file_.ReadCString()), "abc");
  EXPECT_EQ(Str(file_.ReadCString()), "");
  EXPECT_EQ(Str(file_.ReadCString()), "def");
  EXPECT_EQ(Str(file_.ReadCString()), "");
}

TEST_P(FileIoTest, ReplaceContentsCutsTheRest) {
  OpenWith(kDigits);
  ASSERT_TRUE(file_.SeekFromStart(6));
  ASSERT_TRUE(file_.ReplaceContents("xy"));
  EXPECT_EQ(file_.Size(), 2);
  EXPECT_EQ(file_.Tell(), 2);
  file_.Close();
  EXPECT_EQ(ReadBytes(path_), "xy");
}

TEST_P(FileIoTest, AppendTextKeepsThePosition) {
  OpenWith(kDigits);
  ASSERT_TRUE(file_.SeekFromStart(3));
  ASSERT_TRUE(file_.AppendText("END"));
  EXPECT_EQ(file_.Tell(), 3);
  EXPECT_EQ(file_.Size(), 13);
  ASSERT_TRUE(file_.SeekFromEnd(0));
  ASSERT_TRUE(file_.AppendText("!"));
  EXPECT_EQ(file_.Tell(), 14);
  file_.Close();
  EXPECT_EQ(ReadBytes(path_), "0123456789END!");
}

TEST_P(FileIoTest, EnsureEndsWithLineBreak) {
  struct Case {
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {"", ""},
      {"abc", "abc\r\n"},
      {"abc\r", "abc\r"},
      {"abc\n", "abc\n"},
      {"a\r\nb", "a\r\nb\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    OpenWith(c.before);
    ASSERT_TRUE(file_.SeekFromStart(0));
    EXPECT_TRUE(file_.EnsureEndsWithLineBreak());
    EXPECT_EQ(file_.Tell(), 0);
    file_.Close();
    EXPECT_EQ(ReadBytes(path_), c.after);
  }
}

TEST_P(FileIoTest, TruncateCutsAtThePosition) {
  OpenWith(kDigits);
  ASSERT_TRUE(file_.SeekFromStart(4));
  ASSERT_TRUE(file_.Truncate());
  EXPECT_EQ(file_.Size(), 4);
  EXPECT_TRUE(file_.AtEnd());
  file_.Close();
  EXPECT_EQ(ReadBytes(path_), "0123");
}

TEST_P(FileIoTest, AccessIsCheckedBeforeTransfer) {
  OpenWith(kDigits, OpenMode::kNoWrite);
  EXPECT_FALSE(file_.Write("x", 1));
  EXPECT_EQ(Str(file_.LastError()), "Write access denied");
  ASSERT_TRUE(file_.SeekFromStart(2));
  EXPECT_FALSE(file_.Truncate());
  EXPECT_EQ(Str(file_.LastError()), "Write access denied");
  EXPECT_EQ(ReadString(2), "23");
  EXPECT_FALSE(file_.ReplaceContents("x"));
  EXPECT_FALSE(file_.AppendText("x"));
  file_.Close();
  EXPECT_EQ(ReadBytes(path_), kDigits);
}

TEST(FileWithoutReadAccessTest, RefusesReadsButWrites) {
  ScratchDir scratch;
  const std::string path = scratch / "out.bin";
  ASSERT_TRUE(WriteBytes(path, kDigits));
  File file;
  ASSERT_EQ(file.Open(path.c_str(), OpenMode::kOpenExisting | OpenMode::kNoRead),
            FileOpenResult::kSuccess);
  char out[2] = {'#', '#'};
  EXPECT_FALSE(file.Read(out, 2));
  EXPECT_EQ(Str(file.LastError()), "Read access denied");
  EXPECT_EQ(out[0], '#');
  ASSERT_TRUE(file.Write("AB", 2));
  // The last byte cannot be read, so nothing is appended.
  EXPECT_TRUE(file.EnsureEndsWithLineBreak());
  file.Close();
  EXPECT_EQ(ReadBytes(path), "AB23456789");
}

TEST(ClosedFileTest, RefusesEverything) {
  File file;
  char out[2] = {'#', '#'};
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(file.Read(out, 2));
  EXPECT_EQ(Str(file.LastError()), "Read access denied");
  EXPECT_FALSE(file.Write("ab", 2));
  EXPECT_EQ(Str(file.LastError()), "Write access denied");
  EXPECT_EQ(file.Tell(), -1);
  EXPECT_EQ(file.Size(), -1);
  EXPECT_TRUE(file.AtEnd());
  EXPECT_FALSE(file.HasMore());
  EXPECT_FALSE(file.SeekFromStart(0));
  EXPECT_FALSE(file.SeekFromEnd(0));
  EXPECT_FALSE(file.ReadTail(out, 1));
  String text("sentinel");
  EXPECT_FALSE(file.ReadAll(text));
  EXPECT_EQ(text.Length(), 0);
  EXPECT_FALSE(file.Flush());
  EXPECT_FALSE(file.SetModifiedTime(FileStamp{2003, 7, 14, 9, 30, 15}));
  EXPECT_EQ(file.PopPosition(), File::kNoSavedPosition);
  EXPECT_EQ(out[0], '#');
}

TEST(FileLargeWriteTest, WritesBlocksLargerThanOnePiece) {
  ScratchDir scratch;
  const std::string path = scratch / "large.bin";
  std::string data(size_t(5 << 19) + 7, '\0');  // 2.5 MiB and a few bytes: three pieces
  for (size_t i = 0; i < data.size(); ++i) data[i] = char((i * 7 + i / 4096) & 0xFF);
  File file;
  ASSERT_EQ(file.Open(path.c_str(), OpenMode::kCreateOrTruncate), FileOpenResult::kSuccess);
  ASSERT_TRUE(file.Write(data.data(), int(data.size())));
  EXPECT_EQ(file.Size(), int(data.size()));
  String back;
  ASSERT_TRUE(file.ReadAll(back));
  EXPECT_TRUE(Str(back) == data);
  file.Close();
  EXPECT_TRUE(ReadBytes(path) == data);
}

// A pipe whose other end has gone makes the system refuse transfers for real.
TEST(FileSystemErrorTest, FailedTransfersCarryTheSystemText) {
  const char* name = "\\\\.\\pipe\\quorvex-file-test";
  HANDLE server = CreateNamedPipeA(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096,
                                   4096, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  File file;
  ASSERT_EQ(file.Open(name, OpenMode::kOpenExisting), FileOpenResult::kSuccess);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(server, "hello", 5, &written, nullptr));
  CloseHandle(server);

  char out[5] = {};
  ASSERT_TRUE(file.Read(out, 5));
  EXPECT_EQ(std::string(out, 5), "hello");

  EXPECT_FALSE(file.Read(out, 5));
  EXPECT_EQ(Str(file.LastError()), SystemErrorText(ERROR_BROKEN_PIPE));
  EXPECT_FALSE(file.LastError().IsEmpty());

  EXPECT_FALSE(file.Write("x", 1));
  EXPECT_EQ(Str(file.LastError()), SystemErrorText(ERROR_NO_DATA));
  EXPECT_FALSE(file.LastError().IsEmpty());
}

}  // namespace
