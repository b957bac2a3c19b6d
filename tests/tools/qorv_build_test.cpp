// qorv build and qorv inspect as a user runs them: installers that inspect as sound, the same
// bytes from the same inputs, volume files beside the installer, nothing left by a failed
// build, and damaged installers named by the code the engine would raise.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/archive_layout.h"
#include "core/checksum.h"
#include "tests/tools/qorv_test_support.h"
#include "tools/archive_writer/archive_parts.h"
#include "tools/qorv/manifest.h"

using qorv_test::QorvRun;
using qorv_test::RunQorvWith;
using qorv_test::ScratchFolder;

namespace {

struct BuildFixture : ::testing::Test {
  ScratchFolder dir;
  std::string engine = dir.WriteEngine();

  void WriteProduct(const std::string& extra = "") {
    dir.Write("in/files/readme.txt", "Read me.\n");
    dir.Write("in/files/bin/tool.dat", std::string(3000, 't') + archive_test::NoiseBytes(6000));
    dir.Write("in/licence.txt", "Licence.\n");
    dir.Write("in/qorv.toml", "[product]\nname = \"Tool Kit\"\nlicenses = [\"licence.txt\"]\n"
                              "[files]\nfolder = \"files\"\n" + extra);
  }
  QorvRun Build(const std::string& output, const std::string& manifest = "in/qorv.toml") {
    return RunQorvWith({"build", dir / manifest, "-o", dir / output, "--engine", engine});
  }
  QorvRun Inspect(const std::string& installer) { return RunQorvWith({"inspect", dir / installer}); }
};

TEST_F(BuildFixture, BuiltInstallerInspectsAsSound) {
  WriteProduct();
  const QorvRun built = Build("out/setup.exe");
  ASSERT_EQ(built.code, 0) << built.err;
  const QorvRun inspected = Inspect("out/setup.exe");
  EXPECT_EQ(inspected.code, 0) << inspected.err;
  EXPECT_NE(inspected.out.find("product name: Tool Kit"), std::string::npos) << inspected.out;
  EXPECT_NE(inspected.out.find("file 0: bin\\tool.dat"), std::string::npos) << inspected.out;
  EXPECT_NE(inspected.out.find("file 1: readme.txt"), std::string::npos) << inspected.out;
  EXPECT_NE(inspected.out.find("\nsound\n"), std::string::npos) << inspected.out;
  EXPECT_EQ(dir.Names("out"), std::vector<std::string>{"setup.exe"});
}

TEST_F(BuildFixture, SameInputsGiveSameBytes) {
  WriteProduct("[archive]\nvolume_size = 2000\n");
  ASSERT_EQ(Build("one/setup.exe").code, 0);
  ASSERT_EQ(Build("two/setup.exe").code, 0);
  EXPECT_EQ(dir.Names("one"), dir.Names("two"));
  for (const std::string& name : dir.Names("one")) {
    SCOPED_TRACE(name);
    EXPECT_EQ(dir.Read("one/" + name), dir.Read("two/" + name));
  }
}

TEST_F(BuildFixture, VolumesAreWrittenBesideTheInstallerAndFoundByInspect) {
  WriteProduct("[archive]\nvolume_size = 2000\nvolume_base = \"A:\\\\DISKS\\\\TK\"\n");
  const QorvRun built = Build("out/setup.exe");
  ASSERT_EQ(built.code, 0) << built.err;
  const std::vector<std::string> names = dir.Names("out");
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[0], "TK2.OWK");
  EXPECT_EQ(names[1], "TK3.OWK");
  EXPECT_EQ(names.back(), "setup.exe");
  EXPECT_EQ(Inspect("out/setup.exe").code, 0);
  std::filesystem::remove(dir / "out/TK3.OWK");
  const QorvRun missing = Inspect("out/setup.exe");
  EXPECT_NE(missing.code, 0);
  EXPECT_NE(missing.err.find("volume 3 is missing"), std::string::npos) << missing.err;
}

