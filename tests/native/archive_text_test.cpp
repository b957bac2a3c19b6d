// Archive texts as formats: which texts may be used with which arguments, what they give, and
// the built-in text that stands in for one that may not.
#include "config/archive_text.h"

#include <gtest/gtest.h>

#include <string>

#include "config/formatted_texts.h"

namespace {

TEST(ArchiveText, ConversionsMustMatchTheArgumentsInKindOrderAndNumber) {
  const struct {
    const char* text;
    const char* conversions;
    bool usable;
  } cases[] = {
      {"Drive %c: is missing", "%c", true},
      {"Drive %s: is missing", "%c", false},  // a text where a character is passed
      {"Drive %d: is missing", "%c", false},
      {"Code %s", "%d", false},
      {"100% free", "", false},  // "% f" is a conversion, and not one of ours
      {"100% free on %c:", "%c", false},
      {"100%% free", "", true},
      {"100%%", "", true},
      {"%%s", "%s", false},  // a percent sign and an s: no conversion at all
      {"%%%s", "%s", true},
      {"100%", "", false},  // a conversion cut off by the end of the text
      {"%n", "", false},
      {"%n", "%d", false},
      {"%s%n", "%s", false},
      {"%s, %c, %s", "%s%c%s", true},
      {"%s, %s, %c", "%s%c%s", false},      // the right kinds in the wrong order
      {"%s, %c, %s, %s", "%s%c%s", false},  // one too many
      {"%s, %c", "%s%c%s", false},          // one too few
      {"", "%d", false},
      {"", "", true},
      {nullptr, "", true},
      {"no placeholder", "%s", false},
      {"%i %u %x %X %o", "%d%d%d%d%d", true},
      {"%-5d|%+d|% d|%05d|%.3d|%#x|%#o", "%d%d%d%d%d%d%d", true},
      {"%#d", "%d", false},
      {"%ld", "%d", false},
      {"%hd", "%d", false},
      {"%*d", "%d", false},
      {"%1$d", "%d", false},
      {"%-3c", "%c", true},
      {"%03c", "%c", false},
      {"%.1c", "%c", false},
      {"%-20.5s", "%s", true},
      {"%0s", "%s", false},
      {"%999s", "%s", true},
      {"%1000s", "%s", false},  // a width that would pad to any size
      {"%.1000s", "%s", false},
      {"%-----s", "%s", false},
      {"%p", "%s", false},
      {"%f", "%d", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.text ? c.text : "(null)") << " / " << c.conversions);
    EXPECT_EQ(HasConversions(c.text, c.conversions), c.usable);
  }
}

TEST(ArchiveText, FormatsEachConversionWithTheArgumentOfItsKind) {
  String out = "unchanged";
  ASSERT_TRUE(FormatWithArgs("%s on %c: (%d%%) %-4s| %3d %x", {"a b", 'C', 50, "x", 7, 255}, out));
  EXPECT_STREQ(out.CStr(), "a b on C: (50%) x   |   7 ff");
  ASSERT_TRUE(FormatWithArgs("%s", {String("own")}, out));
  EXPECT_STREQ(out.CStr(), "own");
  ASSERT_TRUE(FormatWithArgs("plain", {}, out));
  EXPECT_STREQ(out.CStr(), "plain");
  ASSERT_TRUE(FormatWithArgs("%.2s|%c", {"abc", '\xE9'}, out));
  EXPECT_STREQ(out.CStr(), "ab|\xE9");
}

