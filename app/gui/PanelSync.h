// The main panel's controls and the core's record of what they show
// (MainPanelState) kept in step: before a control callback the controls'
// values go into the record, the core acts on the record and the program's
// records, and afterwards everything the record says (values, limits,
// visibility, dimming, lamps, texts) goes back onto the widgets and its
// requests (menu dimming, chart clearing) are carried out.
#pragma once

#include <functional>

#include "app/MainPanelState.h"
#include "ui/ControlSync.h"
#include "ui/Controls.h"

// The one panel record of the program.
extern MainPanelState gPanelState;

// A fresh record whose alarm texts come from the language files.
void ResetPanelState();
// Widgets -> record: the values of every control the user can change.
void PanelToState();
// Record -> widgets, then the requests.
void StateToPanel();
// Record -> the output areas only, then the requests (an output-state
// refresh that leaves the running and alarm state as it was).
void OutputStateToPanel();
// Record -> the measurement area only (readouts and table; the frequent case).
void MeasureStateToPanel();
// One control callback: PanelToState, the core's callback, StateToPanel.
void RunPanelCallback(const std::function<void(MainPanelState &)> &callback);
// Connects every control of the main panel and of the five output areas and
// the measurement area to its callback.
void ConnectMainPanelControls();

// True while record-to-panel writes widgets: their signals are not the user's.
bool ApplyingState();
