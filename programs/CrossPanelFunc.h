// The Cross (voltage-dip) panel of the GS source, headless: what its controls
// show (CrossPanelState) and its callbacks on gCrossListSet and gCrossSet.
// The window copies the controls' values in (display units) before a
// callback and everything back out after it, as on the Step panel. Every
// accepted edit is written at once while connected: the header with 90 40,
// the entry shown with 90 41 and its number, a whole program with group 37.
#pragma once

#include <array>

#include "programs/ProgramGraph.h"
#include "records/PanelViews.h"

// The value controls of the entry shown, in this order.
enum CrossValue : int {
  kCrossRatingFreq, // Hz, two decimals
  kCrossRatingVol,  // V, one decimal
  kCrossAngle,      // degrees, one decimal
  kCrossRatingTime, // s, three decimals
  kCrossDropVol,    // V
  kCrossKeepTime,   // s
  kCrossRiseTime,   // s
  kCrossResumeVol,  // V
  kCrossEndTime,    // s
  kCrossValueCount,
};

// The standard profiles of the four buttons.
enum CrossStandard : int {
  kCrossGER = 0,
  kCrossUSA = 1,
  kCrossENG = 2,
  kCrossCHI = 3,
  kCrossStandardCount = 4,
};

struct CrossPanelState {
  NumView StartNo, StopNo, CircleDegree;
  std::array<KeyView, kCrossStandardCount> Standard{};
  NumView Entry;                  // the entry shown, 0..7
  RingView OutChannel;            // phase mask: U 1, V 2, W 4
  std::array<RingView, 3> Wave{}; // 0 sine, 1..10 the THD groups
  std::array<NumView, kCrossValueCount> Value{};
  ProgramGraphView Graph;
  bool SaveLoadDimmed = false;
  bool DisModeDimmed = false;
  int DisModeChecked = 1;
};

// Validates the records for GS, sets the control limits and draws the
// preview at once when the program was read from the source.
void CrossPanelInit(CrossPanelState &panel);
// Record -> controls (a stop entry before the start entry becomes the start
// entry, in the record too); dimmed while running; restarts the 1 s redraw
// delay.
void DataFPFromCrossVarToPanel(CrossPanelState &panel);
// Header controls -> gCrossListSet: a stop before the start follows the end
// the user moved.
void DataFPFromPanelToCrossListVar(CrossPanelState &panel);
// Entry controls -> the entry shown, each value x scale rounded half up.
void DataFPFromPanelToCrossVar(CrossPanelState &panel);

// The callbacks.
void CrossHeaderChanged(CrossPanelState &panel); // start, stop, repeat count
void CrossEntryChanged(CrossPanelState &panel);  // mask, waveforms, values
void CrossEntrySelected(CrossPanelState &panel); // the entry selector
// Fills the header (start 0, stop 6) and entries 0..6 with profile k;
// entry 7 and the repeat count stay.
void SetCrossStandardStepAll(int k);
// A standard button: refused with the alarm box while alarming (false, nothing
// changes); else the profile into the records and onto the panel (true). The
// caller writes the program (CrossWriteProgram) when the user agrees.
bool CrossStandardKey(CrossPanelState &panel, int k);
// Queues the whole program (group 37) while connected.
void CrossWriteProgram();
// Files read into the records: show them; the entry file is written at once
// (90 41), a whole program goes through CrossWriteProgram by the caller.
void CrossFileLoadedAll(CrossPanelState &panel);
void CrossFileLoadedOne(CrossPanelState &panel);
// Menu items 8..11: graph display mode 1..4.
void CrossDisplayMode(CrossPanelState &panel, int mode);
void MenuCrossSaveLoadDimmed(CrossPanelState &panel, int busy);
void MenuCrossSetWaveMode(CrossPanelState &panel, int dim, int mode);
