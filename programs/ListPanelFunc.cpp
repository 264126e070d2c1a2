#include "programs/ListPanelFunc.h"

#include <algorithm>

#include "comm/CommScheduler.h"
#include "programs/Arithmetic.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "settings/ProgramSet.h"

namespace {

constexpr int kDelayTicks = 20; // the preview is redrawn 1 s after the last change

bool Running() { return gPowerInfo.OutputRunning != 0; }
bool IsGS() { return gPowerInfo.ModelType == kModelGS; }

// What differs between the twins outside the steps.
struct Twin {
  ListSet &Header;
  int32_t &DisMode;
  int32_t &DataOk;
  int WriteHeader, WriteStep, WriteGroup;
};

Twin TwinOf(ListPanelKind kind) {
  if (kind == kListPanelRamp)
    return {gRampSet, gRampSetDisMode, gCommInfo.RampDataOk, 37, 38, kGroupWriteRamp};
  return {gListSet, gListSetDisMode, gCommInfo.ListDataOk, 35, 36, kGroupWriteList};
}

// The voltage and frequency fields of a step phase: one of each on List,
// a start and a stop of each on Ramp.
template <typename Phase> struct Ends;
template <> struct Ends<ListPhase> {
  static constexpr int Count = 1;
  static constexpr int32_t ListPhase::*Vol[] = {&ListPhase::Vol};
  static constexpr int32_t ListPhase::*VolLine[] = {&ListPhase::VolLine};
  static constexpr int32_t ListPhase::*Freq[] = {&ListPhase::Freq};
};
template <> struct Ends<RampPhase> {
  static constexpr int Count = 2;
  static constexpr int32_t RampPhase::*Vol[] = {&RampPhase::VolStart, &RampPhase::VolStop};
  static constexpr int32_t RampPhase::*VolLine[] = {&RampPhase::VolLineStart,
                                                    &RampPhase::VolLineStop};
  static constexpr int32_t RampPhase::*Freq[] = {&RampPhase::FreqStart, &RampPhase::FreqStop};
};

int CurrentStep(const ListSet &h) { return std::clamp<int32_t>(h.CurrentNo, 0, 99); }

// Calls f with the current step's three phases of the panel's program.
template <typename F> void WithCurrentStep(const ListPanelState &panel, F f) {
  if (panel.Kind == kListPanelRamp)
    f(gRampRampSet[CurrentStep(gRampSet)].Phase);
  else
    f(gListListSet[CurrentStep(gListSet)].Phase);
}

void QueueSingle(int cmd2, int param) {
  if (gPowerInfo.Connected == 1)
    CommSetNewCmdSingleGroup(kCmdClassWrite, cmd2, param);
}

void RequestWholeProgram(ListPanelState &panel) {
  if (gPowerInfo.Connected == 1)
    panel.WriteProgramRequested = true;
}

template <typename Phases> void StepToPanel(ListPanelState &panel, const Phases &phases) {
  using E = Ends<std::decay_t<decltype(phases[0])>>;
  const int mode = TwinOf(panel.Kind).Header.OutMode;
  const bool running = Running();
  const bool line = ProgramLineEntry(mode);
  const bool zeroVW = mode == 5 || line;
  for (int phase = 0; phase < 3; ++phase) {
    const auto &p = phases[phase];
    ListColumnView &c = panel.Column[phase];
    const bool zero = phase > 0 && zeroVW;
    auto show = [zero](NumView &view, int32_t value, double scale) {
      view.Value = zero ? 0.0 : value / scale;
    };
    const bool voltsDimmed = running || (phase > 0 && (mode == 0 || mode == 5));
    const bool restDimmed = running || (phase > 0 && mode != 1);
    for (int end = 0; end < E::Count; ++end) {
      show(c.Vol[end], p.*E::Vol[end], 10);
      show(c.Freq[end], p.*E::Freq[end], 100);
      c.Vol[end].Visible = phase > 0 || !line;
      c.Vol[end].Dimmed = voltsDimmed;
      c.Freq[end].Dimmed = restDimmed;
    }
    show(c.TimeH, p.TimeH, 1);
    show(c.TimeM, p.TimeM, 1);
    show(c.TimeS, p.TimeS2P, 100);
    c.TimeH.Dimmed = c.TimeM.Dimmed = c.TimeS.Dimmed = restDimmed;
    c.Wave.Value = p.Wave;
    c.Wave.Dimmed = voltsDimmed;
  }
  for (int end = 0; end < E::Count; ++end) {
    panel.VolLine[end].Value = phases[0].*E::VolLine[end] / 10.0;
    panel.VolLine[end].Visible = line;
    panel.VolLine[end].Dimmed = running;
  }
  panel.HeadingsVWVisible = !zeroVW;
  panel.FollowUVisible = zeroVW;
}

template <typename Phases> void PanelToStep(const ListPanelState &panel, Phases &phases) {
  using E = Ends<std::decay_t<decltype(phases[0])>>;
  const int mode = TwinOf(panel.Kind).Header.OutMode;
  auto &u = phases[0];
  for (int end = 0; end < E::Count; ++end) {
    if (ProgramLineEntry(mode)) {
      u.*E::VolLine[end] = StepPanelToStored(panel.VolLine[end].Value, 10);
      u.*E::Vol[end] = LineToPhase(u.*E::VolLine[end]);
    } else {
      u.*E::Vol[end] = StepPanelToStored(panel.Column[0].Vol[end].Value, 10);
      u.*E::VolLine[end] = PhaseToLine(u.*E::Vol[end]);
    }
    const bool copyVolts = mode == 0 || mode == 5;
    for (int phase = 1; phase < 3; ++phase)
      phases[phase].*E::Vol[end] =
          copyVolts ? u.*E::Vol[end] : StepPanelToStored(panel.Column[phase].Vol[end].Value, 10);
  }
  for (int phase = 0; phase < 3; ++phase) {
    auto &p = phases[phase];
    const ListColumnView &c = panel.Column[mode == 1 ? phase : 0];
    for (int end = 0; end < E::Count; ++end)
      p.*E::Freq[end] = StepPanelToStored(c.Freq[end].Value, 100);
    p.TimeH = int(c.TimeH.Value);
    p.TimeM = int(c.TimeM.Value);
    p.TimeS2P = ProgramStepHundredths(c.TimeS.Value, p.TimeH, p.TimeM);
    p.Wave = panel.Column[mode == 1 || mode == 16 ? phase : 0].Wave.Value;
    // FPA and FPB run a stored waveform only at 45.00..65.00 Hz.
    if (!IsGS())
      for (int end = 0; end < E::Count; ++end)
        if (NumOutBound(p.*E::Freq[end], 4500, 6500))
          p.Wave = 0;
  }
}

// A refused edit: the controls show the record again.
void Refused(ListPanelState &panel) { DataFPFromListVarToPanel(panel); }

} // namespace

