#include "records/Globals.h"

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
