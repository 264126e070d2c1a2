// vexactl check FILE [--out FILE]: reads a setting file of any kind with the
// normalisation of the chosen model and prints every field it corrected.
#include "tools/vexactl/Verbs.h"

#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/IniFile.h"
#include "tools/vexactl/ModelOption.h"

#include <QFileInfo>

#include <cstdio>

namespace {

int FileError(const QString &path, const QString &message) {
  std::fprintf(stderr, "vexactl: %s: %s\n", qPrintable(path), qPrintable(message));
  return 1;
}

} // namespace

int VerbCheck(const GlobalOptions &global, const QStringList &args) {
  QString input;
  QString output;
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args[i] == "--out") {
      if (i + 1 == args.size() || !output.isEmpty())
        return UsageError("check: --out needs one file name");
      output = args[++i];
    } else if (args[i].startsWith("--") || !input.isEmpty()) {
      return UsageError("check: unexpected argument " + args[i]);
    } else {
      input = args[i];
    }
  }
  if (input.isEmpty())
    return UsageError("check: no file given");
  const std::optional<int32_t> model = ModelFromOption(global.Model);
  if (!model)
    return UsageError("unknown model " + global.Model);

  if (!QFileInfo(input).isFile())
    return FileError(input, "no such file");
  IniFile document;
  if (document.LoadFile(input) != 0)
    return FileError(input, "cannot be read");
  const std::optional<int32_t> type = document.GetInt("FileInfo", "Type");
  const SettingKindInfo *kind = type ? SettingKindByType(*type) : nullptr;
  if (kind == nullptr)
    return FileError(input, type ? QString("Type %1 is no setting file kind").arg(*type)
                                 : QString("no FileInfo/Type item"));

  // A One file is read into the first group, step or entry; what the file
  // lacks keeps its default.
  ResetProgramState();
  gPowerInfo.ModelType = *model;
  SettingApplyDefaults(kind->Kind, 0);
  SettingFindings findings;
  SettingReadDocumentChecked(kind->Kind, document, 0, *model, &findings);
  std::fputs(qPrintable(SettingFindingsText(findings)), stdout);

  if (!output.isEmpty()) {
    // The input's other items and comments go along into the output.
    SettingWriteDocument(kind->Kind, document, 0);
    if (document.SaveFile(output) != 0)
      return FileError(output, "cannot be written");
  }
  return 0;
}
