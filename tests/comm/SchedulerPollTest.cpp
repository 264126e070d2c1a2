// The idle polls (status every second, measurements every second while the
// output runs, the GS extras), the retries and the third miss.
#include "SchedulerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int64_t> TicksOf(const FakeSource &source, const std::string &name, size_t from) {
  std::vector<int64_t> ticks;
  for (size_t i = from; i < source.Sent.size(); ++i)
    if (source.Sent[i].Name == name)
      ticks.push_back(source.Sent[i].Tick);
  return ticks;
}

bool EvenlySpaced(const std::vector<int64_t> &ticks, int64_t period) {
  for (size_t i = 1; i < ticks.size(); ++i)
    if (ticks[i] - ticks[i - 1] != period)
      return false;
  return ticks.size() >= 2;
}

using SchedulerPoll = LinkTest;

TEST_F(SchedulerPoll, AStoppedOutputIsAskedForItsStatusEverySecondAndNothingElse) {
  ASSERT_TRUE(Connect(kModelFPA, kCommRS232));
  const size_t from = source_.Sent.size();
  Ticks(400);
  const auto status = TicksOf(source_, "F0 EB", from);
  EXPECT_EQ(status.size(), 20u);
  EXPECT_TRUE(EvenlySpaced(status, 20));
  EXPECT_EQ(SentSince(from).size(), status.size()) << "no measurement with the output off";
}

struct CadenceCase {
  const char *Name;
  int32_t Model;
  int32_t CommType;
  int RunState;
  const char *Measure;
  int MinMeasures; // in 20 s
  int MinStatus;
  int32_t Pacing = 0;
};

class SchedulerCadence : public LinkTest, public ::testing::WithParamInterface<CadenceCase> {};

