#include "app/gui/PanelSync.h"

#include <QGroupBox>
#include <QSignalBlocker>
#include <QValueAxis>
#include <algorithm>

#include "app/MainPanelFunc.h"
#include "app/NormalPanelMap.h"
#include "app/OutputState.h"
#include "app/gui/GroupChoose.h"
#include "app/gui/GroupPanels.h"
#include "app/gui/LanguageSet.h"
#include "app/gui/MainMenu.h"
#include "app/gui/MainPanel.h"
#include "app/gui/ModelCatalogue.h"
#include "app/gui/ProgramSync.h"
#include "app/gui/Shell.h"
#include "measure/gui/MeasureArea.h"
#include "records/Globals.h"
#include "storage/Language.h"
#include "ui/ControlSync.h"
#include "ui/PhaseGraph.h"
#include "ui/StripChart.h"
#include "ui/Texts.h"

MainPanelState gPanelState;

namespace {
bool gApplying = false; // widgets are being written: their signals are not the user's
} // namespace

bool ApplyingState() { return gApplying; }

namespace {

QString Tenths(double value) { return QString::number(value, 'f', 1); }
QString Hundredths(double value) { return QString::number(value, 'f', 2); }

QString ChannelText(int mask) {
  QString text;
  for (int phase = 0; phase < 3; ++phase)
    if (mask & (1 << phase))
      text += QChar("UVW"[phase]);
  return text.isEmpty() ? "-" : text;
}

void FCToPanel(MainPanel *p, const MainPanelState &s) {
  const FCMiddleView &m = s.FCMiddle;
  ApplyNum(p->KnobVolFC, m.KnobVol);
  ApplyNum(p->KnobFreqFC, m.KnobFreq);
  ApplyKey(p->BtFCUVW, m.KeyPhase);
  for (int phase = 0; phase < 3; ++phase)
    ApplyLamp(p->LampFCPhase[phase], m.LampPhase[phase]);
  ApplyKey(p->BtFCPL, m.KeyPhaseLine);
  ApplyLamp(p->LampFCPhaseMode, m.LampPhaseMode);
  ApplyLamp(p->LampFCLineMode, m.LampLineMode);
  ApplyKey(p->BtFCAutoHigh, m.KeyRange);
  ApplyLamp(p->LampFCRangeLow, m.LampRangeAuto);
  ApplyLamp(p->LampFCRangeHigh, m.LampRangeHigh);
  ApplyKey(p->BtFC5060, m.Key5060);
  ApplyLamp(p->LampFC50, m.Lamp50);
  ApplyLamp(p->LampFC60, m.Lamp60);
  ApplyKey(p->BtFCM2M4, m.KeyMultiplier);
  ApplyLamp(p->LampFCM2, m.LampX2);
  ApplyLamp(p->LampFCM4, m.LampX4);
  ApplyKey(p->BtFC120220, m.Key120220);
  ApplyLamp(p->LampFC120, m.Lamp120);
  ApplyLamp(p->LampFC220, m.Lamp220);
  ApplyKey(p->BtFCUp, m.KeyUp);
  ApplyLamp(p->LampFCUp, m.LampUp);
  ApplyKey(p->BtFCDown, m.KeyDown);
  ApplyLamp(p->LampFCDown, m.LampDown);

  ApplyRing(p->RingGroupFC, s.FCNormal.Group);
  ApplyKey(p->BtGroupChooseFC, s.FCNormal.GroupChoose);
  ApplyNum(p->NumUpPer, s.FCNormal.UpPercent);
  ApplyNum(p->NumDownPer, s.FCNormal.DownPercent);

  ApplyNum(p->NumOCPFC, s.FCSystem.OCP);
  ApplyNum(p->NumStartRise, s.FCSystem.StartRise);
  ApplyNum(p->NumUCompFC, s.FCSystem.UCompensation);
  ApplyRing(p->SwKeySoundFC, s.FCSystem.KeySound);
}

void FPToPanel(MainPanel *p, const MainPanelState &s) {
  for (int phase = 0; phase < 3; ++phase) {
    ApplyNum(p->KnobVol[phase], s.PhaseMiddle.KnobVol[phase]);
    ApplyNum(p->KnobFreq[phase], s.PhaseMiddle.KnobFreq[phase]);
  }
  p->LabelVolSingle->setVisible(s.PhaseMiddle.SingleLabelsVisible);
  p->LabelFreqSingle->setVisible(s.PhaseMiddle.SingleLabelsVisible);
  p->LabelVolPhase->setVisible(s.PhaseMiddle.PhaseLabelsVisible);
  p->LabelFreqPhase->setVisible(s.PhaseMiddle.PhaseLabelsVisible);

  const NormalPageView &n = s.Normal;
  ApplyRing(p->RingGroup, n.Group);
  ApplyKey(p->BtGroupChoose, n.GroupChoose);
  for (int r = 0; r < kModeRingCount; ++r)
    ApplyRing(p->RingOutMode[r], n.OutMode[r]);
  ApplyRing(p->RingRange12, n.Range12);
  ApplyRing(p->RingRange23, n.Range23);
  p->LabelRange->setVisible(n.Range12.Visible || n.Range23.Visible);
  ApplyNum(p->NumRiseTime, n.RiseTime);
  for (int phase = 0; phase < 3; ++phase)
    ApplyRing(p->RingWave[phase], s.Wave.Wave[phase]);

  ApplyNum(p->NumAngleUV, s.Angle.AngleUV);
  ApplyNum(p->NumAngleUW, s.Angle.AngleUW);
  ApplyNum(p->DispAngleVW, s.Angle.AngleVW);
  ApplyKey(p->BtAngleStandard, s.Angle.Standard);

  ApplyRing(p->SwUDisMode, s.System.UDisMode);
  ApplyRing(p->SwKeySound, s.System.KeySound);
  ApplyNum(p->NumOCP, s.System.OCP);
  ApplyNum(p->NumUComp, s.System.UCompensation);
  p->LabelUComp->setVisible(s.System.UCompensation.Visible);
  for (int phase = 0; phase < 3; ++phase)
    ApplyRing(p->SwSeparate[phase], s.Separate.Switch[phase]);

  // The angle and separate pages follow the group's mode (other families only).
  const bool fc = IsFCModel(gPowerInfo.ModelType);
  p->Tabs->setTabVisible(kTabNormalAngle, !fc && s.Angle.Visible);
  p->Tabs->setTabVisible(kTabSeparate, !fc && s.Separate.Visible);
}

void OutputToPanel(const OutputAreaView &o) {
  const QString alarm = QString::fromStdString(o.AlarmText);
  for (OutputArea *area : AllOutputAreas()) {
    ApplyLamp(area->AlarmLamp, o.AlarmLamp);
    area->AlarmLamp->setOn(o.AlarmLamp.Visible);
    area->AlarmText->setText(alarm);
    ShowAndDim(area->AlarmText, o.AlarmTextVisible, false);
    ApplyKey(area->BtClearAlarm, o.ClearAlarm);
    area->OutputSwitch->setOn(o.OutputSwitch.On);
    ShowAndDim(area->OutputSwitch, o.OutputSwitch.Visible, o.OutputSwitch.Dimmed);
    ShowAndDim(area->RunningText, o.RunningVisible, false);
    ShowAndDim(area->RisingText, o.RisingVisible, false);
    ShowAndDim(area->StoppedText, o.StoppedVisible, false);
    ShowAndDim(area->DCBox, o.DCOutput.Visible, false);
    area->DCSwitch->setOn(o.DCOutput.On);
    ShowAndDim(area->DCSwitch, true, o.DCOutput.Dimmed);
    ApplyNum(area->DCValue, o.DCReading);
  }
}

void GraphToPanel(const NormalSetGraphView &graph) {
  static uint32_t drawn = ~0u;
  if (graph.Revision == drawn)
    return;
  drawn = graph.Revision;
  const auto &p = graph.Points;
  DrawPhaseCurves(gMainPanel->NormalGraph, {p[0], p[1], p[2]}, graph.Shown, 360.0, -graph.YLimit,
                  graph.YLimit);
}

// The text of a ring's item with a value, as the main panel names it.
QString RingText(const Ring *ring, int value) {
  const int index = ring->findData(value);
  return index >= 0 ? ring->itemText(index) : QString::number(value);
}

QString FCOutModeText(int mode) {
  switch (mode) {
  case 0:
    return Tx("Three-phase", "三相输出");
  case 1:
    return Tx("Single phase", "单相输出");
  default:
    return Tx("Phase %1 only", "仅 %1 相").arg(QChar("UVW"[std::clamp(mode - 2, 0, 2)]));
  }
}

void GroupPanelsToPanel(const MainPanelState &s) {
  const MainPanel *p = gMainPanel;
  for (int g = 0; g < kFCGroupCount; ++g) {
    const FCGroupRow &row = s.FCGroupPanel.Rows[g];
    const QStringList cells = {Tenths(row.Vol),
                               Tenths(row.Freq),
                               FCOutModeText(row.OutMode),
                               row.VolLevel == 0 ? Tx("Auto", "自动") : Tx("High", "高档"),
                               QString::number(row.UpPercent),
                               QString::number(row.DownPercent)};
    for (int c = 0; c < cells.size(); ++c)
      gFCGroupPanel->setCell(g, c, cells[c]);
    if (s.FCGroupPanel.Radio[g])
      gFCGroupPanel->markRow(g);
  }
  const QString none = Tx("none", "无");
  for (int g = 0; g < kFPGroupCount; ++g) {
    const FPGroupRow &row = s.FPGroupPanel.Rows[g];
    const Ring *range = row.VolLevel == 3 ? p->RingRange23 : p->RingRange12;
    const Ring *wave = p->RingWave[0];
    const QStringList cells = {
        RingText(p->RingOutMode[OutModeRingOf(gPowerInfo.ModelType)], row.OutMode),
        ChannelText(row.OutChannel),
        Tenths(row.VolU),
        Tenths(row.VolV),
        Tenths(row.VolW),
        Tenths(row.VolLine),
        RingText(range, row.VolLevel),
        Hundredths(row.FreqU),
        Hundredths(row.FreqV),
        Hundredths(row.FreqW),
        Tenths(row.RiseTime),
        Tenths(row.AngleUV),
        Tenths(row.AngleVW),
        Tenths(row.AngleUW),
        RingText(wave, row.WaveU),
        row.NoWaveVW ? none : RingText(wave, row.WaveV),
        row.NoWaveVW ? none : RingText(wave, row.WaveW)};
    for (int c = 0; c < cells.size(); ++c)
      gFPGroupPanel->setCell(g, c, cells[c]);
    if (s.FPGroupPanel.Radio[g])
      gFPGroupPanel->markRow(g);
  }
}

void CarryOutRequests(PanelRequests &requests) {
  if (requests.NormalSaveLoadDimmed)
    MainMenuNormalSaveLoadDimmed(*requests.NormalSaveLoadDimmed ? 1 : 0);
  if (requests.PowerModelDimmed)
    MainMenuSetPowerModelDimmed(*requests.PowerModelDimmed ? 1 : 0);
  if (requests.ProgramDimmed)
    MainMenuSetProgramDimmed(*requests.ProgramDimmed ? 1 : 0);
  if (requests.THDDimmed)
    MainMenuSetTHDDimmed(*requests.THDDimmed ? 1 : 0);
  if (requests.MeasureHistoryDimmed) {
    gMainMenu->setDimmed(MENU_HISTORY, *requests.MeasureHistoryDimmed);
    gMainMenu->setDimmed(MENU_HISTORY_HISTORY, *requests.MeasureHistoryDimmed);
  }
  if (requests.RefreshProgramPage)
    RefreshProgramPageOnPanel(*requests.RefreshProgramPage, requests.ProgramPageBusy);
  for (int k = 0; k < MeasureArea::kReadouts; ++k)
    if (requests.ClearChart[k])
      gMeasureArea->Chart[k]->clearChart();
  requests = PanelRequests{};
}

std::string LanguageFileItem(int language, int item) {
  OpenLanguage(language);
  ReadItem(item, gStrLanguage);
  std::string text = gStrLanguage;
  CloseLanguage();
  return text;
}

template <typename Control, typename Signal>
void OnChange(Control *control, Signal signal, std::function<void(MainPanelState &)> callback) {
  QObject::connect(control, signal, control, [callback](auto &&...) {
    if (!gApplying)
      RunPanelCallback(callback);
  });
}

} // namespace

