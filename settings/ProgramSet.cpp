#include "settings/ProgramSet.h"

#include "records/Globals.h"
#include "settings/CheckHelpers.h"

#include <algorithm>

namespace {

using Family = CheckFamily;

Family FPFamily(int isFPA) { return isFPA ? Family::FPA : Family::FPB; }

bool ValidStep(int step) { return ValidIndex(step, kProgramStepCount); }
bool ValidEntry(int entry) { return ValidIndex(entry, kCrossEntryCount); }
bool ValidTHDGroup(int group) { return ValidIndex(group, kTHDGroupCount); }

// Step times: hours, minutes and hundredths of a second.
void CheckTimes(int32_t &h, int32_t &m, int32_t &s2p) {
  FixRange(h, 0, 99, 0);
  FixRange(m, 0, 59, 0);
  FixRange(s2p, 0, 5998, 1500);
}

// A stored waveform is only legal at 45.00..65.00 Hz.
bool WaveFreqOutside(int32_t freq) { return NumOutBound(freq, 4500, 6500) != 0; }

// ---- Step ----

} // namespace

const StepPhase kStepPhases[3] = {
    {&StepSet::VolStartU, &StepSet::VolStepU, &StepSet::FreqStartU, &StepSet::FreqStepU,
     &StepSet::StepCntU, &StepSet::StepTimeHU, &StepSet::StepTimeMU, &StepSet::StepTimeS2PU,
     &StepSet::WaveU},
    {&StepSet::VolStartV, &StepSet::VolStepV, &StepSet::FreqStartV, &StepSet::FreqStepV,
     &StepSet::StepCntV, &StepSet::StepTimeHV, &StepSet::StepTimeMV, &StepSet::StepTimeS2PV,
     &StepSet::WaveV},
    {&StepSet::VolStartW, &StepSet::VolStepW, &StepSet::FreqStartW, &StepSet::FreqStepW,
     &StepSet::StepCntW, &StepSet::StepTimeHW, &StepSet::StepTimeMW, &StepSet::StepTimeS2PW,
     &StepSet::WaveW},
};

int StepWaveAllowed(const StepSet &s, int phase) {
  const StepPhase &p = kStepPhases[phase];
  // 64 bits: 9999 steps of 195.00 Hz leave 32 bits far behind.
  const int64_t end = int64_t(s.*p.FreqStart) + int64_t(s.*p.FreqStep) * (s.*p.StepCnt);
  return !WaveFreqOutside(s.*p.FreqStart) && end >= 4500 && end <= 6500 ? 1 : 0;
}

