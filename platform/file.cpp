#include "platform/file.h"

#include <windows.h>

#include <algorithm>

#include "core/fatal.h"
#include "platform/path_text.h"
#include "platform/system_error.h"
#include "platform/temp_dir.h"

namespace {

// Writes go to the system in pieces of at most 1 MiB.
constexpr int kWritePiece = 1 << 20;

// Waits before trying CreateFileA again: once for OpenMode::kRetryOnce, and between the tries
// that sit out another program's hold on the file.
constexpr DWORD kRetryOnceDelayMs = 150;
constexpr DWORD kSharingRetryDelayMs = 100;
constexpr int kSharingRetries = 5;  // so six calls in all

// GetTempFileNameA's prefix for every temporary file the engine makes.
constexpr const char* kTempFilePrefix = "ZPX";

const DWORD kDispositions[] = {OPEN_ALWAYS, OPEN_EXISTING, CREATE_NEW, CREATE_ALWAYS};

HANDLE Native(void* handle) { return static_cast<HANDLE>(handle); }

#ifdef QUORVEX_TEST_SEAM
CreateFileFunction createFile = nullptr;
PauseFunction pause = nullptr;
#endif

HANDLE CreateFileWith(const char* path, DWORD access, DWORD share, DWORD disposition,
                      DWORD attributes) {
#ifdef QUORVEX_TEST_SEAM
  if (createFile != nullptr) {
    return createFile(path, access, share, nullptr, disposition, attributes, nullptr);
  }
#endif
  return CreateFileA(path, access, share, nullptr, disposition, attributes, nullptr);
}

void PauseBeforeRetry(DWORD milliseconds) {
#ifdef QUORVEX_TEST_SEAM
  if (pause != nullptr) {
    pause(milliseconds);
    return;
  }
#endif
  Sleep(milliseconds);
}

bool IsTempKind(uint32_t nameKind) {
  return nameKind == OpenMode::kTempInDefaultDir || nameKind == OpenMode::kTempInNamedDir ||
         nameKind == OpenMode::kTempBesideName;
}

// The directory in which a temporary file beside name goes: name's directory part, or the
// current directory for a bare file name.
String DirectoryOf(const char* name) {
  String dir = DirectoryPart(String(name));
  if (dir.IsEmpty()) dir = ".";
  return dir;
}

int ResultForError(DWORD error, bool wantsWrite, const String& path) {
  switch (error) {
    case ERROR_INVALID_NAME:
      return FileOpenResult::kInvalidName;
    case ERROR_FILE_NOT_FOUND:
      return FileOpenResult::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
      return FileOpenResult::kDirectoryNotFound;
    case ERROR_SHARING_VIOLATION:
      return FileOpenResult::kLocked;
    case ERROR_TOO_MANY_OPEN_FILES:
      return FileOpenResult::kTooManyOpenFiles;
    case ERROR_INVALID_PARAMETER:
      return FileOpenResult::kInvalidParameter;
    case ERROR_FILE_EXISTS:
      return FileOpenResult::kAlreadyExists;
    case ERROR_ACCESS_DENIED: {
      if (wantsWrite) {
        DWORD attributes = GetFileAttributesA(path.CStr());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
          return FileOpenResult::kReadOnly;
        }
      }
      return FileOpenResult::kAccessDenied;
    }
    default:
      return FileOpenResult::kUnknownError;
  }
}

}  // namespace

File::~File() { Close(); }

int File::Open(const char* name, uint32_t mode, uint32_t attributes) {
  Close();
  // A copy: name may point into path_ (reopening Path()), which is about to change.
  const String requested(name);
  int result = OpenResolved(requested.CStr(), mode, attributes);
  if (result != FileOpenResult::kSuccess) {
    lastError_ = FileOpenResultText(result);
    if (mode & OpenMode::kRequired) {
      FatalErrorFormat("Failed to open required file:\r\n%s\r\n\r\n%s", path_.CStr(),
                       lastError_.CStr());
    }
  }
  return result;
}

