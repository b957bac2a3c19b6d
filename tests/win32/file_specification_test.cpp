// File specifications over real folders: each test builds its own tree of files in a scratch
// folder (removed before and after) and matches patterns against it.
#include "config/file_specification.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/win32/file_test_support.h"

namespace {

using file_test::ScratchDir;
using file_test::WriteBytes;

std::vector<std::string> Texts(const Array<String>& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count(); ++i) texts.push_back(list[i].CStr());
  return texts;
}

std::vector<int> Numbers(const Vector<int>& list) {
  std::vector<int> numbers;
  for (int i = 0; i < list.Count(); ++i) numbers.push_back(list[i]);
  return numbers;
}

std::vector<std::string> Sorted(std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

// A scratch folder with helpers that build a tree of files in it.
class SpecFixture : public testing::Test {
 protected:
  // Creates the file (and its folders) with size bytes.
  void File(const std::string& relative, size_t size = 1) {
    MakeFoldersFor(relative);
    ASSERT_TRUE(WriteBytes(Path(relative), std::string(size, 'x'))) << relative;
  }
  void Folder(const std::string& relative) {
    MakeFoldersFor(relative + "\\x");
  }
  std::string Path(const std::string& relative) const { return scratch_ / relative; }
  const std::string& Root() const { return scratch_.Path(); }

  // The names of the entries that pattern matches (of the folders alone with foldersOnly), in
  // the order the system enumerates them.
  static std::vector<std::string> SystemOrder(const std::string& pattern,
                                              bool foldersOnly = false) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      std::string name = entry.cFileName;
      bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (name != "." && name != ".." && (folder || !foldersOnly)) names.push_back(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
  }

 private:
  void MakeFoldersFor(const std::string& relative) {
    for (size_t pos = relative.find('\\'); pos != std::string::npos;
         pos = relative.find('\\', pos + 1)) {
      CreateDirectoryA(Path(relative.substr(0, pos)).c_str(), nullptr);
    }
  }

  ScratchDir scratch_;
};

// --- FindMatchingFiles ---

class FindMatching : public SpecFixture {};

TEST_F(FindMatching, ListsFilesOfThePatternsOwnFolderWithTheirSizes) {
  File("a.txt", 10);
  File("b.txt", 200);
  File("c.log", 3000);
  File("sub\\d.txt", 40000);
  Array<String> files;
  uint64_t sum = FindMatchingFiles(files, (Root() + "\\*.txt").c_str(), 0);
  EXPECT_EQ(sum, 210u);
  EXPECT_EQ(Sorted(Texts(files)), (std::vector<std::string>{Path("a.txt"), Path("b.txt")}));

  sum = FindMatchingFiles(files, (Root() + "\\*.*").c_str(), 0);
  EXPECT_EQ(sum, 3210u);  // the folder "sub" is no match without the directory flag
  EXPECT_EQ(Sorted(Texts(files)),
            (std::vector<std::string>{Path("a.txt"), Path("b.txt"), Path("c.log")}));
}

TEST_F(FindMatching, NothingMatchedGivesAnEmptyListAndNoSize) {
  File("a.txt", 10);
  const std::string patterns[] = {
      Root() + "\\*.doc",
      Root() + "\\missing\\*.txt",
      Root() + "\\a.txt\\*.*",
      "",
  };
  for (const std::string& pattern : patterns) {
    SCOPED_TRACE(pattern);
    Array<String> files;
    files.Append(String("stale"));
    EXPECT_EQ(FindMatchingFiles(files, pattern.c_str(), 0), 0u);
    EXPECT_EQ(files.Count(), 0);
  }
}

TEST_F(FindMatching, DirectoriesMatchOnlyWithTheirFlagAndNeverDotEntries) {
  File("a.txt", 5);
  Folder("sub");
  Folder("sub.txt");
  Array<String> files;
  FindMatchingFiles(files, (Root() + "\\*").c_str(), 0);
  EXPECT_EQ(Texts(files), std::vector<std::string>{Path("a.txt")});
  uint64_t sum = FindMatchingFiles(files, (Root() + "\\*").c_str(), MatchFlags::kDirectories);
  EXPECT_EQ(sum, 5u);
  EXPECT_EQ(Sorted(Texts(files)),
            (std::vector<std::string>{Path("a.txt"), Path("sub"), Path("sub.txt")}));
  FindMatchingFiles(files, (Root() + "\\*.txt").c_str(), MatchFlags::kDirectories);
  EXPECT_EQ(Sorted(Texts(files)), (std::vector<std::string>{Path("a.txt"), Path("sub.txt")}));
}

// One file per level along a single chain of folders: a folder's matches come before those of
// its subfolders, however deep.
TEST_F(FindMatching, RecursionListsEachFolderBeforeItsSubfolders) {
  File("top.txt", 1);
  File("top.log", 10);
  File("one\\mid.txt", 100);
  File("one\\two\\deep.txt", 1000);
  File("one\\two\\three\\deepest.txt", 10000);
  const std::vector<std::string> expected = {
      Path("top.txt"), Path("one\\mid.txt"), Path("one\\two\\deep.txt"),
      Path("one\\two\\three\\deepest.txt")};
  const struct {
    std::string pattern;
    uint32_t flags;
  } cases[] = {
      {Root() + "\\*.txt /s", 0},
      {Root() + "\\*.txt /S", 0},
      {Root() + "\\*.txt", MatchFlags::kRecurse},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    Array<String> files;
    EXPECT_EQ(FindMatchingFiles(files, c.pattern.c_str(), c.flags), 11101u);
    EXPECT_EQ(Texts(files), expected);
  }
  Array<String> files;
  FindMatchingFiles(files, (Root() + "\\*.txt").c_str(), 0);
  EXPECT_EQ(Texts(files), std::vector<std::string>{Path("top.txt")});
}

// Sibling folders come in the order the system enumerates them, each one's whole subtree
// before the next sibling.
TEST_F(FindMatching, RecursionIsDepthFirstInTheSystemsOrder) {
  File("x.dat");
  for (const char* sub : {"b", "a", "c"}) {
    File(std::string(sub) + "\\x.dat");
    File(std::string(sub) + "\\inner\\x.dat");
  }
  std::vector<std::string> expected = {Path("x.dat")};
  for (const std::string& sub : SystemOrder(Root() + "\\*.*", true)) {
    expected.push_back(Path(sub + "\\x.dat"));
    expected.push_back(Path(sub + "\\inner\\x.dat"));
  }
  Array<String> files;
  FindMatchingFiles(files, (Root() + "\\x.dat /s").c_str(), 0);
  EXPECT_EQ(Texts(files), expected);
}

TEST_F(FindMatching, RecursionWithDirectoriesListsTheMatchingFoldersToo) {
  File("keep\\inner\\f.txt", 7);
  Array<String> files;
  uint64_t sum = FindMatchingFiles(files, (Root() + "\\* /s").c_str(), MatchFlags::kDirectories);
  EXPECT_EQ(sum, 7u);
  EXPECT_EQ(Texts(files), (std::vector<std::string>{Path("keep"), Path("keep\\inner"),
                                                    Path("keep\\inner\\f.txt")}));
}

TEST_F(FindMatching, ShortensEachResultOnRequest) {
  File("report.final.txt");
  File("sub\\notes.txt");
  const struct {
    uint32_t flags;
    std::vector<std::string> expected;
  } cases[] = {
      {MatchFlags::kNameOnly, {"report.final.txt", "notes.txt"}},
      {MatchFlags::kNoExtension, {Path("report.final"), Path("sub\\notes")}},
      {MatchFlags::kNameOnly | MatchFlags::kNoExtension, {"report.final", "notes"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    Array<String> files;
    FindMatchingFiles(files, (Root() + "\\*.txt").c_str(), c.flags | MatchFlags::kRecurse);
    EXPECT_EQ(Texts(files), c.expected);
  }
}

TEST_F(FindMatching, AppendsOnlyWithTheAppendFlag) {
  File("a.txt");
  Array<String> files;
  files.Append(String("earlier"));
  FindMatchingFiles(files, (Root() + "\\*.txt").c_str(), MatchFlags::kAppend);
  EXPECT_EQ(Texts(files), (std::vector<std::string>{"earlier", Path("a.txt")}));
  FindMatchingFiles(files, (Root() + "\\*.txt").c_str(), 0);
  EXPECT_EQ(Texts(files), std::vector<std::string>{Path("a.txt")});
}

TEST_F(FindMatching, OrdersByNameIgnoringCaseOnRequest) {
  for (const char* name : {"b.txt", "C.txt", "a.txt", "D.txt"}) File(name);
  Array<String> files;
  files.Append(String("zz-earlier"));  // appended entries are not reordered
  FindMatchingFiles(files, (Root() + "\\*.txt").c_str(),
                    MatchFlags::kSortByName | MatchFlags::kNameOnly | MatchFlags::kAppend);
  EXPECT_EQ(Texts(files),
            (std::vector<std::string>{"zz-earlier", "a.txt", "b.txt", "C.txt", "D.txt"}));
  FindMatchingFiles(files, (Root() + "\\*.txt").c_str(),
                    MatchFlags::kSortByNameDescending | MatchFlags::kNameOnly);
  EXPECT_EQ(Texts(files), (std::vector<std::string>{"D.txt", "C.txt", "b.txt", "a.txt"}));
}

// --- ParseFileSpecification ---

class ParseSpec : public SpecFixture {
 protected:
  // Parses with every output given; errors, files and line indexes start empty.
  void Parse(const std::string& text, const char* defaultDir, uint32_t flags = 0) {
    ParseFileSpecification(text.c_str(), files_, defaultDir, &errors_, &lines_, &size_, flags);
  }
  std::vector<std::string> Files() const { return Texts(files_); }
  std::string Errors() const { return errors_.CStr(); }
  std::vector<int> Lines() const { return Numbers(lines_); }

  Array<String> files_;
  String errors_;
  Vector<int> lines_;
  uint64_t size_ = 0xDEADBEEF;
};

TEST_F(ParseSpec, LaterPatternsTakeTheDirectoryOfTheFirst) {
  File("Temp\\x.tmp", 3);
  File("Temp\\y.bak", 5);
  File("y.bak", 7);
  Parse(Root() + "\\Temp\\*.tmp;*.bak", nullptr);
  EXPECT_EQ(Files(), (std::vector<std::string>{Path("Temp\\x.tmp"), Path("Temp\\y.bak")}));
  EXPECT_EQ(Lines(), (std::vector<int>{0, 0}));
  EXPECT_EQ(size_, 8u);
  EXPECT_EQ(Errors(), "");
}

TEST_F(ParseSpec, RelativePatternsAreCompletedFromTheDefaultDirectory) {
  File("App\\one.log", 1);
  File("App\\sub\\two.log", 2);
  File("App\\sub\\three.txt", 4);
  const std::string app = Path("App");
  const struct {
    std::string text;
    std::vector<std::string> expected;
  } cases[] = {
      {"*.log", {Path("App\\one.log")}},
      {app + "\\sub\\*.txt;*.log", {Path("App\\sub\\three.txt"), Path("App\\sub\\two.log")}},
      {"  *.log  ", {Path("App\\one.log")}},
      {"sub\\*.log;*.txt", {Path("App\\sub\\two.log"), Path("App\\sub\\three.txt")}},
      {"*.log /s", {Path("App\\one.log"), Path("App\\sub\\two.log")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    files_.RemoveAll();
    Parse(c.text, app.c_str(), FileSpecFlags::kClearErrors);
    EXPECT_EQ(Files(), c.expected);
    EXPECT_EQ(Errors(), "");
  }
}

TEST_F(ParseSpec, RelativePatternsWithoutADefaultAreReported) {
  File("one.log");
  const struct {
    const char* defaultDir;
    uint32_t flags;
    const char* errors;
  } cases[] = {
      {nullptr, 0,
       "The file specification \"*.log\" on line 1 is not an absolute path.  Please include the "
       "drive and directory.\r\n"},
      {"", 0,
       "The file specification \"*.log\" on line 1 is not an absolute path.  Please include the "
       "drive and directory.\r\n"},
      {nullptr, FileSpecFlags::kNoLineNumbers,
       "The file specification \"*.log\" is not an absolute path.  Please include the drive and "
       "directory.\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    errors_.Clear();
    Parse("*.log", c.defaultDir, c.flags);
    EXPECT_EQ(Errors(), c.errors);
    EXPECT_EQ(files_.Count(), 0);
  }
}

TEST_F(ParseSpec, PatternsMatchingNothingAreReportedWithTheirLine) {
  File("a.txt", 1);
  File("c.dat", 2);
  const std::string text = Root() + "\\*.txt\r\n" + Root() + "\\*.none\r\n" + Root() + "\\*.dat";
  Parse(text, nullptr);
  EXPECT_EQ(Files(), (std::vector<std::string>{Path("a.txt"), Path("c.dat")}));
  EXPECT_EQ(Lines(), (std::vector<int>{0, 2}));
  EXPECT_EQ(Errors(), "The file specification \"" + Root() +
                          "\\*.none\" on line 2 did not match any files.\r\n");
  errors_.Clear();
  Parse(Root() + "\\*.none", nullptr, FileSpecFlags::kNoLineNumbers);
  EXPECT_EQ(Errors(),
            "The file specification \"" + Root() + "\\*.none\" did not match any files.\r\n");
}

TEST_F(ParseSpec, LinesAreCountedAcrossEveryKindOfLineBreak) {
  File("a.txt");
  File("b.dat");
  const std::string a = Root() + "\\a.txt";
  const std::string b = Root() + "\\b.dat";
  const struct {
    const char* name;
    std::string text;
    std::vector<int> lines;
  } cases[] = {
      {"CR LF", a + "\r\n\r\n" + b, {0, 2}},
      {"LF", a + "\n\n" + b, {0, 2}},
      {"CR", a + "\r\r" + b, {0, 2}},
      {"LF CR", a + "\n\r\n\r" + b, {0, 2}},
      {"blank lines", "\r\n  \r\n" + a + "\r\n\t\r\n" + b + "\r\n", {2, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Parse(c.text, nullptr, FileSpecFlags::kClearFiles | FileSpecFlags::kClearLineIndexes);
    EXPECT_EQ(Files(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(Lines(), c.lines);
  }
  EXPECT_EQ(Errors(), "");
}

TEST_F(ParseSpec, AFileNamedTwiceIsListedOnce) {
  File("Dir\\Same.txt", 4);
  File("Dir\\other.txt", 8);
  const std::string text = Root() + "\\Dir\\*.txt;same.TXT\r\n" + Root() + "\\DIR\\SAME.TXT";
  Parse(text, nullptr);
  std::vector<std::string> expected;
  for (const std::string& name : SystemOrder(Path("Dir\\*.txt"))) {
    expected.push_back(Path("Dir\\" + name));
  }
  EXPECT_EQ(Files(), expected);
  EXPECT_EQ(Sorted(Files()), Sorted({Path("Dir\\Same.txt"), Path("Dir\\other.txt")}));
  EXPECT_EQ(Lines(), (std::vector<int>{0, 0}));
  EXPECT_EQ(size_, 20u);  // every match counts towards the size
  EXPECT_EQ(Errors(), "The file \"" + Path("Dir\\Same.txt") + "\" occurs more than once.\r\n" +
                          "The file \"" + Root() + "\\DIR\\Same.txt\" occurs more than once.\r\n");
}

TEST_F(ParseSpec, DuplicatesAreKeptOnRequest) {
  File("Dir\\Same.txt", 4);
  const std::string text = Root() + "\\Dir\\Same.txt;same.txt";
  Parse(text, nullptr, FileSpecFlags::kAllowDuplicates);
  EXPECT_EQ(Files(), (std::vector<std::string>{Path("Dir\\Same.txt"), Path("Dir\\Same.txt")}));
  EXPECT_EQ(Lines(), (std::vector<int>{0, 0}));
  EXPECT_EQ(Errors(), "");
}

TEST_F(ParseSpec, EarlierEntriesCountAsDuplicatesUnlessCleared) {
  File("a.txt");
  const std::string pattern = Root() + "\\a.txt";
  files_.Append(String(pattern.c_str()));
  lines_.Append(7);
  Parse(pattern, nullptr);
  EXPECT_EQ(Files(), std::vector<std::string>{pattern});
  EXPECT_EQ(Lines(), std::vector<int>{7});
  EXPECT_EQ(Errors(), "The file \"" + pattern + "\" occurs more than once.\r\n");

  Parse(pattern, nullptr, FileSpecFlags::kClearFiles | FileSpecFlags::kClearErrors);
  EXPECT_EQ(Files(), std::vector<std::string>{pattern});
  EXPECT_EQ(Lines(), (std::vector<int>{7, 0}));  // the line list is kept without its flag
  EXPECT_EQ(Errors(), "");

  Parse(pattern, nullptr, FileSpecFlags::kClearFiles | FileSpecFlags::kClearLineIndexes);
  EXPECT_EQ(Lines(), std::vector<int>{0});
}

TEST_F(ParseSpec, ErrorsAccumulateUnlessCleared) {
  errors_ = "earlier\r\n";
  Parse(Root() + "\\*.none", nullptr);
  EXPECT_EQ(Errors(), "earlier\r\nThe file specification \"" + Root() +
                          "\\*.none\" on line 1 did not match any files.\r\n");
  Parse(Root() + "\\*.none", nullptr, FileSpecFlags::kClearErrors);
  EXPECT_EQ(Errors(), "The file specification \"" + Root() +
                          "\\*.none\" on line 1 did not match any files.\r\n");
}

TEST_F(ParseSpec, AMissingDefaultDirectoryIsReportedAndProcessingGoesOn) {
  File("a.txt", 6);
  const std::string missing = Path("missing");
  const std::string text = "*.txt\r\n" + Root() + "\\a.txt";
  Parse(text, missing.c_str());
  EXPECT_EQ(Files(), std::vector<std::string>{Path("a.txt")});
  EXPECT_EQ(Lines(), std::vector<int>{1});
  EXPECT_EQ(size_, 6u);
  EXPECT_EQ(Errors(), "The default directory \"" + missing + "\" does not exist.\r\n" +
                          "The file specification \"" + missing +
                          "\\*.txt\" on line 1 did not match any files.\r\n");
}

TEST_F(ParseSpec, ABlankTextIsAnErrorOnlyOnRequest) {
  files_.Append(String("kept"));
  lines_.Append(3);
  const uint32_t clearAll =
      FileSpecFlags::kClearFiles | FileSpecFlags::kClearLineIndexes | FileSpecFlags::kClearErrors;
  for (const char* blank : {"", "  \r\n\t\r\n"}) {
    SCOPED_TRACE(testing::PrintToString(blank));
    errors_ = "earlier\r\n";
    size_ = 0xDEADBEEF;
    Parse(blank, Path("missing").c_str(), FileSpecFlags::kBlankIsError | clearAll);
    EXPECT_EQ(Errors(), "No files were specified.\r\n");
    EXPECT_EQ(Files(), std::vector<std::string>{"kept"});  // nothing else happens
    EXPECT_EQ(Lines(), std::vector<int>{3});
    EXPECT_EQ(size_, 0xDEADBEEFu);
  }
  errors_.Clear();
  Parse("", nullptr, 0);
  EXPECT_EQ(Errors(), "");
  EXPECT_EQ(size_, 0u);
  Parse("", Root().c_str(), clearAll);
  EXPECT_EQ(files_.Count(), 0);
  EXPECT_EQ(lines_.Count(), 0);
}

TEST_F(ParseSpec, PassesTheDirectoryAndRecursionFlagsOn) {
  File("App\\a.txt", 2);
  File("App\\sub\\b.txt", 3);
  File("App\\dir.txt\\c.dat", 4);
  const std::string app = Path("App");
  const struct {
    uint32_t flags;
    std::vector<std::string> expected;
  } cases[] = {
      {0, {Path("App\\a.txt")}},
      {FileSpecFlags::kDirectories, {Path("App\\a.txt"), Path("App\\dir.txt")}},
      {FileSpecFlags::kRecurse, {Path("App\\a.txt"), Path("App\\sub\\b.txt")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    Parse("*.txt", app.c_str(), c.flags | FileSpecFlags::kClearFiles);
    EXPECT_EQ(Sorted(Files()), Sorted(c.expected));
  }
}

TEST_F(ParseSpec, OptionalOutputsMayBeLeftOut) {
  File("a.txt", 9);
  Array<String> files;
  ParseFileSpecification((Root() + "\\a.txt\r\n*.none;" + Root() + "\\none.txt").c_str(), files,
                         nullptr, nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(Texts(files), std::vector<std::string>{Path("a.txt")});
}

TEST_F(ParseSpec, EmptyPiecesBetweenSemicolonsAreSkipped) {
  File("a.txt");
  File("b.dat");
  Parse(Root() + "\\a.txt;;b.dat;", nullptr);
  EXPECT_EQ(Files(), (std::vector<std::string>{Path("a.txt"), Path("b.dat")}));
  EXPECT_EQ(Errors(), "");
}

}  // namespace
