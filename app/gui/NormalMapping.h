// The normal and system settings of the current model shown on the main
// panel (through the panel record).
#pragma once

// The settings of the family of ModelType, record to panel.
void ShowNormalAndSystemSettings();
// The main panel drawn anew from the records with the dimming of the current
// output and alarm state (used on every return to the main panel).
void RefreshMainPanelFromRecords();
