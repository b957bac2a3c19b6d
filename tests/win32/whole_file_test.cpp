#include "platform/whole_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/system_paths.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::Exists;
using file_test::ReadBytes;
using file_test::ScratchDir;
using file_test::Str;
using file_test::WriteBytes;

class WholeFileTest : public testing::Test {
 protected:
  ScratchDir scratch_;
};

TEST_F(WholeFileTest, WriteWholeFileCreatesOrReplaces) {
  const std::string file = scratch_ / "out.bin";
  ASSERT_TRUE(WriteBytes(file, std::string(10000, 'o')));
  const char bytes[] = {'a', '\0', 'b', '\r', '\n'};
  EXPECT_TRUE(WriteWholeFile(file.c_str(), bytes, 5));  // counted: the NUL is data
  EXPECT_EQ(ReadBytes(file), std::string(bytes, 5));

  EXPECT_TRUE(WriteWholeFile(file.c_str(), "text\0tail"));  // kAll: up to the first NUL
  EXPECT_EQ(ReadBytes(file), "text");

  EXPECT_TRUE(WriteWholeFile(file.c_str(), String("from a String")));
  EXPECT_EQ(ReadBytes(file), "from a String");

  EXPECT_TRUE(WriteWholeFile((scratch_ / "empty.txt").c_str(), "", 0));
  EXPECT_TRUE(Exists(scratch_ / "empty.txt"));
  EXPECT_EQ(ReadBytes(scratch_ / "empty.txt"), "");
  EXPECT_TRUE(WriteWholeFile((scratch_ / "null.txt").c_str(), nullptr));
  EXPECT_EQ(ReadBytes(scratch_ / "null.txt"), "");
}

TEST_F(WholeFileTest, WriteWholeFileFailures) {
  // A file that another handle holds without sharing cannot be replaced.
  ASSERT_TRUE(WriteBytes(scratch_ / "held.txt", "keep"));
  HANDLE held = CreateFileA((scratch_ / "held.txt").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string paths[] = {"", scratch_ / "missing-dir\\out.txt", scratch_ / "held.txt",
                               scratch_.Path(), scratch_ / "bad|name.txt"};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(WriteWholeFile(path.c_str(), "data"));
  }
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(scratch_ / "held.txt"), "keep");
  EXPECT_FALSE(Exists(scratch_ / "missing-dir"));
}

