// The command line of the real program, run under Wine with the UI seam scripted.
#include <gtest/gtest.h>

#include "tests/e2e/archive_e2e_support.h"
#include "tests/e2e/quorvex_process.h"
#include "tests/support/ui_transcript.h"

namespace {

const char kUsageTail[] =
    "\n\nUsage:\nquorvex.exe [/a] [/d:\"dir\"] [/n:\"name\"] [/u:\"name\"] [/r:\"program\"]\n\n"
    "/a                  \tAutomatic mode\n"
    "/d:\"dir\"        \tOverride installation directory\n"
    "/n:\"name\"\tOverride product name\n"
    "/u:\"name\"\tUninstall product by name\r\n"
    "/r:\"program\"\tRun the specified program after a successful installation";

std::string FatalBox(const std::string& text) {
  return "box\tnone\t0x00002010\tFATAL ERROR\t" + TranscriptEscaped(text) + "\t1";
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

struct UsageCase {
  const char* arguments;
  const char* message;
};

TEST(CommandLineEndToEnd, MalformedLinesShowTheUsageBoxAndExitWithOne) {
  const UsageCase cases[] = {
      {"setup", "Unexpected command line parameter:\nsetup"},
      {"/a \"quoted arg\"", "Unexpected command line parameter:\n\"quoted arg\""},
      {"/R:x", "Illegal command line atom:\nR:x"},
      {"/an", "Illegal command line atom:\nan"},
      {"-dx", "Illegal command line atom:\ndx"},
      {"/x /u:\"P\"", "Illegal command line atom:\nx"},
      {"/u", "Product name required"},
      {"/uxyz", "Product name required"},
      {"/U: /a", "Product name required"},
  };
  for (const UsageCase& c : cases) {
    SCOPED_TRACE(c.arguments);
    QuorvexRun run = RunQuorvex(Quoted(QuorvexPath()) + " " + c.arguments);
    EXPECT_EQ(run.exitCode, 1u);
    ASSERT_EQ(run.transcript.size(), 1u);
    EXPECT_EQ(run.transcript[0], FatalBox(std::string(c.message) + kUsageTail));
  }
}

// A sound installer runs as far as the engine reaches without a word, whatever well-formed line
// starts it.
TEST(CommandLineEndToEnd, WellFormedLinesShowNothingAndExitWithOne) {
  file_test::ScratchDir scratch;
  const std::string setup = scratch / "setup.exe";
  ASSERT_TRUE(file_test::WriteBytes(setup, archive_e2e::Str(archive_e2e::Build(archive_e2e::SmallPlan()))));
  std::string nineteen;
  for (int i = 0; i < 19; ++i) nineteen += "/a ";
  // Every run that is not automatic shows the installation's welcome question, the first of its
  // own boxes: the command line itself gave no message.
  const struct {
    const char* arguments;
    bool automatic;
  } cases[] = {
      {"", false},
      {"   \t  ", false},
      {"/a", true},
      {"/d:\"C:\\Program Files\\Foo\" /n:\"My Product\"", false},
      {"/r:\"notepad `C:\\a b.txt`\"", false},
      {"/u:\"Some Product\" /a", true},  // uninstall mode ends after its checks
      {"/ -", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    QuorvexRun run = RunProgram(setup, Quoted(setup) + " " + c.arguments, {"7"});
    EXPECT_EQ(run.exitCode, 1u);
    const std::vector<std::string> expected =
        c.automatic ? std::vector<std::string>()
                    : std::vector<std::string>({archive_e2e::WelcomeBox("7")});
    EXPECT_EQ(run.transcript, expected);
  }
  SCOPED_TRACE("a malformed 20th atom");
  QuorvexRun run = RunProgram(setup, Quoted(setup) + " " + nineteen + "bogus");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_TRUE(run.transcript.empty());
}

TEST(CommandLineEndToEnd, OwnPathWithoutExtensionIsOpenedWithExe) {
  file_test::ScratchDir scratch;
  const std::string setup = scratch / "setup.exe";
  ASSERT_TRUE(file_test::WriteBytes(setup, archive_e2e::Str(archive_e2e::Build(archive_e2e::SmallPlan()))));
  QuorvexRun run = RunProgram(setup, scratch / "setup /a");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_TRUE(run.transcript.empty());
}

// The bare engine carries no archive: install mode says so and ends.
TEST(CommandLineEndToEnd, BareEngineSaysItHoldsNoArchive) {
  QuorvexRun run = RunQuorvex(Quoted(QuorvexPath()) + " /a");
  EXPECT_EQ(run.exitCode, 1u);
  ASSERT_EQ(run.transcript.size(), 1u);
  EXPECT_EQ(run.transcript[0], FatalBox(archive_e2e::kNoArchiveMessage));
}

TEST(CommandLineEndToEnd, UnopenableOwnFileShowsErrorCodeOne) {
  QuorvexRun run = RunQuorvex("\"C:\\no such folder\\setup.exe\" /a");
  EXPECT_EQ(run.exitCode, 1u);
  ASSERT_EQ(run.transcript.size(), 1u);
  EXPECT_EQ(run.transcript[0],
            FatalBox("Error code 1: The Quorvex could not open itself.  Filename:\n"
                     "C:\\no such folder\\setup.exe"));
}

}  // namespace
