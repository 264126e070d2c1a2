#include "measure/Database.h"

#include "records/PowerModel.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// Durability: every row is saved in its own transaction (autocommit) with the
// rollback journal (journal_mode=DELETE) and synchronous=FULL, so a saved row
// is on disk before the save returns and a crash or power loss loses no
// earlier row. The rollback journal is chosen over WAL because one commit a
// second costs nothing noticeable, the database stays one self-contained
// file while closed (it can be copied, and the clear-database button's
// removal of the file cannot leave a write-ahead log behind to be replayed
// into the next database), and it works on network drives, where WAL does
// not.
//
// A short busy timeout lets a save wait for another process (vexactl export)
// reading the file instead of losing the row. No lock is held between calls
// (every statement is reset after use), and a read-back or export holds its
// read lock for one batch of look-ups at a time (ReadBatch).

namespace {

// A file's identity: its device and inode, so that two paths of one file
// compare equal (elsewhere the canonical path stands in for it).
struct FileIdentity {
  bool Known = false;
  quint64 Device = 0;
  quint64 Inode = 0;
  QString Canonical;
  bool operator==(const FileIdentity &) const = default;
};

FileIdentity IdentityOf(const QString &path) {
  FileIdentity id;
#ifdef Q_OS_UNIX
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0)
    return id;
  id.Device = static_cast<quint64>(info.st_dev);
  id.Inode = static_cast<quint64>(info.st_ino);
#else
  id.Canonical = QFileInfo(path).canonicalFilePath();
  if (id.Canonical.isEmpty())
    return id;
#endif
  id.Known = true;
  return id;
}

} // namespace

// Slot summaries: for every 10, 100, 1000 and 10000 seconds that hold rows,
// the row count, first and last time and per column the minimum, maximum and
// sum ("MeasureRollup"), kept by a trigger on every insert. They let the
// trend of a month read a few thousand summaries instead of millions of rows.

struct DatabaseStatements {
  QSqlDatabase Db;
  FileIdentity File;  // the file opened, whatever the working folder is later
  QSqlQuery Insert;   // one row, 29 values (not prepared for reading only)
  QSqlQuery SelectAt; // the first row at one time
  bool HasRollup = false;
};

DatabaseInfo gDatabaseInfo;

namespace {

constexpr int kBusyTimeoutMs = 100;
constexpr int kModelTextMax = 20;

// The column names, in order, as the CREATE TABLE text gives them.
const QStringList &ColumnNames() {
  static const QStringList names = [] {
    const QString sql = kMeasureRecordCreateSql;
    const qsizetype open = sql.indexOf('(');
    QStringList list;
    for (const QString &column : sql.mid(open + 1, sql.lastIndexOf(')') - open - 1).split(','))
      list << column.trimmed().section(' ', 0, 0);
    return list;
  }();
  return names;
}

// Files SQLite keeps beside the database; they belong to the file of that name
// and move or go with it.
const char *const kSideFileSuffixes[] = {"-journal", "-wal", "-shm"};

int gConnectionCounter = 0;

// The databases open now. Qt's SQL module keeps its connection registry and
// other state in objects that are destroyed at exit, before a DatabaseInfo
// made earlier (gDatabaseInfo) would be. The closer is made at the end of the
// first open, after all of those, so it is destroyed before them and closes
// what is still open while Qt can still do it properly.
std::vector<DatabaseInfo *> &OpenInfos() {
  static std::vector<DatabaseInfo *> infos;
  return infos;
}
struct ExitCloser {
  ExitCloser() = default;
  ExitCloser(const ExitCloser &) = delete;
  ExitCloser &operator=(const ExitCloser &) = delete;
  ~ExitCloser() {
    while (!OpenInfos().empty())
      DatabaseClose(*OpenInfos().back());
  }
};

// Marks info open and arms the closer.
void MarkOpen(DatabaseInfo &info) {
  info.Connected = 1;
  OpenInfos().push_back(&info);
  static ExitCloser closer;
}

enum class FileState {
  Missing,
  Measurement, // a SQLite database with the MeasureRecord columns
  EmptySqlite, // a SQLite database without the table (e.g. an empty file)
  Unreadable,  // not SQLite, damaged, or another MeasureRecord table
  CannotOpen,  // locked, no access, no driver: says nothing about the content
};

bool IsOpen(const DatabaseInfo &info) { return info.Connected == 1 && info.Statements; }

// Opens a named connection on path; false (and nothing left behind) when the
// driver is missing or SQLite cannot open the file.
bool Connect(const QString &path, DatabaseInfo &info) {
  if (!QSqlDatabase::isDriverAvailable("QSQLITE"))
    return false;
  const QString name = QStringLiteral("VexaMeasure-%1").arg(++gConnectionCounter);
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (db.open()) {
      info.Statements = std::make_unique<DatabaseStatements>();
      info.Statements->Db = db;
      info.Statements->File = IdentityOf(path);
      info.Handle = name;
      return true;
    }
  }
  QSqlDatabase::removeDatabase(name);
  return false;
}

