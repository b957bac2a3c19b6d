// The process-wide settings that the archive header decides, derived from its fields.
#pragma once

struct ArchiveHeader;

// Sets ProductName (unless /n gave one), SharedPath, ProductStartMenu, DefaultInstallDir,
// UninstallKeyName, DisplayVersion, UninstallSubdir, the background colours and TitleShadow from
// the header, which stays as it was read. Reads the header's ProductFlags, not the global.
// Writes nothing to disk.
//   SharedPath: the header's, else Publisher when that is not blank, else ProductName; with
//     flag bit 2 made absolute under the Common Files folder, without it emptied.
//   ProductStartMenu: the header's, else "Publisher\ProductName" ("ProductName" when
//     Publisher is empty).
//   DefaultInstallDir: the header's with "<os>" (any case) replaced by the Windows directory
//     and the install variables expanded, else ProductName; then made absolute under the
//     Program Files folder, unless it is "<master>" (any case), which the install sequence
//     resolves.
//   Colours: with flag bit 13 the header's three colours, MonoColor false when top and bottom
//     differ; without it the start-up colours stay, except that a background bitmap still takes
//     the header's title colour.
//   UninstallKeyName: the header's, else ProductName when it is blank.
void ApplyHeaderSettings(const ArchiveHeader& header);
