// ExpandInstallVariables against the system of the test prefix: the process's own locations are
// compared with what the Win32 API reports, and the registry-backed ones are given values of the
// test's choosing (the prefix's own values are put back afterwards), so that each variable is
// seen to read its own source and the order of replacement can be followed link by link.
#include "config/install_variables.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

#include "config/settings.h"
#include "platform/registry_locations.h"
#include "platform/system_paths.h"
#include "tests/win32/registry_override_test_support.h"

namespace {

constexpr char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kSetup[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Where a registry-backed variable takes its value from.
struct RegistrySource {
  const char* variable;
  HKEY root;
  const char* key;
  const char* valueName;
};

const RegistrySource kRegistrySources[] = {
    {"%CommonDir%", HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir"},
    {"%ProgramsDir%", HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir"},
    {"%DeviceDir%", HKEY_LOCAL_MACHINE, kCurrentVersion, "DevicePath"},
    {"%MediaDir%", HKEY_LOCAL_MACHINE, kCurrentVersion, "MediaPath"},
    {"%FavoritesDir%", HKEY_CURRENT_USER, kShellFolders, "Favorites"},
    {"%FavoritesAllDir%", HKEY_LOCAL_MACHINE, kShellFolders, "Common Favorites"},
    {"%FontDir%", HKEY_CURRENT_USER, kShellFolders, "Fonts"},
    {"%DesktopDir%", HKEY_CURRENT_USER, kShellFolders, "Desktop"},
    {"%DesktopAllDir%", HKEY_LOCAL_MACHINE, kShellFolders, "Common Desktop"},
    {"%DocumentDir%", HKEY_CURRENT_USER, kShellFolders, "Personal"},
    {"%DocumentAllDir%", HKEY_LOCAL_MACHINE, kShellFolders, "Common Documents"},
    {"%StartMenuDir%", HKEY_CURRENT_USER, kShellFolders, "Start Menu"},
    {"%StartMenuAllDir%", HKEY_LOCAL_MACHINE, kShellFolders, "Common Start Menu"},
    {"%SMProgramsDir%", HKEY_CURRENT_USER, kShellFolders, "Programs"},
    {"%SMProgramsAllDir%", HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs"},
    {"%StartupDir%", HKEY_CURRENT_USER, kShellFolders, "Startup"},
    {"%StartupAllDir%", HKEY_LOCAL_MACHINE, kShellFolders, "Common Startup"},
};

// The variables whose values a test can choose (two settings and the registry-backed ones), in
// the order of replacement.
const char* const kChosenInOrder[] = {
    "%CommonDir%",     "%InstallDir%",      "%ProgramsDir%",    "%SharedDir%",
    "%DeviceDir%",     "%MediaDir%",        "%FavoritesDir%",   "%FavoritesAllDir%",
    "%FontDir%",       "%DesktopDir%",      "%DesktopAllDir%",  "%DocumentDir%",
    "%DocumentAllDir%", "%StartMenuDir%",   "%StartMenuAllDir%", "%SMProgramsDir%",
    "%SMProgramsAllDir%", "%StartupDir%",   "%StartupAllDir%",
};
constexpr int kChosenCount = int(sizeof kChosenInOrder / sizeof kChosenInOrder[0]);

using registry_override::RegistryOverrides;

// What the Win32 API itself reports for the process's own locations.
std::string ApiWindowsDir() {
  char buffer[MAX_PATH + 1] = {};
  UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
  return std::string(buffer, n);
}

std::string ApiSystemDir() {
  char buffer[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryA(buffer, sizeof buffer);
  return std::string(buffer, n);
}

std::string ApiTempDir() {
  char buffer[MAX_PATH + 1] = {};
  DWORD n = GetTempPathA(sizeof buffer, buffer);
  std::string dir(buffer, n);
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  return dir;
}

std::string ApiModulePath() {
  char buffer[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, n);
}

std::string ApiModuleDir() {
  std::string path = ApiModulePath();
  return path.substr(0, path.rfind('\\'));
}

std::string ApiModuleName() {
  std::string path = ApiModulePath();
  return path.substr(path.rfind('\\') + 1);
}

std::string ApiModuleDrive() {
  std::string path = ApiModulePath();
  if (path.size() < 2 || path[1] != ':') return std::string();
  return std::string(1, char(std::toupper(static_cast<unsigned char>(path[0]))));
}

// A REG_SZ or REG_EXPAND_SZ value as stored, up to its first NUL; empty when it is missing.
std::string RawRegistryText(HKEY root, const char* key, const char* name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::string();
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  DWORD type = REG_NONE;
  LONG result =
      RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::string();
  return std::string(buffer);
}

std::string Expand(const std::string& text) {
  String s(text.c_str());
  ExpandInstallVariables(s);
  return std::string(s.CStr(), size_t(s.Length()));
}

class InstallVariables : public testing::Test {
 protected:
  void SetUp() override {
    savedInstallDir_ = InstallDir;
    savedSharedPath_ = SharedPath;
  }
  void TearDown() override {
    InstallDir = savedInstallDir_;
    SharedPath = savedSharedPath_;
  }

  // Gives a chosen variable its value: a setting, or its registry value.
  void Choose(const std::string& variable, const std::string& value) {
    if (variable == "%InstallDir%") {
      InstallDir = value.c_str();
      return;
    }
    if (variable == "%SharedDir%") {
      SharedPath = value.c_str();
      return;
    }
    for (const RegistrySource& source : kRegistrySources) {
      if (variable == source.variable) {
        registry_.Set(source.root, source.key, source.valueName, value);
        return;
      }
    }
    FAIL() << "no source for " << variable;
  }

  // Every chosen variable gets a marker of its own, such as "Q:\v\%FontDir%" without the
  // percent signs, so that any value can be told from every other.
  void ChooseMarkers() {
    for (const char* variable : kChosenInOrder) Choose(variable, Marker(variable));
  }
  static std::string Marker(const std::string& variable) {
    return "Q:\\v\\" + variable.substr(1, variable.size() - 2);
  }

  RegistryOverrides registry_;

 private:
  String savedInstallDir_;
  String savedSharedPath_;
};

TEST_F(InstallVariables, ProcessLocationsAreThoseTheSystemReports) {
  const std::string api[][2] = {
      {"%WinDir%", ApiWindowsDir()},
      {"%SystemDir%", ApiSystemDir()},
      {"%Temp%", ApiTempDir()},
      {"%InstallerFilepath%", ApiModulePath()},
      {"%InstallerFilename%", ApiModuleName()},
      {"%InstallerDir%", ApiModuleDir()},
      {"%InstallerDrive%", ApiModuleDrive()},
  };
  for (const auto& c : api) {
    SCOPED_TRACE(c[0]);
    ASSERT_FALSE(c[1].empty());
    EXPECT_EQ(Expand(c[0]), c[1]);
    EXPECT_EQ(Expand("<" + c[0] + ">"), "<" + c[1] + ">");
  }
  EXPECT_EQ(Expand("%InstallerDrive%:\\setup"), ApiModuleDrive() + ":\\setup");
}

TEST_F(InstallVariables, RegistryBackedVariablesReadTheirOwnValue) {
  ChooseMarkers();
  for (const RegistrySource& source : kRegistrySources) {
    SCOPED_TRACE(source.variable);
    EXPECT_EQ(Expand(source.variable), Marker(source.variable));
  }
}

// With the prefix's own registry: every variable whose registry value is set gives that value
// (one trailing backslash removed from anything longer than a drive root).
TEST_F(InstallVariables, RegistryBackedVariablesGiveThePrefixsOwnValues) {
  int compared = 0;
  for (const RegistrySource& source : kRegistrySources) {
    SCOPED_TRACE(source.variable);
    std::string value = RawRegistryText(source.root, source.key, source.valueName);
    if (value.empty() || value.find('%') != std::string::npos) continue;  // fallback or expansion
    if (value.size() > 3 && value.back() == '\\') value.pop_back();
    EXPECT_EQ(Expand(source.variable), value);
    ++compared;
  }
  EXPECT_GT(compared, 0) << "the prefix names none of the folders";
}

TEST_F(InstallVariables, RegistryValuesAreReadAgainAtEachCall) {
  Choose("%FontDir%", "Q:\\first");
  EXPECT_EQ(Expand("%FontDir%"), "Q:\\first");
  Choose("%FontDir%", "Q:\\second");
  EXPECT_EQ(Expand("%FontDir%"), "Q:\\second");
}

TEST_F(InstallVariables, BootDriveIsTheSetupBootDirectoryLetterAndColon) {
  const char* cases[][2] = {
      {"e:\\", "E:"},
      {"D:\\Windows", "D:"},
      {"", "C:"},
      {"\\\\server\\share", "C:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    registry_.Set(HKEY_LOCAL_MACHINE, kSetup, "BootDir", c[0]);
    EXPECT_EQ(Expand("%BootDrive%\\boot.ini"), std::string(c[1]) + "\\boot.ini");
  }
}

TEST_F(InstallVariables, InstallDirectoryAndItsDriveFollowTheSetting) {
  const struct {
    const char* installDir;
    const char* text;
    const char* expanded;
  } cases[] = {
      {"D:\\App", "%InstallDir%\\bin", "D:\\App\\bin"},
      {"d:\\App", "%InstallDrive%\\setup", "D:\\setup"},
      {"C:\\App", "%InstallDrive%\\setup", "C:\\setup"},
      {"\\\\server\\share\\App", "%InstallDrive%\\setup", "\\setup"},
      {"App", "[%InstallDrive%]", "[]"},
      {"", "[%InstallDir%][%InstallDrive%]", "[][]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.installDir);
    InstallDir = c.installDir;
    EXPECT_EQ(Expand(c.text), c.expanded);
  }
  // The value is the one at the moment of the call.
  InstallDir = "D:\\First";
  std::string before = Expand("%InstallDir%");
  InstallDir = "E:\\Second";
  EXPECT_EQ(before, "D:\\First");
  EXPECT_EQ(Expand("%InstallDir%"), "E:\\Second");
}

TEST_F(InstallVariables, EmptyValuesRemoveTheName) {
  SharedPath = "";
  InstallDir = "\\\\server\\share";
  EXPECT_EQ(Expand("%SharedDir%\\x"), "\\x");
  EXPECT_EQ(Expand("a%InstallDrive%b%SharedDir%c"), "abc");
  SharedPath = "C:\\Program Files\\Common Files\\Shared";
  EXPECT_EQ(Expand("%SharedDir%\\x"), "C:\\Program Files\\Common Files\\Shared\\x");
}

TEST_F(InstallVariables, NamesMatchInAnyLetterCase) {
  const std::string fonts = ApiWindowsDir() + "\\Fonts";
  const char* spellings[] = {"%windir%\\Fonts", "%WINDIR%\\Fonts", "%WinDir%\\Fonts",
                             "%wInDiR%\\Fonts"};
  for (const char* text : spellings) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Expand(text), fonts);
  }
  InstallDir = "D:\\App";
  EXPECT_EQ(Expand("%installdir%;%INSTALLDIR%;%temp%"),
            "D:\\App;D:\\App;" + ApiTempDir());
}

TEST_F(InstallVariables, OtherTextIsLeftAsItIs) {
  const char* cases[] = {
      "",
      "C:\\Program Files\\App\\app.exe",
      "%Unknown%\\x",
      "%WinDir\\x",
      "WinDir%\\x",
      "% WinDir%",
      "%Win Dir%",
      "100%",
      "%%",
      "%InstallDirectory%",
      "%SystemRoot%\\system32",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Expand(text), text);
  }
}

TEST_F(InstallVariables, ValuesFollowEachOtherWithoutASeparator) {
  InstallDir = "D:\\App";
  EXPECT_EQ(Expand("%InstallDir%%Temp%"), "D:\\App" + ApiTempDir());
}

TEST_F(InstallVariables, AnEarlierValueIsScannedForLaterNamesOnly) {
  InstallDir = "%Temp%\\app";
  SharedPath = "%InstallDir%\\shared";
  EXPECT_EQ(Expand("%InstallDir%"), ApiTempDir() + "\\app");
  EXPECT_EQ(Expand("%SharedDir%"), "%InstallDir%\\shared");
}

// Each chosen variable names the next one: a single expansion walks the whole chain, which
// holds only when they are replaced in exactly this order.
TEST_F(InstallVariables, ChosenVariablesAreReplacedInTheirOrder) {
  std::string chain;
  for (int i = 0; i < kChosenCount; ++i) {
    std::string link = "<" + std::to_string(i) + ">";
    std::string next = i + 1 < kChosenCount ? kChosenInOrder[i + 1] : "";
    Choose(kChosenInOrder[i], link + next);
    chain += link;
  }
  EXPECT_EQ(Expand(kChosenInOrder[0]), chain);
}

// Each chosen variable names the one before it: that name stays as it is.
TEST_F(InstallVariables, AValueNamingAnEarlierVariableKeepsTheName) {
  for (int i = 0; i < kChosenCount; ++i) {
    std::string previous = i > 0 ? kChosenInOrder[i - 1] : "";
    Choose(kChosenInOrder[i], "<" + std::to_string(i) + ">" + previous);
  }
  for (int i = 0; i < kChosenCount; ++i) {
    SCOPED_TRACE(kChosenInOrder[i]);
    std::string previous = i > 0 ? kChosenInOrder[i - 1] : "";
    EXPECT_EQ(Expand(kChosenInOrder[i]), "<" + std::to_string(i) + ">" + previous);
  }
}

// The variables a test cannot choose are placed by their neighbours: a chosen variable just
// before one expands its name, the chosen variable just after it keeps the name.
TEST_F(InstallVariables, SystemVariablesSitBetweenTheirNeighbours) {
  const struct {
    const char* variable;
    std::string value;
    const char* before;  // null: none can be chosen
    const char* after;
  } cases[] = {
      {"%BootDrive%", "C:", nullptr, "%CommonDir%"},
      {"%InstallDrive%", "Q:", "%InstallDir%", "%ProgramsDir%"},
      {"%SystemDir%", ApiSystemDir(), "%SharedDir%", "%DeviceDir%"},
      {"%InstallerDir%", ApiModuleDir(), "%SharedDir%", "%DeviceDir%"},
      {"%InstallerDrive%", ApiModuleDrive(), "%SharedDir%", "%DeviceDir%"},
      {"%InstallerFilename%", ApiModuleName(), "%SharedDir%", "%DeviceDir%"},
      {"%InstallerFilepath%", ApiModulePath(), "%SharedDir%", "%DeviceDir%"},
      {"%Temp%", ApiTempDir(), "%StartupAllDir%", nullptr},
      {"%WinDir%", ApiWindowsDir(), "%StartupAllDir%", nullptr},
  };
  registry_.Set(HKEY_LOCAL_MACHINE, kSetup, "BootDir", "C:\\");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variable);
    ChooseMarkers();
    InstallDir = "Q:\\inst";
    if (c.before != nullptr) {
      std::string carrier = "Q:\\a" + std::string(c.variable);
      Choose(c.before, carrier);
      EXPECT_EQ(Expand(c.before), "Q:\\a" + c.value);
    }
    if (c.after != nullptr) {
      std::string carrier = "Q:\\b" + std::string(c.variable);
      Choose(c.after, carrier);
      EXPECT_EQ(Expand(c.after), carrier);
    }
  }
}

// Every directory variable but the three that may be empty has a value on this system, and a
// directory carries no trailing backslash unless it is a drive root.
TEST_F(InstallVariables, EveryDirectoryVariableHasAValue) {
  const char* names[] = {
      "%BootDrive%",      "%CommonDir%",        "%InstallDir%",      "%ProgramsDir%",
      "%SystemDir%",      "%InstallerDir%",     "%InstallerFilename%", "%InstallerFilepath%",
      "%DeviceDir%",      "%MediaDir%",         "%FavoritesDir%",    "%FavoritesAllDir%",
      "%FontDir%",        "%DesktopDir%",       "%DesktopAllDir%",   "%DocumentDir%",
      "%DocumentAllDir%", "%StartMenuDir%",     "%StartMenuAllDir%", "%SMProgramsDir%",
      "%SMProgramsAllDir%", "%StartupDir%",     "%StartupAllDir%",   "%Temp%",
      "%WinDir%",
  };
  InstallDir = "C:\\App";
  for (const char* name : names) {
    SCOPED_TRACE(name);
    std::string value = Expand(name);
    EXPECT_FALSE(value.empty());
    EXPECT_EQ(value.find('%'), std::string::npos);
    bool root = value.size() == 3 && value[1] == ':';
    if (!root && !value.empty()) {
      EXPECT_NE(value.back(), '\\');
    }
  }
}

}  // namespace
