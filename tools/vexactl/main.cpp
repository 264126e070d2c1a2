#include "tools/vexactl/Verbs.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

const char *const kUsage =
    "usage: vexactl [--model FCT|FCS|FSA|FSB|FPA|FPB|GS|FL] VERB ...\n"
    "  check FILE [--out FILE]       read a setting file, print what normalisation changed\n"
    "  defaults KIND OUT             write a new setting file with default values\n"
    "  export --db FILE --start \"YYYY-MM-DD HH:MM:SS\" --duration S --step S\n"
    "         --items 8-FLAGS [--chinese] --csv FILE\n";

} // namespace

int UsageError(const QString &message) {
  std::fprintf(stderr, "vexactl: %s\n", qPrintable(message));
  return 2;
}

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  GlobalOptions global;
  while (!args.isEmpty() && args.first().startsWith("--")) {
    const QString option = args.takeFirst();
    if (option == "--model" && !args.isEmpty()) {
      global.Model = args.takeFirst();
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
  if (verb == "check")
    return VerbCheck(global, args);
  if (verb == "defaults")
    return VerbDefaults(global, args);
  if (verb == "export")
    return VerbExport(global, args);
  std::fputs(kUsage, stderr);
  return UsageError("unknown verb " + verb);
}
