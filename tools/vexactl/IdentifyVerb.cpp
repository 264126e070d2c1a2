// vexactl identify: runs the connect exchange and prints what the source
// says it is.
#include "tools/vexactl/DeviceSession.h"

#include "records/Globals.h"

#include <cstdio>
#include <string>

int VerbIdentify(const GlobalOptions &global, const QStringList &args) {
  if (!args.isEmpty())
    return UsageError("identify: unexpected argument " + args.first());
  DeviceSession session;
  if (const QString error = session.Configure(global); !error.isEmpty())
    return UsageError(error);
  if (const int result = session.Connect(); result != kExitOk)
    return result;
  // The identifier is padded with blanks to its 11 characters.
  std::string identifier(gPowerInfo.PowerModelStr.data());
  identifier.erase(identifier.find_last_not_of(' ') + 1);
  std::printf("%s ModelType=%d Rating=%d\n", identifier.c_str(), gPowerInfo.ModelType,
              gPowerInfo.Rating);
  return kExitOk;
}
