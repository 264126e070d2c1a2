// Measurement database: read-back for the history graph and the CSV export,
// on a database of 30 days of one-second rows. The database is built once in
// the temporary folder ("vexa-bench-measure") and reused by later runs.
#include "measure/Database.h"
#include "records/PowerModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <benchmark/benchmark.h>

#include <cstdio>
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
  const QString folder = QDir::temp().filePath("vexa-bench-measure");
  QDir().mkpath(folder);
  return folder;
}

// Three-phase rows of an FP source with values that change every second.
bool BuildDatabase(const QString &path) {
  const QString part = path + ".part";
  QFile::remove(part);
  DatabaseInfo info;
  if (DatabaseOpenMeasureRecordByName(part, info) != 0)
    return false;
  QSqlDatabase db = QSqlDatabase::database(info.Handle, false);
  std::fprintf(stderr, "building %lld rows in %s ...\n", static_cast<long long>(kRows),
               qPrintable(path));
  DateTime t = BenchStart();
  MeasureOutput m{};
  for (int64_t s = 0; s < kRows; ++s) {
    if (s % 100000 == 0) {
      if (s)
        db.commit();
      db.transaction();
    }
    for (int p = 0; p < kMeasurePhases; ++p) {
      const int wobble = static_cast<int>((s * 7 + p * 13) % 41) - 20;
      m.At(kMeasVoltage, p) = 2200 + wobble;
      m.At(kMeasCurrent, p) = 153 + wobble / 4;
      m.At(kMeasFrequency, p) = 5000 + wobble / 10;
      m.At(kMeasPower, p) = 3301 + wobble * 3;
      m.At(kMeasApparentPower, p) = 3366 + wobble * 3;
      m.At(kMeasPowerFactor, p) = 981 + wobble / 5;
      m.At(kMeasCrestFactor, p) = 1414 + wobble;
      m.At(kMeasPeakCurrent, p) = 216 + wobble / 3;
    }
    DatabaseMeasureSaveNewRecord("FPA-3300", kModelFPA, 0, info, t, m);
    DateTimeAddSecond(1, t);
  }
  db.commit();
  db = QSqlDatabase();
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
