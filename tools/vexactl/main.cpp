#include "tools/vexactl/Verbs.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

// The file an offline verb is writing, removed when a signal ends it.
char gPartialOutput[4096] = {};

void EndNow(int signal) {
  if (gPartialOutput[0] != '\0')
    ::unlink(gPartialOutput);
  ::_exit(128 + signal);
}

// The offline verbs run no event loop: SIGTERM, SIGINT and SIGHUP end them
// at once, also when the process was started with the signals ignored.
void EndOfflineVerbOnSignals() {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    std::signal(signal, EndNow);
}

const char *const kUsage =
    "usage: vexactl [--model FCT|FCS|FSA|FSB|FPA|FPB|GS|FL] [CONNECTION] [--fast] VERB ...\n"
    "  check FILE [--out FILE]       read a setting file or Set.Dat, print what\n"
    "                                normalisation changed\n"
    "  defaults KIND OUT             write a new setting file with default values\n"
    "  export --db FILE --start \"YYYY-MM-DD HH:MM:SS\" --duration S --step S\n"
    "         --items 8-FLAGS [--chinese] --csv FILE\n"
    "  trend --db FILE --start \"YYYY-MM-DD HH:MM:SS\" --span S --item N [--points P]\n"
    "                                print the history graph's buckets of quantity N\n"
    "                                (0..7): time, rows, min/mean/max of U, V, W\n"
    "  demo-history --db FILE [--end \"YYYY-MM-DD HH:MM:SS\"]\n"
    "                                write a new database with a week of one-second\n"
    "                                rows with a dip and a gap, print the view that\n"
    "                                shows them\n"
    "device verbs (--model: the model assumed until the source names its own):\n"
    "  identify                      print the identifier, model code and rating\n"
    "  dump DIR                      read every setting and program, write the\n"
    "                                model's auto-save files into DIR\n"
    "  load [--index N] FILE...      write setting files to the source (One files to\n"
    "                                group, step or entry N; default the current one)\n"
    "  output on|off                 switch the output and wait for the status\n"
    "  watch [--seconds N] [--db FILE] [--on] [--reconnect]\n"
    "                                print the measurements for N seconds (default 10);\n"
    "                                --db: store them in a measurement database;\n"
    "                                --on: switch an output that is off on for the\n"
    "                                time and off again; --reconnect: after a lost\n"
    "                                link connect again (every 2 s growing to 60 s) to\n"
    "                                the same source and go on\n"
    "CONNECTION: --lan HOST:PORT | --serial DEVICE [--baud 9600|19200|38400] |\n"
    "            --gpib ADDRESS; --address N (device address, default 1)\n"
    "--fast: take every reply as soon as it has come (the reply waits stay the\n"
    "        limit); about ten times faster over LAN\n"
    "exit: 0 done, 1 file or request failed, 2 usage, 3 link not opened or lost,\n"
    "      128+N ended by signal N (watch: a signal ends the watch, exit 0)\n";

} // namespace

void RemoveOnSignal(const QString &path) {
  const QByteArray name = QFile::encodeName(path);
  if (name.size() < static_cast<qsizetype>(sizeof gPartialOutput))
    std::memcpy(gPartialOutput, name.constData(), static_cast<size_t>(name.size()) + 1);
}

int UsageError(const QString &message) {
  std::fprintf(stderr, "vexactl: %s\n", qPrintable(message));
  return 2;
}

int Failure(const QString &message) {
  std::fprintf(stderr, "vexactl: %s\n", qPrintable(message));
  return 1;
}

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  GlobalOptions global;
  while (!args.isEmpty() && args.first().startsWith("--")) {
    const QString option = args.takeFirst();
    QString *value = option == "--model"     ? &global.Model
                     : option == "--lan"     ? &global.Lan
                     : option == "--serial"  ? &global.Serial
                     : option == "--baud"    ? &global.Baud
                     : option == "--gpib"    ? &global.Gpib
                     : option == "--address" ? &global.Address
                                             : nullptr;
    if (value != nullptr && !args.isEmpty()) {
      *value = args.takeFirst();
    } else if (option == "--fast") {
      global.Fast = true;
    } else if (option == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      std::fputs(kUsage, stderr);
      return UsageError("unknown option " + option);
    }
  }
  if (args.isEmpty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const QString verb = args.takeFirst();
  if (verb == "check" || verb == "defaults" || verb == "export")
    EndOfflineVerbOnSignals();
  if (verb == "check")
    return VerbCheck(global, args);
  if (verb == "defaults")
    return VerbDefaults(global, args);
  if (verb == "export")
    return VerbExport(global, args);
  if (verb == "trend")
    return VerbTrend(global, args);
  if (verb == "demo-history")
    return VerbDemoHistory(global, args);
  if (verb == "identify")
    return VerbIdentify(global, args);
  if (verb == "dump")
    return VerbDump(global, args);
  if (verb == "load")
    return VerbLoad(global, args);
  if (verb == "output")
    return VerbOutput(global, args);
  if (verb == "watch")
    return VerbWatch(global, args);
  std::fputs(kUsage, stderr);
  return UsageError("unknown verb " + verb);
}
