// The order of an installation, from the language question to the last launch. Each step says
// when it runs; what it does inside belongs to the operation it calls.
#include "install/install_sequence.h"

#include "config/archive_text.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "install/associations.h"
#include "install/autoexec_path.h"
#include "install/background_picture.h"
#include "install/batch_commands.h"
#include "install/com_registration.h"
#include "install/data_block.h"
#include "install/deletions.h"
#include "install/existing_installation.h"
#include "install/file_rules.h"
#include "install/install_log.h"
#include "install/install_records.h"
#include "install/install_state.h"
#include "install/install_texts_for_testing.h"
#include "install/installer_archive.h"
#include "install/product_keys.h"
#include "install/shared_counts.h"
#include "install/shortcuts.h"
#include "install/uninstall_data.h"
#include "install/uninstall_registration.h"
#include "platform/directories.h"
#include "platform/os_identity.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/run_process.h"
#include "platform/shell.h"
#include "platform/shell_link.h"
#include "platform/shell_session.h"
#include "ui/choose_install_dir.h"
#include "ui/language_dialog.h"
#include "ui/messages.h"
#include "ui/progress_dialog.h"
#include "ui/progress_steps.h"
#include "ui/text_dialogs.h"
#include "ui/ui_seam.h"
#include "ui/windows.h"

namespace {

constexpr unsigned kWelcomeStyle = MB_YESNO | MB_ICONINFORMATION;  // 0x44
constexpr unsigned kQuestionStyle = MB_YESNO | MB_ICONQUESTION;    // 0x24
constexpr char kMasterDirectory[] = "<master>";

bool Has(ProductFlag flag) { return HasFlag(ProductFlags, flag); }

bool AnsweredYes(HWND owner, StringId text, StringId title, unsigned style) {
  return ShowMessageBox(owner, LookupString(text).CStr(), LookupString(title).CStr(), style) ==
         IDYES;
}

// Step 2: a package may refuse the running system.
void CheckOperatingSystem() {
  if ((InstallerHeader.unsupportedSystems & uint32_t(OsKind())) == 0) return;
  ReportError("%s", FormatArchiveText(StringId::kUnsupportedSystem, {OsVersionText()}).CStr());
  ExitInstaller();
}

// Step 3: a package that extends a master product needs it installed, and may install into it.
void CheckMasterProduct() {
  if (!Has(ProductFlag::kExtendsMasterProduct)) return;
  String name =
      InstallerHeader.masterProduct.IsBlank() ? ProductName : InstallerHeader.masterProduct;
  String location;
  if (!FindInstalledProduct(name.CStr(), &location)) {
    ReportError("%s", FormatArchiveText(StringId::kMasterProductMissing, {name}).CStr());
    ExitInstaller();
  }
  if (DefaultInstallDir.Compare(kMasterDirectory, false) == 0) DefaultInstallDir = location;
}

// Step 5.
void AskWelcome() {
  if (AutomaticMode) return;
  if (!AnsweredYes(BackgroundWindow, StringId::kWelcome, StringId::kWelcomeTitle, kWelcomeStyle))
    ExitInstaller();
}

// The head of the question before installing over an existing installation.
StringId ReinstallHead(const ExistingInstallation& existing) {
  if (!Has(ProductFlag::kCompareVersions) || existing.version.IsBlank() || DisplayVersion.IsBlank())
    return StringId::kReinstallHead;
  int order = CompareVersionText(existing.version.CStr(), DisplayVersion.CStr());
  if (order == 0) return StringId::kReinstallSameVersionHead;
  return order < 0 ? StringId::kReinstallOlderVersionHead : StringId::kReinstallNewerVersionHead;
}

// Step 8.1: over an existing installation the directory is the installed one. Returns only when
// the installation may go on.
void ReuseExistingInstallation(const ExistingInstallation& existing) {
  if (Has(ProductFlag::kRefuseOverExisting)) {
    AutomaticMode = false;  // this message shows even in automatic mode
    ReportError("%s", LookupString(StringId::kAlreadyInstalled).CStr());
    ExitInstaller();
  }
  if (!AutomaticMode && !Has(ProductFlag::kNoReinstallQuestion)) {
    String text = LookupString(ReinstallHead(existing)) + "\r\n" + existing.location + "\r\n\r\n" +
                  LookupString(StringId::kReinstallTail);
    if (ShowMessageBox(MessageOwner(), text.CStr(), LookupString(StringId::kReinstallTitle).CStr(),
                       kQuestionStyle) != IDYES)
      ExitInstaller();
  }
  InstallDir = existing.location;
  Reinstall = true;
}

// Step 8.
void ChooseDirectory(const ExistingInstallation& existing) {
  if (Has(ProductFlag::kRegisterUninstall) && existing.exists) {
    ReuseExistingInstallation(existing);
    return;
  }
  if (InstallDir.IsEmpty()) InstallDir = DefaultInstallDir;
  ChooseInstallDir(OwnArchivePrologue.fileLengths);
}

// Step 19: what makes the product visible to the user and the shell, then the uninstaller and
// its records.
void RegisterProduct() {
  CreateShortcuts();
  SaveBackgroundPicture();
  CreateProductKeys();
  RegisterAssociations();
  if (Has(ProductFlag::kAddToPath)) ErrorSummary += EditAutoexecPath(true);
  if (Has(ProductFlag::kRegisterUninstall)) {
    WriteUninstaller();
    RegisterUninstall();
  }
}

// Step 21.
void WriteUninstallRecords() {
  if (Has(ProductFlag::kRegisterUninstall) && !WriteUninstallData())
    AppendFailure(ErrorSummary, JoinPath(UninstallDir, String("Uninstall.DAT")));
}

// Step 27: only a package that needs a restart asks, and in automatic mode it restarts.
bool RebootWanted() {
  if (!Has(ProductFlag::kRebootRequired)) return false;
  if (AutomaticMode) return true;
  return AnsweredYes(BackgroundWindow, StringId::kRebootQuestion, StringId::kSetupTitle,
                     kQuestionStyle);
}

}  // namespace

