// The measurement database: one SQLite file ("Measure.mdb" in the working
// directory) holding the table MeasureRecord, one row per second while the
// output runs, looked up by time for the history graph and the CSV export.
//
// Every function returns 0 on success and -1 on failure; a call on a closed
// DatabaseInfo returns -1 and does nothing else. Errors of single statements
// (a row that cannot be inserted, a look-up that fails) are not reported: the
// row is lost, the look-up reads as "no row".
#pragma once

#include "records/DateTime.h"
#include "records/MeasureOutput.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QSaveFile;

// The file the program keeps its measurements in, in the working directory.
inline constexpr const char *kMeasureDatabaseFile = "Measure.mdb";

// The statement that creates the table; its column order is the file format.
inline constexpr const char *kMeasureRecordCreateSql =
    "CREATE TABLE MeasureRecord(PowerModelStr varchar(20), ModelTypeVar int,OutMode int,"
    "TimeVar int,TimeStr varchar(20),Ua double,Ub double,Uc double,Ia double,Ib double,Ic "
    "double,Fa double,Fb double,Fc double,kPowera double,kPowerb double,kPowerc double,kVAa "
    "double,kVAb double,kVAc double,PFa double,PFb double,PFc double,CFa double,CFb double,CFc "
    "double,Ipka double,Ipkb double,Ipkc double)";

// The eight quantities of a row and of the export, in column order.
constexpr int kExportItemCount = 8;

// 0-based column of quantity q (0..7) of phase p (0..2): 1-based 3q + 6 + p.
constexpr int MeasureRecordColumn(int quantity, int phase) { return 3 * quantity + 5 + phase; }

struct DatabaseStatements; // the connection and its prepared statements

// One open measurement database. Handle is the name of the connection this
// record owns (each record opens its own); Connected is 1 while open.
struct DatabaseInfo {
  QString Handle;
  int32_t Connected = 0;
  std::unique_ptr<DatabaseStatements> Statements;

  DatabaseInfo();
  ~DatabaseInfo(); // closes the database when still open
  DatabaseInfo(const DatabaseInfo &) = delete;
  DatabaseInfo &operator=(const DatabaseInfo &) = delete;
};

// The program's database; the program closes it when it leaves the main panel.
extern DatabaseInfo gDatabaseInfo;

// Opens the measurement database at path, creating it (with its table) when
// the file is missing. An open info is closed first. A file that exists but
// is not a readable measurement database (not SQLite, or without the
// MeasureRecord columns, e.g. left by an older installation) is never
// deleted or overwritten: it is renamed to "<path>.unreadable-YYYYMMDD-HHMMSS"
// and a new database is created. When that happens and setAsidePath is
// given, it receives the new name of the old file (else it is cleared); show
// it to the user with DatabaseSetAsideMessage. Returns -1 when no database
// could be opened or created: the file is locked by another program or
// cannot be accessed (it is left as it is), the old file could not be
// renamed, the file or its folder is not writable (a read-only file would
// store no row), the SQLite driver is missing; info stays closed then.
int DatabaseOpenMeasureRecordByName(const QString &path, DatabaseInfo &info,
                                    QString *setAsidePath = nullptr);

// Creates a new, empty measurement database at path and opens it (the
// clear-database button: close, then this). An existing measurement database
// at path is removed first; any other file there is renamed aside as by
// DatabaseOpenMeasureRecordByName.
int DatabaseCreatMeasureRecordByName(const QString &path, DatabaseInfo &info,
                                     QString *setAsidePath = nullptr);

// Opens an existing measurement database for reading back and exporting;
// never creates, renames or changes a file (no row can be stored through
// it). Returns -1 when the file is missing or is not a readable measurement
// database.
int DatabaseOpenExistingMeasureRecord(const QString &path, DatabaseInfo &info);

// Closes the database (the clear-database button then removes the file and
// reopens, which creates an empty one). Returns -1 when not open.
int DatabaseClose(DatabaseInfo &info);

// The message telling the user that the unreadable file was renamed.
QString DatabaseSetAsideMessage(const QString &setAsidePath, int chinese);
// The message telling the user that no row will be stored because the
// database at path could not be opened for writing.
QString DatabaseCannotOpenMessage(const QString &path, int chinese);

// True when path names the very file the open database is kept in, however
// it is spelled (another relative path, a link, a second hard link).
bool DatabaseIsItsFile(const DatabaseInfo &info, const QString &path);

