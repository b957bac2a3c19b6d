// File specifications: texts that name existing files by wildcard pattern, such as the files to
// delete before installing. Each line holds one or more patterns separated by semicolons; a
// pattern ending in " /s" also looks in every subdirectory; relative patterns are completed from
// a default directory or from the directory of the line's first pattern.
#pragma once

#include <cstdint>

#include "core/array.h"
#include "core/string.h"
#include "core/vector.h"

// Flags of FindMatchingFiles.
namespace MatchFlags {
inline constexpr uint32_t kDirectories = 0x01;   // directories match too ("." and ".." never)
inline constexpr uint32_t kRecurse = 0x02;       // look in every subdirectory as well
inline constexpr uint32_t kNameOnly = 0x04;      // keep only the file name of each result
inline constexpr uint32_t kNoExtension = 0x08;   // remove the extension of each result
inline constexpr uint32_t kAppend = 0x10;        // append to the list instead of emptying it
inline constexpr uint32_t kSortByName = 0x40;    // each directory's matches A to Z, case ignored
inline constexpr uint32_t kSortByNameDescending = 0x80;  // Z to A; kSortByName wins over it
}  // namespace MatchFlags

// Puts the entries that pattern (such as "C:\dir\*.txt", optionally ending in " /s" to recurse)
// matches into files, as full paths built from the pattern's directory, and returns the sum of
// the matched files' sizes. A recursive search lists the matches of each directory before
// those of its subdirectories, depth first, in the order the system enumerates them. The
// orderings and the name-only and no-extension forms apply to the matches of each directory.
uint64_t FindMatchingFiles(Array<String>& files, const String& pattern, uint32_t flags);

// Flags of ParseFileSpecification.
namespace FileSpecFlags {
inline constexpr uint32_t kDirectories = 0x0001;       // directories match too
inline constexpr uint32_t kRecurse = 0x0002;           // every pattern looks in subdirectories
inline constexpr uint32_t kNoLineNumbers = 0x0100;     // diagnostics leave out "on line N "
inline constexpr uint32_t kAllowDuplicates = 0x0200;   // every match is added
inline constexpr uint32_t kBlankIsError = 0x0400;      // a blank text is an error
inline constexpr uint32_t kClearErrors = 0x0800;       // empty the error text first
inline constexpr uint32_t kClearFiles = 0x1000;        // empty the output list first
inline constexpr uint32_t kClearLineIndexes = 0x2000;  // empty the line-index list first
}  // namespace FileSpecFlags

// Appends to files the full paths of the entries that the file specification text matches, in the
// order found; a path already held (case ignored) is not added twice unless kAllowDuplicates.
// defaultDir (null or empty: none) completes relative patterns. The optional outputs:
//   errors       receives one line (CR LF) per problem, in fixed English wording: a missing
//                default directory, a relative pattern with nothing to complete it from, a
//                pattern that matches nothing, a file named twice. Problems never stop the
//                processing.
//   lineIndexes  receives, for each path added, the 0-based index of its line.
//   totalSize    is set to the sum of the sizes of all matches (duplicates included).
void ParseFileSpecification(const String& text, Array<String>& files, const char* defaultDir,
                            String* errors, Vector<int>* lineIndexes, uint64_t* totalSize,
                            uint32_t flags);
