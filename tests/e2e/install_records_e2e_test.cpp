// What an installation leaves behind, read back from a real installation under Wine: the
// Uninstall entry through the registry API with each value's type, the association keys with
// their backups, the shortcuts loaded back through the shell's link object, Uninstall.DAT and
// Install.LOG byte for byte (the date line by its format).
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <sddl.h>
#include <shlobj.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/e2e/archive_e2e_support.h"
#include "tests/e2e/full_package_support.h"
#include "tests/e2e/quorvex_process.h"
#include "tests/win32/registry_test_support.h"

namespace {

using namespace archive_e2e;
using registry_test::GetRawValue;
using registry_test::RawValue;
namespace fp = full_package;

constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

std::string ShellFolderOf(const char* name) {
  RawValue value = GetRawValue(HKEY_CURRENT_USER, kShellFolders, name);
  return value.found ? std::string(value.bytes.c_str()) : std::string();
}

std::string StringsSection() {
  std::string text = "\r\n\r\n[Strings]\r\n";
  for (int id : {10, 15, 20, 30, 34, 35, 39, 49, 53, 55, 56, 57, 58, 59, 67, 68, 69, 70, 71})
    text += "~" + std::to_string(id) + "\r\nEnglish " + std::to_string(id) + "\r\n";
  return text;
}

struct Link {
  std::string target, arguments, directory, icon;
  int iconIndex = -1;
};

// A .LNK file loaded back with the shell's own link object.
bool LoadLink(const std::string& path, Link& out) {
  if (FAILED(CoInitialize(nullptr))) return false;
  bool ok = false;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      WCHAR wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        char text[1024] = "";
        link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
        out.target = text;
        text[0] = 0;
        link->GetArguments(text, sizeof text);
        out.arguments = text;
        text[0] = 0;
        link->GetWorkingDirectory(text, sizeof text);
        out.directory = text;
        text[0] = 0;
        link->GetIconLocation(text, sizeof text, &out.iconIndex);
        out.icon = text;
        ok = true;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return ok;
}

// Cuts the "Install date: " line's value out of a log section, which must match the format
// "d-M-yy h:ii:ssap" (5-Mar-2003 2:07:09p).
std::string WithoutDates(const std::string& log, int* dates) {
  static const std::regex date(
      "Install date: ([0-9]{1,2}-[A-Z][a-z]{2}-[0-9]{4} "
      "[0-9]{1,2}:[0-9]{2}:[0-9]{2}[ap])\r\n");
  *dates = 0;
  std::string out;
  auto begin = std::sregex_iterator(log.begin(), log.end(), date);
  size_t last = 0;
  for (auto it = begin; it != std::sregex_iterator(); ++it) {
    out += log.substr(last, size_t(it->position())) + "Install date: <date>\r\n";
    last = size_t(it->position() + it->length());
    ++*dates;
  }
  return out + log.substr(last);
}

std::string WindowsDir() {
  char dir[MAX_PATH] = "";
  GetWindowsDirectoryA(dir, sizeof dir);
  return dir;
}

std::string SystemDir() {
  char dir[MAX_PATH] = "";
  GetSystemDirectoryA(dir, sizeof dir);
  return dir;
}

class InstallRecordsTest : public testing::Test {
 protected:
  void SetUp() override {
    fp::RemoveRegistryTraces();
    fp::RemoveSystemTraces();
    RemoveShortcuts();
    autoexec_ = file_test::ReadBytes(Autoexec());
    hadAutoexec_ = file_test::Exists(Autoexec());
    dir_ = scratch_ / "Full Product";
    uninstallDir_ = dir_ + "\\" + fp::kUninstallSubdir;
    desktop_ = ShellFolderOf("Desktop");
    programs_ = ShellFolderOf("Programs");
    startup_ = ShellFolderOf("Startup");
  }
  void TearDown() override {
    fp::RemoveRegistryTraces();
    fp::RemoveSystemTraces();
    RemoveShortcuts();
    if (hadAutoexec_) {
      file_test::WriteBytes(Autoexec(), autoexec_);
    } else {
      DeleteFileA(Autoexec().c_str());
    }
  }

