// Opening and leaving the panels from the main menu, with the running and
// alarm guards, and the language switch.
#include <QCheckBox>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/gui/GroupChoose.h"
#include "app/gui/GroupPanels.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Navigation.h"
#include "app/gui/Shell.h"
#include "measure/MeasureDemo.h"
#include "measure/gui/MeasureArea.h"
#include "measure/gui/MeasureDisplayPanel.h"
#include "programs/gui/ProgramPanels.h"
#include "programs/gui/StepPanel.h"
#include "programs/gui/THDPanel.h"
#include "records/Globals.h"

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

class ProgramPanelTest : public ShellTest, public ::testing::WithParamInterface<PanelCase> {
protected:
  void StartAsGS() {
    ASSERT_EQ(Start(), 0);
    MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_GS);
  }
};

TEST_P(ProgramPanelTest, OpensInPlaceOfTheMainPanelAndReturns) {
  const PanelCase &c = GetParam();
  StartAsGS();
  gMainMenu->action(c.MenuItem)->trigger();
  ProgramPanel *panel = ProgramPanelOfPage(c.Page);
  EXPECT_TRUE(Dialogs_.Messages.empty());
  EXPECT_EQ(gCurrentPage, c.Page);
  EXPECT_EQ(gCurrentPanel, panel);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_TRUE(panel->isModal());
  EXPECT_EQ(panel->pos(), QPoint(5, 30));
  EXPECT_FALSE(gMainPanel->isVisible());
  EXPECT_EQ(panel->MeasureSlot != nullptr, c.Operating);
  if (c.Operating) {
    EXPECT_EQ(gMeasureArea->parentWidget(), panel->MeasureSlot->parentWidget());
  }
  EXPECT_FALSE(panel->windowTitle().isEmpty());

  panel->action(panel->exitItem())->trigger();
  EXPECT_EQ(gCurrentPage, kPageMain);
  EXPECT_EQ(gCurrentPanel, gMainPanel);
  EXPECT_TRUE(gMainPanel->isVisible());
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(gMeasureArea->parentWidget(), gMainPanel->MeasureSlot->parentWidget());
}

TEST_P(ProgramPanelTest, RefusedWhileAlarmingWithTheAlarmMessage) {
  const PanelCase &c = GetParam();
  StartAsGS();
  gPowerInfo.Alarming = 1;
  MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Title, kAlarmTitle);
  EXPECT_EQ(Dialogs_.Messages[0].Text, QString::fromUtf8("电源报警，请退出报警态再操作！"));
  EXPECT_EQ(gCurrentPage, kPageMain);
  EXPECT_TRUE(gMainPanel->isVisible());
}

TEST_P(ProgramPanelTest, RefusedWhileRunningWithTheRunningMessage) {
  const PanelCase &c = GetParam();
  StartAsGS();
  gPowerInfo.OutputRunning = 1;
  MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Title, kRunningTitle);
  EXPECT_EQ(Dialogs_.Messages[0].Text,
            QString::fromUtf8("电源处于运行态无法切换状态\n请停止输出后再退出!"));
  EXPECT_EQ(gCurrentPage, kPageMain);
  EXPECT_FALSE(ProgramPanelOfPage(c.Page)->isVisible());
}

TEST_P(ProgramPanelTest, LeavingWhileRunningIsRefusedExceptOnThd) {
  const PanelCase &c = GetParam();
  StartAsGS();
  MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
  gPowerInfo.OutputRunning = 1; // started at the source meanwhile
  ProgramPanel *panel = ProgramPanelOfPage(c.Page);
  panel->close();
  EXPECT_EQ(gCurrentPage == c.Page, c.RunningBlocksExit);
  EXPECT_EQ(panel->isVisible(), c.RunningBlocksExit);
  if (!c.RunningBlocksExit) {
    // Back on the main panel with editing dimmed for the running output.
    EXPECT_FALSE(gMainPanel->RingGroup->isEnabled());
    EXPECT_TRUE(gMainMenu->isDimmed(MENU_FILE_SAVE_ALL));
  }
  gPowerInfo.OutputRunning = 0;
}

TEST_P(ProgramPanelTest, MenuExitIsRefusedWhileAlarmingButTheCloseBoxLeaves) {
  const PanelCase &c = GetParam();
  StartAsGS();
  MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
  ProgramPanel *panel = ProgramPanelOfPage(c.Page);
  gPowerInfo.Alarming = 1;
  panel->action(panel->exitItem())->trigger();
  EXPECT_EQ(gCurrentPage, c.Page);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Title, kAlarmTitle);
  panel->close();
  EXPECT_EQ(gCurrentPage, kPageMain);
  // The main panel comes back dimmed for the alarm.
  EXPECT_FALSE(gMainPanel->RingGroup->isEnabled());
  EXPECT_TRUE(gMainMenu->isDimmed(MENU_FILE_LOAD_ONE));
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramPanelTest, ::testing::ValuesIn(kPrograms),
                         [](const auto &info) { return std::string(info.param.Name); });

