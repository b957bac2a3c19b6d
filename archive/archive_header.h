// The decompressed header block of an archive: every field in stored order, as read. The
// engine derives its settings from these values (defaults, absolute paths); the builder writes
// them. Pure data and pure reading: no platform calls.
#pragma once

#include <cstdint>

#include "archive/corrupt_codes.h"
#include "core/file_stamp.h"
#include "core/string.h"
#include "core/vector.h"

class HeaderStream;

inline constexpr char kDeletionListEnd[] = "~~THE END~~";
inline constexpr int kMaxDeletionSpecs = 1001;
inline constexpr int kMaxHeaderTexts = 20;      // licence and readme texts each
inline constexpr int kMaxHeaderRecords = 10000; // associations and uninstall values each
inline constexpr int kMaxStageDelay = 9999;

// A pattern of files to delete before installing.
struct FileDeletion {
  String specification;
  uint8_t condition = 0;
  String value;
  uint32_t flags = 0;
};

// A file-type association: the options word, then eight texts in stored order.
struct FileAssociation {
  uint32_t options = 0;
  String extension;
  String fileType;
  String description;
  String verb;
  String verbText;
  String command;
  String language;
  String icon;
};

// An additional value of the product's Uninstall key.
struct UninstallData {
  String name;
  uint8_t type = 0;
  String value;
};

struct ArchiveHeader {
  uint64_t productFlags = 0;
  uint16_t stageDelay = 0;
  uint8_t shortcutMode = 0;
  FileStamp uninstallerStamp = {};
  String publisher;
  String productName;
  String sharedPath;
  String productStartMenu;
  String defaultInstallDir;
  String displayVersion;
  String productRegistry;
  Vector<String> licenseTexts;
  Vector<String> readmeTexts;
  String uninstallSubdir;
  String volumeBase;
  String uninstallerName;
  String uninstallKeyName;
  uint32_t titleColor = 0;
  uint32_t topColor = 0;
  uint32_t bottomColor = 0;
  uint8_t titleShadow = 0;
  String backgroundBitmap;       // empty: none (stored length 0)
  String masterProduct;          // stored only with ProductFlags bit 16
  String desktopFolder;
  String preInstallBatch;
  String postInstallBatch;
  String finalBatch;
  String uninstallBatch1;
  String uninstallBatch2;
  uint8_t reservedDate[20] = {};
  uint32_t unsupportedSystems = 0;
  uint8_t dataOutsideImage = 0;
  uint32_t volumeSerial = 0;
  uint32_t uninstallerPatchOffset = 0;  // stored only with ProductFlags bit 2; 0: no patch
  String uninstallerPatch;
  Vector<FileDeletion> deletionSpecs;
  Vector<FileAssociation> fileAssociations;
  Vector<UninstallData> uninstallValues;
};

// Reads ProductFlags, the first field. A header too short to hold it gives false.
bool ReadProductFlags(HeaderStream& stream, uint64_t& flags);

// Reads the fields after ProductFlags (which `header.productFlags` must already hold) up to the
// language tables, leaving the stream at them. Returns 0 or the corrupt-installer code of the
// first failed check (19, 24, 26, 21, 23, 38, 36, 37). `installerFileSize` bounds the
// uninstaller patch offset (23; the stored word is taken as signed, so a "negative" one is 23
// too). The deletion list ends at the exact text "~~THE END~~" (case counts); a 1002nd record
// is 38. A field that would be read past the end of the header (a text without its NUL
// included) fails with the code of the nearest check: that of the field itself when it is
// checked, else of the next checked field in reading order (24 for ShortcutMode up to the
// licence texts, 21 for UninstallSubdir, 38 for the fields between VolumeBase and the deletion
// list, 23 inside a present uninstaller patch, 36 and 37 inside their records). Nothing is
// defaulted or derived; on failure the fields read so far keep their values.
CorruptCode ReadHeaderFields(HeaderStream& stream, uint32_t installerFileSize,
                             ArchiveHeader& header);
