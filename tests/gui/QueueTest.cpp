// What the shell queues for a connected source: language byte, setting
// files, program panels and their return to normal mode.
#include <QSpinBox>
#include <QTest>

#include "GuiTestSupport.h"
#include "app/gui/GroupPanels.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/Navigation.h"
#include "app/gui/Shell.h"
#include "programs/gui/ProgramPanels.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "ui/Controls.h"

namespace {

constexpr Queued kWriteSystem{90, 48, 0};

class QueueTest : public ShellTest {
protected:
  // The tests mark the program connected without a port: requests only queue.
  void TearDown() override {
    gPowerInfo.Connected = 0;
    ShellTest::TearDown();
  }
};

struct LanguageCase {
  const char *Name;
  int ModelItem;
  int Running;
  bool Sends;
};

const LanguageCase kLanguageCases[] = {
    {"FpaStopped", MENU_MODEL_FPA, 0, true},
    {"FpaRunning", MENU_MODEL_FPA, 1, false},
    {"FctStopped", MENU_MODEL_FCT, 0, false},
};

TEST_F(QueueTest, LanguageSwitchWritesTheLanguageByteOnlyWhenTheSourceCanTakeIt) {
  for (const LanguageCase &c : kLanguageCases) {
    SCOPED_TRACE(c.Name);
    Restart();
    MAIN_MENU_ITEM_CALLBACK(c.ModelItem);
    gPowerInfo.Connected = 1;
    gPowerInfo.OutputRunning = c.Running;
    gSystemSet.DeviceSysByte = 7;
    MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_ENGLISH);
    EXPECT_EQ(QueuedCommands(),
              c.Sends ? std::vector<Queued>{kWriteSystem} : std::vector<Queued>{});
    EXPECT_EQ(gSystemSet.DeviceSysByte, c.Sends ? 1 : 7);
    MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_ENGLISH); // already English: nothing
    EXPECT_EQ(QueuedCommands().size(), c.Sends ? 1u : 0u);
    MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_CHINESE);
    EXPECT_EQ(gSystemSet.DeviceSysByte, c.Sends ? 0 : 7);
    gPowerInfo.OutputRunning = 0;
  }
}

struct ProgramQueueCase {
  const char *Name;
  int ModelItem;
  int MenuItem;
  int Page;
  std::vector<Queued> Opening;     // the first time
  std::vector<Queued> OpeningRead; // with the program already read
  std::vector<Queued> Leaving;
};

// clang-format off
const ProgramQueueCase kProgramCases[] = {
    {"StepFpa", MENU_MODEL_FPA, MENU_PROGRAM_STEP, kPageStep,
     {{165, 34, 0}, {90, 18, 0}},
     {{165, 34, 0}, {90, 18, 0}}, {{90, 17, 3}}},
    {"ListGs", MENU_MODEL_GS, MENU_PROGRAM_LIST, kPageList,
     {{165, 35, 0, kGroupReadList}, {90, 19, 0}},
     {{90, 19, 0}}, {{90, 17, 3}}},
    {"RampFpb", MENU_MODEL_FPB, MENU_PROGRAM_RAMP, kPageRamp,
     {{165, 37, 0, kGroupReadRamp}, {90, 21, 0}},
     {{90, 21, 0}}, {{90, 17, 3}}},
    {"CrossGs", MENU_MODEL_GS, MENU_PROGRAM_CROSS, kPageCross,
     {{165, 40, 0, kGroupReadCross}, {90, 24, 0}},
     {{90, 24, 0}}, {{90, 17, 3}}},
    {"CrossFpa", MENU_MODEL_FPA, MENU_PROGRAM_CROSS, kPageCross,
     {{165, 40, 0, kGroupReadCross}, {90, 24, 0}}, {{90, 24, 0}}, {}},
    {"ThdFpa", MENU_MODEL_FPA, MENU_THD_THD, kPageTHD,
     {{165, 49, 0, kGroupReadTHD}}, {}, {{90, 17, 3}}},
};
// clang-format on

std::vector<Queued> TakeQueuedCommands() {
  std::vector<Queued> requests = QueuedCommands();
  gCommNewCmd = CommNewCmd{};
  return requests;
}

