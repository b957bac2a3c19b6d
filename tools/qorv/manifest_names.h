// The readable names a manifest uses for the archive's numeric options: ProductFlags bits,
// destination kinds, install conditions, file attributes, refused systems, deletion conditions
// and uninstall value types. Each table is the one place its names are defined; MANIFEST.md
// lists the same names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct NamedValue {
  const char* name;
  uint64_t value;
};

const std::vector<NamedValue>& ProductFlagNames();       // value: the bit's mask
const std::vector<NamedValue>& DestinationKindNames();
const std::vector<NamedValue>& InstallConditionNames();  // values of FileEntryFlags & 0xC
const std::vector<NamedValue>& FileAttributeNames();
const std::vector<NamedValue>& SystemNames();            // bits of UnsupportedSystems
const std::vector<NamedValue>& DeletionConditionNames();
const std::vector<NamedValue>& UninstallValueTypeNames();
const std::vector<NamedValue>& ShortcutModeNames();

// The value of `name` in `table`; false when the table has no such name.
bool LookUpName(const std::vector<NamedValue>& table, const std::string& name, uint64_t& value);
// The name of `value`, or empty when none has it.
std::string NameOf(const std::vector<NamedValue>& table, uint64_t value);
// "a, b, c": the names of a table, for error messages.
std::string NameList(const std::vector<NamedValue>& table);
