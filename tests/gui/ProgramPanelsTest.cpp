// The Step, List, Ramp, Cross and THD panels decide what is stored and
// what is shown: edits typed into their controls land in the records as the
// source counts them, come back on the controls, and flag or write what has
// to go out.
#include <QTableWidget>
#include <QTest>
#include <algorithm>

#include "GuiTestSupport.h"
#include "app/gui/MainMenu.h"
#include "app/gui/ProgramSync.h"
#include "app/gui/Shell.h"
#include "comm/CommScheduler.h"
#include "programs/gui/CrossPanel.h"
#include "programs/gui/ListPanel.h"
#include "programs/gui/StepPanel.h"
#include "programs/gui/THDPanel.h"
#include "records/Globals.h"
#include "settings/ProgramSet.h"
#include "storage/IniDeal.h"

namespace {

class ProgramPanelsTest : public ShellTest {
protected:
  void Open(int modelItem, int panelItem, int language) {
    ASSERT_EQ(Start(), 0);
    MAIN_MENU_ITEM_CALLBACK(language == 1 ? MENU_SET_LANGUAGE_ENGLISH : MENU_SET_LANGUAGE_CHINESE);
    MAIN_MENU_ITEM_CALLBACK(modelItem);
    MAIN_MENU_ITEM_CALLBACK(panelItem);
  }
  void TearDown() override {
    gPowerInfo.Connected = 0;
    ShellTest::TearDown();
  }
};

// One edit of a grid control of an FPA Step program in mode 0.
struct StepEdit {
  const char *Name;
  int UDisMode; // 1: line-voltage entry
  int Row;      // grid row, or -1 for the line start voltage
  int FreqStep; // 0.01 Hz, set before the edit
  int StepCnt;  // set before the edit
  double Value; // typed
  int32_t StepSet::*Field;
  int32_t Stored;
  int32_t WaveU; // after the edit (the program had waveform 1)
};

const StepEdit kStepEdits[] = {
    {"negative half step rounds away from zero", 0, kRowVolStep, 0, 0, -0.05, &StepSet::VolStepU,
     -1, 1},
    {"positive half step", 0, kRowVolStep, 0, 0, 0.05, &StepSet::VolStepU, 1, 1},
    {"zero step time becomes 0.02 s", 0, kRowTimeS, 0, 0, 0.0, &StepSet::StepTimeS2PU, 2, 1},
    {"odd hundredths lose one", 0, kRowTimeS, 0, 0, 1.23, &StepSet::StepTimeS2PU, 122, 1},
    {"380.0 V line gives 219.3 V on W too", 1, -1, 0, 0, 380.0, &StepSet::VolStartW, 2193, 1},
    {"rising to 70 Hz forces sine", 0, kRowStepCnt, 100, 0, 20, &StepSet::WaveU, 0, 0},
    {"falling to 30 Hz forces sine", 0, kRowStepCnt, -100, 0, 20, &StepSet::WaveU, 0, 0},
    {"falling to 46 Hz keeps the waveform", 0, kRowStepCnt, -20, 0, 20, &StepSet::StepCntW, 20, 1},
};

TEST_F(ProgramPanelsTest, StepEditsAreStoredAsTheSourceCountsThem) {
  Open(MENU_MODEL_FPA, MENU_PROGRAM_STEP, 1);
  gPowerInfo.Connected = 1;
  for (const StepEdit &c : kStepEdits) {
    SCOPED_TRACE(c.Name);
    gSystemSet.UDisMode = c.UDisMode;
    gStepSet.OutMode = 0;
    gStepSet.FreqStartU = gStepSet.FreqStartV = gStepSet.FreqStartW = 5000;
    gStepSet.FreqStepU = gStepSet.FreqStepV = gStepSet.FreqStepW = c.FreqStep;
    gStepSet.StepCntU = gStepSet.StepCntV = gStepSet.StepCntW = c.StepCnt;
    gStepSet.WaveU = gStepSet.WaveV = gStepSet.WaveW = 1;
    RunStepCallback(DataFPFromStepVarToPanel);
    CommClearNewCmdAll();
    NumEntry *entry = c.Row < 0 ? gStepPanel->NumVolLineStart : gStepPanel->Grid[c.Row][0];
    entry->setValue(c.Value);
    EXPECT_EQ(gStepSet.*c.Field, c.Stored);
    EXPECT_EQ(gStepSet.WaveU, c.WaveU);
    EXPECT_EQ(gStepPanel->RingWave[0]->isEnabled(), c.WaveU == 1);
    EXPECT_EQ(QueuedCommands(), (std::vector<Queued>{{90, 34, 0}}));
  }
}

QString Cell(int table, int row, int column) {
  return gTHDPanel->Table[table]->item(row, THDPanel::TableColumn(column))->text();
}

TEST_F(ProgramPanelsTest, THDEditsAreTruncatedReadFromTheShownTableAndFlagged) {
  Open(MENU_MODEL_FPA, MENU_THD_THD, 0);
  gTHDSet[3].Percent[2] = 55;
  // The hidden English table is not read: only the Chinese cell counts.
  gTHDPanel->RingGroup->setRingValue(3);
  EXPECT_EQ(Cell(kTHDTableEnglish, 2, 0), "5.5");
  gTHDPanel->Table[kTHDTableEnglish]->item(2, THDPanel::TableColumn(0))->setText("9.9");
  gTHDPanel->Table[kTHDTableChinese]->item(2, THDPanel::TableColumn(0))->setText("2.35");
  EXPECT_EQ(gTHDSet[3].Percent[2], 23);
  EXPECT_EQ(Cell(kTHDTableChinese, 2, 0), "2.3");
  EXPECT_EQ(Cell(kTHDTableEnglish, 2, 0), "2.3");
  EXPECT_EQ(gTHDNeedDownload, (std::array<int32_t, 10>{0, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(gTHDPanel->BtDownload->isEnabled());

  // A cleared group is one period of the pure fundamental.
  gTHDPanel->BtClear->click();
  const std::vector<double> &wave = gTHDPanelState.Graph.Points[0];
  EXPECT_NEAR(*std::max_element(wave.begin(), wave.end()), 1.414, 0.01);
  EXPECT_NEAR(*std::min_element(wave.begin(), wave.end()), -1.414, 0.01);
  EXPECT_EQ(gTHDSet[3].Percent[2], 0);

  // Loading one group flags that group; loading all flags all ten.
  gTHDNeedDownload.fill(0);
  FileWriteTHDAll(UserFile("all.THDAll"));
  FileWriteTHDOne(UserFile("one.THDOne"), 3);
  EXPECT_EQ(THDLoadFile(UserFile("one.THDOne"), false), 1);
  EXPECT_EQ(gTHDNeedDownload, (std::array<int32_t, 10>{0, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(THDLoadFile(UserFile("all.THDAll"), true), 1);
  EXPECT_EQ(gTHDNeedDownload, (std::array<int32_t, 10>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
  // A file of another kind changes nothing and says why.
  Dialogs_.Messages.clear();
  gTHDNeedDownload.fill(0);
  EXPECT_EQ(THDLoadFile(UserFile("one.THDOne"), true), 0);
  EXPECT_EQ(gTHDNeedDownload, (std::array<int32_t, 10>{}));
  EXPECT_EQ(Dialogs_.Messages.size(), 1u);
}

// The entries of a standard profile, worked out from the published
// figures: rated voltage and frequency, dip level, hold, rise, resume level.
struct CrossProfile {
  const char *Name;
  int32_t RatingVol, RatingFreq, DropVol, KeepTime, RiseTime, ResumeVol;
};
const CrossProfile kCrossProfiles[] = {
    {"GER", 2300, 5000, 0, 150, 1350, 2070},
    {"USA", 1200, 6000, 180, 625, 2375, 1080},
    {"ENG", 2400, 5000, 0, 140, 1060, 2160},
    {"CHI", 2200, 5000, 440, 1000, 2000, 1980},
};

int QueuedGroup() { return gCommNewCmd.Count == 1 ? gCommNewCmd.Group[gCommNewCmd.ReadIndex] : -1; }

TEST_F(ProgramPanelsTest, CrossStandardsFillEntriesZeroToSixAndWriteTheProgram) {
  Open(MENU_MODEL_GS, MENU_PROGRAM_CROSS, 1);
  gPowerInfo.Connected = 1;
  for (int k = 0; k < 4; ++k) {
    const CrossProfile &p = kCrossProfiles[k];
    SCOPED_TRACE(p.Name);
    DataFPInitCrossAll();
    gCrossListSet.StartNo = 2;
    gCrossSet[7].RatingVol = 1234;
    CommClearNewCmdAll();
    gCrossPanel->BtStandard[k]->click();
    EXPECT_EQ(gCrossListSet.StartNo, 0);
    EXPECT_EQ(gCrossListSet.StopNo, 6);
    const int32_t channels[7] = {7, 3, 5, 6, 1, 2, 4};
    for (int e = 0; e < 7; ++e) {
      const CrossSet &c = gCrossSet[e];
      EXPECT_EQ(std::vector<int32_t>({c.OutChannel, c.RatingVol, c.RatingFreq, c.DropVol,
                                      c.KeepTime, c.RiseTime, c.ResumeVol, c.RatingTime, c.EndTime,
                                      c.CrossAngle, c.WaveU}),
                std::vector<int32_t>({channels[e], p.RatingVol, p.RatingFreq, p.DropVol, p.KeepTime,
                                      p.RiseTime, p.ResumeVol, 1000, 1000, 0, 0}))
          << "entry " << e;
    }
    EXPECT_EQ(gCrossSet[7].RatingVol, 1234);
    EXPECT_EQ(QueuedGroup(), kGroupWriteCross);
  }
  // The entry shown is 0: the last profile's (CHI) dip on the panel.
  EXPECT_DOUBLE_EQ(gCrossPanel->NumValue[kCrossDropVol]->value(), 44.0);
  // Alarming: the alarm box, nothing changes, nothing is sent.
  gPowerInfo.Alarming = 1;
  CommClearNewCmdAll();
  Dialogs_.Messages.clear();
  gCrossPanel->BtStandard[1]->click();
  EXPECT_EQ(gCrossSet[0].RatingVol, 2200);
  EXPECT_EQ(gCommNewCmd.Count, 0);
  ASSERT_EQ(Dialogs_.Messages.size(), 1u);
  EXPECT_EQ(Dialogs_.Messages[0].Text, "Power is alarming. Please exit alarm state.");
}

TEST_F(ProgramPanelsTest, CrossHeaderRoundingAndEntrySelection) {
  Open(MENU_MODEL_GS, MENU_PROGRAM_CROSS, 1);
  gPowerInfo.Connected = 1;
  // A stored stop entry before the start entry shows and stays as the start.
  gCrossListSet.StartNo = 5;
  gCrossListSet.StopNo = 3;
  RunCrossCallback(DataFPFromCrossVarToPanel);
  EXPECT_EQ(gCrossPanel->NumStopNo->value(), 5);
  EXPECT_EQ(gCrossListSet.StopNo, 5);
  // The end the user moved past the other one comes back to it.
  const struct {
    NumEntry *Moved;
    int To, Start, Stop;
  } moves[] = {{gCrossPanel->NumStopNo, 2, 3, 3}, {gCrossPanel->NumStartNo, 6, 5, 5}};
  for (const auto &m : moves) {
    gCrossListSet.StartNo = 3;
    gCrossListSet.StopNo = 5;
    RunCrossCallback(DataFPFromCrossVarToPanel);
    m.Moved->setValue(m.To);
    EXPECT_EQ(std::pair(gCrossListSet.StartNo, gCrossListSet.StopNo), std::pair(m.Start, m.Stop));
  }

  gCrossPanel->NumEntryNo->setValue(3);
  EXPECT_EQ(gCrossListSet.CurrentNo, 3);
  EXPECT_EQ(gRefreshProWaveDelay, 0) << "selecting an entry redraws nothing later";
  const struct {
    const char *Typed;
    int32_t Stored;
  } holds[] = {{"0.1506", 151}, {"0.1504", 150}};
  for (const auto &h : holds) {
    CommClearNewCmdAll();
    NumEntry *hold = gCrossPanel->NumValue[kCrossKeepTime];
    hold->selectAll();
    QTest::keyClicks(hold, h.Typed);
    QTest::keyClick(hold, Qt::Key_Return);
    EXPECT_EQ(gCrossSet[3].KeepTime, h.Stored) << h.Typed;
    EXPECT_EQ(QueuedCommands(), (std::vector<Queued>{{90, 41, 3}}));
    EXPECT_EQ(gRefreshProWaveDelay, 20);
  }
}

// The List panel or its Ramp twin, with its header record.
struct Twin {
  int Page;
  ListPanel *Panel;
  ListSet &Header;
};
Twin TwinOf(int page) {
  return page == kPageRamp ? Twin{page, gRampPanel, gRampSet} : Twin{page, gListPanel, gListSet};
}

TEST_F(ProgramPanelsTest, ListAndRampHeaderStartStopAndSinglePhaseView) {
  Open(MENU_MODEL_FPA, MENU_PROGRAM_LIST, 1);
  // Start and stop meet where the moved end says.
  const struct {
    int Page;
    bool MoveStop;
    double Value;
    int Start, Stop;
  } cases[] = {{kPageList, true, 5, 10, 10},
               {kPageList, false, 30, 20, 20},
               {kPageRamp, true, 5, 10, 10},
               {kPageRamp, false, 30, 20, 20}};
  for (const auto &c : cases) {
    const Twin t = TwinOf(c.Page);
    t.Header.StartNo = 10;
    t.Header.StopNo = 20;
    RunListCallback(c.Page, DataFPFromListVarToPanel);
    (c.MoveStop ? t.Panel->NumStopNo : t.Panel->NumStartNo)->setValue(c.Value);
    EXPECT_EQ(t.Header.StartNo, c.Start) << c.Page << " " << c.MoveStop;
    EXPECT_EQ(t.Header.StopNo, c.Stop) << c.Page << " " << c.MoveStop;
    EXPECT_EQ(t.Panel->NumStopNo->value(), c.Stop);
  }
  // A stored header whose stop lies before its start runs the start step.
  gListSet.StartNo = 30;
  gListSet.StopNo = 10;
  FileWriteListAll(UserFile("crossed.ListAll"));
  ASSERT_EQ(ListLoadFile(kPageList, UserFile("crossed.ListAll"), true), 1);
  EXPECT_EQ(gListSet.StopNo, 30);
  EXPECT_EQ(gListPanel->NumStopNo->value(), 30);

  // A single-phase program shows phase U only.
  const struct {
    int Page, Mode, Shown;
  } views[] = {{kPageList, 7, 5}, {kPageList, 3, 2}, {kPageRamp, 6, 5}};
  for (const auto &c : views) {
    const Twin t = TwinOf(c.Page);
    int32_t &mode = c.Page == kPageRamp ? gRampSetDisMode : gListSetDisMode;
    mode = c.Mode;
    t.Header.OutMode = 5;
    RunListCallback(c.Page, DataFPFromListVarToPanel);
    EXPECT_EQ(mode, c.Shown) << c.Page << " " << c.Mode;
    EXPECT_TRUE(t.Panel->action(7 + c.Shown)->isChecked());
    EXPECT_FALSE(t.Panel->action(8)->isEnabled()); // all phases
  }
}

TEST_F(ProgramPanelsTest, FPAStepsOutside45To65HzRunSine) {
  Open(MENU_MODEL_FPA, MENU_PROGRAM_LIST, 1);
  const struct {
    const char *Name;
    int Page;
    double From, To; // Hz; To only on Ramp
    int Wave;
  } cases[] = {{"List 70 Hz", kPageList, 70, 0, 0},
               {"List 60 Hz", kPageList, 60, 0, 3},
               {"Ramp 50 to 70 Hz", kPageRamp, 50, 70, 0},
               {"Ramp 40 to 60 Hz", kPageRamp, 40, 60, 0},
               {"Ramp 50 to 60 Hz", kPageRamp, 50, 60, 3}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Name);
    const Twin t = TwinOf(c.Page);
    t.Header.OutMode = 0;
    t.Header.CurrentNo = 4;
    for (ListPhase &p : gListListSet[4].Phase)
      p.Freq = 5000, p.Wave = 3;
    for (RampPhase &p : gRampRampSet[4].Phase)
      p.FreqStart = p.FreqStop = 5000, p.Wave = 3;
    RunListCallback(c.Page, DataFPFromListVarToPanel);
    // As entered (the entries themselves stop at 45 Hz).
    RunListCallback(c.Page, [&c](ListPanelState &s) {
      s.Column[0].Freq = {NumView{c.From}, NumView{c.To}};
      ListListSetChanged(s);
    });
    const int wave =
        c.Page == kPageRamp ? gRampRampSet[4].Phase[2].Wave : gListListSet[4].Phase[2].Wave;
    EXPECT_EQ(wave, c.Wave);
    EXPECT_EQ(t.Panel->RingWave[0]->ringValue(), c.Wave);
  }
}

// Into a mode where V and W keep their own values the whole program goes
// out; a change across single phase tells the user to move the terminals.
TEST_F(ProgramPanelsTest, AModeChangeWritesTheHeaderOrTheWholeProgram) {
  Open(MENU_MODEL_FPA, MENU_PROGRAM_LIST, 1);
  gPowerInfo.Connected = 1;
  const struct {
    int Page, From, To;
    int Group;  // the whole program, or the single header write
    int Header; // the first command
    bool Told;
  } cases[] = {
      {kPageList, 0, 1, kGroupWriteList, 35, false}, {kPageList, 1, 0, kGroupSingle, 35, false},
      {kPageList, 0, 5, kGroupSingle, 35, true},     {kPageRamp, 0, 16, kGroupWriteRamp, 37, false},
      {kPageRamp, 16, 0, kGroupSingle, 37, false},   {kPageRamp, 5, 16, kGroupWriteRamp, 37, true}};
  for (const auto &c : cases) {
    const Twin t = TwinOf(c.Page);
    t.Header.OutMode = c.From;
    RunListCallback(c.Page, DataFPFromListVarToPanel);
    CommClearNewCmdAll();
    Dialogs_.Messages.clear();
    t.Panel->RingOutMode[kStepRingFPA]->setRingValue(c.To);
    EXPECT_EQ(QueuedCommands(), (std::vector<Queued>{{90, c.Header, 0, c.Group}}))
        << c.From << c.To;
    EXPECT_EQ(Dialogs_.Messages.size(), c.Told ? 1u : 0u) << c.From << c.To;
    if (c.Told) {
      EXPECT_EQ(Dialogs_.Messages[0].Text,
                "Single/Phase3 outmode switch,please change output line!");
    }
  }
}

} // namespace
