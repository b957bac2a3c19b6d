#include "install/uninstall_registration.h"

#include <windows.h>

#include "config/install_variables.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "core/date_time.h"
#include "core/value.h"
#include "install/command_line.h"
#include "install/install_records.h"
#include "install/install_state.h"
#include "install/installer_archive.h"
#include "install/write_installed_file.h"
#include "platform/file_attributes.h"
#include "platform/path_text.h"
#include "platform/registry.h"

const char kUninstallKeyPath[] = "Microsoft\\Windows\\CurrentVersion\\Uninstall";

namespace {

constexpr char kUnableToSave[] =
    "Unable to save the uninstall information to the registry.  Uninstall will not work "
    "properly.\r\n\r\n";
constexpr uint32_t kLeaveAttributes = 0xFFFFFFFF;

// Type bytes of the archive's extra Uninstall values.
constexpr uint8_t kExpandTextValue = 2;
constexpr uint8_t kNumberValue = 4;

// The background colours belong in the key only when the archive chose them or the uninstaller
// shows the installer's picture with its title colour.
constexpr uint64_t kTitleColourFlags =
    FlagMask(ProductFlag::kCustomColours) | FlagMask(ProductFlag::kKeepBackgroundForUninstaller);

// VersionMajor and VersionMinor come from a dotted version only; a version without a period
// has neither, and values an earlier installation left are removed so they cannot outlive it.
void WriteVersionNumbers(Registry& key) {
  int period = DisplayVersion.FindChar('.');
  if (period < 0) {
    key.DeleteValue("VersionMajor");
    key.DeleteValue("VersionMinor");
    return;
  }
  key.SetDword("VersionMajor", uint32_t(DisplayVersion.ToInt()));
  key.SetDword("VersionMinor", uint32_t(DisplayVersion.Substring(period + 1).ToInt()));
}

// The archive's extra values, install variables expanded: type 2 an expandable text, type 4 a
// number, anything else a text; an empty text or a zero number deletes the value.
void WriteUninstallValues(Registry& key) {
  const Vector<UninstallData>& values = InstallerHeader.uninstallValues;
  for (int i = 0; i < values.Count(); ++i) {
    String text = values[i].value;
    ExpandInstallVariables(text);
    Value value;
    value.SetText(text);
    uint32_t flags = RegDeleteIfEmpty;
    if (values[i].type == kExpandTextValue) {
      flags |= RegExpand;
    } else if (values[i].type == kNumberValue) {
      value.ConvertTo(Value::kUInt32);
    }
    key.SetValue(values[i].name.CStr(), value, flags);
  }
}

void WriteValues(Registry& key, const String& uninstallString) {
  key.SetString("UninstallString", uninstallString);
  key.SetString("QuietUninstallString", QuietUninstallCommand());
  key.SetString("DisplayName", ProductName);
  key.SetString("InstallSource", OwnPathFromCommandLine(GetCommandLineA()));
  key.SetString("DisplayVersion", DisplayVersion, RegDeleteIfEmpty);
  key.SetString("Publisher", InstallerHeader.publisher, RegDeleteIfEmpty);
  WriteVersionNumbers(key);
  key.SetString("ProductRegistry", InstallerHeader.productRegistry, RegDeleteIfEmpty);
  key.SetString("ProductStartMenu", ProductStartMenu, RegDeleteIfEmpty);
  key.SetString("SharedPath", SharedPath, RegDeleteIfEmpty);
  key.SetString("ProductFonts", ProductFonts, RegDeleteIfEmpty);
  key.SetString("ProductFlags", String::FromInt64(int64_t(ProductFlags)));
  key.SetString("UninstallBatch1", InstallerHeader.uninstallBatch1, RegDeleteIfEmpty);
  key.SetString("UninstallBatch2", InstallerHeader.uninstallBatch2, RegDeleteIfEmpty);
  key.SetString("SharedFiles", SharedFiles, RegDeleteIfEmpty);
  key.SetString("UninstallSubdir", UninstallSubdir, RegDeleteIfEmpty);
  key.SetDword("ShortcutMode", InstallerHeader.shortcutMode, RegDeleteIfEmpty);
  key.SetString("DisplayTitle", DisplayTitle);
  if ((ProductFlags & kTitleColourFlags) != 0) {
    key.SetDword("TitleColor", TitleColor);
  } else {
    key.DeleteValue("TitleColor");
  }
  key.SetDword("TopColor", TopColor);
  key.SetDword("BottomColor", BottomColor);
  key.SetDword("MonoColor", MonoColor ? 1 : 0);
  key.SetDword("TitleShadow", TitleShadow);
  WriteUninstallValues(key);
  key.SetString("InstallLocation", InstallDir);
  key.SetString("InstallDate", DateTime::FormatNow(DefaultDateTimeFormat));
}

}  // namespace

String UninstallerProgram() { return JoinPath(UninstallDir, InstallerHeader.uninstallerName); }

String UninstallerArguments() { return "/u:\"" + UninstallKeyName + "\""; }

String UninstallCommand() { return UninstallerProgram() + " " + UninstallerArguments(); }

String QuietUninstallCommand() { return UninstallerProgram() + " /a " + UninstallerArguments(); }

void WriteUninstaller() {
  const String program = UninstallerProgram();
  WriteInstalledFile(program, UninstallerImage.CStr(), UninstallerImage.Length(),
                     InstallerHeader.uninstallerStamp, ErrorSummary, kLeaveAttributes,
                     FileExists(program));
}

void RegisterUninstall() {
  Registry key;
  if (key.OpenSoftware(JoinPath(String(kUninstallKeyPath), UninstallKeyName).CStr(), false) ==
      OpenResult::Failed) {
    ErrorSummary += kUnableToSave;
    return;
  }
  const String uninstallString = UninstallCommand();
  WriteValues(key, uninstallString);
  if (key.ReadString("UninstallString", "").Compare(uninstallString.CStr()) != 0)
    ErrorSummary += kUnableToSave;
  key.Close();
}
