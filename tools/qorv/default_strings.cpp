#include "tools/qorv/default_strings.h"

#include "config/formatted_texts.h"

namespace {

// "<product>" is replaced by the product name and "<os>" by the Windows folder when a text is
// shown. Line breaks may be bare LF: the builder writes them as CR LF. The ids the engine formats
// with arguments are not here: they take the engine's own built-in texts, which it falls back to.
// Ids missing from both are empty (the language's own licence and read-me: none).
struct DefaultText {
  StringId id;
  const char* text;
};

constexpr DefaultText kEnglish[] = {
    {StringId::kDisplayTitle, "<product> Setup"},
    {StringId::kWelcome,
     "This program installs <product> on your computer.\n\n"
     "It is best to close other programs before you go on.\n\nContinue with the installation?"},
    {StringId::kReinstallTitle, "<product> Is Already Installed"},
    {StringId::kReinstallHead, "<product> is already installed on this computer."},
    {StringId::kReinstallSameVersionHead,
     "This version of <product> is already installed on this computer."},
    {StringId::kReinstallOlderVersionHead,
     "An older version of <product> is installed on this computer."},
    {StringId::kReinstallNewerVersionHead,
     "A newer version of <product> is installed on this computer."},
    {StringId::kReinstallTail, "\n\nInstall this version over it?"},
    {StringId::kStartStage, "Getting ready to install..."},
    {StringId::kAlreadyInstalled,
     "<product> is already installed. Uninstall it before installing this package again."},
    {StringId::kChooseDirText,
     "Setup will install <product> into the folder below. "
     "To use another folder, type its name or click Browse."},
    {StringId::kInvalidDirHead, "The folder name is not valid:"},
    {StringId::kUninstallCompleteTitle, "Uninstall Complete"},
    {StringId::kSetupTitle, "<product> Setup"},
    {StringId::kErrorTitle, "Setup Error"},
    {StringId::kDirectoryTitle, "Installation Folder"},
    {StringId::kCannotCreateDirHead, "This folder could not be created:"},
    {StringId::kInsertVolumeTitle, "Next Disk"},
    {StringId::kCancelQuestion, "Stop installing <product>?"},
    {StringId::kUnpackStage, "Unpacking files..."},
    {StringId::kWrongVolume, "That disk is not the one needed."},
    {StringId::kCannotWriteFileHead, "Could not write the file"},
    {StringId::kShortcutsStage, "Creating shortcuts and registry entries..."},
    {StringId::kUninstallerShortcutName, "Uninstall <product>"},
    {StringId::kUninstallComplete, "<product> has been removed from your computer."},
    {StringId::kSharedFileTitle, "Remove Shared File"},
    {StringId::kDoneStage, "Installation complete."},
    {StringId::kRebootQuestion,
     "Windows must restart to finish installing <product>. Restart now?"},
    {StringId::kInstallProgressLabel, "Installing <product>"},
    {StringId::kLogQuestionTitle, "Installation Complete"},
    {StringId::kLogErrors,
     "<product> has been installed, but some steps failed. The list follows."},
    {StringId::kLogErrorsTitle, "Some steps of the installation failed."},
    {StringId::kLicenceTitle, "Licence Agreement"},
    {StringId::kLicenceAccept, "I Agree"},
    {StringId::kLicenceDecline, "I Decline"},
    {StringId::kLicenceText,
     "Please read the licence below. To install <product> you must accept it."},
    {StringId::kOkCaption, "OK"},
    {StringId::kCancelCaption, "Cancel"},
    {StringId::kReadmeTitle, "Read Me"},
    {StringId::kReadmeText, "Please read the information below before you go on."},
    {StringId::kChooseDirBrowse, "Browse..."},
    {StringId::kUninstallQuestion, "Remove <product> and all of its parts from this computer?"},
    {StringId::kInstallProgressTitle, "<product> Setup"},
    {StringId::kUninstallProgressTitle, "Uninstall <product>"},
    {StringId::kFontQuestionTitle, "Remove Font"},
    {StringId::kCannotRemoveFile, "Could not remove"},
    {StringId::kCheckStage, "Checking the installer..."},
    {StringId::kWelcomeTitle, "Welcome"},
    {StringId::kUninstallFilesStage, "Removing fonts..."},
    {StringId::kUninstallSharedStage, "Removing files..."},
    {StringId::kUninstallRegistryStage, "Removing registry entries..."},
    {StringId::kUninstallDoneStage, "Finishing..."},
    {StringId::kUninstallProgressLabel, "Removing <product>"},
};

}  // namespace

const char* DefaultEnglishString(StringId id) {
  if (const FormattedTextId* formatted = FindFormattedText(id)) return formatted->builtIn;
  for (const DefaultText& entry : kEnglish) {
    if (entry.id == id) return entry.text;
  }
  return "";
}
