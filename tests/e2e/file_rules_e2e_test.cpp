// The file loop end to end: installers whose entries meet every install condition and
// comparison rule against real files already on the disk, COM servers and plain libraries
// built with their own version resources (tests/fixtures), shared counts in the prefix's
// SharedDLLs key, fonts, and the faults of files in use, folders that cannot be made and a
// drive that fills up.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "archive/product_flags.h"
#include "tests/e2e/file_rules_e2e_support.h"
#include "tests/win32/full_drive_test_support.h"
#include "tests/win32/pending_renames_test_support.h"
#include "tests/win32/registry_test_support.h"

namespace {

using namespace file_rules_e2e;
using file_test::Exists;
using file_test::ReadBytes;
using file_test::SystemErrorText;
using file_test::WriteBytes;

constexpr FileStamp kOld = {2002, 1, 1, 12, 0, 0};
constexpr FileStamp kEntry = {2003, 3, 5, 14, 7, 9};
constexpr FileStamp kNew = {2005, 6, 7, 8, 9, 10};
constexpr char kComKey[] = "Software\\Quorvex Tests\\COM Server";
constexpr char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kFontsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

std::string Status(const std::string& name, const std::string& target) {
  return name + " -> " + target;
}

class FileLoopTest : public FileRulesTest {
 protected:
  void SetUp() override {
    FileRulesTest::SetUp();
    for (const char* folder : {"Shared", "Sys", "Com"})
      ASSERT_TRUE(CreateDirectoryA((scratch_ / folder).c_str(), nullptr));
    registry_test::DeleteKeyTree(HKEY_CURRENT_USER, kComKey);
  }
  void TearDown() override {
    registry_test::DeleteKeyTree(HKEY_CURRENT_USER, kComKey);
    FileRulesTest::TearDown();
  }

  // An entry written to an absolute place outside the install folder.
  FileEntry& AddAt(const std::string& target, const std::string& data, uint32_t kind,
                   uint32_t flags = 0) {
    FileEntry& entry = Add(target.substr(target.find_last_of('\\') + 1).c_str(), data, kind, flags);
    entry.destinationText = target.c_str();
    return entry;
  }