  static std::string Autoexec() { return "C:\\autoexec.bat"; }

  static void RemoveShortcuts() {
    file_test::RemoveTree(ShellFolderOf("Desktop") + "\\" + fp::kDesktopFolder);
    file_test::RemoveTree(ShellFolderOf("Programs") + "\\Quorvex Tests");
    DeleteFileA((ShellFolderOf("Startup") + "\\Full Helper.LNK").c_str());
    DeleteFileA((ShellFolderOf("Desktop") + "\\English 33.LNK").c_str());
  }

  QuorvexRun Install(const InstallerPlan& plan, const std::string& extra = "",
                     const std::vector<std::string>& answers = {}) {
    BuiltInstaller built;
    String error;
    EXPECT_TRUE(BuildInstaller(EngineImage(), plan, built, error)) << error.CStr();
    const std::string setup = scratch_ / "setup.exe";
    EXPECT_TRUE(file_test::WriteBytes(setup, Str(built.image)));
    std::string line = Quoted(setup) + " " + extra + " /d:\"" + dir_ + "\"";
    QuorvexRun run = RunProgram(setup, line, answers);
    EXPECT_EQ(run.exitCode, 1u);
    return run;
  }

  std::string Key() const { return fp::kUninstallKey; }
  RawValue Value(const char* name) const { return GetRawValue(HKEY_LOCAL_MACHINE, Key(), name); }
  void ExpectValue(const char* name, DWORD type, const std::string& bytes) const {
    SCOPED_TRACE(name);
    RawValue value = Value(name);
    EXPECT_TRUE(value.found);
    EXPECT_EQ(value.type, type);
    EXPECT_EQ(value.bytes, bytes);
  }
  void ExpectClassValue(const std::string& key, const char* name, const std::string& text) const {
    SCOPED_TRACE(key + " " + name);
    RawValue value = GetRawValue(HKEY_CLASSES_ROOT, key, name);
    EXPECT_TRUE(value.found);
    EXPECT_EQ(value.type, DWORD(REG_SZ));
    EXPECT_EQ(value.bytes, Sz(text));
  }

  std::string DeskFolder() const { return desktop_ + "\\" + fp::kDesktopFolder; }
  std::string MenuFolder() const { return programs_ + "\\" + fp::kStartMenu; }
  std::string Uninstaller() const { return uninstallDir_ + "\\" + fp::kUninstallerName; }

  // Installs the full package (without its files: only what the records steps make) in
  // automatic mode and compares every record.
  void CheckFullPackage(bool withFiles);

