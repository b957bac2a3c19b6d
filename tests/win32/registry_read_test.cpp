// Reading values through the registry cursor: the query of every type, the second query of
// long values, the typed readers, path reads and the required-value stop.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/settings.h"
#include "core/value.h"
#include "platform/registry.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/registry_access_test_support.h"
#include "tests/win32/registry_test_support.h"

namespace {

using registry_test::CreateKey;
using registry_test::Dword;
using registry_test::KeyExists;
using registry_test::SentinelValue;
using registry_test::SetRawValue;
using registry_test::TextOf;

class RegistryReadTest : public registry_test::RegistryTestBase {
 protected:
  void SetUp() override {
    RegistryTestBase::SetUp();
    savedName_ = ApplicationName;
    ApplicationName = "Quorvex";
  }
  void TearDown() override {
    ApplicationName = savedName_;
    RegistryTestBase::TearDown();
  }
  bool Store(const char* name, DWORD type, const std::string& bytes) {
    return SetRawValue(HKEY_CURRENT_USER, scratch_.Path(), name, type, bytes);
  }
  void OpenScratch(Registry& registry) {
    ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str(), RegOpenOnly),
              OpenResult::Existed);
  }

  String savedName_;
};

// Bytes 0..250 repeated, NULs included, so that a shifted or truncated copy shows.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = char(i % 251);
  return bytes;
}

std::string Chars(size_t n) {
  std::string text;
  for (size_t i = 0; i < n; ++i) text += char('a' + i % 26);
  return text;
}

const std::string kNul(1, '\0');

TEST_F(RegistryReadTest, QueryValueReadsEachTypeBySize) {
  enum Expect { kText, kInteger, kUnchanged };
  const struct {
    const char* name;
    DWORD type;
    std::string stored;
    bool ok;
    Expect expect;
    std::string text;
    int32_t number;
  } cases[] = {
      {"sz", REG_SZ, "abc" + kNul, true, kText, "abc", 0},
      {"sz of 32 bytes", REG_SZ, Chars(31) + kNul, true, kText, Chars(31), 0},
      {"sz of 33 bytes", REG_SZ, Chars(32) + kNul, true, kText, Chars(32), 0},
      {"sz of 40 chars", REG_SZ, Chars(40) + kNul, true, kText, Chars(40), 0},
      {"sz empty", REG_SZ, "", true, kText, "", 0},
      {"sz terminator only", REG_SZ, kNul, true, kText, "", 0},
      {"expand keeps its terminator", REG_EXPAND_SZ, "%A%" + kNul, true, kText, "%A%" + kNul, 0},
      {"expand long", REG_EXPAND_SZ, Chars(40) + kNul, true, kText, Chars(40) + kNul, 0},
      {"multi keeps both terminators", REG_MULTI_SZ, "ab" + kNul + "cd" + kNul + kNul, true, kText,
       "ab" + kNul + "cd" + kNul + kNul, 0},
      {"multi long drops one terminator", REG_MULTI_SZ, Chars(37) + kNul + "x" + kNul + kNul, true,
       kText, Chars(37) + kNul + "x" + kNul, 0},
      {"binary", REG_BINARY, "\x01" + kNul + "\x02", true, kText, "\x01" + kNul + "\x02", 0},
      {"binary of 32 bytes", REG_BINARY, Pattern(32), true, kText, Pattern(32), 0},
      {"binary of 100 KB", REG_BINARY, Pattern(100 * 1024), true, kText, Pattern(100 * 1024), 0},
      {"dword", REG_DWORD, Dword(0xFFFFFFFE), true, kInteger, "", -2},
      {"dword of 2 bytes", REG_DWORD, "\x01\x02", false, kUnchanged, "", 0},
      {"dword of 8 bytes", REG_DWORD, Dword(1) + Dword(2), false, kUnchanged, "", 0},
      // Longer than the first buffer: read as text whatever the type.
      {"dword of 40 bytes", REG_DWORD, Pattern(40), true, kText, Pattern(40), 0},
      {"none", REG_NONE, "abc", false, kUnchanged, "", 0},
      {"big-endian dword", REG_DWORD_BIG_ENDIAN, Dword(5), false, kUnchanged, "", 0},
      {"qword", REG_QWORD, Dword(5) + Dword(0), false, kUnchanged, "", 0},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(Store(c.name, c.type, c.stored)) << c.name;
  }
  Registry registry;
  OpenScratch(registry);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Value value = SentinelValue();
    EXPECT_EQ(registry.QueryValue(c.name, value), c.ok);
    switch (c.expect) {
      case kText:
        EXPECT_EQ(TextOf(value), c.text);
        break;
      case kInteger:
        EXPECT_TRUE(value.IsInteger());
        EXPECT_EQ(value.ToInt32(), c.number);
        break;
      case kUnchanged:
        EXPECT_EQ(TextOf(value), "sentinel");
        break;
    }
  }
  EXPECT_TRUE(ReadUiTranscript().empty());
}

