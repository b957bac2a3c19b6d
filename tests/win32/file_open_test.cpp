#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/file.h"
#include "platform/temp_dir.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::CanOpenExclusively;
using file_test::Exists;
using file_test::ReadBytes;
using file_test::ScratchDir;
using file_test::Str;
using file_test::WriteBytes;

TEST(FileOpenResultTextTest, EveryCodeHasItsText) {
  struct Case {
    int code;
    const char* text;
  };
  const Case cases[] = {
      {0, "The file was successfully opened."},
      {1, "An unknown error occurred."},
      {2, "The filename is invalid."},
      {3, "The file was not found."},
      {4, "The directory does not exist."},
      {5, "The file is locked by another application."},
      {6, "Failed to read the file into memory."},
      {7, "Too many files are already open."},
      {8, "An invalid parameter was used."},
      {9, "The file already exists."},
      {10, "Too many indexed files exist."},
      {11, "Access denied."},
      {12, "The file's Read-Only attribute is set."},
      {-1, "An unknown error occurred."},
      {13, "An unknown error occurred."},
      {0x7FFFFFFF, "An unknown error occurred."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_STREQ(FileOpenResultText(c.code), c.text);
  }
}

class FileOpenTest : public testing::Test {
 protected:
  ScratchDir scratch_;
};

TEST_F(FileOpenTest, FailuresGiveTheirCodeAndText) {
  ASSERT_TRUE(WriteBytes(scratch_ / "existing.txt", "keep"));
  ASSERT_TRUE(CreateDirectoryA((scratch_ / "folder").c_str(), nullptr));
  struct Case {
    std::string name;
    uint32_t mode;
    int expected;
  };
  const Case cases[] = {
      {"", OpenMode::kOpenExisting, FileOpenResult::kInvalidName},
      {"", OpenMode::kOpenOrCreate, FileOpenResult::kInvalidName},
      {scratch_ / "bad<name.txt", OpenMode::kOpenOrCreate, FileOpenResult::kInvalidName},
      {scratch_ / "missing.txt", OpenMode::kReadShared, FileOpenResult::kFileNotFound},
      {scratch_ / "missing.txt", OpenMode::kOpenExisting | OpenMode::kRetryOnce,
       FileOpenResult::kFileNotFound},
      {scratch_ / "no-such-dir\\file.txt", OpenMode::kOpenExisting,
       FileOpenResult::kDirectoryNotFound},
      {scratch_ / "no-such-dir\\file.txt", OpenMode::kCreateOrTruncate,
       FileOpenResult::kDirectoryNotFound},
      {scratch_ / "existing.txt", OpenMode::kCreateNew, FileOpenResult::kAlreadyExists},
      // A folder cannot be opened as a file; it is not read-only, so plain access denied.
      {scratch_ / "folder", OpenMode::kOpenExisting, FileOpenResult::kAccessDenied},
      {scratch_ / "folder", OpenMode::kReadShared, FileOpenResult::kAccessDenied},
      // A name longer than the system allows: an error without a code of its own.
      {scratch_ / std::string(1200, 'x'), OpenMode::kOpenExisting, FileOpenResult::kUnknownError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.substr(0, 100) + " mode " + std::to_string(c.mode));
    File file;
    EXPECT_EQ(file.Open(c.name.c_str(), c.mode), c.expected);
    EXPECT_EQ(Str(file.LastError()), FileOpenResultText(c.expected));
    EXPECT_FALSE(file.IsOpen());
  }
  EXPECT_EQ(ReadBytes(scratch_ / "existing.txt"), "keep");
  EXPECT_FALSE(Exists(scratch_ / "missing.txt"));
}

TEST_F(FileOpenTest, UnassignedNameKindsAreInvalidParameters) {
  ASSERT_TRUE(WriteBytes(scratch_ / "existing.txt", "keep"));
  for (uint32_t kind : {0x60000000u, 0xA0000000u, 0xE0000000u}) {
    SCOPED_TRACE(kind);
    File file;
    EXPECT_EQ(file.Open((scratch_ / "existing.txt").c_str(), kind | OpenMode::kOpenExisting),
              FileOpenResult::kInvalidParameter);
    EXPECT_FALSE(file.IsOpen());
  }
}

TEST_F(FileOpenTest, SuccessOpensForReadingAndWriting) {
  const std::string path = scratch_ / "new.txt";
  File file;
  ASSERT_EQ(file.Open(path.c_str(), OpenMode::kOpenOrCreate), FileOpenResult::kSuccess);
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(Str(file.Path()), path);
  EXPECT_EQ(file.Tell(), 0);
  ASSERT_TRUE(file.Write("abc", 3));
  ASSERT_TRUE(file.SeekFromStart(0));
  char out[3] = {};
  ASSERT_TRUE(file.Read(out, 3));
  EXPECT_EQ(std::string(out, 3), "abc");
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(Str(file.Path()), path);
  EXPECT_EQ(ReadBytes(path), "abc");
}

TEST_F(FileOpenTest, DispositionsTreatExistingFilesAsDocumented) {
  struct Case {
    uint32_t disposition;
    bool fileExists;
    int expected;
    const char* contentAfter;  // null: no file
  };
  const Case cases[] = {
      {OpenMode::kOpenOrCreate, false, FileOpenResult::kSuccess, ""},
      {OpenMode::kOpenOrCreate, true, FileOpenResult::kSuccess, "old"},
      {OpenMode::kOpenExisting, false, FileOpenResult::kFileNotFound, nullptr},
      {OpenMode::kOpenExisting, true, FileOpenResult::kSuccess, "old"},
      {OpenMode::kCreateNew, false, FileOpenResult::kSuccess, ""},
      {OpenMode::kCreateNew, true, FileOpenResult::kAlreadyExists, "old"},
      {OpenMode::kCreateOrTruncate, false, FileOpenResult::kSuccess, ""},
      {OpenMode::kCreateOrTruncate, true, FileOpenResult::kSuccess, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.disposition) + (c.fileExists ? " existing" : " missing"));
    const std::string path = scratch_ / "target.txt";
    file_test::RemoveTree(path);
    if (c.fileExists) {
      ASSERT_TRUE(WriteBytes(path, "old"));
    }
    {
      File file;
      EXPECT_EQ(file.Open(path.c_str(), c.disposition), c.expected);
    }
    EXPECT_EQ(ReadBytes(path), c.contentAfter ? c.contentAfter : "<missing>");
  }
}

