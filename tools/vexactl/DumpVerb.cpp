// vexactl dump DIR: reads everything the source keeps (the connect exchange
// reads the normal groups, the system settings and the THD groups; the
// programs are read as their panels read them) and writes the model's
// auto-save files into DIR.
#include "tools/vexactl/DeviceSession.h"

#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/SoftSet.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

int VerbDump(const GlobalOptions &global, const QStringList &args) {
  if (args.size() != 1 || args[0].startsWith("--"))
    return UsageError("dump: one directory expected");
  const QString dir = QFileInfo(args[0]).absoluteFilePath();
  if (!QDir().mkpath(dir))
    return DeviceFail(kExitFailed, dir + ": cannot be created");
  DeviceSession session;
  if (const QString error = session.Configure(global); !error.isEmpty())
    return UsageError(error);
  if (const int result = session.Connect(); result != kExitOk)
    return result;
  const int32_t model = gPowerInfo.ModelType;
  if (ModelHasPrograms(model)) {
    QueueProgramRead(kPageStep);
    QueueProgramRead(kPageList);
    QueueProgramRead(kPageRamp);
    if (ModelHasCross(model))
      QueueProgramRead(kPageCross);
    if (const int result = session.RunUntilIdle(); result != kExitOk)
      return result;
  }
  session.Disconnect();

  for (const QString &name : AutoSaveFileNames(model)) {
    const QString path = QDir(dir).filePath(name);
    const SettingKindInfo *kind = SettingKindByName(QFileInfo(name).suffix());
    // Written as the program writes its auto-save files: an existing file
    // is updated in place.
    if (kind == nullptr || SettingFileWrite(kind->Kind, path) != 1 || !QFileInfo::exists(path))
      return DeviceFail(kExitFailed, path + ": cannot be written");
    std::printf("%s\n", qPrintable(path));
  }
  return kExitOk;
}
