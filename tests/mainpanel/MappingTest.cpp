#include "app/NormalPanelMap.h"

#include <string>
#include <utility>

#include "FieldList.h"

#include "MainPanelTestSupport.h"

namespace {

// ---- FC families ----

class FCMapping : public MainPanelTest {};

TEST_F(FCMapping, VoltageKnobHoldsLineVoltageOnlyForBalancedThreePhase) {
  struct Case {
    int OutMode, UDisMode;
    double Knob;
    int Vol, VolLine;
  };
  const Case cases[] = {
      {0, 1, 380.0, 2193, 3800}, // line voltage entered
      {2, 1, 230.0, 2300, 3983}, // U alone: phase voltage although line display is set
      {0, 0, 219.94, 2199, 3808},
      {0, 0, 219.95, 2200, 3810}, // half a step rounds up
  };
  for (const Case &c : cases) {
    UseFCT();
    gNormalFCSet[0].OutMode = c.OutMode;
    gSystemSet.UDisMode = c.UDisMode;
    DataFCFromNormalVarToPanel(panel);
    panel.FCMiddle.KnobVol.Value = c.Knob;
    DataFCFromPanelToNormalVar(panel);
    EXPECT_EQ(gNormalFCSet[0].Vol, c.Vol) << c.Knob;
    EXPECT_EQ(gNormalFCSet[0].VolLine, c.VolLine) << c.Knob;
  }
}

TEST_F(FCMapping, PanelToRecordNormalisesTheGroup) {
  UseModel(kModelFCS);
  panel.FCMiddle.KnobVol.Value = 220.0;
  panel.FCMiddle.KnobFreq.Value = 70.0; // not an FC frequency
  panel.FCNormal.UpPercent.Value = 40;
  DataFCFromPanelToNormalVar(panel);
  EXPECT_EQ(gNormalFCSet[0].Freq, 500);
  EXPECT_EQ(gNormalFCSet[0].UpUPer, 5);
  EXPECT_EQ(gNormalFCSet[0].OutMode, 5);
}

// The names of the lamps lit and of the controls dimmed, in panel order.
std::string FCLamps(const FCMiddleView &m) {
  const std::pair<const char *, const LampView &> lamps[] = {
      {"U", m.LampPhase[0]},      {"V", m.LampPhase[1]},    {"W", m.LampPhase[2]},
      {"phase", m.LampPhaseMode}, {"line", m.LampLineMode}, {"auto", m.LampRangeAuto},
      {"high", m.LampRangeHigh},  {"50", m.Lamp50},         {"60", m.Lamp60},
      {"x2", m.LampX2},           {"x4", m.LampX4},         {"120", m.Lamp120},
      {"220", m.Lamp220},         {"up", m.LampUp},         {"down", m.LampDown}};
  std::string lit;
  for (const auto &[name, lamp] : lamps)
    lit += lamp.On ? (lit.empty() ? "" : " ") + std::string(name) : "";
  return lit;
}

std::string FCDimmed(const MainPanelState &p) {
  const FCMiddleView &m = p.FCMiddle;
  const std::pair<const char *, bool> controls[] = {{"vol", m.KnobVol.Dimmed},
                                                    {"freq", m.KnobFreq.Dimmed},
                                                    {"range", m.KeyRange.Dimmed},
                                                    {"group", p.FCNormal.Group.Dimmed},
                                                    {"phaseline", m.KeyPhaseLine.Dimmed},
                                                    {"lampU", m.LampPhase[0].Dimmed},
                                                    {"linelamp", m.LampLineMode.Dimmed},
                                                    {"up", m.KeyUp.Dimmed},
                                                    {"down", m.KeyDown.Dimmed}};
  std::string dimmed;
  for (const auto &[name, on] : controls)
    dimmed += on ? (dimmed.empty() ? "" : " ") + std::string(name) : "";
  return dimmed;
}

// The FC middle area for a group: lamps, knob values and limits, and what a
// running output dims (the up and down keys work only then).
TEST_F(FCMapping, MiddleAreaShowsTheGroup) {
  struct Case {
    int Model;
    const char *Group;
    int UDisMode, Running;
    const char *Lit;
    double Vol, VolMax, FreqMax;
    const char *Dimmed;
  };
  // clang-format off
  const Case cases[] = {
      {kModelFCT, "", 0, 0, "U V W phase high 50 220", 220.0, 300.0, 65.0, "up down"},
      {kModelFCT, "Freq=1200 OutMode=3 VolLevel=0", 1, 0, "V auto 60 x2 220", 220.0, 300.0, 240.0, "freq phaseline up down"},
      {kModelFCT, "Freq=2000 Vol=1200 VolLine=2078", 1, 0, "U V W line high 50 x4 120", 207.8, 519.6, 240.0, "freq up down"},
      {kModelFCT, "Freq=550 Vol=231 VolBase=220 VolUp=231 VolDown=209", 0, 1, "U V W phase high up", 23.1, 300.0, 65.0, "vol freq range group"},
      {kModelFCT, "OutMode=2 Vol=209 VolBase=220 VolUp=231 VolDown=209", 0, 1, "U high 50 down", 20.9, 300.0, 65.0, "vol freq range group phaseline"},
      {kModelFCS, "Freq=2400", 1, 0, "high 60 x4 220", 220.0, 300.0, 240.0, "freq phaseline lampU linelamp up down"},
  };
  // clang-format on
  for (const Case &c : cases) {
    UseModel(c.Model);
    SetFields(gNormalFCSet[0], c.Group);
    gSystemSet.UDisMode = c.UDisMode;
    gPowerInfo.OutputRunning = c.Running;
    DataFCFromNormalVarToPanel(panel);
    DataFCFromSystemVarToPanel(panel);
    EXPECT_EQ(FCLamps(panel.FCMiddle), c.Lit) << c.Group;
    EXPECT_DOUBLE_EQ(panel.FCMiddle.KnobVol.Value, c.Vol) << c.Group;
    EXPECT_DOUBLE_EQ(panel.FCMiddle.KnobVol.Max, c.VolMax) << c.Group;
    EXPECT_DOUBLE_EQ(panel.FCMiddle.KnobFreq.Max, c.FreqMax) << c.Group;
    EXPECT_EQ(FCDimmed(panel), c.Dimmed) << c.Group;
  }
}

// ---- The other families ----

class FPMapping : public MainPanelTest {
protected:
  // The panel showing the current group, as before a user edit.
  void Show() {
    DataFPFromNormalVarToPanel(panel);
    DataFPFromSystemVarToPanel(panel);
  }
  RingView &ModeRing() { return panel.Normal.OutMode[OutModeRingOf(gPowerInfo.ModelType)]; }
};

TEST_F(FPMapping, OutputTerminalMessageOnlyAcrossSinglePhase) {
  const Strings told = {"提示|单相输出/三相输出工作模式切换,请注意更换电源输出端子排!"};
  struct Case {
    int From, To;
    Strings Messages;
  };
  const Case cases[] = {{5, 16, told}, {0, 5, told}, {0, 1, {}}, {5, 5, {}}};
  for (const Case &c : cases) {
    UseModel(kModelFPA);
    gPowerInfo.Language = 0;
    gNormalFPSet[0].OutMode = c.From;
    Show();
    hooks.Messages.clear();
    ModeRing().Value = c.To;
    DataFPFromPanelToNormalVar(panel);
    EXPECT_EQ(hooks.Messages, c.Messages) << c.From << " -> " << c.To;
  }
}

TEST_F(FPMapping, SeparateModeWithChannelMaskFiveDimsPhaseV) {
  UseModel(kModelFPA);
  SetFields(gNormalFPSet[0], "OutMode=1 OutChannel=5 VolLevel=2");
  Show();
  EXPECT_TRUE(panel.Separate.Visible);
  EXPECT_FALSE(panel.Angle.Visible);
  EXPECT_EQ(panel.Separate.Switch[1].Value, 0);
  EXPECT_EQ(panel.Separate.Switch[2].Value, 1);
  EXPECT_TRUE(panel.PhaseMiddle.KnobVol[1].Dimmed && panel.Wave.Wave[1].Dimmed);
  EXPECT_FALSE(panel.PhaseMiddle.KnobVol[2].Dimmed || panel.Wave.Wave[2].Dimmed);
  // and back: the switches build the mask
  panel.Separate.Switch[1].Value = 1;
  panel.Separate.Switch[0].Value = 0;
  DataFPFromPanelToNormalVar(panel);
  EXPECT_EQ(gNormalFPSet[0].OutChannel, 6);
}

// What the family and the output mode decide: the mode selector shown, the
// range ring read and shown, the waveforms stored (only by the families that
// have them).
TEST_F(FPMapping, FamilyAndModeDecideSelectorRangeAndWaveforms) {
  struct Case {
    int Model, Mode, Ring;
    int Stored; // VolLevel, from Range12 = 1 and Range23 = 3 on the panel
    bool Show12, Show23;
    std::array<int, 3> Waves; // from 3, 4 and 5 on the panel
  };
  const Case cases[] = {
      {kModelFSA, 1, kOutModeRingFSA, 1, true, false, {0, 0, 0}},
      {kModelFSB, 0, kOutModeRingFSB, 1, true, false, {0, 0, 0}},
      {kModelFPA, 1, kOutModeRingFPA, 1, true, false, {3, 4, 5}},
      {kModelFPA, 0, kOutModeRingFPA, 3, false, true, {3, 3, 3}},
      {kModelFL, 0, kOutModeRingFL, 3, false, true, {0, 0, 0}},
      {kModelGS, 16, kOutModeRingGS, 2, false, false, {3, 4, 5}},
  };
  for (const Case &c : cases) {
    UseModel(c.Model);
    gNormalFPSet[0].OutMode = c.Mode;
    Show();
    panel.Normal.Range12.Value = 1;
    panel.Normal.Range23.Value = 3;
    for (int p = 0; p < 3; ++p)
      panel.Wave.Wave[p].Value = 3 + p;
    DataFPFromPanelToNormalVar(panel);
    const NormalFPSet &g = gNormalFPSet[0];
    EXPECT_EQ(g.VolLevel, c.Stored) << c.Model << " mode " << c.Mode;
    EXPECT_EQ((std::array<int, 3>{g.WaveU, g.WaveV, g.WaveW}), c.Waves) << c.Model;
    DataFPFromNormalVarToPanel(panel);
    EXPECT_EQ(panel.Normal.Range12.Visible, c.Show12) << c.Model;
    EXPECT_EQ(panel.Normal.Range23.Visible, c.Show23) << c.Model;
    for (int i = 0; i < kOutModeRingCount; ++i)
      EXPECT_EQ(panel.Normal.OutMode[i].Visible, i == c.Ring) << c.Model;
  }
}

TEST_F(FPMapping, LineEntryFollowsThePreviousMode) {
  UseModel(kModelFPA);
  gSystemSet.UDisMode = 1;
  Show();
  EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobVol[0].Value, 381.0);
  EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobVol[0].Max, 519.6);
  panel.PhaseMiddle.KnobVol[0].Value = 380.0;
  DataFPFromPanelToNormalVar(panel);
  const NormalFPSet &g = gNormalFPSet[0];
  EXPECT_TRUE(HasFields(g, "VolLine=3800 VolU=2193 VolV=2193"));
  // Switching to mode 16 in the same edit still reads the knob as line voltage.
  ModeRing().Value = 16;
  DataFPFromPanelToNormalVar(panel);
  EXPECT_EQ(g.VolU, 2193);
  DataFPFromNormalVarToPanel(panel);
  EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobVol[0].Value, 219.3);
  EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobVol[0].Max, 300.0);
}

