// Writing one installed file: retries, optional verification, and replacement at the next
// start of the system when the target stays in use.
#pragma once

#include <cstdint>

#include "core/file_stamp.h"
#include "core/string.h"

// Writes length bytes of data to target (created or truncated), in up to three attempts. Under
// ProductFlags bit 18 each written file is read back and compared; under bit 19 the read-only,
// hidden and system attributes are cleared after the first failed attempt. When all three
// attempts fail and the target existed before (or bit 11 asks for any file), the data goes to a
// temporary file in the target's own folder that replaces the target at the next start (bit 14
// is then set and the registration logged in InstallLog). Afterwards the target takes the
// stamp (month 0: left alone) and the attributes under the mask 0x1127 (0xFFFFFFFF: left
// alone). True only when the target now holds the data; every other outcome extends errors
// (or, for a replacement at the next start, InstallLog) and gives false. A negative length is
// corrupt-installer code 5.
bool WriteInstalledFile(const String& target, const char* data, int32_t length,
                        const FileStamp& stamp, String& errors, uint32_t attributes,
                        bool existedBefore);
