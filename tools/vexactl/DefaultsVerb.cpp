#include "tools/vexactl/Verbs.h"

int VerbDefaults(const GlobalOptions &, const QStringList &) {
  return UsageError("defaults is not built yet");
}
