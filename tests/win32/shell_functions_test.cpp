// Optional system functions, shell change notifications, the font-change broadcast and the
// session end, against the real system (ExitWindowsEx itself is never called: the test build
// routes that one call to a recorder).
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/os_identity.h"
#include "platform/shell.h"
#include "platform/shell_fonts.h"
#include "platform/shell_session.h"
#include "tests/win32/file_test_support.h"
#include "tests/win32/shell_test_support.h"

namespace {

using file_test::ScratchDir;
using shell_test::ShellWatcher;

constexpr char kMissingLibrary[] = "quorvex-no-such-library.dll";
const SystemFunction kSentinel =
    reinterpret_cast<SystemFunction>(static_cast<uintptr_t>(0xDEADBEEF));

SystemFunction SystemAddress(const char* library, const char* function) {
  return reinterpret_cast<SystemFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(library), function)));
}

TEST(LoadFunction, FindsAFunctionAndKeepsItsLibraryLoaded) {
  SystemFunction slot = kSentinel;
  EXPECT_TRUE(LoadFunction("lz32.dll", "LZCopy", &slot));
  ASSERT_NE(GetModuleHandleA("lz32.dll"), nullptr);
  EXPECT_EQ(slot, SystemAddress("lz32.dll", "LZCopy"));

  BOOL(WINAPI * typed)(HANDLE) = nullptr;
  EXPECT_TRUE(LoadFunctionAs("kernel32.dll", "CloseHandle", &typed));
  EXPECT_EQ(reinterpret_cast<SystemFunction>(typed), SystemAddress("kernel32.dll", "CloseHandle"));
}

// A system library that this process has not loaded (the ones these tests keep loaded are
// not offered again); null when none is left.
const char* AnUnloadedLibrary() {
  for (const char* library : {"dciman32.dll", "sensapi.dll", "mpr.dll", "cabinet.dll",
                              "wintrust.dll", "shfolder.dll", "imagehlp.dll"}) {
    if (GetModuleHandleA(library) == nullptr) return library;
  }
  return nullptr;
}

TEST(LoadFunction, AMissingFunctionFreesTheLibraryAgain) {
  const char* library = AnUnloadedLibrary();
  ASSERT_NE(library, nullptr);
  SystemFunction slot = kSentinel;
  EXPECT_FALSE(LoadFunction(library, "QuorvexNoSuchFunction", &slot));
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(GetModuleHandleA(library), nullptr);
}

TEST(LoadFunction, AMissingLibraryEmptiesTheSlot) {
  SystemFunction slot = kSentinel;
  EXPECT_FALSE(LoadFunction(kMissingLibrary, "GetTickCount", &slot));
  EXPECT_EQ(slot, nullptr);
}

TEST(LoadFunctionTable, FillsEverySlotAndFailsOnlyForMissingRequiredFunctions) {
  const struct {
    bool firstOptional;
    bool expected;
  } cases[] = {{true, true}, {false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.firstOptional ? "missing function optional" : "missing function required");
    SystemFunction missing = kSentinel;
    SystemFunction tickCount = kSentinel;
    SystemFunction sleep = kSentinel;
    const FunctionTableEntry table[] = {
        {"QuorvexNoSuchFunction", &missing, c.firstOptional},
        {"GetTickCount", &tickCount, false},
        {"Sleep", &sleep, true},
        {nullptr, nullptr, false},
    };
    EXPECT_EQ(LoadFunctionTable("kernel32.dll", table), c.expected);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(tickCount, SystemAddress("kernel32.dll", "GetTickCount"));
    EXPECT_EQ(sleep, SystemAddress("kernel32.dll", "Sleep"));
  }
}

TEST(LoadFunctionTable, KeepsTheLibraryLoadedEvenWhenAFunctionIsMissing) {
  const char* library = AnUnloadedLibrary();
  ASSERT_NE(library, nullptr);
  SystemFunction missing = kSentinel;
  const FunctionTableEntry table[] = {{"QuorvexNoSuchFunction", &missing, false},
                                      {nullptr, nullptr, false}};
  EXPECT_FALSE(LoadFunctionTable(library, table));
  EXPECT_NE(GetModuleHandleA(library), nullptr);
}

