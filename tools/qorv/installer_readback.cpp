#include "tools/qorv/installer_readback.h"

#include <cstring>

#include "archive/corrupt_codes.h"
#include "archive/decompressor.h"
#include "archive/header_stream.h"
#include "archive/pe_layout.h"
#include "archive/product_flags.h"
#include "archive/uninstaller_image.h"
#include "core/checksum.h"

namespace {

// The loader fills a section's memory beyond its raw data with zeros. A builder leaves at most
// an alignment unit there; a file that claims more has nothing to say in those bytes, and
// holding them would let a few header bytes ask for gigabytes.
constexpr uint32_t kZeroTailLimit = 16 << 20;

int Fail(InstallerReadback& out, int code, const std::string& problem) {
  out.code = code;
  out.problem = problem;
  return code;
}

int FailCode(InstallerReadback& out, int code) { return Fail(out, code, CorruptCodeName(code)); }

// The section as the engine sees it in memory: VirtualSize bytes (SizeOfRawData when that is 0),
// no more than the image's SizeOfImage leaves after the section's address (the engine bounds its
// reads so), filled from the file's raw data as far as it goes, zeros after. False with the
// problem when the zeros after the raw data would pass kZeroTailLimit.
bool MapSection(const String& image, const ArchiveSection& section, String& bytes,
                std::string& problem) {
  const int64_t imageSizeAt = int64_t(section.peHeaderOffset) + kPeSizeOfImageField;
  const uint32_t imageSize =
      imageSizeAt + 4 <= image.Length() ? image.ReadU32At(int(imageSizeAt)) : 0;
  uint32_t mapped = section.virtualSize != 0 ? section.virtualSize : section.rawSize;
  const uint32_t roomInImage =
      section.virtualAddress < imageSize ? imageSize - section.virtualAddress : 0;
  if (mapped > roomInImage) mapped = roomInImage;
  uint64_t available =
      uint64_t(image.Length()) > section.rawOffset ? image.Length() - section.rawOffset : 0;
  if (available > section.rawSize) available = section.rawSize;
  if (available > mapped) available = mapped;
  if (mapped - available > kZeroTailLimit) {
    problem = "the section claims " + std::to_string(mapped) + " bytes of memory for the " +
              std::to_string(available) + " bytes of raw data the file holds";
    return false;
  }
  bytes.Resize(int(mapped));
  if (mapped > 0) std::memset(bytes.Data(), 0, mapped);
  if (available > 0) std::memcpy(bytes.Data(), image.CStr() + section.rawOffset, size_t(available));
  return true;
}

// A block whose header claims more output than `limit` is refused before it is decoded.
bool ClaimsAtMost(const String& block, int limit) {
  int claimed = 0;
  return !ReadBlockHeader(reinterpret_cast<const uint8_t*>(block.CStr()), block.Length(),
                          claimed) ||
         claimed <= limit;
}

std::string TooLarge(const char* what, int limit) {
  return std::string(what) + " claims more than the " + std::to_string(limit) +
         " bytes this reader decompresses";
}

int ReadHeader(const String& mapped, int outputLimit, InstallerReadback& out) {
  const ArchivePrologue& prologue = out.prologue;
  String block(mapped.CStr() + prologue.storedHeaderOffset, int(prologue.storedHeaderSize));
  ScrambleHeader(block.Data(), size_t(block.Length()), prologue.headerChecksum);
  if (!ClaimsAtMost(block, outputLimit)) {
    return Fail(out, kArchiveOutOfBounds, TooLarge("the header block", outputLimit));
  }
  if (!DecompressString(block)) return FailCode(out, kHeaderDoesNotDecompress);
  HeaderStream stream(block.CStr(), size_t(block.Length()));
  if (!ReadProductFlags(stream, out.header.productFlags) ||
      ArchiveChecksum(block.CStr(), block.Length()) != prologue.headerChecksum) {
    return FailCode(out, kHeaderChecksumMismatch);
  }
  int code = ReadHeaderFields(stream, out.fileSize, out.header);
  if (code == 0) code = ReadLanguageTables(stream, out.languages);
  if (code != 0) return FailCode(out, code);
  out.headerRead = true;
  return 0;
}

int ReadUninstaller(const String& image, InstallerReadback& out) {
  const ArchiveSection& section = out.section;
  const String before(image.CStr(), int(section.rawOffset));
  out.computedImageChecksum = ArchiveChecksum(before.CStr(), before.Length());
  out.imageChecksumChecked = HasFlag(out.header.productFlags, ProductFlag::kCheckImageChecksum);
  if (out.imageChecksumChecked && out.computedImageChecksum != out.prologue.imageChecksum) {
    return FailCode(out, kImageChecksumMismatch);
  }
  const uint64_t sectionEnd = uint64_t(section.rawOffset) + section.rawSize;
  String after;
  if (sectionEnd < out.fileSize) after.Assign(image.CStr() + sectionEnd, int(out.fileSize - sectionEnd));
  const bool patched = HasFlag(out.header.productFlags, ProductFlag::kRegisterUninstall);
  out.uninstallerImage =
      MakeUninstallerImage(before, after, section, patched ? out.header.uninstallerPatchOffset : 0,
                           out.header.uninstallerPatch);
  return 0;
}

// The data block as the engine assembles it: the installer's share, then the volumes.
int AssembleData(const String& image, const String& mapped, const VolumeSource& volumes,
                 int outputLimit, InstallerReadback& out) {
  const ArchivePrologue& p = out.prologue;
  const int64_t dataSize = p.dataSize;
  int64_t available = 0;
  const char* source = nullptr;
  if (out.header.dataOutsideImage == 0) {
    available = int64_t(p.sectionDataEnd) - p.dataStartOffset;
    source = mapped.CStr() + p.dataStartOffset;
    if (available > 0 && int64_t(p.sectionDataEnd) > mapped.Length()) {
      return Fail(out, kArchiveOutOfBounds, "the section data end lies beyond the section");
    }
  } else {
    available = int64_t(out.fileSize) - p.dataStartOffset - out.section.rawOffset;
    source = image.CStr() + out.section.rawOffset + p.dataStartOffset;
    if (available > dataSize) {
      return Fail(out, kArchiveOutOfBounds,
                  "more bytes follow the data start than the data block holds");
    }
  }
  if (available < 0) available = 0;
  if (available > dataSize) available = dataSize;
  // The block grows by what each source holds: DataSize alone, a number from the file, never
  // decides how much memory is taken.
  out.dataBlock.Clear();
  if (available > 0) out.dataBlock.Append(source, int(available));

  int64_t filled = available;
  uint32_t identifier = out.header.volumeSerial;
  for (int number = 2; filled < dataSize; ++number, ++identifier) {
    String volume;
    const std::string name = "volume " + std::to_string(number);
    if (!volumes || !volumes(number, volume)) return Fail(out, kVolumeMissing, name + " is missing");
    if (volume.Length() <= 4 || volume.ReadU32At(0) != identifier) {
      return Fail(out, kVolumeWrong, name + " is too short or has the wrong identifier");
    }
    const int64_t payload = volume.Length() - 4;
    if (payload > dataSize - filled) {
      return Fail(out, kArchiveOutOfBounds, name + " holds more than the rest of the data block");
    }
    out.dataBlock.Append(volume.CStr() + 4, int(payload));
    filled += payload;
    out.volumesRead++;
  }
  if (ArchiveChecksum(out.dataBlock.CStr(), out.dataBlock.Length()) != p.dataChecksum) {
    return FailCode(out, kDataBlockChecksumMismatch);
  }
  if (HasFlag(out.header.productFlags, ProductFlag::kCompressedData) && dataSize != 0) {
    if (!ClaimsAtMost(out.dataBlock, outputLimit)) {
      return Fail(out, kArchiveOutOfBounds, TooLarge("the data block", outputLimit));
    }
    if (!DecompressString(out.dataBlock)) return FailCode(out, kDataBlockDoesNotDecompress);
  }
  return 0;
}

// The check of ResolveTarget: an entry needs a base folder unless it names its own destination
// (a destination without a backslash is only a new name) or goes to the uninstaller's folder.
bool HasDestination(const FileEntry& entry) {
  if (!entry.destinationText.IsEmpty() && entry.destinationText.ContainsChar('\\')) return true;
  if (entry.flags & kFileToUninstallDir) return true;
  switch (entry.destinationKind) {
    case 0: case 1: case 4: case 5: case 6: case 7: return true;
    default: return false;
  }
}

// Entries are kept as they are read, so that a file count the data block cannot back takes no
// memory beyond the entries it does hold.
int ReadEntries(InstallerReadback& out) {
  size_t offset = 0;
  out.files.clear();
  for (int i = 0; i < out.prologue.fileCount; ++i) {
    FileEntry entry;
    const int code = ReadFileEntry(out.dataBlock.CStr(), size_t(out.dataBlock.Length()), offset,
                                   out.prologue.fileLengths[i], entry);
    if (code != 0) {
      return Fail(out, code,
                  std::string(CorruptCodeName(code)) + " (entry " + std::to_string(i) + ")");
    }
    out.files.push_back(entry);
    if (!HasDestination(entry)) {
      return Fail(out, kBadDestinationKind,
                  std::string(CorruptCodeName(kBadDestinationKind)) + ": " + entry.name.CStr());
    }
  }
  return 0;
}

}  // namespace