  file_test::ScratchDir scratch_;
  std::string dir_, uninstallDir_, desktop_, programs_, startup_;
  std::string autoexec_;
  bool hadAutoexec_ = false;
};

// What the file loop records for the full package (withFiles), then what the shortcuts and the
// saved picture add, in the order they are made.
std::string ExpectedFileList(bool withFiles, const std::string& dir,
                             const std::string& uninstallDir, const std::string& deskFolder,
                             const std::string& menuFolder, const std::string& startup) {
  // The icon goes to the uninstaller's folder, which exists by then and is not recorded.
  std::string files =
      withFiles ? dir + "\\app.exe\r\n" + uninstallDir + "\\full.ico\r\n" + dir + "\\helper.exe\r\n"
                : std::string();
  files += "~" + deskFolder + "\r\n";
  if (withFiles) {
    files += deskFolder + "\\Full App.LNK\r\n" + menuFolder + "\\Full App.LNK\r\n" + startup +
             "\\Full Helper.LNK\r\n";
  }
  return files + deskFolder + "\\English 33.LNK\r\n" + menuFolder + "\\English 33.LNK\r\n" +
         uninstallDir + "\\English 33.LNK\r\n" + uninstallDir + "\\Installer Background.BMP\r\n";
}

void InstallRecordsTest::CheckFullPackage(bool withFiles) {
  fp::PrepareExistingAssociations();
  InstallerPlan plan;
  const fp::Fixtures fixtures = fp::FontAndComServer();
  fp::FillFullPackage(plan, scratch_.Path(), fixtures);
  if (!withFiles) plan.files = Vector<FileEntry>();
  QuorvexRun run = Install(plan, "/a");
  EXPECT_EQ(run.transcript, std::vector<std::string>());

  // Uninstall.DAT.
  const std::string associations =
      std::string("\r\n\r\n[Associations]\r\n") + fp::kOwnExtension + "~!~" + fp::kOwnType +
      "~!~open\r\n" + fp::kExistingExtension + "~!~" + fp::kExistingType + "~!~fullview\r\n" +
      fp::kReplacedExtension + "~!~" + fp::kReplacedType + "~!~open\r\n";
  EXPECT_EQ(file_test::ReadBytes(uninstallDir_ + "\\Uninstall.DAT"),
            ExpectedFileList(withFiles, dir_, uninstallDir_, DeskFolder(), MenuFolder(), startup_) +
                StringsSection() + associations);

  // Install.LOG: one section.
  const std::string sharedDir = fp::SharedDir();
  const std::string expectedLog =
      std::string("\r\nInstallation log for: ") + fp::kProduct + "\r\nInstall date: <date>\r\n" +
      "Install type: New\r\nInstall location: " + dir_ + "\r\nInstaller version: 11.1\r\n" +
      "Product version: 2.5.1\r\n\r\n" +
      (withFiles ? "app.exe -> " + dir_ + "\\app.exe\r\n" + "full.ico -> " + uninstallDir_ +
                       "\\full.ico\r\n" + "helper.exe -> " + dir_ + "\\helper.exe\r\n" +
                       "kept.exe -> " + dir_ + "\\kept.exe\r\n" + "fullshared.dll -> " + sharedDir +
                       "\\fullshared.dll\r\n" + "quorvexfull.ttf -> " + WindowsDir() +
                       "\\Fonts\\quorvexfull.ttf\r\n" + "fullcom.dll -> " + SystemDir() +
                       "\\fullcom.dll\r\n" + "Registering COM File \"" + SystemDir() +
                       "\\fullcom.dll\"...OK\r\n" + "Desktop Folder Shortcut(Full App) -> " +
                       DeskFolder() + "\\Full App.LNK\r\n" + "Start Menu Shortcut(Full App) -> " +
                       MenuFolder() + "\\Full App.LNK\r\n" + "Startup Shortcut(Full Helper) -> " +
                       startup_ + "\\Full Helper.LNK\r\n" +
                       "Desktop Folder Shortcut(kept.exe) -> " + DeskFolder() + "\\kept.exe.LNK\r\n"
                 : std::string()) +
      "Desktop Folder Shortcut(English 33) -> " + DeskFolder() + "\\English 33.LNK\r\n" +
      "Uninstaller Shortcut -> " + MenuFolder() + "\\English 33.LNK\r\n" +
      "Uninstaller Shortcut -> " + uninstallDir_ + "\\English 33.LNK\r\n\r\n";
  int dates = 0;
  EXPECT_EQ(WithoutDates(file_test::ReadBytes(uninstallDir_ + "\\Install.LOG"), &dates),
            expectedLog);
  EXPECT_EQ(dates, 1);

  // The Uninstall entry, value by value with its type.
  const std::string arguments = std::string("/u:\"") + fp::kProduct + "\"";
  ExpectValue("UninstallString", REG_SZ, Sz(Uninstaller() + " " + arguments));
  ExpectValue("QuietUninstallString", REG_SZ, Sz(Uninstaller() + " /a " + arguments));
  ExpectValue("DisplayName", REG_SZ, Sz(fp::kProduct));
  EXPECT_EQ(lstrcmpiA(Value("InstallSource").bytes.c_str(), (scratch_ / "setup.exe").c_str()), 0);
  ExpectValue("DisplayVersion", REG_SZ, Sz("2.5.1"));
  ExpectValue("Publisher", REG_SZ, Sz("Quorvex Tests"));
  ExpectValue("VersionMajor", REG_DWORD, registry_test::Dword(2));
  ExpectValue("VersionMinor", REG_DWORD, registry_test::Dword(5));
  ExpectValue("ProductRegistry", REG_SZ, Sz(fp::kProductRegistry));
  ExpectValue("ProductStartMenu", REG_SZ, Sz(fp::kStartMenu));
  ExpectValue("SharedPath", REG_SZ, Sz(sharedDir));
  const std::string sharedLibrary = sharedDir + "\\fullshared.dll";
  const std::string comServer = SystemDir() + "\\fullcom.dll";
  if (withFiles) {
    ExpectValue("ProductFonts", REG_SZ, Sz("\"Quorvex Full Font\" \"quorvexfull.ttf\" "));
    ExpectValue("SharedFiles", REG_SZ, Sz("\"" + sharedLibrary + "\";\"" + comServer + "^\""));
  } else {
    EXPECT_FALSE(Value("ProductFonts").found);
    EXPECT_FALSE(Value("SharedFiles").found);
  }
  ExpectValue("ProductFlags", REG_SZ, Sz(std::to_string(int64_t(plan.header.productFlags))));
  ExpectValue("UninstallBatch1", REG_SZ, Sz("echo before removal"));
  ExpectValue("UninstallBatch2", REG_SZ, Sz("echo after removal"));
  ExpectValue("UninstallSubdir", REG_SZ, Sz(fp::kUninstallSubdir));
  EXPECT_FALSE(Value("ShortcutMode").found);
  ExpectValue("DisplayTitle", REG_SZ, Sz("English 0"));
  ExpectValue("TitleColor", REG_DWORD, registry_test::Dword(0x00203040));
  ExpectValue("TopColor", REG_DWORD, registry_test::Dword(0x00800000));
  ExpectValue("BottomColor", REG_DWORD, registry_test::Dword(0x00000080));
  ExpectValue("MonoColor", REG_DWORD, registry_test::Dword(0));
  ExpectValue("TitleShadow", REG_DWORD, registry_test::Dword(2));
  ExpectValue("HelpLink", REG_SZ, Sz("http://example.invalid/full"));
  ExpectValue("FullBin", REG_EXPAND_SZ, Sz(dir_ + "\\bin"));
  ExpectValue("EstimatedSize", REG_DWORD, registry_test::Dword(1234));
  ExpectValue("InstallLocation", REG_SZ, Sz(dir_));
  const RawValue date = Value("InstallDate");
  EXPECT_EQ(date.type, DWORD(REG_SZ));
  EXPECT_TRUE(std::regex_match(
      std::string(date.bytes.c_str()),
      std::regex("[0-9]{1,2}/[0-9]{1,2}/[0-9]{2} [0-9]{1,2}:[0-9]{2}:[0-9]{2}[ap]")))
      << date.bytes;

  // The uninstaller: the engine without its archive, dated with the archive's stamp.
  EXPECT_EQ(file_test::ReadBytes(Uninstaller()).substr(0, 2), "MZ");
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(Uninstaller().c_str(), GetFileExInfoStandard, &data));
  FILETIME local;
  SYSTEMTIME written;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &written);
  EXPECT_EQ(std::vector<int>({written.wYear, written.wMonth, written.wDay, written.wHour,
                              written.wMinute, written.wSecond}),
            std::vector<int>({2004, 6, 7, 8, 9, 10}));

  // Associations and their backups.
  ExpectClassValue(fp::kOwnExtension, "", fp::kOwnType);
  ExpectClassValue(fp::kOwnType, "", "Quorvex Full Document");
  ExpectClassValue(std::string(fp::kOwnType) + "\\DefaultIcon", "", dir_ + "\\app.exe,0");
  ExpectClassValue(std::string(fp::kOwnType) + "\\shell", "", "open");
  ExpectClassValue(std::string(fp::kOwnType) + "\\shell\\open", "", "&Open with Full");
  ExpectClassValue(std::string(fp::kOwnType) + "\\shell\\open\\command", "",
                   "\"" + dir_ + "\\app.exe\" \"%1\"");
  ExpectClassValue(fp::kExistingExtension, "", fp::kExistingType);
  ExpectClassValue(fp::kExistingType, "", "An Existing Type");
  EXPECT_FALSE(
      GetRawValue(HKEY_CLASSES_ROOT, fp::kExistingType, "Quorvex Full Package Backup").found);
  ExpectClassValue(std::string(fp::kExistingType) + "\\shell\\fullview\\command", "",
                   "\"" + dir_ + "\\app.exe\" \"%1\"");
  EXPECT_FALSE(
      GetRawValue(HKEY_CLASSES_ROOT, std::string(fp::kExistingType) + "\\shell", "").found);
  ExpectClassValue(fp::kReplacedExtension, "", fp::kReplacedType);
  ExpectClassValue(fp::kReplacedExtension, "Quorvex Full Package Backup", fp::kOldType);
  ExpectClassValue(fp::kReplacedType, "", "Replacing Type");
  EXPECT_FALSE(registry_test::KeyExists(HKEY_CLASSES_ROOT, fp::kUnknownExtension));
  EXPECT_FALSE(registry_test::KeyExists(HKEY_CLASSES_ROOT, fp::kOtherLanguageExtension));
  EXPECT_FALSE(registry_test::KeyExists(HKEY_CLASSES_ROOT, "QuorvexFull.Other"));
  EXPECT_FALSE(GetRawValue(HKEY_CLASSES_ROOT, fp::kEmptyExtension, "").found);
  EXPECT_FALSE(registry_test::KeyExists(HKEY_CLASSES_ROOT, "shell\\open\\command"));

  // What the file rules registered: the counts of the shared files, the font's name, and what
  // the COM server's own registration left.
  if (withFiles) {
    const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
    for (const std::string& file : {sharedLibrary, comServer}) {
      SCOPED_TRACE(file);
      RawValue count = GetRawValue(HKEY_LOCAL_MACHINE, kSharedDlls, file.c_str());
      EXPECT_EQ(count.type, DWORD(REG_DWORD));
      EXPECT_EQ(count.bytes, registry_test::Dword(1));
    }
    EXPECT_EQ(
        GetRawValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                    "Quorvex Full Font")
            .bytes,
        Sz("quorvexfull.ttf"));
    EXPECT_EQ(
        GetRawValue(HKEY_CURRENT_USER, "Software\\Quorvex Tests\\COM Server", "Registered").bytes,
        Sz(comServer));
  }

  // Product keys, under both roots.
  EXPECT_TRUE(registry_test::KeyExists(HKEY_LOCAL_MACHINE,
                                       std::string("Software\\") + fp::kProductRegistry));
  EXPECT_TRUE(registry_test::KeyExists(HKEY_CURRENT_USER,
                                       std::string("Software\\") + fp::kProductRegistry));

  // Shortcuts, loaded back.
  struct Expected {
    std::string path;
    Link link;
  };
  const Expected links[] = {
      {DeskFolder() + "\\Full App.LNK",
       {dir_ + "\\app.exe", "/data \"" + dir_ + "\\data\"", dir_, uninstallDir_ + "\\full.ico", 0}},
      {MenuFolder() + "\\Full App.LNK",
       {dir_ + "\\app.exe", "/data \"" + dir_ + "\\data\"", dir_, uninstallDir_ + "\\full.ico", 0}},
      {startup_ + "\\Full Helper.LNK", {dir_ + "\\helper.exe", "", dir_, dir_ + "\\helper.exe", 0}},
      {DeskFolder() + "\\kept.exe.LNK", {dir_ + "\\kept.exe", "", dir_, dir_ + "\\kept.exe", 0}},
      {DeskFolder() + "\\English 33.LNK", {Uninstaller(), arguments, dir_, Uninstaller(), 0}},
      {MenuFolder() + "\\English 33.LNK", {Uninstaller(), arguments, "", Uninstaller(), 0}},
      {uninstallDir_ + "\\English 33.LNK", {Uninstaller(), arguments, "", Uninstaller(), 0}},
  };
  for (const Expected& e : links) {
    if (!withFiles && e.path.find("English 33") == std::string::npos) continue;
    SCOPED_TRACE(e.path);
    Link link;
    ASSERT_TRUE(LoadLink(e.path, link));
    EXPECT_EQ(link.target, e.link.target);
    EXPECT_EQ(link.arguments, e.link.arguments);
    EXPECT_EQ(link.directory, e.link.directory);
    EXPECT_EQ(link.icon, e.link.icon);
    EXPECT_EQ(link.iconIndex, 0);
  }

  // The background picture as a bitmap file, and the PATH line.
  EXPECT_EQ(file_test::ReadBytes(uninstallDir_ + "\\Installer Background.BMP").substr(14),
            fp::BackgroundBitmap());
  char shortDir[MAX_PATH] = "";
  GetShortPathNameA(dir_.c_str(), shortDir, sizeof shortDir);
  EXPECT_NE(file_test::ReadBytes(Autoexec()).find(std::string("PATH=%PATH%;") + shortDir + "\r\n"),
            std::string::npos);
}

