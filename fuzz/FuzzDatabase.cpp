// The measurement database read back from a damaged file: the input is a
// byte, then the file. Opened for reading, it is looked up, summarised and
// exported as the history and trend panels do. When the byte is a multiple
// of eight it is also opened as the program's own database: either used or
// set aside, and a new row can be stored (the costly part: a file set aside
// means a new database made from nothing).
#include "FuzzSupport.h"

#include "measure/Database.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <array>

namespace {

QTemporaryDir &Folder() {
  // In memory where the system offers it: every save is synchronous.
  static QTemporaryDir folder(QFileInfo::exists("/dev/shm")
                                  ? "/dev/shm/vexa-fuzz-XXXXXX"
                                  : QDir::tempPath() + "/vexa-fuzz-XXXXXX");
  return folder;
}

DateTime Start() {
  DateTime start{2025, 7, 8, 9, 10, 11, 0};
  CalDateTimeFromTimeToVar(start);
  return start;
}

MeasureOutput Measurement(int second) {
  MeasureOutput m{};
  for (size_t i = 0; i < m.Value.size(); ++i)
    m.Value[i] = 1000 * second + 37 * static_cast<int32_t>(i);
  return m;
}

void MakeSeeds(const SeedWriter &write) {
  const QString path = QDir(Folder().path()).filePath("seed.mdb");
  DatabaseInfo info;
  if (DatabaseOpenMeasureRecordByName(path, info) != 0)
    return;
  for (int s = 0; s < 4; ++s) {
    DateTime at = Start();
    DateTimeAddSecond(s, at);
    DatabaseMeasureSaveNewRecord("GS-3100", 22, 0, info, at, Measurement(s));
  }
  DatabaseClose(info);
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray content = file.readAll();
    write("Measure.mdb-read", '\1' + content);
    write("Measure.mdb-own", '\0' + content);
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
  FuzzInitialize(argc, argv, MakeSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1)
    return 0;
  const bool own = data[0] % 8 == 0;
  const QDir folder(Folder().path());
  const QString path = folder.filePath("Measure.mdb");
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return 0;
  file.write(reinterpret_cast<const char *>(data + 1), static_cast<qint64>(size - 1));
  file.close();

  DatabaseInfo info;
  if (DatabaseOpenExistingMeasureRecord(path, info) == 0) {
    std::array<double, 8> u{}, v{}, w{};
    DatabaseMeasureRecordGetArr(info, Start(), 8, 8, 0, u.data(), v.data(), w.data());
    std::vector<TrendBucket> buckets;
    DatabaseMeasureEnvelope(info, DateTimeSeconds(Start()) - 5000, 20000, 4, 1, buckets);
    const std::array<int32_t, kExportItemCount> items{1, 1, 1, 1, 1, 1, 1, 1};
    DatabaseRecordWriteToFileCvs(folder.filePath("out.csv"), items, info, Start(), 8, 1, 0);
    DatabaseClose(info);
  }
  if (!own)
    return 0;
  QString setAside;
  if (DatabaseOpenMeasureRecordByName(path, info, &setAside) == 0) {
    FUZZ_CHECK(DatabaseMeasureSaveNewRecord("FPA-0500", 20, 0, info, Start(), Measurement(1)) == 0);
    DatabaseClose(info);
  }
  // What was set aside, and any journal, goes before the next input.
  for (const QString &name : folder.entryList(QDir::Files))
    QFile::remove(folder.filePath(name));
  return 0;
}
