#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "archive/header_stream.h"
#include "config/language_table.h"
#include "tests/native/archive_bytes_test_support.h"

namespace {

using archive_test::ArchiveBytes;
using archive_test::Str;
using archive_test::StreamOver;

// Language tables of `names` and, for each id, one text per language; the counts can be
// overridden to write other values than the table's sizes. Marks give the code of a table that
// ends inside each stretch.
ArchiveBytes BuildTables(const std::vector<std::string>& names,
                         const std::vector<std::vector<std::string>>& texts,
                         int64_t languageCount = -1, int64_t stringCount = -1,
                         uint32_t endMarker = kStringTableEnd) {
  ArchiveBytes b;
  b.Mark(30).U8(uint32_t(languageCount >= 0 ? languageCount : int64_t(names.size())));
  b.Mark(31).U32(uint32_t(stringCount >= 0 ? stringCount : int64_t(texts.size())));
  b.Mark(32);
  for (const std::string& name : names) b.Text(name);
  for (const auto& row : texts) {
    for (const std::string& text : row) b.Text(text);
  }
  b.U32(endMarker);
  return b;
}

int Read(const std::vector<char>& bytes, LanguageTables& tables, size_t* position = nullptr) {
  HeaderStream in = StreamOver(bytes);
  const int code = ReadLanguageTables(in, tables);
  if (position != nullptr) *position = in.Position();
  return code;
}

TEST(ReadLanguageTablesTest, ReadsNamesAndTextsGroupedById) {
  ArchiveBytes b = BuildTables({"Deutsch", "English", "Francais"},
                               {{"Titel", "Title", "Titre"}, {"Ja", "Yes", "Oui"}});
  const int end = b.Length();
  b.Text("after the marker");
  LanguageTables tables;
  size_t position = 0;
  ASSERT_EQ(Read(b.All(), tables, &position), 0);
  EXPECT_EQ(position, size_t(end)) << "bytes after the end marker are not read";
  ASSERT_EQ(tables.names.Count(), 3);
  EXPECT_EQ(Str(tables.names[0]), "Deutsch");
  EXPECT_EQ(Str(tables.names[2]), "Francais");
  ASSERT_EQ(tables.texts.Count(), 2);
  for (int id = 0; id < 2; ++id) ASSERT_EQ(tables.texts[id].Count(), 3);
  EXPECT_EQ(Str(tables.texts[0][0]), "Titel");
  EXPECT_EQ(Str(tables.texts[0][2]), "Titre");
  EXPECT_EQ(Str(tables.texts[1][0]), "Ja");
  EXPECT_EQ(Str(tables.texts[1][1]), "Yes");
  EXPECT_EQ(tables.defaultLanguage, 1);
}

TEST(ReadLanguageTablesTest, DefaultIsTheLastLanguageNamedExactlyEnglish) {
  struct Case {
    std::vector<std::string> names;
    int expected;
  };
  const Case cases[] = {
      {{"English"}, 0},
      {{"Deutsch", "English"}, 1},
      {{"English", "Deutsch", "English"}, 2},
      {{"Deutsch", "english"}, 0},
      {{"Deutsch", "ENGLISH"}, 0},
      {{"Deutsch", "English (US)"}, 0},
      {{"Deutsch", "English "}, 0},
      {{"Deutsch", "Francais", "English", "english"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.names.back());
    std::vector<std::vector<std::string>> texts = {std::vector<std::string>(c.names.size(), "t")};
    LanguageTables tables;
    tables.defaultLanguage = 77;
    ASSERT_EQ(Read(BuildTables(c.names, texts).All(), tables), 0);
    EXPECT_EQ(tables.defaultLanguage, c.expected);
  }
}

TEST(ReadLanguageTablesTest, CountsAndEndMarkerAreChecked) {
  struct Case {
    const char* what;
    int languages;      // names written (one text each per id)
    int strings;        // ids written
    int64_t languageCount;
    int64_t stringCount;
    uint32_t endMarker;
    int expected;
  };
  const Case cases[] = {
      {"one language, one id", 1, 1, -1, -1, kStringTableEnd, 0},
      {"no languages", 0, 1, -1, -1, kStringTableEnd, 30},
      {"100 languages", 100, 2, -1, -1, kStringTableEnd, 0},
      {"101 languages", 101, 1, -1, -1, kStringTableEnd, 30},
      {"255 languages", 1, 1, 255, -1, kStringTableEnd, 30},
      {"no ids", 1, 0, -1, -1, kStringTableEnd, 31},
      {"10000 ids", 2, 10000, -1, -1, kStringTableEnd, 0},
      {"10001 ids", 1, 10001, -1, -1, kStringTableEnd, 31},
      {"id count negative", 1, 1, -1, 0xFFFFFFFF, kStringTableEnd, 31},
      {"30 before 31", 0, 0, -1, -1, kStringTableEnd, 30},
      {"wrong end marker", 2, 3, -1, -1, kStringTableEnd + 1, 32},
      {"end marker byte-swapped", 2, 3, -1, -1, 0x972BE8D3, 32},
      {"more ids claimed than written", 2, 3, -1, 4, kStringTableEnd, 32},
      {"fewer ids claimed than written", 2, 3, -1, 2, kStringTableEnd, 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> names;
    for (int i = 0; i < c.languages; ++i) names.push_back("L" + std::to_string(i));
    const std::vector<std::vector<std::string>> texts(
        size_t(c.strings), std::vector<std::string>(size_t(c.languages), "t"));
    LanguageTables tables;
    EXPECT_EQ(Read(BuildTables(names, texts, c.languageCount, c.stringCount, c.endMarker).All(),
                   tables),
              c.expected);
    if (c.expected == 0) {
      EXPECT_EQ(tables.names.Count(), c.languages);
      EXPECT_EQ(tables.texts.Count(), c.strings);
      EXPECT_EQ(tables.texts[c.strings - 1].Count(), c.languages);
    }
  }
}

TEST(ReadLanguageTablesTest, EveryCutGivesTheCodeOfTheFieldItBreaks) {
  const ArchiveBytes b = BuildTables({"Deutsch", "English"}, {{"a", "b"}, {"", "long text"}});
  for (int cut = 0; cut < b.Length(); ++cut) {
    SCOPED_TRACE(cut);
    LanguageTables tables;
    EXPECT_EQ(Read(b.Cut(cut), tables), b.CodeForCut(cut));
  }
}

TEST(ReadLanguageTablesTest, TextsAreStoredWithCrLfBreaks) {
  const ArchiveBytes b = BuildTables({"English"}, {{"line 1\nline 2"}, {"a\rb\n\rc"}});
  LanguageTables tables;
  ASSERT_EQ(Read(b.All(), tables), 0);
  EXPECT_EQ(Str(tables.texts[0][0]), "line 1\r\nline 2");
  EXPECT_EQ(Str(tables.texts[1][0]), "a\r\nb\r\nc");
}

TEST(NormalizeLineBreaksTest, EveryBreakBecomesCrLf) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"", ""},
      {"no breaks", "no breaks"},
      {"a\nb", "a\r\nb"},
      {"a\rb", "a\r\nb"},
      {"a\n\rb", "a\r\nb"},
      {"a\r\nb", "a\r\nb"},
      {"\n\n", "\r\n\r\n"},
      {"\r\r", "\r\n\r\n"},
      {"\r\r\n", "\r\n\r\n"},
      {"\n\r\n", "\r\n\r\n"},
      {"\r\n\r", "\r\n\r\n"},
      {"1\n2\r3\r\n4\n\r5", "1\r\n2\r\n3\r\n4\r\n5"},
      {"ends in CR\r", "ends in CR\r\n"},
      {"ends in LF\n", "ends in LF\r\n"},
      {"\rstarts with CR", "\r\nstarts with CR"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const String text(c.text);
    EXPECT_EQ(Str(NormalizeLineBreaks(text)), c.expected);
    EXPECT_EQ(Str(text), c.text) << "the argument is not changed";
  }
}

}  // namespace