TEST_F(FPMapping, VoltageLimitsByRangeAndDisplay) {
  struct Case {
    int Model, Mode, Level, UDisMode;
    double Max0, Max1, FreqMax; // harmonic-capable families reach 240 Hz
  };
  const Case cases[] = {
      {kModelFPB, 0, 1, 0, 150.0, 150.0, 240.0},
      {kModelFPB, 0, 1, 1, 259.8, 0.0, 240.0},
      {kModelFPA, 16, 3, 1, 300.0, 300.0, 240.0},
      {kModelGS, 16, 2, 0, 300.0, 300.0, 65.0},
  };
  for (const Case &c : cases) {
    UseModel(c.Model);
    panel = MainPanelState{};
    gNormalFPSet[0].OutMode = c.Mode;
    gNormalFPSet[0].VolLevel = c.Level;
    gSystemSet.UDisMode = c.UDisMode;
    DataFPFromNormalVarToPanel(panel);
    EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobVol[0].Max, c.Max0);
    EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobVol[1].Max, c.Max1); // untouched in line display
    EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobFreq[2].Max, c.FreqMax) << c.Model;
  }
}

TEST_F(FPMapping, LowRangeCapsAndWaveformFrequencyRule) {
  UseModel(kModelFPB);
  Show();
  panel.Normal.Range12.Value = 1;
  panel.PhaseMiddle.KnobVol[0].Value = 230.0;
  panel.Wave.Wave[0].Value = 2;
  panel.PhaseMiddle.KnobFreq[0].Value = 100.0;
  DataFPFromPanelToNormalVar(panel);
  const NormalFPSet &g = gNormalFPSet[0];
  // harmonic waveforms only at 45..65 Hz
  EXPECT_TRUE(HasFields(g, "VolU=1500 VolLine=2598 VolW=1500 FreqU=10000 WaveU=0"));
  // In separate mode each phase is capped on its own.
  gNormalFPSet[0].OutMode = 1;
  Show();
  panel.PhaseMiddle.KnobVol[1].Value = 230.0;
  DataFPFromPanelToNormalVar(panel);
  EXPECT_EQ(g.VolV, 1500);
  // GS has no such rule on the panel
  UseModel(kModelGS);
  Show();
  panel.Wave.Wave[0].Value = 2;
  panel.PhaseMiddle.KnobFreq[0].Value = 70.0;
  DataFPFromPanelToNormalVar(panel);
  EXPECT_EQ(gNormalFPSet[0].WaveU, 2);
}

