// The uninstaller image as the engine derives it from an installer file: built by the writer
// from the real quorvex.exe, cut apart with the engine's own code, written to disk and run.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "archive/own_archive.h"
#include "archive/pe_layout.h"
#include "archive/product_flags.h"
#include "core/little_endian.h"
#include "platform/file.h"
#include "tests/e2e/archive_e2e_support.h"
#include "tests/e2e/quorvex_process.h"

namespace {

using namespace archive_e2e;

constexpr uint64_t kRegisteredFlag = FlagMask(ProductFlag::kRegisterUninstall);
constexpr uint64_t kImageChecksumFlag = FlagMask(ProductFlag::kCheckImageChecksum);
// Inside the DOS stub's message: bytes no Windows loader reads.
constexpr uint32_t kPatchOffset = 0x50;
constexpr char kPatch[] = "PATCHED BY THE BUILDER";

// The offset of the first byte in which a and b differ within their common length; -1 when none
// does. Images are compared this way so that a failure names a place instead of printing them.
long FirstDifference(const std::string& a, const std::string& b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return long(i);
  }
  return -1;
}

// The image with the PE header's CheckSum field taken from the engine: the builder sets it for
// the installer, and the uninstaller's fix-up leaves it (executables are loaded whatever it says).
std::string WithEngineChecksum(std::string image, const std::string& engine) {
  const size_t field = LoadU16(&engine[kPeOffsetField]) + kPeCheckSumField;
  image.replace(field, 4, engine, field, 4);
  return image;
}

struct ReadImage {
  int code = -1;
  String image;
};

// What the engine derives from the installer at path, with the header the plan stored.
ReadImage ReadImageOf(const std::string& path, const ArchiveHeader& header) {
  ReadImage out;
  out.image = "sentinel";
  File file;
  EXPECT_EQ(file.Open(path.c_str(), OpenMode::kReadShared), 0);
  ArchiveSection section;
  int fileSize = -1;
  EXPECT_EQ(LocateOwnArchive(file, section, fileSize), 0);
  EXPECT_EQ(fileSize, int(file_test::ReadBytes(path).size()));
  uint32_t imageChecksum = 0;
  EXPECT_TRUE(file.ReadAt(int(section.rawOffset) + 16, &imageChecksum, 4));
  out.code = ReadUninstallerImage(file, section, imageChecksum, header, out.image);
  return out;
}

TEST(UninstallerImageEndToEnd, TheImageIsTheEngineAgainAndRunsAsTheBareEngine) {
  file_test::ScratchDir scratch;
  InstallerPlan plan = SmallPlan();
  plan.header.productFlags |= kImageChecksumFlag;
  const std::string setup = scratch / "setup.exe";
  ASSERT_TRUE(file_test::WriteBytes(setup, Str(Build(plan))));

  ReadImage read = ReadImageOf(setup, plan.header);
  ASSERT_EQ(read.code, 0);
  ArchiveSection none;
  EXPECT_EQ(LocateArchiveSection(reinterpret_cast<const uint8_t*>(read.image.CStr()),
                                 size_t(read.image.Length()), none),
            kNoArchiveSection);
  const std::string image = Str(read.image);
  const std::string engine = Str(EngineImage());
  ASSERT_GE(image.size(), engine.size());
  EXPECT_EQ(FirstDifference(WithEngineChecksum(image, engine), engine), -1)
      << "the headers are the engine's again";
  EXPECT_EQ(image.find_first_not_of('\0', engine.size()), std::string::npos)
      << "at most the alignment's zeros before the section stay";

  const std::string uninstaller = scratch / "uninst.exe";
  ASSERT_TRUE(file_test::WriteBytes(uninstaller, Str(read.image)));
  QuorvexRun run = RunProgram(uninstaller);
  EXPECT_EQ(run.exitCode, 1u);
  std::vector<std::string> expected = {FatalBox(kNoArchiveMessage)};
  EXPECT_EQ(run.transcript, expected);
}

TEST(UninstallerImageEndToEnd, ThePatchIsLaidOverTheImage) {
  file_test::ScratchDir scratch;
  InstallerPlan plan = SmallPlan();
  plan.header.productFlags |= kRegisteredFlag;
  plan.header.uninstallerPatchOffset = kPatchOffset;
  plan.header.uninstallerPatch = kPatch;
  const std::string setup = scratch / "setup.exe";
  ASSERT_TRUE(file_test::WriteBytes(setup, Str(Build(plan))));

  ReadImage read = ReadImageOf(setup, plan.header);
  ASSERT_EQ(read.code, 0);
  const std::string image = Str(read.image);
  const std::string engine = Str(EngineImage());
  ASSERT_GE(image.size(), engine.size());
  EXPECT_EQ(image.substr(kPatchOffset, sizeof kPatch - 1), kPatch);
  std::string unpatched = image;
  unpatched.replace(kPatchOffset, sizeof kPatch - 1, engine, kPatchOffset, sizeof kPatch - 1);
  EXPECT_EQ(FirstDifference(WithEngineChecksum(unpatched, engine), engine), -1)
      << "nothing but the patch differs";

  const std::string uninstaller = scratch / "uninst.exe";
  ASSERT_TRUE(file_test::WriteBytes(uninstaller, image));
  QuorvexRun run = RunProgram(uninstaller);
  std::vector<std::string> expected = {FatalBox(kNoArchiveMessage)};
  EXPECT_EQ(run.transcript, expected);
}

TEST(UninstallerImageEndToEnd, TheImageChecksumIsComparedOnlyWhenTheHeaderAsksForIt) {
  file_test::ScratchDir scratch;
  struct Case {
    uint64_t flags;
    bool rightChecksum;
    int code;
  };
  const Case cases[] = {
      {0, true, 0},
      {0, false, 0},
      {kImageChecksumFlag, true, 0},
      {kImageChecksumFlag, false, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << c.flags << " right " << c.rightChecksum);
    InstallerPlan plan = SmallPlan();
    plan.header.productFlags |= c.flags;
    ArchiveParts parts;
    String error;
    ASSERT_TRUE(PrepareArchiveParts(EngineImage(), plan, parts, error)) << error.CStr();
    if (!c.rightChecksum) parts.imageChecksum.Set(0x12345678);
    const std::string setup = scratch / "setup.exe";
    ASSERT_TRUE(file_test::WriteBytes(setup, Str(Assemble(parts))));
    ReadImage read = ReadImageOf(setup, plan.header);
    EXPECT_EQ(read.code, c.code);
    if (c.code != 0) {
      EXPECT_EQ(Str(read.image), "sentinel") << "untouched after a failure";
    }
  }
}

}  // namespace
