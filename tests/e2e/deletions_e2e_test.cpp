// The deletions an archive carries out before installing: real files in the install folder,
// their dates and sizes set by the test, and a file held open by this test process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "archive/product_flags.h"
#include "tests/e2e/file_rules_e2e_support.h"
#include "tests/win32/pending_renames_test_support.h"

namespace {

using namespace file_rules_e2e;
using file_test::Exists;
using file_test::SystemErrorText;
using file_test::WriteBytes;

constexpr FileStamp kWritten = {2003, 3, 5, 14, 7, 9};
constexpr char kRestart[] = "event\tend session 0x00000012";

class DeletionsTest : public FileRulesTest {
 protected:
  void Delete(const std::string& specification, int8_t condition, const char* value,
              uint32_t flags = 0) {
    FileDeletion& deletion = plan_.header.deletionSpecs.AppendDefault();
    deletion.specification = specification.c_str();
    deletion.condition = uint8_t(condition);
    deletion.value = value;
    deletion.flags = flags;
  }
};

TEST_F(DeletionsTest, EachConditionDecidesByDateOrSizeAndEveryOtherValueDeletes) {
  struct Case {
    const char* name;
    int size;
    int8_t condition;
    const char* value;
    bool deleted;
  };
  const Case cases[] = {
      {"zero.tmp", 10, 0, "", true},
      {"negative.tmp", 10, -1, "", true},
      {"seven.tmp", 10, 7, "", true},
      {"date-equal.tmp", 10, 1, "3/5/2003", true},  // no time: the dates alone
      {"date-time-differs.tmp", 10, 1, "3/5/2003 14:07:10", false},
      {"date-time-equal.tmp", 10, 1, "March 5th, 2003, 14:07:09", true},
      {"later-not.tmp", 10, 2, "3/6/2003", false},
      {"later-same.tmp", 10, 2, "3/5/2003 14:07:09", true},
      {"earlier.tmp", 10, 3, "3/6/2003", true},
      {"earlier-not.tmp", 10, 3, "3/5/2003 14:07:08", false},
      {"size-equal.tmp", 5000, 4, "5000", true},
      {"size-equal-64.tmp", 5000, 4, "4294972296", false},  // 2^32 + 5000: not 5000
      {"size-at-least.tmp", 5000, 5, "5001", false},
      {"size-zero.tmp", 5000, 5, "0", true},
      {"size-at-most.tmp", 5000, 6, "4999", false},
      {"size-at-most-64.tmp", 5000, 6, "4294967296", true},
  };
  std::string log;
  for (const Case& c : cases) {
    const std::string path = InApp(c.name);
    ASSERT_TRUE(WriteBytes(path, std::string(size_t(c.size), 'd')));
    ASSERT_TRUE(SetLastWrite(path, kWritten));
    Delete(c.name, c.condition, c.value);
    if (c.deleted) log += "Deleted file: " + path + "\r\n";
  }
  // A pattern and a read-only file: the attributes are cleared first.
  ASSERT_TRUE(WriteBytes(InApp("one.bak"), "1"));
  ASSERT_TRUE(WriteBytes(InApp("two.bak"), "2"));
  ASSERT_TRUE(SetFileAttributesA(InApp("two.bak").c_str(), FILE_ATTRIBUTE_READONLY));
  Delete("%InstallDir%\\*.bak", 0, "");
  InstallTexts texts = Run();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Exists(InApp(c.name)), !c.deleted);
  }
  EXPECT_FALSE(Exists(InApp("one.bak")));
  EXPECT_FALSE(Exists(InApp("two.bak")));
  // The pattern's matches come in the order the system lists them.
  const std::string one = "Deleted file: " + InApp("one.bak") + "\r\n";
  const std::string two = "Deleted file: " + InApp("two.bak") + "\r\n";
  EXPECT_TRUE(texts.log == log + one + two || texts.log == log + two + one) << texts.log;
  EXPECT_EQ(texts.errors, "");
  EXPECT_EQ(texts.transcript, std::vector<std::string>());
}

TEST_F(DeletionsTest, AFileInUseIsLoggedOrDeletedAtTheNextStartUnderFlag2) {
  const pending_renames::RawValue saved = pending_renames::ReadPendingRenames();
  pending_renames::WritePendingRenames({});
  ASSERT_TRUE(WriteBytes(InApp("now.dll"), "n"));
  ASSERT_TRUE(WriteBytes(InApp("later.dll"), "l"));
  Delete("now.dll", 0, "");
  Delete("later.dll", 0, "", 0x2);
  InstallTexts texts;
  {
    Held now(InApp("now.dll"));
    Held later(InApp("later.dll"));
    ASSERT_TRUE(now.Ok() && later.Ok());
    texts = Run();
  }
  std::vector<std::string> pending = pending_renames::PendingRenames();
  pending_renames::WritePendingRenames(saved);
  const std::string error = SystemErrorText(ERROR_SHARING_VIOLATION);
  EXPECT_EQ(texts.log, "Failed to delete file '" + InApp("now.dll") + "': " + error + "\r\nFile '" +
                           InApp("later.dll") + "' will be deleted after rebooting: " + error +
                           "\r\n");
  EXPECT_EQ(texts.errors, "");
  EXPECT_EQ(pending, std::vector<std::string>({"\\??\\" + InApp("later.dll"), ""}));
  EXPECT_TRUE(Exists(InApp("now.dll")));
  EXPECT_TRUE(Exists(InApp("later.dll")));
  // Bit 14 was set: automatic mode restarts without asking.
  EXPECT_EQ(texts.transcript, std::vector<std::string>({kRestart}));
}

TEST_F(DeletionsTest, ADateThatDoesNotParseIsCode65) {
  for (const char* value : {"no date", "13/45/2003", "12:30"}) {
    SCOPED_TRACE(value);
    plan_.header.deletionSpecs.RemoveAll();
    ASSERT_TRUE(WriteBytes(InApp("kept.txt"), "k"));
    Delete("kept.txt", 2, value);
    InstallTexts texts = Run();
    EXPECT_EQ(texts.transcript,
              std::vector<std::string>({archive_e2e::FatalBox("Broken archive 65", "progress")}));
    EXPECT_TRUE(Exists(InApp("kept.txt")));
  }
}

}  // namespace
