#include "app/MainPanelFunc.h"

#include <algorithm>

#include "app/NormalPanelMap.h"
#include "app/OutputState.h"
#include "comm/CommScheduler.h"
#include "programs/Arithmetic.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

namespace {

// Commands (class, code) queued from the main panel.
constexpr int kClassOutput = 15;
constexpr int kClassWrite = 90;
constexpr int kOutputOn = 255;
constexpr int kOutputOff = 0;
constexpr int kDCOutputOn = 254;
constexpr int kDCOutputOff = 1;
constexpr int kWriteNormalGroup = 33;
constexpr int kWriteStep = 34;
constexpr int kWriteListHeader = 35;
constexpr int kWriteRampHeader = 37;
constexpr int kWriteCrossHeader = 40;
constexpr int kWriteSystem = 48;
constexpr int kOnlineChange = 80;

// Highest FC frequency the knob sets (0.1 Hz); above are the multiplied ones.
constexpr int kFCKnobFreqMax = 650;

bool Connected() { return gPowerInfo.Connected == 1; }
bool Running() { return gPowerInfo.OutputRunning != 0; }

// Queues one command, only while a source is connected.
void Queue(int cmd1, int cmd2, int param) {
  if (Connected()) {
    CommSetNewCmdSingleGroup(cmd1, cmd2, param);
  }
}

void QueueNormalGroup() { Queue(kClassWrite, kWriteNormalGroup, gCurrentNormalGroup); }
void QueueSystem() { Queue(kClassWrite, kWriteSystem, 0); }
// The group to the source: on-line change while the output runs, else a write.
void QueueNormalGroupOnline() {
  if (gPowerInfo.OutputRunning == 1) {
    Queue(kClassWrite, kOnlineChange, gCurrentNormalGroup);
  } else {
    QueueNormalGroup();
  }
}

NormalFCSet &CurrentFC() {
  return gNormalFCSet[std::clamp(gCurrentNormalGroup, 0, kFCGroupCount - 1)];
}

NormalFPSet &CurrentFP() {
  return gNormalFPSet[std::clamp(gCurrentNormalGroup, 0, kFPGroupCount - 1)];
}

void ShowFCNormalAndSystem(MainPanelState &panel) {
  DataFCFromNormalVarToPanel(panel);
  DataFCFromSystemVarToPanel(panel);
}

// A guard (GuardAlarm, GuardRising), putting the panel back with `restore`
// after a refusal.
template <typename Restore> bool RefusedBy(int (*guard)(), MainPanelState &panel, Restore restore) {
  if (guard() == 0) {
    return false;
  }
  restore(panel);
  return true;
}
template <typename Restore> bool RefusedByAlarm(MainPanelState &panel, Restore restore) {
  return RefusedBy(GuardAlarm, panel, restore);
}
// The entries that may change a running output: refused during an alarm and
// while the output is still rising.
template <typename Restore> bool RefusedByAlarmOrRising(MainPanelState &panel, Restore restore) {
  return RefusedBy(GuardAlarm, panel, restore) || RefusedBy(GuardRising, panel, restore);
}

// FP-style entries: panel to record, then record to panel (which corrects).
void FPPanelThroughRecord(MainPanelState &panel) {
  DataFPFromPanelToNormalVar(panel);
  DataFPFromNormalVarToPanel(panel);
}

// Marks one row of a group panel.
template <typename GroupPanel> void MarkGroup(GroupPanel &view, int group) {
  view.Chosen = group;
  for (size_t i = 0; i < view.Radio.size(); ++i) {
    view.Radio[i] = static_cast<int>(i) == group;
  }
}

// Makes a group current from the group ring of the normal page or the mark
// of a group panel: the page shows it (its ring too), and it goes to the source.
void MakeGroupCurrent(MainPanelState &panel, int group, int count, void (*show)(MainPanelState &)) {
  gCurrentNormalGroup = std::clamp(group, 0, count - 1);
  show(panel);
  QueueNormalGroup();
}

// Both voltage keys: when Vol has moved from `before`, show and send it.
void FCVoltageStep(MainPanelState &panel, int before) {
  NormalFCSet &g = CurrentFC();
  if (g.Vol == before) {
    return;
  }
  g.VolLine = PhaseToLine(g.Vol);
  DataFCFromNormalVarToPanel(panel);
  Queue(kClassWrite, kOnlineChange, gCurrentNormalGroup);
}

// Connected: write what the output will run, then switch on; or switch off.
void SwitchOutputAtSource(MainPanelState &panel, int writeCode, int writeParam) {
  if (gPowerInfo.OutputRunning != 1) {
    gMeasureOutput = MeasureOutput{};
    Queue(kClassWrite, writeCode, writeParam);
    Queue(kClassOutput, kOutputOn, 0);
    ClearMeasureGraphAll(panel);
  } else {
    Queue(kClassOutput, kOutputOff, 0);
  }
}

void ChannelWarning() {
  MessagePopupInLanguage("Warning", "Please set at least one channel is on!", "警告",
                         "请至少设置一路输出为开!");
}

} // namespace

