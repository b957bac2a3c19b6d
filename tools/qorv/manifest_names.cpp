#include "tools/qorv/manifest_names.h"

#include "archive/product_flags.h"

const std::vector<NamedValue>& ProductFlagNames() {
  static const std::vector<NamedValue> names = [] {
    std::vector<NamedValue> table;
    for (const ProductFlagName& flag : kProductFlagNames)
      table.push_back({flag.name, FlagMask(flag.flag)});
    return table;
  }();
  return names;
}

const std::vector<NamedValue>& DestinationKindNames() {
  static const std::vector<NamedValue> names = {
      {"install_dir", 0}, {"shared", 1}, {"fonts", 4},
      {"startup", 5},     {"system", 6}, {"com_server", 7},
  };
  return names;
}

const std::vector<NamedValue>& InstallConditionNames() {
  static const std::vector<NamedValue> names = {
      {"always", 0x0}, {"never", 0x4}, {"if_exists", 0x8}, {"if_missing", 0xC},
  };
  return names;
}

const std::vector<NamedValue>& FileAttributeNames() {
  static const std::vector<NamedValue> names = {
      {"read_only", 0x1}, {"hidden", 0x2},      {"system", 0x4},
      {"archive", 0x20},  {"temporary", 0x100}, {"offline", 0x1000},
  };
  return names;
}

const std::vector<NamedValue>& SystemNames() {
  static const std::vector<NamedValue> names = {
      {"other", 0x001},      {"win32s", 0x002},       {"windows_95", 0x004},
      {"windows_98", 0x008}, {"windows_me", 0x010},   {"windows_nt3", 0x020},
      {"windows_nt4", 0x040}, {"windows_2000", 0x080}, {"windows_xp", 0x100},
  };
  return names;
}

const std::vector<NamedValue>& DeletionConditionNames() {
  static const std::vector<NamedValue> names = {
      {"always", 0},        {"date_equal", 1},    {"date_on_or_after", 2}, {"date_on_or_before", 3},
      {"size_equal", 4},    {"size_at_least", 5}, {"size_at_most", 6},
  };
  return names;
}

const std::vector<NamedValue>& UninstallValueTypeNames() {
  static const std::vector<NamedValue> names = {
      {"sz", 1}, {"expand_sz", 2}, {"dword", 4},
  };
  return names;
}

const std::vector<NamedValue>& ShortcutModeNames() {
  static const std::vector<NamedValue> names = {{"current_user", 0}, {"all_users", 1}};
  return names;
}

bool LookUpName(const std::vector<NamedValue>& table, const std::string& name, uint64_t& value) {
  for (const NamedValue& entry : table) {
    if (name == entry.name) {
      value = entry.value;
      return true;
    }
  }
  return false;
}

std::string NameOf(const std::vector<NamedValue>& table, uint64_t value) {
  for (const NamedValue& entry : table) {
    if (entry.value == value) return entry.name;
  }
  return std::string();
}

std::string NameList(const std::vector<NamedValue>& table) {
  std::string list;
  for (const NamedValue& entry : table) {
    if (!list.empty()) list += ", ";
    list += entry.name;
  }
  return list;
}
