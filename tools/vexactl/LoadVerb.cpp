// vexactl load [--index N] FILE...: reads setting files as the program's
// load menus do (the kind from the file's Type, normalised for the connected
// model) and writes each to the source with its command group or single
// command, one file after the other.
#include "tools/vexactl/DeviceSession.h"

#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/IniFile.h"
#include "tools/vexactl/ModelOption.h"
#include "tools/vexactl/PathKind.h"

#include <QFileInfo>

#include <cstdio>
#include <vector>

namespace {

enum class Fit { FC, NotFC, Programs, Cross };

// How a kind reaches the source: a command group, or one write command
// (group 0) with the index as its parameter; the panel whose program must
// have been read before one step or entry of it is written.
struct Route {
  SettingKind Kind;
  Fit Family;
  int Group;
  int Cmd2;
  int32_t ReadPage;
};

constexpr Route kRoutes[] = {
    {SettingKind::FCNorAll, Fit::FC, kGroupWriteNormalAll, 0, kPageMain},
    {SettingKind::FCNorOne, Fit::FC, 0, 0x21, kPageMain},
    {SettingKind::FPNorAll, Fit::NotFC, kGroupWriteNormalAll, 0, kPageMain},
    {SettingKind::FPNorOne, Fit::NotFC, 0, 0x21, kPageMain},
    {SettingKind::StepAll, Fit::Programs, 0, 0x22, kPageMain},
    {SettingKind::ListAll, Fit::Programs, kGroupWriteList, 0, kPageMain},
    {SettingKind::ListOne, Fit::Programs, 0, 0x24, kPageList},
    {SettingKind::RampAll, Fit::Programs, kGroupWriteRamp, 0, kPageMain},
    {SettingKind::RampOne, Fit::Programs, 0, 0x26, kPageRamp},
    {SettingKind::CrossAll, Fit::Cross, kGroupWriteCross, 0, kPageMain},
    {SettingKind::CrossOne, Fit::Cross, 0, 0x29, kPageCross},
    {SettingKind::THDAll, Fit::Programs, kGroupWriteTHDAll, 0, kPageMain},
    {SettingKind::THDOne, Fit::Programs, kGroupWriteTHDMarked, 0, kPageMain},
};

const Route &RouteOf(SettingKind kind) {
  for (const Route &route : kRoutes)
    if (route.Kind == kind)
      return route;
  return kRoutes[0];
}

bool Fits(Fit fit, int32_t model) {
  switch (fit) {
  case Fit::FC:
    return IsFCModel(model);
  case Fit::NotFC:
    return !IsFCModel(model);
  case Fit::Programs:
    return ModelHasPrograms(model);
  case Fit::Cross:
    return ModelHasCross(model);
  }
  return false;
}

// The index a One file is read into when none is given: the one the
// program's panel would be showing.
int CurrentIndex(SettingKind kind) {
  switch (kind) {
  case SettingKind::ListOne:
    return gListSet.CurrentNo;
  case SettingKind::RampOne:
    return gRampSet.CurrentNo;
  case SettingKind::CrossOne:
    return gCrossListSet.CurrentNo;
  case SettingKind::THDOne:
    return gTHDCurrentGroup;
  default:
    return gCurrentNormalGroup;
  }
}

struct LoadFile {
  QString Path;
  const SettingKindInfo *Kind;
};

int WriteFile(DeviceSession &session, const LoadFile &file, int givenIndex) {
  const SettingKindInfo &kind = *file.Kind;
  const Route &route = RouteOf(kind.Kind);
  if (route.ReadPage != kPageMain) {
    QueueProgramRead(route.ReadPage);
    if (const int result = session.RunUntilIdle(); result != kExitOk)
      return result;
  }
  const int index = kind.IndexCount == 0 ? 0
                    : givenIndex >= 0    ? givenIndex
                                         : CurrentIndex(kind.Kind);
  if (SettingFileRead(kind.Kind, file.Path, index) != 1)
    return DeviceFail(kExitFailed, file.Path + ": cannot be read");
  if (route.Group == kGroupWriteTHDMarked) {
    gTHDNeedDownload[static_cast<size_t>(index)] = 1;
    CommSetNewCmdGroup(route.Group);
  } else if (route.Group != 0) {
    CommSetNewCmdGroup(route.Group);
  } else {
    CommSetNewCmdSingleGroup(kCmdClassWrite, route.Cmd2, index);
  }
  if (const int result = session.RunUntilIdle(); result != kExitOk)
    return result;
  if (kind.IndexCount > 0)
    std::printf("%s: %s %d written\n", qPrintable(file.Path), kind.Name, index);
  else
    std::printf("%s: %s written\n", qPrintable(file.Path), kind.Name);
  std::fflush(stdout);
  return kExitOk;
}

} // namespace

int VerbLoad(const GlobalOptions &global, const QStringList &args) {
  int index = -1;
  std::vector<LoadFile> files;
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args[i] == "--index") {
      bool ok = false;
      index = i + 1 < args.size() ? args[i + 1].toInt(&ok) : -1;
      if (!ok || index < 0)
        return UsageError("load: --index needs a number from 0");
      ++i;
    } else if (args[i].startsWith("--")) {
      return UsageError("load: unknown option " + args[i]);
    } else {
      files.push_back({QFileInfo(args[i]).absoluteFilePath(), nullptr});
    }
  }
  if (files.empty())
    return UsageError("load: no file given");
  // Every file is checked before anything is sent.
  for (LoadFile &file : files) {
    IniFile document;
    if (const QString reason = NotAFileReason(file.Path); !reason.isEmpty())
      return DeviceFail(kExitFailed, file.Path + ": " + reason);
    if (document.LoadFile(file.Path) != 0)
      return DeviceFail(kExitFailed, file.Path + ": cannot be read");
    const std::optional<int32_t> type = document.GetInt("FileInfo", "Type");
    file.Kind = type ? SettingKindByType(*type) : nullptr;
    if (file.Kind == nullptr)
      return DeviceFail(kExitFailed, file.Path + ": no setting file (FileInfo/Type)");
    if (index >= 0 && file.Kind->IndexCount > 0 && index >= file.Kind->IndexCount)
      return UsageError(QString("load: --index %1 is beyond the %2 of %3")
                            .arg(index)
                            .arg(file.Kind->IndexCount)
                            .arg(file.Path));
  }

  DeviceSession session;
  if (const QString error = session.Configure(global); !error.isEmpty())
    return UsageError(error);
  if (const int result = session.Connect(); result != kExitOk)
    return result;
  const int32_t model = gPowerInfo.ModelType;
  for (const LoadFile &file : files)
    if (!Fits(RouteOf(file.Kind->Kind).Family, model))
      return DeviceFail(kExitFailed, QString("%1: a %2 file does not fit the %3 source")
                                         .arg(file.Path, file.Kind->Name, ModelOptionName(model)));
  for (const LoadFile &file : files)
    if (const int result = WriteFile(session, file, index); result != kExitOk)
      return result;
  return kExitOk;
}
