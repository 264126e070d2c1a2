#include "app/gui/ProgramSync.h"

#include <QSignalBlocker>

#include "app/gui/MainMenu.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Shell.h"
#include "comm/CommScheduler.h"
#include "programs/ProgramCheck.h"
#include "programs/gui/CrossPanel.h"
#include "programs/gui/ListPanel.h"
#include "programs/gui/ProgramConfirm.h"
#include "programs/gui/StepPanel.h"
#include "programs/gui/THDPanel.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "storage/IniDeal.h"
#include "ui/PhaseGraph.h"
#include "ui/Texts.h"

StepPanelState gStepPanelState;
THDPanelState gTHDPanelState;
ListPanelState gListPanelState;
ListPanelState gRampPanelState = FreshListPanelState(kListPanelRamp);
CrossPanelState gCrossPanelState;

namespace {

// Step menu items.
constexpr int kStepSave = 3;
constexpr int kStepLoad = 4;
constexpr int kStepFirstDisMode = 6; // items 6..9: display modes 1..4
// THD menu items.
constexpr int kTHDSaveAll = 3;
constexpr int kTHDLoadAll = 4;
constexpr int kTHDSaveOne = 5;
constexpr int kTHDLoadOne = 6;
// List and Ramp menu items.
constexpr int kListSaveAll = 3;
constexpr int kListLoadAll = 4;
constexpr int kListSaveOne = 5;
constexpr int kListFirstDisMode = 8; // items 8..14: display modes 1..7
const QString kStepPattern = "*.StepAll";
const QString kTHDAllPattern = "*.THDAll";
const QString kTHDOnePattern = "*.THDOne";
// Cross menu items.
constexpr int kCrossSaveAll = 3;
constexpr int kCrossLoadAll = 4;
constexpr int kCrossSaveOne = 5;
constexpr int kCrossLoadOne = 6;
constexpr int kCrossFirstDisMode = 8; // items 8..11: display modes 1..4
const QString kCrossAllPattern = "*.CrossAll";
const QString kCrossOnePattern = "*.CrossOne";

// What a graph shows now, against what its record says.
struct DrawnGraph {
  uint32_t Revision = ~0u;
  uint32_t Progress = ~0u;
};
DrawnGraph gStepDrawn;
DrawnGraph gTHDDrawn;
DrawnGraph gListDrawn;
DrawnGraph gRampDrawn;
DrawnGraph gCrossDrawn;

// xMax: the x-axis of the curves, set again after a five-step window (0:
// the graph never shows one).
void GraphToPanel(QChartView *chart, const ProgramGraphView &graph, DrawnGraph &drawn,
                  double xMax = 0) {
  const auto &p = graph.Points;
  const std::array<std::span<const double>, 3> points = {p[0], p[1], p[2]};
  const double span = double(std::max<size_t>(p[0].size(), 2) - 1);
  if (graph.Revision != drawn.Revision) {
    if (graph.WindowShown) {
      DrawFiveStepWindow(chart, graph.Window, 0, 300);
    } else {
      DrawPhaseCurves(chart, points, graph.Shown, span, graph.YMin, graph.YMax);
      if (xMax > 0)
        SetGraphXRange(chart, xMax);
    }
    SetGraphNote(chart,
                 graph.NoLength && !graph.WindowShown
                     ? Tx("Nothing from the start to the stop has a length: nothing to draw.",
                          "从起始到结束的各步时间都为 0，无曲线可画。")
                     : QString());
    drawn.Revision = graph.Revision;
    drawn.Progress = ~0u;
  }
  if (!graph.WindowShown && graph.ProgressRevision != drawn.Progress) {
    DrawPhaseProgress(chart, points, graph.Shown, graph.Progress, span);
    drawn.Progress = graph.ProgressRevision;
  }
}

void MenuToPanel(ProgramPanel *panel, std::initializer_list<int> fileItems, bool dimmed) {
  for (int item : fileItems)
    panel->action(item)->setEnabled(!dimmed);
}

template <typename Control, typename Signal, typename Callback>
void OnChange(Control *control, Signal signal, Callback callback) {
  QObject::connect(control, signal, control, [callback](auto &&...) {
    if (!ApplyingState())
      callback();
  });
}

// What differs between the List and the Ramp page outside the core.
struct ListTwin {
  ListPanel *Panel;
  DrawnGraph &Drawn;
  QString All, One; // file patterns
  int (*ReadAll)(const QString &);
  int (*WriteAll)(const QString &);
  int (*ReadOne)(const QString &, int);
  int (*WriteOne)(const QString &, int);
  int WriteGroup;
  const ListSet &Header;
};

ListTwin TwinOfPage(int page) {
  if (page == kPageRamp)
    return {gRampPanel,       gRampDrawn,      "*.RampAll",      "*.RampOne",     FileReadRampAll,
            FileWriteRampAll, FileReadRampOne, FileWriteRampOne, kGroupWriteRamp, gRampSet};
  return {gListPanel,       gListDrawn,      "*.ListAll",      "*.ListOne",     FileReadListAll,
          FileWriteListAll, FileReadListOne, FileWriteListOne, kGroupWriteList, gListSet};
}

// The program of the page against the connected model before it goes out
// as a whole: -1 the user refused it (or it cannot run), 0 nothing to
// correct, 1 corrected as the user accepted (and shown).
int CheckListProgramWithUser(int page) {
  const int model = gPowerInfo.ModelType;
  const ProgramFindings findings =
      page == kPageRamp ? CheckRampProgram(model) : CheckListProgram(model);
  if (!ConfirmProgramDownload(findings))
    return -1;
  if (findings.isEmpty())
    return 0;
  DataFPFromListVarToPanel(ListStateOfPage(page));
  ListStateToPanel(page);
  return 1;
}

// A whole-program write the callback asked for, once the program passed.
void WriteRequestedProgram(int page) {
  ListPanelState &s = ListStateOfPage(page);
  if (!s.WriteProgramRequested)
    return;
  s.WriteProgramRequested = false;
  if (CheckListProgramWithUser(page) >= 0)
    CommSetNewCmdGroup(TwinOfPage(page).WriteGroup);
}

} // namespace

