// vexactl export: the history panel's CSV export from the command line.
#include "tools/vexactl/Verbs.h"

#include "measure/Database.h"
#include "measure/MeasurePanelFunc.h"
#include "tools/vexactl/PathKind.h"

#include <QFileInfo>
#include <array>
#include <cstdio>

namespace {

// A whole number of seconds, 0 .. 2^31 - 1.
bool ParseSeconds(const QString &text, int32_t &out) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < 0)
    return false;
  out = value;
  return true;
}

} // namespace

int VerbExport(const GlobalOptions &, const QStringList &args) {
  QString db, startText, durationText, stepText, itemsText, csv;
  int32_t chinese = 0;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString &option = args[i];
    if (option == "--chinese") {
      chinese = 1;
      continue;
    }
    QString *target = option == "--db"         ? &db
                      : option == "--start"    ? &startText
                      : option == "--duration" ? &durationText
                      : option == "--step"     ? &stepText
                      : option == "--items"    ? &itemsText
                      : option == "--csv"      ? &csv
                                               : nullptr;
    if (!target)
      return UsageError("export: unknown argument " + option);
    if (i + 1 >= args.size())
      return UsageError("export: " + option + " needs a value");
    *target = args[++i];
  }
  if (db.isEmpty() || startText.isEmpty() || durationText.isEmpty() || stepText.isEmpty() ||
      itemsText.isEmpty() || csv.isEmpty())
    return UsageError("export needs --db, --start, --duration, --step, --items and --csv");

  DateTime start{};
  if (!DateTimeFromText(startText, start))
    return UsageError("export: --start must be \"YYYY-MM-DD HH:MM:SS\" from 2000 to 2135, not " +
                      startText);

  int32_t duration = 0;
  int32_t step = 0;
  if (!ParseSeconds(durationText, duration))
    return UsageError("export: --duration must be a whole number of seconds, not " + durationText);
  // A step of 0 is taken as 1 s by the export itself.
  if (!ParseSeconds(stepText, step))
    return UsageError("export: --step must be a whole number of seconds, not " + stepText);
  // The panel corrects an export span of 0:00:00 to one second.
  if (duration == 0)
    duration = 1;

  std::array<int32_t, kExportItemCount> items{};
  int itemCount = 0;
  bool itemsOk = itemsText.size() == kExportItemCount;
  for (qsizetype i = 0; itemsOk && i < kExportItemCount; ++i) {
    const QChar c = itemsText[i];
    itemsOk = c == '0' || c == '1';
    items[static_cast<size_t>(i)] = c == '1' ? 1 : 0;
    itemCount += items[static_cast<size_t>(i)];
  }
  if (!itemsOk)
    return UsageError("export: --items must be eight 0/1 flags, not " + itemsText);
  if (itemCount == 0)
    return UsageError("export: --items selects no quantity");

  if (const QString reason = NotAFileReason(db); !reason.isEmpty())
    return Failure("database " + db + ": " + reason);
  DatabaseInfo info;
  if (DatabaseOpenExistingMeasureRecord(db, info) != 0)
    return Failure(db + " is not a readable measurement database");
  // Writing the export over the database would delete every row.
  if (DatabaseIsItsFile(info, csv))
    return Failure("cannot write " + csv + ": it is the measurement database itself");
  RemoveOnSignal(QFileInfo(csv).absoluteFilePath());
  const int result = DatabaseRecordWriteToFileCvs(csv, items, info, start, duration, step, chinese);
  DatabaseClose(info);
  if (result != 0)
    return Failure("cannot write " + csv);
  return 0;
}
