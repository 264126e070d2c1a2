// Every block through both sides: the program encodes its records, the
// source stores them, the source answers the read with what it stored, and
// the program decodes that into equal records.
#include "SimTestLink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

// Compares two records field by field (all fields are int32_t) and names
// the first field index that differs.
template <typename T>::testing::AssertionResult SameFields(const T &a, const T &b) {
  static_assert(sizeof(T) % sizeof(int32_t) == 0);
  int32_t x[sizeof(T) / sizeof(int32_t)], y[sizeof(T) / sizeof(int32_t)];
  std::memcpy(x, &a, sizeof(T));
  std::memcpy(y, &b, sizeof(T));
  for (size_t i = 0; i < sizeof(T) / sizeof(int32_t); ++i)
    if (x[i] != y[i])
      return ::testing::AssertionFailure()
             << "field " << i << ": read back " << x[i] << ", expected " << y[i];
  return ::testing::AssertionSuccess();
}

struct Cmd {
  int Cmd1, Cmd2, Param;
};

struct BlockCase {
  const char *Name;
  std::vector<int32_t> Models;
  std::function<void(SettingRecords &)> Fill; // the values the program writes
  std::vector<Cmd> Writes;
  std::vector<Cmd> Reads;
  // What the program holds after the reads, from what it wrote: fields the
  // block does not carry stay 0, derived fields are derived.
  std::function<void(SettingRecords &)> Carried;
};

int32_t Line(int32_t phase) { return phase * 1732 / 1000; }

void FillFPGroup(NormalFPSet &g, int32_t mode, int salt) {
  g.OutMode = mode;
  g.OutChannel = mode == 1 ? 5 : 7;
  g.VolU = 1100 + salt;
  g.VolV = mode == 0 ? g.VolU : 1200 + salt;
  g.VolW = mode == 0 ? g.VolU : 1300 + salt;
  g.VolLine = Line(g.VolU);
  g.VolLevel = 2;
  g.FreqU = 5000 + salt;
  g.FreqV = mode == 1 ? 6000 + salt : g.FreqU;
  g.FreqW = mode == 1 ? 4500 + salt : g.FreqU;
  g.RiseTime = 30 + salt;
  g.AngleUV = 1100 + salt;
  g.AngleVW = 1300;
  g.AngleUW = 2400 - salt;
  g.WaveU = 1;
  g.WaveV = 2;
  g.WaveW = 3;
}

void FillStep(StepSet &s) {
  s = StepSet{1,   1,  2,  3,         1150, 1250, 2400, 2200, 2100, 2000, Line(2200),
              -25, 30, -1, Line(-25), 5000, 5100, 5200, -10,  20,   0,    4,
              5,   6,  0,  1,         2,    3,    4,    5,    1500, 2500, 5998};
}

void FillListStep(ListListSet &step, int n) {
  for (int p = 0; p < 3; ++p)
    step.Phase[p] = {1000 + 10 * n + p, 0, 5000 + n + 100 * p, p, n % 60, 100 * n + p, p + 1};
}

void FillRampStep(RampRampSet &step, int n) {
  for (int p = 0; p < 3; ++p)
    step.Phase[p] = {1000 + n, 2000 - n + p, 0, 0, 5000 + p, 6000 - n, 1, 2, 300 + n, p};
}

void FillTHD(THDSet &g, int salt) {
  for (int i = 1; i < kTHDOrders; ++i) {
    g.Percent[i] = (i * 7 + salt) % 31;
    g.Angle[i] = (i * 97 + salt) % 3600;
  }
}

// Everything the THD blocks do not carry: index 0 and the synthesis.
void KeepTHDSpectrum(THDSet &g) {
  THDSet spectrum{};
  for (int i = 1; i < kTHDOrders; ++i) {
    spectrum.Percent[i] = g.Percent[i];
    spectrum.Angle[i] = g.Angle[i];
  }
  g = spectrum;
}

std::vector<Cmd> Each(int cmd1, int cmd2, int count) {
  std::vector<Cmd> cmds;
  for (int i = 0; i < count; ++i)
    cmds.push_back({cmd1, cmd2, i});
  return cmds;
}

