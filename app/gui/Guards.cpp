#include "app/gui/Guards.h"

#include "app/Globals.h"
#include "ui/Dialogs.h"
#include "ui/Texts.h"

int AlarmGuard() {
  if (gPowerInfo.Alarming != 1)
    return 0;
  Dialogs().MessagePopup(Tx("Error", "错误"), Tx("Power is alarming. Please exit alarm state.",
                                                 "电源报警，请退出报警态再操作！"));
  return 1;
}

int RunningGuard() {
  if (gPowerInfo.OutputRunning == 0)
    return 0;
  Dialogs().MessagePopup(Tx("Warning", "警告"),
                         Tx("Power is running\nPlease exit state after stop!",
                            "电源处于运行态无法切换状态\n请停止输出后再退出!"));
  return 1;
}

int RisingGuard() {
  if (!(gPowerInfo.RemainSecond > 0 && gPowerInfo.Connected == 1 && gPowerInfo.OutputRunning == 1))
    return 0;
  Dialogs().MessagePopup(Tx("Please Wait", "请稍后"), Tx("Power is rising. Please wait.",
                                                         "电源缓升运行中，请缓升结束后再调节！"));
  return 1;
}
