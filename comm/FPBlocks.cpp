#include "comm/FPBlocks.h"

#include "comm/CommPC.h"
#include "programs/Arithmetic.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace {

constexpr int kPhases = 3;

// The per-phase fields of the Step record, U, V, W.
using StepField = int32_t StepSet::*;
constexpr StepField kStepVolStart[kPhases] = {&StepSet::VolStartU, &StepSet::VolStartV,
                                              &StepSet::VolStartW};
constexpr StepField kStepVolStep[kPhases] = {&StepSet::VolStepU, &StepSet::VolStepV,
                                             &StepSet::VolStepW};
constexpr StepField kStepFreqStart[kPhases] = {&StepSet::FreqStartU, &StepSet::FreqStartV,
                                               &StepSet::FreqStartW};
constexpr StepField kStepFreqStep[kPhases] = {&StepSet::FreqStepU, &StepSet::FreqStepV,
                                              &StepSet::FreqStepW};
constexpr StepField kStepCnt[kPhases] = {&StepSet::StepCntU, &StepSet::StepCntV,
                                         &StepSet::StepCntW};
constexpr StepField kStepTimeH[kPhases] = {&StepSet::StepTimeHU, &StepSet::StepTimeHV,
                                           &StepSet::StepTimeHW};
constexpr StepField kStepTimeM[kPhases] = {&StepSet::StepTimeMU, &StepSet::StepTimeMV,
                                           &StepSet::StepTimeMW};
constexpr StepField kStepTimeS2P[kPhases] = {&StepSet::StepTimeS2PU, &StepSet::StepTimeS2PV,
                                             &StepSet::StepTimeS2PW};
constexpr StepField kStepWave[kPhases] = {&StepSet::WaveU, &StepSet::WaveV, &StepSet::WaveW};

// Per-phase fields of the normal group.
using NormalField = int32_t NormalFPSet::*;
constexpr NormalField kNormalVol[kPhases] = {&NormalFPSet::VolU, &NormalFPSet::VolV,
                                             &NormalFPSet::VolW};
constexpr NormalField kNormalFreq[kPhases] = {&NormalFPSet::FreqU, &NormalFPSet::FreqV,
                                              &NormalFPSet::FreqW};
constexpr NormalField kNormalWave[kPhases] = {&NormalFPSet::WaveU, &NormalFPSet::WaveV,
                                              &NormalFPSet::WaveW};

// Vol, Freq and Wave of each phase, five bytes per phase from p: the phase
// part of the normal group and of the on-line change.
void PutVolFreqWave(const NormalFPSet &set, uint8_t *p) {
  for (int ph = 0; ph < kPhases; ++ph) {
    uint8_t *b = p + 5 * ph;
    PutU16(b, set.*kNormalVol[ph]);
    PutU16(b + 2, set.*kNormalFreq[ph]);
    PutU8(b + 4, set.*kNormalWave[ph]);
  }
}
void GetVolFreqWave(const uint8_t *p, NormalFPSet &set) {
  for (int ph = 0; ph < kPhases; ++ph) {
    const uint8_t *b = p + 5 * ph;
    set.*kNormalVol[ph] = GetU16(b);
    set.*kNormalFreq[ph] = GetU16(b + 2);
    set.*kNormalWave[ph] = GetU8(b + 4);
  }
}

// Which phase a program block takes its values from when sent: the voltage
// part (voltages and wave) and the timing part (frequency, count, times).
struct PhaseSources {
  int Vol;
  int Timing;
};
PhaseSources StepSources(int outMode, int phase) {
  if (outMode == 1)
    return {phase, phase};
  if (outMode == 16)
    return {phase, 0};
  return {0, 0};
}

// A field of the phase part of a List or Ramp step: its record member, its
// place in the part, its width, and whether a sent block takes it from the
// phase that gives the timing (frequency and times) rather than the one that
// gives voltage and wave.
template <class Phase> struct StepPartField {
  int32_t Phase::*Member;
  int Offset;
  int Width; // 1 or 2 bytes, unsigned
  bool Timing;
};

