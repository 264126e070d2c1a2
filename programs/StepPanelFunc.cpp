#include "programs/StepPanelFunc.h"

#include <climits>
#include <cmath>

#include "comm/CommScheduler.h"
#include "programs/Arithmetic.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "settings/ProgramSet.h"

namespace {

constexpr int kWriteStep = 34;
constexpr int kDelayTicks = 20; // the preview is redrawn 1 s after the last change

bool Running() { return gPowerInfo.OutputRunning != 0; }
bool IsGS() { return gPowerInfo.ModelType == kModelGS; }

bool LineEntry(const StepSet &s) { return ProgramLineEntry(s.OutMode); }

void QueueStepWrite() {
  if (gPowerInfo.Connected == 1)
    CommSetNewCmdSingleGroup(kCmdClassWrite, kWriteStep, 0);
}

void Limit(NumView &view, double minimum, double maximum) {
  view.Min = minimum;
  view.Max = maximum;
}

int32_t &Field(StepSet &s, int phase, StepField StepPhase::*which) {
  return s.*(kStepPhases[phase].*which);
}
int32_t Get(const StepSet &s, int phase, StepField StepPhase::*which) {
  return s.*(kStepPhases[phase].*which);
}

// A waveform other than sine only where the frequency stays in range (FPA
// and FPB): per phase in mode 1, by phase U for all three otherwise.
void WaveformRule(StepSet &s) {
  if (IsGS())
    return;
  if (s.OutMode == 1) {
    for (int phase = 0; phase < 3; ++phase)
      if (!StepWaveAllowed(s, phase))
        Field(s, phase, &StepPhase::Wave) = 0;
  } else if (!StepWaveAllowed(s, 0)) {
    s.WaveU = s.WaveV = s.WaveW = 0;
  }
}

// Balanced and single phase run V and W as U; mode 16 shares frequency,
// count and timing only.
void ModeCopies(StepSet &s) {
  const bool all = s.OutMode == 0 || s.OutMode == 5;
  if (!all && s.OutMode != 16)
    return;
  for (int phase = 1; phase < 3; ++phase) {
    auto copy = [&](StepField StepPhase::*which) { Field(s, phase, which) = Field(s, 0, which); };
    if (all) {
      copy(&StepPhase::VolStart);
      copy(&StepPhase::VolStep);
      copy(&StepPhase::Wave);
    }
    for (auto which : {&StepPhase::FreqStart, &StepPhase::FreqStep, &StepPhase::StepCnt,
                       &StepPhase::TimeH, &StepPhase::TimeM, &StepPhase::TimeS2P})
      copy(which);
  }
}

// After the record changed: show it and write it to the source.
void Accept(StepPanelState &panel) {
  DataFPFromStepVarToPanel(panel);
  QueueStepWrite();
}

} // namespace

int StepPanelToStored(double value, int scale) {
  const double v = std::trunc(value < 0 ? value * scale - 0.5 : value * scale + 0.5);
  if (!(v > INT_MIN && v < INT_MAX)) // also NaN
    return v > 0 ? INT_MAX : INT_MIN;
  return static_cast<int>(v);
}

int ProgramModeRing() {
  switch (gPowerInfo.ModelType) {
  case kModelFPA:
    return kStepRingFPA;
  case kModelFPB:
    return kStepRingFPB;
  case kModelGS:
    return kStepRingGS;
  default:
    return -1;
  }
}

bool ProgramLineEntry(int outMode) { return outMode == 0 && gSystemSet.UDisMode == 1; }

int32_t ProgramStepHundredths(double seconds, int32_t hours, int32_t minutes) {
  // The source counts steps in even hundredths, 0.02 s at least.
  int32_t hundredths = StepPanelToStored(seconds, 100);
  hundredths -= hundredths % 2;
  return hundredths == 0 && hours == 0 && minutes == 0 ? 2 : hundredths;
}

void TellOutputTerminalChange(int oldMode, int newMode) {
  if (newMode != oldMode && (oldMode == 5 || newMode == 5))
    MessagePopupInLanguage("Tip", "Single/Phase3 outmode switch,please change output line!", "提示",
                           "单相输出/三相输出工作模式切换,请注意更换电源输出端子排!");
}

void ProgramAnglesFromPanel(int outMode, const AnglePageView &page, int32_t &angleUV,
                            int32_t &angleUW, int32_t &angleVW) {
  if (outMode == 16) {
    angleUV = StepPanelToStored(page.AngleUV.Value, 10);
    angleUW = StepPanelToStored(page.AngleUW.Value, 10);
  } else if (outMode == 0) {
    angleUV = 1200;
    angleUW = 2400;
  } else {
    angleUV = angleUW = 0;
  }
  angleVW = AngleABAC2AngleBC(angleUV, angleUW);
}

