#include "tools/qorv/default_strings.h"

namespace {

// "<product>" is replaced by the product name and "<os>" by the Windows folder when a text is
// shown. Line breaks may be bare LF: the engine stores them as CR LF.
const char* const kEnglish[kDefaultStringCount] = {
    /* 0 */ "<product> Setup",
    /* 1 */ "This program installs <product> on your computer.\n\n"
            "It is best to close other programs before you go on.\n\nContinue with the installation?",
    /* 2 */ "<product> Is Already Installed",
    /* 3 */ "<product> is already installed on this computer.",
    /* 4 */ "This version of <product> is already installed on this computer.",
    /* 5 */ "An older version of <product> is installed on this computer.",
    /* 6 */ "A newer version of <product> is installed on this computer.",
    /* 7 */ "\n\nInstall this version over it?",
    /* 8 */ "Getting ready to install...",
    /* 9 */ "<product> is already installed. Uninstall it before installing this package again.",
    /* 10 */ "Some parts of <product> could not be removed:\n\n%s",
    /* 11 */ "Setup will install <product> into the folder below. "
             "To use another folder, type its name or click Browse.",
    /* 12 */ "This package needs %s, which is not installed on this computer.",
    /* 13 */ "This installer is damaged and cannot go on. Download it again or copy it from the "
             "original media, and check the computer for viruses if the problem persists.\n\n"
             "Error code: %d",
    /* 14 */ "The folder name is not valid:",
    /* 15 */ "Uninstall Complete",
    /* 16 */ "Drive %c: cannot be used. Choose a folder on another drive.",
    /* 17 */ "Please choose a folder, not the root of a drive.",
    /* 18 */ "Please choose a folder inside %s, not that folder itself.",
    /* 19 */ "The installation needs %s on drive %c:, but only %s is free.\n\n"
             "Install anyway?",
    /* 20 */ "<product> Setup",
    /* 21 */ "Setup Error",
    /* 22 */ "The folder %s already exists. Install into it anyway?",
    /* 23 */ "The folder %s does not exist yet. Create it?",
    /* 24 */ "Installation Folder",
    /* 25 */ "This folder could not be created:",
    /* 26 */ "Please insert disk %d into drive %c: and click OK.",
    /* 27 */ "Next Disk",
    /* 28 */ "Stop installing <product>?",
    /* 29 */ "Unpacking files...",
    /* 30 */ "That disk is not the one needed.",
    /* 31 */ "Could not write the file",
    /* 32 */ "Creating shortcuts and registry entries...",
    /* 33 */ "Uninstall <product>",
    /* 34 */ "<product> has been removed from your computer.",
    /* 35 */ "Remove Shared File",
    /* 36 */ "Installation complete.",
    /* 37 */ "Windows must restart to finish installing <product>. Restart now?",
    /* 38 */ "%s",
    /* 39 */ "Installing <product>",
    /* 40 */ "<product> has been installed.\n\nThe installation log is %s\n\nView it now?",
    /* 41 */ "Installation Complete",
    /* 42 */ "<product> has been installed, but some steps failed. The list follows.",
    /* 43 */ "Some steps of the installation failed.",
    /* 44 */ "Licence Agreement",
    /* 45 */ "I Agree",
    /* 46 */ "I Decline",
    /* 47 */ "Please read the licence below. To install <product> you must accept it.",
    /* 48 */ "OK",
    /* 49 */ "Cancel",
    /* 50 */ "Read Me",
    /* 51 */ "Please read the information below before you go on.",
    /* 52 */ "Browse...",
    /* 53 */ "Remove <product> and all of its parts from this computer?",
    /* 54 */ "<product> Setup",
    /* 55 */ "Uninstall <product>",
    /* 56 */ "Remove the font %s?",
    /* 57 */ "Remove Font",
    /* 58 */ "Could not remove",
    /* 59 */ "No other program seems to use the shared file %s any more. Remove it?",
    /* 60 */ "",
    /* 61 */ "<product> cannot be installed on %s.",
    /* 62 */ "Checking the installer...",
    /* 63 */ "",
    /* 64 */ "",
    /* 65 */ "Welcome",
    /* 66 */ "Network folders cannot be used. Please choose a folder on a local drive.",
    /* 67 */ "Removing fonts...",
    /* 68 */ "Removing files...",
    /* 69 */ "Removing registry entries...",
    /* 70 */ "Finishing...",
    /* 71 */ "Removing <product>",
};

}  // namespace

const char* DefaultEnglishString(int id) {
  if (id < 0 || id >= kDefaultStringCount) return "";
  return kEnglish[id];
}
