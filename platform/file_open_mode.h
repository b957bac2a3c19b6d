// Mode bits of File::Open. The low two bits choose what happens to an existing or missing file;
// the top three bits choose where the name points.
#pragma once

#include <cstdint>

namespace OpenMode {
// What to do about an existing or missing file (the two-bit field kDispositionMask).
inline constexpr uint32_t kOpenOrCreate = 0x0000;
inline constexpr uint32_t kOpenExisting = 0x0001;
inline constexpr uint32_t kCreateNew = 0x0002;  // fails when the file exists
inline constexpr uint32_t kCreateOrTruncate = 0x0003;
inline constexpr uint32_t kDispositionMask = 0x0003;

inline constexpr uint32_t kNoRead = 0x0008;
inline constexpr uint32_t kNoWrite = 0x0010;
inline constexpr uint32_t kRequired = 0x0020;         // a failure to open ends the process
inline constexpr uint32_t kRetryOnce = 0x0040;        // one more try after 150 ms, any error
inline constexpr uint32_t kInMemory = 0x0080;         // load whole; write back on Close if changed
inline constexpr uint32_t kShareRead = 0x0100;        // implied by kShareWrite with kNoRead
inline constexpr uint32_t kShareWrite = 0x0200;       // implied by kShareRead with kNoWrite
inline constexpr uint32_t kAppend = 0x0400;           // position at the end after opening
inline constexpr uint32_t kCloseAfterOpen = 0x0800;   // test or create the file, then close
inline constexpr uint32_t kNoSharingRetry = 0x1000;   // a sharing violation fails at once

// Where the name points (the three-bit field kNameKindMask). The three temporary-file kinds
// create a fresh "ZPX" file and always open it with kCreateOrTruncate.
inline constexpr uint32_t kNameIsPath = 0x00000000;
inline constexpr uint32_t kTempInDefaultDir = 0x20000000;   // the name is ignored
inline constexpr uint32_t kTempInNamedDir = 0x40000000;     // the name is the directory
inline constexpr uint32_t kTempBesideName = 0x80000000;     // in the directory part of the name
inline constexpr uint32_t kInDefaultTempDir = 0xC0000000;   // the name joined to that directory
inline constexpr uint32_t kNameKindMask = 0xE0000000;

// Combinations in common use.
inline constexpr uint32_t kReadShared = kOpenExisting | kNoWrite | kShareRead;  // 0x0111
inline constexpr uint32_t kProbe = kOpenExisting | kNoRead | kNoWrite | kShareRead | kShareWrite |
                                   kCloseAfterOpen;  // 0x0B19: can the file be opened at all?
}  // namespace OpenMode
