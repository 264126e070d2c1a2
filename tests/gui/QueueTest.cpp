// What the shell queues for a connected source: language byte, setting
// files, program panels and their return to normal mode.
#include <QFile>
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

struct Request {
  int Group, Cmd1, Cmd2, Param;
  bool operator==(const Request &) const = default;
};

void PrintTo(const Request &r, std::ostream *out) {
  *out << "{" << r.Group << ", " << r.Cmd1 << ", " << r.Cmd2 << ", " << r.Param << "}";
}

// The requests waiting in the queue, oldest first.
std::vector<Request> Queued() {
  std::vector<Request> requests;
  int index = gCommNewCmd.ReadIndex;
  for (int n = 0; n < gCommNewCmd.Count; ++n, index = (index + 1) % kCommQueueSize)
    requests.push_back({gCommNewCmd.Group[index], gCommNewCmd.Cmd1[index], gCommNewCmd.Cmd2[index],
                        gCommNewCmd.Param[index]});
  return requests;
}

constexpr Request kWriteSystem{kGroupSingle, 90, 48, 0};

class QueueTest : public ShellTest {
protected:
  // Started and marked connected without a port: requests only queue.
  void StartConnected(int modelItem) {
    ASSERT_EQ(Start(), 0);
    MAIN_MENU_ITEM_CALLBACK(modelItem);
    gPowerInfo.Connected = 1;
  }
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
    {"GsStopped", MENU_MODEL_GS, 0, true},
    {"FctStopped", MENU_MODEL_FCT, 0, false},
};

class LanguageQueueTest : public QueueTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageQueueTest, SwitchWritesTheLanguageByteOnlyWhenTheSourceCanTakeIt) {
  const LanguageCase &c = GetParam();
  StartConnected(c.ModelItem);
  gPowerInfo.OutputRunning = c.Running;
  gSystemSet.DeviceSysByte = 7;
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_ENGLISH);
  EXPECT_EQ(Queued(), c.Sends ? std::vector<Request>{kWriteSystem} : std::vector<Request>{});
  EXPECT_EQ(gSystemSet.DeviceSysByte, c.Sends ? 1 : 7);
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_ENGLISH); // already English: nothing
  EXPECT_EQ(Queued().size(), c.Sends ? 1u : 0u);
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_CHINESE);
  EXPECT_EQ(gSystemSet.DeviceSysByte, c.Sends ? 0 : 7);
  gPowerInfo.OutputRunning = 0;
}

INSTANTIATE_TEST_SUITE_P(Models, LanguageQueueTest, ::testing::ValuesIn(kLanguageCases),
                         [](const auto &info) { return std::string(info.param.Name); });

struct ProgramQueueCase {
  const char *Name;
  int ModelItem;
  int MenuItem;
  int Page;
  std::vector<Request> Opening;     // the first time
  std::vector<Request> OpeningRead; // with the program already read
  std::vector<Request> Leaving;
};

const ProgramQueueCase kProgramCases[] = {
    {"StepFpa",
     MENU_MODEL_FPA,
     MENU_PROGRAM_STEP,
     kPageStep,
     {{kGroupSingle, 165, 34, 0}, {kGroupSingle, 90, 18, 0}},
     {{kGroupSingle, 165, 34, 0}, {kGroupSingle, 90, 18, 0}},
     {{kGroupSingle, 90, 17, 3}}},
    {"ListGs",
     MENU_MODEL_GS,
     MENU_PROGRAM_LIST,
     kPageList,
     {{kGroupReadList, 165, 35, 0}, {kGroupSingle, 90, 19, 0}},
     {{kGroupSingle, 90, 19, 0}},
     {{kGroupSingle, 90, 17, 3}}},
    {"RampFpb",
     MENU_MODEL_FPB,
     MENU_PROGRAM_RAMP,
     kPageRamp,
     {{kGroupReadRamp, 165, 37, 0}, {kGroupSingle, 90, 21, 0}},
     {{kGroupSingle, 90, 21, 0}},
     {{kGroupSingle, 90, 17, 3}}},
    {"CrossGs",
     MENU_MODEL_GS,
     MENU_PROGRAM_CROSS,
     kPageCross,
     {{kGroupReadCross, 165, 40, 0}, {kGroupSingle, 90, 24, 0}},
     {{kGroupSingle, 90, 24, 0}},
     {{kGroupSingle, 90, 17, 3}}},
    {"CrossFpa",
     MENU_MODEL_FPA,
     MENU_PROGRAM_CROSS,
     kPageCross,
     {{kGroupReadCross, 165, 40, 0}, {kGroupSingle, 90, 24, 0}},
     {{kGroupSingle, 90, 24, 0}},
     {}},
    {"ThdFpa",
     MENU_MODEL_FPA,
     MENU_THD_THD,
     kPageTHD,
     {{kGroupReadTHD, 165, 49, 0}},
     {},
     {{kGroupSingle, 90, 17, 3}}},
};

