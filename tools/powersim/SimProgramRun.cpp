#include "tools/powersim/SimProgramRun.h"

#include <algorithm>
#include <vector>

#include "settings/ProgramSet.h"

namespace {

constexpr int kU = 0;

int32_t ClampVol(int64_t vol) { return static_cast<int32_t>(std::clamp<int64_t>(vol, 0, 3000)); }
int32_t ClampFreq(int64_t freq) { return static_cast<int32_t>(std::max<int64_t>(freq, 0)); }

// Which phase a phase takes its values from, by output mode: in modes 0 and
// 5 everything comes from U; in mode 16 voltage and waveform are the phase's
// own and frequency and timing come from U; in mode 1 everything is its own.
int VoltageSource(int32_t outMode, int phase) {
  return (outMode == 0 || outMode == 5) ? kU : phase;
}
int TimingSource(int32_t outMode, int phase) { return outMode == 1 ? phase : kU; }
bool PhaseOn(int32_t outMode, int phase) { return outMode != 5 || phase == kU; }

int32_t Repetitions(int32_t circleDegree) { return std::max<int32_t>(circleDegree, 1); }

// Cumulative start times of the steps StartNo..StopNo of one phase.
struct Timeline {
  std::vector<int64_t> Start; // Start[s] for s = 0..100; steps outside the range last 0
  int64_t Length() const { return Start.back(); }
};

template <typename Duration> Timeline MakeTimeline(const ListSet &header, Duration duration) {
  Timeline line;
  line.Start.assign(kProgramStepCount + 1, 0);
  for (int s = 0; s < kProgramStepCount; ++s) {
    const bool used = s >= header.StartNo && s <= header.StopNo;
    line.Start[s + 1] = line.Start[s] + (used ? std::max<int64_t>(duration(s), 0) : 0);
  }
  return line;
}

// The step running at time t of a cycle; a phase whose own program is
// shorter than the cycle holds its last step to the end of the cycle.
void Locate(const Timeline &line, int64_t t, SimPhaseRun &run) {
  int last = -1;
  const int count = static_cast<int>(line.Start.size()) - 1;
  for (int s = 0; s < count; ++s) {
    const int64_t length = line.Start[s + 1] - line.Start[s];
    if (length <= 0)
      continue;
    last = s;
    if (t < line.Start[s + 1]) {
      run.Step = s;
      run.TimeInStep = t - line.Start[s];
      run.StepLength = length;
      return;
    }
  }
  run.Step = std::max(last, 0);
  run.StepLength = last >= 0 ? line.Start[last + 1] - line.Start[last] : 0;
  run.TimeInStep = run.StepLength;
}

// Splits the elapsed time into repetition and time within it.
int64_t CycleTime(int64_t elapsed, int64_t cycleLength, int32_t circleDegree, SimRunPoint &point) {
  const int32_t repetitions = Repetitions(circleDegree);
  if (cycleLength <= 0) {
    point.Finished = true;
    return 0;
  }
  int64_t cycle = elapsed / cycleLength;
  int64_t t = elapsed % cycleLength;
  if (cycle >= repetitions) {
    point.Finished = true;
    cycle = repetitions - 1;
    t = cycleLength;
  }
  point.Cycle = static_cast<int32_t>(cycle + 1);
  return t;
}

// One List or Ramp step phase (ListPhase, RampPhase) lasts its own time.
template <typename Phase> int64_t PhaseDuration(const Phase &p) {
  return SimStepDuration(p.TimeH, p.TimeM, p.TimeS2P);
}

template <typename Steps>
std::array<Timeline, 3> PhaseTimelines(const ListSet &header, const Steps &steps) {
  std::array<Timeline, 3> lines;
  for (int phase = 0; phase < 3; ++phase) {
    const int from = TimingSource(header.OutMode, phase);
    lines[phase] = MakeTimeline(header, [&](int s) { return PhaseDuration(steps[s].Phase[from]); });
  }
  return lines;
}

int64_t LongestActive(const std::array<Timeline, 3> &lines, int32_t outMode) {
  int64_t longest = 0;
  for (int phase = 0; phase < 3; ++phase)
    if (PhaseOn(outMode, phase))
      longest = std::max(longest, lines[phase].Length());
  return longest;
}

Timeline CrossTimeline(const CrossListSet &header,
                       const std::array<CrossSet, kCrossEntryCount> &entries) {
  Timeline line;
  line.Start.assign(kCrossEntryCount + 1, 0);
  for (int e = 0; e < kCrossEntryCount; ++e) {
    const bool used = e >= header.StartNo && e <= header.StopNo;
    line.Start[e + 1] = line.Start[e] + (used ? CrossEntryLength(entries[e]) : 0);
  }
  return line;
}

} // namespace

