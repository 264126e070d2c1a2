#include "measure/gui/MeasureView.h"

#include <QSignalBlocker>

#include "app/Globals.h"
#include "app/gui/MainMenu.h"
#include "app/gui/Shell.h"
#include "measure/gui/MeasureArea.h"

namespace {

int &Selection(int k) {
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

void ApplySelections() {
  for (int k = 1; k <= MeasureArea::kReadouts; ++k)
    SetMeasureTextTypeAndSolution(k, Selection(k));
}

void ShowGraphView(bool fixedFC) {
  MeasureArea *area = gMeasureArea;
  area->TextView->hide();
  area->GraphView->show();
  const bool threePhase = !fixedFC || gPowerInfo.ModelType == kModelFCT;
  for (int k = 0; k < MeasureArea::kReadouts; ++k) {
    area->Selector[k]->setVisible(!fixedFC);
    area->FixedLabel[k]->setVisible(fixedFC);
    area->Readout[k][1]->setVisible(threePhase);
    area->Readout[k][2]->setVisible(threePhase);
  }
  area->GraphPhaseHeader[1]->setVisible(threePhase);
  area->GraphPhaseHeader[2]->setVisible(threePhase);
}

} // namespace

void SetNormalMeasureDisplayGraph() {
  gPowerInfo.MeasureDisplayMode = 0;
  gMainMenu->setChecked(MENU_SET_VIEW_GRAPH, true);
  gMainMenu->setChecked(MENU_SET_VIEW_TEXT, false);
  ShowGraphView(false);
  ApplySelections();
}

void SetNormalMeasureDisplayText() {
  gPowerInfo.MeasureDisplayMode = 1;
  gMainMenu->setChecked(MENU_SET_VIEW_GRAPH, false);
  gMainMenu->setChecked(MENU_SET_VIEW_TEXT, true);
  gMeasureArea->GraphView->hide();
  gMeasureArea->TextView->show();
  ApplySelections();
}

void SetNormalMeasureDisplayGraphFC() {
  gPowerInfo.MeasureDisplayMode = 0;
  gMainMenu->setChecked(MENU_SET_VIEW_GRAPH, true);
  gMainMenu->setChecked(MENU_SET_VIEW_TEXT, false);
  ShowGraphView(true);
  for (int k = 0; k < MeasureArea::kReadouts; ++k)
    for (NumDisplay *display : gMeasureArea->Readout[k])
      display->setDecimals(1);
}

void SetProgramMeasureDisplay() {
  if (gPowerInfo.MeasureDisplayMode == 1) {
    gMeasureArea->GraphView->hide();
    gMeasureArea->TextView->show();
  } else {
    gMeasureArea->TextView->hide();
    gMeasureArea->GraphView->show();
  }
}

void SetMeasureTextTypeAndSolution(int k, int quantity) {
  if (k < 1 || k > MeasureArea::kReadouts || quantity < 0 || quantity >= kMeasureQuantities)
    return;
  MeasureArea *area = gMeasureArea;
  {
    const QSignalBlocker block(area->Selector[k - 1]);
    area->Selector[k - 1]->setRingValue(quantity);
  }
  for (NumDisplay *display : area->Readout[k - 1])
    display->setDecimals(MeasurePrecision[quantity]);
}

void SetMeasureR1TextTypeAndSolution(int quantity) { SetMeasureTextTypeAndSolution(1, quantity); }
void SetMeasureR2TextTypeAndSolution(int quantity) { SetMeasureTextTypeAndSolution(2, quantity); }
void SetMeasureR3TextTypeAndSolution(int quantity) { SetMeasureTextTypeAndSolution(3, quantity); }
void SetMeasureR4TextTypeAndSolution(int quantity) { SetMeasureTextTypeAndSolution(4, quantity); }

void ClearMeasureGraph(int k) {
  if (k >= 1 && k <= MeasureArea::kReadouts)
    gMeasureArea->Chart[k - 1]->clearChart();
}

void ClearMeasureGraphAll() {
  for (int k = 1; k <= MeasureArea::kReadouts; ++k)
    ClearMeasureGraph(k);
}

void SetMeasureGraphSpeed(int points) {
  for (StripChart *chart : gMeasureArea->Chart)
    chart->setPointsPerScreen(points);
}

namespace {

bool SinglePhaseFP() { return gNormalFPSet[gCurrentNormalGroup].OutMode == 5; }

double ScaledFP(int quantity, int phase) {
  if (phase > 0 && SinglePhaseFP())
    return 0.0;
  return gMeasureOutput.At(quantity, phase) / double(MeasureDivisor[quantity]);
}

// Whether phase p of an FC source carries values.
bool FCPhaseCarries(int phase) {
  const int mode = gNormalFCSet[gCurrentNormalGroup].OutMode;
  if (gPowerInfo.ModelType == kModelFCS)
    return phase == 0;
  return mode == 0 || mode == phase + 2;
}

// FC: voltage /10, current /10, frequency /10, power /1000.
double ScaledFC(int quantity, int phase) {
  static constexpr int kDivisor[4] = {10, 10, 10, 1000};
  if (!FCPhaseCarries(phase))
    return 0.0;
  return gMeasureOutput.At(quantity, phase) / double(kDivisor[quantity]);
}

} // namespace

void DataFPFromMeasureToPanel() {
  for (int phase = 0; phase < 3; ++phase) {
    for (int k = 1; k <= MeasureArea::kReadouts; ++k)
      gMeasureArea->Readout[k - 1][phase]->setNumber(ScaledFP(Selection(k), phase));
    for (int q = 0; q < MeasureArea::kTableRows; ++q)
      gMeasureArea->Table[q][phase]->setNumber(ScaledFP(q, phase));
  }
}

void DataFCFromMeasureToPanel() {
  for (int phase = 0; phase < 3; ++phase)
    for (int q = 0; q < MeasureArea::kReadouts; ++q)
      gMeasureArea->Readout[q][phase]->setNumber(ScaledFC(q, phase));
}

void DataFPFromMeasureToGraph() {
  for (int k = 1; k <= MeasureArea::kReadouts; ++k) {
    const int q = Selection(k);
    gMeasureArea->Chart[k - 1]->appendPoints(ScaledFP(q, 0), ScaledFP(q, 1), ScaledFP(q, 2));
  }
}

void DataFCFromMeasureToGraph() {
  const bool fcs = gPowerInfo.ModelType == kModelFCS;
  for (int q = 0; q < MeasureArea::kReadouts; ++q) {
    const double u = ScaledFC(q, 0);
    // A single-phase source draws its one phase on all three traces.
    gMeasureArea->Chart[q]->appendPoints(u, fcs ? u : ScaledFC(q, 1), fcs ? u : ScaledFC(q, 2));
  }
}