// The share bits decide what a second opener may do while File holds the file; without read
// access, sharing one way implies the other.
TEST_F(FileOpenTest, ShareBitsAndTheirImplications) {
  const std::string path = scratch_ / "shared.txt";
  ASSERT_TRUE(WriteBytes(path, "data"));
  struct Case {
    uint32_t mode;
    bool otherMayRead;
    bool otherMayWrite;
  };
  const Case cases[] = {
      {OpenMode::kOpenExisting, false, false},
      {OpenMode::kOpenExisting | OpenMode::kShareRead, true, false},
      {OpenMode::kOpenExisting | OpenMode::kShareWrite, false, true},
      {OpenMode::kOpenExisting | OpenMode::kShareRead | OpenMode::kShareWrite, true, true},
      {OpenMode::kReadShared, true, true},  // no write access: read sharing implies write
      {OpenMode::kOpenExisting | OpenMode::kNoRead | OpenMode::kShareWrite, true, true},
      {OpenMode::kOpenExisting | OpenMode::kNoWrite, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    File file;
    ASSERT_EQ(file.Open(path.c_str(), c.mode | OpenMode::kNoSharingRetry),
              FileOpenResult::kSuccess);
    for (bool write : {false, true}) {
      HANDLE other = CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
      EXPECT_EQ(other != INVALID_HANDLE_VALUE, write ? c.otherMayWrite : c.otherMayRead)
          << (write ? "second writer" : "second reader");
      if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    }
  }
}

// Holds a file with no sharing at all, as another program would, until released.
class Holder {
 public:
  explicit Holder(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~Holder() {
    if (releaser_.joinable()) releaser_.join();
    Release();
  }
  bool Holds() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }
  // Lets go from another thread after delayMs, while the caller is (probably) retrying.
  void ReleaseLater(DWORD delayMs) {
    releaser_ = std::thread([this, delayMs] {
      Sleep(delayMs);
      Release();
    });
  }

 private:
  HANDLE handle_;
  std::thread releaser_;
};

TEST_F(FileOpenTest, SharingViolationWithoutRetryFailsAsLocked) {
  const std::string path = scratch_ / "held.txt";
  ASSERT_TRUE(WriteBytes(path, "data"));
  Holder holder(path);
  ASSERT_TRUE(holder.Holds());
  File file;
  EXPECT_EQ(file.Open(path.c_str(), OpenMode::kReadShared | OpenMode::kNoSharingRetry),
            FileOpenResult::kLocked);
  EXPECT_EQ(Str(file.LastError()), "The file is locked by another application.");
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(FileOpenTest, PersistentSharingViolationEndsAsLocked) {
  const std::string path = scratch_ / "held.txt";
  ASSERT_TRUE(WriteBytes(path, "data"));
  Holder holder(path);
  ASSERT_TRUE(holder.Holds());
  for (uint32_t extra : {0u, OpenMode::kRetryOnce}) {
    SCOPED_TRACE(extra);
    File file;
    EXPECT_EQ(file.Open(path.c_str(), OpenMode::kReadShared | extra), FileOpenResult::kLocked);
    EXPECT_FALSE(file.IsOpen());
  }
}

// The retries span 500 ms (350 ms with kRetryOnce): a hold released after 200 ms is outlasted.
TEST_F(FileOpenTest, SharingRetriesOutlastAShortHold) {
  const std::string path = scratch_ / "held.txt";
  ASSERT_TRUE(WriteBytes(path, "data"));
  for (uint32_t extra : {0u, OpenMode::kRetryOnce}) {
    SCOPED_TRACE(extra);
    Holder holder(path);
    ASSERT_TRUE(holder.Holds());
    holder.ReleaseLater(200);
    File file;
    ASSERT_EQ(file.Open(path.c_str(), OpenMode::kReadShared | extra), FileOpenResult::kSuccess);
    char out[4] = {};
    EXPECT_TRUE(file.Read(out, 4));
    EXPECT_EQ(std::string(out, 4), "data");
  }
}

TEST_F(FileOpenTest, NoSharingRetryDoesNotWaitForTheHolder) {
  const std::string path = scratch_ / "held.txt";
  ASSERT_TRUE(WriteBytes(path, "data"));
  Holder holder(path);
  ASSERT_TRUE(holder.Holds());
  holder.ReleaseLater(300);
  File file;
  EXPECT_EQ(file.Open(path.c_str(), OpenMode::kReadShared | OpenMode::kNoSharingRetry),
            FileOpenResult::kLocked);
}

// What File::Open asked of the system: the error of each CreateFileA call (0 for success) and
// each pause, in order. The calls are passed on.
struct OpenCalls {
  std::vector<DWORD> errors;
  std::vector<DWORD> pauses;
};
OpenCalls* watchedOpenCalls = nullptr;

HANDLE WINAPI WatchCreateFile(const char* path, DWORD access, DWORD share,
                              SECURITY_ATTRIBUTES* security, DWORD disposition, DWORD attributes,
                              HANDLE templateFile) {
  HANDLE handle =
      CreateFileA(path, access, share, security, disposition, attributes, templateFile);
  const DWORD error = handle == INVALID_HANDLE_VALUE ? GetLastError() : 0;
  watchedOpenCalls->errors.push_back(error);
  SetLastError(error);
  return handle;
}

void WINAPI WatchPause(DWORD milliseconds) {
  watchedOpenCalls->pauses.push_back(milliseconds);
  Sleep(milliseconds);
}

// Persistent sharing violations: six tries 100 ms apart, or four with kRetryOnce (its own 150 ms
// pause first, then the sharing tries on the same count); kNoSharingRetry stops the sharing
// tries. Any other error is retried only by kRetryOnce, once.
TEST_F(FileOpenTest, RetriesAreCountedAndPaused) {
  const std::string held = scratch_ / "held.txt";
  const std::string missing = scratch_ / "missing.txt";
  ASSERT_TRUE(WriteBytes(held, "data"));
  Holder holder(held);
  ASSERT_TRUE(holder.Holds());
  const DWORD kShared = ERROR_SHARING_VIOLATION;
  const DWORD kMissing = ERROR_FILE_NOT_FOUND;
  const struct {
    const std::string* path;
    uint32_t extra;
    int result;
    std::vector<DWORD> errors;
    std::vector<DWORD> pauses;
  } cases[] = {
      {&held, 0, FileOpenResult::kLocked, std::vector<DWORD>(6, kShared),
       std::vector<DWORD>(5, 100)},
      {&held, OpenMode::kRetryOnce, FileOpenResult::kLocked, std::vector<DWORD>(4, kShared),
       {150, 100, 100}},
      {&held, OpenMode::kNoSharingRetry, FileOpenResult::kLocked, {kShared}, {}},
      {&held, OpenMode::kRetryOnce | OpenMode::kNoSharingRetry, FileOpenResult::kLocked,
       {kShared, kShared}, {150}},
      {&missing, 0, FileOpenResult::kFileNotFound, {kMissing}, {}},
      {&missing, OpenMode::kRetryOnce, FileOpenResult::kFileNotFound, {kMissing, kMissing},
       {150}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(*c.path + " extra " + std::to_string(c.extra));
    OpenCalls calls;
    watchedOpenCalls = &calls;
    SetFileOpenCallsForTesting(WatchCreateFile, WatchPause);
    File file;
    const int result = file.Open(c.path->c_str(), OpenMode::kReadShared | c.extra);
    SetFileOpenCallsForTesting(nullptr, nullptr);
    watchedOpenCalls = nullptr;
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(calls.errors, c.errors);
    EXPECT_EQ(calls.pauses, c.pauses);
  }
  // Once the holder lets go, the first try opens the file and nothing pauses.
  holder.Release();
  OpenCalls calls;
  watchedOpenCalls = &calls;
  SetFileOpenCallsForTesting(WatchCreateFile, WatchPause);
  File file;
  const int result = file.Open(held.c_str(), OpenMode::kReadShared);
  SetFileOpenCallsForTesting(nullptr, nullptr);
  watchedOpenCalls = nullptr;
  EXPECT_EQ(result, FileOpenResult::kSuccess);
  EXPECT_EQ(calls.errors, std::vector<DWORD>{0});
  EXPECT_TRUE(calls.pauses.empty());
}

// kRetryOnce retries whatever the error: a file that appears within 150 ms is found.
TEST_F(FileOpenTest, RetryOnceOutlastsAFileAppearingLate) {
  const std::string path = scratch_ / "late.txt";
  std::thread maker([&path] {
    Sleep(40);
    WriteBytes(path, "late");
  });
  File file;
  const int result = file.Open(path.c_str(), OpenMode::kReadShared | OpenMode::kRetryOnce);
  maker.join();
  ASSERT_EQ(result, FileOpenResult::kSuccess);
  EXPECT_EQ(file.Size(), 4);
}

TEST_F(FileOpenTest, ReadOnlyFileRefusesWriteAccess) {
  const std::string path = scratch_ / "readonly.txt";
  ASSERT_TRUE(WriteBytes(path, "fixed"));
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  {
    File reader;
    EXPECT_EQ(reader.Open(path.c_str(), OpenMode::kReadShared), FileOpenResult::kSuccess);
  }
  HANDLE probe = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    GTEST_SKIP() << "this system lets the owner write read-only files (Wine run as root)";
  }
  File file;
  EXPECT_EQ(file.Open(path.c_str(), OpenMode::kOpenExisting), FileOpenResult::kReadOnly);
  EXPECT_EQ(Str(file.LastError()), "The file's Read-Only attribute is set.");
  EXPECT_EQ(ReadBytes(path), "fixed");
}

TEST_F(FileOpenTest, AppendStartsAtTheEnd) {
  const std::string path = scratch_ / "log.txt";
  ASSERT_TRUE(WriteBytes(path, "12345"));
  File file;
  ASSERT_EQ(file.Open(path.c_str(), OpenMode::kOpenExisting | OpenMode::kAppend),
            FileOpenResult::kSuccess);
  EXPECT_EQ(file.Tell(), 5);
  ASSERT_TRUE(file.Write("6", 1));
  file.Close();
  EXPECT_EQ(ReadBytes(path), "123456");
}

TEST_F(FileOpenTest, CloseAfterOpenCreatesOrProbes) {
  const std::string created = scratch_ / "created.txt";
  File file;
  EXPECT_EQ(file.Open(created.c_str(), OpenMode::kOpenOrCreate | OpenMode::kCloseAfterOpen),
            FileOpenResult::kSuccess);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(ReadBytes(created), "");
  EXPECT_TRUE(CanOpenExclusively(created));

  EXPECT_EQ(file.Open(created.c_str(), OpenMode::kProbe), FileOpenResult::kSuccess);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.Open((scratch_ / "absent.txt").c_str(), OpenMode::kProbe),
            FileOpenResult::kFileNotFound);
  EXPECT_FALSE(Exists(scratch_ / "absent.txt"));
}

TEST_F(FileOpenTest, OpenReleasesThePreviousFileAndTheDestructorTheLast) {
  const std::string first = scratch_ / "first.txt";
  const std::string second = scratch_ / "second.txt";
  ASSERT_TRUE(WriteBytes(first, "1"));
  ASSERT_TRUE(WriteBytes(second, "2"));
  {
    File file;
    ASSERT_EQ(file.Open(first.c_str(), OpenMode::kOpenExisting), FileOpenResult::kSuccess);
    EXPECT_FALSE(CanOpenExclusively(first));
    ASSERT_EQ(file.Open(second.c_str(), OpenMode::kOpenExisting), FileOpenResult::kSuccess);
    EXPECT_TRUE(CanOpenExclusively(first));
    EXPECT_FALSE(CanOpenExclusively(second));
    char out = 0;
    ASSERT_TRUE(file.Read(&out, 1));
    EXPECT_EQ(out, '2');
  }
  EXPECT_TRUE(CanOpenExclusively(second));
}

bool IsTempName(const std::string& path, const std::string& dir) {
  if (path.size() <= dir.size() + 1 || path.compare(0, dir.size() + 1, dir + "\\") != 0) {
    return false;
  }
  const std::string name = path.substr(dir.size() + 1);
  return name.size() > 7 && name.compare(0, 3, "ZPX") == 0 &&
         CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name.c_str() + name.size() - 4, 4,
                        ".tmp", 4) == CSTR_EQUAL &&
         name.find('\\') == std::string::npos;
}

