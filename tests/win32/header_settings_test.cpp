// The settings derived from an archive header, against the locations of the test prefix.
#include "config/header_settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "archive/archive_header.h"
#include "config/settings.h"
#include "install/shared_folder.h"
#include "platform/registry_locations.h"
#include "platform/system_paths.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::Str;

constexpr uint64_t kRegistered = FlagMask(ProductFlag::kRegisterUninstall);
constexpr uint64_t kCustomColours = FlagMask(ProductFlag::kCustomColours);

// Start-up's colours, as sentinels that a derivation must either keep or replace.
constexpr uint32_t kStartTitle = 0x00111111;
constexpr uint32_t kStartTop = 0x00222222;
constexpr uint32_t kStartBottom = 0x00333333;

class ArchiveSettingsTest : public testing::Test {
 protected:
  void SetUp() override { ResetSettings(); }
  void TearDown() override { ResetSettings(); }

  static void ResetSettings() {
    ProductName.Clear();
    SharedPath = "sentinel";
    DisplayVersion = "sentinel";
    UninstallSubdir = "sentinel";
    TitleColor = kStartTitle;
    TopColor = kStartTop;
    BottomColor = kStartBottom;
    MonoColor = true;
    TitleShadow = 0xEE;
    ProductStartMenu = "sentinel";
    DefaultInstallDir = "sentinel";
    UninstallKeyName = "sentinel";
  }

  // A header as the builder writes it for the product Foo of Acme.
  static ArchiveHeader FooHeader() {
    ArchiveHeader header;
    header.publisher = "Acme";
    header.productName = "Foo";
    header.displayVersion = "1.2";
    header.uninstallSubdir = "Uninst";
    header.titleColor = 0x000000FF;
    header.topColor = 0x0000FF00;
    header.bottomColor = 0x00FF0000;
    header.titleShadow = 3;
    return header;
  }
};

TEST_F(ArchiveSettingsTest, DefaultInstallDirIsResolvedUnlessItIsTheMasterPlaceholder) {
  const std::string programFiles = Str(ProgramFilesDir());
  const std::string windows = Str(WindowsDir());
  ASSERT_FALSE(programFiles.empty());
  struct Case {
    const char* commandLineName;  // /n:"..."; empty: none
    const char* stored;
    std::string expected;
  };
  const Case cases[] = {
      {"", "", programFiles + "\\Foo"},
      {"Cli", "", programFiles + "\\Cli"},
      {"", "Tools\\Foo", programFiles + "\\Tools\\Foo"},
      {"", "D:\\Apps\\Foo", "D:\\Apps\\Foo"},
      {"", "<os>\\Foo", windows + "\\Foo"},
      {"", "<OS>\\<Os>", windows + "\\" + windows},
      {"", "%WinDir%\\Foo", windows + "\\Foo"},
      {"", "<master>", "<master>"},
      {"", "<MASTER>", "<MASTER>"},
      {"", "<master>\\Sub", programFiles + "\\<master>\\Sub"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.commandLineName) + " / " + c.stored);
    ProductName = c.commandLineName;
    ArchiveHeader header = FooHeader();
    header.defaultInstallDir = c.stored;
    ApplyHeaderSettings(header);
    EXPECT_EQ(Str(DefaultInstallDir), c.expected);
    EXPECT_EQ(Str(header.defaultInstallDir), c.stored) << "the header stays as it was read";
  }
}

TEST_F(ArchiveSettingsTest, ProductNameFromTheCommandLineIsKept) {
  ArchiveHeader header = FooHeader();
  ApplyHeaderSettings(header);
  EXPECT_EQ(Str(ProductName), "Foo");

  ProductName = "Cli";
  header = FooHeader();
  ApplyHeaderSettings(header);
  EXPECT_EQ(Str(ProductName), "Cli");
  EXPECT_EQ(Str(header.productName), "Foo") << "the header keeps what it stored";
  EXPECT_EQ(Str(UninstallKeyName), "Cli");
  EXPECT_EQ(Str(ProductStartMenu), "Acme\\Cli");
}

TEST_F(ArchiveSettingsTest, SharedPathLiesUnderCommonFilesOnlyForRegisteredProducts) {
  const std::string common = Str(CommonFilesDir());
  ASSERT_FALSE(common.empty());
  struct Case {
    uint64_t flags;
    const char* stored;
    const char* publisher;
    std::string expected;
  };
  const Case cases[] = {
      {0, "", "Acme", ""},
      {0, "Shared", "Acme", ""},
      {kRegistered, "", "Acme", common + "\\Acme"},
      {kRegistered, "", " \t", common + "\\Foo"},
      {kRegistered, "", "", common + "\\Foo"},
      {kRegistered, "Acme Shared\\Bin", "Acme", common + "\\Acme Shared\\Bin"},
      {kRegistered, "  Padded  ", "Acme", common + "\\Padded"},
      {kRegistered, "E:\\Shared", "Acme", "E:\\Shared"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.stored) + " / " + c.publisher);
    ProductName.Clear();
    ArchiveHeader header = FooHeader();
    header.productFlags = c.flags;
    header.sharedPath = c.stored;
    header.publisher = c.publisher;
    ApplyHeaderSettings(header);
    EXPECT_EQ(Str(SharedPath), c.expected);
  }
}

