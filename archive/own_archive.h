// The archive that this installer carries in its own file: found, checked and read once at
// start-up, then kept for the install steps that follow (the data block, the records and the
// uninstaller).
#pragma once

#include <cstddef>
#include <cstdint>

#include "archive/archive_header.h"
#include "archive/archive_layout.h"
#include "core/string.h"

class File;

// Filled by ReadOwnArchive.
extern ArchiveHeader InstallerHeader;       // every header field; ProductStartMenu,
                                            // DefaultInstallDir and UninstallKeyName hold their
                                            // derived values
extern ArchiveSection OwnArchiveSection;    // the section-table entry (PointerToRawData, sizes)
extern ArchivePrologue OwnArchivePrologue;  // the prologue words, the length table and the
                                            // data start offset
extern const uint8_t* ArchiveSectionStart;  // the section as the loader mapped it
extern size_t ArchiveSectionSize;           // the bytes readable from ArchiveSectionStart
extern int InstallerFileSize;
extern String UninstallerImage;             // this file without the archive section

// Reads the archive from the open installer file and the loaded image, sets the process-wide
// settings and language tables, and prepares UninstallerImage. Returns only when everything
// checked out: a file without an archive, an archive of a newer builder and every corrupt-
// installer code end the process with their box. Nothing is written to disk before all checks
// have passed; then the shared-files folder is created.
void ReadOwnArchive(File& installer);

// The steps, each returning 0 or the code of the check that failed.

// Reads the file's PE headers and finds the archive section: 0, kNoArchiveSection, or the code
// (43, 44, 9; 10 when the file cannot be positioned at the section's raw data, where it is
// left). fileSize receives the file's size.
int LocateOwnArchive(File& installer, ArchiveSection& section, int& fileSize);

// The section in the running module's image: its address, and in size the bytes that may be
// read there (its mapped size, bounded by the module's image size).
const uint8_t* MappedArchiveSection(const ArchiveSection& section, size_t& size);

// Copies the stored header out of the section, unscrambles it and decompresses it into block:
// 22 when the stored header does not lie within the section, 47 when it does not decompress.
int UnpackHeaderBlock(const uint8_t* section, size_t sectionSize, const ArchivePrologue& prologue,
                      String& block);

// Reads the file's bytes before the section (35), checks them against imageChecksum when the
// header asks for it (40), appends the bytes after the section (42), and removes the section
// from the result with the header's uninstaller patch applied.
int ReadUninstallerImage(File& installer, const ArchiveSection& section, uint32_t imageChecksum,
                         const ArchiveHeader& header, String& image);
