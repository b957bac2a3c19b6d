// Full cycles: a package that uses every feature of the records, built by the builder's writer,
// installed with /a and removed with the Uninstall entry's quiet command as Windows starts it;
// the prefix's registry and drive C afterwards are what they were before.
#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "archive/product_flags.h"
#include "tests/e2e/archive_e2e_support.h"
#include "tests/e2e/full_package_support.h"
#include "tests/e2e/prefix_snapshot.h"
#include "tests/e2e/uninstall_e2e_support.h"

namespace {

namespace fp = full_package;
using file_test::ReadBytes;
using namespace uninstall_e2e;

constexpr char kAutoexec[] = "C:\\autoexec.bat";

// Entries of the prefix that change without the uninstaller, with the reason for each.
const std::vector<VolatileEntry> kWineVolatile = {
    // Wine's display driver registers the adapter of a desktop when the first window of a
    // session opens on it, under a new GUID each time.
    {"key HKLM\\System\\CurrentControlSet\\Control\\Video\\", "Wine's per-session display adapter"},
    {"value HKLM\\System\\CurrentControlSet\\Control\\Video\\",
     "Wine's per-session display adapter"},
    // The same first window of a prefix registers the display devices and the adapter's
    // settings, once: when a cycle is the first test of a run, between its two snapshots.
    {"key HKLM\\System\\CurrentControlSet\\Control\\DeviceClasses\\",
     "Wine's display devices, registered once"},
    {"value HKLM\\System\\CurrentControlSet\\Control\\DeviceClasses\\",
     "Wine's display devices, registered once"},
    {"key HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current\\System\\"
     "CurrentControlSet\\Control\\Video\\",
     "Wine's display adapter's settings, registered once"},
    {"value HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current\\System\\"
     "CurrentControlSet\\Control\\Video\\",
     "Wine's display adapter's settings, registered once"},
};

std::string Shown(const std::vector<std::string>& lines) {
  std::string shown;
  for (const std::string& each : lines) shown += each + "\n";
  return shown;
}

// The every-feature package, built with the extra product flags, installed with /a into a
// prefix cleared of earlier tests' traces, after a snapshot of it; TearDown clears up.
class UninstallCycle : public testing::Test {
 protected:
  void Install(std::initializer_list<ProductFlag> extraFlags) {
    InstallerPlan plan;
    const fp::Fixtures fixtures = fp::FontAndComServer();
    fp::FillFullPackage(plan, scratch_.Path(), fixtures);
    for (ProductFlag flag : extraFlags) plan.header.productFlags |= FlagMask(flag);
    // What the package keeps on purpose is left out, so that the cycle leaves nothing at all.
    Vector<FileEntry> files;
    for (int i = 0; i < plan.files.Count(); ++i) {
      if (!(plan.files[i].flags & kFileNotRecorded)) files.Append(plan.files[i]);
    }
    plan.files = files;
    // An association without a type of its own extends the type its extension already names;
    // the record does not say so, and its removal takes that type and extension away with the
    // verb when nothing else is left in them. Left out until the record can tell the two apart.
    Vector<FileAssociation> associations;
    for (int i = 0; i < plan.header.fileAssociations.Count(); ++i) {
      if (!plan.header.fileAssociations[i].fileType.IsEmpty() ||
          plan.header.fileAssociations[i].extension.Compare(fp::kExistingExtension + 1) != 0)
        associations.Append(plan.header.fileAssociations[i]);
    }
    plan.header.fileAssociations = associations;
    const std::string setup = scratch_ / "setup.exe";
    ASSERT_TRUE(file_test::WriteBytes(setup, archive_e2e::Str(archive_e2e::Build(plan))));
    // The prefix as another program and the system left it: the classes the associations go
    // over, and the start-up file (the 9x family always has one; an installation that finds
    // none creates it, and its removal takes out its line, not the file).
    // Nothing of an earlier test's: an empty "Quorvex Tests" key, say, goes with the product
    // key, whose parent it is, and would show as a difference.
    fp::RemoveRegistryTraces();
    fp::RemoveSystemTraces();
    fp::PrepareExistingAssociations();
    autoexec_ = ReadBytes(kAutoexec);
    if (autoexec_ == "<missing>") WriteFile(kAutoexec, "REM the system's own line\r\n");
    // Windows always has the SharedDLLs key, a fresh Wine prefix not: the installation makes it
    // for its counts, and the removal takes out the counts, not the key.
    ASSERT_TRUE(registry_test::CreateKey(
        HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"));

    before_ = TakePrefixSnapshot();
    QuorvexRun install = RunProgram(setup, archive_e2e::Quoted(setup) + " /a /d:\"" + dir_ + "\"");
    EXPECT_EQ(install.transcript, std::vector<std::string>());
    EXPECT_TRUE(file_test::Exists(uninstaller_));
    // The COM server registered itself; its DllUnregisterServer is what takes that back.
    EXPECT_TRUE(registry_test::KeyExists(HKEY_CURRENT_USER, "Software\\Quorvex Tests\\COM Server"));
  }

  std::vector<std::string> DifferencesAfterSelfRemoval() {
    EXPECT_TRUE(WaitForSelfRemoval(uninstaller_));
    return SnapshotDifferences(before_, TakePrefixSnapshot(), kWineVolatile);
  }

  void TearDown() override {
    fp::RemoveRegistryTraces();
    fp::RemoveSystemTraces();
    file_test::RemoveTree(dir_);
    if (autoexec_ == "<missing>") DeleteFileA(kAutoexec);
  }

  file_test::ScratchDir scratch_;
  const std::string dir_ = scratch_ / "Full Product";
  const std::string uninstaller_ = dir_ + "\\" + fp::kUninstallSubdir + "\\" + fp::kUninstallerName;
  std::string autoexec_;
  PrefixSnapshot before_;
};

TEST_F(UninstallCycle, AnInstallationWithEveryFeatureLeavesNothingBehind) {
  Install({});
  const std::string quiet = Text(HKEY_LOCAL_MACHINE, fp::kUninstallKey, "QuietUninstallString");
  EXPECT_EQ(quiet, uninstaller_ + " /a /u:\"" + fp::kProduct + "\"");
  QuorvexRun removal = RunCommandLine(quiet);
  EXPECT_EQ(removal.exitCode, 1u);
  EXPECT_EQ(removal.transcript, std::vector<std::string>());
  std::vector<std::string> differences = DifferencesAfterSelfRemoval();
  EXPECT_TRUE(differences.empty()) << Shown(differences);
}

// Started as Add/Remove Programs starts it, with the questions a user answers: Yes to the
// removal, to the font and to the COM server, No to the shared library, which stays where it
// is with nothing left that counts it.
TEST_F(UninstallCycle, InteractivelyAnsweringNoKeepsTheSharedLibraryAndNothingElse) {
  Install({ProductFlag::kAskBeforeRemovingFonts, ProductFlag::kAskBeforeRemovingSharedFiles});
  const std::string command = Text(HKEY_LOCAL_MACHINE, fp::kUninstallKey, "UninstallString");
  EXPECT_EQ(command, uninstaller_ + " /u:\"" + fp::kProduct + "\"");
  QuorvexRun removal = RunCommandLine(command, {"6", "6", "7", "6"});
  EXPECT_EQ(removal.exitCode, 1u);
  char system[MAX_PATH];
  GetSystemDirectoryA(system, sizeof system);
  const std::string kept = fp::SharedDir() + "\\fullshared.dll";
  const auto unused = [](const std::string& path) {
    return "No other program seems to use the shared file " + path + " any more. Remove it?";
  };
  EXPECT_EQ(
      removal.transcript,
      std::vector<std::string>({
          Box("background", 0x24, "English 55", "English 53", 6),
          Box("progress", 0x24, "English 57", "Remove the font Quorvex Full Font?", 6),
          Box("progress", 0x24, "English 35", unused(kept), 7),
          Box("progress", 0x24, "English 35", unused(std::string(system) + "\\fullcom.dll"), 6),
          Box("background", 0x40, "English 15", "English 34", 1),
      }));
  EXPECT_EQ(DifferencesAfterSelfRemoval(),
            std::vector<std::string>({
                "+ dir " + fp::SharedDir() + ": ",
                "+ file " + kept + ": 18 bytes: a shared library\\x0D\\x0A",
            }));
}

}  // namespace
