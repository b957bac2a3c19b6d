#include "tools/qorv/default_strings.h"

#include "config/formatted_texts.h"

namespace {

// "<product>" is replaced by the product name and "<os>" by the Windows folder when a text is
// shown. Line breaks may be bare LF: the builder writes them as CR LF. The ids the engine formats
// with arguments (null here) take the engine's own built-in texts, which it falls back to.
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
    /* 10 */ nullptr,
    /* 11 */ "Setup will install <product> into the folder below. "
             "To use another folder, type its name or click Browse.",
    /* 12 */ nullptr,
    /* 13 */ nullptr,
    /* 14 */ "The folder name is not valid:",
    /* 15 */ "Uninstall Complete",
    /* 16 */ nullptr,
    /* 17 */ nullptr,
    /* 18 */ nullptr,
    /* 19 */ nullptr,
    /* 20 */ "<product> Setup",
    /* 21 */ "Setup Error",
    /* 22 */ nullptr,
    /* 23 */ nullptr,
    /* 24 */ "Installation Folder",
    /* 25 */ "This folder could not be created:",
    /* 26 */ nullptr,
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
    /* 38 */ nullptr,
    /* 39 */ "Installing <product>",
    /* 40 */ nullptr,
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
    /* 56 */ nullptr,
    /* 57 */ "Remove Font",
    /* 58 */ "Could not remove",
    /* 59 */ nullptr,
    /* 60 */ "",
    /* 61 */ nullptr,
    /* 62 */ "Checking the installer...",
    /* 63 */ "",
    /* 64 */ "",
    /* 65 */ "Welcome",
    /* 66 */ nullptr,
    /* 67 */ "Removing fonts...",
    /* 68 */ "Removing files...",
    /* 69 */ "Removing registry entries...",
    /* 70 */ "Finishing...",
    /* 71 */ "Removing <product>",
};

}  // namespace

const char* DefaultEnglishString(int id) {
  if (id < 0 || id >= kDefaultStringCount) return "";
  if (const FormattedTextId* formatted = FindFormattedText(id)) return formatted->builtIn;
  return kEnglish[id];
}