int File::OpenResolved(const char* name, uint32_t mode, uint32_t attributes) {
  const uint32_t nameKind = mode & OpenMode::kNameKindMask;
  path_ = name;
  if (nameKind == OpenMode::kNameIsPath && *name == 0) return FileOpenResult::kInvalidName;
  if (nameKind != OpenMode::kNameIsPath && nameKind != OpenMode::kInDefaultTempDir &&
      !IsTempKind(nameKind)) {
    return FileOpenResult::kInvalidParameter;  // one of the three unassigned name kinds
  }
  if (!ResolvePath(name, nameKind)) return ResultForError(GetLastError(), false, path_);

  const bool wantsRead = !(mode & OpenMode::kNoRead);
  const bool wantsWrite = !(mode & OpenMode::kNoWrite);
  const DWORD access = (wantsRead ? GENERIC_READ : 0) | (wantsWrite ? GENERIC_WRITE : 0);
  // A caller that does not read has no reason to keep readers out once it lets writers in, and
  // one that does not write none to keep writers out once it lets readers in.
  DWORD share = 0;
  if ((mode & OpenMode::kShareRead) || ((mode & OpenMode::kShareWrite) && !wantsRead)) {
    share |= FILE_SHARE_READ;
  }
  if ((mode & OpenMode::kShareWrite) || ((mode & OpenMode::kShareRead) && !wantsWrite)) {
    share |= FILE_SHARE_WRITE;
  }
  uint32_t disposition = mode & OpenMode::kDispositionMask;
  if (IsTempKind(nameKind)) disposition = OpenMode::kCreateOrTruncate;

  HANDLE handle = INVALID_HANDLE_VALUE;
  for (int attempts = 0;;) {
    handle = CreateFileWith(path_.CStr(), access, share, kDispositions[disposition], attributes);
    if (handle != INVALID_HANDLE_VALUE) break;
    const DWORD error = GetLastError();
    if ((mode & OpenMode::kRetryOnce) && attempts++ == 0) {
      PauseBeforeRetry(kRetryOnceDelayMs);
      continue;
    }
    // Another program holding the file usually lets go soon (a virus scanner, an indexer). The
    // two rules share one counter: with kRetryOnce a persistent hold gives four calls, not six.
    if (error == ERROR_SHARING_VIOLATION && !(mode & OpenMode::kNoSharingRetry) &&
        attempts++ < kSharingRetries) {
      PauseBeforeRetry(kSharingRetryDelayMs);
      continue;
    }
    return ResultForError(error, wantsWrite, path_);
  }

  handle_ = handle;
  canRead_ = wantsRead;
  canWrite_ = wantsWrite;
  if ((mode & OpenMode::kInMemory) && !LoadIntoMemory()) {
    Close();
    return FileOpenResult::kLoadFailed;
  }
  if (mode & OpenMode::kAppend) SeekFromEnd(0);
  if (mode & OpenMode::kCloseAfterOpen) Close();
  return FileOpenResult::kSuccess;
}

// Sets path_ to the name CreateFileA is given. For the temporary kinds GetTempFileNameA also
// creates the (empty) file. False, with the system's error pending and path_ naming the
// directory, when no temporary name could be made.
bool File::ResolvePath(const char* name, uint32_t nameKind) {
  if (nameKind == OpenMode::kNameIsPath) return true;
  if (nameKind == OpenMode::kInDefaultTempDir) {
    path_ = JoinPath(DefaultTempDir(), String(name));
    return true;
  }
  String dir;
  switch (nameKind) {
    case OpenMode::kTempInDefaultDir: dir = DefaultTempDir(); break;
    case OpenMode::kTempInNamedDir: dir = name; break;
    case OpenMode::kTempBesideName: dir = DirectoryOf(name); break;
    default: return false;  // excluded by the caller
  }
  char buffer[MAX_PATH + 1] = {};
  if (GetTempFileNameA(dir.CStr(), kTempFilePrefix, 0, buffer) == 0) {
    const DWORD error = GetLastError();
    path_ = dir;
    SetLastError(error);
    return false;
  }
  path_ = buffer;
  return true;
}

bool File::LoadIntoMemory() {
  const int size = Size();
  if (size < 0 || !SeekFromStart(0)) return false;
  cache_.Reset();
  if (size > 0) {
    char* bytes = cache_.Reserve(size);
    if (bytes == nullptr || !ReadRaw(bytes, size)) {
      cache_.Reset();
      return false;
    }
    cache_.SeekFromStart(0);
  }
  inMemory_ = true;
  cacheDirty_ = false;
  return true;
}

