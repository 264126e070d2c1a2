// The normal-setting preview of the main panel: one period of each phase's
// output over a fixed 45 Hz window (so 50 Hz shows 1.11 periods), sines or
// the harmonic waveforms of the THD groups, and the y-axis limit. The window
// draws the curves (W, V, U, in the phase colours) from this record.
#pragma once

#include <array>
#include <cstdint>

constexpr int kNormalGraphPoints = 180;
constexpr double kNormalGraphWindowHz = 45.0;

struct NormalSetGraphView {
  // Volts per point, phase U, V, W. Kept between redraws.
  std::array<std::array<double, kNormalGraphPoints>, 3> Points{};
  std::array<bool, 3> Shown{}; // phases drawn
  double YLimit = 450.0;       // left y-axis -YLimit..YLimit
  uint32_t Revision = 0;       // goes up with every redraw
};

// Recomputes the curves and the axis from the current normal group of the
// family of PowerInfo.ModelType. THD groups not yet synthesised are
// synthesised first.
void RefreshNormalSetGraph(NormalSetGraphView &graph);

// The y-axis limit (V) for the current FP-family group, given the waveform
// numbers of phases U, V, W (0 sine, n the THD group n - 1): 450 unless a
// harmonic waveform peaks at 450 V or more, then the next multiple of 150
// above its peak.
double FindMaxPeakScaleByNormalCurrentSet(int waveU, int waveV, int waveW);