  void Existing(const std::string& path, const std::string& data, const FileStamp& stamp) {
    ASSERT_TRUE(WriteBytes(path, data));
    ASSERT_TRUE(SetLastWrite(path, stamp));
  }
};

TEST_F(FileLoopTest, EachEntryMeetsItsConditionComparisonRecordsAndRegistration) {
  plan_.header.productFlags |= FlagMask(ProductFlag::kLogEveryFile);
  const std::string plainLibrary = ReadBytes(BesideTests("quorvex_plain_library.dll"));
  const std::string comServer = ReadBytes(BesideTests("quorvex_com_server.dll"));
  ASSERT_FALSE(plainLibrary.empty());
  ASSERT_FALSE(comServer.empty());
  const std::string same = scratch_ / "Shared\\same.dll";
  const std::string older = scratch_ / "Shared\\older.dll";
  const std::string versionNotNewer = scratch_ / "Sys\\version-not-newer.dll";
  const std::string dateNotNewer = scratch_ / "Sys\\date-not-newer.dll";
  const std::string systemNew = scratch_ / "Sys\\system-new.dll";
  const std::string com = scratch_ / "Com\\quorvex_com_server.dll";
  const std::string plain = scratch_ / "Com\\quorvex_plain_library.dll";
  const std::string notLibrary = scratch_ / "Com\\not-a-library.dll";
  const std::string comOld = scratch_ / "Com\\com-old.dll";
  Existing(InApp("only-over.txt"), "old", kOld);
  Existing(InApp("present.txt"), "old", kOld);
  Existing(InApp("present-kept.txt"), "old", kOld);
  Existing(same, "old same", kEntry);
  Existing(older, "old older", kOld);
  Existing(versionNotNewer, plainLibrary, kOld);  // version 12345678901.2
  Existing(dateNotNewer, plainLibrary, kNew);
  Existing(comOld, comServer, kNew);

  Add("plain.txt", "plain");
  Add("never.txt", "never", 0, kFileNeverInstalled);
  Add("only-over-missing.txt", "x", 0, kFileOnlyOverExisting);
  Add("only-over.txt", "new", 0, kFileOnlyOverExisting);
  Add("if-missing.txt", "new", 0, kFileOnlyIfMissing);
  Add("present.txt", "new", 0, kFileOnlyIfMissing);
  Add("present-kept.txt", "new", 0, kFileOnlyIfMissing | kFileNotRecorded);
  Add("sub\\deep\\nested.txt", "nested");
  AddAt(same, "new same", DestinationKind::kShared).stamp = kEntry;
  AddAt(older, "new older", DestinationKind::kShared, kFileNotRecorded).stamp = kEntry;
  FileEntry& lower = AddAt(versionNotNewer, "v", DestinationKind::kSystem);
  lower.versionOrShortcutName = "12345678901.1";
  lower.stamp = kNew;
  FileEntry& newerVersion = AddAt(dateNotNewer, "d", DestinationKind::kSystem);
  newerVersion.versionOrShortcutName = "12345678901.3";
  newerVersion.stamp = kEntry;
  AddAt(systemNew, "system", DestinationKind::kSystem);
  AddAt(com, comServer, DestinationKind::kComServer);
  AddAt(plain, plainLibrary, DestinationKind::kComServer);
  AddAt(notLibrary, "not a library", DestinationKind::kComServer);
  AddAt(comOld, "not written", DestinationKind::kComServer).stamp = kEntry;
  Add("tool.exe", "tool", 0, kFileDesktopShortcut);
  FileEntry& starter = Add("starter.exe", "starter", DestinationKind::kStartup,
                           kFileStartMenuShortcut | kFileNotRecorded);
  starter.versionOrShortcutName = "Start Me";
  starter.shortcutIcon = "app.ico";
  starter.shortcutArguments = "/go";

  InstallTexts texts = Run();
  EXPECT_EQ(texts.transcript, std::vector<std::string>());
  EXPECT_EQ(texts.errors, "");
  EXPECT_EQ(texts.log, Lines({
                           Status("plain.txt", InApp("plain.txt")),
                           Status("only-over.txt", InApp("only-over.txt")),
                           Status("if-missing.txt", InApp("if-missing.txt")),
                           Status("sub\\deep\\nested.txt", InApp("sub\\deep\\nested.txt")),
                           same + " is up to date.",
                           older + " is out of date and will be replaced.",
                           Status("older.dll", older),
                           versionNotNewer + " was not installed because its version is not newer.",
                           dateNotNewer + " was not installed because its date is not newer.",
                           Status("system-new.dll", systemNew),
                           Status("quorvex_com_server.dll", com),
                           Status("quorvex_plain_library.dll", plain),
                           Status("not-a-library.dll", notLibrary),
                           comOld + " was not installed because its date is not newer.",
                           Status("tool.exe", InApp("tool.exe")),
                           Status("starter.exe", InApp("starter.exe")),
                       }) + "Registering COM File \"" +
                           com + "\"...OK\r\n" + "Registering COM File \"" + plain +
                           "\"...GetProcAddress() Failed\r\n" + "Registering COM File \"" +
                           notLibrary + "\"...LoadLibrary() Failed\r\n" +
                           "Registering COM File \"" + comOld + "\"...OK\r\n");
  EXPECT_EQ(texts.installedFiles,
            Lines({InApp("plain.txt"), InApp("only-over.txt"), InApp("if-missing.txt"),
                   InApp("present.txt"), "~" + InApp("sub\\deep"), InApp("sub\\deep\\nested.txt"),
                   InApp("tool.exe")}));
  EXPECT_EQ(texts.sharedFiles, "") << "counted only under ProductFlags bit 2";
  EXPECT_EQ(texts.shortcuts,
            std::vector<std::string>(
                {"1000\t" + InApp("tool.exe") + "\ttool.exe\t\t",
                 "0111\t" + InApp("starter.exe") + "\tStart Me\t" + InApp("app.ico") + "\t/go"}));

  struct Content {
    std::string path;
    std::string data;  // "" for a file that must not exist
  };
  const Content contents[] = {
      {InApp("plain.txt"), "plain"},
      {InApp("never.txt"), ""},
      {InApp("only-over-missing.txt"), ""},
      {InApp("only-over.txt"), "new"},
      {InApp("if-missing.txt"), "new"},
      {InApp("present.txt"), "old"},
      {InApp("present-kept.txt"), "old"},
      {InApp("sub\\deep\\nested.txt"), "nested"},
      {same, "old same"},
      {older, "new older"},
      {versionNotNewer, plainLibrary},
      {dateNotNewer, plainLibrary},
      {systemNew, "system"},
      {comOld, comServer},
  };
  for (const Content& c : contents) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(Exists(c.path), !c.data.empty());
    if (!c.data.empty()) {
      EXPECT_EQ(ReadBytes(c.path), c.data);
    }
  }
  // Both copies of the server registered themselves; the later one wrote last.
  registry_test::RawValue registered =
      registry_test::GetRawValue(HKEY_CURRENT_USER, kComKey, "Registered");
  EXPECT_TRUE(registered.found);
  EXPECT_STREQ(registered.bytes.c_str(), comOld.c_str());
}

