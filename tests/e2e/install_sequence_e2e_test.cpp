// The installation from its first question to its end: installers built by the builder's writer
// from the real quorvex.exe, run under Wine with scripted answers. The transcript shows every
// question in order; batch files show what ran by the files they write.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "archive/product_flags.h"
#include "config/string_ids.h"
#include "core/checksum.h"
#include "platform/os_identity.h"
#include "tests/e2e/archive_e2e_support.h"
#include "tests/e2e/quorvex_process.h"
#include "tests/win32/registry_test_support.h"

namespace {

using namespace archive_e2e;
using registry_test::DeleteKeyTree;

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kProduct[] = "Quorvex E2E Product";

// Answers of the scripted boxes.
constexpr char kYes[] = "6";
constexpr char kNo[] = "7";
constexpr char kOk[] = "1";
constexpr char kCancel[] = "2";

std::string Escaped(const std::string& text) { return TranscriptEscaped(text); }

std::string Box(const char* owner, unsigned style, const std::string& caption,
                const std::string& text, const char* answer) {
  char head[64];
  snprintf(head, sizeof head, "box\t%s\t0x%08X\t", owner, style);
  return head + Escaped(caption) + "\t" + Escaped(text) + "\t" + answer;
}

std::string ErrorBox(const std::string& text, const char* owner = "background") {
  return Box(owner, 0x10, "English 21", text, "1");
}

std::string English(StringId id) { return "English " + std::to_string(int(id)); }

// What the batch file of a run wrote into `name` in its directory: the SET lines the engine
// wrote are the batch's environment.
std::string EchoInto(const char* name, const char* what) {
  return std::string("echo ") + what + ">\"%InstallDir%\\" + name + "\"";
}

class InstallSequenceTest : public testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + kProduct);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + kMaster);
    plan_ = SmallPlan();
    plan_.header.productName = kProduct;
    plan_.header.volumeBase = "Disk";
  }
  void TearDown() override { SetUp(); }

  // Builds the plan into scratch\setup.exe (and its volumes beside it) and runs it.
  QuorvexRun Run(const std::string& arguments, const std::vector<std::string>& answers = {}) {
    BuiltInstaller built;
    String error;
    EXPECT_TRUE(BuildInstaller(EngineImage(), plan_, built, error)) << error.CStr();
    WriteInstaller(built);
    return RunInstaller(arguments, answers);
  }

  void WriteInstaller(const BuiltInstaller& built) {
    EXPECT_TRUE(file_test::WriteBytes(Setup(), Str(built.image)));
    for (int i = 0; i < built.volumes.Count(); ++i)
      EXPECT_TRUE(file_test::WriteBytes(Volume(i + 2), Str(built.volumes[i])));
  }

  QuorvexRun RunInstaller(const std::string& arguments,
                          const std::vector<std::string>& answers = {}) {
    QuorvexRun run = RunProgram(Setup(), Quoted(Setup()) + " " + arguments, answers);
    EXPECT_EQ(run.exitCode, 1u);
    return run;
  }

  std::string Setup() const { return scratch_ / "setup.exe"; }
  std::string Volume(int n) const { return scratch_ / ("Disk" + std::to_string(n) + ".OWK"); }
  std::string Dir(const char* name) const { return scratch_ / name; }

  // The product's Uninstall key as an earlier installation left it.
  void RegisterProduct(const char* name, const std::string& location, const char* version) {
    const std::string key = std::string(kUninstallKey) + "\\" + name;
    ASSERT_TRUE(registry_test::CreateKey(HKEY_LOCAL_MACHINE, key));
    auto text = [&](const char* value, const std::string& data) {
      ASSERT_TRUE(registry_test::SetRawValue(HKEY_LOCAL_MACHINE, key, value, REG_SZ,
                                             std::string(data.c_str(), data.size() + 1)));
    };
    text("InstallLocation", location);
    text("DisplayVersion", version);
    text("UninstallString", "uninstall.exe");
  }

  void SetText(StringId id, const char* text) { plan_.languages.texts[int(id)][0] = text; }

  static constexpr char kMaster[] = "Quorvex E2E Master";
  file_test::ScratchDir scratch_;
  InstallerPlan plan_;
};

