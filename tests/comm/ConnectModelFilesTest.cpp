// A source of another model than the one selected: the selected model's
// auto-save files are written and the new model's read before the connect
// exchange reads the source, so that what the source does not send keeps
// the new model's saved values.
#include "SchedulerTestSupport.h"

#include "settings/NormalSet.h"
#include "settings/ProgramSet.h"
#include "storage/SoftSet.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using ConnectModelFiles = LinkTest;

TEST_F(ConnectModelFiles, AnotherModelSavesTheOldFilesAndLoadsTheNewOnesBeforeReading) {
  DataFPInitNormalAll();
  DataFPInitStepAll();
  // What the FPA saved the last time it was used.
  gStepSet.VolStartU = 1000;
  AutoSaveFPA();
  // The FSA is selected now, with its own values.
  gPowerInfo.ModelType = kModelFSA;
  gStepSet.VolStartU = 500;
  gNormalFPSet[3].VolU = 1111;
  gCurrentNormalGroup = 3;

  source_.Identifier = IdentifierOf(kModelFPA);
  CommConnectDeal(1);
  while (source_.Sent.size() < 2 && gPowerInfo.Connected == 1)
    Ticks(1);
  // Right after the model query, before anything is read from the source.
  ASSERT_EQ(source_.Sent.back().Name, "A5 30");
  EXPECT_EQ(gStepSet.VolStartU, 1000) << "the Step program is the FPA's saved one";
  EXPECT_EQ(gCurrentNormalGroup, 0);
  ASSERT_TRUE(QFileInfo::exists("AutoSaveFSA.FPNorAll"));
  ASSERT_TRUE(RunUntilIdle());

  // The FSA's groups were saved before the source's groups replaced them.
  gPowerInfo.ModelType = kModelFSA;
  AutoLoadSetting(kModelFSA);
  EXPECT_EQ(gNormalFPSet[3].VolU, 1111);
}

} // namespace
