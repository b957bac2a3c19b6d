// LookupString over tables installed as the archive reader installs them, with the Windows
// directory of the test prefix.
#include "config/language_strings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/language_table.h"
#include "config/settings.h"
#include "platform/system_paths.h"

namespace {

std::string Str(const String& text) { return std::string(text.CStr(), size_t(text.Length())); }

class LanguageStringsTest : public testing::Test {
 protected:
  void SetUp() override { ProductName = "Foo"; }
  void TearDown() override {
    LanguageTables none;
    InstallLanguageTables(std::move(none));
    ProductName.Clear();
  }

  // Installs a table of `languages` columns: row id holds texts[id] in every column, each
  // prefixed by its column number and a colon ("1:..."), so that a lookup shows which column
  // it read.
  static void Install(int languages, const std::vector<std::string>& texts, int defaultLanguage) {
    LanguageTables tables;
    for (int l = 0; l < languages; ++l) tables.names.Append(String::Formatted("Language %d", l));
    for (const std::string& text : texts) {
      Vector<String>& row = tables.texts.AppendDefault();
      for (int l = 0; l < languages; ++l)
        row.Append(String::Formatted("%d:%s", l, text.c_str()));
    }
    tables.defaultLanguage = defaultLanguage;
    InstallLanguageTables(std::move(tables));
  }
};

TEST_F(LanguageStringsTest, InstallTakesTheTablesAndTheirDefaultLanguage) {
  Install(3, {"title", "welcome"}, 2);
  EXPECT_EQ(CurrentLanguage, 2);
  ASSERT_EQ(LanguageNames.Count(), 3);
  EXPECT_EQ(Str(LanguageNames[1]), "Language 1");
  ASSERT_EQ(StringTable.Count(), 2);
  EXPECT_EQ(Str(LookupString(StringId(0))), "2:title");
  EXPECT_EQ(Str(LookupString(StringId(1))), "2:welcome");
  CurrentLanguage = 0;
  EXPECT_EQ(Str(LookupString(StringId(1))), "0:welcome");
}

TEST_F(LanguageStringsTest, IdsAndLanguagesOutsideTheTablesGiveTheEmptyText) {
  EXPECT_EQ(Str(LookupString(StringId(0))), "") << "no table installed yet";
  Install(2, {"a", "b", "c"}, 0);
  struct Case {
    int id;
    int language;
  };
  const Case cases[] = {
      {-1, 0}, {3, 0}, {4, 1}, {0x7FFFFFFF, 0}, {0, -1}, {0, 2}, {2, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "id " << c.id << " language " << c.language);
    CurrentLanguage = c.language;
    EXPECT_EQ(Str(LookupString(StringId(c.id))), "");
  }
  CurrentLanguage = 1;
  EXPECT_EQ(Str(LookupString(StringId(2))), "1:c") << "the last row and column are inside";
}

TEST_F(LanguageStringsTest, ProductAndOsAreFilledInIgnoringCase) {
  const std::string windows = Str(WindowsDir());
  ASSERT_FALSE(windows.empty());
  struct Case {
    const char* stored;
    std::string expected;
  };
  const Case cases[] = {
      {"<product>", "Foo"},
      {"<PRODUCT> and <Product>", "Foo and Foo"},
      {"<os>\\notepad.exe", windows + "\\notepad.exe"},
      {"Install <pRoDuCt> on <OS>?", "Install Foo on " + windows + "?"},
      {"<<product>>", "<Foo>"},
      {"<product", "<product"},
      {"< os>", "< os>"},
      {"", ""},
  };
  std::vector<std::string> stored;
  for (const Case& c : cases) stored.push_back(c.stored);
  Install(1, stored, 0);
  for (int id = 0; id < int(sizeof cases / sizeof cases[0]); ++id) {
    SCOPED_TRACE(cases[id].stored);
    EXPECT_EQ(Str(LookupString(StringId(id))), "0:" + cases[id].expected);
  }
}

TEST_F(LanguageStringsTest, TheFilledInTextReplacesTheStoredEntryOfThatLanguageOnly) {
  Install(2, {"Welcome to <product>"}, 1);
  EXPECT_EQ(Str(LookupString(StringId(0))), "1:Welcome to Foo");
  EXPECT_EQ(Str(StringTable[0][1]), "1:Welcome to Foo");
  EXPECT_EQ(Str(StringTable[0][0]), "0:Welcome to <product>") << "not looked up yet";

  ProductName = "Bar";
  EXPECT_EQ(Str(LookupString(StringId(0))), "1:Welcome to Foo") << "filled in once, for good";
  CurrentLanguage = 0;
  EXPECT_EQ(Str(LookupString(StringId(0))), "0:Welcome to Bar");
}

}  // namespace