void ResetProgramPanelStates() {
  gStepPanelState = StepPanelState{};
  gTHDPanelState = THDPanelState{};
  gListPanelState = FreshListPanelState(kListPanelList);
  gRampPanelState = FreshListPanelState(kListPanelRamp);
  gStepDrawn = gTHDDrawn = gListDrawn = gRampDrawn = DrawnGraph{};
  gCrossPanelState = CrossPanelState{};
  gStepDrawn = DrawnGraph{};
  gTHDDrawn = DrawnGraph{};
  gCrossDrawn = DrawnGraph{};
}

void StepPanelToState() {
  StepPanel *p = gStepPanel;
  StepPanelState &s = gStepPanelState;
  for (int r = 0; r < kStepRingCount; ++r)
    s.OutMode[r].Value = p->RingOutMode[r]->ringValue();
  for (int phase = 0; phase < 3; ++phase) {
    s.Wave[phase].Value = p->RingWave[phase]->ringValue();
    StepColumnView &c = s.Column[phase];
    NumView *rows[kStepGridRows] = {&c.VolStart, &c.VolStep, &c.FreqStart, &c.FreqStep,
                                    &c.StepCnt,  &c.TimeH,   &c.TimeM,     &c.TimeS};
    for (int row = 0; row < kStepGridRows; ++row)
      rows[row]->Value = p->Grid[row][phase]->value();
  }
  s.VolLineStart.Value = p->NumVolLineStart->value();
  s.VolLineStep.Value = p->NumVolLineStep->value();
  ReadAnglePage(p->AnglePage, s.Angle);
}

