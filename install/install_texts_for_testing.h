// Test builds only: what the installation collected for its log and records, for tests that run
// a whole installation and must read it before the records are written out.
#pragma once

#ifdef QUORVEX_TEST_SEAM
// Writes, each followed by a form-feed line ("\f\r\n"), InstallLog, ErrorSummary,
// InstalledFileList, SharedFiles, ProductFonts and the shortcut requests (one a line: desktop,
// Start menu, startup and keep as 0 or 1, target, name, icon, arguments, separated by tabs) to
// the file named by the environment variable QUORVEX_INSTALL_TEXTS; nothing when it is unset.
void WriteInstallTextsForTesting();
#endif
