// The power-model entries reconfigure menus, tabs, middle section and knobs.
#include <QGroupBox>

#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
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

using ModelSwitchTest = ShellTest;

// Each entry from a model of the other kind, so every setting has to change.
TEST_F(ModelSwitchTest, MenuEntryReconfiguresThePanels) {
  ASSERT_EQ(Start(), 0);
  MainPanel *panel = gMainPanel;
  QTabWidget *tabs = panel->Tabs;
  for (const ModelCase &c : kModels) {
    SCOPED_TRACE(c.Name);
    MAIN_MENU_ITEM_CALLBACK(c.FC ? MENU_MODEL_GS : MENU_MODEL_FCT);
    gMainMenu->action(c.MenuItem)->trigger();
    EXPECT_EQ(gPowerInfo.ModelType, c.Code);
    for (const ModelCase &other : kModels)
      EXPECT_EQ(gMainMenu->isChecked(other.MenuItem), other.Code == c.Code) << other.Name;
    EXPECT_EQ(gMainMenu->isDimmed(MENU_SET_VIEW_TEXT), c.FC);
    for (int item : {MENU_PROGRAM_STEP, MENU_PROGRAM_LIST, MENU_PROGRAM_RAMP, MENU_THD_THD})
      EXPECT_EQ(gMainMenu->isDimmed(item), !c.Programs) << item;
    EXPECT_EQ(gMainMenu->isDimmed(MENU_PROGRAM_CROSS), !c.Cross);
    for (OutputArea *area : AllOutputAreas())
      EXPECT_EQ(area->DCBox->isVisibleTo(area), c.DC);

    // Middle section, knobs and tab pages (group 0 in mode 0: no angle, no
    // separate page).
    EXPECT_EQ(panel->MiddleFC->isVisibleTo(panel), c.FC);
    EXPECT_EQ(panel->MiddleLCD->isVisibleTo(panel), !c.FC);
    EXPECT_DOUBLE_EQ((c.FC ? panel->KnobFreqFC : panel->KnobFreq[2])->maximum(), c.FreqMax);
    EXPECT_EQ(tabs->isTabVisible(kTabNormal), !c.FC);
    EXPECT_EQ(tabs->isTabVisible(kTabNormalWave), c.Programs);
    EXPECT_EQ(tabs->isTabVisible(kTabFCNormal), c.FC);
    EXPECT_FALSE(tabs->isTabVisible(kTabNormalAngle) || tabs->isTabVisible(kTabSeparate));
    if (c.FC) {
      EXPECT_EQ(panel->BtFCUVW->isEnabled(), c.Code == kModelFCT);
    } else {
      for (int r = 0; r < kModeRingCount; ++r)
        EXPECT_EQ(!panel->RingOutMode[r]->isHidden(), r == c.ModeRing) << r;
      EXPECT_EQ(panel->RingOutMode[c.ModeRing]->count(), c.Modes);
      EXPECT_EQ(!panel->NumUComp->isHidden(), c.Compensation);
    }

    // Measurement area (graph view chosen again): FC shows its fixed charts.
    gMainMenu->action(MENU_SET_VIEW_GRAPH)->trigger();
    for (int k = 0; k < MeasureArea::kReadouts; ++k) {
      EXPECT_EQ(gMeasureArea->FixedLabel[k]->isVisibleTo(gMeasureArea), c.FC);
      EXPECT_EQ(gMeasureArea->Readout[k][1]->isVisibleTo(gMeasureArea), c.Code != kModelFCS);
    }
  }
}

} // namespace
