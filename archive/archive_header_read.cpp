// Reading the header block's fields, from ProductFlags up to the language tables, in stored
// order. The checks stand one per line in the order the fields are read, so the first failed
// check decides the code. Nothing is defaulted or derived here: the header holds what was read.
//
// Bounds cases: a field that breaks off at the end of the header is refused with the code of
// the nearest check, that of the field itself when it is checked, else that of the next checked
// field in reading order:
//   StageDelay                                                  19
//   ShortcutMode, UninstallerStamp, the texts Publisher ..
//     ProductRegistry, the licence count and licence texts      24
//   the readme count and readme texts                           26
//   UninstallSubdir, VolumeBase                                 21
//   UninstallerName .. VolumeSerial (fields 16 to 32, with the
//     background bitmap and MasterProduct)                      38
//   the uninstaller patch: offset, length, bytes                23
//   the deletion records and their end text                     38
//   the association count and records                           36
//   the uninstall-value count and records                       37
// A text must end with its NUL inside the header; one cut off by the end of the data is a
// field that breaks off. Fields 16 to 32 give 38 even when a patch follows them: the patch
// check is about the offset's value, and the deletion list is the next check that every header
// reaches.
#include <cstring>

#include "archive/archive_header.h"
#include "archive/corrupt_codes.h"
#include "archive/header_stream.h"
#include "archive/product_flags.h"

namespace {

// The fewest bytes a counted record can take: its numbers and a NUL for each text. Counts that
// what remains cannot back are refused before any memory is set aside for them.
constexpr size_t kSmallestAssociation = 4 + 8;
constexpr size_t kSmallestUninstallValue = 1 + 1 + 1;

bool ReadS32(HeaderStream& in, int32_t& value) {
  uint32_t word;
  if (!in.ReadU32(word)) return false;
  value = int32_t(word);
  return true;
}

// A u32 count of at most `limit` texts, then the texts.
bool ReadTextList(HeaderStream& in, uint32_t limit, Vector<String>& texts) {
  uint32_t count;
  if (!in.ReadU32(count) || count > limit || count > in.Remaining()) return false;
  texts.SetSize(int(count));
  for (int i = 0; i < int(count); ++i) {
    if (!in.ReadText(texts[i])) return false;
  }
  return true;
}

bool ReadBatchTexts(HeaderStream& in, ArchiveHeader& header) {
  return in.ReadText(header.preInstallBatch) && in.ReadText(header.postInstallBatch) &&
         in.ReadText(header.finalBatch) && in.ReadText(header.uninstallBatch1) &&
         in.ReadText(header.uninstallBatch2);
}

// Fields 16 to 32: from UninstallerName to VolumeSerial.
bool ReadPresentationFields(HeaderStream& in, ArchiveHeader& header) {
  if (!in.ReadText(header.uninstallerName) || !in.ReadText(header.uninstallKeyName)) return false;
  if (!in.ReadU32(header.titleColor) || !in.ReadU32(header.topColor) ||
      !in.ReadU32(header.bottomColor) || !in.ReadU8(header.titleShadow)) {
    return false;
  }
  int32_t bitmapLength;
  if (!ReadS32(in, bitmapLength)) return false;
  if (bitmapLength > 0 && !in.ReadBytes(size_t(bitmapLength), header.backgroundBitmap)) {
    return false;
  }
  if (HasFlag(header.productFlags, ProductFlag::kExtendsMasterProduct) &&
      !in.ReadText(header.masterProduct)) {
    return false;
  }
  if (!in.ReadText(header.desktopFolder) || !ReadBatchTexts(in, header)) return false;
  return in.ReadRaw(header.reservedDate, sizeof header.reservedDate) &&
         in.ReadU32(header.unsupportedSystems) && in.ReadU8(header.dataOutsideImage) &&
         in.ReadU32(header.volumeSerial);
}

// The offset is stored as an unsigned word but checked as a signed one: a "negative" offset
// is refused as such rather than as one beyond the file.
CorruptCode ReadUninstallerPatch(HeaderStream& in, uint32_t installerFileSize,
                                 ArchiveHeader& header) {
  int32_t offset;
  if (!ReadS32(in, offset) || offset < 0 || uint32_t(offset) > installerFileSize)
    return kBadUninstallerPatchOffset;
  header.uninstallerPatchOffset = uint32_t(offset);
  if (offset == 0) return kNoCorruption;
  uint32_t length;
  if (!in.ReadU32(length) || !in.ReadBytes(length, header.uninstallerPatch))
    return kBadUninstallerPatchOffset;
  return kNoCorruption;
}

// Records until the exact text "~~THE END~~"; reading a record when 1001 are held is refused.
// A first pass over a copy of the stream checks the list and counts it, so that the vector is
// sized once instead of growing (and moving every record) a thousand times.
CorruptCode ReadDeletionSpecs(HeaderStream& in, Vector<FileDeletion>& specs) {
  HeaderStream scan = in;
  FileDeletion record;
  int count = 0;
  for (;;) {
    if (!scan.ReadText(record.specification)) return kTooManyDeletions;
    if (std::strcmp(record.specification.CStr(), kDeletionListEnd) == 0) break;
    if (count >= kMaxDeletionSpecs) return kTooManyDeletions;
    if (!scan.ReadU8(record.condition) || !scan.ReadText(record.value) ||
        !scan.ReadU32(record.flags)) {
      return kTooManyDeletions;
    }
    ++count;
  }

  specs.SetSize(count);
  for (int i = 0; i < count; ++i) {
    FileDeletion& spec = specs[i];
    in.ReadText(spec.specification);
    in.ReadU8(spec.condition);
    in.ReadText(spec.value);
    in.ReadU32(spec.flags);
  }
  in.Skip(scan.Position() - in.Position());  // the end text
  return kNoCorruption;
}

bool ReadAssociations(HeaderStream& in, Vector<FileAssociation>& associations) {
  uint32_t count;
  if (!in.ReadU32(count) || count > uint32_t(kMaxHeaderRecords)) return false;
  if (count > in.Remaining() / kSmallestAssociation) return false;
  associations.SetSize(int(count));
  for (int i = 0; i < int(count); ++i) {
    FileAssociation& a = associations[i];
    if (!in.ReadU32(a.options) || !in.ReadText(a.extension) || !in.ReadText(a.fileType) ||
        !in.ReadText(a.description) || !in.ReadText(a.verb) || !in.ReadText(a.verbText) ||
        !in.ReadText(a.command) || !in.ReadText(a.language) || !in.ReadText(a.icon)) {
      return false;
    }
  }
  return true;
}

bool ReadUninstallValues(HeaderStream& in, Vector<UninstallData>& values) {
  uint32_t count;
  if (!in.ReadU32(count) || count > uint32_t(kMaxHeaderRecords)) return false;
  if (count > in.Remaining() / kSmallestUninstallValue) return false;
  values.SetSize(int(count));
  for (int i = 0; i < int(count); ++i) {
    UninstallData& v = values[i];
    if (!in.ReadText(v.name) || !in.ReadU8(v.type) || !in.ReadText(v.value)) return false;
  }
  return true;
}

}  // namespace

