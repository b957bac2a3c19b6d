// Shell links made through the shell's link object and read back through the same interfaces,
// and the refresh of the desktop folders that shows them.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/shell_link.h"
#include "tests/win32/file_test_support.h"
#include "tests/win32/shell_test_support.h"

namespace {

using file_test::Exists;
using file_test::RemoveTree;
using file_test::ScratchDir;
using file_test::Str;
using file_test::WriteBytes;
using shell_test::ShellFolderValue;
using shell_test::ShellWatcher;

// What a saved link holds, as the shell reads it back.
struct LinkContents {
  bool loaded = false;
  std::string target;
  std::string arguments;
  std::string directory;
  std::string icon;
  int iconIndex = -1;
};

LinkContents ReadLink(const std::string& path) {
  LinkContents contents;
  if (FAILED(CoInitialize(nullptr))) return contents;
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  WCHAR wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(wide, STGM_READ))) {
    char text[1024];
    contents.loaded = true;
    text[0] = '\0';
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    contents.target = text;
    text[0] = '\0';
    link->GetArguments(text, sizeof text);
    contents.arguments = text;
    text[0] = '\0';
    link->GetWorkingDirectory(text, sizeof text);
    contents.directory = text;
    text[0] = '\0';
    link->GetIconLocation(text, sizeof text, &contents.iconIndex);
    contents.icon = text;
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  CoUninitialize();
  return contents;
}

class CreateShortcutTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteBytes(target_, "MZ"));
    ASSERT_TRUE(WriteBytes(icon_, "icon"));
  }
  ScratchDir scratch_;
  const std::string target_ = scratch_ / "program.exe";
  const std::string icon_ = scratch_ / "program.ico";
};

TEST_F(CreateShortcutTest, SavesTargetArgumentsDirectoryAndIcon) {
  String link((scratch_ / "My App").c_str());
  EXPECT_TRUE(
      CreateShortcut(link, target_.c_str(), "/a \"b c\"", scratch_.Path().c_str(), icon_.c_str()));
  EXPECT_EQ(Str(link), scratch_ / "My App.LNK");
  LinkContents contents = ReadLink(Str(link));
  ASSERT_TRUE(contents.loaded);
  EXPECT_STRCASEEQ(contents.target.c_str(), target_.c_str());
  EXPECT_EQ(contents.arguments, "/a \"b c\"");
  EXPECT_STRCASEEQ(contents.directory.c_str(), scratch_.Path().c_str());
  EXPECT_STRCASEEQ(contents.icon.c_str(), icon_.c_str());
  EXPECT_EQ(contents.iconIndex, 0);
}

TEST_F(CreateShortcutTest, WithoutIconArgumentsOrDirectoryTheTargetGivesTheIcon) {
  const struct {
    const char* arguments;
    const char* directory;
    const char* icon;
  } cases[] = {{nullptr, nullptr, nullptr}, {"", "", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.icon == nullptr ? "null" : "empty");
    String link((scratch_ / "Plain").c_str());
    DeleteFileA((Str(link) + ".LNK").c_str());
    EXPECT_TRUE(CreateShortcut(link, target_.c_str(), c.arguments, c.directory, c.icon));
    LinkContents contents = ReadLink(Str(link));
    ASSERT_TRUE(contents.loaded);
    EXPECT_STRCASEEQ(contents.target.c_str(), target_.c_str());
    EXPECT_EQ(contents.arguments, "");
    EXPECT_EQ(contents.directory, "");
    EXPECT_STRCASEEQ(contents.icon.c_str(), target_.c_str());
    EXPECT_EQ(contents.iconIndex, 0);
  }
}

TEST_F(CreateShortcutTest, AddsTheExtensionOnlyWhenTheNameHasNone) {
  const struct {
    const char* name;
    const char* saved;
  } cases[] = {
      {"My App", "My App.LNK"},           {"app.exe", "app.exe.LNK"},
      {"Readme.lnk", "Readme.lnk"},       {"Readme2.Lnk", "Readme2.Lnk"},
      {"notes.lnk.old", "notes.lnk.old"},  // ".lnk" anywhere counts
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    String link((scratch_ / c.name).c_str());
    EXPECT_TRUE(CreateShortcut(link, target_.c_str(), nullptr, nullptr, nullptr));
    EXPECT_EQ(Str(link), scratch_ / c.saved);
    EXPECT_TRUE(ReadLink(Str(link)).loaded);
  }
}

