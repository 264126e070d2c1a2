#include "app/gui/PendingCore.h"

void CommSetNewCmdGroup(int) {}
void CommSetNewCmdSingleGroup(int, int, int) {}
void CommConnectDeal(int) {}
void CommConnectAtStartUp() {}
void MainTimerTick() {}
void DisplayPanelWait(int) {}
