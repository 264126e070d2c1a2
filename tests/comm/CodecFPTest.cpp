// FP and GS codecs: frames built from the program's records against frames
// written out by hand, and hand-built replies against the program-side rules.
// (Each block is read back by the round trip with the simulated source.)
#include "CodecTestSupport.h"

#include "FieldList.h"
#include "comm/FPCommand.h"

namespace {

class CodecFPTest : public CodecFixture {
protected:
  void SetUp() override {
    CodecFixture::SetUp();
    gPowerInfo.ModelType = kModelFPA;
  }
};

TEST_F(CodecFPTest, CommandSetAndReplyLengths) {
  struct Case {
    int cmd1, cmd2, param;
    Bytes payload;
    int fpReply, gsReply; // 0: not in the set
  };
  // clang-format off
  const Case cases[] = {
      {0x0F, 0x00, 0, {}, 9, 9},     {0x0F, 0x03, 0, {}, 9, 9},    {0x0F, 0xFF, 0, {}, 9, 9},
      {0x5A, 0x11, 4, {4}, 9, 9},    {0x5A, 0x12, 0, {}, 9, 9},    {0x5A, 0x13, 0, {}, 9, 9},
      {0x5A, 0x15, 0, {}, 9, 9},     {0xA5, 0x11, 0, {}, 9, 9},    {0xA5, 0x21, 9, {9}, 35, 35},
      {0xA5, 0x22, 0, {}, 60, 60},   {0xA5, 0x23, 0, {}, 20, 20},  {0xA5, 0x24, 99, {99}, 36, 36},
      {0xA5, 0x25, 0, {}, 20, 20},   {0xA5, 0x26, 42, {42}, 48, 48}, {0xA5, 0x30, 0, {}, 15, 15},
      {0xA5, 0x31, 3, {3}, 165, 165}, {0xA5, 0x32, 3, {3}, 89, 89}, {0xA5, 0x33, 3, {3}, 85, 85},
      {0xF0, 0xAF, 0, {}, 63, 63},   {0xF0, 0xEB, 0, {}, 37, 21},  {0x0F, 0xFE, 0, {}, 0, 9},
      {0x0F, 0x01, 0, {}, 0, 9},     {0x5A, 0x18, 0, {}, 0, 9},    {0xA5, 0x28, 0, {}, 0, 13},
      {0xA5, 0x29, 7, {7}, 0, 35},   {0xF0, 0xEA, 0, {}, 0, 9},    {0xF0, 0xAD, 0, {}, 0, 10},
      {0xF0, 0xED, 0, {}, 0, 0},     {0xF0, 0xAE, 0, {}, 0, 0},    {0xF0, 0x11, 0, {}, 0, 0},
      {0x5A, 0x14, 0, {}, 0, 0},     {0x00, 0x00, 0, {}, 0, 0},
      // indexes outside the records build nothing
      {0x5A, 0x21, 10, {}, 0, 0},    {0x5A, 0x21, -1, {}, 0, 0},   {0x5A, 0x26, 100, {}, 0, 0},
      {0x5A, 0x29, 8, {}, 0, 0},     {0x5A, 0x33, 10, {}, 0, 0},   {0x5A, 0x50, 10, {}, 0, 0}};
  // clang-format on
  for (const Case &c : cases) {
    const Bytes expected = HandFrame(c.cmd1, c.cmd2, c.payload);
    for (auto [tx, reply] :
         {std::pair{TxFn{FPCommTx}, c.fpReply}, std::pair{TxFn{GSCommTx}, c.gsReply}}) {
      gCommInfo.RxExpectLen = 0;
      EXPECT_EQ(Build(tx, c.cmd1, c.cmd2, c.param), reply ? expected : Bytes{})
          << c.cmd1 << " " << c.cmd2 << " " << c.param;
      EXPECT_EQ(gCommInfo.RxExpectLen, reply) << c.cmd1 << " " << c.cmd2;
    }
  }
  gPowerInfo.SoftwareAddress = 0x21; // the address comes from PowerInfo
  EXPECT_EQ(Build(FPCommTx, 0x0F, 0xFF), HandFrame(0x0F, 0xFF, {}, 0x21));
}

TEST_F(CodecFPTest, NormalGroupAndOnlineChange) {
  SetFields(gNormalFPSet[3], "OutMode=1 OutChannel=5 RiseTime=291 VolLevel=2 AngleUV=1200 "
                             "AngleVW=1200 AngleUW=2400 VolU=2200 FreqU=5000 WaveU=0 VolV=1100 "
                             "FreqV=6000 WaveV=3 VolW=300 FreqW=24000 WaveW=10");
  const Bytes phases =
      Cat({Be16(2200), Be16(5000), {0}, Be16(1100), Be16(6000), {3}, Be16(300), Be16(24000), {10}});
  const Bytes block = Cat({Be16(0x0123), Be16(1200), Be16(1200), Be16(2400), {2}, phases});
  // GS sends every channel whatever the record holds.
  EXPECT_EQ(Build(GSCommTx, 0x5A, 0x21, 3), HandFrame(0x5A, 0x21, Cat({{3, 1, 7}, block})));
  EXPECT_EQ(gNormalFPSet[3].OutChannel, 5);
  // The on-line change: FP adds the channel byte (L 24), GS does not (L 23).
  EXPECT_EQ(Build(FPCommTx, 0x5A, 0x50, 3), HandFrame(0x5A, 0x50, Cat({phases, {5}})));
  EXPECT_EQ(Build(GSCommTx, 0x5A, 0x50, 3), HandFrame(0x5A, 0x50, phases));
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
  const Bytes volU = {0x08, 0x98, 0x80, 0x19}, volV = {0x04, 0x4C, 0x00, 0x0A},
              volW = {0x01, 0xF4, 0x80, 0x05};
  const Bytes timeU = {0x13, 0x88, 0x80, 0x0A, 0x00, 0x05, 0x01, 0x02, 0x01, 0x2C};
  const Bytes timeV = {0x17, 0x70, 0x00, 0x14, 0x00, 0x07, 0x03, 0x04, 0x01, 0xF4};
  const Bytes timeW = {0x0F, 0xA0, 0x00, 0x00, 0x00, 0x09, 0x05, 0x06, 0x02, 0xBC};
  const Bytes blockU = Cat({volU, timeU, {0}});
  const struct {
    int outMode;
    Bytes v, w;
  } cases[] = {{1, Cat({volV, timeV, {1}}), Cat({volW, timeW, {2}})},
               {16, Cat({volV, timeU, {1}}), Cat({volW, timeU, {2}})},
               {0, blockU, blockU}};
  for (const auto &c : cases) {
    gStepSet = SampleStep(c.outMode);
    const Bytes head = {static_cast<uint8_t>(c.outMode), 0x04, 0xB0, 0x04, 0xB0, 0x09, 0x60};
    EXPECT_EQ(Build(FPCommTx, 0x5A, 0x22), HandFrame(0x5A, 0x22, Cat({head, blockU, c.v, c.w})))
        << c.outMode;
  }
}

TEST_F(CodecFPTest, ListAndRampStepsFollowTheProgramOutMode) {
  gListListSet[99].Phase = {
      {{2200, 0, 5000, 1, 2, 300, 0}, {1100, 0, 6000, 3, 4, 500, 1}, {500, 0, 4000, 5, 6, 700, 2}}};
  gRampRampSet[0].Phase = {{{1000, 2000, 0, 0, 5000, 6000, 1, 2, 300, 0},
                            {1100, 2100, 0, 0, 4500, 5500, 3, 4, 500, 1},
                            {1200, 2200, 0, 0, 4000, 4100, 5, 6, 700, 2}}};
  const Bytes lu = Cat({Be16(2200), Be16(5000), {1, 2}, Be16(300), {0}});
  const Bytes lv = Cat({Be16(1100), Be16(6000), {3, 4}, Be16(500), {1}});
  const Bytes lw = Cat({Be16(500), Be16(4000), {5, 6}, Be16(700), {2}});
  const Bytes lv16 = Cat({Be16(1100), Be16(5000), {1, 2}, Be16(300), {1}});
  const Bytes lw16 = Cat({Be16(500), Be16(5000), {1, 2}, Be16(300), {2}});
  const Bytes rTimeU = Cat({Be16(5000), Be16(6000), {1, 2}, Be16(300)});
  const Bytes ru = Cat({Be16(1000), Be16(2000), rTimeU, {0}});
  const Bytes rv = Cat({Be16(1100), Be16(2100), Be16(4500), Be16(5500), {3, 4}, Be16(500), {1}});
  const Bytes rw = Cat({Be16(1200), Be16(2200), Be16(4000), Be16(4100), {5, 6}, Be16(700), {2}});
  const Bytes rv16 = Cat({Be16(1100), Be16(2100), rTimeU, {1}});
  const Bytes rw16 = Cat({Be16(1200), Be16(2200), rTimeU, {2}});
  const struct {
    int outMode;
    Bytes list, ramp;
  } cases[] = {{1, Cat({lu, lv, lw}), Cat({ru, rv, rw})},
               {16, Cat({lu, lv16, lw16}), Cat({ru, rv16, rw16})},
               {0, Cat({lu, lu, lu}), Cat({ru, ru, ru})}};
  for (const auto &c : cases) {
    gListSet.OutMode = gRampSet.OutMode = c.outMode;
    EXPECT_EQ(Build(FPCommTx, 0x5A, 0x24, 99), HandFrame(0x5A, 0x24, Cat({{99}, c.list})));
    EXPECT_EQ(Build(FPCommTx, 0x5A, 0x26, 0), HandFrame(0x5A, 0x26, Cat({{0}, c.ramp})));
  }
}

// ---- replies ----

TEST_F(CodecFPTest, WriteAcknowledgementAndCurrentGroup) {
  for (int cmd2 : {0x11, 0x12, 0x21, 0x22, 0x24, 0x30, 0x31, 0x33, 0x50}) {
    EXPECT_EQ(Receive(FPCommRx, HandFrame(0x5A, cmd2, {0}), 0x5A, cmd2), 1) << cmd2;
    EXPECT_EQ(Receive(FPCommRx, HandFrame(0x5A, cmd2, {1}), 0x5A, cmd2), 0) << cmd2;
    EXPECT_EQ(Receive(FPCommRx, HandFrame(0x5A, cmd2, {0, 0}), 0x5A, cmd2), 0) << cmd2; // L 10
    EXPECT_EQ(Receive(GSCommRx, HandFrame(0x5A, cmd2, {0}), 0x5A, cmd2), 1) << cmd2;
  }
  EXPECT_EQ(Receive(FPCommRx, HandFrame(0x5A, 0x18, {0}), 0x5A, 0x18), 0); // no Cross on FP
  EXPECT_EQ(Receive(GSCommRx, HandFrame(0x5A, 0x29, {0}), 0x5A, 0x29, 3), 1);

  EXPECT_EQ(Receive(FPCommRx, HandFrame(0xA5, 0x11, {7}), 0xA5, 0x11), 1);
  EXPECT_EQ(gCurrentNormalGroup, 7);
  // A group the program lacks: the reply is taken, the group stays.
  EXPECT_EQ(Receive(FPCommRx, HandFrame(0xA5, 0x11, {10}), 0xA5, 0x11), 1);
  EXPECT_EQ(gCurrentNormalGroup, 7);
}

Bytes NormalReply(int group, int outMode, int channel) {
  const Bytes head = {static_cast<uint8_t>(group), static_cast<uint8_t>(outMode),
                      static_cast<uint8_t>(channel)};
  // clang-format off
  return HandFrame(0xA5, 0x21, Cat({head, Be16(35), Be16(1200), Be16(1200), Be16(2400), {1},
                                    Be16(2200), Be16(5000), {0}, Be16(1100), Be16(6000), {2},
                                    Be16(500), Be16(4000), {3}}));
  // clang-format on
}

TEST_F(CodecFPTest, NormalGroupReplyPerFamily) {
  const struct {
    const char *name;
    RxFn rx;
    int outMode, channel;
    int storedChannel;          // the record holds 6 before
    std::array<int, 6> volFreq; // VolU FreqU VolV FreqV VolW FreqW
  } cases[] = {
      {"FP separate", FPCommRx, 1, 5, 5, {2200, 5000, 1100, 6000, 500, 4000}},
      {"FP balanced keeps the channel", FPCommRx, 0, 5, 6, {2200, 5000, 1100, 6000, 500, 4000}},
      {"GS separate, V off", GSCommRx, 1, 5, 6, {2200, 5000, 0, 0, 500, 4000}},
      {"GS separate, only V", GSCommRx, 1, 2, 6, {0, 0, 1100, 6000, 0, 0}},
      {"GS balanced stores all", GSCommRx, 0, 0, 6, {2200, 5000, 1100, 6000, 500, 4000}}};
  for (const auto &c : cases) {
    Reset(c.rx == GSCommRx ? kModelGS : kModelFPA);
    gNormalFPSet[4].OutChannel = 6;
    ASSERT_EQ(Receive(c.rx, NormalReply(4, c.outMode, c.channel), 0xA5, 0x21, 4), 1) << c.name;
    const NormalFPSet &s = gNormalFPSet[4];
    EXPECT_EQ(s.OutMode, c.outMode) << c.name;
    EXPECT_EQ(s.OutChannel, c.storedChannel) << c.name;
    EXPECT_EQ((std::array{s.VolU, s.FreqU, s.VolV, s.FreqV, s.VolW, s.FreqW}), c.volFreq) << c.name;
    EXPECT_EQ(s.VolLine, c.volFreq[0] ? 3810 : 0) << c.name; // U x 1.732
    EXPECT_EQ((std::array{s.WaveU, s.WaveV, s.WaveW}), (std::array{0, 2, 3})) << c.name;
  }
  // OutMode goes to the group the reply names, the rest to the group asked for.
  Reset(kModelFPA);
  ASSERT_EQ(Receive(FPCommRx, NormalReply(2, 16, 7), 0xA5, 0x21, 5), 1);
  EXPECT_EQ((std::array{gNormalFPSet[2].OutMode, gNormalFPSet[2].VolU}), (std::array{16, 0}));
  EXPECT_EQ((std::array{gNormalFPSet[5].OutMode, gNormalFPSet[5].VolU}), (std::array{0, 2200}));
  // A named group the program lacks: only the OutMode store is skipped.
  EXPECT_EQ(Receive(FPCommRx, NormalReply(10, 16, 7), 0xA5, 0x21, 6), 1);
  EXPECT_EQ((std::array{gNormalFPSet[6].OutMode, gNormalFPSet[6].VolU}), (std::array{0, 2200}));
  EXPECT_EQ(Receive(FPCommRx, NormalReply(1, 0, 7), 0xA5, 0x21, 10), 0);
}

TEST_F(CodecFPTest, THDReplyClearsTheGroupExceptForTheSecondHalf) {
  const struct {
    int cmd2, first, last;
    bool clears;
  } cases[] = {{0x31, 1, 39, true}, {0x32, 1, 20, true}, {0x33, 21, 39, false}};
  for (const auto &c : cases) {
    THDSet &t = gTHDSet[3];
    t = THDSet{};
    t.Percent[0] = 1000, t.Percent[5] = 55, t.Wave[100] = 1234, t.WaveValid = 1;
    Bytes payload = {3};
    for (int i = c.first; i <= c.last; ++i)
      payload = Cat({payload, Be16(i == 2 ? 120 : 0), Be16(i == 39 ? 3599 : 0)});
    ASSERT_EQ(Receive(FPCommRx, HandFrame(0xA5, c.cmd2, payload), 0xA5, c.cmd2, 3), 1);
    EXPECT_EQ(t.Percent[0], c.clears ? 0 : 1000) << c.cmd2;
    EXPECT_EQ(t.Wave[100], c.clears ? 0 : 1234) << c.cmd2;
    EXPECT_EQ(t.WaveValid, c.clears ? 0 : 1) << c.cmd2;
    EXPECT_EQ(t.Percent[5], c.clears ? 0 : 55) << c.cmd2;
    EXPECT_EQ(t.Percent[2], c.first == 1 ? 120 : 0) << c.cmd2;
    EXPECT_EQ(t.Angle[39], c.last == 39 ? 3599 : 0) << c.cmd2;
  }
}

TEST_F(CodecFPTest, MeasurementReplyWithSignedPower) {
  Bytes payload = {0xEE}; // byte 6 is free
  for (Bytes power : {Bytes{0x00, 0x01, 0x00}, Bytes{0x80, 0x01, 0x00}, Bytes{0xFF, 0xFF, 0xFF}})
    payload = Cat({payload, Be16(2200), Be16(15), Be16(5000), power, Be24(0xFFFFFF), Be16(950),
                   Be16(1414), Be16(21)});
  for (int running : {0, 1}) {
    gPowerInfo.OutputRunning = running;
    view.Calls.clear();
    ASSERT_EQ(Receive(GSCommRx, HandFrame(0xF0, 0xAF, payload), 0xF0, 0xAF), 1);
    EXPECT_EQ(gMeasureOutput.At(kMeasPower, 0), 256);
    EXPECT_EQ(gMeasureOutput.At(kMeasPower, 1), -256);
    EXPECT_EQ(gMeasureOutput.At(kMeasPower, 2), -0x7FFFFF);
    EXPECT_EQ(gMeasureOutput.At(kMeasApparentPower, 2), 0xFFFFFF);
    EXPECT_EQ(view.Calls, running ? Calls{"DataFPFromMeasureToPanel"} : Calls{});
  }
}

// A status reply whose byte k (from 7 on) holds k, so each field shows where
// it was read from; byte 6 is the run state.
Bytes CountingStatus(int state, int len) {
  Bytes payload(len - 8);
  for (size_t i = 0; i < payload.size(); ++i)
    payload[i] = static_cast<uint8_t>(6 + i);
  payload[0] = static_cast<uint8_t>(state);
  return HandFrame(0xF0, 0xEB, payload);
}

TEST_F(CodecFPTest, StatusReplyLayouts) {
  constexpr int32_t K = -1;               // field keeps its value
  using Fields = std::array<int32_t, 15>; // PowerState in field order
  const struct {
    bool gs;
    int state;
    Fields want;
  } cases[] = {
      // clang-format off
      {false, 144, {144, K, 7, K, K, 0x0809, 0x0A0B, K, K, K, K, K, K, K, K}},
      {false, 145, {145, K, 7, K, K, K, K, K, K, K, K, K, K, K, K}},
      {false, 160, {160, K, 7, K, 0x0809, 0x0A0B0C, 0x0D0E0F, 0x1011, 0x121314, 0x151617,
                    0x1819, 0x1A1B1C, 0x1D1E1F, K, K}},
      {false, 176, {176, K, 7, 0x08090A, 0x0B0C, 0x0D0E0F, 0x101112, 0x1314, 0x151617, 0x18191A,
                    0x1B1C, 0x1D1E1F, 0x202122, K, K}},
      {false, 9,   {9, 0x0708, K, K, K, K, K, K, K, K, K, K, K, K, K}},
      {false, 208, {208, K, K, K, K, K, K, K, K, K, K, K, K, K, K}}, // stopped on FP
      {false, 8,   {8, K, K, K, K, K, K, K, K, K, K, K, K, K, K}},
      {true, 144,  {144, K, 7, K, K, 0x0809, 0x0A0B, K, K, K, K, K, K, K, K}},
      {true, 160,  {160, K, 7, K, 0x0809, 0x0A0B0C, 0x0D0E0F, 0x0809, 0x0A0B0C, 0x0D0E0F,
                    0x0809, 0x0A0B0C, 0x0D0E0F, K, K}},
      {true, 176,  {176, K, 7, 0x08090A, 0x0B0C, 0x0D0E0F, 0x101112, K, K, K, K, K, K, K, K}},
      {true, 208,  {208, K, K, 0x070809, 0x0A0B, 0x0C0D0E, 0x0F1011, K, K, K, K, K, K, K, K}},
      {true, 8,    {8, 900, K, K, K, K, K, K, K, K, K, K, K, K, K}},
      {true, 9,    {9, 0x0708, K, K, K, K, K, K, K, K, K, K, K, K, K}}};
  // clang-format on
  const Fields before = {0, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 1, 114};
  for (const auto &c : cases) {
    gPowerInfo.ModelType = c.gs ? kModelGS : kModelFPA;
    std::memcpy(&gPowerState, before.data(), sizeof gPowerState);
    ASSERT_EQ(
        Receive(c.gs ? GSCommRx : FPCommRx, CountingStatus(c.state, c.gs ? 21 : 37), 0xF0, 0xEB),
        1);
    Fields got;
    std::memcpy(got.data(), &gPowerState, sizeof gPowerState);
    for (int i = 0; i < 15; ++i)
      EXPECT_EQ(got[i], c.want[i] == K ? before[i] : c.want[i])
          << (c.gs ? "GS " : "FP ") << c.state << " field " << i;
  }
  // Each family accepts only its own status length.
  EXPECT_EQ(Receive(FPCommRx, CountingStatus(144, 21), 0xF0, 0xEB), 0);
  EXPECT_EQ(Receive(GSCommRx, CountingStatus(144, 37), 0xF0, 0xEB), 0);
}

TEST_F(CodecFPTest, StatusReplyFlagsAndRefreshes) {
  gStepSetDisMode = 2, gListSetDisMode = 5, gRampSetDisMode = 6, gCrossSetDisMode = 4;
  const Calls out = {"RefreshOutputState"};
  const struct {
    bool gs;
    int state, crossEntry, page, wasRunning;
    int running, alarming;
    Calls calls;
  } cases[] = {
      {false, 160, 0, kPageMain, 0, 1, 0, {"RefreshStepSetGraph(0,0,2)", "RefreshOutputState"}},
      {false, 176, 0, kPageMain, 0, 1, 0, {"RefreshListSetGraph(0,0,5)", "RefreshOutputState"}},
      {true, 192, 0, kPageMain, 0, 1, 0, {"RefreshRampSetGraph(0,0,6)", "RefreshOutputState"}},
      {true, 208, 7, kPageMain, 0, 1, 0, {"RefreshOutputState", "RefreshCrossSetGraph(0,0,4)"}},
      {true, 208, 8, kPageMain, 0, 0, 0, {}}, // not an entry: fields only
      {true, 208, 9, kPageMain, 1, 1, 0, {}},
      {false, 9, 0, kPageStep, 1, 0, 1, out},
      {true, 8, 0, kPageStep, 1, 0, 1, out},
      {false, 8, 0, kPageMain, 0, 0, 0, out}, // no code-less alarm on FP
      {false, 0, 0, kPageStep, 1, 0, 0, {"RefreshStepSetGraph(0,1,2)", "RefreshOutputState"}},
      {true, 1, 0, kPageList, 1, 0, 0, {"RefreshListSetGraph(0,1,5)", "RefreshOutputState"}},
      {false, 1, 0, kPageRamp, 1, 0, 0, {"RefreshRampSetGraph(0,1,6)", "RefreshOutputState"}},
      {true, 1, 0, kPageCross, 1, 0, 0, {"RefreshCrossSetGraph(0,1,4)", "RefreshOutputState"}},
      {false, 1, 0, kPageTHD, 1, 0, 0, out},
      {true, 1, 0, kPageStep, 0, 0, 0, out}, // was not running: nothing to redraw
  };
  for (const auto &c : cases) {
    gCurrentPage = c.page;
    gPowerInfo.OutputRunning = c.wasRunning;
    gPowerInfo.Alarming = c.state == 208 ? 0 : 1 - c.alarming;
    view.Calls.clear();
    const Bytes reply =
        c.gs ? HandFrame(0xF0, 0xEB, HandPayload(21, {{6, c.state}, {11, c.crossEntry}}))
             : HandFrame(0xF0, 0xEB, HandPayload(37, {{6, c.state}}));
    ASSERT_EQ(Receive(c.gs ? GSCommRx : FPCommRx, reply, 0xF0, 0xEB), 1);
    EXPECT_EQ(gPowerInfo.OutputRunning, c.running) << c.gs << " " << c.state;
    EXPECT_EQ(gPowerInfo.Alarming, c.alarming) << c.gs << " " << c.state;
    EXPECT_EQ(view.Calls, c.calls) << c.gs << " " << c.state << " page " << c.page;
  }
}

TEST_F(CodecFPTest, OutputControlReplies) {
  const Calls shown = {"DataFPFromVarToPanel(2)", "RefreshOutputState"};
  const struct {
    int cmd2, riseTime, remain, running;
    Calls calls;
  } cases[] = {// clang-format off
      {0xFF, 25, 3, 1, shown}, {0xFF, 1, 1, 1, shown}, {0xFF, 10, 1, 1, shown},
      {0xFF, 0, 0, 1, shown},  {0xFF, -5, 0, 1, shown},
      {0x00, 25, 0, 0, {"DataFPFromVarToPanel(2)", "RefreshOutputState", "RefreshListSetGraph(0,1,1)", "DataFPFromMeasureToPanel"}},
      {0x03, 25, 0, 0, {"RefreshOutputState"}}};
  // clang-format on
  for (const auto &c : cases) {
    gCurrentPage = kPageList;
    gCurrentNormalGroup = 6;
    gNormalFPSet[6].RiseTime = c.riseTime;
    gPowerInfo.OutputRunning = 1 - c.running;
    gPowerInfo.Alarming = 1;
    gPowerInfo.RemainSecond = 9;
    gMeasureOutput.At(kMeasVoltage, 1) = 2300;
    view.Calls.clear();
    ASSERT_EQ(Receive(FPCommRx, HandFrame(0x0F, c.cmd2, {0}), 0x0F, c.cmd2), 1);
    EXPECT_EQ(gPowerInfo.OutputRunning, c.running) << c.cmd2;
    EXPECT_EQ(gPowerInfo.Alarming, 0);
    EXPECT_EQ(gPowerInfo.RemainSecond, c.remain) << c.cmd2 << " " << c.riseTime;
    EXPECT_EQ(gMeasureOutput.At(kMeasVoltage, 1), c.cmd2 == 0x00 ? 0 : 2300);
    EXPECT_EQ(view.Calls, c.calls) << c.cmd2;
  }
  // A refused command changes nothing.
  gPowerInfo.OutputRunning = 0;
  view.Calls.clear();
  EXPECT_EQ(Receive(FPCommRx, HandFrame(0x0F, 0xFF, {2}), 0x0F, 0xFF), 0);
  EXPECT_EQ(gPowerInfo.OutputRunning, 0);
  EXPECT_TRUE(view.Calls.empty());
}

TEST_F(CodecFPTest, GSDCOutput) {
  gPowerInfo.ModelType = kModelGS;
  ASSERT_EQ(Receive(GSCommRx, HandFrame(0x0F, 0xFE, {0}), 0x0F, 0xFE), 1);
  EXPECT_EQ(gPowerState.DCOutputOn, 1);
  ASSERT_EQ(Receive(GSCommRx, HandFrame(0x0F, 0x01, {0}), 0x0F, 0x01), 1);
  EXPECT_EQ(gPowerState.DCOutputOn, 0);
  ASSERT_EQ(Receive(GSCommRx, HandFrame(0xF0, 0xEA, {1}), 0xF0, 0xEA), 1); // a state, not an ack
  EXPECT_EQ(gPowerState.DCOutputOn, 1);
  ASSERT_EQ(Receive(GSCommRx, HandFrame(0xF0, 0xAD, {0x04, 0xD2}), 0xF0, 0xAD), 1);
  EXPECT_EQ(gPowerState.DCValue, 1234);
  EXPECT_EQ(view.Calls, Calls(4, "RefreshDCOutputStateAndMeasure"));
  EXPECT_EQ(gPowerInfo.OutputRunning, 0);
  EXPECT_EQ(Receive(FPCommRx, HandFrame(0xF0, 0xAD, {0x04, 0xD2}), 0xF0, 0xAD), 0);
  EXPECT_EQ(Receive(GSCommRx, HandFrame(0x0F, 0xFE, {1}), 0x0F, 0xFE), 0);
}

} // namespace
