// From a plan to the installer: the parts, their placement in the section and in the volume
// files, and the section appended to the engine image.
#include "archive/product_flags.h"
#include "core/checksum.h"
#include "tools/archive_writer/archive_parts.h"
#include "tools/archive_writer/byte_sink.h"
#include "tools/archive_writer/pe_image.h"
#include "tools/codec/block_encoder.h"

namespace {

uint32_t SectionAlignmentUnit(const PeLayout& layout) {
  return layout.fileAlignment > layout.sectionAlignment ? layout.fileAlignment
                                                        : layout.sectionAlignment;
}

// Offset of the data block from the section start.
int64_t DataStartOf(const ArchiveParts& parts) {
  return int64_t(kPrologueFixedSize) + 4 * int64_t(parts.fileLengths.Count()) +
         parts.storedHeader.Length();
}

void AppendZeros(String& bytes, int n) {
  if (n < 1) return;
  const int old = bytes.Length();
  bytes.Resize(old + n);
  for (int i = old; i < old + n; ++i) bytes.Data()[i] = 0;
}

// The data placement when DataOutsideImage is set: the engine takes every byte from the data
// start to the end of the file as data, so the section must end where the installer's share of
// the data ends.
void PlaceDataOutsideImage(ArchiveParts& parts, const PeLayout& layout, bool compress, int level) {
  const int64_t unit = SectionAlignmentUnit(layout);
  const int64_t dataStart = DataStartOf(parts);
  const int64_t total = parts.storedData.Length();
  if (parts.volumeSize > 0 && total > int64_t(parts.volumeSize)) {
    int64_t end = (dataStart + parts.volumeSize) / unit * unit;
    if (end <= dataStart) end = (dataStart / unit + 1) * unit;
    if (end - dataStart < total) {
      parts.dataHeldInInstaller = int(end - dataStart);
      return;
    }
  }
  const int64_t padding = (unit - (dataStart + total) % unit) % unit;
  if (padding > 0) {
    String padded = parts.storedData;
    // An empty block is normally stored as nothing; with padding after it the engine would
    // decompress zeros, so it becomes a proper empty block first.
    if (compress && padded.IsEmpty()) padded = EncodeBlock("", 0, level);
    AppendZeros(padded, int((unit - (dataStart + padded.Length()) % unit) % unit));
    parts.storedData = padded;
    parts.dataSize = parts.storedData.Length();
    parts.dataChecksum = ArchiveChecksum(parts.storedData.CStr(), parts.storedData.Length());
  }
  parts.dataHeldInInstaller = parts.storedData.Length();
}

String SectionContents(const ArchiveParts& parts, int held, int32_t sectionDataEnd) {
  ByteSink sink;
  sink.U32(parts.magic);
  sink.U32(parts.builderVersion);
  sink.U32(parts.storedHeaderSize);
  sink.U32(parts.headerChecksum);
  sink.U32(parts.imageChecksum.value);  // replaced once the file is finished, unless given
  sink.S32(sectionDataEnd);
  sink.S32(parts.fileCount);
  sink.S32(parts.dataSize);
  sink.U32(parts.dataChecksum);
  for (int i = 0; i < parts.fileLengths.Count(); ++i) sink.S32(parts.fileLengths[i]);
  sink.Bytes(parts.storedHeader.CStr(), parts.storedHeader.Length());
  sink.Bytes(parts.storedData.CStr(), held);
  return sink.Finish();
}

// The data after the installer's share, cut into volume files with their identifiers.
void CutVolumes(const ArchiveParts& parts, int held, Vector<String>& volumes) {
  volumes.RemoveAll();
  const int total = parts.storedData.Length();
  const int pieceLimit = parts.volumeSize > 0 && parts.volumeSize < uint32_t(String::kAll)
                             ? int(parts.volumeSize)
                             : total;
  uint32_t identifier = parts.volumeSerial;
  for (int at = held; at < total; at += pieceLimit) {
    const int n = total - at < pieceLimit ? total - at : pieceLimit;
    ByteSink volume;
    volume.U32(identifier++);
    volume.Bytes(parts.storedData.CStr() + at, n);
    volumes.Append(volume.Finish());
  }
}

}  // namespace

void SetHeaderBlock(ArchiveParts& parts, const String& headerBlock, uint32_t checksum, int level) {
  parts.headerBlock = headerBlock;
  parts.headerChecksum = checksum;
  parts.storedHeader = StoreHeaderBlock(headerBlock, checksum, level);
  parts.storedHeaderSize = uint32_t(parts.storedHeader.Length());
}