ListPanelState FreshListPanelState(ListPanelKind kind) {
  ListPanelState panel;
  panel.Kind = kind;
  return panel;
}

int32_t &ListDisMode(const ListPanelState &panel) { return TwinOf(panel.Kind).DisMode; }

void ListPanelInit(ListPanelState &panel) {
  const Twin twin = TwinOf(panel.Kind);
  if (panel.Kind == kListPanelRamp)
    DataRampCheckAllByModel(gPowerInfo.ModelType);
  else
    DataListCheckAllByModel(gPowerInfo.ModelType);
  const bool gs = IsGS();
  panel.GSNotesVisible = gs;
  auto limit = [](NumView &view, double minimum, double maximum) {
    view.Min = minimum;
    view.Max = maximum;
  };
  for (ListColumnView &c : panel.Column) {
    for (int end = 0; end < 2; ++end) {
      limit(c.Vol[end], 0, 300);
      limit(c.Freq[end], 45, gs ? 65 : 240);
    }
    limit(c.TimeH, 0, 99);
    limit(c.TimeM, 0, 59);
    limit(c.TimeS, 0, 59.98);
  }
  for (NumView &line : panel.VolLine)
    limit(line, 0, 519.6);
  limit(panel.StartNo, 0, 99);
  limit(panel.StopNo, 0, 99);
  limit(panel.StepNo, 0, 99);
  limit(panel.CircleDegree, 1, 999999);
  limit(panel.Angle.AngleUV, 0, 359.9);
  limit(panel.Angle.AngleUW, 0, 359.9);
  panel.Angle.Visible = false;
  const int ring = ProgramModeRing();
  for (int r = 0; r < kStepRingCount; ++r)
    panel.OutMode[r].Visible = r == ring;
  gRefreshProWaveDelay = 0;
  if (twin.DataOk == 1) {
    if (panel.Kind == kListPanelRamp)
      RefreshRampSetGraph(panel.Graph, 1, 1, twin.DisMode);
    else
      RefreshListSetGraph(panel.Graph, 1, 1, twin.DisMode);
  }
}

void DataFPFromListVarToPanel(ListPanelState &panel) {
  const Twin twin = TwinOf(panel.Kind);
  ListSet &h = twin.Header;
  const bool running = Running();
  for (RingView &ring : panel.OutMode) {
    ring.Value = h.OutMode;
    ring.Dimmed = running;
  }
  h.StopNo = std::max(h.StopNo, h.StartNo);
  panel.StartNo.Value = h.StartNo;
  panel.StopNo.Value = h.StopNo;
  panel.CircleDegree.Value = h.CircleDegree;
  panel.StartNo.Dimmed = panel.StopNo.Dimmed = panel.CircleDegree.Dimmed = running;
  ProgramAnglesToPanel(h.OutMode, h.AngleUV, h.AngleUW, panel.Angle);
  panel.StepNo.Value = CurrentStep(h);
  WithCurrentStep(panel, [&panel](const auto &phases) { StepToPanel(panel, phases); });
  gRefreshProWaveDelay = kDelayTicks;

  int32_t &mode = twin.DisMode;
  const bool single = h.OutMode == 5;
  if (single)
    mode = mode >= 5 ? 5 : 2;
  MenuListSetWaveMode(panel, single ? 1 : 0, running ? 1 : 0, mode);
}

