// DeleteTree over real folders: whole trees go, files in use stay (with the walk's error left
// for the caller), links are removed without entering them, and drive roots, the Program Files
// directory and anything inside the Windows directory are refused in every spelling.
#include "platform/delete_tree.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

#include "platform/registry_locations.h"
#include "platform/short_path.h"
#include "platform/system_paths.h"
#include "tests/win32/file_test_support.h"
#include "tests/win32/scratch_drive_test_support.h"

namespace {

using file_test::Exists;
using file_test::RemoveTree;
using file_test::ScratchDir;
using file_test::Str;
using file_test::WriteBytes;
using scratch_drive::ScratchDrive;

// The scratch drive's letter: no test prefix maps it otherwise.
constexpr char kScratchLetter = 'Q';

// Makes a small tree under root: files at two depths, a read-only and a hidden file, an empty
// folder.
void MakeTree(const std::string& root) {
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((root + "\\sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((root + "\\sub\\deeper").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((root + "\\empty").c_str(), nullptr));
  ASSERT_TRUE(WriteBytes(root + "\\top.txt", "1"));
  ASSERT_TRUE(WriteBytes(root + "\\no extension", "2"));
  ASSERT_TRUE(WriteBytes(root + "\\sub\\deeper\\bottom.dll", "3"));
  ASSERT_TRUE(WriteBytes(root + "\\sub\\read-only.txt", "4"));
  ASSERT_TRUE(SetFileAttributesA((root + "\\sub\\read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(WriteBytes(root + "\\sub\\hidden.ini", "5"));
  ASSERT_TRUE(SetFileAttributesA((root + "\\sub\\hidden.ini").c_str(), FILE_ATTRIBUTE_HIDDEN));
}

String Text(const std::string& text) { return String(text.c_str()); }

TEST(DeleteTree, RemovesEverythingAndTheFolder) {
  ScratchDir scratch;
  std::string root = scratch / "product";
  MakeTree(root);
  for (const std::string& path : {root, root + "\\"}) {
    SCOPED_TRACE(path);
    if (!Exists(root)) MakeTree(root);
    EXPECT_TRUE(DeleteTree(Text(path)));
    EXPECT_FALSE(Exists(root));
  }
  EXPECT_TRUE(Exists(scratch.Path()));
}

TEST(DeleteTree, AFileInUseStaysAndEverythingElseGoes) {
  ScratchDir scratch;
  std::string root = scratch / "product";
  MakeTree(root);
  std::string held = root + "\\sub\\deeper\\bottom.dll";
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  SetLastError(0);
  EXPECT_FALSE(DeleteTree(Text(root)));
  // The error is the file's, not that of the folders it kept full.
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
  CloseHandle(holder);
  EXPECT_TRUE(Exists(held));
  for (const char* gone :
       {"\\top.txt", "\\no extension", "\\sub\\read-only.txt", "\\sub\\hidden.ini", "\\empty"}) {
    SCOPED_TRACE(gone);
    EXPECT_FALSE(Exists(root + gone));
  }
}

TEST(DeleteTree, AMissingFolderFails) {
  ScratchDir scratch;
  EXPECT_FALSE(DeleteTree(Text(scratch / "missing")));
}

// Texts of three characters or fewer are drive roots to DeleteTree, even where they name a
// folder relative to the current directory; four characters are not.
TEST(DeleteTree, RefusesTextsOfThreeCharactersOrFewer) {
  ScratchDir scratch;
  char saved[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof saved, saved);
  ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));
  ASSERT_EQ(std::toupper(static_cast<unsigned char>(scratch.Path()[0])), 'C');
  const struct {
    const char* text;
    const char* folder;
    bool deleted;
  } cases[] = {
      {"abc", "abc", false}, {"a\\", "a", false},    {"C:a", "a", false},
      {"c:a", "a", false},   {"abcd", "abcd", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string folder = scratch / c.folder;
    if (!Exists(folder)) MakeTree(folder);
    EXPECT_EQ(DeleteTree(String(c.text)), c.deleted);
    EXPECT_EQ(Exists(folder + "\\sub\\deeper\\bottom.dll"), !c.deleted);
  }
  SetCurrentDirectoryA(saved);
}

TEST(DeleteTree, NeverTouchesTheWindowsDirectory) {
  std::string windows(WindowsDir().CStr());
  ASSERT_GT(windows.size(), 3u);
  std::string guarded = windows + "\\quorvex-delete-tree-guard";
  RemoveTree(guarded);
  MakeTree(guarded);
  std::string upper = guarded;
  std::string lower = guarded;
  for (char& ch : upper) ch = char(std::toupper(static_cast<unsigned char>(ch)));
  for (char& ch : lower) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  for (const std::string& path :
       {guarded, upper, lower, lower + "\\sub", upper + "\\SUB\\DEEPER"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(DeleteTree(Text(path)));
    EXPECT_TRUE(Exists(guarded + "\\sub\\deeper\\bottom.dll"));
    EXPECT_TRUE(Exists(guarded + "\\top.txt"));
  }
  RemoveTree(guarded);
}

// The spellings a path may take for the same folder: case, slashes, trailing separators,
// "." and ".." steps, the short form.
std::vector<std::string> Spellings(const std::string& folder) {
  std::string upper = folder, lower = folder, slashes = folder;
  for (char& ch : upper) ch = char(std::toupper(static_cast<unsigned char>(ch)));
  for (char& ch : lower) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  for (char& ch : slashes) ch = ch == '\\' ? '/' : ch;
  std::string drive = folder.substr(0, 2);
  std::string rest = folder.substr(2);  // "\\..." or empty for a root without its backslash
  std::string leaf = folder.substr(folder.find_last_of('\\') + 1);
  std::vector<std::string> spellings = {
      folder,
      folder + "\\",
      upper,
      lower,
      slashes,
      slashes + "/",
      folder + "\\.",
      folder + "\\.\\",
      drive + "\\.\\" + rest.substr(1),
      drive + "\\quorvex-no-such\\.." + rest,
      folder + "\\quorvex-no-such\\..",
      folder + "\\\\",
  };
  if (!leaf.empty()) spellings.push_back(folder + "\\..\\" + leaf);
  std::string shortForm = Str(ShortPath(String(folder.c_str())));
  spellings.push_back(shortForm);
  spellings.push_back(shortForm + "\\");
  return spellings;
}

TEST(DeleteTree, GuardRefusesEverySpellingOfTheProtectedFolders) {
  const std::string windows = Str(WindowsDir());
  const std::string programFiles = Str(ProgramFilesDir());
  ASSERT_GT(windows.size(), 3u);
  ASSERT_GT(programFiles.size(), 3u);
  const std::string drive = windows.substr(0, 2);
  struct Protected {
    const char* label;
    std::string folder;
  };
  const Protected folders[] = {
      {"the Windows directory", windows},
      {"a folder inside the Windows directory", windows + "\\system32"},
      {"the Program Files directory", programFiles},
  };
  for (const Protected& p : folders) {
    SCOPED_TRACE(p.label);
    for (const std::string& spelling : Spellings(p.folder)) {
      SCOPED_TRACE(spelling);
      EXPECT_TRUE(IsProtectedFromDeletion(String(spelling.c_str())));
    }
  }
  for (const char* root : {"\\", "\\.", "\\.\\", "/", "\\quorvex-no-such\\..",
                           "\\quorvex-no-such\\..\\", "\\\\", "/./"}) {
    std::string spelling = drive + root;
    SCOPED_TRACE(spelling);
    EXPECT_TRUE(IsProtectedFromDeletion(String(spelling.c_str())));
  }
  for (const char* path : {"\\\\server\\share", "\\\\server\\share\\", "//server/share",
                           "\\\\?\\C:\\quorvex", "\\\\.\\C:\\quorvex"}) {
    SCOPED_TRACE(path);
    EXPECT_TRUE(IsProtectedFromDeletion(String(path)));
  }
  // Where products go is not protected: a folder inside Program Files, one beside Windows.
  for (const std::string& allowed :
       {programFiles + "\\Quorvex Product", programFiles + "\\..\\quorvex-product",
        drive + "\\quorvex-product", Str(ShortPath(String(programFiles.c_str()))) + "\\App"}) {
    SCOPED_TRACE(allowed);
    EXPECT_FALSE(IsProtectedFromDeletion(String(allowed.c_str())));
  }
}

// On a drive of the test's own, every spelling of its root is refused before anything goes.
TEST(DeleteTree, RefusesEverySpellingOfADriveRootAndDeletesNothing) {
  ScratchDrive drive(kScratchLetter);
  if (!drive.Ready()) GTEST_SKIP() << "no scratch drive (needs Wine and its dosdevices)";
  const std::string tree = drive / "product";
  MakeTree(tree);
  ASSERT_TRUE(WriteBytes(drive / "keep.txt", "root file"));
  const std::string root = drive.Root().substr(0, 2);
  for (const char* spelling :
       {"\\", "\\.", "\\.\\", "/", "\\product\\..", "\\product\\..\\", "/product/..",
        "\\quorvex-no-such\\..", "\\\\", "\\.\\product\\..\\."}) {
    std::string path = root + spelling;
    SCOPED_TRACE(path);
    EXPECT_FALSE(DeleteTree(String(path.c_str())));
    EXPECT_TRUE(Exists(drive / "keep.txt"));
    EXPECT_TRUE(Exists(tree + "\\sub\\deeper\\bottom.dll"));
    EXPECT_TRUE(Exists(tree + "\\top.txt"));
  }
  // The same tree named plainly goes, so the refusals above were the guard's.
  EXPECT_TRUE(DeleteTree(String((root + "/product/./").c_str())));
  EXPECT_FALSE(Exists(tree));
  EXPECT_TRUE(Exists(drive / "keep.txt"));
}

// A link met in the walk, or named itself, is not entered: what it points to keeps its files.
TEST(DeleteTree, RemovesLinksWithoutEnteringThem) {
  ScratchDrive drive(kScratchLetter);
  if (!drive.Ready()) GTEST_SKIP() << "no scratch drive (needs Wine and its dosdevices)";
  const std::string target = drive / "target";
  MakeTree(target);
  const std::string tree = drive / "product";
  MakeTree(tree);
  ASSERT_TRUE(drive.Link("product\\sub\\to-target", "../../target"));
  ASSERT_TRUE(drive.Link("link-to-target", "target"));
  ASSERT_NE(GetFileAttributesA((tree + "\\sub\\to-target").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT,
            0u);
  DeleteTree(String(tree.c_str()));
  DeleteTree(String((drive / "link-to-target").c_str()));
  for (const char* kept : {"\\top.txt", "\\no extension", "\\sub\\deeper\\bottom.dll",
                           "\\sub\\read-only.txt", "\\sub\\hidden.ini", "\\empty"}) {
    SCOPED_TRACE(kept);
    EXPECT_TRUE(Exists(target + kept));
  }
  // Everything of the tree that is not a link is gone; whether the link itself can be removed
  // is the system's: Windows removes a junction with RemoveDirectoryA, Wine 8 cannot.
  for (const char* gone : {"\\top.txt", "\\no extension", "\\sub\\deeper", "\\sub\\read-only.txt",
                           "\\sub\\hidden.ini", "\\empty"}) {
    SCOPED_TRACE(gone);
    EXPECT_FALSE(Exists(tree + gone));
  }
}

}  // namespace
