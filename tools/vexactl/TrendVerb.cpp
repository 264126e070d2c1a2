// vexactl trend: the history graph's buckets as text; vexactl demo-history:
// the demonstration database the history panel is shown with.
#include "tools/vexactl/Verbs.h"

#include "measure/MeasureDemo.h"
#include "measure/MeasurePanelFunc.h"

#include <QFileInfo>
#include <QMap>
#include <cstdio>

namespace {

// Reads "--name value" pairs of the allowed names; an error text, or empty.
QString ReadOptions(const char *verb, const QStringList &args, const QStringList &allowed,
                    QMap<QString, QString> &out) {
  for (qsizetype i = 0; i < args.size(); i += 2) {
    if (!allowed.contains(args[i]))
      return QString("%1: unknown argument %2").arg(verb, args[i]);
    if (i + 1 >= args.size())
      return QString("%1: %2 needs a value").arg(verb, args[i]);
    out[args[i]] = args[i + 1];
  }
  return {};
}

} // namespace

int VerbTrend(const GlobalOptions &, const QStringList &args) {
  QMap<QString, QString> o;
  const QString error =
      ReadOptions("trend", args, {"--db", "--start", "--span", "--item", "--points"}, o);
  if (!error.isEmpty())
    return UsageError(error);
  if (!o.contains("--db") || !o.contains("--start") || !o.contains("--span") ||
      !o.contains("--item"))
    return UsageError("trend needs --db, --start, --span and --item");
  DateTime start{};
  if (!DateTimeFromText(o["--start"], start))
    return UsageError("trend: --start must be \"YYYY-MM-DD HH:MM:SS\" from 2000 to 2135, not " +
                      o["--start"]);
  bool spanOk = false, itemOk = false, pointsOk = false;
  const int span = o["--span"].toInt(&spanOk);
  const int item = o["--item"].toInt(&itemOk);
  const int points = o.value("--points", "1000").toInt(&pointsOk);
  if (!spanOk || span < 0)
    return UsageError("trend: --span must be a whole number of seconds, not " + o["--span"]);
  if (!itemOk || item < 0 || item >= kExportItemCount)
    return UsageError("trend: --item must be a quantity 0..7, not " + o["--item"]);
  if (!pointsOk || points < 2)
    return UsageError("trend: --points must be a whole number from 2, not " + o["--points"]);

  if (!QFileInfo(o["--db"]).isFile())
    return Failure("database " + o["--db"] + " not found");
  DatabaseInfo info;
  if (DatabaseOpenExistingMeasureRecord(o["--db"], info) != 0)
    return Failure(o["--db"] + " is not a readable measurement database");
  // The panel corrects a span of 0:00:00 to one second.
  const TrendView view = TrendViewOfSpan(DateTimeSeconds(start), span == 0 ? 1 : span, points);
  std::vector<TrendBucket> buckets;
  DatabaseMeasureEnvelope(info, view.Start, view.Seconds, view.Count, item, buckets);
  DatabaseClose(info);

  const int decimals = MeasurePrecision[static_cast<size_t>(item)];
  std::printf("Time,Rows,U_min,U_mean,U_max,V_min,V_mean,V_max,W_min,W_mean,W_max\n");
  for (int32_t i = 0; i < view.Count; ++i) {
    const TrendBucket &b = buckets[static_cast<size_t>(i)];
    std::printf("%s,%d", qPrintable(DateTimeText(TrendBucketStart(view, i))), b.Rows);
    for (int p = 0; p < kMeasurePhases; ++p) {
      if (b.Rows == 0)
        std::printf(",,,");
      else
        std::printf(",%.*f,%.*f,%.*f", decimals, b.Min[p], decimals + 2, b.Mean[p], decimals,
                    b.Max[p]);
    }
    std::printf("\n");
  }
  return 0;
}

int VerbDemoHistory(const GlobalOptions &, const QStringList &args) {
  QMap<QString, QString> o;
  const QString error = ReadOptions("demo-history", args, {"--db", "--end"}, o);
  if (!error.isEmpty())
    return UsageError(error);
  if (!o.contains("--db"))
    return UsageError("demo-history needs --db");
  DateTime end{};
  if (o.contains("--end")) {
    if (!DateTimeFromText(o["--end"], end))
      return UsageError("demo-history: --end must be \"YYYY-MM-DD HH:MM:SS\", not " + o["--end"]);
  } else {
    DateTimeGetNow(end);
  }
  if (QFileInfo::exists(o["--db"]))
    return Failure(o["--db"] + " exists: the demonstration goes into a new file");

  // A week ending on the hour, a five-hour gap on the third day and a
  // one-second dip on the fifth, on a second that starts a slot of every
  // summary level (so the dip's bucket is the one under the cursor).
  constexpr int64_t kWeek = 7 * 86400;
  MeasureDemoPlan plan;
  plan.Start = DateTimeSeconds(end) / 3600 * 3600 - kWeek;
  plan.Seconds = kWeek;
  plan.GapAt = 2 * 86400 + 14 * 3600;
  plan.GapLength = 5 * 3600;
  plan.DipAt = (plan.Start + 4 * 86400 + 7 * 3600) / 10000 * 10000 - plan.Start;
  DatabaseInfo info;
  if (DatabaseCreatMeasureRecordByName(o["--db"], info) != 0)
    return Failure("cannot create " + o["--db"]);
  MeasureDemoFill(info, plan);
  DatabaseClose(info);
  std::printf("week from %s, gap %s for 5 h, dip to %.1f V at %s\n",
              qPrintable(DateTimeText(plan.Start)),
              qPrintable(DateTimeText(plan.Start + plan.GapAt)), kMeasureDemoDipVoltage / 10.0,
              qPrintable(DateTimeText(plan.Start + plan.DipAt)));
  std::printf("VEXA_HISTORY_VIEW=%s;%lld;%s;%s\n", qPrintable(DateTimeText(plan.Start)),
              static_cast<long long>(kWeek), qPrintable(DateTimeText(plan.Start + plan.DipAt)),
              qPrintable(DateTimeText(plan.Start + plan.DipAt)));
  return 0;
}
