#include "settings/ProgramSet.h"
#include "app/Globals.h"
#include "programs/Arithmetic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

template <class T> using Fields = std::vector<std::pair<int32_t T::*, int32_t>>;

template <class T> void Apply(T &record, const Fields<T> &fields) {
  for (const auto &[field, value] : fields) {
    record.*field = value;
  }
}

template <class T> void ExpectFields(const T &record, const Fields<T> &fields, const char *name) {
  for (const auto &[field, value] : fields) {
    EXPECT_EQ(record.*field, value) << name;
  }
}

template <class T> int Differs(const T &a, const T &b) {
  return std::memcmp(&a, &b, sizeof(T)) != 0 ? 1 : 0;
}

void InitAllPrograms() {
  ResetProgramState();
  DataFPInitStepAll();
  DataFPInitListAll();
  DataFPInitRampAll();
  DataFPInitCrossAll();
  DataFPInitTHDAll();
}

// ---- Step ----

using S = StepSet;

struct StepCase {
  const char *name;
  int model;
  Fields<S> set;
  Fields<S> expect;
};

void PrintTo(const StepCase &c, std::ostream *os) { *os << c.name; }

class StepCheck : public testing::TestWithParam<StepCase> {
protected:
  void SetUp() override { InitAllPrograms(); }
};

TEST_P(StepCheck, CorrectsTheRecord) {
  const StepCase &c = GetParam();
  Apply(gStepSet, c.set);
  const S before = gStepSet;
  const int changed = DataStepCheckByModel(c.model);
  ExpectFields(gStepSet, c.expect, c.name);
  EXPECT_EQ(changed, Differs(before, gStepSet)) << c.name;
}

