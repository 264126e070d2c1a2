#include "programs/ProgramCheck.h"

#include "programs/ProgramGraph.h"
#include "records/Globals.h"
#include "settings/ProgramSet.h"
#include "storage/IniDeal.h"

#include <algorithm>

namespace {

bool English() { return gPowerInfo.Language == 1; }

// The step an item belongs to from its section: "G07Value" is step 7 of a
// List or Ramp file, "G3Value" entry 3 of a Cross file, "Value" the header.
int StepOfSection(QByteArrayView section) {
  if (section.size() < 7 || section.front() != 'G')
    return -1;
  return QByteArrayView(section.data() + 1, section.size() - 6).toInt();
}

// The line voltages of phases V and W are derived from phase U's and never
// go to the source (a program read back from it leaves them as they were):
// the check's copies of them are no news to the user.
bool DerivedLineVoltage(QByteArrayView key) {
  return key.startsWith("VolLine") && (key.endsWith('V') || key.endsWith('W'));
}

// Runs the record check on the records the kind's items name and restores
// them: every item the check changed becomes a finding.
template <class Check> ProgramFindings CorrectionsOf(SettingKind kind, Check check) {
  ProgramFindings findings;
  const QList<SettingItem> items = SettingItems(kind);
  QList<int32_t> read;
  read.reserve(items.size());
  for (const SettingItem &item : items)
    read.append(*item.Field);
  check();
  for (qsizetype i = 0; i < items.size(); ++i)
    if (*items[i].Field != read[i] && !DerivedLineVoltage(items[i].Key))
      findings.append({StepOfSection(items[i].Section), QString::fromLatin1(items[i].Key), read[i],
                       *items[i].Field, false, QString(), items[i].Field});
  return findings;
}

ProgramFinding NothingToRun(int start, int stop) {
  const QString why = English()
                          ? QString("No step from %1 to %2 has a length: the program cannot run.")
                                .arg(start)
                                .arg(stop)
                          : QString::fromUtf8("第 %1 步到第 %2 步的时间都为 0，程序无法运行。")
                                .arg(start)
                                .arg(stop);
  return {-1, QString(), 0, 0, true, why, nullptr};
}

// The longest phase of the steps start..stop, in 0.01 s; Phase is a ListPhase
// or a RampPhase.
template <class Steps> int64_t LongestPhase(const Steps &steps, int start, int stop) {
  int64_t longest = 0;
  for (int phase = 0; phase < 3; ++phase) {
    int64_t total = 0;
    for (int s = start; s <= stop; ++s) {
      const auto &p = steps[s].Phase[phase];
      total += StepTimeHundredths(p.TimeH, p.TimeM, p.TimeS2P);
    }
    longest = std::max(longest, total);
  }
  return longest;
}

bool HasPrograms(int32_t modelType) {
  return modelType == kModelFPA || modelType == kModelFPB || modelType == kModelGS;
}

// A List or Ramp program: the corrections of its record check, and a refusal
// when its steps in start..stop have no length.
template <class Steps>
ProgramFindings CheckStepProgram(int32_t modelType, SettingKind kind, int (*check)(int),
                                 const ListSet &header, const Steps &steps) {
  if (!HasPrograms(modelType))
    return {};
  const SettingRecords saved = gProgram.Settings;
  ProgramFindings findings = CorrectionsOf(kind, [&] { check(modelType); });
  if (LongestPhase(steps, header.StartNo, header.StopNo) == 0)
    findings.append(NothingToRun(header.StartNo, header.StopNo));
  gProgram.Settings = saved;
  return findings;
}

} // namespace

ProgramFindings CheckListProgram(int32_t modelType) {
  return CheckStepProgram(modelType, SettingKind::ListAll, DataListCheckAllByModel, gListSet,
                          gListListSet);
}

ProgramFindings CheckRampProgram(int32_t modelType) {
  return CheckStepProgram(modelType, SettingKind::RampAll, DataRampCheckAllByModel, gRampSet,
                          gRampRampSet);
}

ProgramFindings CheckCrossProgram(int32_t modelType) {
  if (modelType != kModelGS)
    return {};
  const SettingRecords saved = gProgram.Settings;
  ProgramFindings findings = CorrectionsOf(SettingKind::CrossAll, [] { DataGSCrossCheckAll(); });
  int64_t total = 0;
  for (int e = gCrossListSet.StartNo; e <= gCrossListSet.StopNo; ++e)
    total += CrossEntryLength(gCrossSet[e]);
  if (total == 0)
    findings.append(NothingToRun(gCrossListSet.StartNo, gCrossListSet.StopNo));
  gProgram.Settings = saved;
  return findings;
}

void ApplyProgramFindings(const ProgramFindings &findings) {
  for (const ProgramFinding &f : findings)
    if (!f.Refused && f.Target)
      *f.Target = f.Kept;
}

bool ProgramRefused(const ProgramFindings &findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const ProgramFinding &f) { return f.Refused; });
}

QString ProgramFindingsText(const ProgramFindings &findings) {
  QString text;
  for (const ProgramFinding &f : findings) {
    if (f.Refused) {
      text += f.Why + '\n';
      continue;
    }
    if (f.Step >= 0)
      text +=
          English() ? QString("Step %1 ").arg(f.Step) : QString::fromUtf8("第 %1 步 ").arg(f.Step);
    text += QString("%1: %2 -> %3\n").arg(f.Field).arg(f.Read).arg(f.Kept);
  }
  return text;
}
