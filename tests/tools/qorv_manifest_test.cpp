// The manifest: defaults of a minimal one, every readable name mapped to its stored value,
// the default string table's placeholders, and errors that point at the line and column.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "archive/product_flags.h"
#include "config/language_table.h"
#include "tests/tools/qorv_test_support.h"
#include "tools/qorv/default_strings.h"
#include "tools/qorv/manifest.h"
#include "tools/qorv/payload_files.h"

using qorv_test::ScratchFolder;

namespace {

struct ManifestFixture : ::testing::Test {
  ScratchFolder dir;
  LoadedManifest manifest;
  std::string error;

  bool Load(const std::string& toml) {
    dir.Write("qorv.toml", toml);
    return LoadManifest(dir / "qorv.toml", manifest, error);
  }

  // The manifest is refused with a message holding `expected`, in which "@" stands for the
  // manifest's path.
  void ExpectRefused(const std::string& toml, std::string expected) {
    LoadedManifest fresh;
    dir.Write("qorv.toml", toml);
    std::string message;
    EXPECT_FALSE(LoadManifest(dir / "qorv.toml", fresh, message));
    const size_t at = expected.find('@');
    if (at != std::string::npos) expected.replace(at, 1, dir / "qorv.toml");
    EXPECT_NE(message.find(expected), std::string::npos) << message;
  }
};

TEST_F(ManifestFixture, MinimalManifestTakesTheFolderSortedWithDefaults) {
  dir.Write("files/b.txt", "bee");
  dir.Write("files/a/z.txt", "zed");
  dir.Write("files/B.txt", "upper");
  dir.Write("files/a.txt", "a");
  dir.Write("files/a_/y.txt", "y");
  ASSERT_TRUE(Load("[product]\nname = \"My Product\"\n[files]\nfolder = \"files\"\n")) << error;
  const InstallerPlan& plan = manifest.plan;
  const char* expected[] = {"B.txt", "a.txt", "a\\z.txt", "a_\\y.txt", "b.txt"};
  ASSERT_EQ(plan.files.Count(), 5);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const FileEntry& e = plan.files[i];
    EXPECT_STREQ(e.name.CStr(), expected[i]);
    EXPECT_EQ(e.destinationKind, 0u);
    EXPECT_EQ(e.flags, 0u);
    EXPECT_EQ(e.attributes, 0xFFFFFFFFu);
    archive_test::ExpectStampEq(e.stamp, archive_test::Stamp(2001, 9, 9, 1, 46, 40));
  }
  EXPECT_EQ(std::string(plan.files[4].data, size_t(plan.files[4].length)), "bee");
  const ArchiveHeader& h = plan.header;
  EXPECT_EQ(h.productFlags, FlagMask(ProductFlag::kRegisterUninstall) |
                                FlagMask(ProductFlag::kCompressedData) |
                                FlagMask(ProductFlag::kChooseDirectory));
  EXPECT_STREQ(h.productName.CStr(), "My Product");
  EXPECT_STREQ(h.volumeBase.CStr(), "MyProduct");
  EXPECT_EQ(manifest.volumeFileBase, "MyProduct");
  EXPECT_STREQ(h.uninstallerName.CStr(), "Uninstall My Product.exe");
  archive_test::ExpectStampEq(h.uninstallerStamp, archive_test::Stamp(2001, 9, 9, 1, 46, 40));
  ASSERT_EQ(plan.languages.names.Count(), 1);
  EXPECT_STREQ(plan.languages.names[0].CStr(), "English");
  ASSERT_EQ(plan.languages.texts.Count(), kStringIdCount);
  for (int id = 0; id < kStringIdCount; ++id) {
    // Written with the CR LF line breaks the installer shows.
    EXPECT_STREQ(plan.languages.texts[id][0].CStr(),
                 NormalizeLineBreaks(DefaultEnglishString(StringId(id))).CStr())
        << id;
  }
}

TEST_F(ManifestFixture, SourceDateEpochClampsNewerFiles) {
  dir.Write("files/new.txt", "n", 2000000000);
  dir.Write("files/old.txt", "o", 1000000000);
  setenv("SOURCE_DATE_EPOCH", "1500000000", 1);
  const bool loaded = Load("[product]\nname = \"P\"\n[files]\nfolder = \"files\"\n");
  unsetenv("SOURCE_DATE_EPOCH");
  ASSERT_TRUE(loaded) << error;
  archive_test::ExpectStampEq(manifest.plan.files[0].stamp, archive_test::Stamp(2017, 7, 14, 2, 40, 0));
  archive_test::ExpectStampEq(manifest.plan.files[1].stamp, archive_test::Stamp(2001, 9, 9, 1, 46, 40));
}

