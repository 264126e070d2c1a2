// The power-model entries reconfigure menus, tabs, middle section and knobs.
#include <QGroupBox>

#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/ModelCatalogue.h"
#include "app/gui/Shell.h"
#include "measure/gui/MeasureArea.h"
#include "records/Globals.h"
#include "ui/Panel.h"

namespace {

struct ModelCase {
  const char *Name;
  int MenuItem;
  int Code;
  bool FC;
  bool Programs; // Step, List, Ramp and THD menus
  bool Cross;
  bool DC;
  double FreqMax;
  int ModeRing;
  int Modes; // output modes the selector offers
  bool Compensation;
};

const ModelCase kModels[] = {
    {"FCT", MENU_MODEL_FCT, kModelFCT, true, false, false, false, 65.0, -1, 0, false},
    {"FCS", MENU_MODEL_FCS, kModelFCS, true, false, false, false, 65.0, -1, 0, false},
    {"FSA", MENU_MODEL_FSA, kModelFSA, false, false, false, false, 240.0, kModeRingFSA, 3, true},
    {"FSB", MENU_MODEL_FSB, kModelFSB, false, false, false, false, 240.0, kModeRingFSB, 2, false},
    {"FPA", MENU_MODEL_FPA, kModelFPA, false, true, false, false, 240.0, kModeRingFPA, 4, true},
    {"FPB", MENU_MODEL_FPB, kModelFPB, false, true, false, false, 240.0, kModeRingFPB, 3, false},
    {"GS", MENU_MODEL_GS, kModelGS, false, true, true, true, 65.0, kModeRingGS, 2, true},
    {"FL", MENU_MODEL_FL, kModelFL, false, false, false, false, 65.0, kModeRingFL, 1, true},
};

void PrintTo(const ModelCase &c, std::ostream *out) { *out << c.Name; }

class ModelSwitchTest : public ShellTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(ModelSwitchTest, MenuEntryReconfiguresThePanels) {
  const ModelCase &c = GetParam();
  ASSERT_EQ(Start(), 0);
  // Start from a model of the other kind so every setting has to change.
  MAIN_MENU_ITEM_CALLBACK(c.FC ? MENU_MODEL_GS : MENU_MODEL_FCT);
  gMainMenu->action(c.MenuItem)->trigger();
  MainPanel *panel = gMainPanel;

  EXPECT_EQ(gPowerInfo.ModelType, c.Code);
  for (const ModelCase &other : kModels)
    EXPECT_EQ(gMainMenu->isChecked(other.MenuItem), other.Code == c.Code) << other.Name;
  EXPECT_EQ(gMainMenu->isDimmed(MENU_SET_VIEW_TEXT), c.FC);
  for (int item : {MENU_PROGRAM, MENU_PROGRAM_STEP, MENU_PROGRAM_LIST, MENU_PROGRAM_RAMP, MENU_THD,
                   MENU_THD_THD})
    EXPECT_EQ(gMainMenu->isDimmed(item), !c.Programs) << item;
  EXPECT_EQ(gMainMenu->isDimmed(MENU_PROGRAM_CROSS), !c.Cross);
  for (OutputArea *area : AllOutputAreas())
    EXPECT_EQ(area->DCBox->isVisibleTo(area), c.DC);

  // Middle section and knobs.
  EXPECT_EQ(panel->MiddleFC->isVisibleTo(panel), c.FC);
  EXPECT_EQ(panel->MiddleLCD->isVisibleTo(panel), !c.FC);
  if (c.FC) {
    EXPECT_DOUBLE_EQ(panel->KnobVolFC->minimum(), 1.0);
    EXPECT_DOUBLE_EQ(panel->KnobVolFC->maximum(), 300.0);
    EXPECT_DOUBLE_EQ(panel->KnobFreqFC->minimum(), 45.0);
    EXPECT_DOUBLE_EQ(panel->KnobFreqFC->maximum(), c.FreqMax);
    EXPECT_EQ(panel->KnobFreqFC->decimals(), 1);
    EXPECT_DOUBLE_EQ(panel->KnobFreqFC->singleStep(), 0.1);
    const bool threePhase = c.Code == kModelFCT;
    EXPECT_EQ(panel->BtFCUVW->isEnabled(), threePhase);
    EXPECT_EQ(panel->BtFCPL->isEnabled(), threePhase);
    for (Lamp *lamp : panel->LampFCPhase)
      EXPECT_EQ(lamp->isEnabled(), threePhase);
    EXPECT_EQ(panel->LampFCLineMode->isEnabled(), threePhase);
  } else {
    for (int phase = 0; phase < 3; ++phase) {
      EXPECT_DOUBLE_EQ(panel->KnobVol[phase]->maximum(), 300.0);
      EXPECT_DOUBLE_EQ(panel->KnobFreq[phase]->minimum(), 45.0);
      EXPECT_DOUBLE_EQ(panel->KnobFreq[phase]->maximum(), c.FreqMax);
      EXPECT_EQ(panel->KnobFreq[phase]->decimals(), 2);
      EXPECT_DOUBLE_EQ(panel->KnobFreq[phase]->singleStep(), 0.01);
    }
  }