// Drops the connection: statements first, then the database handle.
void Disconnect(DatabaseInfo &info) {
  info.Statements.reset(); // the statements go before the connection they use
  if (!info.Handle.isEmpty())
    QSqlDatabase::removeDatabase(info.Handle);
  std::erase(OpenInfos(), &info);
  info.Handle.clear();
  info.Connected = 0;
}

// SQLite's verdict on a file that is no database or a damaged one (the
// primary codes SQLITE_CORRUPT and SQLITE_NOTADB); any other failure (busy,
// no access, I/O) says nothing about the content.
bool IsNotADatabase(const QSqlQuery &q) {
  bool ok = false;
  const int code = q.lastError().nativeErrorCode().toInt(&ok) & 0xff;
  return ok && (code == 11 || code == 26);
}

// What the open connection holds. A file that is not SQLite opens fine and
// fails on its first read.
FileState Inspect(const QSqlDatabase &db) {
  QSqlQuery q(db);
  if (!q.exec("PRAGMA table_info(MeasureRecord)"))
    return IsNotADatabase(q) ? FileState::Unreadable : FileState::CannotOpen;
  const QStringList &expected = ColumnNames();
  QStringList found;
  while (q.next())
    found << q.value(1).toString();
  if (!found.isEmpty()) {
    if (found.size() != expected.size())
      return FileState::Unreadable;
    for (qsizetype i = 0; i < found.size(); ++i) {
      if (found[i].compare(expected[i], Qt::CaseInsensitive) != 0)
        return FileState::Unreadable;
    }
    return FileState::Measurement;
  }
  // No such table: still prove the file is SQLite.
  if (!q.exec("SELECT count(*) FROM sqlite_master"))
    return IsNotADatabase(q) ? FileState::Unreadable : FileState::CannotOpen;
  return FileState::EmptySqlite;
}

FileState InspectFile(const QString &path) {
  if (!QFileInfo::exists(path))
    return FileState::Missing;
  DatabaseInfo probe;
  if (!Connect(path, probe))
    return FileState::CannotOpen;
  const FileState state = Inspect(probe.Statements->Db);
  Disconnect(probe);
  return state;
}

bool Exec(const QSqlDatabase &db, const QString &sql) {
  QSqlQuery q(db);
  return q.exec(sql);
}

constexpr int64_t kRollupLevels[] = {10, 100, 1000, 10000};

// The measurement columns (Ua .. Ipkc), in order.
QStringList ValueColumns() { return ColumnNames().mid(MeasureRecordColumn(0, 0)); }

