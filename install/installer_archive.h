// The archive that this installer carries in its own file: found, checked and read once at
// start-up, then kept for the install steps that follow (the data block, the records and the
// uninstaller).
#pragma once

#include <cstddef>
#include <cstdint>

#include "archive/archive_header.h"
#include "archive/archive_layout.h"
#include "core/string.h"
#include "platform/file.h"

// The engine's own file, which carries the archive: opened at start-up, never closed.
extern File InstallerFile;

// Filled by ReadOwnArchive and unchanged afterwards. The settings derived from the header live
// in config/settings.h.
extern const ArchiveHeader& InstallerHeader;  // every header field as stored
extern ArchiveSection OwnArchiveSection;      // the section-table entry (PointerToRawData, sizes)
extern ArchivePrologue OwnArchivePrologue;    // the prologue words, the length table and the
                                              // data start offset
extern const uint8_t* ArchiveSectionStart;    // the section as the loader mapped it
extern size_t ArchiveSectionSize;             // the bytes readable from ArchiveSectionStart
extern int InstallerFileSize;
extern String UninstallerImage;  // this file without the archive section

// Reads the archive from InstallerFile and the loaded image, shows the background
// window as soon as the flags allow, sets the process-wide settings and language tables, and
// prepares UninstallerImage. Returns only when everything checked out: a file without an
// archive, an archive of a newer builder and every corrupt-installer code end the process with
// their box. Nothing is written to disk before all checks have passed; then the shared-files
// folder is created.
void ReadOwnArchive();