TEST_F(FileLoopTest, Bit10RecordsOnlyTheExistingTargetsOfCondition0xC) {
  plan_.header.productFlags |= FlagMask(ProductFlag::kRemoveWholeInstallDir);
  Existing(InApp("present.txt"), "old", kOld);
  Add("plain.txt", "plain");
  Add("present.txt", "new", 0, kFileOnlyIfMissing);
  Add("sub\\file.txt", "sub");
  InstallTexts texts = Run();
  EXPECT_EQ(texts.installedFiles, Lines({InApp("present.txt")}));
  EXPECT_EQ(ReadBytes(InApp("sub\\file.txt")), "sub");
}

// Counts of a reinstall: the previous installation's counts go down first (a count of 1 or
// less is deleted), then this installation's go up.
TEST_F(FileLoopTest, AReinstallLowersThePreviousSharedCountsBeforeRaisingItsOwn) {
  plan_.header.productFlags |= FlagMask(ProductFlag::kRegisterUninstall);
  const std::string productKey = std::string(kUninstallKey) + "\\" + "Quorvex File Rules";
  const std::string kept = scratch_ / "Shared\\kept.dll";        // in both installations
  const std::string dropped = scratch_ / "Shared\\dropped.dll";  // only in the previous one
  const std::string gone = scratch_ / "Shared\\gone.dll";        // previous, count 1
  const std::string added = scratch_ / "Shared\\added.dll";      // only in this one
  const std::string server = scratch_ / "Com\\quorvex_com_server.dll";
  auto cleanUp = [&] {
    registry_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, productKey);
    for (const std::string& path : {kept, dropped, gone, added, server}) {
      HKEY key;
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_SET_VALUE, &key) == 0) {
        RegDeleteValueA(key, path.c_str());
        RegCloseKey(key);
      }
    }
  };
  cleanUp();
  auto setCount = [&](const std::string& path, uint32_t count) {
    ASSERT_TRUE(registry_test::SetRawValue(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str(), REG_DWORD,
                                           registry_test::Dword(count)));
  };
  setCount(kept, 2);
  setCount(dropped, 3);
  setCount(gone, 1);
  ASSERT_TRUE(registry_test::CreateKey(HKEY_LOCAL_MACHINE, productKey));
  auto setText = [&](const char* name, const std::string& text) {
    ASSERT_TRUE(registry_test::SetRawValue(HKEY_LOCAL_MACHINE, productKey, name, REG_SZ,
                                           std::string(text.c_str(), text.size() + 1)));
  };
  setText("InstallLocation", App());
  setText("SharedFiles",
          "\"" + kept + "\";\"" + dropped + " \";\"" + gone + "^\";\"" + added + "^\"");
  AddAt(kept, "k", DestinationKind::kShared);
  AddAt(added, "a", DestinationKind::kShared, kFileNotRecorded);
  AddAt(server, ReadBytes(BesideTests("quorvex_com_server.dll")), DestinationKind::kComServer);

  InstallTexts texts = Run();
  EXPECT_EQ(texts.errors, "");
  EXPECT_EQ(texts.sharedFiles, "\"" + kept + "\";\"" + added + " \";\"" + server + "^\"");
  struct Count {
    std::string path;
    bool found;
    uint32_t count;
  };
  const Count counts[] = {
      {kept, true, 2},     // 2 - 1 + 1
      {dropped, true, 2},  // 3 - 1
      {gone, false, 0},    // 1: deleted
      {added, true, 1},    // absent (0 lowered: deleted), then 0 + 1
      {server, true, 1},
  };
  for (const Count& c : counts) {
    SCOPED_TRACE(c.path);
    registry_test::RawValue value =
        registry_test::GetRawValue(HKEY_LOCAL_MACHINE, kSharedDlls, c.path.c_str());
    EXPECT_EQ(value.found, c.found);
    if (c.found) {
      EXPECT_EQ(value.type, DWORD(REG_DWORD));
      EXPECT_EQ(value.bytes, registry_test::Dword(c.count));
    }
  }
  cleanUp();
}