int64_t SimStepDuration(int32_t hours, int32_t minutes, int32_t hundredths) {
  return int64_t{hours} * 360000 + int64_t{minutes} * 6000 + hundredths;
}

namespace {

struct SimStepPhase {
  int32_t VolStart, VolStep, FreqStart, FreqStep, StepCnt, Wave;
  int64_t StepTime;
};

SimStepPhase StepPhaseOf(const StepSet &s, int phase) {
  const std::array<int32_t, 3> volStart = {s.VolStartU, s.VolStartV, s.VolStartW};
  const std::array<int32_t, 3> volStep = {s.VolStepU, s.VolStepV, s.VolStepW};
  const std::array<int32_t, 3> wave = {s.WaveU, s.WaveV, s.WaveW};
  const std::array<int32_t, 3> freqStart = {s.FreqStartU, s.FreqStartV, s.FreqStartW};
  const std::array<int32_t, 3> freqStep = {s.FreqStepU, s.FreqStepV, s.FreqStepW};
  const std::array<int32_t, 3> count = {s.StepCntU, s.StepCntV, s.StepCntW};
  const std::array<int64_t, 3> time = {SimStepDuration(s.StepTimeHU, s.StepTimeMU, s.StepTimeS2PU),
                                       SimStepDuration(s.StepTimeHV, s.StepTimeMV, s.StepTimeS2PV),
                                       SimStepDuration(s.StepTimeHW, s.StepTimeMW, s.StepTimeS2PW)};
  const int v = VoltageSource(s.OutMode, phase);
  const int t = TimingSource(s.OutMode, phase);
  return {volStart[v],           volStep[v], freqStart[t], freqStep[t],
          std::max(count[t], 0), wave[v],    time[t]};
}

int64_t StepPhaseLength(const SimStepPhase &p) {
  return (int64_t{p.StepCnt} + 1) * std::max<int64_t>(p.StepTime, 0);
}

} // namespace

int64_t SimStepLength(const StepSet &step) {
  int64_t longest = 0;
  for (int phase = 0; phase < 3; ++phase)
    if (PhaseOn(step.OutMode, phase))
      longest = std::max(longest, StepPhaseLength(StepPhaseOf(step, phase)));
  return longest;
}

SimRunPoint SimStepAt(const StepSet &step, int64_t elapsed) {
  SimRunPoint point;
  const int64_t total = SimStepLength(step);
  if (elapsed >= total) {
    point.Finished = true;
    elapsed = total;
  }
  for (int phase = 0; phase < 3; ++phase) {
    const SimStepPhase p = StepPhaseOf(step, phase);
    SimPhaseRun &run = point.Phase[phase];
    run.On = PhaseOn(step.OutMode, phase);
    run.StepLength = std::max<int64_t>(p.StepTime, 0);
    int64_t k = run.StepLength > 0 ? elapsed / run.StepLength : p.StepCnt;
    k = std::min<int64_t>(k, p.StepCnt);
    run.Step = static_cast<int32_t>(k);
    run.TimeInStep = std::min(elapsed - k * run.StepLength, run.StepLength);
    run.Vol = ClampVol(p.VolStart + k * p.VolStep);
    run.Freq = ClampFreq(p.FreqStart + k * p.FreqStep);
    run.Wave = p.Wave;
    if (!run.On)
      run.Vol = 0;
  }
  return point;
}