TEST_F(RegistryReadTest, QueryValueFailsQuietlyWithoutAValueOrAKey) {
  Registry none;
  Value value = SentinelValue();
  EXPECT_FALSE(none.QueryValue("anything", value, RegRequired));
  EXPECT_EQ(TextOf(value), "sentinel");

  Registry registry;
  OpenScratch(registry);
  SetLastError(0xDEAD);
  EXPECT_FALSE(registry.QueryValue("missing", value));
  EXPECT_EQ(TextOf(value), "sentinel");

  // A key deleted behind the cursor gives ERROR_KEY_DELETED, not one of the codes of a
  // missing value, so even a required read only fails.
  std::string path = scratch_ / "Doomed";
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, path, "v", REG_SZ, "x" + kNul));
  Registry doomed;
  ASSERT_EQ(doomed.Open(HKEY_CURRENT_USER, path.c_str(), RegOpenOnly), OpenResult::Existed);
  ASSERT_TRUE(doomed.QueryValue("v", value));
  EXPECT_EQ(TextOf(value), "x");
  registry_test::DeleteKeyTree(HKEY_CURRENT_USER, path);
  value = SentinelValue();
  EXPECT_FALSE(doomed.QueryValue("v", value, RegRequired));
  EXPECT_EQ(TextOf(value), "sentinel");
  // A value of the wrong size fails the same way.
  ASSERT_TRUE(Store("short dword", REG_DWORD, "\x01\x02"));
  EXPECT_FALSE(registry.QueryValue("short dword", value, RegRequired));
  EXPECT_EQ(TextOf(value), "sentinel");
  EXPECT_TRUE(ReadUiTranscript().empty());
}

TEST_F(RegistryReadTest, TypedReadersConvertOrFallBackToTheDefault) {
  ASSERT_TRUE(Store("seven", REG_DWORD, Dword(7)));
  ASSERT_TRUE(Store("zero", REG_DWORD, Dword(0)));
  ASSERT_TRUE(Store("all ones", REG_DWORD, Dword(0xFFFFFFFF)));
  ASSERT_TRUE(Store("number text", REG_SZ, "42abc" + kNul));
  ASSERT_TRUE(Store("zero text", REG_SZ, "0" + kNul));
  ASSERT_TRUE(Store("no", REG_SZ, "no" + kNul));
  ASSERT_TRUE(Store("long number", REG_SZ, "-123456789" + Chars(30) + kNul));
  ASSERT_TRUE(Store("short dword", REG_DWORD, "\x01\x02"));
  const struct {
    const char* name;
    bool found;
    bool asBool;
    int32_t asInt;
    std::string asText;
  } cases[] = {
      {"seven", true, true, 7, "7"},
      {"zero", true, false, 0, "0"},
      {"all ones", true, true, -1, "-1"},
      {"number text", true, true, 42, "42abc"},
      {"zero text", true, false, 0, "0"},
      {"no", true, false, 0, "no"},
      {"long number", true, false, -123456789, "-123456789" + Chars(30)},
      {"short dword", false, false, 0, ""},  // the query fails
      {"missing", false, false, 0, ""},
  };
  Registry registry;
  OpenScratch(registry);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(registry.ReadBool(c.name, true), c.found ? c.asBool : true);
    EXPECT_EQ(registry.ReadBool(c.name, false), c.found ? c.asBool : false);
    EXPECT_EQ(registry.ReadInt(c.name, 99), c.found ? c.asInt : 99);
    EXPECT_EQ(registry.ReadString(c.name, "default").CStr(),
              c.found ? c.asText : std::string("default"));
  }
  Registry none;
  EXPECT_TRUE(none.ReadBool("seven", true));
  EXPECT_EQ(none.ReadInt("seven", 99), 99);
  EXPECT_EQ(none.ReadString("seven", "default").CStr(), std::string("default"));
}

