// Drives and their free space. A drive is named by its letter; a root is a text such as "C:\"
// or a UNC share "\\server\share\".
#pragma once

#include <cstdint>

#include "core/string.h"

// Whether the letter names a drive the system has (GetDriveTypeA of "X:\" is anything but
// "no root directory"; an unknown type counts as existing).
bool DriveExists(char letter);

// Free and total bytes of the volume of root. GetDiskFreeSpaceExA when the system has it
// (looked up once), else GetDiskFreeSpaceA. False on failure, leaving both untouched.
bool DiskSpace(const String& root, uint64_t& freeBytes, uint64_t& totalBytes);

// Bytes per cluster of the drive; -1 when letter is not a letter or the system cannot say.
int ClusterSize(char letter);

// Free bytes of the drive; kUnknownSpace when letter is not a letter or the system cannot say.
constexpr uint64_t kUnknownSpace = ~uint64_t(0);
uint64_t FreeSpace(char letter);

#ifdef QUORVEX_TEST_SEAM
// Test builds only: DiskSpace behaves as on a system without GetDiskFreeSpaceExA (as when the
// function answers "not implemented") until restored with false.
void ForgetDiskFreeSpaceExForTesting(bool forget);
#endif
