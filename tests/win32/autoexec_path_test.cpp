// The PATH line in autoexec.bat, edited in start-up files of the test's own: a scratch folder
// for the file-level operation, and a scratch drive named as the boot drive for the public one,
// so that the prefix's own C:\autoexec.bat is never written.
#include "install/autoexec_path.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "config/settings.h"
#include "tests/win32/file_test_support.h"
#include "tests/win32/registry_override_test_support.h"
#include "tests/win32/scratch_drive_test_support.h"

namespace {

using file_test::Exists;
using file_test::ReadBytes;
using file_test::ScratchDir;
using file_test::Str;
using file_test::WriteBytes;

constexpr char kSetup[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";

std::string ApiShortPath(const std::string& path) {
  char buffer[MAX_PATH] = {};
  DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// A far-past last-write time, so that any write to the file shows.
void MakeOld(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME old = {0x12345678, 0x01B00000};
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &old));
  CloseHandle(file);
}

bool IsOld(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  return data.ftLastWriteTime.dwLowDateTime == 0x12345678 &&
         data.ftLastWriteTime.dwHighDateTime == 0x01B00000;
}

class AutoexecPath : public testing::Test {
 protected:
  void SetUp() override {
    savedInstallDir_ = InstallDir;
    installDir_ = scratch_ / "Long Install Directory";
    ASSERT_TRUE(CreateDirectoryA(installDir_.c_str(), nullptr));
    InstallDir = installDir_.c_str();
    shortDir_ = ApiShortPath(installDir_);
    ASSERT_FALSE(shortDir_.empty());
    ASSERT_NE(shortDir_, installDir_);  // the line must show which form it took
    line_ = "PATH=%PATH%;" + shortDir_ + "\r\n";
    file_ = scratch_ / "autoexec.bat";
  }
  void TearDown() override { InstallDir = savedInstallDir_; }

  std::string Edit(bool add) { return Str(EditPathLineInFile(String(file_.c_str()), add)); }

  ScratchDir scratch_;
  std::string installDir_;
  std::string shortDir_;
  std::string line_;
  std::string file_;

 private:
  String savedInstallDir_;
};

TEST_F(AutoexecPath, TheLineHoldsTheShortFormOfTheDirectory) {
  EXPECT_EQ(Str(PathLineFor(String(installDir_.c_str()))), line_);
  // A directory that does not exist cannot be shortened: its long form.
  const std::string missing = scratch_ / "Missing Long Directory";
  EXPECT_EQ(Str(PathLineFor(String(missing.c_str()))), "PATH=%PATH%;" + missing + "\r\n");
}

TEST_F(AutoexecPath, AddingAppendsTheLineOnce) {
  const struct {
    std::string before;
    std::string after;
  } cases[] = {
      {"REM boot\r\n", "REM boot\r\n" + line_},
      {"REM boot\n", "REM boot\n" + line_},
      {"REM boot", "REM boot\r\n" + line_},
      {"REM boot\r", "REM boot\r\r\n" + line_},
      {"", "\r\n" + line_},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.before));
    ASSERT_TRUE(WriteBytes(file_, c.before));
    EXPECT_EQ(Edit(true), "");
    EXPECT_EQ(ReadBytes(file_), c.after);
    MakeOld(file_);
    EXPECT_EQ(Edit(true), "");
    EXPECT_EQ(ReadBytes(file_), c.after);
    EXPECT_TRUE(IsOld(file_)) << "the second add wrote to the file";
  }
}

TEST_F(AutoexecPath, AddingFindsTheLineInAnyLetterCase) {
  std::string lower = line_;
  for (char& ch : lower) {
    if (ch >= 'A' && ch <= 'Z') ch = char(ch + ('a' - 'A'));
  }
  ASSERT_NE(lower, line_);
  const std::string before = "@echo off\r\n" + lower + "REM end\r\n";
  ASSERT_TRUE(WriteBytes(file_, before));
  MakeOld(file_);
  EXPECT_EQ(Edit(true), "");
  EXPECT_EQ(ReadBytes(file_), before);
  EXPECT_TRUE(IsOld(file_));
}

TEST_F(AutoexecPath, AddingCreatesAMissingFile) {
  ASSERT_FALSE(Exists(file_));
  EXPECT_EQ(Edit(true), "");
  EXPECT_EQ(ReadBytes(file_), "\r\n" + line_);
}

