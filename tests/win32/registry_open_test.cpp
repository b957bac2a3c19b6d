// The registry cursor's opens and closes: results, display paths, the two stacks and the
// "Registry Error" box of a failed open.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/value.h"
#include "platform/registry.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/registry_test_support.h"
#include "ui/windows.h"

namespace {

using registry_test::CreateKey;
using registry_test::DeletedKeyHandle;
using registry_test::KeyExists;
using registry_test::RegistryErrorBox;
using registry_test::ScratchKey;
using registry_test::SetRawValue;

class RegistryOpenTest : public registry_test::RegistryTestBase {};

// The handle is no longer valid: it has been closed.
bool IsClosed(HKEY key) {
  DWORD subKeys = 0;
  return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr) == ERROR_INVALID_HANDLE;
}

TEST_F(RegistryOpenTest, RelativeOpensAppendTheSubkeyWithoutASeparator) {
  Registry registry;
  EXPECT_EQ(registry.CurrentPath().CStr(), std::string());
  ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath());
  ASSERT_EQ(registry.OpenSub("Y"), OpenResult::Created);
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath() + "Y");
  // Only the display path lacks the separator: the key is the child Y.
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Y"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratch_.Path() + "Y"));
  ASSERT_EQ(registry.OpenSub("Z\\W"), OpenResult::Created);
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath() + "YZ\\W");
  registry.Close();
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath() + "Y");
  registry.Close();
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath());
  registry.Close();
  EXPECT_EQ(registry.CurrentPath().CStr(), std::string());
  EXPECT_EQ(registry.CurrentKey(), nullptr);
}

TEST_F(RegistryOpenTest, EachPredefinedRootStartsItsOwnDisplayPath) {
  const struct {
    HKEY root;
    const char* prefix;
  } cases[] = {
      {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT\\"},
      {HKEY_CURRENT_USER, "HKEY_CURRENT_USER\\"},
      {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE\\"},
      {HKEY_USERS, "HKEY_USERS\\"},
      {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG\\"},
  };
  Registry registry;
  ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.prefix);
    // The empty subkey opens the root itself; the prefix replaces the path that was current.
    EXPECT_EQ(registry.Open(c.root, "", RegOpenOnly), OpenResult::Existed);
    EXPECT_EQ(registry.CurrentPath().CStr(), std::string(c.prefix));
    registry.Close();
    EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath());
  }
}

TEST_F(RegistryOpenTest, AnOpenKeyAsParentKeepsTheCurrentPath) {
  HKEY raw;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, scratch_.Path().c_str(), 0, KEY_ALL_ACCESS, &raw),
            ERROR_SUCCESS);
  {
    Registry registry;
    ASSERT_EQ(registry.Open(raw, "Fresh"), OpenResult::Created);
    EXPECT_EQ(registry.CurrentPath().CStr(), std::string("Fresh"));
    ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
    ASSERT_EQ(registry.Open(raw, "Other"), OpenResult::Created);
    EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath() + "Other");
  }
  RegCloseKey(raw);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Fresh"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Other"));
}

TEST_F(RegistryOpenTest, CreateOpenAndOpenOnlyReportWhatHappened) {
  Registry registry;
  std::string path = scratch_ / "New";
  EXPECT_EQ(registry.Open(HKEY_CURRENT_USER, path.c_str()), OpenResult::Created);
  registry.Close();
  EXPECT_EQ(registry.Open(HKEY_CURRENT_USER, path.c_str()), OpenResult::Existed);
  registry.Close();
  EXPECT_EQ(registry.Open(HKEY_CURRENT_USER, path.c_str(), RegOpenOnly), OpenResult::Existed);
  registry.Close();
  EXPECT_EQ(registry.CurrentKey(), nullptr);
}

TEST_F(RegistryOpenTest, AFailedOpenLeavesTheCursorAsItWas) {
  Registry registry;
  ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
  HKEY before = registry.CurrentKey();
  SetLastError(0xDEAD);
  EXPECT_EQ(registry.OpenSub("Missing", RegOpenOnly), OpenResult::Failed);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(registry.CurrentKey(), before);
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Missing"));
  // One Close still returns to where the cursor started: the failure pushed nothing.
  registry.Close();
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_EQ(registry.CurrentPath().CStr(), std::string());
  EXPECT_TRUE(ReadUiTranscript().empty());
}

TEST_F(RegistryOpenTest, RelativeOpensNeedAnOpenKey) {
  Registry registry;
  EXPECT_EQ(registry.OpenSub("Anything"), OpenResult::Failed);
  EXPECT_FALSE(registry.OpenChild("Anything"));
  EXPECT_EQ(registry.CurrentKey(), nullptr);
}

TEST_F(RegistryOpenTest, OpenChildCreatesOrOpens) {
  Registry registry;
  ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
  EXPECT_TRUE(registry.OpenChild("Child"));
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath() + "Child");
  registry.Close();
  EXPECT_TRUE(registry.OpenChild("Child"));
  registry.Close();
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Child"));
}