// The summary table, its trigger and its content for the rows already there.
bool CreateRollup(QSqlDatabase &db) {
  const QStringList values = ValueColumns();
  QString table = "CREATE TABLE MeasureRollup(Level int, Slot int, Rows int, First int, Last int";
  QString fresh, update, fromRows, fromLevel;
  for (const QString &c : values) {
    table += QString(", %1_Min double, %1_Max double, %1_Sum double").arg(c);
    fresh += QString(", NEW.%1, NEW.%1, NEW.%1").arg(c);
    update += QString(", %1_Min = min(%1_Min, excluded.%1_Min), %1_Max = max(%1_Max, "
                      "excluded.%1_Max), %1_Sum = %1_Sum + excluded.%1_Sum")
                  .arg(c);
    fromRows += QString(", MIN(%1), MAX(%1), SUM(%1)").arg(c);
    fromLevel += QString(", MIN(%1_Min), MAX(%1_Max), SUM(%1_Sum)").arg(c);
  }
  table += ", PRIMARY KEY(Level, Slot)) WITHOUT ROWID";
  QString trigger = "CREATE TRIGGER MeasureRollupOnInsert AFTER INSERT ON MeasureRecord BEGIN ";
  for (int64_t level : kRollupLevels)
    trigger += QString("INSERT INTO MeasureRollup VALUES(%1, NEW.TimeVar / %1, 1, NEW.TimeVar, "
                       "NEW.TimeVar%2) ON CONFLICT(Level, Slot) DO UPDATE SET Rows = Rows + 1, "
                       "First = min(First, excluded.First), Last = max(Last, excluded.Last)%3; ")
                   .arg(level)
                   .arg(fresh, update);
  trigger += "END";
  if (!db.transaction())
    return false;
  bool ok =
      Exec(db, table) && Exec(db, trigger) &&
      Exec(db, QString("INSERT INTO MeasureRollup SELECT %1, TimeVar / %1, COUNT(*), "
                       "MIN(TimeVar), MAX(TimeVar)%2 FROM MeasureRecord GROUP BY TimeVar / %1")
                   .arg(kRollupLevels[0])
                   .arg(fromRows));
  for (size_t i = 1; ok && i < std::size(kRollupLevels); ++i)
    ok = Exec(db, QString("INSERT INTO MeasureRollup SELECT %1, Slot / %2, SUM(Rows), MIN(First), "
                          "MAX(Last)%3 FROM MeasureRollup WHERE Level = %4 GROUP BY Slot / %2")
                      .arg(kRollupLevels[i])
                      .arg(kRollupLevels[i] / kRollupLevels[0])
                      .arg(fromLevel)
                      .arg(kRollupLevels[0]));
  if (!ok) {
    db.rollback();
    return false;
  }
  return db.commit();
}

bool HasTable(const QSqlDatabase &db, const char *name) {
  QSqlQuery q(db);
  return q.exec(QString("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '%1'")
                    .arg(name)) &&
         q.next();
}

// Journal, sync, table index and the statements every call reuses: the
// lookup, and for the program's own database the insert (compiling it
// compiles the summary trigger, which a reading connection never needs).
bool Prepare(DatabaseInfo &info, bool changeFile) {
  DatabaseStatements &s = *info.Statements;
  if (changeFile) {
    if (!Exec(s.Db, "PRAGMA journal_mode=DELETE") ||
        !Exec(s.Db, "CREATE INDEX IF NOT EXISTS MeasureRecordTimeVar ON MeasureRecord(TimeVar)"))
      return false;
    // A database of an earlier version gets its summaries once, here.
    if (!HasTable(s.Db, "MeasureRollup") && !CreateRollup(s.Db))
      return false;
  }
  s.HasRollup = HasTable(s.Db, "MeasureRollup");
  if (!Exec(s.Db, "PRAGMA synchronous=FULL"))
    return false;
  s.Insert = QSqlQuery(s.Db);
  QString insert = "INSERT INTO MeasureRecord VALUES (?";
  for (qsizetype i = 1; i < ColumnNames().size(); ++i)
    insert += ",?";
  insert += ")";
  s.SelectAt = QSqlQuery(s.Db);
  s.SelectAt.setForwardOnly(true);
  // Several rows at one time (the clock set back) read as the first stored.
  return (!changeFile || s.Insert.prepare(insert)) &&
         s.SelectAt.prepare(
             " SELECT * FROM MeasureRecord WHERE TimeVar = ? ORDER BY rowid LIMIT 1");
}

bool RemoveSideFiles(const QString &path) {
  bool ok = true;
  for (const char *suffix : kSideFileSuffixes) {
    const QString side = path + suffix;
    if (QFileInfo::exists(side) && !QFile::remove(side))
      ok = false;
  }
  return ok;
}

