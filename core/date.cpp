// Date: the day number and its calendar fields, validity, leap years, two-digit years and order.
#include <cstdint>

#include "core/clock.h"
#include "core/date_time.h"
#include "core/day_number.h"

using day_number::TruncProduct;

namespace {

// The day numbers of the calendar change: 15 October 1582 (Gregorian) follows 4 October 1582
// (Julian), and as a Julian Day Number 2,299,161 is the first Gregorian day.
constexpr int64_t kGregorianStartYMD = 15821015;
constexpr int64_t kGregorianStartJulianDay = 2299161;
// Julian Day Number of 1 January of year 1.
constexpr int64_t kYearOneJulianDay = 1721424;

// Values beyond 32 bits (only from absurd years or day numbers) wrap, as the 32-bit fields hold.
int32_t Wrap32(int64_t v) { return int32_t(uint32_t(uint64_t(v))); }

int32_t WeekdayOf(int32_t dayNumber) { return Wrap32((int64_t(dayNumber) + 2) % 7 + 1); }

}  // namespace

void Date::Clear() {
  dayNumber = 0;
  month = 0;
  day = 0;
  year = 0;
  weekday = 0;
}

void Date::SetMDY(int32_t newMonth, int32_t newDay, int32_t newYear) {
  month = newMonth;
  day = newDay;
  year = newYear;
  if (newMonth < 1) return;

  // Years before 1 count without a year 0 here: -1 is the year before 1.
  int64_t y = newYear < 0 ? int64_t(newYear) + 1 : newYear;
  int64_t m = newMonth;
  if (m < 3) {
    y -= 1;
    m += 12;
  }
  int64_t gregorian = 0;
  if ((y * 100 + m) * 100 + newDay >= kGregorianStartYMD) {
    int64_t century = y / 100;
    gregorian = century / 4 - century + 2;
  }
  int64_t n = TruncProduct(365.25, double(y)) + TruncProduct(30.6001, double(m + 1)) + newDay +
              gregorian + 1720994;
  dayNumber = Wrap32(n);
  weekday = WeekdayOf(dayNumber);
}

void Date::SetMDYExpanded(int32_t newMonth, int32_t newDay, int32_t newYear) {
  SetMDY(newMonth, newDay, ExpandYear(newYear));
}

void Date::SetDayNumber(int32_t n) {
  dayNumber = n;
  if (n == 0) {
    Clear();
    return;
  }
  int64_t j = int64_t(n) + 1;
  int64_t k = j;
  if (j >= kGregorianStartJulianDay) {
    int64_t a = TruncProduct(double(j) - 1867216.25, 2.7379070069885075e-5);
    k = j + 1 + a - a / 4;
  }
  int64_t b = k < kYearOneJulianDay ? k + 1158 : k + 1524;
  int64_t c = TruncProduct(double(b) - 122.1, 0.0027378507871321013);
  int64_t d = TruncProduct(365.25, double(c));
  int64_t e = TruncProduct(double(b - d), 0.03267963176590926);
  day = Wrap32(b - d - TruncProduct(30.6001, double(e)));
  month = Wrap32(e > 13 ? e - 13 : e - 1);
  year = Wrap32(month < 3 ? c - 4715 : c - 4716);
  weekday = WeekdayOf(n);
}

Date Date::Today() {
  FileStamp now = ReadClock();
  Date date;
  date.SetMDY(now.month, now.day, now.year);
  return date;
}

bool Date::IsInvalid() const {
  return month < 1 || month > 12 || weekday < 1 || weekday > 7 || day < 1 ||
         day > DaysInMonth(month, year);
}

int Date::DaysInMonth(int32_t month, int32_t year) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool Date::IsLeapYear(int32_t year) {
  if (year % 4 != 0) return false;
  if (year < 1582) return true;
  return year % 100 != 0 || year % 400 == 0;
}

int32_t Date::ExpandYear(int32_t year) {
  if (year >= 101) return year;
  const int64_t current = ReadClock().year;
  const int64_t r = current % 100;
  const int64_t y = year;
  auto distance = [](int64_t v) { return v < 0 ? -v : v; };
  // How far from the current year the year lands when placed in the previous, the current and
  // the next century.
  const int64_t previous = distance(y - r - 100);
  const int64_t same = distance(y - r);
  const int64_t next = distance(y - r + 100);
  int64_t adjustment;
  if (previous < same) {
    adjustment = previous < next ? -100 : 100;
  } else {
    adjustment = same < next ? 0 : 100;
  }
  return Wrap32(y + (current - r) + adjustment);
}

int Date::Compare(const Date& a, const Date& b) {
  const bool aInvalid = a.IsInvalid();
  const bool bInvalid = b.IsInvalid();
  if (aInvalid || bInvalid) {
    if (aInvalid && bInvalid) return 0;
    return aInvalid ? -1 : 1;
  }
  if (a.dayNumber == b.dayNumber) return 0;
  return a.dayNumber < b.dayNumber ? -1 : 1;
}

String Date::WeekdayName() const { return String(WeekdayNameOf(weekday)); }

String Date::MonthName() const { return String(MonthNameOf(month)); }
