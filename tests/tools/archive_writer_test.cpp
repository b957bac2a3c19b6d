// The archive writer, checked through the engine's own readers: every field comes back, the
// section is removable exactly as the engine's uninstaller removes it, volumes and data outside
// the image are placed so the engine finds them, and damaged parts fail with their codes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "archive/archive_layout.h"
#include "archive/corrupt_codes.h"
#include "archive/pe_layout.h"
#include "archive/product_flags.h"
#include "core/checksum.h"
#include "tests/tools/archive_writer_test_support.h"
#include "tools/archive_writer/archive_parts.h"
#include "tools/archive_writer/pe_image.h"
#include "tools/codec/block_encoder.h"

using namespace archive_test;

namespace {

constexpr uint64_t kCompress = FlagMask(ProductFlag::kCompressedData);
constexpr uint64_t kCheckImage = FlagMask(ProductFlag::kCheckImageChecksum);

void ExpectHeadersEqual(const ArchiveHeader& a, const ArchiveHeader& b) {
  EXPECT_EQ(a.productFlags, b.productFlags);
  EXPECT_EQ(a.stageDelay, b.stageDelay);
  EXPECT_EQ(a.shortcutMode, b.shortcutMode);
  ExpectStampEq(a.uninstallerStamp, b.uninstallerStamp);
  const String* texts[][2] = {
      {&a.publisher, &b.publisher},           {&a.productName, &b.productName},
      {&a.sharedPath, &b.sharedPath},         {&a.productStartMenu, &b.productStartMenu},
      {&a.defaultInstallDir, &b.defaultInstallDir}, {&a.displayVersion, &b.displayVersion},
      {&a.productRegistry, &b.productRegistry}, {&a.uninstallSubdir, &b.uninstallSubdir},
      {&a.volumeBase, &b.volumeBase},         {&a.uninstallerName, &b.uninstallerName},
      {&a.uninstallKeyName, &b.uninstallKeyName}, {&a.backgroundBitmap, &b.backgroundBitmap},
      {&a.masterProduct, &b.masterProduct},   {&a.desktopFolder, &b.desktopFolder},
      {&a.preInstallBatch, &b.preInstallBatch}, {&a.postInstallBatch, &b.postInstallBatch},
      {&a.finalBatch, &b.finalBatch},         {&a.uninstallBatch1, &b.uninstallBatch1},
      {&a.uninstallBatch2, &b.uninstallBatch2}, {&a.uninstallerPatch, &b.uninstallerPatch},
  };
  for (auto& pair : texts) {
    EXPECT_TRUE(pair[0]->Equals(*pair[1])) << pair[0]->CStr() << " != " << pair[1]->CStr();
  }
  ASSERT_EQ(a.licenseTexts.Count(), b.licenseTexts.Count());
  for (int i = 0; i < a.licenseTexts.Count(); ++i) EXPECT_STREQ(a.licenseTexts[i].CStr(), b.licenseTexts[i].CStr());
  ASSERT_EQ(a.readmeTexts.Count(), b.readmeTexts.Count());
  for (int i = 0; i < a.readmeTexts.Count(); ++i) EXPECT_STREQ(a.readmeTexts[i].CStr(), b.readmeTexts[i].CStr());
  EXPECT_EQ(a.titleColor, b.titleColor);
  EXPECT_EQ(a.topColor, b.topColor);
  EXPECT_EQ(a.bottomColor, b.bottomColor);
  EXPECT_EQ(a.titleShadow, b.titleShadow);
  EXPECT_EQ(0, std::memcmp(a.reservedDate, b.reservedDate, sizeof a.reservedDate));
  EXPECT_EQ(a.unsupportedSystems, b.unsupportedSystems);
  EXPECT_EQ(a.dataOutsideImage, b.dataOutsideImage);
  EXPECT_EQ(a.volumeSerial, b.volumeSerial);
  EXPECT_EQ(a.uninstallerPatchOffset, b.uninstallerPatchOffset);
  ASSERT_EQ(a.deletionSpecs.Count(), b.deletionSpecs.Count());
  for (int i = 0; i < a.deletionSpecs.Count(); ++i) {
    EXPECT_STREQ(a.deletionSpecs[i].specification.CStr(), b.deletionSpecs[i].specification.CStr());
    EXPECT_EQ(a.deletionSpecs[i].condition, b.deletionSpecs[i].condition);
    EXPECT_STREQ(a.deletionSpecs[i].value.CStr(), b.deletionSpecs[i].value.CStr());
    EXPECT_EQ(a.deletionSpecs[i].flags, b.deletionSpecs[i].flags);
  }
  ASSERT_EQ(a.fileAssociations.Count(), b.fileAssociations.Count());
  for (int i = 0; i < a.fileAssociations.Count(); ++i) {
    const FileAssociation& x = a.fileAssociations[i];
    const FileAssociation& y = b.fileAssociations[i];
    EXPECT_EQ(x.options, y.options);
    for (auto m : {&FileAssociation::extension, &FileAssociation::fileType, &FileAssociation::description,
                   &FileAssociation::verb, &FileAssociation::verbText, &FileAssociation::command,
                   &FileAssociation::language, &FileAssociation::icon}) {
      EXPECT_STREQ((x.*m).CStr(), (y.*m).CStr());
    }
  }
  ASSERT_EQ(a.uninstallValues.Count(), b.uninstallValues.Count());
  for (int i = 0; i < a.uninstallValues.Count(); ++i) {
    EXPECT_STREQ(a.uninstallValues[i].name.CStr(), b.uninstallValues[i].name.CStr());
    EXPECT_EQ(a.uninstallValues[i].type, b.uninstallValues[i].type);
    EXPECT_STREQ(a.uninstallValues[i].value.CStr(), b.uninstallValues[i].value.CStr());
  }
}

void ExpectFilesEqual(const Vector<FileEntry>& planned, const std::vector<FileEntry>& read) {
  ASSERT_EQ(size_t(planned.Count()), read.size());
  for (int i = 0; i < planned.Count(); ++i) {
    SCOPED_TRACE(i);
    const FileEntry& p = planned[i];
    const FileEntry& r = read[size_t(i)];
    EXPECT_STREQ(p.name.CStr(), r.name.CStr());
    EXPECT_EQ(p.destinationKind, r.destinationKind);
    EXPECT_EQ(p.flags, r.flags);
    EXPECT_EQ(p.attributes, r.attributes);
    ASSERT_EQ(p.length, r.length);
    EXPECT_EQ(0, std::memcmp(p.data, r.data, size_t(p.length)));
    ExpectStampEq(p.stamp, r.stamp);
    EXPECT_STREQ(p.versionOrShortcutName.CStr(), r.versionOrShortcutName.CStr());
    const bool hasIcon = (p.flags & 3) != 0;
    EXPECT_STREQ(hasIcon ? p.shortcutIcon.CStr() : "", r.shortcutIcon.CStr());
    EXPECT_STREQ(p.shortcutArguments.CStr(), r.shortcutArguments.CStr());
    EXPECT_STREQ(p.destinationText.CStr(), r.destinationText.CStr());
  }
}

// The engine image as its uninstaller must come out of the installer: the writer zeroes the
// CheckSum and pads the file to the file alignment; the header's patch is laid over it.
String ExpectedUninstaller(const String& engine, const ArchiveHeader& header) {
  String expected = engine;
  expected.WriteU32At(int(kPeOffset + kPeCheckSumField), 0);
  const int padded = (engine.Length() + int(kFileAlignment) - 1) / int(kFileAlignment) * int(kFileAlignment);
  while (expected.Length() < padded) expected.AppendChar('\0');
  if (HasFlag(header.productFlags, ProductFlag::kRegisterUninstall) &&
      header.uninstallerPatchOffset > 0) {
    std::memcpy(expected.Data() + header.uninstallerPatchOffset, header.uninstallerPatch.CStr(),
                size_t(header.uninstallerPatch.Length()));
  }
  return expected;
}

class WriterTest : public ::testing::TestWithParam<bool> {
 protected:
  String Engine(int trailingBytes = 0) {
    EngineShape shape;
    shape.pe32Plus = GetParam();
    shape.trailingBytes = trailingBytes;
    return MakeEngineImage(shape);
  }
  std::vector<std::string> storage_;
};

TEST_P(WriterTest, EveryFieldReadsBackThroughTheEngineReaders) {
  for (uint64_t extraFlags : {uint64_t(0), kCompress, kCompress | kCheckImage}) {
    SCOPED_TRACE(extraFlags);
    InstallerPlan plan = FullPlan(storage_);
    plan.header.productFlags |= extraFlags;
    BuiltInstaller built;
    Build(Engine(), plan, built);
    InstallerReadback back;
    ASSERT_EQ(ReadBack(built, back), 0) << back.problem;
    EXPECT_EQ(back.prologue.builderVersion, 1110u);
    EXPECT_EQ(back.prologue.fileCount, 4);
    ExpectHeadersEqual(plan.header, back.header);
    ASSERT_EQ(back.languages.names.Count(), 2);
    EXPECT_STREQ(back.languages.names[1].CStr(), "Deutsch");
    ASSERT_EQ(back.languages.texts.Count(), 3);
    EXPECT_STREQ(back.languages.texts[2][1].CStr(), "deutsch 2");
    ExpectFilesEqual(plan.files, back.files);
    EXPECT_EQ(back.imageChecksumChecked, (extraFlags & kCheckImage) != 0);
    EXPECT_EQ(back.computedImageChecksum, back.prologue.imageChecksum);
  }
}

TEST_P(WriterTest, SectionIsLastAndRemovesExactly) {
  for (int trailing : {0, 37}) {
    SCOPED_TRACE(trailing);
    InstallerPlan plan = FullPlan(storage_);
    const String engine = Engine(trailing);
    BuiltInstaller built;
    Build(engine, plan, built);
    const String& image = built.image;
    const uint32_t opt = kPeOffset + 0x18;
    EXPECT_EQ(GetU16(image, kPeOffset + kPeSectionCountField), 4);
    const uint32_t entry = opt + (GetParam() ? 0xF0 : 0xE0) + 3 * kSectionEntrySize;
    EXPECT_EQ(0, std::memcmp(image.CStr() + entry, ".qorv\0\0\0", 8));
    const uint32_t virtualSize = GetU32(image, entry + 8), virtualAddress = GetU32(image, entry + 12);
    const uint32_t rawSize = GetU32(image, entry + 16), rawOffset = GetU32(image, entry + 20);
    EXPECT_EQ(GetU32(image, entry + 36), 0x40000040u);
    EXPECT_EQ(rawOffset % kFileAlignment, 0u);
    EXPECT_GE(rawOffset, uint32_t(engine.Length()));
    EXPECT_EQ(rawSize % kSectionAlignment, 0u);
    EXPECT_EQ(rawOffset + rawSize, uint32_t(image.Length())) << "the section ends the file";
    EXPECT_EQ(virtualAddress, 4 * kSectionAlignment) << "mapped after the last section";
    EXPECT_EQ(virtualSize, rawSize);
    EXPECT_EQ(GetU32(image, opt + 56), 4 * kSectionAlignment + rawSize);
    EXPECT_EQ(GetU32(image, opt + 8), kEngineInitializedData + rawSize);
    EXPECT_EQ(GetU32(image, opt + 64), 0u);
    EXPECT_EQ(GetU32(image, rawOffset + 16), ArchiveChecksum(image.CStr(), int(rawOffset)));

    InstallerReadback back;
    ASSERT_EQ(ReadBack(built, back), 0) << back.problem;
    const String expected = ExpectedUninstaller(engine, plan.header);
    ASSERT_EQ(back.uninstallerImage.Length(), expected.Length());
    EXPECT_EQ(0, std::memcmp(back.uninstallerImage.CStr(), expected.CStr(), size_t(expected.Length())));
  }
}

TEST_P(WriterTest, DataBlockIsStoredCompressedOnlyWithItsFlag) {
  InstallerPlan plan = FullPlan(storage_);
  ArchiveParts plain, packed;
  String error;
  ASSERT_TRUE(PrepareArchiveParts(Engine(), plan, plain, error)) << error.CStr();
  const String raw = SerializeDataBlock(plan.files, EntryChecksums::kComputed);
  EXPECT_TRUE(plain.storedData.Equals(raw));
  EXPECT_EQ(plain.dataSize, raw.Length());
  plan.header.productFlags |= kCompress;
  ASSERT_TRUE(PrepareArchiveParts(Engine(), plan, packed, error)) << error.CStr();
  EXPECT_LT(packed.dataSize, raw.Length() / 2) << "3000 repeated bytes compress";
  EXPECT_EQ(packed.dataChecksum, ArchiveChecksum(packed.storedData.CStr(), packed.storedData.Length()));

  // No files: nothing to compress, the block stays empty.
  plan.files.RemoveAll();
  ASSERT_TRUE(PrepareArchiveParts(Engine(), plan, packed, error));
  EXPECT_EQ(packed.dataSize, 0);
  EXPECT_EQ(packed.dataChecksum, 0x79E2BC9Du);
  BuiltInstaller built;
  ASSERT_TRUE(AssembleInstaller(Engine(), packed, built, error));
  InstallerReadback back;
  EXPECT_EQ(ReadBack(built, back), 0) << back.problem;
}

TEST_P(WriterTest, VolumesCarryTheRestWithCountingIdentifiers) {
  for (uint64_t compress : {uint64_t(0), kCompress}) {
    SCOPED_TRACE(compress);
    InstallerPlan plan = FullPlan(storage_);
    plan.header.productFlags |= compress;
    storage_[2] = NoiseBytes(5000);
    plan.files[2].data = storage_[2].data();
    plan.files[2].length = 5000;
    plan.volumeSize = 1024;
    BuiltInstaller built;
    Build(Engine(), plan, built);
    ArchiveParts parts;
    String error;
    ASSERT_TRUE(PrepareArchiveParts(Engine(), plan, parts, error));
    const int total = parts.storedData.Length();
    ASSERT_EQ(built.volumes.Count(), (total - 1024 + 1023) / 1024);
    int carried = 1024;
    for (int i = 0; i < built.volumes.Count(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(built.volumes[i].ReadU32At(0), 0x5EED0001u + uint32_t(i));
      EXPECT_LE(built.volumes[i].Length(), 1024 + 4);
      EXPECT_EQ(0, std::memcmp(built.volumes[i].CStr() + 4, parts.storedData.CStr() + carried,
                               size_t(built.volumes[i].Length() - 4)));
      carried += built.volumes[i].Length() - 4;
    }
    EXPECT_EQ(carried, total);
    InstallerReadback back;
    ASSERT_EQ(ReadBack(built, back), 0) << back.problem;
    EXPECT_EQ(back.volumesRead, built.volumes.Count());
    EXPECT_EQ(back.prologue.sectionDataEnd, int32_t(back.prologue.dataStartOffset + 1024));
    ExpectFilesEqual(plan.files, back.files);
  }
}

TEST_P(WriterTest, DataOutsideTheImageEndsTheFileAndIsNotMapped) {
  for (uint32_t volumeSize : {0u, 9000u}) {
    SCOPED_TRACE(volumeSize);
    InstallerPlan plan = FullPlan(storage_);
    plan.header.dataOutsideImage = 1;
    plan.header.productFlags |= kCompress;
    storage_[2] = NoiseBytes(20000);
    plan.files[2].data = storage_[2].data();
    plan.files[2].length = int32_t(storage_[2].size());
    plan.volumeSize = volumeSize;
    BuiltInstaller built;
    Build(Engine(), plan, built);
    InstallerReadback back;
    ASSERT_EQ(ReadBack(built, back), 0) << back.problem;
    ExpectFilesEqual(plan.files, back.files);
    const ArchiveSection& s = back.section;
    EXPECT_EQ(s.virtualSize % kSectionAlignment, 0u);
    EXPECT_LT(s.virtualSize, s.rawSize) << "the data is not mapped";
    EXPECT_GE(s.virtualSize, back.prologue.dataStartOffset);
    // The engine takes every byte from the data start to the end of the file as data.
    const int64_t inFile = int64_t(built.image.Length()) - s.rawOffset - back.prologue.dataStartOffset;
    int64_t inVolumes = 0;
    for (int i = 0; i < built.volumes.Count(); ++i) inVolumes += built.volumes[i].Length() - 4;
    EXPECT_EQ(inFile + inVolumes, back.prologue.dataSize);
    EXPECT_EQ(volumeSize > 0, built.volumes.Count() > 0);
    if (volumeSize > 0) {
      EXPECT_LE(inFile, int64_t(volumeSize));
    }
  }
}

TEST_P(WriterTest, SamePlanGivesSameBytes) {
  InstallerPlan plan = FullPlan(storage_);
  plan.header.productFlags |= kCompress;
  plan.volumeSize = 1500;
  BuiltInstaller first, second;
  Build(Engine(), plan, first);
  Build(Engine(), plan, second);
  EXPECT_TRUE(first.image.Equals(second.image));
  ASSERT_EQ(first.volumes.Count(), second.volumes.Count());
  for (int i = 0; i < first.volumes.Count(); ++i) EXPECT_TRUE(first.volumes[i].Equals(second.volumes[i]));
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, WriterTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Pe32Plus" : "Pe32");
                         });

// Engines the section cannot be added to, each refused with a reason.
TEST(WriterRefusal, EnginesWithoutRoomOrWithAnArchiveAreRefused) {
  struct Case {
    const char* what;
    void (*damage)(String& engine);
  };
  const Case cases[] = {
      {"not MZ", [](String& e) { e.Data()[0] = 'X'; }},
      {"no PE signature", [](String& e) { e.Data()[kPeOffset] = 'X'; }},
      {"PE offset too low", [](String& e) { e.WriteU32At(kPeOffsetField, 0x20); }},
      {"unknown optional header", [](String& e) { e.WriteU16At(kPeOffset + 0x18, 0x107); }},
      {"already an archive",
       [](String& e) {
         std::memcpy(e.Data() + kPeOffset + kPeOptionalHeader + 0xE0 + kSectionEntrySize,
                     ".qorv\0\0\0", 8);
       }},
      {"bytes after the table",
       [](String& e) {
         e.Data()[kPeOffset + kPeOptionalHeader + 0xE0 + 3 * kSectionEntrySize + 5] = 1;
       }},
      {"no room before the first section",
       [](String& e) {
         e.WriteU32At(int(kPeOffset + kPeOptionalHeader + 0xE0 + 20),
                      kPeOffset + kPeOptionalHeader + 0xE0 + 4 * kSectionEntrySize);
       }},
      {"headers too small",
       [](String& e) {
         e.WriteU32At(int(kPeOffset + kPeSizeOfHeadersField),
                      kPeOffset + kPeOptionalHeader + 0xE0 + 3 * kSectionEntrySize + 8);
       }},
      {"unaligned SizeOfImage",
       [](String& e) { e.WriteU32At(int(kPeOffset + kPeSizeOfImageField), 0x4100); }},
      {"file alignment not a power of two",
       [](String& e) { e.WriteU32At(int(kPeOffset + kPeFileAlignmentField), 0x300); }},
  };
  std::vector<std::string> storage;
  const InstallerPlan plan = FullPlan(storage);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    String engine = MakeEngineImage();
    c.damage(engine);
    BuiltInstaller built;
    String error;
    EXPECT_FALSE(BuildInstaller(engine, plan, built, error));
    EXPECT_FALSE(error.IsEmpty());
  }
  // Two sections plus the archive would be fewer than the engine accepts.
  EngineShape few;
  few.sections = 2;
  BuiltInstaller built;
  String error;
  EXPECT_FALSE(BuildInstaller(MakeEngineImage(few), plan, built, error));
}

