#include "settings/NormalSet.h"
#include "app/Globals.h"

#include <gtest/gtest.h>

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

using FP = NormalFPSet;
using FC = NormalFCSet;

struct FPCase {
  const char *name;
  int model;
  Fields<FP> set;
  Fields<FP> expect;
};

void PrintTo(const FPCase &c, std::ostream *os) { *os << c.name; }

class FPNormalCheck : public testing::TestWithParam<FPCase> {
protected:
  void SetUp() override {
    ResetProgramState();
    DataFPInitNormalAll();
  }
};

TEST_P(FPNormalCheck, CorrectsTheGroup) {
  const FPCase &c = GetParam();
  Apply(gNormalFPSet[3], c.set);
  const FP before = gNormalFPSet[3];
  const int changed = DataFPNormalCheckOneByModel(c.model, 3);
  ExpectFields(gNormalFPSet[3], c.expect, c.name);
  EXPECT_EQ(changed, std::memcmp(&before, &gNormalFPSet[3], sizeof(FP)) != 0 ? 1 : 0) << c.name;
}

const FPCase kFPCases[] = {
    {"default group untouched", kModelFPA, {}, {{&FP::VolU, 2200}, {&FP::VolLine, 3810}}},
    // Voltages: U and the line voltage are reset together.
    {"VolU 3000 kept",
     kModelFPA,
     {{&FP::VolU, 3000}, {&FP::VolLine, 5196}},
     {{&FP::VolU, 3000}, {&FP::VolLine, 5196}}},
    {"VolU 3001",
     kModelFPA,
     {{&FP::VolU, 3001}, {&FP::VolLine, 1000}},
     {{&FP::VolU, 2200}, {&FP::VolLine, 3810}, {&FP::VolV, 2200}}},
    {"VolU -1", kModelGS, {{&FP::VolU, -1}}, {{&FP::VolU, 2200}, {&FP::VolLine, 3810}}},
    {"VolV 0 kept in mode 1", kModelFPA, {{&FP::OutMode, 1}, {&FP::VolV, 0}}, {{&FP::VolV, 0}}},
    {"VolW 3001 in mode 1",
     kModelFSB,
     {{&FP::OutMode, 1}, {&FP::VolW, 3001}, {&FP::VolLevel, 2}},
     {{&FP::VolW, 2200}}},
    {"VolLine 5197",
     kModelFPA,
     {{&FP::OutMode, 1}, {&FP::VolU, 1000}, {&FP::VolLine, 5197}},
     {{&FP::VolU, 2200}, {&FP::VolLine, 3810}}},
    {"FL copies U to V and W",
     kModelFL,
     {{&FP::VolV, 100}, {&FP::VolW, 3001}},
     {{&FP::VolV, 2200}, {&FP::VolW, 2200}}},
    // Output modes by family.
    {"FSA mode 5", kModelFSA, {{&FP::OutMode, 5}}, {{&FP::OutMode, 5}}},
    {"FSA mode 16", kModelFSA, {{&FP::OutMode, 16}}, {{&FP::OutMode, 0}}},
    {"FSB mode 5", kModelFSB, {{&FP::OutMode, 5}}, {{&FP::OutMode, 0}}},
    {"FPA mode 16", kModelFPA, {{&FP::OutMode, 16}}, {{&FP::OutMode, 16}}},
    {"FPB mode 5", kModelFPB, {{&FP::OutMode, 5}}, {{&FP::OutMode, 0}}},
    {"FPB mode 16", kModelFPB, {{&FP::OutMode, 16}}, {{&FP::OutMode, 16}}},
    {"GS mode 1", kModelGS, {{&FP::OutMode, 1}}, {{&FP::OutMode, 0}}},
    {"FL mode 1", kModelFL, {{&FP::OutMode, 1}}, {{&FP::OutMode, 0}}},
    {"mode 2", kModelFPA, {{&FP::OutMode, 2}}, {{&FP::OutMode, 0}}},
    // Range codes.
    {"FPA mode 0 level 1 moves to 2 and keeps 220 V",
     kModelFPA,
     {{&FP::VolLevel, 1}},
     {{&FP::VolLevel, 2}, {&FP::VolU, 2200}, {&FP::VolLine, 3810}}},
    {"FPA mode 0 level 3", kModelFPA, {{&FP::VolLevel, 3}}, {{&FP::VolLevel, 3}}},
    {"FPA mode 1 level 3",
     kModelFPA,
     {{&FP::OutMode, 1}, {&FP::VolLevel, 3}},
     {{&FP::VolLevel, 2}}},
    {"FPB level 1 caps 220 V",
     kModelFPB,
     {{&FP::VolLevel, 1}},
     {{&FP::VolLevel, 1},
      {&FP::VolU, 1500},
      {&FP::VolLine, 2598},
      {&FP::VolV, 1500},
      {&FP::VolW, 1500}}},
    {"FPB level 3", kModelFPB, {{&FP::VolLevel, 3}}, {{&FP::VolLevel, 2}}},
    {"FSA mode 5 level 3",
     kModelFSA,
     {{&FP::OutMode, 5}, {&FP::VolLevel, 3}},
     {{&FP::VolLevel, 3}}},
    {"FSB level 0", kModelFSB, {{&FP::VolLevel, 0}}, {{&FP::VolLevel, 2}}},
    {"GS level 1", kModelGS, {{&FP::VolLevel, 1}}, {{&FP::VolLevel, 2}, {&FP::VolU, 2200}}},
    {"GS level 3", kModelGS, {{&FP::VolLevel, 3}}, {{&FP::VolLevel, 2}}},
    {"FL level 3", kModelFL, {{&FP::VolLevel, 3}}, {{&FP::VolLevel, 3}}},
    {"FL level 1", kModelFL, {{&FP::VolLevel, 1}}, {{&FP::VolLevel, 2}, {&FP::VolU, 2200}}},
    // Low range caps.
    {"FPB mode 1 VolV 1501",
     kModelFPB,
     {{&FP::OutMode, 1},
      {&FP::VolLevel, 1},
      {&FP::VolU, 1500},
      {&FP::VolLine, 2598},
      {&FP::VolV, 1501},
      {&FP::VolW, 1500}},
     {{&FP::VolV, 1500}, {&FP::VolW, 1500}, {&FP::VolU, 1500}}},
    {"FPB mode 1 VolLine 2599",
     kModelFPB,
     {{&FP::OutMode, 1},
      {&FP::VolLevel, 1},
      {&FP::VolU, 1000},
      {&FP::VolLine, 2599},
      {&FP::VolV, 1000},
      {&FP::VolW, 1000}},
     {{&FP::VolLine, 2598}, {&FP::VolU, 1500}, {&FP::VolV, 1000}}},
    {"FSB low range at the cap",
     kModelFSB,
     {{&FP::VolLevel, 1},
      {&FP::VolU, 1500},
      {&FP::VolV, 1500},
      {&FP::VolW, 1500},
      {&FP::VolLine, 2598}},
     {{&FP::VolU, 1500}, {&FP::VolLine, 2598}}},
    // Frequencies.
    {"FPA FreqU 24000",
     kModelFPA,
     {{&FP::FreqU, 24000}},
     {{&FP::FreqU, 24000}, {&FP::FreqW, 24000}}},
    {"FPA FreqU 24001", kModelFPA, {{&FP::FreqU, 24001}}, {{&FP::FreqU, 5000}}},
    {"FPA FreqU 40000", kModelFPA, {{&FP::FreqU, 40000}}, {{&FP::FreqU, 5000}}},
    {"FSA FreqU 4499", kModelFSA, {{&FP::FreqU, 4499}}, {{&FP::FreqU, 5000}}},
    {"FPA FreqU 4500", kModelFPA, {{&FP::FreqU, 4500}}, {{&FP::FreqU, 4500}, {&FP::FreqV, 4500}}},
    {"FPA mode 1 keeps per-phase frequencies",
     kModelFPA,
     {{&FP::OutMode, 1}, {&FP::FreqV, 6000}, {&FP::FreqW, 24001}},
     {{&FP::FreqU, 5000}, {&FP::FreqV, 6000}, {&FP::FreqW, 5000}}},
    {"GS FreqU 8000", kModelGS, {{&FP::FreqU, 8000}}, {{&FP::FreqU, 5000}}},
    {"GS FreqU 6500", kModelGS, {{&FP::FreqU, 6500}}, {{&FP::FreqU, 6500}}},
    {"GS mode 0 keeps per-phase frequencies",
     kModelGS,
     {{&FP::FreqV, 6000}, {&FP::FreqW, 6501}},
     {{&FP::FreqV, 6000}, {&FP::FreqW, 5000}}},
    {"FL FreqU 6501", kModelFL, {{&FP::FreqU, 6501}}, {{&FP::FreqU, 5000}}},
    {"FL copies FreqU",
     kModelFL,
     {{&FP::FreqU, 6000}, {&FP::FreqV, 7000}},
     {{&FP::FreqV, 6000}, {&FP::FreqW, 6000}}},
    // Rise time and angles.
    {"RiseTime 999", kModelFPA, {{&FP::RiseTime, 999}}, {{&FP::RiseTime, 999}}},
    {"RiseTime 1000", kModelFPA, {{&FP::RiseTime, 1000}}, {{&FP::RiseTime, 0}}},
    {"RiseTime -1", kModelFL, {{&FP::RiseTime, -1}}, {{&FP::RiseTime, 0}}},
    {"angles 3599 kept",
     kModelFPA,
     {{&FP::AngleUV, 3599}, {&FP::AngleVW, 3599}, {&FP::AngleUW, 3599}},
     {{&FP::AngleUV, 3599}, {&FP::AngleVW, 3599}, {&FP::AngleUW, 3599}}},
    {"angles 3600",
     kModelFSA,
     {{&FP::AngleUV, 3600}, {&FP::AngleVW, 3600}, {&FP::AngleUW, 3600}},
     {{&FP::AngleUV, 1200}, {&FP::AngleVW, 1200}, {&FP::AngleUW, 2400}}},
    {"angles -1",
     kModelGS,
     {{&FP::AngleUV, -1}, {&FP::AngleVW, -1}, {&FP::AngleUW, -1}},
     {{&FP::AngleUV, 1200}, {&FP::AngleVW, 1200}, {&FP::AngleUW, 2400}}},
    {"mode 16 derives AngleVW",
     kModelFPA,
     {{&FP::OutMode, 16}, {&FP::AngleUV, 2400}, {&FP::AngleUW, 1200}, {&FP::AngleVW, 0}},
     {{&FP::AngleVW, 2400}}},
    {"GS mode 16 derives from corrected angles",
     kModelGS,
     {{&FP::OutMode, 16}, {&FP::AngleUV, 3600}, {&FP::AngleUW, 300}},
     {{&FP::AngleUV, 1200}, {&FP::AngleVW, 2700}}},
    {"mode 0 keeps AngleVW",
     kModelFPA,
     {{&FP::AngleUV, 2400}, {&FP::AngleVW, 5}},
     {{&FP::AngleVW, 5}}},
    // Balanced modes: phases follow U, the line voltage tolerates 1.
    {"line 3800 corrected", kModelFPA, {{&FP::VolLine, 3800}}, {{&FP::VolLine, 3810}}},
    {"line 3811 kept", kModelFPA, {{&FP::VolLine, 3811}}, {{&FP::VolLine, 3811}}},
    {"line 3809 kept", kModelFPA, {{&FP::VolLine, 3809}}, {{&FP::VolLine, 3809}}},
    {"line 3812 corrected", kModelFSA, {{&FP::VolLine, 3812}}, {{&FP::VolLine, 3810}}},
    {"mode 5 copies U",
     kModelFPA,
     {{&FP::OutMode, 5}, {&FP::VolV, 100}, {&FP::FreqW, 6000}},
     {{&FP::VolV, 2200}, {&FP::FreqW, 5000}}},
    {"mode 16 leaves the line voltage",
     kModelFPA,
     {{&FP::OutMode, 16}, {&FP::VolLine, 3000}, {&FP::VolV, 100}},
     {{&FP::VolLine, 3000}, {&FP::VolV, 100}}},
    // Waveforms.
    {"FSA waveform always sine",
     kModelFSA,
     {{&FP::WaveU, 3}, {&FP::WaveW, 1}},
     {{&FP::WaveU, 0}, {&FP::WaveW, 0}}},
    {"FL waveform always sine", kModelFL, {{&FP::WaveV, 2}}, {{&FP::WaveV, 0}}},
    {"FPA waveform 10", kModelFPA, {{&FP::WaveU, 10}}, {{&FP::WaveU, 10}}},
    {"FPA waveform 11", kModelFPA, {{&FP::WaveU, 11}}, {{&FP::WaveU, 0}}},
    {"GS waveform -1",
     kModelGS,
     {{&FP::WaveW, -1}, {&FP::WaveU, 4}},
     {{&FP::WaveW, 0}, {&FP::WaveU, 4}}},
    {"FPA 100 Hz clears every waveform",
     kModelFPA,
     {{&FP::FreqU, 10000}, {&FP::WaveU, 3}, {&FP::WaveV, 2}, {&FP::WaveW, 1}},
     {{&FP::WaveU, 0}, {&FP::WaveV, 0}, {&FP::WaveW, 0}}},
    {"FPA 65 Hz keeps the waveform",
     kModelFPA,
     {{&FP::FreqU, 6500}, {&FP::WaveU, 3}},
     {{&FP::WaveU, 3}}},
    {"FPA 65.01 Hz", kModelFPA, {{&FP::FreqU, 6501}, {&FP::WaveU, 3}}, {{&FP::WaveU, 0}}},
    {"FPA 100 Hz with sine on U keeps V",
     kModelFPA,
     {{&FP::FreqU, 10000}, {&FP::WaveU, 0}, {&FP::WaveV, 3}},
     {{&FP::WaveV, 3}}},
    {"FPB mode 1 judges each phase",
     kModelFPB,
     {{&FP::OutMode, 1},
      {&FP::WaveU, 3},
      {&FP::FreqV, 10000},
      {&FP::WaveV, 3},
      {&FP::FreqW, 4499},
      {&FP::WaveW, 3}},
     {{&FP::WaveU, 3}, {&FP::WaveV, 0}, {&FP::FreqW, 5000}, {&FP::WaveW, 3}}},
    {"FPA mode 0 FreqV out of band copied first",
     kModelFPA,
     {{&FP::FreqV, 10000}, {&FP::WaveV, 3}},
     {{&FP::FreqV, 5000}, {&FP::WaveV, 3}}},
    // Phase selection.
    {"mode 1 channel 0 kept",
     kModelFPA,
     {{&FP::OutMode, 1}, {&FP::OutChannel, 0}},
     {{&FP::OutChannel, 0}}},
    {"mode 1 channel 8",
     kModelFPA,
     {{&FP::OutMode, 1}, {&FP::OutChannel, 8}},
     {{&FP::OutChannel, 7}}},
    {"mode 1 channel -1",
     kModelFSB,
     {{&FP::OutMode, 1}, {&FP::OutChannel, -1}},
     {{&FP::OutChannel, 7}}},
    {"mode 0 channel 3", kModelFPA, {{&FP::OutChannel, 3}}, {{&FP::OutChannel, 7}}},
    {"FL channel 1", kModelFL, {{&FP::OutChannel, 1}}, {{&FP::OutChannel, 7}}},
    {"mode 16 channel 0",
     kModelGS,
     {{&FP::OutMode, 16}, {&FP::OutChannel, 0}},
     {{&FP::OutChannel, 7}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, FPNormalCheck, testing::ValuesIn(kFPCases));

struct FCCase {
  const char *name;
  int isFCT;
  Fields<FC> set;
  Fields<FC> expect;
};

void PrintTo(const FCCase &c, std::ostream *os) { *os << c.name; }

class FCCheck : public testing::TestWithParam<FCCase> {
protected:
  void SetUp() override {
    ResetProgramState();
    DataFCInitAll();
  }
};

TEST_P(FCCheck, CorrectsTheGroup) {
  const FCCase &c = GetParam();
  Apply(gNormalFCSet[6], c.set);
  const FC before = gNormalFCSet[6];
  const int changed = DataFCCheckOne(c.isFCT, 6);
  ExpectFields(gNormalFCSet[6], c.expect, c.name);
  EXPECT_EQ(changed, std::memcmp(&before, &gNormalFCSet[6], sizeof(FC)) != 0 ? 1 : 0) << c.name;
}

const FCCase kFCCases[] = {
    {"Freq 450", 1, {{&FC::Freq, 450}}, {{&FC::Freq, 450}}},
    {"Freq 650", 1, {{&FC::Freq, 650}}, {{&FC::Freq, 650}}},
    {"Freq 449", 1, {{&FC::Freq, 449}}, {{&FC::Freq, 500}}},
    {"Freq 651", 1, {{&FC::Freq, 651}}, {{&FC::Freq, 500}}},
    {"Freq 700", 1, {{&FC::Freq, 700}}, {{&FC::Freq, 500}}},
    {"Freq 1000", 1, {{&FC::Freq, 1000}}, {{&FC::Freq, 1000}}},
    {"Freq 1200", 0, {{&FC::Freq, 1200}}, {{&FC::Freq, 1200}}},
    {"Freq 2000", 1, {{&FC::Freq, 2000}}, {{&FC::Freq, 2000}}},
    {"Freq 2400", 1, {{&FC::Freq, 2400}}, {{&FC::Freq, 2400}}},
    {"Freq 2401", 1, {{&FC::Freq, 2401}}, {{&FC::Freq, 500}}},
    {"Vol 10", 1, {{&FC::Vol, 10}, {&FC::VolLine, 17}}, {{&FC::Vol, 10}, {&FC::VolLine, 17}}},
    {"Vol 9", 1, {{&FC::Vol, 9}, {&FC::VolLine, 17}}, {{&FC::Vol, 2200}, {&FC::VolLine, 3810}}},
    {"Vol 3001", 1, {{&FC::Vol, 3001}}, {{&FC::Vol, 2200}, {&FC::VolLine, 3810}}},
    {"VolLine 16",
     1,
     {{&FC::Vol, 100}, {&FC::VolLine, 16}},
     {{&FC::Vol, 2200}, {&FC::VolLine, 3810}}},
    {"VolLine 5196",
     1,
     {{&FC::Vol, 3000}, {&FC::VolLine, 5196}},
     {{&FC::Vol, 3000}, {&FC::VolLine, 5196}}},
    {"VolLine 5197",
     1,
     {{&FC::Vol, 3000}, {&FC::VolLine, 5197}},
     {{&FC::Vol, 2200}, {&FC::VolLine, 3810}}},
    {"VolLevel 0", 1, {{&FC::VolLevel, 0}}, {{&FC::VolLevel, 0}}},
    {"VolLevel 2", 1, {{&FC::VolLevel, 2}}, {{&FC::VolLevel, 1}}},
    {"VolLevel -1", 1, {{&FC::VolLevel, -1}}, {{&FC::VolLevel, 1}}},
    {"FCT mode 4", 1, {{&FC::OutMode, 4}}, {{&FC::OutMode, 4}}},
    {"FCT mode 1", 1, {{&FC::OutMode, 1}}, {{&FC::OutMode, 0}}},
    {"FCT mode 5", 1, {{&FC::OutMode, 5}}, {{&FC::OutMode, 0}}},
    {"FCS mode 0", 0, {{&FC::OutMode, 0}}, {{&FC::OutMode, 5}}},
    {"FCS mode 5", 0, {{&FC::OutMode, 5}}, {{&FC::OutMode, 5}}},
    {"UpUPer 4", 1, {{&FC::UpUPer, 4}}, {{&FC::UpUPer, 5}}},
    {"UpUPer 30", 1, {{&FC::UpUPer, 30}}, {{&FC::UpUPer, 30}}},
    {"UpUPer 31", 1, {{&FC::UpUPer, 31}}, {{&FC::UpUPer, 5}}},
    {"DownUPer 31",
     1,
     {{&FC::DownUPer, 31}, {&FC::UpUPer, 12}},
     {{&FC::DownUPer, 5}, {&FC::UpUPer, 12}}},
    {"DownUPer 4", 1, {{&FC::DownUPer, 4}}, {{&FC::DownUPer, 5}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, FCCheck, testing::ValuesIn(kFCCases));

TEST(NormalDefaults, FCGroupsAndSystem) {
  ResetProgramState();
  gSystemSet.OCP_Define = 55;
  gSystemSet.DeviceSysByte = 1;
  gSystemSet.StartRise = 300;
  gNormalFCSet[6].VolUp = 77;
  DataFCInitAll();
  for (const FC &g : gNormalFCSet) {
    ExpectFields(g,
                 {{&FC::Freq, 500},
                  {&FC::Vol, 2200},
                  {&FC::VolLine, 3810},
                  {&FC::VolLevel, 1},
                  {&FC::UpUPer, 5},
                  {&FC::DownUPer, 5},
                  {&FC::OutMode, 0}},
                 "FC group");
  }
  EXPECT_EQ(gNormalFCSet[6].VolUp, 77);
  EXPECT_EQ(gSystemSet.StartRise, 0);
  EXPECT_EQ(gSystemSet.IfKeySound, 1);
  EXPECT_EQ(gSystemSet.OCP_Define, 55);
  EXPECT_EQ(gSystemSet.DeviceSysByte, 1);
  // The FCS rules turn the default mode into single phase.
  EXPECT_EQ(DataFCCheckAll(0), 1);
  EXPECT_EQ(gNormalFCSet[0].OutMode, 5);
  EXPECT_EQ(DataFCCheckAll(0), 0);
}

TEST(NormalDefaults, FPGroupsAndSystem) {
  ResetProgramState();
  gSystemSet.OCP_Define = 55;
  gSystemSet.StartRise = 300;
  gSystemSet.DeviceSysByte = 1;
  gNormalFPSet[9].AngleVW = 1234;
  DataFPInitNormalAll();
  for (const FP &g : gNormalFPSet) {
    ExpectFields(g,
                 {{&FP::VolU, 2200},
                  {&FP::VolV, 2200},
                  {&FP::VolW, 2200},
                  {&FP::VolLine, 3810},
                  {&FP::FreqU, 5000},
                  {&FP::FreqV, 5000},
                  {&FP::FreqW, 5000},
                  {&FP::VolLevel, 2},
                  {&FP::OutMode, 0},
                  {&FP::RiseTime, 0},
                  {&FP::OutChannel, 7},
                  {&FP::AngleUV, 1200},
                  {&FP::AngleUW, 2400},
                  {&FP::WaveU, 0}},
                 "FP group");
  }
  EXPECT_EQ(gNormalFPSet[9].AngleVW, 1234);
  EXPECT_EQ(gSystemSet.OCP_Define, 0);
  EXPECT_EQ(gSystemSet.StartRise, 300);
  EXPECT_EQ(gSystemSet.DeviceSysByte, 1);
  EXPECT_EQ(gSystemSet.IfKeySound, 1);
}

struct SystemCase {
  Fields<SystemSet> set;
  Fields<SystemSet> expectFC;
  Fields<SystemSet> expectFP;
};

TEST(NormalCheckAll, SystemFields) {
  using S = SystemSet;
  const SystemCase cases[] = {
      {{{&S::UDisMode, 1}}, {{&S::UDisMode, 1}}, {{&S::UDisMode, 1}}},
      {{{&S::UDisMode, 2}}, {{&S::UDisMode, 0}}, {{&S::UDisMode, 0}}},
      {{{&S::UCompensation, 5000}}, {{&S::UCompensation, 5000}}, {{&S::UCompensation, 5000}}},
      {{{&S::UCompensation, 5001}}, {{&S::UCompensation, 0}}, {{&S::UCompensation, 0}}},
      {{{&S::UCompensation, -1}}, {{&S::UCompensation, 0}}, {{&S::UCompensation, 0}}},
      {{{&S::StartRise, 999}}, {{&S::StartRise, 999}}, {{&S::StartRise, 999}}},
      {{{&S::StartRise, 1000}}, {{&S::StartRise, 0}}, {{&S::StartRise, 1000}}},
      {{{&S::IfKeySound, 0}}, {{&S::IfKeySound, 0}}, {{&S::IfKeySound, 0}}},
      {{{&S::IfKeySound, 2}}, {{&S::IfKeySound, 1}}, {{&S::IfKeySound, 1}}},
      {{{&S::IfKeySound, -1}}, {{&S::IfKeySound, 1}}, {{&S::IfKeySound, 1}}},
      {{{&S::OCP_Define, -5}}, {{&S::OCP_Define, -5}}, {{&S::OCP_Define, -5}}},
  };
  for (const auto &c : cases) {
    ResetProgramState();
    DataFCInitAll();
    DataFCCheckAll(1);
    Apply(gSystemSet, c.set);
    const int changedFC = DataFCCheckAll(1);
    ExpectFields(gSystemSet, c.expectFC, "FC");
    EXPECT_EQ(changedFC, c.set[0].second != (gSystemSet.*c.set[0].first) ? 1 : 0);

    ResetProgramState();
    DataFPInitNormalAll();
    Apply(gSystemSet, c.set);
    const int changedFP = DataGSNormalCheckAll();
    ExpectFields(gSystemSet, c.expectFP, "FP");
    EXPECT_EQ(changedFP, c.set[0].second != (gSystemSet.*c.set[0].first) ? 1 : 0);
  }
}

TEST(NormalCheckAll, EveryGroupIsChecked) {
  ResetProgramState();
  DataFPInitNormalAll();
  gNormalFPSet[0].RiseTime = 1000;
  gNormalFPSet[9].WaveU = 11;
  EXPECT_EQ(DataFPNormalCheckAll(1), 1);
  EXPECT_EQ(gNormalFPSet[0].RiseTime, 0);
  EXPECT_EQ(gNormalFPSet[9].WaveU, 0);
  EXPECT_EQ(DataFPNormalCheckAll(1), 0);
}

// One group probed with every model code: the result tells which rules ran.
TEST(NormalCheckByModel, PicksTheFamilyRoutine) {
  struct Case {
    int model;
    int outMode, volLevel, waveU, freqV;
    int changed;
  };
  const Case cases[] = {
      {kModelFSA, 5, 3, 0, 6000, 1}, {kModelFSB, 0, 2, 0, 6000, 1}, {kModelFPA, 5, 3, 3, 6000, 1},
      {kModelFPB, 0, 2, 3, 6000, 1}, {kModelGS, 0, 2, 3, 5000, 1},  {kModelFL, 0, 3, 0, 6000, 1},
      {kModelFCS, 5, 3, 3, 7000, 0}, {0, 5, 3, 3, 7000, 0},
  };
  for (const auto &c : cases) {
    for (const bool all : {false, true}) {
      ResetProgramState();
      DataFPInitNormalAll();
      FP &g = gNormalFPSet[all ? 8 : 2];
      Apply(g, {{&FP::OutMode, 5},
                {&FP::VolLevel, 3},
                {&FP::FreqU, 6000},
                {&FP::FreqV, 7000},
                {&FP::FreqW, 6000},
                {&FP::WaveU, 3}});
      const int changed =
          all ? DataFPNormalCheckAllByModel(c.model) : DataFPNormalCheckOneByModel(c.model, 2);
      const std::string name = "model " + std::to_string(c.model);
      EXPECT_EQ(changed, c.changed) << name;
      ExpectFields(g,
                   {{&FP::OutMode, c.outMode},
                    {&FP::VolLevel, c.volLevel},
                    {&FP::WaveU, c.waveU},
                    {&FP::FreqV, c.freqV}},
                   name.c_str());
    }
  }
}

TEST(NormalCheckByModel, FCFilesAlwaysUseTheFCRules) {
  const std::pair<int, int> cases[] = {{kModelFCT, 0}, {kModelFCS, 5}, {kModelFPA, 5}, {0, 5}};
  for (const auto &[model, mode] : cases) {
    ResetProgramState();
    DataFCInitAll();
    DataFCCheckAllByModel(model);
    EXPECT_EQ(gNormalFCSet[4].OutMode, mode) << model;
    gNormalFCSet[2].OutMode = 3;
    DataFCCheckOneByModel(model, 2);
    EXPECT_EQ(gNormalFCSet[2].OutMode, mode == 0 ? 3 : 5) << model;
  }
  ResetProgramState();
  DataFCInitAll();
  DataFPInitNormalAll();
  gNormalFPSet[1].OutMode = 5;
  EXPECT_EQ(DataNormalCheckAllByModel(kModelFCS), 1);
  EXPECT_EQ(gNormalFCSet[0].OutMode, 5);
  EXPECT_EQ(gNormalFPSet[1].OutMode, 5);
  EXPECT_EQ(DataNormalCheckAllByModel(kModelFSB), 1);
  EXPECT_EQ(gNormalFPSet[1].OutMode, 0);
  EXPECT_EQ(DataNormalCheckAllByModel(99), 0);
}

TEST(NormalCheck, GroupOutsideTheRecordIsIgnored) {
  ResetProgramState();
  EXPECT_EQ(DataFPNormalCheckOne(1, 10), 0);
  EXPECT_EQ(DataFCCheckOne(1, 7), 0);
  EXPECT_EQ(DataGSNormalCheckOne(-1), 0);
  DataFPInitNormalOne(10);
  DataFCInitOne(-1);
}

} // namespace
