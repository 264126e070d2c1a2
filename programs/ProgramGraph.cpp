#include "programs/ProgramGraph.h"

#include <algorithm>

#include "comm/FPBlocks.h"
#include "records/Globals.h"
#include "settings/ProgramSet.h"

namespace {

constexpr double kStepVoltMax = 300.0;

// While connected and a Step program runs (a stopped status redraws the
// plain preview even before the output is marked stopped).
bool StepProgressShown() {
  return gPowerInfo.Connected == 1 && gPowerInfo.OutputRunning == 1 &&
         gPowerState.RunState == kRunStep;
}

struct RunPoint {
  int32_t Step, TimeInStep, StepLength;
};

RunPoint RunOfPhase(int phase) {
  const PowerState &st = gPowerState;
  switch (phase) {
  case 0:
    return {st.RunStepU, st.RunStepTimeU, st.RunStepLengthU};
  case 1:
    return {st.RunStepV, st.RunStepTimeV, st.RunStepLengthV};
  default:
    return {st.RunStepW, st.RunStepTimeW, st.RunStepLengthW};
  }
}

int64_t PhaseStepTime(const StepSet &s, int phase) {
  const StepPhase &p = kStepPhases[phase];
  return StepTimeHundredths(s.*p.TimeH, s.*p.TimeM, s.*p.TimeS2P);
}

void RecomputeStep(ProgramGraphView &graph) {
  const StepSet &s = gStepSet;
  const bool separate = s.OutMode == 1;
  int64_t longest = 0;
  for (int phase = 0; phase < 3; ++phase)
    longest = std::max(longest, (s.*kStepPhases[phase].StepCnt + 1) * PhaseStepTime(s, phase));
  for (int phase = 0; phase < 3; ++phase) {
    const StepPhase &p = kStepPhases[phase];
    const int64_t count = s.*p.StepCnt;
    const int64_t stepTime = PhaseStepTime(s, phase);
    std::vector<double> &out = graph.Points[phase];
    out.assign(kStepGraphPoints, 0.0);
    for (int i = 0; i < kStepGraphPoints; ++i) {
      int64_t k = separate && stepTime > 0 ? longest * i / (int64_t(kStepGraphPoints) * stepTime)
                                           : (count + 1) * i / kStepGraphPoints;
      k = std::min(k, count);
      const int64_t volts = (k * (s.*p.VolStep) + (s.*p.VolStart)) / 10;
      out[i] = std::clamp(double(volts), 0.0, kStepVoltMax);
    }
  }
}

// The progress count of the running Step program, or -1 when the source
// reports a step the program does not have.
int StepProgress() {
  const StepSet &s = gStepSet;
  const RunPoint u = RunOfPhase(0);
  if (s.OutMode == 1 || s.StepCntU == 0) {
    int64_t elapsed = 0, longest = 0;
    for (int phase = 0; phase < 3; ++phase) {
      const RunPoint run = RunOfPhase(phase);
      const int32_t count = s.*kStepPhases[phase].StepCnt;
      if (run.Step < 0 || run.Step > count)
        return -1;
      const int64_t stepTime = PhaseStepTime(s, phase);
      elapsed = std::max(elapsed, stepTime * run.Step + run.TimeInStep);
      longest = std::max(longest, (count + 1) * stepTime);
    }
    return ProgressCount(kStepGraphPoints, elapsed, longest);
  }
  if (u.Step < 0 || u.Step > s.StepCntU)
    return -1;
  // Whole steps and the part of the current one, over StepCnt + 1 steps.
  const int64_t steps = int64_t(s.StepCntU) + 1;
  int64_t n = int64_t(u.Step) * kStepGraphPoints / steps;
  if (u.StepLength > 0)
    n += int64_t(u.TimeInStep) * kStepGraphPoints / (int64_t(u.StepLength) * steps);
  return int(std::clamp<int64_t>(n, 1, kStepGraphPoints - 1));
}

// The progress count n (-1: a step beyond the program, the drawing stays as
// it is); a count that fell, as at a new cycle, redraws the whole graph.
void ShowProgramProgress(ProgramGraphView &graph, int n, int redraw, int mode) {
  if (n < 0)
    n = int(graph.LastProgress);
  if (n < graph.LastProgress)
    redraw = 1;
  if (redraw != 0) {
    graph.Shown = PhasesOfDisMode(mode);
    graph.YMin = 0;
    graph.YMax = kStepVoltMax;
    ++graph.Revision;
  }
  graph.Progress = n;
  ++graph.ProgressRevision;
  graph.LastProgress = n;
}

} // namespace

