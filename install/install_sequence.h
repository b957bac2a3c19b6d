#pragma once

// The installation after start-up has read the archive: the questions and dialogs, the checks,
// the data block and the stages of the progress window, the batch runs, and the end (reboot
// or launch). Leaving at any question ends the process with nothing rolled back. Never
// returns; it ends through ExitInstaller.
[[noreturn]] void RunInstallSequence();
