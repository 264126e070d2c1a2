#include "app/MainPanelFunc.h"
#include "measure/LiveMeasure.h"

#include "MainPanelTestSupport.h"

namespace {

class LiveMeasure : public MainPanelTest {
protected:
  // Every slot holds a distinct value: quantity q, phase p -> 1000 q + 100 p + 50.
  void FillMeasurements() {
    for (int q = 0; q < kMeasureQuantities; ++q) {
      for (int p = 0; p < kMeasurePhases; ++p) {
        gMeasureOutput.At(q, p) = 1000 * q + 100 * p + 50;
      }
    }
  }
  void Select(int r1, int r2, int r3, int r4) {
    gPowerInfo.MeasureItemR1 = r1;
    gPowerInfo.MeasureItemR2 = r2;
    gPowerInfo.MeasureItemR3 = r3;
    gPowerInfo.MeasureItemR4 = r4;
  }
};

TEST_F(LiveMeasure, ReadoutsScaleByQuantity) {
  UseModel(kModelFPA);
  FillMeasurements();
  Select(0, 2, 5, 9);
  DataFPFromMeasureToPanel(panel.Measure);
  const auto &r = panel.Measure.Readout;
  EXPECT_DOUBLE_EQ(r[0].Value[0], 5.0);   // 50 / 10 V
  EXPECT_DOUBLE_EQ(r[1].Value[1], 21.5);  // 2150 / 100 Hz
  EXPECT_DOUBLE_EQ(r[2].Value[2], 5.25);  // 5250 / 1000
  EXPECT_DOUBLE_EQ(r[3].Value[0], 905.0); // reserved slot, / 10
  EXPECT_DOUBLE_EQ(panel.Measure.Table[7][2], 725.0);
  EXPECT_DOUBLE_EQ(panel.Measure.Table[3][1], 3.15);
}

// Which phases carry a value on the readouts and the chart: a single-phase
// group shows zero for V and W.
TEST_F(LiveMeasure, PhasesCarryValuesByModelAndMode) {
  struct Case {
    int Model, OutMode;
    std::array<bool, 3> Readout;
    std::array<bool, 3> Chart; // trace non-zero
  };
  const Case cases[] = {
      {kModelFCT, 0, {true, true, true}, {true, true, true}},
      {kModelFCT, 2, {true, false, false}, {true, false, false}},
      {kModelFCT, 3, {false, true, false}, {true, true, false}}, // U trace drawn as reported
      {kModelFCT, 4, {false, false, true}, {true, false, true}},
      {kModelFCS, 5, {true, false, false}, {true, true, true}}, // V, W traces repeat U
      {kModelFSA, 5, {true, false, false}, {true, false, false}},
      {kModelFSA, 0, {true, true, true}, {true, true, true}},
  };
  for (const Case &c : cases) {
    UseModel(c.Model);
    FillMeasurements();
    Select(0, 1, 2, 3);
    MeasurePointSet points{};
    if (IsFCModel(c.Model)) {
      gNormalFCSet[0].OutMode = c.OutMode;
      DataFCFromMeasureToPanel(panel.Measure);
      DataFCFromMeasureToGraph(points);
    } else {
      gNormalFPSet[0].OutMode = c.OutMode;
      DataFPFromMeasureToPanel(panel.Measure);
      DataFPFromMeasureToGraph(points);
      for (int q = 0; q < kMeasureTableRows; ++q)
        EXPECT_EQ(panel.Measure.Table[q][2] != 0.0, c.Readout[2]) << q;
    }
    for (int p = 0; p < 3; ++p) {
      EXPECT_EQ(panel.Measure.Readout[0].Value[p] != 0.0, c.Readout[p]) << c.Model << c.OutMode;
      EXPECT_EQ(points[3][p] != 0.0, c.Chart[p]) << c.Model << c.OutMode;
    }
  }
  // FC scaling: frequency in 0.1 Hz, power / 1000, one decimal everywhere
  UseFCT();
  FillMeasurements();
  DataFCFromMeasureToPanel(panel.Measure);
  EXPECT_DOUBLE_EQ(panel.Measure.Readout[2].Value[0], 205.0);
  EXPECT_DOUBLE_EQ(panel.Measure.Readout[3].Value[1], 3.15);
  MeasurePointSet points{};
  DataFCFromMeasureToGraph(points);
  EXPECT_DOUBLE_EQ(points[1][2], 125.0);
  UseModel(kModelFCS);
  DataFCFromMeasureToGraph(points);
  EXPECT_DOUBLE_EQ(points[1][2], points[1][0]);
}

TEST_F(LiveMeasure, ChartStepZeroesMeasurementsWhenNotConnected) {
  UseModel(kModelGS);
  FillMeasurements();
  Select(0, 1, 2, 3);
  MeasurePointSet points{};
  gPowerInfo.Connected = 1;
  MeasureChartPoints(points);
  EXPECT_DOUBLE_EQ(points[0][0], 5.0);
  gPowerInfo.Connected = 0;
  MeasureChartPoints(points);
  EXPECT_DOUBLE_EQ(points[0][0], 0.0);
  EXPECT_EQ(gMeasureOutput.At(0, 0), 0);
}

// The selectors set the precision of their readout and clear its chart; the
// view switches show the table or the charts.
TEST_F(LiveMeasure, SelectorsAndViewSwitches) {
  const std::pair<int, int> precision[] = {{0, 1}, {2, 2}, {5, 3}, {6, 3}, {8, 0}, {9, 1}};
  for (const auto &[q, decimals] : precision) {
    panel.Requests = {};
    MeasureSelectorChanged(panel, 3, q);
    EXPECT_EQ(gPowerInfo.MeasureItemR3, q);
    EXPECT_EQ(panel.Measure.Readout[2].Quantity, q);
    EXPECT_EQ(panel.Measure.Readout[2].Precision, decimals);
    EXPECT_EQ(panel.Requests.ClearChart, (std::array<bool, 4>{false, false, true, false}));
  }

  Select(2, 5, 0, 1);
  UseModel(kModelFPA);
  SetNormalMeasureDisplayText(panel.Measure);
  EXPECT_EQ(gPowerInfo.MeasureDisplayMode, 1);
  EXPECT_TRUE(panel.Measure.TableVisible);
  EXPECT_FALSE(panel.Measure.ChartsVisible);
  EXPECT_TRUE(panel.Measure.TextItemChecked);
  SetNormalMeasureDisplayGraph(panel.Measure);
  EXPECT_EQ(gPowerInfo.MeasureDisplayMode, 0);
  EXPECT_FALSE(panel.Measure.TableVisible);
  EXPECT_TRUE(panel.Measure.SelectorsVisible);
  EXPECT_EQ(panel.Measure.Readout[1].Precision, 3);
  for (int model : {kModelFCT, kModelFCS}) {
    UseModel(model);
    SetNormalMeasureDisplayGraphFC(panel.Measure);
    EXPECT_FALSE(panel.Measure.SelectorsVisible);
    EXPECT_TRUE(panel.Measure.FixedLabelsVisible);
    EXPECT_EQ(panel.Measure.ReadoutVWVisible, model == kModelFCT);
    for (const MeasureReadoutView &r : panel.Measure.Readout) {
      EXPECT_EQ(r.Precision, 1);
    }
  }
}

// Without a measurement for 3 s (60 ticks of 50 ms) the readouts turn stale;
// the next expected measurement starts the count again.
TEST_F(LiveMeasure, ReadoutsTurnStaleAfterThreeSecondsWithoutAMeasurement) {
  Connect();
  gPowerInfo.OutputRunning = 1;
  MeasureAreaView area;
  MeasureExpected(area);
  for (int tick = 1; tick < 60; ++tick)
    ASSERT_FALSE(MeasureAgeTick(area)) << tick;
  EXPECT_TRUE(MeasureAgeTick(area));
  MeasureExpected(area);
  EXPECT_FALSE(area.Stale);
}

} // namespace
