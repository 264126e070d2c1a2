// The measurement area's readouts and charts follow the output and the link
// (the rules behind the other controls are pinned by the main-panel tests and
// the end-to-end runs against the simulated source).
#include "measure/gui/MeasureArea.h"
#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

namespace {

using MeasureAreaTest = ShellTest;

// Readouts and charts while the source runs; dimmed when its measurements
// stop coming for three poll periods; no value and no chart points once it
// stops or the link is lost.
TEST_F(MeasureAreaTest, ReadoutsAndChartsShowOnlyFreshMeasurements) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FPA);
  gPowerInfo.Connected = 1;
  NumDisplay *pf = gMeasureArea->Readout[2][0];
  EXPECT_EQ(pf->text(), "---");
  gMeasureArea->Selector[2]->setRingValue(5); // power factor, three decimals
  gPowerInfo.OutputRunning = 1;
  Hooks().RefreshOutputState();
  gMeasureOutput.At(5, 0) = 987;
  gMeasureOutput.At(0, 1) = 2301;
  Hooks().DataFPFromMeasureToPanel();
  EXPECT_EQ(pf->text(), "0.987");
  EXPECT_EQ(gMeasureArea->Table[0][1]->text(), "230.1");
  for (long long tick = 1; tick <= 59; ++tick)
    Hooks().TimerTickView(tick);
  EXPECT_TRUE(pf->isEnabled());
  EXPECT_EQ(gMeasureArea->Chart[0]->pointCount(), 29);
  gMeasureArea->Chart[1]->doubleClicked();
  EXPECT_EQ(gMeasureArea->Chart[1]->pointCount(), 0);
  Hooks().TimerTickView(60);
  EXPECT_FALSE(pf->isEnabled());
  for (const bool linkLost : {false, true}) {
    Hooks().DataFPFromMeasureToPanel();
    EXPECT_TRUE(pf->isEnabled());
    if (linkLost) {
      CommConnectDeal(0);
    } else {
      gPowerInfo.OutputRunning = 0; // the source stopped by itself
      Hooks().RefreshOutputState();
    }
    EXPECT_EQ(pf->text() + gMeasureArea->Table[0][1]->text(), "------");
    const int points = gMeasureArea->Chart[0]->pointCount();
    for (long long tick = 61; tick <= 64; ++tick)
      Hooks().TimerTickView(tick);
    EXPECT_EQ(gMeasureArea->Chart[0]->pointCount(), points);
    gPowerInfo.OutputRunning = 1;
  }
}

} // namespace