void StepStateToPanel() {
  StepPanel *p = gStepPanel;
  if (!p)
    return;
  const StepPanelState &s = gStepPanelState;
  for (int r = 0; r < kStepRingCount; ++r)
    ApplyRing(p->RingOutMode[r], s.OutMode[r]);
  for (int phase = 0; phase < 3; ++phase) {
    ApplyRing(p->RingWave[phase], s.Wave[phase]);
    const StepColumnView &c = s.Column[phase];
    const NumView *rows[kStepGridRows] = {&c.VolStart, &c.VolStep, &c.FreqStart, &c.FreqStep,
                                          &c.StepCnt,  &c.TimeH,   &c.TimeM,     &c.TimeS};
    for (int row = 0; row < kStepGridRows; ++row)
      ApplyNum(p->Grid[row][phase], *rows[row]);
    p->Heading[phase]->setVisible(phase == 0 || s.HeadingsVWVisible);
  }
  ApplyNum(p->NumVolLineStart, s.VolLineStart);
  ApplyNum(p->NumVolLineStep, s.VolLineStep);
  p->Tabs->setTabVisible(kStepTabAngle, s.Angle.Visible);
  ApplyAnglePage(p->AnglePage, s.Angle);
  for (QLabel *note : p->GSNote)
    note->setVisible(s.GSNotesVisible);
  MenuToPanel(p, {kStepSave, kStepLoad}, s.SaveLoadDimmed);
  for (int mode = 1; mode <= 4; ++mode) {
    QAction *action = p->action(kStepFirstDisMode + mode - 1);
    action->setEnabled(!s.DisModeDimmed);
    action->setChecked(mode == s.DisModeChecked);
  }
  GraphToPanel(p->Graph, s.Graph, gStepDrawn);
}

void RunStepCallback(const std::function<void(StepPanelState &)> &callback) {
  StepPanelToState();
  callback(gStepPanelState);
  StepStateToPanel();
}

ListPanelState &ListStateOfPage(int page) {
  return page == kPageRamp ? gRampPanelState : gListPanelState;
}

void ListPanelToState(int page) {
  const ListPanel *p = TwinOfPage(page).Panel;
  ListPanelState &s = ListStateOfPage(page);
  for (int r = 0; r < kStepRingCount; ++r)
    s.OutMode[r].Value = p->RingOutMode[r]->ringValue();
  s.StartNo.Value = p->NumStartNo->value();
  s.StopNo.Value = p->NumStopNo->value();
  s.CircleDegree.Value = p->NumCircleDegree->value();
  ReadAnglePage(p->AnglePage, s.Angle);
  s.StepNo.Value = p->NumStepNo->value();
  for (int phase = 0; phase < 3; ++phase) {
    ListColumnView &c = s.Column[phase];
    for (int end = 0; end < p->ends(); ++end) {
      c.Vol[end].Value = p->Vol[end][phase]->value();
      c.Freq[end].Value = p->Freq[end][phase]->value();
    }
    c.TimeH.Value = p->TimeH[phase]->value();
    c.TimeM.Value = p->TimeM[phase]->value();
    c.TimeS.Value = p->TimeS[phase]->value();
    c.Wave.Value = p->RingWave[phase]->ringValue();
  }
  for (int end = 0; end < p->ends(); ++end)
    s.VolLine[end].Value = p->NumVolLine[end]->value();
}