constexpr StepPartField<ListPhase> kListStepFields[] = {
    {&ListPhase::Vol, 0, 2, false},    {&ListPhase::Freq, 2, 2, true},
    {&ListPhase::TimeH, 4, 1, true},   {&ListPhase::TimeM, 5, 1, true},
    {&ListPhase::TimeS2P, 6, 2, true}, {&ListPhase::Wave, 8, 1, false},
};
constexpr StepPartField<RampPhase> kRampStepFields[] = {
    {&RampPhase::VolStart, 0, 2, false}, {&RampPhase::VolStop, 2, 2, false},
    {&RampPhase::FreqStart, 4, 2, true}, {&RampPhase::FreqStop, 6, 2, true},
    {&RampPhase::TimeH, 8, 1, true},     {&RampPhase::TimeM, 9, 1, true},
    {&RampPhase::TimeS2P, 10, 2, true},  {&RampPhase::Wave, 12, 1, false},
};

// Bytes of one phase part: up to the end of its last field.
template <class Phase, std::size_t N>
constexpr int PartLength(const StepPartField<Phase> (&fields)[N]) {
  return fields[N - 1].Offset + fields[N - 1].Width;
}

// Step n: byte 6 the step number, then the parts of U, V and W from byte 7.
template <class Phase, std::size_t N>
void EncodeProgramStep(const std::array<Phase, kPhases> &phases,
                       const StepPartField<Phase> (&fields)[N], int n, int outMode,
                       uint8_t *frame) {
  PutU8(frame + 6, n);
  for (int p = 0; p < kPhases; ++p) {
    const PhaseSources src = StepSources(outMode, p);
    uint8_t *b = frame + 7 + PartLength(fields) * p;
    for (const StepPartField<Phase> &f : fields) {
      const int32_t value = phases[f.Timing ? src.Timing : src.Vol].*f.Member;
      if (f.Width == 1)
        PutU8(b + f.Offset, value);
      else
        PutU16(b + f.Offset, value);
    }
  }
}

template <class Phase, std::size_t N>
void DecodeProgramStep(const uint8_t *frame, const StepPartField<Phase> (&fields)[N],
                       std::array<Phase, kPhases> &phases) {
  for (int p = 0; p < kPhases; ++p) {
    const uint8_t *b = frame + 7 + PartLength(fields) * p;
    for (const StepPartField<Phase> &f : fields)
      phases[p].*f.Member = f.Width == 1 ? GetU8(b + f.Offset) : GetU16(b + f.Offset);
  }
}

// Offsets of the run triple (step u16, time u24, length u24) of one phase.
void PutRunTriple(uint8_t *p, int32_t step, int32_t time, int32_t length) {
  PutU16(p, step);
  PutU24(p + 2, time);
  PutU24(p + 5, length);
}
void GetRunTriple(const uint8_t *p, int32_t &step, int32_t &time, int32_t &length) {
  step = GetU16(p);
  time = GetU24(p + 2);
  length = GetU24(p + 5);
}

void ClearPayload(uint8_t *frame, int len) {
  std::memset(frame + kFramePayload, 0, len - kFrameMinLen);
}

// The run triple of each phase in the state record.
struct RunTripleFields {
  int32_t PowerState::*Step;
  int32_t PowerState::*Time;
  int32_t PowerState::*Length;
};
constexpr RunTripleFields kRunTriples[kPhases] = {
    {&PowerState::RunStepU, &PowerState::RunStepTimeU, &PowerState::RunStepLengthU},
    {&PowerState::RunStepV, &PowerState::RunStepTimeV, &PowerState::RunStepLengthV},
    {&PowerState::RunStepW, &PowerState::RunStepTimeW, &PowerState::RunStepLengthW},
};

// Where the run triples of a Step, List or Ramp status start: after the
// group, and for List and Ramp after the cycle count too.
int ProgramTriplesOffset(int runState) { return runState == kRunStep ? 8 : 11; }