void ResetPanelState() {
  gPanelState = MainPanelState{};
  gPanelState.ItemText = LanguageFileItem;
}

void PanelToState() {
  MainPanel *p = gMainPanel;
  MainPanelState &s = gPanelState;
  s.FCMiddle.KnobVol.Value = p->KnobVolFC->value();
  s.FCMiddle.KnobFreq.Value = p->KnobFreqFC->value();
  s.FCNormal.Group.Value = p->RingGroupFC->ringValue();
  s.FCNormal.UpPercent.Value = p->NumUpPer->value();
  s.FCNormal.DownPercent.Value = p->NumDownPer->value();
  s.FCSystem.OCP.Value = p->NumOCPFC->value();
  s.FCSystem.StartRise.Value = p->NumStartRise->value();
  s.FCSystem.UCompensation.Value = p->NumUCompFC->value();
  s.FCSystem.KeySound.Value = p->SwKeySoundFC->isChecked() ? 1 : 0;
  for (int phase = 0; phase < 3; ++phase) {
    s.PhaseMiddle.KnobVol[phase].Value = p->KnobVol[phase]->value();
    s.PhaseMiddle.KnobFreq[phase].Value = p->KnobFreq[phase]->value();
    s.Wave.Wave[phase].Value = p->RingWave[phase]->ringValue();
    s.Separate.Switch[phase].Value = p->SwSeparate[phase]->isChecked() ? 1 : 0;
  }
  s.Normal.Group.Value = p->RingGroup->ringValue();
  for (int r = 0; r < kModeRingCount; ++r)
    s.Normal.OutMode[r].Value = p->RingOutMode[r]->ringValue();
  s.Normal.Range12.Value = p->RingRange12->ringValue();
  s.Normal.Range23.Value = p->RingRange23->ringValue();
  s.Normal.RiseTime.Value = p->NumRiseTime->value();
  s.Angle.AngleUV.Value = p->NumAngleUV->value();
  s.Angle.AngleUW.Value = p->NumAngleUW->value();
  s.System.UDisMode.Value = p->SwUDisMode->isChecked() ? 1 : 0;
  s.System.KeySound.Value = p->SwKeySound->isChecked() ? 1 : 0;
  s.System.OCP.Value = p->NumOCP->value();
  s.System.UCompensation.Value = p->NumUComp->value();
  for (int k = 0; k < kMeasureReadouts; ++k)
    s.Measure.Readout[k].Quantity = gMeasureArea->Selector[k]->ringValue();
}

