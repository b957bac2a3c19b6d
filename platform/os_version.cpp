#include "platform/os_version.h"

namespace {

// The 9x family's releases are told apart by the minor version of major version 4.
int WindowsNineKind(uint32_t major, uint32_t minor) {
  if (major < 4) return OsKindBit::kOther;
  if (major > 4 || minor >= 90) return OsKindBit::kWindowsMe;
  return minor < 10 ? OsKindBit::kWindows95 : OsKindBit::kWindows98;
}

int WindowsNtKind(uint32_t major, uint32_t minor) {
  if (major <= 3) return OsKindBit::kWindowsNT3;
  if (major == 4) return OsKindBit::kWindowsNT4;
  if (major == 5 && minor == 0) return OsKindBit::kWindows2000;
  if (major == 5 && minor == 1) return OsKindBit::kWindowsXP;
  return OsKindBit::kOther;
}

// The name after "Windows ", without the service pack. Version numbers are printed as the
// signed numbers printf's %d makes of them.
String ReleaseName(const OsVersion& v) {
  int major = int(v.major);
  int minor = int(v.minor);
  switch (v.platformId) {
    case OsPlatform::kWin32s:
      return String::Formatted("%d.%d", major, minor);
    case OsPlatform::kWindows9x:
      if (v.major != 4) return String::Formatted("9x %d.%d", major, minor);
      if (v.minor < 10) return String("95");
      return String(v.minor < 90 ? "98" : "ME");
    case OsPlatform::kWindowsNT:
      if (v.major == 5 && v.minor == 0) return String("2000");
      if (v.major == 5 && v.minor == 1) return String("XP");
      return String::Formatted("NT %d.%d", major, minor);
    default:
      return String();
  }
}

}  // namespace

int OsKindOf(const OsVersion& version) {
  switch (version.platformId) {
    case OsPlatform::kWin32s: return OsKindBit::kWin32s;
    case OsPlatform::kWindows9x: return WindowsNineKind(version.major, version.minor);
    case OsPlatform::kWindowsNT: return WindowsNtKind(version.major, version.minor);
    default: return OsKindBit::kOther;
  }
}

String OsVersionTextOf(const OsVersion& version) {
  String text("Windows ");
  text.Append(ReleaseName(version));
  String servicePack;
  servicePack.AssignBounded(version.servicePack, int(sizeof version.servicePack));
  if (servicePack.FirstChar() != ' ') text.AppendChar(' ');
  text.Append(servicePack);
  text.TrimRight();
  return text;
}
