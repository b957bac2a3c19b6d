// The uninstaller end to end, from records written by hand in the documented formats: the real
// quorvex.exe, copied as the product's uninstaller, started with the Uninstall entry's command
// as Windows starts it, removing files, folders, keys, associations, fonts, shared counts and
// the PATH line under wine64, and then itself through c:\delunins.bat.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "archive/product_flags.h"
#include "tests/e2e/prefix_snapshot.h"
#include "tests/e2e/uninstall_e2e_support.h"

namespace {

using file_test::Exists;
using file_test::ReadBytes;
using registry_test::KeyExists;
using namespace uninstall_e2e;

constexpr uint64_t kRegistered = FlagMask(ProductFlag::kRegisterUninstall);
constexpr char kBackupSuffix[] = " Backup";
constexpr char kAutoexec[] = "C:\\autoexec.bat";

void ExpectRemovedEntirely(const HandInstall& product) {
  EXPECT_TRUE(WaitForSelfRemoval(product.Uninstaller())) << "self-removal did not finish";
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, product.Entry()));
  EXPECT_FALSE(Exists(product.Uninstaller()));
  EXPECT_FALSE(Exists(product.UninstallDir()));
  EXPECT_FALSE(Exists(product.InstallDir()));
  EXPECT_FALSE(Exists(kSelfRemovalBatch));
}