namespace {

int StepCheck(Family f) {
  StepSet &s = gStepSet;
  const StepSet before = s;
  const bool gs = f == Family::GS;

  if (!OutModeAllowed(f, s.OutMode)) {
    s.OutMode = 0;
  }
  CheckAngles(s);
  for (const StepPhase &p : kStepPhases) {
    FixRange(s.*p.Wave, 0, 10, 0);
  }

  // Voltages: the U phase and the line value are reset together.
  if (NumOutBound(s.VolStartU, 0, 3000)) {
    s.VolStartU = 2200;
    s.VolLineStart = 3811;
  }
  FixRange(s.VolStartV, 0, 3000, 2200);
  FixRange(s.VolStartW, 0, 3000, 2200);
  if (NumOutBound(s.VolLineStart, 0, 5197)) {
    s.VolStartU = 2200;
    s.VolLineStart = 3811;
  }
  if (NumOutBound(s.VolStepU, -3000, 3000)) {
    s.VolStepU = 0;
    s.VolLineStep = 0;
  }
  FixRange(s.VolStepV, -3000, 3000, 0);
  FixRange(s.VolStepW, -3000, 3000, 0);
  if (NumOutBound(s.VolLineStep, -5198, 5197)) {
    s.VolStepU = 0;
    s.VolLineStep = 0;
  }

  const int freqMax = gs ? 6500 : 24000;
  const int freqStepMax = gs ? 2000 : 19500;
  for (const StepPhase &p : kStepPhases) {
    FixRange(s.*p.FreqStart, 4500, freqMax, 5000);
    FixRange(s.*p.FreqStep, -freqStepMax, freqStepMax, 0);
    FixRange(s.*p.StepCnt, 0, 9999, 0);
    CheckTimes(s.*p.TimeH, s.*p.TimeM, s.*p.TimeS2P);
  }

  if (!gs) {
    if (s.OutMode != 1) {
      if (!StepWaveAllowed(s, 0) && s.WaveU != 0) {
        s.WaveU = s.WaveV = s.WaveW = 0;
      }
    } else {
      for (int phase = 0; phase < 3; ++phase) {
        if (!StepWaveAllowed(s, phase) && s.*kStepPhases[phase].Wave != 0) {
          s.*kStepPhases[phase].Wave = 0;
        }
      }
    }
  }

  // Balanced and single-phase modes run V and W as U; mode 16 shares only
  // the frequency and the timing. The line values are never copied.
  const bool copyAll = s.OutMode == 0 || s.OutMode == 5;
  if (copyAll || s.OutMode == 16) {
    const StepPhase &u = kStepPhases[0];
    for (int i = 1; i < 3; ++i) {
      const StepPhase &p = kStepPhases[i];
      if (copyAll) {
        s.*p.VolStart = s.*u.VolStart;
        s.*p.VolStep = s.*u.VolStep;
        s.*p.Wave = s.*u.Wave;
      }
      s.*p.FreqStart = s.*u.FreqStart;
      s.*p.FreqStep = s.*u.FreqStep;
      s.*p.StepCnt = s.*u.StepCnt;
      s.*p.TimeH = s.*u.TimeH;
      s.*p.TimeM = s.*u.TimeM;
      s.*p.TimeS2P = s.*u.TimeS2P;
    }
  }
  return RecordChanged(before, s);
}

// ---- List and Ramp ----

// Header fields shared by List and Ramp.
void CheckProgramHeader(ListSet &h, Family f) {
  FixRange(h.StartNo, 0, 99, 0);
  FixRange(h.StopNo, 0, 99, 99);
  // A stop before the start runs the start step alone, as the panel shows it.
  if (h.StartNo > h.StopNo) {
    h.StopNo = h.StartNo;
  }
  FixRange(h.CircleDegree, 1, 999999, 1);
  if (!OutModeAllowed(f, h.OutMode)) {
    h.OutMode = 0;
  }
  CheckAngles(h);
}

void CheckListVoltage(ListPhase &p) {
  if (NumOutBound(p.Vol, 0, 3000) || NumOutBound(p.VolLine, 0, 5196)) {
    p.Vol = 2200;
    p.VolLine = 3810;
  }
}

int ListCheckOne(Family f, int step) {
  if (!ValidStep(step)) {
    return 0;
  }
  ListListSet &s = gListListSet[step];
  const ListListSet before = s;
  const int32_t mode = gListSet.OutMode;
  ListPhase &u = s.Phase[0];

  if (f != Family::GS) {
    for (ListPhase &p : s.Phase) {
      CheckListVoltage(p);
      FixRange(p.Freq, 4500, 24000, 5000);
      CheckTimes(p.TimeH, p.TimeM, p.TimeS2P);
      FixRange(p.Wave, 0, 10, 0);
      if (WaveFreqOutside(p.Freq) && p.Wave != 0) {
        p.Wave = 0;
      }
    }
    for (int i = 1; i < 3; ++i) {
      ListPhase &p = s.Phase[i];
      if (mode == 0 || mode == 5) {
        p.Vol = u.Vol;
        p.VolLine = u.VolLine;
        p.Wave = u.Wave;
      }
      if (mode != 1) {
        p.Freq = u.Freq;
        p.TimeH = u.TimeH;
        p.TimeM = u.TimeM;
        p.TimeS2P = u.TimeS2P;
      }
    }
  } else {
    for (ListPhase &p : s.Phase) {
      CheckListVoltage(p);
      FixRange(p.Wave, 0, 10, 0);
    }
    if (mode == 0 || mode == 5) {
      for (int i = 1; i < 3; ++i) {
        s.Phase[i].Vol = u.Vol;
        s.Phase[i].VolLine = u.VolLine;
        s.Phase[i].Wave = u.Wave;
      }
    }
    // Every GS phase shares the frequency and the timing of U.
    FixRange(u.Freq, 4500, 6500, 5000);
    CheckTimes(u.TimeH, u.TimeM, u.TimeS2P);
    for (int i = 1; i < 3; ++i) {
      s.Phase[i].Freq = u.Freq;
      s.Phase[i].TimeH = u.TimeH;
      s.Phase[i].TimeM = u.TimeM;
      s.Phase[i].TimeS2P = u.TimeS2P;
    }
  }
  return RecordChanged(before, s);
}

void CheckRampVoltages(RampPhase &p) {
  if (NumOutBound(p.VolStart, 0, 3000)) {
    p.VolStart = 2200;
    p.VolLineStart = 3810;
  }
  if (NumOutBound(p.VolStop, 0, 3000)) {
    p.VolStop = 2200;
    p.VolLineStop = 3810;
  }
  if (NumOutBound(p.VolLineStart, 0, 5196)) {
    p.VolStart = 2200;
    p.VolLineStart = 3810;
  }
  if (NumOutBound(p.VolLineStop, 0, 5196)) {
    p.VolStop = 2200;
    p.VolLineStop = 3810;
  }
}

void CopyRampVoltages(const RampPhase &u, RampPhase &p) {
  p.VolStart = u.VolStart;
  p.VolStop = u.VolStop;
  p.VolLineStart = u.VolLineStart;
  p.VolLineStop = u.VolLineStop;
  p.Wave = u.Wave;
}

void CopyRampTiming(const RampPhase &u, RampPhase &p) {
  p.FreqStart = u.FreqStart;
  p.FreqStop = u.FreqStop;
  p.TimeH = u.TimeH;
  p.TimeM = u.TimeM;
  p.TimeS2P = u.TimeS2P;
}

int RampCheckOne(Family f, int step) {
  if (!ValidStep(step)) {
    return 0;
  }
  RampRampSet &s = gRampRampSet[step];
  const RampRampSet before = s;
  const int32_t mode = gRampSet.OutMode;
  const bool copyVoltages = mode == 0 || mode == 5;
  RampPhase &u = s.Phase[0];

  if (f != Family::GS) {
    for (RampPhase &p : s.Phase) {
      CheckRampVoltages(p);
      FixRange(p.FreqStart, 4500, 24000, 5000);
      FixRange(p.FreqStop, 4500, 24000, 5000);
      CheckTimes(p.TimeH, p.TimeM, p.TimeS2P);
      FixRange(p.Wave, 0, 10, 0);
      if ((WaveFreqOutside(p.FreqStart) || WaveFreqOutside(p.FreqStop)) && p.Wave != 0) {
        p.Wave = 0;
      }
    }
    for (int i = 1; i < 3; ++i) {
      if (copyVoltages) {
        CopyRampVoltages(u, s.Phase[i]);
      }
      if (mode != 1) {
        CopyRampTiming(u, s.Phase[i]);
      }
    }
  } else {
    for (RampPhase &p : s.Phase) {
      CheckRampVoltages(p);
      FixRange(p.Wave, 0, 10, 0);
    }
    FixRange(u.FreqStart, 4500, 6500, 5000);
    FixRange(u.FreqStop, 4500, 6500, 5000);
    CheckTimes(u.TimeH, u.TimeM, u.TimeS2P);
    for (int i = 1; i < 3; ++i) {
      CopyRampTiming(u, s.Phase[i]);
      if (copyVoltages) {
        CopyRampVoltages(u, s.Phase[i]);
      }
    }
  }
  return RecordChanged(before, s);
}

int ListCheckAll(Family f) {
  const ListSet before = gListSet;
  CheckProgramHeader(gListSet, f);
  int changed = RecordChanged(before, gListSet);
  for (int step = 0; step < kProgramStepCount; ++step) {
    changed |= ListCheckOne(f, step);
  }
  return changed;
}

int RampCheckAll(Family f) {
  const RampSet before = gRampSet;
  CheckProgramHeader(gRampSet, f);
  int changed = RecordChanged(before, gRampSet);
  for (int step = 0; step < kProgramStepCount; ++step) {
    changed |= RampCheckOne(f, step);
  }
  return changed;
}

// Programs exist on FPA, FPB and GS only.
bool ProgramFamilyOf(int modelType, Family &f) {
  return CheckFamilyOf(modelType, f) && (f == Family::FPA || f == Family::FPB || f == Family::GS);
}

void InitHeader(ListSet &h) {
  h.StartNo = 0;
  h.StopNo = 99;
  h.CircleDegree = 1;
  h.OutMode = 0;
  h.AngleUV = 1200;
  h.AngleUW = 2400;
  h.AngleVW = AngleABAC2AngleBC(h.AngleUV, h.AngleUW);
  h.CurrentNo = 0;
}

} // namespace

