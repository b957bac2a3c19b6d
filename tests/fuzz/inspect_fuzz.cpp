// Feeds arbitrary files to the inspector's reader (qorv inspect): the PE walk, the section as
// mapped, the prologue, the header, the uninstaller image, the data block over an optional
// second volume, and the file entries. It must never crash, read outside its input or take
// memory the input does not back; each result is checked against the reader's contract.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tools/qorv/installer_readback.h"

namespace {

// Decompressed blocks may claim up to 2 GB; larger outputs add nothing but time and memory.
constexpr int kBlockOutputLimit = 1 << 20;

void Check(bool condition) {
  if (!condition) std::abort();
}

bool KnownResult(int code) {
  if (code <= 0) return code >= kArchiveOutOfBounds;
  switch (code) {
    case 9:
    case 10:
    case 19:
    case 20:
    case 21:
    case 22:
    case 23:
    case 24:
    case 25:
    case 26:
    case 27:
    case 28:
    case 29:
    case 30:
    case 31:
    case 32:
    case 35:
    case 36:
    case 37:
    case 38:
    case 40:
    case 42:
    case 43:
    case 44:
    case 45:
    case 47:
    case 55:
    case 60:
    case 70:
    case 71:
    case 72:
    case 100:
    case 110:
      return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4 || size > (1u << 20)) return 0;
  // The first four bytes say where the installer ends and volume 2 begins (none past the end).
  uint32_t split;
  std::memcpy(&split, data, 4);
  data += 4;
  size -= 4;
  const size_t imageSize = split < size ? split : size;
  const String image(reinterpret_cast<const char*>(data), int(imageSize));
  const String volume(reinterpret_cast<const char*>(data) + imageSize, int(size - imageSize));
  VolumeSource volumes = [&](int number, String& contents) {
    if (number != 2 || imageSize == size) return false;
    contents = volume;
    return true;
  };

  InstallerReadback r;
  const int code = ReadInstallerBack(image, volumes, r, kBlockOutputLimit);
  Check(code == r.code);
  Check(KnownResult(code));
  Check((code == kReadbackSound) == r.problem.empty());
  if (r.headerRead) {
    Check(r.languages.names.Count() >= 1 && r.languages.names.Count() <= 100);
    Check(r.header.licenseTexts.Count() <= 20 && r.header.readmeTexts.Count() <= 20);
  }
  Check(r.files.size() <= size_t(r.prologue.fileCount));
  for (const FileEntry& entry : r.files) {
    Check(entry.length >= 0);
    if (entry.length > 0) {
      Check(entry.data >= r.dataBlock.CStr() &&
            entry.data + entry.length <= r.dataBlock.CStr() + r.dataBlock.Length());
    }
  }
  if (code == kReadbackSound) {
    Check(int(r.files.size()) == r.prologue.fileCount);
    Check(r.volumesRead <= 1);
  }
  return 0;
}
