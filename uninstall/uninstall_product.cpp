// The uninstall sequence. Each step says when it runs; what it does inside belongs to the
// operation it calls. Failures before the question touch nothing; later ones are collected in
// one error text, and any error text keeps the records and the Uninstall entry for another run.
#include "uninstall/uninstall_product.h"

#include "config/archive_text.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "install/autoexec_path.h"
#include "install/batch_commands.h"
#include "install/install_records.h"
#include "install/uninstall_data.h"
#include "platform/deferred_replace.h"
#include "platform/delete_tree.h"
#include "platform/directories.h"
#include "platform/file.h"
#include "platform/file_attributes.h"
#include "platform/path_text.h"
#include "platform/registry.h"
#include "platform/registry_locations.h"
#include "platform/shell.h"
#include "ui/background_picture.h"
#include "ui/background_window.h"
#include "ui/messages.h"
#include "ui/progress_dialog.h"
#include "ui/progress_steps.h"
#include "ui/ui_seam.h"
#include "ui/windows.h"
#include "uninstall/association_removal.h"
#include "uninstall/folder_removal.h"
#include "uninstall/font_removal.h"
#include "uninstall/product_key.h"
#include "uninstall/shared_file_removal.h"
#include "uninstall/uninstall_data_reader.h"

namespace {

constexpr unsigned kQuestionStyle = MB_YESNO | MB_ICONQUESTION;  // 0x24
constexpr unsigned kStepMinimumMs = 500;
// How many folders one recorded folder and the Start-menu folder may take with them.
constexpr int kFolderLevels = 20;
constexpr char kBackgroundPictureFile[] = "Installer Background.BMP";
constexpr char kUninstallDataFile[] = "Uninstall.DAT";
constexpr char kInstallLogFile[] = "Install.LOG";

bool Has(ProductFlag flag) { return HasFlag(ProductFlags, flag); }

// Whether name can be a product's key below the Uninstall key: a name with an empty part (a
// leading, trailing or doubled backslash) would lead to the Uninstall key itself or to another
// product's.
bool IsProductKeyName(const String& name) {
  return !name.IsBlank() && !name.StartsWithChar('\\') && !name.EndsWithChar('\\') &&
         name.Find("\\\\") < 0;
}

// The whole file; empty when it is missing or cannot be read.
String ReadWholeFile(const String& path) {
  String text;
  File file;
  if (file.Open(path, OpenMode::kReadShared) == 0) file.ReadAll(text);
  return text;
}

// The [Strings] texts become the first language's entries of StringTable, the table growing
// as far as the highest id.
void LoadUninstallTexts(const Array<UninstallText>& texts) {
  for (int i = 0; i < texts.Count(); ++i) {
    const UninstallText& entry = texts[i];
    if (StringTable.Count() <= entry.id) StringTable.Resize(entry.id + 1);
    Vector<String>& row = StringTable[entry.id];
    if (row.Count() < 1) row.Resize(1);
    row[0] = entry.text;
  }
}

// The settings of step 3 that later steps read, and the state of one run.
struct Removal {
  String name;
  Registry entry;  // the product's Uninstall key, open from step 2 to step 21
  String productFonts;
  int shortcutMode = 0;
  UninstallDataSections sections;
  Array<AssociationRecord> associations;
  String errors;
};

// Steps 1 to 3. False, with the error box shown, when the entry is missing, cannot be opened
// or names no install location.
bool ReadUninstallEntry(Removal& run) {
  String key = JoinPath(kUninstallKey, run.name);
  if (!IsProductKeyName(run.name) || !Registry::SoftwareKeyExists(key.CStr(), false)) {
    ReportError("No product named '%s' is installed.", run.name.CStr());
    return false;
  }
  if (run.entry.OpenSoftware(key.CStr(), false, 0) == OpenResult::Failed) {
    ReportError(
        "Unable to access the uninstall information for:\r\n%s\r\n\r\nThe uninstallation "
        "cannot be performed.",
        ProductName.CStr());
    return false;
  }
  Registry& entry = run.entry;
  ProductName = entry.ReadString("DisplayName", "");
  if (ProductName.IsBlank()) ProductName = run.name;
  InstallDir = entry.ReadString("InstallLocation", "");
  if (InstallDir.IsBlank()) {
    ReportError(
        "The uninstall information for %s is corrupt.\r\n\r\nThe uninstallation cannot be "
        "performed.",
        ProductName.CStr());
    return false;
  }
  ProductFlags = uint64_t(entry.ReadString("ProductFlags", "").ToInt64());
  DisplayTitle = entry.ReadString("DisplayTitle", "");
  TitleColor = uint32_t(entry.ReadInt("TitleColor", int32_t(GetSysColor(COLOR_WINDOWTEXT))));
  TitleShadow = uint8_t(entry.ReadInt("TitleShadow", 1));
  TopColor = uint32_t(entry.ReadInt("TopColor", int32_t(GetSysColor(COLOR_WINDOW))));
  BottomColor = uint32_t(entry.ReadInt("BottomColor", 0));
  MonoColor = entry.ReadBool("MonoColor", true);
  UninstallSubdir = entry.ReadString("UninstallSubdir", "");
  run.productFonts = entry.ReadString("ProductFonts", "");
  run.shortcutMode = uint8_t(entry.ReadInt("ShortcutMode", 0));
  if (Has(ProductFlag::kAutomaticUninstall)) AutomaticMode = true;
  FullScreenBackground = Has(ProductFlag::kFullScreenBackground);
  return true;
}

// Step 4.
void ShowBackground() {
  if (Has(ProductFlag::kKeepBackgroundForUninstaller))
    LoadBackgroundPictureFile(ReadWholeFile(RecordPath(kBackgroundPictureFile)));
  if (!Has(ProductFlag::kNoBackgroundWindow)) CreateBackgroundWindow(InstanceHandle, nullptr);
}

// Steps 5 to 8.
void ReadUninstallData(Removal& run) {
  run.sections = SplitUninstallData(ReadWholeFile(RecordPath(kUninstallDataFile)));
  run.associations = ReadAssociationRecords(run.sections.associationLines);
  LoadUninstallTexts(ReadUninstallTexts(run.sections.stringsSection));
}

// Step 9: any answer but Yes ends the program.
void Confirm() {
  if (AutomaticMode) return;
  if (ShowMessageBox(MessageOwner(), LookupString(StringId::kUninstallQuestion).CStr(),
                     LookupString(StringId::kUninstallProgressTitle).CStr(),
                     kQuestionStyle) != IDYES)
    ExitInstaller();
}

// Step 10.
void RunFirstBatch(Removal& run) {
  String batch = run.entry.ReadString("UninstallBatch1", "");
  if (batch.IsEmpty()) return;
  RunBatchCommands(InstallDir, Has(ProductFlag::kUninstallBatch1Hidden), batch);
  run.entry.DeleteValue("UninstallBatch1");
}

// Step 11.
void RemoveAssociations(const Removal& run) {
  if (run.associations.Count() == 0) return;
  ShowProgressStep(StringId::kUninstallDoneStage, 1);
  String backupName = ProductName + " Backup";
  for (int i = 0; i < run.associations.Count(); ++i)
    RemoveAssociation(run.associations[i], backupName);
  WaitStepMinimum(kStepMinimumMs);
}

// Step 12.
void RemoveFonts(Removal& run) {
  if (run.productFonts.IsEmpty()) return;
  ShowProgressStep(StringId::kUninstallFilesStage, 5);
  int removed = RemoveProductFonts(run.productFonts, Has(ProductFlag::kAskBeforeRemovingFonts));
  run.entry.SetString("ProductFonts", String(), RegDeleteIfEmpty);
  if (removed > 0) BroadcastFontChange();
  WaitStepMinimum(kStepMinimumMs);
}

// Step 13: files now, folders collected for step 14, class keys now. A file that stays is
// recorded again for the new Uninstall.DAT. Only absolute paths are taken: a relative one would
// name a file in whatever the current directory happens to be.
void RemoveRecordedFiles(Removal& run, Array<String>& folders) {
  StartStepTimer();
  RecordInstalledPathReset();
  Array<String> lines;
  String rest = run.sections.fileList;
  while (!rest.IsEmpty()) lines.Append(rest.TakeLine());
  for (int i = 0; i < lines.Count(); ++i) {
    const String& line = lines[i];
    if (line.IsEmpty()) continue;
    if (line.StartsWithChar('~')) {
      folders.Append(line.Substring(1));
    } else if (line.StartsWithChar('!')) {
      Registry classes;
      classes.DeleteKeyPath(HKEY_CLASSES_ROOT, line.Substring(1).CStr(), 0);
    } else if (IsAbsolutePath(line)) {
      SetProgressPosition(10 + int(80.0 * i / lines.Count()));
      SetProgressStatus(line);
      if (FileExists(line) && !DeleteFileOrSchedule(line.CStr(), 0)) {
        run.errors.AppendFormat("%s %s\r\n", LookupString(StringId::kCannotRemoveFile).CStr(),
                                line.CStr());
        RecordInstalledPath(line, RecordKind::kFile);
      }
    }
  }
}

int LongestFirst(const String& a, const String& b) { return b.Length() - a.Length(); }

// Step 14.
void RemoveRecordedFolders(Array<String>& folders) {
  folders.Sort(LongestFirst);
  for (int i = 0; i < folders.Count(); ++i) {
    if (!IsAbsolutePath(folders[i])) continue;
    SetProgressStatus(folders[i]);
    RemoveEmptyFolders(folders[i], InstallDir, kFolderLevels);
  }
}

// Step 15: the new Uninstall.DAT lists what stayed, for another run.
void RewriteRecords(const Removal& run) {
  WaitStepMinimum(kStepMinimumMs);
  ShowProgressStep(StringId::kUninstallSharedStage, 90);
  DeleteFileOrSchedule(RecordPath(kInstallLogFile).CStr(), 0);
  AssociationLines = run.sections.associationLines;
  WriteUninstallData();
  RecordInstalledPathReset();
}

// Step 16. The Programs folder itself, and what lies above it, always stay.
void RemoveStartMenuFolder(Removal& run) {
  String programs = run.shortcutMode == 1 ? StartMenuProgramsAllDir() : StartMenuProgramsDir();
  String startMenu = run.entry.ReadString("ProductStartMenu", "");
  if (startMenu.IsBlank()) return;
  RemoveEmptyFolders(JoinPath(programs, startMenu), programs, kFolderLevels);
}

// Step 18.
void RemoveProductKeys(Removal& run) {
  RemoveDirectoryIfEmpty(SharedPath);
  WaitStepMinimum(kStepMinimumMs);
  ShowProgressStep(StringId::kUninstallRegistryStage, 95);
  String productKey = run.entry.ReadString("ProductRegistry", "");
  if (!productKey.IsEmpty()) {
    DeleteProductKey(productKey, false);
    DeleteProductKey(productKey, true);
    run.entry.DeleteValue("ProductRegistry");
  }
  WaitStepMinimum(kStepMinimumMs);
}

// Step 20, only after a removal without failures.
void RemoveRecords(Removal& run) {
  DeleteFileOrSchedule(RecordPath(kUninstallDataFile).CStr(), 0);
  if (Has(ProductFlag::kAddToPath)) ReportError("%s", EditAutoexecPath(false).CStr());
  String batch = run.entry.ReadString("UninstallBatch2", "");
  // The install directory may be gone by now: the batch runs in its drive's root.
  RunBatchCommands(DriveRoot(InstallDir), Has(ProductFlag::kUninstallBatch2Hidden), batch);
  run.entry.DeleteValue("UninstallBatch2");
  Registry uninstall;
  uninstall.DeleteSoftwareSubKey(kUninstallKey, run.name.CStr(), false, 0);
}

// Step 22.
void ShowOutcome(const Removal& run) {
  if (AutomaticMode) return;
  if (run.errors.IsEmpty()) {
    ShowMessageBox(BackgroundWindow, LookupString(StringId::kUninstallComplete).CStr(),
                   LookupString(StringId::kUninstallCompleteTitle).CStr(), MB_ICONINFORMATION);
    return;
  }
  ShowMessageBox(BackgroundWindow,
                 FormatArchiveText(StringId::kUninstallErrors, {run.errors}).CStr(),
                 LookupString(StringId::kSetupTitle).CStr(), MB_ICONEXCLAMATION);
}

}  // namespace

