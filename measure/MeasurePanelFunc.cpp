#include "measure/MeasurePanelFunc.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>

namespace {

bool LeapYear(int32_t year) { return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0); }

int32_t SpanOf(int32_t hours, int32_t minutes, int32_t &seconds) {
  const int32_t span = (hours * 60 + minutes) * 60 + seconds;
  if (span != 0)
    return span;
  seconds = 1;
  return 1;
}

int64_t ClampStart(int64_t start) { return std::clamp<int64_t>(start, 0, kDateTimeMaxSeconds); }

} // namespace

bool DateTimeFromText(const QString &text, DateTime &out) {
  const QDateTime when = QDateTime::fromString(text, "yyyy-MM-dd HH:mm:ss");
  if (!when.isValid() || when.date().year() < 2000 || when.date().year() > 2135)
    return false;
  out = DateTime{when.date().year(),
                 when.date().month(),
                 when.date().day(),
                 when.time().hour(),
                 when.time().minute(),
                 when.time().second(),
                 0};
  CalDateTimeFromTimeToVar(out);
  return true;
}

QString DateTimeText(int64_t seconds) {
  DateTime dt{};
  DateTimeSetSeconds(dt, seconds);
  CalDateTimeFromVarToTime(dt);
  return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", dt.Year, dt.Month, dt.Day, dt.Hour,
                           dt.Minute, dt.Second);
}

void UpdataChooseDataTime(HistoryPanelState &state, const DateTime &now) {
  state.Year = now.Year;
  state.Month = now.Month;
  state.Day = now.Day;
  state.Hour = now.Hour;
  state.Minute = now.Minute;
  state.Second = now.Second;
}

DateTime CorrectChooseYearMonthDay(HistoryPanelState &state) {
  int32_t last = 31;
  if (state.Month == 2)
    last = LeapYear(state.Year) ? 29 : 28;
  else if (state.Month == 4 || state.Month == 6 || state.Month == 9 || state.Month == 11)
    last = 30;
  state.Day = std::min(state.Day, last);
  DateTime dt{state.Year, state.Month, state.Day, state.Hour, state.Minute, state.Second, 0};
  CalDateTimeFromTimeToVar(dt);
  return dt;
}

int32_t GetDataChooseLongSecond(HistoryPanelState &state) {
  return SpanOf(state.SpanHours, state.SpanMinutes, state.SpanSeconds);
}

int32_t GetDataExportLongSecond(HistoryPanelState &state) {
  return SpanOf(state.ExportHours, state.ExportMinutes, state.ExportSeconds);
}

int32_t GetCheckItemCnt(HistoryPanelState &state) {
  int32_t count = 0;
  for (int32_t item : state.ExportItem)
    count += item;
  state.ExportItemCount = count;
  return count;
}

bool DisplayBtExport(int32_t count, int32_t chosen) { return count == 0 || chosen == 0; }

void RefreshExportButton(HistoryPanelState &state) {
  state.ExportDimmed = DisplayBtExport(GetCheckItemCnt(state), state.FileChosen) || state.Exporting;
}

TrendView TrendViewOfSpan(int64_t start, int64_t span, int32_t points) {
  TrendView view;
  view.Start = ClampStart(start);
  view.Span = static_cast<int32_t>(std::clamp<int64_t>(span, 1, INT32_MAX));
  points = std::max(points, 2);
  view.Seconds = view.Span < points ? view.Span + 1 : view.Span;
  view.Count = static_cast<int32_t>(std::min<int64_t>(view.Seconds, points));
  return view;
}

double TrendXStep(const TrendView &view) {
  return static_cast<double>(view.Seconds) / static_cast<double>(view.Count);
}

int32_t TrendBucketAt(const TrendView &view, double t) {
  const double offset = t - static_cast<double>(view.Start);
  if (offset < 0 || offset >= static_cast<double>(view.Seconds))
    return -1;
  return static_cast<int32_t>(std::floor(offset / TrendXStep(view)));
}

int64_t TrendBucketStart(const TrendView &view, int32_t i) {
  return view.Start + (static_cast<int64_t>(i) * view.Seconds + view.Count - 1) / view.Count;
}

std::vector<std::pair<int32_t, int32_t>> TrendRuns(const std::vector<TrendBucket> &buckets) {
  std::vector<std::pair<int32_t, int32_t>> runs;
  for (int32_t i = 0; i < static_cast<int32_t>(buckets.size()); ++i) {
    const TrendBucket &b = buckets[static_cast<size_t>(i)];
    if (b.Rows == 0)
      continue;
    if (!runs.empty() && runs.back().second == i - 1 &&
        b.First - buckets[static_cast<size_t>(i - 1)].Last <= 1)
      runs.back().second = i;
    else
      runs.emplace_back(i, i);
  }
  return runs;
}

TrendView TrendZoom(const TrendView &view, double anchor, double factor) {
  const int64_t span =
      std::clamp<int64_t>(std::llround(view.Span * factor), kTrendMinSpan, INT32_MAX);
  const double share =
      (anchor - static_cast<double>(view.Start)) / static_cast<double>(view.Seconds);
  TrendView zoomed = TrendViewOfSpan(0, span);
  return TrendViewOfSpan(std::llround(anchor - share * static_cast<double>(zoomed.Seconds)), span);
}

TrendView TrendPan(const TrendView &view, int64_t seconds) {
  return TrendViewOfSpan(view.Start + seconds, view.Span);
}

TrendView TrendSelect(int64_t from, int64_t to) {
  return TrendViewOfSpan(std::min(from, to),
                         std::max<int64_t>(std::llabs(to - from), kTrendMinSpan));
}

int HistoryDisplay(HistoryPanelState &state, DatabaseInfo &info) {
  const DateTime start = CorrectChooseYearMonthDay(state);
  state.Chosen = TrendViewOfSpan(DateTimeSeconds(start), GetDataChooseLongSecond(state));
  state.View = state.Chosen;
  return HistoryReadView(state, info);
}

int HistoryReadView(HistoryPanelState &state, DatabaseInfo &info) {
  const TrendView &v = state.View;
  const int result =
      DatabaseMeasureEnvelope(info, v.Start, v.Seconds, v.Count, state.Quantity, state.Buckets);
  if (result != 0)
    state.Buckets.assign(static_cast<size_t>(v.Count), TrendBucket{});
  return result;
}

void HistoryTakeViewForExport(HistoryPanelState &state) {
  DateTime start{};
  DateTimeSetSeconds(start, state.View.Start);
  CalDateTimeFromVarToTime(start);
  UpdataChooseDataTime(state, start);
  state.ExportHours = state.View.Span / 3600;
  state.ExportMinutes = state.View.Span / 60 % 60;
  state.ExportSeconds = state.View.Span % 60;
}

int HistoryClearDatabase(DatabaseInfo &info, const QString &path) {
  // While another program holds the file, closing it would stop the
  // recording for nothing: the file could be neither replaced nor reopened.
  if (info.Connected) {
    QSqlDatabase db = QSqlDatabase::database(info.Handle, false);
    QSqlQuery probe(db);
    if (!probe.exec("BEGIN EXCLUSIVE"))
      return -1;
    probe.exec("ROLLBACK");
  }
  if (DatabaseCreatMeasureRecordByName(path, info) == 0)
    return 0;
  DatabaseOpenMeasureRecordByName(path, info);
  return -1;
}
