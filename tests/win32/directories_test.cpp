#include "platform/directories.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/file_attributes.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::Exists;
using file_test::ScratchDir;
using file_test::Str;
using file_test::WriteBytes;

std::string CurrentDirectory() {
  char dir[MAX_PATH * 4] = {};
  DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
  return std::string(dir, n < sizeof dir ? n : 0);
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Each test starts in, and returns to, the directory it found.
class DirectoriesTest : public testing::Test {
 protected:
  DirectoriesTest() : original_(CurrentDirectory()) {}
  ~DirectoriesTest() override { SetCurrentDirectoryA(original_.c_str()); }

  std::string original_;
  ScratchDir scratch_;
};

TEST_F(DirectoriesTest, CurrentDirOfAnyLength) {
  // Past the first 100-byte try, so that the second query with the reported size is needed.
  std::string deep = scratch_ / std::string(120, 'd');
  ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
  const std::string dirs[] = {scratch_.Path(), deep, "C:\\"};
  for (const std::string& dir : dirs) {
    SCOPED_TRACE(dir);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
    EXPECT_EQ(Str(GetCurrentDir()), CurrentDirectory());
    EXPECT_EQ(Str(GetCurrentDir()), dir);
  }
}

TEST_F(DirectoriesTest, DirectoryExistsOnlyForFolders) {
  ASSERT_TRUE(WriteBytes(scratch_ / "file.txt", "x"));
  ASSERT_TRUE(CreateDirectoryA((scratch_ / "sub").c_str(), nullptr));
  ASSERT_TRUE(SetCurrentDirectoryA((scratch_ / "sub").c_str()));
  struct Case {
    std::string path;
    bool exists;
  };
  const Case cases[] = {
      {scratch_.Path(), true},
      {scratch_.Path() + "\\", true},
      {scratch_ / "sub", true},
      {"..", true},  // relative to the current directory
      {"C:\\", true},
      {scratch_ / "file.txt", false},
      {scratch_ / "missing", false},
      {"", false},
      {"\"" + scratch_.Path() + "\"", false},
      {scratch_.Path() + ";x", false},
      {scratch_ / std::string(5000, 'x'), false},
      {scratch_ / std::string(40000, '\\'), false},
      {"\\\\no-such-server\\share", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 200));
    EXPECT_EQ(DirectoryExists(c.path.c_str()), c.exists);
    // Checked or not, the current directory is where it was.
    EXPECT_EQ(CurrentDirectory(), scratch_ / "sub");
  }
}

TEST_F(DirectoriesTest, CreateDirectoryPathMakesEveryMissingParent) {
  EXPECT_TRUE(CreateDirectoryPath((scratch_ / "a\\b\\c").c_str()));
  EXPECT_TRUE(IsDirectory(scratch_ / "a"));
  EXPECT_TRUE(IsDirectory(scratch_ / "a\\b"));
  EXPECT_TRUE(IsDirectory(scratch_ / "a\\b\\c"));
  // Existing: true without change. A trailing backslash names the same folder.
  EXPECT_TRUE(CreateDirectoryPath((scratch_ / "a\\b").c_str()));
  EXPECT_TRUE(CreateDirectoryPath((scratch_ / "x\\y\\").c_str()));
  EXPECT_TRUE(IsDirectory(scratch_ / "x\\y"));
  // Drive roots exist or are left alone.
  EXPECT_TRUE(CreateDirectoryPath("C:\\"));
  EXPECT_EQ(CurrentDirectory(), original_);
}

TEST_F(DirectoriesTest, CreateDirectoryPathFailures) {
  ASSERT_TRUE(WriteBytes(scratch_ / "file.txt", "x"));
  struct Case {
    std::string path;
    std::string mustNotExist;
  };
  const Case cases[] = {
      {"", ""},
      // A file is in the way of the first missing folder.
      {scratch_ / "file.txt\\sub\\deeper", scratch_ / "file.txt\\sub"},
      {scratch_ / "bad<name\\sub", scratch_ / "bad<name"},
      // Past the first unquoted semicolon nothing is a separator, so the parent of "a;b\c" is
      // the scratch folder itself and "a;b" is never made.
      {scratch_ / "a;b\\c", scratch_ / "a;b"},
      // Longer than any folder name the system takes: made as far as it can, then false.
      {scratch_ / std::string(300, 'n') + "\\leaf", scratch_ / std::string(300, 'n')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 200));
    EXPECT_FALSE(CreateDirectoryPath(c.path.c_str()));
    if (!c.mustNotExist.empty()) {
      EXPECT_FALSE(Exists(c.mustNotExist));
    }
  }
  // Beyond any length the system takes: refused at once, however many folders it names.
  std::string beyond(40000, '\\');
  EXPECT_FALSE(CreateDirectoryPath((scratch_.Path() + beyond).c_str()));
  std::string many;
  for (int i = 0; i < 2000; ++i) many += "\\d";
  EXPECT_FALSE(CreateDirectoryPath((scratch_.Path() + many).c_str()));
  EXPECT_TRUE(IsDirectory(scratch_ / "d\\d\\d"));  // as many as fit were made, outermost first
  EXPECT_EQ(CurrentDirectory(), original_);
}

