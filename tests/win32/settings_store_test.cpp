// Walking separator paths through the settings store interface: its own rules with a store
// that records what it is asked to open, and the registry cursor as the engine's store.
#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/value.h"
#include "platform/registry.h"
#include "tests/win32/registry_test_support.h"

namespace {

// Records the opens; a root only when it has one, and children fail once their name is
// "fail".
class RecordingStore : public SettingsStore {
 public:
  explicit RecordingStore(bool hasRoot) : hasRoot_(hasRoot) {}
  bool Exchange(const char*, Value&) override { return false; }
  bool OpenChild(const char* name) override {
    opened.push_back(name);
    return std::string(name) != "fail";
  }
  bool OpenRoot() override {
    opened.push_back("<root>");
    return hasRoot_;
  }
  std::vector<std::string> opened;

 private:
  bool hasRoot_;
};

class PlainStore : public SettingsStore {
 public:
  bool Exchange(const char*, Value&) override { return true; }
};

TEST(SettingsStoreTest, OpenPathOpensEachComponentAtItsSeparator) {
  using Opens = std::vector<std::string>;
  const struct {
    const char* path;
    bool hasRoot;
    bool result;
    Opens opened;
  } cases[] = {
      {"A\\B\\C", true, true, {"A", "B"}},
      {"A\\B\\", true, true, {"A", "B"}},
      {"Single", true, true, {}},
      {"A\\\\B\\", true, true, {"A", "", "B"}},
      {"\\A\\B", true, true, {"<root>", "", "A"}},
      {"\\A\\B", false, false, {"<root>"}},
      {"", true, true, {"<root>"}},
      {"", false, false, {"<root>"}},
      {"A\\fail\\B\\C", true, false, {"A", "fail"}},
      {"A/B\\C", true, true, {"A/B"}},  // only the store's own separator separates
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path) + (c.hasRoot ? " with root" : " without root"));
    RecordingStore store(c.hasRoot);
    EXPECT_EQ(store.OpenPath(c.path), c.result);
    EXPECT_EQ(store.opened, c.opened);
  }
  RecordingStore store(true);
  EXPECT_FALSE(store.OpenPath(nullptr));
  EXPECT_TRUE(store.opened.empty());
}

TEST(SettingsStoreTest, TheBaseHasNoChildrenNoRootAndStartsReading) {
  PlainStore store;
  EXPECT_FALSE(store.IsStoring());
  EXPECT_EQ(store.Separator(), '\\');
  store.Flush();
  EXPECT_FALSE(store.OpenChild("A"));
  EXPECT_FALSE(store.OpenRoot());
  EXPECT_FALSE(store.OpenPath("A\\B"));
  EXPECT_FALSE(store.OpenPath("\\A"));
  EXPECT_TRUE(store.OpenPath("NoSeparator"));
  store.SetStoring(true);
  EXPECT_TRUE(store.IsStoring());
}

class RegistryOpenPathTest : public registry_test::RegistryTestBase {};

TEST_F(RegistryOpenPathTest, TheRegistryWalksBelowItsCurrentKeyOnly) {
  Registry registry;
  EXPECT_FALSE(registry.OpenPath("A\\B\\"));  // no key open: no child can be opened
  ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
  EXPECT_FALSE(registry.OpenRoot());
  EXPECT_FALSE(registry.OpenPath("\\A\\"));
  EXPECT_FALSE(registry.OpenPath(""));
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath());

  EXPECT_TRUE(registry.OpenPath("A\\B\\C"));
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath() + "AB");
  EXPECT_TRUE(registry_test::KeyExists(HKEY_CURRENT_USER, scratch_ / "A\\B"));
  EXPECT_FALSE(registry_test::KeyExists(HKEY_CURRENT_USER, scratch_ / "A\\B\\C"));
  // One level per component: two closes return to the scratch key.
  registry.Close();
  registry.Close();
  EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath());
}

}  // namespace
