#include "settings/NormalSet.h"

#include "records/Globals.h"
#include "settings/CheckHelpers.h"

namespace {

using Family = CheckFamily;

bool ValidFCGroup(int group) { return ValidIndex(group, kFCGroupCount); }
bool ValidFPGroup(int group) { return ValidIndex(group, kFPGroupCount); }

bool IsFS(Family f) { return f == Family::FSA || f == Family::FSB; }
bool IsFP(Family f) { return f == Family::FPA || f == Family::FPB; }

// The range code rule of FS and FP: the B models and separate mode use 1 or
// 2, the A models in the other modes 2 or 3.
bool VolLevelAllowed(Family f, int32_t mode, int32_t level) {
  if (f == Family::FSB || f == Family::FPB || mode == 1) {
    return level == 1 || level == 2;
  }
  return level == 2 || level == 3;
}

int NormalCheckOne(Family f, int group) {
  if (!ValidFPGroup(group)) {
    return 0;
  }
  NormalFPSet &g = gNormalFPSet[group];
  const NormalFPSet before = g;
  const bool isFL = f == Family::FL;

  // 1-3: voltages; the U phase and the line voltage are reset together.
  if (NumOutBound(g.VolU, 0, 3000)) {
    g.VolU = 2200;
    g.VolLine = 3810;
  }
  if (!isFL) {
    FixRange(g.VolV, 0, 3000, 2200);
    FixRange(g.VolW, 0, 3000, 2200);
  }
  if (NumOutBound(g.VolLine, 0, 5196)) {
    g.VolLine = 3810;
    g.VolU = 2200;
  }
  if (isFL) {
    g.VolV = g.VolW = g.VolU;
  }

  // 4-5: output mode, then the range code allowed in that mode.
  if (isFL || !OutModeAllowed(f, g.OutMode)) {
    g.OutMode = 0;
  }
  if (f == Family::GS) {
    if (g.VolLevel != 2) {
      g.VolLevel = 2;
    }
  } else if (isFL) {
    FixRange(g.VolLevel, 2, 3, 2);
  } else if (!VolLevelAllowed(f, g.OutMode, g.VolLevel)) {
    g.VolLevel = 2;
  }

  // 6: frequencies; GS and FL only run at 45.00..65.00 Hz.
  if (f == Family::GS) {
    FixRange(g.FreqU, 4500, 6500, 5000);
    FixRange(g.FreqV, 4500, 6500, 5000);
    FixRange(g.FreqW, 4500, 6500, 5000);
  } else if (isFL) {
    FixRange(g.FreqU, 4500, 6500, 5000);
    g.FreqV = g.FreqW = g.FreqU;
  } else {
    FixRange(g.FreqU, 4500, 24000, 5000);
    FixRange(g.FreqV, 4500, 24000, 5000);
    FixRange(g.FreqW, 4500, 24000, 5000);
  }

  // 7-9: rise time and angles; the V-W angle follows the other two in mode 16
  // (which only FP and GS allow).
  FixRange(g.RiseTime, 0, 999, 0);
  CheckAngles(g);

  // 10: balanced and single-phase modes run every phase at the U voltage; the
  // line voltage may differ from the computed one by 1 (rounding of entry).
  if (!isFL && (g.OutMode == 0 || g.OutMode == 5)) {
    g.VolV = g.VolW = g.VolU;
    const int line = PhaseToLine(g.VolU);
    if (g.VolLine - line > 1 || line - g.VolLine > 1) {
      g.VolLine = line;
    }
  }

  // 11: only separate mode has per-phase frequencies.
  if ((IsFS(f) || IsFP(f)) && g.OutMode != 1) {
    g.FreqV = g.FreqW = g.FreqU;
  }

  // 12: waveforms; FS and FL only output sine.
  if (IsFS(f) || isFL) {
    g.WaveU = g.WaveV = g.WaveW = 0;
  } else {
    FixRange(g.WaveU, 0, 10, 0);
    FixRange(g.WaveV, 0, 10, 0);
    FixRange(g.WaveW, 0, 10, 0);
  }

  // 13: a stored waveform is only legal at 45.00..65.00 Hz.
  if (IsFP(f)) {
    if (g.OutMode != 1) {
      if (NumOutBound(g.FreqU, 4500, 6500) && g.WaveU != 0) {
        g.WaveU = g.WaveV = g.WaveW = 0;
      }
    } else {
      if (NumOutBound(g.FreqU, 4500, 6500) && g.WaveU != 0) {
        g.WaveU = 0;
      }
      if (NumOutBound(g.FreqV, 4500, 6500) && g.WaveV != 0) {
        g.WaveV = 0;
      }
      if (NumOutBound(g.FreqW, 4500, 6500) && g.WaveW != 0) {
        g.WaveW = 0;
      }
    }
  }

  // 14: the low range caps the phase voltages at 150.0 V, the line at 259.8 V.
  if ((IsFS(f) || IsFP(f)) && g.VolLevel == 1) {
    if (g.VolU > 1500) {
      g.VolU = 1500;
      g.VolLine = 2598;
    }
    if (g.VolV > 1500) {
      g.VolV = 1500;
    }
    if (g.VolW > 1500) {
      g.VolW = 1500;
    }
    if (g.VolLine > 2598) {
      g.VolLine = 2598;
      g.VolU = 1500;
    }
  }

  // 15: the phases can only be chosen in separate mode.
  if (!isFL && g.OutMode == 1) {
    FixRange(g.OutChannel, 0, 7, 7);
  } else if (g.OutChannel != 7) {
    g.OutChannel = 7;
  }

  return RecordChanged(before, g);
}

// The system settings every family checks.
void CheckSystemCommon(SystemSet &s) {
  FixRange(s.UDisMode, 0, 1, 0);
  FixRange(s.UCompensation, 0, 5000, 0);
  FixRange(s.IfKeySound, 0, 1, 1);
}

int NormalCheckAll(Family f) {
  const SystemSet before = gSystemSet;
  int changed = 0;
  for (int group = 0; group < kFPGroupCount; ++group) {
    changed |= NormalCheckOne(f, group);
  }
  CheckSystemCommon(gSystemSet);
  return changed | RecordChanged(before, gSystemSet);
}

} // namespace

