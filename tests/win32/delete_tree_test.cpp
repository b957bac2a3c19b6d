// DeleteTree over real folders: whole trees go, files in use stay (with the walk's error left
// for the caller), and drive roots and anything inside the Windows directory are refused
// whatever their letter case.
#include "platform/delete_tree.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>

#include "platform/system_paths.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::Exists;
using file_test::RemoveTree;
using file_test::ScratchDir;
using file_test::WriteBytes;

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

}  // namespace
