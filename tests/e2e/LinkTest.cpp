// The program's link against powersim over a real TCP connection and a
// pseudo-terminal, for a model of each family: connect, read everything,
// write and read back, switch the output, measure, lose the link.
#include "E2ESupport.h"

#include "app/MainPanelFunc.h"
#include "programs/Arithmetic.h"

#include <array>

#include <cmath>

namespace {

struct ModelCase {
  const char *Name;
  int32_t Model;
  const char *Rating; // as powersim takes it
  int32_t RatingValue;
  bool Lan; // else the pseudo-terminal at 38400 Bd
};

// One model of each family (the families' blocks are pinned frame by frame
// by the codec and simulator tests), over both kinds of port.
const ModelCase kModels[] = {
    {"FCT", kModelFCT, "5", 5, false},
    {"FSB", kModelFSB, "0500", 500, true},
    {"FPA", kModelFPA, "5", 5, false},
    {"GS", kModelGS, "12", 12, true},
};

// Voltage (0.1 V) and frequency (FC 0.1 Hz, others 0.01 Hz) of a normal group.
struct VolFreq {
  int32_t Vol, Freq;
  bool operator==(const VolFreq &) const = default;
};

VolFreq GroupVolFreq(int g) {
  if (IsFCModel(gPowerInfo.ModelType))
    return {gNormalFCSet[g].Vol, gNormalFCSet[g].Freq};
  return {gNormalFPSet[g].VolU, gNormalFPSet[g].FreqU};
}

void SetGroupVolFreq(int g, VolFreq v) {
  if (IsFCModel(gPowerInfo.ModelType)) {
    gNormalFCSet[g].Vol = v.Vol;
    gNormalFCSet[g].VolLine = PhaseToLine(v.Vol);
    gNormalFCSet[g].Freq = v.Freq;
    return;
  }
  NormalFPSet &set = gNormalFPSet[g];
  set.VolU = set.VolV = set.VolW = v.Vol;
  set.VolLine = PhaseToLine(v.Vol);
  set.FreqU = set.FreqV = set.FreqW = v.Freq;
}

class DeviceLink : public ::testing::TestWithParam<ModelCase> {
protected:
  void SetUp() override {
    sim_ = std::make_unique<Powersim>(
        QStringList{"--model", GetParam().Name, "--rating", GetParam().Rating, "--serial"});
    ASSERT_TRUE(sim_->Ready());
    link_.Configure(*sim_, GetParam().Lan);
  }

  std::unique_ptr<Powersim> sim_;
  InProcessLink link_;
};

TEST_P(DeviceLink, ConnectsReadsWritesBackAndRunsTheOutput) {
  const ModelCase &c = GetParam();
  ASSERT_TRUE(link_.Connect());
  EXPECT_EQ(gPowerInfo.ModelType, c.Model);
  EXPECT_EQ(gPowerInfo.Rating, c.RatingValue);
  EXPECT_EQ(QString(gPowerInfo.PowerModelStr.data()), sim_->Identifier());
  EXPECT_EQ(gCommInfo.NormalDataOk, 1);
  EXPECT_EQ(gCommInfo.SystemDataOk, 1);
  const bool programs = c.Model == kModelFPA || c.Model == kModelGS;
  EXPECT_EQ(gCommInfo.THDDataOk, programs ? 1 : 0);

  // A normal group and a List program written, then read back by a new
  // connection that starts from empty records.
  const VolFreq written = IsFCModel(c.Model) ? VolFreq{1000, 600} : VolFreq{1000, 6000};
  SetGroupVolFreq(2, written);
  CommSetNewCmdSingleGroup(kCmdClassWrite, 0x21, 2);
  if (programs) { // steps 0..2, the same on every phase
    gListSet.StartNo = 0;
    gListSet.StopNo = 2;
    gListSet.CircleDegree = 3;
    for (int s = 0; s < 3; ++s)
      for (ListPhase &p : gListListSet[s].Phase)
        p = {1000 + 100 * s, PhaseToLine(1000 + 100 * s), 5000 + 500 * s, 0, 0, 150 + s, 0};
    CommSetNewCmdGroup(kGroupWriteList);
  }
  ASSERT_TRUE(link_.RunUntilIdle());
  EXPECT_EQ(gPowerInfo.Connected, 1) << link_.Hooks.LinkLost;
  CommConnectDeal(0);
  link_.Configure(*sim_, c.Lan, c.Model);
  ASSERT_TRUE(link_.Connect());
  EXPECT_EQ(GroupVolFreq(2), written);
  if (programs) {
    CommSetNewCmdGroup(kGroupReadList);
    ASSERT_TRUE(link_.RunUntilIdle());
    EXPECT_EQ((std::array{gListSet.StartNo, gListSet.StopNo, gListSet.CircleDegree}),
              (std::array{0, 2, 3}));
    for (int s = 0; s < 3; ++s)
      for (const ListPhase &p : gListListSet[s].Phase)
        EXPECT_EQ((std::array{p.Vol, p.Freq, p.TimeS2P}),
                  (std::array{1000 + 100 * s, 5000 + 500 * s, 150 + s}))
            << "step " << s;
  }

  // The main panel's output switch: the current group, then output on.
  const VolFreq set = GroupVolFreq(gCurrentNormalGroup);
  MainPanelState panel;
  OutputSwitchClick(panel);
  ASSERT_TRUE(link_.RunUntilStatus());
  EXPECT_EQ(gPowerInfo.OutputRunning, 1);
  EXPECT_TRUE(sim_->Control("state").contains(" output on "));
  // The measurement follows once the output has risen.
  const double frequencyScale = IsFCModel(c.Model) ? 10.0 : 100.0;
  EXPECT_TRUE(link_.RunUntil([&] {
    return std::abs(gMeasureOutput.At(kMeasVoltage, 0) - set.Vol) <= 2 &&
           link_.Hooks.MeasureReplies > 0;
  })) << "U "
      << gMeasureOutput.At(kMeasVoltage, 0) << ", set " << set.Vol;
  EXPECT_NEAR(gMeasureOutput.At(kMeasFrequency, 0) / frequencyScale, set.Freq / frequencyScale,
              0.1);
  EXPECT_GT(gMeasureOutput.At(kMeasCurrent, 0), 0);

  OutputSwitchClick(panel);
  ASSERT_TRUE(link_.RunUntilStatus());
  EXPECT_EQ(gPowerInfo.OutputRunning, 0);
  EXPECT_TRUE(sim_->Control("state").contains(" output off "));
  EXPECT_EQ(gPowerInfo.Connected, 1) << link_.Hooks.LinkLost;
  EXPECT_EQ(link_.Hooks.Dropped, "");

  // A source that stops answering ends the connection with the reason.
  EXPECT_EQ(sim_->Control("silent 100"), "ok silent 100");
  EXPECT_FALSE(link_.RunUntil([] { return false; }, 10000));
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_NE(link_.Hooks.LinkLost.find("Connection lost: no reply from the power source to \""),
            std::string::npos)
      << link_.Hooks.LinkLost;
}

INSTANTIATE_TEST_SUITE_P(Models, DeviceLink, ::testing::ValuesIn(kModels),
                         [](const auto &info) { return std::string(info.param.Name); });

} // namespace
