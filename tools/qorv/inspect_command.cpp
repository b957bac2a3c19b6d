// qorv inspect: reads an installer back with the engine's own readers, prints what it holds and
// says whether the engine would accept it.
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>

#include "archive/corrupt_codes.h"
#include "core/date_time.h"
#include "tools/qorv/installer_readback.h"
#include "tools/qorv/manifest_names.h"
#include "tools/qorv/payload_files.h"
#include "tools/qorv/qorv_commands.h"

namespace fs = std::filesystem;

namespace {

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%" PRIX64, value);
  return text;
}

std::string StampText(const FileStamp& s) {
  if (s.month == 0) return "none";
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", s.year, s.month, s.day,
                s.hour, s.minute, s.second);
  return text;
}

std::string FlagNames(uint64_t flags) {
  std::string names;
  uint64_t named = 0;
  for (const NamedValue& flag : ProductFlagNames()) {
    if (flags & flag.value) names += std::string(names.empty() ? "" : " ") + flag.name;
    named |= flag.value;
  }
  if (flags & ~named) names += std::string(names.empty() ? "" : " ") + "extra_bits=" + Hex(flags & ~named);
  return names;
}

std::string KindName(uint32_t kind) {
  const std::string name = NameOf(DestinationKindNames(), kind);
  return name.empty() ? std::to_string(int32_t(kind)) : name;
}

std::string EntryFlagText(uint32_t flags) {
  std::string text = NameOf(InstallConditionNames(), flags & kFileConditionMask);
  if (flags & kFileDesktopShortcut) text += ",desktop_shortcut";
  if (flags & kFileStartMenuShortcut) text += ",start_menu_shortcut";
  if (flags & kFileNotRecorded) text += ",keep_on_uninstall";
  if (flags & kFileToUninstallDir) text += ",to_uninstall_dir";
  const uint32_t rest = flags & ~uint32_t(0x6F);
  if (rest) text += "," + Hex(rest);
  return text;
}

void PrintHeader(const InstallerReadback& r, std::ostream& out) {
  const ArchiveHeader& h = r.header;
  const ArchivePrologue& p = r.prologue;
  out << "section: .qorv at file offset " << Hex(r.section.rawOffset) << ", " << r.section.rawSize
      << " bytes (virtual address " << Hex(r.section.virtualAddress) << ", size "
      << r.section.virtualSize << ")\n";
  out << "builder version: " << p.builderVersion << "\n";
  out << "stored header: " << p.storedHeaderSize << " bytes, checksum " << Hex(p.headerChecksum) << "\n";
  out << "data block: " << p.dataSize << " bytes, checksum " << Hex(p.dataChecksum)
      << ", section data end " << p.sectionDataEnd << "\n";
  out << "product flags: " << Hex(h.productFlags) << " (" << FlagNames(h.productFlags) << ")\n";
  out << "product name: " << h.productName.CStr() << "\n";
  out << "publisher: " << h.publisher.CStr() << "\n";
  out << "version: " << h.displayVersion.CStr() << "\n";
  out << "install dir: " << h.defaultInstallDir.CStr() << "\n";
  out << "shared dir: " << h.sharedPath.CStr() << "\n";
  out << "start menu: " << h.productStartMenu.CStr() << "\n";
  out << "registry key: " << h.productRegistry.CStr() << "\n";
  out << "master product: " << h.masterProduct.CStr() << "\n";
  out << "desktop folder: " << h.desktopFolder.CStr() << "\n";
  out << "stage delay: " << h.stageDelay << "\n";
  out << "shortcut mode: " << int(h.shortcutMode) << "\n";
  out << "unsupported systems: " << Hex(h.unsupportedSystems) << "\n";
  out << "licence texts: " << h.licenseTexts.Count() << ", readme texts: " << h.readmeTexts.Count() << "\n";
  out << "uninstaller: " << h.uninstallerName.CStr() << " in \"" << h.uninstallSubdir.CStr()
      << "\", key \"" << h.uninstallKeyName.CStr() << "\", stamp " << StampText(h.uninstallerStamp) << "\n";
  out << "uninstaller patch: offset " << h.uninstallerPatchOffset << ", " << h.uninstallerPatch.Length() << " bytes\n";
  out << "colours: title " << Hex(h.titleColor) << ", top " << Hex(h.topColor) << ", bottom "
      << Hex(h.bottomColor) << ", shadow " << int(h.titleShadow) << ", bitmap "
      << h.backgroundBitmap.Length() << " bytes\n";
  out << "batches: pre " << h.preInstallBatch.Length() << ", post " << h.postInstallBatch.Length()
      << ", final " << h.finalBatch.Length() << ", uninstall " << h.uninstallBatch1.Length() << " + "
      << h.uninstallBatch2.Length() << " bytes\n";
  out << "volume base: " << h.volumeBase.CStr() << ", serial " << Hex(h.volumeSerial)
      << ", data outside image: " << int(h.dataOutsideImage) << "\n";
  out << "deletions: " << h.deletionSpecs.Count() << ", associations: " << h.fileAssociations.Count()
      << ", uninstall values: " << h.uninstallValues.Count() << "\n";
  out << "languages:";
  for (int i = 0; i < r.languages.names.Count(); ++i) out << (i ? ", " : " ") << r.languages.names[i].CStr();
  out << " (" << r.languages.texts.Count() << " string ids, default "
      << r.languages.defaultLanguage << ")\n";
}