// A reading, or "---" when no fresh measurement is expected.
void ShowReading(NumDisplay *display, double value, const MeasureAreaView &m) {
  if (m.NoValue)
    display->setText("---");
  else
    display->setNumber(value);
}

void MeasureStateToPanel() {
  const MeasureAreaView &m = gPanelState.Measure;
  MeasureArea *area = gMeasureArea;
  area->GraphView->setVisible(!m.TableVisible);
  area->TextView->setVisible(m.TableVisible);
  for (int k = 0; k < kMeasureReadouts; ++k) {
    const MeasureReadoutView &readout = m.Readout[k];
    {
      const QSignalBlocker block(area->Selector[k]);
      area->Selector[k]->setRingValue(readout.Quantity);
    }
    area->Selector[k]->setVisible(m.SelectorsVisible);
    area->FixedLabel[k]->setVisible(m.FixedLabelsVisible);
    for (int phase = 0; phase < 3; ++phase) {
      NumDisplay *display = area->Readout[k][phase];
      display->setDecimals(readout.Precision);
      ShowReading(display, readout.Value[phase], m);
      ShowAndDim(display, m.ReadoutsVisible && (phase == 0 || m.ReadoutVWVisible), m.Stale);
    }
    area->Chart[k]->setVisible(m.ChartsVisible);
  }
  for (int phase = 1; phase < 3; ++phase)
    area->GraphPhaseHeader[phase]->setVisible(m.ReadoutVWVisible);
  for (int q = 0; q < kMeasureTableRows; ++q)
    for (int phase = 0; phase < 3; ++phase)
      ShowReading(area->Table[q][phase], m.Table[q][phase], m);
}

