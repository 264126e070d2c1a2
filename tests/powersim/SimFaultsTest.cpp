// Alarms and faults on demand, and the control interface that asks for them.
#include "SimTestLink.h"

#include "tools/powersim/SimControl.h"

#include <gtest/gtest.h>

namespace {

TEST(SimFaults, SilencedCorruptedAndDelayedReplies) {
  SimTestLink link(kModelFPA);
  link.device->Faults().SilentFrames = 2;
  // Frames the source would not answer anyway do not use up the count.
  EXPECT_TRUE(link.Send(SimTestLink::Frame(9, 0xF0, 0xEB)).Reply.empty());
  EXPECT_EQ(link.Exchange(0x0F, 0xFF), 0);
  EXPECT_EQ(link.Exchange(0xF0, 0xEB), 0);
  EXPECT_FALSE(link.device->OutputOn()) << "a silenced frame is not acted on";
  // A corrupted reply is rejected, but the command was carried out.
  link.device->Faults().CorruptReplies = 1;
  link.device->Faults().DelayMs = 250;
  EXPECT_EQ(link.Exchange(0x0F, 0xFF), 0);
  EXPECT_TRUE(link.device->OutputOn());
  EXPECT_EQ(link.Exchange(0xF0, 0xEB), 1);
  EXPECT_EQ(link.last.DelayMs, 250);
  EXPECT_EQ(gPowerInfo.OutputRunning, 1);
}

TEST(SimFaults, AnAlarmStopsTheOutputAndOnlySomeAreClearedFromThePC) {
  const struct {
    int32_t Model, Code;
    bool ClearedByCommand; // 0F 03 clears it; otherwise only the source's operator can
  } cases[] = {{kModelFPA, 310, true}, {kModelGS, 900, false}, {kModelGS, 200, false},
               {kModelFCT, 412, true}, {kModelFL, 900, false}, {kModelFSA, 1311, true}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "model " << c.Model << " alarm " << c.Code);
    SimTestLink link(c.Model);
    ASSERT_EQ(link.Exchange(0x0F, 0xFF), 1);
    link.device->RaiseAlarm(c.Code);
    EXPECT_FALSE(link.device->OutputOn());
    ASSERT_EQ(link.Exchange(0xF0, 0xEB), 1);
    EXPECT_EQ(gPowerInfo.Alarming, 1);
    EXPECT_EQ(gPowerInfo.OutputRunning, 0);
    EXPECT_EQ(gPowerState.AlarmCode, c.Code);
    EXPECT_EQ(link.Exchange(0x0F, 0xFF), 0) << "output on is refused while the alarm stands";
    EXPECT_EQ(link.last.Reply[6], 1);
    EXPECT_EQ(link.Exchange(0x0F, 0x03), c.ClearedByCommand ? 1 : 0);
    if (!c.ClearedByCommand)
      link.device->ClearAlarm();
    ASSERT_EQ(link.Exchange(0xF0, 0xEB), 1);
    EXPECT_EQ(gPowerInfo.Alarming, 0);
  }
}

TEST(SimControlLines, EveryCommandAnswersAndActs) {
  SimTestLink link(kModelGS);
  SimControl control(*link.device);
  int drops = 0, quits = 0;
  control.OnDrop = [&] { ++drops; };
  control.OnQuit = [&] { ++quits; };
  const struct {
    const char *Line, *Answer; // the beginning of the answer
  } cases[] = {
      {"", ""},
      {"# a comment", ""},
      {"output on", "ok output on"},
      {"alarm 900", "ok alarm 900"},
      {"output on", "error the output cannot start"},
      {"clear", "ok alarm cleared"},
      {"output on", "ok output on"},
      {"dc on", "ok dc on"},
      {"silent 3", "ok silent 3"},
      {"corrupt 2", "ok corrupt 2"},
      {"delay 120", "ok delay 120"},
      {"load 10.5", "ok load 10.5"},
      {"pf 0.8", "ok pf 0.8"},
      {"state", "ok model GS"},
      {"drop", "ok dropped"},
      {"quit", "ok bye"},
      {"alarm 0", "error"},
      {"alarm x", "error"},
      {"pf 2", "error"},
      {"silent", "error"},
      {"output maybe", "error"},
      {"frobnicate", "error unknown"},
      {"help", "ok commands:"},
  };
  for (const auto &c : cases) {
    const std::string answer = control.Execute(c.Line);
    EXPECT_EQ(answer.substr(0, std::string(c.Answer).size()), c.Answer) << c.Line;
    EXPECT_EQ(answer.empty(), !*c.Answer) << c.Line;
  }
  EXPECT_TRUE(link.device->OutputOn() && link.device->DCOn());
  const auto &f = link.device->Faults();
  EXPECT_EQ((std::array{f.SilentFrames, f.CorruptReplies, f.DelayMs}), (std::array{3, 2, 120}));
  EXPECT_DOUBLE_EQ(link.device->Load().Ohms, 10.5);
  EXPECT_DOUBLE_EQ(link.device->Load().PowerFactor, 0.8);
  EXPECT_EQ(drops + 10 * quits, 11);
  EXPECT_NE(control.Execute("state").find("output on"), std::string::npos);
}

} // namespace
