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

void ExpectRemovedEntirely(const HandInstall& product) {
  EXPECT_TRUE(WaitForSelfRemoval(product.Uninstaller())) << "self-removal did not finish";
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, product.Entry()));
  EXPECT_FALSE(Exists(product.Uninstaller()));
  EXPECT_FALSE(Exists(product.UninstallDir()));
  EXPECT_FALSE(Exists(product.InstallDir()));
  EXPECT_FALSE(Exists(kSelfRemovalBatch));
}

// Everything the records can name, made by hand, then removed with the quiet command.
class FullRecords {
 public:
  explicit FullRecords(HandInstall& product) : product_(product) {
    const std::string& dir = product.InstallDir();
    witness_ = product.Root() + "\\witness";
    MakeDirs(witness_);
    WriteFile(product / "app.exe");
    WriteFile(product / "Data\\Sub\\deep.txt");
    WriteFile(product / "Data\\read-only.txt");
    SetFileAttributesA((product / "Data\\read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFile(product.Record("Install.LOG"), "\r\nInstallation log for: x\r\n");

    // A desktop folder with a shortcut, and the desktop above it, which must stay.
    desktop_ = ShellFolderPath("Desktop", false);
    desktopFolder_ = desktop_ + "\\Quorvex Test Folder";
    WriteFile(desktopFolder_ + "\\App.lnk", "lnk");
    product.Own(desktopFolder_);
    // The Start-menu folder, two levels deep below Programs.
    programs_ = ShellFolderPath("Programs", false);
    startMenuTop_ = programs_ + "\\Quorvex Test Maker";
    WriteFile(startMenuTop_ + "\\Acme\\App.lnk", "lnk");
    product.Own(startMenuTop_);
    product.Set("ProductStartMenu", "Quorvex Test Maker\\Acme");

    // A class key with a subtree.
    registry_test::CreateKey(HKEY_CLASSES_ROOT, "QuorvexTest.Class\\CLSID\\Sub");
    // A new association with an icon, and one over an older type that gets its values back.
    const std::string backup = product.Name() + kBackupSuffix;
    SetText(HKEY_CLASSES_ROOT, ".qvxa", "", "QuorvexTest.TypeA");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA", "", "Type A");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA\\DefaultIcon", "", dir + "\\app.exe,0");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA\\shell", "", "open");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA\\shell\\open", "", "Open A");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA\\shell\\open\\command", "", dir + "\\app.exe %1");
    SetText(HKEY_CLASSES_ROOT, ".qvxb", "", "QuorvexTest.TypeB");
    SetText(HKEY_CLASSES_ROOT, ".qvxb", backup.c_str(), "QuorvexTest.OldB");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\DefaultIcon", "", "new.ico");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\DefaultIcon", backup.c_str(), "old.ico");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\shell\\edit\\command", "", "new edit");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\shell\\edit\\command", backup.c_str(), "old edit");
    SetText(HKEY_CLASSES_ROOT, "QuorvexTest.OldB\\shell\\open\\command", "", "old open");
    // Keys of a record with only two parts: it is not read, and they stay.
    SetText(HKEY_CLASSES_ROOT, ".qvxc", "", "QuorvexTest.TypeC");

    // The product's own keys: HKLM's maker key holds another product and stays.
    product.Set("ProductRegistry", "QuorvexTest Maker\\Acme App");
    SetText(HKEY_LOCAL_MACHINE, "Software\\QuorvexTest Maker\\Acme App\\Settings", "x", "1");
    SetText(HKEY_LOCAL_MACHINE, "Software\\QuorvexTest Maker\\Other", "y", "2");
    SetText(HKEY_CURRENT_USER, "Software\\QuorvexTest Maker\\Acme App", "z", "3");

    // Shared files: counts 3 and 1, a kept one (blank mark) and a "^" one that is no module.
    shared_ = product.Root() + "\\Shared";
    product.Set("SharedPath", shared_);
    for (const char* file : {"three.dll", "one.dll", "kept.dll", "server.dll"})
      WriteFile(shared_ + "\\" + file);
    SetDword(HKEY_LOCAL_MACHINE, kSharedDllsKey, (shared_ + "\\three.dll").c_str(), 3);
    SetDword(HKEY_LOCAL_MACHINE, kSharedDllsKey, (shared_ + "\\one.dll").c_str(), 1);
    SetDword(HKEY_LOCAL_MACHINE, kSharedDllsKey, (shared_ + "\\kept.dll").c_str(), 1);
    SetDword(HKEY_LOCAL_MACHINE, kSharedDllsKey, (shared_ + "\\server.dll").c_str(), 1);
    product.Set("SharedFiles", "\"" + shared_ + "\\three.dll\";\"" + shared_ + "\\one.dll\";\"" +
                                   shared_ + "\\kept.dll \";\"" + shared_ + "\\server.dll^\"");

    // A font, registered by name and present in the Fonts folder.
    fontFile_ = ShellFolderPath("Fonts", false) + "\\quorvextest.ttf";
    WriteFile(fontFile_, "not really a font");
    product.Own(fontFile_);
    SetText(HKEY_LOCAL_MACHINE, kFontsKey, "Quorvex Test (TrueType)", "quorvextest.ttf");
    product.Set("ProductFonts", "\"Quorvex Test (TrueType)\" \"quorvextest.ttf\" ");

    // The batch runs: the first in the install folder, the second in its drive's root.
    product.Set("UninstallBatch1", "echo first> \"" + witness_ + "\\one.txt\"\r\ncd> \"" +
                                       witness_ + "\\one-dir.txt\"");
    product.Set("UninstallBatch2", "echo %InstallDir%> \"" + witness_ + "\\two.txt\"");

    product.SetFlags(kRegistered | FlagMask(ProductFlag::kUninstallBatch1Hidden) |
                     FlagMask(ProductFlag::kUninstallBatch2Hidden));
    product.WriteData(dir + "\\app.exe\r\n" + dir + "\\Data\\Sub\\deep.txt\r\n~" + dir +
                      "\\Data\\Sub\r\n" + dir + "\\Data\\read-only.txt\r\n~" + dir + "\\Data\r\n" +
                      desktopFolder_ + "\\App.lnk\r\n~" + desktopFolder_ + "\r\n" + startMenuTop_ +
                      "\\Acme\\App.lnk\r\n!QuorvexTest.Class\r\n" + dir + "\\missing.txt\r\n" +
                      StringsSection() +
                      AssociationsSection(".qvxa~!~QuorvexTest.TypeA~!~open\r\n"
                                          ".qvxb~!~QuorvexTest.TypeB~!~edit\r\n"
                                          ".qvxc~!~QuorvexTest.TypeC\r\n"));
  }
  ~FullRecords() {
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
    // The new type went whole, its icon key included; the older one got its values back.
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".qvxa"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "QuorvexTest.TypeA"));
    const std::string backup = product.Name() + kBackupSuffix;
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, ".qvxb", ""), "QuorvexTest.OldB");
    EXPECT_FALSE(HasValue(HKEY_CLASSES_ROOT, ".qvxb", backup.c_str()));
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\DefaultIcon", ""), "old.ico");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\shell\\edit\\command", ""), "old edit");
    EXPECT_FALSE(HasValue(HKEY_CLASSES_ROOT, "QuorvexTest.TypeB\\shell\\edit\\command",
                          backup.c_str()));
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, "QuorvexTest.OldB\\shell\\open\\command", ""), "old open");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, ".qvxc", ""), "QuorvexTest.TypeC");
    // Product keys.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\QuorvexTest Maker\\Acme App"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\QuorvexTest Maker\\Other"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\QuorvexTest Maker"));
    // Shared files.
    registry_test::RawValue three =
        registry_test::GetRawValue(HKEY_LOCAL_MACHINE, kSharedDllsKey, (shared_ + "\\three.dll").c_str());
    EXPECT_EQ(three.bytes, registry_test::Dword(2));
    EXPECT_TRUE(Exists(shared_ + "\\three.dll"));
    for (const char* gone : {"one.dll", "kept.dll", "server.dll"})
      EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kSharedDllsKey, (shared_ + "\\" + gone).c_str())) << gone;
    EXPECT_FALSE(Exists(shared_ + "\\one.dll"));
    EXPECT_TRUE(Exists(shared_ + "\\kept.dll"));
    EXPECT_FALSE(Exists(shared_ + "\\server.dll"));
    // The font.
    EXPECT_FALSE(Exists(fontFile_));
    EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kFontsKey, "Quorvex Test (TrueType)"));
    // The batch runs: the first in the install folder, the second in the drive's root.
    EXPECT_EQ(ReadBytes(witness_ + "\\one.txt"), "first\r\n");
    EXPECT_EQ(ReadBytes(witness_ + "\\one-dir.txt"), product.InstallDir() + "\r\n");
    EXPECT_EQ(ReadBytes(witness_ + "\\two.txt"), "C:\\\r\n");
  }

 private:
  HandInstall& product_;
  std::string witness_, desktop_, desktopFolder_, programs_, startMenuTop_, shared_, fontFile_;
};

TEST(UninstallEndToEnd, TheQuietCommandRemovesEverythingTheRecordsName) {
  HandInstall product("Acme App");
  FullRecords records(product);
  QuorvexRun run = RunCommandLine(product.Quiet());
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.transcript, std::vector<std::string>());
  records.ExpectRemoved();
}

}  // namespace