void ListStateToPanel(int page) {
  const ListTwin twin = TwinOfPage(page);
  ListPanel *p = twin.Panel;
  if (!p)
    return;
  const ListPanelState &s = ListStateOfPage(page);
  for (int r = 0; r < kStepRingCount; ++r)
    ApplyRing(p->RingOutMode[r], s.OutMode[r]);
  ApplyNum(p->NumStartNo, s.StartNo);
  ApplyNum(p->NumStopNo, s.StopNo);
  ApplyNum(p->NumCircleDegree, s.CircleDegree);
  p->Tabs->setTabVisible(kListTabAngle, s.Angle.Visible);
  ApplyAnglePage(p->AnglePage, s.Angle);
  ApplyNum(p->NumStepNo, s.StepNo);
  for (int phase = 0; phase < 3; ++phase) {
    const ListColumnView &c = s.Column[phase];
    for (int end = 0; end < p->ends(); ++end) {
      ApplyNum(p->Vol[end][phase], c.Vol[end]);
      ApplyNum(p->Freq[end][phase], c.Freq[end]);
    }
    ApplyNum(p->TimeH[phase], c.TimeH);
    ApplyNum(p->TimeM[phase], c.TimeM);
    ApplyNum(p->TimeS[phase], c.TimeS);
    ApplyRing(p->RingWave[phase], c.Wave);
    ShowAndDim(p->Heading[phase], phase == 0 || s.HeadingsVWVisible, false);
  }
  for (int end = 0; end < p->ends(); ++end)
    ApplyNum(p->NumVolLine[end], s.VolLine[end]);
  ShowAndDim(p->FollowU, s.FollowUVisible, false);
  for (QLabel *note : p->GSNote)
    ShowAndDim(note, s.GSNotesVisible, false);
  MenuToPanel(p, {kListSaveAll, kListLoadAll, kListSaveOne, kListSaveOne + 1}, s.SaveLoadDimmed);
  for (int mode = 1; mode <= 7; ++mode) {
    QAction *action = p->action(kListFirstDisMode + mode - 1);
    action->setEnabled(!s.DisModeDimmed[mode - 1]);
    action->setChecked(mode == s.DisModeChecked);
  }
  GraphToPanel(p->Graph, s.Graph, twin.Drawn, kListGraphPoints);
  const bool window = s.DisModeChecked >= 5;
  const FiveStepWindow &w = s.Graph.Window;
  for (int k = 0; k < kFiveStepSlots; ++k) {
    p->WindowStep[k]->setText(Tx("Step %1", "第 %1 步").arg(w.Step[k]));
    p->WindowTime[k]->setText(Tx("%1 s", "%1 秒").arg(w.Seconds[k], 0, 'f', 2));
    ShowAndDim(p->WindowStep[k], window, false);
    ShowAndDim(p->WindowTime[k], window, false);
  }
}

void RunListCallback(int page, const std::function<void(ListPanelState &)> &callback) {
  ListPanelToState(page);
  callback(ListStateOfPage(page));
  ListStateToPanel(page);
  WriteRequestedProgram(page);
}

void THDPanelToState() {
  THDPanel *p = gTHDPanel;
  THDPanelState &s = gTHDPanelState;
  s.GroupSelector.Value = p->RingGroup->ringValue();
  for (int language = 0; language < 2; ++language)
    for (int row = 0; row < kTHDTableRows; ++row)
      for (int column = 0; column < kTHDTableColumns; ++column) {
        const QTableWidgetItem *item = p->Table[language]->item(row, THDPanel::TableColumn(column));
        s.Table[language].Cells[row][column] = item ? item->text().toDouble() : 0.0;
      }
}

void THDStateToPanel() {
  THDPanel *p = gTHDPanel;
  if (!p)
    return;
  const THDPanelState &s = gTHDPanelState;
  ApplyRing(p->RingGroup, s.GroupSelector);
  for (int language = 0; language < 2; ++language)
    for (int row = 0; row < kTHDTableRows; ++row)
      for (int column = 0; column < kTHDTableColumns; ++column)
        if (THDOrderIndex(row, column) >= 0)
          ApplyCell(p->Table[language], row, THDPanel::TableColumn(column),
                    QString::number(s.Table[language].Cells[row][column], 'f', 1));
  ApplyKey(p->BtDownload, s.Download);
  MenuToPanel(p, {kTHDSaveAll, kTHDLoadAll, kTHDSaveOne, kTHDLoadOne}, s.SaveLoadDimmed);
  GraphToPanel(p->Graph, s.Graph, gTHDDrawn);
}

void RunTHDCallback(const std::function<void(THDPanelState &)> &callback) {
  THDPanelToState();
  callback(gTHDPanelState);
  THDStateToPanel();
}

