// The directory question: every check of the chosen directory, in order, with the messages the
// user sees, driven through the UI seam's scripted answers.
#include "ui/choose_install_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "archive/product_flags.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "core/number_words.h"
#include "platform/drives.h"
#include "platform/registry_locations.h"
#include "platform/system_error.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/dialog_test_support.h"
#include "tests/win32/file_test_support.h"
#include "ui/windows.h"

namespace {

using dialog_test::BoxLine;
using dialog_test::DialogLine;
using dialog_test::ErrorLine;
using dialog_test::LanguageTables;
using dialog_test::ScriptedAnswers;

constexpr uint64_t kAskDirectory = FlagMask(ProductFlag::kChooseDirectory);
constexpr uint64_t kConfirmDirectory = FlagMask(ProductFlag::kConfirmDirectory);
constexpr uint64_t kRefuseNetworkPaths = FlagMask(ProductFlag::kRefuseNetworkPaths);

constexpr unsigned kLowSpaceStyle = 0x14;
constexpr unsigned kConfirmStyle = 0x24;

std::string Dialog() { return DialogLine("ChooseDirDlg", 1); }
std::string Typed(const std::string& dir) { return "1001\t" + dir; }

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class ChooseInstallDirTest : public testing::Test {
 protected:
  void SetUp() override {
    InstanceHandle = GetModuleHandleA(nullptr);
    AutomaticMode = false;
    ProductFlags = kAskDirectory;
    InstallDir = "C:\\Program Files\\Default";
    tables_.Set(14, "Invalid directory:");
    tables_.Set(16, "Drive %c: is not there");
    tables_.Set(17, "Not a drive root");
    tables_.Set(18, "Not %s itself");
    tables_.Set(19, "Needs %s on %c:, only %s free. Go on?");
    tables_.Set(20, "Space");
    tables_.Set(22, "Install into the existing %s?");
    tables_.Set(23, "Create %s?");
    tables_.Set(24, "Confirm");
    tables_.Set(25, "Cannot create the directory");
    tables_.Set(66, "No network paths");
  }
  void TearDown() override {
    InstanceHandle = nullptr;
    AutomaticMode = false;
    ProductFlags = 0;
    InstallDir.Clear();
  }
  // A directory the loop accepts at once: new, inside the scratch folder.
  std::string Good() const { return scratch_ / "Product"; }

  LanguageTables tables_;
  ScriptedAnswers answers_;
  file_test::ScratchDir scratch_;
  Vector<int> noFiles_;
};

// A drive letter the system does not have; 0 when every letter is taken.
char MissingDrive() {
  for (char letter = 'Q'; letter <= 'Y'; ++letter) {
    if (!DriveExists(letter)) return letter;
  }
  return 0;
}

TEST_F(ChooseInstallDirTest, EachRejectionIsReportedAndTheDialogShownAgain) {
  const std::string programFiles = ProgramFilesDir().CStr();
  ASSERT_STRCASEEQ(programFiles.c_str(), "C:\\Program Files") << "the cases below assume it";
  struct Case {
    std::string typed;
    std::string message;
  };
  std::vector<Case> cases = {
      {"C:\\a\"b", "Invalid directory:\r\nC:\\a\"b"},
      {"C:\\a*b", "Invalid directory:\r\nC:\\a*b"},
      {"C:\\a?b", "Invalid directory:\r\nC:\\a?b"},
      {"C:\\a|b", "Invalid directory:\r\nC:\\a|b"},
      {"C:\\a<b>", "Invalid directory:\r\nC:\\a<b>"},
      {"C:\\a;b", "Invalid directory:\r\nC:\\a;b"},
      {"C:\\a/b", "Invalid directory:\r\nC:\\a/b"},
      {"relative\\dir", "Invalid directory:\r\nrelative\\dir"},
      {"\\from the root", "Invalid directory:\r\n\\from the root"},
      {"C:no backslash", "Invalid directory:\r\nC:no backslash"},
      {"c:\\", "Not a drive root"},
      {"  C:\\ \t", "Not a drive root"},  // trimmed first
      {"C:\\Program Files\\", "Not " + programFiles + " itself"},
      {"c:\\program files", "Not " + programFiles + " itself"},
      {"C:\\PROGRAM FILES\\\\", "Not " + programFiles + " itself"},
  };
  if (char drive = MissingDrive()) {
    std::string dir = std::string(1, char(drive + 'a' - 'A')) + ":\\x";
    cases.push_back({dir, std::string("Drive ") + drive + ": is not there"});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    answers_.Answer({Typed(c.typed), "", Typed(Good())});
    ChooseInstallDir(noFiles_);
    std::vector<std::string> expected = {Dialog(), ErrorLine(c.message), Dialog()};
    EXPECT_EQ(ReadUiTranscript(), expected);
    EXPECT_STREQ(InstallDir.CStr(), Good().c_str());
    ClearUiTranscript();
  }
}

TEST_F(ChooseInstallDirTest, NetworkPathsAreRefusedWhenTheArchiveSaysSo) {
  ProductFlags |= kRefuseNetworkPaths;
  answers_.Answer({Typed("\\\\server\\share\\Product"), "", Typed(Good())});
  ChooseInstallDir(noFiles_);
  std::vector<std::string> expected = {Dialog(), ErrorLine("No network paths"), Dialog()};
  EXPECT_EQ(ReadUiTranscript(), expected);
  EXPECT_STREQ(InstallDir.CStr(), Good().c_str());
}

TEST_F(ChooseInstallDirTest, AnAcceptedDirectoryIsTrimmedAndCreatedWithItsParents) {
  std::string dir = scratch_ / "One\\Two\\Three";
  answers_.Answer({Typed(" \t" + dir + "  ")});
  ChooseInstallDir(noFiles_);
  std::vector<std::string> expected = {Dialog()};
  EXPECT_EQ(ReadUiTranscript(), expected);
  EXPECT_STREQ(InstallDir.CStr(), dir.c_str());
  EXPECT_TRUE(IsDirectory(dir));
}

TEST_F(ChooseInstallDirTest, ABlankDirectoryShowsTheDialogAgainWithoutAMessage) {
  answers_.Answer({Typed(" \t "), Typed(""), Typed(Good())});
  ChooseInstallDir(noFiles_);
  std::vector<std::string> expected = {Dialog(), Dialog(), Dialog()};
  EXPECT_EQ(ReadUiTranscript(), expected);
  EXPECT_TRUE(IsDirectory(Good()));
}

TEST_F(ChooseInstallDirTest, CancelEndsTheInstaller) {
  answers_.Answer({"1003"});
  EXPECT_EXIT(ChooseInstallDir(noFiles_), testing::ExitedWithCode(1), "");
  std::vector<std::string> expected = {DialogLine("ChooseDirDlg", 0)};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(ChooseInstallDirTest, WithoutTheQuestionTheDirectoryIsCreatedSilently) {
  const struct {
    const char* name;
    bool automatic;
    uint64_t flags;
  } cases[] = {
      {"automatic mode", true, kAskDirectory | kConfirmDirectory},
      {"not asked for", false, kConfirmDirectory},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AutomaticMode = c.automatic;
    ProductFlags = c.flags;
    std::string dir = scratch_ / (std::string(c.name) + "\\Deep");
    InstallDir = dir.c_str();
    answers_.Answer({"1003", "7"});
    ChooseInstallDir(noFiles_);
    EXPECT_TRUE(ReadUiTranscript().empty());
    EXPECT_TRUE(IsDirectory(dir));
    EXPECT_STREQ(InstallDir.CStr(), dir.c_str());
  }
}

TEST_F(ChooseInstallDirTest, TheConfirmationNamesAnExistingOrANewDirectory) {
  ProductFlags |= kConfirmDirectory;
  std::string existing = scratch_.Path();
  std::string fresh = scratch_ / "Fresh";
  answers_.Answer({Typed(existing), "7", Typed(fresh), "6"});
  ChooseInstallDir(noFiles_);
  std::vector<std::string> expected = {
      Dialog(), BoxLine("Confirm", "Install into the existing " + existing + "?", kConfirmStyle, IDNO),
      Dialog(), BoxLine("Confirm", "Create " + fresh + "?", kConfirmStyle, IDYES)};
  EXPECT_EQ(ReadUiTranscript(), expected);
  EXPECT_STREQ(InstallDir.CStr(), fresh.c_str());
  EXPECT_TRUE(IsDirectory(fresh));
}

TEST_F(ChooseInstallDirTest, ARefusedNewDirectoryIsNotCreated) {
  ProductFlags |= kConfirmDirectory;
  std::string refused = scratch_ / "Refused";
  answers_.Answer({Typed(refused), "7", Typed(Good()), "6"});
  ChooseInstallDir(noFiles_);
  EXPECT_FALSE(IsDirectory(refused));
  EXPECT_TRUE(IsDirectory(Good()));
}

TEST_F(ChooseInstallDirTest, TooLittleFreeSpaceAsksAndNoGoesBack) {
  const uint64_t free = FreeSpace('C');
  ASSERT_NE(free, kUnknownSpace);
  // Whole gigabytes, a multiple of any cluster size: one more than the drive has room for.
  constexpr int kGigabyte = 0x40000000;
  Vector<int> sizes;
  for (uint64_t total = 0; total <= free; total += kGigabyte) sizes.Append(kGigabyte);
  const uint64_t needed = uint64_t(sizes.Count()) * kGigabyte;

  answers_.Answer({Typed(Good()), "7", Typed(Good()), "6"});
  ChooseInstallDir(sizes);
  std::vector<std::string> lines = ReadUiTranscript();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], Dialog());
  EXPECT_EQ(lines[2], Dialog());
  // The free space may change while the test runs: the text is checked around it.
  const std::string head = "box\tnone\t0x00000014\tSpace\tNeeds " +
                           std::string(SizeText(int64_t(needed)).CStr()) + " on C:, only ";
  for (size_t i : {1, 3}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].substr(0, head.size()), head);
    EXPECT_NE(lines[i].find(" free. Go on?\t"), std::string::npos);
  }
  EXPECT_EQ(lines[1].substr(lines[1].size() - 2), "\t7");
  EXPECT_EQ(lines[3].substr(lines[3].size() - 2), "\t6");
  std::string freeNow = SizeText(int64_t(FreeSpace('C'))).CStr();
  std::string freeThen = SizeText(int64_t(free)).CStr();
  std::string shown = lines[1].substr(head.size(), lines[1].find(" free.") - head.size());
  EXPECT_TRUE(shown == freeThen || shown == freeNow) << shown;
  EXPECT_TRUE(IsDirectory(Good()));
}