TEST_F(InstallSequenceTest, AFirstInstallationAsksEachQuestionInOrderAndRunsItsBatches) {
  plan_.header.productFlags |= FlagMask(ProductFlag::kChooseDirectory);
  plan_.header.licenseTexts.Append(String("Licence of <product>"));
  plan_.header.readmeTexts.Append(String("Read me"));
  plan_.header.preInstallBatch = EchoInto("pre.txt", "%InstallDir%").c_str();
  plan_.header.postInstallBatch = EchoInto("post.txt", "post").c_str();
  plan_.header.finalBatch = EchoInto("final.txt", "final").c_str();
  const std::string target = Dir("Target Dir");
  QuorvexRun run = Run("", {kYes, "1001", "1001", "1001\t" + target, kNo});
  const std::vector<std::string> expected = {
      WelcomeBox(),
      "dialog\tLicenseDlg\tbackground\t1001",
      "dialog\tReadmeDlg\tbackground\t1001",
      "dialog\tChooseDirDlg\tbackground\t1",
      LogQuestionBox(target + "\\Install.LOG"),
  };
  EXPECT_EQ(run.transcript, expected);
  EXPECT_EQ(file_test::ReadBytes(target + "\\pre.txt"), target + "\r\n");
  EXPECT_EQ(file_test::ReadBytes(target + "\\post.txt"), "post\r\n");
  EXPECT_EQ(file_test::ReadBytes(target + "\\final.txt"), "final\r\n");
  EXPECT_FALSE(file_test::Exists(target + "\\QORVBAT.BAT"));
}

TEST_F(InstallSequenceTest, AutomaticModeAsksNothingAndInstallsIntoTheGivenDirectory) {
  plan_.header.productFlags |= FlagMask(ProductFlag::kChooseDirectory);
  plan_.header.licenseTexts.Append(String("Licence"));
  plan_.header.preInstallBatch = (EchoInto("pre.txt", "%InstallDir%") + "\r\n@Pause").c_str();
  const std::string target = Dir("Auto Dir");
  QuorvexRun run = Run("/a /d:\"" + target + "\"");
  EXPECT_EQ(run.transcript, std::vector<std::string>());
  EXPECT_EQ(file_test::ReadBytes(target + "\\pre.txt"), target + "\r\n");
}

TEST_F(InstallSequenceTest, AnEmptyInstallDirectoryIsRemovedAtTheEnd) {
  plan_.files.RemoveAll();  // a package that installs nothing there
  const std::string target = Dir("Empty");
  QuorvexRun run = Run("/a /d:\"" + target + "\"");
  EXPECT_EQ(run.transcript, std::vector<std::string>());
  EXPECT_FALSE(file_test::Exists(target));
}

TEST_F(InstallSequenceTest, EachQuestionAnsweredNoEndsTheRunBeforeAnythingRuns) {
  plan_.header.productFlags |= FlagMask(ProductFlag::kChooseDirectory);
  plan_.header.licenseTexts.Append(String("Licence"));
  plan_.header.preInstallBatch = EchoInto("pre.txt", "x").c_str();
  const std::string target = Dir("Never");
  struct Case {
    const char* name;
    std::vector<std::string> answers;
    size_t shown;
  };
  const Case cases[] = {
      {"welcome", {kNo}, 1},
      {"licence", {kYes, "1003"}, 2},
      {"directory", {kYes, "1001", "1003"}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QuorvexRun run = Run("/d:\"" + target + "\"", c.answers);
    EXPECT_EQ(run.transcript.size(), c.shown);
    EXPECT_FALSE(file_test::Exists(target + "\\pre.txt"));
  }
}

TEST_F(InstallSequenceTest, AReinstallAsksWithTheHeadOfTheVersionsOrder) {
  const std::string existing = Dir("Installed");
  ASSERT_TRUE(CreateDirectoryA(existing.c_str(), nullptr));
  plan_.header.displayVersion = "1.10";
  plan_.header.preInstallBatch = EchoInto("pre.txt", "%InstallDir%").c_str();
  struct Case {
    const char* installed;
    bool compare;
    StringId head;
  };
  const Case cases[] = {
      {"1.10", true, StringId::kReinstallSameVersionHead},
      {"1.2", true, StringId::kReinstallOlderVersionHead},  // 2 < 10: as version texts
      {"1.11", true, StringId::kReinstallNewerVersionHead},
      {"", true, StringId::kReinstallHead},
      {"1.2", false, StringId::kReinstallHead},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.installed) + (c.compare ? " compared" : ""));
    RegisterProduct(kProduct, existing, c.installed);
    plan_.header.productFlags = FlagMask(ProductFlag::kRegisterUninstall);
    if (c.compare) plan_.header.productFlags |= FlagMask(ProductFlag::kCompareVersions);
    const std::string question = Box(
        "background", 0x24, English(StringId::kReinstallTitle),
        English(c.head) + "\r\n" + existing + "\r\n\r\n" + English(StringId::kReinstallTail), kNo);
    QuorvexRun run = Run("", {kYes, kNo});
    EXPECT_EQ(run.transcript, std::vector<std::string>({WelcomeBox(), question}));
    EXPECT_FALSE(file_test::Exists(existing + "\\pre.txt")) << "No ends the run";
  }

  SCOPED_TRACE("answered Yes: the existing location wins over /d");
  QuorvexRun run = Run("/d:\"" + Dir("Elsewhere") + "\"", {kYes, kYes, kNo});
  EXPECT_EQ(run.transcript.size(), 3u);
  EXPECT_EQ(file_test::ReadBytes(existing + "\\pre.txt"), existing + "\r\n");
  EXPECT_FALSE(file_test::Exists(Dir("Elsewhere")));
}