// Damaged installers built from parts: each fails in the engine's readers with its own code.
TEST(DamagedParts, EachDamageGivesItsCode) {
  struct Case {
    const char* what;
    int code;
    void (*damage)(ArchiveParts& parts, InstallerPlan& plan);
  };
  auto header = [](ArchiveParts& p, InstallerPlan& plan) {
    const String block = SerializeHeaderBlock(plan.header, plan.languages);
    SetHeaderBlock(p, block, ArchiveChecksum(block.CStr(), block.Length()), 5);
  };
  static decltype(header) rebuildHeader = header;
  const Case cases[] = {
      {"magic", kBadArchiveMagic, [](ArchiveParts& p, InstallerPlan&) { p.magic = 0xA4F23DE6; }},
      {"newer builder", kBuilderVersionTooNew, [](ArchiveParts& p, InstallerPlan&) { p.builderVersion = 1112; }},
      {"stored header size 0", kBadHeaderLength, [](ArchiveParts& p, InstallerPlan&) { p.storedHeaderSize = 0; }},
      {"stored header size too large", kBadHeaderLength, [](ArchiveParts& p, InstallerPlan&) { p.storedHeaderSize = 0xA00000; }},
      {"section data end negative", kNegativeSectionDataEnd, [](ArchiveParts& p, InstallerPlan&) { p.sectionDataEnd.Set(-1); }},
      {"file count negative", kNegativeFileCount, [](ArchiveParts& p, InstallerPlan&) { p.fileCount = -1; }},
      {"data size negative", kNegativeDataBlockLength, [](ArchiveParts& p, InstallerPlan&) { p.dataSize = -5; }},
      {"file length too large", kBadLengthTableEntry, [](ArchiveParts& p, InstallerPlan&) { p.fileLengths[1] = 0x40000001; }},
      {"scrambling key wrong", kHeaderDoesNotDecompress, [](ArchiveParts& p, InstallerPlan&) { p.headerChecksum ^= 0x01000000; }},
      {"header checksum given wrong", kHeaderChecksumMismatch,
       [](ArchiveParts& p, InstallerPlan&) { SetHeaderBlock(p, p.headerBlock, p.headerChecksum + 1, 5); }},
      {"stage delay", kStageDelayTooLarge, [](ArchiveParts& p, InstallerPlan& plan) { plan.header.stageDelay = 10000; rebuildHeader(p, plan); }},
      {"licence count", kBadLicenceCount,
       [](ArchiveParts& p, InstallerPlan& plan) { while (plan.header.licenseTexts.Count() < 21) plan.header.licenseTexts.Append(String("x")); rebuildHeader(p, plan); }},
      {"readme count", kBadReadmeCount,
       [](ArchiveParts& p, InstallerPlan& plan) { while (plan.header.readmeTexts.Count() < 21) plan.header.readmeTexts.Append(String("x")); rebuildHeader(p, plan); }},
      {"blank volume base", kBlankVolumeBase, [](ArchiveParts& p, InstallerPlan& plan) { plan.header.volumeBase = " "; rebuildHeader(p, plan); }},
      {"patch offset beyond the file", kBadUninstallerPatchOffset,
       [](ArchiveParts& p, InstallerPlan& plan) { plan.header.uninstallerPatchOffset = 0x7FFFFFF0; rebuildHeader(p, plan); }},
      {"1002 deletions", kTooManyDeletions,
       [](ArchiveParts& p, InstallerPlan& plan) { plan.header.deletionSpecs.SetSize(1002); rebuildHeader(p, plan); }},
      {"no languages", kBadLanguageCount, [](ArchiveParts& p, InstallerPlan& plan) { plan.languages.names.RemoveAll(); rebuildHeader(p, plan); }},
      {"no string ids", kBadStringIdCount, [](ArchiveParts& p, InstallerPlan& plan) { plan.languages.texts.RemoveAll(); rebuildHeader(p, plan); }},
      {"end marker", kBadStringTableEnd,
       [](ArchiveParts& p, InstallerPlan&) {
         String block = p.headerBlock;
         block.Data()[block.Length() - 1] ^= 0x40;
         SetHeaderBlock(p, block, ArchiveChecksum(block.CStr(), block.Length()), 5);
       }},
      {"image checksum", kImageChecksumMismatch, [](ArchiveParts& p, InstallerPlan&) { p.imageChecksum.Set(0x12345678); }},
      {"data checksum", kDataBlockChecksumMismatch, [](ArchiveParts& p, InstallerPlan&) { p.dataChecksum ^= 1; }},
      {"data does not decompress", kDataBlockDoesNotDecompress,
       [](ArchiveParts& p, InstallerPlan&) {
         String broken = p.storedData;
         broken.WriteU32At(4, uint32_t(broken.ReadU32At(4) + 100));  // claims more output than the stream holds
         SetDataBlock(p, broken, false, 5);
       }},
      {"file checksum", kFileChecksumMismatch,
       [](ArchiveParts& p, InstallerPlan& plan) {
         plan.files[2].checksum = 7;
         SetDataBlock(p, SerializeDataBlock(plan.files, EntryChecksums::kAsGiven), true, 5);
       }},
      {"empty name", kEmptyFileName,
       [](ArchiveParts& p, InstallerPlan& plan) { plan.files[1].name = ""; SetDataBlock(p, SerializeDataBlock(plan.files, EntryChecksums::kComputed), true, 5); }},
      {"kind without destination", kBadDestinationKind,
       [](ArchiveParts& p, InstallerPlan& plan) { plan.files[0].destinationKind = 3; SetDataBlock(p, SerializeDataBlock(plan.files, EntryChecksums::kComputed), true, 5); }},
  };
  const String engine = MakeEngineImage();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> storage;
    InstallerPlan plan = FullPlan(storage);
    plan.header.productFlags |= kCompress | kCheckImage;
    ArchiveParts parts;
    String error;
    ASSERT_TRUE(PrepareArchiveParts(engine, plan, parts, error)) << error.CStr();
    c.damage(parts, plan);
    BuiltInstaller built;
    ASSERT_TRUE(AssembleInstaller(engine, parts, built, error)) << error.CStr();
    InstallerReadback back;
    EXPECT_EQ(ReadBack(built, back), c.code) << back.problem;
  }
}

