// A gallery of the installer's windows, for screenshots: shows one of them, filled with sample
// texts in two languages, for a few seconds.
//
//   ui_gallery NAME [READY_FILE [SECONDS]]
//
// NAME is background-gradient, background-picture, language, license, readme, choosedir or
// progress. Once the windows are painted, READY_FILE (when given) is created, so that a script
// knows when to take its picture; the program ends by itself after SECONDS (default 8).
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "config/language_strings.h"
#include "config/settings.h"
#include "platform/system_paths.h"
#include "ui/background_picture.h"
#include "ui/background_window.h"
#include "ui/choose_dir_dialog.h"
#include "ui/language_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/text_dialogs.h"
#include "ui/windows.h"

namespace {

struct SampleText {
  StringId id;
  const char* english;
  const char* german;
};

const SampleText kSampleTexts[] = {
    {StringId::kDisplayTitle, "<product> 2.0 Setup", "<product> 2.0 Installation"},
    {StringId::kStartStage, "Starting the installation...", "Die Installation beginnt..."},
    {StringId::kChooseDirText, "Choose the folder into which <product> will be installed:",
     "W\xE4hlen Sie den Ordner, in den <product> installiert wird:"},
    {StringId::kErrorTitle, "Error", "Fehler"},
    {StringId::kDirectoryTitle, "Installation Folder", "Installationsordner"},
    {StringId::kInstallProgressLabel, "Installing <product>", "<product> wird installiert"},
    {StringId::kLicenceTitle, "Licence Agreement", "Lizenzvertrag"},
    {StringId::kLicenceAccept, "I Agree", "Ich stimme zu"},
    {StringId::kLicenceDecline, "I Do Not Agree", "Ich lehne ab"},
    {StringId::kLicenceText, "Please read the following licence agreement carefully.",
     "Bitte lesen Sie den folgenden Lizenzvertrag sorgf\xE4ltig."},
    {StringId::kOkCaption, "Continue", "Weiter"},
    {StringId::kCancelCaption, "Cancel", "Abbrechen"},
    {StringId::kReadmeTitle, "Read Me", "Liesmich"},
    {StringId::kReadmeText, "Please read the following notes before you go on.",
     "Bitte lesen Sie die folgenden Hinweise, bevor Sie fortfahren."},
    {StringId::kChooseDirBrowse, "Browse...", "Durchsuchen..."},
    {StringId::kInstallProgressTitle, "<product> Setup", "<product> Installation"},
};

const char kLicenceText[] =
    "SAMPLE PRODUCT LICENCE AGREEMENT\r\n\r\n"
    "1. You may install and use one copy of <product> on one computer.\r\n"
    "2. You may make one copy of the software for backup purposes.\r\n"
    "3. You may not rent, lease or lend the software.\r\n"
    "4. The software is provided as is, without warranty of any kind.\r\n\r\n"
    "By choosing I Agree you accept the terms of this agreement.";

const char kReadmeText[] =
    "<product> 2.0\r\n\r\n"
    "What is new in this version:\r\n"
    "  - Faster start-up\r\n"
    "  - A new look for the main window\r\n"
    "  - Many small corrections\r\n\r\n"
    "Nothing is written into your Windows folder (<os>).";

void FillLanguageTables() {
  LanguageNames.Append(String("English"));
  LanguageNames.Append(String("Deutsch"));
  for (int id = 0; id < kStringIdCount; ++id) {
    Vector<String>& row = StringTable.AppendDefault();
    row.Append(String());
    row.Append(String());
  }
  for (const SampleText& text : kSampleTexts) {
    StringTable[int(text.id)][0] = text.english;
    StringTable[int(text.id)][1] = text.german;
  }
  CurrentLanguage = 0;
  DisplayTitle = LookupString(StringId::kDisplayTitle);
}

void SetSampleSettings() {
  ProductName = "Sample Product";
  InstallDir = "C:\\Program Files\\Sample Product";
  TopColor = RGB(0, 0, 168);
  BottomColor = RGB(0, 0, 16);
  TitleColor = RGB(255, 255, 255);
  MonoColor = false;
  TitleShadow = 3;
}

// A bitmap file of concentric coloured rings, to stand in for an archive's picture.
String SamplePictureFile() {
  constexpr int kWidth = 160;
  constexpr int kHeight = 120;
  constexpr int kRowBytes = kWidth * 3;  // a multiple of 4
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + kRowBytes * kHeight;
  info.biSize = sizeof info;
  info.biWidth = kWidth;
  info.biHeight = kHeight;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  String bytes;
  bytes.Append(&file, int(sizeof file));
  bytes.Append(&info, int(sizeof info));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      int dx = x - kWidth / 2;
      int dy = y - kHeight / 2;
      int ring = (dx * dx + dy * dy) / 160;
      unsigned char pixel[3] = {static_cast<unsigned char>(120 + (ring * 37) % 136),  // blue
                                static_cast<unsigned char>(40 + (ring * 23) % 120),   // green
                                static_cast<unsigned char>(20 + (x + y) % 60)};       // red
      bytes.Append(pixel, 3);
    }
  }
  return bytes;
}

bool ShowWindowNamed(const char* name, HINSTANCE instance) {
  bool picture = std::strcmp(name, "background-picture") == 0;
  if (picture && !LoadBackgroundPictureFile(SamplePictureFile())) return false;
  CreateBackgroundWindow(instance, nullptr);
  if (picture || std::strcmp(name, "background-gradient") == 0) return true;

  HWND dialog = nullptr;
  if (std::strcmp(name, "language") == 0) {
    dialog = CreateDialogParamA(instance, "LanguageDlg", BackgroundWindow, LanguageDialogProc, 0);
  } else if (std::strcmp(name, "license") == 0) {
    static String text = WithProductAndOs(kLicenceText);
    dialog = CreateDialogParamA(instance, "LicenseDlg", BackgroundWindow, LicenseDialogProc,
                                reinterpret_cast<LPARAM>(text.CStr()));
  } else if (std::strcmp(name, "readme") == 0) {
    static String text = WithProductAndOs(kReadmeText);
    dialog = CreateDialogParamA(instance, "ReadmeDlg", BackgroundWindow, ReadmeDialogProc,
                                reinterpret_cast<LPARAM>(text.CStr()));
  } else if (std::strcmp(name, "choosedir") == 0) {
    dialog = CreateDialogParamA(instance, "ChooseDirDlg", BackgroundWindow, ChooseDirDialogProc, 0);
  } else if (std::strcmp(name, "progress") == 0) {
    CreateProgressDialog();
    dialog = ProgressWindow;
    SetProgressStatus(LookupString(StringId::kStartStage));
    SetProgressPosition(45);
  } else {
    return false;
  }
  return dialog != nullptr;
}

void PumpFor(DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageA(GetActiveWindow(), &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

void CreateReadyFile(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  const char* name = __argv[1];
  const char* readyFile = __argc > 2 ? __argv[2] : nullptr;
  int seconds = __argc > 3 ? std::atoi(__argv[3]) : 8;

  InitSystemPaths();
  InstanceHandle = instance;
  SetSampleSettings();
  FillLanguageTables();
  if (!ShowWindowNamed(name, instance)) return 2;

  // Long enough for every window to be painted before the picture is taken.
  constexpr DWORD kSettleMilliseconds = 1500;
  PumpFor(kSettleMilliseconds);
  if (readyFile) CreateReadyFile(readyFile);
  PumpFor(DWORD(seconds > 0 ? seconds : 1) * 1000);
  return 0;
}