void File::Close() {
  if (inMemory_ && handle_ != nullptr && cacheDirty_) WriteBackCache();
  if (handle_ != nullptr) CloseHandle(Native(handle_));
  handle_ = nullptr;
  while (!savedPositions_.IsEmpty()) savedPositions_.Pop();
  canRead_ = false;
  canWrite_ = false;
  inMemory_ = false;
  cacheDirty_ = false;
  cache_.Reset();
}

// The file becomes exactly the cache: written from position 0 and cut after it. A write that
// fails part way is cut where it stopped, so the file holds a leading part of the new contents
// rather than new bytes followed by the old tail.
void File::WriteBackCache() {
  FlushCache();
  inMemory_ = false;
  cache_.Reset();
}

// Writes a modified cache through the handle and leaves memory mode on, so that whatever the
// caller does to the file on disk next (setting its time) sees the final contents.
void File::FlushCache() {
  if (!inMemory_ || handle_ == nullptr || !cacheDirty_) return;
  const int position = cache_.Tell();
  inMemory_ = false;
  cacheDirty_ = false;
  if (SeekFromStart(0)) {
    Write(cache_.Buffer().CStr(), cache_.Size());
    Truncate();
  }
  inMemory_ = true;
  cache_.SeekFromStart(position);
}

void File::SetSystemError() {
  lastError_ = SystemErrorText(GetLastError());
}

bool File::Read(void* buffer, int n) {
  if (n == 0) return true;
  if (n < 0) {
    lastError_.Format("Illegal block size %d", n);
    return false;
  }
  if (buffer == nullptr) {
    lastError_ = "NULL block pointer";
    return false;
  }
  return ReadRaw(buffer, n);
}

bool File::ReadRaw(void* buffer, int n) {
  if (!canRead_) {
    lastError_ = "Read access denied";
    return false;
  }
  if (n < 0 || (buffer == nullptr && n > 0)) return Read(buffer, n);  // Read states the reason
  if (inMemory_) {
    if (cache_.Read(buffer, n)) return true;
    // Like a short read from the handle, leave the position at the end of the data rather than
    // past it.
    if (cache_.Tell() > cache_.Size()) cache_.SeekFromEnd(0);
    lastError_ = "Read past end of file";
    return false;
  }
  if (handle_ == nullptr) {
    lastError_ = "File not open";
    return false;
  }
  DWORD got = 0;
  if (!ReadFile(Native(handle_), buffer, DWORD(n), &got, nullptr)) {
    SetSystemError();
    return false;
  }
  if (got < DWORD(n)) {
    lastError_ = "Read past end of file";
    return false;
  }
  return true;
}

bool File::Write(const void* buffer, int n) {
  if (n == 0) return true;
  if (n < 0) {
    lastError_ = "Illegal block size";
    return false;
  }
  if (!canWrite_) {
    lastError_ = "Write access denied";
    return false;
  }
  if (buffer == nullptr) {
    lastError_ = "NULL block pointer";
    return false;
  }
  if (inMemory_) {
    if (!cache_.Write(buffer, n)) return false;
    cacheDirty_ = true;
    return true;
  }
  if (handle_ == nullptr) {
    lastError_ = "File not open";
    return false;
  }
  const char* bytes = static_cast<const char*>(buffer);
  while (n > 0) {
    const DWORD piece = DWORD(std::min(n, kWritePiece));
    DWORD written = 0;
    if (!WriteFile(Native(handle_), bytes, piece, &written, nullptr)) {
      SetSystemError();
      return false;
    }
    if (written != piece) {
      lastError_ = "Not all data could be written";
      return false;
    }
    bytes += piece;
    n -= int(piece);
  }
  if (flushAfterWrite_) FlushFileBuffers(Native(handle_));
  return true;
}

bool File::ReadAt(int position, void* buffer, int n) {
  PushPosition();
  const bool ok = SeekFromStart(position) && Read(buffer, n);
  PopPosition();
  return ok;
}

bool File::ReadTail(void* buffer, int n) {
  if (!IsOpen() || n < 1 || Size() < n) return false;
  return SeekFromEnd(-n) && Read(buffer, n);
}

bool File::ReadRange(String& out, int position, int n) {
  if (position < 0 || n < 0 || int64_t(position) + n > Size()) {
    out.Clear();
    return false;
  }
  out.Resize(n);
  if (n == 0) return true;
  if (SeekFromStart(position) && Read(out.Data(), n)) return true;
  out.Clear();
  return false;
}