void CrossPanelToState() {
  CrossPanel *p = gCrossPanel;
  CrossPanelState &s = gCrossPanelState;
  s.StartNo.Value = p->NumStartNo->value();
  s.StopNo.Value = p->NumStopNo->value();
  s.CircleDegree.Value = p->NumCircleDegree->value();
  s.Entry.Value = p->NumEntryNo->value();
  s.OutChannel.Value = p->RingOutChannel->ringValue();
  for (int phase = 0; phase < 3; ++phase)
    s.Wave[phase].Value = p->RingWave[phase]->ringValue();
  for (int v = 0; v < kCrossValueCount; ++v)
    s.Value[v].Value = p->NumValue[v]->value();
}

void CrossStateToPanel() {
  CrossPanel *p = gCrossPanel;
  if (!p)
    return;
  const CrossPanelState &s = gCrossPanelState;
  ApplyNum(p->NumStartNo, s.StartNo);
  ApplyNum(p->NumStopNo, s.StopNo);
  ApplyNum(p->NumCircleDegree, s.CircleDegree);
  for (int k = 0; k < kCrossStandardCount; ++k)
    ApplyKey(p->BtStandard[k], s.Standard[k]);
  ApplyNum(p->NumEntryNo, s.Entry);
  ApplyRing(p->RingOutChannel, s.OutChannel);
  for (int phase = 0; phase < 3; ++phase)
    ApplyRing(p->RingWave[phase], s.Wave[phase]);
  for (int v = 0; v < kCrossValueCount; ++v)
    ApplyNum(p->NumValue[v], s.Value[v]);
  MenuToPanel(p, {kCrossSaveAll, kCrossLoadAll, kCrossSaveOne, kCrossLoadOne}, s.SaveLoadDimmed);
  for (int mode = 1; mode <= 4; ++mode) {
    QAction *action = p->action(kCrossFirstDisMode + mode - 1);
    action->setEnabled(!s.DisModeDimmed);
    action->setChecked(mode == s.DisModeChecked);
  }
  GraphToPanel(p->Graph, s.Graph, gCrossDrawn);
}

void RunCrossCallback(const std::function<void(CrossPanelState &)> &callback) {
  CrossPanelToState();
  callback(gCrossPanelState);
  CrossStateToPanel();
}

void RefreshStepGraphOnPanel(int recompute, int redraw, int mode) {
  RefreshStepSetGraph(gStepPanelState.Graph, recompute, redraw, mode);
  StepStateToPanel();
}

void RefreshListGraphOnPanel(int page, int recompute, int redraw, int mode) {
  ListPanelState &s = ListStateOfPage(page);
  if (page == kPageRamp)
    RefreshRampSetGraph(s.Graph, recompute, redraw, mode);
  else
    RefreshListSetGraph(s.Graph, recompute, redraw, mode);
  ListStateToPanel(page);
}

void RefreshCrossGraphOnPanel(int recompute, int redraw, int mode) {
  RefreshCrossSetGraph(gCrossPanelState.Graph, recompute, redraw, mode);
  CrossStateToPanel();
}

void RefreshProgramGraphOnPanel(int page) {
  if (page == kPageStep)
    RefreshStepGraphOnPanel(1, 1, gStepSetDisMode);
  else if (page == kPageList || page == kPageRamp)
    RefreshListGraphOnPanel(page, 1, 1, ListDisMode(ListStateOfPage(page)));
  else if (page == kPageCross)
    RefreshCrossGraphOnPanel(1, 1, gCrossSetDisMode);
}

namespace {

// The Cross program checked for the connected model; a whole-program write
// follows when the user agrees (after the corrections, shown again).
void WriteCrossProgramChecked() {
  const ProgramFindings findings = CheckCrossProgram(gPowerInfo.ModelType);
  if (!ConfirmProgramDownload(findings))
    return;
  if (!findings.isEmpty())
    DataFPFromCrossVarToPanel(gCrossPanelState);
  CrossWriteProgram();
}

} // namespace

