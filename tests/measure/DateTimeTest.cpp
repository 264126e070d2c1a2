#include "records/DateTime.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

DateTime Make(int y, int mo, int d, int h, int mi, int s) { return {y, mo, d, h, mi, s, 0}; }

void ExpectFields(const DateTime &dt, const DateTime &want) {
  EXPECT_EQ((std::array{dt.Year, dt.Month, dt.Day, dt.Hour, dt.Minute, dt.Second}),
            (std::array{want.Year, want.Month, want.Day, want.Hour, want.Minute, want.Second}));
}

constexpr int64_t kDay = 86400;

// Every day of 2000..2110 is swept below; these are the edges of the count.
TEST(DateTimeConversion, FieldsToSecondsAndBack) {
  const std::pair<DateTime, int64_t> cases[] = {
      {Make(2068, 1, 19, 3, 14, 8), 2147483648}, // past a signed 32-bit count
      {Make(2136, 2, 6, 6, 28, 15), 4294967295}, // the last second the record holds
  };
  for (const auto &[fields, seconds] : cases) {
    DateTime dt = fields;
    CalDateTimeFromTimeToVar(dt);
    EXPECT_EQ(DateTimeSeconds(dt), seconds);
    DateTime back{};
    DateTimeSetSeconds(back, seconds);
    CalDateTimeFromVarToTime(back);
    ExpectFields(back, fields);
  }
}

int DaysInMonth(int year, int month) {
  if (month == 2)
    return year % 4 == 0 ? 29 : 28;
  return (month == 4 || month == 6 || month == 9 || month == 11) ? 30 : 31;
}

constexpr std::array<std::array<int, 3>, 3> kTimesOfDay = {{{0, 0, 0}, {13, 7, 42}, {23, 59, 59}}};

// Every day from 2000 to 2110 at three times of day: the seconds grow by
// exactly one day from day to day, agree with the Gregorian calendar up to
// 28 February 2100 (and lead it by the extra 29 February afterwards), and
// convert back to the same fields.
TEST(DateTimeSweep, EveryDayFrom2000To2110RoundTrips) {
  const QDate epoch(2000, 1, 1);
  int64_t dayIndex = 0;
  int failures = 0;
  for (int y = 2000; y <= 2110 && failures < 5; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= DaysInMonth(y, m); ++d, ++dayIndex) {
        const bool extraDayBehind = y > 2100 || (y == 2100 && m > 2);
        const QDate gregorian(y, m, d);
        if (gregorian.isValid()) {
          const int64_t expectDays = epoch.daysTo(gregorian) + (extraDayBehind ? 1 : 0);
          if (expectDays != dayIndex) {
            ADD_FAILURE() << y << "-" << m << "-" << d << " is day " << dayIndex;
            ++failures;
          }
        }
        for (const auto &[h, mi, s] : kTimesOfDay) {
          DateTime dt = Make(y, m, d, h, mi, s);
          CalDateTimeFromTimeToVar(dt);
          const int64_t want = dayIndex * kDay + (h * 60 + mi) * 60 + s;
          DateTime back{};
          DateTimeSetSeconds(back, DateTimeSeconds(dt));
          CalDateTimeFromVarToTime(back);
          if (DateTimeSeconds(dt) != want || back.Year != y || back.Month != m || back.Day != d ||
              back.Hour != h || back.Minute != mi || back.Second != s) {
            ADD_FAILURE() << y << "-" << m << "-" << d << " " << h << ":" << mi << ":" << s
                          << " gave " << DateTimeSeconds(dt) << " (want " << want << ") and back "
                          << back.Year << "-" << back.Month << "-" << back.Day;
            ++failures;
          }
        }
      }
    }
  }
}

// Adding seconds moves the fields across a leap day and back.
TEST(DateTimeAdd, MovesTheCalendarFields) {
  DateTime dt = Make(2100, 2, 28, 23, 59, 59);
  CalDateTimeFromTimeToVar(dt);
  DateTimeAddSecond(1, dt);
  ExpectFields(dt, Make(2100, 2, 29, 0, 0, 0));
  DateTimeAddSecond(-kDay, dt);
  ExpectFields(dt, Make(2100, 2, 28, 0, 0, 0));
}

TEST(DateTimeNow, MatchesTheClockAndItsOwnSeconds) {
  const QDateTime before = QDateTime::currentDateTime();
  DateTime now{};
  DateTimeGetNow(now);
  const QDateTime after = QDateTime::currentDateTime();
  const QDateTime got(QDate(now.Year, now.Month, now.Day), QTime(now.Hour, now.Minute, now.Second));
  EXPECT_GE(got, before.addMSecs(-before.time().msec()));
  EXPECT_LE(got, after);
  DateTime copy{};
  DateTimeCopy(now, copy);
  CalDateTimeFromVarToTime(copy);
  ExpectFields(copy, now);
}

} // namespace
