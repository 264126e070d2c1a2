// Measurements that follow the output: read by the program's own decoders.
#include "SimTestLink.h"

#include "comm/CommCommands.h"

#include <gtest/gtest.h>

namespace {

// Switches group 0 on with the given settings and reads one measurement.
void RunGroup(SimTestLink &link, const NormalFPSet &group) {
  gNormalFPSet[0] = group;
  ASSERT_EQ(link.Exchange(0x5A, 0x21, 0), 1);
  if (CommFindCommand(gPowerInfo.ModelType, 0x5A, 0x11)) {
    ASSERT_EQ(link.Exchange(0x5A, 0x11, 0), 1);
  }
  ASSERT_EQ(link.Exchange(0x0F, 0xFF), 1);
  ASSERT_EQ(link.Exchange(0xF0, 0xEB), 1);
  ASSERT_EQ(link.Exchange(0xF0, 0xAF), 1);
}

NormalFPSet Group(int32_t mode, int32_t channel = 7) {
  NormalFPSet g{};
  g.OutMode = mode;
  g.OutChannel = channel;
  g.VolU = 2200;
  g.VolV = 1100;
  g.VolW = 2000;
  g.FreqU = 5000;
  g.FreqV = 6000;
  g.FreqW = 4000;
  g.VolLevel = 2;
  return g;
}

int32_t M(int quantity, int phase) { return gMeasureOutput.At(quantity, phase); }

TEST(SimMeasure, ASineIntoTheLoadReadsVoltageCurrentPowerAndCrestFactor) {
  SimTestLink link(kModelFPA);
  RunGroup(link, Group(0));
  for (int phase = 0; phase < 3; ++phase) {
    SCOPED_TRACE(phase);
    EXPECT_EQ(M(kMeasVoltage, phase), 2200);
    EXPECT_EQ(M(kMeasFrequency, phase), 5000);
    EXPECT_EQ(M(kMeasCurrent, phase), 45); // 220 V into 48.4 ohm: 4.5 A
    EXPECT_EQ(M(kMeasPower, phase), 1000);
    EXPECT_EQ(M(kMeasApparentPower, phase), 1000);
    EXPECT_EQ(M(kMeasPowerFactor, phase), 1000);
    EXPECT_EQ(M(kMeasCrestFactor, phase), 1414);
    EXPECT_EQ(M(kMeasPeakCurrent, phase), 64);
  }
}

struct ModeCase {
  int32_t Model;
  int32_t Mode, Channel;
  std::array<int32_t, 3> Vol, Freq;
};

TEST(SimMeasure, PhasesCarryWhatTheOutputModeGivesThem) {
  const ModeCase cases[] = {
      {kModelFPA, 0, 7, {2200, 2200, 2200}, {5000, 5000, 5000}},
      {kModelFPA, 5, 7, {2200, 0, 0}, {5000, 0, 0}},
      {kModelFPB, 1, 5, {2200, 0, 2000}, {5000, 0, 4000}},
      {kModelFSA, 1, 3, {2200, 1100, 0}, {5000, 6000, 0}},
      {kModelGS, 16, 7, {2200, 1100, 2000}, {5000, 5000, 5000}},
      {kModelFL, 1, 1, {2200, 2200, 2200}, {5000, 5000, 5000}}, // FL runs balanced only
  };
  for (const ModeCase &c : cases) {
    SCOPED_TRACE(testing::Message() << "model " << c.Model << " mode " << c.Mode);
    SimTestLink link(c.Model);
    RunGroup(link, Group(c.Mode, c.Channel));
    for (int phase = 0; phase < 3; ++phase) {
      EXPECT_EQ(M(kMeasVoltage, phase), c.Vol[phase]) << phase;
      EXPECT_EQ(M(kMeasFrequency, phase), c.Freq[phase]) << phase;
    }
  }
}

TEST(SimMeasure, PowerFlowingBackIsSignedOnFPAndGSOnly) {
  for (int32_t model : {kModelFPB, kModelGS, kModelFSB, kModelFL}) {
    SCOPED_TRACE(model);
    SimTestLink link(model);
    link.device->SetLoad({22.0, -0.5});
    RunGroup(link, Group(0));
    const bool signedPower = model == kModelFPB || model == kModelGS;
    EXPECT_EQ(M(kMeasPower, 0), signedPower ? -1100 : 1100);
    EXPECT_EQ(M(kMeasApparentPower, 0), 2200);
    EXPECT_EQ(M(kMeasPowerFactor, 0), 500);
  }
}

TEST(SimMeasure, FCRepliesCarryThePhasesOfTheMode) {
  SimTestLink link(kModelFCT);
  gNormalFCSet[2] = {600, 2300, 0, 1, 3, 5, 5, 0, 0, 0}; // phase V alone, 60.0 Hz
  ASSERT_EQ(link.Exchange(0x5A, 0x21, 2), 1);
  ASSERT_EQ(link.Exchange(0x5A, 0x11, 2), 1);
  ASSERT_EQ(link.Exchange(0x0F, 0xFF), 1);
  ASSERT_EQ(link.Exchange(0xF0, 0xAE), 1);
  EXPECT_EQ(M(kMeasVoltage, 0), 0);
  EXPECT_EQ(M(kMeasVoltage, 1), 2300);
  EXPECT_EQ(M(kMeasFrequency, 1), 600);
  EXPECT_EQ(M(kMeasCurrent, 1), 48);
  EXPECT_EQ(M(kMeasPower, 1), 1093);
  EXPECT_EQ(M(kMeasVoltage, 2), 0);

  SimTestLink fcs(kModelFCS);
  ASSERT_EQ(fcs.Exchange(0x0F, 0xFF), 1);
  ASSERT_EQ(fcs.Exchange(0xF0, 0x11), 1);
  EXPECT_EQ(M(kMeasVoltage, 0), 2200); // the FC defaults
  EXPECT_EQ(M(kMeasFrequency, 0), 500);
}

struct WaveCase {
  const char *What;
  int Order; // harmonic order added to the fundamental, 0: none
  int Percent, Angle;
  int32_t Crest; // x 1000, within 3
};

TEST(SimMeasure, AHarmonicWaveformChangesCrestFactorAndPeakCurrent) {
  const WaveCase cases[] = {
      {"empty group: pure fundamental", 0, 0, 0, 1414},
      {"10 % third harmonic in phase: flattened", 3, 100, 0, 1267},
      {"10 % third harmonic in opposition: peaked", 3, 100, 1800, 1548},
  };
  for (const WaveCase &c : cases) {
    SCOPED_TRACE(c.What);
    SimTestLink link(kModelFPA);
    if (c.Order) {
      gTHDSet[4].Percent[c.Order - 1] = c.Percent;
      gTHDSet[4].Angle[c.Order - 1] = c.Angle;
    }
    ASSERT_EQ(link.Exchange(0x5A, 0x31, 4), 1);
    NormalFPSet g = Group(0);
    g.WaveU = 5; // THD group 4
    RunGroup(link, g);
    EXPECT_NEAR(M(kMeasCrestFactor, 0), c.Crest, 3);
    EXPECT_NEAR(M(kMeasPeakCurrent, 0), 45.45 * c.Crest / 1000, 1);
    EXPECT_EQ(M(kMeasVoltage, 0), 2200); // the waveform keeps the set rms
  }
}

TEST(SimMeasure, TheVoltageRisesOverTheRiseTime) {
  SimTestLink link(kModelFSA);
  NormalFPSet g = Group(0);
  g.RiseTime = 40; // 4.0 s
  RunGroup(link, g);
  EXPECT_EQ(M(kMeasVoltage, 0), 0);
  EXPECT_EQ(gPowerInfo.RemainSecond, 4);
  link.device->AdvanceMs(1000);
  ASSERT_EQ(link.Exchange(0xF0, 0xAF), 1);
  EXPECT_EQ(M(kMeasVoltage, 0), 550);
  link.device->AdvanceMs(3000);
  ASSERT_EQ(link.Exchange(0xF0, 0xAF), 1);
  EXPECT_EQ(M(kMeasVoltage, 0), 2200);
}

TEST(SimMeasure, NoOutputOrNoLoadReadsNoCurrent) {
  SimTestLink link(kModelFPA);
  ASSERT_EQ(link.Exchange(0xF0, 0xAF), 1);
  for (int32_t v : gMeasureOutput.Value)
    EXPECT_EQ(v, 0);
  link.device->SetLoad({0, 1});
  RunGroup(link, Group(0));
  EXPECT_EQ(M(kMeasVoltage, 0), 2200);
  EXPECT_EQ(M(kMeasCurrent, 0), 0);
  EXPECT_EQ(M(kMeasPower, 0), 0);
  EXPECT_EQ(M(kMeasCrestFactor, 0), 0);
}

TEST(SimMeasure, TheGSDCOutputSwitchesAndReads) {
  SimTestLink link(kModelGS);
  ASSERT_EQ(link.Exchange(0x0F, 0xFE), 1);
  ASSERT_EQ(link.Exchange(0xF0, 0xEA), 1);
  EXPECT_EQ(gPowerState.DCOutputOn, 1);
  ASSERT_EQ(link.Exchange(0xF0, 0xAD), 1);
  EXPECT_EQ(gPowerState.DCValue, 240);
  ASSERT_EQ(link.Exchange(0x0F, 0x01), 1);
  ASSERT_EQ(link.Exchange(0xF0, 0xEA), 1);
  ASSERT_EQ(link.Exchange(0xF0, 0xAD), 1);
  EXPECT_EQ(gPowerState.DCOutputOn, 0);
  EXPECT_EQ(gPowerState.DCValue, 0);
  // An alarm switches it off and refuses to switch it on.
  ASSERT_EQ(link.Exchange(0x0F, 0xFE), 1);
  link.device->RaiseAlarm(310);
  EXPECT_FALSE(link.device->DCOn());
  EXPECT_EQ(link.Exchange(0x0F, 0xFE), 0);
  EXPECT_EQ(link.last.Reply[6], 1);
  SimTestLink fp(kModelFPA);
  EXPECT_EQ(fp.Exchange(0x0F, 0xFE), -1); // the FP builds no frame for it
}

} // namespace