// ---- FC families ----

void FCVoltageKnobChanged(MainPanelState &panel) {
  if (!IsFCModel(gPowerInfo.ModelType)) {
    return;
  }
  DataFCFromPanelToNormalVar(panel);
}

void FCFrequencyKnobChanged(MainPanelState &panel) {
  if (!IsFCModel(gPowerInfo.ModelType)) {
    return;
  }
  NormalFCSet &g = CurrentFC();
  if (g.Freq > kFCKnobFreqMax) {
    g.Freq = kFCKnobFreqMax;
  } else {
    DataFCFromPanelToNormalVar(panel);
  }
  DataFCFromNormalVarToPanel(panel);
}

void FCNormalSetChanged(MainPanelState &panel) {
  DataFCFromPanelToNormalVar(panel);
  QueueNormalGroup();
}

void FCPhaseKey(MainPanelState &panel) {
  if (Running() || RefusedByAlarm(panel, ShowFCNormalAndSystem)) {
    return;
  }
  NormalFCSet &g = CurrentFC();
  switch (g.OutMode) {
  case 0:
    g.OutMode = 2;
    break;
  case 2:
    g.OutMode = 3;
    break;
  case 3:
    g.OutMode = 4;
    break;
  default:
    g.OutMode = 0;
    break;
  }
  ShowFCNormalAndSystem(panel);
  QueueNormalGroup();
}

void FCRangeKey(MainPanelState &panel) {
  if (Running()) {
    return;
  }
  NormalFCSet &g = CurrentFC();
  g.VolLevel = g.VolLevel == 1 ? 0 : 1;
  DataFCFromNormalVarToPanel(panel);
  QueueNormalGroup();
}

void FC5060Key(MainPanelState &panel) {
  if (Running()) {
    return;
  }
  NormalFCSet &g = CurrentFC();
  switch (g.Freq) {
  case 500:
    g.Freq = 600;
    break;
  case 600:
    g.Freq = 500;
    break;
  case 1000:
    g.Freq = 1200;
    break;
  case 1200:
    g.Freq = 1000;
    break;
  case 2000:
    g.Freq = 2400;
    break;
  case 2400:
    g.Freq = 2000;
    break;
  default:
    g.Freq = 500;
    break;
  }
  DataFCFromNormalVarToPanel(panel);
  QueueNormalGroup();
}

void FCMultiplierKey(MainPanelState &panel) {
  if (Running() || RefusedByAlarm(panel, DataFCFromNormalVarToPanel)) {
    return;
  }
  NormalFCSet &g = CurrentFC();
  switch (g.Freq) {
  case 500:
  case 600:
  case 1000:
  case 1200:
    g.Freq *= 2;
    break;
  case 2000:
  case 2400:
    g.Freq /= 4;
    break;
  default:
    return; // a free frequency has no multiple
  }
  DataFCFromNormalVarToPanel(panel);
  QueueNormalGroup();
}

void FC120220Key(MainPanelState &panel) {
  if (Running() || RefusedByAlarm(panel, DataFCFromNormalVarToPanel)) {
    return;
  }
  NormalFCSet &g = CurrentFC();
  if (g.Vol == 1200) {
    g.Vol = 2200;
    g.VolLine = 3810;
  } else {
    g.Vol = 1200;
    g.VolLine = 2078;
  }
  DataFCFromNormalVarToPanel(panel);
  QueueNormalGroup();
}

