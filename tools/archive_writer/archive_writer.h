// Writes an installer: the engine's PE image with a last section ".qorv" that holds the
// prologue, the scrambled and compressed header, and the data block, plus the volume files
// when the data block is split. The inverse of the engine's archive reader; the builder and
// the engine's end-to-end tests both use it.
#pragma once

#include <cstdint>

#include "archive/archive_header.h"
#include "archive/file_entry.h"
#include "config/language_table.h"
#include "core/string.h"
#include "core/vector.h"

struct InstallerPlan {
  ArchiveHeader header;
  LanguageTables languages;
  Vector<FileEntry> files;          // data points at the caller's bytes
  int level = 9;                    // encoder level of the header and the data block
  uint32_t volumeSize = 0;          // 0: the whole data block in the installer; else at most
                                    // this many data-block bytes in the installer and in
                                    // each volume file
  uint32_t builderVersion = 1110;
};

struct BuiltInstaller {
  String image;                     // the installer file
  Vector<String> volumes;           // volumes[0] is volume 2, written as "<VolumeBase>2.OWK"
};

// Builds the installer from the engine image. False with `error` set when the engine is not a
// PE image the section can be added to (no room in its headers for another section entry, an
// existing ".qorv" section) or the plan cannot be stored (counts beyond the archive's limits
// are written as given, so that tests can build damaged installers).
bool BuildInstaller(const String& engineImage, const InstallerPlan& plan, BuiltInstaller& out,
                    String& error);
