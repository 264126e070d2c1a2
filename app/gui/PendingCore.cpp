#include "app/gui/PendingCore.h"

void CommSetNewCmdGroup(int) {}
void CommSetNewCmdSingleGroup(int, int, int) {}
void CommConnectDeal(int) {}
void CommConnectAtStartUp() {}
void MainTimerTick() {}
void DisplayPanelWait(int) {}
int DatabaseOpenMeasureRecordByName(const QString &, QString *) { return 0; }
int DatabaseCloseMeasure() { return 0; }
QString DatabaseSetAsideMessage(const QString &, int) { return {}; }