// The states FP and GS report alike, FP with three phases, GS with U only:
// normal output running, alarm, and the progress of Step, List and Ramp.
void EncodeCommonStatus(const PowerState &st, int phases, uint8_t *frame) {
  switch (st.RunState) {
  case kRunAlarm:
    PutU16(frame + 7, st.AlarmCode);
    break;
  case kRunNormal:
    PutU16(frame + 8, st.RunStepTimeU);
    PutU16(frame + 10, st.RunStepLengthU);
    [[fallthrough]];
  case kRunNormalShort:
    PutU8(frame + 7, st.RunGroup);
    break;
  case kRunList:
  case kRunRamp:
    PutU24(frame + 8, st.RunCycle);
    [[fallthrough]];
  case kRunStep:
    PutU8(frame + 7, st.RunGroup);
    for (int p = 0; p < phases; ++p) {
      const RunTripleFields &f = kRunTriples[p];
      PutRunTriple(frame + ProgramTriplesOffset(st.RunState) + 8 * p, st.*f.Step, st.*f.Time,
                   st.*f.Length);
    }
    break;
  default:
    break;
  }
}
void DecodeCommonStatus(const uint8_t *frame, int phases, PowerState &st) {
  switch (st.RunState) {
  case kRunAlarm:
    st.AlarmCode = GetU16(frame + 7);
    break;
  case kRunNormal:
    st.RunStepTimeU = GetU16(frame + 8);
    st.RunStepLengthU = GetU16(frame + 10);
    [[fallthrough]];
  case kRunNormalShort:
    st.RunGroup = GetU8(frame + 7);
    break;
  case kRunList:
  case kRunRamp:
    st.RunCycle = GetU24(frame + 8);
    [[fallthrough]];
  case kRunStep:
    st.RunGroup = GetU8(frame + 7);
    for (int p = 0; p < phases; ++p) {
      const RunTripleFields &f = kRunTriples[p];
      GetRunTriple(frame + ProgramTriplesOffset(st.RunState) + 8 * p, st.*f.Step, st.*f.Time,
                   st.*f.Length);
    }
    break;
  default:
    break;
  }
}

} // namespace

void EncodeFPNormalGroup(const NormalFPSet &set, int group, uint8_t *frame) {
  PutU8(frame + 6, group);
  PutU8(frame + 7, set.OutMode);
  PutU8(frame + 8, set.OutChannel);
  PutU16(frame + 9, set.RiseTime);
  PutU16(frame + 11, set.AngleUV);
  PutU16(frame + 13, set.AngleVW);
  PutU16(frame + 15, set.AngleUW);
  PutU8(frame + 17, set.VolLevel);
  PutVolFreqWave(set, frame + 18);
}

void DecodeFPNormalGroup(const uint8_t *frame, NormalFPSet &set) {
  set.OutMode = GetU8(frame + 7);
  set.OutChannel = GetU8(frame + 8);
  set.RiseTime = GetU16(frame + 9);
  set.AngleUV = GetU16(frame + 11);
  set.AngleVW = GetU16(frame + 13);
  set.AngleUW = GetU16(frame + 15);
  set.VolLevel = GetU8(frame + 17);
  GetVolFreqWave(frame + 18, set);
  set.VolLine = PhaseToLine(set.VolU);
}

void EncodeStep(const StepSet &set, uint8_t *frame) {
  PutU8(frame + 6, set.OutMode);
  PutU16(frame + 7, set.AngleUV);
  PutU16(frame + 9, set.AngleVW);
  PutU16(frame + 11, set.AngleUW);
  for (int p = 0; p < kPhases; ++p) {
    const PhaseSources src = StepSources(set.OutMode, p);
    uint8_t *b = frame + 13 + 15 * p;
    PutU16(b, set.*kStepVolStart[src.Vol]);
    PutS16(b + 2, set.*kStepVolStep[src.Vol]);
    PutU16(b + 4, set.*kStepFreqStart[src.Timing]);
    PutS16(b + 6, set.*kStepFreqStep[src.Timing]);
    PutU16(b + 8, set.*kStepCnt[src.Timing]);
    PutU8(b + 10, set.*kStepTimeH[src.Timing]);
    PutU8(b + 11, set.*kStepTimeM[src.Timing]);
    PutU16(b + 12, set.*kStepTimeS2P[src.Timing]);
    PutU8(b + 14, set.*kStepWave[src.Vol]);
  }
}

