#include "tools/qorv/manifest_names.h"

namespace {

constexpr uint64_t Bit(int n) { return uint64_t(1) << n; }

}  // namespace

const std::vector<NamedValue>& ProductFlagNames() {
  static const std::vector<NamedValue> names = {
      {"refuse_over_existing", Bit(0)},
      {"uninstaller_start_menu_shortcut", Bit(1)},
      {"register_uninstall", Bit(2)},
      {"uninstaller_font_question", Bit(4)},
      {"compress_data", Bit(5)},
      {"always_write_log", Bit(6)},
      {"choose_directory", Bit(7)},
      {"automatic", Bit(8)},
      {"automatic_uninstall", Bit(9)},
      {"no_uninstall_records", Bit(10)},
      {"replace_any_locked_file_at_reboot", Bit(11)},
      {"add_to_path", Bit(12)},
      {"custom_colors", Bit(13)},
      {"reboot_required", Bit(14)},
      {"keep_background_for_uninstaller", Bit(15)},
      {"extends_master_product", Bit(16)},
      {"uninstaller_shared_file_question", Bit(17)},
      {"verify_written_files", Bit(18)},
      {"clear_blocking_attributes", Bit(19)},
      {"log_every_file", Bit(20)},
      {"no_cancel", Bit(21)},
      {"no_completion_message", Bit(22)},
      {"pre_install_batch_option", Bit(23)},
      {"post_install_batch_option", Bit(24)},
      {"final_batch_option", Bit(25)},
      {"uninstall_batch1_option", Bit(26)},
      {"uninstall_batch2_option", Bit(27)},
      {"no_reinstall_question", Bit(28)},
      {"no_background", Bit(29)},
      {"confirm_directory", Bit(31)},
      {"check_image_checksum", Bit(32)},
      {"uninstaller_desktop_shortcut", Bit(33)},
      {"errors_in_automatic_mode", Bit(35)},
      {"compare_versions", Bit(36)},
      {"refuse_network_paths", Bit(37)},
      {"uninstaller_shortcut_in_uninstall_dir", Bit(38)},
      {"full_screen_background", Bit(40)},
  };
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
