#include "platform/os_identity.h"

#include <windows.h>

#include <cstring>

namespace {

#ifdef QUORVEX_TEST_SEAM
bool versionOverridden = false;
OsVersion overrideVersion;
#endif

OsVersion SystemVersion() {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes: the structure every Windows accepts
  OsVersion version;
  std::memset(&version, 0, sizeof version);
  if (!GetVersionExA(&info)) return version;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  version.build = info.dwBuildNumber;
  version.platformId = info.dwPlatformId;
  static_assert(sizeof version.servicePack == sizeof info.szCSDVersion, "same text buffer");
  std::memcpy(version.servicePack, info.szCSDVersion, sizeof version.servicePack);
  return version;
}

}  // namespace

OsVersion RunningOsVersion() {
#ifdef QUORVEX_TEST_SEAM
  if (versionOverridden) return overrideVersion;
#endif
  return SystemVersion();
}

bool IsNT() { return RunningOsVersion().platformId == OsPlatform::kWindowsNT; }

int OsKind() { return OsKindOf(RunningOsVersion()); }

String OsVersionText() { return OsVersionTextOf(RunningOsVersion()); }

#ifdef QUORVEX_TEST_SEAM
void SetOsVersionForTesting(const OsVersion* version) {
  versionOverridden = version != nullptr;
  if (version != nullptr) overrideVersion = *version;
}

void SetOsFamilyForTesting(OsFamily family) {
  static const OsVersion kWindowsXp = {5, 1, 2600, OsPlatform::kWindowsNT, "Service Pack 2"};
  static const OsVersion kWindows98 = {4, 10, 2222, OsPlatform::kWindows9x, " A "};
  switch (family) {
    case OsFamily::kNT: SetOsVersionForTesting(&kWindowsXp); break;
    case OsFamily::k9x: SetOsVersionForTesting(&kWindows98); break;
    default: SetOsVersionForTesting(nullptr); break;
  }
}
#endif
