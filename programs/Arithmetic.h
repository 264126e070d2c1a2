// Waveform arithmetic shared by the setting checks, the panels and the
// preview graphs: angle difference, phase/line voltage conversion, range
// tests, sine sampling, resampling of a stored period and the integer
// synthesis of a harmonic waveform. Every routine is stateless, allocates
// nothing and touches no panel.
#pragma once

#include <array>
#include <cstdint>

// One positive half period of a sine in 1/16 degree steps, peak 32767; the
// full period has 5760 steps and its second half is the negative of the first.
constexpr int kHalfSineSteps = 2880;
constexpr int kFullSineSteps = 2 * kHalfSineSteps;
extern const std::array<int32_t, kHalfSineSteps> HalfSineTable;

// Angle from the second to the third phase, given the angles from the first
// phase to each (0.1 degree), in 0..3599.
int AngleABAC2AngleBC(int angleAB, int angleAC);

// Line and phase voltage (0.1 V) with the fixed ratio 1732/1000. The pair is
// not an exact inverse: PhaseToLine(2200) = 3810, LineToPhase(3810) = 2199.
int LineToPhase(int line);
int PhaseToLine(int phase);

// Range tests; the bounds may be given in either order and both ends belong
// to the range. NumOutBound is the exact complement of NumInBound.
int NumInBound(int value, int boundA, int boundB);
int NumOutBound(int value, int boundA, int boundB);
// NumInBound for a value and bounds held with different numbers of decimals.
int NumInBoundPoint(int value, int valuePoint, int boundA, int boundB, int boundPoint);

// Samples count points of a sine for a preview graph; the points span
// freq / windowFreq periods starting at startPhaseDeg.
void WaverMakeSinByPeak(double startPhaseDeg, double peak, double freq, double windowFreq,
                        int count, double *out);
// Resamples a stored one-period waveform (360 or 180 points) the same way,
// picking the nearest lower degree without interpolation.
void WaverMakeTHDBy360BaseWave(double startPhaseDeg, double freq, double windowFreq, int count,
                               const int32_t *wave, double *out);
void WaverMakeTHDBy180BaseWave(double startPhaseDeg, double freq, double windowFreq, int count,
                               const int32_t *wave, double *out);

// Synthesises one period of the fundamental (360 or 180 points) from a
// spectrum of `orders` harmonics. percent[0] and angle[0] are forced to 1000
// and 0, and every angle is normalised to 0..3599 in the caller's arrays. A
// harmonic of 100.0 % contributes a peak of about 4000. Returns the RMS of
// the points. `reserved` is not used.
int Waver360MakeSinTHD(int startPhase, int reserved, int32_t *percent, int32_t *angle, int orders,
                       int32_t *out);
int Waver180MakeSinTHD(int startPhase, int reserved, int32_t *percent, int32_t *angle, int orders,
                       int32_t *out);

// The final scaling of the synthesis accumulator: the 360-point routine
// shifts (toward minus infinity), the 180-point routine divides (toward zero).
constexpr int32_t WaverScale360(int32_t acc) { return acc >> 10; }
constexpr int32_t WaverScale180(int32_t acc) { return acc / 1024; }
