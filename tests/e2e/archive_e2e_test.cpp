// The engine reading its own archive: installers built by the builder's writer from the real
// quorvex.exe, damaged one way each, run under Wine; the box each shows is read from the
// transcript of the UI seam.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "archive/pe_layout.h"
#include "archive/product_flags.h"
#include "core/checksum.h"
#include "tests/e2e/archive_e2e_support.h"
#include "tests/e2e/quorvex_process.h"

namespace {

// The prefix's Program Files folder, under which the plans without a directory install.
std::string ProgramFiles() {
  char dir[MAX_PATH] = "";
  DWORD n = ExpandEnvironmentStringsA("%ProgramFiles%", dir, sizeof dir);
  return n > 0 && n <= sizeof dir ? std::string(dir) : std::string();
}

using namespace archive_e2e;

constexpr uint64_t kRegisteredFlag = FlagMask(ProductFlag::kRegisterUninstall);
constexpr uint64_t kImageChecksumFlag = FlagMask(ProductFlag::kCheckImageChecksum);
constexpr int kLevel = 9;
constexpr char kArchiveCorruptText[] = "Broken archive %d";

// How a damaged file reaches the engine.
enum class Delivery {
  kRun,                   // the damaged installer is run
  kNamedByGoodInstaller,  // a sound installer runs with the damaged file as its own path (the
                          // first atom of its command line, which the engine opens): for damage
                          // that the loader refuses before the engine could see it, and for a
                          // file that ends before its archive section
};

struct Damage {
  const char* name;
  void (*plan)(InstallerPlan&);
  void (*parts)(ArchiveParts&);
  void (*image)(String&);
  Delivery delivery;
  int code;
  // The box's owner when the code alone does not tell (see OwnerOf).
  const char* owner = nullptr;
};

uint32_t PeOffset(const String& image) { return image.ReadU32At(kPeOffsetField) & 0xFFFF; }

// The file offset of a field of the archive's section-table entry.
int EntryField(const String& image, int field) {
  ArchiveSection section = SectionOf(image);
  return int(section.tableOffset + uint32_t(section.index) * kSectionEntrySize + uint32_t(field));
}

void Reheader(ArchiveParts& parts, const String& block) {
  SetHeaderBlock(parts, block, ArchiveChecksum(block.CStr(), block.Length()), kLevel);
}

// The stored checksum of a sound header block, off by one.
void WrongHeaderChecksum(ArchiveParts& parts) {
  const String& block = parts.headerBlock;
  SetHeaderBlock(parts, String(block), ArchiveChecksum(block.CStr(), block.Length()) + 1, kLevel);
}

void AddTexts(Vector<String>& texts, int n) {
  for (int i = 0; i < n; ++i) texts.Append(String::Formatted("text %d", i));
}

void AddDeletions(InstallerPlan& plan, int n) {
  for (int i = 0; i < n; ++i) {
    FileDeletion& deletion = plan.header.deletionSpecs.AppendDefault();
    deletion.specification = String::Formatted("%%InstallDir%%\\old%d.tmp", i);
  }
}

const Damage kDamages[] = {
    {"PE header offset below 0x40", nullptr, nullptr,
     [](String& image) { image.WriteU16At(kPeOffsetField, 0x3F); }, Delivery::kNamedByGoodInstaller,
     43},
    {"PE header offset above 0x1000", nullptr, nullptr,
     [](String& image) { image.WriteU16At(kPeOffsetField, 0x1001); },
     Delivery::kNamedByGoodInstaller, 43},
    {"file shorter than the PE header offset", nullptr, nullptr,
     [](String& image) { image.Resize(0x3D); }, Delivery::kNamedByGoodInstaller, 43},
    {"three sections", nullptr, nullptr,
     [](String& image) { image.WriteU16At(int(PeOffset(image) + 6), 3); },
     Delivery::kNamedByGoodInstaller, 44},
    {"a hundred sections", nullptr, nullptr,
     [](String& image) { image.WriteU16At(int(PeOffset(image) + 6), 100); },
     Delivery::kNamedByGoodInstaller, 44},
    {"section table cut off by the end of the file", nullptr, nullptr,
     [](String& image) { image.Resize(EntryField(image, 20)); }, Delivery::kNamedByGoodInstaller,
     44},
    {"PointerToRawData 0", nullptr, nullptr,
     [](String& image) { image.WriteU32At(EntryField(image, 20), 0); },
     Delivery::kNamedByGoodInstaller, 9},
    {"PointerToRawData beyond 2 GiB", nullptr, nullptr,
     [](String& image) { image.WriteU32At(EntryField(image, 20), 0x80000000u); },
     Delivery::kNamedByGoodInstaller, 10},
    {"magic", nullptr, [](ArchiveParts& parts) { parts.magic = 0xA4F23DE4; }, nullptr,
     Delivery::kRun, 20},
    {"stored header size 0", nullptr, [](ArchiveParts& parts) { parts.storedHeaderSize = 0; },
     nullptr, Delivery::kRun, 22},
    {"stored header size 0xA00000", nullptr,
     [](ArchiveParts& parts) { parts.storedHeaderSize = 0xA00000; }, nullptr, Delivery::kRun, 22},
    {"stored header beyond the section", nullptr,
     [](ArchiveParts& parts) { parts.storedHeaderSize += 0x100000; }, nullptr, Delivery::kRun, 22},
    {"SectionDataEnd negative", nullptr, [](ArchiveParts& parts) { parts.sectionDataEnd.Set(-1); },
     nullptr, Delivery::kRun, 45},
    {"FileCount negative", nullptr, [](ArchiveParts& parts) { parts.fileCount = -1; }, nullptr,
     Delivery::kRun, 27},
    {"DataSize negative", nullptr, [](ArchiveParts& parts) { parts.dataSize = -1; }, nullptr,
     Delivery::kRun, 29},
    {"file length above 1 GiB", nullptr,
     [](ArchiveParts& parts) { parts.fileLengths[0] = 0x40000001; }, nullptr, Delivery::kRun, 28},
    {"file length negative", nullptr, [](ArchiveParts& parts) { parts.fileLengths[0] = -1; },
     nullptr, Delivery::kRun, 28},
    {"stored header is not a block", nullptr,
     [](ArchiveParts& parts) { parts.storedHeader.Data()[0] ^= 0x01; }, nullptr, Delivery::kRun,
     47},
    {"stored header cut short", nullptr,
     [](ArchiveParts& parts) {
       parts.storedHeader.Shrink(3);
       parts.storedHeaderSize = uint32_t(parts.storedHeader.Length());
     },
     nullptr, Delivery::kRun, 47},
    {"header checksum", nullptr,
     [](ArchiveParts& parts) {
       const String& block = parts.headerBlock;
       SetHeaderBlock(parts, String(block), ArchiveChecksum(block.CStr(), block.Length()) + 1,
                      kLevel);
     },
     nullptr, Delivery::kRun, 25},
    {"damaged byte after the last field", nullptr,
     [](ArchiveParts& parts) {
       String stored = parts.headerBlock + "Y";
       SetHeaderBlock(parts, parts.headerBlock + "X",
                      ArchiveChecksum(stored.CStr(), stored.Length()), kLevel);
     },
     nullptr, Delivery::kRun, 25},
    // Two faults: the checksum is compared before any field is read, so its code wins.
    {"header checksum and StageDelay 10000",
     [](InstallerPlan& plan) { plan.header.stageDelay = 10000; }, WrongHeaderChecksum, nullptr,
     Delivery::kRun, 25},
    {"header checksum and no language", [](InstallerPlan& plan) { plan.languages = LanguageTables(); },
     WrongHeaderChecksum, nullptr, Delivery::kRun, 25},
    {"header too short for ProductFlags", nullptr,
     [](ArchiveParts& parts) { Reheader(parts, String("\x01\x02\x03", 3)); }, nullptr,
     Delivery::kRun, 25, "none"},
    {"StageDelay 10000", [](InstallerPlan& plan) { plan.header.stageDelay = 10000; }, nullptr,
     nullptr, Delivery::kRun, 19},
    {"VolumeBase empty", [](InstallerPlan& plan) { plan.header.volumeBase = ""; }, nullptr, nullptr,
     Delivery::kRun, 21},
    {"VolumeBase blank", [](InstallerPlan& plan) { plan.header.volumeBase = " \t"; }, nullptr,
     nullptr, Delivery::kRun, 21},
    {"uninstaller patch beyond the file",
     [](InstallerPlan& plan) {
       plan.header.productFlags |= kRegisteredFlag;
       plan.header.uninstallerPatchOffset = 0x7FFFFFF0;
       plan.header.uninstallerPatch = "patch";
     },
     nullptr, nullptr, Delivery::kRun, 23},
    {"uninstaller patch offset negative",
     [](InstallerPlan& plan) {
       plan.header.productFlags |= kRegisteredFlag;
       plan.header.uninstallerPatchOffset = 0x80000000u;
       plan.header.uninstallerPatch = "patch";
     },
     nullptr, nullptr, Delivery::kRun, 23},
    {"21 licence texts", [](InstallerPlan& plan) { AddTexts(plan.header.licenseTexts, 21); },
     nullptr, nullptr, Delivery::kRun, 24},
    {"21 readme texts", [](InstallerPlan& plan) { AddTexts(plan.header.readmeTexts, 21); }, nullptr,
     nullptr, Delivery::kRun, 26},
    {"1002 deletion specifications", [](InstallerPlan& plan) { AddDeletions(plan, 1002); }, nullptr,
     nullptr, Delivery::kRun, 38},
    {"10001 file associations",
     [](InstallerPlan& plan) { plan.header.fileAssociations.Resize(10001); }, nullptr, nullptr,
     Delivery::kRun, 36},
    {"10001 uninstall values",
     [](InstallerPlan& plan) { plan.header.uninstallValues.Resize(10001); }, nullptr, nullptr,
     Delivery::kRun, 37},
    {"no language", [](InstallerPlan& plan) { plan.languages = LanguageTables(); }, nullptr,
     nullptr, Delivery::kRun, 30},
    {"101 languages",
     [](InstallerPlan& plan) {
       LanguageTables& tables = plan.languages;
       while (tables.names.Count() < 101) tables.names.Append(String("Other"));
     },
     nullptr, nullptr, Delivery::kRun, 30},
    {"no string id", [](InstallerPlan& plan) { plan.languages.texts.RemoveAll(); }, nullptr,
     nullptr, Delivery::kRun, 31},
    {"10001 string ids", [](InstallerPlan& plan) { plan.languages.texts.Resize(10001); }, nullptr,
     nullptr, Delivery::kRun, 31},
    {"end marker of the string table", nullptr,
     [](ArchiveParts& parts) {
       String block = parts.headerBlock;
       block.Data()[block.Length() - 1] ^= 0x10;
       Reheader(parts, block);
     },
     nullptr, Delivery::kRun, 32},
    {"image checksum", [](InstallerPlan& plan) { plan.header.productFlags |= kImageChecksumFlag; },
     [](ArchiveParts& parts) { parts.imageChecksum.Set(0x12345678); }, nullptr, Delivery::kRun, 40},
    {"file ends before its archive section", nullptr, nullptr,
     [](String& image) { image.Resize(int(SectionOf(image).rawOffset) - 1); },
     Delivery::kNamedByGoodInstaller, 35},
};

// The corrupt-installer codes raised after the language tables are read show the archive's own
// text; the earlier ones cannot.
bool RaisedAfterTheTables(int code) { return code == 35 || code == 40 || code == 42; }

// The background window is created once ProductFlags is read: the checks of the section, the
// prologue and the stored header come before it, every later one after it.
std::string OwnerOf(const Damage& damage) {
  if (damage.owner) return damage.owner;
  switch (damage.code) {
    case 9: case 10: case 20: case 22: case 27: case 28: case 29: case 43: case 44: case 45:
    case 47:
      return "none";
  }
  return "background";
}

String DamagedInstaller(const Damage& damage) {
  InstallerPlan plan = SmallPlan(kArchiveCorruptText);
  if (damage.plan) damage.plan(plan);
  ArchiveParts parts;
  String error;
  EXPECT_TRUE(PrepareArchiveParts(EngineImage(), plan, parts, error)) << error.CStr();
  if (damage.parts) damage.parts(parts);
  String image = Assemble(parts);
  if (damage.image) damage.image(image);
  return image;
}

QuorvexRun Deliver(const Damage& damage, const file_test::ScratchDir& scratch) {
  const std::string damaged = scratch / "damaged.exe";
  const String image = DamagedInstaller(damage);
  EXPECT_TRUE(file_test::WriteBytes(damaged, Str(image)));
  switch (damage.delivery) {
    case Delivery::kRun:
      return RunProgram(damaged);
    case Delivery::kNamedByGoodInstaller: {
      const std::string good = scratch / "good.exe";
      EXPECT_TRUE(file_test::WriteBytes(good, Str(Build(SmallPlan(kArchiveCorruptText)))));
      return RunProgram(good, Quoted(damaged));
    }
  }
  return QuorvexRun();
}

TEST(ArchiveEndToEnd, EachDamageStopsWithItsCorruptInstallerCode) {
  for (const Damage& damage : kDamages) {
    SCOPED_TRACE(testing::Message() << damage.name << " (code " << damage.code << ")");
    file_test::ScratchDir scratch;
    QuorvexRun run = Deliver(damage, scratch);
    EXPECT_EQ(run.exitCode, 1u);
    std::string text = RaisedAfterTheTables(damage.code) ? "Broken archive " + std::to_string(damage.code)
                                                         : BuiltInCorruptMessage(damage.code);
    std::vector<std::string> expected = {FatalBox(text, OwnerOf(damage))};
    EXPECT_EQ(run.transcript, expected);
  }
}

TEST(ArchiveEndToEnd, TheBareEngineShowsThatNoArchiveIsPresent) {
  QuorvexRun run = RunQuorvex("");
  EXPECT_EQ(run.exitCode, 1u);
  std::vector<std::string> expected = {FatalBox(kNoArchiveMessage)};
  EXPECT_EQ(run.transcript, expected);
}

TEST(ArchiveEndToEnd, ArchivesOfNewerBuildersAreRefusedWithTheVersionBox) {
  struct Case {
    uint32_t builderVersion;
    const char* shown;  // the archive's version as the box shows it; null: accepted
  };
  const Case cases[] = {
      {1000, nullptr}, {1110, nullptr}, {1111, nullptr}, {1112, "11.1"}, {1116, "11.2"},
      {9999, "100.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.builderVersion);
    file_test::ScratchDir scratch;
    InstallerPlan plan = SmallPlan();
    plan.builderVersion = c.builderVersion;
    const std::string path = scratch / "setup.exe";
    ASSERT_TRUE(file_test::WriteBytes(path, Str(Build(plan))));
    QuorvexRun run = RunProgram(path, Quoted(path) + " /a");
    EXPECT_EQ(run.exitCode, 1u);
    std::vector<std::string> expected;
    if (c.shown) {
      expected.push_back(FatalBox(std::string("The installer version (11.1) does not match the "
                                              "version of QORV (") +
                                  c.shown + ").  Close all applications and reinstall QORV."));
    }
    EXPECT_EQ(run.transcript, expected);
  }
}

TEST(ArchiveEndToEnd, SoundInstallersRunToTheEndWithoutABox) {
  struct Case {
    const char* name;
    void (*plan)(InstallerPlan&);
    void (*parts)(ArchiveParts&);
  };
  const Case cases[] = {
      {"plain", nullptr, nullptr},
      {"1001 deletion specifications", [](InstallerPlan& plan) { AddDeletions(plan, 1001); },
       nullptr},
      {"20 licence and 20 readme texts",
       [](InstallerPlan& plan) {
         AddTexts(plan.header.licenseTexts, 20);
         AddTexts(plan.header.readmeTexts, 20);
       },
       nullptr},
      {"bytes after the end marker, counted in the checksum", nullptr,
       [](ArchiveParts& parts) { Reheader(parts, parts.headerBlock + "ignored"); }},
      {"a right image checksum",
       [](InstallerPlan& plan) { plan.header.productFlags |= kImageChecksumFlag; }, nullptr},
      {"a deletion list ending in a lower-case terminator",
       [](InstallerPlan& plan) {
         plan.header.deletionSpecs.AppendDefault().specification = "~~the end~~";
       },
       nullptr},
      {"automatic mode and a background bitmap",
       [](InstallerPlan& plan) {
         plan.header.productFlags |= FlagMask(ProductFlag::kAutomatic);
         plan.header.backgroundBitmap = "BM not really a bitmap";
       },
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    file_test::ScratchDir scratch;
    InstallerPlan plan = SmallPlan();
    if (c.plan) c.plan(plan);
    ArchiveParts parts;
    String error;
    ASSERT_TRUE(PrepareArchiveParts(EngineImage(), plan, parts, error)) << error.CStr();
    if (c.parts) c.parts(parts);
    const std::string path = scratch / "setup.exe";
    ASSERT_TRUE(file_test::WriteBytes(path, Str(Assemble(parts))));
    QuorvexRun run = RunProgram(path, Quoted(path) + " /a");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.transcript, std::vector<std::string>());
  }
}

TEST(ArchiveEndToEnd, TheCorruptMessageIsTheDefaultLanguagesIdThirteen) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> languages;
    std::string expected;
  };
  const Case cases[] = {
      {"empty: the built-in text", {{"English", ""}}, BuiltInCorruptMessage(40)},
      {"the archive's text", {{"English", "Broken archive %d"}}, "Broken archive 40"},
      {"English, not the first language",
       {{"Deutsch", "Defekt %d"}, {"English", "Broken %d"}, {"Francais", "Casse %d"}},
       "Broken 40"},
      {"the last English wins",
       {{"English", "First %d"}, {"Deutsch", "Defekt %d"}, {"English", "Last %d"}}, "Last 40"},
      {"without English the first language",
       {{"Deutsch", "Defekt %d"}, {"english", "lower %d"}}, "Defekt 40"},
      {"English without a text of its own",
       {{"Deutsch", "Defekt %d"}, {"English", ""}}, BuiltInCorruptMessage(40)},
      {"a text without a number: the built-in text", {{"English", "Broken %s"}},
       BuiltInCorruptMessage(40)},
      {"product and Windows names filled in", {{"English", "<product> %d"}}, "Foo 40"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    file_test::ScratchDir scratch;
    InstallerPlan plan = SmallPlan();
    plan.languages = Languages(c.languages);
    plan.header.productFlags |= kImageChecksumFlag;
    ArchiveParts parts;
    String error;
    ASSERT_TRUE(PrepareArchiveParts(EngineImage(), plan, parts, error)) << error.CStr();
    parts.imageChecksum.Set(0x12345678);
    const std::string path = scratch / "setup.exe";
    ASSERT_TRUE(file_test::WriteBytes(path, Str(Assemble(parts))));
    QuorvexRun run = RunProgram(path);
    EXPECT_EQ(run.exitCode, 1u);
    std::vector<std::string> expected = {FatalBox(c.expected, "background")};
    EXPECT_EQ(run.transcript, expected);
  }
}

TEST(ArchiveEndToEnd, TheSharedFolderIsCreatedOnlyForASoundArchive) {
  file_test::ScratchDir scratch;
  const std::string shared = scratch / "Acme Shared\\Bin";
  InstallerPlan plan = SmallPlan();
  plan.header.productFlags |= kRegisteredFlag | kImageChecksumFlag;
  plan.header.sharedPath = shared.c_str();

  ArchiveParts parts;
  String error;
  ASSERT_TRUE(PrepareArchiveParts(EngineImage(), plan, parts, error)) << error.CStr();
  parts.imageChecksum.Set(0x12345678);
  const std::string damaged = scratch / "damaged.exe";
  ASSERT_TRUE(file_test::WriteBytes(damaged, Str(Assemble(parts))));
  QuorvexRun run = RunProgram(damaged);
  std::vector<std::string> expected = {FatalBox("Broken archive 40", "background")};
  EXPECT_EQ(run.transcript, expected);
  EXPECT_FALSE(file_test::Exists(shared)) << "the last check failed: nothing is written";

  const std::string sound = scratch / "setup.exe";
  ASSERT_TRUE(file_test::WriteBytes(sound, Str(Build(plan))));
  // Stopped at the welcome question: an installation that runs to its end removes the folder
  // again while it is empty.
  run = RunProgram(sound, "", {"7"});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.transcript, std::vector<std::string>({WelcomeBox("7")}));
  DWORD attributes = GetFileAttributesA(shared.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// After the header the user chooses the language, over the background window, when the archive
// offers more than one and the run is not automatic; Cancel ends the installer.
TEST(ArchiveEndToEnd, TwoLanguagesAskForTheLanguageUnlessAutomatic) {
  file_test::ScratchDir scratch;
  InstallerPlan plan = SmallPlan();
  plan.languages = Languages({{"English", ""}, {"Deutsch", ""}});
  const std::string path = scratch / "setup.exe";
  ASSERT_TRUE(file_test::WriteBytes(path, Str(Build(plan))));
  const struct {
    const char* arguments;
    std::vector<std::string> answers;
    std::vector<std::string> expected;
  } cases[] = {
      {"",
       {"1001", "6", "7"},
       {"dialog\tLanguageDlg\tbackground\t1001", WelcomeBox(),
        LogQuestionBox(ProgramFiles() + "\\Foo\\Install.LOG")}},
      {"", {"1003"}, {"dialog\tLanguageDlg\tbackground\t1003"}},
      {" /a", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    QuorvexRun run = RunProgram(path, Quoted(path) + c.arguments, c.answers);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.transcript, c.expected);
  }
}