// Faults provoked for real: a file where the desktop folder should go, a folder where
// Uninstall.DAT should go. Each becomes its line in the log's error text, the installation
// completes, string 43 closes the text, and the program of /r is not started.
TEST_F(InstallRecordsTest, FailuresAreCollectedAndStopTheLaunchButNotTheInstallation) {
  InstallerPlan plan;
  fp::Fixtures fixtures;
  fp::FillFullPackage(plan, scratch_.Path(), fixtures);
  plan.files = Vector<FileEntry>();
  ASSERT_TRUE(file_test::WriteBytes(DeskFolder(), "in the way"));
  ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(uninstallDir_.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((uninstallDir_ + "\\Uninstall.DAT").c_str(), nullptr));
  const std::string ran = scratch_ / "ran.txt";
  QuorvexRun run = Install(plan, "/a /r:\"cmd.exe /c echo ran>" + ran + "\"");
  EXPECT_EQ(run.transcript, std::vector<std::string>());
  const std::string log = file_test::ReadBytes(uninstallDir_ + "\\Install.LOG");
  const std::string folderLine = "Failed to create directory " + DeskFolder() + ": ";
  const std::string linkLine = "English 31 " + DeskFolder() + "\\English 33.LNK\r\n";
  const std::string dataLine = "English 31 " + uninstallDir_ + "\\Uninstall.DAT\r\n";
  const size_t folderAt = log.find(folderLine), linkAt = log.find(linkLine),
               dataAt = log.find(dataLine);
  EXPECT_NE(folderAt, std::string::npos) << log;
  EXPECT_NE(linkAt, std::string::npos) << log;
  EXPECT_NE(dataAt, std::string::npos) << log;
  EXPECT_LT(folderAt, linkAt);
  EXPECT_LT(linkAt, dataAt);
  EXPECT_EQ(log.substr(log.size() - 14), "English 43\r\n\r\n");
  // The rest was still done.
  EXPECT_TRUE(Value("UninstallString").found);
  EXPECT_TRUE(file_test::Exists(uninstallDir_ + "\\English 33.LNK"));
  EXPECT_FALSE(file_test::Exists(ran));
}