// Everything the records can name, made by hand.
class FullRecords {
 public:
  // With foreign, also what was there before the installation and stays (a type it took over,
  // another product's key, a count of other users, a kept shared file, the start-up file's other
  // lines) and batch runs that leave witness files; without it everything is the product's own.
  FullRecords(HandInstall& product, bool foreign) : product_(product), foreign_(foreign) {
    const std::string& dir = product.InstallDir();
    const std::string backup = product.Name() + kBackupSuffix;
    product.Register();
    WriteFile(product / "app.exe");
    WriteFile(product / "Data\\Sub\\deep.txt");
    WriteFile(product / "Data\\read-only.txt");
    SetFileAttributesA((product / "Data\\read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFile(product.Record("Install.LOG"), "\r\nInstallation log for: x\r\n");

    // A desktop folder with a shortcut, below the desktop, which must stay.
    desktop_ = ShellFolderPath("Desktop", false);
    desktopFolder_ = desktop_ + "\\Quorvex Test Folder";
    WriteFile(desktopFolder_ + "\\App.lnk", "lnk");
    product.Own(desktopFolder_);
    // The Start-menu folder, two levels deep below Programs, which must stay.
    programs_ = ShellFolderPath("Programs", false);
    startMenuTop_ = programs_ + "\\Quorvex Test Maker";
    WriteFile(startMenuTop_ + "\\Acme\\App.lnk", "lnk");
    product.Own(startMenuTop_);
    product.Set("ProductStartMenu", "Quorvex Test Maker\\Acme");

    // A class key with a subtree, and a new association with an icon.
    registry_test::CreateKey(HKEY_CLASSES_ROOT, "QuorvexTest.Class\\CLSID\\Sub");
    SetText(HKEY_CLASSES_ROOT, ".qvxa", "", "QuorvexTest.TypeA");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA", "", "Type A");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA\\DefaultIcon", "", dir + "\\app.exe,0");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA\\shell", "", "open");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA\\shell\\open", "", "Open A");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA\\shell\\open\\command", "", dir + "\\app.exe %1");
    std::string associations = ".qvxa~!~QuorvexTest.TypeA~!~open\r\n";

    // The product's own keys under both roots.
    product.Set("ProductRegistry", "QuorvexTest Maker\\Acme App");
    SetText(HKEY_LOCAL_MACHINE, "Software\\QuorvexTest Maker\\Acme App\\Settings", "x", "1");
    SetText(HKEY_CURRENT_USER, "Software\\QuorvexTest Maker\\Acme App", "z", "3");

    // Shared files: one used only by this product, one "^" that is no module.
    shared_ = product.Root() + "\\Shared";
    product.Set("SharedPath", shared_);
    for (const char* file : {"one.dll", "server.dll"}) AddShared(file, 1);
    std::string sharedFiles = "\"" + shared_ + "\\one.dll\";\"" + shared_ + "\\server.dll^\"";

    // A font, registered by name and present in the Fonts folder.
    fontFile_ = ShellFolderPath("Fonts", false) + "\\quorvextest.ttf";
    WriteFile(fontFile_, "not really a font");
    product.Own(fontFile_);
    SetText(HKEY_LOCAL_MACHINE, kFontsKey, "Quorvex Test (TrueType)", "quorvextest.ttf");
    product.Set("ProductFonts", "\"Quorvex Test (TrueType)\" \"quorvextest.ttf\" ");

    uint64_t flags = kRegistered | FlagMask(ProductFlag::kAddToPath);
    // The PATH line among the start-up file's own lines.
    autoexecBefore_ = ReadBytes(kAutoexec);
    std::string others = autoexecBefore_ == "<missing>" ? "" : autoexecBefore_;
    WriteFile(kAutoexec, others + "PATH=%PATH%;" + ShortPathOf(dir) + "\r\n");
    if (foreign) {
      // An older type that the installation took over: it gets its values back.
      SetText(HKEY_CLASSES_ROOT, ".qvxb", "", "QuorvexTest.TypeB");
      SetText(HKEY_CLASSES_ROOT, ".qvxb", backup.c_str(), "QuorvexTest.OldB");
      SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\DefaultIcon", "", "new.ico");
      SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\DefaultIcon", backup.c_str(), "old.ico");
      SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\shell\\edit\\command", "", "new edit");
      SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\shell\\edit\\command", backup.c_str(),
              "old edit");
      SetText(HKEY_CLASSES_ROOT, "QuorvexTest.OldB\\shell\\open\\command", "", "old open");
      // Keys of a record with only two parts: it is not read, and they stay.
      SetText(HKEY_CLASSES_ROOT, ".qvxc", "", "QuorvexTest.TypeC");
      associations += ".qvxb~!~QuorvexTest.TypeB~!~edit\r\n.qvxc~!~QuorvexTest.TypeC\r\n";
      // The maker's key under HKLM holds another product and stays.
      SetText(HKEY_LOCAL_MACHINE, "Software\\QuorvexTest Maker\\Other", "y", "2");
      // A count of 3 and a file kept whatever its count (the blank mark).
      AddShared("three.dll", 3);
      AddShared("kept.dll", 1);
      sharedFiles += ";\"" + shared_ + "\\three.dll\";\"" + shared_ + "\\kept.dll \"";
      WriteFile(kAutoexec, "REM before\r\nPATH=%PATH%;" + ShortPathOf(dir) + "\r\nREM after\r\n");
      // The batch runs: the first in the install folder, the second in its drive's root.
      witness_ = product.Root() + "\\witness";
      MakeDirs(witness_);
      product.Set("UninstallBatch1", "echo first> \"" + witness_ + "\\one.txt\"\r\ncd> \"" +
                                         witness_ + "\\one-dir.txt\"");
      product.Set("UninstallBatch2", "echo %InstallDir%> \"" + witness_ + "\\two.txt\"");
      flags |= FlagMask(ProductFlag::kUninstallBatch1Hidden) |
               FlagMask(ProductFlag::kUninstallBatch2Hidden);
    }
    product.Set("SharedFiles", sharedFiles);
    product.SetFlags(flags);
    product.WriteData(dir + "\\app.exe\r\n" + dir + "\\Data\\Sub\\deep.txt\r\n~" + dir +
                      "\\Data\\Sub\r\n" + dir + "\\Data\\read-only.txt\r\n~" + dir + "\\Data\r\n" +
                      desktopFolder_ + "\\App.lnk\r\n~" + desktopFolder_ + "\r\n" + startMenuTop_ +
                      "\\Acme\\App.lnk\r\n!QuorvexTest.Class\r\n" + dir + "\\missing.txt\r\n" +
                      StringsSection() + AssociationsSection(associations));
  }
  ~FullRecords() {
    if (autoexecBefore_ == "<missing>")
      DeleteFileA(kAutoexec);
    else
      file_test::WriteBytes(kAutoexec, autoexecBefore_);
    for (const char* key : {".qvxa", ".qvxb", ".qvxc", "QuorvexTest.TypeA", "QuorvexTest.TypeB",
                            "QuorvexTest.OldB", "QuorvexTest.Class"})
      registry_test::DeleteKeyTree(HKEY_CLASSES_ROOT, key);
    registry_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\QuorvexTest Maker");
    registry_test::DeleteKeyTree(HKEY_CURRENT_USER, "Software\\QuorvexTest Maker");
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, KEY_ALL_ACCESS, &key) == 0) {
      for (const char* file : {"three.dll", "one.dll", "kept.dll", "server.dll"})
        RegDeleteValueA(key, (shared_ + "\\" + file).c_str());
      RegCloseKey(key);
    }
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_ALL_ACCESS, &key) == 0) {
      RegDeleteValueA(key, "Quorvex Test (TrueType)");
      RegCloseKey(key);
    }
  }

  void ExpectRemoved() const {
    const HandInstall& product = product_;
    ExpectRemovedEntirely(product);
    // Folders: the recorded desktop folder went, the desktop above it stayed; the Start-menu
    // folder went with its parent, the Programs folder stayed.
    EXPECT_FALSE(Exists(desktopFolder_));
    EXPECT_TRUE(Exists(desktop_));
    EXPECT_FALSE(Exists(startMenuTop_));
    EXPECT_TRUE(Exists(programs_));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "QuorvexTest.Class"));
    // The new type went whole, its icon key included.
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".qvxa"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\QuorvexTest Maker\\Acme App"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\QuorvexTest Maker"));
    for (const char* gone : {"one.dll", "server.dll"}) {
      EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kSharedDllsKey, (shared_ + "\\" + gone).c_str()))
          << gone;
      EXPECT_FALSE(Exists(shared_ + "\\" + gone)) << gone;
    }
    EXPECT_FALSE(Exists(fontFile_));
    EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kFontsKey, "Quorvex Test (TrueType)"));
    if (!foreign_) return;
    const std::string backup = product.Name() + kBackupSuffix;
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, ".qvxb", ""), "QuorvexTest.OldB");
    EXPECT_FALSE(HasValue(HKEY_CLASSES_ROOT, ".qvxb", backup.c_str()));
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\DefaultIcon", ""), "old.ico");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\shell\\edit\\command", ""), "old edit");
    EXPECT_FALSE(
        HasValue(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\shell\\edit\\command", backup.c_str()));
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, "QuorvexTest.OldB\\shell\\open\\command", ""), "old open");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, ".qvxc", ""), "QuorvexTest.TypeC");
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\QuorvexTest Maker\\Other"));
    EXPECT_EQ(registry_test::GetRawValue(HKEY_LOCAL_MACHINE, kSharedDllsKey,
                                         (shared_ + "\\three.dll").c_str())
                  .bytes,
              registry_test::Dword(2));
    EXPECT_TRUE(Exists(shared_ + "\\three.dll"));
    EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kSharedDllsKey, (shared_ + "\\kept.dll").c_str()));
    EXPECT_TRUE(Exists(shared_ + "\\kept.dll"));
    EXPECT_EQ(ReadBytes(witness_ + "\\one.txt"), "first\r\n");
    EXPECT_EQ(ReadBytes(witness_ + "\\one-dir.txt"), product.InstallDir() + "\r\n");
    EXPECT_EQ(ReadBytes(witness_ + "\\two.txt"), "C:\\\r\n");
    EXPECT_EQ(ReadBytes(kAutoexec), "REM before\r\nREM after\r\n");
  }

 private:
  void AddShared(const char* file, uint32_t count) {
    WriteFile(shared_ + "\\" + file);
    SetDword(HKEY_LOCAL_MACHINE, kSharedDllsKey, (shared_ + "\\" + file).c_str(), count);
  }

  HandInstall& product_;
  bool foreign_;
  std::string autoexecBefore_;
  std::string witness_, desktop_, desktopFolder_, programs_, startMenuTop_, shared_, fontFile_;
};

