// Enumerating the entries of a directory.
#pragma once

#include <cstdint>

#include "core/file_stamp.h"
#include "core/string.h"

// One directory entry. Times are local times.
struct FindRecord {
  FileStamp lastAccess{};
  uint32_t attributes = 0;
  FileStamp lastWrite{};
  FileStamp creation{};
  String longName;
  String shortName;  // empty when the system keeps no separate 8.3 name
  uint64_t size = 0;
};

// An open enumeration. Entries whose name is empty or holds one of / \ " < > | * ? : ; are
// passed over. "." and ".." are reported like any other entry.
class FileFinder {
 public:
  FileFinder() = default;
  ~FileFinder() { Close(); }
  FileFinder(const FileFinder&) = delete;
  FileFinder& operator=(const FileFinder&) = delete;

  // Starts a new enumeration of pattern (such as "C:\dir\*.txt"), closing any open one, and
  // fills record (when given) from the first acceptable entry. False, with the enumeration
  // closed, when there is none.
  bool FindFirst(const String& pattern, FindRecord* record = nullptr);
  // The next acceptable entry; false, with the enumeration closed, when none is left.
  bool FindNext(FindRecord* record = nullptr);
  // Idempotent.
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }

 private:
  void* handle_ = nullptr;  // the find HANDLE; null when closed
};

// The first entry that path (a name or a pattern) matches.
bool FindOne(const String& path, FindRecord& record);

// The three times of the first entry that path matches.
struct FileTimeSet {
  FileStamp lastAccess{};
  FileStamp lastWrite{};
  FileStamp creation{};
};
bool FileTimes(const String& path, FileTimeSet& times);
