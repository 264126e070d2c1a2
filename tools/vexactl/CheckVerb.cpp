// vexactl check FILE [--out FILE]: reads a setting file of any kind (or
// "Set.Dat") with the normalisation of the chosen model and prints every
// field it corrected. List, Ramp and Cross files print what the check before
// a download finds: the step of each field and a program that cannot run.
#include "tools/vexactl/Verbs.h"

#include "comm/CommSettings.h"
#include "programs/ProgramCheck.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/IniFile.h"
#include "storage/SoftSet.h"
#include "tools/vexactl/ModelOption.h"
#include "tools/vexactl/PathKind.h"

#include <cstdio>
#include <vector>

namespace {

// The whole-program kind a List, Ramp or Cross file belongs to, and its check.
struct ProgramKind {
  SettingKind File, All;
  ProgramFindings (*Check)(int32_t modelType);
};

constexpr ProgramKind kProgramKinds[] = {
    {SettingKind::ListAll, SettingKind::ListAll, CheckListProgram},
    {SettingKind::ListOne, SettingKind::ListAll, CheckListProgram},
    {SettingKind::RampAll, SettingKind::RampAll, CheckRampProgram},
    {SettingKind::RampOne, SettingKind::RampAll, CheckRampProgram},
    {SettingKind::CrossAll, SettingKind::CrossAll, CheckCrossProgram},
    {SettingKind::CrossOne, SettingKind::CrossAll, CheckCrossProgram},
};

const ProgramKind *ProgramKindOf(SettingKind kind) {
  for (const ProgramKind &p : kProgramKinds)
    if (p.File == kind)
      return &p;
  return nullptr;
}

// A One file fills step (entry) 0 of a default program: its findings are
// those of that step, named without a number, as the file names none.
void PrintProgramFindings(const ProgramKind &program, int32_t model) {
  ProgramFindings findings = program.Check(model);
  if (program.File != program.All) {
    ProgramFindings own;
    for (ProgramFinding f : findings)
      if (f.Step == 0) {
        f.Step = -1;
        own.append(f);
      }
    findings = own;
  }
  std::fputs(qPrintable(ProgramFindingsText(findings)), stdout);
  ApplyProgramFindings(findings);
}

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

  if (const QString reason = NotAFileReason(input); !reason.isEmpty())
    return FileError(input, reason);
  if (!output.isEmpty())
    if (const QString refusal = OutputRefusal(output); !refusal.isEmpty())
      return FileError(output, refusal);
  IniFile document;
  if (document.LoadFile(input) != 0)
    return FileError(input, "cannot be read");
  const std::optional<int32_t> type = document.GetInt("FileInfo", "Type");
  const bool softSet = type == kSoftSetType;
  const SettingKindInfo *kind = type && !softSet ? SettingKindByType(*type) : nullptr;
  if (kind == nullptr && !softSet)
    return FileError(input, type ? QString("Type %1 is no setting file kind").arg(*type)
                                 : QString("no FileInfo/Type item"));

  // A One file is read into the first group, step or entry; what the file
  // lacks keeps its default. "Set.Dat" is read as the program reads it at
  // start-up, over the first-start communication settings.
  ResetProgramState();
  gPowerInfo.ModelType = *model;
  if (softSet) {
    DataInitCommSet();
    SoftSetReadDocument(document);
    const QList<SettingItem> items = SoftSetItems();
    std::vector<int32_t> before;
    before.reserve(items.size());
    for (const SettingItem &item : items)
      before.push_back(*item.Field);
    DataCheckCommSet();
    for (qsizetype i = 0; i < items.size(); ++i)
      if (*items[i].Field != before[i])
        std::printf("%.*s.%.*s: %d -> %d\n", int(items[i].Section.size()), items[i].Section.data(),
                    int(items[i].Key.size()), items[i].Key.data(), before[i], *items[i].Field);
  } else if (const ProgramKind *program = ProgramKindOf(kind->Kind)) {
    gPowerInfo.Language = 1;
    SettingApplyDefaults(program->All, 0);
    SettingReadDocument(kind->Kind, document, 0);
    PrintProgramFindings(*program, *model);
  } else {
    SettingApplyDefaults(kind->Kind, 0);
    SettingFindings findings;
    SettingReadDocumentChecked(kind->Kind, document, 0, *model, &findings);
    std::fputs(qPrintable(SettingFindingsText(findings)), stdout);
  }

  if (!output.isEmpty()) {
    // The input's other items and comments go along into the output.
    if (softSet)
      SoftSetWriteDocument(document);
    else
      SettingWriteDocument(kind->Kind, document, 0);
    if (document.SaveFile(output) != 0)
      return FileError(output, "cannot be written");
  }
  return 0;
}
