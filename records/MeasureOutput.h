// The latest measurement reply: 10 quantities x 3 phases, quantity-major.
#pragma once

#include <array>
#include <cstdint>

constexpr int kMeasureQuantities = 10;
constexpr int kMeasurePhases = 3;

enum MeasureQuantity : int {
  kMeasVoltage = 0,
  kMeasCurrent = 1,
  kMeasFrequency = 2,
  kMeasPower = 3,
  kMeasApparentPower = 4,
  kMeasPowerFactor = 5,
  kMeasCrestFactor = 6,
  kMeasPeakCurrent = 7,
};

struct MeasureOutput {
  std::array<int32_t, kMeasureQuantities * kMeasurePhases> Value;

  int32_t &At(int quantity, int phase) { return Value[quantity * kMeasurePhases + phase]; }
  int32_t At(int quantity, int phase) const { return Value[quantity * kMeasurePhases + phase]; }
};

// Divisor and display precision per quantity (FS, FP, GS and FL families).
constexpr std::array<int, kMeasureQuantities> MeasureDivisor = {10,   10,   100, 1000, 1000,
                                                                1000, 1000, 10,  1,    10};
constexpr std::array<int, kMeasureQuantities> MeasurePrecision = {1, 1, 2, 1, 1, 3, 3, 1, 0, 1};