void OutputStateToPanel() {
  if (!gMainPanel)
    return;
  gApplying = true;
  OutputToPanel(gPanelState.Output);
  MeasureStateToPanel();
  CarryOutRequests(gPanelState.Requests);
  gApplying = false;
}

void StateToPanel() {
  if (!gMainPanel)
    return;
  gApplying = true;
  MainPanelState &s = gPanelState;
  FCToPanel(gMainPanel, s);
  FPToPanel(gMainPanel, s);
  OutputToPanel(s.Output);
  MeasureStateToPanel();
  gMainMenu->setChecked(MENU_SET_VIEW_GRAPH, s.Measure.GraphItemChecked);
  gMainMenu->setChecked(MENU_SET_VIEW_TEXT, s.Measure.TextItemChecked);
  GraphToPanel(s.Graph);
  GroupPanelsToPanel(s);
  CarryOutRequests(s.Requests);
  gApplying = false;
}

void RunPanelCallback(const std::function<void(MainPanelState &)> &callback) {
  PanelToState();
  callback(gPanelState);
  StateToPanel();
}

void ConnectMainPanelControls() {
  MainPanel *p = gMainPanel;
  using P = MainPanelState &;
  // FC families
  OnChange(p->KnobVolFC, &Knob::valueChanged, FCVoltageKnobChanged);
  OnChange(p->KnobFreqFC, &Knob::valueChanged, FCFrequencyKnobChanged);
  OnChange(p->NumUpPer, &QSpinBox::valueChanged, FCNormalSetChanged);
  OnChange(p->NumDownPer, &QSpinBox::valueChanged, FCNormalSetChanged);
  OnChange(p->BtFCUVW, &QPushButton::clicked, FCPhaseKey);
  OnChange(p->BtFCAutoHigh, &QPushButton::clicked, FCRangeKey);
  OnChange(p->BtFC5060, &QPushButton::clicked, FC5060Key);
  OnChange(p->BtFCM2M4, &QPushButton::clicked, FCMultiplierKey);
  OnChange(p->BtFC120220, &QPushButton::clicked, FC120220Key);
  OnChange(p->BtFCPL, &QPushButton::clicked, FCPhaseLineKey);
  OnChange(p->BtFCUp, &QPushButton::clicked, FCVoltageUpKey);
  OnChange(p->BtFCDown, &QPushButton::clicked, FCVoltageDownKey);
  OnChange(p->RingGroupFC, &QComboBox::currentIndexChanged, FCGroupRingChanged);
  for (NumEntry *entry : {p->NumOCPFC, p->NumStartRise, p->NumUCompFC})
    OnChange(entry, &QDoubleSpinBox::valueChanged, FCSystemSetChanged);
  OnChange(p->SwKeySoundFC, &QCheckBox::toggled, FCSystemSetChanged);
  // the other families
  for (Ring *ring : p->RingOutMode)
    OnChange(ring, &QComboBox::currentIndexChanged, FPNormalChanged);
  for (Ring *ring : {p->RingRange12, p->RingRange23})
    OnChange(ring, &QComboBox::currentIndexChanged, FPNormalChanged);
  OnChange(p->NumRiseTime, &QDoubleSpinBox::valueChanged, FPNormalChanged);
  for (Ring *ring : p->RingWave)
    OnChange(ring, &QComboBox::currentIndexChanged, FPNormalChanged);
  for (NumEntry *entry : {p->NumAngleUV, p->NumAngleUW})
    OnChange(entry, &QDoubleSpinBox::valueChanged, FPNormalChanged);
  for (int phase = 0; phase < 3; ++phase) {
    OnChange(p->KnobVol[phase], &Knob::valueChanged, NormalOnlineChanged);
    OnChange(p->KnobFreq[phase], &Knob::valueChanged, NormalOnlineChanged);
    OnChange(p->SwSeparate[phase], &QCheckBox::toggled, SeparateSwitchChanged);
  }
  OnChange(p->RingGroup, &QComboBox::currentIndexChanged, FPGroupRingChanged);
  OnChange(p->SwUDisMode, &QCheckBox::toggled, FPSystemSetChanged);
  OnChange(p->SwKeySound, &QCheckBox::toggled, FPSystemSetChanged);
  for (NumEntry *entry : {p->NumOCP, p->NumUComp})
    OnChange(entry, &QDoubleSpinBox::valueChanged, FPSystemSetChanged);
  OnChange(p->BtAngleStandard, &QPushButton::clicked, StandardAngleKey);
  // output areas of the five operating panels
  for (OutputArea *area : AllOutputAreas()) {
    OnChange(area->OutputSwitch, &LedSwitch::clicked, [](P panel) {
      if (ConfirmProgramRun(gCurrentPage))
        OutputSwitchClick(panel);
    });
    OnChange(area->DCSwitch, &LedSwitch::clicked, DCOutputSwitchClick);
    OnChange(area->BtClearAlarm, &QPushButton::clicked, ClearAlarmKey);
  }
  // measurement selectors and charts
  for (int k = 1; k <= kMeasureReadouts; ++k) {
    Ring *selector = gMeasureArea->Selector[k - 1];
    OnChange(selector, &QComboBox::currentIndexChanged,
             [k, selector](P panel) { MeasureSelectorChanged(panel, k, selector->ringValue()); });
    OnChange(gMeasureArea->Chart[k - 1], &StripChart::doubleClicked,
             [k](P panel) { ClearMeasureGraph(panel, k); });
  }
}