using NavigationTest = ShellTest;

TEST_F(NavigationTest, HistoryPanelHasNoGuard) {
  ASSERT_EQ(Start(), 0);
  gPowerInfo.Alarming = 1;
  MAIN_MENU_ITEM_CALLBACK(MENU_HISTORY_HISTORY);
  EXPECT_TRUE(Dialogs_.Messages.empty());
  EXPECT_EQ(gCurrentPage, kPageMeasureHistory);
  EXPECT_TRUE(gMeasureDisplayPanel->isVisible());
  EXPECT_EQ(gMeasureDisplayPanel->windowTitle(), QString::fromUtf8("历史测量记录"));
  gMeasureDisplayPanel->MenuExit->trigger();
  EXPECT_EQ(gCurrentPage, kPageMain);
  EXPECT_TRUE(gMainPanel->isVisible());
}

// Export from the history panel: the button waits for an item and a file, a
// cancelled export leaves no file, a finished one has every row (Chinese:
// with the byte-order mark) and says so.
TEST_F(NavigationTest, HistoryPanelExportsWithProgressAndCancel) {
  ASSERT_EQ(Start(), 0);
  MeasureDemoPlan plan;
  plan.Start = 800000000;
  plan.Seconds = 20000;
  ASSERT_EQ(MeasureDemoFill(gDatabaseInfo, plan), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_HISTORY_HISTORY);
  MeasureDisplayPanel *p = gMeasureDisplayPanel;
  DateTime start{};
  DateTimeSetSeconds(start, plan.Start);
  CalDateTimeFromVarToTime(start);
  p->toState();
  UpdataChooseDataTime(p->State, start);
  p->State.ExportHours = 5;
  p->fromState();
  const QString csv = UserFile("out.csv");
  Dialogs_.FileAnswers = {csv, csv};
  p->BtChooseFile->click();
  EXPECT_FALSE(p->BtExport->isEnabled());
  p->Items[kMeasVoltage]->click();
  ASSERT_TRUE(p->BtExport->isEnabled());

  p->BtExport->click();
  EXPECT_TRUE(p->Progress->isVisibleTo(p));
  EXPECT_FALSE(p->BtExport->isEnabled());
  EXPECT_FALSE(p->BtClear->isEnabled());
  p->BtCancelExport->click();
  EXPECT_EQ(UserFiles().filter(".csv"), QStringList());
  EXPECT_TRUE(Dialogs_.Messages.empty());

  p->BtExport->click();
  EXPECT_TRUE(RunUntil([p] { return !p->State.Exporting; }, 30000));
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Text, QString::fromUtf8("数据导出完成!"));
  const QByteArray text = ReadAll(csv);
  EXPECT_TRUE(text.startsWith("\xEF\xBB\xBF"));
  EXPECT_EQ(text.count('\n'), 2 + 5 * 3600);
  EXPECT_EQ(UserFiles().filter(".csv"), QStringList{"out.csv"});
}

TEST_F(NavigationTest, GroupPanelChoosesTheGroupOnOkAndKeepsItOnCancel) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FPA);
  gNormalFPSet[6].VolU = 1234;
  gMainPanel->BtGroupChoose->click();
  EXPECT_EQ(gCurrentPage, kPageFPGroup);
  EXPECT_TRUE(gFPGroupPanel->isVisible());
  EXPECT_EQ(gFPGroupPanel->markedRow(), 0);
  EXPECT_EQ(gFPGroupPanel->cell(6, 2), "123.4");
  // Modes, ranges and waveforms by name.
  EXPECT_EQ(gFPGroupPanel->cell(6, 0), QString::fromUtf8("三相输出"));
  EXPECT_EQ(gFPGroupPanel->cell(6, 6), QString::fromUtf8("高档 (300 V)"));
  EXPECT_EQ(gFPGroupPanel->cell(6, 14), QString::fromUtf8("正弦波"));
  gFPGroupPanel->Radios->button(6)->click();
  gFPGroupPanel->BtCancel->click();
  EXPECT_EQ(gCurrentPage, kPageMain);
  EXPECT_EQ(gCurrentNormalGroup, 0);

  gMainPanel->BtGroupChoose->click();
  gFPGroupPanel->Radios->button(6)->click();
  gFPGroupPanel->BtOk->click();
  EXPECT_EQ(gCurrentPage, kPageMain);
  EXPECT_EQ(gCurrentNormalGroup, 6);
  EXPECT_EQ(gMainPanel->RingGroup->ringValue(), 6);
  EXPECT_DOUBLE_EQ(gMainPanel->KnobVol[0]->value(), 123.4);
}