TEST(UninstallEndToEnd, TheQuietCommandRemovesEverythingTheRecordsName) {
  HandInstall product("Acme App");
  FullRecords records(product, true);
  QuorvexRun run = RunCommandLine(product.Quiet());
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.transcript, std::vector<std::string>());
  records.ExpectRemoved();
}

// Entries of the prefix that change without the uninstaller, with the reason for each.
const std::vector<VolatileEntry> kWineVolatile = {
    // Wine's display driver registers the adapter of a desktop when the first window of a
    // session opens on it, under a new GUID each time; the uninstaller's windows may be first.
    {"key HKLM\\System\\CurrentControlSet\\Control\\Video\\", "Wine's per-session display adapter"},
    {"value HKLM\\System\\CurrentControlSet\\Control\\Video\\",
     "Wine's per-session display adapter"},
};

// The whole prefix before the installation and after the removal: equal apart from Wine's
// own volatile entries. The installation here is made by hand from the documented formats.
TEST(UninstallEndToEnd, AHandMadeInstallationLeavesNothingBehind) {
  HandInstall product("Acme App");
  // The start-up file is the system's own (the 9x family always has one): an installation that
  // finds none creates it, and its removal takes out its line, not the file.
  const std::string autoexec = ReadBytes(kAutoexec);
  if (autoexec == "<missing>") WriteFile(kAutoexec, "REM the system's own line\r\n");
  PrefixSnapshot before = TakePrefixSnapshot();
  {
    FullRecords records(product, false);
    QuorvexRun run = RunCommandLine(product.Quiet());
    EXPECT_EQ(run.exitCode, 1u);
    records.ExpectRemoved();
    PrefixSnapshot after = TakePrefixSnapshot();
    std::vector<std::string> differences = SnapshotDifferences(before, after, kWineVolatile);
    std::string shown;
    for (const std::string& each : differences) shown += each + "\n";
    EXPECT_TRUE(differences.empty()) << shown;
  }
  if (autoexec == "<missing>") DeleteFileA(kAutoexec);
}

