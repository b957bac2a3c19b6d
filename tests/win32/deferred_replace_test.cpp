// Deleting and moving files now or at the next start, on both system families: the NT family
// schedules through MoveFileExA (checked in the pending-rename value that Windows reads at
// start-up), the 9x family through wininit.ini. The wininit.ini of these tests lives in a
// scratch folder that stands in for the Windows directory.
#include "platform/deferred_replace.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/string.h"
#include "platform/os_identity.h"
#include "tests/win32/file_test_support.h"
#include "tests/win32/pending_renames_test_support.h"

namespace {

using file_test::Exists;
using file_test::ReadBytes;
using file_test::ScratchDir;
using file_test::WriteBytes;
using pending_renames::PendingRenames;
using pending_renames::RawValue;
using pending_renames::ReadPendingRenames;
using pending_renames::WritePendingRenames;

constexpr char kMissingLibrary[] = "quorvex-no-such-library.dll";
std::vector<std::string> Plus(std::vector<std::string> list, const std::vector<std::string>& more) {
  list.insert(list.end(), more.begin(), more.end());
  return list;
}

std::string NtName(const std::string& path) { return "\\??\\" + path; }

std::string ShortName(const std::string& path) {
  char buffer[MAX_PATH] = {};
  DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

// Holds a file open without delete sharing, as a running program holds its own image.
class InUse {
 public:
  explicit InUse(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~InUse() { Release(); }
  InUse(const InUse&) = delete;
  InUse& operator=(const InUse&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

// A scratch folder with a stand-in Windows directory for wininit.ini, the pending-rename value
// put back as it was, and the system family as the test chooses.
class DeferredTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateDirectoryA(windowsDir_.c_str(), nullptr));
    SetWininitDirForTesting(String(windowsDir_.c_str()));
    savedRenames_ = ReadPendingRenames();
    pendingBefore_ = PendingRenames();
  }
  void TearDown() override {
    WritePendingRenames(savedRenames_);
    SetWininitDirForTesting(String());
    SetMoveFileExLibraryForTesting(nullptr);
    SetOsFamilyForTesting(OsFamily::kRunningSystem);
  }

  std::string File(const std::string& name, const std::string& content = "data") {
    std::string path = scratch_ / name;
    EXPECT_TRUE(WriteBytes(path, content));
    return path;
  }
  std::string Wininit() const { return ReadBytes(wininit_); }

  ScratchDir scratch_;
  const std::string windowsDir_ = scratch_ / "windows";
  const std::string wininit_ = windowsDir_ + "\\wininit.ini";
  std::vector<std::string> pendingBefore_;

 private:
  RawValue savedRenames_;
};

class AddWininitRenameTest : public DeferredTest {};

TEST_F(AddWininitRenameTest, PutsTheNewLineFirstInTheSection) {
  const struct {
    const char* before;
    const char* after;
  } cases[] = {
      {nullptr, "\r\n[rename]\r\nD=S"},
      {"", "\r\n[rename]\r\nD=S"},
      {"[boot]\r\nx=1", "[boot]\r\nx=1\r\n[rename]\r\nD=S"},
      {"[boot]\r\nx=1\r\n", "[boot]\r\nx=1\r\n[rename]\r\nD=S"},
      {"[boot]\nx=1\n", "[boot]\nx=1\n[rename]\r\nD=S"},
      {"[Rename]\r\nOLD=C:\\OLD.TXT\r\n", "[Rename]\r\nD=S\r\nOLD=C:\\OLD.TXT\r\n"},
      {"[a]\r\n[RENAME]\r\nNUL=X\r\n[b]\r\n", "[a]\r\n[RENAME]\r\nD=S\r\nNUL=X\r\n[b]\r\n"},
      {"[rename]", "[rename]\r\nD=S"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before != nullptr ? c.before : "(no file)");
    DeleteFileA(wininit_.c_str());
    if (c.before != nullptr) {
      ASSERT_TRUE(WriteBytes(wininit_, c.before));
    }
    EXPECT_TRUE(AddWininitRename("D", "S"));
    EXPECT_EQ(Wininit(), c.after);
  }
}

TEST_F(AddWininitRenameTest, TheNewestLineComesFirst) {
  EXPECT_TRUE(AddWininitRename("NUL", "C:\\FIRST.TXT"));
  EXPECT_TRUE(AddWininitRename("C:\\DEST.TXT", "C:\\SECOND.TXT"));
  EXPECT_EQ(Wininit(), "\r\n[rename]\r\nC:\\DEST.TXT=C:\\SECOND.TXT\r\nNUL=C:\\FIRST.TXT");
}

TEST_F(AddWininitRenameTest, RefusesEmptyTextsAndFilesItCannotWrite) {
  EXPECT_FALSE(AddWininitRename(nullptr, "S"));
  EXPECT_FALSE(AddWininitRename("D", nullptr));
  EXPECT_FALSE(AddWininitRename("", "S"));
  EXPECT_FALSE(AddWininitRename("D", ""));
  EXPECT_FALSE(Exists(wininit_));

  // A wininit.ini that cannot be opened as a file, and a Windows directory that is missing.
  ASSERT_TRUE(CreateDirectoryA(wininit_.c_str(), nullptr));
  EXPECT_FALSE(AddWininitRename("D", "S"));
  SetWininitDirForTesting(String((scratch_ / "no such folder").c_str()));
  EXPECT_FALSE(AddWininitRename("D", "S"));
}

class DeleteFileOrScheduleTest : public DeferredTest {};

TEST_F(DeleteFileOrScheduleTest, DeletesNowUnlessToldOtherwise) {
  const struct {
    uint32_t flags;
    bool readOnly;
    bool result;
    bool deleted;
  } cases[] = {
      {0, false, true, true},
      {0, true, true, true},  // the read-only attribute is cleared first
      {DeleteFlags::kKeepReadOnly, false, true, true},
      {DeleteFlags::kKeepReadOnly, true, false, false},
      {DeleteFlags::kScheduleOnFailure, true, true, true},
  };
  SetOsFamilyForTesting(OsFamily::kNT);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.flags) + (c.readOnly ? " read-only" : ""));
    std::string path = File("victim.txt");
    if (c.readOnly) {
      ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    EXPECT_EQ(DeleteFileOrSchedule(path.c_str(), c.flags), c.result);
    EXPECT_EQ(Exists(path), !c.deleted);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
  EXPECT_EQ(PendingRenames(), pendingBefore_);
  EXPECT_FALSE(Exists(wininit_));
}

TEST_F(DeleteFileOrScheduleTest, ANullPathIsRefused) {
  EXPECT_FALSE(DeleteFileOrSchedule(nullptr, 0));
  EXPECT_FALSE(DeleteFileOrSchedule(nullptr, DeleteFlags::kScheduleOnly));
}

TEST_F(DeleteFileOrScheduleTest, OnNtTheSystemSchedulesTheDeletion) {
  SetOsFamilyForTesting(OsFamily::kNT);
  ASSERT_TRUE(WriteBytes(wininit_, "[rename]\r\n"));
  std::string path = File("scheduled.txt");
  EXPECT_TRUE(DeleteFileOrSchedule(path.c_str(), DeleteFlags::kScheduleOnly));
  EXPECT_TRUE(Exists(path));
  EXPECT_EQ(PendingRenames(), Plus(pendingBefore_, {NtName(path), ""}));
  EXPECT_EQ(Wininit(), "[rename]\r\n");
}

TEST_F(DeleteFileOrScheduleTest, AFileInUseIsScheduledOnlyWhenAsked) {
  SetOsFamilyForTesting(OsFamily::kNT);
  std::string path = File("in use.txt");
  InUse holder(path);
  ASSERT_TRUE(holder.Held());
  SetLastError(0);
  EXPECT_FALSE(DeleteFileOrSchedule(path.c_str(), 0));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(PendingRenames(), pendingBefore_);

  EXPECT_TRUE(DeleteFileOrSchedule(path.c_str(), DeleteFlags::kScheduleOnFailure));
  EXPECT_TRUE(Exists(path));
  EXPECT_EQ(PendingRenames(), Plus(pendingBefore_, {NtName(path), ""}));
  EXPECT_FALSE(Exists(wininit_));
}

TEST_F(DeleteFileOrScheduleTest, On9xWininitDeletesTheShortPath) {
  SetOsFamilyForTesting(OsFamily::k9x);
  std::string path = File("a long file name.txt");
  std::string shortPath = ShortName(path);
  ASSERT_NE(shortPath, path);
  EXPECT_TRUE(DeleteFileOrSchedule(path.c_str(), DeleteFlags::kScheduleOnly));
  EXPECT_TRUE(Exists(path));
  EXPECT_EQ(Wininit(), "\r\n[rename]\r\nNUL=" + shortPath);
  EXPECT_EQ(PendingRenames(), pendingBefore_);

  std::string second = File("second.txt");
  InUse holder(second);
  EXPECT_TRUE(DeleteFileOrSchedule(second.c_str(), DeleteFlags::kScheduleOnFailure));
  EXPECT_EQ(Wininit(), "\r\n[rename]\r\nNUL=" + ShortName(second) + "\r\nNUL=" + shortPath);
}

TEST_F(DeleteFileOrScheduleTest, OnNtWithoutMoveFileExWininitNeedsWininitExe) {
  SetOsFamilyForTesting(OsFamily::kNT);
  SetMoveFileExLibraryForTesting(kMissingLibrary);
  std::string path = File("fallback.txt");
  EXPECT_FALSE(DeleteFileOrSchedule(path.c_str(), DeleteFlags::kScheduleOnly));
  EXPECT_FALSE(Exists(wininit_));

  ASSERT_TRUE(WriteBytes(windowsDir_ + "\\wininit.exe", "MZ"));
  EXPECT_TRUE(DeleteFileOrSchedule(path.c_str(), DeleteFlags::kScheduleOnly));
  EXPECT_EQ(Wininit(), "\r\n[rename]\r\nNUL=" + ShortName(path));
  EXPECT_EQ(PendingRenames(), pendingBefore_);
  EXPECT_TRUE(Exists(path));
}

class MoveOrScheduleFileTest : public DeferredTest {};

TEST_F(MoveOrScheduleFileTest, MovesNowAsTheFlagsSayAboutTheDestination) {
  const struct {
    const char* label;
    bool destinationExists;
    bool destinationReadOnly;
    const char* destinationName;
    uint32_t flags;
    bool result;
  } cases[] = {
      {"absent", false, false, "dest.txt", 0, true},
      {"replaced", true, false, "dest.txt", 0, true},
      {"read-only replaced", true, true, "dest.txt", 0, true},
      {"must exist, absent", false, false, "dest.txt", MoveFlags::kDestinationMustExist, false},
      {"must exist, present", true, false, "dest.txt", MoveFlags::kDestinationMustExist, true},
      {"must not exist, present", true, false, "dest.txt", MoveFlags::kFailIfDestinationExists,
       false},
      {"must not exist, absent", false, false, "dest.txt", MoveFlags::kFailIfDestinationExists,
       true},
      {"missing folder", false, false, "new\\sub\\dest.txt", 0, false},
      {"folder created", false, false, "new\\sub\\dest.txt", MoveFlags::kCreateDirectory, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::string source = File("source.txt", "new content");
    std::string destination = scratch_ / c.destinationName;
    if (c.destinationExists) {
      ASSERT_TRUE(WriteBytes(destination, "old content"));
      if (c.destinationReadOnly) SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    EXPECT_EQ(MoveOrScheduleFile(source.c_str(), destination.c_str(), c.flags), c.result);
    if (c.result) {
      EXPECT_FALSE(Exists(source));
      EXPECT_EQ(ReadBytes(destination), "new content");
    } else {
      EXPECT_EQ(ReadBytes(source), "new content");
      EXPECT_EQ(ReadBytes(destination), c.destinationExists ? "old content" : "<missing>");
    }
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(destination.c_str());
    DeleteFileA(source.c_str());
  }
  EXPECT_EQ(PendingRenames(), pendingBefore_);
}

TEST_F(MoveOrScheduleFileTest, RefusesNullIdenticalAndMissingSources) {
  std::string source = File("source.txt");
  std::string other = scratch_ / "other.txt";
  EXPECT_FALSE(MoveOrScheduleFile(nullptr, other.c_str(), 0));
  EXPECT_FALSE(MoveOrScheduleFile(source.c_str(), nullptr, 0));
  EXPECT_FALSE(MoveOrScheduleFile(source.c_str(), source.c_str(), 0));
  EXPECT_FALSE(MoveOrScheduleFile((scratch_ / "missing.txt").c_str(), other.c_str(), 0));
  EXPECT_TRUE(Exists(source));
  EXPECT_FALSE(Exists(other));
}

TEST_F(MoveOrScheduleFileTest, ALetterCaseChangeRenamesInPlace) {
  // Were the destination treated as another file, it would exist, so kFailIfDestinationExists
  // would refuse, and deleting it would delete the source itself. (Wine keeps the old letter
  // case of the name, so only the file's survival is checked.)
  for (uint32_t flags : {0u, MoveFlags::kFailIfDestinationExists}) {
    SCOPED_TRACE(flags);
    std::string source = File("casing.txt", "kept");
    std::string destination = scratch_ / "CASING.TXT";
    EXPECT_TRUE(MoveOrScheduleFile(source.c_str(), destination.c_str(), flags));
    EXPECT_EQ(ReadBytes(destination), "kept");
    DeleteFileA(destination.c_str());
  }
}

TEST_F(MoveOrScheduleFileTest, OnNtTheSystemSchedulesTheMoveReplacingTheDestination) {
  SetOsFamilyForTesting(OsFamily::kNT);
  ASSERT_TRUE(WriteBytes(wininit_, "[boot]\r\n"));
  std::string source = File("replacement.tmp", "new content");
  std::string destination = File("program.dll", "old content");
  InUse holder(destination);
  ASSERT_TRUE(holder.Held());
  EXPECT_TRUE(MoveOrScheduleFile(source.c_str(), destination.c_str(), MoveFlags::kScheduleOnly));
  EXPECT_EQ(ReadBytes(source), "new content");
  EXPECT_EQ(ReadBytes(destination), "old content");
  EXPECT_EQ(PendingRenames(), Plus(pendingBefore_, {NtName(source), "!" + NtName(destination)}));
  EXPECT_EQ(Wininit(), "[boot]\r\n");
}

TEST_F(MoveOrScheduleFileTest, On9xWininitMovesByShortPaths) {
  SetOsFamilyForTesting(OsFamily::k9x);
  std::string source = File("replacement file.tmp", "new content");
  std::string inUse = File("program library.dll", "old content");
  InUse holder(inUse);
  ASSERT_TRUE(holder.Held());
  EXPECT_TRUE(MoveOrScheduleFile(source.c_str(), inUse.c_str(), MoveFlags::kScheduleOnly));
  std::string first = ShortName(inUse) + "=" + ShortName(source);
  ASSERT_NE(first, inUse + "=" + source);
  EXPECT_EQ(Wininit(), "\r\n[rename]\r\n" + first);

  // A destination that does not exist has no short form yet.
  std::string absent = scratch_ / "not yet there.dll";
  EXPECT_TRUE(MoveOrScheduleFile(source.c_str(), absent.c_str(), MoveFlags::kScheduleOnly));
  EXPECT_EQ(Wininit(), "\r\n[rename]\r\n" + absent + "=" + ShortName(source) + "\r\n" + first);
  EXPECT_EQ(PendingRenames(), pendingBefore_);
  EXPECT_TRUE(Exists(source));
}

TEST_F(MoveOrScheduleFileTest, OnNtWithoutMoveFileExWininitNeedsWininitExe) {
  SetOsFamilyForTesting(OsFamily::kNT);
  SetMoveFileExLibraryForTesting(kMissingLibrary);
  std::string source = File("source.tmp");
  std::string destination = scratch_ / "destination.dll";
  EXPECT_FALSE(MoveOrScheduleFile(source.c_str(), destination.c_str(), MoveFlags::kScheduleOnly));
  EXPECT_FALSE(Exists(wininit_));

  ASSERT_TRUE(WriteBytes(windowsDir_ + "\\wininit.exe", "MZ"));
  EXPECT_TRUE(MoveOrScheduleFile(source.c_str(), destination.c_str(), MoveFlags::kScheduleOnly));
  EXPECT_EQ(Wininit(), "\r\n[rename]\r\n" + destination + "=" + ShortName(source));
  EXPECT_EQ(PendingRenames(), pendingBefore_);
}

}  // namespace
