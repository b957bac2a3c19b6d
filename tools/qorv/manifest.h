// A product manifest (TOML, see MANIFEST.md) read into an installer plan, with the bytes of
// every file it names. Errors name the manifest as file:line:column and say what was expected;
// a missing source file is named by its path.
#pragma once

#include <string>
#include <vector>

#include "tools/archive_writer/archive_writer.h"

struct LoadedManifest {
  LoadedManifest() = default;
  LoadedManifest(const LoadedManifest&) = delete;
  LoadedManifest& operator=(const LoadedManifest&) = delete;

  InstallerPlan plan;                  // plan.files[i].data points into fileData[i]
  std::vector<std::string> fileData;
  std::string volumeFileBase;          // the file-name part of VolumeBase
};

// Reads the manifest at `path` and the files it names. False with a one-line `error`.
bool LoadManifest(const std::string& path, LoadedManifest& out, std::string& error);

// Texts of a manifest are UTF-8; the engine shows 8-bit Windows-1252 text. Converts, or false
// with the offending character in `error`.
bool Utf8ToWindows1252(const std::string& utf8, std::string& out, std::string& error);