// Renames path (and its side files) to a free "<path>.unreadable-<time>" name.
bool SetAside(const QString &path, QString *setAsidePath) {
  const QString base =
      path + ".unreadable-" + QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
  QString target = base;
  for (int n = 2; QFileInfo::exists(target); ++n)
    target = base + "-" + QString::number(n);
  if (!QFile::rename(path, target))
    return false;
  for (const char *suffix : kSideFileSuffixes) {
    if (QFileInfo::exists(path + suffix))
      QFile::rename(path + suffix, target + suffix);
  }
  if (setAsidePath)
    *setAsidePath = target;
  return true;
}

// Opens path, creating the file when missing and the table (with its index)
// when the file has none.
int OpenAndPrepare(const QString &path, DatabaseInfo &info) {
  if (!QFileInfo::exists(path))
    RemoveSideFiles(path); // a stale journal must not be applied to a new file
  if (!Connect(path, info))
    return -1;
  const FileState state = Inspect(info.Statements->Db);
  if (state == FileState::EmptySqlite && !Exec(info.Statements->Db, kMeasureRecordCreateSql)) {
    Disconnect(info);
    return -1;
  }
  if ((state != FileState::Measurement && state != FileState::EmptySqlite) ||
      !Prepare(info, true)) {
    Disconnect(info);
    return -1;
  }
  MarkOpen(info);
  return 0;
}

// Appends "," and value right-aligned in width, like printf(",%W.Pf") in the
// C locale (the user's locale must not turn the decimal point into a comma).
void AppendFixed(std::string &out, double value, int width, int precision) {
  char buf[400];
  const auto result =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
  const int len = result.ec == std::errc() ? static_cast<int>(result.ptr - buf) : 0;
  out += ',';
  if (len < width)
    out.append(static_cast<size_t>(width - len), ' ');
  out.append(buf, static_cast<size_t>(len));
}

struct ItemFormat {
  int Width;
  int Precision;
};
// ",%4.1f" for voltage, current, power, apparent power, peak current;
// ",%3.2f" for frequency; ",%1.3f" for power and crest factor.
constexpr ItemFormat kItemFormats[kExportItemCount] = {{4, 1}, {4, 1}, {3, 2}, {4, 1},
                                                       {4, 1}, {1, 3}, {1, 3}, {4, 1}};

const char *const kHeadersEnglish[kExportItemCount] = {"VolU(V),VolV(V),VolW(V),",
                                                       "CurrU(A),CurrV(A),CurrW(A),",
                                                       "FreqU(Hz),FreqV(Hz),FreqW(Hz),",
                                                       "PowerU(kW),PowerV(kW),PowerW(kW),",
                                                       "VA_U(kVA),VA_V(kVA),VA_W(kVA),",
                                                       "PF_U,PF_V,PF_W,",
                                                       "CF_U,CF_V,CF_W,",
                                                       "IpkU(A),IpkV(A),IpkW(A)"};
const char *const kHeadersChinese[kExportItemCount] = {
    "U相电压(V),V相电压(V),W相电压(V),",       "U相电流(A),V相电流(A),W相电流(A),",
    "U相频率(Hz),V相频率(Hz),W相频率(Hz),",    "U相有功(kW),V相有功(kW),W相有功(kW),",
    "U相总功(kVA),V相总功(kVA),W相总功(kVA),", "U相功率因数,V相功率因数,W相功率因数,",
    "U相波峰系数,V相波峰系数,W相波峰因数,",    "U相电流波峰(A),V相电流峰值(A),W相电流波峰(A)"};

// Holds one read transaction over a run of look-ups, so that SQLite takes
// its file lock and checks its cache once per batch instead of once per
// look-up. The lock is dropped every kBatch look-ups so that another
// process's save never waits long behind an export.
class ReadBatch {
public:
  explicit ReadBatch(QSqlDatabase &db) : Db(db) { Open = Db.transaction(); }
  ~ReadBatch() {
    if (Open)
      Db.commit();
  }
  ReadBatch(const ReadBatch &) = delete;
  ReadBatch &operator=(const ReadBatch &) = delete;
  void Next() {
    if (++Count % kBatch == 0 && Open) {
      Db.commit();
      Open = Db.transaction();
    }
  }

private:
  static constexpr int kBatch = 2000;
  QSqlDatabase &Db;
  bool Open = false;
  int Count = 0;
};

