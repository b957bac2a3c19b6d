// The numeric ids of the language tables' texts. Each archive brings its own texts; what the
// engine fixes is which id serves which purpose and, for the texts it formats, the arguments
// they take (named after the id where there are any).
#pragma once

enum class StringId : int {
  kDisplayTitle = 0,               // the title on the background window
  kWelcome = 1,                    // the welcome question, before the licences
  kReinstallTitle = 2,             // title of the question before installing over a product
  kReinstallHead = 3,              // its head when versions are not compared
  kReinstallSameVersionHead = 4,   // ... when the installed version is the package's
  kReinstallOlderVersionHead = 5,  // ... when the installed version is older
  kReinstallNewerVersionHead = 6,  // ... when the installed version is newer
  kReinstallTail = 7,              // the question's tail
  kStartStage = 8,                 // progress stage: start of the installation
  kAlreadyInstalled = 9,           // the package refuses to install over an installation
  kUninstallErrors = 10,           // uninstaller: what could not be removed (%s)
  kChooseDirText = 11,             // directory dialog text
  kMasterProductMissing = 12,      // the master product is not installed (%s)
  kCorruptInstaller = 13,          // the corrupt-installer message (%d); empty: built in
  kInvalidDirHead = 14,            // above a directory name that is not valid
  kUninstallCompleteTitle = 15,    // uninstaller: title of the closing box
  kDriveUnavailable = 16,          // the chosen drive cannot be used (%c)
  kDriveRootRefused = 17,          // the chosen directory is a drive's root
  kProgramFilesRefused = 18,       // the chosen directory is the Program Files folder (%s)
  kLowDiskSpace = 19,              // not enough free space (%s, %c, %s)
  kSetupTitle = 20,                // title of the free-space, reboot and cancel questions
  kErrorTitle = 21,                // title of non-fatal error boxes; empty: "Error"
  kConfirmExistingDir = 22,        // install into an existing directory? (%s)
  kConfirmNewDir = 23,             // create the directory? (%s)
  kDirectoryTitle = 24,            // title of that confirmation; a directory dialog text
  kCannotCreateDirHead = 25,       // above a directory that cannot be created
  kInsertVolume = 26,              // insert an archive volume (%d, %c)
  kInsertVolumeTitle = 27,         // title of that prompt
  kCancelQuestion = 28,            // stop the installation?
  kUnpackStage = 29,               // progress stage: unpacking the data block
  kWrongVolume = 30,               // put before the prompt when the volume was wrong
  kCannotWriteFileHead = 31,       // above a file that cannot be written
  kShortcutsStage = 32,            // progress stage: shortcuts and registry entries
  kUninstallerShortcutName = 33,   // the uninstaller's shortcut
  kUninstallComplete = 34,         // uninstaller: the closing box
  kSharedFileTitle = 35,           // uninstaller: title of the shared-file question
  kDoneStage = 36,                 // progress stage at 100 %
  kRebootQuestion = 37,            // restart now?
  kDefaultShortcutName = 38,       // a shortcut's default name (%s: the file name)
  kInstallProgressLabel = 39,      // the progress window's label when installing
  kLogQuestion = 40,               // view the installation log? (%s: its path)
  kLogQuestionTitle = 41,          // its title
  kLogErrors = 42,                 // the installation log after errors
  kLogErrorsTitle = 43,            // its title
  kLicenceTitle = 44,              // licence dialog texts
  kLicenceAccept = 45,
  kLicenceDecline = 46,
  kLicenceText = 47,
  kOkCaption = 48,      // the OK / continue button
  kCancelCaption = 49,  // the Cancel button
  kReadmeTitle = 50,    // read-me dialog texts
  kReadmeText = 51,
  kChooseDirBrowse = 52,         // directory dialog text
  kUninstallQuestion = 53,       // uninstaller: remove the product?
  kInstallProgressTitle = 54,    // the progress window's title when installing
  kUninstallProgressTitle = 55,  // ... when uninstalling; the uninstall question's title
  kFontQuestion = 56,            // uninstaller: remove this font? (%s)
  kFontQuestionTitle = 57,
  kCannotRemoveFile = 58,     // uninstaller: a file that stays
  kSharedFileQuestion = 59,   // uninstaller: remove this shared file? (%s)
  kUnsupportedSystem = 61,    // the operating system is not supported (%s)
  kCheckStage = 62,           // progress stage: checking the data block
  kLanguageLicence = 63,      // the language's own licence text; blank: none
  kLanguageReadme = 64,       // the language's own read-me text; blank: none
  kWelcomeTitle = 65,         // title of the welcome question
  kNetworkPathRefused = 66,   // network paths are not allowed as install directory
  kUninstallFilesStage = 67,  // uninstaller progress stages
  kUninstallSharedStage = 68,
  kUninstallRegistryStage = 69,
  kUninstallDoneStage = 70,
  kUninstallProgressLabel = 71,  // the progress window's label when uninstalling
};

// The number of ids that the engine gives a purpose: 0 up to the last one above.
inline constexpr int kStringIdCount = 72;