// Scripted answers: Yes to the question, No to the font and to the shared file, which stay.
TEST(UninstallEndToEnd, TheQuestionsAreAskedAndNoKeepsTheFontAndTheSharedFile) {
  HandInstall product("Quorvex Ask");
  product.Register();
  WriteFile(product / "app.exe");
  const std::string font = ShellFolderPath("Fonts", false) + "\\quorvexask.ttf";
  WriteFile(font, "font");
  product.Own(font);
  SetText(HKEY_LOCAL_MACHINE, kFontsKey, "Quorvex Ask (TrueType)", "quorvexask.ttf");
  product.Set("ProductFonts", "\"Quorvex Ask (TrueType)\" \"quorvexask.ttf\" ");
  const std::string shared = product.Root() + "\\Shared\\ask.dll";
  WriteFile(shared);
  SetDword(HKEY_LOCAL_MACHINE, kSharedDllsKey, shared.c_str(), 1);
  product.Set("SharedFiles", "\"" + shared + "\"");
  product.SetFlags(kRegistered | FlagMask(ProductFlag::kAskBeforeRemovingFonts) |
                   FlagMask(ProductFlag::kAskBeforeRemovingSharedFiles));
  product.WriteData(product / "app.exe\r\n" + StringsSection({{53, "Remove <product>?"},
                                                              {55, "Removal"},
                                                              {56, "Remove the font %s?"},
                                                              {57, "Fonts"},
                                                              {59, "Remove %s?"},
                                                              {35, "Shared"},
                                                              {34, "All gone."},
                                                              {15, "Done"}}));
  QuorvexRun run = RunCommandLine(product.Interactive(), {"6", "7", "7"});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.transcript,
            std::vector<std::string>({
                Box("background", 0x24, "Removal", "Remove Quorvex Ask?", 6),
                Box("progress", 0x24, "Fonts", "Remove the font Quorvex Ask (TrueType)?", 7),
                Box("progress", 0x24, "Shared", "Remove " + shared + "?", 7),
                Box("background", 0x40, "Done", "All gone.", 1),
            }));
  ExpectRemovedEntirely(product);
  EXPECT_TRUE(Exists(font));
  EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kFontsKey, "Quorvex Ask (TrueType)"), "quorvexask.ttf");
  EXPECT_TRUE(Exists(shared));
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kSharedDllsKey, shared.c_str()));
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_ALL_ACCESS, &key) == 0) {
    RegDeleteValueA(key, "Quorvex Ask (TrueType)");
    RegCloseKey(key);
  }
}

