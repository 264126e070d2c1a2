// The Step program panel, headless: what its controls show (StepPanelState)
// and its callbacks on gStepSet. The window copies the controls' values in
// (display units) before a callback and everything back out after it, as on
// the main panel. Every accepted edit is written to the source at once
// (write Step, 90 34) while connected; offline only the record changes.
#pragma once

#include <array>
#include <optional>

#include "programs/ProgramGraph.h"
#include "records/PanelViews.h"

// The output-mode rings, one per model; only the connected model's is shown.
enum StepModeRing : int {
  kStepRingFPA = 0,
  kStepRingFPB = 1,
  kStepRingGS = 2,
  kStepRingCount = 3,
};

// One column (phase) of the grid.
struct StepColumnView {
  NumView VolStart;  // V
  NumView VolStep;   // V, may be negative
  NumView FreqStart; // Hz
  NumView FreqStep;  // Hz, may be negative
  NumView StepCnt;
  NumView TimeH;
  NumView TimeM;
  NumView TimeS; // s, two decimals
};

struct StepPanelState {
  std::array<RingView, kStepRingCount> OutMode{}; // value = OutMode code
  std::array<RingView, 3> Wave{};                 // 0 sine, 1..10 the THD groups
  AnglePageView Angle;
  std::array<StepColumnView, 3> Column{};
  NumView VolLineStart; // line-voltage entry (mode 0 with line display)
  NumView VolLineStep;
  bool HeadingsVWVisible = true; // headings of the V and W columns
  bool GSNotesVisible = false;   // the two GS-only notes
  ProgramGraphView Graph;

  // Menu: save and load dimmed, display-mode items dimmed (single phase)
  // and the checked display mode (1..4).
  bool SaveLoadDimmed = false;
  bool DisModeDimmed = false;
  int DisModeChecked = 1;
  // The mode the record had before an edit of the mode settings.
  int LastOutMode = 0;
};

// A value in display units as stored, halves away from zero.
int StepPanelToStored(double value, int scale);

// Shared by the program panels (Step, List, Ramp).
// The output-mode ring of the connected model, or -1 for a model without programs.
int ProgramModeRing();
// Voltages are entered as line voltages: balanced mode with line display.
bool ProgramLineEntry(int outMode);
// Seconds of a step time as stored: even hundredths (an odd value loses
// one), and 0.02 s when hours, minutes and seconds are all 0.
int32_t ProgramStepHundredths(double seconds, int32_t hours, int32_t minutes);
// The output-terminal message when the mode switches to or from single phase.
void TellOutputTerminalChange(int oldMode, int newMode);
// Angles of an output mode: mode 16 from the angle entries, mode 0 the
// standard 120.0 and 240.0 degrees, others 0; V->W derived.
void ProgramAnglesFromPanel(int outMode, const AnglePageView &page, int32_t &angleUV,
                            int32_t &angleUW, int32_t &angleVW);
// The angle page: shown with mode 16 only, U->V, U->W and the derived V->W;
// its controls dimmed while running.
void ProgramAnglesToPanel(int outMode, int32_t angleUV, int32_t angleUW, AnglePageView &page);

// Validates gStepSet for the connected family and sets the panel up for it
// (GS notes, frequency limits, the model's mode ring, angle page hidden).
void StepPanelInit(StepPanelState &panel);
// Record -> controls with the enabling rules; restarts the 1 s redraw delay.
void DataFPFromStepVarToPanel(StepPanelState &panel);
// Grid -> record (rounding, even hundredths, 0.02 s minimum, line entry,
// waveform rule, mode copies).
void DataFPFromPanelToStepVar(StepPanelState &panel);
// Output mode, waveforms and angles -> record.
void DataFPFromPanelToStepOverVar(StepPanelState &panel);

// The callbacks.
void StepSetChanged(StepPanelState &panel);     // a grid control
void StepSetOverChanged(StepPanelState &panel); // a mode, waveform or angle control
void StepStandardAngle(StepPanelState &panel);  // the angle-standard key
// Menu items 6..9: graph display mode 1..4.
void StepDisplayMode(StepPanelState &panel, int mode);
// A Step file was read into gStepSet: show it and write it to the source.
void StepFileLoaded(StepPanelState &panel);
// Menu dimming: save and load while busy; the display modes with a
// single-phase program, with the check mark on mode.
void MenuStepSaveLoadDimmed(StepPanelState &panel, int busy);
void MenuStepSetWaveMode(StepPanelState &panel, int singlePhase, int mode);