TEST_F(WholeFileTest, FileMatchesBytesNeedsEveryByteAndTheExactLength) {
  // Over two and a half compare blocks, so that differences in later blocks count too.
  std::string content(10000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = char(i * 7);
  ASSERT_TRUE(WriteBytes(scratch_ / "data.bin", content));
  ASSERT_TRUE(WriteBytes(scratch_ / "empty.bin", ""));

  auto changedAt = [&](size_t pos) {
    std::string other = content;
    other[pos] = char(other[pos] + 1);
    return other;
  };
  struct Case {
    std::string name;
    std::string bytes;
    bool matches;
  };
  const Case cases[] = {
      {"data.bin", content, true},
      {"data.bin", changedAt(0), false},
      {"data.bin", changedAt(4095), false},
      {"data.bin", changedAt(4096), false},
      {"data.bin", changedAt(9999), false},
      {"data.bin", content.substr(0, 9999), false},
      {"data.bin", content + "x", false},
      {"data.bin", content.substr(0, 4096), false},
      {"empty.bin", "", true},
      {"empty.bin", "x", false},
      {"missing.bin", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + " with " + std::to_string(c.bytes.size()) + " bytes");
    EXPECT_EQ(FileMatchesBytes((scratch_ / c.name).c_str(), c.bytes.data(), int(c.bytes.size())),
              c.matches);
  }
  EXPECT_FALSE(FileMatchesBytes((scratch_ / "data.bin").c_str(), content.data(), -1));
}

TEST_F(WholeFileTest, AppendTextFileAddsAtTheEnd) {
  const std::string file = scratch_ / "log.txt";
  EXPECT_TRUE(AppendTextFile(file.c_str(), "one"));  // created
  EXPECT_TRUE(AppendTextFile(file.c_str(), "two", AppendFlags::kExistingOnly));
  EXPECT_EQ(ReadBytes(file), "onetwo");
  // With kEnsureLineBreak the text starts on a line of its own, whatever ended the last one.
  EXPECT_TRUE(AppendTextFile(file.c_str(), "three\n", AppendFlags::kEnsureLineBreak));
  EXPECT_TRUE(AppendTextFile(file.c_str(), "four", AppendFlags::kEnsureLineBreak));
  EXPECT_EQ(ReadBytes(file), "onetwo\r\nthree\nfour");
  // No text: the file is only opened (and, with kEnsureLineBreak, ended with a line break).
  EXPECT_TRUE(AppendTextFile(file.c_str(), nullptr, AppendFlags::kEnsureLineBreak));
  EXPECT_TRUE(AppendTextFile(file.c_str(), ""));
  EXPECT_EQ(ReadBytes(file), "onetwo\r\nthree\nfour\r\n");

  EXPECT_TRUE(AppendTextFile((scratch_ / "new.txt").c_str(), nullptr));
  EXPECT_EQ(ReadBytes(scratch_ / "new.txt"), "");
  EXPECT_TRUE(AppendTextFile((scratch_ / "new2.txt").c_str(), "x", AppendFlags::kEnsureLineBreak));
  EXPECT_EQ(ReadBytes(scratch_ / "new2.txt"), "x");  // an empty file needs no line break
}

TEST_F(WholeFileTest, AppendTextFileFailures) {
  struct Case {
    std::string path;
    uint32_t flags;
  };
  const Case cases[] = {
      {scratch_ / "missing.txt", AppendFlags::kExistingOnly},
      {scratch_ / "missing.txt", AppendFlags::kExistingOnly | AppendFlags::kEnsureLineBreak},
      {scratch_ / "no-dir\\log.txt", 0},
      {"", 0},
      {scratch_.Path(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " flags " + std::to_string(c.flags));
    EXPECT_FALSE(AppendTextFile(c.path.c_str(), "text", c.flags));
    EXPECT_FALSE(AppendTextFile(c.path.c_str(), nullptr, c.flags));
  }
  EXPECT_FALSE(Exists(scratch_ / "missing.txt"));
}

// A full disk: the file opens, every write fails. Wine maps its drive Z: to the host's root,
// where /dev/full is such a device.
TEST_F(WholeFileTest, AppendTextFileGivesUpWhenWritesKeepFailing) {
  const char* full = "Z:\\dev\\full";
  HANDLE probe = CreateFileA(full, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no full device on this system";
  DWORD written = 0;
  SetLastError(0);
  EXPECT_FALSE(WriteFile(probe, "x", 1, &written, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL));
  CloseHandle(probe);

  EXPECT_FALSE(AppendTextFile(full, "text", AppendFlags::kNoRetry | AppendFlags::kExistingOnly));
  EXPECT_FALSE(AppendTextFile(full, "text", AppendFlags::kExistingOnly));  // after 10 attempts
  EXPECT_FALSE(WriteWholeFile(full, "text"));
  // Nothing to write, nothing to fail.
  EXPECT_TRUE(AppendTextFile(full, "", AppendFlags::kExistingOnly));
}

TEST_F(WholeFileTest, TempFileNameMakesAFreshEmptyFile) {
  String first = TempFileName(scratch_.Path().c_str());
  String second = TempFileName(scratch_.Path().c_str());
  ASSERT_FALSE(first.IsEmpty());
  EXPECT_FALSE(first.Equals(second));
  for (const String& name : {first, second}) {
    SCOPED_TRACE(name.CStr());
    EXPECT_EQ(Str(name).rfind(scratch_ / "ZPX", 0), 0u);
    EXPECT_TRUE(Exists(Str(name)));
    EXPECT_EQ(ReadBytes(Str(name)), "");
  }

  String inTemp = TempFileName();
  ASSERT_FALSE(inTemp.IsEmpty());
  EXPECT_EQ(Str(inTemp).rfind(Str(TempDir()) + "\\ZPX", 0), 0u);
  EXPECT_TRUE(Exists(Str(inTemp)));
  DeleteFileA(inTemp.CStr());

  EXPECT_STREQ(TempFileName((scratch_ / "missing").c_str()).CStr(), "");
  EXPECT_STREQ(TempFileName((scratch_ / std::string(400, 'x')).c_str()).CStr(), "");
}

}  // namespace