// Gives the existing key the security text (SDDL); false when it cannot.
bool SetKeySecurity(HKEY root, const std::string& path, const char* sddl) {
  PSECURITY_DESCRIPTOR security = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &security,
                                                            nullptr))
    return false;
  HKEY key = nullptr;
  bool ok = RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS;
  if (ok) {
    ok = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, security) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  LocalFree(security);
  return ok;
}

// A key made before the installation whose security refuses to take values or subkeys (a deny
// entry for everyone); its destructor gives everyone full access again, so that the fixture can
// delete it.
class DeniedKey {
 public:
  DeniedKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      return;
    RegCloseKey(key);
    // The deny entry is in force only when a write access is refused now.
    denied_ = SetKeySecurity(root_, path_, "D:(D;;0x6;;;WD)(A;;KA;;;WD)") &&
              RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_ACCESS_DENIED;
  }
  ~DeniedKey() { SetKeySecurity(root_, path_, "D:(A;;KA;;;WD)"); }
  bool denied() const { return denied_; }

 private:
  HKEY root_;
  std::string path_;
  bool denied_ = false;
};

// Keys that refuse writes, provoked through their security: an association whose command key
// cannot take its value, and an Uninstall key that cannot be opened for writing. The
// association keeps its line for the uninstaller and adds its failure line; the Uninstall entry
// gets the unable-to-save line; the installation completes and /r is not started.
TEST_F(InstallRecordsTest, KeysThatRefuseWritesBecomeTheirLinesAndTheInstallationGoesOn) {
  InstallerPlan plan;
  fp::Fixtures fixtures;
  fp::FillFullPackage(plan, scratch_.Path(), fixtures);
  plan.files = Vector<FileEntry>();
  const std::string command = std::string(fp::kOwnType) + "\\shell\\open\\command";
  DeniedKey deniedCommand(HKEY_CLASSES_ROOT, command);
  DeniedKey deniedEntry(HKEY_LOCAL_MACHINE, Key());
  ASSERT_TRUE(deniedCommand.denied());
  ASSERT_TRUE(deniedEntry.denied());
  const std::string ran = scratch_ / "ran.txt";
  QuorvexRun run = Install(plan, "/a /r:\"cmd.exe /c echo ran>" + ran + "\"");
  EXPECT_EQ(run.transcript, std::vector<std::string>());

  const std::string log = file_test::ReadBytes(uninstallDir_ + "\\Install.LOG");
  EXPECT_NE(log.find(std::string("Failed to associate file type:  \"") + fp::kOwnExtension +
                     "\".\r\n\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Unable to save the uninstall information to the registry.  Uninstall will "
                     "not work properly.\r\n\r\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(log.substr(log.size() - 14), "English 43\r\n\r\n");
  const std::string data = file_test::ReadBytes(uninstallDir_ + "\\Uninstall.DAT");
  EXPECT_NE(data.find(std::string(fp::kOwnExtension) + "~!~" + fp::kOwnType + "~!~open\r\n"),
            std::string::npos)
      << data;
  EXPECT_FALSE(Value("UninstallString").found);
  EXPECT_FALSE(GetRawValue(HKEY_CLASSES_ROOT, command, "").found);
  // The rest was still done.
  EXPECT_TRUE(file_test::Exists(Uninstaller()));
  EXPECT_TRUE(file_test::Exists(uninstallDir_ + "\\English 33.LNK"));
  EXPECT_FALSE(file_test::Exists(ran));
}

// Without /a: the error box after failures; the question to view the log without them, whose
// Yes asks the shell to open it and, when the shell cannot, Notepad.
TEST_F(InstallRecordsTest, TheClosingBoxesAndTheLogOpenedOnRequest) {
  InstallerPlan plan;
  fp::Fixtures fixtures;
  fp::FillFullPackage(plan, scratch_.Path(), fixtures);
  plan.files = Vector<FileEntry>();
  const std::string log = uninstallDir_ + "\\Install.LOG";
  const std::string question =
      "box\tbackground\t0x00000044\tEnglish 41\t" +
      TranscriptEscaped("The installation is complete.\r\n\r\nThe installation log is " + log +
                        "\r\n\r\nView it now?") +
      "\t6";
  QuorvexRun run = Install(plan, "", {"6", "6"});
  EXPECT_EQ(run.transcript,
            std::vector<std::string>(
                {WelcomeBox(), question, "event\t" + TranscriptEscaped("open with shell " + log)}));

  fp::RemoveRegistryTraces();  // each run is a first installation
  SetEnvironmentVariableA("QUORVEX_TEST_SHELL_OPEN", "fail");
  run = Install(plan, "", {"6", "6"});
  SetEnvironmentVariableA("QUORVEX_TEST_SHELL_OPEN", nullptr);
  EXPECT_EQ(run.transcript,
            std::vector<std::string>({WelcomeBox(), question,
                                      "event\t" + TranscriptEscaped("open with shell " + log),
                                      "event\t" + TranscriptEscaped("start notepad.exe " + log)}));

  fp::RemoveRegistryTraces();
  RemoveShortcuts();
  ASSERT_TRUE(file_test::WriteBytes(DeskFolder(), "in the way"));
  run = Install(plan, "", {"6", "1"});
  EXPECT_EQ(run.transcript,
            std::vector<std::string>(
                {WelcomeBox(), "box\tbackground\t0x00000040\tEnglish 43\tEnglish 42\t1"}));
  fp::RemoveRegistryTraces();
  plan.header.productFlags |= FlagMask(ProductFlag::kNoCompletionMessage);
  run = Install(plan, "", {"6"});
  EXPECT_EQ(run.transcript, std::vector<std::string>({WelcomeBox()}));
}

// A second installation over the first: a second log section of type Reinstall, Uninstall.DAT
// written again with the same records, the backups of the first run kept.
TEST_F(InstallRecordsTest, AReinstallAppendsASectionAndRewritesTheRecords) {
  fp::PrepareExistingAssociations();
  InstallerPlan plan;
  fp::Fixtures fixtures;
  fp::FillFullPackage(plan, scratch_.Path(), fixtures);
  plan.files = Vector<FileEntry>();
  Install(plan, "/a");
  const std::string data = file_test::ReadBytes(uninstallDir_ + "\\Uninstall.DAT");
  const std::string first = file_test::ReadBytes(uninstallDir_ + "\\Install.LOG");
  ASSERT_TRUE(file_test::WriteBytes(uninstallDir_ + "\\Uninstall.DAT", "stale"));
  Install(plan, "/a");
  EXPECT_EQ(file_test::ReadBytes(uninstallDir_ + "\\Uninstall.DAT"), data);
  const std::string both = file_test::ReadBytes(uninstallDir_ + "\\Install.LOG");
  ASSERT_EQ(both.substr(0, first.size()), first);
  int dates = 0;
  std::string second = WithoutDates(both.substr(first.size()), &dates);
  EXPECT_EQ(dates, 1);
  std::string firstSection = WithoutDates(first, &dates);
  const std::string fresh = "Install type: New\r\n";
  ASSERT_NE(firstSection.find(fresh), std::string::npos);
  firstSection.replace(firstSection.find(fresh), fresh.size(), "Install type: Reinstall\r\n");
  EXPECT_EQ(second, firstSection);
  ExpectClassValue(fp::kReplacedExtension, "Quorvex Full Package Backup", fp::kOldType);
}

// The package without its file entries: the records of the uninstaller, the associations, the
// keys and the picture, independent of the file rules.
TEST_F(InstallRecordsTest, WithoutItsFilesThePackageLeavesTheRecordsOfItsOtherFeatures) {
  CheckFullPackage(false);
}

// With its files: the file loop's records, shortcut requests, shared counts, font and COM server
// join them.
TEST_F(InstallRecordsTest, TheFullPackageLeavesEveryRecordInItsFormat) { CheckFullPackage(true); }

}  // namespace