namespace {

template <typename Steps> int64_t ProgramLength(const ListSet &header, const Steps &steps) {
  return LongestActive(PhaseTimelines(header, steps), header.OutMode) *
         Repetitions(header.CircleDegree);
}

// Where a List or Ramp program stands: the step of each phase from its own
// timeline; output(run, own, timing) sets the voltage, frequency and wave
// from the step's voltage phase and timing phase.
template <typename Steps, typename Output>
SimRunPoint ProgramAt(const ListSet &header, const Steps &steps, int64_t elapsed, Output output) {
  SimRunPoint point;
  const auto lines = PhaseTimelines(header, steps);
  const int64_t t =
      CycleTime(elapsed, LongestActive(lines, header.OutMode), header.CircleDegree, point);
  for (int phase = 0; phase < 3; ++phase) {
    SimPhaseRun &run = point.Phase[phase];
    run.On = PhaseOn(header.OutMode, phase);
    Locate(lines[phase], t, run);
    output(run, steps[run.Step].Phase[VoltageSource(header.OutMode, phase)],
           steps[run.Step].Phase[TimingSource(header.OutMode, phase)]);
  }
  return point;
}

} // namespace

int64_t SimListLength(const ListSet &header,
                      const std::array<ListListSet, kProgramStepCount> &steps) {
  return ProgramLength(header, steps);
}

SimRunPoint SimListAt(const ListSet &header,
                      const std::array<ListListSet, kProgramStepCount> &steps, int64_t elapsed) {
  return ProgramAt(header, steps, elapsed,
                   [](SimPhaseRun &run, const ListPhase &own, const ListPhase &timing) {
                     run.Vol = run.On ? ClampVol(own.Vol) : 0;
                     run.Freq = ClampFreq(timing.Freq);
                     run.Wave = own.Wave;
                   });
}

int64_t SimRampLength(const RampSet &header,
                      const std::array<RampRampSet, kProgramStepCount> &steps) {
  return ProgramLength(header, steps);
}

SimRunPoint SimRampAt(const RampSet &header,
                      const std::array<RampRampSet, kProgramStepCount> &steps, int64_t elapsed) {
  return ProgramAt(header, steps, elapsed,
                   [](SimPhaseRun &run, const RampPhase &own, const RampPhase &timing) {
                     const int64_t d = run.StepLength;
                     const int64_t x = run.TimeInStep;
                     auto along = [d, x](int32_t from, int32_t to) {
                       return d > 0 ? from + x * (to - from) / d : int64_t{to};
                     };
                     run.Vol = run.On ? ClampVol(along(own.VolStart, own.VolStop)) : 0;
                     run.Freq = ClampFreq(along(timing.FreqStart, timing.FreqStop));
                     run.Wave = own.Wave;
                   });
}

int64_t SimCrossLength(const CrossListSet &header,
                       const std::array<CrossSet, kCrossEntryCount> &entries) {
  return CrossTimeline(header, entries).Length() * Repetitions(header.CircleDegree);
}

SimRunPoint SimCrossAt(const CrossListSet &header,
                       const std::array<CrossSet, kCrossEntryCount> &entries, int64_t elapsedMs) {
  SimRunPoint point;
  const Timeline line = CrossTimeline(header, entries);
  const int64_t t = CycleTime(elapsedMs, line.Length(), header.CircleDegree, point);
  SimPhaseRun where;
  Locate(line, t, where);
  const CrossSet &entry = entries[where.Step];
  const std::array<int32_t, 3> waves = {entry.WaveU, entry.WaveV, entry.WaveW};
  for (int phase = 0; phase < 3; ++phase) {
    SimPhaseRun &run = point.Phase[phase];
    run = where;
    const bool affected = (entry.OutChannel >> phase) & 1;
    run.Vol = ClampVol(affected ? CrossVoltageAt(entry, where.TimeInStep) : entry.RatingVol);
    run.Freq = ClampFreq(entry.RatingFreq);
    run.Wave = waves[phase];
  }
  return point;
}
