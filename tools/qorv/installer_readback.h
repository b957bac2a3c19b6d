// Reads a finished installer back with the engine's own readers, in the order the engine checks
// it, and says which corrupt-installer code (if any) the engine would raise. `qorv inspect` and
// the builder's round-trip tests both use it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/archive_header.h"
#include "archive/archive_layout.h"
#include "archive/file_entry.h"
#include "config/language_table.h"
#include "core/string.h"

// Results besides the corrupt-installer codes.
inline constexpr int kReadbackSound = 0;
// kNoArchiveSection (-1) and kBuilderVersionTooNew (-2) come from archive_layout.h.
inline constexpr int kVolumeMissing = -3;      // the engine would ask for the volume again
inline constexpr int kVolumeWrong = -4;        // too short or with the wrong identifier
inline constexpr int kArchiveOutOfBounds = -5; // a limit the engine leaves open is broken

// Finds volume `number` (2, 3, ...): true with its whole contents, false when it is missing.
using VolumeSource = std::function<bool(int number, String& contents)>;

struct InstallerReadback {
  int code = kReadbackSound;
  std::string problem;             // what failed, in words (empty when sound)

  ArchiveSection section;
  ArchivePrologue prologue;
  ArchiveHeader header;
  LanguageTables languages;
  uint32_t fileSize = 0;
  uint32_t computedImageChecksum = 0;
  bool headerRead = false;         // the header and language tables passed their checks
  bool imageChecksumChecked = false; // ProductFlags bit 32
  int volumesRead = 0;
  String uninstallerImage;         // the installer without its archive section
  String dataBlock;                // assembled, decompressed
  std::vector<FileEntry> files;    // their data points into dataBlock
};

// The most a compressed block can claim to hold: the block format's own limit.
inline constexpr int kLargestBlockOutput = 0x7FFFFFFF;

// Reads everything the engine reads, stopping at the first failed check. Returns out.code.
// Memory follows the input: the section as mapped (its zero tail bounded), the data block as
// its sources hold it, the entries as read; only a decompressed block may take more, up to the
// size its header claims, and a block that claims more than blockOutputLimit is refused
// (kArchiveOutOfBounds) before it is decoded.
int ReadInstallerBack(const String& image, const VolumeSource& volumes, InstallerReadback& out,
                      int blockOutputLimit = kLargestBlockOutput);
