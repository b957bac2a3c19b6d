#include "platform/drives.h"

#include <windows.h>

#include "platform/shell.h"

namespace {

using GetDiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                                 PULARGE_INTEGER);

// GetDiskFreeSpaceExA is missing from the first Windows 95 release; it is looked up once.
struct DiskSpaceFunctions {
  bool lookedUp = false;
  SystemFunction extended = nullptr;
#ifdef QUORVEX_TEST_SEAM
  bool forgottenForTesting = false;
#endif
};

DiskSpaceFunctions diskSpace;

GetDiskFreeSpaceExFunction ExtendedDiskSpaceFunction() {
#ifdef QUORVEX_TEST_SEAM
  if (diskSpace.forgottenForTesting) return nullptr;
#endif
  if (!diskSpace.lookedUp) {
    diskSpace.lookedUp = true;
    static const FunctionTableEntry kKernelFunctions[] = {
        {"GetDiskFreeSpaceExA", &diskSpace.extended, true},
        {nullptr, nullptr, false},
    };
    LoadFunctionTable("kernel32.dll", kKernelFunctions);
  }
  return reinterpret_cast<GetDiskFreeSpaceExFunction>(diskSpace.extended);
}

bool IsLetter(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }

String RootOf(char letter) { return String::Formatted("%c:\\", letter); }

}  // namespace

bool DriveExists(char letter) { return GetDriveTypeA(RootOf(letter).CStr()) != DRIVE_NO_ROOT_DIR; }

bool DiskSpace(const String& root, uint64_t& freeBytes, uint64_t& totalBytes) {
  if (GetDiskFreeSpaceExFunction extended = ExtendedDiskSpaceFunction()) {
    ULARGE_INTEGER available, total, free;
    if (extended(root.CStr(), &available, &total, &free)) {
      freeBytes = free.QuadPart;
      totalBytes = total.QuadPart;
      return true;
    }
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    // A stub that only answers "not implemented": use the old function from now on.
    diskSpace.extended = nullptr;
  }
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
  if (!GetDiskFreeSpaceA(root.CStr(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &totalClusters)) {
    return false;
  }
  uint64_t clusterBytes = uint64_t(sectorsPerCluster) * bytesPerSector;
  freeBytes = clusterBytes * freeClusters;
  totalBytes = clusterBytes * totalClusters;
  return true;
}

int ClusterSize(char letter) {
  if (!IsLetter(letter)) return -1;
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
  if (!GetDiskFreeSpaceA(RootOf(letter).CStr(), &sectorsPerCluster, &bytesPerSector,
                         &freeClusters, &totalClusters)) {
    return -1;
  }
  return int(sectorsPerCluster * bytesPerSector);
}

uint64_t FreeSpace(char letter) {
  if (!IsLetter(letter)) return kUnknownSpace;
  uint64_t freeBytes = 0;
  uint64_t totalBytes = 0;
  return DiskSpace(RootOf(letter), freeBytes, totalBytes) ? freeBytes : kUnknownSpace;
}

#ifdef QUORVEX_TEST_SEAM
void ForgetDiskFreeSpaceExForTesting(bool forget) { diskSpace.forgottenForTesting = forget; }
#endif
