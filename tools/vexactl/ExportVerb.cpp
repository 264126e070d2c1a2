#include "tools/vexactl/Verbs.h"

int VerbExport(const GlobalOptions &, const QStringList &) {
  return UsageError("export is not built yet");
}
