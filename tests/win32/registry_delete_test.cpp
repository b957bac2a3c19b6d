// Deleting values and key trees through the registry cursor.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/registry.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/registry_test_support.h"

namespace {

using registry_test::CreateKey;
using registry_test::KeyExists;
using registry_test::RegistryErrorBox;
using registry_test::ScratchKey;
using registry_test::SetRawValue;

const std::string kNul(1, '\0');

class RegistryDeleteTest : public registry_test::RegistryTestBase {
 protected:
  // A tree three levels deep below name, with values at every level.
  void MakeTree(HKEY root, const std::string& path) {
    for (const char* sub : {"", "\\A", "\\A\\A1", "\\A\\A1\\Leaf", "\\B"}) {
      ASSERT_TRUE(SetRawValue(root, path + sub, "v", REG_SZ, "x" + kNul));
    }
  }
  void OpenScratch(Registry& registry) {
    ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str(), RegOpenOnly),
              OpenResult::Existed);
  }
};

TEST_F(RegistryDeleteTest, DeleteValueReportsWhatHappened) {
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_.Path(), "v", REG_SZ, "x" + kNul));
  Registry none;
  EXPECT_EQ(none.DeleteValue("v"), DeleteResult::NotFound);
  Registry registry;
  OpenScratch(registry);
  EXPECT_EQ(registry.DeleteValue("v"), DeleteResult::Deleted);
  EXPECT_FALSE(registry.ValueExists("v"));
  EXPECT_EQ(registry.DeleteValue("v"), DeleteResult::Failed);
}

TEST_F(RegistryDeleteTest, DeleteSubKeyRemovesAWholeTreeChildrenFirst) {
  MakeTree(HKEY_CURRENT_USER, scratch_ / "Tree");
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "Sibling"));
  // The system itself refuses a key with subkeys: the cursor has to go depth first.
  ASSERT_NE(RegDeleteKeyA(HKEY_CURRENT_USER, (scratch_ / "Tree").c_str()), ERROR_SUCCESS);
  Registry registry;
  OpenScratch(registry);
  HKEY cursor = registry.CurrentKey();
  EXPECT_EQ(registry.DeleteSubKey("Tree", RegReportErrors), DeleteResult::Deleted);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Tree"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Sibling"));
  EXPECT_EQ(registry.CurrentKey(), cursor);
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath());
  EXPECT_TRUE(ReadUiTranscript().empty());
}

TEST_F(RegistryDeleteTest, DeleteSubKeyNeedsAKeyAndAName) {
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "Kept"));
  Registry none;
  EXPECT_EQ(none.DeleteSubKey("Kept"), DeleteResult::NotFound);
  Registry registry;
  OpenScratch(registry);
  EXPECT_EQ(registry.DeleteSubKey(nullptr, RegReportErrors), DeleteResult::NotFound);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Kept"));
  EXPECT_TRUE(ReadUiTranscript().empty());
}

TEST_F(RegistryDeleteTest, OnlyIfEmptyRefusesKeysWithContent) {
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_ / "OneValue", "v", REG_SZ, "x" + kNul));
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "OneKey\\Child"));
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "Empty"));
  const struct {
    const char* name;
    DeleteResult result;
    bool remains;
  } cases[] = {
      {"OneValue", DeleteResult::NotEmpty, true},
      {"OneKey", DeleteResult::NotEmpty, true},
      {"Empty", DeleteResult::Deleted, false},
      {"Missing", DeleteResult::Failed, false},  // empty because it cannot be opened
  };
  Registry registry;
  OpenScratch(registry);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(registry.DeleteSubKey(c.name, RegOnlyIfEmpty), c.result);
    EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, scratch_ / c.name), c.remains);
  }
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch_ / "OneKey\\Child"));
}

