// What the header's first field decides at start-up, seen from outside the real engine: bit 8
// (automatic: no language question), bit 29 (no background window) and bit 40 (the background
// maximised over the whole screen); and that uninstall mode never reads the archive.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "archive/product_flags.h"
#include "tests/e2e/archive_e2e_support.h"
#include "tests/e2e/quorvex_process.h"

namespace {

using namespace archive_e2e;

constexpr char kBackgroundClass[] = "OWK Window Class";
constexpr uint64_t kAutomatic = FlagMask(ProductFlag::kAutomatic);
constexpr uint64_t kNoBackground = FlagMask(ProductFlag::kNoBackgroundWindow);
constexpr uint64_t kFullScreen = FlagMask(ProductFlag::kFullScreenBackground);

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A sound installer whose two languages make the engine ask for one unless it runs automatic.
std::string WriteInstaller(const file_test::ScratchDir& scratch, uint64_t flags) {
  InstallerPlan plan = SmallPlan();
  plan.languages = Languages({{"English", ""}, {"Deutsch", ""}});
  plan.header.productFlags |= flags;
  const std::string path = scratch / "setup.exe";
  EXPECT_TRUE(file_test::WriteBytes(path, Str(Build(plan))));
  return path;
}

TEST(StartupFlagsEndToEnd, AutomaticAndNoBackgroundDecideTheLanguageQuestionAndItsOwner) {
  const struct {
    const char* name;
    uint64_t flags;
    std::vector<std::string> transcript;
  } cases[] = {
      {"none", 0, {"dialog\tLanguageDlg\tbackground\t1001", WelcomeBox("7")}},
      {"automatic", kAutomatic, {}},
      {"no background window", kNoBackground,
       {"dialog\tLanguageDlg\tnone\t1001",
        "box\tnone\t0x00000044\tEnglish 65\tEnglish 1\t7"}},
      {"automatic without background", kAutomatic | kNoBackground, {}},
      {"full screen", kFullScreen, {"dialog\tLanguageDlg\tbackground\t1001", WelcomeBox("7")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    file_test::ScratchDir scratch;
    const std::string setup = WriteInstaller(scratch, c.flags);
    // The language, then No to the welcome question: the questions' owner is what counts here.
    QuorvexRun run = RunProgram(setup, "", {"1001", "7"});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.transcript, c.transcript);
  }
}

// The real windows while the language question waits: the background covers the work area
// shown normally, or the whole screen maximised with bit 40, or is absent with bit 29.
TEST(StartupFlagsEndToEnd, TheBackgroundWindowAsTheFlagsShapeIt) {
  RECT workArea = {};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0));
  const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  enum class Shape { kNone, kWorkArea, kMaximised };
  const struct {
    const char* name;
    uint64_t flags;
    Shape shape;
  } cases[] = {
      {"none", 0, Shape::kWorkArea},
      {"full screen", kFullScreen, Shape::kMaximised},
      {"no background window", kNoBackground, Shape::kNone},
      {"no background window beats full screen", kNoBackground | kFullScreen, Shape::kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    file_test::ScratchDir scratch;
    const std::string setup = WriteInstaller(scratch, c.flags);
    bool looked = false;
    unsigned long exitCode = RunProgramToFirstDialog(setup, "", [&](DWORD process, HWND dialog) {
      looked = true;
      HWND background = ProcessWindow(process, kBackgroundClass);
      EXPECT_EQ(GetWindow(dialog, GW_OWNER), background);
      if (c.shape == Shape::kNone) {
        EXPECT_EQ(background, nullptr);
        return;
      }
      ASSERT_NE(background, nullptr);
      EXPECT_TRUE(IsWindowVisible(background));
      RECT rect = {};
      ASSERT_TRUE(GetWindowRect(background, &rect));
      const RECT& expected = c.shape == Shape::kMaximised ? screen : workArea;
      EXPECT_EQ(IsZoomed(background) != FALSE, c.shape == Shape::kMaximised);
      EXPECT_EQ(rect.left, expected.left);
      EXPECT_EQ(rect.top, expected.top);
      EXPECT_EQ(rect.right, expected.right);
      EXPECT_EQ(rect.bottom, expected.bottom);
    });
    EXPECT_TRUE(looked) << "the language question never came up";
    EXPECT_EQ(exitCode, 1u) << "declining the language question ends the installer";
  }
}

// Uninstall mode takes the product name and never touches the archive: no box of an archive
// (none present, damaged) and no language question of a sound one.
TEST(StartupFlagsEndToEnd, UninstallModeNeverReadsTheArchive) {
  file_test::ScratchDir scratch;
  const std::string sound = WriteInstaller(scratch, 0);
  InstallerPlan plan = SmallPlan();
  ArchiveParts parts;
  String error;
  ASSERT_TRUE(PrepareArchiveParts(EngineImage(), plan, parts, error)) << error.CStr();
  parts.magic ^= 1;
  const std::string damaged = scratch / "damaged.exe";
  ASSERT_TRUE(file_test::WriteBytes(damaged, Str(Assemble(parts))));
  const struct {
    const char* name;
    std::string program;
  } cases[] = {
      {"sound installer", sound},
      {"damaged installer", damaged},
      {"bare engine", QuorvexPath()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Without /u each shows something: the language question, the corrupt box, the no-archive box.
    QuorvexRun installing = RunProgram(c.program, "", {"1003"});
    EXPECT_EQ(installing.transcript.size(), 1u);
    // With it each shows only the uninstaller's own box: no product "x" is installed.
    QuorvexRun run = RunProgram(c.program, Quoted(c.program) + " /u:\"x\"");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.transcript,
              std::vector<std::string>(
                  {"box\tnone\t0x00000010\tError\tNo product named 'x' is installed.\t1"}));
  }
}

}  // namespace
