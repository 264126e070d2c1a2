// What the source answers to a status query, byte by byte in each family's
// layout, and what the program's decoders make of it.
#include "SimTestLink.h"

#include "comm/CommPC.h"

#include <gtest/gtest.h>

namespace {

struct StatusCase {
  const char *What;
  int32_t Model;
  std::function<void(PowerDevice &)> Arrange;
  std::vector<uint8_t> Payload; // reply bytes from offset 6, up to the checksum
  int Running, Alarming;
  int32_t AlarmCode;
};

void Rising(PowerDevice &d) {
  d.Records().NormalFP[0].RiseTime = 50; // 5.0 s
  d.Records().System.StartRise = 50;
  d.SwitchOutput(true);
  d.AdvanceMs(2300);
}

void Risen(PowerDevice &d) {
  Rising(d);
  d.AdvanceMs(5000);
}

std::vector<uint8_t> Padded(std::vector<uint8_t> head, size_t size) {
  head.resize(size, 0);
  return head;
}

// Group 3 selected by the program, then as Rising.
void RisingInGroup3(PowerDevice &d) {
  uint8_t select[9] = {0, 0, 0, 0, 0, 0, 3};
  d.HandleFrame(select, static_cast<size_t>(CommFrameComplete(select, 9, 1, 0x5A, 0x11)));
  Rising(d);
}

void Stopped(PowerDevice &) {}

std::function<void(PowerDevice &)> Alarm(int32_t code) {
  return [code](PowerDevice &d) { d.RaiseAlarm(code); };
}

std::vector<StatusCase> StatusCases() {
  // clang-format off
  return {
      {"FP stopped", kModelFPA, Stopped, Padded({0}, 29), 0, 0, 0},
      {"FP rising", kModelFPA, Rising, Padded({144, 0, 0, 23, 0, 50}, 29), 1, 0, 0},
      {"FP risen", kModelFPB, Risen, Padded({145, 0}, 29), 1, 0, 0},
      {"FP alarm", kModelFPA, Alarm(1311), Padded({9, 0x05, 0x1F}, 29), 0, 1, 1311},
      {"FP emergency stop", kModelFPB, Alarm(900), Padded({9, 0x03, 0x84}, 29), 0, 1, 900},
      {"GS stopped", kModelGS, Stopped, Padded({0}, 13), 0, 0, 0},
      {"GS rising", kModelGS, Rising, Padded({144, 0, 0, 23, 0, 50}, 13), 1, 0, 0},
      {"GS emergency stop", kModelGS, Alarm(900), Padded({8}, 13), 0, 1, 900},
      {"GS input fault", kModelGS, Alarm(200), Padded({9, 0x00, 0xC8}, 13), 0, 1, 200},
      {"FCT rising", kModelFCT, RisingInGroup3, {133, 3, 0}, 1, 0, 0},
      {"FCS risen", kModelFCS, Risen, {134, 0, 0}, 1, 0, 0},
      {"FC alarm", kModelFCT, Alarm(440), {10, 0x01, 0xB8}, 0, 1, 440},
      {"FSA running", kModelFSA, Rising, {48, 0, 0}, 1, 0, 0},
      {"FL stopped", kModelFL, Stopped, {0, 0, 0}, 0, 0, 0},
      {"FSB alarm", kModelFSB, Alarm(900), {10, 0x03, 0x84}, 0, 1, 900},
  };
  // clang-format on
}

TEST(SimReplies, StatusRepliesFollowTheFamilyLayout) {
  for (const StatusCase &c : StatusCases()) {
    SCOPED_TRACE(c.What);
    SimTestLink link(c.Model);
    c.Arrange(*link.device);
    ASSERT_EQ(link.Exchange(0xF0, 0xEB), 1);
    const auto &reply = link.last.Reply;
    const std::vector<uint8_t> payload(reply.begin() + 6, reply.end() - 2);
    EXPECT_EQ(payload, c.Payload);
    EXPECT_EQ(gPowerInfo.OutputRunning, c.Running);
    EXPECT_EQ(gPowerInfo.Alarming, c.Alarming);
    if (c.Alarming) {
      EXPECT_EQ(gPowerState.AlarmCode, c.AlarmCode);
    }
  }
}

} // namespace
