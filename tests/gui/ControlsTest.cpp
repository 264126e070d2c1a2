// The main panel's controls reach the core's callbacks and come back drawn
// from its record: edits change the records (and queue their command while
// connected), keys light their lamps, the output area follows the output.
#include <QLayout>
#include <QSignalBlocker>

#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Shell.h"
#include "comm/CommConnect.h"
#include "measure/gui/MeasureArea.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "ui/Panel.h"

namespace {

class ControlsTest : public ShellTest {
protected:
  void StartAs(int modelItem, bool connected) {
    ASSERT_EQ(Start(), 0);
    MAIN_MENU_ITEM_CALLBACK(modelItem);
    gPowerInfo.Connected = connected ? 1 : 0;
  }
  void TearDown() override {
    gPowerInfo.Connected = 0;
    ShellTest::TearDown();
  }
};

// An edit reaches the records and comes back drawn: the FC multiplier key
// steps the frequency and lights its lamp; connected, the same group write
// waiting once carries the newest values.
TEST_F(ControlsTest, FcMultiplierKeyStepsTheFrequencyAndLightsItsLamps) {
  StartAs(MENU_MODEL_FCT, true);
  gMainPanel->BtFCM2M4->click();
  EXPECT_EQ(gNormalFCSet[0].Freq, 1000);
  EXPECT_TRUE(gMainPanel->LampFCM2->isOn());
  EXPECT_FALSE(gMainPanel->KnobFreqFC->isEnabled()); // a multiplied frequency
  gMainPanel->BtFCM2M4->click();
  gMainPanel->BtFCM2M4->click();
  EXPECT_EQ(gNormalFCSet[0].Freq, 500);
  EXPECT_TRUE(gMainPanel->LampFC50->isOn());
  EXPECT_EQ(QueuedCommands(), (std::vector<Queued>{{90, 33, 0}}));
}

// The source's state on the five output areas and the menus; offline the
// switches are dimmed and show no state.
TEST_F(ControlsTest, OutputAreasAndMenusFollowTheSourceAndShowNoStateOffline) {
  StartAs(MENU_MODEL_GS, false);
  for (OutputArea *area : AllOutputAreas())
    EXPECT_FALSE(area->OutputSwitch->isEnabled() || area->DCSwitch->isEnabled() ||
                 area->StoppedText->isVisibleTo(area) || area->RunningText->isVisibleTo(area));
  gPowerInfo.Connected = 1;
  gPowerInfo.OutputRunning = 1;
  Hooks().RefreshOutputState();
  for (OutputArea *area : AllOutputAreas())
    EXPECT_TRUE(area->OutputSwitch->isEnabled() && area->OutputSwitch->isOn() &&
                area->RunningText->isVisibleTo(area) && !area->StoppedText->isVisibleTo(area));
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_PROGRAM));
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_FILE_SAVE_ALL));
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_HISTORY));
  EXPECT_FALSE(gMainPanel->RingGroup->isEnabled());
  CommConnectDeal(0); // the link is lost
  EXPECT_FALSE(gMainPanel->Output->OutputSwitch->isEnabled() ||
               gMainPanel->Output->OutputSwitch->isOn());
  EXPECT_FALSE(gMainMenu->isDimmed(MENU_PROGRAM));
  EXPECT_TRUE(gMainPanel->RingGroup->isEnabled());
}

// Readouts and charts while the source runs; dimmed when its measurements
// stop coming for three poll periods; no value and no chart points once it
// stops or the link is lost.
TEST_F(ControlsTest, ReadoutsAndChartsShowOnlyFreshMeasurements) {
  StartAs(MENU_MODEL_FPA, true);
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
