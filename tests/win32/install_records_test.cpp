// The install records read directly: the installed-file list with its duplicate set,
// Uninstall.DAT's text, and the product's Uninstall key written into the prefix's real registry
// and read back through the Win32 API with each value's type.
#include "install/install_records.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "archive/archive_header.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "core/clock.h"
#include "install/install_state.h"
#include "install/installer_archive.h"
#include "install/uninstall_data.h"
#include "install/uninstall_registration.h"
#include "tests/win32/dialog_test_support.h"
#include "tests/win32/file_test_support.h"
#include "tests/win32/registry_test_support.h"

namespace {

using registry_test::GetRawValue;
using registry_test::RawValue;

// The header the install steps read; the reader's own object is not const, only the view of it.
ArchiveHeader& Header() { return const_cast<ArchiveHeader&>(InstallerHeader); }

std::string Text(const String& text) { return file_test::Str(text); }

class RecordInstalledPathTest : public testing::Test {
 protected:
  void SetUp() override { RecordInstalledPathReset(); }
  void TearDown() override { RecordInstalledPathReset(); }
};

TEST_F(RecordInstalledPathTest, FilesRepeatMarkedPathsAppearOnceInTheCaseOfTheirFirstCall) {
  struct Call {
    const char* path;
    int kind;
  };
  struct Case {
    const char* name;
    std::vector<Call> calls;
    const char* list;
  };
  const Case cases[] = {
      {"folder twice", {{"C:\\App", 1}, {"C:\\App", 1}}, "~C:\\App\r\n"},
      {"folder in two cases", {{"C:\\APP", 1}, {"c:\\app", 1}}, "~C:\\APP\r\n"},
      {"file twice",
       {{"C:\\App\\a.txt", 0}, {"C:\\App\\a.txt", 0}},
       "C:\\App\\a.txt\r\nC:\\App\\a.txt\r\n"},
      {"class key after folder", {{"C:\\App", 1}, {"c:\\app", 2}}, "~C:\\App\r\n"},
      {"folder after class key", {{".qfa", 2}, {".QFA", 1}}, "!.qfa\r\n"},
      {"a file does not block a folder",
       {{"C:\\App", 0}, {"C:\\App", 1}},
       "C:\\App\r\n~C:\\App\r\n"},
      {"drive roots and short texts", {{"C:\\", 0}, {"C:\\", 1}, {"", 0}, {"abc", 2}}, ""},
      {"four characters", {{"C:\\a", 0}, {".abc", 2}}, "C:\\a\r\n!.abc\r\n"},
      {"any other kind is a class key", {{"HKCR Type", 7}}, "!HKCR Type\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordInstalledPathReset();
    for (const Call& call : c.calls) RecordInstalledPath(String(call.path), call.kind);
    EXPECT_EQ(Text(InstalledFileList), c.list);
  }
}

TEST_F(RecordInstalledPathTest, ResetForgetsTheMarkedPathsToo) {
  RecordInstalledPath(String("C:\\App"), RecordKind::kFolder);
  RecordInstalledPathReset();
  EXPECT_EQ(Text(InstalledFileList), "");
  RecordInstalledPath(String("C:\\App"), RecordKind::kFolder);
  EXPECT_EQ(Text(InstalledFileList), "~C:\\App\r\n");
}

// The [Strings] part for the fixture's tables, whose text of id n is "English n".
std::string StringsSection() {
  std::string text = "\r\n\r\n[Strings]\r\n";
  for (int id : {10, 15, 20, 30, 34, 35, 39, 49, 53, 55, 56, 57, 58, 59, 67, 68, 69, 70, 71})
    text += "~" + std::to_string(id) + "\r\nEnglish " + std::to_string(id) + "\r\n";
  return text;
}

class UninstallDataTest : public testing::Test {
 protected:
  void SetUp() override {
    RecordInstalledPathReset();
    AssociationLines = String();
  }
  void TearDown() override { SetUp(); }
  dialog_test::LanguageTables tables_;
};

TEST_F(UninstallDataTest, NothingRecordedGivesTheStringsAloneWithoutAssociations) {
  EXPECT_EQ(Text(UninstallDataText()), StringsSection());
}

TEST_F(UninstallDataTest, TheFileListStringsAndAssociationsFollowEachOther) {
  RecordInstalledPath(String("C:\\App\\a.exe"), RecordKind::kFile);
  RecordInstalledPath(String("C:\\App\\Sub"), RecordKind::kFolder);
  AssociationLines = ".qfa~!~Quorvex.Doc~!~open\r\n";
  EXPECT_EQ(Text(UninstallDataText()),
            "C:\\App\\a.exe\r\n~C:\\App\\Sub\r\n" + StringsSection() +
                "\r\n\r\n[Associations]\r\n.qfa~!~Quorvex.Doc~!~open\r\n");
}

TEST_F(UninstallDataTest, TheFileIsWrittenInOnePieceAndFailsWhereItCannotBe) {
  file_test::ScratchDir scratch;
  InstallDir = scratch.Path().c_str();
  UninstallSubdir = "Uninstall";
  ASSERT_TRUE(CreateDirectoryA((scratch / "Uninstall").c_str(), nullptr));
  RecordInstalledPath(String("C:\\App\\a.exe"), RecordKind::kFile);
  ASSERT_TRUE(WriteUninstallData());
  EXPECT_EQ(file_test::ReadBytes(scratch / "Uninstall\\Uninstall.DAT"), Text(UninstallDataText()));
  // A folder in the file's place: the system refuses to open it as a file.
  ASSERT_TRUE(DeleteFileA((scratch / "Uninstall\\Uninstall.DAT").c_str()));
  ASSERT_TRUE(CreateDirectoryA((scratch / "Uninstall\\Uninstall.DAT").c_str(), nullptr));
  SetLastError(0);
  EXPECT_FALSE(WriteUninstallData());
  EXPECT_NE(GetLastError(), 0u);
  InstallDir = String();
  UninstallSubdir = String();
}

constexpr char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kKeyName[] = "Quorvex Win32 Records Test";

FileStamp FixedTime() { return FileStamp{2003, 3, 5, 14, 7, 9}; }

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

class RegisterUninstallTest : public testing::Test {
 protected:
  void SetUp() override {
    registry_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, Key());
    saved_ = InstallerHeader;
    Header() = ArchiveHeader();
    Header().uninstallerName = "Uninstall Me.exe";
    Header().publisher = "Acme";
    UninstallKeyName = kKeyName;
    ProductName = "My App";
    InstallDir = "C:\\Program Files\\My App";
    UninstallDir = "C:\\Program Files\\My App\\Un";
    UninstallSubdir = "Un";
    DisplayVersion = "2.5.1";
    ProductStartMenu = "Acme\\My App";
    SharedPath = String();
    ProductFlags = FlagMask(ProductFlag::kRegisterUninstall);
    ErrorSummary = String();
    SetClockForTesting(FixedTime);
  }
  void TearDown() override {
    SetClockForTesting(nullptr);
    Header() = saved_;
    registry_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, Key());
    ErrorSummary = String();
  }
  static std::string Key() { return std::string(kUninstallRoot) + kKeyName; }
  static RawValue Get(const char* name) { return GetRawValue(HKEY_LOCAL_MACHINE, Key(), name); }
  static void ExpectSz(const char* name, const std::string& text, DWORD type = REG_SZ) {
    SCOPED_TRACE(name);
    RawValue value = Get(name);
    EXPECT_TRUE(value.found);
    EXPECT_EQ(value.type, type);
    EXPECT_EQ(value.bytes, Sz(text));
  }
  static void ExpectDword(const char* name, uint32_t number) {
    SCOPED_TRACE(name);
    RawValue value = Get(name);
    EXPECT_TRUE(value.found);
    EXPECT_EQ(value.type, DWORD(REG_DWORD));
    EXPECT_EQ(value.bytes, registry_test::Dword(number));
  }
  static void ExpectMissing(const char* name) { EXPECT_FALSE(Get(name).found) << name; }

