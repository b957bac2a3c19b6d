// The engine's own printf: the C library's formatting rules for the conversions the engine and
// its archive texts use, without the C runtime's formatter (which in a static 32-bit image is
// the largest single piece of code) and the same on every system the engine runs on.
//
// Conversions: d i u o x X c s f F and "%%", with the flags - + blank # 0, a width and a
// precision (digits or "*"), and the length modifiers hh h l ll j z t and I, I32, I64. Doubles
// are converted exactly and rounded half to even, as glibc does. Anything else (e g a p n, wide
// characters, long double, a width or precision above kMostPrintWidth) makes the whole format
// unusable: the result is false and the output so far is to be discarded.
#pragma once

#include <cstdarg>
#include <cstddef>

constexpr int kMostPrintWidth = 65536;

// Receives the formatted text piece by piece.
using PrintOutput = void (*)(void* context, const char* text, int length);

// Formats `fmt` with `args` into `output`; nothing is allocated.
bool PrintFormatted(PrintOutput output, void* context, const char* fmt, va_list args);

// The formatted text in `buffer`, cut to `capacity` - 1 characters and ended by a NUL (when the
// capacity is not 0); returns the length of the whole text, or -1 for an unusable format.
int PrintToBuffer(char* buffer, size_t capacity, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));
