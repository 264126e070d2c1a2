#include "app/NormalPanelMap.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "programs/Arithmetic.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "settings/NormalSet.h"

namespace {

NormalFCSet &CurrentFC() {
  return gNormalFCSet[std::clamp(gCurrentNormalGroup, 0, kFCGroupCount - 1)];
}

NormalFPSet &CurrentFP() {
  return gNormalFPSet[std::clamp(gCurrentNormalGroup, 0, kFPGroupCount - 1)];
}

void SetLimits(NumView &view, double min, double max) {
  view.Min = min;
  view.Max = max;
}

void SetLamp(LampView &lamp, bool on) { lamp.On = on; }

// A waveform other than sine needs a frequency of 45.00..65.00 Hz.
bool FreqAllowsWave(int freq) { return NumInBound(freq, 4500, 6500) == 1; }

bool ChannelOn(int mask, int phase) { return (mask & (1 << phase)) != 0; }

// The frequency knob's upper limit of the family (Hz).
double FPFreqMax(int model) { return (model == kModelGS || model == kModelFL) ? 65.0 : 240.0; }

} // namespace

int PanelToStored(double value, int scale) {
  const double v = std::trunc(value * scale + 0.5);
  if (!(v > INT_MIN)) { // also NaN
    return v > 0 ? INT_MAX : INT_MIN;
  }
  return v >= INT_MAX ? INT_MAX : static_cast<int>(v);
}

double StoredToPanel(int stored, int scale) { return static_cast<double>(stored) / scale; }

int SettingsBusy() { return (gPowerInfo.OutputRunning == 1 || gPowerInfo.Alarming == 1) ? 1 : 0; }

int OutModeRingOf(int modelType) {
  switch (modelType) {
  case kModelFSB:
    return kOutModeRingFSB;
  case kModelFPA:
    return kOutModeRingFPA;
  case kModelFPB:
    return kOutModeRingFPB;
  case kModelGS:
    return kOutModeRingGS;
  case kModelFL:
    return kOutModeRingFL;
  default:
    return kOutModeRingFSA;
  }
}

// ---- FC families ----

void DataFCFromPanelToNormalVar(MainPanelState &panel) {
  NormalFCSet &g = CurrentFC();
  const int v = PanelToStored(panel.FCMiddle.KnobVol.Value, 10);
  if (gSystemSet.UDisMode == 1 && g.OutMode == 0) {
    g.VolLine = v;
    g.Vol = LineToPhase(v);
  } else {
    g.Vol = v;
    g.VolLine = PhaseToLine(v);
  }
  g.Freq = PanelToStored(panel.FCMiddle.KnobFreq.Value, 10);
  g.UpUPer = static_cast<int>(panel.FCNormal.UpPercent.Value);
  g.DownUPer = std::abs(static_cast<int>(panel.FCNormal.DownPercent.Value));
  DataFCCheckOne(gPowerInfo.ModelType == kModelFCT ? 1 : 0,
                 std::clamp(gCurrentNormalGroup, 0, kFCGroupCount - 1));
}

