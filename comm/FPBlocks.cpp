#include "comm/FPBlocks.h"

#include "comm/CommPC.h"
#include "programs/Arithmetic.h"

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

// The states FP and GS report alike: normal output running and alarm.
void EncodeCommonStatus(const PowerState &st, uint8_t *frame) {
  if (st.RunState == kRunAlarm) {
    PutU16(frame + 7, st.AlarmCode);
    return;
  }
  PutU8(frame + 7, st.RunGroup);
  if (st.RunState == kRunNormal) {
    PutU16(frame + 8, st.RunStepTimeU);
    PutU16(frame + 10, st.RunStepLengthU);
  }
}
void DecodeCommonStatus(const uint8_t *frame, PowerState &st) {
  if (st.RunState == kRunAlarm) {
    st.AlarmCode = GetU16(frame + 7);
    return;
  }
  st.RunGroup = GetU8(frame + 7);
  if (st.RunState == kRunNormal) {
    st.RunStepTimeU = GetU16(frame + 8);
    st.RunStepLengthU = GetU16(frame + 10);
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
  for (int p = 0; p < kPhases; ++p) {
    uint8_t *b = frame + 18 + 5 * p;
    PutU16(b, set.*kNormalVol[p]);
    PutU16(b + 2, set.*kNormalFreq[p]);
    PutU8(b + 4, set.*kNormalWave[p]);
  }
}

void DecodeFPNormalGroup(const uint8_t *frame, NormalFPSet &set) {
  set.OutMode = GetU8(frame + 7);
  set.OutChannel = GetU8(frame + 8);
  set.RiseTime = GetU16(frame + 9);
  set.AngleUV = GetU16(frame + 11);
  set.AngleVW = GetU16(frame + 13);
  set.AngleUW = GetU16(frame + 15);
  set.VolLevel = GetU8(frame + 17);
  for (int p = 0; p < kPhases; ++p) {
    const uint8_t *b = frame + 18 + 5 * p;
    set.*kNormalVol[p] = GetU16(b);
    set.*kNormalFreq[p] = GetU16(b + 2);
    set.*kNormalWave[p] = GetU8(b + 4);
  }
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
  PutU8(frame + 6, n);
  for (int p = 0; p < kPhases; ++p) {
    const PhaseSources src = StepSources(outMode, p);
    const ListPhase &v = step.Phase[src.Vol];
    const ListPhase &t = step.Phase[src.Timing];
    uint8_t *b = frame + 7 + 9 * p;
    PutU16(b, v.Vol);
    PutU16(b + 2, t.Freq);
    PutU8(b + 4, t.TimeH);
    PutU8(b + 5, t.TimeM);
    PutU16(b + 6, t.TimeS2P);
    PutU8(b + 8, v.Wave);
  }
}

void DecodeListStep(const uint8_t *frame, ListListSet &step) {
  for (int p = 0; p < kPhases; ++p) {
    const uint8_t *b = frame + 7 + 9 * p;
    ListPhase &ph = step.Phase[p];
    ph.Vol = GetU16(b);
    ph.Freq = GetU16(b + 2);
    ph.TimeH = GetU8(b + 4);
    ph.TimeM = GetU8(b + 5);
    ph.TimeS2P = GetU16(b + 6);
    ph.Wave = GetU8(b + 8);
  }
  step.Phase[0].VolLine = PhaseToLine(step.Phase[0].Vol);
}

void EncodeRampStep(const RampRampSet &step, int n, int outMode, uint8_t *frame) {
  PutU8(frame + 6, n);
  for (int p = 0; p < kPhases; ++p) {
    const PhaseSources src = StepSources(outMode, p);
    const RampPhase &v = step.Phase[src.Vol];
    const RampPhase &t = step.Phase[src.Timing];
    uint8_t *b = frame + 7 + 13 * p;
    PutU16(b, v.VolStart);
    PutU16(b + 2, v.VolStop);
    PutU16(b + 4, t.FreqStart);
    PutU16(b + 6, t.FreqStop);
    PutU8(b + 8, t.TimeH);
    PutU8(b + 9, t.TimeM);
    PutU16(b + 10, t.TimeS2P);
    PutU8(b + 12, v.Wave);
  }
}

void DecodeRampStep(const uint8_t *frame, RampRampSet &step) {
  for (int p = 0; p < kPhases; ++p) {
    const uint8_t *b = frame + 7 + 13 * p;
    RampPhase &ph = step.Phase[p];
    ph.VolStart = GetU16(b);
    ph.VolStop = GetU16(b + 2);
    ph.FreqStart = GetU16(b + 4);
    ph.FreqStop = GetU16(b + 6);
    ph.TimeH = GetU8(b + 8);
    ph.TimeM = GetU8(b + 9);
    ph.TimeS2P = GetU16(b + 10);
    ph.Wave = GetU8(b + 12);
  }
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
  for (int p = 0; p < kPhases; ++p) {
    uint8_t *b = frame + 6 + 5 * p;
    PutU16(b, set.*kNormalVol[p]);
    PutU16(b + 2, set.*kNormalFreq[p]);
    PutU8(b + 4, set.*kNormalWave[p]);
  }
  if (withChannel)
    PutU8(frame + 21, set.OutChannel);
}

void DecodeFPOnline(const uint8_t *frame, bool withChannel, NormalFPSet &set) {
  for (int p = 0; p < kPhases; ++p) {
    const uint8_t *b = frame + 6 + 5 * p;
    set.*kNormalVol[p] = GetU16(b);
    set.*kNormalFreq[p] = GetU16(b + 2);
    set.*kNormalWave[p] = GetU8(b + 4);
  }
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
  switch (st.RunState) {
  case kRunNormal:
  case kRunNormalShort:
  case kRunAlarm:
    EncodeCommonStatus(st, frame);
    break;
  case kRunStep:
    PutU8(frame + 7, st.RunGroup);
    PutRunTriple(frame + 8, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
    PutRunTriple(frame + 16, st.RunStepV, st.RunStepTimeV, st.RunStepLengthV);
    PutRunTriple(frame + 24, st.RunStepW, st.RunStepTimeW, st.RunStepLengthW);
    break;
  case kRunList:
  case kRunRamp:
    PutU8(frame + 7, st.RunGroup);
    PutU24(frame + 8, st.RunCycle);
    PutRunTriple(frame + 11, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
    PutRunTriple(frame + 19, st.RunStepV, st.RunStepTimeV, st.RunStepLengthV);
    PutRunTriple(frame + 27, st.RunStepW, st.RunStepTimeW, st.RunStepLengthW);
    break;
  default:
    break;
  }
}

void DecodeFPStatus(const uint8_t *frame, PowerState &st) {
  st.RunState = GetU8(frame + 6);
  switch (st.RunState) {
  case kRunNormal:
  case kRunNormalShort:
  case kRunAlarm:
    DecodeCommonStatus(frame, st);
    break;
  case kRunStep:
    st.RunGroup = GetU8(frame + 7);
    GetRunTriple(frame + 8, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
    GetRunTriple(frame + 16, st.RunStepV, st.RunStepTimeV, st.RunStepLengthV);
    GetRunTriple(frame + 24, st.RunStepW, st.RunStepTimeW, st.RunStepLengthW);
    break;
  case kRunList:
  case kRunRamp:
    st.RunGroup = GetU8(frame + 7);
    st.RunCycle = GetU24(frame + 8);
    GetRunTriple(frame + 11, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
    GetRunTriple(frame + 19, st.RunStepV, st.RunStepTimeV, st.RunStepLengthV);
    GetRunTriple(frame + 27, st.RunStepW, st.RunStepTimeW, st.RunStepLengthW);
    break;
  default:
    break;
  }
}

void EncodeGSStatus(const PowerState &st, uint8_t *frame) {
  ClearPayload(frame, kGSStatusLen);
  PutU8(frame + 6, st.RunState);
  switch (st.RunState) {
  case kRunNormal:
  case kRunNormalShort:
  case kRunAlarm:
    EncodeCommonStatus(st, frame);
    break;
  case kRunStep:
    PutU8(frame + 7, st.RunGroup);
    PutRunTriple(frame + 8, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
    break;
  case kRunList:
  case kRunRamp:
    PutU8(frame + 7, st.RunGroup);
    PutU24(frame + 8, st.RunCycle);
    PutRunTriple(frame + 11, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
    break;
  case kRunCross:
    PutU24(frame + 7, st.RunCycle);
    PutRunTriple(frame + 10, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
    break;
  default:
    break;
  }
}

void DecodeGSStatus(const uint8_t *frame, PowerState &st) {
  st.RunState = GetU8(frame + 6);
  switch (st.RunState) {
  case kRunNormal:
  case kRunNormalShort:
  case kRunAlarm:
    DecodeCommonStatus(frame, st);
    break;
  case kRunStep:
    st.RunGroup = GetU8(frame + 7);
    GetRunTriple(frame + 8, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
    st.RunStepV = st.RunStepW = st.RunStepU;
    st.RunStepTimeV = st.RunStepTimeW = st.RunStepTimeU;
    st.RunStepLengthV = st.RunStepLengthW = st.RunStepLengthU;
    break;
  case kRunList:
  case kRunRamp:
    st.RunGroup = GetU8(frame + 7);
    st.RunCycle = GetU24(frame + 8);
    GetRunTriple(frame + 11, st.RunStepU, st.RunStepTimeU, st.RunStepLengthU);
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
