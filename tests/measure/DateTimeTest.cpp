#include "records/DateTime.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <string>

namespace {

DateTime Make(int y, int mo, int d, int h, int mi, int s) { return {y, mo, d, h, mi, s, 0}; }

void ExpectFields(const DateTime &dt, const DateTime &want) {
  EXPECT_EQ((std::array{dt.Year, dt.Month, dt.Day, dt.Hour, dt.Minute, dt.Second}),
            (std::array{want.Year, want.Month, want.Day, want.Hour, want.Minute, want.Second}));
}

struct ConversionCase {
  const char *Name;
  DateTime Fields;
  int64_t Seconds;
};

constexpr int64_t kDay = 86400;

// Every day of 2000..2110 is swept below; these are the edges of the count.
const ConversionCase kConversionCases[] = {
    {"epoch", Make(2000, 1, 1, 0, 0, 0), 0},
    {"last positive 32-bit second", Make(2068, 1, 19, 3, 14, 7), 2147483647},
    {"first second past 32-bit signed", Make(2068, 1, 19, 3, 14, 8), 2147483648},
    // No century rule: 2100 is a leap year.
    {"29 February 2100", Make(2100, 2, 29, 12, 0, 0), (25 * 1461 + 59) * kDay + 43200},
    {"1 March 2100", Make(2100, 3, 1, 0, 0, 0), (25 * 1461 + 60) * kDay},
    {"last second the record holds", Make(2136, 2, 6, 6, 28, 15), kDateTimeMaxSeconds},
};

class DateTimeConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(DateTimeConversion, FieldsToSecondsAndBack) {
  const ConversionCase &c = GetParam();
  DateTime dt = c.Fields;
  CalDateTimeFromTimeToVar(dt);
  EXPECT_EQ(DateTimeSeconds(dt), c.Seconds);

  DateTime back{};
  DateTimeSetSeconds(back, c.Seconds);
  CalDateTimeFromVarToTime(back);
  ExpectFields(back, c.Fields);
  EXPECT_EQ(back.LongSecond, dt.LongSecond);
}

INSTANTIATE_TEST_SUITE_P(Calendar, DateTimeConversion, testing::ValuesIn(kConversionCases),
                         [](const auto &info) {
                           std::string name = info.param.Name;
                           for (char &ch : name)
                             ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return name;
                         });

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

struct AddCase {
  DateTime From;
  int64_t Add;
  DateTime To;
};

const AddCase kAddCases[] = {
    {Make(2004, 2, 28, 23, 59, 59), 1, Make(2004, 2, 29, 0, 0, 0)},
    {Make(2004, 3, 1, 0, 0, 0), -1, Make(2004, 2, 29, 23, 59, 59)},
    {Make(2003, 12, 31, 23, 59, 59), 1, Make(2004, 1, 1, 0, 0, 0)},
    {Make(2003, 2, 28, 12, 0, 0), kDay, Make(2003, 3, 1, 12, 0, 0)},
    {Make(2100, 2, 28, 8, 0, 0), kDay, Make(2100, 2, 29, 8, 0, 0)},
    {Make(2068, 1, 19, 3, 14, 7), 1, Make(2068, 1, 19, 3, 14, 8)},
};

class DateTimeAdd : public testing::TestWithParam<AddCase> {};

TEST_P(DateTimeAdd, MovesTheCalendarFields) {
  DateTime dt = GetParam().From;
  CalDateTimeFromTimeToVar(dt);
  DateTimeAddSecond(GetParam().Add, dt);
  ExpectFields(dt, GetParam().To);
  DateTime want = GetParam().To;
  CalDateTimeFromTimeToVar(want);
  EXPECT_EQ(dt.LongSecond, want.LongSecond);
}

INSTANTIATE_TEST_SUITE_P(Calendar, DateTimeAdd, testing::ValuesIn(kAddCases));

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