TEST_F(InstallSequenceTest, AnInstalledLocationThatIsGoneCountsAsNoInstallation) {
  RegisterProduct(kProduct, Dir("Deleted"), "1.0");
  plan_.header.productFlags =
      FlagMask(ProductFlag::kRegisterUninstall) | FlagMask(ProductFlag::kRefuseOverExisting);
  const std::string target = Dir("Fresh");
  plan_.header.preInstallBatch = EchoInto("pre.txt", "%InstallDir%").c_str();
  QuorvexRun run = Run("/a /d:\"" + target + "\"");
  EXPECT_EQ(run.transcript, std::vector<std::string>());
  EXPECT_EQ(file_test::ReadBytes(target + "\\pre.txt"), target + "\r\n");
}

TEST_F(InstallSequenceTest, APackageThatRefusesToReinstallSaysSoEvenInAutomaticMode) {
  const std::string existing = Dir("Installed");
  ASSERT_TRUE(CreateDirectoryA(existing.c_str(), nullptr));
  RegisterProduct(kProduct, existing, "1.0");
  plan_.header.productFlags =
      FlagMask(ProductFlag::kRegisterUninstall) | FlagMask(ProductFlag::kRefuseOverExisting);
  QuorvexRun run = Run("/a");
  EXPECT_EQ(run.transcript,
            std::vector<std::string>({ErrorBox(English(StringId::kAlreadyInstalled))}));
}

TEST_F(InstallSequenceTest, AnExtensionNeedsItsMasterProductAndMayInstallIntoIt) {
  plan_.header.productFlags |= FlagMask(ProductFlag::kExtendsMasterProduct);
  plan_.header.masterProduct = kMaster;
  plan_.header.defaultInstallDir = "<MASTER>";
  plan_.header.preInstallBatch = EchoInto("pre.txt", "%InstallDir%").c_str();
  SetText(StringId::kMasterProductMissing, "Needs %s!");
  // Error boxes stay away in automatic mode: the checks before the welcome question show theirs.
  QuorvexRun run = Run("");
  EXPECT_EQ(run.transcript,
            std::vector<std::string>({ErrorBox(std::string("Needs ") + kMaster + "!")}));

  const std::string master = Dir("Master");
  ASSERT_TRUE(CreateDirectoryA(master.c_str(), nullptr));
  RegisterProduct(kMaster, master, "3.0");
  run = Run("", {kYes, kNo});
  EXPECT_EQ(run.transcript,
            std::vector<std::string>({WelcomeBox(), LogQuestionBox(master + "\\Install.LOG")}));
  EXPECT_EQ(file_test::ReadBytes(master + "\\pre.txt"), master + "\r\n");
}

TEST_F(InstallSequenceTest, AnUnsupportedSystemIsNamedAndRefused) {
  plan_.header.unsupportedSystems = uint32_t(OsKind());
  SetText(StringId::kUnsupportedSystem, "Not on %s.");
  QuorvexRun run = Run("");
  EXPECT_EQ(run.transcript, std::vector<std::string>(
                                {ErrorBox("Not on " + std::string(OsVersionText().CStr()) + ".")}));
}