// Appends one row: model text (at most 20 characters are kept), model type,
// out mode, the time of dt and the measurement scaled for the family:
//  - FCT: quantities 0..3 (V/10, A/10, Hz/10, kW/1000) of phase U when the
//    out mode is 0 or 2, V when 0 or 3, W when 0 or 4;
//  - FCS: the same four quantities of phase U only;
//  - other models: the eight quantities with MeasureDivisor, phase U always,
//    V and W unless the out mode is 5 (single phase).
// Everything else is 0.0. The row is committed (on disk) when this returns.
// -1 when info is not open or was opened for reading only.
int DatabaseMeasureSaveNewRecord(const char *modelStr, int32_t modelType, int32_t outMode,
                                 DatabaseInfo &info, const DateTime &dt,
                                 const MeasureOutput &measure);

// Fills outU/outV/outW[0..count-1] with quantity (0..7) of the rows at times
// start + (span * i) div count; a time without a row gives 0.0 for all three.
// Returns -1 when not open or the quantity is out of range.
int DatabaseMeasureRecordGetArr(DatabaseInfo &info, const DateTime &start, int32_t span,
                                int32_t count, int32_t quantity, double *outU, double *outV,
                                double *outW);

// The rows of one bucket of seconds of the trend graph: how many, the times
// of the first and the last, and per phase (U, V, W) the smallest, mean and
// largest value of the quantity. Rows = 0 is a bucket without data.
struct TrendBucket {
  int32_t Rows = 0;
  int64_t First = 0;
  int64_t Last = 0;
  double Min[kMeasurePhases] = {};
  double Mean[kMeasurePhases] = {};
  double Max[kMeasurePhases] = {};
};

// The slot length (s) the rows of a trend are grouped by before they go into
// buckets: the largest of 1, 10, 100, 1000 and 10000 not above the bucket
// width seconds / count. A slot never reaches further than one bucket, so a
// point is drawn at most one bucket away from its rows.
int64_t TrendSlotSeconds(int64_t seconds, int32_t count);

// The envelope of quantity (0..7) over the seconds [start, start + seconds)
// in count buckets: a row at time t belongs to the slot starting at
// s = t - t mod L (L = TrendSlotSeconds) and that to bucket
// max(0, (s - start) * count div seconds). Computed in SQL over the time
// index and the per-slot summaries the database keeps beside the rows, so a
// month of one-second rows reads as fast as an hour. out gets count buckets.
// Returns -1 when not open, the quantity is out of range or count or seconds
// is below 1.
int DatabaseMeasureEnvelope(DatabaseInfo &info, int64_t start, int64_t seconds, int32_t count,
                            int32_t quantity, std::vector<TrendBucket> &out);

// The CSV export in slices, for a window that must stay responsive: Begin,
// then Step until it returns 0, then Finish. The rows go to a temporary file
// beside path; Finish puts it in place of path, Cancel (or destroying an
// unfinished export) removes it, so path never holds a partial export.
class CsvExportJob {
public:
  CsvExportJob();
  ~CsvExportJob();
  CsvExportJob(const CsvExportJob &) = delete;
  CsvExportJob &operator=(const CsvExportJob &) = delete;

  // Starts the export (the arguments of DatabaseRecordWriteToFileCvs) and
  // writes the two header lines, after the UTF-8 byte-order mark when bom
  // is set. Returns -1 when the database is not open or the file cannot be
  // written.
  int Begin(const QString &path, std::span<const int32_t, kExportItemCount> items,
            DatabaseInfo &info, const DateTime &start, int32_t duration, int32_t step,
            int32_t chinese, bool bom);
  // Looks up at most lookups more times and writes their rows. Returns 1
  // while times remain, 0 when all are written, -1 when the database was
  // closed or the file could not be written (the export is then cancelled).
  int Step(int32_t lookups);
  // The share of the times looked up so far, 0..1.
  double Progress() const;
  // Puts the written file in place of path; -1 when that fails.
  int Finish();
  void Cancel();
  bool Running() const;

private:
  std::unique_ptr<QSaveFile> File;
  DatabaseInfo *Info = nullptr;
  std::array<int32_t, kExportItemCount> Items{};
  int64_t Time = 0;
  int64_t Elapsed = 0;
  int64_t Duration = 0;
  int64_t StepSeconds = 1;
};

// Writes the rows at start + step, start + 2 step, ... (while less than
// duration seconds have been covered) with the selected quantities (items:
// eight 0/1 flags in quantity order) as UTF-8 comma-separated text, with
// English or Chinese (chinese = 1) headers; times without a row give no line.
// A step below 1 s is taken as 1 s. An existing file is replaced once the
// export is complete. Returns -1 when the database is not open, path is the
// database's own file (which is left untouched) or the file cannot be
// written or replaced.
int DatabaseRecordWriteToFileCvs(const QString &path,
                                 std::span<const int32_t, kExportItemCount> items,
                                 DatabaseInfo &info, const DateTime &start, int32_t duration,
                                 int32_t step, int32_t chinese);
