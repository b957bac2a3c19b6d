// A drive letter of the test's own backed by a small tmpfs, so that writes stop for real with
// "disk full". Mounting needs the right to mount (root on the test machines); where it is
// refused the drive is not Ready and the test should skip.
#pragma once

#include <string>

#include "tests/win32/file_test_support.h"
#include "tests/win32/scratch_drive_test_support.h"

namespace full_drive {

class FullDrive {
 public:
  FullDrive(char letter, int kilobytes) : drive_(letter) {
    if (!drive_.Ready()) return;
    unixRoot_ = scratch_drive::UnixName(drive_.Root());
    marker_ = drive_ / "before-mount";
    if (unixRoot_.empty() || !file_test::WriteBytes(marker_, "")) return;
    // The marker vanishes under the new file system: that is how the mount is seen to be done.
    mounted_ =
        scratch_drive::RunUnixUntil("/bin/mount -t tmpfs -o size=" + std::to_string(kilobytes) +
                                        "k tmpfs \"" + unixRoot_ + "\"",
                                    [&] { return !file_test::Exists(marker_); });
  }
  // Unmounted before the scratch drive's own clean-up removes the folder under it.
  ~FullDrive() {
    if (mounted_) {
      scratch_drive::RunUnixUntil("/bin/umount \"" + unixRoot_ + "\"",
                                  [&] { return file_test::Exists(marker_); });
    }
  }
  FullDrive(const FullDrive&) = delete;
  FullDrive& operator=(const FullDrive&) = delete;

  bool Ready() const { return mounted_; }
  const std::string& Root() const { return drive_.Root(); }
  std::string operator/(const std::string& name) const { return drive_ / name; }

 private:
  scratch_drive::ScratchDrive drive_;
  std::string unixRoot_;
  std::string marker_;
  bool mounted_ = false;
};

}  // namespace full_drive
