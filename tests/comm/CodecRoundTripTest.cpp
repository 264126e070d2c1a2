// Every block through encode -> frame -> accept -> decode on a second set of
// records: the contract a simulated source relies on. (The program's codecs
// talking to such a second instance are tested with the simulated source.)
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

// The record comes back as `expected` (the record itself unless given).
template <typename Rec, typename Encode, typename Decode>
::testing::AssertionResult RoundTrips(const Rec &src, int len, Encode encode, Decode decode,
                                      const Rec *expected = nullptr) {
  const int diff = FirstDiff(Through(src, len, encode, decode), expected ? *expected : src);
  if (diff < 0)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "field " << diff << " differs";
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

// clang-format off
TEST(CodecRoundTrip, FPAndGSSettingBlocks) {
  Values v(1);
  for (int r = 0; r < kRounds; ++r) {
    const int n = v.Range(0, kProgramStepCount - 1);
    EXPECT_TRUE(RoundTrips(RandomNormalFP(v), kFPNormalGroupLen, [](auto &s, uint8_t *f) { EncodeFPNormalGroup(s, 4, f); }, DecodeFPNormalGroup));
    EXPECT_TRUE(RoundTrips(RandomStep(v), kStepLen, EncodeStep, DecodeStep));
    EXPECT_TRUE(RoundTrips(RandomHeader(v), kProgramHeaderLen, EncodeProgramHeader, DecodeProgramHeader));
    EXPECT_TRUE(RoundTrips(RandomListStep(v), kListStepLen, [&](auto &s, uint8_t *f) { EncodeListStep(s, n, 1, f); }, DecodeListStep));
    EXPECT_TRUE(RoundTrips(RandomRampStep(v), kRampStepLen, [&](auto &s, uint8_t *f) { EncodeRampStep(s, n, 1, f); }, DecodeRampStep));
    EXPECT_TRUE(RoundTrips(SystemSet{v.U8(), v.U16(), v.U8(), 0, v.U8(), v.U16()}, kFPSystemLen,
                           [](auto &s, uint8_t *f) { EncodeFPSystem(s, true, f); },
                           [](const uint8_t *f, auto &s) { DecodeFPSystem(f, true, s); }));
    EXPECT_TRUE(RoundTrips(CrossListSet{v.U8(), v.U8(), v.U24(), 0}, kCrossHeaderLen, EncodeCrossHeader, DecodeCrossHeader));
    EXPECT_TRUE(RoundTrips(RandomCross(v), kCrossEntryLen, [](auto &s, uint8_t *f) { EncodeCrossEntry(s, 7, f); }, DecodeCrossEntry));
    // The THD group whole, and in two halves onto a stale record.
    const THDSet thd = RandomTHD(v);
    THDSet back{};
    back.Wave[7] = 99;
    for (THDPart part : {THDPart::FirstHalf, THDPart::SecondHalf})
      Through(thd, THDPartLength(part), [&](auto &s, uint8_t *f) { EncodeTHD(s, 2, part, f); },
              [&](const uint8_t *f, auto &s) { DecodeTHD(f, part, s); }, back);
    EXPECT_EQ(FirstDiff(back, thd), -1);
    EXPECT_TRUE(RoundTrips(thd, kTHDWholeLen, [](auto &s, uint8_t *f) { EncodeTHD(s, 2, THDPart::Whole, f); },
                           [](const uint8_t *f, auto &s) { DecodeTHD(f, THDPart::Whole, s); }));
    // On-line change: only voltages, frequencies, waves (and the FP channel).
    for (bool withChannel : {true, false}) {
      const NormalFPSet src = RandomNormalFP(v);
      NormalFPSet expected{};
      expected.VolU = src.VolU, expected.VolV = src.VolV, expected.VolW = src.VolW;
      expected.FreqU = src.FreqU, expected.FreqV = src.FreqV, expected.FreqW = src.FreqW;
      expected.WaveU = src.WaveU, expected.WaveV = src.WaveV, expected.WaveW = src.WaveW;
      expected.VolLine = src.VolLine;
      expected.OutChannel = withChannel ? src.OutChannel : 0;
      EXPECT_TRUE(RoundTrips(src, withChannel ? kFPOnlineLen : kGSOnlineLen,
                             [&](auto &s, uint8_t *f) { EncodeFPOnline(s, withChannel, f); },
                             [&](const uint8_t *f, auto &s) { DecodeFPOnline(f, withChannel, s); }, &expected));
    }
  }
}

TEST(CodecRoundTrip, FCAndFSSettingBlocks) {
  Values v(3);
  for (int r = 0; r < kRounds; ++r) {
    NormalFCSet fc = {v.U16(), v.U16(), 0, v.U8(), v.U8(), v.U8(), v.U8(), 0, 0, 0};
    fc.VolLine = PhaseToLine(fc.Vol);
    EXPECT_TRUE(RoundTrips(fc, kFCNormalGroupLen, [](auto &s, uint8_t *f) { EncodeFCNormalGroup(s, 6, f); }, DecodeFCNormalGroup));
    const NormalFCSet online = {fc.Freq, fc.Vol, fc.VolLine, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(RoundTrips(fc, kFCOnlineLen, EncodeFCOnline, DecodeFCOnline, &online));
    EXPECT_TRUE(RoundTrips(SystemSet{v.U8(), v.U16(), 0, v.U16(), v.U8(), v.U16()}, kFCSystemLen, EncodeFCSystem, DecodeFCSystem));

    NormalFPSet fs{};
    fs.OutMode = v.U8(), fs.OutChannel = v.Range(0, 7), fs.VolLevel = v.U8();
    fs.VolU = v.U16(), fs.VolV = v.U16(), fs.VolW = v.U16(), fs.RiseTime = v.U16();
    fs.FreqU = v.U16(), fs.FreqV = v.U16(), fs.FreqW = v.U16();
    fs.VolLine = PhaseToLine(fs.VolU);
    EXPECT_TRUE(RoundTrips(fs, kFSNormalGroupLen, [](auto &s, uint8_t *f) { EncodeFSNormalGroup(s, 9, f); }, DecodeFSNormalGroup));
    NormalFPSet fsOnline = fs;
    fsOnline.VolLevel = fsOnline.RiseTime = 0; // not carried
    EXPECT_TRUE(RoundTrips(fs, kFSOnlineLen, EncodeFSOnline, DecodeFSOnline, &fsOnline));
  }
}

TEST(CodecRoundTrip, Measurements) {
  Values v(4);
  for (int r = 0; r < kRounds; ++r) {
    for (bool signedPower : {true, false}) {
      MeasureOutput m{};
      for (int q = 0; q <= kMeasPeakCurrent; ++q)
        for (int p = 0; p < 3; ++p)
          m.At(q, p) = q == kMeasApparentPower ? v.U24() : q == kMeasPower ? (signedPower ? v.S24() : v.U24()) : v.U16();
      EXPECT_TRUE(RoundTrips(m, kMeasureLen, [&](auto &s, uint8_t *f) { EncodeMeasure(s, signedPower, f); },
                             [&](const uint8_t *f, auto &s) { DecodeMeasure(f, signedPower, s); }));
    }
    MeasureOutput fc{}, single{};
    for (int q = 0; q <= kMeasPower; ++q)
      for (int p = 0; p < 3; ++p)
        fc.At(q, p) = q == kMeasPower ? v.U24() : v.U16();
    EXPECT_TRUE(RoundTrips(fc, kFCTMeasureLen, EncodeFCTMeasure, DecodeFCTMeasure));
    for (int q = 0; q <= kMeasPower; ++q)
      single.At(q, 0) = fc.At(q, 0);
    EXPECT_TRUE(RoundTrips(fc, kFCSMeasureLen, EncodeFCSMeasure, DecodeFCSMeasure, &single));
  }
}
// clang-format on

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
    return RoundTrips(s, kFPStatusLen, EncodeFPStatus, DecodeFPStatus);
  };
  const auto gs = [](const PowerState &s) {
    return RoundTrips(s, kGSStatusLen, EncodeGSStatus, DecodeGSStatus);
  };
  for (int r = 0; r < kRounds; ++r) {
    for (auto [state, phases] : {std::pair{160, 3}, {176, 3}, {192, 3}}) {
      const PowerState s = make(state, phases, true);
      EXPECT_TRUE(fp(s)) << state;
    }
    for (int state : {144, 145, 9}) {
      PowerState s = make(state, state == 144 ? 1 : 0, false);
      s.RunStepU = 0;
      EXPECT_TRUE(fp(s)) << state;
      EXPECT_TRUE(gs(s)) << state;
    }
    for (int state : {176, 192, 208}) {
      const PowerState s = make(state, 1, true);
      EXPECT_TRUE(gs(s)) << state;
    }
    PowerState step = make(160, 1, true); // GS: one phase, repeated in V and W
    step.RunStepV = step.RunStepW = step.RunStepU;
    step.RunStepTimeV = step.RunStepTimeW = step.RunStepTimeU;
    step.RunStepLengthV = step.RunStepLengthW = step.RunStepLengthU;
    EXPECT_TRUE(gs(step));

    for (int model : {kModelFCT, kModelFSA, kModelFL})
      for (int state : {133, 48, 10, 0}) {
        PowerState s = make(state, 0, false);
        if (!FCStatusRunning(state, model))
          s.RunGroup = 0;
        EXPECT_TRUE(RoundTrips(
            s, kFCStatusLen, [&](auto &x, uint8_t *f) { EncodeFCStatus(x, model, f); },
            [&](const uint8_t *f, auto &x) { DecodeFCStatus(f, model, x); }))
            << model << " " << state;
      }

    PowerState dc{};
    dc.DCOutputOn = v.Range(0, 1);
    dc.DCValue = v.U16();
    EXPECT_EQ(Through(dc, kDCStateLen, EncodeDCState, DecodeDCState).DCOutputOn, dc.DCOutputOn);
    EXPECT_EQ(Through(dc, kDCValueLen, EncodeDCValue, DecodeDCValue).DCValue, dc.DCValue);
  }
}

} // namespace
