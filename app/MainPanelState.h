// What the main panel shows and holds, as plain values: every knob, entry,
// ring, switch and lamp of the normal-mode settings, the output area shared
// by the five operating panels, the measurement area, the normal-setting
// graph and the two group-choice panels.
//
// The window owns the widgets and keeps them in step with one instance of
// this record: before a control callback it copies the controls' values in
// (engineering units, as shown), after the call it copies everything out
// (values, limits, visibility, dimming, lamps) and carries out the requests
// of `Requests`. The core functions (MainPanelFunc.h, NormalPanelMap.h,
// OutputState.h, measure/LiveMeasure.h) read and write only this record and
// the program-wide records, so they run without a window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "measure/LiveMeasure.h"
#include "programs/NormalSetGraph.h"
#include "records/PanelViews.h"
#include "records/SettingRecords.h"

// FC families: the middle section with one voltage and one frequency knob,
// the front-panel keys and their lamps.
struct FCMiddleView {
  NumView KnobVol;
  NumView KnobFreq;
  KeyView KeyPhase; // U/V/W output mode
  std::array<LampView, 3> LampPhase{};
  KeyView KeyPhaseLine;
  LampView LampPhaseMode; // phase-voltage display
  LampView LampLineMode;  // line-voltage display
  KeyView KeyRange;
  LampView LampRangeAuto; // VolLevel 0
  LampView LampRangeHigh; // any other VolLevel
  KeyView Key5060;
  LampView Lamp50;
  LampView Lamp60;
  KeyView KeyMultiplier;
  LampView LampX2;
  LampView LampX4;
  KeyView Key120220;
  LampView Lamp120;
  LampView Lamp220;
  KeyView KeyUp;
  LampView LampUp;
  KeyView KeyDown;
  LampView LampDown;
};

// FC normal page: group ring and key, the up and down percent steps.
struct FCNormalPageView {
  RingView Group;
  KeyView GroupChoose;
  NumView UpPercent;
  NumView DownPercent; // shown negated
};

// FC system page.
struct FCSystemPageView {
  NumView OCP;       // A
  NumView StartRise; // s
  NumView UCompensation;
  RingView KeySound; // 0 off, 1 on
};

// Other families: the three-phase middle section (a voltage and a frequency
// control per phase U, V, W) and its labels.
struct PhaseMiddleView {
  std::array<NumView, 3> KnobVol{};
  std::array<NumView, 3> KnobFreq{};
  bool SingleLabelsVisible = true; // modes 0 and 5
  bool PhaseLabelsVisible = false; // every other mode
};

// The out-mode selectors of the normal page, one per variant.
enum OutModeRing : int {
  kOutModeRingFSA = 0,
  kOutModeRingFSB = 1,
  kOutModeRingFPA = 2,
  kOutModeRingFPB = 3,
  kOutModeRingGS = 4,
  kOutModeRingFL = 5, // three-phase only
  kOutModeRingCount = 6,
};
// The selector of a model code (FSA's for any unknown code).
int OutModeRingOf(int modelType);

// Normal page of the other families.
struct NormalPageView {
  RingView Group;
  KeyView GroupChoose;
  std::array<RingView, kOutModeRingCount> OutMode{}; // value = OutMode code
  RingView Range12;                                  // VolLevel codes 1 (low) and 2 (high)
  RingView Range23;                                  // VolLevel codes 2 and 3 (both high)
  NumView RiseTime;                                  // s
};

struct WavePageView {
  std::array<RingView, 3> Wave{}; // 0 sine, 1..10 the stored waveforms
};

struct SystemPageView {
  RingView UDisMode; // 0 phase, 1 line
  RingView KeySound;
  NumView OCP;
  NumView UCompensation;
};

struct SeparatePageView {
  bool Visible = false;             // mode 1 only
  std::array<RingView, 3> Switch{}; // U, V, W on when above 0
};

// The output area of each of the main, Step, List, Ramp and Cross panels;
// the five show the same state.
struct OutputAreaView {
  LampView AlarmLamp;
  std::string AlarmText;
  bool AlarmTextVisible = false;
  KeyView ClearAlarm;
  LampView OutputSwitch; // On = output running
  bool RunningVisible = false;
  bool RisingVisible = false; // running, still rising to its setting
  bool StoppedVisible = false;
  LampView DCOutput; // GS only (visibility is the model's business)
  NumView DCReading; // one decimal
};

// One row of the FC group-choice panel.
struct FCGroupRow {
  double Vol = 0;  // V
  double Freq = 0; // Hz
  int OutMode = 0;
  int VolLevel = 0;
  int UpPercent = 0;
  int DownPercent = 0; // negative, as the entry shows it
};

struct FCGroupPanelView {
  std::array<FCGroupRow, kFCGroupCount> Rows{};
  std::array<bool, kFCGroupCount> Radio{};
  int Chosen = 0; // the group marked on the panel
};

// One row of the FP group-choice panel.
struct FPGroupRow {
  int OutMode = 0;
  int OutChannel = 0;
  double VolU = 0, VolV = 0, VolW = 0, VolLine = 0;
  int VolLevel = 0;
  double FreqU = 0, FreqV = 0, FreqW = 0;
  double RiseTime = 0;
  double AngleUV = 0, AngleVW = 0, AngleUW = 0;
  int WaveU = 0, WaveV = 0, WaveW = 0;
  bool NoWaveVW = false; // single phase: the V and W cells show "no waveform"
};

struct FPGroupPanelView {
  std::array<FPGroupRow, kFPGroupCount> Rows{};
  std::array<bool, kFPGroupCount> Radio{};
  int Chosen = 0;
};

// One-shot requests to the window, carried out and reset by it after a call.
struct PanelRequests {
  // Menu dimming to apply now (1 dims); empty = leave as it is.
  std::optional<bool> NormalSaveLoadDimmed;
  std::optional<bool> PowerModelDimmed;
  std::optional<bool> ProgramDimmed;
  std::optional<bool> THDDimmed;
  std::optional<bool> MeasureHistoryDimmed;
  // The program panel in front (1 Step .. 5 THD) must show its records again
  // with the given busy state (output on or alarm): its record-to-panel
  // operation, its menu dimming and, for List and Ramp, the wave-mode menu.
  std::optional<int> RefreshProgramPage;
  bool ProgramPageBusy = false;
  // List and Ramp pages: the arguments of their wave-mode menu (single-phase
  // program, output running, display mode).
  bool ProgramSinglePhase = false;
  bool ProgramRunning = false;
  int ProgramDisMode = 1;
  // Strip charts to clear on all five panels (R1..R4).
  std::array<bool, 4> ClearChart{};
};

// Text of a language-file item in a language (1 English, otherwise Chinese).
using LanguageItemFn = std::function<std::string(int language, int item)>;

struct MainPanelState {
  // FC families
  FCMiddleView FCMiddle;
  FCNormalPageView FCNormal;
  FCSystemPageView FCSystem;
  // the other families
  PhaseMiddleView PhaseMiddle;
  NormalPageView Normal;
  WavePageView Wave;
  AnglePageView Angle;
  SystemPageView System;
  SeparatePageView Separate;

  NormalSetGraphView Graph;
  OutputAreaView Output;
  MeasureAreaView Measure;
  FCGroupPanelView FCGroupPanel;
  FPGroupPanelView FPGroupPanel;
  PanelRequests Requests;

  // The alarm texts (items 300..347 of the language files).
  LanguageItemFn ItemText;

  // Running and alarm flags seen by the previous output-state refresh; 255
  // at start so that the first refresh counts as a change.
  int32_t LastOutputRunning = 255;
  int32_t LastAlarming = 255;
};