bool ConfirmProgramRun(int page) {
  if (gPowerInfo.OutputRunning != 0 || gPowerInfo.Connected != 1)
    return true;
  if (page == kPageList || page == kPageRamp) {
    const int checked = CheckListProgramWithUser(page);
    // The source holds the program as it was: it gets the corrected one.
    if (checked == 1)
      CommSetNewCmdGroup(TwinOfPage(page).WriteGroup);
    return checked >= 0;
  }
  if (page != kPageCross)
    return true;
  const ProgramFindings findings = CheckCrossProgram(gPowerInfo.ModelType);
  if (!ConfirmProgramDownload(findings))
    return false;
  if (!findings.isEmpty()) {
    // The source holds the program as it was: it gets the corrected one.
    DataFPFromCrossVarToPanel(gCrossPanelState);
    CrossStateToPanel();
    CrossWriteProgram();
  }
  return true;
}

void RefreshProgramPageOnPanel(int page, bool busy) {
  if (page == kPageList || page == kPageRamp) {
    ListPanelState &s = ListStateOfPage(page);
    DataFPFromListVarToPanel(s);
    MenuListSaveLoadDimmed(s, busy ? 1 : 0);
    ListStateToPanel(page);
  } else if (page == kPageStep) {
    DataFPFromStepVarToPanel(gStepPanelState);
    MenuStepSaveLoadDimmed(gStepPanelState, busy ? 1 : 0);
    StepStateToPanel();
  } else if (page == kPageTHD) {
    DataFPFromTHDVarToPanel(gTHDPanelState);
    MenuTHDSaveLoadDimmed(gTHDPanelState, busy ? 1 : 0);
    THDStateToPanel();
  } else if (page == kPageCross) {
    DataFPFromCrossVarToPanel(gCrossPanelState);
    MenuCrossSaveLoadDimmed(gCrossPanelState, busy ? 1 : 0);
    CrossStateToPanel();
  }
}

void ProgramPanelInitOnPanel(int page) {
  if (page == kPageList || page == kPageRamp) {
    ListPanelState &s = ListStateOfPage(page);
    ListPanelInit(s);
    DataFPFromListVarToPanel(s);
    ListStateToPanel(page);
  } else if (page == kPageStep) {
    StepPanelState &s = gStepPanelState;
    StepPanelInit(s);
    DataFPFromStepVarToPanel(s);
    MenuStepSetWaveMode(s, gStepSet.OutMode == 5, gStepSetDisMode);
    StepStateToPanel();
  } else if (page == kPageTHD) {
    THDPanelInit(gTHDPanelState);
    DataFPFromTHDVarToPanel(gTHDPanelState);
    THDStateToPanel();
  } else if (page == kPageCross) {
    CrossPanelState &s = gCrossPanelState;
    CrossPanelInit(s);
    DataFPFromCrossVarToPanel(s);
    MenuCrossSetWaveMode(s, 0, gCrossSetDisMode);
    CrossStateToPanel();
  }
}

void ListMenuItem(int page, int item) {
  if (item >= kListFirstDisMode && item < kListFirstDisMode + 7) {
    const int mode = item - kListFirstDisMode + 1;
    RunListCallback(page, [mode](ListPanelState &s) { ListDisplayMode(s, mode); });
    return;
  }
  if (GuardAlarm())
    return;
  const ListTwin twin = TwinOfPage(page);
  const bool all = item == kListSaveAll || item == kListLoadAll;
  const bool save = item == kListSaveAll || item == kListSaveOne;
  const QString path = ChooseFile(all ? twin.All : twin.One, save);
  if (path.isEmpty())
    return;
  if (!save)
    ListLoadFile(page, path, all);
  else if (all)
    twin.WriteAll(path);
  else
    twin.WriteOne(path, twin.Header.CurrentNo);
}

