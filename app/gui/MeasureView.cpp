#include "app/gui/MeasureView.h"

#include "app/MainPanelFunc.h"
#include "app/gui/PanelSync.h"
#include "app/gui/Shell.h"
#include "measure/LiveMeasure.h"
#include "measure/gui/MeasureArea.h"

void SetNormalMeasureDisplayGraph() {
  SetNormalMeasureDisplayGraph(gPanelState.Measure);
  StateToPanel();
}

void SetNormalMeasureDisplayText() {
  SetNormalMeasureDisplayText(gPanelState.Measure);
  StateToPanel();
}

void SetNormalMeasureDisplayGraphFC() {
  SetNormalMeasureDisplayGraphFC(gPanelState.Measure);
  StateToPanel();
}

void ClearMeasureGraphAll() {
  ClearMeasureGraphAll(gPanelState);
  StateToPanel();
}

void SetMeasureGraphSpeed(int points) {
  for (StripChart *chart : gMeasureArea->Chart)
    chart->setPointsPerScreen(points);
}

void AppendMeasureChartPoints() {
  MeasurePointSet points{};
  MeasureChartPoints(points);
  for (int k = 0; k < MeasureArea::kReadouts; ++k)
    gMeasureArea->Chart[k]->appendPoints(points[k][0], points[k][1], points[k][2]);
}
