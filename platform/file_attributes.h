// Whether a file exists, and its attributes. Failures are false results.
#pragma once

#include <cstdint>

#include "core/string.h"

// Whether the file exists: it can be opened, or fails to open only because another program
// holds it.
bool FileExists(const String& path);

// GetFileAttributesA; kInvalidAttributes when they cannot be read.
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;
uint32_t GetAttributes(const String& path);
// The read-only bit; false when the attributes cannot be read.
bool IsReadOnly(const String& path);
// Read-only, hidden and system (0x07): the attributes that keep a file from being rewritten or
// deleted.
constexpr uint32_t kBlockingAttributes = 0x07;
// Clears bits (true at once when none of them is set). False when the attributes cannot be
// read or written.
bool ClearAttributes(const String& path, uint32_t bits);
// Sets the bits of mask to those of values, writing only when that changes the attributes.
// False when the attributes cannot be read or written.
bool ChangeAttributes(const String& path, uint32_t values, uint32_t mask);
bool SetReadOnly(const String& path, bool on);
