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
// setting files
int FileReadNormalFCAll(const QString &path);
int FileWriteNormalFCAll(const QString &path);
int FileReadNormalFCOne(const QString &path, int group);
int FileWriteNormalFCOne(const QString &path, int group);
int FileReadNormalFPAll(const QString &path);
int FileWriteNormalFPAll(const QString &path);
int FileReadNormalFPOne(const QString &path, int group);
int FileWriteNormalFPOne(const QString &path, int group);
int FileReadSoftSet(const QString &path);
int FileWriteSoftSet(const QString &path);
void AutoSaveSetting();
void AutoSaveFCT();
void AutoSaveFCS();
void AutoSaveFSA();
void AutoSaveFSB();
void AutoSaveFPA();
void AutoSaveFPB();
void AutoSaveGS();
void AutoSaveFL();
void AutoLoadSetting(int modelType);
// database
int DatabaseOpenMeasureRecordByName(const QString &path, QString *setAsidePath);
int DatabaseCloseMeasure();
QString DatabaseSetAsideMessage(const QString &setAsidePath, int chinese);
// over-current limit
void UpdataOCPMax(int rating, int modelType);
// program preview state
#include <cstdint>
extern int32_t gStepSetDisMode, gListSetDisMode, gRampSetDisMode, gCrossSetDisMode;
extern int32_t gRefreshProWaveDelay;
