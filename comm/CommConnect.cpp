#include "comm/CommConnect.h"

#include "comm/CommPortFunc.h"
#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "storage/SoftSet.h"

namespace {

bool English() { return gPowerInfo.Language == 1; }

} // namespace

const char *CommOpenErrorTitle() { return English() ? "Error" : "出错"; }

const char *CommOpenErrorText() {
  return English() ? "Open port error. Please reset." : "通讯端口打开错误，请重新选择端口！";
}

void CommConnectDeal(int connect) {
  PowerInfo &info = gPowerInfo;
  if (connect == 1) {
    if (info.Connected != 0)
      return;
    if (ActiveCommPort().Open() != 0) {
      if (gFirstConnect != 1)
        Hooks().MessagePopup(CommOpenErrorTitle(), CommOpenErrorText());
      return;
    }
    gCommInfo = CommInfo{};
    CommClearMemoryBuff();
    CommClearNewCmdAll();
    info.Connected = 1;
    info.RemainSecond = 0;
    // The poll countdowns restart with every connection, so that a
    // connection polls on the same beat whatever the previous one left.
    CommPollRestart();
    gCommPoll.QuietLoss = gFirstConnect == 1 ? 1 : 0;
    CommSetNewCmdGroup(kGroupConnect);
    Hooks().MainMenuSetPowerModelDimmed(1);
    return;
  }
  if (connect != 0 || info.Connected != 1)
    return;
  gCommInfo = CommInfo{};
  CommClearMemoryBuff();
  CommClearNewCmdAll();
  info.Connected = 0;
  CommConnectToPanel(0);
  gMeasureOutput = MeasureOutput{};
  if (IsFCModel(info.ModelType))
    Hooks().DataFCFromMeasureToPanel();
  else
    Hooks().DataFPFromMeasureToPanel();
  DisplayPanelWait(0);
  ActiveCommPort().Close();
  gCommInfo.RxLen = 0;
  Hooks().MainMenuSetPowerModelDimmed(info.OutputRunning != 0 ? 1 : 0);
}

void CommConnectToPanel(int connected) {
  Hooks().CommConnectToPanel(connected);
  if (connected == 0) {
    gPowerState.DCValue = 0;
    Hooks().RefreshDCOutputStateAndMeasure();
  }
}

void CommConnectAtStartUp() {
  gFirstConnect = 1;
  CommConnectDeal(1);
  gFirstConnect = 0;
}

void CommSwitchModelFiles(int32_t fromModel, int32_t toModel) {
  AutoSaveModel(fromModel);
  AutoLoadSetting(toModel);
}