void SetDataBlock(ArchiveParts& parts, const String& dataBlock, bool compress, int level) {
  parts.storedData = compress && dataBlock.Length() > 0
                         ? EncodeBlock(dataBlock.CStr(), dataBlock.Length(), level)
                         : dataBlock;
  parts.dataSize = parts.storedData.Length();
  parts.dataChecksum = ArchiveChecksum(parts.storedData.CStr(), parts.storedData.Length());
  parts.dataHeldInInstaller = parts.storedData.Length();
}

bool PrepareArchiveParts(const String& engineImage, const InstallerPlan& plan, ArchiveParts& parts,
                         String& error) {
  PeLayout layout;
  if (!ReadPeLayout(engineImage, layout, error)) return false;
  parts = ArchiveParts();
  parts.builderVersion = plan.builderVersion;
  const String headerBlock = SerializeHeaderBlock(plan.header, plan.languages);
  SetHeaderBlock(parts, headerBlock, ArchiveChecksum(headerBlock.CStr(), headerBlock.Length()),
                 plan.level);

  const bool compress = HasFlag(plan.header.productFlags, ProductFlag::kCompressedData);
  SetDataBlock(parts, SerializeDataBlock(plan.files, EntryChecksums::kComputed), compress,
               plan.level);
  parts.fileCount = plan.files.Count();
  parts.fileLengths.SetSize(plan.files.Count());
  for (int i = 0; i < plan.files.Count(); ++i) parts.fileLengths[i] = plan.files[i].length;

  parts.volumeSize = plan.volumeSize;
  parts.volumeSerial = plan.header.volumeSerial;
  parts.dataOutsideImage = plan.header.dataOutsideImage;
  if (parts.dataOutsideImage != 0) {
    PlaceDataOutsideImage(parts, layout, compress, plan.level);
  } else if (plan.volumeSize > 0 && uint32_t(parts.storedData.Length()) > plan.volumeSize) {
    parts.dataHeldInInstaller = int(plan.volumeSize);
  }
  if (DataStartOf(parts) + parts.dataHeldInInstaller > int64_t(0x7FFFFFFF) - 0x10000) {
    error = "the archive does not fit in the installer's 32-bit fields";
    return false;
  }
  return true;
}

bool AssembleInstaller(const String& engineImage, const ArchiveParts& parts, BuiltInstaller& out,
                       String& error) {
  PeLayout layout;
  if (!ReadPeLayout(engineImage, layout, error)) return false;
  int held = parts.dataHeldInInstaller;
  if (held < 0) held = 0;
  if (held > parts.storedData.Length()) held = parts.storedData.Length();
  const int64_t dataStart = DataStartOf(parts);
  if (dataStart + held + int64_t(engineImage.Length()) > int64_t(0x7FFFFFFF) - 0x20000) {
    error = "the installer would be larger than 2 GiB";
    return false;
  }
  // Data outside the image is read from the file, so no data lies in the mapped section: its
  // end is the data start (the engine checks the word against the mapped size).
  const int64_t mappedDataEnd = parts.dataOutsideImage != 0 ? dataStart : dataStart + held;
  const int32_t sectionDataEnd =
      parts.sectionDataEnd.given ? parts.sectionDataEnd.value : int32_t(mappedDataEnd);
  const String contents = SectionContents(parts, held, sectionDataEnd);
  const uint32_t mapped = parts.dataOutsideImage != 0 ? uint32_t(dataStart)
                                                      : uint32_t(contents.Length());
  const SectionPlacement placement =
      PlaceSection(layout, uint32_t(engineImage.Length()), uint32_t(contents.Length()), mapped);

  out.image = engineImage;
  AppendSection(out.image, layout, kArchiveSectionName, contents, placement);
  const uint32_t imageChecksum = parts.imageChecksum.given
                                     ? parts.imageChecksum.value
                                     : ArchiveChecksum(out.image.CStr(), int(placement.rawOffset));
  out.image.WriteU32At(int(placement.rawOffset + 16), imageChecksum);
  CutVolumes(parts, held, out.volumes);
  return true;
}

bool BuildInstaller(const String& engineImage, const InstallerPlan& plan, BuiltInstaller& out,
                    String& error) {
  ArchiveParts parts;
  if (!PrepareArchiveParts(engineImage, plan, parts, error)) return false;
  return AssembleInstaller(engineImage, parts, out, error);
}
