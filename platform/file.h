// File: the one way the engine reads and writes files. It owns an operating-system file handle
// (closed by Close and by the destructor; not copyable) and offers block transfer with readable
// failure texts, positioning with a stack of saved positions, whole-file helpers, the
// modification time, and a memory mode in which the whole file lives in a MemoryStream and is
// written back on Close only if it was changed.
//
// Positions and sizes are signed 32-bit: files of 2 GiB and more are not supported.
// Every failed transfer leaves its reason in LastError(), either one of this class's own texts
// or the system's text for the error.
#pragma once

#include <cstdint>

#include "core/file_stamp.h"
#include "core/memory_stream.h"
#include "core/stack.h"
#include "core/stream.h"
#include "core/string.h"
#include "platform/file_open_mode.h"
#include "platform/file_open_result.h"

class File : public Reader, public Writer {
 public:
  // PopPosition's result when no position is saved.
  static constexpr int kNoSavedPosition = INT32_MIN;  // 0x80000000
  // Attributes for Open: a normal file.
  static constexpr uint32_t kNormalAttributes = 0x80;

  File() = default;
  ~File() override;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens name with the OpenMode bits; attributes go to CreateFileA unchanged. Returns a
  // FileOpenResult code; any open file is closed first. On failure LastError() holds the code's
  // text, and with OpenMode::kRequired the process ends with a fatal error naming the path.
  int Open(const char* name, uint32_t mode, uint32_t attributes = kNormalAttributes);
  int Open(const String& name, uint32_t mode, uint32_t attributes = kNormalAttributes) {
    return Open(name.CStr(), mode, attributes);
  }
  // Writes a changed memory-mode cache back (and truncates the file after it), then closes.
  // Saved positions, access and memory mode end here; Path() and LastError() stay.
  void Close();
  bool IsOpen() const { return handle_ != nullptr || inMemory_; }

  // Block transfer; n = 0 always succeeds. Read refuses n < 0 ("Illegal block size -5") and a
  // null buffer, then calls ReadRaw, which needs read access and fails on a short read ("Read
  // past end of file"; the position is then at the end). Write needs write access; it goes to
  // the system in pieces of at most 1 MiB, or into the cache in memory mode.
  bool Read(void* buffer, int n) override;
  bool ReadRaw(void* buffer, int n);
  bool Write(const void* buffer, int n) override;

  // Reads n bytes at position and restores the current position.
  bool ReadAt(int position, void* buffer, int n);
  // Reads the last n bytes; false when not open, n < 1 or the file is shorter than n.
  bool ReadTail(void* buffer, int n);
  // Reads n bytes at position into out (leaving the position after them); checks the range
  // against Size() first. out is empty after a failure.
  bool ReadRange(String& out, int position, int n);
  // The whole file, read from position 0; out is empty after a failure.
  bool ReadAll(String& out);
  // Bytes up to a 0 byte (not kept) or up to the first failed read.
  String ReadCString();

  // Rewrites the file as text (from position 0, then cut after it).
  bool ReplaceContents(const String& text);
  // Writes text at the end without moving the current position.
  bool AppendText(const String& text);
  // Appends CR LF unless the last byte is CR or LF, the file is empty or cannot be read. False
  // only when that append fails.
  bool EnsureEndsWithLineBreak();

  // Positioning. Tell and Size give -1 when not open; Size keeps the position.
  int Tell();
  bool SeekFromStart(int position);
  bool SeekFromEnd(int offset);  // to Size() + offset
  int Size();
  bool AtEnd();    // also true when not open
  bool HasMore();  // 0 <= Tell() < Size()

  // Saved positions: PushPosition saves Tell() and returns it; PopPosition seeks back to the
  // last saved position and returns it, or returns kNoSavedPosition (and does nothing).
  int PushPosition();
  bool PushAndSeek(int position);
  bool PushAndSeekEnd();
  int PopPosition();

  // Cuts the file at the current position; needs write access.
  bool Truncate();
  bool Flush();

  // Sets the last-write time from a local-time stamp (seconds precision); creation and access
  // times stay. False without a handle or when the stamp is not a valid time.
  bool SetModifiedTime(const FileStamp& stamp);

  // After each write to the handle, flush the system's buffers too (off by default).
  void SetFlushAfterWrite(bool on) { flushAfterWrite_ = on; }

  const String& LastError() const { return lastError_; }
  const String& Path() const { return path_; }

 private:
  int OpenResolved(const char* name, uint32_t mode, uint32_t attributes);
  bool ResolvePath(const char* name, uint32_t nameKind);
  bool LoadIntoMemory();
  void WriteBackCache();
  void FlushCache();
  void SetSystemError();

  void* handle_ = nullptr;  // the HANDLE; null when closed
  String path_;
  Stack<int> savedPositions_;
  MemoryStream cache_;
  bool inMemory_ = false;
  bool cacheDirty_ = false;
  bool flushAfterWrite_ = false;
  bool canRead_ = false;
  bool canWrite_ = false;
  String lastError_;
};

#ifdef QUORVEX_TEST_SEAM
#include <windows.h>
// Test builds only: File::Open makes its calls of CreateFileA and its pauses between tries
// through these (null restores the system's own), so that tests can count the tries against a
// real holder of the file and see the pauses. They should pass the calls on.
using CreateFileFunction = HANDLE(WINAPI*)(const char* path, DWORD access, DWORD share,
                                           SECURITY_ATTRIBUTES* security, DWORD disposition,
                                           DWORD attributes, HANDLE templateFile);
using PauseFunction = void(WINAPI*)(DWORD milliseconds);
void SetFileOpenCallsForTesting(CreateFileFunction createFile, PauseFunction pause);
#endif
