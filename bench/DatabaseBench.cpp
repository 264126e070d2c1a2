// Measurement database: read-back for the history graph and the CSV export,
// on a database of 30 days of one-second rows. The database is built once in
// the temporary folder ("vexa-bench-measure") and reused by later runs.
#include "measure/Database.h"
#include "measure/MeasureDemo.h"
#include "measure/MeasurePanelFunc.h"
#include "records/PowerModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int64_t kDays = 30;
constexpr int64_t kRows = kDays * 86400;

DateTime BenchStart() {
  DateTime dt{2026, 3, 1, 0, 0, 0, 0};
  CalDateTimeFromTimeToVar(dt);
  return dt;
}

QString BenchFolder() {
  const QString folder = QDir::temp().filePath("vexa-bench-history");
  QDir().mkpath(folder);
  return folder;
}

// The second of the one-second dip: a random place in the 30 days, the same
// on every run.
int64_t DipOffset() {
  std::mt19937_64 random(20260301);
  return std::uniform_int_distribution<int64_t>(0, kRows - 1)(random);
}

// Three-phase rows of an FP source, with the dip.
bool BuildDatabase(const QString &path) {
  const QString part = path + ".part";
  QFile::remove(part);
  DatabaseInfo info;
  if (DatabaseOpenMeasureRecordByName(part, info) != 0)
    return false;
  std::fprintf(stderr, "building %lld rows in %s ...\n", static_cast<long long>(kRows),
               qPrintable(path));
  MeasureDemoPlan plan;
  plan.Start = DateTimeSeconds(BenchStart());
  plan.Seconds = kRows;
  plan.DipAt = DipOffset();
  MeasureDemoFill(info, plan);
  DatabaseClose(info);
  return QFile::rename(part, path);
}

DatabaseInfo &BenchDatabase() {
  static DatabaseInfo info;
  if (!info.Connected) {
    const QString path = QDir(BenchFolder()).filePath(kMeasureDatabaseFile);
    if (!QFileInfo::exists(path) && !BuildDatabase(path))
      std::fprintf(stderr, "cannot build %s\n", qPrintable(path));
    DatabaseOpenExistingMeasureRecord(path, info);
  }
  return info;
}

void BM_ReadBack1000PointsOf30Days(benchmark::State &state) {
  DatabaseInfo &info = BenchDatabase();
  if (!info.Connected) {
    state.SkipWithError("no database");
    return;
  }
  std::vector<double> u(1000), v(1000), w(1000);
  const DateTime start = BenchStart();
  const int32_t span = static_cast<int32_t>(kRows - 1);
  for (auto _ : state) {
    DatabaseMeasureRecordGetArr(info, start, span, 1000, kMeasVoltage, u.data(), v.data(),
                                w.data());
    benchmark::DoNotOptimize(u.data());
  }
  state.counters["found"] =
      static_cast<double>(std::count_if(u.begin(), u.end(), [](double x) { return x > 0; }));
}
BENCHMARK(BM_ReadBack1000PointsOf30Days)->Unit(benchmark::kMillisecond);

// The history graph's envelope of view (voltage); counts the buckets that
// show the dip as their smallest U value.
void RunEnvelope(benchmark::State &state, const TrendView &view) {
  DatabaseInfo &info = BenchDatabase();
  if (!info.Connected) {
    state.SkipWithError("no database");
    return;
  }
  std::vector<TrendBucket> buckets;
  for (auto _ : state) {
    DatabaseMeasureEnvelope(info, view.Start, view.Seconds, view.Count, kMeasVoltage, buckets);
    benchmark::DoNotOptimize(buckets.data());
  }
  state.counters["points"] = static_cast<double>(buckets.size());
  state.counters["dip_shown"] =
      static_cast<double>(std::count_if(buckets.begin(), buckets.end(), [](const TrendBucket &b) {
        return b.Rows > 0 && b.Min[0] == kMeasureDemoDipVoltage / 10.0;
      }));
}

void BM_Envelope30DaysAt1000Points(benchmark::State &state) {
  RunEnvelope(state, TrendViewOfSpan(DateTimeSeconds(BenchStart()), kRows));
}
BENCHMARK(BM_Envelope30DaysAt1000Points)->Unit(benchmark::kMillisecond);

// One zoom step of the panel: the hour around the dip.
void BM_EnvelopeZoomToOneHour(benchmark::State &state) {
  RunEnvelope(state, TrendViewOfSpan(DateTimeSeconds(BenchStart()) + DipOffset() - 1800, 3600));
}
BENCHMARK(BM_EnvelopeZoomToOneHour)->Unit(benchmark::kMillisecond);

void BM_ExportCsv24HoursAllItems(benchmark::State &state) {
  DatabaseInfo &info = BenchDatabase();
  if (!info.Connected) {
    state.SkipWithError("no database");
    return;
  }
  DateTime start = BenchStart();
  DateTimeAddSecond(10 * 86400 - 1, start); // the first row written is start + 1
  const int32_t items[kExportItemCount] = {1, 1, 1, 1, 1, 1, 1, 1};
  const QString csv = QDir(BenchFolder()).filePath("export.csv");
  for (auto _ : state)
    DatabaseRecordWriteToFileCvs(csv, items, info, start, 86400, 1, 0);
  QFile f(csv);
  int64_t lines = 0;
  if (f.open(QIODevice::ReadOnly))
    lines = f.readAll().count('\n');
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_ExportCsv24HoursAllItems)->Unit(benchmark::kMillisecond);

// One row as the program saves it once a second: a committed transaction.
void BM_SaveOneRowDurably(benchmark::State &state) {
  const QString path = QDir(BenchFolder()).filePath("save.mdb");
  DatabaseInfo info;
  if (DatabaseCreatMeasureRecordByName(path, info) != 0) {
    state.SkipWithError("cannot create database");
    return;
  }
  DateTime t = BenchStart();
  MeasureOutput m{};
  m.Value.fill(1234);
  for (auto _ : state) {
    DatabaseMeasureSaveNewRecord("FPA-3300", kModelFPA, 0, info, t, m);
    DateTimeAddSecond(1, t);
  }
  DatabaseClose(info);
}
BENCHMARK(BM_SaveOneRowDurably)->Unit(benchmark::kMillisecond);

} // namespace
