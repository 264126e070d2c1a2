#include "records/Globals.h"
#include "app/MainTimer.h"

#include <QTimer>

#include <gtest/gtest.h>

TEST(ProgramState, ResetZeroesEveryRecordThroughItsGlobalName) {
  gPowerInfo.ModelType = kModelGS;
  gNormalFPSet[9].VolU = 2200;
  gTHDSet[3].Wave[359] = -4000;
  gCurrentNormalGroup = 4;
  ResetProgramState();
  EXPECT_EQ(gPowerInfo.ModelType, 0);
  EXPECT_EQ(gNormalFPSet[9].VolU, 0);
  EXPECT_EQ(gTHDSet[3].Wave[359], 0);
  EXPECT_EQ(gCurrentNormalGroup, 0);
}

TEST(MainTimer, TicksEvery50Milliseconds) {
  QTimer *timer = StartMainTimer(nullptr);
  EXPECT_EQ(timer->interval(), 50);
  EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
  delete timer;
}