TEST_F(BuildFixture, FailedBuildLeavesNothingBehind) {
  struct Case {
    const char* what;
    const char* manifestExtra;
    bool badEngine;
    const char* message;
  };
  const Case cases[] = {
      {"missing source", "[[file]]\nsource = \"gone.exe\"\n", false, "gone.exe"},
      {"bad manifest", "[flags]\nwings = true\n", false, "flags.wings"},
      {"engine refused", "", true, "not a Windows program"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteProduct(std::string("[archive]\nvolume_size = 2000\n") + c.manifestExtra);
    dir.Write("out/setup.exe", "previous installer");
    if (c.badEngine) dir.Write("engine.exe", "not an engine");
    const QorvRun run = Build("out/setup.exe");
    if (c.badEngine) dir.WriteEngine();
    EXPECT_EQ(run.code, kQorvFailure);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(dir.Names("out"), std::vector<std::string>{"setup.exe"});
    EXPECT_EQ(dir.Read("out/setup.exe"), "previous installer");
  }
}

TEST_F(BuildFixture, UsageErrorsAreRefused) {
  EXPECT_EQ(RunQorvWith({}).code, kQorvUsage);
  EXPECT_EQ(RunQorvWith({"build", "x.toml"}).code, kQorvUsage) << "no -o";
  EXPECT_EQ(RunQorvWith({"build", "x.toml", "-o", "y", "--level", "10"}).code, kQorvUsage);
  EXPECT_EQ(RunQorvWith({"frobnicate"}).code, kQorvUsage);
}

// Damage to a built installer's bytes, found at their place through the section table.
TEST_F(BuildFixture, InspectNamesTheCodeOfEachDamage) {
  WriteProduct("[flags]\ncheck_image_checksum = true\n");
  ASSERT_EQ(Build("good.exe").code, 0);
  const std::string good = dir.Read("good.exe");
  ArchiveSection section;
  ASSERT_EQ(LocateArchiveSection(reinterpret_cast<const uint8_t*>(good.data()), good.size(), section), 0);
  const size_t s = section.rawOffset;
  struct Case {
    const char* what;
    size_t offset;
    uint8_t xorWith;
    const char* line;
  };
  const Case cases[] = {
      {"PE header offset", 0x3D, 0x20, "corrupt installer: code 43 (bad PE header offset)"},
      {"section count", archive_test::kPeOffset + 6, 0x07, "corrupt installer: code 44 (section count outside 4 .. 99)"},
      {"magic", s, 0x01, "corrupt installer: code 20 (bad archive magic)"},
      {"header size", s + 10, 0xFF, "corrupt installer: code 22 (bad stored header length)"},
      {"scrambling key", s + 12, 0x01, "corrupt installer: code 47 (header does not decompress)"},
      {"image checksum word", s + 16, 0x01, "corrupt installer: code 40 (image checksum mismatch)"},
      {"image byte", 0x50, 0x01, "corrupt installer: code 40 (image checksum mismatch)"},
      {"file count", s + 27, 0x80, "corrupt installer: code 27 (negative file count)"},
      {"data checksum word", s + 32, 0x01, "corrupt installer: code 55 (data block checksum mismatch)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string damaged = good;
    damaged[c.offset] = char(uint8_t(damaged[c.offset]) ^ c.xorWith);
    dir.Write("damaged.exe", damaged);
    const QorvRun run = Inspect("damaged.exe");
    EXPECT_EQ(run.code, kQorvFailure);
    EXPECT_EQ(run.err, std::string(c.line) + "\n");
  }
}

// A header stored under a checksum that is not its own decompresses but fails the check.
TEST_F(BuildFixture, InspectReportsAHeaderChecksumMismatch) {
  WriteProduct();
  dir.Write("in/qorv.toml", "[product]\nname = \"P\"\n[files]\nfolder = \"files\"\n");
  LoadedManifest manifest;
  std::string error;
  ASSERT_TRUE(LoadManifest(dir / "in/qorv.toml", manifest, error)) << error;
  const String engineImage = archive_test::MakeEngineImage();
  ArchiveParts parts;
  String writerError;
  ASSERT_TRUE(PrepareArchiveParts(engineImage, manifest.plan, parts, writerError));
  SetHeaderBlock(parts, parts.headerBlock, parts.headerChecksum ^ 0x100, 9);
  BuiltInstaller built;
  ASSERT_TRUE(AssembleInstaller(engineImage, parts, built, writerError));
  dir.Write("bad.exe", std::string(built.image.CStr(), size_t(built.image.Length())));
  const QorvRun run = Inspect("bad.exe");
  EXPECT_EQ(run.code, kQorvFailure);
  EXPECT_EQ(run.err, "corrupt installer: code 25 (header checksum mismatch)\n");
}

// A full-screen picture of noise does not compress: its header would pass the engine's limit.
TEST_F(BuildFixture, AHeaderTheInstallerWouldRefuseIsNotWritten) {
  WriteProduct("[background]\nbitmap = \"big.bmp\"\n[archive]\nlevel = 1\n");
  dir.Write("in/big.bmp", archive_test::NoiseBytes(kStoredHeaderLimit + 4096));
  const QorvRun built = Build("out/setup.exe");
  EXPECT_EQ(built.code, kQorvFailure);
  EXPECT_NE(built.err.find("the installer accepts less than 10485760 (0xA00000). Its largest part "
                           "is background.bitmap (10489856 bytes before compression)"),
            std::string::npos)
      << built.err;
  EXPECT_TRUE(dir.Names("out").empty());
}

// The engine lays the patch over the uninstaller only where it fits wholly.
TEST_F(BuildFixture, APatchMustLieWithinTheUninstaller) {
  dir.Write("in/patch.bin", "0123456789");
  auto build = [&](uint32_t offset) {
    WriteProduct(
        "[uninstall]\npatch_file = \"patch.bin\"\npatch_offset = " + std::to_string(offset) + "\n");
    return Build("setup.exe");
  };
  ASSERT_EQ(build(0x100).code, 0);
  const std::string good = dir.Read("setup.exe");
  ArchiveSection section;
  ASSERT_EQ(
      LocateArchiveSection(reinterpret_cast<const uint8_t*>(good.data()), good.size(), section), 0);
  const uint32_t uninstallerSize = section.rawOffset;  // nothing follows the section

  const QorvRun last = build(uninstallerSize - 10);
  EXPECT_EQ(last.code, 0) << last.err;
  EXPECT_EQ(Inspect("setup.exe").code, 0);
  for (uint32_t offset : {uninstallerSize - 9, uninstallerSize + 1, 0x80000000u}) {
    SCOPED_TRACE(offset);
    const QorvRun beyond = build(offset);
    EXPECT_EQ(beyond.code, kQorvFailure);
    EXPECT_NE(
        beyond.err.find(": uninstall.patch_offset: the patch of 10 bytes at offset " +
                        std::to_string(offset) + " must lie within the uninstaller, which takes " +
                        std::to_string(uninstallerSize) + " bytes"),
        std::string::npos)
        << beyond.err;
  }
}

// Section-table words a hostile file may hold: inspect bounds what it reads as the engine does
// and names the engine's code.
TEST_F(BuildFixture, InspectBoundsTheSectionAsTheEngineDoes) {
  WriteProduct();
  ASSERT_EQ(Build("good.exe").code, 0);
  const std::string good = dir.Read("good.exe");
  ArchiveSection section;
  ASSERT_EQ(
      LocateArchiveSection(reinterpret_cast<const uint8_t*>(good.data()), good.size(), section), 0);
  const size_t entry = section.tableOffset + size_t(section.index) * 40;
  const size_t imageSizeField = section.peHeaderOffset + 0x50;
  auto put = [](std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = char(value >> (8 * i));
  };
  struct Word {
    size_t at;
    uint32_t value;
  };
  const uint32_t fileSize = uint32_t(good.size());
  const struct {
    const char* what;
    std::vector<Word> words;
    int code;
    std::string err;  // the whole error output; empty for a sound installer
  } cases[] = {
      // The engine reads no more of the section than the image's size leaves it.
      {"VirtualSize 0x80000000", {{entry + 8, 0x80000000u}}, 0, ""},
      {"VirtualSize and SizeOfImage 0x80000000",
       {{entry + 8, 0x80000000u}, {imageSizeField, 0xFFFFFFFFu}},
       kQorvFailure,
       "qorv inspect: the section claims 2147483648 bytes of memory for the " +
           std::to_string(section.rawSize) + " bytes of raw data the file holds\n"},
      {"raw data past the end of the file",
       {{entry + 20, fileSize + 0x200}},
       kQorvFailure,
       "corrupt installer: code 35 (installer cannot be read up to the archive section)\n"},
      {"raw data beyond 2 GiB",
       {{entry + 20, 0x80000000u}},
       kQorvFailure,
       "corrupt installer: code 10 (archive section lies beyond the file)\n"},
      {"raw data right at the end of the file",
       {{entry + 20, fileSize}},
       kQorvFailure,
       "corrupt installer: code 20 (bad archive magic)\n"},
      // A data block that claims 2 GB asks for the volume that would hold the rest.
      {"DataSize 0x7FFFFFFF",
       {{section.rawOffset + 28, 0x7FFFFFFFu}},
       kQorvFailure,
       "qorv inspect: volume 2 is missing\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string damaged = good;
    for (const Word& word : c.words) put(damaged, word.at, word.value);
    dir.Write("damaged.exe", damaged);
    const QorvRun run = Inspect("damaged.exe");
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_EQ(run.err, c.err);
  }
}

}  // namespace
