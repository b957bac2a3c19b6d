// Batch commands: the text of the batch file, and real runs through the prefix's cmd.exe,
// observed through the files the commands write. The registry-backed locations are given
// distinct values of the test's own, so that each SET line is seen to take its own source.
// Where only the start of the child shows a fact (its show state, the command line, the file
// as it was when it ran), the start is watched on its way to CreateProcessA and passed on.
#include "install/batch_commands.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/install_variables.h"
#include "config/settings.h"
#include "platform/run_process.h"
#include "platform/system_paths.h"
#include "tests/win32/file_test_support.h"
#include "tests/win32/registry_override_test_support.h"

namespace {

using file_test::Exists;
using file_test::ReadBytes;
using file_test::ScratchDir;
using file_test::Str;

constexpr char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kSetup[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The variables of the batch file in the order of their SET lines, each with the install
// variable that gives its value.
const char* const kSetOrder[] = {
    "InstallDir",        "InstallDrive",     "SharedDir",   "InstallerFilepath", "InstallerDir",
    "InstallerFilename", "InstallerDrive",   "SystemDir",   "DeviceDir",         "MediaDir",
    "FavoritesDir",      "FavoritesAllDir",  "FontDir",     "DesktopDir",        "DesktopAllDir",
    "DocumentDir",       "DocumentAllDir",   "ProgramsDir", "StartMenuDir",      "StartMenuAllDir",
    "SMProgramsDir",     "SMProgramsAllDir", "StartupDir",  "StartupAllDir",     "BootDrive",
    "CommonDir",
};

std::string Expand(const std::string& text) {
  String s(text.c_str());
  ExpandInstallVariables(s);
  return Str(s);
}

// The SET lines as the install variables give their values; InstallerDrive has its colon in
// the batch file. Without a directory the first two are absent.
std::string ExpectedSetLines(bool withDirectory) {
  std::string lines;
  for (const char* name : kSetOrder) {
    std::string variable = name;
    if (!withDirectory && (variable == "InstallDir" || variable == "InstallDrive")) continue;
    std::string value = Expand("%" + variable + "%");
    if (variable == "InstallerDrive" && !value.empty()) value += ":";
    lines += "SET " + variable + "=" + value + "\r\n";
  }
  return lines;
}

// What the watched start saw.
struct SeenStart {
  std::string commandLine;
  std::string directory = "<null>";
  DWORD startupFlags = 0xDEADBEEF;
  WORD showWindow = 0xBEEF;
  std::string batchFile;  // the batch file's bytes at the moment of the start
};

std::vector<SeenStart> seenStarts;
std::string watchedBatchPath;
bool makeBatchReadOnly = false;

BOOL WINAPI WatchStart(const char* application, char* commandLine,
                       SECURITY_ATTRIBUTES* processSecurity, SECURITY_ATTRIBUTES* threadSecurity,
                       BOOL inheritHandles, DWORD creationFlags, void* environment,
                       const char* directory, STARTUPINFOA* startup, PROCESS_INFORMATION* process) {
  SeenStart seen;
  seen.commandLine = commandLine;
  if (directory != nullptr) seen.directory = directory;
  seen.startupFlags = startup->dwFlags;
  seen.showWindow = startup->wShowWindow;
  seen.batchFile = ReadBytes(watchedBatchPath);
  seenStarts.push_back(seen);
  if (makeBatchReadOnly) SetFileAttributesA(watchedBatchPath.c_str(), FILE_ATTRIBUTE_READONLY);
  return CreateProcessA(application, commandLine, processSecurity, threadSecurity, inheritHandles,
                        creationFlags, environment, directory, startup, process);
}

class BatchCommands : public testing::Test {
 protected:
  void SetUp() override {
    savedAutomatic_ = AutomaticMode;
    savedInstallDir_ = InstallDir;
    savedSharedPath_ = SharedPath;
    AutomaticMode = false;
    SharedPath = "C:\\Program Files\\Common Files\\Batch Shared";
    const struct {
      HKEY root;
      const char* key;
      const char* name;
    } sources[] = {
        {HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir"},
        {HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir"},
        {HKEY_LOCAL_MACHINE, kCurrentVersion, "DevicePath"},
        {HKEY_LOCAL_MACHINE, kCurrentVersion, "MediaPath"},
        {HKEY_CURRENT_USER, kShellFolders, "Favorites"},
        {HKEY_LOCAL_MACHINE, kShellFolders, "Common Favorites"},
        {HKEY_CURRENT_USER, kShellFolders, "Fonts"},
        {HKEY_CURRENT_USER, kShellFolders, "Desktop"},
        {HKEY_LOCAL_MACHINE, kShellFolders, "Common Desktop"},
        {HKEY_CURRENT_USER, kShellFolders, "Personal"},
        {HKEY_LOCAL_MACHINE, kShellFolders, "Common Documents"},
        {HKEY_CURRENT_USER, kShellFolders, "Start Menu"},
        {HKEY_LOCAL_MACHINE, kShellFolders, "Common Start Menu"},
        {HKEY_CURRENT_USER, kShellFolders, "Programs"},
        {HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs"},
        {HKEY_CURRENT_USER, kShellFolders, "Startup"},
        {HKEY_LOCAL_MACHINE, kShellFolders, "Common Startup"},
    };
    for (const auto& source : sources) {
      overrides_.Set(source.root, source.key, source.name,
                     std::string("C:\\Batch Test\\") + source.name);
    }
    overrides_.Set(HKEY_LOCAL_MACHINE, kSetup, "BootDir", "e:\\");
    seenStarts.clear();
    makeBatchReadOnly = false;
  }
  void TearDown() override {
    SetCreateProcessForTesting(nullptr);
    AutomaticMode = savedAutomatic_;
    InstallDir = savedInstallDir_;
    SharedPath = savedSharedPath_;
  }

  // Runs commands in dir with the start watched.
  void RunWatched(const std::string& dir, bool hidden, const std::string& commands) {
    watchedBatchPath = dir + "\\QORVBAT.BAT";
    SetCreateProcessForTesting(WatchStart);
    RunBatchCommands(String(dir.c_str()), hidden, String(commands.c_str()));
    SetCreateProcessForTesting(nullptr);
  }

  registry_override::RegistryOverrides overrides_;

 private:
  bool savedAutomatic_ = false;
  String savedInstallDir_;
  String savedSharedPath_;
};

TEST_F(BatchCommands, SetLinesHoldTheValuesOfTheInstallVariables) {
  const std::string dir = "D:\\Program Files\\My App";
  InstallDir = dir.c_str();  // so that the install variables give the same directory
  const std::string text = Str(BatchFileText(String(dir.c_str()), false, String("echo x")));
  EXPECT_EQ(text, "@echo off\r\n" + ExpectedSetLines(true) + "echo x");

  // Independently of the install variables: the sources the test chose.
  for (const char* line : {
           "\r\nSET InstallDir=D:\\Program Files\\My App\r\n",
           "\r\nSET InstallDrive=D:\r\n",
           "\r\nSET SharedDir=C:\\Program Files\\Common Files\\Batch Shared\r\n",
           "\r\nSET FontDir=C:\\Batch Test\\Fonts\r\n",
           "\r\nSET DesktopAllDir=C:\\Batch Test\\Common Desktop\r\n",
           "\r\nSET ProgramsDir=C:\\Batch Test\\ProgramFilesDir\r\n",
           "\r\nSET SMProgramsDir=C:\\Batch Test\\Programs\r\n",
           "\r\nSET BootDrive=E:\r\n",
           "\r\nSET CommonDir=C:\\Batch Test\\CommonFilesDir\r\n",
       }) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  const std::string installer = Str(InstallerFilepath());
  ASSERT_GE(installer.size(), 2u);
  ASSERT_EQ(installer[1], ':');
  EXPECT_NE(text.find("\r\nSET InstallerDrive=" + installer.substr(0, 2) + "\r\n"),
            std::string::npos);
  for (const char* absent : {"SET Temp=", "SET WinDir="}) {
    EXPECT_EQ(text.find(absent), std::string::npos) << absent;
  }
}

TEST_F(BatchCommands, TheDirectoryGivesTheFirstSetLines) {
  const struct {
    const char* directory;
    const char* lines;  // what follows "@echo off" before SharedDir
  } cases[] = {
      {"", ""},
      {"c:\\app", "SET InstallDir=c:\\app\r\nSET InstallDrive=C:\r\n"},
      {"D:\\", "SET InstallDir=D:\\\r\nSET InstallDrive=D:\r\n"},
      {"\\\\server\\share\\app", "SET InstallDir=\\\\server\\share\\app\r\nSET InstallDrive=\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.directory);
    const std::string text = Str(BatchFileText(String(c.directory), false, String()));
    EXPECT_EQ(text.substr(0, text.find("SET SharedDir=")), std::string("@echo off\r\n") + c.lines);
  }
}

TEST_F(BatchCommands, UnattendedRunsDropBarePauseLines) {
  const struct {
    bool automatic;
    bool hidden;
    const char* commands;
    const char* expected;  // what follows the SET lines
  } cases[] = {
      // Interactive: the text as it is, with every line break made CR LF.
      {false, false, "copy a b\n@Pause\npause > nul", "copy a b\r\n@Pause\r\npause > nul"},
      {false, false, "a\rb\n\rc\r\n", "a\r\nb\r\nc\r\n"},
      // Unattended, by the mode or by the hidden flag: lines rejoined with CR LF.
      {true, false, "copy a b\r\n@Pause", "copy a b\r\n"},
      {false, true, "copy a b\r\n@Pause", "copy a b\r\n"},
      {true, true, "copy a b\r\n@Pause", "copy a b\r\n"},
      {true, false, " @ pause \t\r\nPAUSE\rpause > nul\n\r@pause\n", "pause > nul\r\n"},
      {true, false, "echo a\n\nrem PAUSE\nPAUSED\n@@pause\npause x",
       "echo a\r\n\r\nrem PAUSE\r\nPAUSED\r\n@@pause\r\npause x\r\n"},
      {true, false, "  echo  kept as taken  ", "  echo  kept as taken  \r\n"},
  };
  const std::string head = "@echo off\r\n" + ExpectedSetLines(false);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.commands) + (c.automatic ? " automatic" : "") +
                 (c.hidden ? " hidden" : ""));
    AutomaticMode = c.automatic;
    const std::string text = Str(BatchFileText(String(), c.hidden, String(c.commands)));
    EXPECT_EQ(text, head + c.expected);
  }
}

TEST_F(BatchCommands, RunsInTheDirectoryWithTheLocationsSet) {
  ScratchDir scratch;
  const std::string dir = scratch / "My App";
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  InstallDir = "C:\\elsewhere";  // the batch takes the directory it is given
  RunBatchCommands(String(dir.c_str()), false,
                   String("echo %InstallDir%> out.txt\r\n"
                          "echo %InstallDrive%>> out.txt\r\n"
                          "echo %SharedDir%>> out.txt\r\n"
                          "echo %BootDrive%>> out.txt\r\n"
                          "cd>> out.txt"));
  const std::string drive = dir.substr(0, 2);
  EXPECT_EQ(ReadBytes(dir + "\\out.txt"), dir + "\r\n" + drive + "\r\n" +
                                              "C:\\Program Files\\Common Files\\Batch Shared\r\n" +
                                              "E:\r\n" + dir + "\r\n");
  EXPECT_FALSE(Exists(dir + "\\QORVBAT.BAT"));
}

TEST_F(BatchCommands, RunsTheFileAsWrittenAndDeletesIt) {
  ScratchDir scratch;
  // The PAUSE line is never reached, whichever mode fails to drop it.
  const std::string commands =
      "type QORVBAT.BAT> seen.txt\nif exist seen.txt goto end\nPAUSE\n:end";
  for (bool automatic : {false, true}) {
    SCOPED_TRACE(automatic ? "automatic" : "interactive");
    AutomaticMode = automatic;
    DeleteFileA((scratch / "seen.txt").c_str());
    RunWatched(scratch.Path(), false, commands);
    const std::string expected =
        Str(BatchFileText(String(scratch.Path().c_str()), false, String(commands.c_str())));
    EXPECT_EQ(ReadBytes(scratch / "seen.txt"), expected);
    EXPECT_EQ(expected.find("\r\nPAUSE\r\n") == std::string::npos, automatic);
    ASSERT_EQ(seenStarts.size(), 1u);
    EXPECT_EQ(seenStarts[0].batchFile, expected);
    EXPECT_FALSE(Exists(scratch / "QORVBAT.BAT"));
    seenStarts.clear();
  }
}

TEST_F(BatchCommands, StartsTheInterpreterWithItsEnvironmentSizeHiddenWhenAsked) {
  ScratchDir scratch;
  for (bool hidden : {false, true}) {
    SCOPED_TRACE(hidden ? "hidden" : "shown");
    seenStarts.clear();
    RunWatched(scratch.Path(), hidden, "echo ran> ran.txt");
    ASSERT_EQ(seenStarts.size(), 1u);
    const SeenStart& seen = seenStarts[0];
    EXPECT_EQ(seen.commandLine,
              Str(CommandInterpreter()) + " /e:5000 /c \"" + scratch.Path() + "\\QORVBAT.BAT\"");
    EXPECT_EQ(seen.directory, scratch.Path());
    if (hidden) {
      EXPECT_EQ(seen.startupFlags, DWORD(STARTF_USESHOWWINDOW));
      EXPECT_EQ(seen.showWindow, WORD(SW_HIDE));
    } else {
      EXPECT_EQ(seen.startupFlags & STARTF_USESHOWWINDOW, 0u);
    }
    // Waited for: the batch has written its file before the call returns.
    EXPECT_EQ(ReadBytes(scratch / "ran.txt"), "ran\r\n");
    DeleteFileA((scratch / "ran.txt").c_str());
  }
}

// Counts the WM_APP messages a message-only window receives.
int appMessages = 0;
LRESULT CALLBACK CountAppMessages(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_APP) ++appMessages;
  return DefWindowProcA(window, message, w, l);
}

TEST_F(BatchCommands, WindowMessagesFlowWhileTheBatchRuns) {
  ScratchDir scratch;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = CountAppMessages;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QuorvexBatchCounter";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  appMessages = 0;
  ASSERT_TRUE(PostMessageA(window, WM_APP, 0, 0));
  RunBatchCommands(String(scratch.Path().c_str()), false, String("echo ran> ran.txt"));
  EXPECT_EQ(ReadBytes(scratch / "ran.txt"), "ran\r\n");
  EXPECT_EQ(appMessages, 1);
  DestroyWindow(window);
}

TEST_F(BatchCommands, BlankCommandsStartNothingAndWriteNoFile) {
  ScratchDir scratch;
  for (const char* commands : {"", " ", "\r\n", " \t\r\n\n\r  "}) {
    SCOPED_TRACE(testing::PrintToString(commands));
    seenStarts.clear();
    RunWatched(scratch.Path(), false, commands);
    EXPECT_TRUE(seenStarts.empty());
    EXPECT_FALSE(Exists(scratch / "QORVBAT.BAT"));
  }
}

TEST_F(BatchCommands, AFileThatCannotBeWrittenIsNotRun) {
  ScratchDir scratch;
  RunWatched(scratch / "missing folder", false, "echo x");
  EXPECT_TRUE(seenStarts.empty());
  EXPECT_FALSE(Exists(scratch / "missing folder"));
}

TEST_F(BatchCommands, AReadOnlyBatchFileIsDeletedAllTheSame) {
  ScratchDir scratch;
  makeBatchReadOnly = true;
  RunWatched(scratch.Path(), false, "echo ran> ran.txt");
  ASSERT_EQ(seenStarts.size(), 1u);
  EXPECT_EQ(ReadBytes(scratch / "ran.txt"), "ran\r\n");
  EXPECT_FALSE(Exists(scratch / "QORVBAT.BAT"));
  SetFileAttributesA((scratch / "QORVBAT.BAT").c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