TEST_F(RegistryReadTest, ReadKeyValueOpensReadsAndClosesItsOwnKey) {
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_ / "Key", "Name", REG_SZ, "found" + kNul));
  Registry registry;
  ASSERT_EQ(registry.Open(HKEY_CURRENT_USER, scratch_.Path().c_str()), OpenResult::Existed);
  HKEY cursor = registry.CurrentKey();
  std::string key = scratch_ / "Key";
  std::string missingKey = scratch_ / "NoKey";
  const struct {
    const char* label;
    const char* keyPath;
    const char* valueName;
    uint32_t flags;
    bool ok;
    const char* text;
  } cases[] = {
      {"value", key.c_str(), "Name", 0, true, "found"},
      {"missing value", key.c_str(), "Other", RegOpenOnly, true, ""},
      {"missing key, open only", missingKey.c_str(), "Name", RegOpenOnly, false, "sentinel"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    String out("sentinel");
    EXPECT_EQ(registry.ReadKeyValue(HKEY_CURRENT_USER, c.keyPath, c.valueName, out, c.flags), c.ok);
    EXPECT_EQ(out.CStr(), std::string(c.text));
    EXPECT_EQ(registry.CurrentKey(), cursor);
    EXPECT_EQ(registry.CurrentPath().CStr(), scratch_.DisplayPath());
  }
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, missingKey));
  // Without RegOpenOnly too, a read never creates the key it reads from.
  String out("sentinel");
  EXPECT_FALSE(registry.ReadKeyValue(HKEY_CURRENT_USER, missingKey.c_str(), "Name", out));
  EXPECT_EQ(out.CStr(), std::string("sentinel"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, missingKey));
}

TEST_F(RegistryReadTest, ReadPathValueSplitsAtTheLastBackslash) {
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_ / "Key\\Sub", "Name", REG_SZ, "deep" + kNul));
  ASSERT_TRUE(Store("Top", REG_DWORD, Dword(12)));
  std::string deep = scratch_ / "Key\\Sub\\Name";
  std::string otherValue = scratch_ / "Key\\Sub\\Other";
  std::string noKey = scratch_ / "NoKey\\Name";
  std::string trailing = scratch_ / "Key\\Sub\\";
  const struct {
    const char* label;
    const char* path;
    uint32_t flags;
    const char* text;
  } cases[] = {
      {"value", deep.c_str(), 0, "deep"},
      {"value, open only", deep.c_str(), RegOpenOnly, "deep"},
      {"missing value of an existing key", otherValue.c_str(), RegOpenOnly, ""},
      {"missing key, open only", noKey.c_str(), RegOpenOnly, "default"},
      {"missing key", noKey.c_str(), 0, "default"},
      {"nothing after the last backslash", trailing.c_str(), 0, "default"},
      {"empty path", "", 0, "default"},
      {"null path", nullptr, 0, "default"},
  };
  Registry registry;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(registry.ReadPathValue(HKEY_CURRENT_USER, c.path, "default", c.flags).CStr(),
              std::string(c.text));
    EXPECT_EQ(registry.CurrentKey(), nullptr);
  }
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratch_ / "NoKey"));

  // A path without a backslash names a value of the parent itself.
  HKEY parent;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, scratch_.Path().c_str(), 0, KEY_ALL_ACCESS, &parent),
            ERROR_SUCCESS);
  EXPECT_EQ(registry.ReadPathValue(parent, "Top", "default").CStr(), std::string("12"));
  RegCloseKey(parent);
}

