#include "records/DateTime.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <array>

namespace {

DateTime Make(int y, int mo, int d, int h, int mi, int s) { return {y, mo, d, h, mi, s, 0}; }

constexpr int64_t kDay = 86400;

int DaysInMonth(int year, int month) {
  if (month == 2)
    return year % 4 == 0 ? 29 : 28;
  return (month == 4 || month == 6 || month == 9 || month == 11) ? 30 : 31;
}

constexpr std::array<std::array<int, 3>, 3> kTimesOfDay = {{{0, 0, 0}, {13, 7, 42}, {23, 59, 59}}};

// Every day from 2000 to 2110 at three times of day: the seconds grow by
// exactly one day from day to day (past a signed 32-bit count in 2068),
// agree with the Gregorian calendar up to 28 February 2100 (and lead it by
// the extra 29 February afterwards), and convert back to the same fields.
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
  EXPECT_EQ((std::array{copy.Year, copy.Month, copy.Day, copy.Hour, copy.Minute, copy.Second}),
            (std::array{now.Year, now.Month, now.Day, now.Hour, now.Minute, now.Second}));
}

} // namespace
