// The calendar record used for measurement time stamps, and its arithmetic.
//
// LongSecond counts the seconds since 2000-01-01 00:00:00 local time. Every
// fourth year from 2000 is a leap year (2100 included: there is no century
// rule). The count is kept as an unsigned 32-bit number in the signed field,
// so the record covers 2000-01-01 00:00:00 to 2136-02-06 06:28:15; from
// 2068-01-19 03:14:08 on the field reads negative. Read and set it through
// DateTimeSeconds() / DateTimeSetSeconds(), which work in 64 bits.
#pragma once

#include <array>
#include <cstdint>

struct DateTime {
  int32_t Year;   // four digits, 2000 and later
  int32_t Month;  // 1..12
  int32_t Day;    // 1..31
  int32_t Hour;   // 0..23
  int32_t Minute; // 0..59
  int32_t Second; // 0..59
  int32_t LongSecond;
};

// Day offset of each year inside a 4-year cycle that starts with a leap year.
constexpr std::array<int32_t, 4> gYear4DayCnt = {0, 366, 731, 1096};
// Days before each month in a common year (index 12 is the year's length).
constexpr std::array<int32_t, 13> gMonDayCnt = {0,   31,  59,  90,  120, 151, 181,
                                                212, 243, 273, 304, 334, 365};

// The largest second the record holds (2136-02-06 06:28:15).
constexpr int64_t kDateTimeMaxSeconds = 0xFFFFFFFFLL;

// LongSecond as a count of seconds, 0..kDateTimeMaxSeconds.
int64_t DateTimeSeconds(const DateTime &dt);
// Stores a count of seconds in LongSecond (taken modulo 2^32); the calendar
// fields are left alone.
void DateTimeSetSeconds(DateTime &dt, int64_t seconds);

// Copies all seven fields unless src and dst are the same record.
void DateTimeCopy(const DateTime &src, DateTime &dst);
// LongSecond from Year, Month, Day, Hour, Minute, Second.
void CalDateTimeFromTimeToVar(DateTime &dt);
// Year, Month, Day, Hour, Minute, Second from LongSecond.
void CalDateTimeFromVarToTime(DateTime &dt);
// LongSecond += n, then the calendar fields from it.
void DateTimeAddSecond(int64_t n, DateTime &dt);
// The current local date and time, with its LongSecond.
void DateTimeGetNow(DateTime &dt);
