// The steps that find and check the archive in the installer's own file: the section, the
// stored header and the uninstaller image. Start-up runs them in order (install/).
#pragma once

#include <cstddef>
#include <cstdint>

#include "archive/archive_header.h"
#include "archive/archive_layout.h"
#include "archive/corrupt_codes.h"
#include "core/string.h"

class File;

// Each returns 0 or the code of the check that failed.

// Reads the file's PE headers and finds the archive section: 0, kNoArchiveSection, or the code
// (43, 44, 9; 10 when the file cannot be positioned at the section's raw data, where it is
// left). fileSize receives the file's size.
CorruptCode LocateOwnArchive(File& installer, ArchiveSection& section, int& fileSize);

// The section in the running module's image: its address, and in size the bytes that may be
// read there (its mapped size, bounded by the module's image size).
const uint8_t* MappedArchiveSection(const ArchiveSection& section, size_t& size);

// Copies the stored header out of the section, unscrambles it and decompresses it into block:
// 22 when the stored header does not lie within the section, 47 when it does not decompress.
CorruptCode UnpackHeaderBlock(const uint8_t* section, size_t sectionSize,
                              const ArchivePrologue& prologue, String& block);

// Reads the file's bytes before the section (35), checks them against imageChecksum when the
// header asks for it (40), appends the bytes after the section (42), and removes the section
// from the result with the header's uninstaller patch applied.
CorruptCode ReadUninstallerImage(File& installer, const ArchiveSection& section,
                                 uint32_t imageChecksum, const ArchiveHeader& header,
                                 String& image);