// A product without shared files changes no count, and so does not make the SharedDLLs key
// where there is none (Windows has one, a fresh Wine prefix not); when it goes over an
// installation that counted files, it still lowers their counts.
TEST_F(FileLoopTest, WithoutSharedFilesTheSharedDllsKeyIsLeftAlone) {
  plan_.header.productFlags |= FlagMask(ProductFlag::kRegisterUninstall);
  Add("plain.txt", "plain");
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    DWORD values = 0, subkeys = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (values + subkeys > 0) GTEST_SKIP() << "the prefix's SharedDLLs key holds counts";
    ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSharedDlls), ERROR_SUCCESS);
  }
  const std::string productKey = std::string(kUninstallKey) + "\\" + "Quorvex File Rules";
  registry_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, productKey);

  InstallTexts texts = Run();
  EXPECT_EQ(texts.errors, "");
  EXPECT_EQ(texts.sharedFiles, "");
  EXPECT_FALSE(registry_test::KeyExists(HKEY_LOCAL_MACHINE, kSharedDlls));

  // Over an installation that counted a file: its count goes, in a key made for the purpose.
  const std::string earlier = scratch_ / "Shared\\earlier.dll";
  ASSERT_TRUE(registry_test::SetRawValue(HKEY_LOCAL_MACHINE, kSharedDlls, earlier.c_str(),
                                         REG_DWORD, registry_test::Dword(2)));
  ASSERT_TRUE(registry_test::SetRawValue(HKEY_LOCAL_MACHINE, productKey, "SharedFiles", REG_SZ,
                                         Sz("\"" + earlier + "\"")));
  texts = Run();
  EXPECT_EQ(texts.sharedFiles, "");
  EXPECT_EQ(registry_test::GetRawValue(HKEY_LOCAL_MACHINE, kSharedDlls, earlier.c_str()).bytes,
            registry_test::Dword(1));
  registry_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, productKey);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSharedDlls);
}

// A file in use, a folder that cannot be made: each failure has its text, the installation
// goes on, and the program of /r is not started.
TEST_F(FileLoopTest, FilesInUseAndFoldersThatCannotBeMadeAreCollectedAndStopTheLaunch) {
  const pending_renames::RawValue saved = pending_renames::ReadPendingRenames();
  pending_renames::WritePendingRenames({});
  const std::string shared = scratch_ / "Shared\\busy.dll";
  Existing(shared, "running", kOld);
  ASSERT_TRUE(WriteBytes(InApp("held.txt"), "other program's"));
  ASSERT_TRUE(WriteBytes(InApp("blocker"), "a file, not a folder"));
  AddAt(shared, "new busy", DestinationKind::kShared).stamp = kEntry;
  Add("held.txt", "new held");
  Add("blocker\\inside.txt", "never");
  Add("after.txt", "after");
  const std::string launched = scratch_ / "launched.txt";
  const std::string args = "/d:" + Quoted(App()) + " /r:\"cmd.exe /c echo up>`" + launched + "`\"";
  InstallTexts texts;
  {
    Held busy(shared);
    Held held(InApp("held.txt"));
    ASSERT_TRUE(busy.Ok() && held.Ok());
    texts = Run(args, {"6", "1", "7"});  // welcome: Yes; the errors: OK; restart: No
  }
  std::vector<std::string> pending = pending_renames::PendingRenames();
  pending_renames::WritePendingRenames(saved);

  const std::string sharing = SystemErrorText(ERROR_SHARING_VIOLATION);
  // The replacement's temporary copy lies beside the target.
  ASSERT_EQ(pending.size(), 2u);
  EXPECT_EQ(pending[1], "!\\??\\" + shared);
  const std::string temp = pending[0].substr(4);
  EXPECT_EQ(ReadBytes(temp), "new busy");
  char longTemp[MAX_PATH] = "";
  GetLongPathNameA(temp.c_str(), longTemp, sizeof longTemp);
  EXPECT_EQ(std::string(longTemp).substr(0, shared.rfind('\\') + 1),
            shared.substr(0, shared.rfind('\\') + 1));
  DeleteFileA(temp.c_str());
  EXPECT_EQ(texts.log, shared + " is out of date and will be replaced.\r\nEnglish 31 " + shared +
                           "\r\n" + sharing + "\r\n" + shared +
                           " has been successfully registered for replacement.\r\n"
                           "Temporary file is " +
                           temp + "\r\nReboot will be required.\r\n\r\n");
  const std::string folderHead = "English 25 " + InApp("blocker") + "\r\n";
  const std::string heldText = "English 31 " + InApp("held.txt") + "\r\n" + sharing + "\r\n";
  ASSERT_EQ(texts.errors.substr(0, heldText.size()), heldText);
  const std::string folderText = texts.errors.substr(heldText.size());
  EXPECT_EQ(folderText.substr(0, folderHead.size()), folderHead);
  const std::string tail = "\r\nNot installed: " + InApp("blocker\\inside.txt") + "\r\n\r\n";
  ASSERT_GT(folderText.size(), folderHead.size() + tail.size()) << "with the system's text";
  EXPECT_EQ(folderText.substr(folderText.size() - tail.size()), tail);

  EXPECT_EQ(ReadBytes(InApp("after.txt")), "after");
  EXPECT_EQ(ReadBytes(InApp("held.txt")), "other program's");
  EXPECT_EQ(texts.transcript,
            std::vector<std::string>({archive_e2e::WelcomeBox(),
                                      "box\tbackground\t0x00000040\tEnglish 43\tEnglish 42\t1",
                                      "box\tbackground\t0x00000024\tEnglish 20\tEnglish 37\t7"}));
  Sleep(1000);
  EXPECT_FALSE(Exists(launched));
}

