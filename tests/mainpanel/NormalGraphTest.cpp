#include "programs/NormalSetGraph.h"

#include <algorithm>
#include <cmath>

#include "FieldList.h"
#include "MainPanelTestSupport.h"

namespace {

class NormalGraph : public MainPanelTest {
protected:
  // A stored harmonic waveform with the given peak-to-RMS ratio.
  void StoreTHD(int group, int rms, int max) {
    THDSet &t = gTHDSet[group];
    for (int i = 0; i < kTHDWavePoints; ++i) {
      t.Wave[i] = i < 180 ? max : -max;
    }
    t.WaveRms = rms;
    t.WaveMax = max;
    t.WaveValid = 1;
  }
  double Peak(int phase) const {
    const auto &p = panel.Graph.Points[phase];
    return *std::max_element(p.begin(), p.end());
  }
};

// The axis limit steps with the highest peak among the phases the mode uses;
// the harmonic of waveform 1 is stored with the given RMS and peak.
TEST_F(NormalGraph, AxisLimitFromTheHighestPeak) {
  struct Case {
    int OutMode, WaveU, WaveV, WaveW, Rms, Max;
    double Limit;
  };
  const Case cases[] = {
      {0, 1, 1, 1, 2200, 5000, 600.0},  // peak 500 V
      {0, 1, 1, 1, 2200, 3000, 450.0},  // peak 300 V
      {0, 1, 1, 1, 2200, 4500, 600.0},  // peak exactly 450 V
      {0, 1, 1, 1, 1000, 4000, 900.0},  // peak 880 V
      {0, 1, 1, 1, 1000, 4091, 1050.0}, // peak 900.02 V
      {0, 0, 1, 1, 2200, 5000, 450.0},  // only phase U counts
      {16, 0, 0, 1, 2200, 5000, 600.0}, {7, 1, 1, 1, 2200, 5000, 450.0},
  };
  for (const Case &c : cases) {
    UseModel(kModelFPA);
    StoreTHD(0, c.Rms, c.Max);
    gNormalFPSet[0].OutMode = c.OutMode;
    EXPECT_DOUBLE_EQ(FindMaxPeakScaleByNormalCurrentSet(c.WaveU, c.WaveV, c.WaveW), c.Limit)
        << c.OutMode << " " << c.Max;
  }
  // The graph of separate phases takes its axis from the harmonic on W.
  SetFields(gNormalFPSet[0], "OutMode=1 WaveW=1");
  RefreshNormalSetGraph(panel.Graph);
  EXPECT_DOUBLE_EQ(panel.Graph.YLimit, 600.0);
  EXPECT_NEAR(Peak(2), 500.0, 1e-6); // 220 V of a wave whose peak is 5000/2200 of its RMS
}

TEST_F(NormalGraph, PhasesShownByFamilyAndMode) {
  struct Case {
    int Model, OutMode;
    std::array<bool, 3> Shown;
  };
  const Case cases[] = {
      {kModelFCT, 0, {true, true, true}},   {kModelFCT, 3, {false, true, false}},
      {kModelFCS, 5, {true, false, false}}, {kModelFPA, 0, {true, true, true}},
      {kModelFPA, 5, {true, false, false}}, {kModelGS, 16, {true, true, true}},
  };
  for (const Case &c : cases) {
    UseModel(c.Model);
    if (IsFCModel(c.Model)) {
      gNormalFCSet[0].OutMode = c.OutMode;
    } else {
      gNormalFPSet[0].OutMode = c.OutMode;
    }
    RefreshNormalSetGraph(panel.Graph);
    EXPECT_EQ(panel.Graph.Shown, c.Shown) << c.Model << " mode " << c.OutMode;
  }
}

TEST_F(NormalGraph, SinePeakAndPhaseOffsets) {
  UseModel(kModelFPA);
  SetFields(gNormalFPSet[0], "OutMode=16 VolV=1000 AngleUV=900");
  RefreshNormalSetGraph(panel.Graph);
  EXPECT_NEAR(Peak(0), 2200 * 0.1414, 0.5);
  EXPECT_NEAR(Peak(1), 1000 * 0.1414, 0.5);
  EXPECT_NEAR(panel.Graph.Points[0][0], 0.0, 1e-9);
  // V starts 90 degrees behind U: at its negative peak
  EXPECT_NEAR(panel.Graph.Points[1][0], -141.4, 0.01);
  EXPECT_DOUBLE_EQ(panel.Graph.YLimit, 450.0);
}

TEST_F(NormalGraph, HarmonicWaveformScaledToTheSetVoltage) {
  UseModel(kModelGS);
  StoreTHD(4, 1000, 1000); // a square wave: peak equals RMS
  NormalFPSet &g = gNormalFPSet[0];
  g.WaveU = 5;
  g.VolU = 2300;
  RefreshNormalSetGraph(panel.Graph);
  EXPECT_NEAR(Peak(0), 230.0, 1e-9);
  EXPECT_NEAR(Peak(2), 230.0, 1e-9);
}

TEST_F(NormalGraph, UnsynthesisedGroupIsSynthesisedFirst) {
  UseModel(kModelFPA);
  THDSet &t = gTHDSet[1];
  t.Percent[0] = 1000;
  t.WaveValid = 0;
  gNormalFPSet[0].WaveU = 2;
  RefreshNormalSetGraph(panel.Graph);
  EXPECT_EQ(t.WaveValid, 1);
  EXPECT_GT(t.WaveRms, 0);
  // a pure fundamental drawn at the set RMS: peak about 220 x 1.414
  EXPECT_NEAR(Peak(0), 311.0, 3.0);
}

TEST_F(NormalGraph, FCUsesTenthsOfHertz) {
  UseFCT();
  gNormalFCSet[0].Freq = 450; // one period fills the 45 Hz window exactly
  RefreshNormalSetGraph(panel.Graph);
  EXPECT_NEAR(panel.Graph.Points[0][45], 2200 * 0.1414, 0.01);
  EXPECT_NEAR(panel.Graph.Points[0][135], -2200 * 0.1414, 0.01);
  EXPECT_DOUBLE_EQ(panel.Graph.YLimit, 450.0);
}

} // namespace
