#include "comm/FCBlocks.h"

#include "comm/CommPC.h"
#include "programs/Arithmetic.h"

#include <cstring>

namespace {

constexpr int kPhases = 3;

using NormalField = int32_t NormalFPSet::*;
constexpr NormalField kNormalVol[kPhases] = {&NormalFPSet::VolU, &NormalFPSet::VolV,
                                             &NormalFPSet::VolW};
constexpr NormalField kNormalFreq[kPhases] = {&NormalFPSet::FreqU, &NormalFPSet::FreqV,
                                              &NormalFPSet::FreqW};

// Flag, Vol and Freq of each phase, five bytes per phase from p.
void PutPhaseFlags(const NormalFPSet &set, uint8_t *p) {
  for (int ph = 0; ph < kPhases; ++ph) {
    uint8_t *b = p + 5 * ph;
    PutU8(b, (set.OutChannel >> ph) & 1);
    PutU16(b + 1, set.*kNormalVol[ph]);
    PutU16(b + 3, set.*kNormalFreq[ph]);
  }
}
void GetPhaseFlags(const uint8_t *p, NormalFPSet &set) {
  set.OutChannel = 0;
  for (int ph = 0; ph < kPhases; ++ph) {
    const uint8_t *b = p + 5 * ph;
    if (GetU8(b) != 0)
      set.OutChannel |= 1 << ph;
    set.*kNormalVol[ph] = GetU16(b + 1);
    set.*kNormalFreq[ph] = GetU16(b + 3);
  }
  set.VolLine = PhaseToLine(set.VolU);
}

} // namespace

void EncodeFCNormalGroup(const NormalFCSet &set, int group, uint8_t *frame) {
  PutU8(frame + 6, group);
  PutU8(frame + 7, set.OutMode);
  PutU16(frame + 8, set.Vol);
  PutU16(frame + 10, set.Freq);
  PutU8(frame + 12, set.UpUPer);
  PutU8(frame + 13, set.DownUPer);
  PutU8(frame + 14, set.VolLevel);
}

void DecodeFCNormalGroup(const uint8_t *frame, NormalFCSet &set) {
  set.OutMode = GetU8(frame + 7);
  set.Vol = GetU16(frame + 8);
  set.Freq = GetU16(frame + 10);
  set.UpUPer = GetU8(frame + 12);
  set.DownUPer = GetU8(frame + 13);
  set.VolLevel = GetU8(frame + 14);
  set.VolLine = PhaseToLine(set.Vol);
}

void EncodeFCSystem(const SystemSet &set, uint8_t *frame) {
  PutU8(frame + 6, set.UDisMode);
  PutU16(frame + 7, set.OCP_Define);
  PutU16(frame + 9, set.StartRise);
  PutU16(frame + 11, set.UCompensation);
  PutU8(frame + 13, set.IfKeySound);
}

void DecodeFCSystem(const uint8_t *frame, SystemSet &set) {
  set.UDisMode = GetU8(frame + 6);
  set.OCP_Define = GetU16(frame + 7);
  set.StartRise = GetU16(frame + 9);
  set.UCompensation = GetU16(frame + 11);
  set.IfKeySound = GetU8(frame + 13);
}

void EncodeFCOnline(const NormalFCSet &set, uint8_t *frame) {
  PutU16(frame + 6, set.Vol);
  PutU16(frame + 8, set.Freq);
}

void DecodeFCOnline(const uint8_t *frame, NormalFCSet &set) {
  set.Vol = GetU16(frame + 6);
  set.Freq = GetU16(frame + 8);
  set.VolLine = PhaseToLine(set.Vol);
}

namespace {

// U, I, F (u16 each) and kPower (u24) of one phase, nine bytes from p.
void PutFCPhase(const MeasureOutput &m, int phase, uint8_t *p) {
  PutU16(p, m.At(kMeasVoltage, phase));
  PutU16(p + 2, m.At(kMeasCurrent, phase));
  PutU16(p + 4, m.At(kMeasFrequency, phase));
  PutU24(p + 6, m.At(kMeasPower, phase));
}
void GetFCPhase(const uint8_t *p, int phase, MeasureOutput &m) {
  m.At(kMeasVoltage, phase) = GetU16(p);
  m.At(kMeasCurrent, phase) = GetU16(p + 2);
  m.At(kMeasFrequency, phase) = GetU16(p + 4);
  m.At(kMeasPower, phase) = GetU24(p + 6);
}

} // namespace

// Three 10-byte blocks from byte 6; the first byte of each is not used.
void EncodeFCTMeasure(const MeasureOutput &m, uint8_t *frame) {
  for (int p = 0; p < kPhases; ++p) {
    PutU8(frame + 6 + 10 * p, 0);
    PutFCPhase(m, p, frame + 7 + 10 * p);
  }
}

void DecodeFCTMeasure(const uint8_t *frame, MeasureOutput &m) {
  for (int p = 0; p < kPhases; ++p)
    GetFCPhase(frame + 7 + 10 * p, p, m);
}

// Byte 6 not used, then phase U from byte 7.
void EncodeFCSMeasure(const MeasureOutput &m, uint8_t *frame) {
  PutU8(frame + 6, 0);
  PutFCPhase(m, 0, frame + 7);
}

void DecodeFCSMeasure(const uint8_t *frame, MeasureOutput &m) { GetFCPhase(frame + 7, 0, m); }

void EncodeFSNormalGroup(const NormalFPSet &set, int group, uint8_t *frame) {
  PutU8(frame + 6, group);
  PutU8(frame + 7, set.OutMode);
  PutPhaseFlags(set, frame + 8);
  PutU8(frame + 23, set.VolLevel);
  PutU8(frame + 24, 0);
  PutU8(frame + 25, 0);
  PutU16(frame + 26, set.RiseTime);
}

void DecodeFSNormalGroup(const uint8_t *frame, NormalFPSet &set) {
  set.OutMode = GetU8(frame + 7);
  GetPhaseFlags(frame + 8, set);
  set.VolLevel = GetU8(frame + 23);
  set.RiseTime = GetU16(frame + 26);
}

void EncodeFSOnline(const NormalFPSet &set, uint8_t *frame) {
  PutU8(frame + 6, set.OutMode);
  PutPhaseFlags(set, frame + 7);
}

void DecodeFSOnline(const uint8_t *frame, NormalFPSet &set) {
  set.OutMode = GetU8(frame + 6);
  GetPhaseFlags(frame + 7, set);
}

int FCStatusRunning(int runState, int modelType) {
  if (IsFCModel(modelType))
    return runState == kFCRunState1 || runState == kFCRunState2;
  return runState == kFSRunState;
}

void EncodeFCStatus(const PowerState &st, int modelType, uint8_t *frame) {
  std::memset(frame + kFramePayload, 0, kFCStatusLen - kFrameMinLen);
  PutU8(frame + 6, st.RunState);
  if (st.RunState == kFCAlarmState)
    PutU16(frame + 7, st.AlarmCode);
  else if (FCStatusRunning(st.RunState, modelType))
    PutU8(frame + 7, st.RunGroup);
}

void DecodeFCStatus(const uint8_t *frame, int modelType, PowerState &st) {
  st.RunState = GetU8(frame + 6);
  if (st.RunState == kFCAlarmState)
    st.AlarmCode = GetU16(frame + 7);
  else if (FCStatusRunning(st.RunState, modelType))
    st.RunGroup = GetU8(frame + 7);
}
