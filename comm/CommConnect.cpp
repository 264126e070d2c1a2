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

std::string CommPortText() {
  const PowerInfo &info = gPowerInfo;
  switch (info.CommType) {
  case kCommLAN: {
    const std::string address =
        std::to_string(info.CommTypeLAN_IP1) + "." + std::to_string(info.CommTypeLAN_IP2) + "." +
        std::to_string(info.CommTypeLAN_IP3) + "." + std::to_string(info.CommTypeLAN_IP4) + ":" +
        std::to_string(info.CommTypeLAN_Port);
    return (English() ? "LAN " : "网口 ") + address;
  }
  case kCommGPIB:
    return (English() ? "GPIB address " : "GPIB 地址 ") + std::to_string(info.CommTypeGPIBPort);
  default:
    return (English() ? "serial port " : "串口 ") + PortUartDeviceName(info.CommTypeRS232Port);
  }
}

std::string CommOpenErrorText() {
  const PortOpenFailure failure = ActiveCommPort().OpenFailure();
  const bool en = English();
  std::string why;
  switch (failure.Fault) {
  case kOpenFaultNone:
    return en ? "Open port error. Please reset." : "通讯端口打开错误，请重新选择端口！";
  case kOpenFaultNoDevice:
    why = en ? "there is no such device." : "没有这个设备。";
    break;
  case kOpenFaultPermission:
    why =
        en ? "permission denied. The device belongs to group \"" + failure.Group +
                 "\": add your user to that group and log in again."
           : "没有权限。该设备属于用户组“" + failure.Group + "”：请把当前用户加入该组后重新登录。";
    break;
  case kOpenFaultBusy:
    why = en ? "another program is using the port." : "端口正被其他程序使用。";
    break;
  case kOpenFaultRefused:
    why = en ? "the connection was refused: nothing listens on that TCP port."
             : "连接被拒绝：该 TCP 端口上没有程序在监听。";
    break;
  case kOpenFaultNoAnswer:
    why = en ? "nothing answered at that address." : "该地址没有应答。";
    break;
  case kOpenFaultNoGpibDriver:
    why = en ? "no GPIB driver library was found." : "未找到 GPIB 驱动库。";
    break;
  case kOpenFaultGpibDevice:
    why = en ? "the GPIB driver refused the device." : "GPIB 驱动拒绝了该设备。";
    break;
  default:
    why = en ? "the port could not be opened." : "端口无法打开。";
    break;
  }
  return en ? "Cannot open " + CommPortText() + ": " + why
            : "无法打开" + CommPortText() + "：" + why;
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
  // The program may have installed its own handler that passes them on.
  if (!PortGetEventHandler())
    PortSetEventHandler(CommPortEvent);
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
  // Without a link the output's state is unknown: nothing runs or alarms
  // here until a source says so again.
  info.OutputRunning = 0;
  info.Alarming = 0;
  info.RemainSecond = 0;
  Hooks().RefreshOutputState();
  CommConnectToPanel(0);
  gMeasureOutput = MeasureOutput{};
  if (IsFCModel(info.ModelType))
    Hooks().DataFCFromMeasureToPanel();
  else
    Hooks().DataFPFromMeasureToPanel();
  DisplayPanelWait(0);
  ActiveCommPort().Close();
  gCommInfo.RxLen = 0;
  Hooks().MainMenuSetPowerModelDimmed(0);
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

std::string CommOpeningText() {
  return English() ? "Connecting to " + CommPortText() + " ..."
                   : "正在连接 " + CommPortText() + " ...";
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