void DataFCFromNormalVarToPanel(MainPanelState &panel) {
  const NormalFCSet &g = CurrentFC();
  const bool busy = SettingsBusy() == 1;
  const bool fct = gPowerInfo.ModelType == kModelFCT;
  FCMiddleView &m = panel.FCMiddle;

  panel.FCNormal.Group.Value = gCurrentNormalGroup;
  panel.FCNormal.Group.Dimmed = busy;
  panel.FCNormal.GroupChoose.Dimmed = busy;

  if (fct && gSystemSet.UDisMode == 1 && g.OutMode == 0) {
    SetLimits(m.KnobVol, 1.7, 519.6);
    m.KnobVol.Value = StoredToPanel(g.VolLine, 10);
  } else {
    SetLimits(m.KnobVol, 1.0, 300.0);
    m.KnobVol.Value = StoredToPanel(g.Vol, 10);
  }
  m.KnobVol.Dimmed = busy;

  const bool plainFreq = g.Freq < 651;
  SetLimits(m.KnobFreq, 45.0, plainFreq ? 65.0 : 240.0);
  m.KnobFreq.Value = StoredToPanel(g.Freq, 10);
  m.KnobFreq.Dimmed = !plainFreq || busy;

  panel.FCNormal.UpPercent.Value = g.UpUPer;
  SetLimits(panel.FCNormal.UpPercent, 5, 30);
  panel.FCNormal.UpPercent.Dimmed = busy;
  panel.FCNormal.DownPercent.Value = -g.DownUPer;
  SetLimits(panel.FCNormal.DownPercent, -30, -5);
  panel.FCNormal.DownPercent.Dimmed = busy;

  // The phase key and its lamps exist for the three-phase model only.
  if (fct) {
    m.KeyPhase.Dimmed = busy;
    m.KeyPhaseLine.Dimmed = g.OutMode != 0;
    for (int phase = 0; phase < 3; ++phase) {
      m.LampPhase[phase].Dimmed = false;
      SetLamp(m.LampPhase[phase], g.OutMode == 0 || g.OutMode == phase + 2);
    }
    m.LampPhaseMode.Dimmed = false;
    m.LampLineMode.Dimmed = false;
  } else {
    m.KeyPhase.Dimmed = true;
    m.KeyPhaseLine.Dimmed = true;
    for (LampView &lamp : m.LampPhase) {
      lamp.Dimmed = true;
      SetLamp(lamp, false);
    }
    m.LampPhaseMode.Dimmed = true;
    m.LampLineMode.Dimmed = true;
  }

  SetLamp(m.LampRangeAuto, g.VolLevel == 0);
  SetLamp(m.LampRangeHigh, g.VolLevel != 0);
  m.KeyRange.Dimmed = busy;

  SetLamp(m.Lamp120, g.Vol == 1200);
  SetLamp(m.Lamp220, g.Vol == 2200);
  m.Key120220.Dimmed = busy;
  const bool base50 = g.Freq == 500 || g.Freq == 1000 || g.Freq == 2000;
  const bool base60 = g.Freq == 600 || g.Freq == 1200 || g.Freq == 2400;
  SetLamp(m.Lamp50, base50);
  SetLamp(m.Lamp60, base60);
  SetLamp(m.LampX2, g.Freq == 1000 || g.Freq == 1200);
  SetLamp(m.LampX4, g.Freq == 2000 || g.Freq == 2400);
  m.Key5060.Dimmed = busy;
  m.KeyMultiplier.Dimmed = busy;

  SetLamp(m.LampUp, g.Vol == g.VolUp && g.Vol != g.VolBase);
  SetLamp(m.LampDown, g.Vol == g.VolDown && g.Vol != g.VolBase && g.Vol != g.VolUp);
  // The up and down keys work only while the output is on (or to show the
  // alarm message).
  m.KeyUp.Dimmed = !busy;
  m.KeyDown.Dimmed = !busy;

  RefreshNormalSetGraph(panel.Graph);
}

void DataFCFromPanelToSystemVar(MainPanelState &panel) {
  gSystemSet.OCP_Define = PanelToStored(panel.FCSystem.OCP.Value, 10);
  gSystemSet.StartRise = PanelToStored(panel.FCSystem.StartRise.Value, 10);
  gSystemSet.UCompensation = PanelToStored(panel.FCSystem.UCompensation.Value, 1000);
  gSystemSet.IfKeySound = panel.FCSystem.KeySound.Value;
}

void DataFCFromSystemVarToPanel(MainPanelState &panel) {
  const bool busy = SettingsBusy() == 1;
  FCSystemPageView &s = panel.FCSystem;
  s.OCP.Value = StoredToPanel(gSystemSet.OCP_Define, 10);
  s.StartRise.Value = StoredToPanel(gSystemSet.StartRise, 10);
  SetLimits(s.StartRise, 0.0, 99.9);
  s.UCompensation.Value = StoredToPanel(gSystemSet.UCompensation, 1000);
  SetLimits(s.UCompensation, 0.0, 5.0);
  s.KeySound.Value = gSystemSet.IfKeySound;
  s.OCP.Dimmed = s.StartRise.Dimmed = s.UCompensation.Dimmed = s.KeySound.Dimmed = busy;

  // Phase and line display lamps: only a three-phase output has a line voltage.
  const bool threePhase = gPowerInfo.ModelType == kModelFCT && CurrentFC().OutMode == 0;
  SetLamp(panel.FCMiddle.LampLineMode, threePhase && gSystemSet.UDisMode == 1);
  SetLamp(panel.FCMiddle.LampPhaseMode, threePhase && gSystemSet.UDisMode == 0);
}

void DataFCFromNormalVarToGroupPanel(MainPanelState &panel) {
  const bool fcs = gPowerInfo.ModelType == kModelFCS;
  for (int i = 0; i < kFCGroupCount; ++i) {
    const NormalFCSet &g = gNormalFCSet[i];
    FCGroupRow &row = panel.FCGroupPanel.Rows[i];
    row.Vol = StoredToPanel(g.Vol, 10);
    row.Freq = StoredToPanel(g.Freq, 10);
    row.OutMode = fcs ? 1 : g.OutMode;
    row.VolLevel = g.VolLevel;
    row.UpPercent = g.UpUPer;
    row.DownPercent = -g.DownUPer;
  }
}