// Reads open keys for reading only: they work where writing is denied.
TEST_F(RegistryReadTest, ReadsNeedNoWriteAccess) {
  ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, scratch_ / "Locked", "Name", REG_SZ, "locked" + kNul));
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "Locked\\Child"));
  registry_test::WriteDeniedKey locked(HKEY_CURRENT_USER, scratch_ / "Locked");
  if (!locked.Enforced()) GTEST_SKIP() << "the system does not enforce registry access lists";
  Registry registry;
  for (uint32_t flags : {0u, RegOpenOnly}) {
    SCOPED_TRACE(flags);
    EXPECT_EQ(
        registry
            .ReadPathValue(HKEY_CURRENT_USER, (scratch_ / "Locked\\Name").c_str(), "default", flags)
            .CStr(),
        std::string("locked"));
    String out("sentinel");
    EXPECT_TRUE(registry.ReadKeyValue(HKEY_CURRENT_USER, (scratch_ / "Locked").c_str(), "Name", out,
                                      flags));
    EXPECT_EQ(out.CStr(), std::string("locked"));
  }
  EXPECT_TRUE(Registry::SoftwareKeyExists((scratch_.SoftwarePath() + "\\Locked").c_str(), true));
  OpenScratch(registry);
  EXPECT_FALSE(registry.IsSubKeyEmpty("Locked"));
  EXPECT_EQ(registry.Open(HKEY_CURRENT_USER, (scratch_ / "Locked").c_str(), RegReadOnly),
            OpenResult::Existed);
  EXPECT_EQ(registry.CountSubKeys(), 1);
  registry.Close();
  // Opening for writing is still refused: the reads above did not get write access by chance.
  EXPECT_EQ(registry.Open(HKEY_CURRENT_USER, (scratch_ / "Locked").c_str(), RegOpenOnly),
            OpenResult::Failed);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
}

// RegReadOnly opens existing keys only.
TEST_F(RegistryReadTest, ReadOnlyOpensNeverCreate) {
  Registry registry;
  EXPECT_EQ(registry.Open(HKEY_CURRENT_USER, (scratch_ / "Missing").c_str(), RegReadOnly),
            OpenResult::Failed);
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Missing"));
  EXPECT_FALSE(Registry::SoftwareKeyExists((scratch_.SoftwarePath() + "\\Missing").c_str(), true));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratch_ / "Missing"));
}

// Each reader, given RegRequired, stops the program when the value is missing. The message
// names the display path and the value name run together.
TEST_F(RegistryReadTest, RequiredValuesThatAreMissingAreFatal) {
  ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, scratch_ / "Key"));
  const std::string keyPath = scratch_ / "Key";
  const std::string valuePath = keyPath + "\\Absent";
  struct Reader {
    const char* name;
    void (*read)(Registry& registry, const std::string& valuePath);
    bool inKey;  // the reader opens Key itself, so the path is that of Key
  };
  const Reader readers[] = {
      {"QueryValue",
       [](Registry& r, const std::string&) {
         Value value;
         r.QueryValue("Absent", value, RegRequired);
       },
       false},
      {"ReadBool",
       [](Registry& r, const std::string&) { r.ReadBool("Absent", false, RegRequired); }, false},
      {"ReadInt", [](Registry& r, const std::string&) { r.ReadInt("Absent", 0, RegRequired); },
       false},
      {"ReadString",
       [](Registry& r, const std::string&) { r.ReadString("Absent", "", RegRequired); }, false},
      {"ReadPathValue",
       [](Registry& r, const std::string& path) {
         r.ReadPathValue(HKEY_CURRENT_USER, path.c_str(), "", RegRequired | RegOpenOnly);
       },
       true},
  };
  Registry registry;
  OpenScratch(registry);
  for (const Reader& reader : readers) {
    SCOPED_TRACE(reader.name);
    ClearUiTranscript();
    EXPECT_EXIT(reader.read(registry, valuePath), testing::ExitedWithCode(1), "");
    // No ASSERT here: a death test's child runs this loop too, up to its own statement.
    std::string where = reader.inKey ? "HKEY_CURRENT_USER\\" + keyPath : scratch_.DisplayPath();
    std::string text =
        "The following registry key is required by Quorvex, but is invalid or does not "
        "exist:\n\n" +
        where +
        "Absent\n\nIf you have tried moving this program to a different "
        "computer by copying files, this will not work.  This program must be reinstalled.";
    std::vector<std::string> expected = {"box\tnone\t0x00002010\tFATAL ERROR\t" +
                                         TranscriptEscaped(text) + "\t1"};
    EXPECT_EQ(ReadUiTranscript(), expected);
  }
}

TEST_F(RegistryReadTest, RequiredValuesThatExistAreRead) {
  ASSERT_TRUE(Store("present", REG_SZ, "here" + kNul));
  Registry registry;
  OpenScratch(registry);
  EXPECT_EQ(registry.ReadString("present", "", RegRequired).CStr(), std::string("here"));
  EXPECT_TRUE(ReadUiTranscript().empty());
}

}  // namespace
