// The measurements of the simulated source: what a meter at the output
// terminals would read for the voltage, frequency and waveform each phase
// carries into a load of given impedance and power factor.
#pragma once

#include "records/MeasureOutput.h"
#include "records/SettingRecords.h"

#include <array>
#include <cstdint>

struct SimPhaseOutput {
  bool On = false;  // the phase carries output
  int32_t Vol = 0;  // rms, 0.1 V
  int32_t Freq = 0; // in the family's unit (FC 0.1 Hz, others 0.01 Hz)
  int32_t Wave = 0; // 0 sine, n = THD group n - 1
};

struct SimLoad {
  double Ohms = 48.4;       // impedance per phase; 0 or less: nothing connected
  double PowerFactor = 1.0; // -1 .. 1; negative: power flows back into the source
};

// Crest factor x 1000 of a waveform: 1414 for the sine, for waveform n the
// peak over the rms of THD group n - 1 as the source synthesises it.
int32_t SimCrestFactor(const std::array<THDSet, kTHDGroupCount> &thd, int32_t wave);

// Fills quantities 0 to 7 of every phase (quantities 8 and 9 stay 0); a
// phase that carries no output reads 0 throughout. Units as the measurement
// reply carries them: voltage and current in 0.1 A / 0.1 V, frequency as
// given, active power in W (signed), apparent power in VA, power factor and
// crest factor in thousandths, peak current in 0.1 A.
MeasureOutput SimMeasureOutputs(const std::array<SimPhaseOutput, 3> &phases, const SimLoad &load,
                                const std::array<THDSet, kTHDGroupCount> &thd);