std::vector<Cmd> Join(std::vector<Cmd> a, const std::vector<Cmd> &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<int32_t> kFS = {kModelFSA, kModelFSB};
const std::vector<int32_t> kFP = {kModelFPA, kModelFPB, kModelGS};
const std::vector<int32_t> kFC = {kModelFCT, kModelFCS};

void NoChange(SettingRecords &) {}

void FCGroups(SettingRecords &r) {
  for (int g = 0; g < kFCGroupCount; ++g) {
    const int mode = gPowerInfo.ModelType == kModelFCS ? 5 : g % 2 ? 2 : 0;
    r.NormalFC[g] = {450 + g, 1000 + g, 0, g % 2, mode, 5 + g, 30 - g, 7, 8, 9};
  }
}

// The FS group carries no angles and no waveforms.
void FSCarried(SettingRecords &r) {
  for (auto &g : r.NormalFP)
    g.AngleUV = g.AngleVW = g.AngleUW = g.WaveU = g.WaveV = g.WaveW = 0;
}

std::vector<BlockCase> Cases() {
  // clang-format off
  return {
      {"FC normal groups", kFC, FCGroups, Each(0x5A, 0x21, kFCGroupCount), Each(0xA5, 0x21, kFCGroupCount),
       [](SettingRecords &r) { for (auto &g : r.NormalFC) { g.VolLine = Line(g.Vol); g.VolBase = g.VolUp = g.VolDown = 0; } }},
      {"FC system", kFC, [](SettingRecords &r) { r.System = {1, 4321, 9, 250, 0, 543}; }, {{0x5A, 0x30, 0}}, {{0xA5, 0x30, 0}},
       [](SettingRecords &r) { r.System.DeviceSysByte = 0; }},
      {"FS normal groups, separate phases", kFS, [](SettingRecords &r) { for (int g = 0; g < kFPGroupCount; ++g) FillFPGroup(r.NormalFP[g], 1, g); },
       Each(0x5A, 0x21, kFPGroupCount), Each(0xA5, 0x21, kFPGroupCount), FSCarried},
      {"FS and FL normal groups, balanced", {kModelFSA, kModelFSB, kModelFL},
       [](SettingRecords &r) { for (int g = 0; g < kFPGroupCount; ++g) FillFPGroup(r.NormalFP[g], 0, g); },
       Each(0x5A, 0x21, kFPGroupCount), Each(0xA5, 0x21, kFPGroupCount), FSCarried},
      {"FS and FL system", {kModelFSA, kModelFSB, kModelFL}, [](SettingRecords &r) { r.System = {1, 1234, 1, 0, 0, 88}; },
       {{0x5A, 0x30, 0}}, {{0xA5, 0x30, 0}},
       [](SettingRecords &r) { if (gPowerInfo.ModelType == kModelFSB) r.System.UCompensation = 0; }}, // FSB has none
      {"FP and GS normal groups", kFP,
       [](SettingRecords &r) { for (int g = 0; g < kFPGroupCount; ++g) FillFPGroup(r.NormalFP[g], gPowerInfo.ModelType == kModelGS ? 16 : 1, g); },
       Each(0x5A, 0x21, kFPGroupCount), Each(0xA5, 0x21, kFPGroupCount),
       [](SettingRecords &r) { if (gPowerInfo.ModelType == kModelGS) for (auto &g : r.NormalFP) g.OutChannel = 0; }}, // a GS reply never stores it
      {"FP and GS system", kFP, [](SettingRecords &r) { r.System = {1, 4000, 1, 0, 1, 77}; }, {{0x5A, 0x30, 0}}, {{0xA5, 0x30, 0}},
       [](SettingRecords &r) { if (gPowerInfo.ModelType == kModelFPB) r.System.UCompensation = 0; }},
      {"Step", kFP, [](SettingRecords &r) { FillStep(r.Step); }, {{0x5A, 0x22, 0}}, {{0xA5, 0x22, 0}}, NoChange},
      {"List", kFP,
       [](SettingRecords &r) { r.List = {3, 97, 123456, 1, 1200, 1100, 2300, 42}; for (int n = 0; n < kProgramStepCount; ++n) FillListStep(r.ListList[n], n); },
       Join({{0x5A, 0x23, 0}}, Each(0x5A, 0x24, kProgramStepCount)), Join({{0xA5, 0x23, 0}}, Each(0xA5, 0x24, kProgramStepCount)),
       [](SettingRecords &r) {
         r.List.CurrentNo = 0;
         for (auto &s : r.ListList) { s.Phase[0].VolLine = Line(s.Phase[0].Vol); s.Phase[1].VolLine = s.Phase[2].VolLine = 0; }
       }},
      {"Ramp", kFP,
       [](SettingRecords &r) { r.Ramp = {0, 99, 999999, 1, 0, 3599, 1, 0}; for (int n = 0; n < kProgramStepCount; ++n) FillRampStep(r.RampRamp[n], n); },
       Join({{0x5A, 0x25, 0}}, Each(0x5A, 0x26, kProgramStepCount)), Join({{0xA5, 0x25, 0}}, Each(0xA5, 0x26, kProgramStepCount)),
       [](SettingRecords &r) {
         for (auto &s : r.RampRamp) { s.Phase[0].VolLineStart = Line(s.Phase[0].VolStart); s.Phase[0].VolLineStop = Line(s.Phase[0].VolStop); }
       }},
      {"Cross", {kModelGS},
       [](SettingRecords &r) {
         r.CrossList = {1, 6, 54321, 3};
         for (int e = 0; e < kCrossEntryCount; ++e)
           r.Cross[e] = {e % 7 + 1, 1, 2, 3, 2000 + e, 5000 + e, 99999 - e, e * 100 - 600, 100 + e, 20 + e, 70000 + e, 2000 - e, 65536 + e};
       },
       Join({{0x5A, 0x28, 0}}, Each(0x5A, 0x29, kCrossEntryCount)), Join({{0xA5, 0x28, 0}}, Each(0xA5, 0x29, kCrossEntryCount)),
       [](SettingRecords &r) { r.CrossList.CurrentNo = 0; }},
      {"THD whole groups", kFP, [](SettingRecords &r) { for (int g = 0; g < kTHDGroupCount; ++g) FillTHD(r.THD[g], g); },
       Each(0x5A, 0x31, kTHDGroupCount), Each(0xA5, 0x31, kTHDGroupCount), [](SettingRecords &r) { for (auto &g : r.THD) KeepTHDSpectrum(g); }},
      {"THD groups in halves", kFP, [](SettingRecords &r) { for (int g = 0; g < kTHDGroupCount; ++g) FillTHD(r.THD[g], 3 * g + 1); },
       Join(Each(0x5A, 0x32, kTHDGroupCount), Each(0x5A, 0x33, kTHDGroupCount)),
       Join(Each(0xA5, 0x32, kTHDGroupCount), Each(0xA5, 0x33, kTHDGroupCount)),
       [](SettingRecords &r) { for (auto &g : r.THD) KeepTHDSpectrum(g); }},
  };
  // clang-format on
}

TEST(SimRoundTrip, EveryBlockOfEveryFamilyReadsBackAsWritten) {
  for (const BlockCase &c : Cases()) {
    for (int32_t model : c.Models) {
      SCOPED_TRACE(std::string(c.Name) + " on model " + std::to_string(model));
      SimTestLink link(model);
      SettingRecords sent{};
      c.Fill(sent);
      gProgram.Settings = sent;
      for (const Cmd &w : c.Writes)
        ASSERT_EQ(link.Exchange(w.Cmd1, w.Cmd2, w.Param), 1)
            << "write " << std::hex << w.Cmd1 << " " << w.Cmd2 << std::dec << " " << w.Param << ": "
            << link.last.Note;
      gProgram.Settings = SettingRecords{};
      for (const Cmd &r : c.Reads)
        ASSERT_EQ(link.Exchange(r.Cmd1, r.Cmd2, r.Param), 1)
            << "read " << std::hex << r.Cmd1 << " " << r.Cmd2 << std::dec << " " << r.Param;
      SettingRecords expected = sent;
      c.Carried(expected);
      EXPECT_TRUE(SameFields(gProgram.Settings, expected));
    }
  }
}

} // namespace
