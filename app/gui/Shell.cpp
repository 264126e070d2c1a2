#include "app/gui/Shell.h"

#include <QMenuBar>

#include "app/gui/AppMain.h"
#include "app/gui/CommSetPanel.h"
#include "app/gui/GroupChoose.h"
#include "app/gui/GroupPanels.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Navigation.h"
#include "app/gui/PanelSync.h"
#include "app/gui/ProgramSync.h"
#include "measure/gui/MeasureArea.h"
#include "measure/gui/MeasureDisplayPanel.h"
#include "programs/gui/CrossPanel.h"
#include "programs/gui/ListPanel.h"
#include "programs/gui/ProgramPanels.h"
#include "programs/gui/StepPanel.h"
#include "programs/gui/THDPanel.h"
#include "records/Globals.h"
#include "ui/Logo.h"

MainPanel *gMainPanel = nullptr;
StepPanel *gStepPanel = nullptr;
ListPanel *gListPanel = nullptr;
ListPanel *gRampPanel = nullptr;
CrossPanel *gCrossPanel = nullptr;
THDPanel *gTHDPanel = nullptr;
GroupPanel *gFCGroupPanel = nullptr;
GroupPanel *gFPGroupPanel = nullptr;
MeasureDisplayPanel *gMeasureDisplayPanel = nullptr;
CommPanel *gCommPanel = nullptr;
WaitPanel *gWaitPanel = nullptr;
AboutPanel *gAboutPanel = nullptr;
MainMenu *gMainMenu = nullptr;
MeasureArea *gMeasureArea = nullptr;
QWidget *gCurrentPanel = nullptr;
int gLogoWidth = 150;

namespace {

constexpr int kFCGroupColumns = 6;
constexpr int kFPGroupColumns = 17;

void ConnectProgramPanel(ProgramPanel *panel, int page) {
  panel->OnMenuItem = [page](int item) { ProgramPanelMenuItem(page, item); };
  panel->OnClose = [page] { ProgramPanelClose(page); };
}

void ConnectCommonAreas() {
  for (Logo *logo : AllLogos())
    QObject::connect(logo, &Logo::clicked, logo, [] { PIC_SOLTO_LOGO_CALLBACK(); });
  for (ConnectionBar *bar : AllConnectionBars()) {
    QObject::connect(bar->BtConnect, &QPushButton::clicked, bar,
                     [] { BT_COMM_CONNECT_CALLBACK(); });
    QObject::connect(bar->BtDisconnect, &QPushButton::clicked, bar,
                     [] { BT_COMM_CONNECT_CALLBACK(); });
  }
}

} // namespace

int LoadAllPanels() {
  gMainPanel = new MainPanel;
  gStepPanel = new StepPanel;
  gListPanel = new ListPanel(kProgramList);
  gRampPanel = new ListPanel(kProgramRamp);
  gCrossPanel = new CrossPanel;
  gTHDPanel = new THDPanel;
  gFCGroupPanel = new GroupPanel("FCGroupPanel", kFCGroupCount, kFCGroupColumns);
  gFPGroupPanel = new GroupPanel("FPGroupPanel", kFPGroupCount, kFPGroupColumns);
  gMeasureDisplayPanel = new MeasureDisplayPanel;
  gMainMenu = new MainMenu(gMainPanel->menuBar());
  gMeasureArea = new MeasureArea;
  gMeasureArea->moveInto(gMainPanel->MeasureSlot);
  gCurrentPanel = gMainPanel;

  gMainPanel->OnClose = [] { MAIN_PANEL_CALLBACK(); };
  ConnectProgramPanel(gStepPanel, kPageStep);
  ConnectProgramPanel(gListPanel, kPageList);
  ConnectProgramPanel(gRampPanel, kPageRamp);
  ConnectProgramPanel(gCrossPanel, kPageCross);
  ConnectProgramPanel(gTHDPanel, kPageTHD);
  gMeasureDisplayPanel->OnMenuItem = [](int item) { MeasureDisplayMenuItem(item); };
  gMeasureDisplayPanel->OnClose = [] { ExitMearsureDisplayToNormalPanel(); };
  ConnectGroupPanels();
  ConnectMainPanelControls();
  ConnectProgramPanelControls();
  ConnectCommonAreas();
  QObject::connect(gMainPanel->Timer50ms, &QTimer::timeout, gMainPanel,
                   [] { TIMER_50MS_CALLBACK(); });
  return 0;
}

void DiscardAllPanels() {
  DisplayPanelCommSet(0);
  DisplayPanelAbout(0);
  ShowWaitPopup(0);
  for (QWidget *panel : std::initializer_list<QWidget *>{
           gStepPanel, gListPanel, gRampPanel, gCrossPanel, gTHDPanel, gFCGroupPanel, gFPGroupPanel,
           gMeasureDisplayPanel, gMainPanel})
    delete panel;
  gMainPanel = nullptr;
  gStepPanel = nullptr;
  gTHDPanel = nullptr;
  gListPanel = gRampPanel = nullptr;
  gCrossPanel = nullptr;
  gFCGroupPanel = gFPGroupPanel = nullptr;
  gMeasureDisplayPanel = nullptr;
  gMainMenu = nullptr;    // owned by the main panel's menu bar
  gMeasureArea = nullptr; // owned by the panel it stood in
  gCurrentPanel = nullptr;
}

QList<Logo *> AllLogos() {
  return {gMainPanel->LogoPicture,          gStepPanel->LogoPicture,  gListPanel->LogoPicture,
          gRampPanel->LogoPicture,          gCrossPanel->LogoPicture, gTHDPanel->LogoPicture,
          gMeasureDisplayPanel->LogoPicture};
}

QList<ConnectionBar *> AllConnectionBars() {
  return {gMainPanel->Connection, gStepPanel->Connection,  gListPanel->Connection,
          gRampPanel->Connection, gCrossPanel->Connection, gTHDPanel->Connection};
}

QList<OutputArea *> AllOutputAreas() {
  return {gMainPanel->Output, gStepPanel->Output, gListPanel->Output, gRampPanel->Output,
          gCrossPanel->Output};
}

ProgramPanel *ProgramPanelOfPage(int page) {
  switch (page) {
  case kPageStep:
    return gStepPanel;
  case kPageList:
    return gListPanel;
  case kPageRamp:
    return gRampPanel;
  case kPageCross:
    return gCrossPanel;
  case kPageTHD:
    return gTHDPanel;
  default:
    return nullptr;
  }
}
