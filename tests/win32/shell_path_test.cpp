#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/open_with_shell.h"
#include "platform/path_text.h"
#include "platform/short_path.h"
#include "platform/system_paths.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::ReadBytes;
using file_test::ScratchDir;
using file_test::Str;
using file_test::WriteBytes;

class ShellPathTest : public testing::Test {
 protected:
  ScratchDir scratch_;
};

bool IsEightDotThree(const std::string& name) {
  size_t dot = name.find('.');
  std::string base = name.substr(0, dot);
  std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  return !base.empty() && base.size() <= 8 && ext.size() <= 3 &&
         ext.find('.') == std::string::npos && name.find(' ') == std::string::npos;
}

TEST_F(ShellPathTest, ShortPathNamesTheSameFileInEightDotThreeParts) {
  ASSERT_TRUE(CreateDirectoryA((scratch_ / "Long Folder Name").c_str(), nullptr));
  const std::string file = scratch_ / "Long Folder Name\\Some Long File.text";
  ASSERT_TRUE(WriteBytes(file, "content"));

  String shortened = ShortPath(file.c_str());
  std::string folderPart = Str(FileNamePart(DirectoryPart(shortened)));
  std::string filePart = Str(FileNamePart(shortened));
  EXPECT_TRUE(IsEightDotThree(folderPart)) << folderPart;
  EXPECT_TRUE(IsEightDotThree(filePart)) << filePart;
  EXPECT_EQ(ReadBytes(Str(shortened)), "content");
  char expanded[MAX_PATH] = {};
  ASSERT_GT(GetLongPathNameA(shortened.CStr(), expanded, sizeof expanded), 0u);
  EXPECT_STREQ(expanded, file.c_str());
}

TEST_F(ShellPathTest, ShortPathKeepsWhatItCannotShorten) {
  const std::string paths[] = {
      scratch_ / "missing file.txt",           // only existing files have a short form
      scratch_ / std::string(700, 'x'),        // longer than the system takes
      scratch_ / std::string(40000, '\\'),
      "\"" + scratch_.Path() + "\"",
      scratch_.Path() + ";" + scratch_.Path(),
      "\\\\no-such-server\\share\\file name.txt",
  };
  for (const std::string& path : paths) {
    SCOPED_TRACE(path.substr(0, 200));
    EXPECT_EQ(Str(ShortPath(path.c_str())), path);
  }
  EXPECT_STREQ(ShortPath("").CStr(), "");
}

// The default action of a batch file is to run it; the one here records the directory it was
// started in, which must be the installer's.
TEST_F(ShellPathTest, OpenWithShellRunsTheDefaultActionInTheInstallerDir) {
  const std::string marker = scratch_ / "started-in.txt";
  const std::string batch = scratch_ / "record dir.bat";
  ASSERT_TRUE(WriteBytes(batch, "@cd > \"" + marker + ".part\"\r\n@move \"" + marker +
                                    ".part\" \"" + marker + "\" > nul\r\n"));
  EXPECT_TRUE(OpenWithShell(batch.c_str()));
  for (int i = 0; i < 300 && !file_test::Exists(marker); ++i) Sleep(50);
  std::string recorded = ReadBytes(marker);
  while (!recorded.empty() && (recorded.back() == '\n' || recorded.back() == '\r'))
    recorded.pop_back();
  EXPECT_TRUE(SamePath(recorded.c_str(), InstallerDir())) << recorded;
}

TEST_F(ShellPathTest, OpenWithShellFailsForWhatCannotBeOpened) {
  const std::string paths[] = {scratch_ / "missing.txt", scratch_ / "bad<name.txt"};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(OpenWithShell(path.c_str()));
  }
}

}  // namespace
