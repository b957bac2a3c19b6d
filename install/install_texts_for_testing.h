// Test builds only: the install log and the error summary as they stand, for tests that run a
// whole installation and must read what it collected.
#pragma once

#ifdef QUORVEX_TEST_SEAM
// Writes InstallLog, a form feed line ("\f\r\n") and ErrorSummary to the file named by the
// environment variable QUORVEX_INSTALL_TEXTS; nothing when the variable is unset.
void WriteInstallTextsForTesting();
#endif
