#include <gtest/gtest.h>

#include "config/settings.h"
#include "install/command_line.h"

namespace {

struct AtomCase {
  const char* line;
  const char* atom;
  const char* rest;
};

TEST(ReadCommandLineAtom, TakesOneAtomAndKeepsQuotes) {
  const AtomCase cases[] = {
      {"", "", ""},
      {"  \t\r\n ", "", ""},
      {"/a /b", "/a", "/b"},
      {"\t/a\t/b", "/a", "/b"},
      {"/d:\"C:\\Program Files\\Foo\" /a", "/d:\"C:\\Program Files\\Foo\"", "/a"},
      {"/n:\"A \"\"q\"\" b\"", "/n:\"A \"q\" b\"", ""},
      {"/n:\"unclosed rest of line", "/n:\"unclosed rest of line\"", ""},
      {"\"x y\"z w", "\"x y\"z", "w"},
      {"a\"b c\"d", "a\"b c\"d", ""},
  };
  for (const AtomCase& c : cases) {
    SCOPED_TRACE(c.line);
    String line(c.line);
    EXPECT_STREQ(ReadCommandLineAtom(line).CStr(), c.atom);
    EXPECT_STREQ(line.CStr(), c.rest);
  }
}

struct ParseCase {
  const char* line;
  bool automatic;
  const char* installDir;
  const char* productName;
  bool uninstall;
  const char* uninstallProduct;
  const char* launchOnExit;
};

class ParseCommandLineTest : public testing::Test {
 protected:
  void SetUp() override {
    AutomaticMode = false;
    InstallDir.Clear();
    ProductName.Clear();
    UninstallMode = false;
  }
};

TEST_F(ParseCommandLineTest, SetsEachSwitch) {
  const ParseCase cases[] = {
      {"", false, "", "", false, "", ""},
      {"   ", false, "", "", false, "", ""},
      {"/a", true, "", "", false, "", ""},
      {"-A", true, "", "", false, "", ""},
      {"/d:\"C:\\Program Files\\Foo\"", false, "C:\\Program Files\\Foo", "", false, "", ""},
      {"-D:x", false, "x", "", false, "", ""},
      {"/d:x", false, "x", "", false, "", ""},
      {"/D:\"x\"", false, "x", "", false, "", ""},
      {"/d:\"x", false, "x", "", false, "", ""},  // the atom closes the unclosed quote
      {"/n:\"A \"\"B\"\" C\"", false, "", "A \"B\" C", false, "", ""},
      {"/u:\"Some Product\" /a", true, "", "", true, "Some Product", ""},
      {"/U:plain", false, "", "", true, "plain", ""},
      {"/u", false, "", "", true, "", ""},
      {"/uxyz", false, "", "", true, "", ""},
      {"/r:\"notepad `C:\\a b.txt`\"", false, "", "", false, "", "notepad \"C:\\a b.txt\""},
      {"/R:\"x", false, "", "", false, "", "x"},
      {"/d:one /d:two", false, "two", "", false, "", ""},
      {"/ -", false, "", "", false, "", ""},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.line);
    SetUp();
    CommandLineRequests requests;
    ParseCommandLine(c.line, requests);
    EXPECT_EQ(AutomaticMode, c.automatic);
    EXPECT_STREQ(InstallDir.CStr(), c.installDir);
    EXPECT_STREQ(ProductName.CStr(), c.productName);
    EXPECT_EQ(UninstallMode, c.uninstall);
    EXPECT_STREQ(requests.uninstallProduct.CStr(), c.uninstallProduct);
    EXPECT_STREQ(requests.launchOnExit.CStr(), c.launchOnExit);
  }
}

TEST_F(ParseCommandLineTest, IgnoresEverythingAfterTheNineteenthAtom) {
  String line;
  for (int i = 0; i < 18; ++i) line.Append("/a ");
  line.Append("/d:19th bogus-20th /n:21st");
  CommandLineRequests requests;
  ParseCommandLine(line, requests);
  EXPECT_STREQ(InstallDir.CStr(), "19th");
  EXPECT_STREQ(ProductName.CStr(), "");
}

struct OwnPathCase {
  const char* commandLine;
  const char* path;
};

TEST(OwnPathFromCommandLine, TakesTheFirstTokenAndAddsExe) {
  const OwnPathCase cases[] = {
      {"\"C:\\a b\\setup.exe\" /a", "C:\\a b\\setup.exe"},
      {"  \"C:\\a b\\setup.exe\"", "C:\\a b\\setup.exe"},
      {"C:\\x\\setup.exe /a", "C:\\x\\setup.exe"},
      {"C:\\x\\setup /a", "C:\\x\\setup.EXE"},
      {"C:\\x\\set\tup.exe /a", "C:\\x\\set\tup.exe"},  // a tab does not end the path
      {"C:\\x.y\\setup", "C:\\x.y\\setup.EXE"},
      {"\"C:\\q\"\"d\\s.exe\" x", "C:\\q\"d\\s.exe"},
      {"setup", "setup.EXE"},
  };
  for (const OwnPathCase& c : cases) {
    SCOPED_TRACE(c.commandLine);
    EXPECT_STREQ(OwnPathFromCommandLine(c.commandLine).CStr(), c.path);
  }
}

}  // namespace