// A file held open without sharing by another process (this test program) cannot be deleted:
// its failure line, the new Uninstall.DAT listing it, the entry and the second batch left for
// another run, no self-removal. Once it is released a second run removes the rest.
TEST(UninstallEndToEnd, AFileInUseKeepsTheRecordsForASecondRun) {
  HandInstall product("Quorvex Busy");
  product.Register();
  const std::string busy = product / "busy.exe";
  WriteFile(busy);
  WriteFile(product / "Data\\other.txt");
  WriteFile(product.Record("Install.LOG"), "log");
  const std::string witness = product.Root() + "\\two.txt";
  product.Set("UninstallBatch2", "echo done> \"" + witness + "\"");
  const std::vector<std::pair<int, std::string>> texts = {
      {10, "Not removed:\r\n%s"}, {58, "Cannot remove"}, {20, "Setup"}};
  const std::string associations = ".qvxbusy~!~QuorvexTest.Busy~!~open\r\n";
  product.WriteData(busy + "\r\n" + product / "Data\\other.txt\r\n~" + product / "Data\r\n" +
                    StringsSection(texts) + AssociationsSection(associations));

  HANDLE holder = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  QuorvexRun run = RunCommandLine(product.Interactive(), {"6"});
  CloseHandle(holder);
  EXPECT_EQ(run.exitCode, 1u);
  ASSERT_EQ(run.transcript.size(), 2u);
  EXPECT_EQ(run.transcript[1],
            Box("background", 0x30, "Setup", "Not removed:\r\nCannot remove " + busy + "\r\n", 1));
  EXPECT_EQ(ReadBytes(product.Record("Uninstall.DAT")),
            busy + "\r\n" + StringsSection(texts) + AssociationsSection(associations));
  EXPECT_FALSE(Exists(product / "Data"));
  EXPECT_FALSE(Exists(product.Record("Install.LOG")));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, product.Entry()));
  EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, product.Entry(), "UninstallBatch2"));
  EXPECT_FALSE(Exists(witness));
  EXPECT_TRUE(Exists(product.Uninstaller()));
  EXPECT_FALSE(Exists(kSelfRemovalBatch));

  QuorvexRun again = RunCommandLine(product.Quiet());
  EXPECT_EQ(again.exitCode, 1u);
  EXPECT_EQ(again.transcript, std::vector<std::string>());
  ExpectRemovedEntirely(product);
  EXPECT_EQ(ReadBytes(witness), "done\r\n");
}

