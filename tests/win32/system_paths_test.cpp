#include "platform/system_paths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <iterator>
#include <string>

#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "tests/win32/file_test_support.h"
#include "tests/win32/registry_access_test_support.h"

namespace {

using file_test::Str;

constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

void DeleteKeyTree(HKEY parent, const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char child[256];
  while (RegEnumKeyA(key, 0, child, sizeof child) == ERROR_SUCCESS) DeleteKeyTree(key, child);
  RegCloseKey(key);
  RegDeleteKeyA(parent, name.c_str());
}

bool SetValue(HKEY root, const std::string& keyPath, const char* name, DWORD type,
              const std::string& data) {
  HKEY key;
  if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                               DWORD(data.size()));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

// A text value as Windows stores one: with its terminator.
std::string Sz(const std::string& text) { return text + '\0'; }

// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this process lead to two fresh keys of the test's
// own for its whole run, so that the getters read exactly what the test wrote and the real
// registry is never changed.
class RegistryRedirect {
 public:
  RegistryRedirect() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    scratch_ =
        std::string("Software\\QuorvexTests\\") + test->test_suite_name() + "." + test->name();
    DeleteKeyTree(HKEY_CURRENT_USER, scratch_);
    RegCreateKeyExA(HKEY_CURRENT_USER, (scratch_ + "\\user").c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &user_, nullptr);
    RegCreateKeyExA(HKEY_CURRENT_USER, (scratch_ + "\\machine").c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &machine_, nullptr);
    redirected_ = user_ != nullptr && machine_ != nullptr &&
                  RegOverridePredefKey(HKEY_CURRENT_USER, user_) == ERROR_SUCCESS &&
                  RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_) == ERROR_SUCCESS;
  }
  ~RegistryRedirect() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (user_ != nullptr) RegCloseKey(user_);
    if (machine_ != nullptr) RegCloseKey(machine_);
    DeleteKeyTree(HKEY_CURRENT_USER, scratch_);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorvexTests");  // only when no test is left
  }
  RegistryRedirect(const RegistryRedirect&) = delete;
  RegistryRedirect& operator=(const RegistryRedirect&) = delete;

  bool Redirected() const { return redirected_; }
  HKEY User() const { return user_; }
  HKEY Machine() const { return machine_; }

 private:
  std::string scratch_;
  HKEY user_ = nullptr;
  HKEY machine_ = nullptr;
  bool redirected_ = false;
};

class SystemPathsTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(registry_.Redirected()); }

  bool SetUserFolder(const char* name, const std::string& path, DWORD type = REG_SZ) {
    return SetValue(registry_.User(), kShellFolders, name, type,
                    type == REG_SZ || type == REG_EXPAND_SZ ? Sz(path) : path);
  }
  bool SetCommonFolder(const char* name, const std::string& path) {
    return SetValue(registry_.Machine(), kShellFolders, name, REG_SZ, Sz(path));
  }
  bool SetCurrentVersion(const char* name, const std::string& path, DWORD type = REG_SZ) {
    return SetValue(registry_.Machine(), kCurrentVersion, name, type, Sz(path));
  }

  std::string Windows(const char* leaf) { return Str(WindowsDir()) + "\\" + leaf; }

  RegistryRedirect registry_;
};

struct Getter {
  const char* name;
  String (*get)();
};

const Getter kFolderGetters[] = {
    {"ProgramFilesDir", ProgramFilesDir},
    {"CommonFilesDir", CommonFilesDir},
    {"MediaPath", MediaPath},
    {"DevicePath", DevicePath},
    {"DesktopDir", DesktopDir},
    {"DesktopAllDir", DesktopAllDir},
    {"DocumentDir", DocumentDir},
    {"DocumentAllDir", DocumentAllDir},
    {"FavoritesDir", FavoritesDir},
    {"FavoritesAllDir", FavoritesAllDir},
    {"FontDir", FontDir},
    {"StartMenuDir", StartMenuDir},
    {"StartMenuAllDir", StartMenuAllDir},
    {"StartMenuProgramsDir", StartMenuProgramsDir},
    {"StartMenuProgramsAllDir", StartMenuProgramsAllDir},
    {"StartupDir", StartupDir},
    {"StartupAllDir", StartupAllDir},
};