TEST(DamagedParts, UndamagedPartsAreSound) {
  std::vector<std::string> storage;
  InstallerPlan plan = FullPlan(storage);
  plan.header.productFlags |= kCompress | kCheckImage;
  ArchiveParts parts;
  String error;
  const String engine = MakeEngineImage();
  ASSERT_TRUE(PrepareArchiveParts(engine, plan, parts, error));
  BuiltInstaller fromParts, direct;
  ASSERT_TRUE(AssembleInstaller(engine, parts, fromParts, error));
  ASSERT_TRUE(BuildInstaller(engine, plan, direct, error));
  EXPECT_TRUE(fromParts.image.Equals(direct.image));
  InstallerReadback back;
  EXPECT_EQ(ReadBack(fromParts, back), 0) << back.problem;
}

TEST(DamagedParts, WrongOrMissingVolumesAreReported) {
  std::vector<std::string> storage;
  InstallerPlan plan = FullPlan(storage);
  plan.volumeSize = 1000;
  BuiltInstaller built;
  Build(MakeEngineImage(), plan, built);
  ASSERT_GE(built.volumes.Count(), 2);
  struct Case {
    const char* what;
    int code;
    void (*damage)(BuiltInstaller&);
  };
  const Case cases[] = {
      {"last volume missing", kVolumeMissing, [](BuiltInstaller& b) { b.volumes.RemoveAt(b.volumes.Count() - 1); }},
      {"wrong identifier", kVolumeWrong, [](BuiltInstaller& b) { b.volumes[0].WriteU32At(0, 0x5EED0002); }},
      {"only an identifier", kVolumeWrong, [](BuiltInstaller& b) { b.volumes[1].Resize(4); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BuiltInstaller damaged = built;
    c.damage(damaged);
    InstallerReadback back;
    EXPECT_EQ(ReadBack(damaged, back), c.code);
  }
}

}  // namespace
