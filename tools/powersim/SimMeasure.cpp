#include "tools/powersim/SimMeasure.h"

#include "programs/Arithmetic.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int32_t kSineCrest = 1414;

int32_t Round(double v) { return static_cast<int32_t>(std::lround(v)); }

} // namespace

int32_t SimCrestFactor(const std::array<THDSet, kTHDGroupCount> &thd, int32_t wave) {
  if (wave < 1 || wave > kTHDGroupCount)
    return kSineCrest;
  // Synthesise on copies: the fundamental is forced to 100 % and the angles
  // are normalised in the arrays given, which must not touch the records.
  THDSet group = thd[wave - 1];
  std::array<int32_t, kTHDWavePoints> points{};
  const int rms = Waver360MakeSinTHD(0, 1448, group.Percent.data(), group.Angle.data(), kTHDOrders,
                                     points.data());
  if (rms <= 0)
    return kSineCrest;
  int32_t peak = 0;
  for (int32_t p : points)
    peak = std::max(peak, std::abs(p));
  return Round(1000.0 * peak / rms);
}

MeasureOutput SimMeasureOutputs(const std::array<SimPhaseOutput, 3> &phases, const SimLoad &load,
                                const std::array<THDSet, kTHDGroupCount> &thd) {
  MeasureOutput out{};
  for (int phase = 0; phase < 3; ++phase) {
    const SimPhaseOutput &p = phases[phase];
    if (!p.On)
      continue;
    const double volts = p.Vol / 10.0;
    const double amps = load.Ohms > 0 ? volts / load.Ohms : 0.0;
    const double pf = std::clamp(load.PowerFactor, -1.0, 1.0);
    const int32_t crest = SimCrestFactor(thd, p.Wave);
    out.At(kMeasVoltage, phase) = p.Vol;
    out.At(kMeasCurrent, phase) = Round(amps * 10);
    out.At(kMeasFrequency, phase) = p.Freq;
    out.At(kMeasPower, phase) = Round(volts * amps * pf);
    out.At(kMeasApparentPower, phase) = Round(volts * amps);
    out.At(kMeasPowerFactor, phase) = amps > 0 ? Round(std::fabs(pf) * 1000) : 0;
    out.At(kMeasCrestFactor, phase) = amps > 0 ? crest : 0;
    out.At(kMeasPeakCurrent, phase) = Round(amps * 10 * crest / 1000.0);
  }
  return out;
}