int ListLoadFile(int page, const QString &path, bool all) {
  if (!LoadableFile(path))
    return 0;
  const ListTwin twin = TwinOfPage(page);
  if ((all ? twin.ReadAll(path) : twin.ReadOne(path, twin.Header.CurrentNo)) != 1) {
    TellNotLoaded(path, all ? twin.All : twin.One);
    return 0;
  }
  RunListCallback(page, all ? ListFileLoadedAll : ListFileLoadedOne);
  return 1;
}

void StepFileItem(int item) {
  const QString path = ChooseFile(kStepPattern, item == kStepSave);
  if (path.isEmpty())
    return;
  if (item == kStepSave)
    FileWriteStep(path);
  else
    StepLoadFile(path);
}

int StepLoadFile(const QString &path) {
  if (!LoadableFile(path))
    return 0;
  if (FileReadStep(path) != 1) {
    TellNotLoaded(path, kStepPattern);
    return 0;
  }
  StepFileLoaded(gStepPanelState);
  StepStateToPanel();
  return 1;
}

void THDFileItem(int item) {
  const bool all = item == kTHDSaveAll || item == kTHDLoadAll;
  const bool save = item == kTHDSaveAll || item == kTHDSaveOne;
  const QString path = ChooseFile(all ? kTHDAllPattern : kTHDOnePattern, save);
  if (path.isEmpty())
    return;
  if (!save)
    THDLoadFile(path, all);
  else if (all)
    FileWriteTHDAll(path);
  else
    FileWriteTHDOne(path, gTHDCurrentGroup);
}

int THDLoadFile(const QString &path, bool all) {
  if (!LoadableFile(path))
    return 0;
  if ((all ? FileReadTHDAll(path) : FileReadTHDOne(path, gTHDCurrentGroup)) != 1) {
    TellNotLoaded(path, all ? kTHDAllPattern : kTHDOnePattern);
    return 0;
  }
  if (all)
    THDFileLoadedAll(gTHDPanelState);
  else
    THDFileLoadedOne(gTHDPanelState);
  THDStateToPanel();
  return 1;
}

void CrossMenuItem(int item) {
  if (item >= kCrossFirstDisMode && item < kCrossFirstDisMode + 4) {
    RunCrossCallback(
        [item](CrossPanelState &s) { CrossDisplayMode(s, item - kCrossFirstDisMode + 1); });
    return;
  }
  if (GuardAlarm())
    return;
  const bool all = item == kCrossSaveAll || item == kCrossLoadAll;
  const bool save = item == kCrossSaveAll || item == kCrossSaveOne;
  const QString path = ChooseFile(all ? kCrossAllPattern : kCrossOnePattern, save);
  if (path.isEmpty())
    return;
  if (!save)
    CrossLoadFile(path, all);
  else if (all)
    FileWriteCrossAll(path);
  else
    FileWriteCrossOne(path, gCrossListSet.CurrentNo);
}

int CrossLoadFile(const QString &path, bool all) {
  if (!LoadableFile(path))
    return 0;
  if ((all ? FileReadCrossAll(path) : FileReadCrossOne(path, gCrossListSet.CurrentNo)) != 1) {
    TellNotLoaded(path, all ? kCrossAllPattern : kCrossOnePattern);
    return 0;
  }
  if (all) {
    CrossFileLoadedAll(gCrossPanelState);
    WriteCrossProgramChecked();
  } else {
    CrossFileLoadedOne(gCrossPanelState);
  }
  CrossStateToPanel();
  return 1;
}

