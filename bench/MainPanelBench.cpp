#include "app/MainPanelState.h"
#include "app/NormalPanelMap.h"
#include "app/OutputState.h"
#include "measure/LiveMeasure.h"
#include "programs/NormalSetGraph.h"
#include "records/Globals.h"
#include "settings/NormalSet.h"
#include "settings/ProgramSet.h"

#include <benchmark/benchmark.h>

namespace {

// A GS source running group 0 in mode 16 with harmonic waveforms on V and W.
void PrepareRunningGS(MainPanelState &panel) {
  ResetProgramState();
  gPowerInfo.ModelType = kModelGS;
  gPowerInfo.Connected = 1;
  gPowerInfo.OutputRunning = 1;
  gPowerInfo.MeasureItemR1 = 0;
  gPowerInfo.MeasureItemR2 = 1;
  gPowerInfo.MeasureItemR3 = 2;
  gPowerInfo.MeasureItemR4 = 3;
  DataFPInitNormalAll();
  DataFPInitTHDAll();
  NormalFPSet &g = gNormalFPSet[0];
  g.OutMode = 16;
  g.WaveV = 2;
  g.WaveW = 3;
  for (int i = 0; i < 30; ++i) {
    gMeasureOutput.Value[i] = 1000 + i;
  }
  panel.ItemText = [](int, int item) { return "item " + std::to_string(item); };
  RefreshOutputState(panel);
}

} // namespace

// The core's share of a chart tick of the running output: the readouts of
// the five panels from the latest reply, the point set of the four charts
// and an output-state refresh without a change.
static void BM_MeasureTickCore(benchmark::State &state) {
  MainPanelState panel;
  PrepareRunningGS(panel);
  MeasurePointSet points{};
  for (auto _ : state) {
    DataFPFromMeasureToPanel(panel.Measure);
    MeasureChartPoints(points);
    RefreshOutputState(panel);
    benchmark::DoNotOptimize(points);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MeasureTickCore);

// Record to panel of an FP group with its preview graph, as after every
// setting edit.
static void BM_FPNormalVarToPanel(benchmark::State &state) {
  MainPanelState panel;
  PrepareRunningGS(panel);
  for (auto _ : state) {
    DataFPFromNormalVarToPanel(panel);
    benchmark::DoNotOptimize(panel.Graph.Points);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FPNormalVarToPanel);
