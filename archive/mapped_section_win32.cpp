// The archive section as the loader mapped it into the running module.
#ifdef _WIN32

#include <windows.h>

#include <algorithm>

#include "archive/own_archive.h"

const uint8_t* MappedArchiveSection(const ArchiveSection& section, size_t& size) {
  auto* base = reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
  // The module's own headers are mapped too: its image size bounds what may be touched, so a
  // section table that claims more than the loader mapped cannot lead a read outside it.
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  size_t imageSize = nt->OptionalHeader.SizeOfImage;
  // A VirtualSize of 0 means the raw size (older linkers leave it so).
  size_t mappedSize = section.virtualSize != 0 ? section.virtualSize : section.rawSize;
  size_t roomInImage = section.virtualAddress < imageSize ? imageSize - section.virtualAddress : 0;
  size = std::min(mappedSize, roomInImage);
  return base + section.virtualAddress;
}

#endif  // _WIN32