// Opening reads the program unless it was read since the connect and puts
// the source into its mode; leaving returns it to normal mode with the group
// in use.
TEST_F(QueueTest, ProgramPanelOpeningReadsAndSwitchesModeLeavingReturnsToTheGroupInUse) {
  for (const ProgramQueueCase &c : kProgramCases) {
    SCOPED_TRACE(c.Name);
    Restart();
    MAIN_MENU_ITEM_CALLBACK(c.ModelItem);
    gPowerInfo.Connected = 1;
    gCurrentNormalGroup = 3;
    MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
    ASSERT_EQ(gCurrentPage, c.Page);
    EXPECT_EQ(TakeQueuedCommands(), c.Opening);
    ExitProgramToNormalPanel(c.Page);
    EXPECT_EQ(TakeQueuedCommands(), c.Leaving);

    gCommInfo.ListDataOk = gCommInfo.RampDataOk = gCommInfo.CrossDataOk = gCommInfo.THDDataOk = 1;
    MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
    EXPECT_EQ(TakeQueuedCommands(), c.OpeningRead);
    ExitProgramToNormalPanel(c.Page);
    TakeQueuedCommands();
  }
}

struct TypingCase {
  const char *Name;
  int ModelItem;
  QAbstractSpinBox *(*Entry)();
  const char *Typed;
  int32_t *(*Field)();
  int32_t Stored;
};

const TypingCase kTypingCases[] = {
    {"FpaRiseTime", MENU_MODEL_FPA, []() -> QAbstractSpinBox * { return gMainPanel->NumRiseTime; },
     "2.5", [] { return &gNormalFPSet[0].RiseTime; }, 25},
    {"FctUpPercent", MENU_MODEL_FCT, []() -> QAbstractSpinBox * { return gMainPanel->NumUpPer; },
     "12", [] { return &gNormalFCSet[0].UpUPer; }, 12},
};

// Status replies (and a group read that brings another value) between the
// keystrokes leave the typed text alone; committing it writes the group.
TEST_F(QueueTest, TypedTextSurvivesRepliesAndItsCommitWritesTheGroup) {
  for (const TypingCase &c : kTypingCases) {
    SCOPED_TRACE(c.Name);
    Restart();
    MAIN_MENU_ITEM_CALLBACK(c.ModelItem);
    gPowerInfo.Connected = 1;
    gMainPanel->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(gMainPanel));
    QAbstractSpinBox *entry = c.Entry(); // on the page in front after the model switch
    entry->setFocus();
    entry->selectAll();
    const QString typed(c.Typed);
    for (qsizetype n = 1; n <= typed.size(); ++n) {
      QTest::keyClick(entry, typed[n - 1].toLatin1());
      Hooks().RefreshOutputState();
      *c.Field() += 10;
      Hooks().DataFPFromNormalVarToPanel();
      Hooks().DataFCFromNormalVarToPanel();
      EXPECT_EQ(entry->text(), typed.left(n));
    }
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(*c.Field(), c.Stored);
    EXPECT_EQ(QueuedCommands(), (std::vector<Queued>{{90, 33, 0}}));
  }
}

// What is saved through the file dialogs (offering the kinds of the model's
// family) loads back; loading all groups writes them all, one group, and the
// group panel's OK, only that group.
TEST_F(QueueTest, SavedGroupsLoadBackAndTheLoadsWriteWhatTheyChanged) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FPA);
  gNormalFPSet[3].VolU = gNormalFPSet[3].VolV = gNormalFPSet[3].VolW = 1500;
  gNormalFPSet[3].VolLine = 2598;
  Dialogs_.FileAnswers = {UserFile("all.FPNorAll"), UserFile("one.FPNorOne")};
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_SAVE_ALL);
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_SAVE_ONE);
  gNormalFPSet[3].VolU = 2200;
  gPowerInfo.Connected = 1;
  gCurrentNormalGroup = 5;
  Dialogs_.FileAnswers = {UserFile("all.FPNorAll"), UserFile("one.FPNorOne")};
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_LOAD_ALL);
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_LOAD_ONE);
  EXPECT_EQ(gNormalFPSet[3].VolU, 1500);
  EXPECT_EQ(TakeQueuedCommands(),
            (std::vector<Queued>{{90, 48, 0, kGroupWriteNormalAll}, {90, 33, 5}}));
  EXPECT_EQ(Dialogs_.FileSaves, (std::vector<bool>{true, true, false, false}));
  EXPECT_TRUE(Dialogs_.Messages.empty());
  gPowerInfo.Connected = 0;
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_FCT);
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_SAVE_ALL); // cancelled
  EXPECT_EQ(Dialogs_.FilePatterns.mid(3), (QStringList{"*.FPNorOne", "*.FCNorAll"}));
  gPowerInfo.Connected = 1;
  gMainPanel->BtGroupChooseFC->click();
  gFCGroupPanel->Radios->button(2)->click();
  gFCGroupPanel->BtOk->click();
  EXPECT_EQ(QueuedCommands(), (std::vector<Queued>{{90, 33, 2}}));
}

} // namespace
