#include "programs/Arithmetic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

TEST(Arithmetic, AngleDifference) {
  struct Case {
    int ab, ac, bc;
  };
  const Case cases[] = {{1200, 2400, 1200}, {2400, 1200, 2400}, {0, 0, 0},
                        {3599, 0, 1},       {0, 3599, 3599},    {100, -7300, 3400}};
  for (const auto &c : cases) {
    EXPECT_EQ(AngleABAC2AngleBC(c.ab, c.ac), c.bc) << c.ab << " " << c.ac;
  }
}

// Phase to line voltage shows in every check table (2200 -> 3810); the way
// back truncates toward zero.
TEST(Arithmetic, LineToPhaseTruncates) {
  EXPECT_EQ(LineToPhase(3810), 2199);
  EXPECT_EQ(LineToPhase(-3810), -2199);
  EXPECT_EQ(PhaseToLine(-2200), -3810);
}

TEST(Arithmetic, RangeTests) {
  struct Case {
    int value, a, b, in;
  };
  const Case cases[] = {{4500, 6500, 4500, 1}, {4499, 6500, 4500, 0}, {6500, 4500, 6500, 1},
                        {6501, 4500, 6500, 0}, {121, 120, 0, 0},      {120, 0, 120, 1},
                        {-1, 0, 120, 0},       {-600, -600, 600, 1},  {-601, 600, -600, 0}};
  for (const auto &c : cases) {
    EXPECT_EQ(NumInBound(c.value, c.a, c.b), c.in) << c.value;
    EXPECT_EQ(NumOutBound(c.value, c.a, c.b), 1 - c.in) << c.value;
  }
}

TEST(Arithmetic, ResamplingPicksWholeDegrees) {
  int32_t wave[360];
  for (int i = 0; i < 360; ++i) {
    wave[i] = i;
  }
  double out[180];
  WaverMakeTHDBy360BaseWave(0.0, 45.0, 45.0, 180, wave, out);
  for (int i = 0; i < 180; ++i) {
    ASSERT_EQ(out[i], 2.0 * i) << i;
  }
  // A negative start wraps, and fractions truncate toward zero first.
  WaverMakeTHDBy360BaseWave(-10.5, 45.0, 45.0, 180, wave, out);
  EXPECT_EQ(out[0], 350.0);
  EXPECT_EQ(out[6], 1.0); // 1.5 truncates to 1
  WaverMakeTHDBy360BaseWave(725.0, 90.0, 45.0, 180, wave, out);
  EXPECT_EQ(out[0], 5.0);
  EXPECT_EQ(out[90], 5.0);
}

constexpr int kOrders = 40;

struct Spectrum {
  std::array<int32_t, kOrders> percent{};
  std::array<int32_t, kOrders> angle{};
};

// Without harmonics the wave is the pure fundamental, whatever the caller's
// arrays held for it: its percentage and angle and the harmonics' angles are
// rewritten there (a harmonic of no percentage too).
TEST(Synthesis, FundamentalAndAnglesAreRewrittenInTheCallersArrays) {
  Spectrum s;
  s.percent[0] = 300;
  s.angle[0] = 450;
  s.angle[5] = -900;
  s.angle[6] = 3700;
  s.angle[7] = -7300;
  int32_t out[360];
  EXPECT_EQ(Waver360MakeSinTHD(0, 1448, s.percent.data(), s.angle.data(), kOrders, out), 2828);
  EXPECT_EQ((std::array{s.percent[0], s.angle[0], s.angle[5], s.angle[6], s.angle[7]}),
            (std::array{1000, 0, 2700, 100, 3500}));
  EXPECT_EQ(*std::min_element(out, out + 360), -4000);
  EXPECT_EQ(*std::max_element(out, out + 360), 3999);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[90], 3999);
}

// Amplitude of one order in output counts.
double Amplitude(int percent) { return 32767.0 * percent / 8192.0; }

Spectrum RandomSpectrum(std::mt19937 &rng) {
  Spectrum s;
  for (int n = 1; n < kOrders; ++n) {
    const int limit = n <= 8 ? 120 : (n <= 28 ? 70 : 30);
    s.percent[n] = std::uniform_int_distribution<int>(0, limit)(rng);
    s.angle[n] = std::uniform_int_distribution<int>(0, 3599)(rng);
  }
  return s;
}

// Against the exact waveform: the error must stay within the phase
// quantisation of the table (1/16 degree, plus the drift of the integer
// step constants) at each order.
TEST(Synthesis, StaysWithinTheTableQuantisationOfTheExactWave) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 20; ++trial) {
    Spectrum s = RandomSpectrum(rng);
    const int phi = std::uniform_int_distribution<int>(0, 3599)(rng);
    int32_t out[360];
    Waver360MakeSinTHD(phi, 1448, s.percent.data(), s.angle.data(), kOrders, out);
    const double stepRad = 2 * std::numbers::pi / 5760;
    for (int j = 0; j < 360; ++j) {
      double exact = 0;
      double tolerance = 1.5;
      for (int h = 0; h < kOrders; ++h) {
        const double tenths = s.angle[h] + static_cast<double>(phi) * (h + 1);
        const double exactSteps = tenths * 1.6 + 16.0 * (h + 1) * j;
        const double modelSteps = tenths * 3277 / 2048 + 5.0 * j * 13107 * (h + 1) / 4096;
        exact += Amplitude(s.percent[h]) * std::sin(stepRad * exactSteps);
        tolerance += Amplitude(s.percent[h]) * stepRad * (std::abs(modelSteps - exactSteps) + 1);
      }
      ASSERT_NEAR(out[j], exact, tolerance) << "trial " << trial << " point " << j;
    }
  }
}

} // namespace