TEST_F(ManifestFixture, ReadableNamesBecomeTheirStoredValues) {
  dir.Write("files/app.exe", "MZ");
  dir.Write("extra/font.ttf", "font");
  dir.Write("licence.txt", "Licence caf\xC3\xA9");
  dir.Write("bg.bmp", std::string("BM\0\1", 4));
  dir.Write("de.toml", "name = \"Deutsch\"\n[strings]\n0 = \"Titel\"\n");
  ASSERT_TRUE(Load(R"(languages = ["de.toml"]
[product]
name = "App"
publisher = "Pub"
version = "1.2"
install_dir = "%ProgramsDir%\\App"
master_product = "Base"
unsupported_systems = ["windows_95", "windows_nt3"]
stage_delay = 250
shortcut_mode = "all_users"
licenses = ["licence.txt"]
[flags]
compress_data = false
automatic = true
check_image_checksum = true
extra_bits = 0x8
[background]
title_color = "#102030"
bitmap = "bg.bmp"
[batch]
pre_install = "echo pre"
[uninstall]
stamp = "2003-04-05T06:07:08"
key_name = "AppKey"
[[uninstall.values]]
name = "Size"
type = "dword"
value = "12"
[archive]
level = 3
volume_size = 1440000
volume_base = "A:\\APPDISK"
volume_serial = 77
data_outside_image = true
[files]
folder = "files"
[[file]]
name = "app.exe"
desktop_shortcut = true
shortcut_name = "App"
icon = "app.ico"
arguments = "/x"
attributes = ["read_only", "archive"]
condition = "if_missing"
[[file]]
source = "extra/font.ttf"
kind = "fonts"
keep_on_uninstall = true
stamp = "1998-02-03"
[[delete]]
files = "%InstallDir%\\*.bak"
condition = "date_on_or_before"
value = "12/31/2002"
at_reboot = true
[[association]]
extension = ".app"
command = "app.exe %1"
default_verb = false
[strings]
1 = "Welcome"
)")) << error;
  const ArchiveHeader& h = manifest.plan.header;
  EXPECT_EQ(h.productFlags,
            FlagMask(ProductFlag::kRegisterUninstall) | FlagMask(ProductFlag::kChooseDirectory) |
                FlagMask(ProductFlag::kAutomatic) | FlagMask(ProductFlag::kCustomColours) |
                FlagMask(ProductFlag::kExtendsMasterProduct) |
                FlagMask(ProductFlag::kCheckImageChecksum) | (uint64_t(1) << 3));
  EXPECT_EQ(h.unsupportedSystems, 0x24u);
  EXPECT_EQ(h.stageDelay, 250);
  EXPECT_EQ(h.shortcutMode, 1);
  ASSERT_EQ(h.licenseTexts.Count(), 1);
  EXPECT_STREQ(h.licenseTexts[0].CStr(), "Licence caf\xE9");
  EXPECT_EQ(h.titleColor, 0x00302010u);
  EXPECT_EQ(h.backgroundBitmap.Length(), 4);
  EXPECT_STREQ(h.preInstallBatch.CStr(), "echo pre");
  archive_test::ExpectStampEq(h.uninstallerStamp, archive_test::Stamp(2003, 4, 5, 6, 7, 8));
  ASSERT_EQ(h.uninstallValues.Count(), 1);
  EXPECT_EQ(h.uninstallValues[0].type, 4);
  EXPECT_EQ(manifest.plan.level, 3);
  EXPECT_EQ(manifest.plan.volumeSize, 1440000u);
  EXPECT_STREQ(h.volumeBase.CStr(), "A:\\APPDISK");
  EXPECT_EQ(manifest.volumeFileBase, "APPDISK");
  EXPECT_EQ(h.volumeSerial, 77u);
  EXPECT_EQ(h.dataOutsideImage, 1);
  ASSERT_EQ(manifest.plan.files.Count(), 2);
  const FileEntry& app = manifest.plan.files[0];
  EXPECT_EQ(app.flags, 0x1u | 0xCu);
  EXPECT_EQ(app.attributes, 0x21u);
  EXPECT_STREQ(app.versionOrShortcutName.CStr(), "App");
  EXPECT_STREQ(app.shortcutIcon.CStr(), "app.ico");
  const FileEntry& font = manifest.plan.files[1];
  EXPECT_STREQ(font.name.CStr(), "font.ttf");
  EXPECT_EQ(font.destinationKind, 4u);
  EXPECT_EQ(font.flags, 0x20u);
  archive_test::ExpectStampEq(font.stamp, archive_test::Stamp(1998, 2, 3, 0, 0, 0));
  ASSERT_EQ(h.deletionSpecs.Count(), 1);
  EXPECT_EQ(h.deletionSpecs[0].condition, 3);
  EXPECT_EQ(h.deletionSpecs[0].flags, 0x2u);
  ASSERT_EQ(h.fileAssociations.Count(), 1);
  EXPECT_EQ(h.fileAssociations[0].options, 0u);
  EXPECT_STREQ(h.fileAssociations[0].verb.CStr(), "open");
  const LanguageTables& languages = manifest.plan.languages;
  ASSERT_EQ(languages.names.Count(), 2);
  EXPECT_STREQ(languages.texts[0][1].CStr(), "Titel");
  EXPECT_STREQ(languages.texts[1][0].CStr(), "Welcome");
  EXPECT_STREQ(languages.texts[1][1].CStr(), "Welcome") << "missing ids fall back to English";
  EXPECT_STREQ(languages.texts[48][1].CStr(), "OK");
}

// The conversion letters of a printf format, in order ("%%" skipped).
std::string Conversions(const char* format) {
  std::string letters;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ #0123456789.lh", *p)) ++p;
    letters += *p;
  }
  return letters;
}