// ---- Defaults ----

void DataFPInitStepAll() {
  StepSet &s = gStepSet;
  s.OutMode = 0;
  s.AngleUV = 1200;
  s.AngleVW = 1200;
  s.AngleUW = 2400;
  s.VolLineStart = 3811;
  s.VolLineStep = 0;
  for (const StepPhase &p : kStepPhases) {
    s.*p.Wave = 0;
    s.*p.VolStart = 2200;
    s.*p.VolStep = 0;
    s.*p.FreqStart = 5000;
    s.*p.FreqStep = 0;
    s.*p.StepCnt = 0;
    s.*p.TimeH = 0;
    s.*p.TimeM = 0;
    s.*p.TimeS2P = 1500;
  }
}

void DataFPInitListAll() {
  InitHeader(gListSet);
  for (int step = 0; step < kProgramStepCount; ++step) {
    DataFPInitListOne(step);
  }
}

void DataFPInitListOne(int step) {
  if (!ValidStep(step)) {
    return;
  }
  for (ListPhase &p : gListListSet[step].Phase) {
    p = ListPhase{2200, 3810, 5000, 0, 0, 1500, 0};
  }
}

void DataFPInitRampAll() {
  InitHeader(gRampSet);
  for (int step = 0; step < kProgramStepCount; ++step) {
    DataFPInitRampOne(step);
  }
}

