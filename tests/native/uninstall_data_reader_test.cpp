// Reading Uninstall.DAT: the split into its sections, the association records and the texts.
#include "uninstall/uninstall_data_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "string_test_support.h"

using namespace std::string_literals;
using string_test::Bytes;
using string_test::Make;

namespace {

struct Texts {
  std::vector<int> ids;
  std::vector<std::string> texts;
};

Texts ReadTexts(const std::string& section) {
  Array<UninstallText> read = ReadUninstallTexts(Make(section));
  Texts out;
  for (int i = 0; i < read.Count(); ++i) {
    out.ids.push_back(read[i].id);
    out.texts.push_back(Bytes(read[i].text));
  }
  return out;
}

std::vector<std::string> ReadRecords(const std::string& lines) {
  Array<AssociationRecord> read = ReadAssociationRecords(Make(lines));
  std::vector<std::string> out;
  for (int i = 0; i < read.Count(); ++i)
    out.push_back(Bytes(read[i].extension) + "|" + Bytes(read[i].fileType) + "|" +
                  Bytes(read[i].verb));
  return out;
}

TEST(UninstallDataSplit, SectionsAreFoundInAnyCaseAndTheHeadersLineBreakIsDropped) {
  const struct {
    const char* name;
    std::string text;
    std::string fileList;
    std::string strings;
    std::string associations;
  } cases[] = {
      {"as the installation writes it",
       "C:\\App\\a.exe\r\n~C:\\App\\Data\r\n\r\n\r\n[Strings]\r\n~10\r\nErrors\r\n\r\n\r\n"
       "[Associations]\r\n.foo~!~Foo.File~!~open\r\n",
       "C:\\App\\a.exe\r\n~C:\\App\\Data\r\n\r\n\r\n", "\r\n~10\r\nErrors\r\n\r\n\r\n",
       ".foo~!~Foo.File~!~open\r\n"},
      {"no associations", "a\r\n[strings]\r\n~1\r\nx\r\n", "a\r\n", "\r\n~1\r\nx\r\n", ""},
      {"headers in other cases", "[STRINGS]~5\r\n[associations].a~!~b~!~c", "", "~5\r\n",
       ".a~!~b~!~c"},
      // Without [Strings] even an [Associations] header is part of the file list.
      {"no strings", "C:\\a.txt\r\n[Associations]\r\n.a~!~b~!~c\r\n",
       "C:\\a.txt\r\n[Associations]\r\n.a~!~b~!~c\r\n", "", ""},
      {"an LF CR after the header", "[Strings][Associations]\n\r.a~!~b~!~c", "", "", ".a~!~b~!~c"},
      {"only one break goes", "[Strings][Associations]\r\n\r\n.x", "", "", "\r\n.x"},
      {"empty", "", "", "", ""},
      {"a header cut short", "x\r\n[Strings", "x\r\n[Strings", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UninstallDataSections sections = SplitUninstallData(Make(c.text));
    EXPECT_EQ(Bytes(sections.fileList), c.fileList);
    EXPECT_EQ(Bytes(sections.stringsSection), c.strings);
    EXPECT_EQ(Bytes(sections.associationLines), c.associations);
  }
}

TEST(UninstallDataAssociations, OnlyRecordsWithThreeNonBlankPartsAreKept) {
  const struct {
    const char* name;
    std::string lines;
    std::vector<std::string> records;
  } cases[] = {
      {"two records",
       ".foo~!~Foo.File~!~open\r\n.bar~!~Bar.File~!~edit\r\n",
       {".foo|Foo.File|open", ".bar|Bar.File|edit"}},
      {"two parts", ".foo~!~Foo.File\r\n", {}},
      {"an empty verb", ".foo~!~Foo.File~!~\r\n", {}},
      {"a blank type", ".foo~!~ \t~!~open\r\n", {}},
      {"a blank extension", "  ~!~Foo.File~!~open\r\n", {}},
      {"one part", ".foo\r\n", {}},
      // The verb is the rest of the line, later separators included.
      {"four parts", ".foo~!~Foo.File~!~open~!~more\r\n", {".foo|Foo.File|open~!~more"}},
      {"empty lines and a last line without a break",
       "\r\n\r\n.a~!~b~!~c\n\n.d~!~e~!~f",
       {".a|b|c", ".d|e|f"}},
      {"a NUL ends a line", ".a~!~b~!~c\0.d~!~e~!~f"s, {".a|b|c", ".d|e|f"}},
      {"separators overlapping", ".a~!~!~b~!~c\r\n", {".a|!~b|c"}},
      {"nothing", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadRecords(c.lines), c.records);
  }
}

TEST(UninstallDataAssociations, AtMostFiveHundredLinesAreLookedAt) {
  std::string lines;
  for (int i = 0; i < 250; ++i) lines += "\r\n";  // each empty line is a round of its own
  for (int i = 0; i < 300; ++i) lines += ".e" + std::to_string(i) + "~!~t~!~v\r\n";
  std::vector<std::string> records = ReadRecords(lines);
  ASSERT_EQ(records.size(), 250u);
  EXPECT_EQ(records.back(), ".e249|t|v");
}

TEST(UninstallDataTexts, IdLinesTakeTheFollowingLinesJoined) {
  const struct {
    const char* name;
    std::string section;
    std::vector<int> ids;
    std::vector<std::string> texts;
  } cases[] = {
      {"as written", "\r\n~10\r\nErrors:\r\n~15\r\nDone\r\n", {10, 15}, {"Errors:", "Done"}},
      {"two lines joined with one CR LF",
       "~12\r\nfirst\r\nsecond\r\n\r\n",
       {12},
       {"first\r\nsecond"}},
      {"ids 0 and 1001 go with their texts",
       "~0\r\nzero\r\n~1001\r\nbig\r\n~1000\r\nlast\r\n",
       {1000},
       {"last"}},
      {"id 1", "~1\r\none", {1}, {"one"}},
      {"commas are ignored", "~1,0\r\nten\r\n", {10}, {"ten"}},
      {"the first number in the line", "~ id 34 or 35\r\nx\r\n", {34}, {"x"}},
      {"no number", "~\r\nlost\r\n~x\r\nlost too\r\n", {}, {}},
      {"a negative id", "~-5\r\nlost\r\n", {}, {}},
      {"lines before the first id are skipped", "junk\r\nmore\r\n~20\r\nt\r\n", {20}, {"t"}},
      {"an empty text", "~53\r\n~55\r\ncaption\r\n", {53, 55}, {"", "caption"}},
      {"trailing blanks and tabs go, leading ones stay", "~58\r\n  a \t\r\n", {58}, {"  a"}},
      {"lone CRs and LFs are line breaks", "~67\rone\ntwo\r~68\nx", {67, 68}, {"one\ntwo", "x"}},
      {"a repeated id is listed twice", "~10\r\na\r\n~10\r\nb\r\n", {10, 10}, {"a", "b"}},
      {"a NUL ends a line and stays in the text", "~10\r\na\0b"s, {10}, {"a\0b"s}},
      {"nothing", "", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Texts read = ReadTexts(c.section);
    EXPECT_EQ(read.ids, c.ids);
    EXPECT_EQ(read.texts, c.texts);
  }
}

TEST(UninstallDataTexts, AtMostFiveHundredIdLinesAreLookedAt) {
  std::string section;
  for (int i = 1; i <= 600; ++i) section += "~" + std::to_string(i) + "\r\nt\r\nu\r\n";
  Texts read = ReadTexts(section);
  ASSERT_EQ(read.ids.size(), 500u);
  EXPECT_EQ(read.ids.back(), 500);
  EXPECT_EQ(read.texts.back(), "t\r\nu");
}

}  // namespace