void DataFCInitOne(int group) {
  if (!ValidFCGroup(group)) {
    return;
  }
  NormalFCSet &g = gNormalFCSet[group];
  g.Freq = 500;
  g.Vol = 2200;
  g.VolLine = 3810;
  g.VolLevel = 1;
  g.UpUPer = 5;
  g.DownUPer = 5;
  g.OutMode = 0;
}

void DataFCInitAll() {
  for (int group = 0; group < kFCGroupCount; ++group) {
    DataFCInitOne(group);
  }
  gSystemSet.StartRise = 0;
  gSystemSet.UCompensation = 0;
  gSystemSet.UDisMode = 0;
  gSystemSet.IfKeySound = 1;
}

void DataFPInitNormalOne(int group) {
  if (!ValidFPGroup(group)) {
    return;
  }
  NormalFPSet &g = gNormalFPSet[group];
  g.VolU = g.VolV = g.VolW = 2200;
  g.VolLine = 3810;
  g.FreqU = g.FreqV = g.FreqW = 5000;
  g.VolLevel = 2;
  g.OutMode = 0;
  g.RiseTime = 0;
  g.OutChannel = 7;
  g.AngleUV = 1200;
  g.AngleUW = 2400;
  g.WaveU = g.WaveV = g.WaveW = 0;
}

void DataFPInitNormalAll() {
  for (int group = 0; group < kFPGroupCount; ++group) {
    DataFPInitNormalOne(group);
  }
  gSystemSet.UCompensation = 0;
  gSystemSet.UDisMode = 0;
  gSystemSet.IfKeySound = 1;
  gSystemSet.OCP_Define = 0;
}

int DataFCCheckOne(int isFCT, int group) {
  if (!ValidFCGroup(group)) {
    return 0;
  }
  NormalFCSet &g = gNormalFCSet[group];
  const NormalFCSet before = g;
  // 45.0..65.0 Hz, or one of the fixed 100, 120, 200 and 240 Hz outputs.
  if (NumOutBound(g.Freq, 450, 650) && g.Freq != 1000 && g.Freq != 1200 && g.Freq != 2000 &&
      g.Freq != 2400) {
    g.Freq = 500;
  }
  if (NumOutBound(g.Vol, 10, 3000)) {
    g.Vol = 2200;
    g.VolLine = 3810;
  }
  if (NumOutBound(g.VolLine, 17, 5196)) {
    g.Vol = 2200;
    g.VolLine = 3810;
  }
  FixRange(g.VolLevel, 0, 1, 1);
  if (isFCT) {
    if (g.OutMode != 0 && g.OutMode != 2 && g.OutMode != 3 && g.OutMode != 4) {
      g.OutMode = 0;
    }
  } else if (g.OutMode != 5) {
    g.OutMode = 5;
  }
  FixRange(g.UpUPer, 5, 30, 5);
  FixRange(g.DownUPer, 5, 30, 5);
  return RecordChanged(before, g);
}

int DataFCCheckAll(int isFCT) {
  const SystemSet before = gSystemSet;
  int changed = 0;
  for (int group = 0; group < kFCGroupCount; ++group) {
    changed |= DataFCCheckOne(isFCT, group);
  }
  CheckSystemCommon(gSystemSet);
  FixRange(gSystemSet.StartRise, 0, 999, 0);
  return changed | RecordChanged(before, gSystemSet);
}

int DataFSNormalCheckOne(int isFSA, int group) {
  return NormalCheckOne(isFSA ? Family::FSA : Family::FSB, group);
}
int DataFSNormalCheckAll(int isFSA) { return NormalCheckAll(isFSA ? Family::FSA : Family::FSB); }

int DataFPNormalCheckOne(int isFPA, int group) {
  return NormalCheckOne(isFPA ? Family::FPA : Family::FPB, group);
}
int DataFPNormalCheckAll(int isFPA) { return NormalCheckAll(isFPA ? Family::FPA : Family::FPB); }

int DataGSNormalCheckOne(int group) { return NormalCheckOne(Family::GS, group); }
int DataGSNormalCheckAll() { return NormalCheckAll(Family::GS); }

int DataFLNormalCheckOne(int /*flag*/, int group) { return NormalCheckOne(Family::FL, group); }
int DataFLNormalCheckAll(int /*flag*/) { return NormalCheckAll(Family::FL); }

int DataFCCheckAllByModel(int modelType) { return DataFCCheckAll(modelType == kModelFCT); }

int DataFCCheckOneByModel(int modelType, int group) {
  return DataFCCheckOne(modelType == kModelFCT, group);
}

int DataFPNormalCheckAllByModel(int modelType) {
  Family f{};
  return CheckFamilyOf(modelType, f) ? NormalCheckAll(f) : 0;
}

int DataFPNormalCheckOneByModel(int modelType, int group) {
  Family f{};
  return CheckFamilyOf(modelType, f) ? NormalCheckOne(f, group) : 0;
}

int DataNormalCheckAllByModel(int modelType) {
  if (IsFCModel(modelType)) {
    return DataFCCheckAllByModel(modelType);
  }
  return DataFPNormalCheckAllByModel(modelType);
}