void FCPhaseLineKey(MainPanelState &panel) {
  if (RefusedByAlarm(panel, ShowFCNormalAndSystem)) {
    return;
  }
  if (CurrentFC().OutMode == 0) {
    gSystemSet.UDisMode = gSystemSet.UDisMode == 1 ? 0 : 1;
  }
  DataFCFromSystemVarToPanel(panel);
  DataFCFromNormalVarToPanel(panel);
  QueueSystem();
}

void FCVoltageUpKey(MainPanelState &panel) {
  if (RefusedByAlarm(panel, ShowFCNormalAndSystem) ||
      RefusedBy(GuardRising, panel, DataFCFromNormalVarToPanel) || !Running()) {
    return;
  }
  NormalFCSet &g = CurrentFC();
  const int before = g.Vol;
  if (g.Vol < g.VolDown) {
    g.Vol = g.VolDown;
  } else if (g.Vol < g.VolBase) {
    g.Vol = g.VolBase;
  } else if (g.Vol < g.VolUp) {
    g.Vol = g.VolUp;
  }
  FCVoltageStep(panel, before);
}

void FCVoltageDownKey(MainPanelState &panel) {
  if (RefusedByAlarmOrRising(panel, DataFCFromNormalVarToPanel) || !Running()) {
    return;
  }
  NormalFCSet &g = CurrentFC();
  const int before = g.Vol;
  if (g.Vol > g.VolUp) {
    g.Vol = g.VolUp;
  } else if (g.Vol > g.VolBase) {
    g.Vol = g.VolBase;
  } else if (g.Vol > g.VolDown) {
    g.Vol = g.VolDown;
  }
  FCVoltageStep(panel, before);
}

void FCGroupRingChanged(MainPanelState &panel) {
  if (Running() || RefusedByAlarm(panel, ShowFCNormalAndSystem)) {
    return;
  }
  MakeGroupCurrent(panel, panel.FCNormal.Group.Value, kFCGroupCount, ShowFCNormalAndSystem);
}

void FCSystemSetChanged(MainPanelState &panel) {
  if (Running() || RefusedByAlarm(panel, DataFCFromSystemVarToPanel)) {
    return;
  }
  DataFCFromPanelToSystemVar(panel);
  DataFCFromSystemVarToPanel(panel);
  QueueSystem();
}

// ---- The other families ----

void FPNormalChanged(MainPanelState &panel) {
  if (RefusedByAlarm(panel, DataFPFromNormalVarToPanel)) {
    return;
  }
  FPPanelThroughRecord(panel);
  QueueNormalGroup();
}

void NormalOnlineChanged(MainPanelState &panel) {
  if (IsFCModel(gPowerInfo.ModelType)) {
    if (RefusedByAlarmOrRising(panel, DataFCFromNormalVarToPanel)) {
      return;
    }
    NormalFCSet &g = CurrentFC();
    const int freq = g.Freq;
    DataFCFromPanelToNormalVar(panel);
    // A multiplied frequency is not changed by the entry while running.
    if (freq > kFCKnobFreqMax && gPowerInfo.OutputRunning == 1) {
      g.Freq = freq;
    }
    DataFCFromNormalVarToPanel(panel);
  } else {
    if (RefusedByAlarmOrRising(panel, DataFPFromNormalVarToPanel)) {
      return;
    }
    FPPanelThroughRecord(panel);
  }
  QueueNormalGroupOnline();
}

void SeparateSwitchChanged(MainPanelState &panel) {
  if (RefusedByAlarmOrRising(panel, DataFPFromNormalVarToPanel)) {
    return;
  }
  FPPanelThroughRecord(panel);
  QueueNormalGroupOnline();
}

void FPGroupRingChanged(MainPanelState &panel) {
  if (Running() || RefusedByAlarm(panel, DataFPFromNormalVarToPanel)) {
    return;
  }
  MakeGroupCurrent(panel, panel.Normal.Group.Value, kFPGroupCount, DataFPFromNormalVarToPanel);
}

void FPSystemSetChanged(MainPanelState &panel) {
  if (Running() || RefusedByAlarm(panel, [](MainPanelState &p) {
        DataFPFromSystemVarToPanel(p);
        DataFPFromNormalVarToPanel(p);
      })) {
    return;
  }
  DataFPFromPanelToSystemVar(panel);
  DataFPFromSystemVarToPanel(panel);
  DataFPFromNormalVarToPanel(panel);
  QueueSystem();
}