TEST_F(ChooseInstallDirTest, EnoughFreeSpaceAsksNothing) {
  Vector<int> sizes;
  sizes.Append(1);
  sizes.Append(4096);
  answers_.Answer({Typed(Good())});
  ChooseInstallDir(sizes);
  std::vector<std::string> expected = {Dialog()};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST(SpaceNeeded, RoundsEachFileUpToWholeClustersIn64Bits) {
  const struct {
    std::vector<int> sizes;
    int cluster;
    uint64_t expected;
  } cases[] = {
      {{}, 4096, 0},
      {{0}, 4096, 0},
      {{1}, 4096, 4096},
      {{4096, 4097, 1}, 4096, 4096 + 8192 + 4096},
      {{100, 200}, 512, 1024},
      {{100, 200}, -1, 300},  // unknown cluster size: the sizes themselves
      {{100, 200}, 1, 300},
      {{0x40000000, 0x40000000, 0x40000000, 0x40000000, 0x40000000}, 32768, 0x140000000ull},
      {{0x3FFFFFFF, 0x3FFFFFFF, 0x3FFFFFFF, 0x3FFFFFFF}, 65536, 0x100000000ull},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sizes.size() << " files, cluster " << c.cluster);
    Vector<int> sizes;
    for (int size : c.sizes) sizes.Append(size);
    EXPECT_EQ(SpaceNeeded(sizes, c.cluster), c.expected);
  }
}