void DataFPFromPanelToListVar(ListPanelState &panel) {
  ListSet &h = TwinOf(panel.Kind).Header;
  const int old = h.OutMode;
  const int ring = ProgramModeRing();
  h.OutMode = ring >= 0 ? panel.OutMode[ring].Value : 0;
  TellOutputTerminalChange(old, h.OutMode);
  const int start = int(panel.StartNo.Value), stop = int(panel.StopNo.Value);
  if (stop >= start) {
    h.StartNo = start;
    h.StopNo = stop;
  } else {
    // The end that moved decides: a stop moved below the start follows the
    // start, a start moved above the stop follows the stop.
    h.StartNo = h.StopNo = start == h.StartNo ? start : stop;
  }
  h.CircleDegree = int(panel.CircleDegree.Value);
  ProgramAnglesFromPanel(h.OutMode, panel.Angle, h.AngleUV, h.AngleUW, h.AngleVW);
}

void DataFPFromPanelToListListVar(ListPanelState &panel) {
  if (panel.Kind == kListPanelRamp)
    PanelToStep(panel, gRampRampSet[CurrentStep(gRampSet)].Phase);
  else
    PanelToStep(panel, gListListSet[CurrentStep(gListSet)].Phase);
}

void ListSetChanged(ListPanelState &panel) {
  if (GuardAlarm())
    return Refused(panel);
  DataFPFromPanelToListVar(panel);
  DataFPFromListVarToPanel(panel);
  QueueSingle(TwinOf(panel.Kind).WriteHeader, 0);
}

void ListSetModeChanged(ListPanelState &panel) {
  if (GuardAlarm())
    return Refused(panel);
  const Twin twin = TwinOf(panel.Kind);
  const int old = twin.Header.OutMode;
  DataFPFromPanelToListVar(panel);
  DataFPFromListVarToPanel(panel);
  const int now = twin.Header.OutMode;
  // Into a mode where V and W keep their own values the steps go out too.
  if (now == old || now == 0 || now == 5)
    QueueSingle(twin.WriteHeader, 0);
  else
    RequestWholeProgram(panel);
}

void ListListSetChanged(ListPanelState &panel) {
  if (GuardAlarm())
    return Refused(panel);
  DataFPFromPanelToListListVar(panel);
  DataFPFromListVarToPanel(panel);
  const Twin twin = TwinOf(panel.Kind);
  QueueSingle(twin.WriteStep, CurrentStep(twin.Header));
}

void ListStepChoose(ListPanelState &panel) {
  if (GuardAlarm())
    return Refused(panel);
  const Twin twin = TwinOf(panel.Kind);
  twin.Header.CurrentNo = std::clamp(int(panel.StepNo.Value), 0, 99);
  DataFPFromListVarToPanel(panel);
  // The whole-program curves do not change with the step shown.
  if (twin.DisMode <= 4)
    gRefreshProWaveDelay = 0;
}

void ListStandardAngle(ListPanelState &panel) {
  if (GuardAlarm()) {
    // The List panel shows its record again; the Ramp panel leaves it.
    if (panel.Kind == kListPanelList)
      Refused(panel);
    return;
  }
  const Twin twin = TwinOf(panel.Kind);
  twin.Header.AngleUV = 1200;
  twin.Header.AngleUW = 2400;
  twin.Header.AngleVW = AngleABAC2AngleBC(1200, 2400);
  DataFPFromListVarToPanel(panel);
  QueueSingle(twin.WriteHeader, 0);
}

void ListDisplayMode(ListPanelState &panel, int mode) {
  const Twin twin = TwinOf(panel.Kind);
  if (mode == twin.DisMode || mode < 1 || mode > 7)
    return;
  twin.DisMode = mode;
  const int redraw = mode <= 4 ? 1 : 0;
  if (panel.Kind == kListPanelRamp)
    RefreshRampSetGraph(panel.Graph, 0, redraw, mode);
  else
    RefreshListSetGraph(panel.Graph, 0, redraw, mode);
  MenuListSetWaveMode(panel, twin.Header.OutMode == 5, Running(), mode);
}

void ListFileLoadedAll(ListPanelState &panel) {
  DataFPFromListVarToPanel(panel);
  RequestWholeProgram(panel);
}

void ListFileLoadedOne(ListPanelState &panel) {
  DataFPFromListVarToPanel(panel);
  const Twin twin = TwinOf(panel.Kind);
  QueueSingle(twin.WriteStep, CurrentStep(twin.Header));
}

void MenuListSaveLoadDimmed(ListPanelState &panel, int busy) { panel.SaveLoadDimmed = busy != 0; }

void MenuListSetWaveMode(ListPanelState &panel, int singlePhase, int running, int mode) {
  const bool single = singlePhase != 0, run = running != 0;
  // Modes 1 all, 2 U, 3 V, 4 W, 5..7 the five-step window of U, V, W.
  panel.DisModeDimmed = {single, false, single, single, run, single || run, single || run};
  panel.DisModeChecked = mode;
}
