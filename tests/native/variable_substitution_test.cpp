// The substitution order rules over a small table whose values the tests choose.
#include <gtest/gtest.h>

#include <string>

#include "config/variable_substitution.h"

namespace {

// The values of the three test variables and how often each was asked for.
String firstValue;
String secondValue;
String thirdValue;
int fetches[3];

String First() { ++fetches[0]; return firstValue; }
String Second() { ++fetches[1]; return secondValue; }
String Third() { ++fetches[2]; return thirdValue; }

const InstallVariable kTable[] = {
    {"%First%", First},
    {"%Second%", Second},
    {"%Third%", Third},
};

class VariableSubstitution : public testing::Test {
 protected:
  void SetUp() override {
    firstValue = "C:\\One";
    secondValue = "D:\\Two";
    thirdValue = "E:\\Three";
    fetches[0] = fetches[1] = fetches[2] = 0;
  }

  static std::string Expand(const char* text) {
    String s(text);
    SubstituteInstallVariables(s, kTable, 3);
    return s.CStr();
  }
};

TEST_F(VariableSubstitution, ReplacesEveryOccurrenceInAnyLetterCase) {
  const char* cases[][2] = {
      {"%First%\\x", "C:\\One\\x"},
      {"%FIRST%\\x", "C:\\One\\x"},
      {"%first%\\x", "C:\\One\\x"},
      {"%fIrSt%;%First%;%FIRST%", "C:\\One;C:\\One;C:\\One"},
      {"%Third%%First%", "E:\\ThreeC:\\One"},  // no separator is added between values
      {"[%Second%]", "[D:\\Two]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(Expand(c[0]), c[1]);
  }
}

TEST_F(VariableSubstitution, LeavesEverythingElseAlone) {
  const char* cases[] = {
      "", "plain text", "C:\\dir\\file.txt", "%Unknown%\\x", "100% sure", "%%", "%First",
      "First%", "% First%", "%Fir st%", "%%First",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Expand(text), text);
  }
  EXPECT_EQ(Expand("%%First%%"), "%C:\\One%");
}

TEST_F(VariableSubstitution, ALaterNameInAnEarlierValueIsExpandedButNotTheOtherWay) {
  firstValue = "%Third%\\sub";
  thirdValue = "%First%\\up";
  EXPECT_EQ(Expand("%First%"), "%First%\\up\\sub");
  EXPECT_EQ(Expand("%Third%"), "%First%\\up");
}

TEST_F(VariableSubstitution, AValueIsNotScannedAgainForItsOwnName) {
  secondValue = "x%second%y";
  EXPECT_EQ(Expand("%Second%-%Second%"), "x%second%y-x%second%y");
}

TEST_F(VariableSubstitution, AnEmptyValueRemovesTheName) {
  secondValue = "";
  EXPECT_EQ(Expand("a%Second%b%SECOND%c"), "abc");
  EXPECT_EQ(Expand("%Second%"), "");
}

TEST_F(VariableSubstitution, FetchesAValueOnlyWhenItsNameIsThereAtItsTurn) {
  firstValue = "%Third%";
  Expand("%First% and %first%");
  EXPECT_EQ(fetches[0], 1);
  EXPECT_EQ(fetches[1], 0);
  EXPECT_EQ(fetches[2], 1);  // named by the first value
  Expand("nothing here");
  EXPECT_EQ(fetches[0] + fetches[1] + fetches[2], 2);
}

}  // namespace