bool UninstallProduct(const String& name) {
  Removal run;
  run.name = name;
  if (!ReadUninstallEntry(run)) return false;
  ShowBackground();
  ReadUninstallData(run);
  Confirm();

  CreateProgressDialog();
  SharedPath = run.entry.ReadString("SharedPath", "");
  RunFirstBatch(run);
  RemoveAssociations(run);
  RemoveFonts(run);
  Array<String> folders;
  RemoveRecordedFiles(run, folders);
  RemoveRecordedFolders(folders);
  RewriteRecords(run);
  RemoveStartMenuFolder(run);
  String sharedFiles = run.entry.ReadString("SharedFiles", "");
  if (!sharedFiles.IsEmpty())
    RemoveSharedFiles(sharedFiles, Has(ProductFlag::kAskBeforeRemovingSharedFiles), run.errors);
  RemoveProductKeys(run);
  // The guard of DeleteTree keeps a drive root, Program Files and the Windows directory in
  // any spelling; files in use stay.
  if (Has(ProductFlag::kRemoveWholeInstallDir)) DeleteTree(InstallDir);
  if (run.errors.IsEmpty()) RemoveRecords(run);

  run.entry.Close();
  DestroyProgressDialog();
  ShowOutcome(run);
  return run.errors.IsEmpty();
}
