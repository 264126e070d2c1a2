// The check of a List, Ramp or Cross program against the connected model
// before it is written to the source or run: which fields the record check
// would correct (step, field, value, what it becomes) and whether the
// program can run at all. The check itself changes no record.
#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// One field of a program that the check for the connected model would
// change, or a reason the program cannot run at all.
struct ProgramFinding {
  int Step;      // step (List, Ramp: 0..99) or entry (Cross: 0..7); -1 = the header / whole program
  QString Field; // the field as the file names it: "FreqU", "TimeS2PV", "StopNo"
  int32_t Read;  // the value as it stands
  int32_t Kept;  // what the check makes of it (== Read when Refused)
  bool Refused;  // true: the program cannot be sent (no step of non-zero length in start..stop)
  QString Why;   // for Refused findings: the reason, in the interface language
  int32_t *Target; // the record field (nullptr for refusals)
};
using ProgramFindings = QList<ProgramFinding>;

// Checks gListSet/gListListSet, gRampSet/gRampRampSet or
// gCrossListSet/gCrossSet against the model's limits (each step's voltage,
// frequency and time, the waveform rule, the header, at least one step of
// non-zero length in start..stop) without changing the records. Models
// without the program give no findings.
ProgramFindings CheckListProgram(int32_t modelType);
ProgramFindings CheckRampProgram(int32_t modelType);
ProgramFindings CheckCrossProgram(int32_t modelType);

// Writes the corrections the findings name into the records (refusals
// change nothing).
void ApplyProgramFindings(const ProgramFindings &findings);
// True when a finding refuses the program.
bool ProgramRefused(const ProgramFindings &findings);

// One line per finding in the interface language: "Step 3 FreqU: 7000 ->
// 6500", header fields without a step ("StopNo: 3 -> 5"), refusals as
// their reason.
QString ProgramFindingsText(const ProgramFindings &findings);