TEST_F(FPMapping, AnglesAndDerivedVWAngle) {
  struct Case {
    int Mode;
    double UV, UW;
    int StoredUV, StoredUW, StoredVW;
  };
  // clang-format off
  const Case cases[] = {
      {16, 240.0, 120.0, 2400, 1200, 2400}, {16, 90.0, 300.0, 900, 3000, 2100},
      {0, 10.0, 20.0, 1200, 2400, 1200}, {1, 10.0, 20.0, 0, 0, 0},
  };
  // clang-format on
  for (const Case &c : cases) {
    UseModel(kModelFPA);
    gNormalFPSet[0].OutMode = c.Mode;
    gNormalFPSet[0].AngleVW = 777;
    Show();
    panel.Angle.AngleUV.Value = c.UV;
    panel.Angle.AngleUW.Value = c.UW;
    DataFPFromPanelToNormalVar(panel);
    const NormalFPSet &g = gNormalFPSet[0];
    EXPECT_EQ(g.AngleUV, c.StoredUV) << c.Mode;
    EXPECT_EQ(g.AngleUW, c.StoredUW) << c.Mode;
    EXPECT_EQ(g.AngleVW, c.StoredVW) << c.Mode;
    DataFPFromNormalVarToPanel(panel);
    EXPECT_DOUBLE_EQ(panel.Angle.AngleVW.Value, c.StoredVW / 10.0);
    EXPECT_EQ(panel.Angle.Visible, c.Mode == 16);
  }
}

