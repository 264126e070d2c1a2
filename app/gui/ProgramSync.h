// The Step, List, Ramp and THD panels' controls and the core's records of
// what they show (StepPanelState, ListPanelState, THDPanelState) kept in
// step, as PanelSync does for
// the main panel: a control's signal copies the controls into the record,
// runs the core callback and copies the record back onto the widgets (with
// the shared control writers of PanelSync), the menu state and the graph.
#pragma once

#include <QString>
#include <functional>

#include "programs/ListPanelFunc.h"
#include "programs/StepPanelFunc.h"
#include "programs/THDPanelFunc.h"

extern StepPanelState gStepPanelState;
extern THDPanelState gTHDPanelState;
extern ListPanelState gListPanelState; // kind List
extern ListPanelState gRampPanelState; // kind Ramp

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
// The program of the List or Ramp page in front passes the check before it
// runs (nothing to correct, or the user accepted the corrections, which are
// then written); true elsewhere.
bool ProgramRunConfirmed();

void THDPanelToState();
void THDStateToPanel();
void RunTHDCallback(const std::function<void(THDPanelState &)> &callback);

// The Step, List and Ramp previews: the core's arithmetic, then the drawing.
void RefreshStepGraphOnPanel(int recompute, int redraw, int mode);
void RefreshListGraphOnPanel(int page, int recompute, int redraw, int mode);
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
// Loads a setting file into the panel as its load item does after the file
// dialog: only an existing file of the right kind, else the user is told
// and nothing changes. 1 when loaded.
int StepLoadFile(const QString &path);
// List or Ramp: the whole program (all) or the current step.
int ListLoadFile(int page, const QString &path, bool all);
int THDLoadFile(const QString &path, bool all);

// Connects the controls of the Step, List, Ramp and THD panels to their callbacks.
void ConnectProgramPanelControls();