int ProgressCount(int points, int64_t elapsed, int64_t total) {
  if (total < 1)
    return 0;
  const int64_t n = int64_t(points) * std::max<int64_t>(elapsed, 0) / total;
  return int(std::clamp<int64_t>(n, 1, points - 1));
}

std::array<bool, 3> PhasesOfDisMode(int mode) {
  switch (mode) {
  case 2:
    return {true, false, false};
  case 3:
    return {false, true, false};
  case 4:
    return {false, false, true};
  default:
    return {true, true, true};
  }
}

int64_t StepTimeHundredths(int32_t hours, int32_t minutes, int32_t hundredths) {
  return int64_t(hours) * 360000 + int64_t(minutes) * 6000 + hundredths;
}

void RefreshStepSetGraph(ProgramGraphView &graph, int recompute, int redraw, int mode) {
  if (recompute != 0 || graph.Points[0].size() != kStepGraphPoints)
    RecomputeStep(graph);
  ShowProgramProgress(graph, StepProgressShown() ? StepProgress() : 0, redraw, mode);
}

namespace {

// The start of each Cross entry in ms (entries outside start..stop take no
// time); element 8 is the length of the whole program.
std::array<int64_t, kCrossEntryCount + 1> CrossEntryStarts() {
  std::array<int64_t, kCrossEntryCount + 1> starts{};
  const CrossListSet &h = gCrossListSet;
  for (int e = 0; e < kCrossEntryCount; ++e) {
    const bool runs = e >= h.StartNo && e <= h.StopNo;
    starts[e + 1] = starts[e] + (runs ? CrossEntryLength(gCrossSet[e]) : 0);
  }
  return starts;
}

void RecomputeCross(ProgramGraphView &graph) {
  const auto starts = CrossEntryStarts();
  const int64_t total = starts[kCrossEntryCount];
  for (std::vector<double> &out : graph.Points)
    out.assign(kCrossGraphPoints, 0.0);
  if (total < 1)
    return;
  int e = 0;
  for (int i = 0; i < kCrossGraphPoints; ++i) {
    const int64_t t = total * i / kCrossGraphPoints;
    while (e < kCrossEntryCount - 1 && t >= starts[e + 1])
      ++e;
    const CrossSet &c = gCrossSet[e];
    for (int phase = 0; phase < 3; ++phase) {
      const bool dips = (c.OutChannel & (1 << phase)) != 0;
      graph.Points[phase][i] = (dips ? CrossVoltageAt(c, t - starts[e]) : c.RatingVol) / 10.0;
    }
  }
}

bool CrossProgressShown() {
  return gPowerInfo.Connected == 1 && gPowerInfo.OutputRunning == 1 &&
         gPowerState.RunState == kRunCross;
}

// The progress count of the running Cross program, or -1 when the source
// reports an entry outside the program.
int CrossProgress() {
  const auto starts = CrossEntryStarts();
  const int32_t entry = gPowerState.RunStepU;
  if (entry < gCrossListSet.StartNo || entry > gCrossListSet.StopNo || entry >= kCrossEntryCount)
    return -1;
  return ProgressCount(kCrossGraphPoints, starts[entry] + gPowerState.RunStepTimeU,
                       starts[kCrossEntryCount]);
}

} // namespace

void RefreshCrossSetGraph(ProgramGraphView &graph, int recompute, int redraw, int mode) {
  if (recompute != 0 || graph.Points[0].size() != kCrossGraphPoints)
    RecomputeCross(graph);
  ShowProgramProgress(graph, CrossProgressShown() ? CrossProgress() : 0, redraw, mode);
}

void DrawTHDPanelGraph(ProgramGraphView &graph, int group) {
  THDSet &thd = gTHDSet[std::clamp(group, 0, kTHDGroupCount - 1)];
  if (thd.WaveValid == 0)
    DataTHDCalWaveOne(int(&thd - gTHDSet.data()));
  std::vector<double> &out = graph.Points[0];
  out.assign(kTHDGraphPoints, 0.0);
  for (int i = 0; i < kTHDGraphPoints; ++i)
    out[i] = thd.WaveRms != 0 ? double(thd.Wave[i]) / thd.WaveRms : 0.0;
  graph.Shown = {true, false, false};
  graph.YMin = -2.0;
  graph.YMax = 2.0;
  graph.Progress = 0;
  ++graph.Revision;
}
