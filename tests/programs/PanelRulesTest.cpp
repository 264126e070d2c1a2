// The program panels' rules at the core: the limits, visibility and dimming
// a panel record gets for a program, what an edit stores and queues, and the
// preview lines drawn from it.
#include "mainpanel/MainPanelTestSupport.h"
#include "programs/CrossPanelFunc.h"
#include "programs/ListPanelFunc.h"
#include "programs/THDPanelFunc.h"

namespace {

using PanelRules = MainPanelTest;

// A step lasts at most 99 h, angles 0..359.9 degrees, a line voltage at most
// 300 V x 1.732 = 519.6 V, a Cross program has entries 0..7. Only the
// connected model's mode ring is shown. A program read from the source is
// drawn at once.
TEST_F(PanelRules, InitLimitsShowsAndDraws) {
  gPowerInfo.ModelType = kModelGS;
  gCommInfo.ListDataOk = 1;
  StepPanelState step;
  ListPanelState list = FreshListPanelState(kListPanelList);
  ListPanelState ramp = FreshListPanelState(kListPanelRamp);
  CrossPanelState cross;
  StepPanelInit(step);
  ListPanelInit(list);
  ListPanelInit(ramp);
  CrossPanelInit(cross);
  const struct {
    const char *Name;
    const NumView &View;
    double Min, Max;
  } limits[] = {
      {"Step hours of W", step.Column[2].TimeH, 0, 99},
      {"Step angle U->W", step.Angle.AngleUW, 0, 359.9},
      {"List line voltage", list.VolLine[0], 0, 519.6},
      {"Ramp line stop voltage", ramp.VolLine[1], 0, 519.6},
      {"Cross stop entry", cross.StopNo, 0, 7},
  };
  for (const auto &l : limits) {
    SCOPED_TRACE(l.Name);
    EXPECT_EQ(l.View.Min, l.Min);
    EXPECT_EQ(l.View.Max, l.Max);
  }
  for (int r = 0; r < kStepRingCount; ++r)
    EXPECT_EQ(step.OutMode[r].Visible, r == kStepRingGS) << r;
  EXPECT_TRUE(step.Wave[0].Visible);
  EXPECT_EQ(list.Graph.Revision, 1u) << "read: drawn";
  EXPECT_EQ(ramp.Graph.Revision, 0u) << "not read: nothing to draw";
}

// The output mode decides the angles stored and what V takes from U: mode 16
// the typed angles and U's frequency and timing, mode 0 the standard 120.0
// and 240.0 degrees and everything of U, mode 1 nothing.
struct StepModeCase {
  const char *Name;
  int Mode;
  int32_t AngleUV, AngleUW, AngleVW; // 0.1 degree
  int32_t VolStartV, FreqStartV;
};

const StepModeCase kStepModes[] = {
    {"own angles", 16, 1000, 2000, 1000, 500, 5000},
    {"balanced", 0, 1200, 2400, 1200, 1000, 5000},
    {"separate", 1, 0, 0, 0, 500, 6000},
};

TEST_F(PanelRules, StepModeSetsAnglesAndWhatVTakesFromU) {
  gPowerInfo.ModelType = kModelFPA;
  for (const StepModeCase &c : kStepModes) {
    SCOPED_TRACE(c.Name);
    gStepSet = StepSet{};
    gStepSet.VolStartU = 1000;
    gStepSet.VolStartV = 500;
    gStepSet.FreqStartU = 5000;
    gStepSet.FreqStartV = 6000;
    StepPanelState panel;
    panel.OutMode[kStepRingFPA].Value = c.Mode;
    panel.Angle.AngleUV.Value = 100.0;
    panel.Angle.AngleUW.Value = 200.04; // stored as 200.0 and shown so
    StepSetOverChanged(panel);
    EXPECT_EQ(gStepSet.AngleUV, c.AngleUV);
    EXPECT_EQ(gStepSet.AngleUW, c.AngleUW);
    EXPECT_EQ(gStepSet.AngleVW, c.AngleVW);
    EXPECT_EQ(gStepSet.VolStartV, c.VolStartV);
    EXPECT_EQ(gStepSet.FreqStartV, c.FreqStartV);
    EXPECT_EQ(panel.Angle.Visible, c.Mode == 16);
    if (c.Mode == 16) {
      EXPECT_EQ(panel.Angle.AngleUW.Value, 200.0);
    }
  }
  StepPanelState panel;
  StepStandardAngle(panel);
  EXPECT_EQ(gStepSet.AngleVW, 1200) << "the standard key: 240.0 - 120.0 degrees";
}

// What a List step shows and dims for the output mode: V and W follow U in
// modes 0 and 5, keep their own volts and waveform in mode 16 but share the
// timing, keep everything in mode 1; with line display mode 0 takes a line
// voltage in place of U's. A single-phase program dims the "all phases"
// display mode.
struct ListShowCase {
  const char *Name;
  int Mode, UDisMode;
  bool VolUShown, VolVShown, LineShown, VolVDimmed, FreqVDimmed, WaveVDimmed, AllDimmed;
};

const ListShowCase kListShows[] = {
    {"balanced", 0, 0, true, true, false, true, true, true, false},
    {"balanced, line voltage", 0, 1, false, true, true, true, true, true, false},
    {"separate", 1, 0, true, true, false, false, false, false, false},
    {"own angles", 16, 0, true, true, false, false, true, false, false},
    {"single phase", 5, 0, true, true, false, true, true, true, true},
};

TEST_F(PanelRules, ListStepControlsFollowTheMode) {
  gPowerInfo.ModelType = kModelFPA;
  for (const ListShowCase &c : kListShows) {
    SCOPED_TRACE(c.Name);
    gListSet.OutMode = c.Mode;
    gSystemSet.UDisMode = c.UDisMode;
    ListPanelState panel = FreshListPanelState(kListPanelList);
    DataFPFromListVarToPanel(panel);
    const ListColumnView &u = panel.Column[0], &v = panel.Column[1];
    EXPECT_EQ(u.Vol[0].Visible, c.VolUShown);
    EXPECT_EQ(v.Vol[0].Visible, c.VolVShown);
    EXPECT_EQ(panel.VolLine[0].Visible, c.LineShown);
    EXPECT_EQ(v.Vol[0].Dimmed, c.VolVDimmed);
    EXPECT_EQ(v.Freq[0].Dimmed, c.FreqVDimmed);
    EXPECT_EQ(v.Wave.Dimmed, c.WaveVDimmed);
    EXPECT_EQ(panel.DisModeDimmed[0], c.AllDimmed);
  }
}

// A Cross header edit goes out at once (write 90 40); display modes 2 and 3
// draw U and V only.
TEST_F(PanelRules, CrossHeaderWriteAndDisplayModes) {
  gPowerInfo.ModelType = kModelGS;
  gPowerInfo.Connected = 1;
  CrossPanelState cross;
  cross.StartNo.Value = 2;
  cross.StopNo.Value = 5;
  CrossHeaderChanged(cross);
  EXPECT_EQ(gCrossListSet.StopNo, 5);
  EXPECT_EQ(QueuedCommands(), std::vector{Single(0x5A, 40, 0)});
  CrossDisplayMode(cross, 2);
  EXPECT_EQ(gCrossSetDisMode, 2);
  EXPECT_EQ(cross.DisModeChecked, 2);
  EXPECT_EQ(cross.Graph.Shown, (std::array{true, false, false}));
  StepPanelState step;
  StepDisplayMode(step, 3);
  EXPECT_EQ(step.Graph.Shown, (std::array{false, true, false}));
}

// The Download key is live only while a group waits for its download.
TEST_F(PanelRules, THDDownloadKeyFollowsThePendingGroups) {
  for (int pending : {0, 1}) {
    gTHDNeedDownload[4] = pending;
    THDPanelState panel;
    THDPanelInit(panel);
    EXPECT_EQ(panel.Download.Dimmed, pending == 0) << pending;
  }
}

// Separate mode draws the phases on one time axis: U runs four steps of 1 s
// (100 V up by 10 V), V two (50 V up by 20 V) and then holds; 400 points
// over 4 s put 1.5 s at point 150.
TEST_F(PanelRules, StepPreviewInSeparateModeSharesOneTimeAxis) {
  StepSet &s = gStepSet;
  s.OutMode = 1;
  s.VolStartU = 1000, s.VolStepU = 100, s.StepCntU = 3, s.StepTimeS2PU = 100;
  s.VolStartV = 500, s.VolStepV = 200, s.StepCntV = 1, s.StepTimeS2PV = 100;
  ProgramGraphView graph;
  RefreshStepSetGraph(graph, 1, 1, 1);
  EXPECT_EQ(graph.Points[0][150], 110.0);
  EXPECT_EQ(graph.Points[0][399], 130.0);
  EXPECT_EQ(graph.Points[1][150], 70.0);
  EXPECT_EQ(graph.Points[1][399], 70.0);
}

// Ramp display mode 5: five slots of 20 around the current step (no step
// before step 0: a line at 0 V); the current step in slot 3 as seven lines
// -3..+3 V apart, each rising like the step, 100 V to 200 V.
TEST_F(PanelRules, RampWindowDrawsTheCurrentStepAsSevenLines) {
  gRampSet.CurrentNo = 1;
  gRampRampSet[1].Phase[0].VolStart = 1000;
  gRampRampSet[1].Phase[0].VolStop = 2000;
  ProgramGraphView graph;
  RefreshRampSetGraph(graph, 0, 1, 5);
  const std::vector<GraphLine> &lines = graph.Window.Lines;
  ASSERT_EQ(lines.size(), 11u);
  for (int offset = -3; offset <= 3; ++offset) {
    const GraphLine &l = lines[5 + offset];
    EXPECT_EQ(l.X1, 40.0);
    EXPECT_EQ(l.X2, 60.0);
    EXPECT_EQ(l.Y1, 100.0 + offset);
    EXPECT_EQ(l.Y2, 200.0 + offset);
  }
}

} // namespace
