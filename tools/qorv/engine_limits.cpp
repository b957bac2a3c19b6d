#include "tools/qorv/engine_limits.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "archive/archive_layout.h"

namespace {

constexpr uint64_t kUninstallerPatchFlag = 0x4;  // ProductFlags bit 2

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

int64_t TextBytes(const Vector<String>& texts) {
  int64_t total = 0;
  for (int i = 0; i < texts.Count(); ++i) total += texts[i].Length();
  return total;
}

// The manifest keys behind the header's bulk, with their bytes before compression.
std::pair<std::string, int64_t> LargestPart(const InstallerPlan& plan) {
  const ArchiveHeader& h = plan.header;
  int64_t strings = 0;
  for (int id = 0; id < plan.languages.texts.Count(); ++id)
    strings += TextBytes(plan.languages.texts[id]);
  const int64_t batches = h.preInstallBatch.Length() + h.postInstallBatch.Length() +
                          h.finalBatch.Length() + h.uninstallBatch1.Length() +
                          h.uninstallBatch2.Length();
  const std::vector<std::pair<std::string, int64_t>> parts = {
      {"background.bitmap", h.backgroundBitmap.Length()},
      {"product.licenses", TextBytes(h.licenseTexts)},
      {"product.readmes", TextBytes(h.readmeTexts)},
      {"strings and languages", strings},
      {"batch", batches},
      {"uninstall.patch_file", h.uninstallerPatch.Length()},
  };
  std::pair<std::string, int64_t> largest = parts[0];
  for (const auto& part : parts) {
    if (part.second > largest.second) largest = part;
  }
  return largest;
}

}  // namespace

std::string CheckStoredHeader(const InstallerPlan& plan, const ArchiveParts& parts) {
  if (parts.storedHeaderSize > 0 && parts.storedHeaderSize < kStoredHeaderLimit) return "";
  const auto largest = LargestPart(plan);
  return "the compressed header takes " + std::to_string(parts.storedHeaderSize) +
         " bytes; the installer accepts less than " + std::to_string(kStoredHeaderLimit) + " (" +
         Hex(kStoredHeaderLimit) + "). Its largest part is " + largest.first + " (" +
         std::to_string(largest.second) + " bytes before compression)";
}

std::string CheckUninstallerPatch(const InstallerPlan& plan, const BuiltInstaller& installer) {
  const ArchiveHeader& h = plan.header;
  if ((h.productFlags & kUninstallerPatchFlag) == 0 || h.uninstallerPatchOffset == 0) return "";
  ArchiveSection section;
  const auto* bytes = reinterpret_cast<const uint8_t*>(installer.image.CStr());
  if (LocateArchiveSection(bytes, size_t(installer.image.Length()), section) != 0) {
    return "the finished installer has no archive section";
  }
  const int64_t fileSize = installer.image.Length();
  const int64_t sectionEnd = int64_t(section.rawOffset) + section.rawSize;
  const int64_t uninstaller =
      int64_t(section.rawOffset) + (fileSize > sectionEnd ? fileSize - sectionEnd : 0);
  const int64_t patchEnd = int64_t(h.uninstallerPatchOffset) + h.uninstallerPatch.Length();
  if (patchEnd <= uninstaller) return "";
  return "uninstall.patch_offset: the patch of " + std::to_string(h.uninstallerPatch.Length()) +
         " bytes at offset " + std::to_string(h.uninstallerPatchOffset) +
         " must lie within the uninstaller, which takes " + std::to_string(uninstaller) + " bytes";
}