// Runs the time look-up; true when a row exists (the query is then on it).
bool SelectAt(DatabaseStatements &s, int64_t seconds) {
  s.SelectAt.bindValue(0, static_cast<qlonglong>(seconds));
  return s.SelectAt.exec() && s.SelectAt.next();
}

} // namespace

DatabaseInfo::DatabaseInfo() = default;

DatabaseInfo::~DatabaseInfo() {
  if (IsOpen(*this))
    DatabaseClose(*this);
}

int DatabaseOpenMeasureRecordByName(const QString &path, DatabaseInfo &info,
                                    QString *setAsidePath) {
  if (IsOpen(info))
    DatabaseClose(info);
  if (setAsidePath)
    setAsidePath->clear();
  const FileState state = InspectFile(path);
  if (state == FileState::CannotOpen)
    return -1;
  // SQLite opens a read-only file for reading only, and every save would
  // fail without a word; the journal needs a writable folder.
  if ((state == FileState::Measurement || state == FileState::EmptySqlite) &&
      (!QFileInfo(path).isWritable() || !QFileInfo(QFileInfo(path).absolutePath()).isWritable()))
    return -1;
  if (state == FileState::Unreadable && !SetAside(path, setAsidePath))
    return -1;
  return OpenAndPrepare(path, info);
}

int DatabaseCreatMeasureRecordByName(const QString &path, DatabaseInfo &info,
                                     QString *setAsidePath) {
  if (IsOpen(info))
    DatabaseClose(info);
  if (setAsidePath)
    setAsidePath->clear();
  switch (InspectFile(path)) {
  case FileState::Missing:
    break;
  case FileState::Measurement:
  case FileState::EmptySqlite:
    if (!QFile::remove(path))
      return -1;
    RemoveSideFiles(path);
    break;
  case FileState::Unreadable:
    if (!SetAside(path, setAsidePath))
      return -1;
    break;
  case FileState::CannotOpen:
    return -1;
  }
  return OpenAndPrepare(path, info);
}

int DatabaseOpenExistingMeasureRecord(const QString &path, DatabaseInfo &info) {
  if (IsOpen(info))
    DatabaseClose(info);
  if (!QFileInfo(path).isFile() || !Connect(path, info))
    return -1;
  if (Inspect(info.Statements->Db) != FileState::Measurement || !Prepare(info, false)) {
    Disconnect(info);
    return -1;
  }
  MarkOpen(info);
  return 0;
}

int DatabaseClose(DatabaseInfo &info) {
  if (!IsOpen(info))
    return -1;
  Disconnect(info);
  return 0;
}

QString DatabaseCannotOpenMessage(const QString &path, int chinese) {
  const QString name = QFileInfo(path).fileName();
  if (chinese)
    return QString::fromUtf8(
               "测量数据库 %1 无法写入（是文件夹、只读或被其他程序占用），测量数据将不会保存。")
        .arg(name);
  return QString("The measurement database %1 cannot be written (it is a folder, read-only or in "
                 "use by another program). No measurement will be stored.")
      .arg(name);
}

bool DatabaseIsItsFile(const DatabaseInfo &info, const QString &path) {
  if (!IsOpen(info) || !info.Statements->File.Known)
    return false;
  const FileIdentity other = IdentityOf(path);
  return other.Known && other == info.Statements->File;
}

QString DatabaseSetAsideMessage(const QString &setAsidePath, int chinese) {
  const QString name = QFileInfo(setAsidePath).fileName();
  if (chinese)
    return QString::fromUtf8("测量数据库文件无法读取，已改名为 %1 并新建了空数据库。").arg(name);
  return QString("The measurement database could not be read. It was renamed to %1 and a new, "
                 "empty database was created.")
      .arg(name);
}

