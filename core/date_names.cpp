// The English weekday and month names of the date texts.
#include "core/date_time.h"

namespace {

constexpr const char* kWeekdayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[12] = {"January", "February", "March",     "April",
                                         "May",     "June",     "July",      "August",
                                         "September", "October", "November", "December"};

}  // namespace

const char* WeekdayNameOf(int weekday) {
  return weekday >= 1 && weekday <= 7 ? kWeekdayNames[weekday - 1] : "";
}

const char* MonthNameOf(int month) { return month >= 1 && month <= 12 ? kMonthNames[month - 1] : ""; }