// The engine raises 65 when a date condition meets a matching file: a text that does not parse
// is a fault of the archive either way.
int CheckDeletionDates(const InstallerReadback& r) {
  for (int i = 0; i < r.header.deletionSpecs.Count(); ++i) {
    const FileDeletion& deletion = r.header.deletionSpecs[i];
    DateTime date;
    if (int8_t(deletion.condition) >= 1 && deletion.condition <= 3 && !date.Parse(deletion.value, false)) {
      return kBadDeletionDate;
    }
  }
  return 0;
}

}  // namespace

int RunInspect(const std::string& installerPath, std::ostream& out, std::ostream& err) {
  std::string bytes, error;
  if (!ReadWholeFile(installerPath, bytes, error)) {
    err << "qorv inspect: " << error << "\n";
    return kQorvFailure;
  }
  const fs::path folder = fs::path(installerPath).parent_path();
  InstallerReadback r;
  VolumeSource volumes = [&](int number, String& contents) {
    std::string base = r.header.volumeBase.CStr();
    const size_t slash = base.find_last_of("\\/");
    if (slash != std::string::npos) base = base.substr(slash + 1);
    const std::string path = (folder / (base + std::to_string(number) + ".OWK")).string();
    std::string data, ignored;
    if (!ReadWholeFile(path, data, ignored)) return false;
    out << "volume " << number << ": " << path << " (" << data.size() << " bytes)\n";
    contents = String(data.data(), int(data.size()));
    return true;
  };
  int code = ReadInstallerBack(String(bytes.data(), int(bytes.size())), volumes, r);
  if (r.headerRead) PrintHeader(r, out);
  for (size_t i = 0; i < r.files.size(); ++i) {
    const FileEntry& e = r.files[i];
    out << "file " << i << ": " << e.name.CStr() << "  kind " << KindName(e.destinationKind)
        << "  flags " << EntryFlagText(e.flags) << "  " << e.length << " bytes";
    if (!e.destinationText.IsEmpty()) out << "  -> " << e.destinationText.CStr();
    out << "\n";
  }
  if (code == 0) code = CheckDeletionDates(r);
  if (code == kBadDeletionDate) r.problem = CorruptCodeName(kBadDeletionDate);
  if (code == 0) {
    out << "image checksum: " << (r.imageChecksumChecked ? "verified" : "not checked by the engine (flag bit 32 clear)")
        << "\nheader checksum: verified\ndata block checksum: verified\nfile checksums: "
        << r.files.size() << " verified\nsound\n";
    return kQorvSuccess;
  }
  if (code > 0) {
    err << "corrupt installer: code " << code << " (" << CorruptCodeName(code) << ")\n";
  } else {
    err << "qorv inspect: " << r.problem << "\n";
  }
  return kQorvFailure;
}
