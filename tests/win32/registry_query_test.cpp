// Queries of keys through the registry cursor: existence, counts, emptiness, enumeration.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/array.h"
#include "platform/registry.h"
#include "tests/win32/registry_test_support.h"

namespace {

using registry_test::CreateKey;
using registry_test::ScratchKey;
using registry_test::SetRawValue;

class RegistryQueryTest : public registry_test::RegistryTestBase {
 protected:
  // The cursor opened on the scratch key (or on its subkey sub).
  void OpenScratch(Registry& registry, const std::string& sub = "") {
    std::string path = sub.empty() ? scratch_.Path() : scratch_ / sub;
    ASSERT_NE(registry.Open(HKEY_CURRENT_USER, path.c_str(), RegOpenOnly), OpenResult::Failed);
  }
};

std::vector<std::string> Names(Array<String>& names) {
  std::vector<std::string> out;
  for (int i = 0; i < names.Count(); ++i) out.push_back(names[i].CStr());
  return out;
}

TEST_F(RegistryQueryTest, SoftwareKeyExistsUnderEitherRoot) {
  ScratchKey machine(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "Here"));
  ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, machine / "There"));
  std::string userHere = scratch_.SoftwarePath() + "\\Here";
  std::string userThere = scratch_.SoftwarePath() + "\\There";
  std::string machineThere = machine.SoftwarePath() + "\\There";
  std::string machineHere = machine.SoftwarePath() + "\\Here";
  const struct {
    const char* subkey;
    bool currentUser;
    bool exists;
  } cases[] = {
      {userHere.c_str(), true, true},
      {userThere.c_str(), true, false},
      {machineThere.c_str(), false, true},
      {machineHere.c_str(), false, false},
      {userHere.c_str(), false, false},  // the other root
      {"", true, true},                  // the Software key itself
      {"", false, true},
      {nullptr, true, false},
  };
  Registry registry;
  ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
  HKEY cursor = registry.CurrentKey();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.subkey ? c.subkey : "(null)") + (c.currentUser ? " HKCU" : " HKLM"));
    EXPECT_EQ(Registry::SoftwareKeyExists(c.subkey, c.currentUser), c.exists);
    EXPECT_EQ(registry.CurrentKey(), cursor);
    EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath());
  }
  EXPECT_FALSE(registry_test::KeyExists(HKEY_CURRENT_USER, scratch_ / "There"));
}

TEST_F(RegistryQueryTest, CountsAndEmptinessFollowTheKeysContent) {
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "Empty"));
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_ / "OneValue", "v", REG_SZ, "x"));
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_ / "DefaultValue", "", REG_SZ, "x"));
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "TwoKeys\\A"));
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "TwoKeys\\B\\Deeper"));
  const struct {
    const char* sub;
    int count;
    bool empty;
  } cases[] = {
      {"Empty", 0, true},
      {"OneValue", 0, false},
      {"DefaultValue", 0, false},
      {"TwoKeys", 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sub);
    Registry registry;
    OpenScratch(registry, c.sub);
    EXPECT_EQ(registry.CountSubKeys(), c.count);
    EXPECT_EQ(registry.HasSubKeys(), c.count > 0);
    EXPECT_EQ(registry.IsKeyEmpty(), c.empty);
  }
}

TEST_F(RegistryQueryTest, WithoutAUsableKeyCountsFailAndKeysCountAsEmpty) {
  Registry none;
  EXPECT_EQ(none.CountSubKeys(), -1);
  EXPECT_FALSE(none.HasSubKeys());
  EXPECT_TRUE(none.IsKeyEmpty());
  EXPECT_FALSE(none.ValueExists(""));

  // A key deleted behind the cursor (with a subkey and a value, which go with it): the
  // query fails.
  std::string path = scratch_ / "Later";
  Registry registry;
  ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, path.c_str()), OpenResult::Created);
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, path + "\\Child", "v", REG_SZ, "x"));
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, path, "v", REG_SZ, "x"));
  ASSERT_EQ(registry.CountSubKeys(), 1);
  ASSERT_FALSE(registry.IsKeyEmpty());
  registry_test::DeleteKeyTree(HKEY_CURRENT_USER, path);
  EXPECT_EQ(registry.CountSubKeys(), -1);
  EXPECT_FALSE(registry.HasSubKeys());
  EXPECT_TRUE(registry.IsKeyEmpty());
}

