#include "settings/ProgramSet.h"
#include "FieldList.h"
#include "programs/Arithmetic.h"
#include "records/Globals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ostream>
#include <string>

namespace {

void InitAllPrograms() {
  ResetProgramState();
  DataFPInitStepAll();
  DataFPInitListAll();
  DataFPInitRampAll();
  DataFPInitCrossAll();
  DataFPInitTHDAll();
}

// A check case: the record starts from the defaults, gets `set`, is checked
// with the rules of `model` (List and Ramp steps in the header's output mode
// `mode`) and must then hold `expect`.
struct CheckCase {
  const char *Name;
  int Model;
  int Mode;
  const char *Set;
  const char *Expect;
};

// Runs a check on a record of the default programs and compares its result
// with what changed.
template <class T, class Check> void ExpectCheck(const CheckCase &c, T &record, Check check) {
  SCOPED_TRACE(c.Name);
  InitAllPrograms();
  SetFields(record, c.Set);
  const T before = record;
  const int changed = check();
  EXPECT_TRUE(HasFields(record, c.Expect));
  EXPECT_EQ(changed, Differs(before, record));
}

// ---- Step ----

// clang-format off
const CheckCase kStepCases[] = {
    {"defaults untouched", kModelFPA, 0, "", "VolLineStart=3811"},
    // Output modes.
    {"FPA mode 5", kModelFPA, 0, "OutMode=5", "OutMode=5"},
    {"FPB mode 5", kModelFPB, 0, "OutMode=5", "OutMode=0"},
    {"FPB mode 16", kModelFPB, 0, "OutMode=16", "OutMode=16"},
    // Angles and waves.
    {"angles out of range", kModelFPA, 0, "AngleUV=3600 AngleVW=-1 AngleUW=3600", "AngleUV=1200 AngleVW=1200 AngleUW=2400"},
    {"mode 16 derives AngleVW", kModelGS, 0, "OutMode=16 AngleUV=2400 AngleUW=1200", "AngleVW=2400"},
    {"waveform 11", kModelFPA, 0, "OutMode=1 WaveV=11 WaveW=10", "WaveV=0 WaveW=10"},
    // Voltages: U and the line value are reset together.
    {"VolStartU 3001", kModelFPA, 0, "VolStartU=3001 VolLineStart=100", "VolStartU=2200 VolLineStart=3811"},
    {"VolStartV 3001 in mode 1", kModelFPA, 0, "OutMode=1 VolStartV=3001", "VolStartV=2200"},
    {"VolLineStart 5197", kModelFPA, 0, "VolStartU=3000 VolLineStart=5197", "VolStartU=3000 VolLineStart=5197"},
    {"VolLineStart 5198", kModelFPA, 0, "VolStartU=3000 VolLineStart=5198", "VolStartU=2200 VolLineStart=3811"},
    {"VolStepU -3000", kModelFPA, 0, "VolStepU=-3000 VolLineStep=-5196", "VolStepU=-3000 VolLineStep=-5196"},
    {"VolStepU -3001", kModelFPA, 0, "VolStepU=-3001 VolLineStep=-5196", "VolStepU=0 VolLineStep=0"},
    {"VolLineStep -5198", kModelFPA, 0, "VolStepU=-100 VolLineStep=-5198", "VolStepU=-100 VolLineStep=-5198"},
    {"VolLineStep -5199", kModelFPA, 0, "VolStepU=-100 VolLineStep=-5199", "VolStepU=0 VolLineStep=0"},
    // Frequencies, counts and times by family.
    {"FP FreqStartU 24000", kModelFPB, 0, "FreqStartU=24000", "FreqStartU=24000"},
    {"FP FreqStartU 24001", kModelFPB, 0, "FreqStartU=24001", "FreqStartU=5000"},
    {"GS FreqStartU 6501", kModelGS, 0, "FreqStartU=6501", "FreqStartU=5000"},
    {"FP FreqStepU -19500", kModelFPA, 0, "FreqStepU=-19500", "FreqStepU=-19500"},
    {"FP FreqStepU 19501", kModelFPA, 0, "FreqStepU=19501", "FreqStepU=0"},
    {"GS FreqStepU -2001", kModelGS, 0, "FreqStepU=-2001", "FreqStepU=0"},
    {"StepCntU 9999", kModelFPA, 0, "StepCntU=9999", "StepCntU=9999"},
    {"StepCntU 10000", kModelFPA, 0, "StepCntU=10000", "StepCntU=0"},
    {"StepTimeHU 100", kModelFPA, 0, "StepTimeHU=100 StepTimeMU=59", "StepTimeHU=0 StepTimeMU=59"},
    {"StepTimeMU 60", kModelFPA, 0, "StepTimeHU=99 StepTimeMU=60", "StepTimeHU=99 StepTimeMU=0"},
    {"StepTimeS2PU 5998", kModelFPA, 0, "StepTimeS2PU=5998", "StepTimeS2PU=5998"},
    {"StepTimeS2PU 5999", kModelFPA, 0, "StepTimeS2PU=5999", "StepTimeS2PU=1500"},
    // Waveform frequency rule, judged at the end frequency of a rising program.
    {"rising to 65.01 Hz clears every waveform", kModelFPA, 0, "FreqStepU=1 StepCntU=1501 WaveU=2", "WaveU=0 WaveV=0 WaveW=0"},
    {"rising to 65 Hz keeps the waveform", kModelFPA, 0, "FreqStepU=100 StepCntU=15 WaveU=2", "WaveU=2 WaveV=2"},
    {"falling to 30 Hz clears the waveform", kModelFPA, 0, "FreqStepU=-100 StepCntU=20 WaveU=2", "WaveU=0"},
    {"sine on U keeps V and W in mode 16", kModelFPA, 0, "OutMode=16 FreqStartU=10000 WaveV=3 WaveW=4", "WaveU=0 WaveV=3 WaveW=4 FreqStartV=10000"},
    {"mode 1 judges each phase", kModelFPA, 0, "OutMode=1 WaveU=2 WaveV=2 FreqStepV=100 StepCntV=16 WaveW=2", "WaveU=2 WaveV=0 WaveW=2"},
    {"GS has no waveform frequency rule", kModelGS, 0, "FreqStepU=100 StepCntU=20 WaveU=2", "WaveU=2"},
    // Copies between phases.
    {"mode 0 copies U to V and W", kModelFPA, 0, "VolStartV=1000 VolStepW=10 FreqStartV=6000 StepCntW=3 StepTimeS2PV=100 WaveU=1 WaveW=4", "VolStartV=2200 VolStepW=0 FreqStartV=5000 StepCntW=0 StepTimeS2PV=1500 WaveW=1"},
    {"mode 16 copies frequencies and times only", kModelGS, 0, "OutMode=16 VolStartV=1000 VolStepW=10 WaveV=3 FreqStepU=10 FreqStartW=6000 StepTimeHV=5 StepTimeMW=5", "VolStartV=1000 VolStepW=10 WaveV=3 FreqStepV=10 FreqStartW=5000 StepTimeHV=0 StepTimeMW=0"},
    {"mode 1 copies nothing", kModelFPB, 0, "OutMode=1 VolStartV=1000 FreqStartW=6000 StepTimeS2PV=10", "VolStartV=1000 FreqStartW=6000 StepTimeS2PV=10"},
    {"other models leave the record", kModelFSA, 0, "OutMode=5 FreqStartU=30000", "OutMode=5 FreqStartU=30000"},
};
// clang-format on

// ---- List and Ramp headers ----

// clang-format off
const CheckCase kHeaderCases[] = {
    {"defaults untouched", kModelGS, 0, "", "StopNo=99 AngleVW=1200"},
    {"StartNo after StopNo", kModelFPA, 0, "StartNo=40 StopNo=20", "StartNo=40 StopNo=40"},
    {"StartNo at StopNo", kModelFPA, 0, "StartNo=20 StopNo=20", "StartNo=20 StopNo=20"},
    {"StartNo 100", kModelFPA, 0, "StartNo=100 StopNo=50", "StartNo=0 StopNo=50"},
    {"StopNo 100", kModelFPA, 0, "StartNo=99 StopNo=100", "StartNo=99 StopNo=99"},
    {"CircleDegree 0", kModelFPA, 0, "CircleDegree=0", "CircleDegree=1"},
    {"CircleDegree 1000000", kModelFPA, 0, "CircleDegree=1000000", "CircleDegree=1"},
    {"FPA mode 5", kModelFPA, 0, "OutMode=5", "OutMode=5"},
    {"FPB mode 5", kModelFPB, 0, "OutMode=5", "OutMode=0"},
    {"angles out of range", kModelFPA, 0, "AngleUV=3600 AngleVW=3600 AngleUW=-1", "AngleUV=1200 AngleVW=1200 AngleUW=2400"},
    {"mode 16 derives AngleVW", kModelFPB, 0, "OutMode=16 AngleUV=2400 AngleUW=1200", "AngleVW=2400"},
    {"CurrentNo is not normalised", kModelFPA, 0, "CurrentNo=500", "CurrentNo=500"},
    {"other models leave the header", kModelFSA, 0, "StartNo=100 OutMode=5", "StartNo=100 OutMode=5"},
};
// clang-format on

// ---- List and Ramp steps ----

// clang-format off
const CheckCase kListStepCases[] = {
    {"voltage limits kept", kModelFPA, 1, "U.Vol=3000 U.VolLine=5196", "U.Vol=3000 U.VolLine=5196"},
    {"Vol 3001", kModelFPA, 1, "U.Vol=3001 U.VolLine=100", "U.Vol=2200 U.VolLine=3810"},
    {"VolLine 5197 on V", kModelFPB, 1, "V.Vol=100 V.VolLine=5197", "V.Vol=2200 V.VolLine=3810"},
    {"Vol -1 on W", kModelGS, 16, "W.Vol=-1 W.VolLine=100", "W.Vol=2200 W.VolLine=3810"},
    {"Freq 24001", kModelFPA, 1, "V.Freq=24001", "V.Freq=5000"},
    {"times out of range", kModelFPA, 1, "U.TimeH=100 V.TimeM=60 W.TimeS2P=5999", "U.TimeH=0 V.TimeM=0 W.TimeS2P=1500"},
    {"Wave 11", kModelFPA, 1, "V.Wave=11", "V.Wave=0"},
    {"waveform at 65.01 Hz", kModelFPA, 1, "V.Freq=6501 V.Wave=2", "V.Wave=0 V.Freq=6501"},
    {"waveform at 65.00 Hz", kModelFPA, 1, "V.Freq=6500 V.Wave=2", "V.Wave=2"},
    {"mode 0 copies U", kModelFPA, 0, "U.Wave=3 V.Vol=100 W.VolLine=100 V.Freq=6000 W.TimeM=5", "V.Vol=2200 W.VolLine=3810 V.Wave=3 W.Wave=3 V.Freq=5000 W.TimeM=0"},
    {"mode 16 copies frequency and times only", kModelFPA, 16, "V.Vol=100 W.Wave=3 U.Freq=6000 U.TimeH=2", "V.Vol=100 W.Wave=3 V.Freq=6000 W.TimeH=2"},
    {"mode 1 copies nothing", kModelFPB, 1, "V.Vol=100 W.Freq=6000 V.TimeS2P=10", "V.Vol=100 W.Freq=6000 V.TimeS2P=10"},
    {"GS FreqV 6000 follows U", kModelGS, 16, "V.Freq=6000", "V.Freq=5000"},
    {"GS FreqU 6500 shared", kModelGS, 16, "U.Freq=6500 U.Wave=4", "W.Freq=6500 U.Wave=4"},
    {"GS times follow U", kModelGS, 16, "U.TimeM=60 W.TimeH=3", "U.TimeM=0 V.TimeM=0 W.TimeH=0"},
    {"GS mode 0 copies voltage", kModelGS, 0, "V.Vol=100", "V.Vol=2200"},
    {"other models leave the step", kModelFSA, 0, "V.Vol=3001", "V.Vol=3001"},
};
// clang-format on

// clang-format off
const CheckCase kRampStepCases[] = {
    {"VolStart 3001", kModelFPA, 1, "U.VolStart=3001 U.VolLineStart=100", "U.VolStart=2200 U.VolLineStart=3810"},
    {"VolStop 3001", kModelFPA, 1, "V.VolStop=3001 V.VolLineStop=100", "V.VolStop=2200 V.VolLineStop=3810 V.VolLineStart=3810"},
    {"VolLineStart 5197", kModelFPB, 1, "W.VolStart=100 W.VolLineStart=5197", "W.VolStart=2200 W.VolLineStart=3810"},
    {"VolLineStop -1", kModelGS, 16, "W.VolStop=100 W.VolLineStop=-1", "W.VolStop=2200 W.VolLineStop=3810"},
    {"times out of range", kModelFPA, 1, "U.TimeH=-1 V.TimeM=60 W.TimeS2P=6000", "U.TimeH=0 V.TimeM=0 W.TimeS2P=1500"},
    {"waveform with a stop at 65.01 Hz", kModelFPA, 1, "W.FreqStop=6501 W.Wave=2", "W.Wave=0"},
    {"waveform with a start at 100 Hz", kModelFPA, 1, "W.FreqStart=10000 W.Wave=2", "W.Wave=0 W.FreqStart=10000"},
    {"start out of range reset before the waveform rule", kModelFPA, 1, "W.FreqStart=24001 W.Wave=2", "W.Wave=2 W.FreqStart=5000"},
    {"mode 5 copies U", kModelFPA, 5, "U.VolStop=1000 U.VolLineStop=1732 U.Wave=1 W.FreqStop=6000", "W.VolStop=1000 W.VolLineStop=1732 V.Wave=1 W.FreqStop=5000"},
    {"mode 16 copies frequencies and times only", kModelFPB, 16, "V.VolStart=100 U.FreqStop=6000 U.TimeS2P=20", "V.VolStart=100 V.FreqStop=6000 W.TimeS2P=20"},
    {"GS V follows U", kModelGS, 16, "V.FreqStart=6000 W.TimeH=4", "V.FreqStart=5000 W.TimeH=0"},
    {"GS mode 0 copies voltages", kModelGS, 0, "V.VolStop=100 U.Wave=3", "V.VolStop=2200 W.Wave=3"},
};
// clang-format on

// Each table through its check: the Step record, the List and Ramp headers
// alike, the List and Ramp steps.
TEST(ProgramCheck, CorrectsTheRecord) {
  for (const CheckCase &c : kStepCases)
    ExpectCheck(c, gStepSet, [&] { return DataStepCheckByModel(c.Model); });
  for (const CheckCase &c : kHeaderCases) {
    ExpectCheck(c, gListSet, [&] { return DataListCheckAllByModel(c.Model); });
    ExpectCheck(c, gRampSet, [&] { return DataRampCheckAllByModel(c.Model); });
  }
  for (const CheckCase &c : kListStepCases)
    ExpectCheck(c, gListListSet[42], [&] {
      gListSet.OutMode = c.Mode;
      return DataListCheckOneByModel(c.Model, 42);
    });
  for (const CheckCase &c : kRampStepCases)
    ExpectCheck(c, gRampRampSet[99], [&] {
      gRampSet.OutMode = c.Mode;
      return DataRampCheckOneByModel(c.Model, 99);
    });
}

// ---- Cross ----

TEST(CrossCheck, EntryFields) {
  // clang-format off
  const std::pair<const char *, const char *> cases[] = {
      {"OutChannel=0", "OutChannel=7"},     {"OutChannel=1", "OutChannel=1"},
      {"OutChannel=8", "OutChannel=7"},     {"WaveV=11", "WaveV=0"},
      {"RatingVol=3000", "RatingVol=3000"}, {"RatingVol=3001", "RatingVol=2200"},
      {"RatingFreq=4499", "RatingFreq=5000"}, {"RatingFreq=6500", "RatingFreq=6500"},
      {"RatingFreq=6501", "RatingFreq=5000"}, {"RatingTime=19", "RatingTime=1000"},
      {"RatingTime=20", "RatingTime=20"},   {"RatingTime=100000", "RatingTime=1000"},
      {"CrossAngle=-600", "CrossAngle=-600"}, {"CrossAngle=-601", "CrossAngle=0"},
      {"CrossAngle=600", "CrossAngle=600"}, {"CrossAngle=601", "CrossAngle=0"},
      {"DropVol=0", "DropVol=0"},           {"DropVol=3001", "DropVol=220"},
      {"KeepTime=19", "KeepTime=600"},      {"KeepTime=99999", "KeepTime=99999"},
      {"KeepTime=100000", "KeepTime=600"},  {"RiseTime=0", "RiseTime=0"},
      {"RiseTime=-1", "RiseTime=1000"},     {"ResumeVol=-1", "ResumeVol=1980"},
      {"ResumeVol=3001", "ResumeVol=1980"}, {"EndTime=19", "EndTime=1000"},
      {"EndTime=20", "EndTime=20"},
  };
  // clang-format on
  for (const auto &[set, expect] : cases)
    ExpectCheck({set, 0, 0, set, expect}, gCrossSet[7], [] { return DataGSCrossCheckOne(7); });
}

TEST(CrossCheck, Header) {
  const std::pair<const char *, const char *> cases[] = {
      {"StartNo=5 StopNo=3", "StartNo=5 StopNo=5"},
      {"StartNo=3 StopNo=3", "StartNo=3 StopNo=3"},
      {"StartNo=8 StopNo=3", "StartNo=0 StopNo=3"},
      {"StopNo=8", "StopNo=7"},
      {"CircleDegree=0", "CircleDegree=1"},
      {"CircleDegree=1000000", "CircleDegree=1"},
      {"CurrentNo=7", "CurrentNo=7"},
      {"CurrentNo=8", "CurrentNo=7"},
  };
  for (const auto &[set, expect] : cases)
    ExpectCheck({set, 0, 0, set, expect}, gCrossListSet, [] { return DataGSCrossCheckAll(); });
  InitAllPrograms();
  gCrossSet[0].KeepTime = 10;
  EXPECT_EQ(DataGSCrossCheckAll(), 1);
  EXPECT_EQ(gCrossSet[0].KeepTime, 600);
  EXPECT_EQ(DataGSCrossCheckAll(), 0);
}

// ---- THD ----

TEST(THDCheck, LimitsByHarmonicOrder) {
  const struct {
    int order; // harmonic order, element order - 1
    int32_t percent, expectedPercent;
    int32_t angle, expectedAngle;
  } cases[] = {
      {2, 120, 120, 3599, 3599}, {2, -1, 0, -1, 0},    {9, 120, 120, 0, 0}, {9, 121, 0, 3600, 0},
      {10, 70, 70, 100, 100},    {29, 70, 70, 1, 1},   {29, 71, 0, 1, 1},   {30, 30, 30, 1, 1},
      {30, 31, 0, 1, 1},         {40, 31, 0, 3600, 0},
  };
  for (const auto &c : cases) {
    InitAllPrograms();
    THDSet &t = gTHDSet[9];
    t.Percent[c.order - 1] = c.percent;
    t.Angle[c.order - 1] = c.angle;
    const int changed = c.percent != c.expectedPercent || c.angle != c.expectedAngle;
    EXPECT_EQ(DataTHDCheckAll(), changed ? 1 : 0) << c.order << " " << c.percent;
    EXPECT_EQ(t.Percent[c.order - 1], c.expectedPercent) << c.order << " " << c.percent;
    EXPECT_EQ(t.Angle[c.order - 1], c.expectedAngle) << c.order << " " << c.angle;
  }
  // The fundamental is not examined.
  InitAllPrograms();
  gTHDSet[0].Percent[0] = 5000;
  gTHDSet[0].Angle[0] = -5;
  EXPECT_EQ(DataTHDCheckOne(0), 0);
  EXPECT_EQ(gTHDSet[0].Percent[0], 5000);
}

// ---- Defaults and indices ----

// Resetting the harmonic tables clears every group, the first as the last.
TEST(ProgramDefaults, THDResetClearsEveryGroup) {
  ResetProgramState();
  gTHDSet[0].Percent[3] = gTHDSet[9].Percent[3] = 50;
  gTHDSet[0].WaveValid = 1;
  DataFPInitTHDAll();
  EXPECT_EQ(gTHDSet[0].Percent[3] + gTHDSet[9].Percent[3] + gTHDSet[0].WaveValid, 0);
}

} // namespace