TEST_F(SystemPathsTest, EveryFolderHasItsFallback) {
  const std::string startMenu = Windows("Start Menu");
  const std::string expected[] = {
      "c:\\Program Files",
      "c:\\Program Files\\Common Files",
      Windows("Media"),
      Windows("INF"),
      Windows("Desktop"),
      Windows("Desktop"),
      "c:\\My Documents",
      "c:\\My Documents",
      Windows("Favorites"),
      Windows("Favorites"),
      Windows("Fonts"),
      startMenu,
      startMenu,
      startMenu + "\\Programs",
      startMenu + "\\Programs",
      startMenu + "\\Programs\\StartUp",
      startMenu + "\\Programs\\StartUp",
  };
  static_assert(std::size(expected) == std::size(kFolderGetters), "one expectation per getter");
  // First with no values at all, then with every value present but empty.
  for (bool emptyValues : {false, true}) {
    if (emptyValues) {
      for (const char* name : {"ProgramFilesDir", "CommonFilesDir", "MediaPath", "DevicePath"})
        ASSERT_TRUE(SetCurrentVersion(name, ""));
      for (const char* name : {"Desktop", "Personal", "Favorites", "Fonts", "Start Menu",
                               "Programs", "Startup"})
        ASSERT_TRUE(SetUserFolder(name, ""));
      for (const char* name : {"Common Desktop", "Common Documents", "Common Favorites",
                               "Common Start Menu", "Common Programs", "Common Startup"})
        ASSERT_TRUE(SetCommonFolder(name, ""));
    }
    for (size_t i = 0; i < std::size(expected); ++i) {
      SCOPED_TRACE(std::string(kFolderGetters[i].name) + (emptyValues ? " (empty values)" : ""));
      EXPECT_EQ(Str(kFolderGetters[i].get()), expected[i]);
    }
  }
  EXPECT_EQ(BootDrive(), 'C');
}

TEST_F(SystemPathsTest, EveryFolderReadsItsOwnValue) {
  struct Source {
    HKEY root;
    const char* key;
    const char* value;
  };
  const Source sources[] = {
      {registry_.Machine(), kCurrentVersion, "ProgramFilesDir"},
      {registry_.Machine(), kCurrentVersion, "CommonFilesDir"},
      {registry_.Machine(), kCurrentVersion, "MediaPath"},
      {registry_.Machine(), kCurrentVersion, "DevicePath"},
      {registry_.User(), kShellFolders, "Desktop"},
      {registry_.Machine(), kShellFolders, "Common Desktop"},
      {registry_.User(), kShellFolders, "Personal"},
      {registry_.Machine(), kShellFolders, "Common Documents"},
      {registry_.User(), kShellFolders, "Favorites"},
      {registry_.Machine(), kShellFolders, "Common Favorites"},
      {registry_.User(), kShellFolders, "Fonts"},
      {registry_.User(), kShellFolders, "Start Menu"},
      {registry_.Machine(), kShellFolders, "Common Start Menu"},
      {registry_.User(), kShellFolders, "Programs"},
      {registry_.Machine(), kShellFolders, "Common Programs"},
      {registry_.User(), kShellFolders, "Startup"},
      {registry_.Machine(), kShellFolders, "Common Startup"},
  };
  static_assert(std::size(sources) == std::size(kFolderGetters), "one source per getter");
  // A decoy of the same name under the other root must not be read.
  for (const Source& s : sources) {
    ASSERT_TRUE(SetValue(s.root, s.key, s.value, REG_SZ, Sz(std::string("D:\\Own\\") + s.value)));
    HKEY other = s.root == registry_.User() ? registry_.Machine() : registry_.User();
    ASSERT_TRUE(SetValue(other, s.key, s.value, REG_SZ, Sz("D:\\Decoy")));
  }
  for (size_t i = 0; i < std::size(sources); ++i) {
    SCOPED_TRACE(kFolderGetters[i].name);
    EXPECT_EQ(Str(kFolderGetters[i].get()), std::string("D:\\Own\\") + sources[i].value);
  }
}