TEST(LoadFunctionTable, AMissingLibraryFails) {
  SystemFunction slot = nullptr;
  const FunctionTableEntry table[] = {{"GetTickCount", &slot, true}, {nullptr, nullptr, false}};
  EXPECT_FALSE(LoadFunctionTable(kMissingLibrary, table));
  EXPECT_EQ(slot, nullptr);
}

TEST(NotifyFolderUpdated, TellsTheShellAboutTheFolder) {
  ScratchDir scratch;
  ShellWatcher watcher(scratch.Path().c_str(), SHCNE_UPDATEDIR);
  ASSERT_TRUE(watcher.Registered());
  EXPECT_TRUE(NotifyFolderUpdated(String(scratch.Path().c_str())));
  std::vector<ShellWatcher::Notice> notices = ShellWatcher::Notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].event, SHCNE_UPDATEDIR);
  EXPECT_STRCASEEQ(notices[0].path.c_str(), scratch.Path().c_str());
}

TEST(NotifyFolderUpdated, AnEmptyPathNotifiesNothing) {
  ShellWatcher watcher(nullptr, SHCNE_ALLEVENTS);
  ASSERT_TRUE(watcher.Registered());
  EXPECT_FALSE(NotifyFolderUpdated(String()));
  EXPECT_TRUE(ShellWatcher::Notices().empty());
}

TEST(NotifyAssociationsChanged, TellsTheShell) {
  ShellWatcher watcher(nullptr, SHCNE_ASSOCCHANGED);
  ASSERT_TRUE(watcher.Registered());
  EXPECT_TRUE(NotifyAssociationsChanged());
  std::vector<ShellWatcher::Notice> notices = ShellWatcher::Notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].event, SHCNE_ASSOCCHANGED);
}

TEST(ShellNotifications, WithoutSHChangeNotifyNothingIsSent) {
  ScratchDir scratch;
  ShellWatcher watcher(nullptr, SHCNE_ALLEVENTS);
  ASSERT_TRUE(watcher.Registered());
  SetShellNotifyLibraryForTesting(kMissingLibrary);
  EXPECT_FALSE(NotifyAssociationsChanged());
  EXPECT_FALSE(NotifyFolderUpdated(String(scratch.Path().c_str())));
  SetShellNotifyLibraryForTesting(nullptr);
  EXPECT_TRUE(ShellWatcher::Notices().empty());
}