void DecodeStep(const uint8_t *frame, StepSet &set) {
  set.OutMode = GetU8(frame + 6);
  set.AngleUV = GetU16(frame + 7);
  set.AngleVW = GetU16(frame + 9);
  set.AngleUW = GetU16(frame + 11);
  for (int p = 0; p < kPhases; ++p) {
    const uint8_t *b = frame + 13 + 15 * p;
    set.*kStepVolStart[p] = GetU16(b);
    set.*kStepVolStep[p] = GetS16(b + 2);
    set.*kStepFreqStart[p] = GetU16(b + 4);
    set.*kStepFreqStep[p] = GetS16(b + 6);
    set.*kStepCnt[p] = GetU16(b + 8);
    set.*kStepTimeH[p] = GetU8(b + 10);
    set.*kStepTimeM[p] = GetU8(b + 11);
    set.*kStepTimeS2P[p] = GetU16(b + 12);
    set.*kStepWave[p] = GetU8(b + 14);
  }
  set.VolLineStart = PhaseToLine(set.VolStartU);
  set.VolLineStep = PhaseToLine(set.VolStepU);
}

void EncodeProgramHeader(const ListSet &set, uint8_t *frame) {
  PutU8(frame + 6, set.StartNo);
  PutU8(frame + 7, set.StopNo);
  PutU24(frame + 8, set.CircleDegree);
  PutU8(frame + 11, set.OutMode);
  PutU16(frame + 12, set.AngleUV);
  PutU16(frame + 14, set.AngleVW);
  PutU16(frame + 16, set.AngleUW);
}

void DecodeProgramHeader(const uint8_t *frame, ListSet &set) {
  set.StartNo = GetU8(frame + 6);
  set.StopNo = GetU8(frame + 7);
  set.CircleDegree = GetU24(frame + 8);
  set.OutMode = GetU8(frame + 11);
  set.AngleUV = GetU16(frame + 12);
  set.AngleVW = GetU16(frame + 14);
  set.AngleUW = GetU16(frame + 16);
}

void EncodeListStep(const ListListSet &step, int n, int outMode, uint8_t *frame) {
  EncodeProgramStep(step.Phase, kListStepFields, n, outMode, frame);
}

void DecodeListStep(const uint8_t *frame, ListListSet &step) {
  DecodeProgramStep(frame, kListStepFields, step.Phase);
  step.Phase[0].VolLine = PhaseToLine(step.Phase[0].Vol);
}

void EncodeRampStep(const RampRampSet &step, int n, int outMode, uint8_t *frame) {
  EncodeProgramStep(step.Phase, kRampStepFields, n, outMode, frame);
}

void DecodeRampStep(const uint8_t *frame, RampRampSet &step) {
  DecodeProgramStep(frame, kRampStepFields, step.Phase);
  step.Phase[0].VolLineStart = PhaseToLine(step.Phase[0].VolStart);
  step.Phase[0].VolLineStop = PhaseToLine(step.Phase[0].VolStop);
}

void EncodeFPSystem(const SystemSet &set, bool withUComp, uint8_t *frame) {
  PutU8(frame + 6, set.UDisMode);
  PutU16(frame + 7, set.OCP_Define);
  PutU16(frame + 9, withUComp ? set.UCompensation : 0);
  PutU8(frame + 11, set.DeviceSysByte);
  PutU8(frame + 12, set.IfKeySound);
}

void DecodeFPSystem(const uint8_t *frame, bool withUComp, SystemSet &set) {
  set.UDisMode = GetU8(frame + 6);
  set.OCP_Define = GetU16(frame + 7);
  if (withUComp)
    set.UCompensation = GetU16(frame + 9);
  set.DeviceSysByte = GetU8(frame + 11);
  set.IfKeySound = GetU8(frame + 12);
}

