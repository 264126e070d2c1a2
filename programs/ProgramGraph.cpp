#include "programs/ProgramGraph.h"

#include <algorithm>

#include "comm/FPBlocks.h"
#include "records/Globals.h"
#include "settings/ProgramSet.h"

namespace {

constexpr double kStepVoltMax = 300.0;

// While connected and a program of the run state runs (a stopped status
// redraws the plain preview even before the output is marked stopped).
bool ProgressShown(int runState) {
  return gPowerInfo.Connected == 1 && gPowerInfo.OutputRunning == 1 &&
         gPowerState.RunState == runState;
}

// The end of every whole-program refresh: a progress count n (-1: the
// source reports a step the program does not have, so the drawing stays as
// it is) that fell forces a full redraw, as when a new cycle starts.
void ShowProgramProgress(ProgramGraphView &graph, int n, int redraw, int mode) {
  if (n < 0)
    n = int(graph.LastProgress);
  if (n < graph.LastProgress || graph.WindowShown)
    redraw = 1;
  if (redraw != 0) {
    graph.WindowShown = false;
    graph.Shown = PhasesOfDisMode(mode);
    graph.YMin = 0;
    graph.YMax = kStepVoltMax;
    ++graph.Revision;
  }
  graph.Progress = n;
  ++graph.ProgressRevision;
  graph.LastProgress = n;
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

// ---- List and Ramp ----

template <typename Phase> int64_t PhaseDuration(const Phase &p) {
  return std::max<int64_t>(StepTimeHundredths(p.TimeH, p.TimeM, p.TimeS2P), 0);
}

// Volts t hundredths into a step phase lasting d.
double VoltsAt(const ListPhase &p, int64_t, int64_t) { return p.Vol / 10.0; }
double VoltsAt(const RampPhase &p, int64_t t, int64_t d) {
  const int64_t v = d > 0 ? p.VolStart + t * (int64_t(p.VolStop) - p.VolStart) / d : p.VolStop;
  return double(v) / 10.0;
}

// Per phase the start of every step, [s] for s = 0..100; steps outside
// start..stop take no time.
using StepStarts = std::array<std::array<int64_t, kProgramStepCount + 1>, 3>;

template <typename Steps> StepStarts StartsOf(const ListSet &h, const Steps &steps) {
  StepStarts c{};
  for (int phase = 0; phase < 3; ++phase)
    for (int s = 0; s < kProgramStepCount; ++s) {
      const bool used = s >= h.StartNo && s <= h.StopNo;
      c[phase][s + 1] = c[phase][s] + (used ? PhaseDuration(steps[s].Phase[phase]) : 0);
    }
  return c;
}

int64_t TotalOf(const StepStarts &c) { return std::max({c[0].back(), c[1].back(), c[2].back()}); }

template <typename Steps>
void RecomputeSequence(ProgramGraphView &graph, const ListSet &h, const Steps &steps) {
  const StepStarts c = StartsOf(h, steps);
  const int64_t total = TotalOf(c);
  graph.NoLength = total <= 0;
  const bool copies = h.OutMode == 0 || h.OutMode == 5;
  for (int phase = 0; phase < 3; ++phase) {
    std::vector<double> &out = graph.Points[phase];
    if (phase > 0 && copies) {
      out = graph.Points[0];
      continue;
    }
    out.assign(kListGraphPoints, 0.0);
    if (total <= 0)
      continue;
    int s = 0;
    double last = 0;
    for (int i = 0; i < kListGraphPoints; ++i) {
      const int64_t t = total * i / kListGraphPoints;
      while (s < kProgramStepCount && c[phase][s + 1] <= t)
        ++s;
      // Past its own end a phase holds its last value.
      if (s < kProgramStepCount)
        last = VoltsAt(steps[s].Phase[phase], t - c[phase][s], c[phase][s + 1] - c[phase][s]);
      out[i] = last;
    }
  }
}

// 1000 x the elapsed time over the program's length (the furthest phase in
// separate mode); -1 for a step outside the program.
template <typename Steps> int SequenceProgress(const ListSet &h, const Steps &steps) {
  const StepStarts c = StartsOf(h, steps);
  const int64_t total = TotalOf(c);
  if (total <= 0)
    return 0;
  int64_t elapsed = 0;
  for (int phase = 0; phase < (h.OutMode == 1 ? 3 : 1); ++phase) {
    const RunPoint run = RunOfPhase(phase);
    if (run.Step < 0 || run.Step >= kProgramStepCount || run.Step < h.StartNo ||
        run.Step > h.StopNo)
      return -1;
    elapsed = std::max(elapsed, c[phase][run.Step] + std::max(run.TimeInStep, 0));
  }
  return int(std::min<int64_t>(kListGraphPoints * elapsed / total, kListGraphPoints - 1));
}

void AddWindowStep(FiveStepWindow &w, const ListPhase &p, double x1, double x2, bool current) {
  const double v = p.Vol / 10.0;
  if (!current) {
    w.Lines.push_back({x1, v, x2, v});
    return;
  }
  w.BandShown = true;
  w.BandX1 = x1;
  w.BandX2 = x2;
  w.BandY1 = v - 3;
  w.BandY2 = v + 3;
}

void AddWindowStep(FiveStepWindow &w, const RampPhase &p, double x1, double x2, bool current) {
  const double from = p.VolStart / 10.0, to = p.VolStop / 10.0;
  const int spread = current ? 3 : 0;
  for (int offset = -spread; offset <= spread; ++offset)
    w.Lines.push_back({x1, from + offset, x2, to + offset});
}

template <typename Steps>
void FiveStepWindowOf(FiveStepWindow &w, int current, int phase, const Steps &steps) {
  w = FiveStepWindow{};
  constexpr double slot = kFiveStepWidth / kFiveStepSlots;
  for (int k = 0; k < kFiveStepSlots; ++k) {
    const int s = current - 2 + k;
    const double x1 = slot * k, x2 = x1 + slot;
    if (s < 0 || s >= kProgramStepCount) {
      w.Lines.push_back({x1, 0, x2, 0});
      continue;
    }
    const auto &p = steps[s].Phase[phase];
    w.Step[k] = s;
    w.Seconds[k] = p.TimeH * 3600.0 + p.TimeM * 60.0 + p.TimeS2P / 100.0;
    AddWindowStep(w, p, x1, x2, k == 2);
  }
}

template <typename Steps>
void RefreshSequence(ProgramGraphView &graph, int recompute, int redraw, int mode, const ListSet &h,
                     const Steps &steps, int runState) {
  if (mode >= 5 && mode <= 7) {
    FiveStepWindowOf(graph.Window, h.CurrentNo, mode - 5, steps);
    graph.WindowShown = true;
    graph.Shown = {};
    graph.Progress = 0;
    graph.LastProgress = 0;
    ++graph.Revision;
    ++graph.ProgressRevision;
    return;
  }
  if (recompute != 0 || graph.Points[0].size() != kListGraphPoints)
    RecomputeSequence(graph, h, steps);
  ShowProgramProgress(graph, ProgressShown(runState) ? SequenceProgress(h, steps) : 0, redraw,
                      mode);
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
  ShowProgramProgress(graph, ProgressShown(kRunStep) ? StepProgress() : 0, redraw, mode);
}

void RefreshListSetGraph(ProgramGraphView &graph, int recompute, int redraw, int mode) {
  RefreshSequence(graph, recompute, redraw, mode, gListSet, gListListSet, kRunList);
}

void RefreshRampSetGraph(ProgramGraphView &graph, int recompute, int redraw, int mode) {
  RefreshSequence(graph, recompute, redraw, mode, gRampSet, gRampRampSet, kRunRamp);
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
  graph.NoLength = total < 1;
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
  ShowProgramProgress(graph, ProgressShown(kRunCross) ? CrossProgress() : 0, redraw, mode);
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
