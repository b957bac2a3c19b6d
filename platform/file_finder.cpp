#include "platform/file_finder.h"

#include <windows.h>

namespace {

// Names with one of these never name a file the engine can use.
constexpr char kRefusedNameChars[] = "/\\\"<>|*?:;";

bool IsAcceptableName(const char* name) {
  return name[0] != '\0' && String(name).FindFirstOf(kRefusedNameChars) < 0;
}

uint64_t Combine(DWORD high, DWORD low) { return (uint64_t(high) << 32) | low; }

void Fill(const WIN32_FIND_DATAA& entry, FindRecord& record) {
  record.lastAccess.FromFileTime(&entry.ftLastAccessTime);
  record.attributes = entry.dwFileAttributes;
  record.lastWrite.FromFileTime(&entry.ftLastWriteTime);
  record.creation.FromFileTime(&entry.ftCreationTime);
  record.longName.AssignBounded(entry.cFileName, int(sizeof entry.cFileName));
  record.shortName.AssignBounded(entry.cAlternateFileName, int(sizeof entry.cAlternateFileName));
  record.size = Combine(entry.nFileSizeHigh, entry.nFileSizeLow);
}

}  // namespace

bool FileFinder::FindFirst(const String& pattern, FindRecord* record) {
  Close();
  WIN32_FIND_DATAA entry;
  HANDLE found = FindFirstFileA(pattern.CStr(), &entry);
  if (found == INVALID_HANDLE_VALUE || found == nullptr) return false;
  handle_ = found;
  // The system's terminator is not trusted: a name fills at most its buffer.
  entry.cFileName[sizeof entry.cFileName - 1] = '\0';
  if (IsAcceptableName(entry.cFileName)) {
    if (record != nullptr) Fill(entry, *record);
    return true;
  }
  return FindNext(record);
}

bool FileFinder::FindNext(FindRecord* record) {
  if (handle_ == nullptr) return false;
  WIN32_FIND_DATAA entry;
  while (FindNextFileA(handle_, &entry)) {
    entry.cFileName[sizeof entry.cFileName - 1] = '\0';
    if (!IsAcceptableName(entry.cFileName)) continue;
    if (record != nullptr) Fill(entry, *record);
    return true;
  }
  Close();
  return false;
}

void FileFinder::Close() {
  if (handle_ == nullptr) return;
  FindClose(handle_);
  handle_ = nullptr;
}

bool FindOne(const String& path, FindRecord& record) {
  FileFinder finder;
  bool found = finder.FindFirst(path, &record);
  finder.Close();
  return found;
}

bool FileTimes(const String& path, FileTimeSet& times) {
  FindRecord record;
  if (!FindOne(path, record)) return false;
  times.lastAccess = record.lastAccess;
  times.lastWrite = record.lastWrite;
  times.creation = record.creation;
  return true;
}
