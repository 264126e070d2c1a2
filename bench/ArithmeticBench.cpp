#include "records/Globals.h"
#include "settings/ProgramSet.h"

#include <benchmark/benchmark.h>

// One harmonic synthesis of a full 40-order spectrum, as the THD panel runs it
// from a callback.
static void BM_THDCalWaveOne(benchmark::State &state) {
  ResetProgramState();
  THDSet &t = gTHDSet[0];
  for (int n = 1; n < kTHDOrders; ++n) {
    t.Percent[n] = n <= 8 ? 120 : (n <= 28 ? 70 : 30);
    t.Angle[n] = (n * 977) % 3600;
  }
  for (auto _ : state) {
    DataTHDCalWaveOne(0);
    benchmark::DoNotOptimize(t.WaveRms);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_THDCalWaveOne);
