// A snapshot of the Wine prefix's registry (HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER: every key
// and every value with its type and bytes) and of drive C (every folder, every file with its
// size and its bytes, or for a large file its last-write time), and the differences between two.
#pragma once

#include <map>
#include <string>
#include <vector>

struct PrefixSnapshot {
  // "key HKLM\path", "value HKLM\path\\name" (the value name after a doubled backslash), "dir
  // C:\path", "file C:\path" -> what was found there.
  std::map<std::string, std::string> entries;
};

// An entry that may differ between two snapshots, because Wine or the system changes it on its
// own, with the reason written down.
struct VolatileEntry {
  std::string prefix;  // an entry whose name starts with this, in any letter case
  const char* reason;
};

PrefixSnapshot TakePrefixSnapshot();

// The entries that were added ("+ "), removed ("- ") or changed ("~ ") from before to after,
// leaving out those the allow-list names.
std::vector<std::string> SnapshotDifferences(const PrefixSnapshot& before,
                                             const PrefixSnapshot& after,
                                             const std::vector<VolatileEntry>& allowed);
