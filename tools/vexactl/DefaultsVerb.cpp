// vexactl defaults KIND OUT: writes a new setting file (or "Set.Dat" for the
// kind SetDat) holding the default values.
#include "tools/vexactl/Verbs.h"

#include "comm/CommSettings.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/IniFile.h"
#include "storage/SoftSet.h"
#include "tools/vexactl/ModelOption.h"
#include "tools/vexactl/PathKind.h"

#include <cstdio>

int VerbDefaults(const GlobalOptions &global, const QStringList &args) {
  if (args.size() != 2)
    return UsageError("defaults: KIND and OUT expected");
  const std::optional<int32_t> model = ModelFromOption(global.Model);
  if (!model)
    return UsageError("unknown model " + global.Model);
  const QString &kindName = args[0];
  const QString &output = args[1];

  ResetProgramState();
  gPowerInfo.ModelType = *model;
  IniFile document;
  if (kindName.compare(QLatin1StringView("SetDat"), Qt::CaseInsensitive) == 0) {
    DataInitCommSet();
    SoftSetWriteDocument(document);
  } else if (const SettingKindInfo *kind = SettingKindByName(kindName)) {
    SettingApplyDefaults(kind->Kind, 0);
    SettingWriteDocument(kind->Kind, document, 0);
  } else {
    return UsageError("defaults: unknown kind " + kindName);
  }
  if (const QString refusal = OutputRefusal(output); !refusal.isEmpty()) {
    std::fprintf(stderr, "vexactl: %s: %s\n", qPrintable(output), qPrintable(refusal));
    return 1;
  }
  if (document.SaveFile(output) != 0) {
    std::fprintf(stderr, "vexactl: %s: cannot be written\n", qPrintable(output));
    return 1;
  }
  return 0;
}