TEST_F(AutoexecPath, RemovingTakesOutTheFirstLine) {
  std::string upper = line_;
  for (char& ch : upper) {
    if (ch >= 'a' && ch <= 'z') ch = char(ch - ('a' - 'A'));
  }
  const std::string bare = line_.substr(0, line_.size() - 2);
  const struct {
    std::string before;
    std::string after;
  } cases[] = {
      {"@echo off\r\n" + line_ + "REM end\r\n", "@echo off\r\nREM end\r\n"},
      {line_, ""},
      {"@echo off\r\n" + upper, "@echo off\r\n"},
      {"@echo off\r\n" + line_ + line_, "@echo off\r\n" + line_},
      // The last line of the file without its line break.
      {"@echo off\r\n" + bare, "@echo off\r\n"},
      {"@echo off\r\n" + bare + "\n", "@echo off\r\n\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.before));
    ASSERT_TRUE(WriteBytes(file_, c.before));
    EXPECT_EQ(Edit(false), "");
    EXPECT_EQ(ReadBytes(file_), c.after);
  }
}

TEST_F(AutoexecPath, RemovingWithoutTheLineLeavesTheFileUntouched) {
  const std::string bare = line_.substr(0, line_.size() - 2);
  const std::string others[] = {
      "PATH=%PATH%;" + installDir_ + "\r\n",  // the long form
      bare + "X\r\n",                         // a longer directory with the same beginning
      bare + "\\BIN",
  };
  for (const std::string& other : others) {
    SCOPED_TRACE(other);
    const std::string before = "@echo off\r\n" + other;
    ASSERT_TRUE(WriteBytes(file_, before));
    MakeOld(file_);
    EXPECT_EQ(Edit(false), "");
    EXPECT_EQ(ReadBytes(file_), before);
    EXPECT_TRUE(IsOld(file_)) << "the file was written";
  }
}

TEST_F(AutoexecPath, AFileThatCannotBeOpenedGivesTheMessage) {
  // Removing never creates the file; adding cannot where its folder is missing.
  const struct {
    std::string file;
    bool add;
    const char* verb;
    const char* preposition;
  } cases[] = {
      {file_, false, "remove", "from"},
      {scratch_ / "missing\\autoexec.bat", true, "add", "to"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(Str(EditPathLineInFile(String(c.file.c_str()), c.add)),
              "Unable to modify " + c.file + ".  You will need to manually " + c.verb + " " +
                  installDir_ + " " + c.preposition + " the PATH environment variable.\r\n\r\n");
    EXPECT_FALSE(Exists(c.file));
  }
}

TEST_F(AutoexecPath, TheStartUpFileIsOnTheBootDrive) {
  registry_override::RegistryOverrides overrides;
  overrides.Set(HKEY_LOCAL_MACHINE, kSetup, "BootDir", "q:\\");
  EXPECT_EQ(Str(AutoexecFilePath()), "Q:\\autoexec.bat");
  overrides.Remove(HKEY_LOCAL_MACHINE, kSetup, "BootDir");
  EXPECT_EQ(Str(AutoexecFilePath()), "C:\\autoexec.bat");
}

TEST_F(AutoexecPath, EditsTheBootDrivesAutoexecBat) {
  scratch_drive::ScratchDrive drive('Q');
  if (!drive.Ready()) GTEST_SKIP() << "drive Q: could not be mapped";
  registry_override::RegistryOverrides overrides;
  overrides.Set(HKEY_LOCAL_MACHINE, kSetup, "BootDir", "Q:\\");
  const std::string file = drive / "autoexec.bat";

  EXPECT_EQ(Str(EditAutoexecPath(false)), "Unable to modify " + file +
                                              ".  You will need to manually remove " + installDir_ +
                                              " from the PATH environment variable.\r\n\r\n");
  EXPECT_FALSE(Exists(file));

  EXPECT_EQ(Str(EditAutoexecPath(true)), "");
  EXPECT_EQ(ReadBytes(file), "\r\n" + line_);
  EXPECT_EQ(Str(EditAutoexecPath(false)), "");
  EXPECT_EQ(ReadBytes(file), "\r\n");
}

}  // namespace