TEST_F(ArchiveSettingsTest, CreateSharedFolderMakesTheFolderWithItsParents) {
  file_test::ScratchDir scratch;
  const std::string shared = scratch / "Acme\\Shared";
  ArchiveHeader header = FooHeader();
  header.productFlags = kRegistered;
  header.sharedPath = shared.c_str();
  ApplyHeaderSettings(header);
  ASSERT_EQ(Str(SharedPath), shared);
  EXPECT_FALSE(file_test::Exists(shared)) << "deriving writes nothing";
  EXPECT_TRUE(CreateSharedFolder());
  DWORD attributes = GetFileAttributesA(shared.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

  SharedPath.Clear();
  EXPECT_TRUE(CreateSharedFolder()) << "no shared folder is needed";

  const std::string blocked = scratch / "file";
  ASSERT_TRUE(file_test::WriteBytes(blocked, "x"));
  SharedPath = (blocked + "\\Sub").c_str();
  EXPECT_FALSE(CreateSharedFolder());
}

TEST_F(ArchiveSettingsTest, StartMenuAndUninstallKeyDefaultToTheProduct) {
  struct Case {
    const char* publisher;
    const char* startMenu;
    const char* keyName;
    const char* expectedStartMenu;
    const char* expectedKeyName;
  };
  const Case cases[] = {
      {"Acme", "", "", "Acme\\Foo", "Foo"},
      {"", "", " \t", "Foo", "Foo"},
      {" ", "", "Key", " \\Foo", "Key"},
      {"Acme", "Menu\\Foo", "Foo 1.2", "Menu\\Foo", "Foo 1.2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.publisher) + " / " + c.startMenu + " / " + c.keyName);
    ProductName.Clear();
    ArchiveHeader header = FooHeader();
    header.publisher = c.publisher;
    header.productStartMenu = c.startMenu;
    header.uninstallKeyName = c.keyName;
    ApplyHeaderSettings(header);
    EXPECT_EQ(Str(ProductStartMenu), c.expectedStartMenu);
    EXPECT_EQ(Str(UninstallKeyName), c.expectedKeyName);
    EXPECT_EQ(Str(header.productStartMenu), c.startMenu) << "the header stays as it was read";
    EXPECT_EQ(Str(header.uninstallKeyName), c.keyName);
  }
}

TEST_F(ArchiveSettingsTest, ColoursComeFromTheHeaderWithCustomColoursOrABitmap) {
  struct Case {
    const char* name;
    uint64_t flags;
    const char* bitmap;
    uint32_t top, bottom;
    uint32_t expectedTitle, expectedTop, expectedBottom;
    bool expectedMono;
  };
  const Case cases[] = {
      {"system colours stay", 0, "", 0x0000FF00, 0x00FF0000, kStartTitle, kStartTop, kStartBottom,
       true},
      {"a bitmap takes the title colour", 0, "BM..", 0x0000FF00, 0x00FF0000, 0x000000FF, kStartTop,
       kStartBottom, true},
      {"a gradient", kCustomColours, "", 0x0000FF00, 0x00FF0000, 0x000000FF, 0x0000FF00, 0x00FF0000,
       false},
      {"one colour", kCustomColours, "", 0x00123456, 0x00123456, 0x000000FF, 0x00123456, 0x00123456,
       true},
      {"a gradient and a bitmap", kCustomColours, "BM..", 0x0000FF00, 0x00FF0000, 0x000000FF,
       0x0000FF00, 0x00FF0000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSettings();
    ArchiveHeader header = FooHeader();
    header.productFlags = c.flags;
    header.backgroundBitmap = c.bitmap;
    header.topColor = c.top;
    header.bottomColor = c.bottom;
    ApplyHeaderSettings(header);
    EXPECT_EQ(TitleColor, c.expectedTitle);
    EXPECT_EQ(TopColor, c.expectedTop);
    EXPECT_EQ(BottomColor, c.expectedBottom);
    EXPECT_EQ(MonoColor, c.expectedMono);
  }
}

TEST_F(ArchiveSettingsTest, PlainFieldsBecomeSettings) {
  ArchiveHeader header = FooHeader();
  ApplyHeaderSettings(header);
  EXPECT_EQ(Str(DisplayVersion), "1.2");
  EXPECT_EQ(Str(UninstallSubdir), "Uninst");
  EXPECT_EQ(TitleShadow, 3);
}

}  // namespace
