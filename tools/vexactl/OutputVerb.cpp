// vexactl output on|off: switches the output as the main panel does and
// waits until the source's status shows it.
#include "tools/vexactl/DeviceSession.h"

int VerbOutput(const GlobalOptions &global, const QStringList &args) {
  if (args.size() != 1 || (args[0] != "on" && args[0] != "off"))
    return UsageError("output: on or off expected");
  DeviceSession session;
  if (const QString error = session.Configure(global); !error.isEmpty())
    return UsageError(error);
  if (const int result = session.Connect(); result != kExitOk)
    return result;
  return session.SwitchOutput(args[0] == "on");
}
