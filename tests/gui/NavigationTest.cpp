// Opening and leaving the panels from the main menu, with the running and
// alarm guards, and the language switch.
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QVBoxLayout>

#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Navigation.h"
#include "app/gui/Shell.h"
#include "measure/gui/MeasureArea.h"
#include "programs/gui/ProgramPanels.h"
#include "programs/gui/StepPanel.h"
#include "records/Globals.h"
#include "storage/Language.h"

namespace {

const QString kAlarmTitle = QString::fromUtf8("错误");
const QString kRunningTitle = QString::fromUtf8("警告");

struct PanelCase {
  const char *Name;
  int MenuItem;
  int Page;
  bool Operating;         // carries the output and measurement areas
  bool RunningBlocksExit; // leaving is refused while the output runs
};

const PanelCase kPrograms[] = {
    {"Step", MENU_PROGRAM_STEP, kPageStep, true, true},
    {"List", MENU_PROGRAM_LIST, kPageList, true, true},
    {"Ramp", MENU_PROGRAM_RAMP, kPageRamp, true, true},
    {"Cross", MENU_PROGRAM_CROSS, kPageCross, true, true},
    {"THD", MENU_THD_THD, kPageTHD, false, false},
};

using NavigationTest = ShellTest;

// An alarm or a running output refuses opening a program panel, each with its
// message; else it opens in place of the main panel. Once open, the running
// output keeps every panel but THD, and the alarm refuses the menu's exit
// while the close box still leaves, back to the main panel.
TEST_F(NavigationTest, ProgramPanelGuards) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_GS);
  const Message alarm{kAlarmTitle, QString::fromUtf8("电源报警，请退出报警态再操作！")};
  const Message running{kRunningTitle,
                        QString::fromUtf8("电源处于运行态无法切换状态\n请停止输出后再退出!")};
  for (const PanelCase &c : kPrograms) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(gMainPanel->RingGroup->isEnabled());
    ProgramPanel *panel = ProgramPanelOfPage(c.Page);
    for (int32_t *flag : {&gPowerInfo.Alarming, &gPowerInfo.OutputRunning}) {
      Dialogs_.Messages.clear();
      *flag = 1;
      MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
      *flag = 0;
      const Message &expected = flag == &gPowerInfo.Alarming ? alarm : running;
      ASSERT_EQ(Dialogs_.Messages.size(), 1u);
      EXPECT_EQ(Dialogs_.Messages[0].Title + Dialogs_.Messages[0].Text,
                expected.Title + expected.Text);
      EXPECT_EQ(gCurrentPage, kPageMain);
      EXPECT_FALSE(panel->isVisible());
    }

    // In place of the main panel, with the measurement area where it operates.
    Dialogs_.Messages.clear();
    gMainMenu->action(c.MenuItem)->trigger();
    EXPECT_TRUE(Dialogs_.Messages.empty());
    EXPECT_EQ(gCurrentPage, c.Page);
    EXPECT_EQ(gCurrentPanel, panel);
    EXPECT_TRUE(panel->isVisible() && panel->isModal() && !gMainPanel->isVisible());
    EXPECT_EQ(panel->pos(), QPoint(5, 30));
    EXPECT_FALSE(panel->windowTitle().isEmpty());
    EXPECT_EQ(panel->MeasureSlot != nullptr, c.Operating);
    if (c.Operating) {
      EXPECT_EQ(gMeasureArea->parentWidget(), panel->MeasureSlot->parentWidget());
    }
    gPowerInfo.OutputRunning = 1; // started at the source meanwhile
    panel->close();
    EXPECT_EQ(gCurrentPage == c.Page, c.RunningBlocksExit);
    if (!c.RunningBlocksExit) { // back with editing dimmed for the running output
      EXPECT_FALSE(gMainPanel->RingGroup->isEnabled());
    }
    gPowerInfo.OutputRunning = 0;
    if (!c.RunningBlocksExit)
      MAIN_MENU_ITEM_CALLBACK(c.MenuItem);

    Dialogs_.Messages.clear();
    gPowerInfo.Alarming = 1;
    panel->action(panel->exitItem())->trigger();
    EXPECT_EQ(gCurrentPage, c.Page);
    ASSERT_EQ(Dialogs_.Messages.size(), 1u);
    EXPECT_EQ(Dialogs_.Messages[0].Title, kAlarmTitle);
    panel->close();
    EXPECT_EQ(gCurrentPage, kPageMain);
    EXPECT_EQ(gCurrentPanel, gMainPanel);
    EXPECT_TRUE(gMainPanel->isVisible() && !panel->isVisible());
    EXPECT_EQ(gMeasureArea->parentWidget(), gMainPanel->MeasureSlot->parentWidget());
    EXPECT_FALSE(gMainPanel->RingGroup->isEnabled()); // dimmed for the alarm
    Restart();
    MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_GS);
  }
}

// The language entries retitle the main panel and the program panel opened
// after; without its language file the panels keep working with empty texts.
TEST_F(NavigationTest, LanguageSwitchRetitlesThePanelsAndMovesTheCheckMark) {
  QTemporaryDir onlyEnglish;
  QFile::copy(QDir(BuiltDataFolder()).filePath("English.dat"),
              QDir(onlyEnglish.path()).filePath("English.dat"));
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(gMainPanel->windowTitle(), QString::fromUtf8("Vexa 电源控制软件"));
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FPA);
  gMainMenu->action(MENU_SET_LANGUAGE_ENGLISH)->trigger();
  EXPECT_EQ(gPowerInfo.Language, 1);
  EXPECT_EQ(gMainPanel->windowTitle(), "Vexa Power Control");
  EXPECT_EQ(gMainMenu->menu(MENU_FILE)->title(), "File");
  EXPECT_EQ(gMainPanel->Connection->BtConnect->text(), "Connect");
  EXPECT_EQ(gMainPanel->Tabs->tabText(kTabNormal), "Normal");
  EXPECT_TRUE(gMainMenu->isChecked(MENU_SET_LANGUAGE_ENGLISH));
  EXPECT_FALSE(gMainMenu->isChecked(MENU_SET_LANGUAGE_CHINESE));
  MAIN_MENU_ITEM_CALLBACK(MENU_PROGRAM_STEP);
  EXPECT_EQ(gStepPanel->windowTitle(), "Step program");
  EXPECT_EQ(gStepPanel->menu(1)->title(), "File");
  EXPECT_EQ(gMeasureArea->TablePhaseHeader[0]->text(), "Phase U");
  ExitProgramToNormalPanel(kPageStep);

  SetLanguageFolder(onlyEnglish.path());
  gMainMenu->action(MENU_SET_LANGUAGE_CHINESE)->trigger();
  EXPECT_EQ(gPowerInfo.Language, 0);
  EXPECT_TRUE(gMainMenu->isChecked(MENU_SET_LANGUAGE_CHINESE));
  EXPECT_TRUE(gMainPanel->windowTitle().isEmpty());
  EXPECT_TRUE(gMainMenu->menu(MENU_FILE)->title().isEmpty());
  EXPECT_TRUE(Dialogs_.Messages.empty());
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_GS); // the controls still work
  EXPECT_EQ(gPowerInfo.ModelType, kModelGS);
}

} // namespace