TEST_F(FileLoopTest, AFullDriveIsReportedAndTheInstallationGoesOn) {
  full_drive::FullDrive drive('Q', 64);
  if (!drive.Ready())
    GTEST_SKIP() << "a 64 KB tmpfs could not be mounted as Q: (no right to mount)";
  const std::string big = drive / "big.bin";
  AddAt(big, std::string(100 * 1024, 'b'), 0);
  Add("after.txt", "after");
  const std::string launched = scratch_ / "launched.txt";
  InstallTexts texts =
      Run("/a /d:" + Quoted(App()) + " /r:\"cmd.exe /c echo up>`" + launched + "`\"");
  EXPECT_EQ(texts.errors, "English 31 " + big + "\r\n" + SystemErrorText(ERROR_DISK_FULL) + "\r\n");
  EXPECT_FALSE(Exists(big));
  EXPECT_EQ(ReadBytes(InApp("after.txt")), "after");
  Sleep(1000);
  EXPECT_FALSE(Exists(launched));
}

TEST_F(FileLoopTest, AFontIsRegisteredUnderItsTitleAndRecordedUnlessKept) {
  const std::string font = ReadBytes("Z:\\usr\\share\\wine\\fonts\\courier.ttf");
  if (font.empty()) GTEST_SKIP() << "Wine's courier.ttf is not at /usr/share/wine/fonts";
  ASSERT_TRUE(CreateDirectoryA((scratch_ / "Fonts").c_str(), nullptr));
  const std::string recorded = scratch_ / "Fonts\\quorvex-recorded.ttf";
  const std::string kept = scratch_ / "Fonts\\quorvex-kept.ttf";
  const char* titles[] = {"Quorvex Recorded (TrueType)", "Quorvex Kept (TrueType)"};
  auto cleanUp = [&] {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_SET_VALUE, &key) == 0) {
      for (const char* title : titles) RegDeleteValueA(key, title);
      RegCloseKey(key);
    }
  };
  cleanUp();
  AddAt(recorded, font, DestinationKind::kFont).versionOrShortcutName = titles[0];
  AddAt(kept, font, DestinationKind::kFont, kFileNotRecorded).versionOrShortcutName = titles[1];
  InstallTexts texts = Run();
  EXPECT_EQ(texts.errors, "");
  EXPECT_EQ(texts.fonts, std::string("\"") + titles[0] + "\" \"quorvex-recorded.ttf\" ");
  EXPECT_EQ(ReadBytes(recorded), font);
  const char* files[] = {"quorvex-recorded.ttf", "quorvex-kept.ttf"};
  for (int i = 0; i < 2; ++i) {
    registry_test::RawValue value =
        registry_test::GetRawValue(HKEY_LOCAL_MACHINE, kFontsKey, titles[i]);
    EXPECT_TRUE(value.found) << titles[i];
    EXPECT_STREQ(value.bytes.c_str(), files[i]);
  }
  cleanUp();
}

}  // namespace
