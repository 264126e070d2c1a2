#include "app/gui/Navigation.h"

#include "app/MainTimer.h"
#include "app/OutputState.h"
#include "app/gui/GroupPanels.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/MeasureView.h"
#include "app/gui/NormalMapping.h"
#include "app/gui/ProgramSync.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "comm/CommScheduler.h"
#include "measure/gui/MeasureArea.h"
#include "measure/gui/MeasureDisplayPanel.h"
#include "programs/THDPanelFunc.h"
#include "programs/gui/ProgramPanels.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/SoftSet.h"
#include "ui/Dialogs.h"
#include "ui/Texts.h"

namespace {

constexpr int kPanelTop = 30;
constexpr int kPanelLeft = 5;
// Return the source to normal mode with the group in use.
constexpr int kClassWrite = 90;
constexpr int kReturnToNormal = 17;
// The Step panel's display-mode items 6..9 (modes 1..4).
constexpr int kStepFirstDisMode = 6;

// Steps 2 and 4 of showing a panel in place of the main panel.
void ShowInPlaceOfMain(QWidget *panel, int page) {
  gCurrentPanel = panel;
  gCurrentPage = page;
  panel->move(kPanelLeft, kPanelTop);
  panel->setWindowModality(Qt::ApplicationModal);
  panel->show();
  panel->raise();
  panel->activateWindow();
  gMainPanel->hide();
}

// Steps 2 of returning: the main panel comes back drawn from the records
// with the dimming of the current output and alarm state.
void ReturnToMain(QWidget *panel) {
  panel->hide();
  gMeasureArea->moveInto(gMainPanel->MeasureSlot);
  gMainPanel->move(kPanelLeft, kPanelTop);
  gMainPanel->show();
  gMainPanel->raise();
  gCurrentPanel = gMainPanel;
  gCurrentPage = kPageMain;
  RefreshMainPanelFromRecords();
}

bool FamilyHasPrograms() {
  const int model = gPowerInfo.ModelType;
  return model == kModelFPA || model == kModelFPB || model == kModelGS;
}

int DisplayProgram(int page) {
  if (GuardRunning())
    return 0;
  ProgramPanel *panel = ProgramPanelOfPage(page);
  if (page != kPageTHD) {
    // The shared measurement area keeps its graph or text view.
    gMeasureArea->moveInto(panel->MeasureSlot);
  }
  ShowInPlaceOfMain(panel, page);
  return 1;
}

int ExitProgram(int page) {
  if (page != kPageTHD && GuardRunning())
    return 0;
  ReturnToMain(ProgramPanelOfPage(page));
  if (page == kPageTHD && CheckTHDNeedToDownload() == 1 && gPowerInfo.Connected == 1)
    THDLeave(Dialogs().ConfirmPopup(Tx("Note", "提示"),
                                    Tx("If save changed THD data?", "谐波数据已更改，是否保存？")));
  const bool sends = page == kPageCross ? gPowerInfo.ModelType == kModelGS : FamilyHasPrograms();
  if (sends && gPowerInfo.Connected == 1)
    CommSetNewCmdSingleGroup(kClassWrite, kReturnToNormal, gCurrentNormalGroup);
  return 1;
}

} // namespace

int DisplayStepPanel() { return DisplayProgram(kPageStep); }
int DisplayListPanel() { return DisplayProgram(kPageList); }
int DisplayRampPanel() { return DisplayProgram(kPageRamp); }
int DisplayCrossPanel() { return DisplayProgram(kPageCross); }
int DisplayTHDPanel() { return DisplayProgram(kPageTHD); }

int DisplayProgramPanel(int page) {
  return page >= kPageStep && page <= kPageTHD ? DisplayProgram(page) : 0;
}

int DisplayFCGroupPanel() {
  ShowInPlaceOfMain(gFCGroupPanel, kPageFCGroup);
  return 1;
}

int DisplayFPGroupPanel() {
  ShowInPlaceOfMain(gFPGroupPanel, kPageFPGroup);
  return 1;
}

int DisplayMeasureDisplayPanel() {
  ShowInPlaceOfMain(gMeasureDisplayPanel, kPageMeasureHistory);
  gMeasureDisplayPanel->showAtNow();
  HistoryApplyViewHook(*gMeasureDisplayPanel);
  return 1;
}

int ExitStepToNormalPanel() { return ExitProgram(kPageStep); }
int ExitListToNormalPanel() { return ExitProgram(kPageList); }
int ExitRampToNormalPanel() { return ExitProgram(kPageRamp); }
int ExitCrossToNormalPanel() { return ExitProgram(kPageCross); }
int ExitTHDToNormalPanel() { return ExitProgram(kPageTHD); }

int ExitProgramToNormalPanel(int page) {
  return page >= kPageStep && page <= kPageTHD ? ExitProgram(page) : 0;
}

int ExitFCGroupToNormalPanel() {
  ReturnToMain(gFCGroupPanel);
  return 1;
}

int ExitFPGroupToNormalPanel() {
  ReturnToMain(gFPGroupPanel);
  return 1;
}

int ExitMearsureDisplayToNormalPanel() {
  gMeasureDisplayPanel->cancelExport();
  ReturnToMain(gMeasureDisplayPanel);
  return 1;
}

void ProgramPanelInitAndShow(int page) { ProgramPanelInitOnPanel(page); }

void ProgramPanelMenuItem(int page, int item) {
  ProgramPanel *panel = ProgramPanelOfPage(page);
  if (!panel)
    return;
  if (item == panel->exitItem()) {
    if (GuardAlarm())
      return;
    AutoSaveSetting();
    ExitProgram(page);
    return;
  }
  if (item == panel->helpItem()) {
    CallHelpFile();
    return;
  }
  if (page == kPageStep) {
    if (item >= kStepFirstDisMode && item < kStepFirstDisMode + 4)
      RunStepCallback(
          [item](StepPanelState &s) { StepDisplayMode(s, item - kStepFirstDisMode + 1); });
    else if (!GuardAlarm())
      StepFileItem(item);
    return;
  }
  if (page == kPageTHD) {
    if (!GuardAlarm())
      THDFileItem(item);
    return;
  }
  if (page == kPageList || page == kPageRamp) {
    ListMenuItem(page, item);
    return;
  }
  if (page == kPageCross)
    CrossMenuItem(item);
}

void ProgramPanelClose(int page) {
  AutoSaveSetting();
  ExitProgram(page);
}

void MeasureDisplayMenuItem(int item) {
  if (item == MeasureDisplayPanel::kMenuExit)
    ExitMearsureDisplayToNormalPanel();
  else if (item == MeasureDisplayPanel::kMenuHelp)
    CallHelpFile();
}
