#include "programs/Arithmetic.h"

#include <cmath>
#include <utility>

namespace {

// 32-bit two's-complement wrap of a wider intermediate, so that the integer
// routines keep 32-bit results without signed overflow.
constexpr int32_t Wrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

// Sine on 0..pi/2 by its Taylor series, good to a few units in the last
// place, so the table can be built at compile time.
constexpr double SinQuarter(double x) {
  double term = x;
  double sum = x;
  const double x2 = x * x;
  for (int n = 1; n < 20; ++n) {
    term *= -x2 / ((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

constexpr std::array<int32_t, kHalfSineSteps> MakeHalfSineTable() {
  constexpr double kPi = 3.14159265358979323846;
  std::array<int32_t, kHalfSineSteps> table{};
  for (int k = 0; k < kHalfSineSteps; ++k) {
    const int folded = k <= kHalfSineSteps / 2 ? k : kHalfSineSteps - k;
    const double v = 32767.0 * SinQuarter(folded * kPi / kHalfSineSteps);
    table[k] = static_cast<int32_t>(v + 0.5);
  }
  return table;
}

int NormaliseAngle(int a) {
  // Same as adding 3600 while negative and then taking the remainder.
  a %= 3600;
  return a < 0 ? a + 3600 : a;
}

// Wave index of sample i: the phase in whole degrees (truncated toward zero),
// brought into 0..359.
int ResamplePoint(double startPhaseDeg, double freq, double windowFreq, int count, int i) {
  double p = std::trunc(startPhaseDeg + i * (360 / (windowFreq / freq)) / count);
  if (!std::isfinite(p)) {
    return 0;
  }
  p = std::fmod(p, 360.0);
  if (p < 0) {
    p += 360.0;
  }
  return static_cast<int>(p);
}

template <int N>
int MakeSinTHD(int startPhase, int32_t *percent, int32_t *angle, int orders, int32_t *out) {
  static_assert(N == 360 || N == 180);
  percent[0] = 1000;
  angle[0] = 0;
  std::array<int32_t, N> acc{};
  const int phi = NormaliseAngle(startPhase);
  for (int h = 0; h < orders; ++h) {
    angle[h] = NormaliseAngle(angle[h]);
    if (percent[h] == 0) {
      continue;
    }
    const int32_t t0 = Wrap32((int64_t{angle[h]} + int64_t{phi} * (h + 1)) * 3277);
    const int32_t t1 = Wrap32(int64_t{13107} * (h + 1));
    for (int j = 0; j < N; ++j) {
      int32_t step = Wrap32(int64_t{5} * j * t1);
      if constexpr (N == 360) {
        step >>= 1;
      }
      int32_t idx = (Wrap32(int64_t{t0} + step) >> 11) % kFullSineSteps;
      if (idx < 0) {
        idx += kFullSineSteps;
      }
      if (idx < kHalfSineSteps) {
        acc[j] = Wrap32(int64_t{acc[j]} + (Wrap32(int64_t{HalfSineTable[idx]} * percent[h]) >> 3));
      } else {
        acc[j] = Wrap32(int64_t{acc[j]} -
                        (Wrap32(int64_t{HalfSineTable[idx - kHalfSineSteps]} * percent[h]) >> 3));
      }
    }
  }
  int64_t sum = 0;
  for (int j = 0; j < N; ++j) {
    out[j] = N == 360 ? WaverScale360(acc[j]) : WaverScale180(acc[j]);
    sum += Wrap32(int64_t{out[j]} * out[j]);
  }
  sum /= N;
  if (sum <= 0) {
    return 0;
  }
  return Wrap32(static_cast<int64_t>(std::sqrt(static_cast<double>(sum))));
}

} // namespace

extern constexpr std::array<int32_t, kHalfSineSteps> HalfSineTable = MakeHalfSineTable();

int AngleABAC2AngleBC(int angleAB, int angleAC) {
  const int64_t d = (int64_t{angleAC} - angleAB) % 3600;
  return static_cast<int>(d < 0 ? d + 3600 : d);
}

int LineToPhase(int line) { return Wrap32(int64_t{1000} * line) / 1732; }

int PhaseToLine(int phase) { return Wrap32(int64_t{1732} * phase) / 1000; }

int NumInBound(int value, int boundA, int boundB) {
  if (boundA < boundB) {
    std::swap(boundA, boundB);
  }
  return (value >= boundB && value <= boundA) ? 1 : 0;
}

int NumOutBound(int value, int boundA, int boundB) {
  if (boundA < boundB) {
    std::swap(boundA, boundB);
  }
  return (value > boundA || value < boundB) ? 1 : 0;
}

int NumInBoundPoint(int value, int valuePoint, int boundA, int boundB, int boundPoint) {
  int64_t v = value;
  int64_t upper = boundA;
  int64_t lower = boundB;
  if (upper < lower) {
    std::swap(upper, lower);
  }
  if (valuePoint == 0) {
    valuePoint = 1;
  }
  if (boundPoint == 0) {
    boundPoint = 1;
  }
  for (int i = valuePoint; i < boundPoint; ++i) {
    v = Wrap32(v * 10);
  }
  for (int i = boundPoint; i < valuePoint; ++i) {
    upper = Wrap32(upper * 10);
    lower = Wrap32(lower * 10);
  }
  return (v >= lower && v <= upper) ? 1 : 0;
}

void WaverMakeSinByPeak(double startPhaseDeg, double peak, double freq, double windowFreq,
                        int count, double *out) {
  for (int i = 0; i < count; ++i) {
    const double deg = startPhaseDeg + i * (360 / (windowFreq / freq)) / count;
    out[i] = peak * std::sin(6.2831852 * deg / 360);
  }
}

void WaverMakeTHDBy360BaseWave(double startPhaseDeg, double freq, double windowFreq, int count,
                               const int32_t *wave, double *out) {
  for (int i = 0; i < count; ++i) {
    out[i] = static_cast<double>(wave[ResamplePoint(startPhaseDeg, freq, windowFreq, count, i)]);
  }
}

void WaverMakeTHDBy180BaseWave(double startPhaseDeg, double freq, double windowFreq, int count,
                               const int32_t *wave, double *out) {
  for (int i = 0; i < count; ++i) {
    out[i] =
        static_cast<double>(wave[ResamplePoint(startPhaseDeg, freq, windowFreq, count, i) / 2]);
  }
}

int Waver360MakeSinTHD(int startPhase, int /*reserved*/, int32_t *percent, int32_t *angle,
                       int orders, int32_t *out) {
  return MakeSinTHD<360>(startPhase, percent, angle, orders, out);
}

int Waver180MakeSinTHD(int startPhase, int /*reserved*/, int32_t *percent, int32_t *angle,
                       int orders, int32_t *out) {
  return MakeSinTHD<180>(startPhase, percent, angle, orders, out);
}