constexpr char kNtFonts[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr char k9xFonts[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
constexpr char kTestFont[] = "Quorvex Test Font (TrueType)";

// The font's value in one fonts key: its type and text; type REG_NONE when it is missing.
struct FontValue {
  DWORD type = REG_NONE;
  std::string text;
};

FontValue ReadFontValue(const char* keyPath) {
  FontValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return value;
  char text[MAX_PATH] = {};
  DWORD size = sizeof text - 1;
  DWORD type = REG_NONE;
  if (RegQueryValueExA(key, kTestFont, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
      ERROR_SUCCESS) {
    value.type = type;
    value.text = text;
  }
  RegCloseKey(key);
  return value;
}

void RemoveTestFont() {
  for (const char* keyPath : {kNtFonts, k9xFonts}) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
      continue;
    RegDeleteValueA(key, kTestFont);
    RegCloseKey(key);
  }
}

class FontNameTest : public testing::Test {
 protected:
  void SetUp() override { RemoveTestFont(); }
  void TearDown() override {
    RemoveTestFont();
    SetOsFamilyForTesting(OsFamily::kRunningSystem);
  }
};

TEST_F(FontNameTest, EachFamilyKeepsItsFontsInItsOwnKey) {
  const struct {
    OsFamily family;
    const char* key;
    const char* otherKey;
  } cases[] = {{OsFamily::kNT, kNtFonts, k9xFonts}, {OsFamily::k9x, k9xFonts, kNtFonts}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    SetOsFamilyForTesting(c.family);
    EXPECT_TRUE(RegisterFontName(kTestFont, "QUORVEX.TTF"));
    FontValue value = ReadFontValue(c.key);
    EXPECT_EQ(value.type, DWORD(REG_SZ));
    EXPECT_EQ(value.text, "QUORVEX.TTF");
    EXPECT_EQ(ReadFontValue(c.otherKey).type, DWORD(REG_NONE));

    EXPECT_TRUE(UnregisterFontName(kTestFont));
    EXPECT_EQ(ReadFontValue(c.key).type, DWORD(REG_NONE));
  }
}

TEST_F(FontNameTest, UnregisteringAnUnknownNameSucceeds) {
  EXPECT_TRUE(UnregisterFontName(kTestFont));
  // Also where the other family has it: only the running family's key is touched.
  SetOsFamilyForTesting(OsFamily::kNT);
  ASSERT_TRUE(RegisterFontName(kTestFont, "QUORVEX.TTF"));
  SetOsFamilyForTesting(OsFamily::k9x);
  EXPECT_TRUE(UnregisterFontName(kTestFont));
  EXPECT_EQ(ReadFontValue(kNtFonts).text, "QUORVEX.TTF");
}

// Counts WM_FONTCHANGE at an ordinary (hidden) top-level window of this thread.
int fontChanges = 0;

LRESULT CALLBACK CountFontChanges(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_FONTCHANGE) ++fontChanges;
  return DefWindowProcA(window, message, w, l);
}

TEST(BroadcastFontChange, ReachesTopLevelWindows) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = CountFontChanges;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QuorvexFontChangeCounter";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  fontChanges = 0;
  BroadcastFontChange();
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  EXPECT_EQ(fontChanges, 1);
  DestroyWindow(window);
}

// The process token's privileges, saved by the fixture and put back afterwards, since
// RestartSystem turns every privilege off when it is done.
class TokenState {
 public:
  TokenState() {
    OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token_);
    DWORD size = 0;
    GetTokenInformation(token_, TokenPrivileges, nullptr, 0, &size);
    saved_.resize(size);
    if (size == 0 || !GetTokenInformation(token_, TokenPrivileges, saved_.data(), size, &size))
      saved_.clear();
  }
  ~TokenState() {
    if (!saved_.empty()) {
      AdjustTokenPrivileges(token_, FALSE, reinterpret_cast<TOKEN_PRIVILEGES*>(saved_.data()), 0,
                            nullptr, nullptr);
    }
    CloseHandle(token_);
  }
  bool Saved() const { return !saved_.empty(); }

  static bool Set(const char* name, bool enable) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
      return false;
    TOKEN_PRIVILEGES state = {};
    state.PrivilegeCount = 1;
    state.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    bool ok = LookupPrivilegeValueA(nullptr, name, &state.Privileges[0].Luid) &&
              AdjustTokenPrivileges(token, FALSE, &state, 0, nullptr, nullptr) &&
              GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return ok;
  }

  // True when the token holds the privilege and it is enabled.
  static bool Enabled(const char* name) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    LUID luid = {};
    PRIVILEGE_SET set = {};
    BOOL held = FALSE;
    set.PrivilegeCount = 1;
    set.Control = PRIVILEGE_SET_ALL_NECESSARY;
    bool ok = LookupPrivilegeValueA(nullptr, name, &luid);
    set.Privilege[0].Luid = luid;
    ok = ok && PrivilegeCheck(token, &set, &held);
    CloseHandle(token);
    return ok && held;
  }

 private:
  HANDLE token_ = nullptr;
  std::vector<BYTE> saved_;
};

// What the recorder saw of the last request.
struct ExitRequest {
  int calls = 0;
  unsigned flags = 0xDEADBEEF;
  unsigned long reason = 0xDEADBEEF;
  bool shutdownPrivilegeEnabled = false;
};
ExitRequest lastRequest;
BOOL recorderAnswer = TRUE;

int __stdcall RecordExitRequest(unsigned flags, unsigned long reason) {
  ++lastRequest.calls;
  lastRequest.flags = flags;
  lastRequest.reason = reason;
  lastRequest.shutdownPrivilegeEnabled = TokenState::Enabled("SeShutdownPrivilege");
  return recorderAnswer;
}

