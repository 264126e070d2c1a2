// The program's link against powersim over a real TCP connection and a
// pseudo-terminal, for each of the eight models: connect, read everything,
// write and read back, switch the output, measure, lose the link.
#include "E2ESupport.h"

#include "app/MainPanelFunc.h"

#include <QFile>

#include <cmath>

namespace {

struct ModelCase {
  const char *Name;
  int32_t Model;
  const char *Rating; // as powersim takes it
  int32_t RatingValue;
  bool Lan; // else the pseudo-terminal at 38400 Bd
};

// The LAN reply waits are the longest: a few cases over TCP are enough.
const ModelCase kModels[] = {
    {"FCT", kModelFCT, "5", 5, false}, {"FCS", kModelFCS, "3", 3, true},
    {"FSA", kModelFSA, "5", 5, false}, {"FSB", kModelFSB, "0500", 500, true},
    {"FPA", kModelFPA, "5", 5, false}, {"FPB", kModelFPB, "0500", 500, false},
    {"GS", kModelGS, "12", 12, true},  {"FL", kModelFL, "5", 5, false},
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
  const bool programs = HasPrograms(c.Model);
  EXPECT_EQ(gCommInfo.THDDataOk, programs ? 1 : 0);
  if (programs) {
    QueueProgramReads();
    ASSERT_TRUE(link_.RunUntilIdle());
    EXPECT_EQ(gCommInfo.ListDataOk, 1);
    EXPECT_EQ(gCommInfo.RampDataOk, 1);
    EXPECT_EQ(gCommInfo.CrossDataOk, c.Model == kModelGS ? 1 : 0);
  }

  // A normal group and a List program written, then read back by a new
  // connection that starts from empty records.
  const VolFreq written = IsFCModel(c.Model) ? VolFreq{1000, 600} : VolFreq{1000, 6000};
  SetGroupVolFreq(2, written);
  CommSetNewCmdSingleGroup(kCmdClassWrite, 0x21, 2);
  if (programs) {
    SetListSteps();
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
    ExpectListSteps();
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
}

TEST_P(DeviceLink, ASourceThatStopsAnsweringEndsTheConnectionWithTheReason) {
  ASSERT_TRUE(link_.Connect());
  EXPECT_EQ(sim_->Control("silent 100"), "ok silent 100");
  EXPECT_FALSE(link_.RunUntil([] { return false; }, 10000));
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_NE(link_.Hooks.LinkLost.find("Connection lost: no reply from the power source to \""),
            std::string::npos)
      << link_.Hooks.LinkLost;
}

// The frames powersim's log shows coming in, as hex; garbage stands as "??".
QStringList FramesIn(const QString &logPath) {
  QFile log(logPath);
  QStringList frames;
  if (!log.open(QIODevice::ReadOnly))
    return frames;
  for (const QString &line : QString::fromUtf8(log.readAll()).split('\n'))
    if (line.contains(" in ") || line.contains(" ?? "))
      frames << (line.contains(" ?? ") ? "??" : line.section(" in ", 1).section("  ", 0, 0));
  return frames;
}

class PacedLink : public ::testing::TestWithParam<ModelCase> {
protected:
  InProcessLink link_;
};

TEST_P(PacedLink, KeepsEveryFrameAndItsOrderAndPollsBothEverySecond) {
  QTemporaryDir dir;
  QStringList frames[2];
  for (const int32_t pacing : {0, 1}) {
    const QString log = dir.filePath(QString("frames-%1.log").arg(pacing));
    Powersim sim({"--model", GetParam().Name, "--rating", GetParam().Rating, "--serial", "--log",
                  log, "--running"});
    ASSERT_TRUE(sim.Ready());
    link_.Configure(sim, GetParam().Lan);
    gPowerInfo.CommReplyPacing = pacing;
    ASSERT_TRUE(link_.Connect());
    if (HasPrograms(GetParam().Model)) {
      QueueProgramReads();
      ASSERT_TRUE(link_.RunUntilIdle());
    }
    frames[pacing] = FramesIn(log);
    if (pacing == 0)
      continue;
    // The output runs: ten seconds of ticks bring ten of each.
    const int status = link_.Hooks.StatusReplies;
    const int measures = link_.Hooks.MeasureReplies;
    for (int i = 0; i < 200; ++i)
      InProcessLink::Tick();
    EXPECT_GE(link_.Hooks.StatusReplies - status, 9);
    EXPECT_GE(link_.Hooks.MeasureReplies - measures, 9);
    CommConnectDeal(0);
  }
  EXPECT_FALSE(frames[1].contains("??"));
  EXPECT_GT(frames[1].size(), 10);
  EXPECT_EQ(frames[1], frames[0]);
}

INSTANTIATE_TEST_SUITE_P(Models, DeviceLink, ::testing::ValuesIn(kModels),
                         [](const auto &info) { return std::string(info.param.Name); });

// The LAN cases, where the waits are longest, and one serial case.
INSTANTIATE_TEST_SUITE_P(Models, PacedLink,
                         ::testing::Values(kModels[1], kModels[3], kModels[5], kModels[6]),
                         [](const auto &info) { return std::string(info.param.Name); });

} // namespace