int DatabaseMeasureSaveNewRecord(const char *modelStr, int32_t modelType, int32_t outMode,
                                 DatabaseInfo &info, const DateTime &dt,
                                 const MeasureOutput &measure) {
  if (!IsOpen(info) || info.Statements->Insert.lastQuery().isEmpty())
    return -1;
  double values[kExportItemCount][kMeasurePhases] = {};
  if (modelType == kModelFCT || modelType == kModelFCS) {
    const bool phase[kMeasurePhases] = {modelType == kModelFCS || outMode == 0 || outMode == 2,
                                        modelType == kModelFCT && (outMode == 0 || outMode == 3),
                                        modelType == kModelFCT && (outMode == 0 || outMode == 4)};
    constexpr int kFCDivisor[4] = {10, 10, 10, 1000};
    for (int p = 0; p < kMeasurePhases; ++p) {
      if (!phase[p])
        continue;
      for (int q = 0; q < 4; ++q)
        values[q][p] = static_cast<double>(measure.At(q, p)) / kFCDivisor[q];
    }
  } else {
    const int phases = outMode == 5 ? 1 : kMeasurePhases;
    for (int p = 0; p < phases; ++p) {
      for (int q = 0; q < kExportItemCount; ++q)
        values[q][p] = static_cast<double>(measure.At(q, p)) / MeasureDivisor[q];
    }
  }
  char timeText[64];
  std::snprintf(timeText, sizeof timeText, "%04d-%02d-%02d %02d:%02d:%02d", dt.Year, dt.Month,
                dt.Day, dt.Hour, dt.Minute, dt.Second);
  const size_t modelLen = modelStr ? strnlen(modelStr, kModelTextMax) : 0;

  QSqlQuery &q = info.Statements->Insert;
  q.bindValue(0, QString::fromLatin1(modelStr ? modelStr : "", static_cast<qsizetype>(modelLen)));
  q.bindValue(1, modelType);
  q.bindValue(2, outMode);
  q.bindValue(3, static_cast<qlonglong>(DateTimeSeconds(dt)));
  q.bindValue(4, QString::fromLatin1(timeText));
  for (int qn = 0; qn < kExportItemCount; ++qn) {
    for (int p = 0; p < kMeasurePhases; ++p)
      q.bindValue(MeasureRecordColumn(qn, p), values[qn][p]);
  }
  q.exec(); // a row that cannot be stored is lost
  q.finish();
  return 0;
}

int DatabaseMeasureRecordGetArr(DatabaseInfo &info, const DateTime &start, int32_t span,
                                int32_t count, int32_t quantity, double *outU, double *outV,
                                double *outW) {
  if (!IsOpen(info) || quantity < 0 || quantity >= kExportItemCount)
    return -1;
  DatabaseStatements &s = *info.Statements;
  const int64_t first = DateTimeSeconds(start);
  ReadBatch batch(s.Db);
  for (int32_t i = 0; i < count; ++i, batch.Next()) {
    const int64_t t = first + static_cast<int64_t>(span) * i / count;
    if (SelectAt(s, t)) {
      outU[i] = s.SelectAt.value(MeasureRecordColumn(quantity, 0)).toDouble();
      outV[i] = s.SelectAt.value(MeasureRecordColumn(quantity, 1)).toDouble();
      outW[i] = s.SelectAt.value(MeasureRecordColumn(quantity, 2)).toDouble();
    } else {
      outU[i] = outV[i] = outW[i] = 0.0;
    }
    s.SelectAt.finish();
  }
  return 0;
}

int64_t TrendSlotSeconds(int64_t seconds, int32_t count) {
  int64_t slot = 1;
  for (int64_t level : kRollupLevels) {
    if (count > 0 && level * count <= seconds)
      slot = level;
  }
  return slot;
}