TEST_F(NavigationTest, FcGroupKeyOpensTheSevenGroupPanel) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FCT);
  gNormalFCSet[2].UpUPer = 12;
  gNormalFCSet[2].DownUPer = 8;
  gMainPanel->BtGroupChooseFC->click();
  EXPECT_EQ(gCurrentPage, kPageFCGroup);
  EXPECT_EQ(gFCGroupPanel->rowCount(), 7);
  // The mode by name; the step-down percent negative, as its entry shows it.
  EXPECT_EQ(gFCGroupPanel->cell(2, 2), QString::fromUtf8("三相输出"));
  EXPECT_EQ(gFCGroupPanel->cell(2, 4) + gFCGroupPanel->cell(2, 5), "12-8");
  gFCGroupPanel->close();
  EXPECT_EQ(gCurrentPage, kPageMain);
  // Refused during an alarm.
  gPowerInfo.Alarming = 1;
  gMainPanel->BtGroupChooseFC->click();
  EXPECT_EQ(gCurrentPage, kPageMain);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Title, kAlarmTitle);
}

TEST_F(NavigationTest, LanguageSwitchRetitlesTheMainPanelAndMovesTheCheckMark) {
  ASSERT_EQ(Start(), 0);
  gMainMenu->action(MENU_SET_LANGUAGE_ENGLISH)->trigger();
  EXPECT_EQ(gPowerInfo.Language, 1);
  EXPECT_EQ(gMainPanel->windowTitle(), "Vexa Power Control");
  EXPECT_EQ(gMainMenu->menu(MENU_FILE)->title(), "File");
  EXPECT_EQ(gMainPanel->Connection->BtConnect->text(), "Connect");
  EXPECT_EQ(gMainPanel->Tabs->tabText(kTabNormal), "Normal");
  EXPECT_TRUE(gMainMenu->isChecked(MENU_SET_LANGUAGE_ENGLISH));
  EXPECT_FALSE(gMainMenu->isChecked(MENU_SET_LANGUAGE_CHINESE));
  gMainMenu->action(MENU_SET_LANGUAGE_ENGLISH)->trigger(); // already English
  EXPECT_TRUE(gMainMenu->isChecked(MENU_SET_LANGUAGE_ENGLISH));
  gMainMenu->action(MENU_SET_LANGUAGE_CHINESE)->trigger();
  EXPECT_EQ(gPowerInfo.Language, 0);
  EXPECT_EQ(gMainMenu->menu(MENU_FILE)->title(), QString::fromUtf8("文件"));
  EXPECT_TRUE(gMainMenu->isChecked(MENU_SET_LANGUAGE_CHINESE));
}

TEST_F(NavigationTest, ProgramPanelTakesTheLanguageWhenOpened) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FPA);
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_ENGLISH);
  MAIN_MENU_ITEM_CALLBACK(MENU_PROGRAM_STEP);
  EXPECT_EQ(gStepPanel->windowTitle(), "Step program");
  EXPECT_EQ(gStepPanel->menu(1)->title(), "File");
  EXPECT_EQ(gStepPanel->Connection->BtConnect->text(), "Connect");
  EXPECT_EQ(gMeasureArea->TablePhaseHeader[0]->text(), "Phase U");
}

TEST_F(NavigationTest, MeasurementViewSwitchesBetweenGraphsAndTable) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FPA);
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_VIEW_TEXT);
  EXPECT_EQ(gPowerInfo.MeasureDisplayMode, 1);
  EXPECT_TRUE(gMeasureArea->TextView->isVisibleTo(gMeasureArea));
  EXPECT_FALSE(gMeasureArea->GraphView->isVisibleTo(gMeasureArea));
  EXPECT_TRUE(gMainMenu->isChecked(MENU_SET_VIEW_TEXT));
  EXPECT_FALSE(gMainMenu->isChecked(MENU_SET_VIEW_GRAPH));
  MAIN_MENU_ITEM_CALLBACK(MENU_PROGRAM_LIST); // the program panel follows the view
  EXPECT_TRUE(gMeasureArea->TextView->isVisibleTo(gMeasureArea));
  ExitListToNormalPanel();
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_VIEW_GRAPH);
  EXPECT_EQ(gPowerInfo.MeasureDisplayMode, 0);
  // A change of model shows the graphs again.
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_VIEW_TEXT);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_GS);
  EXPECT_EQ(gPowerInfo.MeasureDisplayMode, 0);
  EXPECT_TRUE(gMeasureArea->GraphView->isVisibleTo(gMeasureArea));
}

} // namespace
