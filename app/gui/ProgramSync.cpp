#include "app/gui/ProgramSync.h"

#include <QSignalBlocker>

#include "app/gui/MainMenu.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Shell.h"
#include "comm/CommScheduler.h"
#include "programs/ProgramCheck.h"
#include "programs/gui/CrossPanel.h"
#include "programs/gui/ProgramConfirm.h"
#include "programs/gui/StepPanel.h"
#include "programs/gui/THDPanel.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "storage/IniDeal.h"
#include "ui/PhaseGraph.h"

StepPanelState gStepPanelState;
THDPanelState gTHDPanelState;
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
DrawnGraph gCrossDrawn;

void GraphToPanel(QChartView *chart, const ProgramGraphView &graph, DrawnGraph &drawn) {
  const auto &p = graph.Points;
  const std::array<std::span<const double>, 3> points = {p[0], p[1], p[2]};
  const double span = double(std::max<size_t>(p[0].size(), 2) - 1);
  if (graph.Revision != drawn.Revision) {
    DrawPhaseCurves(chart, points, graph.Shown, span, graph.YMin, graph.YMax);
    drawn.Revision = graph.Revision;
    drawn.Progress = ~0u;
  }
  if (graph.ProgressRevision != drawn.Progress) {
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

} // namespace

void ResetProgramPanelStates() {
  gStepPanelState = StepPanelState{};
  gTHDPanelState = THDPanelState{};
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
  s.AngleUV.Value = p->NumAngleUV->value();
  s.AngleUW.Value = p->NumAngleUW->value();
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
  p->Tabs->setTabVisible(kStepTabAngle, s.AnglePageVisible);
  ApplyNum(p->NumAngleUV, s.AngleUV);
  ApplyNum(p->NumAngleUW, s.AngleUW);
  ApplyNum(p->DispAngleVW, s.AngleVW);
  ApplyKey(p->BtAngleStandard, s.AngleStandard);
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

void RefreshCrossGraphOnPanel(int recompute, int redraw, int mode) {
  RefreshCrossSetGraph(gCrossPanelState.Graph, recompute, redraw, mode);
  CrossStateToPanel();
}

void RefreshProgramGraphOnPanel(int page) {
  if (page == kPageStep)
    RefreshStepGraphOnPanel(1, 1, gStepSetDisMode);
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
  if (page != kPageCross || gPowerInfo.OutputRunning != 0 || gPowerInfo.Connected != 1)
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
  if (page == kPageStep) {
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
  if (page == kPageStep) {
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
  for (NumEntry *entry : {step->NumAngleUV, step->NumAngleUW}) {
    entry->setKeyboardTracking(false);
    OnChange(entry, &QDoubleSpinBox::valueChanged, over);
  }
  OnChange(step->BtAngleStandard, &QPushButton::clicked,
           [] { RunStepCallback(StepStandardAngle); });

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
