// The measurement history panel's behaviour without widgets: the start and
// span fields with their corrections, the export button's dimming, the trend
// view (the chosen span, zoom, pan, selection) with its buckets and where
// its line breaks, the export range and the clear-database button. The
// window copies its controls into a HistoryPanelState, calls these and
// copies the state back.
#pragma once

#include "measure/Database.h"
#include "records/DateTime.h"

#include <QString>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// Points of the trend graph.
constexpr int32_t kTrendPoints = 1000;
// The narrowest view a zoom or a selection gives, in seconds.
constexpr int64_t kTrendMinSpan = 10;
// One step of the mouse wheel halves (or doubles) the view.
constexpr double kTrendWheelZoom = 0.5;

// A range of the time axis and how it is cut into buckets: the seconds
// [Start, Start + Seconds) in Count buckets; point i is drawn at
// Start + i * Seconds / Count.
struct TrendView {
  int64_t Start = 0;
  int32_t Span = 1; // as the span fields give it
  int64_t Seconds = 2;
  int32_t Count = 2;
};

struct HistoryPanelState {
  // Start date and time.
  int32_t Year = 2000, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0;
  // Display span, export span and export interval (s).
  int32_t SpanHours = 1, SpanMinutes = 0, SpanSeconds = 0;
  int32_t ExportHours = 1, ExportMinutes = 0, ExportSeconds = 0;
  int32_t ExportInterval = 1;
  int32_t Quantity = 0; // the graph's quantity (0..7)
  std::array<int32_t, kExportItemCount> ExportItem{};
  int32_t ExportItemCount = 0;
  int32_t FileChosen = 0;
  QString ExportPath;
  bool Bom = false; // UTF-8 byte-order mark before the CSV text
  bool ExportDimmed = true;
  bool Exporting = false;

  TrendView Chosen;                 // set by Display; the reset of a zoom returns here
  TrendView View;                   // the range on the graph
  std::vector<TrendBucket> Buckets; // of View
};

// "YYYY-MM-DD HH:MM:SS" from 2000 to 2135 into a date-time with its seconds;
// false for anything else.
bool DateTimeFromText(const QString &text, DateTime &out);
// The date-time of a count of seconds as "YYYY-MM-DD HH:MM:SS".
QString DateTimeText(int64_t seconds);

// The six start fields from the clock reading now.
void UpdataChooseDataTime(HistoryPanelState &state, const DateTime &now);
// Clamps the day to the month (29 February only in leap years, which here
// follow the calendar: divisible by 400, or by 4 and not by 100) and returns
// the start with its seconds.
DateTime CorrectChooseYearMonthDay(HistoryPanelState &state);
// The display and export spans in seconds; 0:00:00 becomes 0:00:01 (the
// seconds field is set to 1).
int32_t GetDataChooseLongSecond(HistoryPanelState &state);
int32_t GetDataExportLongSecond(HistoryPanelState &state);
// Counts the ticked export items (also into ExportItemCount).
int32_t GetCheckItemCnt(HistoryPanelState &state);
// Whether the export button is dimmed: no item ticked or no file chosen.
bool DisplayBtExport(int32_t count, int32_t chosen);
// Recounts the items and sets ExportDimmed (also dimmed while exporting).
void RefreshExportButton(HistoryPanelState &state);

// A span of under points seconds draws its span + 1 seconds one point each;
// a longer one points points of span / points seconds.
TrendView TrendViewOfSpan(int64_t start, int64_t span, int32_t points = kTrendPoints);
// The x step between points, in seconds.
double TrendXStep(const TrendView &view);
// The bucket under time t (a fraction of a second is allowed), -1 outside.
int32_t TrendBucketAt(const TrendView &view, double t);
// The start second of bucket i.
int64_t TrendBucketStart(const TrendView &view, int32_t i);
// The runs of buckets drawn as one line each, [first, last] pairs: the line
// breaks at a bucket without rows and wherever a second is missing between
// one bucket's last row and the next one's first.
std::vector<std::pair<int32_t, int32_t>> TrendRuns(const std::vector<TrendBucket> &buckets);

// The view of a range selected with the mouse.
TrendView TrendSelect(int64_t from, int64_t to);
// The view zoomed by factor (below 1 zooms in) around time anchor, which
// stays where it is on the axis.
TrendView TrendZoom(const TrendView &view, double anchor, double factor);
// The view moved by seconds (positive: later).
TrendView TrendPan(const TrendView &view, int64_t seconds);

// Display: the start fields (clamped) and the display span become the chosen
// view and the view, whose buckets are read. Returns the read's result.
int HistoryDisplay(HistoryPanelState &state, DatabaseInfo &info);
// Re-reads the buckets of state.View.
int HistoryReadView(HistoryPanelState &state, DatabaseInfo &info);
// The start fields and the export span take the view's range, so that the
// export writes what the graph shows.
void HistoryTakeViewForExport(HistoryPanelState &state);

// Clear database: the file at path is replaced by an empty database and
// info reopened on it, so the recording goes on into the new file. When
// the file cannot be replaced (another program holds it) it stays open as it
// was and -1 is returned.
int HistoryClearDatabase(DatabaseInfo &info, const QString &path);
