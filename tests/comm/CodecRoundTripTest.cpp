// Every block through encode -> frame -> accept -> decode on a second set of
// records, and the program's codecs talking to such a second instance in both
// directions: the contract a simulated source relies on.
#include "CodecTestSupport.h"

#include "comm/CommPC.h"
#include "comm/FCBlocks.h"
#include "comm/FPBlocks.h"
#include "comm/FPCommand.h"
#include "programs/Arithmetic.h"

#include <random>

namespace {

// Index of the first 32-bit field that differs, -1 when equal. Every record
// here is a plain sequence of int32_t.
template <typename T> int FirstDiff(const T &a, const T &b) {
  static_assert(sizeof(T) % sizeof(int32_t) == 0);
  int32_t x[sizeof(T) / 4], y[sizeof(T) / 4];
  std::memcpy(x, &a, sizeof(T));
  std::memcpy(y, &b, sizeof(T));
  for (size_t i = 0; i < sizeof(T) / 4; ++i)
    if (x[i] != y[i])
      return static_cast<int>(i);
  return -1;
}

class Values {
public:
  explicit Values(unsigned seed) : rng_(seed) {}
  int32_t U8() { return Range(0, 0xFF); }
  int32_t U16() { return Range(0, 0xFFFF); }
  int32_t S16() { return Range(-32767, 32767); }
  int32_t U24() { return Range(0, 0xFFFFFF); }
  int32_t S24() { return Range(-0x7FFFFF, 0x7FFFFF); }
  int32_t Range(int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng_);
  }

private:
  std::mt19937 rng_;
};

constexpr int kRounds = 40;
constexpr int kAddress = 1;

// Encodes the record, completes the frame and checks the receiving side
// accepts it with exactly that length, then decodes into `back`.
template <typename Rec, typename Encode, typename Decode>
void Through(const Rec &src, int len, Encode encode, Decode decode, Rec &back) {
  uint8_t f[256] = {};
  encode(src, f);
  CommFrameComplete(f, len, kAddress, 0x5A, 0x21);
  ASSERT_EQ(CommReplyAccept(f, len, kAddress, 0x5A, 0x21, len), 1);
  decode(f, back);
}
template <typename Rec, typename Encode, typename Decode>
Rec Through(const Rec &src, int len, Encode encode, Decode decode) {
  Rec back{};
  Through(src, len, encode, decode, back);
  return back;
}

NormalFPSet RandomNormalFP(Values &v) {
  NormalFPSet s{v.U8(),  v.U8(),  v.U16(), v.U16(), v.U16(), 0,      v.U8(), v.U16(), v.U16(),
                v.U16(), v.U16(), v.U16(), v.U16(), v.U16(), v.U8(), v.U8(), v.U8()};
  s.VolLine = PhaseToLine(s.VolU);
  return s;
}

StepSet RandomStep(Values &v) {
  StepSet s{};
  s.OutMode = 1; // every phase travels on its own
  s.WaveU = v.U8(), s.WaveV = v.U8(), s.WaveW = v.U8();
  s.AngleUV = v.U16(), s.AngleVW = v.U16(), s.AngleUW = v.U16();
  for (int32_t *f :
       {&s.VolStartU, &s.VolStartV, &s.VolStartW, &s.FreqStartU, &s.FreqStartV, &s.FreqStartW,
        &s.StepCntU, &s.StepCntV, &s.StepCntW, &s.StepTimeS2PU, &s.StepTimeS2PV, &s.StepTimeS2PW})
    *f = v.U16();
  for (int32_t *f :
       {&s.VolStepU, &s.VolStepV, &s.VolStepW, &s.FreqStepU, &s.FreqStepV, &s.FreqStepW})
    *f = v.S16();
  for (int32_t *f :
       {&s.StepTimeHU, &s.StepTimeHV, &s.StepTimeHW, &s.StepTimeMU, &s.StepTimeMV, &s.StepTimeMW})
    *f = v.U8();
  s.VolLineStart = PhaseToLine(s.VolStartU);
  s.VolLineStep = PhaseToLine(s.VolStepU);
  return s;
}

ListSet RandomHeader(Values &v) {
  return {v.U8(), v.U8(), v.U24(), v.U8(), v.U16(), v.U16(), v.U16(), 0};
}

ListListSet RandomListStep(Values &v) {
  ListListSet s{};
  for (ListPhase &p : s.Phase)
    p = {v.U16(), 0, v.U16(), v.U8(), v.U8(), v.U16(), v.U8()};
  s.Phase[0].VolLine = PhaseToLine(s.Phase[0].Vol);
  return s;
}

