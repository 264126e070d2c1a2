// Defaults and normalisation of the program records: Step, List, Ramp,
// Cross and the harmonic (THD) tables, and the synthesis of one THD group.
// The checks correct every out-of-range field in place, silently, and return
// 1 when they changed something, else 0.
#pragma once

#include <cstdint>

#include "records/SettingRecords.h"

// Defaults.
void DataFPInitStepAll();
void DataFPInitListAll();
void DataFPInitListOne(int step);
void DataFPInitRampAll();
void DataFPInitRampOne(int step);
void DataFPInitCrossAll();
void DataFPInitCrossOne(int entry);
void DataFPInitTHDAll();
void DataFPInitTHDOne(int group);

// The fields of one Step phase (0 U, 1 V, 2 W).
using StepField = int32_t StepSet::*;
struct StepPhase {
  StepField VolStart, VolStep, FreqStart, FreqStep, StepCnt, TimeH, TimeM, TimeS2P, Wave;
};
extern const StepPhase kStepPhases[3];
// 1 when a phase may run a stored waveform: its frequency stays within
// 45.00..65.00 Hz over the whole program, from FreqStart to
// FreqStart + FreqStep x StepCnt (rising or falling).
int StepWaveAllowed(const StepSet &s, int phase);

// Step: isFPA 1 for FPA, 0 for FPB.
int DataFPStepCheck(int isFPA);
int DataGSStepCheck();

// List and Ramp: the header and every step, or one step (judged in the
// header's output mode).
int DataFPListCheckAll(int isFPA);
int DataFPListCheckOne(int isFPA, int step);
int DataGSListCheckAll();
int DataGSListCheckOne(int step);
int DataFPRampCheckAll(int isFPA);
int DataFPRampCheckOne(int isFPA, int step);
int DataGSRampCheckAll();
int DataGSRampCheckOne(int step);

// Cross (GS only): the header and the 8 entries, or one entry. A header
// whose stop entry lies before its start entry stops at the start entry.
int DataGSCrossCheckAll();
int DataGSCrossCheckOne(int entry);
// The length of one Cross entry in ms: rated, dip, rise and end times (a
// negative time counts as none).
int64_t CrossEntryLength(const CrossSet &entry);
// The voltage of a phase in the entry's mask, t ms into the entry, in 0.1 V:
// rated, dip, the linear rise to the resume voltage, resume.
int32_t CrossVoltageAt(const CrossSet &entry, int64_t t);

// Harmonic tables: orders 2..40 of one group or of all groups.
int DataTHDCheckAll();
int DataTHDCheckOne(int group);

// Synthesises the 360-point period of one THD group and sets WaveRms,
// WaveMax (not below 0) and WaveValid = 1.
void DataTHDCalWaveOne(int group);

// The checks the setting-file readers run after loading, chosen by the
// model code: FPA and FPB rules, GS rules, nothing (0) for other codes.
int DataStepCheckByModel(int modelType);
int DataListCheckAllByModel(int modelType);
int DataListCheckOneByModel(int modelType, int step);
int DataRampCheckAllByModel(int modelType);
int DataRampCheckOneByModel(int modelType, int step);
