#include "records/DateTime.h"

#include <QDateTime>

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kDaysPerCycle = 1461; // four years, the first a leap year

} // namespace

int64_t DateTimeSeconds(const DateTime &dt) {
  return static_cast<int64_t>(static_cast<uint32_t>(dt.LongSecond));
}

void DateTimeSetSeconds(DateTime &dt, int64_t seconds) {
  dt.LongSecond = static_cast<int32_t>(static_cast<uint32_t>(seconds));
}

void DateTimeCopy(const DateTime &src, DateTime &dst) {
  if (&src != &dst)
    dst = src;
}

void CalDateTimeFromTimeToVar(DateTime &dt) {
  const int64_t y = dt.Year - 2000;
  // A month outside 1..12 must not index past the table; such a record has
  // no meaningful time anyway.
  const int month = dt.Month < 1 ? 1 : (dt.Month > 12 ? 12 : dt.Month);
  int64_t days = (y / 4) * kDaysPerCycle + gYear4DayCnt[static_cast<size_t>(((y % 4) + 4) % 4)] +
                 gMonDayCnt[static_cast<size_t>(month - 1)] + dt.Day - 1;
  if (month > 2 && y % 4 == 0)
    days += 1;
  DateTimeSetSeconds(dt, ((days * 24 + dt.Hour) * 60 + dt.Minute) * 60 + dt.Second);
}

void CalDateTimeFromVarToTime(DateTime &dt) {
  const int64_t l = DateTimeSeconds(dt);
  dt.Second = static_cast<int32_t>(l % 60);
  dt.Minute = static_cast<int32_t>((l % 3600) / 60);
  dt.Hour = static_cast<int32_t>((l % kSecondsPerDay) / 3600);
  const int64_t d = l / kSecondsPerDay;
  const int32_t c = static_cast<int32_t>(d % kDaysPerCycle);
  int k = 3;
  while (c < gYear4DayCnt[static_cast<size_t>(k)])
    --k;
  dt.Year = static_cast<int32_t>(4 * (d / kDaysPerCycle) + k + 2000);
  const int32_t r = c - gYear4DayCnt[static_cast<size_t>(k)]; // 0-based day of the year
  if (k == 0 && r == 59) {                                    // 29 February
    dt.Month = 2;
    dt.Day = 29;
    return;
  }
  // From 1 March on, a leap year is one day ahead of the common-year table.
  const int32_t leapShift = (k == 0 && r >= 60) ? 1 : 0;
  int m = 12;
  while (r < gMonDayCnt[static_cast<size_t>(m - 1)] + leapShift)
    --m;
  dt.Month = m;
  dt.Day = r - gMonDayCnt[static_cast<size_t>(m - 1)] - leapShift + 1;
}

void DateTimeAddSecond(int64_t n, DateTime &dt) {
  DateTimeSetSeconds(dt, DateTimeSeconds(dt) + n);
  CalDateTimeFromVarToTime(dt);
}

void DateTimeGetNow(DateTime &dt) {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  dt.Hour = time.hour();
  dt.Minute = time.minute();
  dt.Second = time.second();
  dt.Month = date.month();
  dt.Day = date.day();
  dt.Year = date.year();
  CalDateTimeFromTimeToVar(dt);
}
