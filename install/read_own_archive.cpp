// Reading the installer's own archive at start-up, in the order its checks are made.
#include <utility>

#include "archive/corrupt_codes.h"
#include "archive/header_stream.h"
#include "archive/own_archive.h"
#include "config/header_settings.h"
#include "config/language_strings.h"
#include "config/language_table.h"
#include "config/settings.h"
#include "core/checksum.h"
#include "install/installer_archive.h"
#include "install/shared_folder.h"
#include "platform/file.h"
#include "ui/background_picture.h"
#include "ui/background_window.h"
#include "ui/messages.h"
#include "ui/windows.h"

namespace {
ArchiveHeader ownHeader;
}  // namespace

const ArchiveHeader& InstallerHeader = ownHeader;
File InstallerFile;
ArchiveSection OwnArchiveSection;
ArchivePrologue OwnArchivePrologue;
const uint8_t* ArchiveSectionStart = nullptr;
size_t ArchiveSectionSize = 0;
int InstallerFileSize = 0;
String UninstallerImage;

namespace {

// An uninstaller copy started without switches, or the bare engine.
constexpr char kNoArchiveMessage[] =
    "This program performs installations and uninstallations.\r\n"
    "There is no installation archive present.\r\n"
    "No Uninstallation parameters were specified.\r\n\r\n"
    "You should not delete this program or execute it directly.";
constexpr char kVersionMessage[] =
    "The installer version (%.1f) does not match the version of QORV (%.1f).  Close all "
    "applications and reinstall QORV.";

void StopOnFailure(CorruptCode code) {
  if (code != kNoCorruption) CorruptInstaller(code);
}

}  // namespace

void ReadOwnArchive() {
  File& installer = InstallerFile;
  CorruptCode code = LocateOwnArchive(installer, OwnArchiveSection, InstallerFileSize);
  if (code == kNoArchiveSection) FatalError(kNoArchiveMessage);
  StopOnFailure(code);

  ArchiveSectionStart = MappedArchiveSection(OwnArchiveSection, ArchiveSectionSize);
  ArchivePrologue& prologue = OwnArchivePrologue;
  code = ReadArchivePrologue(ArchiveSectionStart, ArchiveSectionSize, prologue);
  if (code == kBuilderVersionTooNew)
    FatalErrorFormat(kVersionMessage, kEngineVersion * 0.01, prologue.builderVersion * 0.01);
  StopOnFailure(code);

  String block;
  StopOnFailure(UnpackHeaderBlock(ArchiveSectionStart, ArchiveSectionSize, prologue, block));
  HeaderStream stream(block.CStr(), size_t(block.Length()));
  ArchiveHeader& header = ownHeader;
  // A header too short for its first field cannot match its checksum either.
  if (!ReadProductFlags(stream, header.productFlags)) CorruptInstaller(kHeaderChecksumMismatch);
  ProductFlags = header.productFlags;
  if (HasFlag(ProductFlags, ProductFlag::kAutomatic)) AutomaticMode = true;
  FullScreenBackground = HasFlag(ProductFlags, ProductFlag::kFullScreenBackground);
  // The background shows during the rest of start-up; it paints with the system colours until
  // the header's own colours and picture are read below.
  if (!HasFlag(ProductFlags, ProductFlag::kNoBackgroundWindow))
    CreateBackgroundWindow(InstanceHandle, nullptr);
  if (ArchiveChecksum(block.CStr(), block.Length()) != prologue.headerChecksum)
    CorruptInstaller(kHeaderChecksumMismatch);
  StopOnFailure(ReadHeaderFields(stream, uint32_t(InstallerFileSize), header));
  LanguageTables tables;
  StopOnFailure(ReadLanguageTables(stream, tables));
  // From here on the archive's own texts are used, the corrupt-installer message among them.
  InstallLanguageTables(std::move(tables));
  ApplyHeaderSettings(header);
  LoadBackgroundPicture(header.backgroundBitmap);

  StopOnFailure(ReadUninstallerImage(installer, OwnArchiveSection, prologue.imageChecksum, header,
                                     UninstallerImage));
  // The first write to disk, once every check has passed.
  CreateSharedFolder();
}