void DataFPInitRampOne(int step) {
  if (!ValidStep(step)) {
    return;
  }
  for (RampPhase &p : gRampRampSet[step].Phase) {
    p = RampPhase{2200, 2200, 3810, 3810, 5000, 5000, 0, 0, 1500, 0};
  }
}

void DataFPInitCrossAll() {
  gCrossListSet.StartNo = 0;
  gCrossListSet.StopNo = 7;
  gCrossListSet.CircleDegree = 1;
  gCrossListSet.CurrentNo = 0;
  for (int entry = 0; entry < kCrossEntryCount; ++entry) {
    DataFPInitCrossOne(entry);
  }
}

void DataFPInitCrossOne(int entry) {
  if (!ValidEntry(entry)) {
    return;
  }
  CrossSet &c = gCrossSet[entry];
  c.OutChannel = 7;
  c.WaveU = c.WaveV = c.WaveW = 0;
  c.RatingVol = 2200;
  c.RatingFreq = 5000;
  c.RatingTime = 1000;
  c.CrossAngle = 0;
  c.DropVol = 220;
  c.KeepTime = 600;
  c.RiseTime = 1000;
  c.ResumeVol = 1980;
  c.EndTime = 1000;
}

void DataFPInitTHDAll() {
  for (int group = 0; group < kTHDGroupCount; ++group) {
    DataFPInitTHDOne(group);
  }
}

void DataFPInitTHDOne(int group) {
  if (ValidTHDGroup(group)) {
    gTHDSet[group] = THDSet{};
  }
}

// ---- Checks ----

int DataFPStepCheck(int isFPA) { return StepCheck(FPFamily(isFPA)); }
int DataGSStepCheck() { return StepCheck(Family::GS); }

int DataFPListCheckAll(int isFPA) { return ListCheckAll(FPFamily(isFPA)); }
int DataFPListCheckOne(int isFPA, int step) { return ListCheckOne(FPFamily(isFPA), step); }
int DataGSListCheckAll() { return ListCheckAll(Family::GS); }
int DataGSListCheckOne(int step) { return ListCheckOne(Family::GS, step); }

int DataFPRampCheckAll(int isFPA) { return RampCheckAll(FPFamily(isFPA)); }
int DataFPRampCheckOne(int isFPA, int step) { return RampCheckOne(FPFamily(isFPA), step); }
int DataGSRampCheckAll() { return RampCheckAll(Family::GS); }
int DataGSRampCheckOne(int step) { return RampCheckOne(Family::GS, step); }

int DataGSCrossCheckAll() {
  CrossListSet &h = gCrossListSet;
  const CrossListSet before = h;
  FixRange(h.StartNo, 0, 7, 0);
  FixRange(h.StopNo, 0, 7, 7);
  if (h.StartNo > h.StopNo) {
    h.StopNo = h.StartNo;
  }
  FixRange(h.CircleDegree, 1, 999999, 1);
  FixRange(h.CurrentNo, 0, 7, 7);
  int changed = RecordChanged(before, h);
  for (int entry = 0; entry < kCrossEntryCount; ++entry) {
    changed |= DataGSCrossCheckOne(entry);
  }
  return changed;
}

