// FP and GS codecs: frames built from the program's records compared with
// frames written out by hand, and hand-built replies stored into the records.
#include "CodecTestSupport.h"

#include "comm/FPCommand.h"

namespace {

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes &p : parts)
    out.insert(out.end(), p.begin(), p.end());
  return out;
}
Bytes Be16(int v) { return {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)}; }
Bytes Be24(int v) {
  return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

class CodecFPTest : public CodecFixture {
protected:
  void SetUp() override {
    CodecFixture::SetUp();
    gPowerInfo.ModelType = kModelFPA;
  }
  int RxFP(const Bytes &reply, int cmd1, int cmd2, int param = 0) {
    Bytes buf = reply;
    buf.resize(256, 0);
    return FPCommRx(cmd1, cmd2, param, buf.data(), static_cast<int>(reply.size()));
  }
  int RxGS(const Bytes &reply, int cmd1, int cmd2, int param = 0) {
    Bytes buf = reply;
    buf.resize(256, 0);
    return GSCommRx(cmd1, cmd2, param, buf.data(), static_cast<int>(reply.size()));
  }
};

TEST_F(CodecFPTest, CommandsWithoutBlock) {
  struct Case {
    int cmd1, cmd2, param;
    Bytes payload;
    int replyLen;
    bool gsOnly;
  };
  const Case cases[] = {
      {0x0F, 0x00, 0, {}, 9, false},   {0x0F, 0x03, 0, {}, 9, false},
      {0x0F, 0xFF, 0, {}, 9, false},   {0x5A, 0x11, 4, {4}, 9, false},
      {0x5A, 0x12, 0, {}, 9, false},   {0x5A, 0x13, 0, {}, 9, false},
      {0x5A, 0x15, 0, {}, 9, false},   {0xA5, 0x11, 0, {}, 9, false},
      {0xA5, 0x21, 9, {9}, 35, false}, {0xA5, 0x22, 0, {}, 60, false},
      {0xA5, 0x23, 0, {}, 20, false},  {0xA5, 0x24, 99, {99}, 36, false},
      {0xA5, 0x25, 0, {}, 20, false},  {0xA5, 0x26, 42, {42}, 48, false},
      {0xA5, 0x30, 0, {}, 15, false},  {0xA5, 0x31, 3, {3}, 165, false},
      {0xA5, 0x32, 3, {3}, 89, false}, {0xA5, 0x33, 3, {3}, 85, false},
      {0xF0, 0xAF, 0, {}, 63, false},  {0x0F, 0xFE, 0, {}, 9, true},
      {0x0F, 0x01, 0, {}, 9, true},    {0x5A, 0x18, 0, {}, 9, true},
      {0xA5, 0x28, 0, {}, 13, true},   {0xA5, 0x29, 7, {7}, 35, true},
      {0xF0, 0xEA, 0, {}, 9, true},    {0xF0, 0xAD, 0, {}, 10, true},
  };
  for (const Case &c : cases) {
    const Bytes expected = HandFrame(c.cmd1, c.cmd2, c.payload);
    gCommInfo.RxExpectLen = 0;
    EXPECT_EQ(Build(GSCommTx, c.cmd1, c.cmd2, c.param), expected) << c.cmd1 << " " << c.cmd2;
    EXPECT_EQ(gCommInfo.RxExpectLen, c.replyLen) << c.cmd1 << " " << c.cmd2;
    gCommInfo.RxExpectLen = 0;
    EXPECT_EQ(Build(FPCommTx, c.cmd1, c.cmd2, c.param), c.gsOnly ? Bytes{} : expected)
        << c.cmd1 << " " << c.cmd2;
    EXPECT_EQ(gCommInfo.RxExpectLen, c.gsOnly ? 0 : c.replyLen);
  }
  // The status query provokes a longer reply on FP than on GS.
  Build(FPCommTx, 0xF0, 0xEB);
  EXPECT_EQ(gCommInfo.RxExpectLen, 37);
  EXPECT_EQ(Build(GSCommTx, 0xF0, 0xEB), HandFrame(0xF0, 0xEB, {}));
  EXPECT_EQ(gCommInfo.RxExpectLen, 21);
  // The address comes from PowerInfo.
  gPowerInfo.SoftwareAddress = 0x21;
  EXPECT_EQ(Build(FPCommTx, 0x0F, 0xFF), HandFrame(0x0F, 0xFF, {}, 0x21));
}

TEST_F(CodecFPTest, CommandsOutsideTheSetOrIndexesOutOfRangeBuildNothing) {
  struct Case {
    int cmd1, cmd2, param;
  };
  const Case neither[] = {
      {0xF0, 0xED, 0}, {0xF0, 0xAE, 0},  {0xF0, 0x11, 0},  {0x5A, 0x14, 0},   {0x00, 0x00, 0},
      {0xA5, 0x50, 0}, {0x5A, 0x21, 10}, {0x5A, 0x21, -1}, {0x5A, 0x24, 100}, {0x5A, 0x26, 100},
      {0x5A, 0x29, 8}, {0x5A, 0x31, 10}, {0x5A, 0x32, 10}, {0x5A, 0x33, -1},  {0x5A, 0x50, 10},
  };
  for (const Case &c : neither) {
    uint8_t buf[256] = {};
    EXPECT_EQ(FPCommTx(c.cmd1, c.cmd2, c.param, buf), 0) << c.cmd1 << " " << c.cmd2;
    EXPECT_EQ(GSCommTx(c.cmd1, c.cmd2, c.param, buf), 0) << c.cmd1 << " " << c.cmd2;
    EXPECT_EQ(buf[0], 0);
  }
}

NormalFPSet SampleNormal() {
  NormalFPSet s{};
  s.OutMode = 1;
  s.OutChannel = 5;
  s.RiseTime = 0x0123;
  s.AngleUV = 1200;
  s.AngleVW = 1200;
  s.AngleUW = 2400;
  s.VolLevel = 2;
  s.VolU = 2200;
  s.FreqU = 5000;
  s.WaveU = 0;
  s.VolV = 1100;
  s.FreqV = 6000;
  s.WaveV = 3;
  s.VolW = 300;
  s.FreqW = 24000;
  s.WaveW = 10;
  return s;
}

TEST_F(CodecFPTest, NormalGroupBlock) {
  gNormalFPSet[3] = SampleNormal();
  const Bytes block = {0x01, 0x23, 0x04, 0xB0, 0x04, 0xB0, 0x09, 0x60, 0x02, 0x08, 0x98, 0x13,
                       0x88, 0x00, 0x04, 0x4C, 0x17, 0x70, 0x03, 0x01, 0x2C, 0x5D, 0xC0, 0x0A};
  EXPECT_EQ(Build(FPCommTx, 0x5A, 0x21, 3), HandFrame(0x5A, 0x21, Cat({{3, 1, 5}, block})));
  EXPECT_EQ(gCommInfo.RxExpectLen, 9);
  // GS sends every channel whatever the record holds.
  EXPECT_EQ(Build(GSCommTx, 0x5A, 0x21, 3), HandFrame(0x5A, 0x21, Cat({{3, 1, 7}, block})));
  EXPECT_EQ(gNormalFPSet[3].OutChannel, 5);
}

TEST_F(CodecFPTest, OnlineChangeFPCarriesTheChannelGSDoesNot) {
  gNormalFPSet[2] = SampleNormal();
  const Bytes phases = {0x08, 0x98, 0x13, 0x88, 0x00, 0x04, 0x4C, 0x17,
                        0x70, 0x03, 0x01, 0x2C, 0x5D, 0xC0, 0x0A};
  EXPECT_EQ(Build(FPCommTx, 0x5A, 0x50, 2), HandFrame(0x5A, 0x50, Cat({phases, {5}})));
  EXPECT_EQ(Build(GSCommTx, 0x5A, 0x50, 2), HandFrame(0x5A, 0x50, phases));
}

StepSet SampleStep(int outMode) {
  StepSet s{};
  s.OutMode = outMode;
  s.AngleUV = 1200, s.AngleVW = 1200, s.AngleUW = 2400;
  s.VolStartU = 2200, s.VolStepU = -25, s.FreqStartU = 5000, s.FreqStepU = -10, s.StepCntU = 5;
  s.StepTimeHU = 1, s.StepTimeMU = 2, s.StepTimeS2PU = 300, s.WaveU = 0;
  s.VolStartV = 1100, s.VolStepV = 10, s.FreqStartV = 6000, s.FreqStepV = 20, s.StepCntV = 7;
  s.StepTimeHV = 3, s.StepTimeMV = 4, s.StepTimeS2PV = 500, s.WaveV = 1;
  s.VolStartW = 500, s.VolStepW = -5, s.FreqStartW = 4000, s.FreqStepW = 0, s.StepCntW = 9;
  s.StepTimeHW = 5, s.StepTimeMW = 6, s.StepTimeS2PW = 700, s.WaveW = 2;
  return s;
}

TEST_F(CodecFPTest, StepBlockFollowsOutModeForVAndW) {
  const Bytes head = {0x04, 0xB0, 0x04, 0xB0, 0x09, 0x60};
  const Bytes volU = {0x08, 0x98, 0x80, 0x19},
              timeU = {0x13, 0x88, 0x80, 0x0A, 0x00, 0x05, 0x01, 0x02, 0x01, 0x2C};
  const Bytes volV = {0x04, 0x4C, 0x00, 0x0A},
              timeV = {0x17, 0x70, 0x00, 0x14, 0x00, 0x07, 0x03, 0x04, 0x01, 0xF4};
  const Bytes volW = {0x01, 0xF4, 0x80, 0x05},
              timeW = {0x0F, 0xA0, 0x00, 0x00, 0x00, 0x09, 0x05, 0x06, 0x02, 0xBC};
  const Bytes blockU = Cat({volU, timeU, {0}});
  struct Case {
    int outMode;
    Bytes v, w;
  };
  const Case cases[] = {
      {1, Cat({volV, timeV, {1}}), Cat({volW, timeW, {2}})},
      {16, Cat({volV, timeU, {1}}), Cat({volW, timeU, {2}})},
      {0, blockU, blockU},
      {5, blockU, blockU},
  };
  for (const Case &c : cases) {
    gStepSet = SampleStep(c.outMode);
    EXPECT_EQ(
        Build(FPCommTx, 0x5A, 0x22),
        HandFrame(0x5A, 0x22, Cat({{static_cast<uint8_t>(c.outMode)}, head, blockU, c.v, c.w})))
        << c.outMode;
  }
}

TEST_F(CodecFPTest, ProgramHeadersAndSteps) {
  gListSet = {2, 40, 0x012345, 16, 1200, 1200, 2400, 7};
  gRampSet = {0, 99, 1, 1, 0, 0, 0, 0};
  const Bytes listHead = Cat({{2, 40}, Be24(0x012345), {16}, Be16(1200), Be16(1200), Be16(2400)});
  EXPECT_EQ(Build(FPCommTx, 0x5A, 0x23), HandFrame(0x5A, 0x23, listHead));
  EXPECT_EQ(Build(FPCommTx, 0x5A, 0x25),
            HandFrame(0x5A, 0x25, Cat({{0, 99}, Be24(1), {1}, Bytes(6, 0)})));

  ListListSet &l = gListListSet[99];
  l.Phase[0] = {2200, 0, 5000, 1, 2, 300, 0};
  l.Phase[1] = {1100, 0, 6000, 3, 4, 500, 1};
  l.Phase[2] = {500, 0, 4000, 5, 6, 700, 2};
  const Bytes u = Cat({Be16(2200), Be16(5000), {1, 2}, Be16(300), {0}});
  const Bytes v = Cat({Be16(1100), Be16(6000), {3, 4}, Be16(500), {1}});
  const Bytes w = Cat({Be16(500), Be16(4000), {5, 6}, Be16(700), {2}});
  const Bytes v16 = Cat({Be16(1100), Be16(5000), {1, 2}, Be16(300), {1}});
  const Bytes w16 = Cat({Be16(500), Be16(5000), {1, 2}, Be16(300), {2}});
  struct ListCase {
    int outMode;
    Bytes expected;
  };
  const ListCase listCases[] = {
      {1, Cat({{99}, u, v, w})},
      {16, Cat({{99}, u, v16, w16})},
      {0, Cat({{99}, u, u, u})},
      {5, Cat({{99}, u, u, u})},
  };
  for (const ListCase &c : listCases) {
    gListSet.OutMode = c.outMode;
    EXPECT_EQ(Build(FPCommTx, 0x5A, 0x24, 99), HandFrame(0x5A, 0x24, c.expected)) << c.outMode;
  }

  RampRampSet &r = gRampRampSet[0];
  r.Phase[0] = {1000, 2000, 0, 0, 5000, 6000, 1, 2, 300, 0};
  r.Phase[1] = {1100, 2100, 0, 0, 4500, 5500, 3, 4, 500, 1};
  r.Phase[2] = {1200, 2200, 0, 0, 4000, 4100, 5, 6, 700, 2};
  const Bytes ru = Cat({Be16(1000), Be16(2000), Be16(5000), Be16(6000), {1, 2}, Be16(300), {0}});
  const Bytes rv = Cat({Be16(1100), Be16(2100), Be16(4500), Be16(5500), {3, 4}, Be16(500), {1}});
  const Bytes rw = Cat({Be16(1200), Be16(2200), Be16(4000), Be16(4100), {5, 6}, Be16(700), {2}});
  const Bytes rv16 = Cat({Be16(1100), Be16(2100), Be16(5000), Be16(6000), {1, 2}, Be16(300), {1}});
  const Bytes rw16 = Cat({Be16(1200), Be16(2200), Be16(5000), Be16(6000), {1, 2}, Be16(300), {2}});
  const ListCase rampCases[] = {
      {1, Cat({{0}, ru, rv, rw})},
      {16, Cat({{0}, ru, rv16, rw16})},
      {0, Cat({{0}, ru, ru, ru})},
      {5, Cat({{0}, ru, ru, ru})},
  };
  for (const ListCase &c : rampCases) {
    gRampSet.OutMode = c.outMode;
    EXPECT_EQ(Build(FPCommTx, 0x5A, 0x26, 0), HandFrame(0x5A, 0x26, c.expected)) << c.outMode;
  }
}

TEST_F(CodecFPTest, SystemBlockCarriesUCompensationOnlyForFPAAndGS) {
  gSystemSet = {1, 4321, 200, 999, 1, 0x0FA0};
  const Bytes with = {1, 0x0F, 0xA0, 0x10, 0xE1, 200, 1};
  const Bytes without = {1, 0x0F, 0xA0, 0x00, 0x00, 200, 1};
  struct Case {
    int model;
    int (*tx)(int, int, int, uint8_t *);
    Bytes payload;
  };
  const Case cases[] = {
      {kModelFPA, FPCommTx, with},    {kModelFPB, FPCommTx, without}, {kModelGS, GSCommTx, with},
      {kModelGS, FPCommTx, without}, // the FP codec exchanges it only with FPA
      {kModelFPA, GSCommTx, without},
  };
  for (const Case &c : cases) {
    gPowerInfo.ModelType = c.model;
    EXPECT_EQ(Build(c.tx, 0x5A, 0x30), HandFrame(0x5A, 0x30, c.payload)) << c.model;
  }
}

TEST_F(CodecFPTest, THDBlocksPlaceEachHarmonicIndex) {
  THDSet &t = gTHDSet[9];
  for (int i = 0; i < kTHDOrders; ++i) {
    t.Percent[i] = 0x100 + i;
    t.Angle[i] = 0xE00 + i;
  }
  struct Case {
    int cmd2;
    int len;
    int first, last; // harmonic indexes carried
  };
  const Case cases[] = {{0x31, 165, 1, 39}, {0x32, 89, 1, 20}, {0x33, 85, 21, 39}};
  for (const Case &c : cases) {
    Bytes payload = {9};
    for (int i = c.first; i <= c.last; ++i)
      payload = Cat({payload, Be16(0x100 + i), Be16(0xE00 + i)});
    const Bytes frame = Build(FPCommTx, 0x5A, c.cmd2, 9);
    EXPECT_EQ(frame, HandFrame(0x5A, c.cmd2, payload)) << c.cmd2;
    EXPECT_EQ(static_cast<int>(frame.size()), c.len);
  }
  // Spot checks of the fixed positions.
  const Bytes whole = Build(FPCommTx, 0x5A, 0x31, 9);
  EXPECT_EQ(whole[7], 0x01);
  EXPECT_EQ(whole[8], 0x01);   // index 1 at 7..10
  EXPECT_EQ(whole[162], 0x27); // index 39 angle low byte at 162
  const Bytes second = Build(FPCommTx, 0x5A, 0x33, 9);
  EXPECT_EQ(second[8], 0x15);  // index 21 at 7..10
  EXPECT_EQ(second[82], 0x27); // index 39 at 79..82
}

TEST_F(CodecFPTest, CrossBlocksOnGSOnly) {
  gPowerInfo.ModelType = kModelGS;
  gCrossListSet = {1, 6, 0x00ABCD, 3};
  EXPECT_EQ(Build(GSCommTx, 0x5A, 0x28), HandFrame(0x5A, 0x28, {1, 6, 0x00, 0xAB, 0xCD}));
  gCrossSet[7] = {5, 1, 2, 3, 2300, 5000, 0x010203, -900, 0, 0x0A0B0C, 20, 2300, 0x7FFFFF};
  EXPECT_EQ(Build(GSCommTx, 0x5A, 0x29, 7), HandFrame(0x5A, 0x29,
                                                      Cat({{7, 5, 1, 2, 3},
                                                           Be16(2300),
                                                           Be16(5000),
                                                           Be24(0x010203),
                                                           {0x83, 0x84},
                                                           Be16(0),
                                                           Be24(0x0A0B0C),
                                                           Be24(20),
                                                           Be16(2300),
                                                           Be24(0x7FFFFF)})));
  EXPECT_EQ(Build(FPCommTx, 0x5A, 0x29, 7), Bytes{});
}

// ---- replies ----

TEST_F(CodecFPTest, WriteAcknowledgementMustBeZero) {
  const std::pair<int, int> writes[] = {{0x5A, 0x11}, {0x5A, 0x12}, {0x5A, 0x21}, {0x5A, 0x22},
                                        {0x5A, 0x24}, {0x5A, 0x30}, {0x5A, 0x31}, {0x5A, 0x33},
                                        {0x5A, 0x50}, {0x0F, 0x03}};
  for (auto [cmd1, cmd2] : writes) {
    EXPECT_EQ(RxFP(HandFrame(cmd1, cmd2, {0}), cmd1, cmd2), 1) << cmd2;
    EXPECT_EQ(RxFP(HandFrame(cmd1, cmd2, {1}), cmd1, cmd2), 0) << cmd2;
    EXPECT_EQ(RxFP(HandFrame(cmd1, cmd2, {0, 0}), cmd1, cmd2), 0) << cmd2; // L 10
    EXPECT_EQ(RxGS(HandFrame(cmd1, cmd2, {0}), cmd1, cmd2), 1) << cmd2;
  }
  EXPECT_EQ(RxFP(HandFrame(0x5A, 0x18, {0}), 0x5A, 0x18), 0); // not in the FP set
  EXPECT_EQ(RxGS(HandFrame(0x5A, 0x18, {0}), 0x5A, 0x18), 1);
  EXPECT_EQ(RxGS(HandFrame(0x5A, 0x29, {0}), 0x5A, 0x29, 3), 1);
}

TEST_F(CodecFPTest, CurrentGroupReply) {
  EXPECT_EQ(RxFP(HandFrame(0xA5, 0x11, {7}), 0xA5, 0x11), 1);
  EXPECT_EQ(gCurrentNormalGroup, 7);
  EXPECT_EQ(RxFP(HandFrame(0xA5, 0x11, {10}), 0xA5, 0x11), 0);
  EXPECT_EQ(gCurrentNormalGroup, 7);
}

Bytes NormalReply(int group, int outMode, int channel) {
  return HandFrame(0xA5, 0x21,
                   Cat({{static_cast<uint8_t>(group), static_cast<uint8_t>(outMode),
                         static_cast<uint8_t>(channel)},
                        Be16(35),
                        Be16(1200),
                        Be16(1200),
                        Be16(2400),
                        {1},
                        Be16(2200),
                        Be16(5000),
                        {0},
                        Be16(1100),
                        Be16(6000),
                        {2},
                        Be16(500),
                        Be16(4000),
                        {3}}));
}

TEST_F(CodecFPTest, NormalGroupReplyPerFamily) {
  struct Case {
    const char *name;
    bool gs;
    int outMode, channel;
    int storedChannel; // record holds 6 before
    int volU, freqU, volV, freqV, volW, freqW;
  };
  const Case cases[] = {
      {"FP separate", false, 1, 5, 5, 2200, 5000, 1100, 6000, 500, 4000},
      {"FP balanced keeps the channel", false, 0, 5, 6, 2200, 5000, 1100, 6000, 500, 4000},
      {"GS separate zeroes switched-off phases", true, 1, 5, 6, 2200, 5000, 0, 0, 500, 4000},
      {"GS separate, only V", true, 1, 2, 6, 0, 0, 1100, 6000, 0, 0},
      {"GS balanced stores all", true, 0, 0, 6, 2200, 5000, 1100, 6000, 500, 4000},
  };
  for (const Case &c : cases) {
    ResetProgramState();
    gPowerInfo.SoftwareAddress = 1;
    gNormalFPSet[4].OutChannel = 6;
    const Bytes reply = NormalReply(4, c.outMode, c.channel);
    ASSERT_EQ(c.gs ? RxGS(reply, 0xA5, 0x21, 4) : RxFP(reply, 0xA5, 0x21, 4), 1) << c.name;
    const NormalFPSet &s = gNormalFPSet[4];
    EXPECT_EQ(s.OutMode, c.outMode) << c.name;
    EXPECT_EQ(s.OutChannel, c.storedChannel) << c.name;
    EXPECT_EQ(s.VolU, c.volU) << c.name;
    EXPECT_EQ(s.FreqU, c.freqU) << c.name;
    EXPECT_EQ(s.VolV, c.volV) << c.name;
    EXPECT_EQ(s.FreqV, c.freqV) << c.name;
    EXPECT_EQ(s.VolW, c.volW) << c.name;
    EXPECT_EQ(s.FreqW, c.freqW) << c.name;
    EXPECT_EQ(s.VolLine, c.volU * 1732 / 1000) << c.name;
    EXPECT_EQ((std::array{s.WaveU, s.WaveV, s.WaveW}), (std::array{0, 2, 3})) << c.name;
    EXPECT_EQ(s.RiseTime, 35);
    EXPECT_EQ((std::array{s.AngleUV, s.AngleVW, s.AngleUW}), (std::array{1200, 1200, 2400}));
    EXPECT_EQ(s.VolLevel, 1);
  }
}

TEST_F(CodecFPTest, NormalGroupReplyOutModeGoesToTheNamedGroup) {
  ASSERT_EQ(RxFP(NormalReply(2, 16, 7), 0xA5, 0x21, 5), 1);
  EXPECT_EQ(gNormalFPSet[2].OutMode, 16);
  EXPECT_EQ(gNormalFPSet[2].VolU, 0);
  EXPECT_EQ(gNormalFPSet[5].OutMode, 0);
  EXPECT_EQ(gNormalFPSet[5].VolU, 2200);
  // Group numbers beyond the ten groups are not stored.
  EXPECT_EQ(RxFP(NormalReply(10, 0, 7), 0xA5, 0x21, 5), 0);
  EXPECT_EQ(RxFP(NormalReply(1, 0, 7), 0xA5, 0x21, 10), 0);
}

TEST_F(CodecFPTest, StepReplyStoresEveryPhaseAndRefreshesThePanel) {
  gStepSet = SampleStep(1);
  const Bytes sent = Build(FPCommTx, 0x5A, 0x22);
  Bytes payload(sent.begin() + 6, sent.end() - 2);
  const StepSet expected = SampleStep(1);
  for (int page : {kPageMain, kPageStep}) {
    ResetProgramState();
    gPowerInfo.SoftwareAddress = 1;
    gCurrentPage = page;
    gStepSetDisMode = 3;
    gRefreshProWaveDelay = 12;
    view.Calls.clear();
    ASSERT_EQ(RxFP(HandFrame(0xA5, 0x22, payload), 0xA5, 0x22), 1);
    EXPECT_EQ(gStepSet.VolStepU, -25);
    EXPECT_EQ(gStepSet.FreqStepU, -10);
    EXPECT_EQ(gStepSet.VolStepW, -5);
    EXPECT_EQ(gStepSet.StepTimeS2PV, expected.StepTimeS2PV);
    EXPECT_EQ(gStepSet.WaveW, 2);
    EXPECT_EQ(gStepSet.VolLineStart, 2200 * 1732 / 1000);
    EXPECT_EQ(gStepSet.VolLineStep, -43);
    EXPECT_EQ(gRefreshProWaveDelay, 0);
    Calls want = {"DataFPFromStepVarToPanel"};
    if (page == kPageStep)
      want.push_back("RefreshStepSetGraph(1,1,3)");
    EXPECT_EQ(view.Calls, want);
  }
}

TEST_F(CodecFPTest, SystemReplyUCompensation) {
  const Bytes reply = HandFrame(0xA5, 0x30, {1, 0x0F, 0xA0, 0x10, 0xE1, 200, 0});
  struct Case {
    int model;
    bool gs;
    int stored;
  };
  const Case cases[] = {{kModelFPA, false, 4321}, {kModelFPB, false, 77}, {kModelGS, true, 4321}};
  for (const Case &c : cases) {
    gPowerInfo.ModelType = c.model;
    gSystemSet = {0, 77, 0, 5, 1, 0};
    ASSERT_EQ(c.gs ? RxGS(reply, 0xA5, 0x30) : RxFP(reply, 0xA5, 0x30), 1);
    EXPECT_EQ(gSystemSet.UCompensation, c.stored) << c.model;
    EXPECT_EQ(gSystemSet.UDisMode, 1);
    EXPECT_EQ(gSystemSet.OCP_Define, 4000);
    EXPECT_EQ(gSystemSet.DeviceSysByte, 200);
    EXPECT_EQ(gSystemSet.IfKeySound, 0);
    EXPECT_EQ(gSystemSet.StartRise, 5);
  }
}

TEST_F(CodecFPTest, THDReplyClearsTheGroupExceptForTheSecondHalf) {
  struct Case {
    int cmd2;
    bool clears;
  };
  const Case cases[] = {{0x31, true}, {0x32, true}, {0x33, false}};
  for (const Case &c : cases) {
    THDSet &t = gTHDSet[3];
    t = THDSet{};
    t.Percent[0] = 1000;
    t.Percent[5] = 55;
    t.Percent[30] = 33;
    t.Wave[100] = 1234;
    t.WaveRms = 10;
    t.WaveValid = 1;
    const int first = c.cmd2 == 0x33 ? 21 : 1;
    const int last = c.cmd2 == 0x32 ? 20 : 39;
    Bytes payload = {3};
    for (int i = first; i <= last; ++i)
      payload = Cat({payload, Be16(i == 2 ? 120 : 0), Be16(i == 39 ? 3599 : 0)});
    ASSERT_EQ(RxFP(HandFrame(0xA5, c.cmd2, payload), 0xA5, c.cmd2, 3), 1);
    EXPECT_EQ(t.Percent[0], c.clears ? 0 : 1000) << c.cmd2;
    EXPECT_EQ(t.Wave[100], c.clears ? 0 : 1234) << c.cmd2;
    EXPECT_EQ(t.WaveValid, c.clears ? 0 : 1) << c.cmd2;
    EXPECT_EQ(t.Percent[5], c.cmd2 == 0x33 ? 55 : 0) << c.cmd2; // index 5 carried as 0
    EXPECT_EQ(t.Percent[30], 0) << c.cmd2; // carried as 0, or cleared by a first half
    EXPECT_EQ(t.Percent[2], c.cmd2 == 0x33 ? 0 : 120) << c.cmd2;
    EXPECT_EQ(t.Angle[39], c.cmd2 == 0x32 ? 0 : 3599) << c.cmd2;
  }
  // The group asked for must exist.
  EXPECT_EQ(RxFP(HandFrame(0xA5, 0x33, Bytes(77, 0)), 0xA5, 0x33, 10), 0);
}

TEST_F(CodecFPTest, ProgramAndCrossReplies) {
  ASSERT_EQ(
      RxFP(HandFrame(0xA5, 0x23,
                     Cat({{2, 40}, Be24(0x012345), {16}, Be16(1200), Be16(1300), Be16(2400)})),
           0xA5, 0x23),
      1);
  EXPECT_EQ(gListSet.CircleDegree, 0x012345);
  EXPECT_EQ(gListSet.AngleVW, 1300);
  const Bytes list = Cat({{4},
                          Be16(2200),
                          Be16(5000),
                          {1, 2},
                          Be16(300),
                          {0},
                          Be16(1100),
                          Be16(6000),
                          {3, 4},
                          Be16(500),
                          {1},
                          Be16(500),
                          Be16(4000),
                          {5, 6},
                          Be16(700),
                          {2}});
  ASSERT_EQ(RxFP(HandFrame(0xA5, 0x24, list), 0xA5, 0x24, 4), 1);
  EXPECT_EQ(gListListSet[4].Phase[1].Freq, 6000);
  EXPECT_EQ(gListListSet[4].Phase[2].TimeS2P, 700);
  EXPECT_EQ(gListListSet[4].Phase[0].VolLine, 3810);
  EXPECT_EQ(gListListSet[4].Phase[1].VolLine, 0); // only U is derived
  EXPECT_EQ(RxFP(HandFrame(0xA5, 0x24, list), 0xA5, 0x24, 100), 0);

  const Bytes ramp = Cat({{4},
                          Be16(1000),
                          Be16(2000),
                          Be16(5000),
                          Be16(6000),
                          {1, 2},
                          Be16(300),
                          {0},
                          Bytes(13, 1),
                          Bytes(13, 2)});
  ASSERT_EQ(RxFP(HandFrame(0xA5, 0x26, ramp), 0xA5, 0x26, 99), 1);
  EXPECT_EQ(gRampRampSet[99].Phase[0].VolLineStart, 1732);
  EXPECT_EQ(gRampRampSet[99].Phase[0].VolLineStop, 3464);
  EXPECT_EQ(gRampRampSet[99].Phase[2].FreqStop, 0x0202);

  EXPECT_EQ(RxFP(HandFrame(0xA5, 0x28, {1, 6, 0, 0, 9}), 0xA5, 0x28), 0);
  ASSERT_EQ(RxGS(HandFrame(0xA5, 0x28, {1, 6, 0, 0, 9}), 0xA5, 0x28), 1);
  EXPECT_EQ(gCrossListSet.StopNo, 6);
  EXPECT_EQ(gCrossListSet.CircleDegree, 9);
  const Bytes entry = Cat({{2, 5, 1, 2, 3},
                           Be16(2300),
                           Be16(5000),
                           Be24(100),
                           {0x80, 0x5A},
                           Be16(0),
                           Be24(200),
                           Be24(20),
                           Be16(2300),
                           Be24(1000)});
  ASSERT_EQ(RxGS(HandFrame(0xA5, 0x29, entry), 0xA5, 0x29, 2), 1);
  EXPECT_EQ(gCrossSet[2].CrossAngle, -90);
  EXPECT_EQ(gCrossSet[2].EndTime, 1000);
  EXPECT_EQ(RxGS(HandFrame(0xA5, 0x29, entry), 0xA5, 0x29, 8), 0);
}

Bytes MeasureReply() {
  Bytes payload = {0xEE}; // byte 6 is free
  payload = Cat({payload,
                 Be16(2200),
                 Be16(15),
                 Be16(5000),
                 {0x00, 0x01, 0x00},
                 Be24(400),
                 Be16(950),
                 Be16(1414),
                 Be16(21)});
  payload = Cat({payload,
                 Be16(2210),
                 Be16(16),
                 Be16(5001),
                 {0x80, 0x01, 0x00},
                 Be24(401),
                 Be16(951),
                 Be16(1415),
                 Be16(22)});
  payload = Cat({payload,
                 Be16(2220),
                 Be16(17),
                 Be16(5002),
                 {0xFF, 0xFF, 0xFF},
                 Be24(0xFFFFFF),
                 Be16(952),
                 Be16(1416),
                 Be16(23)});
  return HandFrame(0xF0, 0xAF, payload);
}

TEST_F(CodecFPTest, MeasurementReplyWithSignedPower) {
  for (int running : {0, 1}) {
    gPowerInfo.OutputRunning = running;
    view.Calls.clear();
    ASSERT_EQ(RxFP(MeasureReply(), 0xF0, 0xAF), 1);
    const MeasureOutput &m = gMeasureOutput;
    EXPECT_EQ(m.At(kMeasVoltage, 0), 2200);
    EXPECT_EQ(m.At(kMeasCurrent, 1), 16);
    EXPECT_EQ(m.At(kMeasFrequency, 2), 5002);
    EXPECT_EQ(m.At(kMeasPower, 0), 256);
    EXPECT_EQ(m.At(kMeasPower, 1), -256);
    EXPECT_EQ(m.At(kMeasPower, 2), -0x7FFFFF);
    EXPECT_EQ(m.At(kMeasApparentPower, 2), 0xFFFFFF);
    EXPECT_EQ(m.At(kMeasPowerFactor, 1), 951);
    EXPECT_EQ(m.At(kMeasCrestFactor, 2), 1416);
    EXPECT_EQ(m.At(kMeasPeakCurrent, 0), 21);
    EXPECT_EQ(m.At(8, 0), 0);
    EXPECT_EQ(view.Calls, running ? Calls{"DataFPFromMeasureToPanel"} : Calls{});
  }
}

// A status payload of the FP length (29 bytes) with bytes set by frame offset.
Bytes FPStatus(std::initializer_list<std::pair<int, int>> set) {
  return HandFrame(0xF0, 0xEB, HandPayload(37, set));
}
Bytes GSStatus(std::initializer_list<std::pair<int, int>> set) {
  return HandFrame(0xF0, 0xEB, HandPayload(21, set));
}

TEST_F(CodecFPTest, FPStatusReplies) {
  struct Case {
    const char *name;
    Bytes reply;
    int wasRunning;
    int running, alarming;
    PowerState expect; // RunState .. DCValue
    Calls calls;
  };
  const PowerState before = {0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 0, 0};
  const Case cases[] = {
      {"144 normal running",
       FPStatus({{6, 144}, {7, 3}, {8, 0x01}, {9, 0x02}, {10, 0x03}, {11, 0x04}}),
       0,
       1,
       0,
       {144, 11, 3, 13, 14, 0x0102, 0x0304, 17, 18, 19, 20, 21, 22, 0, 0},
       {"RefreshOutputState"}},
      {"145 group only",
       FPStatus({{6, 145}, {7, 9}, {8, 0xFF}}),
       0,
       1,
       0,
       {145, 11, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 0, 0},
       {"RefreshOutputState"}},
      {"160 step, three phases",
       FPStatus({{6, 160},
                 {7, 1},
                 {9, 2},
                 {12, 3},
                 {15, 4},
                 {17, 5},
                 {20, 6},
                 {23, 7},
                 {25, 8},
                 {28, 9},
                 {31, 10},
                 {10, 1}}),
       0,
       1,
       0,
       {160, 11, 1, 13, 2, 0x010003, 4, 5, 6, 7, 8, 9, 10, 0, 0},
       {"RefreshStepSetGraph(0,0,1)", "RefreshOutputState"}},
      {"176 list",
       FPStatus({{6, 176},
                 {7, 2},
                 {8, 1},
                 {10, 2},
                 {12, 3},
                 {15, 4},
                 {18, 5},
                 {20, 6},
                 {23, 7},
                 {26, 8},
                 {28, 9},
                 {31, 10},
                 {34, 11}}),
       0,
       1,
       0,
       {176, 11, 2, 0x010002, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 0},
       {"RefreshListSetGraph(0,0,1)", "RefreshOutputState"}},
      {"192 ramp",
       FPStatus({{6, 192}, {7, 2}, {10, 7}}),
       1,
       1,
       0,
       {192, 11, 2, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {"RefreshRampSetGraph(0,0,1)", "RefreshOutputState"}},
      {"9 alarm with code",
       FPStatus({{6, 9}, {7, 0x05}, {8, 0x1F}}),
       1,
       0,
       1,
       {9, 1311, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 0, 0},
       {"RefreshOutputState"}},
      {"8 is stopped on FP",
       FPStatus({{6, 8}, {7, 1}}),
       0,
       0,
       0,
       {8, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 0, 0},
       {"RefreshOutputState"}},
      {"208 is stopped on FP",
       FPStatus({{6, 208}, {7, 1}}),
       0,
       0,
       0,
       {208, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 0, 0},
       {"RefreshOutputState"}},
      {"0 stopped",
       FPStatus({{6, 0}, {7, 1}, {8, 1}}),
       0,
       0,
       0,
       {0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 0, 0},
       {"RefreshOutputState"}},
  };
  for (const Case &c : cases) {
    gPowerState = before;
    gPowerInfo.OutputRunning = c.wasRunning;
    gPowerInfo.Alarming = 1 - c.alarming;
    view.Calls.clear();
    ASSERT_EQ(RxFP(c.reply, 0xF0, 0xEB), 1) << c.name;
    EXPECT_EQ(gPowerInfo.OutputRunning, c.running) << c.name;
    EXPECT_EQ(gPowerInfo.Alarming, c.alarming) << c.name;
    const int32_t *got = &gPowerState.RunState;
    const int32_t *want = &c.expect.RunState;
    for (int i = 0; i < 15; ++i)
      EXPECT_EQ(got[i], want[i]) << c.name << " field " << i;
    EXPECT_EQ(view.Calls, c.calls) << c.name;
  }
  // The GS status length is not an FP status.
  EXPECT_EQ(RxFP(GSStatus({{6, 144}}), 0xF0, 0xEB), 0);
}

TEST_F(CodecFPTest, GSStatusReplies) {
  gPowerInfo.ModelType = kModelGS;
  gCrossSetDisMode = 2;
  struct Case {
    const char *name;
    Bytes reply;
    int running, alarming; // before: running 0, alarming 0
    PowerState expect;
    Calls calls;
  };
  const PowerState before = {0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 1, 5};
  const Case cases[] = {
      {"160 copies U into V and W",
       GSStatus({{6, 160}, {7, 4}, {9, 2}, {12, 3}, {15, 4}}),
       1,
       0,
       {160, 11, 4, 13, 2, 3, 4, 2, 3, 4, 2, 3, 4, 1, 5},
       {"RefreshStepSetGraph(0,0,1)", "RefreshOutputState"}},
      {"176 leaves V and W",
       GSStatus({{6, 176}, {7, 4}, {10, 9}, {12, 2}, {15, 3}, {18, 4}}),
       1,
       0,
       {176, 11, 4, 9, 2, 3, 4, 17, 18, 19, 20, 21, 22, 1, 5},
       {"RefreshListSetGraph(0,0,1)", "RefreshOutputState"}},
      {"208 cross entry 7",
       GSStatus({{6, 208}, {9, 6}, {11, 7}, {14, 8}, {17, 9}}),
       1,
       0,
       {208, 11, 12, 6, 7, 8, 9, 17, 18, 19, 20, 21, 22, 1, 5},
       {"RefreshOutputState", "RefreshCrossSetGraph(0,0,2)"}},
      {"208 entry 9: fields only",
       GSStatus({{6, 208}, {9, 6}, {11, 9}, {14, 8}, {17, 9}}),
       0,
       0,
       {208, 11, 12, 6, 9, 8, 9, 17, 18, 19, 20, 21, 22, 1, 5},
       {}},
      {"8 alarm without code",
       GSStatus({{6, 8}, {7, 1}, {8, 2}}),
       0,
       1,
       {8, 900, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 1, 5},
       {"RefreshOutputState"}},
      {"9 alarm",
       GSStatus({{6, 9}, {7, 0x01}, {8, 0x2C}}),
       0,
       1,
       {9, 300, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 1, 5},
       {"RefreshOutputState"}},
      {"144 as FP",
       GSStatus({{6, 144}, {7, 2}, {9, 5}, {11, 6}}),
       1,
       0,
       {144, 11, 2, 13, 14, 5, 6, 17, 18, 19, 20, 21, 22, 1, 5},
       {"RefreshOutputState"}},
  };
  for (const Case &c : cases) {
    gPowerState = before;
    gPowerInfo.OutputRunning = 0;
    gPowerInfo.Alarming = 0;
    view.Calls.clear();
    ASSERT_EQ(RxGS(c.reply, 0xF0, 0xEB), 1) << c.name;
    EXPECT_EQ(gPowerInfo.OutputRunning, c.running) << c.name;
    EXPECT_EQ(gPowerInfo.Alarming, c.alarming) << c.name;
    const int32_t *got = &gPowerState.RunState;
    const int32_t *want = &c.expect.RunState;
    for (int i = 0; i < 15; ++i)
      EXPECT_EQ(got[i], want[i]) << c.name << " field " << i;
    EXPECT_EQ(view.Calls, c.calls) << c.name;
  }
  // A Cross entry above 7 leaves a running output marked running.
  gPowerInfo.OutputRunning = 1;
  ASSERT_EQ(RxGS(GSStatus({{6, 208}, {11, 9}}), 0xF0, 0xEB), 1);
  EXPECT_EQ(gPowerInfo.OutputRunning, 1);
  EXPECT_EQ(RxGS(FPStatus({{6, 144}}), 0xF0, 0xEB), 0);
}

TEST_F(CodecFPTest, StoppedStatusRedrawsTheProgramPageOnlyAfterARun) {
  gStepSetDisMode = 2;
  gListSetDisMode = 5;
  gRampSetDisMode = 6;
  gCrossSetDisMode = 4;
  struct Case {
    int page;
    int wasRunning;
    Calls calls;
  };
  const Case cases[] = {
      {kPageStep, 1, {"RefreshStepSetGraph(0,1,2)", "RefreshOutputState"}},
      {kPageList, 1, {"RefreshListSetGraph(0,1,5)", "RefreshOutputState"}},
      {kPageRamp, 1, {"RefreshRampSetGraph(0,1,6)", "RefreshOutputState"}},
      {kPageCross, 1, {"RefreshCrossSetGraph(0,1,4)", "RefreshOutputState"}},
      {kPageMain, 1, {"RefreshOutputState"}},
      {kPageTHD, 1, {"RefreshOutputState"}},
      {kPageStep, 0, {"RefreshOutputState"}},
  };
  for (bool gs : {false, true}) {
    for (const Case &c : cases) {
      gCurrentPage = c.page;
      gPowerInfo.OutputRunning = c.wasRunning;
      gPowerInfo.Alarming = 1;
      view.Calls.clear();
      ASSERT_EQ(gs ? RxGS(GSStatus({{6, 1}}), 0xF0, 0xEB) : RxFP(FPStatus({{6, 1}}), 0xF0, 0xEB),
                1);
      EXPECT_EQ(view.Calls, c.calls) << c.page << " " << gs;
      EXPECT_EQ(gPowerInfo.OutputRunning, 0);
      EXPECT_EQ(gPowerInfo.Alarming, 0);
    }
  }
}

TEST_F(CodecFPTest, OutputControlReplies) {
  struct Case {
    int cmd2;
    int riseTime; // of the current group
    int remain;
    int running;
    bool clearsMeasure;
    Calls calls;
  };
  const Case cases[] = {
      {0xFF, 25, 3, 1, false, {"DataFPFromVarToPanel(2)", "RefreshOutputState"}},
      {0xFF, 1, 1, 1, false, {"DataFPFromVarToPanel(2)", "RefreshOutputState"}},
      {0xFF, 10, 1, 1, false, {"DataFPFromVarToPanel(2)", "RefreshOutputState"}},
      {0xFF, 0, 0, 1, false, {"DataFPFromVarToPanel(2)", "RefreshOutputState"}},
      {0xFF, -5, 0, 1, false, {"DataFPFromVarToPanel(2)", "RefreshOutputState"}},
      {0x00,
       25,
       0,
       0,
       true,
       {"DataFPFromVarToPanel(2)", "RefreshOutputState", "DataFPFromMeasureToPanel"}},
      {0x03, 25, 0, 0, false, {"RefreshOutputState"}},
  };
  for (const Case &c : cases) {
    gCurrentPage = kPageList;
    gCurrentNormalGroup = 6;
    gNormalFPSet[6].RiseTime = c.riseTime;
    gPowerInfo.OutputRunning = 1 - c.running;
    gPowerInfo.Alarming = 1;
    gPowerInfo.RemainSecond = 9;
    gMeasureOutput.At(kMeasVoltage, 1) = 2300;
    view.Calls.clear();
    ASSERT_EQ(RxFP(HandFrame(0x0F, c.cmd2, {0}), 0x0F, c.cmd2), 1);
    EXPECT_EQ(gPowerInfo.OutputRunning, c.running) << c.cmd2;
    EXPECT_EQ(gPowerInfo.Alarming, 0);
    EXPECT_EQ(gPowerInfo.RemainSecond, c.remain) << c.cmd2 << " " << c.riseTime;
    EXPECT_EQ(gMeasureOutput.At(kMeasVoltage, 1), c.clearsMeasure ? 0 : 2300);
    EXPECT_EQ(view.Calls, c.calls) << c.cmd2;
  }
  // A refused command changes nothing.
  gPowerInfo.OutputRunning = 0;
  view.Calls.clear();
  EXPECT_EQ(RxFP(HandFrame(0x0F, 0xFF, {2}), 0x0F, 0xFF), 0);
  EXPECT_EQ(gPowerInfo.OutputRunning, 0);
  EXPECT_TRUE(view.Calls.empty());
}

TEST_F(CodecFPTest, GSDCOutput) {
  gPowerInfo.ModelType = kModelGS;
  ASSERT_EQ(RxGS(HandFrame(0x0F, 0xFE, {0}), 0x0F, 0xFE), 1);
  EXPECT_EQ(gPowerState.DCOutputOn, 1);
  ASSERT_EQ(RxGS(HandFrame(0x0F, 0x01, {0}), 0x0F, 0x01), 1);
  EXPECT_EQ(gPowerState.DCOutputOn, 0);
  ASSERT_EQ(RxGS(HandFrame(0xF0, 0xEA, {1}), 0xF0, 0xEA), 1); // state byte, not an ack
  EXPECT_EQ(gPowerState.DCOutputOn, 1);
  ASSERT_EQ(RxGS(HandFrame(0xF0, 0xAD, {0x04, 0xD2}), 0xF0, 0xAD), 1);
  EXPECT_EQ(gPowerState.DCValue, 1234);
  EXPECT_EQ(view.Calls, Calls(4, "RefreshDCOutputStateAndMeasure"));
  EXPECT_EQ(gPowerInfo.OutputRunning, 0);
  EXPECT_EQ(RxFP(HandFrame(0xF0, 0xAD, {0x04, 0xD2}), 0xF0, 0xAD), 0);
  EXPECT_EQ(RxGS(HandFrame(0x0F, 0xFE, {1}), 0x0F, 0xFE), 0);
}

} // namespace