constexpr char kShutdown[] = "SeShutdownPrivilege";
// A second privilege of the token, enabled before the request to see it turned off after.
constexpr char kBystander[] = "SeChangeNotifyPrivilege";

class RestartSystemTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(saved_.Saved());
    SetExitWindowsForTesting(RecordExitRequest);
    lastRequest = ExitRequest();
    recorderAnswer = TRUE;
    ASSERT_TRUE(TokenState::Set(kShutdown, false));
    ASSERT_TRUE(TokenState::Set(kBystander, true));
    ASSERT_FALSE(TokenState::Enabled(kShutdown));
    ASSERT_TRUE(TokenState::Enabled(kBystander));
  }
  void TearDown() override {
    SetExitWindowsForTesting(nullptr);
    SetPrivilegeLibraryForTesting(nullptr);
  }

 private:
  TokenState saved_;
};

TEST_F(RestartSystemTest, FlagsFollowTheKindAndForce) {
  const struct {
    int kind;
    bool force;
    unsigned flags;
  } cases[] = {
      {RestartKind::kPowerOff, false, EWX_FORCEIFHUNG | EWX_POWEROFF},
      {RestartKind::kReboot, false, EWX_FORCEIFHUNG | EWX_REBOOT},
      {RestartKind::kLogOff, false, EWX_FORCEIFHUNG | EWX_LOGOFF},
      {RestartKind::kShutDown, false, EWX_FORCEIFHUNG | EWX_SHUTDOWN},
      {4, false, EWX_FORCEIFHUNG | EWX_SHUTDOWN},
      {-1, false, EWX_FORCEIFHUNG | EWX_SHUTDOWN},
      {RestartKind::kPowerOff, true, EWX_FORCE | EWX_POWEROFF},
      {RestartKind::kReboot, true, EWX_FORCE | EWX_REBOOT},
      {RestartKind::kLogOff, true, EWX_FORCE | EWX_LOGOFF},
      {RestartKind::kShutDown, true, EWX_FORCE | EWX_SHUTDOWN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + (c.force ? " forced" : ""));
    lastRequest = ExitRequest();
    EXPECT_TRUE(RestartSystem(c.kind, c.force));
    EXPECT_EQ(lastRequest.calls, 1);
    EXPECT_EQ(lastRequest.flags, c.flags);
    EXPECT_EQ(lastRequest.reason, 0u);
  }
}

TEST_F(RestartSystemTest, TheResultIsWhetherTheRequestWasAccepted) {
  recorderAnswer = FALSE;
  EXPECT_FALSE(RestartSystem(RestartKind::kReboot, false));
  recorderAnswer = TRUE;
  EXPECT_TRUE(RestartSystem(RestartKind::kReboot, false));
  EXPECT_EQ(lastRequest.calls, 2);
}

TEST_F(RestartSystemTest, TheShutdownPrivilegeIsEnabledForTheRequestOnly) {
  EXPECT_TRUE(RestartSystem(RestartKind::kReboot, false));
  EXPECT_TRUE(lastRequest.shutdownPrivilegeEnabled);
  // Afterwards every privilege of the token is off, not only the one enabled for the request.
  EXPECT_FALSE(TokenState::Enabled(kShutdown));
  EXPECT_FALSE(TokenState::Enabled(kBystander));
}

TEST_F(RestartSystemTest, WithoutPrivilegeFunctionsTheTokenIsLeftAlone) {
  SetPrivilegeLibraryForTesting(kMissingLibrary);
  EXPECT_TRUE(RestartSystem(RestartKind::kShutDown, true));
  EXPECT_EQ(lastRequest.calls, 1);
  EXPECT_EQ(lastRequest.flags, unsigned(EWX_FORCE | EWX_SHUTDOWN));
  EXPECT_FALSE(lastRequest.shutdownPrivilegeEnabled);
  EXPECT_TRUE(TokenState::Enabled(kBystander));
}

}  // namespace