namespace {

// Harmonic indexes carried by a THD block and the byte of the first one.
struct THDRange {
  int First, Last;
};
THDRange THDIndexes(THDPart part) {
  switch (part) {
  case THDPart::FirstHalf:
    return {1, 20};
  case THDPart::SecondHalf:
    return {21, 39};
  case THDPart::Whole:
    break;
  }
  return {1, 39};
}
// Index i of the block starts at byte 7 + 4 * (i - first).
int THDOffset(THDRange r, int i) { return 7 + 4 * (i - r.First); }

} // namespace

int THDPartLength(THDPart part) {
  switch (part) {
  case THDPart::FirstHalf:
    return kTHDFirstHalfLen;
  case THDPart::SecondHalf:
    return kTHDSecondHalfLen;
  case THDPart::Whole:
    break;
  }
  return kTHDWholeLen;
}

void EncodeTHD(const THDSet &set, int group, THDPart part, uint8_t *frame) {
  PutU8(frame + 6, group);
  const THDRange r = THDIndexes(part);
  for (int i = r.First; i <= r.Last; ++i) {
    PutU16(frame + THDOffset(r, i), set.Percent[i]);
    PutU16(frame + THDOffset(r, i) + 2, set.Angle[i]);
  }
}

void DecodeTHD(const uint8_t *frame, THDPart part, THDSet &set) {
  if (part != THDPart::SecondHalf)
    set = THDSet{};
  const THDRange r = THDIndexes(part);
  for (int i = r.First; i <= r.Last; ++i) {
    set.Percent[i] = GetU16(frame + THDOffset(r, i));
    set.Angle[i] = GetU16(frame + THDOffset(r, i) + 2);
  }
}

void EncodeCrossHeader(const CrossListSet &set, uint8_t *frame) {
  PutU8(frame + 6, set.StartNo);
  PutU8(frame + 7, set.StopNo);
  PutU24(frame + 8, set.CircleDegree);
}

void DecodeCrossHeader(const uint8_t *frame, CrossListSet &set) {
  set.StartNo = GetU8(frame + 6);
  set.StopNo = GetU8(frame + 7);
  set.CircleDegree = GetU24(frame + 8);
}

void EncodeCrossEntry(const CrossSet &set, int n, uint8_t *frame) {
  PutU8(frame + 6, n);
  PutU8(frame + 7, set.OutChannel);
  PutU8(frame + 8, set.WaveU);
  PutU8(frame + 9, set.WaveV);
  PutU8(frame + 10, set.WaveW);
  PutU16(frame + 11, set.RatingVol);
  PutU16(frame + 13, set.RatingFreq);
  PutU24(frame + 15, set.RatingTime);
  PutS16(frame + 18, set.CrossAngle);
  PutU16(frame + 20, set.DropVol);
  PutU24(frame + 22, set.KeepTime);
  PutU24(frame + 25, set.RiseTime);
  PutU16(frame + 28, set.ResumeVol);
  PutU24(frame + 30, set.EndTime);
}

void DecodeCrossEntry(const uint8_t *frame, CrossSet &set) {
  set.OutChannel = GetU8(frame + 7);
  set.WaveU = GetU8(frame + 8);
  set.WaveV = GetU8(frame + 9);
  set.WaveW = GetU8(frame + 10);
  set.RatingVol = GetU16(frame + 11);
  set.RatingFreq = GetU16(frame + 13);
  set.RatingTime = GetU24(frame + 15);
  set.CrossAngle = GetS16(frame + 18);
  set.DropVol = GetU16(frame + 20);
  set.KeepTime = GetU24(frame + 22);
  set.RiseTime = GetU24(frame + 25);
  set.ResumeVol = GetU16(frame + 28);
  set.EndTime = GetU24(frame + 30);
}

void EncodeFPOnline(const NormalFPSet &set, bool withChannel, uint8_t *frame) {
  PutVolFreqWave(set, frame + 6);
  if (withChannel)
    PutU8(frame + 21, set.OutChannel);
}