  // Tab pages (group 0 in mode 0: no angle, no separate page).
  QTabWidget *tabs = panel->Tabs;
  EXPECT_EQ(tabs->isTabVisible(kTabNormal), !c.FC);
  EXPECT_EQ(tabs->isTabVisible(kTabNormalWave), c.Programs);
  EXPECT_FALSE(tabs->isTabVisible(kTabNormalAngle));
  EXPECT_EQ(tabs->isTabVisible(kTabSystem), !c.FC);
  EXPECT_EQ(tabs->isTabVisible(kTabFCNormal), c.FC);
  EXPECT_EQ(tabs->isTabVisible(kTabFCSystem), c.FC);
  EXPECT_FALSE(tabs->isTabVisible(kTabSeparate));
  if (!c.FC) {
    EXPECT_EQ(tabs->currentIndex(), kTabNormal);
    for (int r = 0; r < kModeRingCount; ++r)
      EXPECT_EQ(!panel->RingOutMode[r]->isHidden(), r == c.ModeRing) << r;
    EXPECT_EQ(panel->RingOutMode[c.ModeRing]->count(), c.Modes);
    EXPECT_EQ(!panel->NumUComp->isHidden(), c.Compensation);
    EXPECT_EQ(!panel->LabelUComp->isHidden(), c.Compensation);
  }

  // Measurement area (graph view chosen again): FC shows its four fixed charts.
  gMainMenu->action(MENU_SET_VIEW_GRAPH)->trigger();
  for (int k = 0; k < MeasureArea::kReadouts; ++k) {
    EXPECT_EQ(gMeasureArea->Selector[k]->isVisibleTo(gMeasureArea), !c.FC);
    EXPECT_EQ(gMeasureArea->FixedLabel[k]->isVisibleTo(gMeasureArea), c.FC);
    EXPECT_EQ(gMeasureArea->Readout[k][1]->isVisibleTo(gMeasureArea), c.Code != kModelFCS);
  }
}

INSTANTIATE_TEST_SUITE_P(AllModels, ModelSwitchTest, ::testing::ValuesIn(kModels),
                         [](const auto &info) { return std::string(info.param.Name); });

using ModelChooseTest = ShellTest;

TEST_F(ModelChooseTest, UnknownStoredModelGivesFsaAndChoosingTheCurrentModelChangesNothing) {
  gPowerInfo.ModelType = 7;
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(gPowerInfo.ModelType, kModelFSA);
  gCurrentNormalGroup = 4;
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FSA);
  EXPECT_EQ(gCurrentNormalGroup, 4);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FSB);
  EXPECT_EQ(gCurrentNormalGroup, 0);
}

TEST_F(ModelChooseTest, ConnectedSwitchReconfiguresButKeepsTheGroup) {
  ASSERT_EQ(Start(), 0);
  gPowerInfo.Connected = 1;
  gCurrentNormalGroup = 3;
  gPowerInfo.ModelType = kModelGS;
  ModelTypeChoose(1);
  EXPECT_EQ(gCurrentNormalGroup, 3);
  EXPECT_TRUE(gMainMenu->isChecked(MENU_MODEL_GS));
  EXPECT_FALSE(gMainMenu->isDimmed(MENU_PROGRAM_CROSS));
  gPowerInfo.Connected = 0;
}

TEST_F(ModelChooseTest, OverCurrentLimitBecomesTheMaximumOfBothEntries) {
  ASSERT_EQ(Start(), 0);
  SetOCPDefineMax(909);
  EXPECT_DOUBLE_EQ(gMainPanel->NumOCP->maximum(), 90.9);
  EXPECT_DOUBLE_EQ(gMainPanel->NumOCPFC->maximum(), 90.9);
}

TEST_F(ModelChooseTest, ProgramMenusOfFpFamiliesFollowTheOutputAndCrossOnlyOnGs) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FPA);
  MainMenuSetProgramDimmed(0);
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_PROGRAM_CROSS));
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_GS);
  MainMenuSetProgramDimmed(1);
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_PROGRAM_CROSS));
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_PROGRAM_STEP));
  MainMenuSetProgramDimmed(0);
  EXPECT_FALSE(gMainMenu->isDimmed(MENU_PROGRAM_CROSS));
}

} // namespace