TEST_F(FileOpenTest, ReopensItsOwnPath) {
  const std::string dir = scratch_ / "again";
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  File file;
  ASSERT_EQ(file.Open(dir.c_str(), OpenMode::kTempInNamedDir), FileOpenResult::kSuccess);
  const std::string first = Str(file.Path());
  ASSERT_TRUE(file.Write("1", 1));
  ASSERT_EQ(file.Open(file.Path(), OpenMode::kOpenExisting), FileOpenResult::kSuccess);
  EXPECT_EQ(Str(file.Path()), first);
  EXPECT_EQ(file.Size(), 1);
  // A second temporary file beside the first one.
  ASSERT_EQ(file.Open(file.Path(), OpenMode::kTempBesideName), FileOpenResult::kSuccess);
  EXPECT_TRUE(IsTempName(Str(file.Path()), dir)) << Str(file.Path());
  EXPECT_NE(Str(file.Path()), first);
}

// Points the system's temporary directory (and so DefaultTempDir) at a folder for one test.
class TempDirOverride {
 public:
  explicit TempDirOverride(const std::string& dir) {
    for (int i = 0; i < 2; ++i) {
      char value[MAX_PATH + 1] = {};
      DWORD n = GetEnvironmentVariableA(kNames[i], value, sizeof value);
      had_[i] = n > 0 && n < sizeof value;
      saved_[i] = had_[i] ? value : "";
      SetEnvironmentVariableA(kNames[i], dir.c_str());
    }
  }
  ~TempDirOverride() {
    for (int i = 0; i < 2; ++i) {
      SetEnvironmentVariableA(kNames[i], had_[i] ? saved_[i].c_str() : nullptr);
    }
  }