TEST_F(ChooseInstallDirTest, AFailedCreationReportsTheSystemsReason) {
  std::string file = scratch_ / "a file";
  ASSERT_TRUE(file_test::WriteBytes(file, "x"));
  // A folder inside a file: the system's last word is that the parent is not a directory.
  std::string dir = file + "\\Product";
  String reason = SystemErrorText(ERROR_DIRECTORY);
  reason.TrimRight();
  ASSERT_FALSE(reason.IsEmpty());
  ASSERT_NE(reason.LastChar(), '\n');

  answers_.Answer({Typed(dir), "", Typed(Good())});
  ChooseInstallDir(noFiles_);
  std::vector<std::string> expected = {
      Dialog(),
      ErrorLine("Cannot create the directory\r\n" + dir + "\r\n\r\n" + reason.CStr()),
      Dialog()};
  EXPECT_EQ(ReadUiTranscript(), expected);
  EXPECT_STREQ(InstallDir.CStr(), Good().c_str());
}

// The field takes at most 259 typed characters; a directory of that length is taken whole
// (not cut by the dialog or the checks) and made.
TEST_F(ChooseInstallDirTest, ADirectoryOfTheFieldsFullLengthIsTakenWhole) {
  std::string dir = scratch_.Path() + "\\";
  dir += std::string(259 - dir.size(), 'x');
  ASSERT_EQ(dir.size(), 259u);
  ProductFlags |= kConfirmDirectory;
  answers_.Answer({Typed(dir), "6"});
  ChooseInstallDir(noFiles_);
  std::vector<std::string> expected = {
      Dialog(), BoxLine("Confirm", "Create " + dir + "?", kConfirmStyle, IDYES)};
  EXPECT_EQ(ReadUiTranscript(), expected);
  EXPECT_STREQ(InstallDir.CStr(), dir.c_str());
  EXPECT_TRUE(IsDirectory(dir));
}