void DecodeFPOnline(const uint8_t *frame, bool withChannel, NormalFPSet &set) {
  GetVolFreqWave(frame + 6, set);
  if (withChannel)
    set.OutChannel = GetU8(frame + 21);
  set.VolLine = PhaseToLine(set.VolU);
}

void EncodeMeasure(const MeasureOutput &m, bool signedPower, uint8_t *frame) {
  PutU8(frame + 6, 0);
  for (int p = 0; p < kPhases; ++p) {
    uint8_t *b = frame + 7 + 18 * p;
    PutU16(b, m.At(kMeasVoltage, p));
    PutU16(b + 2, m.At(kMeasCurrent, p));
    PutU16(b + 4, m.At(kMeasFrequency, p));
    if (signedPower)
      PutS24(b + 6, m.At(kMeasPower, p));
    else
      PutU24(b + 6, m.At(kMeasPower, p));
    PutU24(b + 9, m.At(kMeasApparentPower, p));
    PutU16(b + 12, m.At(kMeasPowerFactor, p));
    PutU16(b + 14, m.At(kMeasCrestFactor, p));
    PutU16(b + 16, m.At(kMeasPeakCurrent, p));
  }
}

void DecodeMeasure(const uint8_t *frame, bool signedPower, MeasureOutput &m) {
  for (int p = 0; p < kPhases; ++p) {
    const uint8_t *b = frame + 7 + 18 * p;
    m.At(kMeasVoltage, p) = GetU16(b);
    m.At(kMeasCurrent, p) = GetU16(b + 2);
    m.At(kMeasFrequency, p) = GetU16(b + 4);
    m.At(kMeasPower, p) = signedPower ? GetS24(b + 6) : GetU24(b + 6);
    m.At(kMeasApparentPower, p) = GetU24(b + 9);
    m.At(kMeasPowerFactor, p) = GetU16(b + 12);
    m.At(kMeasCrestFactor, p) = GetU16(b + 14);
    m.At(kMeasPeakCurrent, p) = GetU16(b + 16);
  }
}

void EncodeFPStatus(const PowerState &st, uint8_t *frame) {
  ClearPayload(frame, kFPStatusLen);
  PutU8(frame + 6, st.RunState);
  EncodeCommonStatus(st, kPhases, frame);
}

void DecodeFPStatus(const uint8_t *frame, PowerState &st) {
  st.RunState = GetU8(frame + 6);
  DecodeCommonStatus(frame, kPhases, st);
}

void EncodeGSStatus(const PowerState &st, uint8_t *frame) {
  ClearPayload(frame, kGSStatusLen);
  PutU8(frame + 6, st.RunState);
  EncodeCommonStatus(st, 1, frame);
  if (st.RunState == kRunCross) {
    PutU24(frame + 7, st.RunCycle);
    PutRunTriple(frame + 10, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
  }
}

void DecodeGSStatus(const uint8_t *frame, PowerState &st) {
  st.RunState = GetU8(frame + 6);
  DecodeCommonStatus(frame, 1, st);
  switch (st.RunState) {
  case kRunStep:
    st.RunStepV = st.RunStepW = st.RunStepU;
    st.RunStepTimeV = st.RunStepTimeW = st.RunStepTimeU;
    st.RunStepLengthV = st.RunStepLengthW = st.RunStepLengthU;
    break;
  case kRunCross:
    st.RunCycle = GetU24(frame + 7);
    GetRunTriple(frame + 10, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
    break;
  case kRunAlarmNoCode:
    st.AlarmCode = kGSEmergencyAlarmCode;
    break;
  default:
    break;
  }
}

void EncodeDCState(const PowerState &st, uint8_t *frame) { PutU8(frame + 6, st.DCOutputOn); }
void DecodeDCState(const uint8_t *frame, PowerState &st) { st.DCOutputOn = GetU8(frame + 6); }
void EncodeDCValue(const PowerState &st, uint8_t *frame) { PutU16(frame + 6, st.DCValue); }
void DecodeDCValue(const uint8_t *frame, PowerState &st) { st.DCValue = GetU16(frame + 6); }
