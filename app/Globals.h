// The program-wide records. They live together in one instance so that a
// test can put the whole program back to its start state with one call.
#pragma once

#include "app/PowerModel.h"
#include "comm/CommInfo.h"
#include "measure/DateTime.h"
#include "measure/MeasureOutput.h"
#include "settings/Records.h"

struct ProgramState {
  PowerInfo Info{};
  PowerState State{};
  SettingRecords Settings{};
  MeasureOutput Measure{};
  CommInfo Comm{};
  CommNewCmd NewCmd{};
  int32_t CurrentNormalGroup = 0;
  int32_t THDCurrentGroup = 0;
  int32_t CurrentPage = 0;
  DateTime DateTimeLast{}; // time of the last stored measurement row
  DateTime DateTimeNow{};
};

extern ProgramState gProgram;

// Zero-fills every program-wide record, as at program load.
void ResetProgramState();

// The names the rest of the program uses for the single instances.
inline PowerInfo &gPowerInfo = gProgram.Info;
inline PowerState &gPowerState = gProgram.State;
inline MeasureOutput &gMeasureOutput = gProgram.Measure;
inline SystemSet &gSystemSet = gProgram.Settings.System;
inline auto &gNormalFCSet = gProgram.Settings.NormalFC;
inline auto &gNormalFPSet = gProgram.Settings.NormalFP;
inline StepSet &gStepSet = gProgram.Settings.Step;
inline ListSet &gListSet = gProgram.Settings.List;
inline auto &gListListSet = gProgram.Settings.ListList;
inline RampSet &gRampSet = gProgram.Settings.Ramp;
inline auto &gRampRampSet = gProgram.Settings.RampRamp;
inline CrossListSet &gCrossListSet = gProgram.Settings.CrossList;
inline auto &gCrossSet = gProgram.Settings.Cross;
inline auto &gTHDSet = gProgram.Settings.THD;
inline CommInfo &gCommInfo = gProgram.Comm;
inline CommNewCmd &gCommNewCmd = gProgram.NewCmd;
inline int32_t &gCurrentNormalGroup = gProgram.CurrentNormalGroup;
inline int32_t &gTHDCurrentGroup = gProgram.THDCurrentGroup;
inline int32_t &gCurrentPage = gProgram.CurrentPage;
inline DateTime &gDateTimeLast = gProgram.DateTimeLast;
inline DateTime &gDateTimeNow = gProgram.DateTimeNow;
