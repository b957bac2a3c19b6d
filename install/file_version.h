// Versions and dates of files already on the disk, against those of the archive's entries.
#pragma once

#include "core/file_stamp.h"
#include "core/string.h"

// The file's "FileVersion" of the U.S. English, Windows Latin 1 string table
// ("\StringFileInfo\040904E4\FileVersion"), upper-cased, each part between dots padded on the
// left with '0' to 10 characters ("1.2.3b" gives "0000000001.0000000002.000000003B"; a longer
// part stays as it is). Empty when the file has no version resource or no such value.
String FileVersionText(const String& path);

// Whether an entry with this stamp should replace the installed target: true when the stamp is
// empty (month 0), when the target's last-write stamp cannot be read, or when it is earlier
// than the entry's.
bool IsNewerThanInstalled(const String& target, const FileStamp& stamp);

// The target's last-write stamp in local time; false when it cannot be read.
bool InstalledStamp(const String& target, FileStamp& stamp);
