// Normal and system settings between the main panel and the records: the
// scaling, line/phase voltage, and which controls are shown, limited or
// dimmed for each family and output mode. Every operation acts on the group
// gCurrentNormalGroup and on gSystemSet, and the family is taken from
// gPowerInfo.ModelType at the time of the call.
#pragma once

#include "app/MainPanelState.h"

// A panel value as stored: trunc(v x scale + 0.5).
int PanelToStored(double value, int scale);
// A stored value as shown: n / scale.
double StoredToPanel(int stored, int scale);

// 1 while the output is on or an alarm is pending: editing controls are dimmed.
int SettingsBusy();

// FC families (FCT, FCS).
void DataFCFromPanelToNormalVar(MainPanelState &panel);
void DataFCFromNormalVarToPanel(MainPanelState &panel);
void DataFCFromPanelToSystemVar(MainPanelState &panel);
void DataFCFromSystemVarToPanel(MainPanelState &panel);
void DataFCFromNormalVarToGroupPanel(MainPanelState &panel);

// The other families (FSA, FSB, FPA, FPB, GS, FL).
void DataFPFromPanelToNormalVar(MainPanelState &panel);
void DataFPFromNormalVarToPanel(MainPanelState &panel);
void DataFPFromPanelToSystemVar(MainPanelState &panel);
void DataFPFromSystemVarToPanel(MainPanelState &panel);
void DataFPFromNormalVarToGroupPanel(MainPanelState &panel);

// Normal and system settings of the family of the current model (the
// normal-and-system kind of the record-to-panel dispatch).
void DataFromNormalAndSystemVarToPanel(MainPanelState &panel);

// The working values of the FC voltage keys of the current group: with a
// non-zero flag from its Vol and percent steps, with 0 all cleared.
void CalFCPowerUpDown(int flag);

// Tells the user to change the output terminals (single <-> three phase).
void PopOutputLineChange();
