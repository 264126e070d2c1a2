#include "records/ViewHooks.h"

#include "records/Globals.h"

namespace {
ViewHooks gSilentHooks;
ViewHooks *gHooks = &gSilentHooks;
} // namespace

ViewHooks &Hooks() { return *gHooks; }

void SetHooks(ViewHooks *hooks) { gHooks = hooks ? hooks : &gSilentHooks; }

void DisplayPanelWait(int show) {
  PowerInfo &info = gPowerInfo;
  if (show == 1 && info.WaitPanelShown == 0) {
    Hooks().DisplayPanelWait(1);
    info.WaitPanelShown = 1;
  } else if (show == 0 && info.WaitPanelShown == 1) {
    Hooks().DisplayPanelWait(0);
    info.WaitPanelShown = 0;
  }
}

void MessagePopupInLanguage(const char *englishTitle, const char *englishText,
                            const char *chineseTitle, const char *chineseText) {
  if (gPowerInfo.Language == 1) {
    Hooks().MessagePopup(englishTitle, englishText);
  } else {
    Hooks().MessagePopup(chineseTitle, chineseText);
  }
}

int GuardAlarm() {
  if (gPowerInfo.Alarming != 1) {
    return 0;
  }
  MessagePopupInLanguage("Error", "Power is alarming. Please exit alarm state.", "错误",
                         "电源报警，请退出报警态再操作！");
  return 1;
}

int GuardRunning() {
  if (gPowerInfo.OutputRunning == 0) {
    return 0;
  }
  MessagePopupInLanguage("Warning", "Power is running\nPlease exit state after stop!", "警告",
                         "电源处于运行态无法切换状态\n请停止输出后再退出!");
  return 1;
}

int GuardRising() {
  if (!(gPowerInfo.RemainSecond > 0 && gPowerInfo.Connected == 1 &&
        gPowerInfo.OutputRunning == 1)) {
    return 0;
  }
  MessagePopupInLanguage("Please Wait", "Power is rising. Please wait.", "请稍后",
                         "电源缓升运行中，请缓升结束后再调节！");
  return 1;
}