TEST_F(FPMapping, WaveformDimmingByFrequencyAndMode) {
  struct Case {
    int Mode, FreqU, FreqV;
    bool DimU, DimV;
  };
  const Case cases[] = {
      {0, 5000, 5000, false, true}, // V follows U: its waveform is not its own
      {0, 10000, 10000, true, true},
      {16, 5000, 5000, false, false},
      {1, 5000, 7000, false, true},
  };
  for (const Case &c : cases) {
    UseModel(kModelFPA);
    gNormalFPSet[0].OutMode = c.Mode;
    gNormalFPSet[0].FreqU = c.FreqU;
    gNormalFPSet[0].FreqV = c.FreqV;
    DataFPFromNormalVarToPanel(panel);
    EXPECT_EQ(panel.Wave.Wave[0].Dimmed, c.DimU) << c.Mode << " " << c.FreqU;
    EXPECT_EQ(panel.Wave.Wave[1].Dimmed, c.DimV) << c.Mode << " " << c.FreqV;
  }
}

TEST_F(FPMapping, SinglePhaseGroupRowsShowNoWaveformForVAndW) {
  UseModel(kModelGS);
  SetFields(gNormalFPSet[4], "OutMode=5 FreqU=6000");
  SetFields(gNormalFPSet[3], "OutMode=1 WaveV=2 WaveW=4");
  DataFPFromNormalVarToGroupPanel(panel);
  EXPECT_TRUE(panel.FPGroupPanel.Rows[4].NoWaveVW);
  EXPECT_FALSE(panel.FPGroupPanel.Rows[3].NoWaveVW);
  EXPECT_EQ(panel.FPGroupPanel.Rows[3].WaveV, 2);
  EXPECT_EQ(panel.FPGroupPanel.Rows[3].WaveW, 4);
  EXPECT_DOUBLE_EQ(panel.FPGroupPanel.Rows[4].FreqU, 60.0);
  EXPECT_DOUBLE_EQ(panel.FPGroupPanel.Rows[4].AngleUW, 240.0);
}

} // namespace
