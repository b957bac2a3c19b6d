#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "platform/file_finder.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::ScratchDir;
using file_test::Str;
using file_test::WriteBytes;

struct Stamp {
  int year, month, day, hour, minute, second;
};

void ExpectStamp(const FileStamp& actual, const Stamp& expected) {
  EXPECT_EQ(actual.year, expected.year);
  EXPECT_EQ(actual.month, expected.month);
  EXPECT_EQ(actual.day, expected.day);
  EXPECT_EQ(actual.hour, expected.hour);
  EXPECT_EQ(actual.minute, expected.minute);
  EXPECT_EQ(actual.second, expected.second);
}

FILETIME UniversalTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME system = {};
  system.wYear = year;
  system.wMonth = month;
  system.wDay = day;
  system.wHour = hour;
  system.wMinute = minute;
  system.wSecond = second;
  FILETIME time = {};
  SystemTimeToFileTime(&system, &time);
  return time;
}

// The local time of a universal file time, as the system converts it.
Stamp LocalStamp(const FILETIME& universal) {
  FILETIME local;
  SYSTEMTIME system;
  FileTimeToLocalFileTime(&universal, &local);
  FileTimeToSystemTime(&local, &system);
  return {system.wYear, system.wMonth, system.wDay, system.wHour, system.wMinute, system.wSecond};
}

bool SetTimes(const std::string& path, const FILETIME& creation, const FILETIME& access,
              const FILETIME& write) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BOOL ok = SetFileTime(file, &creation, &access, &write);
  CloseHandle(file);
  return ok != 0;
}

class FileFinderTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteBytes(scratch_ / "a.txt", "abc"));
    ASSERT_TRUE(WriteBytes(scratch_ / "b.dat", std::string(5000, 'b')));
    ASSERT_TRUE(WriteBytes(scratch_ / "Long File Name.text", "long"));
    ASSERT_TRUE(WriteBytes(scratch_ / "semi;colon.txt", "skipped"));
    ASSERT_TRUE(CreateDirectoryA((scratch_ / "sub").c_str(), nullptr));
  }

  // Every entry the finder reports for pattern, by long name.
  std::map<std::string, FindRecord> FindAll(const std::string& pattern) {
    std::map<std::string, FindRecord> found;
    FileFinder finder;
    FindRecord record;
    for (bool more = finder.FindFirst(pattern.c_str(), &record); more;
         more = finder.FindNext(&record)) {
      EXPECT_TRUE(found.emplace(Str(record.longName), record).second) << Str(record.longName);
    }
    EXPECT_FALSE(finder.IsOpen());  // the end closes the enumeration
    return found;
  }

  ScratchDir scratch_;
};

