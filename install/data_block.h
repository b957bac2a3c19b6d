// The data block: the installed files' records, put together from the installer and its volume
// files, verified and unpacked once, then read entry by entry. File data is used in place.
#pragma once

#include <cstddef>

#include "archive/file_entry.h"

// Assembles the block from the archive read at start-up: the part in the mapped section (or,
// with DataOutsideImage, read from the installer file), then the volumes "<VolumeBase><n>.OWK"
// beside the installer, asking for each one that is missing, short or of the wrong identifier
// until it is found or the user gives up (progress 5 % to 35 %). Then the stage of string 62 at
// 36 %, the block's checksum (55), and, when the block is compressed, the stage of string 29 at
// 40 % and the decompression (60). An archive whose parts do not add up to DataSize is refused
// before anything is read into the block: bytes beyond DataSize outside the image give 29, a
// volume longer than what remains 50. Returns only with a sound block; every failure ends the
// process with its box.
void AssembleDataBlock();

// Reads the entry of file `index` (0 .. FileCount - 1) at the block's cursor into entry, after
// the progress position 45 % + index × 40 % / FileCount, and lets pending window messages run.
// The entry's data points into the block. An entry that is damaged or runs past the block ends
// the process with its code (70, 71, 72, 100).
void ReadNextFileEntry(int index, FileEntry& entry);
