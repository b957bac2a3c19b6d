#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/system_paths.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::Str;

std::string Fetched(DWORD (*get)(char*, DWORD)) {
  char buffer[MAX_PATH] = {};
  DWORD n = get(buffer, sizeof buffer);
  return std::string(buffer, n < sizeof buffer ? n : 0);
}

TEST(SystemPathsInitTest, ValuesOfThisProcess) {
  const std::string windows =
      Fetched([](char* b, DWORD n) { return DWORD(GetWindowsDirectoryA(b, n)); });
  const std::string module =
      Fetched([](char* b, DWORD n) { return GetModuleFileNameA(nullptr, b, n); });
  ASSERT_FALSE(module.empty());
  EXPECT_EQ(Str(WindowsDir()), windows);
  EXPECT_EQ(Str(InstallerFilepath()), module);
  size_t slash = module.rfind('\\');
  EXPECT_EQ(Str(InstallerDir()), module.substr(0, slash));
  EXPECT_EQ(Str(InstallerFilename()), module.substr(slash + 1));
  EXPECT_EQ(Str(InstallerFilename()), "win32_tests.exe");
  EXPECT_EQ(InstallerDrive(), char(std::toupper(static_cast<unsigned char>(module[0]))));

  std::string temp = Fetched([](char* b, DWORD n) { return GetTempPathA(n, b); });
  if (!temp.empty() && temp.back() == '\\') temp.pop_back();
  EXPECT_EQ(Str(TempDir()), temp);
}

TEST(SystemPathsInitTest, ComputedOnceOnly) {
  const char* before = WindowsDir().CStr();
  const std::string interpreter = Str(CommandInterpreter());
  InitSystemPaths();
  EXPECT_EQ(WindowsDir().CStr(), before);  // the same text, not a new one
  EXPECT_EQ(Str(CommandInterpreter()), interpreter);
}

// The values are computed when a process starts: each case runs in a child process (the death
// test's) that inherits an environment prepared here.
class SystemPathsStartTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"COMSPEC", "TMP", "TEMP"}) {
      char value[MAX_PATH] = {};
      DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
      saved_.push_back({name, n > 0 ? std::string(value) : std::string(), n > 0});
    }
  }
  void TearDown() override {
    for (const Saved& s : saved_)
      SetEnvironmentVariableA(s.name, s.set ? s.value.c_str() : nullptr);
  }

  struct Saved {
    const char* name;
    std::string value;
    bool set;
  };
  std::vector<Saved> saved_;
};

// Exits with 0 when text equals expected, else 1 (after saying why).
[[noreturn]] void ExitComparing(const String& text, const std::string& expected) {
  if (Str(text) == expected) std::exit(0);
  fprintf(stderr, "got [%s], expected [%s]\n", text.CStr(), expected.c_str());
  std::exit(1);
}

TEST_F(SystemPathsStartTest, CommandInterpreterFromComspec) {
  struct Case {
    const char* comspec;  // null: not defined
    std::string expected;
  };
  const std::string windows = Str(WindowsDir());
  const Case cases[] = {
      {"C:\\windows\\system32\\cmd.exe", "C:\\windows\\system32\\cmd.exe"},
      {"C:\\WIN NT\\system32\\cmd.exe", "\"C:\\WIN NT\\system32\\cmd.exe\""},
      {"C:\\tab\there\\cmd.exe", "\"C:\\tab\there\\cmd.exe\""},
      {" ", windows + "\\command.com"},             // blank: the Windows directory's
      {nullptr, "%comspec%"},                       // undefined: left as the system leaves it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.comspec != nullptr ? c.comspec : "(undefined)");
    ASSERT_TRUE(SetEnvironmentVariableA("COMSPEC", c.comspec) || c.comspec == nullptr);
    EXPECT_EXIT(ExitComparing(CommandInterpreter(), c.expected), testing::ExitedWithCode(0), "");
  }
}

TEST_F(SystemPathsStartTest, TempDirLosesOneTrailingBackslash) {
  // The child process keeps its test output in the temporary folder, so the folder must exist;
  // its place must not depend on the temporary folder, which differs in the child.
  const std::string dir = Str(InstallerDir()) + "\\quorvex temp test";
  CreateDirectoryA(dir.c_str(), nullptr);
  struct Case {
    std::string tmp;
    std::string expected;
  };
  const Case cases[] = {
      {dir, dir},
      {dir + "\\", dir},
      {"C:\\", "C:"},  // even a drive root
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tmp);
    ASSERT_TRUE(SetEnvironmentVariableA("TMP", c.tmp.c_str()));
    ASSERT_TRUE(SetEnvironmentVariableA("TEMP", c.tmp.c_str()));
    EXPECT_EXIT(ExitComparing(TempDir(), c.expected), testing::ExitedWithCode(0), "");
  }
  file_test::RemoveTree(dir);
}

}  // namespace