TEST_F(FileFinderTest, ReportsEveryUsableEntryWithItsFacts) {
  std::map<std::string, FindRecord> found = FindAll(scratch_ / "*");
  std::string names;
  for (const auto& entry : found) names += entry.first + "|";
  // "." and ".." come too; a name with a semicolon never does.
  EXPECT_EQ(names, ".|..|Long File Name.text|a.txt|b.dat|sub|");

  EXPECT_EQ(found["a.txt"].size, 3u);
  EXPECT_EQ(found["b.dat"].size, 5000u);
  EXPECT_EQ(found["a.txt"].attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_NE(found["sub"].attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_NE(found["."].attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  // A name that is not 8.3 has a short alias; one that is needs none.
  const FindRecord& longOne = found["Long File Name.text"];
  EXPECT_FALSE(longOne.shortName.IsEmpty());
  EXPECT_LE(longOne.shortName.Length(), 12);
  EXPECT_EQ(longOne.shortName.FindFirstOf(" "), -1);
}

// The three times as the system keeps them (some file systems have no creation time of their
// own and report another), converted to local time by the system.
struct SystemTimes {
  Stamp creation, access, write;
};

bool ReadSystemTimes(const std::string& path, SystemTimes& out) {
  HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME creation, access, write;
  BOOL ok = GetFileTime(file, &creation, &access, &write);
  CloseHandle(file);
  out = {LocalStamp(creation), LocalStamp(access), LocalStamp(write)};
  return ok != 0;
}

TEST_F(FileFinderTest, TimesAreLocalTimes) {
  const std::string file = scratch_ / "a.txt";
  // Different universal times, one in winter and one in summer time.
  FILETIME creation = UniversalTime(2003, 3, 5, 19, 7, 9);
  FILETIME access = UniversalTime(2004, 7, 1, 2, 30, 0);
  FILETIME write = UniversalTime(1999, 12, 31, 23, 59, 58);
  ASSERT_TRUE(SetTimes(file, creation, access, write));
  SystemTimes kept;
  ASSERT_TRUE(ReadSystemTimes(file, kept));
  ExpectStamp(FileStamp{kept.access.year, kept.access.month, kept.access.day, kept.access.hour,
                        kept.access.minute, kept.access.second},
              LocalStamp(access));

  FindRecord record;
  ASSERT_TRUE(FindOne(file.c_str(), record));
  EXPECT_STREQ(record.longName.CStr(), "a.txt");
  ExpectStamp(record.lastAccess, LocalStamp(access));
  ExpectStamp(record.lastWrite, LocalStamp(write));
  ExpectStamp(record.creation, kept.creation);
  // The test runs in a zone west of UTC, so the conversion shows: 23:59:58 UTC on the last day
  // of 1999 is still 1999 there, hours earlier.
  EXPECT_EQ(record.lastWrite.year, 1999);
  EXPECT_LT(record.lastWrite.hour, 23);

  FileTimeSet times;
  ASSERT_TRUE(FileTimes(file.c_str(), times));
  ExpectStamp(times.creation, kept.creation);
  ExpectStamp(times.lastAccess, LocalStamp(access));
  ExpectStamp(times.lastWrite, LocalStamp(write));
}

TEST_F(FileFinderTest, PatternsThatFindNothing) {
  const std::string patterns[] = {
      scratch_ / "*.none",
      scratch_ / "semi*",  // only an entry that is passed over
      scratch_ / "missing-dir\\*",
      "",
      scratch_ / std::string(3000, 'x'),
      "\"" + (scratch_ / "*") + "\"",
      scratch_ / "a.txt;b.dat",
      "\\\\no-such-server\\share\\*",
  };
  for (const std::string& pattern : patterns) {
    SCOPED_TRACE(pattern.substr(0, 200));
    FileFinder finder;
    FindRecord record;
    record.size = 77;
    EXPECT_FALSE(finder.FindFirst(pattern.c_str(), &record));
    EXPECT_FALSE(finder.IsOpen());
    EXPECT_EQ(record.size, 77u);  // untouched
    EXPECT_FALSE(finder.FindNext(&record));
    EXPECT_FALSE(FindOne(pattern.c_str(), record));
    FileTimeSet times;
    EXPECT_FALSE(FileTimes(pattern.c_str(), times));
  }
}

TEST_F(FileFinderTest, ARecordIsOptionalAndANewSearchClosesTheOld) {
  FileFinder finder;
  EXPECT_TRUE(finder.FindFirst((scratch_ / "*.txt").c_str()));
  EXPECT_TRUE(finder.IsOpen());
  FindRecord record;
  EXPECT_TRUE(finder.FindFirst((scratch_ / "b.*").c_str(), &record));
  EXPECT_STREQ(record.longName.CStr(), "b.dat");
  EXPECT_FALSE(finder.FindNext(&record));  // only the new search's entries
  EXPECT_STREQ(record.longName.CStr(), "b.dat");
  EXPECT_FALSE(finder.IsOpen());

  EXPECT_TRUE(finder.FindFirst((scratch_ / "*.txt").c_str()));
  finder.Close();
  finder.Close();  // closing twice is harmless
  EXPECT_FALSE(finder.IsOpen());
  EXPECT_FALSE(finder.FindNext(&record));
}

}  // namespace
