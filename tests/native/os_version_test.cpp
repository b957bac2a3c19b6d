#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/os_version.h"

namespace {

OsVersion Recorded(uint32_t platformId, uint32_t major, uint32_t minor, const char* servicePack) {
  OsVersion version;
  std::memset(&version, 0x5A, sizeof version);  // every byte the record does not set is noise
  version.platformId = platformId;
  version.major = major;
  version.minor = minor;
  version.build = 1234;
  std::strncpy(version.servicePack, servicePack, sizeof version.servicePack);
  return version;
}

struct Case {
  uint32_t platformId;
  uint32_t major;
  uint32_t minor;
  const char* servicePack;
  int kind;
  const char* text;
};

TEST(OsVersion, EveryRowOfTheKindAndNameTables) {
  const Case cases[] = {
      // Win32s: any version.
      {0, 1, 30, "", OsKindBit::kWin32s, "Windows 1.30"},
      {0, 3, 11, "", OsKindBit::kWin32s, "Windows 3.11"},
      // The 9x family, by its minor version.
      {1, 4, 0, "", OsKindBit::kWindows95, "Windows 95"},
      {1, 4, 0, " B", OsKindBit::kWindows95, "Windows 95 B"},
      {1, 4, 3, "", OsKindBit::kWindows95, "Windows 95"},
      {1, 4, 9, "", OsKindBit::kWindows95, "Windows 95"},
      {1, 4, 10, "", OsKindBit::kWindows98, "Windows 98"},
      {1, 4, 10, " A ", OsKindBit::kWindows98, "Windows 98 A"},  // Second Edition
      {1, 4, 89, "", OsKindBit::kWindows98, "Windows 98"},
      {1, 4, 90, "", OsKindBit::kWindowsMe, "Windows ME"},
      {1, 4, 200, "", OsKindBit::kWindowsMe, "Windows ME"},
      {1, 5, 0, "", OsKindBit::kWindowsMe, "Windows 9x 5.0"},
      {1, 3, 95, "", OsKindBit::kOther, "Windows 9x 3.95"},
      // The NT family, by its major version, and 5.0 and 5.1 by name.
      {2, 3, 51, "", OsKindBit::kWindowsNT3, "Windows NT 3.51"},
      {2, 0, 0, "", OsKindBit::kWindowsNT3, "Windows NT 0.0"},
      {2, 4, 0, "Service Pack 6", OsKindBit::kWindowsNT4, "Windows NT 4.0 Service Pack 6"},
      {2, 5, 0, "Service Pack 4", OsKindBit::kWindows2000, "Windows 2000 Service Pack 4"},
      {2, 5, 1, "Service Pack 1", OsKindBit::kWindowsXP, "Windows XP Service Pack 1"},
      {2, 5, 1, "", OsKindBit::kWindowsXP, "Windows XP"},
      {2, 5, 2, "", OsKindBit::kOther, "Windows NT 5.2"},
      {2, 6, 1, "Service Pack 1", OsKindBit::kOther, "Windows NT 6.1 Service Pack 1"},
      // Any other platform: no name at all (the blanks around it stay).
      {3, 4, 0, "", OsKindBit::kOther, "Windows"},
      {3, 4, 0, "Service Pack 9", OsKindBit::kOther, "Windows  Service Pack 9"},
      // Only trailing white space goes; a leading blank is not doubled.
      {2, 5, 1, "Service Pack 2\t\r\n ", OsKindBit::kWindowsXP, "Windows XP Service Pack 2"},
      {2, 5, 1, "  two", OsKindBit::kWindowsXP, "Windows XP  two"},
      // Numbers are printed as printf's %d prints the 32-bit fields.
      {0, 0xFFFFFFFFu, 2, "", OsKindBit::kWin32s, "Windows -1.2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.platformId) + " " + std::to_string(c.major) + "." +
                 std::to_string(c.minor) + " [" + c.servicePack + "]");
    OsVersion version = Recorded(c.platformId, c.major, c.minor, c.servicePack);
    EXPECT_EQ(OsKindOf(version), c.kind);
    EXPECT_STREQ(OsVersionTextOf(version).CStr(), c.text);
  }
}

TEST(OsVersion, ServicePackTextWithoutTerminatorIsReadWithinItsBuffer) {
  OsVersion version = Recorded(2, 5, 1, "");
  std::memset(version.servicePack, 'x', sizeof version.servicePack);
  String text = OsVersionTextOf(version);
  EXPECT_EQ(text.Length(), int(std::strlen("Windows XP ") + sizeof version.servicePack));
  EXPECT_STREQ(text.Substring(0, 11).CStr(), "Windows XP ");
  EXPECT_EQ(text.LastChar(), 'x');
}

}  // namespace
