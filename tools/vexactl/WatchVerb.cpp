// vexactl watch [--seconds N] [--db FILE] [--on] [--reconnect]: polls the
// source as the program does and prints every measurement reply as the live
// display shows it; with --db the 50 ms tick stores the rows as the program
// does; with --reconnect a lost link is connected again as the program's
// automatic reconnection does, and the rows go on after the gap.
#include "tools/vexactl/DeviceSession.h"

#include "measure/Database.h"
#include "measure/LiveMeasure.h"
#include "records/Globals.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTime>

#include <cstdio>

namespace {

constexpr const char *kUnits[] = {"V", "A", "Hz", "kW", "kVA", "PF", "CF", "Apk"};

// "hh:mm:ss U 220.0 V 4.5 A 50.00 Hz ... | V ... | W ...": the eight
// quantities per phase of the text view, the four fixed readouts for the FC
// families, with the values and decimals the panels show.
void PrintMeasurement() {
  const bool fc = IsFCModel(gPowerInfo.ModelType);
  MeasureAreaView area;
  if (fc)
    DataFCFromMeasureToPanel(area);
  else
    DataFPFromMeasureToPanel(area);
  QString line = QTime::currentTime().toString("hh:mm:ss");
  static const char *const kPhases[] = {"U", "V", "W"};
  for (int p = 0; p < kMeasurePhases; ++p) {
    line += p == 0 ? " " : " | ";
    line += kPhases[p];
    for (int q = 0; q < (fc ? kMeasureReadouts : kMeasureTableRows); ++q) {
      const double value = fc ? area.Readout[q].Value[p] : area.Table[q][p];
      line += QString(" %1 %2").arg(value, 0, 'f', fc ? 1 : MeasurePrecision[q]).arg(kUnits[q]);
    }
  }
  std::printf("%s\n", qPrintable(line));
  std::fflush(stdout);
}

} // namespace

int VerbWatch(const GlobalOptions &global, const QStringList &args) {
  int seconds = 10;
  QString db;
  bool switchOn = false;
  bool reconnect = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args[i] == "--on") {
      switchOn = true;
    } else if (args[i] == "--reconnect") {
      reconnect = true;
    } else if (args[i] == "--seconds" && i + 1 < args.size()) {
      bool ok = false;
      seconds = args[++i].toInt(&ok);
      if (!ok || seconds < 0)
        return UsageError("watch: --seconds needs a whole number of seconds, not " + args[i]);
    } else if (args[i] == "--db" && i + 1 < args.size()) {
      db = QFileInfo(args[++i]).absoluteFilePath();
    } else {
      return UsageError("watch: unexpected argument " + args[i]);
    }
  }

  DeviceSession session;
  if (const QString error = session.Configure(global); !error.isEmpty())
    return UsageError(error);
  gPowerInfo.CommAutoReconnect = reconnect ? 1 : 0;
  if (!db.isEmpty()) {
    QString setAside;
    if (DatabaseOpenMeasureRecordByName(db, gDatabaseInfo, &setAside) != 0)
      return DeviceFail(kExitFailed, db + ": " + DatabaseCannotOpenMessage(db, 0));
    if (!setAside.isEmpty())
      DeviceFail(kExitOk, DatabaseSetAsideMessage(setAside, 0));
  }
  session.OnMeasureReply = PrintMeasurement;

  // A stop signal during the connect exchange ends the command at once.
  int result = session.Connect();
  // The time counts from the end of the connect exchange.
  const QDeadlineTimer end{std::chrono::seconds(seconds)};
  bool switchedOn = false;
  if (result == kExitOk && switchOn && gPowerInfo.OutputRunning != 1) {
    result = session.SwitchOutput(true);
    switchedOn = result == kExitOk;
  }
  if (result == kExitOk) {
    // Here a stop signal is the normal end of the watch, like the time.
    result = session.RunUntil([&] { return end.hasExpired(); });
    if (result > kExitSignalled) {
      result = kExitOk;
      session.AcknowledgeStop();
    }
  }
  // An output this command switched on is switched off again, also after
  // Ctrl-C; one it found running is left running.
  if (switchedOn && gPowerInfo.Connected == 1) {
    const int off = session.SwitchOutput(false);
    if (result == kExitOk)
      result = off;
  }
  session.Disconnect();
  // Every row is on disk when it has been stored; closing keeps them all,
  // also after a lost link.
  DatabaseClose(gDatabaseInfo);
  return result;
}