TEST_F(SystemPathsTest, FallbacksFollowTheChainOfTheirParents) {
  ASSERT_TRUE(SetUserFolder("Start Menu", "D:\\Menu"));
  ASSERT_TRUE(SetUserFolder("Personal", "D:\\Docs\\"));
  ASSERT_TRUE(SetCurrentVersion("ProgramFilesDir", "E:\\Apps\\"));
  EXPECT_EQ(Str(StartMenuProgramsDir()), "D:\\Menu\\Programs");
  EXPECT_EQ(Str(StartupDir()), "D:\\Menu\\Programs\\StartUp");
  EXPECT_EQ(Str(StartMenuAllDir()), "D:\\Menu");
  EXPECT_EQ(Str(StartMenuProgramsAllDir()), "D:\\Menu\\Programs");
  EXPECT_EQ(Str(StartupAllDir()), "D:\\Menu\\Programs\\StartUp");
  EXPECT_EQ(Str(DocumentAllDir()), "D:\\Docs");
  EXPECT_EQ(Str(CommonFilesDir()), "E:\\Apps\\Common Files");

  // Values are read at every call: a change is seen at once.
  ASSERT_TRUE(SetUserFolder("Programs", "F:\\Progs"));
  EXPECT_EQ(Str(StartupDir()), "F:\\Progs\\StartUp");
  EXPECT_EQ(Str(StartupAllDir()), "F:\\Progs\\StartUp");
}

TEST_F(SystemPathsTest, RegistryTextsBecomeDirectories) {
  struct Case {
    DWORD type;
    std::string data;  // as stored
    std::string folder;
  };
  const Case cases[] = {
      {REG_SZ, Sz("D:\\Apps\\"), "D:\\Apps"},
      {REG_SZ, Sz("D:\\Apps\\\\"), "D:\\Apps\\"},  // only one backslash goes
      {REG_SZ, Sz("C:\\"), "C:\\"},                // a drive root keeps it
      {REG_SZ, Sz("C:"), "C:"},
      {REG_SZ, Sz("\\\\server\\share\\"), "\\\\server\\share"},
      {REG_SZ, Sz("D:\\with \"quotes\";and;semicolons/slashes\\"),
       "D:\\with \"quotes\";and;semicolons/slashes"},
      {REG_SZ, Sz("D:\\" + std::string(600, 'p')), "D:\\" + std::string(600, 'p')},
      // Expandable text keeps its terminator in the registry's reading; the path ends there.
      {REG_EXPAND_SZ, Sz("D:\\Expand\\"), "D:\\Expand"},
      {REG_MULTI_SZ, std::string("D:\\First\0D:\\Second\0\0", 20), "D:\\First"},
      {REG_BINARY, "D:\\Bin", "D:\\Bin"},
      {REG_DWORD, std::string("\x07\x00\x00\x00", 4), "7"},
      {REG_NONE, "D:\\None", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder.substr(0, 100) + " type " + std::to_string(c.type));
    ASSERT_TRUE(SetValue(registry_.User(), kShellFolders, "Fonts", c.type, c.data));
    EXPECT_EQ(Str(ShellFolder("Fonts", false)), c.folder);
    ASSERT_TRUE(SetValue(registry_.Machine(), kCurrentVersion, "MediaPath", c.type, c.data));
    EXPECT_EQ(Str(CurrentVersionValue("MediaPath")), c.folder);
  }
  EXPECT_STREQ(ShellFolder("No Such Value", false).CStr(), "");
  EXPECT_STREQ(ShellFolder("No Such Value", true).CStr(), "");
  EXPECT_STREQ(CurrentVersionValue("No Such Value").CStr(), "");
  EXPECT_STREQ(ShellFolder("", false).CStr(), "");  // no value name at all
}

