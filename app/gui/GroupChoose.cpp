#include "app/gui/GroupChoose.h"

#include "app/MainPanelFunc.h"
#include "app/gui/GroupPanels.h"
#include "app/gui/LanguageSet.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Navigation.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Shell.h"
#include "records/Globals.h"

void ConnectGroupPanels() {
  QObject::connect(gMainPanel->BtGroupChoose, &QPushButton::clicked, gMainPanel,
                   [] { BT_GROUP_CHOOSE_CALLBACK(); });
  QObject::connect(gMainPanel->BtGroupChooseFC, &QPushButton::clicked, gMainPanel,
                   [] { BT_GROUP_CHOOSE_CALLBACK(); });
  gFCGroupPanel->OnRowChosen = [](int row) { ChooseFCGroup(gPanelState, row); };
  gFPGroupPanel->OnRowChosen = [](int row) { ChooseFPGroup(gPanelState, row); };
  gFCGroupPanel->OnOk = [] { BT_FC_GROUP_OK_CALL(); };
  gFPGroupPanel->OnOk = [] { BT_FP_GROUP_OK_CALL(); };
  gFCGroupPanel->OnCancel = [] { ExitFCGroupToNormalPanel(); };
  gFPGroupPanel->OnCancel = [] { ExitFPGroupToNormalPanel(); };
}

void BT_GROUP_CHOOSE_CALLBACK() {
  PanelToState();
  const GroupPanelChoice choice = GroupChooseKey(gPanelState);
  StateToPanel();
  if (choice == kFCGroupPanel) {
    PanelAllLanguageSet(kPageFCGroup);
    DisplayFCGroupPanel();
  } else if (choice == kFPGroupPanel) {
    PanelAllLanguageSet(kPageFPGroup);
    DisplayFPGroupPanel();
  }
}

void BT_FC_GROUP_OK_CALL() {
  if (FCGroupOk(gPanelState) == 1)
    ExitFCGroupToNormalPanel();
  else
    StateToPanel();
}

void BT_FP_GROUP_OK_CALL() {
  if (FPGroupOk(gPanelState) == 1)
    ExitFPGroupToNormalPanel();
  else
    StateToPanel();
}