TEST(ArchiveText, ArgumentsThatDoNotFitLeaveTheResultAlone) {
  const struct {
    const char* text;
    ArchiveTextArgs args;
  } cases[] = {
      {"%s", {'C'}},          {"%c", {"C"}}, {"%d", {"1"}}, {"%s %s", {"one"}},
      {"%s", {"one", "two"}}, {"", {1}},     {"%n", {}},    {"100% free", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    String out = "unchanged";
    EXPECT_FALSE(FormatWithArgs(c.text, c.args, out));
    EXPECT_STREQ(out.CStr(), "unchanged");
  }
}

TEST(ArchiveText, AnUnusableTextGivesTheBuiltInTextOfItsId) {
  const char kMissingDrive[] = "Drive Q: cannot be used. Choose a folder on another drive.";
  const char kDriveRoot[] = "Please choose a folder, not the root of a drive.";
  const struct {
    int id;
    const char* text;
    ArchiveTextArgs args;
    std::string expected;
  } cases[] = {
      {16, "Laufwerk %c: fehlt", {'Q'}, "Laufwerk Q: fehlt"},
      {16, "Drive %s: is missing", {'Q'}, kMissingDrive},
      {16, "Drive %c: on %s", {'Q'}, kMissingDrive},
      {16, "Drive missing", {'Q'}, kMissingDrive},
      {16, "", {'Q'}, kMissingDrive},
      {17, "100% free", {}, kDriveRoot},
      {17, "%n", {}, kDriveRoot},
      {17, "100%% sure: not a root", {}, "100% sure: not a root"},
      {17, "", {}, ""},  // no text, nothing to show: the message box stays away
      {19, "%s on %c:, %s free", {"2 MB", 'C', "1 MB"}, "2 MB on C:, 1 MB free"},
      {19,
       "%s on %c:, %s free, %s",
       {"2 MB", 'C', "1 MB"},
       "The installation needs 2 MB on drive C:, but only 1 MB is free.\r\n\r\nInstall anyway?"},
      {19,
       "%s on %c:",
       {"2 MB", 'C', "1 MB"},
       "The installation needs 2 MB on drive C:, but only 1 MB is free.\r\n\r\nInstall anyway?"},
      {13, "Broken: %d", {25}, "Broken: 25"},
      {13, "Broken: %s", {25}, FindFormattedText(StringId(13))->builtIn},
      {26, "Disk %d in %c:", {3, 'A'}, "Disk 3 in A:"},
      {26, "Disk %c in %d:", {3, 'A'}, "Please insert disk 3 into drive A: and click OK."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << ": " << c.text);
    String out;
    ASSERT_TRUE(FormatArchiveTextFrom(c.text, StringId(c.id), c.args, out));
    std::string expected = c.expected;
    const size_t code = expected.find("%d");
    if (code != std::string::npos) expected.replace(code, 2, "25");
    EXPECT_EQ(out.CStr(), expected);
  }
}

TEST(ArchiveText, AnIdOrArgumentsThatAreNotTheIdsAreAProgrammingError) {
  String out = "unchanged";
  EXPECT_FALSE(FormatArchiveTextFrom("%s", StringId(14), {"x"}, out)) << "id 14 is not formatted";
  EXPECT_FALSE(FormatArchiveTextFrom("%c", StringId(16), {"Q"}, out)) << "16 takes a character";
  EXPECT_FALSE(FormatArchiveTextFrom("", StringId(19), {"a", 'C'}, out))
      << "19 takes three arguments";
  EXPECT_STREQ(out.CStr(), "unchanged");
}

// The built-in texts are shown as they are: each takes exactly its id's conversions, breaks
// lines with CR LF and holds nothing that only archive texts have filled in.
TEST(FormattedTexts, BuiltInTextsTakeTheirIdsConversions) {
  int found = 0;
  for (int id = 0; id < 10000; ++id) {
    const FormattedTextId* entry = FindFormattedText(StringId(id));
    if (entry == nullptr) continue;
    SCOPED_TRACE(id);
    ++found;
    EXPECT_EQ(int(entry->id), id);
    EXPECT_TRUE(HasConversions(entry->builtIn, entry->conversions));
    const std::string text = entry->builtIn;
    EXPECT_FALSE(text.empty());
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') {
        EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
      }
      if (text[i] == '\r') {
        EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "lone CR at " << i;
      }
    }
    EXPECT_EQ(text.find('<'), std::string::npos);
  }
  EXPECT_EQ(found, 16);
  EXPECT_EQ(FindFormattedText(StringId(-1)), nullptr);
  EXPECT_STREQ(FindFormattedText(StringId(19))->conversions, "%s%c%s");
  EXPECT_STREQ(FindFormattedText(StringId(26))->conversions, "%d%c");
}

}  // namespace