void ProgramAnglesToPanel(int outMode, int32_t angleUV, int32_t angleUW, AnglePageView &page) {
  page.Visible = outMode == 16;
  if (page.Visible) {
    page.AngleUV.Value = angleUV / 10.0;
    page.AngleUW.Value = angleUW / 10.0;
    page.AngleVW.Value = (angleUW - angleUV + (angleUW < angleUV ? 3600 : 0)) / 10.0;
  }
  page.AngleUV.Dimmed = page.AngleUW.Dimmed = page.Standard.Dimmed = gPowerInfo.OutputRunning != 0;
}

void StepPanelInit(StepPanelState &panel) {
  DataStepCheckByModel(gPowerInfo.ModelType);
  const bool gs = IsGS();
  panel.GSNotesVisible = gs;
  for (StepColumnView &c : panel.Column) {
    Limit(c.VolStart, 0, 300);
    Limit(c.VolStep, -300, 300);
    Limit(c.FreqStart, 45, gs ? 65 : 240);
    Limit(c.FreqStep, gs ? -20 : -195, gs ? 20 : 195);
    Limit(c.StepCnt, 0, 9999);
    Limit(c.TimeH, 0, 99);
    Limit(c.TimeM, 0, 59);
    Limit(c.TimeS, 0, 59.98);
  }
  Limit(panel.VolLineStart, 0, 519.7);
  Limit(panel.VolLineStep, -519.8, 519.7);
  Limit(panel.Angle.AngleUV, 0, 359.9);
  Limit(panel.Angle.AngleUW, 0, 359.9);
  panel.Angle.Visible = false;
  const int ring = ProgramModeRing();
  for (int r = 0; r < kStepRingCount; ++r)
    panel.OutMode[r].Visible = r == ring;
  gRefreshProWaveDelay = 0;
}

void DataFPFromStepVarToPanel(StepPanelState &panel) {
  const StepSet &s = gStepSet;
  const bool running = Running();
  for (RingView &ring : panel.OutMode) {
    ring.Value = s.OutMode;
    ring.Dimmed = running;
  }
  panel.LastOutMode = s.OutMode;

  ProgramAnglesToPanel(s.OutMode, s.AngleUV, s.AngleUW, panel.Angle);

  const bool ownPhases = s.OutMode == 1 || s.OutMode == 16;
  for (int phase = 0; phase < 3; ++phase) {
    RingView &ring = panel.Wave[phase];
    ring.Value = Get(s, phase, &StepPhase::Wave);
    if (IsGS())
      ring.Dimmed = phase > 0 && (s.OutMode == 0 || s.OutMode == 5) ? true : running;
    else if (ownPhases || phase == 0)
      ring.Dimmed = !StepWaveAllowed(s, phase) || running;
    else
      ring.Dimmed = true;
  }

  const bool line = LineEntry(s);
  const bool zeroVW = s.OutMode == 5 || line;
  for (int phase = 0; phase < 3; ++phase) {
    StepColumnView &c = panel.Column[phase];
    const bool zero = phase > 0 && zeroVW;
    auto show = [&](NumView &view, StepField StepPhase::*which, double scale) {
      view.Value = zero ? 0.0 : Get(s, phase, which) / scale;
    };
    show(c.VolStart, &StepPhase::VolStart, 10);
    show(c.VolStep, &StepPhase::VolStep, 10);
    show(c.FreqStart, &StepPhase::FreqStart, 100);
    show(c.FreqStep, &StepPhase::FreqStep, 100);
    show(c.StepCnt, &StepPhase::StepCnt, 1);
    show(c.TimeH, &StepPhase::TimeH, 1);
    show(c.TimeM, &StepPhase::TimeM, 1);
    show(c.TimeS, &StepPhase::TimeS2P, 100);

    const bool voltsDimmed = running || (phase > 0 && (s.OutMode == 0 || s.OutMode == 5));
    const bool restDimmed = running || (phase > 0 && s.OutMode != 1);
    c.VolStart.Dimmed = c.VolStep.Dimmed = voltsDimmed;
    for (NumView *view : {&c.FreqStart, &c.FreqStep, &c.StepCnt, &c.TimeH, &c.TimeM, &c.TimeS})
      view->Dimmed = restDimmed;
  }
  panel.VolLineStart.Value = s.VolLineStart / 10.0;
  panel.VolLineStep.Value = s.VolLineStep / 10.0;
  panel.VolLineStart.Dimmed = panel.VolLineStep.Dimmed = running;
  panel.VolLineStart.Visible = panel.VolLineStep.Visible = line;
  panel.Column[0].VolStart.Visible = panel.Column[0].VolStep.Visible = !line;
  panel.HeadingsVWVisible = !zeroVW;

  gRefreshProWaveDelay = kDelayTicks;
}

