// The program-wide records. They live together in one instance so that a
// test can put the whole program back to its start state with one call.
#pragma once

#include <array>

#include "records/CommInfo.h"
#include "records/DateTime.h"
#include "records/MeasureOutput.h"
#include "records/PowerModel.h"
#include "records/SettingRecords.h"

// Codes of gCurrentPage: the panel in front.
enum PageCode : int32_t {
  kPageMain = 0,
  kPageStep = 1,
  kPageList = 2,
  kPageRamp = 3,
  kPageCross = 4,
  kPageTHD = 5,
  kPageFCGroup = 6,
  kPageFPGroup = 7,
  kPageMeasureHistory = 8,
};

struct ProgramState {
  PowerInfo Info{};
  PowerState State{};
  SettingRecords Settings{};
  MeasureOutput Measure{};
  CommInfo Comm{};
  CommNewCmd NewCmd{};
  CommPollInfo CommPoll{};
  CommLinkInfo CommLink{};
  int32_t CurrentNormalGroup = 0;
  int32_t THDCurrentGroup = 0;
  // THD groups edited on the PC and not yet written to the source. Not part
  // of CommInfo: a connect keeps them (edits survive a connection).
  std::array<int32_t, 10> THDNeedDownload{};
  int32_t CurrentPage = 0;
  // Display modes of the program preview graphs and the delayed-redraw counter.
  int32_t StepSetDisMode = 1;
  int32_t ListSetDisMode = 1;
  int32_t RampSetDisMode = 1;
  int32_t CrossSetDisMode = 1;
  int32_t RefreshProWaveDelay = 0;
  int64_t TimerTick = 0;    // 50 ms ticks since start, never reset
  int32_t FirstConnect = 0; // 1 only while the start-up connection attempt runs
  DateTime DateTimeLast{};  // time of the last stored measurement row
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
inline CommPollInfo &gCommPoll = gProgram.CommPoll;
inline CommLinkInfo &gCommLink = gProgram.CommLink;
inline int32_t &gCurrentNormalGroup = gProgram.CurrentNormalGroup;
inline int32_t &gTHDCurrentGroup = gProgram.THDCurrentGroup;
inline auto &gTHDNeedDownload = gProgram.THDNeedDownload;
inline int32_t &gCurrentPage = gProgram.CurrentPage;
inline int32_t &gStepSetDisMode = gProgram.StepSetDisMode;
inline int32_t &gListSetDisMode = gProgram.ListSetDisMode;
inline int32_t &gRampSetDisMode = gProgram.RampSetDisMode;
inline int32_t &gCrossSetDisMode = gProgram.CrossSetDisMode;
inline int32_t &gRefreshProWaveDelay = gProgram.RefreshProWaveDelay;
inline int64_t &gTimerTick = gProgram.TimerTick;
inline int32_t &gFirstConnect = gProgram.FirstConnect;
inline DateTime &gDateTimeLast = gProgram.DateTimeLast;
inline DateTime &gDateTimeNow = gProgram.DateTimeNow;
