// Whole files at once: writing, comparing, appending text, and new temporary files. Failures
// are false or empty results; the caller chooses the message.
#pragma once

#include <cstdint>

#include "core/string.h"

// Creates or truncates the file and writes count bytes (String::kAll: up to the first NUL of
// bytes). An empty content only creates the file. False for an empty path or a failed open or
// write.
bool WriteWholeFile(const String& path, const char* bytes, int count = String::kAll);
inline bool WriteWholeFile(const String& path, const String& bytes) {
  return WriteWholeFile(path, bytes.CStr(), bytes.Length());
}

// True when the file holds exactly these count bytes.
bool FileMatchesBytes(const String& path, const char* bytes, int count);

// Flags of AppendTextFile.
namespace AppendFlags {
inline constexpr uint32_t kEnsureLineBreak = 0x01;  // end the file with a line break first
inline constexpr uint32_t kNoRetry = 0x02;          // a failed write fails at once
inline constexpr uint32_t kExistingOnly = 0x04;     // never create the file
}  // namespace AppendFlags

// Appends text at the end of the file, creating it unless kExistingOnly. A failed open gives
// false; a failed write is tried again (open and all) after 100 ms, up to 10 attempts, unless
// kNoRetry. No text (null or empty) only opens the file, and then the result is true.
bool AppendTextFile(const String& path, const char* text, uint32_t flags = 0);

// A new, empty, uniquely named "ZPX" file in dir (TempDir when dir is empty); its full name, or
// empty when none could be made.
String TempFileName(const String& dir = String());