void DataFPFromPanelToStepVar(StepPanelState &panel) {
  StepSet &s = gStepSet;
  const StepColumnView &u = panel.Column[0];
  if (LineEntry(s)) {
    s.VolLineStart = StepPanelToStored(panel.VolLineStart.Value, 10);
    s.VolLineStep = StepPanelToStored(panel.VolLineStep.Value, 10);
    s.VolStartU = s.VolStartV = s.VolStartW = LineToPhase(s.VolLineStart);
    s.VolStepU = s.VolStepV = s.VolStepW = LineToPhase(s.VolLineStep);
  } else {
    s.VolStartU = StepPanelToStored(u.VolStart.Value, 10);
    s.VolStepU = StepPanelToStored(u.VolStep.Value, 10);
    s.VolLineStart = PhaseToLine(s.VolStartU);
    s.VolLineStep = PhaseToLine(s.VolStepU);
    const bool copy = s.OutMode == 0 || s.OutMode == 5;
    for (int phase = 1; phase < 3; ++phase) {
      const StepColumnView &c = panel.Column[copy ? 0 : phase];
      Field(s, phase, &StepPhase::VolStart) = StepPanelToStored(c.VolStart.Value, 10);
      Field(s, phase, &StepPhase::VolStep) = StepPanelToStored(c.VolStep.Value, 10);
    }
  }
  for (int phase = 0; phase < 3; ++phase) {
    const StepColumnView &c = panel.Column[s.OutMode == 1 ? phase : 0];
    Field(s, phase, &StepPhase::FreqStart) = StepPanelToStored(c.FreqStart.Value, 100);
    Field(s, phase, &StepPhase::FreqStep) = StepPanelToStored(c.FreqStep.Value, 100);
    Field(s, phase, &StepPhase::StepCnt) = int(c.StepCnt.Value);
    Field(s, phase, &StepPhase::TimeH) = int(c.TimeH.Value);
    Field(s, phase, &StepPhase::TimeM) = int(c.TimeM.Value);
    Field(s, phase, &StepPhase::TimeS2P) = ProgramStepHundredths(
        c.TimeS.Value, Field(s, phase, &StepPhase::TimeH), Field(s, phase, &StepPhase::TimeM));
  }
  WaveformRule(s);
  ModeCopies(s);
}

void DataFPFromPanelToStepOverVar(StepPanelState &panel) {
  StepSet &s = gStepSet;
  const int old = s.OutMode;
  const int ring = ProgramModeRing();
  s.OutMode = ring >= 0 ? panel.OutMode[ring].Value : 0;
  TellOutputTerminalChange(old, s.OutMode);
  s.WaveU = panel.Wave[0].Value;
  const bool ownWaves = s.OutMode == 1 || s.OutMode == 16;
  s.WaveV = ownWaves ? panel.Wave[1].Value : s.WaveU;
  s.WaveW = ownWaves ? panel.Wave[2].Value : s.WaveU;
  ProgramAnglesFromPanel(s.OutMode, panel.Angle, s.AngleUV, s.AngleUW, s.AngleVW);
  WaveformRule(s);
  ModeCopies(s);
}

void StepSetChanged(StepPanelState &panel) {
  if (GuardAlarm()) {
    DataFPFromStepVarToPanel(panel);
    return;
  }
  DataFPFromPanelToStepVar(panel);
  Accept(panel);
}

void StepSetOverChanged(StepPanelState &panel) {
  if (GuardAlarm()) {
    DataFPFromStepVarToPanel(panel);
    return;
  }
  DataFPFromPanelToStepOverVar(panel);
  Accept(panel);
  MenuStepSetWaveMode(panel, gStepSet.OutMode == 5, gStepSetDisMode);
}

void StepStandardAngle(StepPanelState &panel) {
  if (GuardAlarm())
    return;
  gStepSet.AngleUV = 1200;
  gStepSet.AngleUW = 2400;
  gStepSet.AngleVW = AngleABAC2AngleBC(1200, 2400);
  Accept(panel);
}

void StepDisplayMode(StepPanelState &panel, int mode) {
  if (GuardAlarm() || mode == gStepSetDisMode)
    return;
  gStepSetDisMode = mode;
  RefreshStepSetGraph(panel.Graph, 0, 1, mode);
  MenuStepSetWaveMode(panel, gStepSet.OutMode == 5, mode);
}

void StepFileLoaded(StepPanelState &panel) { Accept(panel); }

void MenuStepSaveLoadDimmed(StepPanelState &panel, int busy) { panel.SaveLoadDimmed = busy != 0; }

void MenuStepSetWaveMode(StepPanelState &panel, int singlePhase, int mode) {
  panel.DisModeDimmed = singlePhase != 0;
  panel.DisModeChecked = mode;
}