TEST_P(SchedulerCadence, ARunningOutputGetsStatusAndMeasurementsOnEveryLink) {
  const CadenceCase &c = GetParam();
  source_.RunState = c.RunState;
  gPowerInfo.CommReplyPacing = c.Pacing;
  ASSERT_TRUE(Connect(c.Model, c.CommType));
  ASSERT_EQ(gPowerInfo.OutputRunning, 1);
  const size_t from = source_.Sent.size();
  Ticks(400);
  const auto measures = TicksOf(source_, c.Measure, from);
  const auto status = TicksOf(source_, "F0 EB", from);
  EXPECT_GE(static_cast<int>(measures.size()), c.MinMeasures);
  EXPECT_GE(static_cast<int>(status.size()), c.MinStatus);
  for (int64_t t : measures)
    EXPECT_EQ(std::count(status.begin(), status.end(), t), 0) << "same tick as a status query";
  EXPECT_EQ(gPowerInfo.Connected, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Links, SchedulerCadence,
    ::testing::Values(
        // Fast links: one of each per second.
        CadenceCase{"FPAOnRS232", kModelFPA, kCommRS232, 144, "F0 AF", 19, 19},
        CadenceCase{"FCTOnRS232", kModelFCT, kCommRS232, 133, "F0 AE", 19, 19},
        CadenceCase{"FSAOnGPIB", kModelFSA, kCommGPIB, 48, "F0 AF", 19, 19},
        // Slow links where one status exchange lasts a second or more: the two
        // alternate instead of the status starving the measurements.
        CadenceCase{"GSOnLAN", kModelGS, kCommLAN, 144, "F0 AF", 7, 7},
        CadenceCase{"FPBOnLAN", kModelFPB, kCommLAN, 145, "F0 AF", 8, 8},
        CadenceCase{"FSBOnLAN", kModelFSB, kCommLAN, 48, "F0 AF", 8, 8},
        CadenceCase{"FCSOnLAN", kModelFCS, kCommLAN, 134, "F0 11", 15, 15},
        // Replies taken as they come: both every second again.
        CadenceCase{"GSOnLANPaced", kModelGS, kCommLAN, 144, "F0 AF", 19, 19, 1},
        CadenceCase{"FPBOnLANPaced", kModelFPB, kCommLAN, 145, "F0 AF", 19, 19, 1}),
    [](const auto &info) { return std::string(info.param.Name); });

struct BothDueCase {
  const char *Name;
  int32_t LastPollStatus;
  const char *First;
  const char *Second;
  int Gap; // ticks from the first poll to the second
};

class SchedulerBothDue : public LinkTest, public ::testing::WithParamInterface<BothDueCase> {};

TEST_P(SchedulerBothDue, WhichPollGoesFirstDependsOnTheLastPollSent) {
  source_.RunState = 144;
  ASSERT_TRUE(Connect(kModelFPA, kCommRS232));
  Ticks(7); // the measurement right after the connect is done
  ASSERT_EQ(gCommInfo.PresentValid, 0);
  gCommPoll.StatusCountdown = 1;
  gCommPoll.MeasureCountdown = 1;
  gCommPoll.LastPollStatus = GetParam().LastPollStatus;
  const size_t from = source_.Sent.size();
  Ticks(1);
  ASSERT_EQ(SentSince(from), std::vector<std::string>{GetParam().First});
  const int64_t first = source_.Sent.back().Tick;
  while (source_.Sent.size() == from + 1)
    Ticks(1);
  EXPECT_EQ(source_.Sent.back().Name, GetParam().Second);
  EXPECT_EQ(source_.Sent.back().Tick - first, GetParam().Gap);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SchedulerBothDue,
    ::testing::Values(
        // The measurement goes out on the first tick after the status exchange.
        BothDueCase{"AfterAMeasurementTheStatusGoesFirst", 0, "F0 EB", "F0 AF", 4 + 2},
        BothDueCase{"AfterAStatusTheMeasurementGoesFirst", 1, "F0 AF", "F0 EB", 4 + 2}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(SchedulerPoll, GSAsksForItsDCStateAfterEveryStatusAndItsDCValueEvenWithTheOutputOff) {
  ASSERT_TRUE(Connect(kModelGS, kCommRS232));
  const size_t from = source_.Sent.size();
  Ticks(400);
  const auto names = SentSince(from);
  const auto status = TicksOf(source_, "F0 EB", from);
  EXPECT_GE(status.size(), 15u);
  for (size_t i = 0; i + 1 < names.size(); ++i)
    if (names[i] == "F0 EB") {
      EXPECT_EQ(names[i + 1], "F0 EA") << i;
    }
  EXPECT_GE(TicksOf(source_, "F0 AD", from).size(), 15u);
  EXPECT_EQ(TicksOf(source_, "F0 AF", from).size(), 0u);
}

// ---- Misses ----

TEST_F(SchedulerPoll, AMissedStatusIsRepeatedTwiceAndTheThirdMissEndsTheLink) {
  // Replies taken as they come change nothing here: the wait stays the limit.
  for (const int32_t pacing : {0, 1}) {
    SCOPED_TRACE(pacing);
    gPowerInfo.CommReplyPacing = pacing;
    source_.Mute = nullptr;
    hooks_.LinkLost.clear();
    ASSERT_TRUE(Connect(kModelFPA, kCommLAN));
    source_.Mute = [](const SentFrame &f) { return f.Name == "F0 EB"; };
    const size_t from = source_.Sent.size();
    for (int i = 0; i < 200 && gPowerInfo.Connected == 1; ++i)
      Ticks(1);
    EXPECT_EQ(gPowerInfo.Connected, 0);
    EXPECT_EQ(SentSince(from), (std::vector<std::string>{"F0 EB", "F0 EB", "F0 EB"}));
    const auto sends = TicksOf(source_, "F0 EB", from);
    EXPECT_EQ(sends[1] - sends[0], 12) << "resent on the tick its reply was missed";
    ASSERT_EQ(hooks_.LinkLost.size(), 1u);
    EXPECT_EQ(hooks_.LinkLost[0],
              "Error|Connection lost: no reply from the power source to \"status query (F0 EB)\"."
              "\nCheck the cable, the port settings and the device address.");
  }
  EXPECT_EQ(source_.Closes, 2);
}

TEST_F(SchedulerPoll, PacedRepliesAreTakenWhenWholeAndTheNextFrameGoesOnTheSameTick) {
  // Every reply comes in pieces of 20 bytes, one piece per tick.
  gPowerInfo.CommReplyPacing = 1;
  source_.SplitAt = 20;
  ASSERT_TRUE(Connect(kModelFPA, kCommLAN));
  const auto &sent = source_.Sent;
  ASSERT_GE(sent.size(), 4u);
  // The model query's reply is 24 bytes: 2 reads; the next one as many as it needs.
  EXPECT_EQ(sent[0].Name, "F0 ED");
  EXPECT_EQ(sent[1].Tick - sent[0].Tick, 2);
  EXPECT_EQ(sent[2].Tick - sent[1].Tick, (CommFindCommand(kModelFPA, 0xA5, 0x30)->RxLen + 19) / 20);
  EXPECT_EQ(gCommInfo.NoReplyCount, 0);

  // Between ticks the port's arrivals drive the link: a List read (101
  // frames) goes out within one tick.
  source_.SplitAt = 0;
  CommSetNewCmdGroup(kGroupReadList);
  Ticks(1);
  const size_t from = sent.size() - 1;
  for (int i = 0; i < 200 && gCommInfo.PresentValid == 1; ++i)
    CommPortEvent(kPortBytesArrived);
  EXPECT_EQ(sent.size() - from, 101u);
  EXPECT_EQ(sent.back().Tick, sent[from].Tick);
}

TEST_F(SchedulerPoll, PacedGpibReadsOnTheTickAfterEachFrame) {
  gPowerInfo.CommReplyPacing = 1;
  ASSERT_TRUE(Connect(kModelGS, kCommGPIB));
  // model query, system, 10 groups, 20 THD halves, A5 11, status
  ASSERT_EQ(source_.Sent.size(), 34u);
  EXPECT_EQ(source_.Sent.back().Tick - source_.Sent.front().Tick, 33);
}

TEST_F(SchedulerPoll, OneGoodReplyBetweenMissesStartsTheCountAgain) {
  ASSERT_TRUE(Connect(kModelFSA, kCommRS232));
  int statusSent = 0;
  // Two misses, one answer, two misses, one answer, ...
  source_.Mute = [&](const SentFrame &f) { return f.Name == "F0 EB" && (statusSent++ % 3) != 2; };
  Ticks(600);
  EXPECT_EQ(gPowerInfo.Connected, 1);
  EXPECT_GE(statusSent, 20);
  EXPECT_TRUE(hooks_.LinkLost.empty());
}

TEST_F(SchedulerPoll, AMissedOutputCommandIsNeverSentAgainButCheckedByAStatusQuery) {
  ASSERT_TRUE(Connect(kModelFPA, kCommLAN));
  source_.Mute = [](const SentFrame &f) { return f.Name == "0F FF"; };
  const size_t from = source_.Sent.size();
  CommSetNewCmdSingleGroup(0x0F, 0xFF, 0);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(SentSince(from), (std::vector<std::string>{"0F FF", "F0 EB"}));
  EXPECT_EQ(gCommInfo.NoReplyCount, 0);
  EXPECT_EQ(gPowerInfo.Connected, 1);
}

struct LossCase {
  const char *Name;
  int32_t Language;
  std::function<void(FakeSource &)> Fault;
  int Cmd1, Cmd2, Param;
  std::string Message;
};

class SchedulerLinkLoss : public LinkTest, public ::testing::WithParamInterface<LossCase> {};

TEST_P(SchedulerLinkLoss, TheUserIsToldWhyInTheCurrentLanguage) {
  const LossCase &c = GetParam();
  ASSERT_TRUE(Connect(kModelFPA, kCommLAN));
  gPowerInfo.Language = c.Language;
  c.Fault(source_);
  CommSetNewCmdSingleGroup(c.Cmd1, c.Cmd2, c.Param);
  for (int i = 0; i < 300 && gPowerInfo.Connected == 1; ++i)
    Ticks(1);
  EXPECT_EQ(gPowerInfo.Connected, 0);
  ASSERT_EQ(hooks_.LinkLost.size(), 1u);
  EXPECT_EQ(hooks_.LinkLost[0], c.Message);
  EXPECT_TRUE(hooks_.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, SchedulerLinkLoss,
    ::testing::Values(
        LossCase{"RefusedWrite", 1,
                 [](FakeSource &s) { s.Refuse = [](const SentFrame &) { return 2; }; }, 0x5A, 0x21,
                 3,
                 "Error|Connection lost: the power source refused \"write normal group (5A 21, "
                 "3)\" (code 2)."},
        LossCase{"RefusedStepWrite", 1,
                 [](FakeSource &s) { s.Refuse = [](const SentFrame &) { return 3; }; }, 0x5A, 0x22,
                 0,
                 "Error|Connection lost: the power source refused \"write Step settings (5A 22)\" "
                 "(code 3)."},
        LossCase{"RefusedWriteChinese", 0,
                 [](FakeSource &s) { s.Refuse = [](const SentFrame &) { return 1; }; }, 0x5A, 0x30,
                 0, "出错|通讯中断：电源拒绝执行“写入系统设置（5A 30）”（代码 1）。"},
        LossCase{"Noise", 1, [](FakeSource &s) { s.Noise = true; }, 0xA5, 0x22, 0,
                 "Error|Connection lost: the power source sent invalid replies to \"read Step "
                 "settings (A5 22)\".\nCheck the device address."}, // no baud rate on a LAN
        LossCase{"NoReplyChinese", 0,
                 [](FakeSource &s) { s.Mute = [](const SentFrame &) { return true; }; }, 0x5A, 0x21,
                 1,
                 "出错|通讯中断：电源对“写入常规组（5A 21, 1）”无应答。\n"
                 "请检查通讯线、端口设置和设备地址。"},
        // A command the family does not have builds no frame: nothing is sent
        // and nothing comes back.
        LossCase{"CommandTheFamilyLacks", 1, [](FakeSource &) {}, 0x5A, 0x18, 0,
                 "Error|Connection lost: no reply from the power source to \"enter Cross mode "
                 "(5A 18)\".\nCheck the cable, the port settings and the device address."}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(SchedulerPoll, TheStartUpAttemptStaysSilentUntilASourceHasAnswered) {
  source_.Mute = [](const SentFrame &) { return true; };
  CommConnectAtStartUp();
  ASSERT_EQ(gPowerInfo.Connected, 1);
  Ticks(100);
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_TRUE(hooks_.LinkLost.empty());

  // Once the source is identified, a later loss is reported even on that link.
  source_.Mute = nullptr;
  CommConnectAtStartUp();
  ASSERT_TRUE(RunUntilIdle());
  source_.Mute = [](const SentFrame &) { return true; };
  Ticks(200);
  EXPECT_EQ(gPowerInfo.Connected, 0);
  EXPECT_EQ(hooks_.LinkLost.size(), 1u);
}

TEST_F(SchedulerPoll, ALostConnectExchangeIsReportedAfterAUserConnect) {
  source_.Mute = [](const SentFrame &) { return true; };
  CommConnectDeal(1);
  Ticks(100);
  EXPECT_EQ(gPowerInfo.Connected, 0);
  ASSERT_EQ(hooks_.LinkLost.size(), 1u);
  // Nothing ever answered: no connection was lost.
  EXPECT_EQ(hooks_.LinkLost[0].rfind("Error|No power source answered at LAN 0.0.0.0:0.", 0), 0u)
      << hooks_.LinkLost[0];
}

} // namespace
