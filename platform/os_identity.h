// Which Windows the program runs on, from GetVersionExA. Test builds can make these operations
// (and everything that asks IsNT) see another system than the running one.
#pragma once

#include "core/string.h"
#include "platform/os_version.h"

// The running system's version record (GetVersionExA with the 148-byte structure); all zero
// when the call fails. In test builds, the record chosen for testing when there is one.
OsVersion RunningOsVersion();

// The NT family: the platform id is 2. Everything else counts as the 9x family.
bool IsNT();
// OsKindOf and OsVersionTextOf of the running system.
int OsKind();
String OsVersionText();

#ifdef QUORVEX_TEST_SEAM
// Test builds only. The version record that RunningOsVersion, and so IsNT, OsKind and
// OsVersionText, report instead of the system's; null restores the running system. The record
// is copied.
void SetOsVersionForTesting(const OsVersion* version);

// Shorthand for the two families: a recorded Windows XP Service Pack 2 (5.1.2600) or a recorded
// Windows 98 Second Edition (4.10.2222, service-pack text " A "); kRunningSystem restores the
// system's own record.
enum class OsFamily { kRunningSystem, kNT, k9x };
void SetOsFamilyForTesting(OsFamily family);
#endif
