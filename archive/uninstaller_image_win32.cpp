// The uninstaller image, read from the installer file around its archive section.
#ifdef _WIN32

#include "archive/corrupt_codes.h"
#include "archive/own_archive.h"
#include "archive/uninstaller_image.h"
#include "core/checksum.h"
#include "platform/file.h"

namespace {

constexpr int kImageChecksumBit = 32;

}  // namespace

CorruptCode ReadUninstallerImage(File& installer, const ArchiveSection& section,
                                 uint32_t imageChecksum, const ArchiveHeader& header,
                                 String& image) {
  // Offsets beyond the signed range of file positions cannot be read.
  const int64_t rawOffset = section.rawOffset;
  const int64_t sectionEnd = rawOffset + section.rawSize;
  String before;
  if (rawOffset > INT32_MAX || !installer.ReadRange(before, 0, int(rawOffset)))
    return kCannotReadImageStart;
  if (((header.productFlags >> kImageChecksumBit) & 1) &&
      ArchiveChecksum(before.CStr(), before.Length()) != imageChecksum)
    return kImageChecksumMismatch;

  String after;
  const int64_t afterLength = int64_t(installer.Size()) - sectionEnd;
  if (afterLength > 0 && !installer.ReadRange(after, int(sectionEnd), int(afterLength)))
    return kCannotReadAfterSection;

  image = MakeUninstallerImage(before, after, section, header.uninstallerPatchOffset,
                               header.uninstallerPatch);
  return kNoCorruption;
}

#endif  // _WIN32