void StandardAngleKey(MainPanelState &panel) {
  if (GuardAlarm() == 1) {
    return;
  }
  NormalFPSet &g = CurrentFP();
  g.AngleUV = 1200;
  g.AngleUW = 2400;
  g.AngleVW = AngleABAC2AngleBC(g.AngleUV, g.AngleUW);
  DataFPFromNormalVarToPanel(panel);
  QueueNormalGroup();
}

// ---- Group-choice panels ----

GroupPanelChoice GroupChooseKey(MainPanelState &panel) {
  if (GuardAlarm() == 1) {
    return kNoGroupPanel;
  }
  if (IsFCModel(gPowerInfo.ModelType)) {
    DataFCFromNormalVarToGroupPanel(panel);
    ChooseFCGroup(panel, gCurrentNormalGroup);
    return kFCGroupPanel;
  }
  DataFPFromNormalVarToGroupPanel(panel);
  ChooseFPGroup(panel, gCurrentNormalGroup);
  return kFPGroupPanel;
}

void ChooseFCGroup(MainPanelState &panel, int group) { MarkGroup(panel.FCGroupPanel, group); }

void ChooseFPGroup(MainPanelState &panel, int group) { MarkGroup(panel.FPGroupPanel, group); }

int FCGroupOk(MainPanelState &panel) {
  if (GuardAlarm() == 1) {
    return 0;
  }
  MakeGroupCurrent(panel, panel.FCGroupPanel.Chosen, kFCGroupCount, DataFCFromNormalVarToPanel);
  return 1;
}

int FPGroupOk(MainPanelState &panel) {
  if (GuardAlarm() == 1) {
    return 0;
  }
  MakeGroupCurrent(panel, panel.FPGroupPanel.Chosen, kFPGroupCount, DataFPFromNormalVarToPanel);
  return 1;
}

// ---- Output ----

void OutputSwitchClick(MainPanelState &panel) {
  // Without a source the output's state is unknown and the switch does
  // nothing (the window dims it).
  if (!Connected()) {
    return;
  }
  gMeasureOutput = MeasureOutput{};
  const bool fc = IsFCModel(gPowerInfo.ModelType);
  const bool wasRunning = gPowerInfo.OutputRunning == 1;
  switch (gCurrentPage) {
  case kPageMain:
    if (!fc) {
      const NormalFPSet &g = CurrentFP();
      if (g.OutMode == 1 && g.OutChannel == 0 && !wasRunning) {
        ChannelWarning();
        return;
      }
    }
    SwitchOutputAtSource(panel, kWriteNormalGroup, gCurrentNormalGroup);
    if (fc) {
      CalFCPowerUpDown(wasRunning ? 0 : 1);
    }
    break;
  case kPageStep:
  case kPageList:
  case kPageRamp:
  case kPageCross:
    static constexpr int kProgramWrite[] = {kWriteStep, kWriteListHeader, kWriteRampHeader,
                                            kWriteCrossHeader};
    SwitchOutputAtSource(panel, kProgramWrite[gCurrentPage - kPageStep], 0);
    break;
  default:
    break;
  }
}

void DCOutputSwitchClick(MainPanelState &panel) {
  if (RefusedByAlarm(panel, DataFCFromSystemVarToPanel)) {
    return;
  }
  if (Connected()) {
    Queue(kClassOutput, gPowerState.DCOutputOn == 0 ? kDCOutputOn : kDCOutputOff, 0);
  }
}

// ---- Measurements ----

void MeasureSelectorChanged(MainPanelState &panel, int k, int quantity) {
  switch (k) {
  case 1:
    gPowerInfo.MeasureItemR1 = quantity;
    break;
  case 2:
    gPowerInfo.MeasureItemR2 = quantity;
    break;
  case 3:
    gPowerInfo.MeasureItemR3 = quantity;
    break;
  case 4:
    gPowerInfo.MeasureItemR4 = quantity;
    break;
  default:
    return;
  }
  SetMeasureTextTypeAndSolution(panel.Measure, k, quantity);
  ClearMeasureGraph(panel, k);
}

void ClearMeasureGraph(MainPanelState &panel, int k) {
  if (k >= 1 && k <= kMeasureReadouts) {
    panel.Requests.ClearChart[k - 1] = true;
  }
}

void ClearMeasureGraphAll(MainPanelState &panel) {
  for (int k = 1; k <= kMeasureReadouts; ++k) {
    ClearMeasureGraph(panel, k);
  }
}