int ReadInstallerBack(const String& image, const VolumeSource& volumes, InstallerReadback& out,
                      int blockOutputLimit) {
  out = InstallerReadback();
  out.fileSize = uint32_t(image.Length());
  const auto* bytes = reinterpret_cast<const uint8_t*>(image.CStr());
  int code = LocateArchiveSection(bytes, size_t(image.Length()), out.section);
  if (code == kNoArchiveSection) return Fail(out, code, "the file holds no archive section");
  if (code != 0) return FailCode(out, code);
  // The engine positions its file at the raw data with a signed offset (10), and meets raw data
  // that starts beyond the end of the file when it reads the image before the section (35);
  // nothing of the archive can be read from such a file here.
  if (int32_t(out.section.rawOffset) < 0) return FailCode(out, kCannotSeekToSection);
  if (out.section.rawOffset > out.fileSize) return FailCode(out, kCannotReadImageStart);

  String mapped;
  std::string problem;
  if (!MapSection(image, out.section, mapped, problem))
    return Fail(out, kArchiveOutOfBounds, problem);
  code = ReadArchivePrologue(reinterpret_cast<const uint8_t*>(mapped.CStr()),
                             size_t(mapped.Length()), out.prologue);
  if (code == kBuilderVersionTooNew) {
    return Fail(out, code, "the archive was written by a newer builder (version " +
                               std::to_string(out.prologue.builderVersion) + ")");
  }
  if (code != 0) return FailCode(out, code);
  if (ReadHeader(mapped, blockOutputLimit, out) != 0) return out.code;
  if (ReadUninstaller(image, out) != 0) return out.code;
  if (AssembleData(image, mapped, volumes, blockOutputLimit, out) != 0) return out.code;
  return ReadEntries(out);
}