const StepCase kStepCases[] = {
    {"defaults untouched", kModelFPA, {}, {{&S::VolLineStart, 3811}}},
    // Output modes.
    {"FPA mode 5", kModelFPA, {{&S::OutMode, 5}}, {{&S::OutMode, 5}}},
    {"FPB mode 5", kModelFPB, {{&S::OutMode, 5}}, {{&S::OutMode, 0}}},
    {"FPB mode 16", kModelFPB, {{&S::OutMode, 16}}, {{&S::OutMode, 16}}},
    {"GS mode 1", kModelGS, {{&S::OutMode, 1}}, {{&S::OutMode, 0}}},
    {"GS mode 16", kModelGS, {{&S::OutMode, 16}}, {{&S::OutMode, 16}}},
    // Angles.
    {"angles 3600",
     kModelFPA,
     {{&S::AngleUV, 3600}, {&S::AngleVW, -1}, {&S::AngleUW, 3600}},
     {{&S::AngleUV, 1200}, {&S::AngleVW, 1200}, {&S::AngleUW, 2400}}},
    {"mode 16 derives AngleVW",
     kModelGS,
     {{&S::OutMode, 16}, {&S::AngleUV, 2400}, {&S::AngleUW, 1200}},
     {{&S::AngleVW, 2400}}},
    {"waveform 11",
     kModelFPA,
     {{&S::OutMode, 1}, {&S::WaveV, 11}, {&S::WaveW, 10}},
     {{&S::WaveV, 0}, {&S::WaveW, 10}}},
    // Voltages: U and the line value are reset together.
    {"VolStartU 3001",
     kModelFPA,
     {{&S::VolStartU, 3001}, {&S::VolLineStart, 100}},
     {{&S::VolStartU, 2200}, {&S::VolLineStart, 3811}}},
    {"VolStartV 3001 in mode 1",
     kModelFPA,
     {{&S::OutMode, 1}, {&S::VolStartV, 3001}},
     {{&S::VolStartV, 2200}}},
    {"VolLineStart 5197",
     kModelFPA,
     {{&S::VolStartU, 3000}, {&S::VolLineStart, 5197}},
     {{&S::VolStartU, 3000}, {&S::VolLineStart, 5197}}},
    {"VolLineStart 5198",
     kModelFPA,
     {{&S::VolStartU, 3000}, {&S::VolLineStart, 5198}},
     {{&S::VolStartU, 2200}, {&S::VolLineStart, 3811}}},
    {"VolStepU -3000",
     kModelFPA,
     {{&S::VolStepU, -3000}, {&S::VolLineStep, -5196}},
     {{&S::VolStepU, -3000}, {&S::VolLineStep, -5196}}},
    {"VolStepU -3001",
     kModelFPA,
     {{&S::VolStepU, -3001}, {&S::VolLineStep, -5196}},
     {{&S::VolStepU, 0}, {&S::VolLineStep, 0}}},
    {"VolStepW 3001 in mode 1",
     kModelFPB,
     {{&S::OutMode, 1}, {&S::VolStepW, 3001}},
     {{&S::VolStepW, 0}}},
    {"VolLineStep -5198",
     kModelFPA,
     {{&S::VolStepU, -100}, {&S::VolLineStep, -5198}},
     {{&S::VolStepU, -100}, {&S::VolLineStep, -5198}}},
    {"VolLineStep -5199",
     kModelFPA,
     {{&S::VolStepU, -100}, {&S::VolLineStep, -5199}},
     {{&S::VolStepU, 0}, {&S::VolLineStep, 0}}},
    {"VolLineStep 5198",
     kModelGS,
     {{&S::VolStepU, 100}, {&S::VolLineStep, 5198}},
     {{&S::VolStepU, 0}, {&S::VolLineStep, 0}}},
    // Frequencies, counts and times by family.
    {"FP FreqStartU 24000", kModelFPB, {{&S::FreqStartU, 24000}}, {{&S::FreqStartU, 24000}}},
    {"FP FreqStartU 24001", kModelFPB, {{&S::FreqStartU, 24001}}, {{&S::FreqStartU, 5000}}},
    {"GS FreqStartU 6501", kModelGS, {{&S::FreqStartU, 6501}}, {{&S::FreqStartU, 5000}}},
    {"GS FreqStartW 4499 in mode 1 rules",
     kModelGS,
     {{&S::FreqStartW, 4499}},
     {{&S::FreqStartW, 5000}}},
    {"FP FreqStepU -19500", kModelFPA, {{&S::FreqStepU, -19500}}, {{&S::FreqStepU, -19500}}},
    {"FP FreqStepU 19501", kModelFPA, {{&S::FreqStepU, 19501}}, {{&S::FreqStepU, 0}}},
    {"GS FreqStepU 2000", kModelGS, {{&S::FreqStepU, 2000}}, {{&S::FreqStepU, 2000}}},
    {"GS FreqStepU -2001", kModelGS, {{&S::FreqStepU, -2001}}, {{&S::FreqStepU, 0}}},
    {"StepCntU 9999", kModelFPA, {{&S::StepCntU, 9999}}, {{&S::StepCntU, 9999}}},
    {"StepCntU 10000", kModelFPA, {{&S::StepCntU, 10000}}, {{&S::StepCntU, 0}}},
    {"StepTimeHU 99 / 100",
     kModelFPA,
     {{&S::StepTimeHU, 100}, {&S::StepTimeMU, 59}},
     {{&S::StepTimeHU, 0}, {&S::StepTimeMU, 59}}},
    {"StepTimeMU 60",
     kModelFPA,
     {{&S::StepTimeHU, 99}, {&S::StepTimeMU, 60}},
     {{&S::StepTimeHU, 99}, {&S::StepTimeMU, 0}}},
    {"StepTimeS2PU 5998", kModelFPA, {{&S::StepTimeS2PU, 5998}}, {{&S::StepTimeS2PU, 5998}}},
    {"StepTimeS2PU 5999", kModelFPA, {{&S::StepTimeS2PU, 5999}}, {{&S::StepTimeS2PU, 1500}}},
    {"StepTimeS2PU -1", kModelGS, {{&S::StepTimeS2PU, -1}}, {{&S::StepTimeS2PU, 1500}}},
    // Waveform frequency rule, judged at the end frequency of a rising program.
    {"rising to 70 Hz clears every waveform",
     kModelFPA,
     {{&S::FreqStepU, 100}, {&S::StepCntU, 20}, {&S::WaveU, 2}},
     {{&S::WaveU, 0}, {&S::WaveV, 0}, {&S::WaveW, 0}}},
    {"rising to 65 Hz keeps the waveform",
     kModelFPA,
     {{&S::FreqStepU, 100}, {&S::StepCntU, 15}, {&S::WaveU, 2}},
     {{&S::WaveU, 2}, {&S::WaveV, 2}}},
    {"falling is judged by the start",
     kModelFPA,
     {{&S::FreqStepU, -100}, {&S::StepCntU, 20}, {&S::WaveU, 2}},
     {{&S::WaveU, 2}}},
    {"start at 100 Hz falling",
     kModelFPB,
     {{&S::FreqStartU, 10000}, {&S::FreqStepU, -100}, {&S::StepCntU, 60}, {&S::WaveU, 2}},
     {{&S::WaveU, 0}}},
    {"sine on U keeps V and W in mode 16",
     kModelFPA,
     {{&S::OutMode, 16}, {&S::FreqStartU, 10000}, {&S::WaveV, 3}, {&S::WaveW, 4}},
     {{&S::WaveU, 0}, {&S::WaveV, 3}, {&S::WaveW, 4}, {&S::FreqStartV, 10000}}},
    {"mode 1 judges each phase",
     kModelFPA,
     {{&S::OutMode, 1},
      {&S::WaveU, 2},
      {&S::WaveV, 2},
      {&S::FreqStepV, 100},
      {&S::StepCntV, 16},
      {&S::WaveW, 2}},
     {{&S::WaveU, 2}, {&S::WaveV, 0}, {&S::WaveW, 2}}},
    {"GS has no waveform frequency rule",
     kModelGS,
     {{&S::FreqStepU, 100}, {&S::StepCntU, 20}, {&S::WaveU, 2}},
     {{&S::WaveU, 2}}},
    // Copies between phases.
    {"mode 0 copies U to V and W",
     kModelFPA,
     {{&S::VolStartV, 1000},
      {&S::VolStepW, 10},
      {&S::FreqStartV, 6000},
      {&S::StepCntW, 3},
      {&S::StepTimeS2PV, 100},
      {&S::WaveU, 1},
      {&S::WaveW, 4}},
     {{&S::VolStartV, 2200},
      {&S::VolStepW, 0},
      {&S::FreqStartV, 5000},
      {&S::StepCntW, 0},
      {&S::StepTimeS2PV, 1500},
      {&S::WaveW, 1}}},
    {"mode 5 copies U to V and W",
     kModelFPA,
     {{&S::OutMode, 5}, {&S::VolStartW, 1000}},
     {{&S::VolStartW, 2200}}},
    {"mode 16 copies frequencies and times only",
     kModelGS,
     {{&S::OutMode, 16},
      {&S::VolStartV, 1000},
      {&S::VolStepW, 10},
      {&S::WaveV, 3},
      {&S::FreqStepU, 10},
      {&S::FreqStartW, 6000},
      {&S::StepTimeHV, 5},
      {&S::StepTimeMW, 5}},
     {{&S::VolStartV, 1000},
      {&S::VolStepW, 10},
      {&S::WaveV, 3},
      {&S::FreqStepV, 10},
      {&S::FreqStartW, 5000},
      {&S::StepTimeHV, 0},
      {&S::StepTimeMW, 0}}},
    {"mode 1 copies nothing",
     kModelFPB,
     {{&S::OutMode, 1}, {&S::VolStartV, 1000}, {&S::FreqStartW, 6000}, {&S::StepTimeS2PV, 10}},
     {{&S::VolStartV, 1000}, {&S::FreqStartW, 6000}, {&S::StepTimeS2PV, 10}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, StepCheck, testing::ValuesIn(kStepCases));

// ---- List and Ramp headers ----

using H = ListSet;

struct HeaderCase {
  const char *name;
  int model;
  Fields<H> set;
  Fields<H> expect;
};

void PrintTo(const HeaderCase &c, std::ostream *os) { *os << c.name; }

class ProgramHeaderCheck : public testing::TestWithParam<HeaderCase> {
protected:
  void SetUp() override { InitAllPrograms(); }
};

TEST_P(ProgramHeaderCheck, ListAndRampAlike) {
  const HeaderCase &c = GetParam();
  Apply(gListSet, c.set);
  Apply(gRampSet, c.set);
  const H before = gListSet;
  const int listChanged = DataListCheckAllByModel(c.model);
  const int rampChanged = DataRampCheckAllByModel(c.model);
  EXPECT_EQ(listChanged, Differs(before, gListSet)) << c.name;
  EXPECT_EQ(rampChanged, Differs(before, gRampSet)) << c.name;
  ExpectFields(gListSet, c.expect, c.name);
  ExpectFields(gRampSet, c.expect, c.name);
}

const HeaderCase kHeaderCases[] = {
    {"defaults untouched", kModelGS, {}, {{&H::StopNo, 99}, {&H::AngleVW, 1200}}},
    {"StartNo 40 StopNo 20",
     kModelFPA,
     {{&H::StartNo, 40}, {&H::StopNo, 20}},
     {{&H::StartNo, 0}, {&H::StopNo, 99}}},
    {"StartNo 20 StopNo 20",
     kModelFPA,
     {{&H::StartNo, 20}, {&H::StopNo, 20}},
     {{&H::StartNo, 20}, {&H::StopNo, 20}}},
    {"StartNo 100",
     kModelFPA,
     {{&H::StartNo, 100}, {&H::StopNo, 50}},
     {{&H::StartNo, 0}, {&H::StopNo, 50}}},
    {"StartNo -1", kModelFPA, {{&H::StartNo, -1}}, {{&H::StartNo, 0}}},
    {"StopNo 100",
     kModelFPA,
     {{&H::StartNo, 99}, {&H::StopNo, 100}},
     {{&H::StartNo, 99}, {&H::StopNo, 99}}},
    {"StopNo -1 with StartNo 5",
     kModelFPA,
     {{&H::StartNo, 5}, {&H::StopNo, -1}},
     {{&H::StartNo, 5}, {&H::StopNo, 99}}},
    {"CircleDegree 0", kModelFPA, {{&H::CircleDegree, 0}}, {{&H::CircleDegree, 1}}},
    {"CircleDegree 999999", kModelFPA, {{&H::CircleDegree, 999999}}, {{&H::CircleDegree, 999999}}},
    {"CircleDegree 1000000", kModelFPA, {{&H::CircleDegree, 1000000}}, {{&H::CircleDegree, 1}}},
    {"FPA mode 5", kModelFPA, {{&H::OutMode, 5}}, {{&H::OutMode, 5}}},
    {"FPB mode 5", kModelFPB, {{&H::OutMode, 5}}, {{&H::OutMode, 0}}},
    {"GS mode 1", kModelGS, {{&H::OutMode, 1}}, {{&H::OutMode, 0}}},
    {"angles out of range",
     kModelFPA,
     {{&H::AngleUV, 3600}, {&H::AngleVW, 3600}, {&H::AngleUW, -1}},
     {{&H::AngleUV, 1200}, {&H::AngleVW, 1200}, {&H::AngleUW, 2400}}},
    {"mode 16 derives AngleVW",
     kModelFPB,
     {{&H::OutMode, 16}, {&H::AngleUV, 2400}, {&H::AngleUW, 1200}},
     {{&H::AngleVW, 2400}}},
    {"CurrentNo is not normalised", kModelFPA, {{&H::CurrentNo, 500}}, {{&H::CurrentNo, 500}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProgramHeaderCheck, testing::ValuesIn(kHeaderCases));

// ---- List and Ramp steps ----

template <class P> struct PhaseField {
  int phase;
  int32_t P::*field;
  int32_t value;
};

template <class P> struct StepCase2 {
  const char *name;
  int model;
  int mode;
  std::vector<PhaseField<P>> set;
  std::vector<PhaseField<P>> expect;
};

template <class P> void PrintTo(const StepCase2<P> &c, std::ostream *os) { *os << c.name; }

using LP = ListPhase;
using ListStepCase = StepCase2<LP>;

class ListStepCheck : public testing::TestWithParam<ListStepCase> {
protected:
  void SetUp() override { InitAllPrograms(); }
};

TEST_P(ListStepCheck, CorrectsTheStep) {
  const ListStepCase &c = GetParam();
  gListSet.OutMode = c.mode;
  for (const auto &f : c.set) {
    gListListSet[42].Phase[f.phase].*f.field = f.value;
  }
  const ListListSet before = gListListSet[42];
  const int changed = DataListCheckOneByModel(c.model, 42);
  EXPECT_EQ(changed, Differs(before, gListListSet[42])) << c.name;
  for (const auto &f : c.expect) {
    EXPECT_EQ(gListListSet[42].Phase[f.phase].*f.field, f.value) << c.name << " phase " << f.phase;
  }
}

const ListStepCase kListStepCases[] = {
    {"voltage limits kept",
     kModelFPA,
     1,
     {{0, &LP::Vol, 3000}, {0, &LP::VolLine, 5196}},
     {{0, &LP::Vol, 3000}, {0, &LP::VolLine, 5196}}},
    {"Vol 3001",
     kModelFPA,
     1,
     {{0, &LP::Vol, 3001}, {0, &LP::VolLine, 100}},
     {{0, &LP::Vol, 2200}, {0, &LP::VolLine, 3810}}},
    {"VolLine 5197 on V",
     kModelFPB,
     1,
     {{1, &LP::Vol, 100}, {1, &LP::VolLine, 5197}},
     {{1, &LP::Vol, 2200}, {1, &LP::VolLine, 3810}}},
    {"Vol -1 on W",
     kModelGS,
     16,
     {{2, &LP::Vol, -1}, {2, &LP::VolLine, 100}},
     {{2, &LP::Vol, 2200}, {2, &LP::VolLine, 3810}}},
    {"Freq 24000 kept", kModelFPA, 1, {{1, &LP::Freq, 24000}}, {{1, &LP::Freq, 24000}}},
    {"Freq 24001", kModelFPA, 1, {{1, &LP::Freq, 24001}}, {{1, &LP::Freq, 5000}}},
    {"Freq 4499", kModelFPA, 1, {{2, &LP::Freq, 4499}}, {{2, &LP::Freq, 5000}}},
    {"times out of range",
     kModelFPA,
     1,
     {{0, &LP::TimeH, 100}, {1, &LP::TimeM, 60}, {2, &LP::TimeS2P, 5999}},
     {{0, &LP::TimeH, 0}, {1, &LP::TimeM, 0}, {2, &LP::TimeS2P, 1500}}},
    {"times at their limits",
     kModelFPA,
     1,
     {{0, &LP::TimeH, 99}, {1, &LP::TimeM, 59}, {2, &LP::TimeS2P, 5998}},
     {{0, &LP::TimeH, 99}, {1, &LP::TimeM, 59}, {2, &LP::TimeS2P, 5998}}},
    {"Wave 11", kModelFPA, 1, {{1, &LP::Wave, 11}}, {{1, &LP::Wave, 0}}},
    {"waveform at 65.01 Hz",
     kModelFPA,
     1,
     {{1, &LP::Freq, 6501}, {1, &LP::Wave, 2}},
     {{1, &LP::Wave, 0}, {1, &LP::Freq, 6501}}},
    {"waveform at 65.00 Hz",
     kModelFPA,
     1,
     {{1, &LP::Freq, 6500}, {1, &LP::Wave, 2}},
     {{1, &LP::Wave, 2}}},
    {"mode 0 copies U",
     kModelFPA,
     0,
     {{0, &LP::Wave, 3},
      {1, &LP::Vol, 100},
      {2, &LP::VolLine, 100},
      {1, &LP::Freq, 6000},
      {2, &LP::TimeM, 5}},
     {{1, &LP::Vol, 2200},
      {2, &LP::VolLine, 3810},
      {1, &LP::Wave, 3},
      {2, &LP::Wave, 3},
      {1, &LP::Freq, 5000},
      {2, &LP::TimeM, 0}}},
    {"mode 16 copies frequency and times only",
     kModelFPA,
     16,
     {{1, &LP::Vol, 100}, {2, &LP::Wave, 3}, {0, &LP::Freq, 6000}, {0, &LP::TimeH, 2}},
     {{1, &LP::Vol, 100}, {2, &LP::Wave, 3}, {1, &LP::Freq, 6000}, {2, &LP::TimeH, 2}}},
    {"mode 1 copies nothing",
     kModelFPB,
     1,
     {{1, &LP::Vol, 100}, {2, &LP::Freq, 6000}, {1, &LP::TimeS2P, 10}},
     {{1, &LP::Vol, 100}, {2, &LP::Freq, 6000}, {1, &LP::TimeS2P, 10}}},
    {"GS FreqV 6000 follows U", kModelGS, 16, {{1, &LP::Freq, 6000}}, {{1, &LP::Freq, 5000}}},
    {"GS FreqU 6501", kModelGS, 16, {{0, &LP::Freq, 6501}}, {{0, &LP::Freq, 5000}}},
    {"GS FreqU 6500 shared",
     kModelGS,
     16,
     {{0, &LP::Freq, 6500}, {0, &LP::Wave, 4}},
     {{2, &LP::Freq, 6500}, {0, &LP::Wave, 4}}},
    {"GS times follow U",
     kModelGS,
     16,
     {{0, &LP::TimeM, 60}, {2, &LP::TimeH, 3}},
     {{0, &LP::TimeM, 0}, {1, &LP::TimeM, 0}, {2, &LP::TimeH, 0}}},
    {"GS mode 16 keeps per-phase voltage",
     kModelGS,
     16,
     {{1, &LP::Vol, 100}},
     {{1, &LP::Vol, 100}}},
    {"GS mode 0 copies voltage", kModelGS, 0, {{1, &LP::Vol, 100}}, {{1, &LP::Vol, 2200}}},
    {"other models leave the step", kModelFSA, 0, {{1, &LP::Vol, 3001}}, {{1, &LP::Vol, 3001}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ListStepCheck, testing::ValuesIn(kListStepCases));

using RP = RampPhase;
using RampStepCase = StepCase2<RP>;

class RampStepCheck : public testing::TestWithParam<RampStepCase> {
protected:
  void SetUp() override { InitAllPrograms(); }
};

TEST_P(RampStepCheck, CorrectsTheStep) {
  const RampStepCase &c = GetParam();
  gRampSet.OutMode = c.mode;
  for (const auto &f : c.set) {
    gRampRampSet[99].Phase[f.phase].*f.field = f.value;
  }
  const RampRampSet before = gRampRampSet[99];
  const int changed = DataRampCheckOneByModel(c.model, 99);
  EXPECT_EQ(changed, Differs(before, gRampRampSet[99])) << c.name;
  for (const auto &f : c.expect) {
    EXPECT_EQ(gRampRampSet[99].Phase[f.phase].*f.field, f.value) << c.name << " phase " << f.phase;
  }
}

const RampStepCase kRampStepCases[] = {
    {"VolStart 3001",
     kModelFPA,
     1,
     {{0, &RP::VolStart, 3001}, {0, &RP::VolLineStart, 100}},
     {{0, &RP::VolStart, 2200}, {0, &RP::VolLineStart, 3810}}},
    {"VolStop 3001",
     kModelFPA,
     1,
     {{1, &RP::VolStop, 3001}, {1, &RP::VolLineStop, 100}},
     {{1, &RP::VolStop, 2200}, {1, &RP::VolLineStop, 3810}, {1, &RP::VolLineStart, 3810}}},
    {"VolLineStart 5197",
     kModelFPB,
     1,
     {{2, &RP::VolStart, 100}, {2, &RP::VolLineStart, 5197}},
     {{2, &RP::VolStart, 2200}, {2, &RP::VolLineStart, 3810}}},
    {"VolLineStop 5196 kept",
     kModelGS,
     16,
     {{2, &RP::VolStop, 3000}, {2, &RP::VolLineStop, 5196}},
     {{2, &RP::VolStop, 3000}, {2, &RP::VolLineStop, 5196}}},
    {"VolLineStop -1",
     kModelGS,
     16,
     {{2, &RP::VolStop, 100}, {2, &RP::VolLineStop, -1}},
     {{2, &RP::VolStop, 2200}, {2, &RP::VolLineStop, 3810}}},
    {"FreqStart 24001",
     kModelFPA,
     1,
     {{1, &RP::FreqStart, 24001}, {1, &RP::FreqStop, 24000}},
     {{1, &RP::FreqStart, 5000}, {1, &RP::FreqStop, 24000}}},
    {"times out of range",
     kModelFPA,
     1,
     {{0, &RP::TimeH, -1}, {1, &RP::TimeM, 60}, {2, &RP::TimeS2P, 6000}},
     {{0, &RP::TimeH, 0}, {1, &RP::TimeM, 0}, {2, &RP::TimeS2P, 1500}}},
    {"waveform with a stop at 65.01 Hz",
     kModelFPA,
     1,
     {{2, &RP::FreqStop, 6501}, {2, &RP::Wave, 2}},
     {{2, &RP::Wave, 0}}},
    {"waveform with a start at 100 Hz",
     kModelFPA,
     1,
     {{2, &RP::FreqStart, 10000}, {2, &RP::Wave, 2}},
     {{2, &RP::Wave, 0}, {2, &RP::FreqStart, 10000}}},
    {"start out of range reset before the waveform rule",
     kModelFPA,
     1,
     {{2, &RP::FreqStart, 24001}, {2, &RP::Wave, 2}},
     {{2, &RP::Wave, 2}, {2, &RP::FreqStart, 5000}}},
    {"waveform inside the band",
     kModelFPB,
     1,
     {{0, &RP::FreqStart, 4500}, {0, &RP::FreqStop, 6500}, {0, &RP::Wave, 10}},
     {{0, &RP::Wave, 10}}},
    {"mode 5 copies U",
     kModelFPA,
     5,
     {{0, &RP::VolStop, 1000},
      {0, &RP::VolLineStop, 1732},
      {0, &RP::Wave, 1},
      {2, &RP::FreqStop, 6000}},
     {{2, &RP::VolStop, 1000},
      {2, &RP::VolLineStop, 1732},
      {1, &RP::Wave, 1},
      {2, &RP::FreqStop, 5000}}},
    {"mode 16 copies frequencies and times only",
     kModelFPB,
     16,
     {{1, &RP::VolStart, 100}, {0, &RP::FreqStop, 6000}, {0, &RP::TimeS2P, 20}},
     {{1, &RP::VolStart, 100}, {1, &RP::FreqStop, 6000}, {2, &RP::TimeS2P, 20}}},
    {"GS FreqStop 6501", kModelGS, 16, {{0, &RP::FreqStop, 6501}}, {{0, &RP::FreqStop, 5000}}},
    {"GS V follows U",
     kModelGS,
     16,
     {{1, &RP::FreqStart, 6000}, {2, &RP::TimeH, 4}},
     {{1, &RP::FreqStart, 5000}, {2, &RP::TimeH, 0}}},
    {"GS mode 0 copies voltages",
     kModelGS,
     0,
     {{1, &RP::VolStop, 100}, {0, &RP::Wave, 3}},
     {{1, &RP::VolStop, 2200}, {2, &RP::Wave, 3}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RampStepCheck, testing::ValuesIn(kRampStepCases));

// ---- Cross ----

using C = CrossSet;

TEST(CrossCheck, EntryFields) {
  struct Case {
    int32_t C::*field;
    int32_t value;
    int32_t expected;
  };
  const Case cases[] = {
      {&C::OutChannel, 0, 7},       {&C::OutChannel, 1, 1},
      {&C::OutChannel, 8, 7},       {&C::WaveV, 10, 10},
      {&C::WaveV, 11, 0},           {&C::WaveW, -1, 0},
      {&C::RatingVol, 3000, 3000},  {&C::RatingVol, 3001, 2200},
      {&C::RatingFreq, 4499, 5000}, {&C::RatingFreq, 6500, 6500},
      {&C::RatingFreq, 6501, 5000}, {&C::RatingTime, 19, 1000},
      {&C::RatingTime, 20, 20},     {&C::RatingTime, 100000, 1000},
      {&C::CrossAngle, -600, -600}, {&C::CrossAngle, -601, 0},
      {&C::CrossAngle, 600, 600},   {&C::CrossAngle, 601, 0},
      {&C::DropVol, 0, 0},          {&C::DropVol, 3001, 220},
      {&C::KeepTime, 10, 600},      {&C::KeepTime, 99999, 99999},
      {&C::KeepTime, 100000, 600},  {&C::RiseTime, 0, 0},
      {&C::RiseTime, -1, 1000},     {&C::ResumeVol, -1, 1980},
      {&C::ResumeVol, 3001, 1980},  {&C::EndTime, 19, 1000},
      {&C::EndTime, 20, 20},
  };
  for (const auto &c : cases) {
    InitAllPrograms();
    gCrossSet[7].*c.field = c.value;
    EXPECT_EQ(DataGSCrossCheckOne(7), c.value != c.expected ? 1 : 0) << c.value;
    EXPECT_EQ(gCrossSet[7].*c.field, c.expected) << c.value;
  }
}

TEST(CrossCheck, Header) {
  using L = CrossListSet;
  struct Case {
    Fields<L> set;
    Fields<L> expect;
  };
  const Case cases[] = {
      {{{&L::StartNo, 5}, {&L::StopNo, 3}}, {{&L::StartNo, 0}, {&L::StopNo, 7}}},
      {{{&L::StartNo, 3}, {&L::StopNo, 3}}, {{&L::StartNo, 3}, {&L::StopNo, 3}}},
      {{{&L::StartNo, 8}, {&L::StopNo, 3}}, {{&L::StartNo, 0}, {&L::StopNo, 3}}},
      {{{&L::StopNo, 8}}, {{&L::StopNo, 7}}},
      {{{&L::CircleDegree, 0}}, {{&L::CircleDegree, 1}}},
      {{{&L::CircleDegree, 999999}}, {{&L::CircleDegree, 999999}}},
      {{{&L::CircleDegree, 1000000}}, {{&L::CircleDegree, 1}}},
      {{{&L::CurrentNo, 7}}, {{&L::CurrentNo, 7}}},
      {{{&L::CurrentNo, 8}}, {{&L::CurrentNo, 7}}},
      {{{&L::CurrentNo, -1}}, {{&L::CurrentNo, 7}}},
  };
  for (const auto &c : cases) {
    InitAllPrograms();
    Apply(gCrossListSet, c.set);
    DataGSCrossCheckAll();
    ExpectFields(gCrossListSet, c.expect, "cross header");
  }
  InitAllPrograms();
  gCrossSet[0].KeepTime = 10;
  EXPECT_EQ(DataGSCrossCheckAll(), 1);
  EXPECT_EQ(gCrossSet[0].KeepTime, 600);
  EXPECT_EQ(DataGSCrossCheckAll(), 0);
}

// ---- THD ----

TEST(THDCheck, LimitsByHarmonicOrder) {
  struct Case {
    int order; // harmonic order, element order - 1
    int32_t percent, expectedPercent;
    int32_t angle, expectedAngle;
  };
  const Case cases[] = {
      {2, 120, 120, 3599, 3599}, {2, -1, 0, -1, 0},        {9, 120, 120, 0, 0},
      {9, 121, 0, 3600, 0},      {10, 70, 70, 100, 100},   {10, 71, 0, 100, 100},
      {29, 70, 70, 1, 1},        {29, 71, 0, 1, 1},        {30, 30, 30, 1, 1},
      {30, 31, 0, 1, 1},         {40, 30, 30, 3599, 3599}, {40, 31, 0, 3600, 0},
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
}

TEST(THDCheck, FundamentalIsNotExamined) {
  InitAllPrograms();
  gTHDSet[0].Percent[0] = 5000;
  gTHDSet[0].Angle[0] = -5;
  EXPECT_EQ(DataTHDCheckOne(0), 0);
  EXPECT_EQ(gTHDSet[0].Percent[0], 5000);
  EXPECT_EQ(gTHDSet[0].Angle[0], -5);
}

TEST(THDCalWave, PureFundamentalGroup) {
  InitAllPrograms();
  DataTHDCalWaveOne(4);
  const THDSet &t = gTHDSet[4];
  EXPECT_EQ(t.Percent[0], 1000);
  EXPECT_EQ(t.WaveRms, 2828);
  EXPECT_EQ(t.WaveMax, 3999);
  EXPECT_EQ(t.WaveValid, 1);
  EXPECT_EQ(t.Wave[270], -4000);
}

TEST(THDCalWave, FullSpectrumMatchesTheSynthesis) {
  InitAllPrograms();
  THDSet &t = gTHDSet[2];
  for (int n = 1; n < kTHDOrders; ++n) {
    t.Percent[n] = n <= 8 ? 120 : (n <= 28 ? 70 : 30);
    t.Angle[n] = (n * 977) % 3600;
  }
  THDSet copy = t;
  const int rms =
      Waver360MakeSinTHD(0, 1448, copy.Percent.data(), copy.Angle.data(), 40, copy.Wave.data());
  DataTHDCalWaveOne(2);
  EXPECT_EQ(t.WaveRms, rms);
  EXPECT_TRUE(std::equal(t.Wave.begin(), t.Wave.end(), copy.Wave.begin()));
  EXPECT_EQ(t.WaveMax, *std::max_element(copy.Wave.begin(), copy.Wave.end()));
  EXPECT_EQ(t.WaveValid, 1);
}

// ---- Defaults and choice by model ----

TEST(ProgramDefaults, AreLegalForEveryFamily) {
  for (const int model : {kModelFPA, kModelFPB, kModelGS}) {
    InitAllPrograms();
    EXPECT_EQ(DataStepCheckByModel(model), 0) << model;
    EXPECT_EQ(DataListCheckAllByModel(model), 0) << model;
    EXPECT_EQ(DataRampCheckAllByModel(model), 0) << model;
  }
  InitAllPrograms();
  EXPECT_EQ(DataGSCrossCheckAll(), 0);
  EXPECT_EQ(DataTHDCheckAll(), 0);
}

TEST(ProgramDefaults, Values) {
  InitAllPrograms();
  ExpectFields(gStepSet,
               {{&S::VolLineStart, 3811},
                {&S::VolStartW, 2200},
                {&S::FreqStartV, 5000},
                {&S::StepTimeS2PW, 1500},
                {&S::AngleVW, 1200},
                {&S::AngleUW, 2400}},
               "step");
  ExpectFields(gListSet,
               {{&H::StopNo, 99}, {&H::CircleDegree, 1}, {&H::AngleVW, 1200}, {&H::AngleUW, 2400}},
               "list");
  EXPECT_EQ(gListListSet[99].Phase[2].VolLine, 3810);
  EXPECT_EQ(gListListSet[99].Phase[2].TimeS2P, 1500);
  EXPECT_EQ(gRampRampSet[0].Phase[1].VolLineStop, 3810);
  EXPECT_EQ(gRampRampSet[0].Phase[1].FreqStop, 5000);
  EXPECT_EQ(gRampSet.StopNo, 99);
  EXPECT_EQ(gCrossListSet.StopNo, 7);
  ExpectFields(gCrossSet[7],
               {{&C::OutChannel, 7},
                {&C::DropVol, 220},
                {&C::KeepTime, 600},
                {&C::ResumeVol, 1980},
                {&C::RatingTime, 1000}},
               "cross");
  gTHDSet[5].WaveValid = 1;
  gTHDSet[5].Percent[3] = 50;
  DataFPInitTHDOne(5);
  EXPECT_EQ(gTHDSet[5].WaveValid, 0);
  EXPECT_EQ(gTHDSet[5].Percent[3], 0);
}

TEST(ProgramCheckByModel, PicksTheFamilyRules) {
  struct Case {
    int model;
    int outMode;
    int32_t freqStartU;
  };
  const Case cases[] = {
      {kModelFPA, 5, 8000}, {kModelFPB, 0, 8000}, {kModelGS, 0, 5000}, {kModelFSA, 5, 8000}};
  for (const auto &c : cases) {
    InitAllPrograms();
    gStepSet.OutMode = 5;
    gStepSet.FreqStartU = 8000;
    DataStepCheckByModel(c.model);
    EXPECT_EQ(gStepSet.OutMode, c.outMode) << c.model;
    EXPECT_EQ(gStepSet.FreqStartU, c.freqStartU) << c.model;

    gListSet.OutMode = 5;
    gListListSet[0].Phase[0].Freq = 8000;
    DataListCheckAllByModel(c.model);
    EXPECT_EQ(gListSet.OutMode, c.outMode) << c.model;
    EXPECT_EQ(gListListSet[0].Phase[0].Freq, c.freqStartU) << c.model;

    gRampSet.OutMode = 5;
    gRampRampSet[0].Phase[0].FreqStart = 8000;
    DataRampCheckAllByModel(c.model);
    EXPECT_EQ(gRampSet.OutMode, c.outMode) << c.model;
    EXPECT_EQ(gRampRampSet[0].Phase[0].FreqStart, c.freqStartU) << c.model;
  }
}

TEST(ProgramCheck, IndexOutsideTheRecordIsIgnored) {
  InitAllPrograms();
  EXPECT_EQ(DataFPListCheckOne(1, 100), 0);
  EXPECT_EQ(DataGSRampCheckOne(-1), 0);
  EXPECT_EQ(DataGSCrossCheckOne(8), 0);
  EXPECT_EQ(DataTHDCheckOne(10), 0);
  DataTHDCalWaveOne(10);
  DataFPInitListOne(100);
  DataFPInitCrossOne(-1);
}

} // namespace