void RunInstallSequence() {
  ChooseLanguage();
  CheckOperatingSystem();
  CheckMasterProduct();
  ExistingInstallation existing;
  if (Has(ProductFlag::kRegisterUninstall)) existing = FindExistingInstallation();
  AskWelcome();
  ShowLicenseAndReadmeTexts(InstallerHeader.licenseTexts, InstallerHeader.readmeTexts);
  ChooseDirectory(existing);
  RunBatchCommands(InstallDir, Has(ProductFlag::kPreInstallBatchHidden),
                   InstallerHeader.preInstallBatch);

  CreateProgressDialog();
  ShowProgressStep(StringId::kStartStage, 2);
  AssembleDataBlock();
  UninstallDir = JoinPath(InstallDir, UninstallSubdir);
  if (!UninstallSubdir.IsEmpty()) CreateDirectoryPath(UninstallDir);
  CarryOutDeletions(InstallerHeader.deletionSpecs);
  if (InstallFiles()) BroadcastFontChange();
  SetProgressPosition(87);
  if (Has(ProductFlag::kRegisterUninstall)) UpdateSharedFileCounts(Reinstall, existing.sharedFiles);
  RegisterComServers();
#ifdef QUORVEX_TEST_SEAM
  WriteInstallTextsForTesting();
#endif
  WaitForStageDelay();
  ShowProgressStep(StringId::kShortcutsStage, 90);
  RegisterProduct();
  WaitForStageDelay();
  ShowProgressStep(StringId::kDoneStage, 100);
  WriteUninstallRecords();
  RunBatchCommands(InstallDir, Has(ProductFlag::kPostInstallBatchHidden),
                   InstallerHeader.postInstallBatch);
  if (DesktopShortcutRequested) RefreshDesktop(InstallerHeader.shortcutMode == 1);
  WaitForStageDelay();
  DestroyProgressDialog();

  if (!LaunchOnExit.IsEmpty())
    InstallLog += String::Formatted("Launch on exit: %s\r\n", LaunchOnExit.CStr());
  FinishInstallLog(ErrorSummary, Reinstall, true);
  bool reboot = RebootWanted();
  RunBatchCommands(InstallDir, Has(ProductFlag::kFinalBatchHidden), InstallerHeader.finalBatch);
  RemoveDirectoryIfEmpty(SharedPath);
  RemoveDirectoryIfEmpty(UninstallDir);
  RemoveDirectoryIfEmpty(InstallDir);
  if (reboot) {
    RestartSystem(RestartKind::kReboot, false);
  } else if (ErrorSummary.IsEmpty() && !LaunchOnExit.IsEmpty()) {
    RunProcess(LaunchOnExit.CStr(), 0, nullptr);
  }
  ExitInstaller();
}
