#include "measure/LiveMeasure.h"

#include "records/Globals.h"

namespace {

bool ValidQuantity(int q) { return q >= 0 && q < kMeasureQuantities; }

int SelectedQuantity(int k) {
  switch (k) {
  case 1:
    return gPowerInfo.MeasureItemR1;
  case 2:
    return gPowerInfo.MeasureItemR2;
  case 3:
    return gPowerInfo.MeasureItemR3;
  default:
    return gPowerInfo.MeasureItemR4;
  }
}

// The current FP group outputs one phase only.
bool SinglePhaseGroup() {
  if (gCurrentNormalGroup < 0 || gCurrentNormalGroup >= kFPGroupCount) {
    return false;
  }
  return gNormalFPSet[gCurrentNormalGroup].OutMode == 5;
}

int CurrentFCOutMode() {
  if (gCurrentNormalGroup < 0 || gCurrentNormalGroup >= kFCGroupCount) {
    return -1;
  }
  return gNormalFCSet[gCurrentNormalGroup].OutMode;
}

} // namespace

double MeasureValue(int quantity, int phase) {
  if (!ValidQuantity(quantity) || phase < 0 || phase >= kMeasurePhases) {
    return 0.0;
  }
  return static_cast<double>(gMeasureOutput.At(quantity, phase)) / MeasureDivisor[quantity];
}

double MeasureValueFC(int quantity, int phase) {
  if (quantity < kMeasVoltage || quantity > kMeasPower || phase < 0 || phase >= kMeasurePhases) {
    return 0.0;
  }
  const double divisor = quantity == kMeasPower ? 1000.0 : 10.0;
  return static_cast<double>(gMeasureOutput.At(quantity, phase)) / divisor;
}

int FCPhaseCarriesValues(int phase) {
  const bool fct = gPowerInfo.ModelType == kModelFCT;
  const int mode = CurrentFCOutMode();
  switch (phase) {
  case 0:
    return (gPowerInfo.ModelType == kModelFCS || mode == 0 || mode == 2) ? 1 : 0;
  case 1:
    return (fct && (mode == 0 || mode == 3)) ? 1 : 0;
  case 2:
    return (fct && (mode == 0 || mode == 4)) ? 1 : 0;
  default:
    return 0;
  }
}

void MeasureExpected(MeasureAreaView &area) {
  area.NoValue = gPowerInfo.Connected != 1 || gPowerInfo.OutputRunning != 1;
  area.Stale = false;
  area.TicksSinceMeasure = 0;
}

bool MeasureAgeTick(MeasureAreaView &area) {
  if (area.NoValue || area.Stale) {
    return false;
  }
  area.TicksSinceMeasure += 1;
  area.Stale = area.TicksSinceMeasure >= kMeasureStaleTicks;
  return area.Stale;
}

void DataFPFromMeasureToPanel(MeasureAreaView &area) {
  MeasureExpected(area);
  const bool single = SinglePhaseGroup();
  for (int phase = 0; phase < kMeasurePhases; ++phase) {
    const bool blank = single && phase > 0;
    for (int k = 0; k < kMeasureReadouts; ++k) {
      area.Readout[k].Value[phase] = blank ? 0.0 : MeasureValue(SelectedQuantity(k + 1), phase);
    }
    for (int q = 0; q < kMeasureTableRows; ++q) {
      area.Table[q][phase] = blank ? 0.0 : MeasureValue(q, phase);
    }
  }
}

void DataFCFromMeasureToPanel(MeasureAreaView &area) {
  MeasureExpected(area);
  for (int phase = 0; phase < kMeasurePhases; ++phase) {
    const bool carries = FCPhaseCarriesValues(phase) == 1;
    for (int q = kMeasVoltage; q <= kMeasPower; ++q) {
      area.Readout[q].Value[phase] = carries ? MeasureValueFC(q, phase) : 0.0;
    }
  }
}

void DataFPFromMeasureToGraph(MeasurePointSet &points) {
  const bool single = SinglePhaseGroup();
  for (int k = 0; k < kMeasureReadouts; ++k) {
    const int q = SelectedQuantity(k + 1);
    for (int phase = 0; phase < kMeasurePhases; ++phase) {
      points[k][phase] = (single && phase > 0) ? 0.0 : MeasureValue(q, phase);
    }
  }
}

void DataFCFromMeasureToGraph(MeasurePointSet &points) {
  const bool fcs = gPowerInfo.ModelType == kModelFCS;
  for (int q = kMeasVoltage; q <= kMeasPower; ++q) {
    const double u = MeasureValueFC(q, 0);
    points[q][0] = u;
    for (int phase = 1; phase < kMeasurePhases; ++phase) {
      if (fcs) {
        points[q][phase] = u;
      } else {
        points[q][phase] = FCPhaseCarriesValues(phase) == 1 ? MeasureValueFC(q, phase) : 0.0;
      }
    }
  }
}

void MeasureChartPoints(MeasurePointSet &points) {
  if (gPowerInfo.Connected != 1) {
    gMeasureOutput = MeasureOutput{};
  }
  if (IsFCModel(gPowerInfo.ModelType)) {
    DataFCFromMeasureToGraph(points);
  } else {
    DataFPFromMeasureToGraph(points);
  }
}

void SetMeasureTextTypeAndSolution(MeasureAreaView &area, int k, int quantity) {
  if (k < 1 || k > kMeasureReadouts) {
    return;
  }
  MeasureReadoutView &readout = area.Readout[k - 1];
  readout.Quantity = quantity;
  readout.Precision = ValidQuantity(quantity) ? MeasurePrecision[quantity] : 1;
}

void ApplyMeasureSelections(MeasureAreaView &area) {
  for (int k = 1; k <= kMeasureReadouts; ++k) {
    SetMeasureTextTypeAndSolution(area, k, SelectedQuantity(k));
  }
}

void SetNormalMeasureDisplayGraph(MeasureAreaView &area) {
  gPowerInfo.MeasureDisplayMode = 0;
  area.GraphItemChecked = true;
  area.TextItemChecked = false;
  area.TableVisible = false;
  area.SelectorsVisible = true;
  area.FixedLabelsVisible = false;
  area.ReadoutsVisible = true;
  area.ReadoutVWVisible = true;
  area.ChartsVisible = true;
  ApplyMeasureSelections(area);
}

void SetNormalMeasureDisplayText(MeasureAreaView &area) {
  gPowerInfo.MeasureDisplayMode = 1;
  area.GraphItemChecked = false;
  area.TextItemChecked = true;
  area.SelectorsVisible = false;
  area.FixedLabelsVisible = false;
  area.ReadoutsVisible = false;
  area.ChartsVisible = false;
  area.TableVisible = true;
  ApplyMeasureSelections(area);
}

void SetNormalMeasureDisplayGraphFC(MeasureAreaView &area) {
  SetNormalMeasureDisplayGraph(area);
  area.SelectorsVisible = false;
  area.FixedLabelsVisible = true;
  area.ReadoutVWVisible = gPowerInfo.ModelType == kModelFCT;
  for (MeasureReadoutView &readout : area.Readout) {
    readout.Precision = 1;
  }
}