TEST_F(RegistryOpenTest, OpenSoftwareChoosesTheRoot) {
  ScratchKey machine(HKEY_LOCAL_MACHINE);
  const struct {
    bool currentUser;
    const ScratchKey* key;
  } cases[] = {{true, &scratch_}, {false, &machine}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.currentUser ? "current user" : "local machine");
    Registry registry;
    std::string sub = c.key->SoftwarePath() + "\\Made";
    EXPECT_EQ(registry.OpenSoftware(sub.c_str(), c.currentUser), OpenResult::Created);
    EXPECT_EQ(registry.CurrentPath().CStr(), c.key->DisplayPath() + "\\Made");
    EXPECT_TRUE(KeyExists(c.key->Root(), *c.key / "Made"));
    registry.Close();
    EXPECT_EQ(registry.OpenSoftware(sub.c_str(), c.currentUser, RegOpenOnly),
              OpenResult::Existed);
  }
}

TEST_F(RegistryOpenTest, CloseKeysClosesEveryNestedKey) {
  Registry registry;
  std::vector<HKEY> handles;
  ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
  handles.push_back(registry.CurrentKey());
  ASSERT_EQ(registry.OpenSub("A"), OpenResult::Created);
  handles.push_back(registry.CurrentKey());
  ASSERT_EQ(registry.OpenSub("B"), OpenResult::Created);
  handles.push_back(registry.CurrentKey());
  for (HKEY handle : handles) EXPECT_FALSE(IsClosed(handle));
  registry.CloseKeys();
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_EQ(registry.CurrentPath().CStr(), std::string());
  for (HKEY handle : handles) EXPECT_TRUE(IsClosed(handle));
  // Closing with nothing open is harmless (no empty-stack pop).
  registry.Close();
  registry.CloseKeys();
  EXPECT_EQ(registry.CurrentKey(), nullptr);
}

TEST_F(RegistryOpenTest, DestructionClosesTheKeysStillOpen) {
  HKEY outer;
  HKEY inner;
  {
    Registry registry;
    ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
    outer = registry.CurrentKey();
    ASSERT_EQ(registry.OpenSub("Inner"), OpenResult::Created);
    inner = registry.CurrentKey();
  }
  EXPECT_TRUE(IsClosed(outer));
  EXPECT_TRUE(IsClosed(inner));
}

TEST_F(RegistryOpenTest, FailedOpensShowTheSystemTextOnlyWhenAsked) {
  Registry registry;
  std::string missing = scratch_ / "Missing";
  EXPECT_EQ(registry.Open(HKEY_CURRENT_USER, missing.c_str(), RegOpenOnly), OpenResult::Failed);
  EXPECT_TRUE(ReadUiTranscript().empty());
  EXPECT_EQ(registry.Open(HKEY_CURRENT_USER, missing.c_str(), RegOpenOnly | RegReportErrors),
            OpenResult::Failed);
  // A create under a key that has been deleted fails too.
  DeletedKeyHandle deleted(HKEY_CURRENT_USER, scratch_ / "Gone");
  ASSERT_NE(deleted.Get(), nullptr);
  EXPECT_EQ(registry.Open(deleted.Get(), "Child", RegReportErrors), OpenResult::Failed);
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_FALSE(registry_test::SystemMessage(ERROR_FILE_NOT_FOUND).empty());
  std::vector<std::string> expected = {RegistryErrorBox(ERROR_FILE_NOT_FOUND),
                                       RegistryErrorBox(ERROR_KEY_DELETED)};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(RegistryOpenTest, TheBoxHasNoOwnerEvenWhenTheProgramHasWindows) {
  // The Registry Error box is not owned by the program's windows, unlike ReportError's.
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  HWND savedBackground = BackgroundWindow;
  BackgroundWindow = window;
  Registry registry;
  std::string missing = scratch_ / "Missing";
  EXPECT_EQ(registry.Open(HKEY_CURRENT_USER, missing.c_str(), RegOpenOnly | RegReportErrors),
            OpenResult::Failed);
  BackgroundWindow = savedBackground;
  DestroyWindow(window);
  std::vector<std::string> expected = {RegistryErrorBox(ERROR_FILE_NOT_FOUND)};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(RegistryOpenTest, ExchangeReadsOrWritesByTheStoringFlag) {
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_.Path(), "Stored", REG_SZ,
                          std::string("old\0", 4)));
  Registry registry;
  ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
  EXPECT_FALSE(registry.IsStoring());
  EXPECT_EQ(registry.Separator(), '\\');
  Value value = registry_test::SentinelValue();
  EXPECT_TRUE(registry.Exchange("Stored", value));
  EXPECT_EQ(registry_test::TextOf(value), "old");
  registry.SetStoring(true);
  value.SetInt32(77);
  EXPECT_TRUE(registry.Exchange("Stored", value));
  registry_test::RawValue raw = registry_test::GetRawValue(HKEY_CURRENT_USER, scratch_.Path(),
                                                           "Stored");
  EXPECT_EQ(raw.type, DWORD(REG_DWORD));
  EXPECT_EQ(raw.bytes, registry_test::Dword(77));
}

}  // namespace
