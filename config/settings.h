// Process-wide settings: the command-line switches and, later, the archive header's fields.
// Each is written by start-up or by the header reader and read everywhere else.
#pragma once

#include <cstdint>

#include "core/string.h"

extern String ApplicationName;  // "Quorvex"
extern bool AutomaticMode;      // /a, or the archive's automatic flag
extern String InstallDir;       // /d:"dir"; empty: the archive's default applies
extern String ProductName;      // /n:"name"; empty: the archive's name applies
extern String SharedPath;       // the shared-files folder; empty when the archive uses none
extern bool UninstallMode;      // /u
extern uint64_t ProductFlags;   // the archive's option word; 0 until the header is read

inline bool ProductFlag(int bit) { return (ProductFlags >> bit) & 1; }

// Background colours (COLORREF values). Start-up takes the system's; the archive may replace
// them.
extern uint32_t TitleColor;
extern uint32_t TopColor;
extern uint32_t BottomColor;
extern bool MonoColor;  // one colour instead of a gradient

// The background window's look, from the archive header.
extern uint8_t TitleShadow;         // shadow offset of the background title in pixels; 0: none
extern bool FullScreenBackground;   // the background covers the screen, not the work area
extern String BackgroundBitmap;     // the background picture's bytes; empty: none

// Header fields that the install records and the uninstaller's placement read.
extern String DisplayVersion;   // the product's version text
extern String UninstallSubdir;  // relative to InstallDir: the folder of the uninstaller
