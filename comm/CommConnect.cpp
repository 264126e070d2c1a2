#include "comm/CommConnect.h"

#include "comm/CommPortFunc.h"
#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "storage/SoftSet.h"

#include <cstdio>

namespace {

bool English() { return gPowerInfo.Language == 1; }

} // namespace

const char *CommOpenErrorTitle() { return English() ? "Error" : "出错"; }

const char *CommOpenErrorText() {
  return English() ? "Open port error. Please reset." : "通讯端口打开错误，请重新选择端口！";
}

namespace {

// The port is open: the connect exchange starts. quiet: a source that never
// answers is not reported (the start-up attempt, a reconnection attempt).
void StartLink(bool quiet) {
  PowerInfo &info = gPowerInfo;
  gCommInfo = CommInfo{};
  CommClearMemoryBuff();
  CommClearNewCmdAll();
  info.Connected = 1;
  info.RemainSecond = 0;
  // The poll countdowns restart with every connection, so that a
  // connection polls on the same beat whatever the previous one left.
  CommPollRestart();
  gCommPoll.QuietLoss = quiet ? 1 : 0;
  CommSetNewCmdGroup(kGroupConnect);
  Hooks().MainMenuSetPowerModelDimmed(1);
}

void OpenEnded(int opened, bool quiet) {
  if (opened == kPortOpen)
    return StartLink(quiet);
  if (!quiet)
    Hooks().MessagePopup(CommOpenErrorTitle(), CommOpenErrorText());
}

} // namespace

void CommConnectDeal(int connect) {
  PowerInfo &info = gPowerInfo;
  CommLinkInfo &link = gCommLink;
  if (connect == 1) {
    if (info.Connected != 0 || link.Opening == 1)
      return;
    const bool quiet = gFirstConnect == 1;
    const int opened = ActiveCommPort().Open();
    if (opened != kPortOpening)
      return OpenEnded(opened, quiet);
    link.Opening = 1;
    link.OpenQuiet = quiet ? 1 : 0;
    Hooks().CommLinkStatus(CommOpeningText());
    return;
  }
  if (connect != 0)
    return;
  if (link.Opening == 1) {
    link.Opening = 0;
    ActiveCommPort().Close();
    Hooks().CommLinkStatus("");
    return;
  }
  if (info.Connected != 1)
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

void CommConnectTick() {
  CommLinkInfo &link = gCommLink;
  if (link.Opening != 1)
    return;
  const int state = ActiveCommPort().OpenState();
  if (state == kPortOpening)
    return;
  link.Opening = 0;
  Hooks().CommLinkStatus("");
  OpenEnded(state, link.OpenQuiet == 1);
}

std::string CommLinkName() {
  const PowerInfo &info = gPowerInfo;
  char text[300];
  switch (info.CommType) {
  case kCommLAN:
    std::snprintf(text, sizeof text, "%d.%d.%d.%d:%d", info.CommTypeLAN_IP1, info.CommTypeLAN_IP2,
                  info.CommTypeLAN_IP3, info.CommTypeLAN_IP4, info.CommTypeLAN_Port);
    break;
  case kCommGPIB:
    std::snprintf(text, sizeof text, "GPIB %d", info.CommTypeGPIBPort);
    break;
  default:
    if (info.CommTypeRS232Device[0] != '\0')
      std::snprintf(text, sizeof text, "%s", info.CommTypeRS232Device.data());
    else
      std::snprintf(text, sizeof text, "COM%d", info.CommTypeRS232Port);
    break;
  }
  return text;
}

std::string CommOpeningText() {
  return English() ? "Connecting to " + CommLinkName() + " ..."
                   : "正在连接 " + CommLinkName() + " ...";
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