  ArchiveHeader saved_;
  dialog_test::LanguageTables tables_;
};

TEST_F(RegisterUninstallTest, TheCommandLinesCarryTheQuotedKeyName) {
  RegisterUninstall();
  EXPECT_EQ(Text(ErrorSummary), "");
  const std::string program = "C:\\Program Files\\My App\\Un\\Uninstall Me.exe";
  ExpectSz("UninstallString", program + " /u:\"" + kKeyName + "\"");
  ExpectSz("QuietUninstallString", program + " /a /u:\"" + kKeyName + "\"");
  ExpectSz("DisplayName", "My App");
  ExpectSz("InstallLocation", "C:\\Program Files\\My App");
  ExpectSz("InstallDate", "3/5/03 2:07:09p");
  ExpectSz("Publisher", "Acme");
  ExpectSz("UninstallSubdir", "Un");
  ExpectSz("ProductStartMenu", "Acme\\My App");
  ExpectSz("ProductFlags", "4");
}

TEST_F(RegisterUninstallTest, VersionNumbersComeFromADottedVersionOnly) {
  struct Case {
    const char* version;
    bool numbers;
    uint32_t major, minor;
  };
  const Case cases[] = {
      {"2.5.1", true, 2, 5}, {"10.04", true, 10, 4}, {"2", false, 0, 0}, {"", false, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    DisplayVersion = c.version;
    RegisterUninstall();
    if (*c.version) {
      ExpectSz("DisplayVersion", c.version);
    } else {
      ExpectMissing("DisplayVersion");
    }
    if (c.numbers) {
      ExpectDword("VersionMajor", c.major);
      ExpectDword("VersionMinor", c.minor);
    } else {
      ExpectMissing("VersionMajor");
      ExpectMissing("VersionMinor");
    }
  }
}

TEST_F(RegisterUninstallTest, EmptySettingsDeleteTheValuesAnEarlierInstallationLeft) {
  Header().shortcutMode = 1;
  Header().uninstallBatch1 = "echo one";
  Header().uninstallBatch2 = "echo two";
  Header().productRegistry = "Acme\\My App";
  ProductFlags |= FlagMask(ProductFlag::kCustomColours);
  RegisterUninstall();
  ExpectDword("ShortcutMode", 1);
  ExpectSz("UninstallBatch1", "echo one");
  ExpectSz("ProductRegistry", "Acme\\My App");
  EXPECT_TRUE(Get("TitleColor").found);

  Header().shortcutMode = 0;
  Header().uninstallBatch1 = String();
  Header().productRegistry = String();
  ProductFlags &= ~FlagMask(ProductFlag::kCustomColours);
  RegisterUninstall();
  ExpectMissing("ShortcutMode");
  ExpectMissing("UninstallBatch1");
  ExpectMissing("ProductRegistry");
  ExpectMissing("TitleColor");
  ExpectSz("UninstallBatch2", "echo two");
}

TEST_F(RegisterUninstallTest, ProductFlagsAreASigned64BitDecimal) {
  struct Case {
    uint64_t flags;
    const char* text;
  };
  const Case cases[] = {
      {0x4, "4"},
      {0x0000004000100004ull, "274878955524"},
      {0x8000000000000004ull, "-9223372036854775804"},
  };
  for (const Case& c : cases) {
    ProductFlags = c.flags;
    RegisterUninstall();
    ExpectSz("ProductFlags", c.text);
  }
}

TEST_F(RegisterUninstallTest, ColoursAndTheTitleAreStoredForTheUninstallersWindow) {
  TitleColor = 0x00112233;
  TopColor = 0x00445566;
  BottomColor = 0x00778899;
  MonoColor = false;
  TitleShadow = 3;
  DisplayTitle = "The Title";
  ProductFlags |= FlagMask(ProductFlag::kKeepBackgroundForUninstaller);
  RegisterUninstall();
  ExpectDword("TitleColor", 0x00112233);
  ExpectDword("TopColor", 0x00445566);
  ExpectDword("BottomColor", 0x00778899);
  ExpectDword("MonoColor", 0);
  ExpectDword("TitleShadow", 3);
  ExpectSz("DisplayTitle", "The Title");
  DisplayTitle = String();
}

TEST_F(RegisterUninstallTest, ExtraValuesTakeTheirTypeAndHaveVariablesExpanded) {
  auto add = [](const char* name, uint8_t type, const char* value) {
    UninstallData& data = Header().uninstallValues.AppendDefault();
    data.name = name;
    data.type = type;
    data.value = value;
  };
  add("HelpLink", 1, "http://example.invalid/help");
  add("Expandable", 2, "%InstallDir%\\bin;%%PATH%%");
  add("EstimatedSize", 4, "1234");
  add("Zero", 4, "0");
  add("Empty", 1, "");
  ASSERT_TRUE(registry_test::SetRawValue(HKEY_LOCAL_MACHINE, Key(), "Zero", REG_DWORD,
                                         registry_test::Dword(9)));
  ASSERT_TRUE(registry_test::SetRawValue(HKEY_LOCAL_MACHINE, Key(), "Empty", REG_SZ, Sz("old")));
  RegisterUninstall();
  ExpectSz("HelpLink", "http://example.invalid/help");
  ExpectSz("Expandable", "C:\\Program Files\\My App\\bin;%%PATH%%", REG_EXPAND_SZ);
  ExpectDword("EstimatedSize", 1234);
  ExpectMissing("Zero");
  ExpectMissing("Empty");
}

TEST_F(RegisterUninstallTest, TheInstallSourceIsTheProgramsOwnPath) {
  RegisterUninstall();
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
  RawValue value = Get("InstallSource");
  ASSERT_TRUE(value.found);
  EXPECT_EQ(lstrcmpiA(value.bytes.c_str(), std::string(self, n).c_str()), 0) << value.bytes;
}

}  // namespace
