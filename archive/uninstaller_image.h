// The uninstaller image: the installer file with its archive section cut out, the PE headers
// fixed up to match, and the builder's patch laid over it. The engine writes it to disk as the
// product's uninstaller. Pure logic over bytes; reading the file is the caller's part.
#pragma once

#include <cstdint>

#include "archive/archive_layout.h"
#include "core/string.h"

// Joins `beforeSection` (the installer file's first PointerToRawData bytes) and `afterSection`
// (the bytes after the section's raw data, possibly none) and fixes up the copy:
//   - the section count (u16 at PE + 6) goes down by one;
//   - SizeOfInitializedData (u32 at PE + 0x20) and SizeOfImage (u32 at PE + 0x50) go down by
//     the section's SizeOfRawData (modulo 2^32);
//   - the archive's section-table entry is removed: each later entry moves up one slot with its
//     PointerToRawData reduced by SizeOfRawData (modulo 2^32), and the vacated last slot takes
//     the 40 bytes that followed the table;
//   - when patchOffset > 0 and the patch lies wholly within the image, its bytes are copied
//     over the image at patchOffset; otherwise it is left out, silently.
// `section` is what LocateArchiveSection found in the same file. Nothing outside the image is
// read or written: a field that lies (partly) beyond it is not changed, and bytes of a table
// entry beyond it are taken as zeros. Never fails.
String MakeUninstallerImage(const String& beforeSection, const String& afterSection,
                            const ArchiveSection& section, uint32_t patchOffset,
                            const String& patch);