TEST_F(InstallSequenceTest, ARequiredRestartIsAskedForOrDoneAtOnceInAutomaticMode) {
  plan_.header.productFlags |= FlagMask(ProductFlag::kRebootRequired);
  plan_.header.finalBatch = EchoInto("final.txt", "final").c_str();
  const std::string target = Dir("Target");
  const std::string restart = "event\tend session 0x00000012";
  QuorvexRun run = Run("/a /d:\"" + target + "\"");
  EXPECT_EQ(run.transcript, std::vector<std::string>({restart}));

  const std::string question = Box("background", 0x24, English(StringId::kSetupTitle),
                                   English(StringId::kRebootQuestion), kYes);
  run = Run("/d:\"" + target + "\"", {kYes, kNo, kYes});
  EXPECT_EQ(run.transcript,
            std::vector<std::string>(
                {WelcomeBox(), LogQuestionBox(target + "\\Install.LOG"), question, restart}));

  SCOPED_TRACE("answered No: the final batch and the launch still run");
  const std::string launched = Dir("launched.txt");
  DeleteFileA((target + "\\final.txt").c_str());
  run = Run("/d:\"" + target + "\" /r:\"cmd.exe /c echo up>`" + launched + "`\"", {kYes, kNo, kNo});
  EXPECT_EQ(run.transcript.size(), 3u);
  EXPECT_EQ(file_test::ReadBytes(target + "\\final.txt"), "final\r\n");
  for (int i = 0; i < 100 && !file_test::Exists(launched); ++i) Sleep(100);
  EXPECT_EQ(file_test::ReadBytes(launched), "up\r\n");
}

// Volumes: the data block continues in "Disk2.OWK" and on beside the installer.
class VolumeTest : public InstallSequenceTest {
 protected:
  void SetUp() override {
    InstallSequenceTest::SetUp();
    static const std::string data(3000, 'v');
    FileEntry& big = plan_.files[0];
    big.data = data.data();
    big.length = int32_t(data.size());
    plan_.volumeSize = 1024;
    plan_.header.volumeSerial = 0x1234;
    SetText(StringId::kInsertVolume, "Insert disk %d into %c:");
    ASSERT_TRUE(BuildInstaller(EngineImage(), plan_, built_, error_)) << error_.CStr();
    ASSERT_GE(built_.volumes.Count(), 2);
    WriteInstaller(built_);
  }

  std::string Prompt(bool wrongVolume, const char* answer) const {
    std::string text = wrongVolume ? English(StringId::kWrongVolume) + "\r\n\r\n" : "";
    text += "Insert disk 2 into " + std::string(1, Setup()[0]) + ":";
    return Box("progress", 0x21, English(StringId::kInsertVolumeTitle), text, answer);
  }
  std::string CancelQuestion(const char* answer) const {
    return Box("progress", 0x24, English(StringId::kSetupTitle), English(StringId::kCancelQuestion),
               answer);
  }

  BuiltInstaller built_;
  String error_;
};

TEST_F(VolumeTest, VolumesBesideTheInstallerAreReadWithoutAQuestion) {
  QuorvexRun run = RunInstaller("/a /d:\"" + Dir("Target") + "\"");
  EXPECT_EQ(run.transcript, std::vector<std::string>());
}

