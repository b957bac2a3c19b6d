// Writing installed files against real faults: a target held open without sharing, a
// read-only target, a drive that fills up, and a "file" whose data does not stay (a link to
// /dev/null on a drive of the test's own) for the read-back check.
#include "install/write_installed_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "archive/product_flags.h"
#include "config/language_strings.h"
#include "config/language_table.h"
#include "config/settings.h"
#include "config/string_ids.h"
#include "install/install_state.h"
#include "tests/win32/file_test_support.h"
#include "tests/win32/full_drive_test_support.h"
#include "tests/win32/pending_renames_test_support.h"
#include "tests/win32/scratch_drive_test_support.h"

namespace {

using file_test::Exists;
using file_test::Held;
using file_test::ReadBytes;
using file_test::ScratchDir;
using file_test::Str;
using file_test::SystemErrorText;
using file_test::WriteBytes;

constexpr char kHead[] = "Cannot write";  // string 31
constexpr char kData[] = "new data\0with a NUL";
constexpr int kDataLength = int(sizeof kData - 1);
constexpr FileStamp kStamp = {2001, 9, 8, 7, 6, 4};
constexpr uint32_t kLeaveAttributes = 0xFFFFFFFF;

std::string ShortName(const std::string& path) {
  char buffer[MAX_PATH] = {};
  DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

// The names in folder, "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = entry.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return names;
}

FileStamp LastWrite(const std::string& path) {
  FileStamp stamp = {};
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    stamp.FromFileTime(&data.ftLastWriteTime);
  return stamp;
}

class WriteInstalledFileTest : public testing::Test {
 protected:
  void SetUp() override {
    LanguageTables tables;
    tables.names.Append(String("English"));
    for (int id = 0; id <= int(StringId::kCannotWriteFileHead); ++id)
      tables.texts.AppendDefault().Append(
          String(id == int(StringId::kCannotWriteFileHead) ? kHead : ""));
    InstallLanguageTables(std::move(tables));
    ProductFlags = 0;
    InstallLog.Clear();
    savedRenames_ = pending_renames::ReadPendingRenames();
  }
  void TearDown() override {
    pending_renames::WritePendingRenames(savedRenames_);
    LanguageTables none;
    InstallLanguageTables(std::move(none));
    ProductFlags = 0;
    InstallLog.Clear();
  }

  bool Write(const std::string& target, String& errors, bool existedBefore,
             uint32_t attributes = kLeaveAttributes, int length = kDataLength) {
    return WriteInstalledFile(String(target.c_str()), kData, length, kStamp, errors, attributes,
                              existedBefore);
  }

  // The failure text of a target that three attempts could not write.
  static std::string Failure(const std::string& target, DWORD error) {
    std::string text = SystemErrorText(error);
    return std::string(kHead) + " " + target + "\r\n" + (text.empty() ? "" : text + "\r\n");
  }