void CalFCPowerUpDown(int flag) {
  NormalFCSet &g = CurrentFC();
  if (flag == 0) {
    g.VolBase = g.VolUp = g.VolDown = 0;
    return;
  }
  g.VolBase = g.Vol;
  const int64_t down = int64_t{g.Vol} * (100 - g.DownUPer) / 100;
  const int64_t up = int64_t{g.Vol} * (100 + g.UpUPer) / 100;
  g.VolDown = static_cast<int32_t>(std::clamp<int64_t>(down, 10, INT32_MAX));
  g.VolUp = static_cast<int32_t>(std::clamp<int64_t>(up, INT32_MIN, 3000));
}

// ---- The other families ----

void DataFPFromPanelToNormalVar(MainPanelState &panel) {
  NormalFPSet &g = CurrentFP();
  const int model = gPowerInfo.ModelType;
  const bool fp = model == kModelFPA || model == kModelFPB;
  const int oldMode = g.OutMode;

  // 1. output mode
  g.OutMode = model == kModelFL ? 0 : panel.Normal.OutMode[OutModeRingOf(model)].Value;
  if (g.OutMode != oldMode && (oldMode == 5 || g.OutMode == 5)) {
    PopOutputLineChange();
  }
  const int mode = g.OutMode;
  const bool ownPhases = mode == 1 || mode == 16;

  // 2. range
  if (model == kModelFSB || model == kModelFPB || mode == 1) {
    g.VolLevel = panel.Normal.Range12.Value;
  } else if (model == kModelGS) {
    g.VolLevel = 2;
  } else {
    g.VolLevel = panel.Normal.Range23.Value;
  }

  // 3. rise time
  g.RiseTime = PanelToStored(panel.Normal.RiseTime.Value, 10);

  // 4. waveforms
  if (model == kModelFSA || model == kModelFSB || model == kModelFL) {
    g.WaveU = g.WaveV = g.WaveW = 0;
  } else {
    g.WaveU = panel.Wave.Wave[0].Value;
    g.WaveV = ownPhases ? panel.Wave.Wave[1].Value : g.WaveU;
    g.WaveW = ownPhases ? panel.Wave.Wave[2].Value : g.WaveU;
  }

  // 5. angles; the V-to-W angle always follows the other two, so that the
  // group written to the source is the one the panel shows.
  if (mode == 16) {
    g.AngleUV = PanelToStored(panel.Angle.AngleUV.Value, 10);
    g.AngleUW = PanelToStored(panel.Angle.AngleUW.Value, 10);
  } else if (mode == 0) {
    g.AngleUV = 1200;
    g.AngleUW = 2400;
  } else {
    g.AngleUV = 0;
    g.AngleUW = 0;
  }
  g.AngleVW = AngleABAC2AngleBC(g.AngleUV, g.AngleUW);

  // 6. voltage: the first control held line voltage when the panel showed a
  // balanced three-phase group in line display.
  const int v = PanelToStored(panel.PhaseMiddle.KnobVol[0].Value, 10);
  if (oldMode == 0 && gSystemSet.UDisMode == 1) {
    g.VolLine = v;
    g.VolU = LineToPhase(v);
  } else {
    g.VolU = v;
    g.VolLine = PhaseToLine(v);
  }

  // 7.-9. frequency and the other phases
  g.FreqU = PanelToStored(panel.PhaseMiddle.KnobFreq[0].Value, 100);
  if (ownPhases) {
    g.VolV = PanelToStored(panel.PhaseMiddle.KnobVol[1].Value, 10);
    g.VolW = PanelToStored(panel.PhaseMiddle.KnobVol[2].Value, 10);
  } else {
    g.VolV = g.VolW = g.VolU;
  }
  if (mode == 1) {
    g.FreqV = PanelToStored(panel.PhaseMiddle.KnobFreq[1].Value, 100);
    g.FreqW = PanelToStored(panel.PhaseMiddle.KnobFreq[2].Value, 100);
  } else {
    g.FreqV = g.FreqW = g.FreqU;
  }

  // 10. a waveform other than sine only at 45..65 Hz
  if (fp) {
    if (mode != 1) {
      if (!FreqAllowsWave(g.FreqU) && g.WaveU != 0) {
        g.WaveU = g.WaveV = g.WaveW = 0;
      }
    } else {
      if (!FreqAllowsWave(g.FreqU)) {
        g.WaveU = 0;
      }
      if (!FreqAllowsWave(g.FreqV)) {
        g.WaveV = 0;
      }
      if (!FreqAllowsWave(g.FreqW)) {
        g.WaveW = 0;
      }
    }
  }

  // 11. low range caps
  if (g.VolLevel == 1) {
    if (g.VolU > 1500) {
      g.VolU = 1500;
      g.VolLine = 2598;
    }
    g.VolV = std::min(g.VolV, 1500);
    g.VolW = std::min(g.VolW, 1500);
  }

  // 12. enabled phases
  if (mode == 1) {
    int mask = 0;
    for (int phase = 0; phase < 3; ++phase) {
      if (panel.Separate.Switch[phase].Value > 0) {
        mask |= 1 << phase;
      }
    }
    g.OutChannel = mask;
  } else {
    g.OutChannel = 7;
  }
}