// Bit 10: nothing is recorded one by one; the whole install tree goes, files the user added
// and read-only ones included, and the uninstaller's folder with the uninstaller after it.
TEST(UninstallEndToEnd, TheWholeTreeGoesUnderBitTen) {
  HandInstall product("Quorvex Tree");
  product.Register();
  WriteFile(product / "a.txt");
  WriteFile(product / "sub\\deeper\\b.txt");
  SetFileAttributesA((product / "sub\\deeper\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteFile(product / "user's own.txt");
  product.SetFlags(kRegistered | FlagMask(ProductFlag::kRemoveWholeInstallDir));
  product.WriteData(StringsSection());
  QuorvexRun run = RunCommandLine(product.Quiet());
  EXPECT_EQ(run.exitCode, 1u);
  ExpectRemovedEntirely(product);
}

// Without bit 10 a file the user added keeps the install folder; the batch file still goes.
TEST(UninstallEndToEnd, AFileTheUserAddedKeepsTheInstallFolder) {
  HandInstall product("Quorvex Added");
  product.Register();
  WriteFile(product / "user's own.txt");
  product.WriteData(StringsSection());
  RunCommandLine(product.Quiet());
  EXPECT_TRUE(WaitForSelfRemoval(product.Uninstaller()));
  EXPECT_FALSE(Exists(product.UninstallDir()));
  EXPECT_TRUE(Exists(product / "user's own.txt"));
  EXPECT_FALSE(Exists(kSelfRemovalBatch));
}

std::string ProgramFilesDir() {
  return Text(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
              "ProgramFilesDir");
}

std::string WindowsDir() {
  char dir[MAX_PATH];
  UINT n = GetWindowsDirectoryA(dir, sizeof dir);
  return std::string(dir, n);
}

std::string Upper(std::string text) {
  CharUpperBuffA(&text[0], DWORD(text.size()));
  return text;
}

// Under bit 10 an install location that is the Program Files or the Windows directory, in any
// spelling, is never deleted; a file in it survives.
TEST(UninstallEndToEnd, TheWholeTreeNeverTakesProgramFilesOrWindows) {
  const std::string programFiles = ProgramFilesDir();
  const std::string windows = WindowsDir();
  ASSERT_FALSE(programFiles.empty());
  const struct {
    const char* name;
    std::string location;
    std::string canary;
  } cases[] = {
      {"Program Files", programFiles, programFiles},
      {"Program Files with a backslash, upper case", Upper(programFiles) + "\\", programFiles},
      {"Program Files short", ShortPathOf(programFiles), programFiles},
      {"Program Files with a dot", programFiles + "\\.", programFiles},
      {"Windows", windows, windows},
      {"Windows through its parent", windows + "\\system32\\..", windows},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HandInstall product("Quorvex Guard");
    product.Register();
    const std::string canary = c.canary + "\\quorvex-canary.txt";
    WriteFile(canary, "stay");
    product.Own(canary);
    product.Set("InstallLocation", c.location);
    product.Set("UninstallSubdir", "");
    product.SetFlags(kRegistered | FlagMask(ProductFlag::kRemoveWholeInstallDir));
    const QuorvexRun run = RunCommandLine(product.Quiet());
    EXPECT_EQ(run.exitCode, 1u) << run.transcript.size() << " boxes shown";
    EXPECT_TRUE(WaitForSelfRemoval(product.Uninstaller()));
    EXPECT_EQ(ReadBytes(canary), "stay");
    EXPECT_TRUE(Exists(c.canary + "\\system32") || Exists(c.canary + "\\Common Files"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, product.Entry()));
  }
}

// No Uninstall entry for the name: the no-product box and nothing else, in automatic mode not
// even that; a name with an empty part never reaches the Uninstall key itself.
TEST(UninstallEndToEnd, ANameThatIsNotInstalledGetsItsBoxOrNothing) {
  const struct {
    const char* arguments;
    std::vector<std::string> transcript;
  } cases[] = {
      {" /u:\"Quorvex Nobody\"",
       {Box("none", 0x10, "Error", "No product named 'Quorvex Nobody' is installed.", 1)}},
      {" /a /u:\"Quorvex Nobody\"", {}},
      {" /u:\"Quorvex Nobody\\\"",
       {Box("none", 0x10, "Error", "No product named 'Quorvex Nobody\\' is installed.", 1)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    QuorvexRun run = RunCommandLine("\"" + QuorvexPath() + "\"" + c.arguments);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.transcript, c.transcript);
  }
}

// An entry without a usable install location: its box, and nothing is touched.
TEST(UninstallEndToEnd, AnEntryWithoutInstallLocationTouchesNothing) {
  for (const char* location : {"", " \t"}) {
    SCOPED_TRACE(testing::Message() << "location '" << location << "'");
    HandInstall product("Quorvex Corrupt");
    product.Register();
    WriteFile(product / "app.exe");
    product.Set("DisplayName", "Corrupt Product");
    product.WriteData(product / "app.exe\r\n" + StringsSection());
    if (*location == '\0') {
      HKEY key;
      ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, product.Entry().c_str(), 0, KEY_ALL_ACCESS, &key),
                0);
      RegDeleteValueA(key, "InstallLocation");
      RegCloseKey(key);
    } else {
      product.Set("InstallLocation", location);
    }
    QuorvexRun run = RunCommandLine(product.Interactive());
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.transcript,
              std::vector<std::string>({Box("none", 0x10, "Error",
                                            "The uninstall information for Corrupt Product is "
                                            "corrupt.\r\n\r\nThe uninstallation cannot be "
                                            "performed.",
                                            1)}));
    EXPECT_TRUE(Exists(product / "app.exe"));
    EXPECT_TRUE(Exists(product.Record("Uninstall.DAT")));
    EXPECT_TRUE(Exists(product.Uninstaller()));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, product.Entry()));
    EXPECT_FALSE(Exists(kSelfRemovalBatch));
  }
}