TEST_F(RegistryQueryTest, IsSubKeyEmptyOpensAndClosesTheSubkey) {
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "Empty"));
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_ / "WithValue", "v", REG_DWORD,
                          registry_test::Dword(1)));
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "WithKey\\Child"));
  const struct {
    const char* name;
    bool empty;
  } cases[] = {
      {"Empty", true},
      {"Missing", true},
      {"WithValue", false},
      {"WithKey", false},
  };
  Registry registry;
  OpenScratch(registry);
  HKEY cursor = registry.CurrentKey();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(registry.IsSubKeyEmpty(c.name), c.empty);
    EXPECT_EQ(registry.CurrentKey(), cursor);
    EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath());
  }
  EXPECT_FALSE(registry_test::KeyExists(HKEY_CURRENT_USER, scratch_ / "Missing"));
  registry.Close();
  EXPECT_EQ(registry.CurrentKey(), nullptr);
}

TEST_F(RegistryQueryTest, EnumSubKeysAppendsTheNamesInOrder) {
  for (const char* name : {"b", "a", "c"}) {
    ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / name));
  }
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "a\\grandchild"));
  Registry registry;
  OpenScratch(registry);
  Array<String> names;
  names.Append(String("sentinel"));
  SetLastError(0xDEAD);
  EXPECT_EQ(registry.EnumSubKeys(&names), 3);
  EXPECT_EQ(GetLastError(), 0u);
  std::vector<std::string> expected = {"sentinel", "a", "b", "c"};
  EXPECT_EQ(Names(names), expected);
}

TEST_F(RegistryQueryTest, EnumSubKeysOfAKeyWithoutSubkeysClearsTheLastError) {
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_.Path(), "value", REG_SZ, "x"));
  Registry registry;
  OpenScratch(registry);
  Array<String> names;
  SetLastError(0xDEAD);
  EXPECT_EQ(registry.EnumSubKeys(&names), 0);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(names.Count(), 0);
}

TEST_F(RegistryQueryTest, EnumSubKeysStopsAtTheFirstErrorAndLeavesItsCode) {
  // Names longer than the 199-byte buffer end the enumeration with ERROR_MORE_DATA.
  // (Made relative to the scratch key: the system limits the length of the subkey text.)
  std::string longName(220, 'z');
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "a"));
  HKEY parent;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, scratch_.Path().c_str(), 0, KEY_ALL_ACCESS, &parent),
            ERROR_SUCCESS);
  bool madeLong = CreateKey(parent, longName);
  bool madeLongest = CreateKey(parent, longName.substr(0, 198));
  RegCloseKey(parent);
  ASSERT_TRUE(madeLong);
  ASSERT_TRUE(madeLongest);
  Registry registry;
  OpenScratch(registry);
  Array<String> names;
  SetLastError(0xDEAD);
  EXPECT_EQ(registry.EnumSubKeys(&names), 2);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MORE_DATA));
  std::vector<std::string> expected = {"a", longName.substr(0, 198)};
  EXPECT_EQ(Names(names), expected);

  // A key deleted behind the cursor fails at once with its own code.
  std::string path = scratch_ / "Doomed";
  Registry doomed;
  ASSERT_EQ(doomed.Open(HKEY_CURRENT_USER, path.c_str()), OpenResult::Created);
  registry_test::DeleteKeyTree(HKEY_CURRENT_USER, path);
  Array<String> none;
  SetLastError(0xDEAD);
  EXPECT_EQ(doomed.EnumSubKeys(&none), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_KEY_DELETED));
  EXPECT_EQ(none.Count(), 0);
}

TEST_F(RegistryQueryTest, EnumSubKeysNeedsAKeyAndAnOutput) {
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "a"));
  Registry none;
  Array<String> names;
  EXPECT_EQ(none.EnumSubKeys(&names), 0);
  EXPECT_EQ(names.Count(), 0);
  Registry registry;
  OpenScratch(registry);
  EXPECT_EQ(registry.EnumSubKeys(nullptr), 0);
}

TEST_F(RegistryQueryTest, ValueExistsForAnyTypeAndTheDefaultValue) {
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_.Path(), "text", REG_SZ, ""));
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_.Path(), "none", REG_NONE, ""));
  ASSERT_TRUE(
      SetRawValue(HKEY_CURRENT_USER, scratch_.Path(), "big", REG_BINARY, std::string(1000, 'b')));
  Registry registry;
  OpenScratch(registry);
  const struct {
    const char* name;
    bool exists;
  } cases[] = {{"text", true}, {"none", true},     {"big", true},
               {"TEXT", true}, {"missing", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(registry.ValueExists(c.name), c.exists);
  }
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_.Path(), "", REG_SZ, "default"));
  EXPECT_TRUE(registry.ValueExists(""));
}

}  // namespace