int DataGSCrossCheckOne(int entry) {
  if (!ValidEntry(entry)) {
    return 0;
  }
  CrossSet &c = gCrossSet[entry];
  const CrossSet before = c;
  FixRange(c.OutChannel, 1, 7, 7);
  FixRange(c.WaveU, 0, 10, 0);
  FixRange(c.WaveV, 0, 10, 0);
  FixRange(c.WaveW, 0, 10, 0);
  FixRange(c.RatingVol, 0, 3000, 2200);
  FixRange(c.RatingFreq, 4500, 6500, 5000);
  FixRange(c.RatingTime, 20, 99999, 1000);
  FixRange(c.CrossAngle, -600, 600, 0);
  FixRange(c.DropVol, 0, 3000, 220);
  FixRange(c.KeepTime, 20, 99999, 600);
  FixRange(c.RiseTime, 0, 99999, 1000);
  FixRange(c.ResumeVol, 0, 3000, 1980);
  FixRange(c.EndTime, 20, 99999, 1000);
  return RecordChanged(before, c);
}

int64_t CrossEntryLength(const CrossSet &c) {
  return std::max<int64_t>(c.RatingTime, 0) + std::max<int64_t>(c.KeepTime, 0) +
         std::max<int64_t>(c.RiseTime, 0) + std::max<int64_t>(c.EndTime, 0);
}

int32_t CrossVoltageAt(const CrossSet &c, int64_t t) {
  if (t < c.RatingTime)
    return c.RatingVol;
  t -= c.RatingTime;
  if (t < c.KeepTime)
    return c.DropVol;
  t -= c.KeepTime;
  if (t < c.RiseTime)
    return static_cast<int32_t>(c.DropVol + t * (c.ResumeVol - c.DropVol) / c.RiseTime);
  return c.ResumeVol;
}

int DataTHDCheckAll() {
  int changed = 0;
  for (int group = 0; group < kTHDGroupCount; ++group) {
    changed |= DataTHDCheckOne(group);
  }
  return changed;
}

int DataTHDCheckOne(int group) {
  if (!ValidTHDGroup(group)) {
    return 0;
  }
  THDSet &t = gTHDSet[group];
  const THDSet before = t;
  // Element n is order n + 1: orders 2..9 up to 12.0 %, 10..29 up to 7.0 %,
  // 30..40 up to 3.0 %. The fundamental is not examined.
  for (int n = 1; n < kTHDOrders; ++n) {
    const int limit = n <= 8 ? 120 : (n <= 28 ? 70 : 30);
    FixRange(t.Percent[n], 0, limit, 0);
    FixRange(t.Angle[n], 0, 3599, 0);
  }
  return RecordChanged(before, t);
}

void DataTHDCalWaveOne(int group) {
  if (!ValidTHDGroup(group)) {
    return;
  }
  THDSet &t = gTHDSet[group];
  t.WaveRms =
      Waver360MakeSinTHD(0, 1448, t.Percent.data(), t.Angle.data(), kTHDOrders, t.Wave.data());
  t.WaveMax = std::max(0, *std::max_element(t.Wave.begin(), t.Wave.end()));
  t.WaveValid = 1;
}

// ---- Choice by model ----

int DataStepCheckByModel(int modelType) {
  Family f{};
  return ProgramFamilyOf(modelType, f) ? StepCheck(f) : 0;
}

int DataListCheckAllByModel(int modelType) {
  Family f{};
  return ProgramFamilyOf(modelType, f) ? ListCheckAll(f) : 0;
}

int DataListCheckOneByModel(int modelType, int step) {
  Family f{};
  return ProgramFamilyOf(modelType, f) ? ListCheckOne(f, step) : 0;
}

int DataRampCheckAllByModel(int modelType) {
  Family f{};
  return ProgramFamilyOf(modelType, f) ? RampCheckAll(f) : 0;
}

int DataRampCheckOneByModel(int modelType, int step) {
  Family f{};
  return ProgramFamilyOf(modelType, f) ? RampCheckOne(f, step) : 0;
}
