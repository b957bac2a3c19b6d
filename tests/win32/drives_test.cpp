#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/drives.h"
#include "platform/path_text.h"

namespace {

// A drive letter the system does not have; 0 when every letter is taken.
char MissingDriveLetter() {
  DWORD drives = GetLogicalDrives();
  for (char letter = 'Z'; letter >= 'D'; --letter) {
    if (!(drives & (1u << (letter - 'A')))) return letter;
  }
  return 0;
}

// Clusters as the old function reports them, in 64-bit arithmetic.
struct Clusters {
  uint64_t clusterBytes = 0;
  uint64_t freeBytes = 0;
  uint64_t totalBytes = 0;
};

bool ReadClusters(const char* root, Clusters& out) {
  DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &totalClusters)) return false;
  out.clusterBytes = uint64_t(sectors) * bytes;
  out.freeBytes = out.clusterBytes * freeClusters;
  out.totalBytes = out.clusterBytes * totalClusters;
  return true;
}

TEST(DrivesTest, DriveExistsForEveryLetterTheSystemHas) {
  DWORD drives = GetLogicalDrives();
  ASSERT_NE(drives & (1u << ('C' - 'A')), 0u);
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    SCOPED_TRACE(std::string(1, letter));
    bool present = (drives & (1u << (letter - 'A'))) != 0;
    EXPECT_EQ(DriveExists(letter), present);
    EXPECT_EQ(DriveExists(char(letter - 'A' + 'a')), present);
  }
}

class DiskSpaceTest : public testing::Test {
 protected:
  ~DiskSpaceTest() override { ForgetDiskFreeSpaceExForTesting(false); }
};

TEST_F(DiskSpaceTest, ExtendedFunctionGivesTheVolumeTotals) {
  ULARGE_INTEGER available, total, free;
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
  uint64_t freeBytes = 1;
  uint64_t totalBytes = 1;
  ASSERT_TRUE(DiskSpace("C:\\", freeBytes, totalBytes));
  EXPECT_EQ(totalBytes, total.QuadPart);
  EXPECT_GT(totalBytes, 0u);
  EXPECT_LE(freeBytes, totalBytes);
  // Other programs write meanwhile; the free space is the same within a few megabytes.
  EXPECT_NEAR(double(freeBytes), double(free.QuadPart), 64.0 * 1024 * 1024);
}

TEST_F(DiskSpaceTest, WithoutTheExtendedFunctionClustersAreMultipliedOut) {
  ForgetDiskFreeSpaceExForTesting(true);
  Clusters expected;
  ASSERT_TRUE(ReadClusters("C:\\", expected));
  uint64_t freeBytes = 1;
  uint64_t totalBytes = 1;
  ASSERT_TRUE(DiskSpace("C:\\", freeBytes, totalBytes));
  EXPECT_EQ(totalBytes, expected.totalBytes);
  EXPECT_NEAR(double(freeBytes), double(expected.freeBytes), 64.0 * 1024 * 1024);
  EXPECT_EQ(totalBytes % expected.clusterBytes, 0u);
}

TEST_F(DiskSpaceTest, FailuresLeaveTheResultsAlone) {
  char missing = MissingDriveLetter();
  ASSERT_NE(missing, 0);
  const std::string roots[] = {std::string(1, missing) + ":\\", "\\\\no-such-server\\share\\", "",
                               "C:\\no-such-folder\\", std::string(3000, 'x')};
  for (bool forget : {false, true}) {
    ForgetDiskFreeSpaceExForTesting(forget);
    for (const std::string& root : roots) {
      SCOPED_TRACE(root.substr(0, 100) + (forget ? " (old function)" : ""));
      uint64_t freeBytes = 0x1234;
      uint64_t totalBytes = 0x5678;
      EXPECT_FALSE(DiskSpace(root.c_str(), freeBytes, totalBytes));
      EXPECT_EQ(freeBytes, 0x1234u);
      EXPECT_EQ(totalBytes, 0x5678u);
    }
  }
}

TEST(DrivesTest, ClusterSizeAndFreeSpaceOfADrive) {
  Clusters expected;
  ASSERT_TRUE(ReadClusters("C:\\", expected));
  EXPECT_EQ(ClusterSize('C'), int(expected.clusterBytes));
  EXPECT_EQ(ClusterSize('c'), int(expected.clusterBytes));

  ULARGE_INTEGER available, total, free;
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
  uint64_t freeBytes = FreeSpace('C');
  ASSERT_NE(freeBytes, kUnknownSpace);
  EXPECT_NEAR(double(freeBytes), double(free.QuadPart), 64.0 * 1024 * 1024);
}

TEST(DrivesTest, NoLetterNoSpace) {
  char missing = MissingDriveLetter();
  ASSERT_NE(missing, 0);
  // A UNC path has no drive letter: DriveLetterOf gives 0.
  const char letters[] = {DriveLetterOf("\\\\server\\share\\dir"), '1', ':', '\\', missing};
  for (char letter : letters) {
    SCOPED_TRACE(int(letter));
    EXPECT_EQ(ClusterSize(letter), -1);
    EXPECT_EQ(FreeSpace(letter), kUnknownSpace);
  }
}

}  // namespace
