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
  g.OutMode = mode, g.OutChannel = channel, g.VolLevel = 2;
  g.VolU = 2200, g.VolV = 1100, g.VolW = 2000, g.FreqU = 5000, g.FreqV = 6000, g.FreqW = 4000;
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

} // namespace