TEST_F(DirectoriesTest, RemoveDirectoryIfEmptyKeepsFullFoldersAndRoots) {
  ASSERT_TRUE(CreateDirectoryA((scratch_ / "empty").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((scratch_ / "empty2").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((scratch_ / "full").c_str(), nullptr));
  ASSERT_TRUE(WriteBytes(scratch_ / "full\\f.txt", "x"));
  struct Case {
    std::string path;
    bool removed;
  };
  const Case cases[] = {
      {scratch_ / "empty", true},     {scratch_ / "empty2\\", true}, {scratch_ / "full", false},
      {scratch_ / "missing", false}, {"C:\\", false},               {"C:", false},
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(RemoveDirectoryIfEmpty(c.path.c_str()), c.removed);
  }
  EXPECT_FALSE(Exists(scratch_ / "empty"));
  EXPECT_FALSE(Exists(scratch_ / "empty2"));
  EXPECT_TRUE(Exists(scratch_ / "full\\f.txt"));
}

TEST_F(DirectoriesTest, FileExistsAlsoForFilesHeldByOthers) {
  ASSERT_TRUE(WriteBytes(scratch_ / "file.txt", "x"));
  ASSERT_TRUE(WriteBytes(scratch_ / "held.txt", "x"));
  ASSERT_TRUE(CreateDirectoryA((scratch_ / "sub").c_str(), nullptr));
  HANDLE held = CreateFileA((scratch_ / "held.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  struct Case {
    std::string path;
    bool exists;
  };
  const Case cases[] = {
      {scratch_ / "file.txt", true}, {scratch_ / "held.txt", true},
      {scratch_ / "missing", false}, {scratch_ / "sub", false},
      {"", false},                   {scratch_ / "sub\\missing.txt", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileExists(c.path.c_str()), c.exists);
  }
  CloseHandle(held);
  EXPECT_FALSE(Exists(scratch_ / "missing"));  // probing never creates
}

TEST_F(DirectoriesTest, AttributesAreReadAndChangedBitByBit) {
  const DWORD kArchiveHidden = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN;
  const std::string file = scratch_ / "file.txt";
  ASSERT_TRUE(WriteBytes(file, "x"));
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(GetAttributes(file.c_str()), uint32_t(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_FALSE(IsReadOnly(file.c_str()));

  EXPECT_TRUE(SetReadOnly(file.c_str(), true));
  EXPECT_EQ(GetFileAttributesA(file.c_str()),
            DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(IsReadOnly(file.c_str()));
  EXPECT_TRUE(SetReadOnly(file.c_str(), true));  // already so

  // Hidden on, read-only off, archive (outside the mask) untouched.
  EXPECT_TRUE(ChangeAttributes(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE,
                               FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributesA(file.c_str()), kArchiveHidden);

  EXPECT_TRUE(ClearAttributes(file.c_str(), FILE_ATTRIBUTE_READONLY));  // none set: nothing to do
  EXPECT_EQ(GetFileAttributesA(file.c_str()), kArchiveHidden);
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                   FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(ClearAttributes(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  DWORD left = GetFileAttributesA(file.c_str());
  EXPECT_EQ(left & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY), 0u);
  EXPECT_NE(left & FILE_ATTRIBUTE_SYSTEM, 0u);

  EXPECT_TRUE(SetReadOnly(file.c_str(), true));
  EXPECT_TRUE(SetReadOnly(file.c_str(), false));
  EXPECT_FALSE(IsReadOnly(file.c_str()));

  EXPECT_NE(GetAttributes(scratch_.Path().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(DirectoriesTest, AttributeHelpersFailWhereThereIsNoFile) {
  const std::string paths[] = {scratch_ / "missing.txt", "", scratch_ / std::string(4000, 'x'),
                               "\"" + scratch_.Path() + "\""};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path.substr(0, 200));
    EXPECT_EQ(GetAttributes(path.c_str()), kInvalidAttributes);
    EXPECT_FALSE(IsReadOnly(path.c_str()));
    EXPECT_FALSE(ClearAttributes(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(ChangeAttributes(path.c_str(), FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(SetReadOnly(path.c_str(), true));
  }
}

}  // namespace
