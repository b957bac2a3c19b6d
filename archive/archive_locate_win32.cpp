// Finding the archive section in the installer file's PE headers.
#ifdef _WIN32

#include <algorithm>

#include "archive/corrupt_codes.h"
#include "archive/own_archive.h"
#include "platform/file.h"

CorruptCode LocateOwnArchive(File& installer, ArchiveSection& section, int& fileSize) {
  fileSize = installer.Size();
  // Only the leading bytes matter: the headers and the section table of a valid file end
  // within kPeHeadersReadLimit.
  int headLength = int(std::min<int64_t>(std::max(fileSize, 0), int64_t(kPeHeadersReadLimit)));
  String head;
  if (!installer.ReadRange(head, 0, headLength)) return kBadPeHeaderOffset;
  CorruptCode code = LocateArchiveSection(reinterpret_cast<const uint8_t*>(head.CStr()),
                                          size_t(head.Length()), section);
  if (code != 0) return code;
  // File positions are signed: an offset of 2 GiB or more cannot be reached.
  if (int32_t(section.rawOffset) < 0 || !installer.SeekFromStart(int(section.rawOffset)))
    return kCannotSeekToSection;
  return kNoCorruption;
}

#endif  // _WIN32
