#include "core/out_of_memory.h"

#include "core/fatal.h"
#include "core/memory.h"
#include "core/print_format.h"

namespace {

// Appends one character while room is left for the terminating NUL.
void Put(char* buffer, size_t capacity, size_t& length, char ch) {
  if (length + 1 < capacity) buffer[length++] = ch;
}

// Eight upper-case hex digits, written by hand: the process has no memory to spare for anything
// that might allocate.
void PutHexWord(char* buffer, size_t capacity, size_t& length, uint32_t word) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (int shift = 28; shift >= 0; shift -= 4) {
    Put(buffer, capacity, length, kDigits[(word >> shift) & 0xF]);
  }
}

}  // namespace

__attribute__((no_sanitize("address"))) int FormatOutOfMemoryText(char* buffer, size_t capacity,
                                                                  size_t requestedSize,
                                                                  const volatile uint32_t* words) {
  if (buffer == nullptr || capacity == 0) return 0;
  // Sizes above 32 bits exist only in 64-bit builds; they are shown whole rather than cut to
  // their low word, which would read as a small or zero request.
  unsigned long long shownSize = requestedSize;
  int header = PrintToBuffer(buffer, capacity,
                             "Out Of Memory.  Make sure your hard drive is not full.\n"
                             "Requested size = %llu (0x%08llX)\n\nStack contents:",
                             shownSize, shownSize);
  if (header < 0) header = 0;
  size_t length =
      static_cast<size_t>(header) < capacity ? static_cast<size_t>(header) : capacity - 1;
  for (int i = 0; i < kStackDumpWords; ++i) {
    Put(buffer, capacity, length, i % kStackDumpWordsPerRow == 0 ? '\r' : ' ');
    PutHexWord(buffer, capacity, length, words[i]);
  }
  buffer[length] = '\0';
  return static_cast<int>(length);
}

namespace {

// The markers lie directly after the text buffer, so the dump that starts at them runs upward
// (towards the callers' frames on a downward-growing stack) through the saved registers, the
// return address and the frames of the failing allocation, not through the text being written.
struct OutOfMemoryFrame {
  char text[kOutOfMemoryTextCapacity];
  volatile uint32_t markers[2];
};

}  // namespace

// Not instrumented: the dump deliberately reads past this frame's own objects.
__attribute__((no_sanitize("address"), noinline)) void OutOfMemory(size_t requestedSize) {
  OutOfMemoryFrame frame;
  frame.markers[0] = kStackDumpMarkerLow;
  frame.markers[1] = kStackDumpMarkerHigh;
  // Through an integer, so that no compiler check ties the pointer to the two-word array.
  uintptr_t dumpStart = reinterpret_cast<uintptr_t>(&frame.markers[0]);
  FormatOutOfMemoryText(frame.text, sizeof frame.text, requestedSize,
                        reinterpret_cast<const volatile uint32_t*>(dumpStart));
  FatalError(frame.text);
}