TEST_F(SystemPathsTest, BootDriveIsTheLetterOfBootDir) {
  const std::string setup = std::string(kCurrentVersion) + "\\Setup";
  const std::pair<std::string, char> cases[] = {
      {"d:\\", 'D'}, {"E:", 'E'}, {"c:\\boot", 'C'}, {"", 'C'}, {"1:\\", 'C'},
      {"\\\\server\\share", 'C'}, {"D", 'C'}, {":\\", 'C'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    ASSERT_TRUE(SetValue(registry_.Machine(), setup, "BootDir", REG_SZ, Sz(c.first)));
    EXPECT_EQ(BootDrive(), c.second);
  }
}

TEST_F(SystemPathsTest, DevicePathExpandsTheFirstSystemRoot) {
  char root[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("SystemRoot", root, sizeof root), 0u);
  const std::string systemRoot = root;
  struct Case {
    DWORD type;
    std::string stored;
    std::string device;
  };
  const Case cases[] = {
      {REG_SZ, "%SystemRoot%\\inf", systemRoot + "\\inf"},
      {REG_EXPAND_SZ, "%SystemRoot%\\inf", systemRoot + "\\inf"},
      {REG_SZ, "%SYSTEMROOT%\\inf;%systemroot%\\more;D:\\drivers",
       systemRoot + "\\inf;%systemroot%\\more;D:\\drivers"},
      {REG_SZ, "D:\\drivers;E:\\more", "D:\\drivers;E:\\more"},
      {REG_SZ, "D:\\drivers\\", "D:\\drivers"},
      {REG_SZ, "%windir%\\inf", "%windir%\\inf"},  // nothing else is expanded
      {REG_SZ, "", Windows("INF")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    ASSERT_TRUE(SetCurrentVersion("DevicePath", c.stored, c.type));
    EXPECT_EQ(Str(DevicePath()), c.device);
  }

  // Without the variable the text stays as the registry has it.
  ASSERT_TRUE(SetCurrentVersion("DevicePath", "%SystemRoot%\\inf"));
  ASSERT_TRUE(SetEnvironmentVariableA("SystemRoot", nullptr));
  String unexpanded = DevicePath();
  SetEnvironmentVariableA("SystemRoot", systemRoot.c_str());
  EXPECT_STREQ(unexpanded.CStr(), "%SystemRoot%\\inf");
}

TEST_F(SystemPathsTest, FindInstalledProductNeedsAnUninstallCommand) {
  auto add = [&](const char* product, const char* name, DWORD type, const char* text) {
    return SetValue(registry_.Machine(), std::string(kUninstall) + "\\" + product, name, type,
                    Sz(text));
  };
  ASSERT_TRUE(add("Full", "UninstallString", REG_SZ, "x.exe /u"));
  ASSERT_TRUE(add("Full", "InstallLocation", REG_SZ, "D:\\Full"));
  ASSERT_TRUE(add("Quiet", "QuietUninstallString", REG_SZ, "q"));
  ASSERT_TRUE(add("Quiet", "InstallLocation", REG_EXPAND_SZ, "D:\\Quiet"));
  ASSERT_TRUE(add("NoLocation", "UninstallString", REG_SZ, "x"));
  ASSERT_TRUE(add("Leftover", "InstallLocation", REG_SZ, "D:\\Old"));
  ASSERT_TRUE(SetValue(registry_.User(), std::string(kUninstall) + "\\UserOnly",
                       "UninstallString", REG_SZ, Sz("x")));
  struct Case {
    const char* name;
    bool installed;
    const char* location;  // null: untouched
  };
  const Case cases[] = {
      {"Full", true, "D:\\Full"},
      {"full", true, "D:\\Full"},  // key names ignore case
      {"Quiet", true, "D:\\Quiet"},
      {"NoLocation", true, ""},
      {"Leftover", false, ""},     // a key without an uninstall command does not count
      {"Missing", false, nullptr},
      {"UserOnly", false, nullptr},  // only the machine's list counts
      {"Bad\\\"Name;/", false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    String location("untouched");
    EXPECT_EQ(FindInstalledProduct(c.name, &location), c.installed);
    EXPECT_STREQ(location.CStr(), c.location != nullptr ? c.location : "untouched");
    EXPECT_EQ(FindInstalledProduct(c.name, nullptr), c.installed);
  }
}

// Without redirection: what the system's own registry says.
TEST(SystemPathsRealRegistryTest, FoldersComeFromTheSystemsRegistry) {
  char personal[MAX_PATH] = {};
  DWORD size = sizeof personal;
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_READ, &key), ERROR_SUCCESS);
  LONG found = RegQueryValueExA(key, "Personal", nullptr, nullptr,
                                reinterpret_cast<BYTE*>(personal), &size);
  RegCloseKey(key);
  if (found == ERROR_SUCCESS && personal[0] != '\0') {
    String expected(personal);
    if (expected.Length() > 3) expected.RemoveLastIf('\\');
    EXPECT_STREQ(DocumentDir().CStr(), expected.CStr());
  }
  for (const Getter& getter : kFolderGetters) {
    SCOPED_TRACE(getter.name);
    String folder = getter.get();
    EXPECT_FALSE(folder.IsEmpty());
    EXPECT_TRUE(folder.Length() <= 3 || !folder.EndsWithChar('\\')) << folder.CStr();
    EXPECT_TRUE(IsAbsolutePath(folder)) << folder.CStr();
  }
  char letter = BootDrive();
  EXPECT_TRUE(letter >= 'A' && letter <= 'Z');
}

// Subkeys of key; -1 when the system cannot say.
int SubKeyCount(HKEY key) {
  DWORD count = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return -1;
  }
  return int(count);
}

