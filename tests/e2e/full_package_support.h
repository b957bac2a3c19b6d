// A package that uses every feature of an installation's records: shortcuts of every kind into
// the archive's desktop folder, one kept after removal, the uninstaller's three shortcuts, a
// background picture kept for the uninstaller, product keys, associations with and without a
// type (one over an existing type, one for another language), extra Uninstall values of each
// type, the PATH line, and shared, font and COM files when the test brings them. Installed
// with /a /d:"<scratch>\Full Product" by the tests of the installation and of its removal.
#pragma once

#include <windows.h>

#include <string>

#include "archive/product_flags.h"
#include "tests/e2e/archive_e2e_support.h"
#include "tests/e2e/file_rules_e2e_support.h"
#include "tests/win32/registry_test_support.h"

namespace full_package {

inline constexpr char kProduct[] = "Quorvex Full Package";
inline constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvex Full Package";
inline constexpr char kProductRegistry[] = "Quorvex Tests\\Full Package";
inline constexpr char kStartMenu[] = "Quorvex Tests\\Full Package";
inline constexpr char kDesktopFolder[] = "Quorvex Full Tools";
inline constexpr char kUninstallSubdir[] = "Uninstall";
inline constexpr char kUninstallerName[] = "Uninstall Full.exe";

// The associations' keys under HKEY_CLASSES_ROOT.
inline constexpr char kOwnExtension[] = ".qfa";  // with its own type
inline constexpr char kOwnType[] = "QuorvexFull.Document";
inline constexpr char kExistingExtension[] = ".qfb";  // no type: extends the one it names
inline constexpr char kExistingType[] = "QuorvexFull.Existing";
inline constexpr char kReplacedExtension[] = ".qfc";  // its own type over another one
inline constexpr char kReplacedType[] = "QuorvexFull.Replacing";
inline constexpr char kOldType[] = "QuorvexFull.Old";
inline constexpr char kUnknownExtension[] = ".qfz";  // no type, not registered
inline constexpr char kEmptyExtension[] = ".qfy";    // no type, its key names none
inline constexpr char kOtherLanguageExtension[] = ".qfx";

inline constexpr char kAppData[] = "the application\r\n";
inline constexpr char kHelperData[] = "the helper\r\n";
inline constexpr char kKeptData[] = "a kept tool\r\n";
inline constexpr char kIconData[] = "an icon\r\n";
inline constexpr char kSharedData[] = "a shared library\r\n";

// A 2x2 picture, 24 bits a pixel, rows padded to 8 bytes: the information header and pixels.
inline std::string BackgroundBitmap() {
  std::string bytes(40, '\0');
  auto put = [&](int at, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes[size_t(at + i)] = char((value >> (8 * i)) & 0xFF);
  };
  put(0, 40, 4);
  put(4, 2, 4);
  put(8, 2, 4);
  put(12, 1, 2);
  put(14, 24, 2);
  bytes += std::string("\x10\x20\x30\x40\x50\x60\0\0\x70\x80\x90\xA0\xB0\xC0\0\0", 16);
  return bytes;
}

// Files of the test's own (empty: that entry is left out). They must outlive the plan.
struct Fixtures {
  std::string font;       // a font file, installed as "Quorvex Full Font"
  std::string comServer;  // a DLL whose DllRegisterServer the installation calls
};

// Wine's own Courier as the font, and the test COM server built beside the test programs.
inline Fixtures FontAndComServer() {
  return {file_test::ReadBytes("Z:\\usr\\share\\wine\\fonts\\courier.ttf"),
          file_test::ReadBytes(file_test::BesideTests("quorvex_com_server.dll"))};
}

// The entry keeps a pointer to data, which must outlive the plan.
inline FileEntry& AddFile(InstallerPlan& plan, const char* name, const char* data, int32_t length,
                          uint32_t kind, uint32_t flags) {
  FileEntry& file = plan.files.AppendDefault();
  file.name = name;
  file.data = data;
  file.length = length;
  file.destinationKind = kind;
  file.flags = flags;
  return file;
}
inline FileEntry& AddFile(InstallerPlan& plan, const char* name, const char* text, uint32_t kind,
                          uint32_t flags) {
  return AddFile(plan, name, text, int32_t(strlen(text)), kind, flags);
}
inline FileEntry& AddFile(InstallerPlan& plan, const char* name, const std::string& bytes,
                          uint32_t kind, uint32_t flags) {
  return AddFile(plan, name, bytes.data(), int32_t(bytes.size()), kind, flags);
}

inline FileAssociation& AddAssociation(InstallerPlan& plan, const char* extension, const char* type,
                                       const char* verb) {
  FileAssociation& association = plan.header.fileAssociations.AppendDefault();
  association.extension = extension;
  association.fileType = type;
  association.verb = verb;
  association.verbText = "&Open with Full";
  association.command = "\"%InstallDir%\\app.exe\" \"%1\"";
  return association;
}

inline void AddUninstallValue(InstallerPlan& plan, const char* name, uint8_t type,
                              const char* value) {
  UninstallData& data = plan.header.uninstallValues.AppendDefault();
  data.name = name;
  data.type = type;
  data.value = value;
}

// Fills plan with the package; scratch is the test's folder (the installer goes beside it).
inline void FillFullPackage(InstallerPlan& plan, const std::string& scratch,
                            const Fixtures& fixtures) {
  (void)scratch;
  plan = archive_e2e::SmallPlan();
  plan.files = Vector<FileEntry>();
  ArchiveHeader& header = plan.header;
  header.productName = kProduct;
  header.publisher = "Quorvex Tests";
  header.displayVersion = "2.5.1";
  header.volumeBase = "Full";
  header.uninstallerName = kUninstallerName;
  header.uninstallSubdir = kUninstallSubdir;
  header.productStartMenu = kStartMenu;
  header.productRegistry = kProductRegistry;
  header.desktopFolder = kDesktopFolder;
  header.uninstallerStamp = FileStamp{2004, 6, 7, 8, 9, 10};
  header.titleColor = 0x00203040;
  header.topColor = 0x00800000;
  header.bottomColor = 0x00000080;
  header.titleShadow = 2;
  header.backgroundBitmap = String(BackgroundBitmap().data(), int(BackgroundBitmap().size()));
  header.uninstallBatch1 = "echo before removal";
  header.uninstallBatch2 = "echo after removal";
  for (ProductFlag flag :
       {ProductFlag::kRegisterUninstall, ProductFlag::kUninstallerStartMenuShortcut,
        ProductFlag::kUninstallerDesktopShortcut, ProductFlag::kUninstallerShortcutInUninstallDir,
        ProductFlag::kAlwaysWriteLog, ProductFlag::kLogEveryFile, ProductFlag::kAddToPath,
        ProductFlag::kKeepBackgroundForUninstaller, ProductFlag::kCustomColours})
    header.productFlags |= FlagMask(flag);

  FileEntry& app =
      AddFile(plan, "app.exe", kAppData, 0, kFileDesktopShortcut | kFileStartMenuShortcut);
  app.versionOrShortcutName = "Full App";
  app.shortcutIcon = "full.ico";
  app.shortcutArguments = "/data \"%InstallDir%\\data\"";
  AddFile(plan, "full.ico", kIconData, 0, kFileToUninstallDir);
  AddFile(plan, "helper.exe", kHelperData, 5, 0).versionOrShortcutName = "Full Helper";
  AddFile(plan, "kept.exe", kKeptData, 0, kFileDesktopShortcut | kFileNotRecorded);
  AddFile(plan, "fullshared.dll", kSharedData, 1, 0);
  if (!fixtures.font.empty())
    AddFile(plan, "quorvexfull.ttf", fixtures.font, 4, 0).versionOrShortcutName =
        "Quorvex Full Font";
  if (!fixtures.comServer.empty()) AddFile(plan, "fullcom.dll", fixtures.comServer, 7, 0);

  FileAssociation& own = AddAssociation(plan, kOwnExtension, kOwnType, "open");
  own.options = 1;
  own.description = "Quorvex Full Document";
  own.icon = "%InstallDir%\\app.exe,0";
  AddAssociation(plan, kExistingExtension + 1, "", "fullview");  // without its period
  FileAssociation& replacing = AddAssociation(plan, kReplacedExtension, kReplacedType, "open");
  replacing.description = "Replacing Type";
  AddAssociation(plan, kUnknownExtension, "", "open");
  AddAssociation(plan, kEmptyExtension, "", "open");
  AddAssociation(plan, kOtherLanguageExtension, "QuorvexFull.Other", "open").language = "Deutsch";

  AddUninstallValue(plan, "HelpLink", 1, "http://example.invalid/full");
  AddUninstallValue(plan, "FullBin", 2, "%InstallDir%\\bin");
  AddUninstallValue(plan, "EstimatedSize", 4, "1234");
}

// The classes the package's associations go over, as another program left them.
inline void PrepareExistingAssociations() {
  using registry_test::SetRawValue;
  auto text = [](const std::string& value) { return value + std::string(1, '\0'); };
  SetRawValue(HKEY_CLASSES_ROOT, kExistingExtension, "", REG_SZ, text(kExistingType));
  SetRawValue(HKEY_CLASSES_ROOT, kExistingType, "", REG_SZ, text("An Existing Type"));
  SetRawValue(HKEY_CLASSES_ROOT, kReplacedExtension, "", REG_SZ, text(kOldType));
  registry_test::CreateKey(HKEY_CLASSES_ROOT, kEmptyExtension);
}

// Removes every key the package or PrepareExistingAssociations makes.
inline void RemoveRegistryTraces() {
  using registry_test::DeleteKeyTree;
  for (const char* key : {kOwnExtension, kOwnType, kExistingExtension, kExistingType,
                          kReplacedExtension, kReplacedType, kOldType, kUnknownExtension,
                          kEmptyExtension, kOtherLanguageExtension, "QuorvexFull.Other"})
    DeleteKeyTree(HKEY_CLASSES_ROOT, key);
  DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
  DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Quorvex Tests");
  DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quorvex Tests");
}

// The folder of the package's shared files: its publisher's folder under Common Files.
inline std::string SharedDir() {
  return std::string(registry_test::GetRawValue(HKEY_LOCAL_MACHINE,
                                                "Software\\Microsoft\\Windows\\CurrentVersion",
                                                "CommonFilesDir")
                         .bytes.c_str()) +
         "\\Quorvex Tests";
}

// The package's files outside its own folder and what records them: the shared library, the
// font in the Fonts folder and the COM server in the system folder, their SharedDLLs counts and
// the font's name under the Fonts key. Tests that only install remove them afterwards.
inline void RemoveSystemTraces() {
  char windows[MAX_PATH] = "", system[MAX_PATH] = "";
  GetWindowsDirectoryA(windows, sizeof windows);
  GetSystemDirectoryA(system, sizeof system);
  const std::string font = std::string(windows) + "\\Fonts\\quorvexfull.ttf";
  RemoveFontResourceA(font.c_str());
  const std::string files[] = {SharedDir() + "\\fullshared.dll", font,
                               std::string(system) + "\\fullcom.dll"};
  HKEY counts = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                    0, KEY_SET_VALUE, &counts) == ERROR_SUCCESS) {
    for (const std::string& file : files) RegDeleteValueA(counts, file.c_str());
    RegCloseKey(counts);
  }
  for (const std::string& file : files) DeleteFileA(file.c_str());
  RemoveDirectoryA(SharedDir().c_str());
  HKEY fonts = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", 0,
                    KEY_SET_VALUE, &fonts) == ERROR_SUCCESS) {
    RegDeleteValueA(fonts, "Quorvex Full Font");
    RegCloseKey(fonts);
  }
}

}  // namespace full_package