  ScratchDir scratch_;
  pending_renames::RawValue savedRenames_;
};

TEST_F(WriteInstalledFileTest, WritesTheDataWithItsStampAndTheAttributesOfTheMask) {
  struct Case {
    uint32_t attributes;
    uint32_t expected;  // set on a reference file, so that the system's own rules apply to both
  };
  const Case cases[] = {
      {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN,
       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
      // bits outside 0x1127 (0x40 and 0x400 are not in it) are left alone.
      {FILE_ATTRIBUTE_SYSTEM | 0x40 | 0x400, FILE_ATTRIBUTE_SYSTEM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    const std::string target = scratch_ / "out.bin";
    const std::string reference = scratch_ / "reference.bin";
    file_test::RemoveTree(target);
    file_test::RemoveTree(reference);
    ASSERT_TRUE(WriteBytes(target, std::string(5000, 'x')));  // truncated by the write
    ASSERT_TRUE(WriteBytes(reference, ""));
    ASSERT_TRUE(SetFileAttributesA(reference.c_str(), c.expected));
    String errors;
    EXPECT_TRUE(Write(target, errors, true, c.attributes));
    EXPECT_EQ(Str(errors), "");
    EXPECT_EQ(ReadBytes(target), std::string(kData, kDataLength));
    EXPECT_EQ(FileStamp::Compare(LastWrite(target), kStamp), 0);
    EXPECT_EQ(GetFileAttributesA(target.c_str()), GetFileAttributesA(reference.c_str()));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(reference.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  EXPECT_EQ(Str(InstallLog), "");
  EXPECT_FALSE(HasFlag(ProductFlags, ProductFlag::kRebootRequired));
}

TEST_F(WriteInstalledFileTest, AReadOnlyTargetIsWrittenOnlyWhenBit19ClearsItsAttributes) {
  const std::string target = scratch_ / "locked.txt";
  {
    // Wine maps the attribute to the Unix permissions, which do not bind root.
    ASSERT_TRUE(WriteBytes(target, "probe"));
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE probe = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (probe != INVALID_HANDLE_VALUE) {
      CloseHandle(probe);
      GTEST_SKIP() << "a read-only file is writable for this user (root under Wine): the "
                      "attribute cannot block the write here";
    }
  }
  for (bool clear : {false, true}) {
    SCOPED_TRACE(clear ? "bit 19" : "no bit 19");
    ASSERT_TRUE(WriteBytes(target, "old"));
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    ProductFlags = clear ? FlagMask(ProductFlag::kClearBlockingAttributes) : 0;
    String errors;
    EXPECT_EQ(Write(target, errors, false), clear);
    if (clear) {
      EXPECT_EQ(Str(errors), "");
      EXPECT_EQ(ReadBytes(target), std::string(kData, kDataLength));
      EXPECT_FALSE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY);
    } else {
      EXPECT_EQ(Str(errors), Failure(target, ERROR_ACCESS_DENIED));
      EXPECT_EQ(ReadBytes(target), "old");
    }
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(WriteInstalledFileTest, AHeldTargetIsReplacedAtTheNextStartThroughItsOwnFolder) {
  struct Case {
    const char* name;
    bool existedBefore;
    uint64_t flags;
  };
  const Case cases[] = {
      {"existed before", true, 0},
      {"bit 11", false, FlagMask(ProductFlag::kReplaceAnyLockedFileAtReboot)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = scratch_ / c.name;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string target = folder + "\\in use.dll";
    ASSERT_TRUE(WriteBytes(target, "running"));
    ProductFlags = c.flags;
    InstallLog.Clear();
    pending_renames::WritePendingRenames({});
    String errors;
    {
      Held held(target);
      ASSERT_TRUE(held.Ok());
      EXPECT_FALSE(Write(target, errors, c.existedBefore));
    }
    EXPECT_EQ(Str(errors), "");
    EXPECT_TRUE(HasFlag(ProductFlags, ProductFlag::kRebootRequired));
    // The one new file in the target's folder is the temporary copy.
    std::vector<std::string> names = FolderNames(folder);
    ASSERT_EQ(names.size(), 2u);
    const std::string tempName = names[0] == "in use.dll" ? names[1] : names[0];
    EXPECT_EQ(tempName.substr(0, 3), "ZPX");
    const std::string temp = ShortName(folder + "\\" + tempName);
    EXPECT_EQ(ReadBytes(temp), std::string(kData, kDataLength));
    EXPECT_EQ(ReadBytes(target), "running");
    EXPECT_EQ(Str(InstallLog), Failure(target, ERROR_SHARING_VIOLATION) + target +
                                   " has been successfully registered for replacement.\r\n"
                                   "Temporary file is " +
                                   temp + "\r\nReboot will be required.\r\n\r\n");
    EXPECT_EQ(pending_renames::PendingRenames(),
              std::vector<std::string>({"\\??\\" + temp, "!\\??\\" + target}));
  }
}

TEST_F(WriteInstalledFileTest, AHeldNewTargetFailsWithTheSystemsTextAndLeavesNothingBehind) {
  const std::string target = scratch_ / "held.txt";
  ASSERT_TRUE(WriteBytes(target, "other program's"));
  pending_renames::WritePendingRenames({});
  String errors = "earlier\r\n";
  {
    Held held(target);
    ASSERT_TRUE(held.Ok());
    EXPECT_FALSE(Write(target, errors, false));
  }
  EXPECT_EQ(Str(errors), "earlier\r\n" + Failure(target, ERROR_SHARING_VIOLATION));
  EXPECT_EQ(FolderNames(scratch_.Path()), std::vector<std::string>({"held.txt"}));
  EXPECT_EQ(ReadBytes(target), "other program's");
  EXPECT_EQ(Str(InstallLog), "");
  EXPECT_FALSE(HasFlag(ProductFlags, ProductFlag::kRebootRequired));
  EXPECT_EQ(pending_renames::PendingRenames(), std::vector<std::string>());
}

// A link to /dev/null takes every byte and gives none back: only the read-back check sees it.
TEST_F(WriteInstalledFileTest, TheReadBackCheckOfBit18CatchesDataThatDoesNotStay) {
  scratch_drive::ScratchDrive drive('Q');
  if (!drive.Ready()) GTEST_SKIP() << "the drive letter Q: could not be mapped";
  // Wine reports no attributes for a device, so the link is seen made by a marker after it.
  const std::string unixRoot = scratch_drive::UnixName(drive.Root());
  ASSERT_TRUE(scratch_drive::RunUnixUntil("/bin/sh -c \"ln -sfn /dev/null '" + unixRoot +
                                              "/sink.bin' && : > '" + unixRoot + "/linked'\"",
                                          [&] { return Exists(drive / "linked"); }));
  const std::string target = drive / "sink.bin";
  String errors;
  EXPECT_TRUE(Write(target, errors, false)) << "unverified, the write looks fine";
  EXPECT_EQ(Str(errors), "");
  ProductFlags = FlagMask(ProductFlag::kVerifyWrittenFiles);
  SetLastError(ERROR_ACCESS_DENIED);  // a stale error must not reach the text
  EXPECT_FALSE(Write(target, errors, false));
  EXPECT_EQ(Str(errors), std::string(kHead) + " " + target + "\r\n\r\n");
}

TEST_F(WriteInstalledFileTest, AFullDriveFailsWithoutLeavingAPartOfTheFile) {
  full_drive::FullDrive drive('Q', 64);
  if (!drive.Ready())
    GTEST_SKIP() << "a 64 KB tmpfs could not be mounted as Q: (no right to mount)";
  const std::string big(100 * 1024, 'b');
  for (bool existedBefore : {false, true}) {
    SCOPED_TRACE(existedBefore ? "existed before" : "new");
    const std::string target = drive / "big.bin";
    if (existedBefore) {
      ASSERT_TRUE(WriteBytes(target, "small"));
    }
    String errors;
    EXPECT_FALSE(WriteInstalledFile(String(target.c_str()), big.data(), int(big.size()), kStamp,
                                    errors, kLeaveAttributes, existedBefore));
    EXPECT_EQ(Str(errors), Failure(target, ERROR_DISK_FULL));
    // Neither a truncated target nor a temporary copy stays.
    EXPECT_EQ(FolderNames(drive.Root().substr(0, 2)), std::vector<std::string>());
    EXPECT_FALSE(HasFlag(ProductFlags, ProductFlag::kRebootRequired));
  }
}

}  // namespace