void ConnectProgramPanelControls() {
  StepPanel *step = gStepPanel;
  auto grid = [] { RunStepCallback(StepSetChanged); };
  auto over = [] { RunStepCallback(StepSetOverChanged); };
  for (auto &row : step->Grid)
    for (NumEntry *entry : row)
      OnChange(entry, &QDoubleSpinBox::valueChanged, grid);
  for (NumEntry *entry : {step->NumVolLineStart, step->NumVolLineStep})
    OnChange(entry, &QDoubleSpinBox::valueChanged, grid);
  for (Ring *ring : step->RingOutMode)
    OnChange(ring, &QComboBox::currentIndexChanged, over);
  for (Ring *ring : step->RingWave)
    OnChange(ring, &QComboBox::currentIndexChanged, over);
  for (NumEntry *entry : {step->AnglePage.UV, step->AnglePage.UW}) {
    entry->setKeyboardTracking(false);
    OnChange(entry, &QDoubleSpinBox::valueChanged, over);
  }
  OnChange(step->AnglePage.Standard, &QPushButton::clicked,
           [] { RunStepCallback(StepStandardAngle); });

  for (int page : {kPageList, kPageRamp}) {
    ListPanel *p = TwinOfPage(page).Panel;
    auto on = [page](void (*callback)(ListPanelState &)) {
      return [page, callback] { RunListCallback(page, callback); };
    };
    for (NumEntry *entry :
         {p->NumStartNo, p->NumStopNo, p->NumCircleDegree, p->AnglePage.UV, p->AnglePage.UW}) {
      entry->setKeyboardTracking(false);
      OnChange(entry, &QDoubleSpinBox::valueChanged, on(ListSetChanged));
    }
    for (Ring *ring : p->RingOutMode)
      OnChange(ring, &QComboBox::currentIndexChanged, on(ListSetModeChanged));
    OnChange(p->NumStepNo, &QDoubleSpinBox::valueChanged, on(ListStepChoose));
    OnChange(p->AnglePage.Standard, &QPushButton::clicked, on(ListStandardAngle));
    std::vector<NumEntry *> step(p->NumVolLine.begin(), p->NumVolLine.begin() + p->ends());
    for (int phase = 0; phase < 3; ++phase) {
      for (int end = 0; end < p->ends(); ++end)
        step.insert(step.end(), {p->Vol[end][phase], p->Freq[end][phase]});
      step.insert(step.end(), {p->TimeH[phase], p->TimeM[phase], p->TimeS[phase]});
      OnChange(p->RingWave[phase], &QComboBox::currentIndexChanged, on(ListListSetChanged));
    }
    for (NumEntry *entry : step)
      OnChange(entry, &QDoubleSpinBox::valueChanged, on(ListListSetChanged));
  }

  THDPanel *thd = gTHDPanel;
  OnChange(thd->RingGroup, &QComboBox::currentIndexChanged,
           [] { RunTHDCallback(THDGroupChanged); });
  for (QTableWidget *table : thd->Table)
    OnChange(table, &QTableWidget::cellChanged, [] { RunTHDCallback(THDSetChanged); });
  OnChange(thd->BtClear, &QPushButton::clicked, [] { RunTHDCallback(THDClear); });
  OnChange(thd->BtDownload, &QPushButton::clicked, [] { RunTHDCallback(THDDownload); });

  CrossPanel *cross = gCrossPanel;
  auto header = [] { RunCrossCallback(CrossHeaderChanged); };
  auto entry = [] { RunCrossCallback(CrossEntryChanged); };
  for (NumEntry *e : {cross->NumStartNo, cross->NumStopNo, cross->NumCircleDegree})
    OnChange(e, &QDoubleSpinBox::valueChanged, header);
  OnChange(cross->NumEntryNo, &QDoubleSpinBox::valueChanged,
           [] { RunCrossCallback(CrossEntrySelected); });
  OnChange(cross->RingOutChannel, &QComboBox::currentIndexChanged, entry);
  for (Ring *ring : cross->RingWave)
    OnChange(ring, &QComboBox::currentIndexChanged, entry);
  for (NumEntry *e : cross->NumValue)
    OnChange(e, &QDoubleSpinBox::valueChanged, entry);
  for (int k = 0; k < kCrossStandardCount; ++k)
    OnChange(cross->BtStandard[k], &QPushButton::clicked, [k] {
      RunCrossCallback([k](CrossPanelState &s) {
        if (CrossStandardKey(s, k))
          WriteCrossProgramChecked();
      });
    });
}
