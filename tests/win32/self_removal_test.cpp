// The self-removal batch file's text and the command line that starts it.
#include "uninstall/self_removal.h"

#include <gtest/gtest.h>

#include <string>

#include "core/string.h"

namespace {

std::string Str(const String& text) { return std::string(text.CStr(), size_t(text.Length())); }

TEST(SelfRemoval, TheBatchHasFiveLinesWithoutASubfolderAndSixWithOne) {
  const std::string loop =
      ":Repeat\r\ndel \"C:\\Prog\\App\\Uninst\\Uninstall App.exe\"\r\n"
      "if exist \"C:\\Prog\\App\\Uninst\\Uninstall App.exe\" goto Repeat\r\n";
  EXPECT_EQ(
      Str(SelfRemovalBatchText("C:\\Prog\\App\\Uninst\\Uninstall App.exe", "C:\\Prog\\App",
                               "Uninst")),
      loop +
          "rd \"C:\\Prog\\App\\Uninst\"\r\nrd \"C:\\Prog\\App\"\r\ndel \"c:\\delunins.bat\"\r\n");
  EXPECT_EQ(
      Str(SelfRemovalBatchText("C:\\Prog\\App\\Uninst\\Uninstall App.exe", "C:\\Prog\\App", "")),
      loop + "rd \"C:\\Prog\\App\"\r\ndel \"c:\\delunins.bat\"\r\n");
}

// The interpreter in exactly one pair of quotes, whether or not it came quoted (a path with a
// blank comes quoted from the system locations).
TEST(SelfRemoval, TheInterpreterIsQuotedOnce) {
  const struct {
    const char* interpreter;
    const char* commandLine;
  } cases[] = {
      {"C:\\windows\\system32\\cmd.exe", "\"C:\\windows\\system32\\cmd.exe\" /c c:\\delunins.bat"},
      {"\"C:\\My Windows\\cmd.exe\"", "\"C:\\My Windows\\cmd.exe\" /c c:\\delunins.bat"},
      {" \"C:\\My Windows\\cmd.exe\" ", "\"C:\\My Windows\\cmd.exe\" /c c:\\delunins.bat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.interpreter);
    EXPECT_EQ(Str(SelfRemovalCommandLine(c.interpreter)), c.commandLine);
  }
}

}  // namespace
