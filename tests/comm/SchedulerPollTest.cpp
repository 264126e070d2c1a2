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

TEST_F(SchedulerPoll, ARunningOutputGetsStatusAndMeasurementsOnEveryLink) {
  const struct {
    int32_t Model, CommType;
    int RunState;
    const char *Measure;
    int MinPolls; // of each in 20 s
    int32_t Pacing;
  } cases[] = {// Fast links: one of each per second.
               {kModelFPA, kCommRS232, 144, "F0 AF", 19, 0},
               {kModelFCT, kCommRS232, 133, "F0 AE", 19, 0},
               {kModelFSA, kCommGPIB, 48, "F0 AF", 19, 0},
               // Slow links where one status exchange lasts a second or more: the two
               // alternate instead of the status starving the measurements.
               {kModelGS, kCommLAN, 144, "F0 AF", 7, 0},
               {kModelFPB, kCommLAN, 145, "F0 AF", 8, 0},
               {kModelFSB, kCommLAN, 48, "F0 AF", 8, 0},
               {kModelFCS, kCommLAN, 134, "F0 11", 15, 0},
               // Replies taken as they come: both every second again.
               {kModelGS, kCommLAN, 144, "F0 AF", 19, 1},
               {kModelFPB, kCommLAN, 145, "F0 AF", 19, 1}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.Model << " on " << c.CommType << " paced " << c.Pacing);
    Restart();
    source_.RunState = c.RunState;
    gPowerInfo.CommReplyPacing = c.Pacing;
    ASSERT_TRUE(Connect(c.Model, c.CommType));
    ASSERT_EQ(gPowerInfo.OutputRunning, 1);
    const size_t from = source_.Sent.size();
    Ticks(400);
    const auto measures = TicksOf(source_, c.Measure, from);
    const auto status = TicksOf(source_, "F0 EB", from);
    EXPECT_GE(static_cast<int>(measures.size()), c.MinPolls);
    EXPECT_GE(static_cast<int>(status.size()), c.MinPolls);
    for (int64_t t : measures)
      EXPECT_EQ(std::count(status.begin(), status.end(), t), 0) << "same tick as a status query";
    EXPECT_EQ(gPowerInfo.Connected, 1);
  }
}

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
    EXPECT_EQ(SentSince(from), (Strings{"F0 EB", "F0 EB", "F0 EB"}));
    const auto sends = TicksOf(source_, "F0 EB", from);
    EXPECT_EQ(sends[1] - sends[0], 12) << "resent on the tick its reply was missed";
    ASSERT_EQ(hooks_.LinkLost.size(), 1u);
    EXPECT_EQ(hooks_.LinkLost[0],
              "Error|Connection lost: no reply from the power source to \"status query (F0 EB)\"."
              "\nCheck the cable, the port settings and the device address.");
  }
  EXPECT_EQ(source_.Closes, 2);
}

TEST_F(SchedulerPoll, PacedArrivalsDriveTheLinkBetweenTicks) {
  // A List read (101 frames) goes out within one tick when each reply is
  // taken as it arrives.
  gPowerInfo.CommReplyPacing = 1;
  ASSERT_TRUE(Connect(kModelFPA, kCommLAN));
  const auto &sent = source_.Sent;
  CommSetNewCmdGroup(kGroupReadList);
  Ticks(1);
  const size_t from = sent.size() - 1;
  for (int i = 0; i < 200 && gCommInfo.PresentValid == 1; ++i)
    CommPortEvent(kPortBytesArrived);
  EXPECT_EQ(sent.size() - from, 101u);
  EXPECT_EQ(sent.back().Tick, sent[from].Tick);
  EXPECT_EQ(gCommInfo.NoReplyCount, 0);
}

TEST_F(SchedulerPoll, PacedGpibReadsOnTheTickAfterEachFrame) {
  gPowerInfo.CommReplyPacing = 1;
  ASSERT_TRUE(Connect(kModelGS, kCommGPIB));
  // model query, system, 10 groups, 20 THD halves, A5 11, status
  ASSERT_EQ(source_.Sent.size(), 34u);
  EXPECT_EQ(source_.Sent.back().Tick - source_.Sent.front().Tick, 33);
}

TEST_F(SchedulerPoll, AMissedOutputCommandIsNeverSentAgainButCheckedByAStatusQuery) {
  ASSERT_TRUE(Connect(kModelFPA, kCommLAN));
  source_.Mute = [](const SentFrame &f) { return f.Name == "0F FF"; };
  const size_t from = source_.Sent.size();
  CommSetNewCmdSingleGroup(0x0F, 0xFF, 0);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(SentSince(from), (Strings{"0F FF", "F0 EB"}));
  EXPECT_EQ(gCommInfo.NoReplyCount, 0);
  EXPECT_EQ(gPowerInfo.Connected, 1);
}

TEST_F(SchedulerPoll, ALostLinkIsToldWhyInTheCurrentLanguage) {
  const auto refuse = [](int code) {
    return [code](FakeSource &s) { s.Refuse = [code](const SentFrame &) { return code; }; };
  };
  const struct {
    int32_t Language;
    std::function<void(FakeSource &)> Fault;
    int Cmd1, Cmd2, Param;
    std::string Message;
  } cases[] = {
      {1, refuse(2), 0x5A, 0x21, 3,
       "Error|Connection lost: the power source refused \"write normal group (5A 21, 3)\" "
       "(code 2)."},
      {1, refuse(3), 0x5A, 0x22, 0,
       "Error|Connection lost: the power source refused \"write Step settings (5A 22)\" (code 3)."},
      {0, refuse(1), 0x5A, 0x30, 0,
       "出错|通讯中断：电源拒绝执行“写入系统设置（5A 30）”（代码 1）。"},
      {1, [](FakeSource &s) { s.Noise = true; }, 0xA5, 0x22, 0,
       "Error|Connection lost: the power source sent invalid replies to \"read Step settings (A5 "
       "22)\".\nCheck the device address."}, // no baud rate on a LAN
      {0, [](FakeSource &s) { s.Mute = [](const SentFrame &) { return true; }; }, 0x5A, 0x21, 1,
       "出错|通讯中断：电源对“写入常规组（5A 21, 1）”无应答。\n请检查通讯线、端口设置和设备地址。"},
      // A command the family does not have builds no frame: nothing is sent
      // and nothing comes back.
      {1, [](FakeSource &) {}, 0x5A, 0x18, 0,
       "Error|Connection lost: no reply from the power source to \"enter Cross mode (5A 18)\".\n"
       "Check the cable, the port settings and the device address."}};
  for (const auto &c : cases) {
    Restart();
    ASSERT_TRUE(Connect(kModelFPA, kCommLAN));
    gPowerInfo.Language = c.Language;
    c.Fault(source_);
    CommSetNewCmdSingleGroup(c.Cmd1, c.Cmd2, c.Param);
    for (int i = 0; i < 300 && gPowerInfo.Connected == 1; ++i)
      Ticks(1);
    EXPECT_EQ(gPowerInfo.Connected, 0);
    EXPECT_EQ(hooks_.LinkLost, Strings{c.Message});
    EXPECT_TRUE(hooks_.Messages.empty());
  }
}

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

} // namespace
