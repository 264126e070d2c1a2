#include "app/gui/NormalMapping.h"

#include "app/NormalPanelMap.h"
#include "app/gui/ModelCatalogue.h"
#include "app/gui/PanelSync.h"

void ShowNormalAndSystemSettings() {
  DataFromNormalAndSystemVarToPanel(gPanelState);
  StateToPanel();
}

void RefreshMainPanelFromRecords() {
  ShowNormalAndSystemSettings();
  MainMenuNormalSaveLoadDimmed(SettingsBusy());
}
