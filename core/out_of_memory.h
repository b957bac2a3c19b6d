// The text of the out-of-memory message, separated from OutOfMemory (declared in core/memory.h)
// so that its layout can be checked without exhausting memory.
#pragma once

#include <cstddef>
#include <cstdint>

// Words of the stack dump: two marker words, then whatever lies above them on the stack.
inline constexpr int kStackDumpWords = 80;
inline constexpr int kStackDumpWordsPerRow = 8;
inline constexpr uint32_t kStackDumpMarkerLow = 0x11223344;
inline constexpr uint32_t kStackDumpMarkerHigh = 0x55667788;
inline constexpr size_t kOutOfMemoryTextCapacity = 1024;

// Writes "Out Of Memory.  Make sure your hard drive is not full.\nRequested size = %u (0x%08X)
// \n\nStack contents:" followed by kStackDumpWords words as "%08X", each preceded by a carriage
// return (first word of a row of eight) or a space, and a terminating NUL. Sizes above
// 32 bits (64-bit builds only) are shown whole.
// The words are read through a volatile pointer and without address checks, because OutOfMemory
// passes the live stack above its own frame. Returns the text length; the text is cut short (but
// NUL-terminated) when capacity is too small.
int FormatOutOfMemoryText(char* buffer, size_t capacity, size_t requestedSize,
                          const volatile uint32_t* words);
