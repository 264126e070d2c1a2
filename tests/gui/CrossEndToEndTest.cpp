// The Cross panel against the simulated GS over TCP: the USA profile goes
// out as one whole-program write (the header and the eight entries), the
// source runs it and the preview shows the progress.

#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/ProgramSync.h"
#include "app/gui/Shell.h"
#include "comm/FPBlocks.h"
#include "programs/gui/CrossPanel.h"
#include "records/Globals.h"

namespace {

using CrossEndToEndTest = SourceTest;

bool LinkIdle() {
  return RunUntil([] { return gCommInfo.PresentValid == 0 && gCommNewCmd.Count == 0; }, 30000);
}

TEST_F(CrossEndToEndTest, USAProfileIsWrittenAndRunsWithProgress) {
  const QString log = UserFile("powersim.log");
  ASSERT_GT(StartSource({"--model", "GS", "--log", log}), 0);
  WriteSetDat(kModelGS);
  ASSERT_EQ(Start(true), 0);
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.Connected == 1 && ConnectionShown(); }, 60000));
  MAIN_MENU_ITEM_CALLBACK(MENU_PROGRAM_CROSS);
  ASSERT_TRUE(LinkIdle());
  ASSERT_EQ(Received(log, "write Cross entry"), 0);

  gCrossPanel->BtStandard[kCrossUSA]->click();
  ASSERT_TRUE(LinkIdle());
  EXPECT_EQ(Received(log, "write Cross header"), 1);
  EXPECT_EQ(Received(log, "write Cross entry"), 8);
  EXPECT_TRUE(Dialogs_.Messages.empty());

  // The output switch runs the program: the executed part grows.
  gCrossPanel->Output->OutputSwitch->click();
  ASSERT_TRUE(RunUntil([] { return gCrossPanelState.Graph.Progress > 1; }, 30000));
  const int first = gCrossPanelState.Graph.Progress;
  EXPECT_EQ(gPowerState.RunState, kRunCross);
  ASSERT_TRUE(RunUntil([first] { return gCrossPanelState.Graph.Progress > first + 20; }, 30000));
  // Entry 0 dips U, V and W to 18.0 V after 1 s at 120.0 V.
  const auto &u = gCrossPanelState.Graph.Points[0];
  EXPECT_DOUBLE_EQ(u[0], 120.0);
  EXPECT_DOUBLE_EQ(u[800 * 1200 / 35000], 18.0);
  gCrossPanel->Output->OutputSwitch->click();
  ASSERT_TRUE(RunUntil([] { return gPowerInfo.OutputRunning == 0; }, 30000));
  EXPECT_EQ(gCrossPanelState.Graph.Progress, 0);
}

} // namespace