TEST(DefaultStrings, PlaceholdersAreExactlyThoseTheEnginePasses) {
  struct Case {
    int id;
    const char* conversions;
  };
  const Case formatted[] = {{10, "s"}, {12, "s"}, {13, "d"}, {16, "c"}, {18, "s"}, {19, "scs"},
                            {22, "s"}, {23, "s"}, {26, "dc"}, {38, "s"}, {40, "s"}, {56, "s"},
                            {59, "s"}, {61, "s"}};
  for (int id = 0; id < kStringIdCount; ++id) {
    SCOPED_TRACE(id);
    std::string expected;
    for (const Case& c : formatted) {
      if (c.id == id) expected = c.conversions;
    }
    EXPECT_EQ(Conversions(DefaultEnglishString(StringId(id))), expected);
  }
  EXPECT_STREQ(DefaultEnglishString(StringId(-1)), "");
  EXPECT_STREQ(DefaultEnglishString(StringId(kStringIdCount)), "");
}

TEST_F(ManifestFixture, ErrorsNameTheirPlace) {
  struct Case {
    const char* what;
    const char* toml;
    const char* expected;  // contained in the error; "@" stands for the manifest's path
  };
  const Case cases[] = {
      {"bad type", "[product]\nname = 5\n", "@:2:8: product.name: expected a text, found an integer"},
      {"unknown flag", "[product]\nname = \"P\"\n[flags]\nfly = true\n", "@:4:7: flags.fly: unknown flag name"},
      {"flag not a bool", "[product]\nname = \"P\"\n[flags]\nautomatic = 1\n", "@:4:13: flags.automatic: expected true or false"},
      {"bad colour", "[product]\nname = \"P\"\n[background]\ntitle_color = \"#12345\"\n",
       "@:4:15: background.title_color: expected a colour \"#RRGGBB\", found \"#12345\""},
      {"bad date", "[product]\nname = \"P\"\n[uninstall]\nstamp = \"2003-02-30\"\n",
       "@:4:9: uninstall.stamp: expected a date"},
      {"bad kind", "[product]\nname = \"P\"\n[files]\nkind = \"attic\"\n",
       "@:4:8: files.kind: unknown name \"attic\", expected one of install_dir"},
      {"bad attribute", "[product]\nname = \"P\"\n[files]\nattributes = [\"shiny\"]\n",
       "@:4:15: files.attributes: unknown name \"shiny\""},
      {"unknown key", "[product]\nname = \"P\"\nnmae = \"x\"\n", "@:3:8: unknown key product.nmae"},
      {"missing name", "[product]\npublisher = \"x\"\n", "product.name: missing"},
      {"no product", "[files]\nfolder = \"f\"\n", "the table [product] is missing"},
      {"stage delay", "[product]\nname = \"P\"\nstage_delay = 10000\n",
       "@:3:15: product.stage_delay: expected an integer from 0 to 9999"},
      {"syntax", "[product]\nname = \"P\n", "@:2:"},
      {"missing licence", "[product]\nname = \"P\"\nlicenses = [\"nope.txt\"]\n", "nope.txt cannot be read"},
      {"missing source", "[product]\nname = \"P\"\n[[file]]\nsource = \"gone.exe\"\n", "gone.exe: cannot open"},
      {"missing folder", "[product]\nname = \"P\"\n[files]\nfolder = \"nowhere\"\n", "@:4:10: files.folder:"},
      {"blank volume base", "[product]\nname = \"P\"\n[archive]\nvolume_base = \" \"\n", "archive.volume_base: must not be blank"},
      {"bad deletion date", "[product]\nname = \"P\"\n[[delete]]\nfiles = \"*.x\"\ncondition = \"date_equal\"\nvalue = \"soon\"\n",
       "@:6:9: delete[0].value: expected a date"},
      {"not code page", "[product]\nname = \"P\xE2\x88\x9E\"\n", "@:2:8: product.name: the character U+221E"},
      {"string id", "[product]\nname = \"P\"\n[strings]\n10000 = \"x\"\n", "strings.10000: expected a string id"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectRefused(c.toml, c.expected);
  }
}

// Licences, read-mes and strings are shown in multi-line fields and message boxes, which break
// lines only at CR LF: every other break is stored as CR LF.
TEST_F(ManifestFixture, TextsShownToTheUserAreStoredWithCrLfBreaks) {
  dir.Write("licence.txt", "one\ntwo\r\nthree\rfour\n");
  dir.Write("readme.txt", "a\rb");
  dir.Write("de.toml", "name = \"Deutsch\"\n[strings]\n1 = \"eins\\nzwei\"\n");
  ASSERT_TRUE(
      Load("languages = [\"de.toml\"]\n[product]\nname = \"P\"\nlicenses = [\"licence.txt\"]\n"
           "readmes = [\"readme.txt\"]\n[strings]\n7 = \"x\\ny\\r\\nz\"\n"))
      << error;
  const InstallerPlan& plan = manifest.plan;
  ASSERT_EQ(plan.header.licenseTexts.Count(), 1);
  EXPECT_STREQ(plan.header.licenseTexts[0].CStr(), "one\r\ntwo\r\nthree\r\nfour\r\n");
  ASSERT_EQ(plan.header.readmeTexts.Count(), 1);
  EXPECT_STREQ(plan.header.readmeTexts[0].CStr(), "a\r\nb");
  EXPECT_STREQ(plan.languages.texts[7][0].CStr(), "x\r\ny\r\nz");
  EXPECT_STREQ(plan.languages.texts[1][1].CStr(), "eins\r\nzwei");
  // The built-in English texts too, in English and where another language leaves an id out.
  EXPECT_STREQ(plan.languages.texts[1][0].CStr(),
               "This program installs <product> on your computer.\r\n\r\n"
               "It is best to close other programs before you go on.\r\n\r\nContinue with the "
               "installation?");
  EXPECT_STREQ(
      plan.languages.texts[19][1].CStr(),
      "The installation needs %s on drive %c:, but only %s is free.\r\n\r\nInstall anyway?");
}

std::string Repeated(const std::string& piece, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += piece;
  return all;
}

std::string FileList(const std::string& name, int count) {
  std::string list;
  for (int i = 0; i < count; ++i) list += std::string(i ? ", " : "") + "\"" + name + "\"";
  return "[" + list + "]";
}

// Each count the installer limits: at the limit the manifest loads, one above it is refused with
// the key and the limit.
TEST_F(ManifestFixture, CountsBeyondTheInstallersLimitsAreRefused) {
  dir.Write("t.txt", "text");
  dir.Write("l.toml", "name = \"Other\"\n");
  const std::string head = "[product]\nname = \"P\"\n";
  struct Case {
    const char* what;
    std::string atLimit;
    std::string aboveLimit;
    const char* expected;  // in the error of aboveLimit; "@" stands for the manifest's path
  };
  const Case cases[] = {
      {"licences", head + "licenses = " + FileList("t.txt", 20) + "\n",
       head + "licenses = " + FileList("t.txt", 21) + "\n",
       "@:3:12: product.licenses: at most 20 files (the installer's limit), found 21"},
      {"read-mes", head + "readmes = " + FileList("t.txt", 20) + "\n",
       head + "readmes = " + FileList("t.txt", 21) + "\n",
       "@:3:11: product.readmes: at most 20 files (the installer's limit), found 21"},
      {"languages", "languages = " + FileList("l.toml", 99) + "\n" + head,
       "languages = " + FileList("l.toml", 100) + "\n" + head,
       "@:1:13: languages: at most 99 language files (100 languages with English) (the installer's "
       "limit), found 100"},
      {"deletions", head + Repeated("[[delete]]\nfiles = \"*.tmp\"\n", 1001),
       head + Repeated("[[delete]]\nfiles = \"*.tmp\"\n", 1002),
       "delete: at most 1001 [[delete]] tables (the installer's limit), found 1002"},
      {"associations", head + Repeated("[[association]]\nextension = \".x\"\n", 10000),
       head + Repeated("[[association]]\nextension = \".x\"\n", 10001),
       "association: at most 10000 [[association]] tables (the installer's limit), found 10001"},
      {"uninstall values", head + Repeated("[[uninstall.values]]\nname = \"n\"\n", 10000),
       head + Repeated("[[uninstall.values]]\nname = \"n\"\n", 10001),
       "uninstall.values: at most 10000 [[uninstall.values]] tables (the installer's limit), found "
       "10001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    {
      LoadedManifest atLimit;
      dir.Write("qorv.toml", c.atLimit);
      std::string message;
      EXPECT_TRUE(LoadManifest(dir / "qorv.toml", atLimit, message)) << message;
    }
    // The message names the manifest's path as well as the limit.
    ExpectRefused(c.aboveLimit, "@");
    ExpectRefused(c.aboveLimit, c.expected);
  }
}

// The engine reads the deletion list up to the first record named by its end mark.
TEST_F(ManifestFixture, ADeletionNamedLikeTheListsEndIsRefused) {
  EXPECT_FALSE(Load("[product]\nname = \"P\"\n[[delete]]\nfiles = \"~~THE END~~\"\n"));
  EXPECT_NE(error.find(dir / "qorv.toml" + ":4:9: delete[0].files: \"~~THE END~~\" ends the"),
            std::string::npos)
      << error;
  EXPECT_TRUE(Load("[product]\nname = \"P\"\n[[delete]]\nfiles = \"~~the end~~\"\n")) << error;
}

// A text the engine formats must take its id's arguments, else the engine shows its English
// text: the builder says so at the text's place.
TEST_F(ManifestFixture, StringsMustKeepTheirIdsPlaceholders) {
  dir.Write("de.toml", "name = \"Deutsch\"\n[strings]\n22 = \"%s %s\"\n");
  const std::string head = "[product]\nname = \"P\"\n";
  const struct {
    std::string toml;
    std::string expected;  // in the error; "@" stands for the manifest's path
  } refused[] = {
      {head + "[strings]\n16 = \"Drive %s is missing\"\n",
       "@:4:6: strings.16: string id 16 takes the placeholders %c, in this order (a percent sign "
       "is "
       "written %%)"},
      {head + "[strings]\n19 = \"%s on %c:\"\n",
       "@:4:6: strings.19: string id 19 takes the placeholders %s%c%s"},
      {head + "[strings]\n19 = \"%s on %c: %s free of %s\"\n",
       "@:4:6: strings.19: string id 19 takes the placeholders %s%c%s"},
      {head + "[strings]\n19 = \"%s on %s: %c\"\n",
       "@:4:6: strings.19: string id 19 takes the placeholders %s%c%s"},
      {head + "[strings]\n17 = \"100% free\"\n",
       "@:4:6: strings.17: string id 17 takes no placeholders"},
      {head + "[strings]\n13 = \"Error %n\"\n",
       "@:4:6: strings.13: string id 13 takes the placeholders %d"},
      {"languages = [\"de.toml\"]\n" + head,
       dir / "de.toml" + ":3:6: strings.22: string id 22 takes the placeholders %s"},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.toml);
    ExpectRefused(c.toml, c.expected);
  }
  ASSERT_TRUE(Load(head + "[strings]\n16 = \"\"\n17 = \"100%% sure\"\n19 = \"%-10s on %c: (%s)\"\n"
                          "14 = \"100% free\"\n"))
      << error << " (14 is no format)";
  EXPECT_STREQ(manifest.plan.languages.texts[17][0].CStr(), "100%% sure");
}

TEST(PayloadStamps, UnixTimesBreakDownInUtc) {
  struct Case {
    int64_t seconds;
    FileStamp stamp;
  };
  const Case cases[] = {
      {0, {1970, 1, 1, 0, 0, 0}},
      {951782400, {2000, 2, 29, 0, 0, 0}},
      {1000000000, {2001, 9, 9, 1, 46, 40}},
      {4102444799, {2099, 12, 31, 23, 59, 59}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    archive_test::ExpectStampEq(StampFromUnixTime(c.seconds), c.stamp);
  }
}

}  // namespace