// Damaged Uninstall.DAT files: each is read as far as it can be, and the removal completes.
TEST(UninstallEndToEnd, ADamagedUninstallDataIsReadAsFarAsItGoes) {
  char cwd[MAX_PATH];
  GetCurrentDirectoryA(sizeof cwd, cwd);
  const struct {
    const char* name;
    bool write;
    std::string data;  // "<dir>" stands for the install folder
    std::vector<std::string> boxes;
  } cases[] = {
      {"missing",
       false,
       "",
       {Box("background", 0x24, "", "", 6), Box("background", 0x40, "", "", 1)}},
      {"without [Strings]: every line is a file-list line",
       true,
       "<dir>\\a.txt\r\n~10\r\nErrors\r\n~53\r\nQuestion\r\n",
       {Box("background", 0x24, "", "", 6), Box("background", 0x40, "", "", 1)}},
      {"ids 0 and 1001 go with their texts",
       true,
       "<dir>\\a.txt\r\n\r\n\r\n[Strings]\r\n~53\r\nQuestion\r\n~0\r\nZero\r\n~1001\r\nBig\r\n"
       "~55\r\nTitle\r\nsecond line\r\n~34\r\nGone\r\n~15\r\nDone",
       {Box("background", 0x24, "Title\r\nsecond line", "Question", 6),
        Box("background", 0x40, "Done", "Gone", 1)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HandInstall product("Quorvex Damaged");
    product.Register();
    WriteFile(product / "a.txt");
    std::string data = c.data;
    for (size_t at; (at = data.find("<dir>")) != std::string::npos;)
      data.replace(at, 5, product.InstallDir());
    if (c.write) product.WriteData(data);
    // Relative lines would name files in the current directory: they are never taken.
    const std::string here = product.Root() + "\\cwd";
    WriteFile(here + "\\Errors", "stay");
    WriteFile(here + "\\Question", "stay");
    SetCurrentDirectoryA(here.c_str());
    QuorvexRun run = RunCommandLine(product.Interactive(), {"6"});
    SetCurrentDirectoryA(cwd);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.transcript, c.boxes);
    EXPECT_EQ(ReadBytes(here + "\\Errors"), "stay");
    EXPECT_EQ(ReadBytes(here + "\\Question"), "stay");
    EXPECT_NE(Exists(product / "a.txt"), c.write);
    EXPECT_TRUE(WaitForSelfRemoval(product.Uninstaller()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, product.Entry()));
  }
}

}  // namespace
