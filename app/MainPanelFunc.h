// The control callbacks of the main panel in normal mode, headless: the
// window's *_CALLBACK functions copy their panel into the MainPanelState,
// call the matching function here on the event they act on, and copy the
// state back out. Each applies its guards (putting the panel back to the
// records after a refusal), changes the records of the current group
// through the panel mapping, and queues its command only while a source is
// connected; offline the records and the panel still change.
#pragma once

#include "app/MainPanelState.h"

// ---- FC families (FCT, FCS) ----
// Voltage knob (value changed).
void FCVoltageKnobChanged(MainPanelState &panel);
// Frequency knob (value changed): a multiplied frequency falls back to 65.0 Hz.
void FCFrequencyKnobChanged(MainPanelState &panel);
// The FC normal-setting entries (the percent steps).
void FCNormalSetChanged(MainPanelState &panel);
// Phase key: three-phase, then U, V, W alone.
void FCPhaseKey(MainPanelState &panel);
// Range key: VolLevel 1 <-> 0.
void FCRangeKey(MainPanelState &panel);
// 50/60 key: 50 <-> 60, 100 <-> 120, 200 <-> 240 Hz.
void FC5060Key(MainPanelState &panel);
// Multiplier key: 50 -> 100 -> 200 -> 50 Hz (and 60 -> 120 -> 240 -> 60).
void FCMultiplierKey(MainPanelState &panel);
// 120/220 key.
void FC120220Key(MainPanelState &panel);
// Phase/line display key (three-phase groups); also while running.
void FCPhaseLineKey(MainPanelState &panel);
// Voltage up and down keys: one level among down, base and up, while running.
void FCVoltageUpKey(MainPanelState &panel);
void FCVoltageDownKey(MainPanelState &panel);
// Group ring of the FC normal page.
void FCGroupRingChanged(MainPanelState &panel);
// FC system-page entries.
void FCSystemSetChanged(MainPanelState &panel);

// ---- The other families (FSA, FSB, FPA, FPB, GS, FL) ----
// Normal, waveform and angle entries that are fixed while the output runs.
void FPNormalChanged(MainPanelState &panel);
// Voltage and frequency entries, which may change while the output runs
// (both families): an on-line change while running, a group write otherwise.
void NormalOnlineChanged(MainPanelState &panel);
// Per-phase switches of the separate page.
void SeparateSwitchChanged(MainPanelState &panel);
// Group ring of the normal page.
void FPGroupRingChanged(MainPanelState &panel);
// System-page entries.
void FPSystemSetChanged(MainPanelState &panel);
// Standard-angle key: 120.0 and 240.0 degrees.
void StandardAngleKey(MainPanelState &panel);

// ---- Group-choice panels ----
enum GroupPanelChoice : int {
  kNoGroupPanel = 0,
  kFCGroupPanel = 1,
  kFPGroupPanel = 2,
};
// Group key: fills the family's group panel and marks the current group;
// returns the panel to open (after setting its texts), or none when refused.
GroupPanelChoice GroupChooseKey(MainPanelState &panel);
// Marks row n of a group panel (a radio button of a row, or on opening).
void ChooseFCGroup(MainPanelState &panel, int group);
void ChooseFPGroup(MainPanelState &panel, int group);
// OK key of a group panel: makes the marked group current. Returns 1 when
// the panel is to be left for the main panel, 0 when refused (it stays).
int FCGroupOk(MainPanelState &panel);
int FPGroupOk(MainPanelState &panel);

// ---- Output ----
// Output switch of the main, Step, List, Ramp and Cross panels (left click),
// acting by gCurrentPage.
void OutputSwitchClick(MainPanelState &panel);
// DC output switch (GS, left click).
void DCOutputSwitchClick(MainPanelState &panel);

// ---- Measurements ----
// Selector k (1..4) of any operating panel now shows quantity q.
void MeasureSelectorChanged(MainPanelState &panel, int k, int quantity);
// Chart k (1..4), or all four, to be cleared on every panel.
void ClearMeasureGraph(MainPanelState &panel, int k);
void ClearMeasureGraphAll(MainPanelState &panel);