TEST_F(CreateShortcutTest, CreatesTheLinksFolderWithItsParents) {
  String link((scratch_ / "Group\\Sub Group\\App").c_str());
  EXPECT_TRUE(CreateShortcut(link, target_.c_str(), nullptr, nullptr, nullptr));
  EXPECT_TRUE(ReadLink(scratch_ / "Group\\Sub Group\\App.LNK").loaded);
}

TEST_F(CreateShortcutTest, FailsWhereNoLinkCanBeSaved) {
  // A folder that cannot be made (a file stands in its way) and a name longer than a path.
  ASSERT_TRUE(WriteBytes(scratch_ / "blocker", "x"));
  String blocked((scratch_ / "blocker\\App").c_str());
  EXPECT_FALSE(CreateShortcut(blocked, target_.c_str(), nullptr, nullptr, nullptr));
  EXPECT_FALSE(Exists(Str(blocked)));

  String tooLong((scratch_ / std::string(300, 'n')).c_str());
  EXPECT_FALSE(CreateShortcut(tooLong, target_.c_str(), nullptr, nullptr, nullptr));
}

using FolderShortcut = bool (*)(const char*, const char*, const char*, const char*, String*,
                                const char*, uint32_t);

TEST_F(CreateShortcutTest, DesktopAndProgramsShortcutsGoToTheShellFolders) {
  const struct {
    const char* label;
    FolderShortcut create;
    uint32_t flags;
    HKEY root;
    const char* value;
  } cases[] = {
      {"desktop", CreateDesktopShortcut, 0, HKEY_CURRENT_USER, "Desktop"},
      {"all users' desktop", CreateDesktopShortcut, ShortcutFlags::kAllUsers, HKEY_LOCAL_MACHINE,
       "Common Desktop"},
      {"programs", CreateProgramsShortcut, 0, HKEY_CURRENT_USER, "Programs"},
      {"all users' programs", CreateProgramsShortcut, ShortcutFlags::kAllUsers, HKEY_LOCAL_MACHINE,
       "Common Programs"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::string folder = ShellFolderValue(c.root, c.value);
    ASSERT_FALSE(folder.empty());
    std::string group = folder + "\\Quorvex Shortcut Test";
    RemoveTree(group);
    String saved("sentinel");
    EXPECT_TRUE(c.create("Quorvex Shortcut Test\\My App", target_.c_str(), "-x",
                         scratch_.Path().c_str(), &saved, icon_.c_str(), c.flags));
    EXPECT_EQ(Str(saved), group + "\\My App.LNK");
    LinkContents contents = ReadLink(group + "\\My App.LNK");
    EXPECT_TRUE(contents.loaded);
    EXPECT_EQ(contents.arguments, "-x");
    EXPECT_STRCASEEQ(contents.icon.c_str(), icon_.c_str());
    // No out path asked for: the link is made all the same.
    EXPECT_TRUE(c.create("Quorvex Shortcut Test\\Other.lnk", target_.c_str(), nullptr, nullptr,
                         nullptr, nullptr, c.flags));
    EXPECT_TRUE(ReadLink(group + "\\Other.lnk").loaded);
    RemoveTree(group);
  }
}

TEST(RefreshDesktop, NotifiesTheUsersOrAllUsersDesktop) {
  const struct {
    bool allUsers;
    HKEY root;
    const char* value;
  } cases[] = {{false, HKEY_CURRENT_USER, "Desktop"}, {true, HKEY_LOCAL_MACHINE, "Common Desktop"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    std::string desktop = ShellFolderValue(c.root, c.value);
    ASSERT_FALSE(desktop.empty());
    ShellWatcher watcher(nullptr, SHCNE_UPDATEDIR);
    ASSERT_TRUE(watcher.Registered());
    EXPECT_TRUE(RefreshDesktop(c.allUsers));
    std::vector<ShellWatcher::Notice> notices = ShellWatcher::Notices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_STRCASEEQ(notices[0].path.c_str(), desktop.c_str());
  }
}

}  // namespace
