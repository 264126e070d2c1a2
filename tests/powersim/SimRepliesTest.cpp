// What the source answers, byte by byte: reply lengths of every command of
// every family, the frames it ignores, and the status layouts per family.
#include "SimTestLink.h"

#include "comm/CommCommands.h"
#include "comm/CommPC.h"

#include <gtest/gtest.h>

namespace {

const int32_t kAllModels[] = {kModelFCT, kModelFCS, kModelFSA, kModelFSB,
                              kModelFPA, kModelFPB, kModelGS,  kModelFL};

TEST(SimReplies, EveryCommandOfTheFamilyGetsItsReplyLengthAndNothingElseIsAnswered) {
  for (int32_t model : kAllModels) {
    SimTestLink link(model);
    int answered = 0;
    for (int cmd1 : {0x0F, 0x5A, 0xA5, 0xF0}) {
      for (int cmd2 = 0; cmd2 < 256; ++cmd2) {
        SCOPED_TRACE(testing::Message()
                     << "model " << model << " command " << std::hex << cmd1 << " " << cmd2);
        const CommCommand *command = CommFindCommand(model, cmd1, cmd2);
        const bool modelQuery = cmd1 == 0xF0 && cmd2 == 0xED;
        if (!command && !modelQuery) {
          // Not in the set: no reply whether it comes with a parameter or not.
          EXPECT_TRUE(link.Send(SimTestLink::Frame(1, cmd1, cmd2)).Reply.empty());
          EXPECT_TRUE(link.Send(SimTestLink::Frame(1, cmd1, cmd2, {0})).Reply.empty());
          continue;
        }
        const size_t txLen = modelQuery ? 8 : command->TxLen;
        const size_t rxLen = modelQuery ? 24 : command->RxLen;
        std::vector<uint8_t> payload(txLen - 8, 0);
        const auto reply = link.Send(SimTestLink::Frame(1, cmd1, cmd2, payload)).Reply;
        ASSERT_EQ(reply.size(), rxLen);
        EXPECT_EQ(CommReplyAccept(reply.data(), static_cast<int>(reply.size()), 1, cmd1, cmd2,
                                  static_cast<int>(rxLen)),
                  1);
        EXPECT_EQ(reply.back(), 0x7D);
        if (cmd1 == 0x0F || cmd1 == 0x5A) {
          EXPECT_EQ(reply[6], 0) << link.last.Note;
        }
        // One byte more or less is another frame: not answered.
        payload.push_back(0);
        EXPECT_TRUE(link.Send(SimTestLink::Frame(1, cmd1, cmd2, payload)).Reply.empty());
        ++answered;
      }
    }
    // The sizes of the command sets with the model query: FC 13, FS and FL
    // 12, FP 32, GS 41 (FP with DC output, Cross and the DC queries).
    const int expected = IsFCModel(model)                           ? 13
                         : model == kModelGS                        ? 41
                         : model == kModelFPA || model == kModelFPB ? 32
                                                                    : 12;
    EXPECT_EQ(answered, expected) << "model " << model;
  }
}

TEST(SimReplies, FramesForAnotherAddressOrBrokenFramesAreNotAnswered) {
  SimTestLink link(kModelFPA);
  EXPECT_FALSE(link.Send(SimTestLink::Frame(1, 0xF0, 0xEB)).Reply.empty());
  EXPECT_TRUE(link.Send(SimTestLink::Frame(2, 0xF0, 0xEB)).Reply.empty());
  auto frame = SimTestLink::Frame(1, 0xF0, 0xEB);
  frame[6] ^= 1; // checksum
  EXPECT_TRUE(link.Send(frame).Reply.empty());
  frame = SimTestLink::Frame(1, 0xF0, 0xEB);
  frame[7] = 0; // end byte
  EXPECT_TRUE(link.Send(frame).Reply.empty());
  frame = SimTestLink::Frame(1, 0xF0, 0xEB);
  frame[1] = 1;
  frame[6] = static_cast<uint8_t>(frame[6] + 1); // high length byte, checksum kept right
  EXPECT_TRUE(link.Send(frame).Reply.empty());
}

TEST(SimReplies, AnotherAddressIsHonoured) {
  SimTestLink link(kModelGS);
  PowerDeviceOptions options;
  options.ModelType = kModelGS;
  options.Address = 42;
  std::string error;
  link.device = PowerDevice::Create(options, &error);
  gPowerInfo.SoftwareAddress = 42;
  EXPECT_EQ(link.Exchange(0xF0, 0xEB), 1);
  EXPECT_EQ(link.last.Reply[3], 42);
  gPowerInfo.SoftwareAddress = 1;
  EXPECT_EQ(link.Exchange(0xF0, 0xEB), 0);
}

TEST(SimReplies, IndexesBeyondTheRecordsAreNotAnsweredOrRefused) {
  SimTestLink link(kModelGS);
  EXPECT_TRUE(link.Send(SimTestLink::Frame(1, 0xA5, 0x21, {10})).Reply.empty());
  EXPECT_TRUE(link.Send(SimTestLink::Frame(1, 0xA5, 0x24, {100})).Reply.empty());
  EXPECT_TRUE(link.Send(SimTestLink::Frame(1, 0xA5, 0x29, {8})).Reply.empty());
  EXPECT_TRUE(link.Send(SimTestLink::Frame(1, 0xA5, 0x31, {10})).Reply.empty());
  const auto refused = link.Send(SimTestLink::Frame(1, 0x5A, 0x11, {10})).Reply;
  ASSERT_EQ(refused.size(), 9u);
  EXPECT_EQ(refused[6], 1);
  SimTestLink fc(kModelFCT);
  EXPECT_TRUE(fc.Send(SimTestLink::Frame(1, 0xA5, 0x21, {7})).Reply.empty());
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

TEST(SimReplies, TheRunGroupIsTheGroupInUse) {
  SimTestLink link(kModelFPA);
  ASSERT_EQ(link.Exchange(0x5A, 0x11, 7), 1);
  ASSERT_EQ(link.Exchange(0x0F, 0xFF), 1);
  ASSERT_EQ(link.Exchange(0xF0, 0xEB), 1);
  EXPECT_EQ(gPowerState.RunGroup, 7);
  SimTestLink fs(kModelFSB);
  ASSERT_EQ(fs.Exchange(0x5A, 0x21, 4), 1);
  ASSERT_EQ(fs.Exchange(0x0F, 0xFF), 1);
  ASSERT_EQ(fs.Exchange(0xF0, 0xEB), 1);
  EXPECT_EQ(gPowerState.RunGroup, 4);
}

} // namespace