int DatabaseMeasureEnvelope(DatabaseInfo &info, int64_t start, int64_t seconds, int32_t count,
                            int32_t quantity, std::vector<TrendBucket> &out) {
  if (!IsOpen(info) || quantity < 0 || quantity >= kExportItemCount || count < 1 || seconds < 1)
    return -1;
  DatabaseStatements &s = *info.Statements;
  out.assign(static_cast<size_t>(count), TrendBucket{});
  const int64_t end = start + seconds;
  const int64_t slot = TrendSlotSeconds(seconds, count);
  const QStringList names = ColumnNames();
  // The bucket of a slot start; a slot begun before start counts to bucket 0.
  const auto key = [&](const QString &slotStart) {
    return QString("MAX(0, (%1 - %2) * %3 / %4)").arg(slotStart).arg(start).arg(count).arg(seconds);
  };
  // One part of the union: bucket, row count, first and last time, and per
  // phase the minimum, maximum and sum (a, b, s) of the quantity.
  const auto part = [&](const QString &slotStart, const char *countFirstLast,
                        const char *phaseColumns, const QString &from) {
    QString sql = QString("SELECT %1 AS k, %2").arg(key(slotStart), countFirstLast);
    for (int p = 0; p < kMeasurePhases; ++p)
      sql += QString(phaseColumns).arg(names[MeasureRecordColumn(quantity, p)]).arg(p);
    return sql + " FROM " + from;
  };
  const auto rows = [&](int64_t from, int64_t to) {
    return part(QString("TimeVar / %1 * %1").arg(slot), "1 AS n, TimeVar AS f, TimeVar AS l",
                ", %1 AS a%2, %1 AS b%2, %1 AS s%2",
                QString("MeasureRecord WHERE TimeVar >= %1 AND TimeVar < %2").arg(from).arg(to));
  };
  // Whole slots inside the range come from their summaries, the partial
  // slots at both ends from the rows.
  QStringList parts;
  const int64_t firstSlot = (start + slot - 1) / slot;
  const int64_t endSlot = end / slot;
  if (slot > 1 && s.HasRollup && firstSlot < endSlot) {
    parts << part(QString("Slot * %1").arg(slot), "Rows AS n, First AS f, Last AS l",
                  ", %1_Min AS a%2, %1_Max AS b%2, %1_Sum AS s%2",
                  QString("MeasureRollup WHERE Level = %1 AND Slot >= %2 AND Slot < %3")
                      .arg(slot)
                      .arg(firstSlot)
                      .arg(endSlot));
    if (start < firstSlot * slot)
      parts << rows(start, firstSlot * slot);
    if (endSlot * slot < end)
      parts << rows(endSlot * slot, end);
  } else {
    parts << rows(start, end);
  }
  QString sql = "SELECT k, SUM(n), MIN(f), MAX(l)";
  for (int p = 0; p < kMeasurePhases; ++p)
    sql += QString(", MIN(a%1), MAX(b%1), SUM(s%1)").arg(p);
  sql += " FROM (" + parts.join(" UNION ALL ") + ") GROUP BY k";

  QSqlQuery q(s.Db);
  q.setForwardOnly(true);
  if (!q.exec(sql))
    return 0; // a failed read shows as no data
  while (q.next()) {
    const int64_t k = q.value(0).toLongLong();
    if (k < 0 || k >= count)
      continue;
    TrendBucket &b = out[static_cast<size_t>(k)];
    b.Rows = q.value(1).toInt();
    b.First = q.value(2).toLongLong();
    b.Last = q.value(3).toLongLong();
    for (int p = 0; p < kMeasurePhases; ++p) {
      b.Min[p] = q.value(4 + 3 * p).toDouble();
      b.Max[p] = q.value(5 + 3 * p).toDouble();
      b.Mean[p] = b.Rows > 0 ? q.value(6 + 3 * p).toDouble() / b.Rows : 0.0;
    }
  }
  return 0;
}

CsvExportJob::CsvExportJob() = default;
CsvExportJob::~CsvExportJob() { Cancel(); }

bool CsvExportJob::Running() const { return File != nullptr; }

double CsvExportJob::Progress() const {
  return Duration > 0 ? std::min(1.0, static_cast<double>(Elapsed) / static_cast<double>(Duration))
                      : 1.0;
}

void CsvExportJob::Cancel() {
  if (File)
    File->cancelWriting();
  File.reset(); // an uncommitted save file removes its temporary file
  Info = nullptr;
}