RampRampSet RandomRampStep(Values &v) {
  RampRampSet s{};
  for (RampPhase &p : s.Phase)
    p = {v.U16(), v.U16(), 0, 0, v.U16(), v.U16(), v.U8(), v.U8(), v.U16(), v.U8()};
  s.Phase[0].VolLineStart = PhaseToLine(s.Phase[0].VolStart);
  s.Phase[0].VolLineStop = PhaseToLine(s.Phase[0].VolStop);
  return s;
}

THDSet RandomTHD(Values &v) {
  THDSet s{};
  for (int i = 1; i < kTHDOrders; ++i)
    s.Percent[i] = v.U16(), s.Angle[i] = v.U16();
  return s;
}

CrossSet RandomCross(Values &v) {
  return {v.U8(),  v.U8(),  v.U8(),  v.U8(),  v.U16(), v.U16(), v.U24(),
          v.S16(), v.U16(), v.U24(), v.U24(), v.U16(), v.U24()};
}

TEST(CodecRoundTrip, FPAndGSSettingBlocks) {
  Values v(1);
  for (int r = 0; r < kRounds; ++r) {
    const int n = v.Range(0, kProgramStepCount - 1);
    const NormalFPSet normal = RandomNormalFP(v);
    EXPECT_EQ(FirstDiff(Through(
                            normal, kFPNormalGroupLen,
                            [](auto &s, uint8_t *f) { EncodeFPNormalGroup(s, 4, f); },
                            DecodeFPNormalGroup),
                        normal),
              -1);
    const StepSet step = RandomStep(v);
    EXPECT_EQ(FirstDiff(Through(step, kStepLen, EncodeStep, DecodeStep), step), -1);
    const ListSet head = RandomHeader(v);
    EXPECT_EQ(
        FirstDiff(Through(head, kProgramHeaderLen, EncodeProgramHeader, DecodeProgramHeader), head),
        -1);
    const ListListSet list = RandomListStep(v);
    EXPECT_EQ(
        FirstDiff(Through(
                      list, kListStepLen, [&](auto &s, uint8_t *f) { EncodeListStep(s, n, 1, f); },
                      DecodeListStep),
                  list),
        -1);
    const RampRampSet ramp = RandomRampStep(v);
    EXPECT_EQ(
        FirstDiff(Through(
                      ramp, kRampStepLen, [&](auto &s, uint8_t *f) { EncodeRampStep(s, n, 1, f); },
                      DecodeRampStep),
                  ramp),
        -1);
    const SystemSet sys = {v.U8(), v.U16(), v.U8(), 0, v.U8(), v.U16()};
    EXPECT_EQ(
        FirstDiff(Through(
                      sys, kFPSystemLen, [](auto &s, uint8_t *f) { EncodeFPSystem(s, true, f); },
                      [](const uint8_t *f, auto &s) { DecodeFPSystem(f, true, s); }),
                  sys),
        -1);
    const CrossListSet crossHead = {v.U8(), v.U8(), v.U24(), 0};
    EXPECT_EQ(FirstDiff(Through(crossHead, kCrossHeaderLen, EncodeCrossHeader, DecodeCrossHeader),
                        crossHead),
              -1);
    const CrossSet cross = RandomCross(v);
    EXPECT_EQ(
        FirstDiff(Through(
                      cross, kCrossEntryLen, [](auto &s, uint8_t *f) { EncodeCrossEntry(s, 7, f); },
                      DecodeCrossEntry),
                  cross),
        -1);
    // The THD group whole, and in two halves onto a stale record.
    const THDSet thd = RandomTHD(v);
    THDSet back{};
    back.Wave[7] = 99;
    for (THDPart part : {THDPart::FirstHalf, THDPart::SecondHalf})
      Through(
          thd, THDPartLength(part), [&](auto &s, uint8_t *f) { EncodeTHD(s, 2, part, f); },
          [&](const uint8_t *f, auto &s) { DecodeTHD(f, part, s); }, back);
    EXPECT_EQ(FirstDiff(back, thd), -1);
    EXPECT_EQ(FirstDiff(Through(
                            thd, kTHDWholeLen,
                            [](auto &s, uint8_t *f) { EncodeTHD(s, 2, THDPart::Whole, f); },
                            [](const uint8_t *f, auto &s) { DecodeTHD(f, THDPart::Whole, s); }),
                        thd),
              -1);
    // On-line change: only voltages, frequencies, waves (and the FP channel).
    for (bool withChannel : {true, false}) {
      const NormalFPSet src = RandomNormalFP(v);
      NormalFPSet expected{};
      expected.VolU = src.VolU, expected.VolV = src.VolV, expected.VolW = src.VolW;
      expected.FreqU = src.FreqU, expected.FreqV = src.FreqV, expected.FreqW = src.FreqW;
      expected.WaveU = src.WaveU, expected.WaveV = src.WaveV, expected.WaveW = src.WaveW;
      expected.VolLine = src.VolLine;
      expected.OutChannel = withChannel ? src.OutChannel : 0;
      EXPECT_EQ(
          FirstDiff(Through(
                        src, withChannel ? kFPOnlineLen : kGSOnlineLen,
                        [&](auto &s, uint8_t *f) { EncodeFPOnline(s, withChannel, f); },
                        [&](const uint8_t *f, auto &s) { DecodeFPOnline(f, withChannel, s); }),
                    expected),
          -1);
    }
  }
}

