#include "install/data_block.h"

#include <cstdint>

#include "archive/corrupt_codes.h"
#include "archive/decompressor.h"
#include "config/archive_text.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "core/checksum.h"
#include "install/install_state.h"
#include "install/installer_archive.h"
#include "platform/file.h"
#include "platform/file_open_mode.h"
#include "platform/path_text.h"
#include "platform/system_paths.h"
#include "ui/message_pump.h"
#include "ui/messages.h"
#include "ui/progress_dialog.h"
#include "ui/progress_steps.h"
#include "ui/ui_seam.h"

namespace {

constexpr unsigned kVolumePromptStyle = MB_OKCANCEL | MB_ICONQUESTION;  // 0x21
constexpr int kVolumeIdentifierSize = 4;
constexpr DWORD kPumpInterval = 15;

// The block as the file loop reads it: in the mapped section, in `owned`, or in a buffer the
// decompressor made. It stays until the process ends.
const char* blockBytes = nullptr;
size_t blockSize = 0;
size_t cursor = 0;
String owned;
DWORD lastPump = 0;  // GetTickCount at the file loop's last message pump

// The prompt for volume `number`, the wrong-volume line first after a wrong volume.
String VolumePrompt(int number, char drive, bool wrongVolume) {
  String text;
  if (wrongVolume) text = LookupString(StringId::kWrongVolume) + "\r\n\r\n";
  text += FormatArchiveText(StringId::kInsertVolume, {number, drive});
  return text;
}

// Any answer but OK asks whether to stop; No goes on asking for the volume.
void AskForVolume(int number, const String& path, bool wrongVolume) {
  String text = VolumePrompt(number, DriveLetterOf(path), wrongVolume);
  int answer =
      ShowMessageBox(MessageOwner(), text.CStr(), LookupString(StringId::kInsertVolumeTitle).CStr(),
                     kVolumePromptStyle);
  if (answer != IDOK) ConfirmCancel();
}

// Reads the volume files into `owned` from offset `filled` on, until DataSize bytes are there.
void ReadVolumes(size_t filled, size_t dataSize) {
  uint32_t expectedIdentifier = InstallerHeader.volumeSerial;
  int number = 1;
  while (filled < dataSize) {
    SetProgressPosition(int(uint64_t(filled) * 30 / dataSize) + 5);
    ++number;
    String path = JoinPath(
        InstallerDir(), String::Formatted("%s%d.OWK", InstallerHeader.volumeBase.CStr(), number));
    for (int attempts = 0;;) {
      if (attempts > 0) AskForVolume(number, path, attempts > 1);
      File volume;
      if (volume.Open(path, OpenMode::kReadShared) != FileOpenResult::kSuccess) {
        ++attempts;
        continue;
      }
      const int size = volume.Size();
      uint32_t identifier = 0;
      if (size <= kVolumeIdentifierSize || !volume.Read(&identifier, kVolumeIdentifierSize) ||
          identifier != expectedIdentifier) {
        attempts = 2;
        continue;
      }
      const size_t payload = size_t(size - kVolumeIdentifierSize);
      // A volume may not carry more than the block still needs.
      if (payload > dataSize - filled || !volume.Read(owned.Data() + filled, int(payload))) {
        CorruptInstaller(kCannotReadVolume);
      }
      ++expectedIdentifier;
      filled += payload;
      break;
    }
  }
}

// The bytes of the block that this file holds, in `owned` or in place; returns how many.
size_t TakeOwnPart(size_t dataSize) {
  const ArchivePrologue& prologue = OwnArchivePrologue;
  if (InstallerHeader.dataOutsideImage == 0) {
    if (prologue.sectionDataEnd < int32_t(prologue.dataStartOffset))
      CorruptInstaller(kNegativeSectionDataEnd);
    size_t available = size_t(prologue.sectionDataEnd) - prologue.dataStartOffset;
    const char* inImage =
        reinterpret_cast<const char*>(ArchiveSectionStart) + prologue.dataStartOffset;
    if (available >= dataSize) {
      blockBytes = inImage;
      return dataSize;
    }
    owned.Assign(inImage, int(available));
    owned.Resize(int(dataSize));
    blockBytes = owned.CStr();
    return available;
  }
  const int64_t start = int64_t(OwnArchiveSection.rawOffset) + prologue.dataStartOffset;
  const int64_t available = int64_t(InstallerFileSize) - start;
  if (available < 0) FatalError("Error code 2: failed to read archive data");
  // The builder counts everything up to the end of the file as data.
  if (uint64_t(available) > dataSize) CorruptInstaller(kNegativeDataBlockLength);
  owned.Resize(int(dataSize));
  if (!InstallerFile.ReadAt(int(start), owned.Data(), int(available)))
    FatalError("Error code 2: failed to read archive data");
  blockBytes = owned.CStr();
  return size_t(available);
}

}  // namespace

void AssembleDataBlock() {
  const ArchivePrologue& prologue = OwnArchivePrologue;
  const size_t dataSize = size_t(prologue.dataSize);
  const size_t own = TakeOwnPart(dataSize);
  if (own < dataSize) {
    ReadVolumes(own, dataSize);
    blockBytes = owned.CStr();
  }
  blockSize = dataSize;

  WaitForStageDelay();
  ShowProgressStep(StringId::kCheckStage, 36);
  if (ArchiveChecksum(blockBytes, int(blockSize)) != prologue.dataChecksum)
    CorruptInstaller(kDataBlockChecksumMismatch);
  WaitForStageDelay();

  if (HasFlag(ProductFlags, ProductFlag::kCompressedData) && blockSize != 0) {
    ShowProgressStep(StringId::kUnpackStage, 40);
    char* data = const_cast<char*>(blockBytes);
    int size = int(blockSize);
    if (!Decompress(data, size)) CorruptInstaller(kDataBlockDoesNotDecompress);
    // The decompressor's buffer lives as long as the installation; the compressed copy goes.
    owned.Clear();
    blockBytes = data;
    blockSize = size_t(size);
    WaitForStageDelay();
  }
  StartStepTimer();
  cursor = 0;
}

void ReadNextFileEntry(int index, FileEntry& entry) {
  const ArchivePrologue& prologue = OwnArchivePrologue;
  // The bar moves 40 steps over the whole loop: it is touched only when its position changes.
  // Each pump is a round trip to the window server, so between the bar's moves the messages run
  // only every kPumpInterval ms: often enough for the window, far less often than once a file.
  const int position = index * 40 / prologue.fileCount + 45;
  const DWORD now = GetTickCount();
  if (index == 0 || position != (index - 1) * 40 / prologue.fileCount + 45) {
    SetProgressPosition(position);
    lastPump = now;
  } else if (now - lastPump >= kPumpInterval) {
    PumpMessages();
    lastPump = now;
  }
  CorruptCode code =
      ReadFileEntry(blockBytes, blockSize, cursor, prologue.fileLengths[index], entry);
  if (code != kNoCorruption) CorruptInstaller(code);
}