int CsvExportJob::Begin(const QString &path, std::span<const int32_t, kExportItemCount> items,
                        DatabaseInfo &info, const DateTime &start, int32_t duration, int32_t step,
                        int32_t chinese, bool bom) {
  Cancel();
  if (!IsOpen(info) || DatabaseIsItsFile(info, path))
    return -1;
  File = std::make_unique<QSaveFile>(path);
  if (!File->open(QIODevice::WriteOnly | QIODevice::Text)) {
    File.reset();
    return -1;
  }
  Info = &info;
  std::copy(items.begin(), items.end(), Items.begin());
  Time = DateTimeSeconds(start);
  Elapsed = 0;
  Duration = duration;
  StepSeconds = step < 1 ? 1 : step;

  std::string out = bom ? "\xEF\xBB\xBF" : "";
  char line[256];
  std::snprintf(line, sizeof line,
                chinese
                    ? "测量记录起始时间:%04d-%02d-%02d %02d:%02d:%02d 记录持续时间:%5d:%02d:%02d\n"
                    : "MeasureRecordStartTime:%04d-%02d-%02d %02d:%02d:%02d "
                      "LastTimes:%5d:%02d:%02d\n",
                start.Year, start.Month, start.Day, start.Hour, start.Minute, start.Second,
                duration / 3600, (duration / 60) % 60, duration % 60);
  out += line;
  out += chinese ? "电源型号,记录时间," : "PowerModel,RecordTime,";
  for (int q = 0; q < kExportItemCount; ++q) {
    if (Items[static_cast<size_t>(q)])
      out += chinese ? kHeadersChinese[q] : kHeadersEnglish[q];
  }
  out += '\n';
  if (File->write(out.data(), static_cast<qint64>(out.size())) != static_cast<qint64>(out.size())) {
    Cancel();
    return -1;
  }
  return 0;
}

int CsvExportJob::Step(int32_t lookups) {
  if (!File)
    return -1;
  if (!Info || !IsOpen(*Info)) {
    Cancel();
    return -1;
  }
  constexpr size_t kFlushAt = 1 << 16;
  DatabaseStatements &s = *Info->Statements;
  std::string out;
  bool written = true;
  {
    // The read lock ends with the slice: the recording saves between slices.
    ReadBatch batch(s.Db);
    for (int32_t n = 0; n < lookups && Elapsed < Duration; ++n, batch.Next()) {
      Time += StepSeconds;
      Elapsed += StepSeconds;
      if (SelectAt(s, Time)) {
        out += s.SelectAt.value(0).toString().toStdString();
        out += ',';
        out += s.SelectAt.value(4).toString().toStdString();
        for (int q = 0; q < kExportItemCount; ++q) {
          if (!Items[static_cast<size_t>(q)])
            continue;
          for (int p = 0; p < kMeasurePhases; ++p)
            AppendFixed(out, s.SelectAt.value(MeasureRecordColumn(q, p)).toDouble(),
                        kItemFormats[q].Width, kItemFormats[q].Precision);
        }
        out += '\n';
      }
      s.SelectAt.finish();
      if (out.size() >= kFlushAt) {
        written = written && File->write(out.data(), static_cast<qint64>(out.size())) ==
                                 static_cast<qint64>(out.size());
        out.clear();
      }
    }
  }
  written = written && File->write(out.data(), static_cast<qint64>(out.size())) ==
                           static_cast<qint64>(out.size());
  if (!written) {
    Cancel();
    return -1;
  }
  return Elapsed < Duration ? 1 : 0;
}

int CsvExportJob::Finish() {
  if (!File)
    return -1;
  const bool ok = File->commit();
  File.reset();
  Info = nullptr;
  return ok ? 0 : -1;
}

int DatabaseRecordWriteToFileCvs(const QString &path,
                                 std::span<const int32_t, kExportItemCount> items,
                                 DatabaseInfo &info, const DateTime &start, int32_t duration,
                                 int32_t step, int32_t chinese) {
  CsvExportJob job;
  if (job.Begin(path, items, info, start, duration, step, chinese, false) != 0)
    return -1;
  int more = 1;
  while (more == 1)
    more = job.Step(1 << 20);
  return more == 0 ? job.Finish() : -1;
}