// Archive texts are formats only when their conversions take the arguments the check passes;
// any other text gives way to the built-in English one, and "%%" stays a percent sign.
TEST_F(ChooseInstallDirTest, TextsThatDoNotTakeTheirArgumentsGiveTheBuiltInOnes) {
  const std::string programFiles = ProgramFilesDir().CStr();
  const struct {
    const char* what;
    int id;
    const char* text;
    std::string typed;
    std::string message;
  } cases[] = {
      {"its own conversion", 18, "Not %s itself", "C:\\Program Files",
       "Not " + programFiles + " itself"},
      {"a character where a text is passed", 18, "Not %c itself", "C:\\Program Files",
       "Please choose a folder inside " + programFiles + ", not that folder itself."},
      {"one placeholder too many", 18, "Not %s itself (%s)", "C:\\Program Files",
       "Please choose a folder inside " + programFiles + ", not that folder itself."},
      {"one placeholder too few", 18, "Not the Program Files folder", "C:\\Program Files",
       "Please choose a folder inside " + programFiles + ", not that folder itself."},
      {"100% free", 17, "100% free", "C:\\", "Please choose a folder, not the root of a drive."},
      {"%n", 17, "Root %n", "C:\\", "Please choose a folder, not the root of a drive."},
      {"%%", 17, "100%% a root", "C:\\", "100% a root"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    tables_.Set(c.id, c.text);
    answers_.Answer({Typed(c.typed), "", Typed(Good())});
    ChooseInstallDir(noFiles_);
    std::vector<std::string> expected = {Dialog(), ErrorLine(c.message), Dialog()};
    EXPECT_EQ(ReadUiTranscript(), expected);
    ClearUiTranscript();
  }
}

TEST_F(ChooseInstallDirTest, AMissingDrivesTextMustTakeACharacter) {
  const char drive = MissingDrive();
  if (drive == 0) GTEST_SKIP() << "every drive letter is taken";
  const std::string typed = std::string(1, drive) + ":\\x";
  const struct {
    const char* text;
    std::string message;
  } cases[] = {
      {"Laufwerk %c: fehlt", std::string("Laufwerk ") + drive + ": fehlt"},
      // Formatted as a text, the letter would be read as a pointer.
      {"Drive %s: is not there",
       std::string("Drive ") + drive + ": cannot be used. Choose a folder on another drive."},
      {"Drive %c: is not there, %s",
       std::string("Drive ") + drive + ": cannot be used. Choose a folder on another drive."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    tables_.Set(16, c.text);
    answers_.Answer({Typed(typed), "", Typed(Good())});
    ChooseInstallDir(noFiles_);
    std::vector<std::string> expected = {Dialog(), ErrorLine(c.message), Dialog()};
    EXPECT_EQ(ReadUiTranscript(), expected);
    ClearUiTranscript();
  }
}

TEST_F(ChooseInstallDirTest, ConfirmationsAndTheSpaceQuestionFallBackToo) {
  ProductFlags |= kConfirmDirectory;
  tables_.Set(23, "Create %d?");
  std::string fresh = scratch_ / "Fresh";
  answers_.Answer({Typed(fresh), "6"});
  ChooseInstallDir(noFiles_);
  std::vector<std::string> expected = {
      Dialog(), BoxLine("Confirm", "The folder " + fresh + " does not exist yet. Create it?",
                        kConfirmStyle, IDYES)};
  EXPECT_EQ(ReadUiTranscript(), expected);
  ClearUiTranscript();

  ProductFlags &= ~kConfirmDirectory;
  const uint64_t free = FreeSpace('C');
  ASSERT_NE(free, kUnknownSpace);
  constexpr int kGigabyte = 0x40000000;
  Vector<int> sizes;
  for (uint64_t total = 0; total <= free; total += kGigabyte) sizes.Append(kGigabyte);
  tables_.Set(19, "%s on %s: only %c free");  // the drive letter would be read as a text
  answers_.Answer({Typed(Good()), "6"});
  ChooseInstallDir(sizes);
  std::vector<std::string> lines = ReadUiTranscript();
  ASSERT_EQ(lines.size(), 2u);
  const std::string head =
      "box\tnone\t0x00000014\tSpace\tThe installation needs " +
      std::string(SizeText(int64_t(uint64_t(sizes.Count()) * kGigabyte)).CStr()) +
      " on drive C:, but only ";
  EXPECT_EQ(lines[1].substr(0, head.size()), head) << lines[1];
}

}  // namespace
