// Process-wide settings: the command-line switches and, later, the archive header's fields.
// Each is written by start-up or by the header reader and read everywhere else.
#pragma once

#include <cstdint>

#include "archive/product_flags.h"
#include "core/string.h"
#include "platform/application_name.h"

extern bool AutomaticMode;      // /a, or the archive's automatic flag
extern String InstallDir;       // /d:"dir"; empty: the archive's default applies
extern String ProductName;      // /n:"name"; empty: the archive's name applies
extern String SharedPath;       // the shared-files folder; empty when the archive uses none
extern bool UninstallMode;      // /u
extern uint64_t ProductFlags;   // the archive's option word (HasFlag); 0 until the header is
                                // read

// Background colours (COLORREF values). Start-up takes the system's; the archive may replace
// them.
extern uint32_t TitleColor;
extern uint32_t TopColor;
extern uint32_t BottomColor;
extern bool MonoColor;  // one colour instead of a gradient

// The background window's look, from the archive header.
extern uint8_t TitleShadow;         // shadow offset of the background title in pixels; 0: none
extern bool FullScreenBackground;   // the background covers the screen, not the work area

// Header fields that the install records and the uninstaller's placement read.
extern String DisplayVersion;   // the product's version text
extern String UninstallSubdir;  // relative to InstallDir: the folder of the uninstaller

// Derived from the header's fields: its own text, else a default (config/header_settings.h).
extern String ProductStartMenu;   // the Start-menu folder of the product's shortcuts
extern String DefaultInstallDir;  // absolute, or "<master>" for the master product's directory
extern String UninstallKeyName;   // the product's key under the Windows Uninstall key
