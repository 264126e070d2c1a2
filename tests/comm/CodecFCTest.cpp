// FC, FS and FL codecs: frames built from the program's records compared with
// frames written out by hand, and hand-built replies stored into the records.
#include "CodecTestSupport.h"

#include "FieldList.h"
#include "comm/FCCommand.h"

namespace {

Calls Cat3(Calls calls, const char *last) {
  calls.push_back(last);
  return calls;
}

using Rx = RxFn;
using CodecFCTest = CodecFixture;

int32_t M(int quantity, int phase) { return gMeasureOutput.At(quantity, phase); }

TEST_F(CodecFCTest, CommandSetsPerFamily) {
  struct Case {
    int cmd1, cmd2, param;
    Bytes payload;
    int fct, fcs, fs; // reply length per family, 0 = not in the set
  };
  const Case cases[] = {{0x0F, 0x00, 0, {}, 9, 9, 9},    {0x0F, 0x03, 0, {}, 9, 9, 9},
                        {0x0F, 0xFF, 0, {}, 9, 9, 9},    {0x5A, 0x11, 6, {6}, 9, 9, 0},
                        {0xA5, 0x11, 0, {}, 9, 9, 9},    {0xA5, 0x21, 6, {6}, 17, 17, 30},
                        {0xA5, 0x30, 0, {}, 16, 16, 15}, {0xF0, 0xEB, 0, {}, 11, 11, 11},
                        {0xF0, 0xAE, 0, {}, 38, 0, 0},   {0xF0, 0x11, 0, {}, 0, 18, 0},
                        {0xF0, 0xAF, 0, {}, 0, 0, 63},   {0x5A, 0x12, 0, {}, 0, 0, 0},
                        {0xA5, 0x22, 0, {}, 0, 0, 0},    {0xF0, 0xED, 0, {}, 0, 0, 0},
                        {0x0F, 0xFE, 0, {}, 0, 0, 0},    {0xF0, 0xEA, 0, {}, 0, 0, 0}};
  for (const Case &c : cases) {
    const Bytes expected = HandFrame(c.cmd1, c.cmd2, c.payload);
    const struct {
      int model;
      TxFn tx;
      int reply;
    } runs[] = {{kModelFCT, FCCommTx, c.fct},
                {kModelFCS, FCCommTx, c.fcs},
                {kModelFSA, FSCommTx, c.fs},
                {kModelFL, FSCommTx, c.fs}};
    for (const auto &r : runs) {
      gPowerInfo.ModelType = r.model;
      gCommInfo.RxExpectLen = 0;
      EXPECT_EQ(Build(r.tx, c.cmd1, c.cmd2, c.param), r.reply ? expected : Bytes{})
          << r.model << ": " << c.cmd1 << " " << c.cmd2;
      EXPECT_EQ(gCommInfo.RxExpectLen, r.reply) << r.model << ": " << c.cmd1 << " " << c.cmd2;
    }
  }
}

TEST_F(CodecFCTest, FCBlocks) {
  gNormalFCSet[6] = {505, 2300, 3983, 2, 3, 10, 20, 0, 0, 0};
  // FCS sends mode 5 whatever the record holds.
  for (auto [model, mode] : {std::pair{kModelFCT, 3}, std::pair{kModelFCS, 5}}) {
    gPowerInfo.ModelType = model;
    EXPECT_EQ(
        Build(FCCommTx, 0x5A, 0x21, 6),
        HandFrame(0x5A, 0x21,
                  Cat({{6, static_cast<uint8_t>(mode)}, Be16(2300), Be16(505), {10, 20, 2}})));
    EXPECT_EQ(gCommInfo.RxExpectLen, 9);
    EXPECT_EQ(Build(FCCommTx, 0x5A, 0x50, 6), HandFrame(0x5A, 0x50, Cat({Be16(2300), Be16(505)})));
    EXPECT_EQ(Build(FCCommTx, 0x5A, 0x21, 7), Bytes{});
    EXPECT_EQ(Build(FCCommTx, 0x5A, 0x50, 7), Bytes{});
  }
  EXPECT_EQ(gNormalFCSet[6].OutMode, 3);
}

TEST_F(CodecFCTest, FSBlocks) {
  NormalFPSet &g = gNormalFPSet[9];
  // FS carries no waves or angles.
  SetFields(g, "OutMode=1 OutChannel=5 VolU=2200 FreqU=5000 VolV=1100 FreqV=6000 VolW=500 "
               "FreqW=24000 VolLevel=2 RiseTime=600 WaveV=3 AngleUV=1200");
  const Bytes phases =
      Cat({{1}, Be16(2200), Be16(5000), {0}, Be16(1100), Be16(6000), {1}, Be16(500), Be16(24000)});
  gPowerInfo.ModelType = kModelFSA;
  EXPECT_EQ(Build(FSCommTx, 0x5A, 0x21, 9),
            HandFrame(0x5A, 0x21, Cat({{9, 1}, phases, {2, 0, 0}, Be16(600)})));
  EXPECT_EQ(Build(FSCommTx, 0x5A, 0x50, 9), HandFrame(0x5A, 0x50, Cat({{1}, phases})));
  EXPECT_EQ(Build(FSCommTx, 0x5A, 0x21, 10), Bytes{});

  // Any nonzero channel bit gives a flag of 1.
  g.OutChannel = 7 | 8;
  const Bytes frame = Build(FSCommTx, 0x5A, 0x21, 9);
  EXPECT_EQ((Bytes{frame[8], frame[13], frame[18]}), (Bytes{1, 1, 1}));
}

// (The system blocks are read back by the round trip with the simulated source.)
// An FC has seven groups: a reply naming another is taken, the group stays.
TEST_F(CodecFCTest, CurrentGroupReplyNamesOneOfTheFamilysGroups) {
  gPowerInfo.ModelType = kModelFCS;
  EXPECT_EQ(Receive(FCCommRx, HandFrame(0xA5, 0x11, {6}), 0xA5, 0x11), 1);
  EXPECT_EQ(gCurrentNormalGroup, 6);
  EXPECT_EQ(Receive(FCCommRx, HandFrame(0xA5, 0x11, {7}), 0xA5, 0x11), 1);
  EXPECT_EQ(gCurrentNormalGroup, 6);
}

Bytes FSNormalReply(int group, int outMode, int u, int v, int w) {
  const auto b = [](int x) { return Bytes{static_cast<uint8_t>(x)}; };
  // clang-format off
  return HandFrame(0xA5, 0x21, Cat({b(group), b(outMode), b(u), Be16(2200), Be16(5000), b(v),
                                    Be16(1100), Be16(6000), b(w), Be16(500), Be16(4000),
                                    {2, 0, 0}, Be16(35)}));
  // clang-format on
}

TEST_F(CodecFCTest, FSAndFLNormalGroupReplies) {
  struct Case {
    const char *name;
    Rx rx;
    int outMode, u, v, w;
    int storedMode, channel;
    bool separate;
  };
  // (Plain separate and balanced groups are read back by the round trip with
  // the simulated source.)
  const Case cases[] = {{"FS balanced, U flag 0", FSCommRx, 0, 0, 1, 1, 0, 7, false},
                        {"FS single phase", FSCommRx, 5, 1, 0, 0, 5, 7, false},
                        {"FS separate 0,9,0", FSCommRx, 1, 0, 9, 0, 1, 2, true},
                        {"FL separate stored as balanced", FLCommRx, 1, 1, 0, 1, 0, 7, false},
                        {"FL single phase stored as balanced", FLCommRx, 5, 1, 0, 0, 0, 7, false}};
  for (const Case &c : cases) {
    Reset(c.rx == FLCommRx ? kModelFL : kModelFSB);
    gNormalFPSet[4].WaveV = 3;
    gNormalFPSet[4].AngleUW = 2400;
    ASSERT_EQ(Receive(c.rx, FSNormalReply(4, c.outMode, c.u, c.v, c.w), 0xA5, 0x21, 4), 1)
        << c.name;
    const NormalFPSet &s = gNormalFPSet[4];
    const bool sep = c.separate;
    // Waves and angles are not carried.
    EXPECT_EQ(
        (std::vector{s.OutMode, s.OutChannel, s.VolU, s.FreqU, s.VolV, s.FreqV, s.VolW, s.FreqW,
                     s.VolLine, s.VolLevel, s.RiseTime, s.WaveV, s.AngleUW}),
        (std::vector{c.storedMode, c.channel, 2200, 5000, sep ? 1100 : 2200, sep ? 6000 : 5000,
                     sep ? 500 : 2200, sep ? 4000 : 5000, 3810, 2, 35, 3, 2400}))
        << c.name;
  }
  // OutMode goes to the group the reply names, the rest to the group asked for.
  Reset(kModelFSA);
  ASSERT_EQ(Receive(FSCommRx, FSNormalReply(1, 1, 1, 1, 1), 0xA5, 0x21, 8), 1);
  EXPECT_EQ((std::array{gNormalFPSet[1].OutMode, gNormalFPSet[1].VolU, gNormalFPSet[8].OutMode,
                        gNormalFPSet[8].VolV}),
            (std::array{1, 0, 0, 1100}));
  EXPECT_EQ(Receive(FSCommRx, FSNormalReply(10, 5, 1, 1, 1), 0xA5, 0x21, 7), 1);
  EXPECT_EQ((std::array{gNormalFPSet[7].OutMode, gNormalFPSet[7].VolU}), (std::array{0, 2200}));
  EXPECT_EQ(Receive(FLCommRx, FSNormalReply(1, 1, 1, 1, 1), 0xA5, 0x21, 10), 0);
}

TEST_F(CodecFCTest, Measurements) {
  // FS/FL: the 63-byte layout with kPower unsigned.
  Bytes fs = {0};
  for (int p = 0; p < 3; ++p) // clang-format off
    fs = Cat({fs, Be16(2200 + p), Be16(10 + p), Be16(5000 + p), {0x80, 0x01, 0x00}, Be24(7),
              Be16(999), Be16(1414), Be16(30 + p)});
  // clang-format on
  for (Rx rx : {FSCommRx, FLCommRx}) {
    gMeasureOutput = MeasureOutput{};
    gPowerInfo.OutputRunning = 1;
    view.Calls.clear();
    ASSERT_EQ(Receive(rx, HandFrame(0xF0, 0xAF, fs), 0xF0, 0xAF), 1);
    EXPECT_EQ((std::array{M(kMeasVoltage, 2), M(kMeasCurrent, 2), M(kMeasFrequency, 2),
                          M(kMeasPower, 2), M(kMeasApparentPower, 2), M(kMeasPowerFactor, 2),
                          M(kMeasCrestFactor, 2), M(kMeasPeakCurrent, 2)}),
              (std::array{2202, 12, 5002, 0x800100, 7, 999, 1414, 32}));
    EXPECT_EQ(view.Calls, Calls{"DataFPFromMeasureToPanel"});
  }

  // FCT: three 10-byte blocks, first byte unused; only U, I, F, kPower written.
  gPowerInfo.ModelType = kModelFCT;
  gMeasureOutput = MeasureOutput{};
  gMeasureOutput.At(kMeasPowerFactor, 0) = 5;
  Bytes fct;
  for (int p = 0; p < 3; ++p)
    fct = Cat({fct, {0xAA}, Be16(2300 + p), Be16(20 + p), Be16(500 + p), {0x80, 0x00, 0x01}});
  gPowerInfo.OutputRunning = 0;
  view.Calls.clear();
  ASSERT_EQ(Receive(FCCommRx, HandFrame(0xF0, 0xAE, fct), 0xF0, 0xAE), 1);
  EXPECT_EQ((std::array{M(kMeasVoltage, 0), M(kMeasCurrent, 1), M(kMeasFrequency, 2),
                        M(kMeasPower, 2), M(kMeasPowerFactor, 0)}),
            (std::array{2300, 21, 502, 0x800001, 5}));
  EXPECT_TRUE(view.Calls.empty());
  EXPECT_EQ(Receive(FCCommRx, HandFrame(0xF0, 0x11, Bytes(10, 0)), 0xF0, 0x11), 0);

  // FCS: one phase from byte 7.
  gPowerInfo.ModelType = kModelFCS;
  gPowerInfo.OutputRunning = 1;
  ASSERT_EQ(Receive(FCCommRx,
                    HandFrame(0xF0, 0x11, Cat({{0xAA}, Be16(1100), Be16(33), Be16(600), Be24(9)})),
                    0xF0, 0x11),
            1);
  EXPECT_EQ((std::array{M(kMeasVoltage, 0), M(kMeasCurrent, 0), M(kMeasFrequency, 0),
                        M(kMeasPower, 0), M(kMeasVoltage, 1)}),
            (std::array{1100, 33, 600, 9, 2301})); // V untouched
  EXPECT_EQ(view.Calls, Calls{"DataFCFromMeasureToPanel"});
  EXPECT_EQ(Receive(FCCommRx, HandFrame(0xF0, 0xAE, fct), 0xF0, 0xAE), 0);
}

TEST_F(CodecFCTest, StatusReplies) {
  const struct {
    int model;
    Rx rx;
    int state, running, alarming;
    int group, alarm; // stored RunGroup / AlarmCode (before: 12 / 11)
  } cases[] = {
      {kModelFCT, FCCommRx, 133, 1, 0, 3, 11},  {kModelFCS, FCCommRx, 134, 1, 0, 3, 11},
      {kModelFCT, FCCommRx, 48, 0, 0, 12, 11},  {kModelFCT, FCCommRx, 10, 0, 1, 12, 0x0304},
      {kModelFSA, FSCommRx, 48, 1, 0, 3, 11},   {kModelFSB, FSCommRx, 133, 0, 0, 12, 11},
      {kModelFL, FLCommRx, 48, 1, 0, 3, 11},    {kModelFL, FLCommRx, 10, 0, 1, 12, 0x0304},
      {kModelFSA, FSCommRx, 144, 0, 0, 12, 11}, {kModelFSA, FSCommRx, 9, 0, 0, 12, 11}};
  for (const auto &c : cases) {
    gPowerInfo.ModelType = c.model;
    gPowerState = {0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 0, 0};
    gPowerInfo.OutputRunning = 1 - c.running;
    gPowerInfo.Alarming = 1 - c.alarming;
    gCurrentPage = kPageStep;
    view.Calls.clear();
    const Bytes reply = HandFrame(0xF0, 0xEB, {static_cast<uint8_t>(c.state), 3, 4});
    ASSERT_EQ(Receive(c.rx, reply, 0xF0, 0xEB), 1) << c.model << " " << c.state;
    EXPECT_EQ((std::array{gPowerState.RunState, gPowerInfo.OutputRunning, gPowerInfo.Alarming,
                          gPowerState.RunGroup, gPowerState.AlarmCode, gPowerState.RunStepU}),
              (std::array{c.state, c.running, c.alarming, c.group, c.alarm, 14}))
        << c.model << " " << c.state;
    EXPECT_EQ(view.Calls, Calls{"RefreshOutputState"});
  }
}

TEST_F(CodecFCTest, OutputControlReplies) {
  struct Case {
    int model;
    Rx rx;
    int cmd2, remain;
    Calls calls;
  };
  const Calls fcShow = {"DataFCFromNormalVarToPanel", "DataFCFromSystemVarToPanel",
                        "RefreshOutputState"};
  const Calls fsShow = {"DataFPFromNormalVarToPanel", "DataFPFromSystemVarToPanel",
                        "RefreshOutputState"};
  const Case cases[] = {{kModelFCT, FCCommRx, 0xFF, 4, fcShow}, // StartRise 31
                        {kModelFCS, FCCommRx, 0x00, 0, Cat3(fcShow, "DataFCFromMeasureToPanel")},
                        {kModelFCT, FCCommRx, 0x03, 0, {"RefreshOutputState"}},
                        {kModelFSA, FSCommRx, 0xFF, 2, fsShow}, // RiseTime 11 of group 2
                        {kModelFL, FLCommRx, 0x00, 0, Cat3(fsShow, "DataFPFromMeasureToPanel")},
                        {kModelFSB, FSCommRx, 0x03, 0, {"RefreshOutputState"}}};
  for (const Case &c : cases) {
    gPowerInfo.ModelType = c.model;
    gSystemSet.StartRise = 31;
    gCurrentNormalGroup = 2;
    gNormalFPSet[2].RiseTime = 11;
    gPowerInfo.RemainSecond = 8;
    gPowerInfo.Alarming = 1;
    gMeasureOutput.At(kMeasVoltage, 0) = 2200;
    view.Calls.clear();
    ASSERT_EQ(Receive(c.rx, HandFrame(0x0F, c.cmd2, {0}), 0x0F, c.cmd2), 1);
    EXPECT_EQ((std::array{gPowerInfo.OutputRunning, gPowerInfo.Alarming, gPowerInfo.RemainSecond,
                          gMeasureOutput.At(kMeasVoltage, 0)}),
              (std::array{c.cmd2 == 0xFF ? 1 : 0, 0, c.remain, c.cmd2 == 0x00 ? 0 : 2200}))
        << c.model << " " << c.cmd2;
    EXPECT_EQ(view.Calls, c.calls) << c.model << " " << c.cmd2;
  }
}

} // namespace
