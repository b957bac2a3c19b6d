// Helpers of the builder's tests: a synthetic engine image (a minimal PE32 or PE32+ file with
// three sections and recognisable bytes), a plan in which every field holds a distinct value
// other than its default, and a read-back through the engine's readers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/archive_header.h"
#include "archive/file_entry.h"
#include "archive/pe_layout.h"
#include "archive/product_flags.h"
#include "config/language_table.h"
#include "core/little_endian.h"
#include "core/string.h"
#include "core/vector.h"
#include "tools/archive_writer/archive_writer.h"
#include "tools/qorv/installer_readback.h"

namespace archive_test {

inline constexpr uint32_t kPeOffset = 0x80;
inline constexpr uint32_t kFileAlignment = 0x200;
inline constexpr uint32_t kSectionAlignment = 0x1000;
inline constexpr uint32_t kEngineCheckSum = 0x0BADF00D;
inline constexpr uint32_t kEngineInitializedData = 0x3000;

struct EngineShape {
  bool pe32Plus = false;
  int sections = 3;
  int trailingBytes = 0;  // an unaligned overlay after the last section
};

inline void PutU16(std::string& b, size_t at, uint16_t v) { StoreU16(&b[at], v); }
inline void PutU32(std::string& b, size_t at, uint32_t v) { StoreU32(&b[at], v); }
inline uint32_t GetU32(const String& b, uint32_t at) { return b.ReadU32At(int(at)); }
inline uint16_t GetU16(const String& b, uint32_t at) { return LoadU16(b.CStr() + at); }

// Sections of 0x200 raw bytes each (filled with a pattern), mapped 0x1000 apart from 0x1000.
inline String MakeEngineImage(const EngineShape& shape = EngineShape()) {
  const uint32_t optionalSize = shape.pe32Plus ? 0xF0 : 0xE0;
  const uint32_t headers = 0x400;
  std::string b(headers + size_t(shape.sections) * kFileAlignment, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  PutU32(b, kPeOffsetField, kPeOffset);
  std::memcpy(&b[kPeOffset], "PE\0\0", 4);
  PutU16(b, kPeOffset + 4, shape.pe32Plus ? 0x8664 : 0x14C);
  PutU16(b, kPeOffset + 6, uint16_t(shape.sections));
  PutU16(b, kPeOffset + kPeOptionalHeaderSizeField, uint16_t(optionalSize));
  PutU16(b, kPeOffset + 0x16, 0x0102);
  const size_t opt = kPeOffset + 0x18;
  PutU16(b, opt, shape.pe32Plus ? 0x20B : 0x10B);
  PutU32(b, opt + 8, kEngineInitializedData);
  PutU32(b, opt + 32, kSectionAlignment);
  PutU32(b, opt + 36, kFileAlignment);
  PutU32(b, opt + 56, kSectionAlignment * uint32_t(shape.sections + 1));
  PutU32(b, opt + 60, headers);
  PutU32(b, opt + 64, kEngineCheckSum);
  const size_t table = opt + optionalSize;
  const char* names[] = {".text", ".data", ".rsrc", ".reloc", ".tls", ".bss"};
  for (int i = 0; i < shape.sections; ++i) {
    const size_t entry = table + size_t(i) * kSectionEntrySize;
    std::memcpy(&b[entry], names[i % 6], std::strlen(names[i % 6]));
    PutU32(b, entry + 8, 0x180);
    PutU32(b, entry + 12, kSectionAlignment * uint32_t(i + 1));
    PutU32(b, entry + 16, kFileAlignment);
    PutU32(b, entry + 20, headers + uint32_t(i) * kFileAlignment);
    PutU32(b, entry + 36, 0x60000020);
    for (uint32_t k = 0; k < kFileAlignment; ++k) {
      b[headers + size_t(i) * kFileAlignment + k] = char(0x11 * (i + 1) + k);
    }
  }
  for (int i = 0; i < shape.trailingBytes; ++i) b.push_back(char(0xA0 + i));
  return String(b.data(), int(b.size()));
}

inline FileStamp Stamp(int year, int month, int day, int hour, int minute, int second) {
  return FileStamp{year, month, day, hour, minute, second};
}

inline void ExpectStampEq(const FileStamp& a, const FileStamp& b) {
  EXPECT_EQ(a.year, b.year);
  EXPECT_EQ(a.month, b.month);
  EXPECT_EQ(a.day, b.day);
  EXPECT_EQ(a.hour, b.hour);
  EXPECT_EQ(a.minute, b.minute);
  EXPECT_EQ(a.second, b.second);
}

// Bytes the encoder cannot shrink (a linear congruential sequence).
inline std::string NoiseBytes(size_t n) {
  std::string bytes(n, '\0');
  uint32_t state = 0x2545F491;
  for (size_t i = 0; i < n; ++i) {
    state = state * 1664525u + 1013904223u;
    bytes[i] = char(state >> 24);
  }
  return bytes;
}

inline String Repeated(const char* piece, int times) {
  String s;
  for (int i = 0; i < times; ++i) s.Append(piece);
  return s;
}

// A plan whose every field differs from its default and from the others. The file contents
// live in `storage`, which must outlive the plan.
inline InstallerPlan FullPlan(std::vector<std::string>& storage) {
  InstallerPlan plan;
  ArchiveHeader& h = plan.header;
  // A pattern of bits with the optional fields' flags and without those that change the layout.
  h.productFlags = 0x0000015F00F3BEF5ull | FlagMask(ProductFlag::kRegisterUninstall) |
                   FlagMask(ProductFlag::kExtendsMasterProduct);
  h.productFlags &=
      ~FlagMask(ProductFlag::kCompressedData) & ~FlagMask(ProductFlag::kCheckImageChecksum);
  h.stageDelay = 1234;
  h.shortcutMode = 1;
  h.uninstallerStamp = Stamp(2002, 7, 14, 9, 8, 7);
  h.publisher = "Publisher Co";
  h.productName = "Product One";
  h.sharedPath = "Shared Place";
  h.productStartMenu = "Menu\\Product";
  h.defaultInstallDir = "%ProgramsDir%\\Product";
  h.displayVersion = "2.5.1";
  h.productRegistry = "Software\\Publisher\\Product";
  h.licenseTexts.Append(String("licence one"));
  h.licenseTexts.Append(String("licence two\r\nline"));
  h.readmeTexts.Append(String("readme one"));
  h.uninstallSubdir = "Uninst";
  h.volumeBase = "Disk\\PROD";
  h.uninstallerName = "Remove Product.exe";
  h.uninstallKeyName = "ProductKey";
  h.titleColor = 0x00112233;
  h.topColor = 0x00445566;
  h.bottomColor = 0x00778899;
  h.titleShadow = 3;
  h.backgroundBitmap = String("BM\0\x01\x02 bitmap bytes", 18);
  h.masterProduct = "Master Product";
  h.desktopFolder = "Desk Folder";
  h.preInstallBatch = "echo pre";
  h.postInstallBatch = "echo post";
  h.finalBatch = "echo final";
  h.uninstallBatch1 = "echo u1";
  h.uninstallBatch2 = "echo u2";
  for (int i = 0; i < 20; ++i) h.reservedDate[i] = uint8_t(0x30 + i);
  h.unsupportedSystems = 0x24;
  h.dataOutsideImage = 0;
  h.volumeSerial = 0x5EED0001;
  h.uninstallerPatchOffset = 0x40;  // in the DOS stub of the synthetic engine
  h.uninstallerPatch = String("PATCH", 5);
  FileDeletion deletion;
  deletion.specification = "%InstallDir%\\*.old";
  deletion.condition = 2;
  deletion.value = "12/31/2001";
  deletion.flags = 0x2;
  h.deletionSpecs.Append(deletion);
  deletion.specification = "%InstallDir%\\big.dat";
  deletion.condition = 5;
  deletion.value = "1000";
  deletion.flags = 0;
  h.deletionSpecs.Append(deletion);
  FileAssociation association;
  association.options = 1;
  association.extension = ".prd";
  association.fileType = "Product.Doc";
  association.description = "Product document";
  association.verb = "open";
  association.verbText = "&Open";
  association.command = "\"%InstallDir%\\p.exe\" \"%1\"";
  association.language = "English";
  association.icon = "%InstallDir%\\p.exe,1";
  h.fileAssociations.Append(association);
  UninstallData value;
  value.name = "HelpLink";
  value.type = 2;
  value.value = "%InstallDir%\\help";
  h.uninstallValues.Append(value);

  plan.languages.names.Append(String("English"));
  plan.languages.names.Append(String("Deutsch"));
  for (int id = 0; id < 3; ++id) {
    Vector<String> row;
    row.Append(String::Formatted("english %d", id));
    row.Append(String::Formatted("deutsch %d", id));
    plan.languages.texts.Append(row);
  }

  storage = {std::string("first file data"), std::string(), std::string(3000, 'x') + "tail",
             std::string("\0\x01\x02\x03\xFF", 5)};
  const uint32_t kinds[] = {0, 1, 5, 7};
  const uint32_t flags[] = {0x3, 0x20, 0x42, 0xC};
  const char* names[] = {"bin\\first.exe", "shared.dll", "docs\\long.txt", "com.dll"};
  plan.files.SetSize(4);
  for (int i = 0; i < 4; ++i) {
    FileEntry& e = plan.files[i];
    e.name = names[i];
    e.destinationKind = kinds[i];
    e.flags = flags[i];
    e.attributes = 0x21 + uint32_t(i);
    e.data = storage[size_t(i)].data();
    e.length = int32_t(storage[size_t(i)].size());
    e.stamp = Stamp(1999 + i, 1 + i, 10 + i, i, 2 * i, 3 * i);
    e.versionOrShortcutName = String::Formatted("shortcut or version %d", i);
    e.shortcutIcon = String::Formatted("icon%d.ico", i);
    e.shortcutArguments = String::Formatted("/arg%d", i);
    e.destinationText = i == 2 ? "%InstallDir%\\Docs\\" : "";
  }
  plan.level = 5;
  return plan;
}

// Reads an installer back; volumes come from `built`.
inline int ReadBack(const BuiltInstaller& built, InstallerReadback& out) {
  VolumeSource volumes = [&built](int number, String& contents) {
    if (number - 2 >= built.volumes.Count()) return false;
    contents = built.volumes[number - 2];
    return true;
  };
  return ReadInstallerBack(built.image, volumes, out);
}

inline String Build(const String& engine, const InstallerPlan& plan, BuiltInstaller& built) {
  String error;
  EXPECT_TRUE(BuildInstaller(engine, plan, built, error)) << error.CStr();
  return error;
}

}  // namespace archive_test
