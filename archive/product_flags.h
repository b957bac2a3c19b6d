// The archive's 64-bit option word, the header's first field. Each bit is named after what the
// installation or the uninstallation does when it is set; the third column is the readable name
// of the builder's manifests, kept here so that the two can never drift apart.
#pragma once

#include <cstdint>

#define QUORVEX_PRODUCT_FLAGS(X)                                                                \
  X(kRefuseOverExisting, 0, "refuse_over_existing")                                             \
  X(kUninstallerStartMenuShortcut, 1, "uninstaller_start_menu_shortcut")                        \
  /* Registered for uninstallation: shared folder under Common Files, uninstaller patch stored, \
     existing installation detected, shared-file counts, uninstaller written. */                \
  X(kRegisterUninstall, 2, "register_uninstall")                                                \
  X(kAskBeforeRemovingFonts, 4, "uninstaller_font_question")                                    \
  X(kCompressedData, 5, "compress_data")                                                        \
  X(kAlwaysWriteLog, 6, "always_write_log")                                                     \
  X(kChooseDirectory, 7, "choose_directory")                                                    \
  X(kAutomatic, 8, "automatic")                                                                 \
  X(kAutomaticUninstall, 9, "automatic_uninstall")                                              \
  /* Files and folders are not recorded one by one: the uninstaller removes the whole install   \
     directory instead. */                                                                      \
  X(kRemoveWholeInstallDir, 10, "no_uninstall_records")                                         \
  X(kReplaceAnyLockedFileAtReboot, 11, "replace_any_locked_file_at_reboot")                     \
  X(kAddToPath, 12, "add_to_path")                                                              \
  X(kCustomColours, 13, "custom_colors")                                                        \
  /* Also set while installing when a file is replaced or deleted at the next restart. */       \
  X(kRebootRequired, 14, "reboot_required")                                                     \
  X(kKeepBackgroundForUninstaller, 15, "keep_background_for_uninstaller")                       \
  X(kExtendsMasterProduct, 16, "extends_master_product")                                        \
  X(kAskBeforeRemovingSharedFiles, 17, "uninstaller_shared_file_question")                      \
  X(kVerifyWrittenFiles, 18, "verify_written_files")                                            \
  X(kClearBlockingAttributes, 19, "clear_blocking_attributes")                                  \
  X(kLogEveryFile, 20, "log_every_file")                                                        \
  X(kNoCancel, 21, "no_cancel")                                                                 \
  X(kNoCompletionMessage, 22, "no_completion_message")                                          \
  X(kPreInstallBatchHidden, 23, "pre_install_batch_option")                                     \
  X(kPostInstallBatchHidden, 24, "post_install_batch_option")                                   \
  X(kFinalBatchHidden, 25, "final_batch_option")                                                \
  X(kUninstallBatch1Hidden, 26, "uninstall_batch1_option")                                      \
  X(kUninstallBatch2Hidden, 27, "uninstall_batch2_option")                                      \
  X(kNoReinstallQuestion, 28, "no_reinstall_question")                                          \
  X(kNoBackgroundWindow, 29, "no_background")                                                   \
  X(kConfirmDirectory, 31, "confirm_directory")                                                 \
  X(kCheckImageChecksum, 32, "check_image_checksum")                                            \
  X(kUninstallerDesktopShortcut, 33, "uninstaller_desktop_shortcut")                            \
  X(kErrorsInAutomaticMode, 35, "errors_in_automatic_mode")                                     \
  X(kCompareVersions, 36, "compare_versions")                                                   \
  X(kRefuseNetworkPaths, 37, "refuse_network_paths")                                            \
  X(kUninstallerShortcutInUninstallDir, 38, "uninstaller_shortcut_in_uninstall_dir")            \
  X(kFullScreenBackground, 40, "full_screen_background")

enum class ProductFlag : int {
#define QUORVEX_PRODUCT_FLAG_ENUMERATOR(name, bit, text) name = bit,
  QUORVEX_PRODUCT_FLAGS(QUORVEX_PRODUCT_FLAG_ENUMERATOR)
#undef QUORVEX_PRODUCT_FLAG_ENUMERATOR
};

constexpr uint64_t FlagMask(ProductFlag flag) { return uint64_t(1) << int(flag); }

// The one test of a bit, for the process-wide ProductFlags and any other option word alike.
constexpr bool HasFlag(uint64_t flags, ProductFlag flag) { return (flags & FlagMask(flag)) != 0; }

struct ProductFlagName {
  ProductFlag flag;
  const char* name;  // the builder's readable name
};

inline constexpr ProductFlagName kProductFlagNames[] = {
#define QUORVEX_PRODUCT_FLAG_NAME(name, bit, text) {ProductFlag::name, text},
    QUORVEX_PRODUCT_FLAGS(QUORVEX_PRODUCT_FLAG_NAME)
#undef QUORVEX_PRODUCT_FLAG_NAME
};
