// Core operations the shell calls that have not reached this branch yet; the
// stand-ins in PendingCore.cpp keep the shell building and are removed as the
// real ones arrive.
#pragma once

#include <QString>

// command queue
void CommSetNewCmdGroup(int group);
void CommSetNewCmdSingleGroup(int cmd1, int cmd2, int param);
// connection
void CommConnectDeal(int connect);
void CommConnectAtStartUp();
// 50 ms tick
void MainTimerTick();
void DisplayPanelWait(int show);