TEST(CodecRoundTrip, FCAndFSSettingBlocks) {
  Values v(3);
  for (int r = 0; r < kRounds; ++r) {
    NormalFCSet fc = {v.U16(), v.U16(), 0, v.U8(), v.U8(), v.U8(), v.U8(), 0, 0, 0};
    fc.VolLine = PhaseToLine(fc.Vol);
    EXPECT_EQ(FirstDiff(Through(
                            fc, kFCNormalGroupLen,
                            [](auto &s, uint8_t *f) { EncodeFCNormalGroup(s, 6, f); },
                            DecodeFCNormalGroup),
                        fc),
              -1);
    const NormalFCSet online = {fc.Freq, fc.Vol, fc.VolLine, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(FirstDiff(Through(fc, kFCOnlineLen, EncodeFCOnline, DecodeFCOnline), online), -1);
    const SystemSet sys = {v.U8(), v.U16(), 0, v.U16(), v.U8(), v.U16()};
    EXPECT_EQ(FirstDiff(Through(sys, kFCSystemLen, EncodeFCSystem, DecodeFCSystem), sys), -1);

    NormalFPSet fs{};
    fs.OutMode = v.U8(), fs.OutChannel = v.Range(0, 7), fs.VolLevel = v.U8();
    fs.VolU = v.U16(), fs.VolV = v.U16(), fs.VolW = v.U16(), fs.RiseTime = v.U16();
    fs.FreqU = v.U16(), fs.FreqV = v.U16(), fs.FreqW = v.U16();
    fs.VolLine = PhaseToLine(fs.VolU);
    EXPECT_EQ(FirstDiff(Through(
                            fs, kFSNormalGroupLen,
                            [](auto &s, uint8_t *f) { EncodeFSNormalGroup(s, 9, f); },
                            DecodeFSNormalGroup),
                        fs),
              -1);
    NormalFPSet fsOnline = fs;
    fsOnline.VolLevel = fsOnline.RiseTime = 0; // not carried
    EXPECT_EQ(FirstDiff(Through(fs, kFSOnlineLen, EncodeFSOnline, DecodeFSOnline), fsOnline), -1);
  }
}

TEST(CodecRoundTrip, Measurements) {
  Values v(4);
  for (int r = 0; r < kRounds; ++r) {
    for (bool signedPower : {true, false}) {
      MeasureOutput m{};
      for (int q = 0; q <= kMeasPeakCurrent; ++q)
        for (int p = 0; p < 3; ++p)
          m.At(q, p) = q == kMeasApparentPower ? v.U24()
                       : q == kMeasPower       ? (signedPower ? v.S24() : v.U24())
                                               : v.U16();
      EXPECT_EQ(FirstDiff(Through(
                              m, kMeasureLen,
                              [&](auto &s, uint8_t *f) { EncodeMeasure(s, signedPower, f); },
                              [&](const uint8_t *f, auto &s) { DecodeMeasure(f, signedPower, s); }),
                          m),
                -1);
    }
    MeasureOutput fc{}, single{};
    for (int q = 0; q <= kMeasPower; ++q)
      for (int p = 0; p < 3; ++p)
        fc.At(q, p) = q == kMeasPower ? v.U24() : v.U16();
    EXPECT_EQ(FirstDiff(Through(fc, kFCTMeasureLen, EncodeFCTMeasure, DecodeFCTMeasure), fc), -1);
    for (int q = 0; q <= kMeasPower; ++q)
      single.At(q, 0) = fc.At(q, 0);
    EXPECT_EQ(FirstDiff(Through(fc, kFCSMeasureLen, EncodeFCSMeasure, DecodeFCSMeasure), single),
              -1);
  }
}

TEST(CodecRoundTrip, StatusOfEveryFamily) {
  Values v(5);
  // A state carrying what `state` reports, for phases 0..phases-1.
  auto make = [&](int state, int phases, bool wide) {
    PowerState s{};
    s.RunState = state;
    int32_t *run = &s.RunStepU;
    for (int p = 0; p < phases; ++p) {
      run[3 * p] = v.U16();
      run[3 * p + 1] = wide ? v.U24() : v.U16();
      run[3 * p + 2] = wide ? v.U24() : v.U16();
    }
    if (state != 9 && state != 208)
      s.RunGroup = v.U8();
    if (state == 9 || state == 10)
      s.AlarmCode = v.U16();
    if (state == 176 || state == 192 || state == 208)
      s.RunCycle = v.U24();
    return s;
  };
  const auto fp = [](const PowerState &s) {
    return Through(s, kFPStatusLen, EncodeFPStatus, DecodeFPStatus);
  };
  const auto gs = [](const PowerState &s) {
    return Through(s, kGSStatusLen, EncodeGSStatus, DecodeGSStatus);
  };
  for (int r = 0; r < kRounds; ++r) {
    for (auto [state, phases] : {std::pair{160, 3}, {176, 3}, {192, 3}}) {
      const PowerState s = make(state, phases, true);
      EXPECT_EQ(FirstDiff(fp(s), s), -1) << state;
    }
    for (int state : {144, 145, 9}) {
      PowerState s = make(state, state == 144 ? 1 : 0, false);
      s.RunStepU = 0;
      EXPECT_EQ(FirstDiff(fp(s), s), -1) << state;
      EXPECT_EQ(FirstDiff(gs(s), s), -1) << state;
    }
    for (int state : {176, 192, 208}) {
      const PowerState s = make(state, 1, true);
      EXPECT_EQ(FirstDiff(gs(s), s), -1) << state;
    }
    PowerState step = make(160, 1, true); // GS: one phase, repeated in V and W
    step.RunStepV = step.RunStepW = step.RunStepU;
    step.RunStepTimeV = step.RunStepTimeW = step.RunStepTimeU;
    step.RunStepLengthV = step.RunStepLengthW = step.RunStepLengthU;
    EXPECT_EQ(FirstDiff(gs(step), step), -1);

    for (int model : {kModelFCT, kModelFSA, kModelFL})
      for (int state : {133, 48, 10, 0}) {
        PowerState s = make(state, 0, false);
        if (!FCStatusRunning(state, model))
          s.RunGroup = 0;
        EXPECT_EQ(FirstDiff(Through(
                                s, kFCStatusLen,
                                [&](auto &x, uint8_t *f) { EncodeFCStatus(x, model, f); },
                                [&](const uint8_t *f, auto &x) { DecodeFCStatus(f, model, x); }),
                            s),
                  -1)
            << model << " " << state;
      }

    PowerState dc{};
    dc.DCOutputOn = v.Range(0, 1);
    dc.DCValue = v.U16();
    EXPECT_EQ(Through(dc, kDCStateLen, EncodeDCState, DecodeDCState).DCOutputOn, dc.DCOutputOn);
    EXPECT_EQ(Through(dc, kDCValueLen, EncodeDCValue, DecodeDCValue).DCValue, dc.DCValue);
  }
}

// The program writes with its codec; a second instance decodes with the block
// decoders, answers the read with the block encoders, and the program's codec
// stores the answer: the settings come back as they left.
class CodecExchange : public CodecFixture {
protected:
  using Tx = int (*)(int, int, int, uint8_t *);
  using Rx = int (*)(int, int, int, const uint8_t *, int);

  // Program -> other side: returns the frame after checking it is accepted.
  static Bytes Send(Tx tx, int cmd1, int cmd2, int param) {
    Bytes f = Build(tx, cmd1, cmd2, param);
    EXPECT_GE(f.size(), 8u);
    f.resize(256, 0);
    EXPECT_EQ(CommPCCheck(f.data(), 256, kAddress), 0);
    return f;
  }
  // Other side -> program.
  static int Answer(Rx rx, Bytes reply, int len, int cmd1, int cmd2, int param) {
    CommFrameComplete(reply.data(), len, kAddress, cmd1, cmd2);
    return rx(cmd1, cmd2, param, reply.data(), len);
  }
};

TEST_F(CodecExchange, FPAndGSSettingsComeBackAsTheyLeft) {
  Values v(6);
  for (int model : {kModelFPA, kModelFPB, kModelGS}) {
    ResetProgramState();
    gPowerInfo.SoftwareAddress = kAddress;
    gPowerInfo.ModelType = model;
    const bool gs = model == kModelGS;
    const Tx tx = gs ? GSCommTx : FPCommTx;
    const Rx rx = gs ? GSCommRx : FPCommRx;
    SettingRecords source{};

    for (int g = 0; g < kFPGroupCount; ++g) {
      gNormalFPSet[g] = RandomNormalFP(v);
      gNormalFPSet[g].OutMode = 1;
      gNormalFPSet[g].OutChannel = 7;
      DecodeFPNormalGroup(Send(tx, 0x5A, 0x21, g).data(), source.NormalFP[g]);
    }
    gStepSet = RandomStep(v);
    DecodeStep(Send(tx, 0x5A, 0x22, 0).data(), source.Step);
    gListSet = RandomHeader(v);
    gListSet.OutMode = 1;
    DecodeProgramHeader(Send(tx, 0x5A, 0x23, 0).data(), source.List);
    gListListSet[17] = RandomListStep(v);
    DecodeListStep(Send(tx, 0x5A, 0x24, 17).data(), source.ListList[17]);
    gSystemSet = {v.U8(), v.U16(), v.U8(), 0, v.U8(), v.U16()};
    const SystemSet system = gSystemSet;
    DecodeFPSystem(Send(tx, 0x5A, 0x30, 0).data(), model != kModelFPB, source.System);
    gTHDSet[4] = RandomTHD(v);
    DecodeTHD(Send(tx, 0x5A, 0x31, 4).data(), THDPart::Whole, source.THD[4]);
    if (gs) {
      gCrossSet[6] = RandomCross(v);
      DecodeCrossEntry(Send(tx, 0x5A, 0x29, 6).data(), source.Cross[6]);
    }

    const ProgramState sent = gProgram;
    ResetProgramState();
    gPowerInfo.SoftwareAddress = kAddress;
    gPowerInfo.ModelType = model;
    Bytes r(256, 0);
    for (int g = 0; g < kFPGroupCount; ++g) {
      EncodeFPNormalGroup(source.NormalFP[g], g, r.data());
      ASSERT_EQ(Answer(rx, r, kFPNormalGroupLen, 0xA5, 0x21, g), 1);
      NormalFPSet expected = sent.Settings.NormalFP[g];
      if (gs)
        expected.OutChannel = 0; // a GS reply never sets the channel selection
      EXPECT_EQ(FirstDiff(gNormalFPSet[g], expected), -1) << model << " " << g;
    }
    EncodeStep(source.Step, r.data());
    ASSERT_EQ(Answer(rx, r, kStepLen, 0xA5, 0x22, 0), 1);
    EXPECT_EQ(FirstDiff(gStepSet, sent.Settings.Step), -1);
    EncodeProgramHeader(source.List, r.data());
    ASSERT_EQ(Answer(rx, r, kProgramHeaderLen, 0xA5, 0x23, 0), 1);
    EXPECT_EQ(FirstDiff(gListSet, sent.Settings.List), -1);
    EncodeListStep(source.ListList[17], 17, 1, r.data());
    ASSERT_EQ(Answer(rx, r, kListStepLen, 0xA5, 0x24, 17), 1);
    EXPECT_EQ(FirstDiff(gListListSet[17], sent.Settings.ListList[17]), -1);
    EncodeFPSystem(source.System, true, r.data());
    ASSERT_EQ(Answer(rx, r, kFPSystemLen, 0xA5, 0x30, 0), 1);
    SystemSet expectedSystem = system;
    if (model == kModelFPB)
      expectedSystem.UCompensation = 0; // never exchanged with FPB
    EXPECT_EQ(FirstDiff(gSystemSet, expectedSystem), -1) << model;
    EncodeTHD(source.THD[4], 4, THDPart::Whole, r.data());
    ASSERT_EQ(Answer(rx, r, kTHDWholeLen, 0xA5, 0x31, 4), 1);
    EXPECT_EQ(FirstDiff(gTHDSet[4], sent.Settings.THD[4]), -1);
    if (gs) {
      EncodeCrossEntry(source.Cross[6], 6, r.data());
      ASSERT_EQ(Answer(rx, r, kCrossEntryLen, 0xA5, 0x29, 6), 1);
      EXPECT_EQ(FirstDiff(gCrossSet[6], sent.Settings.Cross[6]), -1);
    }
  }
}

} // namespace