class ProgramQueueTest : public QueueTest, public ::testing::WithParamInterface<ProgramQueueCase> {
protected:
  std::vector<Request> TakeQueued() {
    std::vector<Request> requests = Queued();
    gCommNewCmd = CommNewCmd{};
    return requests;
  }
};

// Opening reads the program unless it was read since the connect and puts
// the source into its mode; leaving returns it to normal mode with the group
// in use.
TEST_P(ProgramQueueTest, OpeningReadsAndSwitchesModeLeavingReturnsToTheGroupInUse) {
  const ProgramQueueCase &c = GetParam();
  StartConnected(c.ModelItem);
  gCurrentNormalGroup = 3;
  MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
  ASSERT_EQ(gCurrentPage, c.Page);
  EXPECT_EQ(TakeQueued(), c.Opening);
  ExitProgramToNormalPanel(c.Page);
  EXPECT_EQ(TakeQueued(), c.Leaving);

  gCommInfo.ListDataOk = gCommInfo.RampDataOk = gCommInfo.CrossDataOk = gCommInfo.THDDataOk = 1;
  MAIN_MENU_ITEM_CALLBACK(c.MenuItem);
  EXPECT_EQ(TakeQueued(), c.OpeningRead);
  ExitProgramToNormalPanel(c.Page);
  TakeQueued();
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramQueueTest, ::testing::ValuesIn(kProgramCases),
                         [](const auto &info) { return std::string(info.param.Name); });

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

class TypingQueueTest : public QueueTest, public ::testing::WithParamInterface<TypingCase> {};

// Status replies (and a group read that brings another value) between the
// keystrokes leave the typed text alone; committing it writes the group.
TEST_P(TypingQueueTest, TypedTextSurvivesRepliesAndItsCommitWritesTheGroup) {
  const TypingCase &c = GetParam();
  StartConnected(c.ModelItem);
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
  EXPECT_EQ(Queued(), (std::vector<Request>{{kGroupSingle, 90, 33, 0}}));
}

INSTANTIATE_TEST_SUITE_P(Entries, TypingQueueTest, ::testing::ValuesIn(kTypingCases),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST_F(QueueTest, NothingIsQueuedWhileDisconnected) {
  ASSERT_EQ(Start(), 0);
  MAIN_MENU_ITEM_CALLBACK(MENU_MODEL_GS);
  MAIN_MENU_ITEM_CALLBACK(MENU_SET_LANGUAGE_ENGLISH);
  MAIN_MENU_ITEM_CALLBACK(MENU_PROGRAM_LIST);
  ExitListToNormalPanel();
  EXPECT_TRUE(Queued().empty());
}

TEST_F(QueueTest, LoadingAllGroupsWritesThemAllAndOneGroupOnlyThatGroup) {
  StartConnected(MENU_MODEL_FPA);
  gPowerInfo.Connected = 0;
  Dialogs_.FileAnswers = {UserFile("all.FPNorAll"), UserFile("one.FPNorOne")};
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_SAVE_ALL);
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_SAVE_ONE);
  gPowerInfo.Connected = 1;
  gCurrentNormalGroup = 5;
  Dialogs_.FileAnswers = {UserFile("all.FPNorAll"), UserFile("one.FPNorOne")};
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_LOAD_ALL);
  MAIN_MENU_ITEM_CALLBACK(MENU_FILE_LOAD_ONE);
  const std::vector<Request> expected = {{kGroupWriteNormalAll, 90, 48, 0},
                                         {kGroupSingle, 90, 33, 5}};
  EXPECT_EQ(Queued(), expected);
}

TEST_F(QueueTest, GroupPanelOkWritesTheChosenGroup) {
  StartConnected(MENU_MODEL_FCT);
  gMainPanel->BtGroupChooseFC->click();
  gFCGroupPanel->Radios->button(2)->click();
  gFCGroupPanel->BtOk->click();
  EXPECT_EQ(Queued(), (std::vector<Request>{{kGroupSingle, 90, 33, 2}}));
}

} // namespace
