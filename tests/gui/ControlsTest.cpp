// The main panel's controls reach the core's callbacks and come back drawn
// from its record: edits change the records (and queue their command while
// connected), keys light their lamps, the output area follows the output.
#include <QSignalBlocker>

#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Shell.h"
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

TEST_F(ControlsTest, VoltageKnobOfAnFpaWritesTheGroupWhileStopped) {
  StartAs(MENU_MODEL_FPA, true);
  gCurrentNormalGroup = 0;
  gMainPanel->KnobVol[0]->setValue(219.96); // as typed: rounds to 220.0
  gMainPanel->KnobVol[0]->setValue(123.4);
  EXPECT_EQ(gNormalFPSet[0].VolU, 1234);
  EXPECT_EQ(QueuedCommands(), (std::vector<Queued>{{90, 33, 0}}));
  EXPECT_DOUBLE_EQ(gMainPanel->KnobVol[0]->value(), 123.4);
}

TEST_F(ControlsTest, OutModeSelectorRedrawsThePagesOfTheNewMode) {
  StartAs(MENU_MODEL_FPA, false);
  gMainPanel->RingOutMode[kModeRingFPA]->setRingValue(16);
  EXPECT_EQ(gNormalFPSet[0].OutMode, 16);
  EXPECT_TRUE(gMainPanel->Tabs->isTabVisible(kTabNormalAngle));
  EXPECT_FALSE(gMainPanel->Tabs->isTabVisible(kTabSeparate));
  EXPECT_TRUE(gMainPanel->KnobVol[1]->isEnabled());
  gMainPanel->RingOutMode[kModeRingFPA]->setRingValue(1);
  EXPECT_FALSE(gMainPanel->Tabs->isTabVisible(kTabNormalAngle));
  EXPECT_TRUE(gMainPanel->Tabs->isTabVisible(kTabSeparate));
  EXPECT_TRUE(gMainPanel->RingRange12->isVisibleTo(gMainPanel->Page[kTabNormal]));
  EXPECT_TRUE(QueuedCommands().empty()); // offline nothing is sent
}

TEST_F(ControlsTest, FcMultiplierKeyStepsTheFrequencyAndLightsItsLamps) {
  StartAs(MENU_MODEL_FCT, true);
  gMainPanel->BtFCM2M4->click();
  EXPECT_EQ(gNormalFCSet[0].Freq, 1000);
  EXPECT_TRUE(gMainPanel->LampFCM2->isOn());
  EXPECT_FALSE(gMainPanel->KnobFreqFC->isEnabled()); // a multiplied frequency
  gMainPanel->BtFCM2M4->click();
  EXPECT_TRUE(gMainPanel->LampFCM4->isOn());
  gMainPanel->BtFCM2M4->click();
  EXPECT_EQ(gNormalFCSet[0].Freq, 500);
  EXPECT_TRUE(gMainPanel->LampFC50->isOn());
  // The same group write waiting once carries the newest values.
  EXPECT_EQ(QueuedCommands(), (std::vector<Queued>{{90, 33, 0}}));
}

TEST_F(ControlsTest, OutputSwitchOfflineTogglesTheOutputAreasAndTheMenus) {
  StartAs(MENU_MODEL_GS, false);
  gMainPanel->Output->OutputSwitch->click();
  EXPECT_EQ(gPowerInfo.OutputRunning, 1);
  for (OutputArea *area : AllOutputAreas()) {
    EXPECT_TRUE(area->OutputSwitch->isOn());
    EXPECT_TRUE(area->RunningText->isVisibleTo(area));
    EXPECT_FALSE(area->StoppedText->isVisibleTo(area));
  }
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_PROGRAM));
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_FILE_SAVE_ALL));
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_HISTORY));
  EXPECT_FALSE(gMainPanel->RingGroup->isEnabled());
  gMainPanel->Output->OutputSwitch->click();
  EXPECT_EQ(gPowerInfo.OutputRunning, 0);
  EXPECT_FALSE(gMainMenu->isDimmed(MENU_PROGRAM));
  EXPECT_TRUE(gMainPanel->RingGroup->isEnabled());
}

TEST_F(ControlsTest, AlarmShowsItsTextAndTheClearKeyClearsItOffline) {
  StartAs(MENU_MODEL_FPA, false);
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_ENGLISH);
  gPowerInfo.Alarming = 1;
  gPowerState.AlarmCode = 1311;
  Hooks().RefreshOutputState();
  OutputArea *area = gMainPanel->Output;
  EXPECT_TRUE(area->AlarmText->isVisibleTo(area));
  EXPECT_EQ(area->AlarmText->text(), "1Phase U output over-voltage");
  EXPECT_TRUE(area->BtClearAlarm->isEnabled());
  EXPECT_FALSE(area->OutputSwitch->isVisibleTo(area));
  area->BtClearAlarm->click();
  EXPECT_EQ(gPowerInfo.Alarming, 0);
  EXPECT_FALSE(area->AlarmText->isVisibleTo(area));
  EXPECT_TRUE(area->StoppedText->isVisibleTo(area));
}

TEST_F(ControlsTest, MeasurementSelectorSetsThePrecisionAndTheReadoutsFollowTheSource) {
  StartAs(MENU_MODEL_FPA, false);
  gMeasureArea->Selector[2]->setRingValue(5); // power factor, three decimals
  EXPECT_EQ(gPowerInfo.MeasureItemR3, 5);
  EXPECT_EQ(gMeasureArea->Readout[2][0]->decimals(), 3);
  gMeasureOutput.At(5, 0) = 987;
  gMeasureOutput.At(0, 1) = 2301;
  Hooks().DataFPFromMeasureToPanel();
  EXPECT_EQ(gMeasureArea->Readout[2][0]->text(), "0.987");
  EXPECT_EQ(gMeasureArea->Table[0][1]->text(), "230.1");
}

TEST_F(ControlsTest, ChartsTakeAPointEveryOtherTickWhileTheOutputRuns) {
  StartAs(MENU_MODEL_FPA, false);
  gMainPanel->Output->OutputSwitch->click(); // offline: runs locally, charts cleared
  for (long long tick = 1; tick <= 10; ++tick)
    Hooks().TimerTickView(tick);
  for (StripChart *chart : gMeasureArea->Chart)
    EXPECT_EQ(chart->pointCount(), 5);
  gMeasureArea->Chart[1]->doubleClicked();
  EXPECT_EQ(gMeasureArea->Chart[1]->pointCount(), 0);
  EXPECT_EQ(gMeasureArea->Chart[0]->pointCount(), 5);
}

} // namespace
