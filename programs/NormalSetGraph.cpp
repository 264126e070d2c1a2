#include "programs/NormalSetGraph.h"

#include <algorithm>
#include <cmath>

#include "programs/Arithmetic.h"
#include "records/Globals.h"
#include "settings/ProgramSet.h"

namespace {

constexpr double kDefaultLimit = 450.0;

// The THD group of a waveform number, or -1 for a sine (or a number that
// names no group).
int THDGroupOf(int wave) { return (wave >= 1 && wave <= kTHDGroupCount) ? wave - 1 : -1; }

const THDSet &ValidTHDGroup(int group) {
  if (gTHDSet[group].WaveValid == 0) {
    DataTHDCalWaveOne(group);
  }
  return gTHDSet[group];
}

// One phase of the FP-family graph: a sine of the set voltage (0.1 V) and
// frequency (0.01 Hz), or the stored period of a THD group scaled so that
// its RMS is the set voltage.
void MakePhase(std::array<double, kNormalGraphPoints> &out, double startDeg, int vol, int freq,
               int wave) {
  const double f = freq / 100.0;
  const int group = THDGroupOf(wave);
  if (group < 0) {
    WaverMakeSinByPeak(startDeg, vol * 0.1414, f, kNormalGraphWindowHz, kNormalGraphPoints,
                       out.data());
    return;
  }
  const THDSet &thd = ValidTHDGroup(group);
  WaverMakeTHDBy360BaseWave(startDeg, f, kNormalGraphWindowHz, kNormalGraphPoints, thd.Wave.data(),
                            out.data());
  const double rms = static_cast<double>(thd.WaveRms) * 10.0;
  for (double &w : out) {
    w = rms > 0 ? w * vol / rms : 0.0;
  }
}

void RefreshFC(NormalSetGraphView &graph) {
  const NormalFCSet &g = gNormalFCSet[std::clamp(gCurrentNormalGroup, 0, kFCGroupCount - 1)];
  const double peak = g.Vol * 0.1414;
  const double f = g.Freq / 10.0;
  graph.YLimit = kDefaultLimit;
  std::array<bool, 3> shown{true, true, true};
  if (gPowerInfo.ModelType == kModelFCS) {
    shown = {true, false, false};
  } else if (g.OutMode >= 2 && g.OutMode <= 4) {
    shown = {false, false, false};
    shown[g.OutMode - 2] = true;
  }
  for (int phase = 0; phase < 3; ++phase) {
    if (shown[phase]) {
      WaverMakeSinByPeak(120.0 * phase, peak, f, kNormalGraphWindowHz, kNormalGraphPoints,
                         graph.Points[phase].data());
    }
  }
  graph.Shown = shown;
}

void RefreshFP(NormalSetGraphView &graph) {
  const NormalFPSet &g = gNormalFPSet[std::clamp(gCurrentNormalGroup, 0, kFPGroupCount - 1)];
  auto &p = graph.Points;
  switch (g.OutMode) {
  case 0:
    MakePhase(p[0], 0.0, g.VolU, g.FreqU, g.WaveU);
    MakePhase(p[1], -120.0, g.VolU, g.FreqU, g.WaveU);
    MakePhase(p[2], -240.0, g.VolU, g.FreqU, g.WaveU);
    graph.Shown = {true, true, true};
    graph.YLimit = FindMaxPeakScaleByNormalCurrentSet(g.WaveU, g.WaveU, g.WaveU);
    break;
  case 1:
    MakePhase(p[0], 0.0, g.VolU, g.FreqU, g.WaveU);
    MakePhase(p[1], -120.0, g.VolV, g.FreqV, g.WaveV);
    MakePhase(p[2], -240.0, g.VolW, g.FreqW, g.WaveW);
    graph.Shown = {true, true, true};
    graph.YLimit = FindMaxPeakScaleByNormalCurrentSet(g.WaveU, g.WaveV, g.WaveW);
    break;
  case 5:
    MakePhase(p[0], 0.0, g.VolU, g.FreqU, g.WaveU);
    graph.Shown = {true, false, false};
    graph.YLimit = FindMaxPeakScaleByNormalCurrentSet(g.WaveU, g.WaveU, g.WaveU);
    break;
  case 16:
    MakePhase(p[0], 0.0, g.VolU, g.FreqU, g.WaveU);
    MakePhase(p[1], -g.AngleUV / 10.0, g.VolV, g.FreqU, g.WaveV);
    MakePhase(p[2], -g.AngleUW / 10.0, g.VolW, g.FreqU, g.WaveW);
    graph.Shown = {true, true, true};
    graph.YLimit = FindMaxPeakScaleByNormalCurrentSet(g.WaveU, g.WaveV, g.WaveW);
    break;
  default:
    // Not a mode of any family: nothing to draw.
    graph.Shown = {false, false, false};
    graph.YLimit = kDefaultLimit;
    break;
  }
}

// Limit of one phase: 450 V for a sine or a peak below 450 V, else the
// next multiple of 150 above the peak.
double PhaseLimit(int vol, int wave) {
  const int group = THDGroupOf(wave);
  if (group < 0) {
    return kDefaultLimit;
  }
  const THDSet &thd = ValidTHDGroup(group);
  if (thd.WaveRms <= 0) {
    return kDefaultLimit;
  }
  const double peak = static_cast<double>(vol) * thd.WaveMax / (thd.WaveRms * 10.0);
  if (peak < kDefaultLimit) {
    return kDefaultLimit;
  }
  return std::trunc(peak / 150.0 + 1.0) * 150.0;
}

} // namespace

double FindMaxPeakScaleByNormalCurrentSet(int waveU, int waveV, int waveW) {
  const NormalFPSet &g = gNormalFPSet[std::clamp(gCurrentNormalGroup, 0, kFPGroupCount - 1)];
  switch (g.OutMode) {
  case 0:
  case 5:
    return PhaseLimit(g.VolU, waveU);
  case 1:
  case 16:
    return std::max(
        {PhaseLimit(g.VolU, waveU), PhaseLimit(g.VolV, waveV), PhaseLimit(g.VolW, waveW)});
  default:
    return kDefaultLimit;
  }
}

void RefreshNormalSetGraph(NormalSetGraphView &graph) {
  if (IsFCModel(gPowerInfo.ModelType)) {
    RefreshFC(graph);
  } else {
    RefreshFP(graph);
  }
  ++graph.Revision;
}
