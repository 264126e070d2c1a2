// The program panels' controls and the core's records of what they show
// (StepPanelState, ListPanelState, CrossPanelState, THDPanelState) kept in
// step, as PanelSync does for the main panel: a control's signal copies the controls into the
// record, runs the core callback and copies the record back onto the widgets (with the shared
// control writers of PanelSync), the menu state and the graph.
#pragma once

#include <QString>
#include <functional>

#include "programs/CrossPanelFunc.h"
#include "programs/ListPanelFunc.h"
#include "programs/StepPanelFunc.h"
#include "programs/THDPanelFunc.h"

extern StepPanelState gStepPanelState;
extern THDPanelState gTHDPanelState;
extern ListPanelState gListPanelState; // kind List
extern ListPanelState gRampPanelState; // kind Ramp
extern CrossPanelState gCrossPanelState;

// Fresh records for freshly created panels (nothing drawn yet).
void ResetProgramPanelStates();

void StepPanelToState();
void StepStateToPanel();
void RunStepCallback(const std::function<void(StepPanelState &)> &callback);

// The List and Ramp panels, by page (kPageList, kPageRamp). After the
// callback a whole-program write it asked for goes out once the program has
// passed the check against the connected model.
ListPanelState &ListStateOfPage(int page);
void ListPanelToState(int page);
void ListStateToPanel(int page);
void RunListCallback(int page, const std::function<void(ListPanelState &)> &callback);

void THDPanelToState();
void THDStateToPanel();
void RunTHDCallback(const std::function<void(THDPanelState &)> &callback);

void CrossPanelToState();
void CrossStateToPanel();
void RunCrossCallback(const std::function<void(CrossPanelState &)> &callback);

// The Step, List, Ramp and Cross previews: the core's arithmetic, then the drawing.
void RefreshStepGraphOnPanel(int recompute, int redraw, int mode);
void RefreshListGraphOnPanel(int page, int recompute, int redraw, int mode);
void RefreshCrossGraphOnPanel(int recompute, int redraw, int mode);
// The delayed redraw of the preview of the program page in front.
void RefreshProgramGraphOnPanel(int page);
// Before the output switch starts a program page's program: the check of the
// program against the connected model, with the user's answer (corrections
// applied and the program written again, or nothing sent). True when the
// switch may go ahead; always when the output runs or no program is checked.
bool ConfirmProgramRun(int page);
// The program page in front shows its records again after an output-state
// change (busy: output on or alarm): record to panel and the file items.
void RefreshProgramPageOnPanel(int page, bool busy);
// Initialises a program panel that was opened and shows its record.
void ProgramPanelInitOnPanel(int page);
// The menu items of the List and Ramp panels other than help and exit.
void ListMenuItem(int page, int item);
// The Step and THD file items (save and load) of the panels' menus.
void StepFileItem(int item);
void THDFileItem(int item);
// The Cross menu: file items, display modes (items 8..11).
void CrossMenuItem(int item);
// Loads a setting file into the panel as its load item does after the file
// dialog: only an existing file of the right kind, else the user is told
// and nothing changes. 1 when loaded.
int StepLoadFile(const QString &path);
// List or Ramp: the whole program (all) or the current step.
int ListLoadFile(int page, const QString &path, bool all);
int THDLoadFile(const QString &path, bool all);
int CrossLoadFile(const QString &path, bool all);

// Connects the controls of the Step, List, Ramp, Cross and THD panels to
// their callbacks.
void ConnectProgramPanelControls();