void DataFPFromNormalVarToPanel(MainPanelState &panel) {
  const NormalFPSet &g = CurrentFP();
  const int model = gPowerInfo.ModelType;
  const int mode = g.OutMode;
  const bool busy = SettingsBusy() == 1;
  NormalPageView &n = panel.Normal;
  PhaseMiddleView &m = panel.PhaseMiddle;

  // 1. only the selector of the family
  const int ring = OutModeRingOf(model);
  for (int i = 0; i < kOutModeRingCount; ++i) {
    n.OutMode[i].Visible = i == ring;
    n.OutMode[i].Dimmed = busy;
  }
  n.OutMode[ring].Value = mode;

  // 2. range selectors
  if (model == kModelGS) {
    n.Range12.Visible = false;
    n.Range23.Visible = false;
  } else if (model == kModelFSB || model == kModelFPB || mode == 1) {
    n.Range12.Visible = true;
    n.Range12.Value = g.VolLevel;
    n.Range23.Visible = false;
    n.Range23.Value = 2;
  } else {
    n.Range23.Visible = true;
    n.Range23.Value = g.VolLevel;
    n.Range12.Visible = false;
    n.Range12.Value = 2;
  }

  // 3. rise time and group
  n.RiseTime.Value = StoredToPanel(g.RiseTime, 10);
  SetLimits(n.RiseTime, 0.0, 99.9);
  n.Range12.Dimmed = n.Range23.Dimmed = n.RiseTime.Dimmed = busy;
  n.Group.Value = gCurrentNormalGroup;
  n.Group.Dimmed = busy;
  n.GroupChoose.Dimmed = busy;

  // 4. waveforms
  const std::array<int, 3> waves{g.WaveU, g.WaveV, g.WaveW};
  const std::array<int, 3> freqs{g.FreqU, g.FreqV, g.FreqW};
  for (int phase = 0; phase < 3; ++phase) {
    RingView &w = panel.Wave.Wave[phase];
    w.Value = waves[phase];
    bool usable = FreqAllowsWave(freqs[phase]);
    if (phase > 0) {
      usable = usable && (mode == 1 || mode == 16);
    }
    if (mode == 1 && !ChannelOn(g.OutChannel, phase)) {
      usable = false;
    }
    w.Dimmed = !usable || busy;
  }

  // 5. angle page and separate page
  panel.Angle.Visible = mode == 16;
  panel.Angle.AngleUV.Value = StoredToPanel(g.AngleUV, 10);
  panel.Angle.AngleUW.Value = StoredToPanel(g.AngleUW, 10);
  const int vw = g.AngleUW < g.AngleUV ? g.AngleUW - g.AngleUV + 3600 : g.AngleUW - g.AngleUV;
  panel.Angle.AngleVW.Value = StoredToPanel(vw, 10);
  SetLimits(panel.Angle.AngleUV, 0.0, 359.9);
  SetLimits(panel.Angle.AngleUW, 0.0, 359.9);
  panel.Angle.AngleUV.Dimmed = panel.Angle.AngleUW.Dimmed = panel.Angle.AngleVW.Dimmed = busy;
  panel.Angle.Standard.Dimmed = busy;
  panel.Separate.Visible = mode == 1;

  // 6. labels, the controls of the second and third phase, enabled phases
  m.SingleLabelsVisible = mode == 0 || mode == 5;
  m.PhaseLabelsVisible = !m.SingleLabelsVisible;
  for (int phase = 1; phase < 3; ++phase) {
    m.KnobVol[phase].Dimmed = !(mode == 1 || mode == 16);
    m.KnobFreq[phase].Dimmed = mode != 1;
  }
  m.KnobVol[0].Dimmed = false;
  m.KnobFreq[0].Dimmed = false;
  if (mode == 1) {
    for (int phase = 0; phase < 3; ++phase) {
      const bool on = ChannelOn(g.OutChannel, phase);
      if (!on) {
        m.KnobVol[phase].Dimmed = true;
        m.KnobFreq[phase].Dimmed = true;
      }
      panel.Separate.Switch[phase].Value = on ? 1 : 0;
    }
  }

  // 7. voltage limits; in line display only the first control changes
  const bool low = g.VolLevel == 1;
  if (mode != 0 || gSystemSet.UDisMode != 1) {
    for (NumView &knob : m.KnobVol) {
      SetLimits(knob, 0.0, low ? 150.0 : 300.0);
    }
    m.KnobVol[0].Value = StoredToPanel(g.VolU, 10);
  } else {
    SetLimits(m.KnobVol[0], 0.0, low ? 259.8 : 519.6);
    m.KnobVol[0].Value = StoredToPanel(g.VolLine, 10);
  }
  m.KnobVol[1].Value = StoredToPanel(g.VolV, 10);
  m.KnobVol[2].Value = StoredToPanel(g.VolW, 10);

  // 8. frequencies
  for (int phase = 0; phase < 3; ++phase) {
    SetLimits(m.KnobFreq[phase], 45.0, FPFreqMax(model));
    m.KnobFreq[phase].Value = StoredToPanel(freqs[phase], 100);
  }

  // 9.
  RefreshNormalSetGraph(panel.Graph);
}