 private:
  static constexpr const char* kNames[2] = {"TMP", "TEMP"};
  bool had_[2] = {};
  std::string saved_[2];
};

TEST_F(FileOpenTest, DefaultTempDirDropsOneTrailingBackslash) {
  TempDirOverride override(scratch_.Path() + "\\");
  EXPECT_EQ(Str(DefaultTempDir()), scratch_.Path());
}

TEST_F(FileOpenTest, TemporaryFileInTheDefaultDirectory) {
  TempDirOverride override(scratch_.Path() + "\\");
  File file;
  // The name is ignored, and the disposition is forced to create-or-truncate.
  ASSERT_EQ(file.Open("", OpenMode::kTempInDefaultDir | OpenMode::kOpenExisting),
            FileOpenResult::kSuccess);
  const std::string path = Str(file.Path());
  EXPECT_TRUE(IsTempName(path, scratch_.Path())) << path;
  EXPECT_EQ(file.Size(), 0);
  ASSERT_TRUE(file.Write("temp", 4));
  file.Close();
  EXPECT_EQ(ReadBytes(path), "temp");
}

TEST_F(FileOpenTest, TemporaryFileInANamedDirectory) {
  const std::string dir = scratch_ / "named";
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  File file;
  // Create-new would fail on the file the system just made; the kind forces create-or-truncate.
  ASSERT_EQ(file.Open(dir.c_str(), OpenMode::kTempInNamedDir | OpenMode::kCreateNew),
            FileOpenResult::kSuccess);
  EXPECT_TRUE(IsTempName(Str(file.Path()), dir)) << Str(file.Path());
  EXPECT_TRUE(file.IsOpen());
}