TEST_F(RegistryDeleteTest, AMissingSubkeyIsReportedTwiceWhenAsked) {
  Registry registry;
  OpenScratch(registry);
  EXPECT_EQ(registry.DeleteSubKey("Missing"), DeleteResult::Failed);
  EXPECT_TRUE(ReadUiTranscript().empty());
  SetLastError(0);
  EXPECT_EQ(registry.DeleteSubKey("Missing", RegReportErrors), DeleteResult::Failed);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  // Once for the children's open, once for the deletion itself.
  std::vector<std::string> expected = {RegistryErrorBox(ERROR_FILE_NOT_FOUND),
                                       RegistryErrorBox(ERROR_FILE_NOT_FOUND)};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(RegistryDeleteTest, DeleteKeyOpensTheParentForItself) {
  MakeTree(HKEY_CURRENT_USER, scratch_ / "Parent\\Tree");
  std::string parent = scratch_ / "Parent";
  std::string missingParent = scratch_ / "NoParent";
  Registry registry;
  EXPECT_EQ(registry.DeleteKey(HKEY_CURRENT_USER, missingParent.c_str(), "Tree", RegReportErrors),
            DeleteResult::NotFound);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, missingParent));
  EXPECT_TRUE(ReadUiTranscript().empty());
  EXPECT_EQ(registry.DeleteKey(HKEY_CURRENT_USER, parent.c_str(), "Tree"), DeleteResult::Deleted);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, parent + "\\Tree"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, parent));
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_EQ(registry.DeleteKey(HKEY_CURRENT_USER, parent.c_str(), "Tree"), DeleteResult::Failed);
}

TEST_F(RegistryDeleteTest, DeleteKeyPathSplitsAtTheLastBackslash) {
  std::string tree = scratch_ / "Tree";
  std::string trailing = scratch_ / "Tree\\";
  std::string missingParent = scratch_ / "NoParent\\Tree";
  const struct {
    const char* label;
    const char* path;
    DeleteResult result;
  } cases[] = {
      {"nothing after the last backslash", trailing.c_str(), DeleteResult::NotFound},
      {"empty", "", DeleteResult::NotFound},
      {"null", nullptr, DeleteResult::NotFound},
      {"missing parent", missingParent.c_str(), DeleteResult::NotFound},
      {"tree", tree.c_str(), DeleteResult::Deleted},
  };
  MakeTree(HKEY_CURRENT_USER, tree);
  Registry registry;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(registry.DeleteKeyPath(HKEY_CURRENT_USER, c.path), c.result);
    EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, tree), c.result != DeleteResult::Deleted);
  }
  // Without a backslash the name is a subkey of the parent itself.
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "Direct"));
  HKEY parent;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, scratch_.Path().c_str(), 0, KEY_ALL_ACCESS, &parent),
            ERROR_SUCCESS);
  EXPECT_EQ(registry.DeleteKeyPath(parent, "Direct"), DeleteResult::Deleted);
  RegCloseKey(parent);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Direct"));
}

TEST_F(RegistryDeleteTest, SoftwareDeletesChooseTheRoot) {
  ScratchKey machine(HKEY_LOCAL_MACHINE);
  const struct {
    bool currentUser;
    const ScratchKey* key;
    const ScratchKey* other;
  } cases[] = {{true, &scratch_, &machine}, {false, &machine, &scratch_}};
  Registry registry;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.currentUser ? "current user" : "local machine");
    for (const ScratchKey* key : {c.key, c.other}) {
      MakeTree(key->Root(), *key / "ByPath");
      MakeTree(key->Root(), *key / "ByName");
    }
    std::string byPath = c.key->SoftwarePath() + "\\ByPath";
    EXPECT_EQ(registry.DeleteSoftwareKey(byPath.c_str(), c.currentUser), DeleteResult::Deleted);
    EXPECT_EQ(registry.DeleteSoftwareSubKey(c.key->SoftwarePath().c_str(), "ByName", c.currentUser),
              DeleteResult::Deleted);
    EXPECT_FALSE(KeyExists(c.key->Root(), *c.key / "ByPath"));
    EXPECT_FALSE(KeyExists(c.key->Root(), *c.key / "ByName"));
    // The same names under the other root stay.
    EXPECT_TRUE(KeyExists(c.other->Root(), *c.other / "ByPath\\A\\A1\\Leaf"));
    EXPECT_TRUE(KeyExists(c.other->Root(), *c.other / "ByName\\A\\A1\\Leaf"));
    registry_test::DeleteKeyTree(c.other->Root(), *c.other / "ByPath");
    registry_test::DeleteKeyTree(c.other->Root(), *c.other / "ByName");
  }
}

}  // namespace
