#include "archive/archive_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "archive/header_stream.h"
#include "archive/product_flags.h"
#include "config/language_table.h"
#include "tests/native/archive_bytes_test_support.h"

namespace {

using archive_test::ArchiveBytes;
using archive_test::Str;
using archive_test::StreamOver;

constexpr uint64_t kPatchFlag = FlagMask(ProductFlag::kRegisterUninstall);
constexpr uint64_t kMasterFlag = FlagMask(ProductFlag::kExtendsMasterProduct);
// Bits 2 and 16 (every optional field present) among others, so that no half is zero.
constexpr uint64_t kAllFieldsFlags = 0x0000012300012004ull;
constexpr uint32_t kFileSize = 0x10000;

struct DeletionRecord {
  std::string specification;
  uint8_t condition;
  std::string value;
  uint32_t flags;
};

// The header fields after ProductFlags, each with a value of its own, in stored order. Counts
// can be overridden to write a count without (or with other than) its records.
struct HeaderSpec {
  uint64_t flags = kAllFieldsFlags;
  uint32_t stageDelay = 1234;
  std::vector<std::string> licences = {"licence one", "licence two"};
  int64_t licenceCount = -1;  // -1: licences.size()
  std::vector<std::string> readmes = {"readme a", "readme b", "readme c"};
  int64_t readmeCount = -1;
  std::string volumeBase = "D:\\vol\\ROCKET";
  int32_t bitmapLength = 5;
  std::string bitmap = std::string("BM\x01\x00z", 5);
  int32_t patchOffset = 100;
  int64_t patchLength = -1;  // -1: patch.size()
  std::string patch = "PTCH";
  std::vector<DeletionRecord> deletions = {{"*.tmp", 2, "01/02/1999", 0x10},
                                           {"old.dll", 5, "v", 0x20}};
  std::string deletionEnd = kDeletionListEnd;
  uint32_t associationCount = 2;  // records are written only for counts up to the limit
  uint32_t valueCount = 2;
};

std::string Numbered(const char* stem, uint32_t i) { return stem + std::to_string(i); }

// Writes the fields of `spec`, marking each stretch with the code that a header ending inside
// it must give.
ArchiveBytes BuildFields(const HeaderSpec& spec) {
  ArchiveBytes b;
  b.Mark(19).U16(spec.stageDelay);
  b.Mark(24).U8(7).Stamp(1998, 7, 15, 13, 45, 30);
  b.Text("Acme Publishing").Text("Rocket Sled").Text("Acme Shared").Text("Acme\\Rocket Menu");
  b.Text("C:\\Rocket").Text("2.5b").Text("Software\\Acme\\Rocket");
  b.U32(uint32_t(spec.licenceCount >= 0 ? spec.licenceCount : int64_t(spec.licences.size())));
  for (const std::string& text : spec.licences) b.Text(text);
  b.Mark(26).U32(uint32_t(spec.readmeCount >= 0 ? spec.readmeCount
                                                 : int64_t(spec.readmes.size())));
  for (const std::string& text : spec.readmes) b.Text(text);
  b.Mark(21).Text("Uninst").Text(spec.volumeBase);
  b.Mark(38).Text("unrocket.exe").Text("Rocket Key");
  b.U32(0x00112233).U32(0x00445566).U32(0x00778899).U8(3);
  b.S32(spec.bitmapLength).Bytes(spec.bitmap.data(), int(spec.bitmap.size()));
  if (spec.flags & kMasterFlag) b.Text("Acme Base");
  b.Text("Desk Folder").Text("pre.bat").Text("post.bat").Text("final.bat");
  b.Text("unbatch1").Text("unbatch2");
  for (int i = 0; i < 20; ++i) b.U8(uint32_t(0x60 + i));
  b.U32(0x0000A5A5).U8(1).U32(0xCAFEF00D);
  if (spec.flags & kPatchFlag) {
    b.Mark(23).S32(spec.patchOffset);
    if (spec.patchOffset > 0) {
      b.U32(uint32_t(spec.patchLength >= 0 ? spec.patchLength : int64_t(spec.patch.size())));
      b.Bytes(spec.patch.data(), int(spec.patch.size()));
    }
  }
  b.Mark(38);
  for (const DeletionRecord& d : spec.deletions) {
    b.Text(d.specification).U8(d.condition).Text(d.value).U32(d.flags);
  }
  b.Text(spec.deletionEnd);
  b.Mark(36).U32(spec.associationCount);
  if (spec.associationCount <= uint32_t(kMaxHeaderRecords)) {
    for (uint32_t i = 0; i < spec.associationCount; ++i) {
      b.U32(0x101 * (i + 1)).Text(Numbered(".ext", i)).Text(Numbered("type", i));
      b.Text(Numbered("description", i)).Text(Numbered("verb", i)).Text(Numbered("verb text", i));
      b.Text(Numbered("command", i)).Text(Numbered("language", i)).Text(Numbered("icon", i));
    }
  }
  b.Mark(37).U32(spec.valueCount);
  if (spec.valueCount <= uint32_t(kMaxHeaderRecords)) {
    for (uint32_t i = 0; i < spec.valueCount; ++i) {
      b.Text(Numbered("name", i)).U8(i + 1).Text(Numbered("value", i));
    }
  }
  return b;
}

int ReadFields(const std::vector<char>& bytes, uint64_t flags, ArchiveHeader& header,
               size_t* position = nullptr) {
  HeaderStream in = StreamOver(bytes);
  header.productFlags = flags;
  const int code = ReadHeaderFields(in, kFileSize, header);
  if (position != nullptr) *position = in.Position();
  return code;
}

// Every field with its own value: a field read out of order cannot end up equal.
TEST(ReadHeaderFieldsTest, ReadsEveryFieldInStoredOrder) {
  const HeaderSpec spec;
  ArchiveBytes b = BuildFields(spec);
  const int fieldsEnd = b.Length();
  b.U32(0xBEEF);  // what follows the fields is left for the language tables
  ArchiveHeader h;
  size_t position = 0;
  ASSERT_EQ(ReadFields(b.All(), spec.flags, h, &position), 0);
  EXPECT_EQ(position, size_t(fieldsEnd));

  EXPECT_EQ(h.productFlags, kAllFieldsFlags);
  EXPECT_EQ(h.stageDelay, 1234);
  EXPECT_EQ(h.shortcutMode, 7);
  EXPECT_EQ(h.uninstallerStamp.year, 1998);
  EXPECT_EQ(h.uninstallerStamp.month, 7);
  EXPECT_EQ(h.uninstallerStamp.day, 15);
  EXPECT_EQ(h.uninstallerStamp.hour, 13);
  EXPECT_EQ(h.uninstallerStamp.minute, 45);
  EXPECT_EQ(h.uninstallerStamp.second, 30);
  EXPECT_EQ(Str(h.publisher), "Acme Publishing");
  EXPECT_EQ(Str(h.productName), "Rocket Sled");
  EXPECT_EQ(Str(h.sharedPath), "Acme Shared");
  EXPECT_EQ(Str(h.productStartMenu), "Acme\\Rocket Menu");
  EXPECT_EQ(Str(h.defaultInstallDir), "C:\\Rocket");
  EXPECT_EQ(Str(h.displayVersion), "2.5b");
  EXPECT_EQ(Str(h.productRegistry), "Software\\Acme\\Rocket");
  ASSERT_EQ(h.licenseTexts.Count(), 2);
  EXPECT_EQ(Str(h.licenseTexts[0]), "licence one");
  EXPECT_EQ(Str(h.licenseTexts[1]), "licence two");
  ASSERT_EQ(h.readmeTexts.Count(), 3);
  EXPECT_EQ(Str(h.readmeTexts[0]), "readme a");
  EXPECT_EQ(Str(h.readmeTexts[2]), "readme c");
  EXPECT_EQ(Str(h.uninstallSubdir), "Uninst");
  EXPECT_EQ(Str(h.volumeBase), "D:\\vol\\ROCKET");
  EXPECT_EQ(Str(h.uninstallerName), "unrocket.exe");
  EXPECT_EQ(Str(h.uninstallKeyName), "Rocket Key");
  EXPECT_EQ(h.titleColor, 0x00112233u);
  EXPECT_EQ(h.topColor, 0x00445566u);
  EXPECT_EQ(h.bottomColor, 0x00778899u);
  EXPECT_EQ(h.titleShadow, 3);
  EXPECT_EQ(Str(h.backgroundBitmap), std::string("BM\x01\x00z", 5));
  EXPECT_EQ(Str(h.masterProduct), "Acme Base");
  EXPECT_EQ(Str(h.desktopFolder), "Desk Folder");
  EXPECT_EQ(Str(h.preInstallBatch), "pre.bat");
  EXPECT_EQ(Str(h.postInstallBatch), "post.bat");
  EXPECT_EQ(Str(h.finalBatch), "final.bat");
  EXPECT_EQ(Str(h.uninstallBatch1), "unbatch1");
  EXPECT_EQ(Str(h.uninstallBatch2), "unbatch2");
  for (int i = 0; i < 20; ++i) EXPECT_EQ(h.reservedDate[i], 0x60 + i) << i;
  EXPECT_EQ(h.unsupportedSystems, 0x0000A5A5u);
  EXPECT_EQ(h.dataOutsideImage, 1);
  EXPECT_EQ(h.volumeSerial, 0xCAFEF00Du);
  EXPECT_EQ(h.uninstallerPatchOffset, 100u);
  EXPECT_EQ(Str(h.uninstallerPatch), "PTCH");
  ASSERT_EQ(h.deletionSpecs.Count(), 2);
  EXPECT_EQ(Str(h.deletionSpecs[0].specification), "*.tmp");
  EXPECT_EQ(h.deletionSpecs[0].condition, 2);
  EXPECT_EQ(Str(h.deletionSpecs[0].value), "01/02/1999");
  EXPECT_EQ(h.deletionSpecs[0].flags, 0x10u);
  EXPECT_EQ(Str(h.deletionSpecs[1].specification), "old.dll");
  EXPECT_EQ(h.deletionSpecs[1].flags, 0x20u);
  ASSERT_EQ(h.fileAssociations.Count(), 2);
  const FileAssociation& a = h.fileAssociations[1];
  EXPECT_EQ(a.options, 0x202u);
  EXPECT_EQ(Str(a.extension), ".ext1");
  EXPECT_EQ(Str(a.fileType), "type1");
  EXPECT_EQ(Str(a.description), "description1");
  EXPECT_EQ(Str(a.verb), "verb1");
  EXPECT_EQ(Str(a.verbText), "verb text1");
  EXPECT_EQ(Str(a.command), "command1");
  EXPECT_EQ(Str(a.language), "language1");
  EXPECT_EQ(Str(a.icon), "icon1");
  EXPECT_EQ(Str(h.fileAssociations[0].icon), "icon0");
  ASSERT_EQ(h.uninstallValues.Count(), 2);
  EXPECT_EQ(Str(h.uninstallValues[0].name), "name0");
  EXPECT_EQ(h.uninstallValues[0].type, 1);
  EXPECT_EQ(Str(h.uninstallValues[1].value), "value1");
  EXPECT_EQ(h.uninstallValues[1].type, 2);
}

// Without flag bits 2 and 16, MasterProduct and the patch are not stored: the fields after
// them must still line up. A bitmap length of 0 or less stores no bytes.
TEST(ReadHeaderFieldsTest, OptionalFieldsAbsent) {
  struct Case {
    const char* what;
    uint64_t flags;
    int32_t bitmapLength;
    int32_t patchOffset;
  };
  const Case cases[] = {
      {"no optional fields", 0, 0, 0},
      {"negative bitmap length", 0, -5, 0},
      {"master product only", kMasterFlag, 0, 0},
      {"patch flag, offset 0: no length", kPatchFlag, 0, 0},
      {"patch flag, offset at the file size", kPatchFlag, 0, int32_t(kFileSize)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HeaderSpec spec;
    spec.flags = c.flags;
    spec.bitmapLength = c.bitmapLength;
    spec.bitmap.clear();
    spec.patchOffset = c.patchOffset;
    ArchiveHeader h;
    ASSERT_EQ(ReadFields(BuildFields(spec).All(), spec.flags, h), 0);
    EXPECT_EQ(h.backgroundBitmap.Length(), 0);
    EXPECT_EQ(Str(h.masterProduct), (c.flags & kMasterFlag) ? "Acme Base" : "");
    EXPECT_EQ(h.uninstallerPatchOffset, uint32_t(c.patchOffset));
    EXPECT_EQ(Str(h.desktopFolder), "Desk Folder");
    EXPECT_EQ(h.volumeSerial, 0xCAFEF00Du);
    EXPECT_EQ(h.deletionSpecs.Count(), 2);
    EXPECT_EQ(h.uninstallValues.Count(), 2);
  }
}

TEST(ReadHeaderFieldsTest, ChecksGiveTheirCodes) {
  struct Case {
    const char* what;
    std::function<void(HeaderSpec&)> change;
    int expected;
  };
  const std::vector<std::string> twenty(20, "t");
  const Case cases[] = {
      {"stage delay 9999", [](HeaderSpec& s) { s.stageDelay = 9999; }, 0},
      {"stage delay 10000", [](HeaderSpec& s) { s.stageDelay = 10000; }, 19},
      {"stage delay 0xFFFF", [](HeaderSpec& s) { s.stageDelay = 0xFFFF; }, 19},
      {"20 licence texts", [&](HeaderSpec& s) { s.licences = twenty; }, 0},
      {"21 licence texts",
       [&](HeaderSpec& s) {
         s.licences = twenty;
         s.licences.push_back("t");
       },
       24},
      {"licence count negative", [](HeaderSpec& s) { s.licenceCount = 0xFFFFFFFF; }, 24},
      {"no licence texts", [](HeaderSpec& s) { s.licences.clear(); }, 0},
      {"20 readme texts", [&](HeaderSpec& s) { s.readmes = twenty; }, 0},
      {"21 readme texts", [](HeaderSpec& s) { s.readmeCount = 21; }, 26},
      {"volume base empty", [](HeaderSpec& s) { s.volumeBase = ""; }, 21},
      {"volume base blanks", [](HeaderSpec& s) { s.volumeBase = " \t\r\n"; }, 21},
      {"volume base one letter", [](HeaderSpec& s) { s.volumeBase = "v"; }, 0},
      {"bitmap longer than the header", [](HeaderSpec& s) { s.bitmapLength = 0x7FFFFFFF; }, 38},
      {"patch offset negative", [](HeaderSpec& s) { s.patchOffset = -1; }, 23},
      {"patch offset beyond the file",
       [](HeaderSpec& s) { s.patchOffset = int32_t(kFileSize) + 1; }, 23},
      {"patch longer than the header", [](HeaderSpec& s) { s.patchLength = 0xFFFFFFFF; }, 23},
      {"no deletions", [](HeaderSpec& s) { s.deletions.clear(); }, 0},
      {"10000 associations", [](HeaderSpec& s) { s.associationCount = 10000; }, 0},
      {"10001 associations", [](HeaderSpec& s) { s.associationCount = 10001; }, 36},
      {"association count negative",
       [](HeaderSpec& s) { s.associationCount = 0xFFFFFFFF; }, 36},
      {"10000 uninstall values", [](HeaderSpec& s) { s.valueCount = 10000; }, 0},
      {"10001 uninstall values", [](HeaderSpec& s) { s.valueCount = 10001; }, 37},
      {"19 before 24",
       [](HeaderSpec& s) {
         s.stageDelay = 10000;
         s.licenceCount = 21;
       },
       19},
      {"24 before 26",
       [](HeaderSpec& s) {
         s.licenceCount = 21;
         s.readmeCount = 21;
       },
       24},
      {"21 before 23",
       [](HeaderSpec& s) {
         s.volumeBase = "";
         s.patchOffset = -1;
       },
       21},
      {"36 before 37",
       [](HeaderSpec& s) {
         s.associationCount = 10001;
         s.valueCount = 10001;
       },
       36},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HeaderSpec spec;
    c.change(spec);
    ArchiveHeader h;
    EXPECT_EQ(ReadFields(BuildFields(spec).All(), spec.flags, h), c.expected);
    if (c.expected == 0 && spec.associationCount == 10000) {
      EXPECT_EQ(Str(h.fileAssociations[9999].command), "command9999");
    }
    if (c.expected == 0 && spec.valueCount == 10000) {
      EXPECT_EQ(h.uninstallValues[9999].type, uint8_t(10000));
    }
  }
}

std::vector<DeletionRecord> ManyDeletions(int n) {
  std::vector<DeletionRecord> records;
  for (int i = 0; i < n; ++i) records.push_back({Numbered("f", uint32_t(i)), 1, "", uint32_t(i)});
  return records;
}

TEST(ReadHeaderFieldsTest, DeletionListHoldsAtMost1001Records) {
  HeaderSpec spec;
  spec.deletions = ManyDeletions(1001);
  ArchiveHeader h;
  ASSERT_EQ(ReadFields(BuildFields(spec).All(), spec.flags, h), 0);
  ASSERT_EQ(h.deletionSpecs.Count(), 1001);
  EXPECT_EQ(Str(h.deletionSpecs[1000].specification), "f1000");
  EXPECT_EQ(h.deletionSpecs[1000].flags, 1000u);

  spec.deletions = ManyDeletions(1002);
  EXPECT_EQ(ReadFields(BuildFields(spec).All(), spec.flags, h), 38);
}

// Only the exact end text ends the list; anything else is a specification with its record.
TEST(ReadHeaderFieldsTest, DeletionListEndIsCaseSensitive) {
  for (const char* lookalike : {"~~the end~~", "~~THE END~~ ", " ~~THE END~~", "~~THE END"}) {
    SCOPED_TRACE(lookalike);
    HeaderSpec spec;
    spec.deletions = {{lookalike, 9, "x", 0x99}};
    ArchiveHeader h;
    ASSERT_EQ(ReadFields(BuildFields(spec).All(), spec.flags, h), 0);
    ASSERT_EQ(h.deletionSpecs.Count(), 1);
    EXPECT_EQ(Str(h.deletionSpecs[0].specification), lookalike);
    EXPECT_EQ(h.deletionSpecs[0].flags, 0x99u);
  }
}

// A header that ends inside any field gives the code documented for that field.
TEST(ReadHeaderFieldsTest, EveryCutGivesTheCodeOfTheFieldItBreaks) {
  for (uint64_t flags : {kAllFieldsFlags, uint64_t(0)}) {
    SCOPED_TRACE(flags);
    HeaderSpec spec;
    spec.flags = flags;
    const ArchiveBytes b = BuildFields(spec);
    for (int cut = 0; cut < b.Length(); ++cut) {
      SCOPED_TRACE(cut);
      ArchiveHeader h;
      EXPECT_EQ(ReadFields(b.Cut(cut), flags, h), b.CodeForCut(cut));
    }
  }
}

TEST(ReadProductFlagsTest, ReadsTheFirstEightBytes) {
  ArchiveBytes b;
  b.U64(0x0123456789ABCDEFull).U8(0x55);
  const std::vector<char> bytes = b.All();
  HeaderStream in = StreamOver(bytes);
  uint64_t flags = 0;
  ASSERT_TRUE(ReadProductFlags(in, flags));
  EXPECT_EQ(flags, 0x0123456789ABCDEFull);
  EXPECT_EQ(in.Position(), 8u);
  for (int cut = 0; cut < 8; ++cut) {
    SCOPED_TRACE(cut);
    const std::vector<char> shortHeader = b.Cut(cut);
    HeaderStream shortIn = StreamOver(shortHeader);
    EXPECT_FALSE(ReadProductFlags(shortIn, flags));
  }
}

// The whole header block as the engine reads it: flags, fields, language tables; bytes after
// the tables' end marker are not looked at.
TEST(HeaderBlockTest, FlagsFieldsAndLanguagesReadBackToBack) {
  HeaderSpec spec;
  ArchiveBytes b;
  b.U64(spec.flags).Bytes(BuildFields(spec).Data());
  b.U8(2).U32(1).Text("Deutsch").Text("English").Text("Hallo").Text("Hello");
  b.U32(kStringTableEnd).Text("trailing bytes are ignored");
  const std::vector<char> bytes = b.All();
  HeaderStream in = StreamOver(bytes);
  ArchiveHeader h;
  LanguageTables tables;
  ASSERT_TRUE(ReadProductFlags(in, h.productFlags));
  ASSERT_EQ(ReadHeaderFields(in, kFileSize, h), 0);
  ASSERT_EQ(ReadLanguageTables(in, tables), 0);
  EXPECT_EQ(h.productFlags, kAllFieldsFlags);
  EXPECT_EQ(h.uninstallValues.Count(), 2);
  EXPECT_EQ(tables.defaultLanguage, 1);
  EXPECT_EQ(Str(tables.texts[0][0]), "Hallo");
  EXPECT_EQ(Str(tables.texts[0][1]), "Hello");
}

}  // namespace
