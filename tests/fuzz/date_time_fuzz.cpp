// Arbitrary texts through the date and time parsers, and what they produce (or arbitrary
// patterns) through the formatters: nothing may read past the text, a failed parse leaves the
// documented empty value, and formatting any parsed value stays within its buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/clock.h"
#include "core/date_time.h"

namespace {

FileStamp FixedClock() { return {2026, 12, 9, 12, 0, 0}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetClockForTesting(FixedClock);
  if (size < 1) return 0;
  const bool dayFirst = data[0] & 1;
  const int start = int(data[0] >> 1) % 8;
  String text(reinterpret_cast<const char*>(data + 1), int(size - 1));

  Date date;
  int end = date.Parse(text, dayFirst, start);
  if (end < 0 && (date.dayNumber | date.month | date.day | date.year | date.weekday) != 0) std::abort();
  if (end > text.Length()) std::abort();
  end = date.ParseExpanded(text, dayFirst, start);
  if (end > text.Length()) std::abort();
  date.Format(text);
  date.Format(String());

  Time time;
  time.Set(1, 2, 3);
  // A failure is either unreadable text (the empty time) or a time out of range; what Parse
  // left is judged after it ran, starting from a valid time it must overwrite.
  const bool parsed = time.Parse(text, start);
  const bool empty = time.hour == -1 && time.minute == -1 && time.second == -1;
  if (!parsed && !empty && !time.IsInvalid()) std::abort();
  time.Format(text);

  DateTime moment;
  moment.Parse(text, dayFirst);
  moment.Format(text);
  moment.Format(String());
  return 0;
}