TEST_F(VolumeTest, AMissingOrWrongVolumeIsAskedForUntilTheUserStops) {
  struct Case {
    const char* name;
    std::string volume;  // "": missing
    bool wrongFirst;
  };
  const std::string sound = Str(built_.volumes[0]);
  std::string wrongIdentifier = sound;
  wrongIdentifier[0] ^= 1;
  const Case cases[] = {
      {"missing", "", false},
      {"wrong identifier", wrongIdentifier, true},
      {"identifier only", sound.substr(0, 4), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileA(Volume(2).c_str());
    if (!c.volume.empty()) {
      ASSERT_TRUE(file_test::WriteBytes(Volume(2), c.volume));
    }
    QuorvexRun run =
        RunInstaller("/a /d:\"" + Dir("Target") + "\"", {kOk, kCancel, kNo, kCancel, kYes});
    const std::vector<std::string> expected = {
        Prompt(c.wrongFirst, kOk), Prompt(true, kCancel), CancelQuestion(kNo),
        Prompt(true, kCancel),     CancelQuestion(kYes),
    };
    EXPECT_EQ(run.transcript, expected);
  }
}

TEST_F(VolumeTest, AVolumeLongerThanTheRestOfTheBlockIsCorrupt) {
  const int last = built_.volumes.Count() - 1;
  ASSERT_TRUE(file_test::WriteBytes(Volume(last + 2), Str(built_.volumes[last]) + "extra"));
  QuorvexRun run = RunInstaller("/a /d:\"" + Dir("Target") + "\"");
  EXPECT_EQ(run.transcript, std::vector<std::string>({FatalBox("Broken archive 50", "progress")}));
}

TEST_F(InstallSequenceTest, DataOutsideTheImageThatRunsPastTheBlockIsCorrupt) {
  plan_.header.dataOutsideImage = 1;
  BuiltInstaller built;
  String error;
  ASSERT_TRUE(BuildInstaller(EngineImage(), plan_, built, error)) << error.CStr();
  const std::string target = Dir("Target");
  ASSERT_TRUE(file_test::WriteBytes(Setup(), Str(built.image)));
  QuorvexRun run = RunInstaller("/a /d:\"" + target + "\"");
  EXPECT_EQ(run.transcript, std::vector<std::string>()) << "the sound installer";

  ASSERT_TRUE(file_test::WriteBytes(Setup(), Str(built.image) + "trailing bytes"));
  run = RunInstaller("/a /d:\"" + target + "\"");
  EXPECT_EQ(run.transcript, std::vector<std::string>({FatalBox("Broken archive 29", "progress")}));
}

// A damaged data block stops with its code before any file is written.
TEST_F(InstallSequenceTest, ADamagedDataBlockStopsWithItsCode) {
  struct Case {
    const char* name;
    void (*damage)(InstallerPlan& plan, ArchiveParts& parts);
    int code;
  };
  const Case cases[] = {
      {"block checksum", [](InstallerPlan&, ArchiveParts& parts) { parts.dataChecksum ^= 1; }, 55},
      {"block that does not decompress",
       [](InstallerPlan& plan, ArchiveParts& parts) {
         // The header says compressed; the block is stored as it is.
         plan.header.productFlags |= FlagMask(ProductFlag::kCompressedData);
         String header = SerializeHeaderBlock(plan.header, plan.languages);
         SetHeaderBlock(parts, header, ArchiveChecksum(header.CStr(), header.Length()), 9);
         SetDataBlock(parts, SerializeDataBlock(plan.files, EntryChecksums::kComputed), false, 9);
       },
       60},
      {"empty file name",
       [](InstallerPlan& plan, ArchiveParts& parts) {
         plan.files[0].name = "";
         SetDataBlock(parts, SerializeDataBlock(plan.files, EntryChecksums::kComputed), false, 9);
       },
       70},
      {"data past the block",
       [](InstallerPlan&, ArchiveParts& parts) { parts.fileLengths[0] += 1000; }, 72},
      {"file checksum",
       [](InstallerPlan& plan, ArchiveParts& parts) {
         plan.files[0].checksum = 0x12345678;
         SetDataBlock(parts, SerializeDataBlock(plan.files, EntryChecksums::kAsGiven), false, 9);
       },
       100},
      {"destination kind",
       [](InstallerPlan& plan, ArchiveParts& parts) {
         plan.files[0].destinationKind = 3;
         SetDataBlock(parts, SerializeDataBlock(plan.files, EntryChecksums::kComputed), false, 9);
       },
       110},
  };
  const std::string target = Dir("Target");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InstallerPlan plan = plan_;
    plan.header.preInstallBatch = EchoInto("pre.txt", "x").c_str();
    plan.header.postInstallBatch = EchoInto("post.txt", "x").c_str();
    ArchiveParts parts;
    String error;
    ASSERT_TRUE(PrepareArchiveParts(EngineImage(), plan, parts, error)) << error.CStr();
    c.damage(plan, parts);
    ASSERT_TRUE(file_test::WriteBytes(Setup(), Str(Assemble(parts))));
    QuorvexRun run = RunInstaller("/a /d:\"" + target + "\"");
    EXPECT_EQ(run.transcript, std::vector<std::string>({FatalBox(
                                  "Broken archive " + std::to_string(c.code), "progress")}));
    EXPECT_TRUE(file_test::Exists(target + "\\pre.txt")) << "the run got as far as the block";
    EXPECT_FALSE(file_test::Exists(target + "\\post.txt"));
    DeleteFileA((target + "\\pre.txt").c_str());
  }
}

}  // namespace
