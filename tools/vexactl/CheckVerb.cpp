#include "tools/vexactl/Verbs.h"

int VerbCheck(const GlobalOptions &, const QStringList &) {
  return UsageError("check is not built yet");
}
