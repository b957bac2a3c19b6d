// Directories and whole files: testing, creating and removing folders, file attributes, and
// writing, comparing and appending to whole files. None of these reports anything itself:
// each returns false, -1 or an empty text and the caller chooses the message.
#pragma once

#include <cstdint>

#include "core/string.h"

// The process's current directory; empty when the system cannot say.
String GetCurrentDir();

// Whether path names a directory that can be made current. The current directory is always
// set back to what it was. False for an empty path.
bool DirectoryExists(const String& path);

// Creates path with every missing parent, outermost first. True when the directory exists
// afterwards (also when someone else made it); true at once for an existing directory or a
// drive root. False for an empty path or when a folder cannot be made.
bool CreateDirectoryPath(const String& path);

// Removes the directory when it is empty; one trailing backslash is ignored. False for a text
// of 3 characters or fewer (a drive root is never removed) and when the system refuses.
bool RemoveDirectoryIfEmpty(const String& path);

// Whether the file exists: it can be opened, or fails to open only because another program
// holds it.
bool FileExists(const String& path);

// GetFileAttributesA; kInvalidAttributes when they cannot be read.
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;
uint32_t GetAttributes(const String& path);
// The read-only bit; false when the attributes cannot be read.
bool IsReadOnly(const String& path);
// Clears bits (true at once when none of them is set). False when the attributes cannot be
// read or written.
bool ClearAttributes(const String& path, uint32_t bits);
// Sets the bits of mask to those of values, writing only when that changes the attributes.
// False when the attributes cannot be read or written.
bool ChangeAttributes(const String& path, uint32_t values, uint32_t mask);
bool SetReadOnly(const String& path, bool on);

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

// Opens path as the shell's default action would (the program registered for it), working in
// the installer's directory. True when the shell started it.
bool OpenWithShell(const String& path);

// The short (8.3) form of an existing path; the path unchanged when the system cannot shorten it
// (a missing file among them), and empty for an empty path.
String ShortPath(const String& path);
