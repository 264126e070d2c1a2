// The List and Ramp program panels, headless. They are twins: a program of
// 100 steps (0..99) under a header (start and stop step, repeat count,
// output mode, angles), edited one step at a time. A List step holds per
// phase one voltage and frequency, a Ramp step a start and a stop value of
// each; one implementation serves both, chosen by the panel record's Kind.
// The window copies the controls' values in (display units) before a
// callback and everything back out after it, as for the Step panel. Every
// accepted edit is written to the source at once while connected: the
// header (List 90 35, Ramp 90 37), the shown step (90 36 / 90 38 with its
// number) or, asked for through WriteProgramRequested, the whole program
// (command group 35 / 36), which the window checks with the user first.
#pragma once

#include <array>

#include "programs/StepPanelFunc.h"

enum ListPanelKind : int {
  kListPanelList = 0,
  kListPanelRamp = 1,
};

// One column (phase) of the step controls. [0] is the List value or the
// Ramp start, [1] the Ramp stop.
struct ListColumnView {
  std::array<NumView, 2> Vol;  // V
  std::array<NumView, 2> Freq; // Hz
  NumView TimeH, TimeM;
  NumView TimeS; // s, two decimals
  RingView Wave;
};

struct ListPanelState {
  ListPanelKind Kind = kListPanelList;
  std::array<RingView, kStepRingCount> OutMode{}; // value = OutMode code
  NumView StartNo, StopNo, CircleDegree;
  AnglePageView Angle;
  NumView StepNo; // the step selector
  std::array<ListColumnView, 3> Column{};
  std::array<NumView, 2> VolLine; // line-voltage entry in place of U's voltage
  bool HeadingsVWVisible = true;  // headings of the V and W columns
  bool FollowUVisible = false;    // the note that V and W run as U
  bool GSNotesVisible = false;
  ProgramGraphView Graph;

  // Menu: the four file items dimmed; display-mode items (modes 1..7)
  // dimmed, the checked mode.
  bool SaveLoadDimmed = false;
  std::array<bool, 7> DisModeDimmed{};
  int DisModeChecked = 1;
  // The whole program is to be written (connected only).
  bool WriteProgramRequested = false;
};

// A panel record of the kind, showing nothing yet.
ListPanelState FreshListPanelState(ListPanelKind kind);
// The display mode of the panel's graph (gListSetDisMode or gRampSetDisMode).
int32_t &ListDisMode(const ListPanelState &panel);

// Validates the program for the connected family and sets the panel up for
// it (GS notes, frequency limits, the model's mode ring, angle page hidden);
// draws the preview at once when the program was read from the source.
void ListPanelInit(ListPanelState &panel);
// Header and the current step -> controls with the enabling rules, the
// single-phase display-mode rule; restarts the 1 s redraw delay. A header
// whose stop lies before its start is first given stop = start.
void DataFPFromListVarToPanel(ListPanelState &panel);
// Header controls -> record: the output mode (with the output-terminal
// message), start and stop (the end that moved decides when they cross),
// repeat count, angles.
void DataFPFromPanelToListVar(ListPanelState &panel);
// Step controls -> step CurrentNo (rounding, line entry, even hundredths and
// the 0.02 s minimum, mode copies, the FPA/FPB waveform-frequency rule).
void DataFPFromPanelToListListVar(ListPanelState &panel);

// The callbacks.
void ListSetChanged(ListPanelState &panel);     // a header control or angle entry
void ListSetModeChanged(ListPanelState &panel); // an output-mode ring
void ListListSetChanged(ListPanelState &panel); // a step control
void ListStepChoose(ListPanelState &panel);     // the step selector
void ListStandardAngle(ListPanelState &panel);  // the angle-standard key
// Menu items 8..14: display modes 1..7.
void ListDisplayMode(ListPanelState &panel, int mode);
// A file was read into the whole program, or into the current step.
void ListFileLoadedAll(ListPanelState &panel);
void ListFileLoadedOne(ListPanelState &panel);
// Menu dimming: the file items while busy; the display modes for a
// single-phase or running program, with the check mark on mode; the five-
// step window's texts come with modes 5..7.
void MenuListSaveLoadDimmed(ListPanelState &panel, int busy);
void MenuListSetWaveMode(ListPanelState &panel, int singlePhase, int running, int mode);
