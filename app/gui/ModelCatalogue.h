// The switch that reconfigures the user interface for a power model: menus,
// middle section of the main panel, tab pages, out-mode selectors, the
// over-current limit and the model's own settings.
#pragma once

// Dispatches on ModelType (anything unknown is FSA); force 1 reconfigures
// even when the model is already the current one.
void ModelTypeChoose(int force);
void ModelFCTChoose(int force);
void ModelFCSChoose(int force);
void ModelFSAChoose(int force);
void ModelFSBChoose(int force);
void ModelFPAChoose(int force);
void ModelFPBChoose(int force);
void ModelGSChoose(int force);
void ModelFLChoose(int force);

// Store the model code and reconfigure menus and main panel.
void SetPowerModelFCTPanelDisplay();
void SetPowerModelFCSPanelDisplay();
void SetPowerModelFSAPanelDisplay();
void SetPowerModelFSBPanelDisplay();
void SetPowerModelFPAPanelDisplay();
void SetPowerModelFPBPanelDisplay();
void SetPowerModelGSPanelDisplay();
void SetPowerModelFLPanelDisplay();

// The middle section of the main panel.
void SetPowerModelLEDSetMiddle();
void SetPowerModelLCDSetMiddle();
void SetPowerModelFSSetMiddle();
void SetPowerModelFPSetMiddle();
void SetPowerModelGSSetMiddle();
void SetPowerModelFLSetMiddle();

// Menu dimming: 1 dims, 0 enables.
void MainMenuNormalSaveLoadDimmed(int dim);
void MainMenuSetPowerModelDimmed(int dim);
void MainMenuSetProgramDimmed(int dim);
void MainMenuSetTHDDimmed(int dim);

// The maximum of the over-current entries (system and FC system pages), in
// tenths of an ampere, as worked out from the model's rating.
void SetOCPDefineMax(int limitTenthAmp);