TEST_F(FileOpenTest, TemporaryFileBesideAName) {
  const std::string dir = scratch_ / "beside";
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  const std::string name = dir + "\\target.dat";
  File file;
  ASSERT_EQ(file.Open(name.c_str(), OpenMode::kTempBesideName), FileOpenResult::kSuccess);
  EXPECT_TRUE(IsTempName(Str(file.Path()), dir)) << Str(file.Path());
  EXPECT_FALSE(Exists(name));
}

TEST_F(FileOpenTest, TemporaryFileInAMissingDirectoryFails) {
  const std::string dir = scratch_ / "absent";
  File file;
  EXPECT_NE(file.Open(dir.c_str(), OpenMode::kTempInNamedDir), FileOpenResult::kSuccess);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(Str(file.Path()), dir);
  EXPECT_FALSE(Exists(dir));
}

TEST_F(FileOpenTest, NameJoinedToTheDefaultTempDirectory) {
  TempDirOverride override(scratch_.Path() + "\\");
  File file;
  ASSERT_EQ(file.Open("joined.txt", OpenMode::kInDefaultTempDir | OpenMode::kOpenOrCreate),
            FileOpenResult::kSuccess);
  EXPECT_EQ(Str(file.Path()), scratch_ / "joined.txt");
  ASSERT_TRUE(file.Write("j", 1));
  file.Close();
  EXPECT_EQ(ReadBytes(scratch_ / "joined.txt"), "j");
}