void DataFPFromPanelToSystemVar(MainPanelState &panel) {
  gSystemSet.UDisMode = panel.System.UDisMode.Value;
  gSystemSet.IfKeySound = panel.System.KeySound.Value;
  gSystemSet.OCP_Define = PanelToStored(panel.System.OCP.Value, 10);
  gSystemSet.UCompensation = PanelToStored(panel.System.UCompensation.Value, 1000);
}

void DataFPFromSystemVarToPanel(MainPanelState &panel) {
  const bool busy = SettingsBusy() == 1;
  SystemPageView &s = panel.System;
  s.UDisMode.Value = gSystemSet.UDisMode;
  s.KeySound.Value = gSystemSet.IfKeySound;
  s.OCP.Value = StoredToPanel(gSystemSet.OCP_Define, 10);
  s.UCompensation.Value = StoredToPanel(gSystemSet.UCompensation, 1000);
  SetLimits(s.UCompensation, 0.0, 5.0);
  s.UDisMode.Dimmed = s.KeySound.Dimmed = s.OCP.Dimmed = s.UCompensation.Dimmed = busy;
}

void DataFPFromNormalVarToGroupPanel(MainPanelState &panel) {
  for (int i = 0; i < kFPGroupCount; ++i) {
    const NormalFPSet &g = gNormalFPSet[i];
    FPGroupRow &row = panel.FPGroupPanel.Rows[i];
    row.OutMode = g.OutMode;
    row.OutChannel = g.OutChannel;
    row.VolU = StoredToPanel(g.VolU, 10);
    row.VolV = StoredToPanel(g.VolV, 10);
    row.VolW = StoredToPanel(g.VolW, 10);
    row.VolLine = StoredToPanel(g.VolLine, 10);
    row.VolLevel = g.VolLevel;
    row.FreqU = StoredToPanel(g.FreqU, 100);
    row.FreqV = StoredToPanel(g.FreqV, 100);
    row.FreqW = StoredToPanel(g.FreqW, 100);
    row.RiseTime = StoredToPanel(g.RiseTime, 10);
    row.AngleUV = StoredToPanel(g.AngleUV, 10);
    row.AngleVW = StoredToPanel(g.AngleVW, 10);
    row.AngleUW = StoredToPanel(g.AngleUW, 10);
    row.WaveU = g.WaveU;
    row.WaveV = g.WaveV;
    row.WaveW = g.WaveW;
    row.NoWaveVW = g.OutMode == 5;
  }
}

void DataFromNormalAndSystemVarToPanel(MainPanelState &panel) {
  if (IsFCModel(gPowerInfo.ModelType)) {
    DataFCFromNormalVarToPanel(panel);
    DataFCFromSystemVarToPanel(panel);
  } else {
    DataFPFromNormalVarToPanel(panel);
    DataFPFromSystemVarToPanel(panel);
  }
}

void PopOutputLineChange() {
  if (gPowerInfo.Language == 0) {
    Hooks().MessagePopup("提示", "单相输出/三相输出工作模式切换,请注意更换电源输出端子排!");
  } else {
    Hooks().MessagePopup("Tip", "Single/Phase3 outmode switch,please change output line!");
  }
}
