// Live measurements of the five operating panels: the four selectable
// readouts R1..R4 with their strip charts, the text table of eight
// quantities by three phases, and the fixed readouts and charts of the FC
// families. The values come from gMeasureOutput; the window copies the view
// record onto the panels and appends the point sets to the charts.
#pragma once

#include <array>

#include "records/MeasureOutput.h"

constexpr int kMeasureReadouts = 4;
constexpr int kMeasureTableRows = 8;
// Points per screen of the strip charts.
constexpr int kMeasureChartPoints = 600;

// One readout group: the quantity selector and the U, V, W displays.
struct MeasureReadoutView {
  int Quantity = 0;
  int Precision = 1; // decimals of the three displays
  std::array<double, kMeasurePhases> Value{};
};

struct MeasureAreaView {
  std::array<MeasureReadoutView, kMeasureReadouts> Readout{};
  // Quantities 0..7 by phase U, V, W.
  std::array<std::array<double, kMeasurePhases>, kMeasureTableRows> Table{};
  // Graph view: selectors, readouts and charts; text view: the table.
  bool SelectorsVisible = true;
  bool FixedLabelsVisible = false; // FC families: fixed quantity labels instead
  bool ReadoutsVisible = true;
  bool ReadoutVWVisible = true; // the V and W displays of every readout
  bool ChartsVisible = true;
  bool TableVisible = false;
  // Check marks of the graph-view and text-view menu items.
  bool GraphItemChecked = true;
  bool TextItemChecked = false;
  // No fresh measurement is expected (output not running, no link): the
  // readouts and the table show no value.
  bool NoValue = true;
  // The output runs but no measurement came for kMeasureStaleTicks: the
  // readouts are dimmed.
  bool Stale = false;
  int TicksSinceMeasure = 0;
};

// Three poll periods of the 50 ms tick.
constexpr int kMeasureStaleTicks = 60;

// One point per trace (U, V, W) for each of the four charts.
using MeasurePointSet = std::array<std::array<double, kMeasurePhases>, kMeasureReadouts>;

// Engineering value of one measurement (FS, FP, GS and FL scaling); 0 for a
// quantity outside 0..9.
double MeasureValue(int quantity, int phase);
// The same for the FC families: voltage, current and frequency / 10, power
// / 1000; 0 for other quantities.
double MeasureValueFC(int quantity, int phase);
// 1 when phase 0..2 of the FC families carries values for the current
// model and FC group.
int FCPhaseCarriesValues(int phase);

// Whether fresh measurements are expected (connected and the output runs):
// sets NoValue, and Stale back to false.
void MeasureExpected(MeasureAreaView &area);
// One 50 ms tick without a measurement; true when the readouts turn stale
// on this tick.
bool MeasureAgeTick(MeasureAreaView &area);

// Readouts and table from gMeasureOutput (FS, FP, GS, FL). With the current
// group in single-phase mode (OutMode 5) every V and W value is 0.
void DataFPFromMeasureToPanel(MeasureAreaView &area);
// The four fixed readouts of the FC families (voltage, current, frequency,
// power, one decimal); a phase without values shows 0.
void DataFCFromMeasureToPanel(MeasureAreaView &area);

// The point set of the four charts for one append.
void DataFPFromMeasureToGraph(MeasurePointSet &points);
void DataFCFromMeasureToGraph(MeasurePointSet &points);
// The chart step of the 50 ms timer while the output runs: zeroes
// gMeasureOutput when no source is connected, then builds the point set of
// the family of the current model.
void MeasureChartPoints(MeasurePointSet &points);

// Readout group k (1..4) shows quantity q: selector value and precision.
void SetMeasureTextTypeAndSolution(MeasureAreaView &area, int k, int quantity);
// The four selections of PowerInfo (MeasureItemR1..R4) applied to the area.
void ApplyMeasureSelections(MeasureAreaView &area);

// View switches. Graph and text set PowerInfo.MeasureDisplayMode (0, 1);
// the FC graph view keeps fixed labels and one decimal everywhere.
void SetNormalMeasureDisplayGraph(MeasureAreaView &area);
void SetNormalMeasureDisplayText(MeasureAreaView &area);
void SetNormalMeasureDisplayGraphFC(MeasureAreaView &area);
