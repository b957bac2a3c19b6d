// What a Windows version record says about the system: its kind (one bit of the mask by which
// an archive refuses systems) and its display name. Pure functions over a copy of the record
// that GetVersionExA fills, so that every system can be judged from a recorded version.
#pragma once

#include <cstdint>

#include "core/string.h"

// Platform ids of the version record.
namespace OsPlatform {
inline constexpr uint32_t kWin32s = 0;
inline constexpr uint32_t kWindows9x = 1;
inline constexpr uint32_t kWindowsNT = 2;
}  // namespace OsPlatform

// The fields of OSVERSIONINFOA that matter here.
struct OsVersion {
  uint32_t major;
  uint32_t minor;
  uint32_t build;
  uint32_t platformId;
  // The service-pack text; not necessarily terminated within its 128 bytes.
  char servicePack[128];
};

// One bit per kind of system.
namespace OsKindBit {
inline constexpr int kOther = 0x001;
inline constexpr int kWin32s = 0x002;
inline constexpr int kWindows95 = 0x004;   // 9x family 4.0 to 4.9
inline constexpr int kWindows98 = 0x008;   // 9x family 4.10 to 4.89
inline constexpr int kWindowsMe = 0x010;   // 9x family 4.90 and later
inline constexpr int kWindowsNT3 = 0x020;  // NT family up to major version 3
inline constexpr int kWindowsNT4 = 0x040;
inline constexpr int kWindows2000 = 0x080;  // NT 5.0
inline constexpr int kWindowsXP = 0x100;    // NT 5.1
}  // namespace OsKindBit

// The kind bit of the system the record describes; kOther for any system not listed above
// (NT 5.2 and later among them).
int OsKindOf(const OsVersion& version);

// "Windows 95", "Windows 98", "Windows ME", "Windows 2000", "Windows XP", "Windows NT 4.0",
// "Windows 9x 5.0" or "Windows 3.10" (Win32s), followed by a blank and the service-pack text
// (no blank added when the text starts with one), with trailing blanks, tabs, CR and LF removed:
// "Windows XP Service Pack 1", "Windows 98 A". An unknown platform has no name: "Windows", then
// the blank and the service-pack text.
String OsVersionTextOf(const OsVersion& version);
