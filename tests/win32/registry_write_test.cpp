// Writing values through the registry cursor, checked with raw reads of the registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/value.h"
#include "platform/registry.h"
#include "tests/win32/registry_test_support.h"

namespace {

using registry_test::Dword;
using registry_test::GetRawValue;
using registry_test::RawValue;
using registry_test::SetRawValue;

const std::string kNul(1, '\0');

class RegistryWriteTest : public registry_test::RegistryTestBase {
 protected:
  void SetUp() override {
    RegistryTestBase::SetUp();
    ASSERT_EQ(registry_.Open(HKEY_CURRENT_USER, scratch_.Path().c_str(), RegOpenOnly),
              OpenResult::Existed);
  }
  RawValue Raw(const char* name) { return GetRawValue(HKEY_CURRENT_USER, scratch_.Path(), name); }
  // A value that a deletion can remove, so that a deletion shows.
  void Plant(const char* name) {
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_.Path(), name, REG_SZ, "planted" + kNul));
  }
  void ExpectStored(const char* name, DWORD type, const std::string& bytes) {
    RawValue raw = Raw(name);
    EXPECT_TRUE(raw.found);
    EXPECT_EQ(raw.type, type);
    EXPECT_EQ(raw.bytes, bytes);
  }

  Registry registry_;
};

TEST_F(RegistryWriteTest, SetDwordWritesFourBytesOrDeletesZeroWhenAsked) {
  EXPECT_TRUE(registry_.SetDword("big", 0xFEDCBA98));
  ExpectStored("big", REG_DWORD, Dword(0xFEDCBA98));
  EXPECT_TRUE(registry_.SetDword("zero", 0));
  ExpectStored("zero", REG_DWORD, Dword(0));
  Plant("deleted");
  EXPECT_TRUE(registry_.SetDword("deleted", 0, RegDeleteIfEmpty));
  EXPECT_FALSE(Raw("deleted").found);
  // Nothing to delete is still success.
  EXPECT_TRUE(registry_.SetDword("never", 0, RegDeleteIfEmpty));
  EXPECT_FALSE(Raw("never").found);
  EXPECT_TRUE(registry_.SetDword("kept", 3, RegDeleteIfEmpty));
  ExpectStored("kept", REG_DWORD, Dword(3));
}

TEST_F(RegistryWriteTest, SetBoolWritesOneOrZero) {
  EXPECT_TRUE(registry_.SetBool("yes", true));
  EXPECT_TRUE(registry_.SetBool("no", false));
  ExpectStored("yes", REG_DWORD, Dword(1));
  ExpectStored("no", REG_DWORD, Dword(0));
}

TEST_F(RegistryWriteTest, TextTypesFollowTheFlags) {
  const struct {
    const char* name;
    uint32_t flags;
    DWORD type;
    std::string stored;
  } cases[] = {
      // The string types are stored with a terminator although the length written leaves it
      // out; binary data is exactly the text.
      {"plain", 0, REG_SZ, "C:\\Dir" + kNul},
      {"expand", RegExpand, REG_EXPAND_SZ, "C:\\Dir" + kNul},
      {"binary", RegBinary, REG_BINARY, "C:\\Dir"},
      {"binary wins", RegBinary | RegExpand, REG_BINARY, "C:\\Dir"},
      {"delete flag with text", RegDeleteIfEmpty, REG_SZ, "C:\\Dir" + kNul},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = std::string(c.name) + " via SetText";
    EXPECT_TRUE(registry_.SetText(text.c_str(), "C:\\Dir", c.flags));
    ExpectStored(text.c_str(), c.type, c.stored);
    text = std::string(c.name) + " via SetString";
    EXPECT_TRUE(registry_.SetString(text.c_str(), String("C:\\Dir"), c.flags));
    ExpectStored(text.c_str(), c.type, c.stored);
  }
}

TEST_F(RegistryWriteTest, SetStringWritesEveryCountedByte) {
  std::string bytes = "a" + kNul + "b\xff";
  EXPECT_TRUE(registry_.SetString("raw", String(bytes.data(), int(bytes.size())), RegBinary));
  ExpectStored("raw", REG_BINARY, bytes);
  std::string big(70000, 'q');
  EXPECT_TRUE(registry_.SetString("big", String(big.c_str())));
  ExpectStored("big", REG_SZ, big + kNul);
}