bool File::ReadAll(String& out) {
  const int size = Size();
  if (size < 0) {
    out.Clear();
    return false;
  }
  out.Resize(size);
  if (size == 0) return true;
  if (SeekFromStart(0) && Read(out.Data(), size)) return true;
  out.Clear();
  return false;
}

String File::ReadCString() {
  String text;
  char ch = 0;
  while (Read(&ch, 1) && ch != 0) text.AppendChar(ch);
  return text;
}

bool File::ReplaceContents(const String& text) {
  return SeekFromStart(0) && Write(text.CStr(), text.Length()) && Truncate();
}

bool File::AppendText(const String& text) {
  if (AtEnd()) return Write(text.CStr(), text.Length());
  const bool ok = PushAndSeekEnd() && Write(text.CStr(), text.Length());
  PopPosition();
  return ok;
}

bool File::EnsureEndsWithLineBreak() {
  const int size = Size();
  char last = 0;
  if (size < 1 || !ReadAt(size - 1, &last, 1)) return true;
  if (last == '\r' || last == '\n') return true;
  return AppendText("\r\n");
}

int File::Tell() {
  if (inMemory_) return cache_.Tell();
  if (handle_ == nullptr) return -1;
  // INVALID_SET_FILE_POINTER reads as -1.
  return int32_t(SetFilePointer(Native(handle_), 0, nullptr, FILE_CURRENT));
}

bool File::SeekFromStart(int position) {
  if (inMemory_) return cache_.SeekFromStart(position);
  if (handle_ == nullptr) return false;
  return SetFilePointer(Native(handle_), position, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

bool File::SeekFromEnd(int offset) {
  if (inMemory_) return cache_.SeekFromEnd(offset);
  if (handle_ == nullptr) return false;
  return SetFilePointer(Native(handle_), offset, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
}

int File::Size() {
  if (inMemory_) return cache_.Size();
  if (handle_ == nullptr) return -1;
  const int position = Tell();
  const int size = SeekFromEnd(0) ? Tell() : -1;
  SeekFromStart(position);
  return size;
}

bool File::AtEnd() { return !IsOpen() || Tell() == Size(); }

bool File::HasMore() {
  const int position = Tell();
  return position >= 0 && position < Size();
}

int File::PushPosition() {
  const int position = Tell();
  savedPositions_.Push(position);
  return position;
}

bool File::PushAndSeek(int position) {
  PushPosition();
  return SeekFromStart(position);
}

bool File::PushAndSeekEnd() {
  PushPosition();
  return SeekFromEnd(0);
}

int File::PopPosition() {
  if (savedPositions_.IsEmpty()) return kNoSavedPosition;
  const int position = savedPositions_.Pop();
  SeekFromStart(position);
  return position;
}

bool File::Truncate() {
  if (!canWrite_) {
    lastError_ = "Write access denied";
    return false;
  }
  if (inMemory_) {
    // A cut must reach the disk on Close too; a cut at the end changes nothing, and must not
    // make Close rewrite the file (and move its modification time).
    if (cache_.Tell() < cache_.Size()) cacheDirty_ = true;
    cache_.Truncate();
    return true;
  }
  if (handle_ == nullptr) return false;
  if (SetEndOfFile(Native(handle_))) return true;
  SetSystemError();
  return false;
}

bool File::Flush() {
  return handle_ != nullptr && FlushFileBuffers(Native(handle_)) != 0;
}

bool File::SetModifiedTime(const FileStamp& stamp) {
  if (handle_ == nullptr) return false;
  // The stamp's own conversion refuses fields that do not fit the system's 16-bit ones
  // instead of cutting them (month 65537 would otherwise pass as January).
  FILETIME localTime;
  FILETIME utcTime;
  if (!stamp.ToFileTime(localTime) || !LocalFileTimeToFileTime(&localTime, &utcTime)) {
    return false;
  }
  // Writes still held in memory go first, so that they cannot move the time afterwards. The
  // system's own buffers need no flush: a time set on a handle stays set however its earlier
  // writes reach the disk, and a flush per installed file costs a disk round trip each.
  FlushCache();
  return SetFileTime(Native(handle_), nullptr, nullptr, &utcTime) != 0;
}

#ifdef QUORVEX_TEST_SEAM
void SetFileOpenCallsForTesting(CreateFileFunction function, PauseFunction pauseFunction) {
  createFile = function;
  pause = pauseFunction;
}
#endif