// Asking where things are changes nothing: an empty registry stays empty.
TEST_F(SystemPathsTest, ReadingLeavesNoKeyBehind) {
  for (const Getter& getter : kFolderGetters) {
    SCOPED_TRACE(getter.name);
    getter.get();
    EXPECT_EQ(SubKeyCount(registry_.User()), 0);
    EXPECT_EQ(SubKeyCount(registry_.Machine()), 0);
  }
  BootDrive();
  CurrentVersionValue("ProgramFilesDir");
  ShellFolder("Desktop", true);
  EXPECT_FALSE(FindInstalledProduct("Missing", nullptr));
  EXPECT_EQ(SubKeyCount(registry_.User()), 0);
  EXPECT_EQ(SubKeyCount(registry_.Machine()), 0);
}

// A limited user on NT may read HKEY_LOCAL_MACHINE but not write it: the machine's folders and
// products must be found all the same, not replaced by the fallbacks.
TEST_F(SystemPathsTest, MachineValuesAreReadWithoutWriteAccess) {
  ASSERT_TRUE(SetCurrentVersion("ProgramFilesDir", "D:\\Programme"));
  ASSERT_TRUE(SetCurrentVersion("MediaPath", "D:\\Media"));
  ASSERT_TRUE(SetCommonFolder("Common Desktop", "D:\\All Users\\Desktop"));
  const std::string product = std::string(kUninstall) + "\\Locked";
  ASSERT_TRUE(SetValue(registry_.Machine(), product, "UninstallString", REG_SZ, Sz("x.exe /u")));
  ASSERT_TRUE(SetValue(registry_.Machine(), product, "InstallLocation", REG_SZ, Sz("D:\\Locked")));
  {
    registry_test::WriteDeniedKey currentVersion(registry_.Machine(), kCurrentVersion);
    registry_test::WriteDeniedKey shellFolders(registry_.Machine(), kShellFolders);
    registry_test::WriteDeniedKey uninstall(registry_.Machine(), kUninstall);
    registry_test::WriteDeniedKey locked(registry_.Machine(), product);
    if (!currentVersion.Enforced() || !shellFolders.Enforced() || !locked.Enforced()) {
      GTEST_SKIP() << "the system does not enforce registry access lists";
    }
    EXPECT_STREQ(ProgramFilesDir().CStr(), "D:\\Programme");
    EXPECT_STREQ(MediaPath().CStr(), "D:\\Media");
    EXPECT_STREQ(DesktopAllDir().CStr(), "D:\\All Users\\Desktop");
    String location("untouched");
    EXPECT_TRUE(FindInstalledProduct("Locked", &location));
    EXPECT_STREQ(location.CStr(), "D:\\Locked");
  }
}

}  // namespace
