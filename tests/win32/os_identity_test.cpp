#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/os_identity.h"
#include "platform/system_paths.h"

namespace {

OSVERSIONINFOA SystemVersion() {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  EXPECT_TRUE(GetVersionExA(&info));
  return info;
}

class OsIdentityTest : public testing::Test {
 protected:
  ~OsIdentityTest() override { SetOsFamilyForTesting(OsFamily::kRunningSystem); }
};

TEST_F(OsIdentityTest, RunningSystemAsGetVersionExReportsIt) {
  OSVERSIONINFOA info = SystemVersion();
  OsVersion running = RunningOsVersion();
  EXPECT_EQ(running.major, info.dwMajorVersion);
  EXPECT_EQ(running.minor, info.dwMinorVersion);
  EXPECT_EQ(running.build, info.dwBuildNumber);
  EXPECT_EQ(running.platformId, info.dwPlatformId);
  EXPECT_STREQ(running.servicePack, info.szCSDVersion);

  EXPECT_EQ(IsNT(), info.dwPlatformId == VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(OsKind(), OsKindOf(running));
  EXPECT_STREQ(OsVersionText().CStr(), OsVersionTextOf(running).CStr());
  EXPECT_EQ(std::string(OsVersionText().CStr()).rfind("Windows ", 0), 0u);
}

TEST_F(OsIdentityTest, TestBuildsChooseTheFamily) {
  struct Case {
    OsFamily family;
    bool nt;
    int kind;
    const char* text;
  };
  const Case cases[] = {
      {OsFamily::k9x, false, OsKindBit::kWindows98, "Windows 98 A"},
      {OsFamily::kNT, true, OsKindBit::kWindowsXP, "Windows XP Service Pack 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SetOsFamilyForTesting(c.family);
    EXPECT_EQ(IsNT(), c.nt);
    EXPECT_EQ(OsKind(), c.kind);
    EXPECT_STREQ(OsVersionText().CStr(), c.text);
  }
  SetOsFamilyForTesting(OsFamily::kRunningSystem);
  EXPECT_EQ(RunningOsVersion().build, SystemVersion().dwBuildNumber);
}

TEST_F(OsIdentityTest, TestBuildsChooseTheWholeVersionRecord) {
  OsVersion me = {4, 90, 3000, OsPlatform::kWindows9x, " "};
  SetOsVersionForTesting(&me);
  me.minor = 0;  // the record was copied
  EXPECT_FALSE(IsNT());
  EXPECT_EQ(OsKind(), OsKindBit::kWindowsMe);
  EXPECT_STREQ(OsVersionText().CStr(), "Windows ME");
  SetOsVersionForTesting(nullptr);
  EXPECT_EQ(IsNT(), SystemVersion().dwPlatformId == VER_PLATFORM_WIN32_NT);
}

TEST_F(OsIdentityTest, SystemDirIsTheSystemsWhateverTheFamily) {
  char expected[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryA(expected, sizeof expected), 0u);
  for (OsFamily family : {OsFamily::kRunningSystem, OsFamily::k9x, OsFamily::kNT}) {
    SetOsFamilyForTesting(family);
    EXPECT_STREQ(SystemDir().CStr(), expected);
  }
}

}  // namespace