TEST_F(RegistryWriteTest, EmptyTextsAreWrittenOrDeleted) {
  EXPECT_TRUE(registry_.SetText("empty", ""));
  ExpectStored("empty", REG_SZ, "");
  EXPECT_TRUE(registry_.SetText("null", nullptr));
  ExpectStored("null", REG_SZ, "");
  Plant("by SetString");
  EXPECT_TRUE(registry_.SetString("by SetString", String(), RegDeleteIfEmpty));
  EXPECT_FALSE(Raw("by SetString").found);
  Plant("by SetText");
  EXPECT_TRUE(registry_.SetText("by SetText", nullptr, RegDeleteIfEmpty));
  EXPECT_FALSE(Raw("by SetText").found);
  // The result is the deletion's: with no value to delete it fails.
  EXPECT_FALSE(registry_.SetText("never there", "", RegDeleteIfEmpty));
  EXPECT_FALSE(Raw("never there").found);
}

TEST_F(RegistryWriteTest, SetValueWritesIntegersAsDwordsAndTheRestAsText) {
  Value empty;
  Value five;
  five.SetInt32(5);
  Value wide;
  wide.SetInt64(0x100000005LL);
  Value negative;
  negative.SetInt16(-2);
  Value truth;
  truth.SetBool(true);
  Value zero;
  zero.SetInt32(0);
  Value real;
  real.SetDouble(2.5);
  Value realZero;
  realZero.SetDouble(0.0);
  Value text;
  text.SetText("%WINDIR%");
  Value emptyText;
  emptyText.SetText("");
  Value date;
  date.SetDate(3, 5, 2003);
  enum Outcome { kWritten, kDeleted };
  const struct {
    const char* name;
    const Value* value;
    uint32_t flags;
    Outcome outcome;
    DWORD type;
    std::string stored;
  } cases[] = {
      {"nothing deletes", &empty, 0, kDeleted, 0, ""},
      {"integer", &five, 0, kWritten, REG_DWORD, Dword(5)},
      {"wide integer keeps the low bits", &wide, 0, kWritten, REG_DWORD, Dword(5)},
      {"negative integer", &negative, 0, kWritten, REG_DWORD, Dword(0xFFFFFFFE)},
      {"truth", &truth, 0, kWritten, REG_DWORD, Dword(1)},
      {"zero", &zero, 0, kWritten, REG_DWORD, Dword(0)},
      {"zero deleted", &zero, RegDeleteIfEmpty, kDeleted, 0, ""},
      {"real", &real, 0, kWritten, REG_SZ, "2.5" + kNul},
      {"real zero deleted", &realZero, RegDeleteIfEmpty, kDeleted, 0, ""},
      {"text", &text, 0, kWritten, REG_SZ, "%WINDIR%" + kNul},
      {"text expand", &text, RegExpand, kWritten, REG_EXPAND_SZ, "%WINDIR%" + kNul},
      {"text binary", &text, RegBinary, kWritten, REG_BINARY, "%WINDIR%"},
      {"empty text", &emptyText, 0, kWritten, REG_SZ, ""},
      {"empty text deleted", &emptyText, RegDeleteIfEmpty, kDeleted, 0, ""},
      {"date as its text", &date, 0, kWritten, REG_SZ, std::string(date.ToText().CStr()) + kNul},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Plant(c.name);
    EXPECT_TRUE(registry_.SetValue(c.name, *c.value, c.flags));
    if (c.outcome == kDeleted) {
      EXPECT_FALSE(Raw(c.name).found);
    } else {
      ExpectStored(c.name, c.type, c.stored);
    }
  }
  // Deleting what is not there is still success.
  EXPECT_TRUE(registry_.SetValue("never there", empty));
}

TEST_F(RegistryWriteTest, WritersFailWithoutAUsableKey) {
  Registry none;
  Value value;
  value.SetInt32(1);
  EXPECT_FALSE(none.SetValue("v", value));
  EXPECT_FALSE(none.SetValue("v", Value()));
  EXPECT_FALSE(none.SetDword("v", 1));
  EXPECT_FALSE(none.SetDword("v", 0, RegDeleteIfEmpty));
  EXPECT_FALSE(none.SetBool("v", true));
  EXPECT_FALSE(none.SetText("v", "x"));
  EXPECT_FALSE(none.SetString("v", String("x")));

  std::string path = scratch_ / "Doomed";
  Registry doomed;
  ASSERT_EQ(doomed.Open(HKEY_CURRENT_USER, path.c_str()), OpenResult::Created);
  registry_test::DeleteKeyTree(HKEY_CURRENT_USER, path);
  EXPECT_FALSE(doomed.SetValue("v", value));
  EXPECT_FALSE(doomed.SetDword("v", 1));
  EXPECT_FALSE(doomed.SetText("v", "x"));
  EXPECT_FALSE(registry_test::KeyExists(HKEY_CURRENT_USER, path));
}

}  // namespace