TEST_F(FileOpenTest, RequiredFileFailureIsFatal) {
  const std::string path = scratch_ / "missing.txt";
  const std::string transcript = UiTranscriptPath();
  ASSERT_FALSE(transcript.empty());
  ClearUiTranscript(transcript);
  EXPECT_EXIT(
      {
        File file;
        file.Open(path.c_str(), OpenMode::kReadShared | OpenMode::kRequired);
      },
      testing::ExitedWithCode(1), "");
  const std::string expected =
      "box\tnone\t0x00002010\tFATAL ERROR\t" +
      TranscriptEscaped("Failed to open required file:\r\n" + path +
                        "\r\n\r\nThe file was not found.") +
      "\t";
  bool found = false;
  for (const std::string& line : ReadUiTranscript(transcript)) {
    if (line.compare(0, expected.size(), expected) == 0) found = true;
  }
  EXPECT_TRUE(found) << "expected a line starting with: " << expected;
  ClearUiTranscript(transcript);
}

TEST_F(FileOpenTest, RequiredFileThatOpensIsNotFatal) {
  const std::string path = scratch_ / "present.txt";
  ASSERT_TRUE(WriteBytes(path, "here"));
  File file;
  EXPECT_EQ(file.Open(path.c_str(), OpenMode::kReadShared | OpenMode::kRequired),
            FileOpenResult::kSuccess);
  EXPECT_EQ(file.Size(), 4);
}

}  // namespace
