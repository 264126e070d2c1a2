// Normal and system settings from the records to the main panel: values,
// limits, visibility and dimming by family and output mode. Panel-to-record
// moves belong to the main panel's setting callbacks.
#pragma once

// 1 while the output runs or an alarm is pending: editing controls are dimmed.
int MainPanelBusy();

void DataFCFromNormalVarToPanel();
void DataFCFromSystemVarToPanel();
void DataFPFromNormalVarToPanel();
void DataFPFromSystemVarToPanel();
// The pair of the family of ModelType (FC or FP).
void ShowNormalAndSystemSettings();
// The main panel drawn anew from the records with the dimming of the current
// output and alarm state (used on every return to the main panel).
void RefreshMainPanelFromRecords();

// Working levels of the FC voltage keys from the current group: with a
// non-zero flag base = Vol, down = Vol x (100 - DownUPer) / 100 (at least
// 10), up = Vol x (100 + UpUPer) / 100 (at most 3000); with 0 all three 0.
void CalFCPowerUpDown(int flag);
