// The product's own key and its empty parents below Software.
#include "uninstall/product_key.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/win32/registry_test_support.h"

namespace {

using registry_test::CreateKey;
using registry_test::KeyExists;
using registry_test::ScratchKey;
using registry_test::SetRawValue;

TEST(DeleteProductKey, TheTreeGoesAndThenOnlyEmptyParents) {
  for (bool currentUser : {false, true}) {
    SCOPED_TRACE(currentUser ? "HKCU" : "HKLM");
    ScratchKey scratch(currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE);
    HKEY root = scratch.Root();
    // Maker\Product with a subtree; Maker's parent Vendor also holds a value, so it stays.
    ASSERT_TRUE(CreateKey(root, scratch / "Vendor\\Maker\\Product\\Settings\\Deep"));
    ASSERT_TRUE(SetRawValue(root, scratch / "Vendor\\Maker\\Product", "v", REG_SZ, "1"));
    ASSERT_TRUE(SetRawValue(root, scratch / "Vendor", "keep", REG_SZ, "1"));
    DeleteProductKey((scratch.SoftwarePath() + "\\Vendor\\Maker\\Product").c_str(), currentUser);
    EXPECT_FALSE(KeyExists(root, scratch / "Vendor\\Maker"));
    EXPECT_TRUE(KeyExists(root, scratch / "Vendor"));

    // A parent with another product stays; a trailing backslash names the same key.
    ASSERT_TRUE(CreateKey(root, scratch / "Other\\Product"));
    ASSERT_TRUE(CreateKey(root, scratch / "Other\\Sibling"));
    DeleteProductKey((scratch.SoftwarePath() + "\\Other\\Product").c_str(), currentUser);
    EXPECT_FALSE(KeyExists(root, scratch / "Other\\Product"));
    EXPECT_TRUE(KeyExists(root, scratch / "Other\\Sibling"));
  }
}

// Nothing is deleted for a path that names no key, and Software itself is never reached.
TEST(DeleteProductKey, PathsWithoutAKeyDeleteNothing) {
  ScratchKey scratch(HKEY_CURRENT_USER);
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch / "Stays"));
  for (const char* path : {"", "\\", "QuorvexTests\\", "QuorvexTests\\NoSuchKey"}) {
    SCOPED_TRACE(path);
    DeleteProductKey(path, true);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch / "Stays"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software"));
  }
}

}  // namespace