bool ReadProductFlags(HeaderStream& stream, uint64_t& flags) { return stream.ReadU64(flags); }

CorruptCode ReadHeaderFields(HeaderStream& in, uint32_t installerFileSize, ArchiveHeader& header) {
  if (!in.ReadU16(header.stageDelay) || header.stageDelay > kMaxStageDelay)
    return kStageDelayTooLarge;

  if (!in.ReadU8(header.shortcutMode) || !in.ReadStamp(header.uninstallerStamp))
    return kBadLicenceCount;
  if (!in.ReadText(header.publisher) || !in.ReadText(header.productName) ||
      !in.ReadText(header.sharedPath) || !in.ReadText(header.productStartMenu) ||
      !in.ReadText(header.defaultInstallDir) || !in.ReadText(header.displayVersion) ||
      !in.ReadText(header.productRegistry)) {
    return kBadLicenceCount;
  }
  if (!ReadTextList(in, kMaxHeaderTexts, header.licenseTexts)) return kBadLicenceCount;
  if (!ReadTextList(in, kMaxHeaderTexts, header.readmeTexts)) return kBadReadmeCount;

  if (!in.ReadText(header.uninstallSubdir)) return kBlankVolumeBase;
  if (!in.ReadText(header.volumeBase) || header.volumeBase.IsBlank()) return kBlankVolumeBase;

  if (!ReadPresentationFields(in, header)) return kTooManyDeletions;
  if (HasFlag(header.productFlags, ProductFlag::kRegisterUninstall)) {
    const CorruptCode code = ReadUninstallerPatch(in, installerFileSize, header);
    if (code != 0) return code;
  }
  const CorruptCode code = ReadDeletionSpecs(in, header.deletionSpecs);
  if (code != 0) return code;
  if (!ReadAssociations(in, header.fileAssociations)) return kBadAssociationCount;
  if (!ReadUninstallValues(in, header.uninstallValues)) return kBadUninstallValueCount;
  return kNoCorruption;
}
