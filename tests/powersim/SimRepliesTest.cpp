// What the source answers, byte by byte: the frames it ignores, and the
// status layouts per family.
#include "SimTestLink.h"

#include <gtest/gtest.h>

namespace {

TEST(SimReplies, FramesForAnotherAddressBrokenFramesAndBadIndexesAreNotAnswered) {
  SimTestLink link(kModelGS);
  EXPECT_FALSE(link.Send(SimTestLink::Frame(1, 0xF0, 0xEB)).Reply.empty());
  EXPECT_TRUE(link.Send(SimTestLink::Frame(2, 0xF0, 0xEB)).Reply.empty());
  EXPECT_TRUE(link.Send(SimTestLink::Frame(1, 0xF0, 0xEB, {0})).Reply.empty()) << "one byte long";
  for (int index : {6, 7}) { // checksum, end byte
    auto frame = SimTestLink::Frame(1, 0xF0, 0xEB);
    frame[index] ^= 1;
    EXPECT_TRUE(link.Send(frame).Reply.empty()) << index;
  }
  EXPECT_TRUE(link.Send(SimTestLink::Frame(1, 0xA5, 0x21, {10})).Reply.empty());
  EXPECT_TRUE(link.Send(SimTestLink::Frame(1, 0xA5, 0x24, {100})).Reply.empty());
  EXPECT_TRUE(link.Send(SimTestLink::Frame(1, 0xA5, 0x29, {8})).Reply.empty());
  EXPECT_TRUE(link.Send(SimTestLink::Frame(1, 0xA5, 0x31, {10})).Reply.empty());
  const auto refused = link.Send(SimTestLink::Frame(1, 0x5A, 0x11, {10})).Reply;
  ASSERT_EQ(refused.size(), 9u);
  EXPECT_EQ(refused[6], 1);

  PowerDeviceOptions options;
  options.ModelType = kModelGS;
  options.Address = 42;
  link.Recreate(options);
  gPowerInfo.SoftwareAddress = 42;
  EXPECT_EQ(link.Exchange(0xF0, 0xEB), 1);
  EXPECT_EQ(link.last.Reply[3], 42);
}

// ---- status layouts ----------------------------------------------------------

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

std::vector<StatusCase> StatusCases() {
  return {
      {"FP stopped", kModelFPA, [](PowerDevice &) {}, Padded({0}, 29), 0, 0, 0},
      {"FP rising", kModelFPA, Rising, Padded({144, 0, 0, 23, 0, 50}, 29), 1, 0, 0},
      {"FP risen", kModelFPB, Risen, Padded({145, 0}, 29), 1, 0, 0},
      {"FP alarm", kModelFPA, [](PowerDevice &d) { d.RaiseAlarm(1311); },
       Padded({9, 0x05, 0x1F}, 29), 0, 1, 1311},
      {"FP emergency stop", kModelFPB, [](PowerDevice &d) { d.RaiseAlarm(900); },
       Padded({9, 0x03, 0x84}, 29), 0, 1, 900},
      {"GS stopped", kModelGS, [](PowerDevice &) {}, Padded({0}, 13), 0, 0, 0},
      {"GS rising", kModelGS, Rising, Padded({144, 0, 0, 23, 0, 50}, 13), 1, 0, 0},
      {"GS emergency stop", kModelGS, [](PowerDevice &d) { d.RaiseAlarm(900); }, Padded({8}, 13), 0,
       1, 900},
      {"GS input fault", kModelGS, [](PowerDevice &d) { d.RaiseAlarm(200); },
       Padded({9, 0x00, 0xC8}, 13), 0, 1, 200},
      {"FCT rising", kModelFCT, Rising, {133, 0, 0}, 1, 0, 0},
      {"FCS risen", kModelFCS, Risen, {134, 0, 0}, 1, 0, 0},
      {"FC alarm",
       kModelFCT,
       [](PowerDevice &d) { d.RaiseAlarm(440); },
       {10, 0x01, 0xB8},
       0,
       1,
       440},
      {"FSA running", kModelFSA, Rising, {48, 0, 0}, 1, 0, 0},
      {"FL stopped", kModelFL, [](PowerDevice &) {}, {0, 0, 0}, 0, 0, 0},
      {"FSB alarm",
       kModelFSB,
       [](PowerDevice &d) { d.RaiseAlarm(900); },
       {10, 0x03, 0x84},
       0,
       1,
       900},
  };
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
